// Resource IDs of the toolbar-skin tests.
#pragma once
#define IDD_TBSKIN_BAR 4201
#define IDC_TBSKIN_GO 4202
