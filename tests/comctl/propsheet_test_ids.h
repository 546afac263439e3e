// IDs of the property-sheet tests (shared by propsheet_test.rc and the tests).
#pragma once

#define IDD_PS_ONE        3300
#define IDD_PS_TWO        3301
#define IDD_PS_THREE      3302
#define IDD_PS_WIDE       3303

#define IDC_PS_EDIT       1301
#define IDC_PS_CHECK      1302
#define IDC_PS_PRESS      1303
#define IDC_PS_EDIT2      1304
#define IDC_PS_LABEL      1305

#define IDS_PS_CAPTION    3310
#define IDS_PS_TABTEXT    3311
