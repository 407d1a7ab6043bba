// Resource ids of the version dialog (about_dialog.rc). Test drivers read its labels by them.
#pragma once

#define IDD_ABOUT_DIALOG 1200
#define IDC_ABOUT_ICON 1201
#define IDC_ABOUT_NAME 1202
#define IDC_ABOUT_VERSION 1203
#define IDC_ABOUT_COPYRIGHT 1204
#define IDC_ABOUT_HOMEPAGE 1205
#define IDC_ABOUT_BEVEL 1206
// The home page link's pop-up menu.
#define IDM_ABOUT_COPYLINK 1210
