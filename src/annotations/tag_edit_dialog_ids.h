// Resource ids of the tag editor ("タグの設定").
#pragma once

#define IDD_TAGEDIT 1100
#define IDC_TAGEDIT_LISTLABEL 1101  // "タグの一覧(&T):"
#define IDC_TAGEDIT_LIST 1102
#define IDC_TAGEDIT_CAPTIONLABEL 1103  // "説明(&D):"
#define IDC_TAGEDIT_CAPTION 1104
#define IDC_TAGEDIT_COLOR 1105  // the colour swatch, a button
