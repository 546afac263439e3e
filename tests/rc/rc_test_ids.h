// IDs of the test script. Only the directives of a header reach the compiler, so the C++
// below is skipped by it and seen by the tests.
#pragma once
#include "rc_test_more.h"

#define IDR_MAIN        101
#define IDR_EX          102
#define IDD_ABOUT       103
#define IDD_EX          104
#define IDI_APP         105
#define IDC_ARROW_CUR   106
#define IDB_PIC         107
#define IDR_BLOB        108
#define IDR_DATA        109

#define IDM_INACTIVE    40001
#define IDM_BREAK       40002
#define IDM_BARBREAK    40003
#define IDM_DEEP        (IDM_BASE + 4)
#define IDM_VIEW_POPUP  40010
#define IDM_RADIO       40011
#define IDM_RIGHT       40012

#define IDC_EDIT        1001
#define IDC_COMBO       1002
#define IDC_LIST        1003
#define IDC_SCROLL      1004
#define IDC_CHECK       1005
#define IDC_RADIO1      1006
#define IDC_CUSTOM      1007

#define IDS_HELLO       1
#define IDS_SECOND      17
#define IDS_LAST        65535
#define IDS_MACRO       MAKE_ID(2, 3)

#define CMD(n)          (40100 + (n))

struct NotForTheCompiler { int x; };
