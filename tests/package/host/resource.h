// Resource IDs of the package test's host.
#define IDR_MAINFRAME 128
#define IDR_DOORTYPE 129
// The first command of the library's registered views (CZynApp::kFirstViewCommand).
#define ID_VIEW_DOORS 56000
