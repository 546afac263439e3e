#pragma once
// The tooltip control's state and the helpers its message handlers share (internal to
// platform/comctl). One ToolTipState lives per tooltip window, from WM_NCCREATE to
// WM_NCDESTROY, in a process-wide table keyed by the window; it is only ever touched on
// the window's own thread.
//
// Phases of the control while it follows the mouse (tracking tools aside):
//   Idle       no tool under the mouse;
//   Waiting    the mouse is on a tool; the show timer runs (initial or reshow delay);
//   Shown      the tip is up; the auto-pop and leave-check timers run;
//   Dismissed  the tip of the tool under the mouse was hidden by a click, TTM_POP or
//              the auto-pop time, and stays hidden until the mouse reaches another tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/user_types.h"

namespace zyn::comctl::detail {

enum class TextKind { Text, Resource, Callback };

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    TextKind kind = TextKind::Text;
    std::wstring text;       // TextKind::Text
    UINT resourceId = 0;     // TextKind::Resource (in hinst)
    LPARAM lParam = 0;
    bool ansiNotify = false; // the tool's window asked for narrow notifications
    bool subclassed = false; // we subclassed its window (TTF_SUBCLASS)

    // The window whose mouse messages concern the tool.
    HWND Window() const { return (flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(id) : hwnd; }
    bool Is(HWND h, UINT_PTR i) const { return hwnd == h && id == i; }
};

// A tool by identity; tools are found again by it, so the list may change meanwhile.
struct ToolKey {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    bool operator==(const ToolKey&) const = default;
};

enum class Phase { Idle, Waiting, Shown, Dismissed };

// Timer IDs of the tooltip window.
inline constexpr UINT_PTR kTimerShow = 1;      // the initial or reshow delay is over
inline constexpr UINT_PTR kTimerAutoPop = 2;   // the tip has been up long enough
inline constexpr UINT_PTR kTimerLeave = 3;     // checks that the mouse is still on the tool
inline constexpr UINT kLeaveCheckMs = 100;

// Text layout: a 1-pixel frame and 2 pixels of padding surround the margins and the text.
inline constexpr int kFrame = 1;
inline constexpr int kPadding = 2;

struct ToolTipState {
    HWND self = nullptr;
    // Set at WM_NCDESTROY: a handler that sent a message checks it before going on.
    bool destroyed = false;
    std::vector<Tool> tools;

    // Following the mouse.
    Phase phase = Phase::Idle;
    std::optional<ToolKey> current;   // the tool under the mouse (Waiting, Shown, Dismissed)
    int waitDelay = 0;                // the delay the show timer was started with
    POINT lastPt{};                   // screen point of the last relayed mouse message
    bool haveLastPt = false;
    // When a shown tip last went away because the mouse left its tool (clock ms): a tool
    // reached soon after shows after the reshow delay.
    std::optional<uint64_t> leftShownAt;

    // Tracking.
    std::optional<ToolKey> tracked;   // the tracking tool shown (TTM_TRACKACTIVATE)
    POINT trackPos{};

    // What is on screen.
    std::optional<ToolKey> shown;     // the tool whose tip is up (either kind)
    std::wstring shownText;

    // Settings.
    bool active = true;
    std::optional<int> initialDelay, autoPopDelay, reshowDelay;   // unset: from the double-click time
    int maxTipWidth = -1;
    std::optional<COLORREF> bkColor, textColor;                  // unset: COLOR_INFOBK / COLOR_INFOTEXT
    RECT margin{};
    HFONT font = nullptr;        // the font in use
    HFONT ownFont = nullptr;     // the system tooltip font we made (deleted with the control)

