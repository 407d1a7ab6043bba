// Resource ids of the find dialog (find_dialog.rc). Test drivers address its controls by them.
#pragma once

#define IDD_FIND_DIALOG 1100
#define IDC_FIND_LABEL 1101
#define IDC_FIND_TEXT 1102
#define IDC_FIND_MATCH_CASE 1103
