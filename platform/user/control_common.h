#pragma once
// What the standard controls (Button, Static, Edit, ListBox, ComboBox, ScrollBar) and the
// dialog manager share: per-window state owned by the window, notifications to the
// parent, the parent's colours, the control font, and a few classic drawing pieces.
//
// State: a control keeps its data in a ControlState-derived object that the window owns
// (SetControlState at WM_NCCREATE); ControlStateOf<T> finds it again, null for a window of
// another kind. The object dies with the window, whether it is destroyed with messages or
// freed by a test reset, so anything it holds (a font it made, a bitmap it loaded) is
// released in its destructor.
//
// Colours: a control asks its parent (the owner of a top-level control) with the
// WM_CTLCOLOR* message of its kind; a parent that answers 0 gets DefWindowProc's
// classic colours, as on Windows.
//
// Painting: controls paint on WM_PAINT and WM_PRINTCLIENT from one function taking a DC,
// and call RedrawControl when their look changes, so what a test reads after a message
// is already on the screen.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user {

// ---- state -------------------------------------------------------------------------------------------
struct ControlState {
    ControlState() = default;
    ControlState(const ControlState&) = delete;
    ControlState& operator=(const ControlState&) = delete;
    virtual ~ControlState() = default;
};
void SetControlState(HWND hwnd, std::shared_ptr<ControlState> state);
std::shared_ptr<ControlState> ControlStateRaw(HWND hwnd);
template <class T>
std::shared_ptr<T> ControlStateOf(HWND hwnd)
{
    return std::dynamic_pointer_cast<T>(ControlStateRaw(hwnd));
}

// ---- the parent ---------------------------------------------------------------------------------------
// The window a control notifies: its parent, or the owner of a top-level control.
HWND NotifyTarget(HWND ctl);
// WM_COMMAND (MAKEWPARAM(id, code), ctl) to the notify target; the target's answer.
LRESULT NotifyParent(HWND ctl, WORD code);
// The brush for a control's background from WM_CTLCOLORBTN/STATIC/EDIT/LISTBOX/SCROLLBAR
// sent to the notify target with the control's DC; DefWindowProc's answer (which also
// sets the DC's text and background colours) when the target gives none.
HBRUSH ControlBrush(HWND ctl, HDC hdc, UINT ctlColorMsg);
// WM_DRAWITEM to the notify target; TRUE when it drew.
BOOL SendDrawItem(HWND ctl, UINT ctlType, UINT itemId, UINT action, UINT state, HDC hdc, const RECT& rc,
    ULONG_PTR itemData);

// ---- fonts -----------------------------------------------------------------------------------------------
// The font a control draws with: the one WM_SETFONT gave it, else the system font.
HFONT FontOrSystem(HFONT font);
// Selects an object into a DC for the life of the scope.
class DcSelection {
public:
    DcSelection(HDC hdc, HGDIOBJ obj);
    ~DcSelection();
    DcSelection(const DcSelection&) = delete;
    DcSelection& operator=(const DcSelection&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// ---- drawing --------------------------------------------------------------------------------------------
// Invalidates the whole client area and paints it now when the control is visible.
void RedrawControl(HWND hwnd);
// Paints what is invalid of a control now; a window it lies in that waits for a paint over
// it is painted first (with its children), so that paint cannot cover the control's.
void UpdateControlNow(HWND hwnd);
// How many DCs were handed out for a window so far (GetDC, GetDCEx, GetWindowDC, BeginPaint)
// and how many it holds now: a control that relies on the pixels it last painted checks
// from these that nobody else can have drawn on it since.
struct DcUse {
    uint64_t handedOut = 0;
    size_t held = 0;
    bool operator==(const DcUse&) const = default;
};
DcUse DcUseOf(HWND hwnd);
// Moves the client pixels of `from` by (dx, dy) as ScrollWindowEx does, but only those that
// show what the window last painted (visible, not waiting for a paint), and invalidates
// nothing: `moved` (a region the caller owns) receives the client area that now holds moved
// pixels, and the caller invalidates what else its new look changes. False for a bad window
// or region.
bool MoveClientPixels(HWND hwnd, const RECT& from, int dx, int dy, HRGN moved);
// True when a window the control lies in waits for a paint over part of it: that paint may
// cover the control's pixels (UpdateControlNow paints it first).
bool AncestorPaintPending(HWND hwnd);
// Draws text as DrawText does in the DC's text colour, or, for a disabled control, in the
// classic embossed look: COLOR_3DHIGHLIGHT one pixel right and down, then COLOR_3DSHADOW
// in place. The DC's background mode is TRANSPARENT while it draws.
void DrawControlText(HDC hdc, std::wstring_view text, const RECT& rc, UINT dtFlags, bool enabled);
// The extent DrawText gives the text in the DC's font (DT_CALCRECT with the same flags,
// starting from `rc`).
RECT MeasureControlText(HDC hdc, std::wstring_view text, const RECT& rc, UINT dtFlags);
// The window text of a control, without a message-sized buffer guess.
std::wstring WindowTextOf(HWND hwnd);

// ---- mnemonics -------------------------------------------------------------------------------------------
// The character after the first single '&' of a label ("&&" is a literal ampersand), upper
// case; 0 when the label has none.
wchar_t MnemonicOf(std::wstring_view text);

} // namespace zyn::user
