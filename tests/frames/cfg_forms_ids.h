// Resource IDs of the configuration-framework tests.
#pragma once
#define IDD_UI_COMPONENT 4201
#define IDC_UI_TOP 4202
#define IDC_UI_BOTTOM 4203
