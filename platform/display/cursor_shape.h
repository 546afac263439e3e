#pragma once
// The window system's cursor as one of the shapes a display offers.
//
// WM_SETCURSOR ends in SetCursor with one of the system cursors (IDC_*) or a host's own;
// the presenter shows the display's own cursor of the same meaning, so resize arrows and
// the text beam look as the user's other programs draw them. A host's own cursor is
// shown as its own picture (PictureOfCursor); a null cursor, or a ShowCursor count below
// zero, hides it.
#include <cstdint>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::display {

enum class CursorShape {
    Hidden, Arrow, IBeam, Wait, Crosshair, WaitArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand,
    Own, // a cursor of the host's own
};

CursorShape ShapeOfCursor(HCURSOR cursor, bool shown);

// A cursor as the display takes a colour cursor: 0xAARRGGBB pixels, row by row, and the
// hotspot. Where the cursor's mask is set, the pixel is transparent, unless the image
// inverts the screen there, which a display cursor cannot do: such pixels show black.
struct CursorPicture {
    int width = 0, height = 0;
    POINT hotspot{0, 0};
    std::vector<uint32_t> argb;
};
// False for a handle that is no cursor or icon, or one larger than 256 pixels.
bool PictureOfCursor(HCURSOR cursor, CursorPicture& out);

} // namespace zyn::display
