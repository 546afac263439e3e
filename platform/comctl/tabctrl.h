#pragma once
// The tab control ("SysTabControl32"): its styles, messages, item structures and
// notifications, and the classic geometry it lays its tabs out by.
//
// A tab control keeps a list of items (text, image index, state, application data of
// TCM_SETITEMEXTRA bytes, an LPARAM by default), one selected item and one focus item. It
// lays them out in rows along one side of its client area (the top; TCS_BOTTOM the
// bottom; TCS_VERTICAL the left, with TCS_RIGHT the right) and leaves the rest, the
// display area, to the application: TCM_ADJUSTRECT converts between a window rectangle
// and its display area. Clicks and keys change the selection after asking the parent
// (TCN_SELCHANGING, vetoed by a non-zero answer) and tell it afterwards (TCN_SELCHANGE);
// TCM_SETCURSEL changes it silently. The first item inserted becomes the selection;
// deleting the selected item leaves none (TCM_GETCURSEL -1), for the owner to choose.
//
// Input: a click selects the tab under it (TCS_BUTTONS | TCS_MULTISELECT: Ctrl+click
// presses or releases a button instead) and NM_CLICK follows the release (NM_RCLICK,
// NM_DBLCLK likewise). Tabs take the focus when clicked unless TCS_FOCUSNEVER; buttons only
// with TCS_FOCUSONBUTTONDOWN. With the focus, every key is first TCN_KEYDOWN; Left/Up and
// Right/Down move the selection of tabs (no wrap) and the focus of buttons
// (TCN_FOCUSCHANGE), Space or Enter select the focus button, Ctrl+Tab and Ctrl+Shift+Tab
// move the selection round. TCS_HOTTRACK draws the tab under the mouse in COLOR_HOTLIGHT;
// flat buttons show a thin edge when hot or pressed. TCS_SCROLLOPPOSITE is kept as a
// style only. TCS_TOOLTIPS makes a tooltip the control owns and destroys, with one tool
// per item whose text request (TTN_GETDISPINFO, idFrom the item) goes to the parent.
//
// Geometry (client coordinates; "along" is x for horizontal tabs, y for vertical ones):
//   row height H      max(font height, image height) + 2 * padding.cy + 2 (the tab's
//                     raised edge), or the height TCM_SETITEMSIZE gave; for vertical tabs
//                     the image width counts instead of its height
//   item width        2 * padding.cx + text extent (prefixes processed: "&&" is one '&',
//                     "&x" is x underlined) + image width + 3 between image and text when
//                     both are shown; at least the minimum width (TCM_SETMINTABWIDTH,
//                     default 0). TCS_FIXEDWIDTH: every item is TCM_SETITEMSIZE's width,
//                     or the widest item's natural width when none was set; owner-drawn
//                     controls use TCM_SETITEMSIZE's width when one was set.
//   tabs              the rows run from 2 pixels inside the control's edge to 2 pixels
//                     before its far end; rows are stacked from 2 pixels inside the edge
//                     of their side. The pane (the display area's frame, a raised edge)
//                     takes the rest; the display area is the pane 4 pixels in (2 of
//                     edge, 2 of margin) on every side. The selected tab is drawn 2
//                     pixels larger on its three free sides and 1 pixel into the pane, so
//                     it joins the display area; TCM_GETITEMRECT reports the plain rect.
//   TCS_BUTTONS       buttons start at the edge, 3 pixels apart along and across rows;
//                     the display area starts after the last row and its gap.
//   multi-line        (TCS_MULTILINE, always with TCS_VERTICAL) items wrap into rows in
//                     order; with two or more rows each row is stretched to the end of
//                     the row span (the extra split evenly, the last item taking the
//                     remainder) unless TCS_RAGGEDRIGHT or TCS_FIXEDWIDTH. The row holding
//                     the selection is moved next to the display area and the others
//                     follow in turn (row s+1 next, wrapping round); button rows stay in
//                     order.
//   single-line       tabs that do not fit bring an up-down control ("msctls_updown32",
//                     UDS_HORZ, ID 1) at the row's far end, 2 * SM_CXHSCROLL wide and H
//                     high. Its position is the first visible item and its range runs
//                     from 0 to the first item from which all the rest fit before it;
//                     tabs are cut at its left edge.
//
// Hit tests (TCM_HITTEST) answer TCHT_ONITEMICON over the image, TCHT_ONITEMLABEL over the
// text, TCHT_ONITEM elsewhere on an item (always for owner-drawn controls), TCHT_NOWHERE
// with -1 off the items.
#include <cstddef>

