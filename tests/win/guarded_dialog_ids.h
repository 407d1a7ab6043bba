// The dialog of guarded_dialog_test.cpp.
#pragma once

#define IDD_GUARDED_TEST 9100
#define IDC_GUARDED_THROW 9101
