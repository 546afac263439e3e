// Resource IDs of the dialog tests' script.
#define IDD_CLASSIC 100
#define IDD_EXTENDED 101
#define IDD_TRUNCATED 102
#define IDC_LABEL 1001
#define IDC_FIELD 1002
#define IDC_GROUP 1003
#define IDC_FAST 1004
#define IDC_SLOW 1005
#define IDC_VERBOSE 1006
#define IDC_ICON 1007