#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* WC_TABCONTROLW = L"SysTabControl32";
inline constexpr const wchar_t* WC_TABCONTROL = WC_TABCONTROLW;
inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";

// ---- styles ----------------------------------------------------------------------------------------------
inline constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001, TCS_BOTTOM = 0x0002, TCS_RIGHT = 0x0002,
                       TCS_MULTISELECT = 0x0004, TCS_FLATBUTTONS = 0x0008, TCS_FORCEICONLEFT = 0x0010,
                       TCS_FORCELABELLEFT = 0x0020, TCS_HOTTRACK = 0x0040, TCS_VERTICAL = 0x0080, TCS_TABS = 0x0000,
                       TCS_BUTTONS = 0x0100, TCS_SINGLELINE = 0x0000, TCS_MULTILINE = 0x0200,
                       TCS_RIGHTJUSTIFY = 0x0000, TCS_FIXEDWIDTH = 0x0400, TCS_RAGGEDRIGHT = 0x0800,
                       TCS_FOCUSONBUTTONDOWN = 0x1000, TCS_OWNERDRAWFIXED = 0x2000, TCS_TOOLTIPS = 0x4000,
                       TCS_FOCUSNEVER = 0x8000;
inline constexpr DWORD TCS_EX_FLATSEPARATORS = 0x1, TCS_EX_REGISTERDROP = 0x2;

// ---- messages ----------------------------------------------------------------------------------------------
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2, TCM_SETIMAGELIST = TCM_FIRST + 3,
                      TCM_GETITEMCOUNT = TCM_FIRST + 4, TCM_GETITEMA = TCM_FIRST + 5, TCM_SETITEMA = TCM_FIRST + 6,
                      TCM_INSERTITEMA = TCM_FIRST + 7, TCM_DELETEITEM = TCM_FIRST + 8,
                      TCM_DELETEALLITEMS = TCM_FIRST + 9, TCM_GETITEMRECT = TCM_FIRST + 10,
                      TCM_GETCURSEL = TCM_FIRST + 11, TCM_SETCURSEL = TCM_FIRST + 12, TCM_HITTEST = TCM_FIRST + 13,
                      TCM_SETITEMEXTRA = TCM_FIRST + 14, TCM_ADJUSTRECT = TCM_FIRST + 40,
                      TCM_SETITEMSIZE = TCM_FIRST + 41, TCM_REMOVEIMAGE = TCM_FIRST + 42,
                      TCM_SETPADDING = TCM_FIRST + 43, TCM_GETROWCOUNT = TCM_FIRST + 44,
                      TCM_GETTOOLTIPS = TCM_FIRST + 45, TCM_SETTOOLTIPS = TCM_FIRST + 46,
                      TCM_GETCURFOCUS = TCM_FIRST + 47, TCM_SETCURFOCUS = TCM_FIRST + 48,
                      TCM_SETMINTABWIDTH = TCM_FIRST + 49, TCM_DESELECTALL = TCM_FIRST + 50,
                      TCM_HIGHLIGHTITEM = TCM_FIRST + 51, TCM_SETEXTENDEDSTYLE = TCM_FIRST + 52,
                      TCM_GETEXTENDEDSTYLE = TCM_FIRST + 53, TCM_GETITEMW = TCM_FIRST + 60,
                      TCM_SETITEMW = TCM_FIRST + 61, TCM_INSERTITEMW = TCM_FIRST + 62;
inline constexpr UINT TCM_GETITEM = TCM_GETITEMW, TCM_SETITEM = TCM_SETITEMW, TCM_INSERTITEM = TCM_INSERTITEMW;

