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
#define IDS_ZYN_DOCK_ALLOW_DOCKING           57001
#define IDS_ZYN_DOCK_HIDE                    57002

// Next default values for new objects
#define _ZYN_NEXT_STRING_ID             30002
