#pragma once
// PAINTSTRUCT, what BeginPaint fills. It belongs with the window system's API; it is
// declared here until that API exists, and moves there then.
#include "platform/base/wintypes.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;
