#pragma once
// The arithmetic of the toolkit's status bar, worked out without a window so that it can
// be checked by hand: a progress pane's percentage and the range its control is given,
// where a pane bitmap lands in its pane, the inside of a pane, and the size gripper the
// XP and 2003 skins draw. Rectangles follow the drawing layer's rule (right and bottom
// edges excluded); integer division truncates as C++ does.
//
// Percentage. position * 100 / range in 64 bits (a DWORD position times 100 does not fit
// 32), 0 for an empty range, clamped to 0..100: a position past the range shows 100 %,
// never a number that does not fit the pane's text or means nothing.
//
// Progress control range. The control takes signed 32-bit limits; a range above INT_MAX
// is halved, together with the position, until it fits, so the filled share stays what
// the caller asked for. A position past the range is given as it is (after the same
// halving, and no further than INT_MAX): the control clamps it to its maximum.
//
// Pane bitmap placement (orientation 1..7). Inside the pane's inner rectangle, with
// spare = inner size - bitmap size per axis: the destination starts at the inner left;
// it is as wide as the bitmap, or as the inner rectangle when the spare width is below 1,
// as high as the bitmap, or as the inner rectangle when the spare height is below 1, and
// stands spare height / 2 below the inner top (at the top when the spare is below 1). The
// whole bitmap is the source. 1 stretches over the whole inner rectangle; 3 moves right by
// spare width / 2, 4 by the spare width (a spare below 1 moves nothing); 5, 6 and 7 are 2,
// 3 and 4 with the source cut to the destination's size (cropped instead of shrunk).
//
// Gripper. s = the client height, less one when odd; the gripper is the bottom-right s by
// s square of the client rectangle (nothing for a client lower than 2 pixels).
#include <cstdint>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::toolkit::statusbar {

// The percentage a progress pane shows (see above).
int ProgressPercent(DWORD range, DWORD position);

// The 0..max range and the position a progress control is given for a DWORD range and
// position (see above).
struct ProgressControlValues {
    int max = 0;
    int position = 0;
};
ProgressControlValues ProgressControlRange(DWORD range, DWORD position);

// Where a pane bitmap of cx by cy pixels is drawn inside `inner`, and how much of it.
struct BitmapPlacement {
    RECT dest{};
    int srcWidth = 0;
    int srcHeight = 0;
};
// false for an orientation outside 1..7 (nothing is placed).
bool PlacePaneBitmap(const RECT& inner, int cx, int cy, int orientation, BitmapPlacement& out);

// The pane's inside from its item rectangle and the control's borders: left + spacing,
// top + horizontal border + 1, right - spacing, bottom - (horizontal border + 1), and one
// more pixel off the bottom for a progress control. false for an empty item rectangle.
bool InsideBorder(const RECT& item, int horzBorder, int spacing, bool progress, RECT& inner);

// The gripper square of a client rectangle (see above); empty when there is none.
RECT GripperSquare(const RECT& client);

} // namespace zyn::toolkit::statusbar
