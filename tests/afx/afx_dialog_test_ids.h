// IDs of the class-library dialog tests (shared by afx_dialog_test.rc and the tests).
#pragma once

#define IDD_VALUES        3100
#define IDD_SMALL         3101
#define IDD_CENTERED      3102
#define IDD_BROKEN_INIT   3103
#define IDD_FORM          3110
#define IDD_FORM_POPUP    3111
#define IDR_VIEW_ACCEL    3120
#define IDR_FRAME_ACCEL   3121

#define IDC_NUMBER        1001
#define IDC_TEXT          1002
#define IDC_CHECK         1003
#define IDC_RADIO1        1004
#define IDC_RADIO_LABEL   1005
#define IDC_RADIO2        1006
#define IDC_RADIO3        1007
#define IDC_AFTER         1008
#define IDC_COMBO         1009
#define IDC_LIST          1010
#define IDC_DROPLIST      1011
#define IDC_SCROLL        1012

#define IDC_NAME          1101
#define IDC_CITY          1102
#define IDC_APPLY         1103
#define IDC_ARCHIVE       1104
#define IDC_LABEL         1105

#define ID_VIEW_ENTER     0x8101
#define ID_VIEW_REFRESH   0x8102
#define ID_FRAME_COMMAND  0x8103
#define ID_OWNER_COMMAND  0x8104
