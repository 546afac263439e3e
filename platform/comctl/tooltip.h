#pragma once
// The tooltip common control ("tooltips_class32"): its messages, styles, tool flags,
// notifications and the structures they carry, in the wide and the narrow form.
//
// A tooltip keeps a list of tools. A tool is a window (TTF_IDISHWND: the window named by
// uId) or a rectangle in a window's client area (hwnd + uId + rect), with a text, a string
// resource, or LPSTR_TEXTCALLBACK (the text is asked of the tool's window each time with
// TTN_GETDISPINFOW, or TTN_GETDISPINFOA when that window answers WM_NOTIFYFORMAT with
// NFR_ANSI). The control learns where the mouse is from the mouse messages of the tools'
// windows: relayed by their owner (TTM_RELAYEVENT) or taken by subclassing the window
// (TTF_SUBCLASS). When the mouse rests on a tool for the initial delay the tip is shown,
// a top-most popup below the cursor (kept inside the monitor's work area); it hides after
// the auto-pop delay, when the mouse leaves the tool, on a click, or on TTM_POP (owners
// send that for keys). Moving from one shown tip to another tool shows the next tip after
// the shorter reshow delay. TTN_SHOW and TTN_POP go to the tool's hwnd, as do the text
// requests; a TTN_SHOW answered TRUE keeps the handler's own placement. The
// delays default to the double-click time (initial), ten times it (auto-pop) and a fifth
// of it (reshow), read when used, so a new double-click time counts at once.
//
// A tracking tool (TTF_TRACK) is shown and hidden only by TTM_TRACKACTIVATE and placed
// at TTM_TRACKPOSITION's point: exactly there with TTF_ABSOLUTE, else kept inside the
// work area.
//
// Text rules: without TTS_NOPREFIX a text is cut at its first tab and its ampersands are
// removed ("&&" stays one '&'). With a maximum tip width (TTM_SETMAXTIPWIDTH, -1 by
// default: one line) the text wraps at spaces to that width and breaks at line feeds.
// Texts are read without bound from a pointer the caller gives, but never beyond the 80
// characters of a notification's szText buffer, and copied out never beyond the
// caller's buffer (TTM_GETTEXT's wParam, or 80 characters where the message has no size).
#include <cstddef>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* TOOLTIPS_CLASSW = L"tooltips_class32";
inline constexpr const wchar_t* TOOLTIPS_CLASS = TOOLTIPS_CLASSW;
inline constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";

// ---- styles -------------------------------------------------------------------------------------------
inline constexpr DWORD TTS_ALWAYSTIP = 0x01, TTS_NOPREFIX = 0x02, TTS_NOANIMATE = 0x10, TTS_NOFADE = 0x20,
                       TTS_BALLOON = 0x40, TTS_CLOSE = 0x80;

// ---- tool flags ---------------------------------------------------------------------------------------
inline constexpr UINT TTF_IDISHWND = 0x0001, TTF_CENTERTIP = 0x0002, TTF_RTLREADING = 0x0004,
                      TTF_SUBCLASS = 0x0010, TTF_TRACK = 0x0020, TTF_ABSOLUTE = 0x0080, TTF_TRANSPARENT = 0x0100,
                      TTF_PARSELINKS = 0x1000, TTF_DI_SETITEM = 0x8000;

// ---- TTM_SETDELAYTIME / TTM_GETDELAYTIME ------------------------------------------------------------------
inline constexpr DWORD TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;

