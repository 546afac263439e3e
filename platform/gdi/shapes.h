#pragma once
// Drawing helpers of the shape primitives that have no Win32 name.
#include "platform/base/wintypes.h"

namespace zyn::gdi {

// The moving frame of a drag: a frame `size` thick inside `rect`, inverted through a brush
// (PATINVERT; null: the halftone brush) so that drawing it twice removes it. With
// `last`, the previous frame (drawn with `lastSize` and `lastBrush`, null meaning `brush`)
// is taken away in the same call: only the pixels that change are touched, so the frame
// does not flicker. An empty or null `rect` only erases the last frame. Logical
// coordinates; false for a bad DC or brush.
BOOL DrawDragRect(HDC hdc, const RECT* rect, SIZE size, const RECT* last, SIZE lastSize, HBRUSH brush = nullptr,
    HBRUSH lastBrush = nullptr);

// One rectangle of a FillSysColorRects batch: logical coordinates and a COLOR_* index.
struct SysColorRect {
    RECT rect;
    int color;
};

// Fills the rectangles in order, each with its system colour's brush (PATCOPY), exactly as
// as many FillRect calls with GetSysColorBrush would, but looking the DC up once: a control
// drawing many one-pixel edges pays the handle lookup and lock once per batch. Empty or
// inverted rectangles fill nothing. FALSE (last error set) for a bad DC or colour index;
// rectangles before a bad colour are filled.
BOOL FillSysColorRects(HDC hdc, const SysColorRect* rects, size_t count);

} // namespace zyn::gdi
