#pragma once
// The status bar common control ("msctls_statusbar32"): a strip along the bottom (or
// top) of its parent, divided into parts that each show a text, an icon or what the
// parent draws.
//
// Parts: SB_SETPARTS gives the right edge of each part in client coordinates (up to 256;
// -1 reaches the client's right edge); part i runs from the previous part's edge plus the
// spacing (from the horizontal border for the first) to its own edge. Every part keeps a
// text with its drawing type (SB_SETTEXT: the part in the low byte of wParam, the SBT_
// type in the rest of the low word), an icon (not owned: the caller destroys it) and a
// tip text. SB_GETTEXT and SB_GETTEXTLENGTH answer MAKELONG(length, type), or for an
// SBT_OWNERDRAW part the 32-bit value it was given; a text longer than 65535 characters,
// whose length could not be answered in a word, is refused (the narrow forms answer at
// most 65535 bytes of a text's ANSI form, the size their callers are told). SB_SIMPLE switches to one
// part across the whole bar with its own text (SB_SETTEXT part 255, SB_SIMPLEID) and tells
// the parent SBN_SIMPLEMODECHANGE. WM_SETTEXT and WM_GETTEXT read and write part 0.
//
// Geometry: SB_GETBORDERS answers {0, 2, 2}: no horizontal border, 2 pixels above and
// below the parts, 2 pixels between parts. The bar's client height is the status font's
// tmHeight + 8 (a 1-pixel frame and a 1-pixel margin round the text, and the vertical
// borders), or SB_SETMINHEIGHT's value + 4 when that is more. With SBARS_SIZEGRIP, while
// the parent is not maximised, the right-hand strip SM_CXVSCROLL wide is the size grip
// (DrawFrameControl DFCS_SCROLLSIZEGRIP); parts reaching into it end where it begins, the
// grip answers WM_NCHITTEST with HTBOTTOMRIGHT when the parent has a sizing border, and a
// press there starts sizing the parent from its bottom-right corner. SB_GETRECT answers
// a part's rectangle (255: the simple part).
//
// Placement: on WM_SIZE (parents forward theirs; the bar also does it when made) the bar
// takes the parent's client width and its own height at the bottom of the parent's
// client area (CCS_TOP: at the top; CCS_NOMOVEY: where it is vertically). CCS_NOPARENTALIGN
// keeps its place and width and takes only the height; CCS_NORESIZE keeps the size and
// place it was given. A status bar draws no divider, so CCS_NODIVIDER changes nothing.
// The font is the system's status font (NONCLIENTMETRICS lfStatusFont), made by the bar
// and freed with it, until WM_SETFONT gives another.
//
// Painting (classic): the background in SB_SETBKCOLOR's colour or COLOR_3DFACE; each part
// framed by a 1-pixel sunken border (BDR_SUNKENOUTER), raised for SBT_POPOUT (BDR_RAISEDINNER)
// and none for SBT_NOBORDERS. Inside the frame: an SBT_OWNERDRAW part is drawn by the
// parent (WM_DRAWITEM, CtlType 0, itemID the part, rcItem the part inside its frame,
// itemData the value given with the text, the bar's font selected); otherwise the icon
// (small-icon size, 2 pixels in, centred vertically) and the text in COLOR_BTNTEXT,
// 2 pixels in (after the icon and 2 more pixels), on one line, centred vertically and cut
// at the frame: the text up to the first tab on the left, the text after it centred, the
// text after a second tab on the right (not with SBT_NOTABPARSING).
//
// The bar tells its parent NM_CLICK, NM_DBLCLK, NM_RCLICK and NM_RDBLCLK with an NMMOUSE
// naming the part under the mouse (SB_SIMPLEID in simple mode, -1 between parts). With
// SBARS_TOOLTIPS it shows each part's tip text (SB_SETTIPTEXT) in a tooltip of its own.
#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"

inline constexpr const wchar_t* STATUSCLASSNAMEW = L"msctls_statusbar32";
inline constexpr const wchar_t* STATUSCLASSNAME = STATUSCLASSNAMEW;
inline constexpr const char* STATUSCLASSNAMEA = "msctls_statusbar32";

// ---- styles -----------------------------------------------------------------------------------------------
inline constexpr DWORD SBARS_SIZEGRIP = 0x0100, SBARS_TOOLTIPS = 0x0800, SBT_TOOLTIPS = 0x0800;

// ---- drawing types of a part's text (SB_SETTEXT's wParam, SB_GETTEXT's high word) -----------------------------
inline constexpr UINT SBT_NOBORDERS = 0x0100, SBT_POPOUT = 0x0200, SBT_RTLREADING = 0x0400,
                      SBT_NOTABPARSING = 0x0800, SBT_OWNERDRAW = 0x1000;
inline constexpr UINT SB_SIMPLEID = 0x00FF;

// ---- messages ---------------------------------------------------------------------------------------------
inline constexpr UINT SB_SETTEXTA = 0x0400 + 1, SB_GETTEXTA = 0x0400 + 2, SB_GETTEXTLENGTHA = 0x0400 + 3,
                      SB_SETPARTS = 0x0400 + 4, SB_GETPARTS = 0x0400 + 6, SB_GETBORDERS = 0x0400 + 7,
                      SB_SETMINHEIGHT = 0x0400 + 8, SB_SIMPLE = 0x0400 + 9, SB_GETRECT = 0x0400 + 10,
                      SB_SETTEXTW = 0x0400 + 11, SB_GETTEXTLENGTHW = 0x0400 + 12, SB_GETTEXTW = 0x0400 + 13,
                      SB_ISSIMPLE = 0x0400 + 14, SB_SETICON = 0x0400 + 15, SB_SETTIPTEXTA = 0x0400 + 16,
                      SB_SETTIPTEXTW = 0x0400 + 17, SB_GETTIPTEXTA = 0x0400 + 18, SB_GETTIPTEXTW = 0x0400 + 19,
                      SB_GETICON = 0x0400 + 20, SB_SETBKCOLOR = CCM_SETBKCOLOR,
                      SB_SETUNICODEFORMAT = CCM_SETUNICODEFORMAT, SB_GETUNICODEFORMAT = CCM_GETUNICODEFORMAT;
inline constexpr UINT SB_SETTEXT = SB_SETTEXTW, SB_GETTEXT = SB_GETTEXTW, SB_GETTEXTLENGTH = SB_GETTEXTLENGTHW,
                      SB_SETTIPTEXT = SB_SETTIPTEXTW, SB_GETTIPTEXT = SB_GETTIPTEXTW;

// ---- notifications ----------------------------------------------------------------------------------------
inline constexpr UINT SBN_FIRST = 0u - 880u, SBN_LAST = 0u - 899u;
inline constexpr UINT SBN_SIMPLEMODECHANGE = SBN_FIRST - 0;

// Creates a visible status bar child of hwndParent with the given text in part 0.
HWND CreateStatusWindowW(LONG style, LPCWSTR lpszText, HWND hwndParent, UINT wID);
HWND CreateStatusWindow(LONG style, LPCWSTR lpszText, HWND hwndParent, UINT wID);

namespace zyn::comctl {

// Registers "msctls_statusbar32" as a system class (ICC_BAR_CLASSES). FALSE when the
// window system refuses the class.
BOOL RegisterStatusBarClass();

} // namespace zyn::comctl
