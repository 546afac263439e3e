#pragma once
// Popup menus: TrackPopupMenu(Ex), EndMenu, and the popup-menu windows of class "#32768".
//
// Tracking runs on the one modal loop (platform/user/modal.h). The owner window hears, in
// order: WM_ENTERMENULOOP (wParam TRUE for a tracked popup, FALSE for the menu bar),
// WM_INITMENU, WM_INITMENUPOPUP for each popup as it opens (LOWORD(lParam) its position in
// the parent, HIWORD TRUE for the system menu), WM_MEASUREITEM once per owner-drawn item
// of an opening popup, WM_DRAWITEM as items are painted, WM_MENUSELECT on every change of
// the highlighted item, WM_MENUCHAR for a key no item claims, WM_ENTERIDLE (MSGF_MENU)
// when the loop runs out of messages; at the end WM_MENUSELECT (0xFFFF, lParam 0),
// WM_UNINITMENUPOPUP per open popup (innermost first), WM_EXITMENULOOP, and then a posted
// WM_COMMAND (WM_SYSCOMMAND for the system menu, WM_MENUCOMMAND for a menu with
// MNS_NOTIFYBYPOS) for the chosen item unless TPM_RETURNCMD or TPM_NONOTIFY says
// otherwise. TPM_NONOTIFY leaves out the notifications; the owner still measures and
// draws owner-drawn items and answers WM_MENUCHAR.
//
// Inside the loop every message runs through WH_MSGFILTER (MSGF_MENU), and input through
// WH_MOUSE / WH_KEYBOARD, before the menu sees it; a message a hook eats never reaches the
// menu. A click outside every popup (judged by the screen point the message names, whether
// it came as input or was posted) ends the menu and stays queued for normal delivery.
// WM_CANCELMODE, losing the capture, the owner's destruction and EndMenu end it too.
//
// Each popup is a top-level, topmost window of the class "#32768", looked up by name for
// the owner's module when it is created, so a module that registers its own "#32768"
// (chaining to the system procedure with CallWindowProc) sees every message of every
// popup. The system procedure lays the items out and paints them in the classic look: see
// platform/user/menu_popup_wnd.cpp.
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr UINT TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
                      TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
                      TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_HORIZONTAL = 0x0000,
                      TPM_VERTICAL = 0x0040, TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100,
                      TPM_RECURSE = 0x0001, TPM_HORPOSANIMATION = 0x0400, TPM_HORNEGANIMATION = 0x0800,
                      TPM_VERPOSANIMATION = 0x1000, TPM_VERNEGANIMATION = 0x2000, TPM_NOANIMATION = 0x4000,
                      TPM_LAYOUTRTL = 0x8000, TPM_WORKAREA = 0x10000;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// WM_MENUCHAR answers (HIWORD of the result; LOWORD the item for EXECUTE and SELECT).
inline constexpr WORD MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3;

// Sent to a "#32768" window: the HMENU it shows.
inline constexpr UINT MN_GETHMENU = 0x01E1;

inline constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;

// The class name of popup-menu windows, and its integer atom (the window system creates
// them by the atom).
inline constexpr const wchar_t* kPopupMenuClassName = L"#32768";
inline constexpr ATOM kPopupMenuClassAtom = 0x8000;

// Shows hMenu at (x, y) and tracks it until an item is chosen or the menu is dismissed.
// Returns the chosen command with TPM_RETURNCMD (0 when none); otherwise TRUE when the menu
// was shown. FALSE with the last error for an invalid menu (ERROR_INVALID_MENU_HANDLE), an
// invalid owner or one of another thread (ERROR_INVALID_WINDOW_HANDLE), a bad TPMPARAMS
// (ERROR_INVALID_PARAMETER), or a menu already tracked on this thread without TPM_RECURSE
// (ERROR_POPUP_ALREADY_ACTIVE). prcRect is ignored, as documented.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
// As TrackPopupMenu; lptpm (may be null) names a rectangle the menu keeps clear of.
BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm);
// Ends the calling thread's menu tracking (as a cancel); TRUE also when none runs.
BOOL EndMenu();

namespace zyn::user {

// Registers the system "#32768" class (the window system does this before any class
// look-up, so GetClassInfo finds it).
void EnsureMenuPopupClass();

// The popup windows this thread shows now, outermost first.
std::vector<HWND> OpenPopupMenuWindows();

// Where a popup of `size` goes for TrackPopupMenuEx's point and alignment flags, kept
// inside `work` (the work area of the monitor holding the point):
// - TPM_LEFT/CENTER/RIGHTALIGN put the point at the menu's left edge, centre or right
//   edge, TPM_TOP/VCENTER/BOTTOMALIGN likewise vertically.
// - A left- (top-) aligned menu that would cross the right (bottom) edge opens on the
//   other side of the point instead, and a right- (bottom-) aligned one crossing the left
//   (top) edge likewise; then the menu is pushed inside the work area (its left and top
//   edges win when it is larger).
// - With an exclusion rectangle that the menu would overlap, it moves next to the
//   rectangle: TPM_VERTICAL tries below or above it first (below first unless
//   bottom-aligned), then right or left (right first unless right-aligned); TPM_HORIZONTAL
//   the other way round. A side is taken only when the menu fits in the work area there;
//   when no side fits the menu stays where the edges put it.
POINT PlacePopupMenu(POINT pt, SIZE size, UINT flags, const RECT* exclude, const RECT& work);

// The thickness of a popup's raised frame (the window rectangle less the client area).
inline constexpr int kPopupMenuFrame = 3;

// Where a cascading submenu of `size` goes next to its parent popup: its frame over the
// parent's frame at the right edge, with its first item level with the item that opens it, or, when that does not fit (or `leftFirst`, because the parent itself
// opened leftwards), mirrored over the parent's left edge; then pushed up and inside the
// work area. `openedLeft` says which side it took.
POINT PlaceSubmenu(const RECT& parentWindow, const RECT& itemScreen, SIZE size, const RECT& work, bool leftFirst,
    bool& openedLeft);

} // namespace zyn::user
