#pragma once
// The up-down control's state and the helpers its handlers share (internal to
// platform/comctl). The state is owned by the window (control_common's ControlState), so
// it goes with the window however the window goes; a handler holds it by a shared pointer
// for the length of a message, during which a notification may destroy the window.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/comctl/updown.h"
#include "platform/user/control_common.h"

namespace zyn::comctl::detail {

enum class Arrow { None, Up, Down };

struct UpDownState final : zyn::user::ControlState {
    HWND self = nullptr;
    int lower = 100;
    int upper = 0;
    int pos = 0;
    int base = 10;
    std::vector<UDACCEL> accels{{0, 1}, {2, 5}, {5, 20}};
    HWND buddy = nullptr;
    bool buddySubclassed = false;   // UDS_ARROWKEYS: our subclass sits on the buddy

    // Mouse press.
    Arrow pressed = Arrow::None;    // the arrow held with the mouse
    bool pushedLook = false;        // the mouse is over the held arrow (drawn pushed)
    uint64_t pressStart = 0;        // clock ms of the press
    bool repeating = false;         // the repeat interval runs (the first delay is over)

    // Arrow key held on the buddy (or on the control).
    Arrow keyHeld = Arrow::None;
    uint64_t keyStart = 0;

    // Hot tracking.
    Arrow hot = Arrow::None;
    bool trackingLeave = false;

    int Low() const { return lower < upper ? lower : upper; }
    int High() const { return lower < upper ? upper : lower; }
};

// ---- text (updown_text.cpp) ------------------------------------------------------------------------------
// The position as UDS_SETBUDDYINT writes it.
std::wstring FormatPosition(int pos, int base, bool thousands);
// A buddy's text read back: surrounding white space ignored; base 10: an optional sign and
// digits, the locale's thousands separator allowed between digit groups; base 16: an
// optional "0x", hex digits of a 32-bit value. nullopt for anything else or past int.
std::optional<int> ParsePosition(std::wstring_view text, int base);

// ---- position and buddy (updown_control.cpp) ------------------------------------------------------------
void SetPosition(UpDownState& s, int pos);          // clamped; the buddy's text follows
void WriteBuddy(UpDownState& s);
// The buddy's number when UDS_SETBUDDYINT and a buddy apply: nullopt when they do not;
// `valid` says whether the text was a number inside the range.
std::optional<int> ReadBuddy(const UpDownState& s, bool& valid);
void Redraw(const UpDownState& s);

// ---- input (updown_input.cpp) ----------------------------------------------------------------------------
RECT ArrowRect(HWND hwnd, Arrow a);
Arrow ArrowAt(HWND hwnd, POINT client);
// The increment after `elapsedMs` of holding.
UINT IncrementAfter(const UpDownState& s, uint64_t elapsedMs);
// One step of an arrow (see updown.h); false when the window went away meanwhile.
bool Step(HWND hwnd, UpDownState& s, Arrow a, UINT increment);
// SB_ENDSCROLL to the parent.
void EndScroll(HWND hwnd, const UpDownState& s);
void OnButtonDown(HWND hwnd, UpDownState& s, POINT client);
void OnMouseMove(HWND hwnd, UpDownState& s, POINT client);
void OnButtonUp(HWND hwnd, UpDownState& s);
void CancelPress(HWND hwnd, UpDownState& s);
void OnTimer(HWND hwnd, UpDownState& s);
// Up/Down keys (UDS_ARROWKEYS); true when the key was taken.
bool OnKeyDown(HWND hwnd, UpDownState& s, WPARAM vk, LPARAM flags);
// `inBuddy`: the key was typed in the buddy, whose release ends no scroll.
bool OnKeyUp(HWND hwnd, UpDownState& s, WPARAM vk, bool inBuddy);
void OnMouseLeave(HWND hwnd, UpDownState& s);

// ---- painting (updown_control.cpp) ------------------------------------------------------------------------
void PaintUpDown(HWND hwnd, const UpDownState& s, HDC hdc);

} // namespace zyn::comctl::detail
