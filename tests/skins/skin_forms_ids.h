// Resource IDs of the skinned form views of the skin tests.
#pragma once
#define IDD_SKIN_FORM 4101
#define IDC_SKIN_GROUP 4102
#define IDC_SKIN_LABEL 4103
#define IDC_SKIN_EDIT 4104
#define IDC_SKIN_CHECK 4105
#define IDC_SKIN_APPLY 4106
