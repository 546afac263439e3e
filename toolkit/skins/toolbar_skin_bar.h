#pragma once
// What the toolbar skins read of a toolbar and share between them: the control's messages
// on the bar's window, the custom-draw pre-notification to the bar's frame, bounded
// button texts (the menu bar's own item texts included), the state of a button as the
// XP and 2003 tables read it, the maximised MDI child's caption buttons of a menu bar,
// and a DC attached for one call.
#include "platform/afx/gdi/dc.h"
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"
#include "toolkit/skins/menubar_paint.h"

class CMDIChildWnd;
class COXCoolToolBar;
class COXMenuBar;
struct NMCUSTOMDRAW;
struct TBBUTTON;

namespace zyn::tbskin {

// A CDC on a DC the caller owns, detached again when it goes.
class AttachedDc {
public:
    explicit AttachedDc(HDC hdc);
    ~AttachedDc();
    AttachedDc(const AttachedDc&) = delete;
    AttachedDc& operator=(const AttachedDc&) = delete;
    CDC* get() { return m_attached ? &m_dc : nullptr; }

private:
    CDC m_dc;
    bool m_attached = false;
};

// Whether the bar has a live window.
bool HasWindow(const COXCoolToolBar* bar);
// A message to the bar's toolbar control (0 without a window).
LRESULT Send(const COXCoolToolBar* bar, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

// The pre-notification (OXTBN_PRECUSTOMDRAW) to the bar's top-level parent while it
// floats, else to its frame. False when the receiver took the paint over: *result then
// holds its answer.
bool OfferToFrame(NMCUSTOMDRAW* customDraw, COXCoolToolBar* bar, LRESULT* result);

// The text of the button with that command, read to its full length (empty for none).
CString ButtonText(const COXCoolToolBar* bar, int idCommand);
// The text a button shows: a menu bar's drop-down item (without separate arrows) shows
// its menu item's text, idCommand - 1 being the item's index; every other button its own.
CString ShownText(COXCoolToolBar* bar, const TBBUTTON& button, DWORD extendedStyle);
bool IsMenuBar(const COXCoolToolBar* bar);

// A button's state as the XP and 2003 tables read it. Reading it takes the bar's dropped
// button: when this button is the one whose drop-down opened last it shows dropped once,
// and the bar's field goes back to -1.
struct ItemState {
    bool dropped = false;
    bool pressed = false;
    bool checked = false;
    bool disabled = false;
    bool hot = false;
};
ItemState TakeItemState(COXCoolToolBar* bar, const TBBUTTON& button);

// The caption buttons a menu bar shows for the maximised child of its MDI frame. False
// (nothing to draw) without the menu bar's access, when its frame is not an MDI frame,
// when no child is active or it is not maximised, or when the close button is not shown.
bool GetMaximizedChildButtons(COXMenuBar* menuBar, OXMENUBARBUTTONS& buttons, CMDIChildWnd** child);

} // namespace zyn::tbskin
