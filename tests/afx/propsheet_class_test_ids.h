// IDs of the class-library property-sheet tests (shared by propsheet_class_test.rc and
// the tests).
#pragma once

#define IDD_CPS_NUMBER    3400
#define IDD_CPS_NAME      3401
#define IDD_CPS_HOST      3402

#define IDC_CPS_VALUE     1401
#define IDC_CPS_FLAG      1402
#define IDC_CPS_NAME      1403
#define IDC_CPS_BEFORE    1404
#define IDC_CPS_AFTER     1405

#define IDS_CPS_CAPTION   3410
#define IDS_CPS_NUMBER    3411
