// IDs of the size dialog bar and size tool bar tests (shared by size_bars_test.rc and the tests).
#pragma once

#define IDD_SIZE_DIALOG_BAR   0x7101
#define IDD_SIZE_BROKEN_INIT  0x7102
#define IDB_SIZE_TOOL_IMAGES  0x7103

#define IDC_SIZE_NAME         0x7110
#define IDC_SIZE_KIND         0x7111
#define IDC_SIZE_APPLY        0x7112

#define ID_SIZE_CUT           0x8501
#define ID_SIZE_COPY          0x8502
#define ID_SIZE_PASTE         0x8503
#define ID_SIZE_UNDO          0x8504
#define ID_SIZE_PROMPT_ONLY   0x8505
#define ID_SIZE_LONG_TIP      0x8506
#define ID_SIZE_NO_STRING     0x8507
