#pragma once
// The header control's state and the helpers its message handlers share (internal to
// platform/comctl). One HeaderState lives per header window, from WM_NCCREATE to
// WM_NCDESTROY, in a process-wide table keyed by the window, held by a shared pointer for
// the length of each message so that a handler may destroy the window while it notifies.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/header.h"

namespace zyn::comctl::detail {

struct HeaderItem {
    int width = 0;
    std::wstring text;
    bool textCallback = false;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int image = 0;
    HBITMAP bitmap = nullptr;
    UINT state = 0;
};

// What the left button is doing.
enum class HeaderMode { None, Pressing, Tracking };

inline constexpr int kHeaderTextPad = 6;     // text inset on both sides of an item
inline constexpr int kHeaderExtraHeight = 6; // added to the font's line height
inline constexpr int kDividerGrab = 4;       // divider zone: right - 4 <= x < right + 4

// Item edges are summed in 64 bits and kept within 2^30, so that huge widths give far-away
// edges, never an overflow.
inline int ClampEdge(int64_t x)
{
    constexpr int64_t kLimit = int64_t{1} << 30;
    return static_cast<int>(x > kLimit ? kLimit : x);
}

struct HeaderState {
    HWND self = nullptr;
    bool destroyed = false;
    std::vector<HeaderItem> items;
    std::vector<int> order;      // order[position] = item index
    uint64_t orderVersion = 0;   // bumped whenever `order` changes (the list view follows it)
    HFONT font = nullptr;        // null: DEFAULT_GUI_FONT
    HIMAGELIST images = nullptr;
    bool redraw = true;

    HeaderMode mode = HeaderMode::None;
    int modeItem = -1;           // the item pressed or tracked
    bool pressedInside = false;  // Pressing: the mouse is still on the pressed item
    int trackStartWidth = 0;     // Tracking: the width when it began
    int trackGrab = 0;           // Tracking: the press's distance from the divider
    int trackWidth = 0;          // Tracking: the width the mouse asks for now
};

std::shared_ptr<HeaderState> HeaderStateOf(HWND hwnd);

// ---- geometry (header_control.cpp) --------------------------------------------------------------------
// The item's rectangle in client coordinates (false for a bad index).
bool HeaderItemRect(const HeaderState& s, int index, RECT& rc);
// HDM_HITTEST's answer for a client point.
int HeaderHitTest(const HeaderState& s, POINT pt, UINT& flags);
// The font's line height plus the padding (what HDM_LAYOUT gives).
int HeaderHeight(const HeaderState& s);
HFONT HeaderFont(const HeaderState& s);

// ---- notifications ------------------------------------------------------------------------------------------
// Sends an NMHEADER to the parent; the answer.
LRESULT NotifyHeader(HeaderState& s, UINT code, int item, int button, HDITEMW* pitem);
// Changes an item's width through HDN_ITEMCHANGING / HDN_ITEMCHANGED; false when refused.
bool ChangeItemWidth(HeaderState& s, int item, int width);
// The text to show for an item (asked with HDN_GETDISPINFOW for a callback text).
std::wstring HeaderItemText(HeaderState& s, int item);

// ---- mouse (header_mouse.cpp) -------------------------------------------------------------------------------
void HeaderButtonDown(HeaderState& s, POINT pt, bool dblclk);
void HeaderMouseMove(HeaderState& s, POINT pt);
void HeaderButtonUp(HeaderState& s, POINT pt);
// The capture went away or Escape was pressed: the press or the track ends without effect.
void HeaderCancelMode(HeaderState& s);
bool HeaderSetCursor(HeaderState& s);

// ---- painting (header_paint.cpp) ------------------------------------------------------------------------------
void PaintHeader(HeaderState& s, HDC hdc);
void RedrawHeader(HeaderState& s);

} // namespace zyn::comctl::detail
