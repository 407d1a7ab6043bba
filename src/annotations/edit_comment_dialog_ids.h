// Resource ids of the comment dialog; test drivers address its controls by them.
#pragma once

#define IDD_EDITCOMMENT 2020
#define IDC_EDITCOMMENT_TEXT 1021   // Edit1
#define IDC_EDITCOMMENT_LABEL 1022  // Label1
// OK (Button2) is IDOK, "キャンセル" (Button1) is IDCANCEL.
