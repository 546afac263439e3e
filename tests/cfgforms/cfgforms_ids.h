// Resource IDs of the configuration-screen tests.
#pragma once
#define IDD_HOST_VIEW      4401
#define IDD_DOOR_PAGE      4410
#define IDD_DOOR_FORM      4411
#define IDD_ZONE_PAGE      4420
#define IDD_KNOB_PAGE      4430
#define IDD_WIDE_PAGE      4431
#define IDC_DOOR_LIST      4412
#define IDC_DOOR_NAME      4413
#define IDC_DOOR_NUMBER    4414
#define IDC_DOOR_ENABLED   4415
#define IDC_DOOR_ALARM     4416
#define IDC_DOOR_KIND      4417
#define IDC_DOOR_NAME_LABEL 4418
#define IDC_DOOR_KIND_LABEL 4419
#define IDC_ZONE_NAME      4421
#define IDC_ZONE_ARMED     4422
#define IDC_ZONE_LABEL     4423
#define IDC_KNOB_EDIT      4432
#define IDC_KNOB_LABEL     4433
#define IDS_DOOR_TITLE     4440
