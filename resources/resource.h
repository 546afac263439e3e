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

// The shortcut bar's context menu (toolkit/docking/shb_bar.h), fixed numbers of the toolkit.
#define IDS_OX_SHB_LARGEICON                 26840
#define IDS_OX_SHB_SMALLICON                 26841
#define IDS_OX_SHB_ADDNEWGROUP               26842
#define IDS_OX_SHB_REMOVEGROUP               26843
#define IDS_OX_SHB_RENAMEGROUP               26844
#define IDS_OX_SHB_REMOVEITEM                26845
#define IDS_OX_SHB_RENAMEITEM                26846

// Next default values for new objects
#define _ZYN_NEXT_STRING_ID             30002
