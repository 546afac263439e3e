#pragma once
// Extension points of the window system for the layers built on it: the menu layer fills
// the menu-bar hooks, the standard controls register system classes and reuse the
// scroll-bar machinery.
#include <functional>
#include <optional>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user {

// ---- the menu bar ----------------------------------------------------------------------------------
// Until the menu layer installs its hooks, a window with a menu gets a blank bar of
// GetSystemMetrics(SM_CYMENU) pixels, any non-null HMENU is accepted, and the menu loop
// keys do nothing.
struct MenuBarHooks {
    // Height of the bar laid out across `width` pixels (the window's width inside its
    // frame); a wrapped bar is taller.
    std::function<int(HWND hwnd, HMENU menu, int width)> barHeight;
    // Paints the bar into a window DC; `bar` is in window coordinates.
    std::function<void(HWND hwnd, HMENU menu, HDC hdc, const RECT& bar)> drawBar;
    // Loads a class's menu (WNDCLASS lpszMenuName) for a top-level window created without
    // one: LoadMenuW(module, name).
    std::function<HMENU(HINSTANCE module, LPCWSTR name)> loadMenu;
    // Runs the menu loop for WM_SYSCOMMAND SC_KEYMENU (lParam: the character, 0 for F10/Alt)
    // or SC_MOUSEMENU (lParam: the screen point).
    std::function<void(HWND hwnd, WPARAM command, LPARAM lParam)> track;
    // Whether a handle names a live menu (SetMenu refuses others with ERROR_INVALID_MENU_HANDLE).
    std::function<bool(HMENU menu)> isMenu;
    // Frees a menu when its window is destroyed (the bar menu, and the system menu slot).
    std::function<void(HMENU menu)> destroyMenu;
};
void SetMenuBarHooks(MenuBarHooks hooks);
const MenuBarHooks& GetMenuBarHooks();

// The window's bar rectangle in window coordinates (empty when it has no bar).
RECT MenuBarRect(HWND hwnd);

// Per-window slot for the system menu copy that GetSystemMenu makes (the menu layer owns
// its contents; the window system frees it with the window through destroyMenu).
HMENU GetSystemMenuSlot(HWND hwnd);
BOOL SetSystemMenuSlot(HWND hwnd, HMENU menu);

// ---- classes -----------------------------------------------------------------------------------------------
// Registers a system class (found after the module's own and the global classes). Used by
// the standard controls ("Button", "Edit", "#32770", "#32768", "MDICLIENT"...). A second
// registration of the same name replaces the first while no window of it exists.
ATOM RegisterSystemClass(const WNDCLASSEXW& wc);

// ---- scroll bars --------------------------------------------------------------------------------------------
// The state a scroll bar draws and tracks (a window's own bar or a control's).
struct ScrollBarState {
    int nMin = 0, nMax = 100;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    UINT arrowsDisabled = 0;  // ESB_DISABLE_* bits
    bool tracking = false;
};
// Parts of a bar, for drawing the pressed part and hit testing.
enum class ScrollPart { None, ArrowUp, PageUp, Thumb, PageDown, ArrowDown };
// Geometry of a bar in any coordinates: thumb extent along the bar.
struct ScrollBarLayout {
    RECT bar{};
    bool vertical = true;
    int arrow = 0;           // arrow button length
    int thumbStart = 0;      // thumb along the bar (absolute coordinate), 0/0 when none
    int thumbEnd = 0;
};
ScrollBarLayout LayoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& st);
ScrollPart ScrollBarPartFromPoint(const ScrollBarLayout& layout, POINT pt);
// `track`: the brush of the track (null: the classic track below); a scroll-bar control
// passes what its parent's WM_CTLCOLORSCROLLBAR gave.
void DrawScrollBar(HDC hdc, const RECT& bar, bool vertical, const ScrollBarState& st, ScrollPart pressed,
    bool enabled, HBRUSH track = nullptr);
// The classic track, as DefWindowProc answers WM_CTLCOLORSCROLLBAR: the halftone of
// COLOR_3DHILIGHT (background colour) and COLOR_3DFACE (text colour), both set into `hdc`
// for the pattern, while the highlight is the window colour (so a flat track could not be
// told from a window); otherwise the flat COLOR_SCROLLBAR brush.
HBRUSH ClassicScrollTrackBrush(HDC hdc);
// Runs the tracking loop of a bar after a button press at `screenPt`: WM_HSCROLL /
// WM_VSCROLL go to `hwnd` for SB_HORZ/SB_VERT, and to the parent of the control (lParam the
// control) for SB_CTL. Returns when the button is released or the loop is cancelled.
void TrackScrollBar(HWND hwnd, int bar, POINT screenPt);
// While TrackScrollBar runs for a bar on this thread: the part held down (None when the
// pointer left it) and, while the thumb is dragged, its position, so a control can draw
// itself and answer SIF_TRACKPOS.
ScrollPart PressedScrollPart(HWND hwnd, int bar);
std::optional<int> TrackedThumbPos(HWND hwnd, int bar);

} // namespace zyn::user
