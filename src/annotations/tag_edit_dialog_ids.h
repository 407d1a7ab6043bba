// Resource ids of the tag editor ("タグの設定").
#pragma once

#define IDD_TAGEDIT 1500
#define IDC_TAGEDIT_LISTLABEL 1501  // "タグの一覧(&T):"
#define IDC_TAGEDIT_LIST 1502
#define IDC_TAGEDIT_CAPTIONLABEL 1503  // "説明(&D):"
#define IDC_TAGEDIT_CAPTION 1504
#define IDC_TAGEDIT_COLOR 1505  // the colour swatch, a button
