// Resource ids of the rename dialog; test drivers address its controls by them.
#pragma once

#define IDD_RENAME 2010
#define IDC_RENAME_NEWNAME 1011       // Edit1
#define IDC_RENAME_RESTORE 1012       // Button3, "元の名前に戻す"
#define IDC_RENAME_ORIGINALNAME 1013  // Edit2
#define IDC_RENAME_NEWLABEL 1014      // Label1
#define IDC_RENAME_ORIGINALLABEL 1015 // Label2
// OK (Button2) is IDOK, "キャンセル" (Button1) is IDCANCEL.
