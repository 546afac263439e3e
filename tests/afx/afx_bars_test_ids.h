// IDs of the toolbar, status-bar and context-help tests (shared by afx_bars_test.rc and
// the tests).
#pragma once

#define IDR_TESTBAR       3200
#define IDR_NOBITMAP      3201
#define IDR_WIDEBAR       3202

#define ID_BAR_OPEN       0x8201
#define ID_BAR_LOCK       0x8202
#define ID_BAR_BELL       0x8203
#define ID_BAR_QUIET      0x8204
#define ID_BAR_MENU_ONLY  0x8205

#define ID_PANE_WIDE      0x8210
#define ID_PANE_MISSING   0x8211
