// Resource IDs of the program-toolbar tests.
#pragma once
#define IDS_TB_TOOLS      4301   // caption of the test toolbar
#define IDR_TB_TOOLS      4302   // its TOOLBAR and BITMAP (four 16 x 15 images)
#define IDS_TB_NOCAPTION  4303   // a caption ID with no string
#define IDR_TB_MISSING    4304   // a toolbar resource that does not exist
#define ID_TB_OPEN        4310
#define ID_TB_LOCK        4311
#define ID_TB_BELL        4312
#define ID_TB_QUIET       4313   // a command without a string
