#pragma once
// Resource IDs of the status-bar tests.
#define IDB_CORNER 7101     // 8 x 6, RGB(200, 0, 0) with a magenta 2 x 2 top-left corner
#define IDB_COLUMNS 7102    // 8 x 4, each column its own colour (statusbar_test_support.h)
#define IDB_MISSING 7103    // no such bitmap
#define IDC_PANE_ARROW 7110 // a cursor resource
#define IDC_MISSING 7111    // no such cursor
#define ID_PANE_TIME 7120   // a pane with a string
