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

} // namespace zyn::gdi