// ---- messages -----------------------------------------------------------------------------------------------
inline constexpr UINT TTM_ACTIVATE = 0x0400 + 1, TTM_SETDELAYTIME = 0x0400 + 3, TTM_ADDTOOLA = 0x0400 + 4,
                      TTM_DELTOOLA = 0x0400 + 5, TTM_NEWTOOLRECTA = 0x0400 + 6, TTM_RELAYEVENT = 0x0400 + 7,
                      TTM_GETTOOLINFOA = 0x0400 + 8, TTM_SETTOOLINFOA = 0x0400 + 9, TTM_HITTESTA = 0x0400 + 10,
                      TTM_GETTEXTA = 0x0400 + 11, TTM_UPDATETIPTEXTA = 0x0400 + 12, TTM_GETTOOLCOUNT = 0x0400 + 13,
                      TTM_ENUMTOOLSA = 0x0400 + 14, TTM_GETCURRENTTOOLA = 0x0400 + 15,
                      TTM_WINDOWFROMPOINT = 0x0400 + 16, TTM_TRACKACTIVATE = 0x0400 + 17,
                      TTM_TRACKPOSITION = 0x0400 + 18, TTM_SETTIPBKCOLOR = 0x0400 + 19,
                      TTM_SETTIPTEXTCOLOR = 0x0400 + 20, TTM_GETDELAYTIME = 0x0400 + 21,
                      TTM_GETTIPBKCOLOR = 0x0400 + 22, TTM_GETTIPTEXTCOLOR = 0x0400 + 23,
                      TTM_SETMAXTIPWIDTH = 0x0400 + 24, TTM_GETMAXTIPWIDTH = 0x0400 + 25,
                      TTM_SETMARGIN = 0x0400 + 26, TTM_GETMARGIN = 0x0400 + 27, TTM_POP = 0x0400 + 28,
                      TTM_UPDATE = 0x0400 + 29, TTM_GETBUBBLESIZE = 0x0400 + 30, TTM_ADJUSTRECT = 0x0400 + 31,
                      TTM_POPUP = 0x0400 + 34, TTM_ADDTOOLW = 0x0400 + 50, TTM_DELTOOLW = 0x0400 + 51,
                      TTM_NEWTOOLRECTW = 0x0400 + 52, TTM_GETTOOLINFOW = 0x0400 + 53,
                      TTM_SETTOOLINFOW = 0x0400 + 54, TTM_HITTESTW = 0x0400 + 55, TTM_GETTEXTW = 0x0400 + 56,
                      TTM_UPDATETIPTEXTW = 0x0400 + 57, TTM_ENUMTOOLSW = 0x0400 + 58,
                      TTM_GETCURRENTTOOLW = 0x0400 + 59;
inline constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLW, TTM_DELTOOL = TTM_DELTOOLW, TTM_NEWTOOLRECT = TTM_NEWTOOLRECTW,
                      TTM_GETTOOLINFO = TTM_GETTOOLINFOW, TTM_SETTOOLINFO = TTM_SETTOOLINFOW,
                      TTM_HITTEST = TTM_HITTESTW, TTM_GETTEXT = TTM_GETTEXTW,
                      TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTW, TTM_ENUMTOOLS = TTM_ENUMTOOLSW,
                      TTM_GETCURRENTTOOL = TTM_GETCURRENTTOOLW;

// ---- notifications (WM_NOTIFY codes) ---------------------------------------------------------------------
inline constexpr UINT TTN_FIRST = 0u - 520u, TTN_LAST = 0u - 549u;
inline constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0, TTN_GETDISPINFOW = TTN_FIRST - 10,
                      TTN_SHOW = TTN_FIRST - 1, TTN_POP = TTN_FIRST - 2, TTN_LINKCLICK = TTN_FIRST - 3;
inline constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA, TTN_NEEDTEXTW = TTN_GETDISPINFOW,
                      TTN_GETDISPINFO = TTN_GETDISPINFOW, TTN_NEEDTEXT = TTN_NEEDTEXTW;

// The text of a callback tool: the tool's window is asked for it each time.
inline LPWSTR const LPSTR_TEXTCALLBACKW = reinterpret_cast<LPWSTR>(static_cast<intptr_t>(-1));
inline LPSTR const LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<intptr_t>(-1));
inline LPWSTR const LPSTR_TEXTCALLBACK = LPSTR_TEXTCALLBACKW;

