#pragma once
// The window system's cursor as one of the shapes a display offers.
//
// WM_SETCURSOR ends in SetCursor with one of the system cursors (IDC_*) or a host's own;
// the presenter shows the display's own cursor of the same meaning, so resize arrows and
// the text beam look as the user's other programs draw them. A host's own cursor shows
// as the arrow; a null cursor, or a ShowCursor count below zero, hides it.
#include "platform/base/wintypes.h"

namespace zyn::display {

enum class CursorShape {
    Hidden, Arrow, IBeam, Wait, Crosshair, WaitArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand,
};

CursorShape ShapeOfCursor(HCURSOR cursor, bool shown);

} // namespace zyn::display
