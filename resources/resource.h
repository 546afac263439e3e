// Resource IDs of the satellite resource module "ZynCommonResources"
// (resources/ZynCommonResources.rc). Shared by the script and the library's C++ code, so
// these stay preprocessor definitions.
//
// The module is searched after the host's own resources (see app/zyncmn_resources.h), so
// its IDs lie in ranges that host applications leave free: strings from 30000.
#pragma once

// Strings
#define IDS_ZYN_COMMON_RESOURCES        30000   // the module's own name, to check the chain

// Device words and confirmation questions of panel commands. These IDs are the suite's
// own fixed numbers, below the module's range.
#define IDS_ZYN_DEVICE_DOOR                  11163
#define IDS_ZYN_DEVICE_ALARM_INPUT           11166
#define IDS_ZYN_DEVICE_OUTPUT                11387
#define IDS_ZYN_DEVICE_ELEVATOR              11388
#define IDS_ZYN_DEVICE_FLOOR                 11396
#define IDS_ZYN_DEVICE_OUTPUT_GROUP          11397
#define IDS_ZYN_DEVICE_INTRUSION_AREA        11463
#define IDS_ZYN_DEVICE_CAMERA                11502
#define IDS_ZYN_DEVICE_INTERCOM              11504
#define IDS_ZYN_DEVICE_LOCK                  11641
#define IDS_ZYN_DEVICE_LOCK_GROUP            11643
#define IDS_ZYN_DEVICE_READER_GROUP          11770
#define IDS_ZYN_DEVICE_ALARM_ZONE            12121
#define IDS_ZYN_CONFIRM_MOMENTARY_DOOR       11277
#define IDS_ZYN_CONFIRM_LOCK                 11278
#define IDS_ZYN_CONFIRM_UNLOCK               11279
#define IDS_ZYN_CONFIRM_RESTORE              11280
#define IDS_ZYN_CONFIRM_MOMENTARY            11506
#define IDS_ZYN_CONFIRM_MOMENTARY_DOOR_QMX   12775
#define IDS_ZYN_CONFIRM_MOMENTARY_QMX        12776
#define IDS_ZYN_PANEL_COMMAND_NOT_SENT       30001

// The session log viewer (resources/log_viewer.rc). The suite's fixed numbers, below the
// module's range.
#define IDB_LOGVIEWER_LIST                   10030   // the session list's image
#define IDD_LOGVIEWER                        10031   // the dialog and its menu
#define IDI_LOGVIEWER                        10032
#define IDC_LOGVIEWER_LIST                   10033
#define IDC_LOGVIEWER_TEXT                   10034
#define IDS_LOGVIEWER_PROGRESS               10007   // the progress dialog's caption
#define IDS_LOGVIEWER_COLUMN_DATE            11362
#define IDS_LOGVIEWER_COLUMN_STATUS          11363
#define IDS_LOGVIEWER_RELOAD                 11364
#define IDS_LOGVIEWER_TITLE                  11369   // followed by the path
#define IDS_LOGVIEWER_PERCENT                11370   // %1: the percentage read
#define IDS_LOGVIEWER_PURGE                  11371
#define IDS_LOGVIEWER_PRINT_HEADER           11372   // followed by the path
#define IDS_LOGVIEWER_NOT_SHOWN              30002   // %1: the bytes of a session not shown
#define ID_LOGVIEWER_OPEN                    57006
#define ID_LOGVIEWER_EXIT                    57007
#define ID_LOGVIEWER_PURGE                   57008
#define ID_LOGVIEWER_PRINT                   57009

// The report engine's messages (%1: the file's path).
#define IDS_REPORT_RUNTIME_NOT_CREATED       11373
#define IDS_REPORT_OUTERJOIN_FILE_MISSING    11381
#define IDS_REPORT_OUTERJOIN_NOT_IMPORTED    11382

// The page that holds a COM property page (resources/ole_prop_page.rc).
#define IDD_ZYN_OLE_PROPPAGE                 23268

// Next default values for new objects
#define _ZYN_NEXT_STRING_ID             30003
