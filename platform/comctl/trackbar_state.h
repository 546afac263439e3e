#pragma once
// The trackbar's state and the pieces its files share (internal to platform/comctl).
// The state is owned by the window (zyn::user::ControlState) and dies with it; the
// geometry is pure arithmetic on the state and the client size (the rules are in
// trackbar.h), so it can be checked without a window.
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/trackbar.h"
#include "platform/user/control_common.h"

namespace zyn::comctl::detail {

// Layout constants (see trackbar.h).
inline constexpr int kTbMargin = 2;          // between the client edge and the thumb's travel
inline constexpr int kTbTicGap = 2;          // between the thumb and its tics
inline constexpr int kTbTicLength = 3;
inline constexpr int kTbTicBand = kTbTicGap + kTbTicLength;
inline constexpr int kTbDefaultThumbLength = 20;
inline constexpr int kTbMinThumbLength = 4;
inline constexpr int kTbChannelThickness = 4;
// Page repeat while the button is held on the channel (the scroll bar's timing).
inline constexpr UINT kTbFirstRepeatMs = 400;
inline constexpr UINT kTbRepeatMs = 50;
inline constexpr UINT_PTR kTbRepeatTimer = 1;

enum class TbDrag { None, Thumb, PageUp, PageDown };

struct TrackbarState : zyn::user::ControlState {
    ~TrackbarState() override;

    HWND self = nullptr;
    int rangeMin = 0;
    int rangeMax = 100;
    int pos = 0;
    int lineSize = 1;
    int pageSize = 20;
    bool pageSizeSet = false;   // the application chose a page size: the range no longer sets it
    int ticFreq = 1;
    std::vector<int> tics;      // the tics between the ends, sorted, without repeats
    int selStart = 0;
    int selEnd = 0;
    int thumbLength = kTbDefaultThumbLength; // TBM_SETTHUMBLENGTH (used with TBS_FIXEDLENGTH)
    HWND buddyLeft = nullptr;   // left of a horizontal trackbar, above a vertical one
    HWND buddyRight = nullptr;  // right, or below
    HWND toolTip = nullptr;     // TBS_TOOLTIPS: the position tip
    bool ownToolTip = false;    // made by the control, destroyed with it
    int tipSide = TBTS_TOP;
    HFONT font = nullptr;       // WM_SETFONT (the tip uses its own)

    // Mouse tracking.
    TbDrag drag = TbDrag::None;
    int grabOffset = 0;         // pointer minus thumb centre along the channel at the press
    bool tracked = false;       // a TB_THUMBTRACK went out during this drag
    POINT lastPt{};             // the pointer during a page repeat (client coordinates)
};

// Where everything is, for the current state and client size.
struct TrackbarLayout {
    bool vertical = false;
    int length = 0;             // thumb length L (across the channel)
    int breadth = 0;            // thumb breadth B (along the channel)
    int thumbTop = 0;           // along the cross axis
    RECT channel{};             // real coordinates (not exchanged for vertical trackbars)
    RECT thumb{};
    int x0 = 0;                 // the centre column (row) of the minimum position
    int span = 0;               // S: columns from the minimum's centre to the maximum's
    bool ticsBefore = false;    // above (left of) the thumb
    bool ticsAfter = false;     // below (right of) the thumb
};

TrackbarLayout LayoutTrackbar(DWORD style, const TrackbarState& s, int clientWidth, int clientHeight);
// The centre column (row for vertical trackbars) of position p.
int PositionToPixel(const TrackbarLayout& l, const TrackbarState& s, int p);
// The position nearest a centre column (row).
int PixelToPosition(const TrackbarLayout& l, const TrackbarState& s, int c);
// Exchanges x and y of a rectangle (a vertical trackbar's rectangles are laid out as if
// horizontal and then turned).
RECT Transposed(const RECT& r);

// The upper end of the range that positions clamp to (the minimum when max < min).
inline int RangeHigh(const TrackbarState& s) { return s.rangeMax < s.rangeMin ? s.rangeMin : s.rangeMax; }
int ClampPosition(const TrackbarState& s, int p);

// Reads the window's style and client size and lays it out.
TrackbarLayout LayoutOf(const TrackbarState& s);

// Painting (trackbar_paint.cpp).
void PaintTrackbar(TrackbarState& s, HDC hdc);

// Mouse, keys and the repeat timer (trackbar_input.cpp); the key handlers return true
// for the keys the trackbar uses.
void TrackbarButtonDown(TrackbarState& s, POINT pt);
void TrackbarMouseMove(TrackbarState& s, POINT pt);
void TrackbarButtonUp(TrackbarState& s);
void TrackbarCaptureLost(TrackbarState& s);
void TrackbarTimer(TrackbarState& s);
bool TrackbarKeyDown(TrackbarState& s, WPARAM vk);
bool TrackbarKeyUp(TrackbarState& s, WPARAM vk);

// Sets the position (clamped), moves the tip and redraws when it changed; true when it did.
bool MoveThumb(TrackbarState& s, int p);
// WM_HSCROLL / WM_VSCROLL to the parent.
void NotifyScroll(const TrackbarState& s, WORD code, int pos = 0);
// Invalidates the control; the paint (and its custom draw) comes with WM_PAINT.
void RedrawTrackbar(const TrackbarState& s);
// Shows, moves or hides the position tip of TBS_TOOLTIPS.
void UpdatePositionTip(TrackbarState& s, bool show);

} // namespace zyn::comctl::detail