// ---- items ---------------------------------------------------------------------------------------------------
inline constexpr UINT TCIF_TEXT = 0x0001, TCIF_IMAGE = 0x0002, TCIF_RTLREADING = 0x0004, TCIF_PARAM = 0x0008,
                      TCIF_STATE = 0x0010;
inline constexpr DWORD TCIS_BUTTONPRESSED = 0x0001, TCIS_HIGHLIGHTED = 0x0002;

// An item as the messages carry it. With TCM_SETITEMEXTRA (0 to 65536 bytes, only while
// the control has no items) the application data is not an LPARAM but that many bytes
// starting at lParam: the caller passes a TCITEMHEADER followed by its own data.
struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;   // in: the text; TCM_GETITEM: the caller's buffer of cchTextMax characters
    int cchTextMax;
    int iImage;       // -1: none
    LPARAM lParam;
};
struct TCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText;    // in the ANSI code page
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
struct TCITEMHEADERW {
    UINT mask;
    UINT lpReserved1;
    UINT lpReserved2;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
};
struct TCITEMHEADERA {
    UINT mask;
    UINT lpReserved1;
    UINT lpReserved2;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
};
using TCITEM = TCITEMW;
using LPTCITEMW = TCITEMW*;
using LPTCITEMA = TCITEMA*;
using LPTCITEM = TCITEMW*;
using TC_ITEM = TCITEMW;
using TCITEMHEADER = TCITEMHEADERW;
using TC_ITEMHEADER = TCITEMHEADERW;
using LPTCITEMHEADER = TCITEMHEADERW*;
// Where the application data starts in an item structure (and so in a caller's structure
// that follows a TCITEMHEADER with its own bytes).
inline constexpr size_t kTcItemDataOffset = offsetof(TCITEMW, lParam);

// ---- hit testing -----------------------------------------------------------------------------------------------
inline constexpr UINT TCHT_NOWHERE = 0x0001, TCHT_ONITEMICON = 0x0002, TCHT_ONITEMLABEL = 0x0004,
                      TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;
struct TCHITTESTINFO {
    POINT pt;    // client coordinates
    UINT flags;  // out: TCHT_*
};
using LPTCHITTESTINFO = TCHITTESTINFO*;
using TC_HITTESTINFO = TCHITTESTINFO;

// ---- notifications (WM_NOTIFY codes) --------------------------------------------------------------------
inline constexpr UINT TCN_FIRST = 0u - 550u, TCN_LAST = 0u - 580u;
inline constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0, TCN_SELCHANGE = TCN_FIRST - 1, TCN_SELCHANGING = TCN_FIRST - 2,
                      TCN_GETOBJECT = TCN_FIRST - 3, TCN_FOCUSCHANGE = TCN_FIRST - 4;
// TCN_KEYDOWN: the key and the WM_KEYDOWN's lParam.
struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
using TC_KEYDOWN = NMTCKEYDOWN;
using LPNMTCKEYDOWN = NMTCKEYDOWN*;

// The ODT_ value of WM_DRAWITEM for owner-drawn tabs (itemData: the item's LPARAM, or the
// address of its extra bytes when TCM_SETITEMEXTRA gave another size).
inline constexpr UINT ODT_TAB = 101;

namespace zyn::comctl {

// Geometry constants of the classic look (see the top of this file).
namespace tabgeo {
inline constexpr int kMargin = 2;         // between the control's edge and the tabs
inline constexpr int kEdge = 2;           // the raised edge counted in the row height
inline constexpr int kPaneInset = 4;      // pane edge (2) + margin (2)
inline constexpr int kSelectedGrow = 2;   // how much larger the selected tab is drawn
inline constexpr int kButtonGap = 3;      // between buttons and button rows
inline constexpr int kIconGap = 3;        // between an item's image and its text
inline constexpr int kDefaultPadX = 6, kDefaultPadY = 3;
inline constexpr int kSpinId = 1;         // the ID of the overflow up-down control
} // namespace tabgeo

// Registers "SysTabControl32" as a system class (what InitCommonControlsEx does for
// ICC_TAB_CLASSES). FALSE when the window system refuses the class.
BOOL RegisterTabControlClass();

} // namespace zyn::comctl
