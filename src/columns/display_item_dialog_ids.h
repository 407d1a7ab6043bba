// Resource ids of the display-item dialog (display_item_dialog.rc). Test drivers use them.
#pragma once

#define IDD_DISPLAY_ITEM_DIALOG 1300
#define IDC_DISP_LABEL 1301
#define IDC_DISP_LIST 1302
#define IDC_DISP_UP 1303
#define IDC_DISP_DOWN 1304
#define IDC_DISP_WIDTH_LABEL 1305
#define IDC_DISP_WIDTH 1306
#define IDC_DISP_BEVEL 1307
