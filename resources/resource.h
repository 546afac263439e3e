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

// The context menu of a customised bitmap-menu item (the toolkit's fixed numbers).
#define IDS_OXCUSTBM_DELETE                  26531
#define IDS_OXCUSTBM_APPEARANCE              26532
#define IDS_OXCUSTBM_RECENTLY_USED           26533
#define IDS_OXCUSTBM_SEPARATOR_BEFORE        26534
#define IDS_OXCUSTBM_SEPARATOR_AFTER         26535

// The docking bars: the message-line prompt while a bar is dragged and the texts of a size
// bar's context menu. Fixed numbers (the commands carry the same IDs); the splitter
// cursors are the class library's AFX_IDC_HSPLITBAR / AFX_IDC_VSPLITBAR (afxres.h).
#define IDS_ZYN_DOCK_DRAG_PROMPT             26430
#define IDS_ZYN_DOCK_FLOAT_AS_MDI            26433
#define IDS_ZYN_DOCK_MDICHILD                26965   // the item that docks a document window as a bar
#define IDS_ZYN_DOCK_ALLOW_DOCKING           57001
#define IDS_ZYN_DOCK_HIDE                    57002
// The configuration framework (frames/): the standard view and page templates, the
// view's keys, its controls, status texts, questions and tooltips. Fixed numbers of the
// suite that host templates and pages share.
#define IDD_ZYN_CONFIG_PAGE                  10000
#define IDD_ZYN_CONFIG_VIEW                  10011
#define IDR_ZYN_CONFIG_ACCEL                 10129
#define IDC_ZYN_CFG_STATUS                   10001
#define IDC_ZYN_CFG_ADD                      10012
#define IDC_ZYN_CFG_MODIFY                   10013
#define IDC_ZYN_CFG_DELETE                   10014
#define IDC_ZYN_CFG_EXIT                     10015
#define IDC_ZYN_CFG_CLEAR                    10016
#define IDC_ZYN_CFG_MULTISELECT              10021
#define IDC_ZYN_CFG_HELP                     57670
#define IDS_ZYN_CFG_CLOSE_QUESTION           11196
#define IDS_ZYN_CFG_NAME_CHECK_FAILED        11228
#define IDS_ZYN_CFG_SELECTED_COUNT           11263
#define IDS_ZYN_CFG_STATUS_ADDING            11270
#define IDS_ZYN_CFG_STATUS_MODIFYING         11271
#define IDS_ZYN_CFG_STATUS_DELETING          11272
#define IDS_ZYN_CFG_SERVER_NOT_EDITABLE      11349
#define IDS_ZYN_CFG_NAME_IN_USE              11355
#define IDS_ZYN_CFG_TIP_ADD                  12598
#define IDS_ZYN_CFG_TIP_MODIFY               12599
#define IDS_ZYN_CFG_TIP_DELETE               12600
#define IDS_ZYN_CFG_TIP_OK                   12601
#define IDS_ZYN_CFG_TIP_CANCEL               12602
#define IDS_ZYN_CFG_TIP_CLEAR                12603
#define IDS_ZYN_CFG_TIP_HELP                 12604
#define IDS_ZYN_CFG_TIP_EXIT                 12606
// The shortcut bar's context menu (toolkit/docking/shb_bar.h), fixed numbers of the toolkit.
#define IDS_OX_SHB_LARGEICON                 26840
#define IDS_OX_SHB_SMALLICON                 26841
#define IDS_OX_SHB_ADDNEWGROUP               26842
#define IDS_OX_SHB_REMOVEGROUP               26843
#define IDS_OX_SHB_RENAMEGROUP               26844
#define IDS_OX_SHB_REMOVEITEM                26845
#define IDS_OX_SHB_RENAMEITEM                26846
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

// The suite's main toolbar (frames/zyn_toolbar.h): its caption string, which is also the
// bar's control ID, and its TOOLBAR resource with the bitmap of the same ID. Fixed numbers
// of the suite.
#define IDS_ZYN_TOOLBAR_MAIN                 11383
#define IDR_ZYN_TOOLBAR_MAIN                 10038

// The main frame's questions (frames/zyn_main_frame.h): before closing while badges
// print, and before putting the toolbars back at their default places.
#define IDS_ZYN_CLOSE_WHILE_PRINTING         12125
#define IDS_ZYN_TOOLBAR_DEFAULTS             11172

// Next default values for new objects
#define _ZYN_NEXT_STRING_ID             30003
