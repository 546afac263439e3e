// IDs of the cool toolbar tests (shared by cooltoolbar_test.rc and the tests).
#pragma once

#define IDB_COOL_IMAGES   3300

#define ID_COOL_NEW       0x8401
#define ID_COOL_OPEN      0x8402
#define ID_COOL_SAVE      0x8403
#define ID_COOL_PRINT     0x8404
#define ID_COOL_NOTEXT    0x8405
#define ID_COOL_FIND      0x8406
