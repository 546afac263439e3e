#pragma once
// The geometry of the cool controls' flat faces, worked out without a window so that it
// can be checked by hand: the flat scroll bar's arrows and thumb, the spin button's two
// halves, the check box and radio button marks, the slider thumb's outline and the flat
// combo box's drop button and arrow. All rectangles follow the drawing layer's rule
// (right and bottom edges excluded); integer division truncates as C++ does.
//
// Flat scroll bar. The arrows are as long as the system's arrow metric, or half the bar
// each when the bar is shorter than two arrows; the track lies between them. The thumb
// covers the share of the track that the page is of the range, and stands as far into
// the free part of the track as the position is into the scrollable part of the range:
//     range  = nMax - nMin + 1
//     thumb  = round(track * nPage / range), at least 8
//     offset = round((track - thumb) * (nPos - nMin) / (range - nPage))
// (rounding adds one half and truncates). There is no thumb when the page is 0, when the
// page covers the whole range (nPage >= range: nothing to scroll, and the offset would
// divide by zero), or when the track is shorter than 8 pixels. A thumb that would run
// past the track's end is moved back to end there; one before its start (a position below
// the minimum) starts at it.
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::toolkit::cool {

inline constexpr int kMinThumbLength = 8;

struct FlatScrollBarLayout {
    RECT firstArrow{};   // left or top
    RECT secondArrow{};  // right or bottom
    int track = 0;       // pixels between the arrows
    bool hasThumb = false;
    RECT thumb{};
};

// bar: the scroll bar's rectangle; arrowMetric: SM_CXHSCROLL (horizontal) or
// SM_CYVSCROLL (vertical); si: range, page and position.
FlatScrollBarLayout LayoutFlatScrollBar(const RECT& bar, bool horizontal, int arrowMetric, const SCROLLINFO& si);

// The spin button's halves: each half the rectangle's length along its orientation (the
// first at the start, the second at the end). False when a half would be shorter than 4
// pixels (nothing is drawn then).
bool SplitSpinHalves(const RECT& rect, bool horizontal, RECT& first, RECT& second);

// The 13 x 13 box of a check box or radio button: at the left of the client rectangle (at
// its right with BS_LEFTTEXT), vertically centred (top = (top + bottom - 13) / 2).
inline constexpr int kButtonBoxSize = 13;
RECT ButtonBoxRect(const RECT& client, bool textOnLeft);

// The highlight arc over a radio button's ring: an arc of the ellipse bounded by the box
// with its left edge 2 pixels in and its top and bottom 1 pixel in, counter-clockwise
// from the radial through `start` to the radial through `end` (the ring's upper-left
// half). Measured on the box: start (centre x + 1 + 13/4, top + 1 + 13/4), end (left + 1 +
// 13/4, centre y + 1 + 13/4).
struct RadioArc {
    RECT ellipse{};
    POINT start{};
    POINT end{};
};
RadioArc RadioHighlightArc(const RECT& box);

// The slider thumb's shape from the trackbar styles: a rectangle with TBS_BOTH, else
// pointing at the tics' side (TBS_TOP: up for a horizontal slider, left for a vertical
// one; otherwise down or right).
enum class ThumbShape { Rectangle, Up, Down, Left, Right };
ThumbShape SliderThumbShape(DWORD style);

// One stroke of a pointed thumb's flat outline, drawn with MoveTo at the first point and
// LineTo through the rest.
enum class OutlinePen { Highlight, Shadow, Face };
struct OutlineStroke {
    OutlinePen pen;
    std::vector<POINT> points;
};
// The three strokes in drawing order: the lit and the dark sides on the thumb rectangle,
// then the whole outline in the face colour on the rectangle shrunk by one pixel. Empty
// for the rectangular shape (it gets a flat raised edge instead).
std::vector<OutlineStroke> SliderThumbOutline(ThumbShape shape, const RECT& thumb);

// The flat combo box's drop button (client coordinates): empty for CBS_SIMPLE; otherwise
// left = client right - 2 - button width (at least 0), top = 2, right = left + button
// width, bottom = client bottom - 2.
inline constexpr int kComboMargin = 2;
RECT ComboButtonRect(const RECT& client, DWORD comboStyle, int buttonWidth);

// The drop arrow's triangle in a button of width w: x1 = left + w/3, x2 = left + 1 + 2w/3,
// xm = (x1 + x2)/2, then x2 one less when x2 - x1 is odd, y1 = top + bottom/2 - (x2 - x1)/4 - 1,
// y2 = y1 + (x2 - x1)/2; points (x1, y1), (x2, y1), (xm, y2), all one pixel right and
// down while the list is dropped.
struct ComboArrow {
    POINT points[3];
};
ComboArrow ComboDropArrow(const RECT& button, int buttonWidth, bool droppedDown);

} // namespace zyn::toolkit::cool