// ---- structures -------------------------------------------------------------------------------------------
struct TTTOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;          // the window holding the tool; callback tools' notifications go here
    UINT_PTR uId;       // the tool's ID, or with TTF_IDISHWND the tool's window
    RECT rect;          // the tool in hwnd's client coordinates (not with TTF_IDISHWND)
    HINSTANCE hinst;    // with an integer lpszText: the module of the string resource
    LPWSTR lpszText;    // text, MAKEINTRESOURCE(string ID) with hinst, or LPSTR_TEXTCALLBACKW
    LPARAM lParam;      // the application's value (not in the first layout)
    void* lpReserved;   // (only in the latest layout; never read or written)
};
struct TTTOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;     // text in the ANSI code page
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFOW = TTTOOLINFOW;
using TOOLINFOA = TTTOOLINFOA;
using TOOLINFO = TTTOOLINFOW;
using LPTOOLINFOW = TTTOOLINFOW*;
using LPTOOLINFOA = TTTOOLINFOA*;
using LPTOOLINFO = TTTOOLINFOW*;
using LPTTTOOLINFOW = TTTOOLINFOW*;
using LPTTTOOLINFO = TTTOOLINFOW*;
// The three layouts callers may pass (cbSize): without lParam, without lpReserved, whole.
inline constexpr UINT TTTOOLINFOW_V1_SIZE = static_cast<UINT>(offsetof(TTTOOLINFOW, lParam));
inline constexpr UINT TTTOOLINFOW_V2_SIZE = static_cast<UINT>(offsetof(TTTOOLINFOW, lpReserved));
inline constexpr UINT TTTOOLINFOW_V3_SIZE = static_cast<UINT>(sizeof(TTTOOLINFOW));
inline constexpr UINT TTTOOLINFOA_V1_SIZE = static_cast<UINT>(offsetof(TTTOOLINFOA, lParam));
inline constexpr UINT TTTOOLINFOA_V2_SIZE = static_cast<UINT>(offsetof(TTTOOLINFOA, lpReserved));
inline constexpr UINT TTTOOLINFOA_V3_SIZE = static_cast<UINT>(sizeof(TTTOOLINFOA));

// TTM_HITTEST: the tool of `hwnd` at `pt` (hwnd's client coordinates) is written into ti.
struct TTHITTESTINFOW {
    HWND hwnd;
    POINT pt;
    TTTOOLINFOW ti;
};
struct TTHITTESTINFOA {
    HWND hwnd;
    POINT pt;
    TTTOOLINFOA ti;
};
using TTHITTESTINFO = TTHITTESTINFOW;
using LPTTHITTESTINFOW = TTHITTESTINFOW*;
using LPTTHITTESTINFOA = TTHITTESTINFOA*;
using LPTTHITTESTINFO = TTHITTESTINFOW*;

// TTN_GETDISPINFO: hdr.idFrom is the tool's uId, uFlags and lParam are the tool's. The
// receiver sets lpszText to a string (or a resource ID with hinst), or writes at most 80
// characters into szText (lpszText points there on entry). TTF_DI_SETITEM added to uFlags
// keeps the answer as the tool's text.
struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOW;
using LPNMTTDISPINFOW = NMTTDISPINFOW*;
using LPNMTTDISPINFOA = NMTTDISPINFOA*;
using LPNMTTDISPINFO = NMTTDISPINFOW*;
using TOOLTIPTEXTW = NMTTDISPINFOW;
using TOOLTIPTEXTA = NMTTDISPINFOA;
using TOOLTIPTEXT = NMTTDISPINFOW;
using LPTOOLTIPTEXTW = NMTTDISPINFOW*;
using LPTOOLTIPTEXTA = NMTTDISPINFOA*;
using LPTOOLTIPTEXT = NMTTDISPINFOW*;

namespace zyn::comctl {

// Registers "tooltips_class32" as a system class (what InitCommonControlsEx does for
// ICC_BAR_CLASSES, ICC_TAB_CLASSES and ICC_TREEVIEW_CLASSES). FALSE when the window
// system refuses the class.
BOOL RegisterToolTipClass();

// Live tooltip controls (their state), for leak checks.
size_t LiveToolTipCount();

} // namespace zyn::comctl
