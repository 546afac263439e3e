// Resource and command IDs of the example console.
#pragma once
#define IDR_HOST_TOOLS      4601   // the console's own toolbar and its bitmap
#define IDS_HOST_TOOLS      4602   // its caption
#define IDD_HOST_FILTER     4603   // the dialog bar: the event filter
#define IDC_FILTER_LABEL    4604
#define IDC_FILTER_TEXT     4605
#define IDC_FILTER_ALARMS   4606
#define IDR_HOST_DOOR       4607   // the door screen's template
#define IDR_HOST_OPERATOR   4608   // the operator screen's template
#define IDD_HOST_DOOR_PAGE  4609
#define IDD_HOST_OPER_PAGE  4610
#define IDC_DOOR_NAME       4611
#define IDC_DOOR_LABEL      4612
#define IDC_OPER_NAME       4613
#define IDC_OPER_LABEL      4614

// Commands of the console's menus and toolbar.
#define ID_HOST_SKIN_CLASSIC 4620
#define ID_HOST_SKIN_XP      4621
#define ID_HOST_SKIN_2003    4622
#define ID_HOST_ARCHIVE      4623   // archive the old events and restore them
#define ID_HOST_RECORDER     4624   // ask the recording server how it is
#define ID_HOST_LOGVIEWER    4625   // open the session log viewer
#define ID_HOST_VIEW_EVENTS  4626   // show or hide the recent-events bar
#define ID_HOST_VIEW_FILTER  4627   // show or hide the filter bar
#define ID_HOST_VIEW_SHORTCUTS 4628 // show or hide the shortcut bar

// Control IDs of the sizeable bars (their saved places are kept under these). Clear of
// the library's own bars in the control-bar range (0xE810 is the menu bar's).
#define IDW_HOST_EVENTS     0xE840
#define IDW_HOST_SHORTCUTS  0xE841
#define IDW_HOST_FILTER     0xE842

// The registered views' commands (the application's view range).
#define ID_VIEW_HOST_DOORS     56010
#define ID_VIEW_HOST_OPERATORS 56011
#define IDC_DOOR_LIST       4615
#define IDC_OPER_LIST       4616
#define IDC_OPER_PASSWORD   4617   // the operator's new password, and again to confirm it
#define IDC_OPER_CONFIRM    4618
#define IDC_OPER_PASSWORD_LABEL 4619
#define IDC_OPER_CONFIRM_LABEL  4635

// The icons of the console's commands (the shortcut bar's pictures).
#define IDI_HOST_DOORS      4640
#define IDI_HOST_OPERATORS  4641
#define IDI_HOST_ARCHIVE    4642
#define IDI_HOST_RECORDER   4643
#define IDI_HOST_LOGVIEWER  4644

// The log-in dialog.
#define IDD_HOST_LOGIN      4630
#define IDC_LOGIN_NAME      4631
#define IDC_LOGIN_PASSWORD  4632
#define IDC_LOGIN_NAME_LABEL 4633
#define IDC_LOGIN_PASSWORD_LABEL 4634