    Tool* Find(HWND hwnd, UINT_PTR id);
    Tool* Find(const std::optional<ToolKey>& key) { return key ? Find(key->hwnd, key->id) : nullptr; }
};

// The state of a tooltip window (null for any other window).
ToolTipState* StateOf(HWND hwnd);

// ---- tools (tooltip_tools.cpp) -------------------------------------------------------------------------------
// A TOOLINFO of either form, as the control reads it (text already wide).
struct ToolInfoIn {
    UINT cbSize = 0;
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    TextKind kind = TextKind::Text;
    std::wstring text;
    UINT resourceId = 0;
    LPARAM lParam = 0;
    bool hasLParam = false;
};
// Reads a caller's TTTOOLINFOW / TTTOOLINFOA (cbSize checked); nullopt for a bad size.
// lpszText is read only with `withText` (adding and setting a tool): in the other
// messages it is the caller's output buffer, whose contents mean nothing.
std::optional<ToolInfoIn> ReadToolInfo(const void* info, bool ansi, bool withText = false);
// Writes a tool into a caller's structure (up to its cbSize). The text is copied into
// lpszText when the caller gave a buffer (at most 80 characters with the terminator);
// a callback tool reports LPSTR_TEXTCALLBACK.
void WriteToolInfo(const Tool& tool, void* info, bool ansi);
// The cbSize of a structure of the form, or 0 when it is not one of the three layouts.
bool ValidToolInfoSize(UINT cbSize, bool ansi);

LRESULT AddTool(ToolTipState& s, const void* info, bool ansi);
LRESULT DelTool(ToolTipState& s, const void* info, bool ansi);
LRESULT SetToolInfo(ToolTipState& s, const void* info, bool ansi, bool textOnly);
LRESULT NewToolRect(ToolTipState& s, const void* info, bool ansi);
LRESULT GetToolInfo(ToolTipState& s, void* info, bool ansi);
LRESULT EnumTools(ToolTipState& s, WPARAM index, void* info, bool ansi);
LRESULT HitTest(ToolTipState& s, void* hitInfo, bool ansi);
LRESULT GetCurrentTool(ToolTipState& s, void* info, bool ansi);
// Asks a tool's window which notification form it wants.
void QueryNotifyFormat(ToolTipState& s, Tool& tool);
// Subclassing the windows of TTF_SUBCLASS tools.
void SubclassToolWindow(ToolTipState& s, Tool& tool);
void UnsubclassToolWindow(ToolTipState& s, const Tool& tool);
void UnsubclassAll(ToolTipState& s);

// The tool (not a tracking one) under a point of a window's client area, as relayed mouse
// messages see it; `client` false means `pt` is in screen coordinates (non-client messages).
Tool* ToolAt(ToolTipState& s, HWND hwnd, POINT pt, bool client);
// Whether the cursor (screen) is still on the tool, with nothing else in front of it.
bool CursorOnTool(ToolTipState& s, const Tool& tool, POINT screen);

// ---- text (tooltip_text.cpp) ----------------------------------------------------------------------------------
// The text to show for a tool: its own, its resource string, or the answer to
// TTN_GETDISPINFO(W/A); TTF_DI_SETITEM in the answer keeps it as the tool's text. The
// TTS_NOPREFIX rule is applied.
std::wstring ToolText(ToolTipState& s, Tool& tool);
// Cut at the first tab and without single ampersands (the rule without TTS_NOPREFIX).
std::wstring StripPrefixes(const std::wstring& text);

// ---- showing (tooltip_show.cpp) ----------------------------------------------------------------------------------
void Relay(ToolTipState& s, const MSG& msg);
void OnTimer(ToolTipState& s, UINT_PTR id);
// Hides the tip (TTN_POP to its tool) and stops its timers; the phase is the caller's.
void HideTip(ToolTipState& s);
// TTM_POP: hides the tip; the tool under the mouse stays quiet until the mouse moves on.
void Pop(ToolTipState& s);
void Popup(ToolTipState& s);
void Activate(ToolTipState& s, bool on);
void TrackActivate(ToolTipState& s, bool on, const void* info, bool ansi);
void TrackPosition(ToolTipState& s, POINT pt);
// Re-reads the text of the shown tip and lays it out again (TTM_UPDATE, new texts).
void Refresh(ToolTipState& s);
// A tool is going away or changing: its tip goes, and it stops being the current tool.
void ForgetTool(ToolTipState& s, const ToolKey& key);
int InitialDelay(const ToolTipState& s);
int AutoPopDelay(const ToolTipState& s);
int ReshowDelay(const ToolTipState& s);

// ---- layout and painting (tooltip_paint.cpp) -------------------------------------------------------------
// The window size that shows `text` with the control's font, margins and width rule.
SIZE TipSize(ToolTipState& s, const std::wstring& text);
// DrawText flags for the text.
UINT TextFlags(const ToolTipState& s);
// The text rectangle inside a window rectangle (or back with `larger`), as TTM_ADJUSTRECT.
RECT AdjustRect(const ToolTipState& s, RECT rc, bool larger);
void Paint(ToolTipState& s, HDC hdc);
// Makes (again) the system tooltip font unless the application set one.
void UseSystemFont(ToolTipState& s);

// Placement of a tip of `size` (screen coordinates), kept inside `work`:
// below the cursor (above it when there is no room below);
RECT PlaceBelowCursor(POINT cursor, SIZE size, const RECT& work, int cursorDrop);
// centred below a tool's rectangle (above it when there is no room below);
RECT PlaceCentred(const RECT& tool, SIZE size, const RECT& work);
// at a tracking point: exactly with `absolute`, else kept inside the work area.
RECT PlaceTracking(POINT pt, SIZE size, const RECT& work, bool absolute);
// The work area of the monitor nearest to a point.
RECT WorkAreaAt(POINT pt);
// How far below the cursor's hot spot a tip starts: the visible part of the arrow, 5/8
// of the cursor height (20 pixels for the standard 32-pixel cursor).
int CursorDrop();

} // namespace zyn::comctl::detail
