#pragma once
// The class library's own window messages (0x0360-0x037F), the reflection offset, the
// command-routing codes and the small records some of these messages carry.
#include "platform/base/wintypes.h"

struct NMHDR;

// ---- private messages -----------------------------------------------------------------------------
inline constexpr UINT WM_QUERYAFXWNDPROC = 0x0360;   // answers 1 when the class library's procedure runs
inline constexpr UINT WM_SIZEPARENT = 0x0361;        // lParam: AFX_SIZEPARENTPARAMS*, the layout pass
inline constexpr UINT WM_SETMESSAGESTRING = 0x0362;  // wParam: string ID, or lParam: text
inline constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;   // wParam: bDisableIfNoHandler
inline constexpr UINT WM_INITIALUPDATE = 0x0364;
inline constexpr UINT WM_COMMANDHELP = 0x0365;
inline constexpr UINT WM_HELPHITTEST = 0x0366;
inline constexpr UINT WM_EXITHELPMODE = 0x0367;
inline constexpr UINT WM_RECALCPARENT = 0x0368;
inline constexpr UINT WM_SIZECHILD = 0x0369;
inline constexpr UINT WM_KICKIDLE = 0x036A;
inline constexpr UINT WM_QUERYCENTERWND = 0x036B;
inline constexpr UINT WM_DISABLEMODAL = 0x036C;
inline constexpr UINT WM_FLOATSTATUS = 0x036D;
inline constexpr UINT WM_ACTIVATETOPLEVEL = 0x036E;  // lParam: HWND[2] (window activated, the other)
inline constexpr UINT WM_RESERVED_036F = 0x036F;
inline constexpr UINT WM_RESERVED_0370 = 0x0370;
inline constexpr UINT WM_RESERVED_0371 = 0x0371;
inline constexpr UINT WM_RESERVED_0372 = 0x0372;
inline constexpr UINT WM_SOCKET_NOTIFY = 0x0373;
inline constexpr UINT WM_SOCKET_DEAD = 0x0374;
inline constexpr UINT WM_POPMESSAGESTRING = 0x0375;
inline constexpr UINT WM_HELPPROMPTADDR = 0x0376;
inline constexpr UINT WM_FORWARDMSG = 0x037F;

// Message-map entries for messages reflected back to the child control that sent them
// (ON_NOTIFY_REFLECT, ON_CONTROL_REFLECT, ON_WM_CTLCOLOR_REFLECT...) are keyed on
// WM_REFLECT_BASE + the original message.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;

// The reflected messages of controls hosted by an OLE container (OCM_ = OCM__BASE + the
// original message), for code that addresses them by these names.
inline constexpr UINT OCM__BASE = 0x0400 + 0x1C00;
inline constexpr UINT OCM_COMMAND = OCM__BASE + 0x0111, OCM_CTLCOLORBTN = OCM__BASE + 0x0135,
                      OCM_CTLCOLOREDIT = OCM__BASE + 0x0133, OCM_CTLCOLORDLG = OCM__BASE + 0x0136,
                      OCM_CTLCOLORLISTBOX = OCM__BASE + 0x0134, OCM_CTLCOLORMSGBOX = OCM__BASE + 0x0132,
                      OCM_CTLCOLORSCROLLBAR = OCM__BASE + 0x0137, OCM_CTLCOLORSTATIC = OCM__BASE + 0x0138,
                      OCM_DRAWITEM = OCM__BASE + 0x002B, OCM_MEASUREITEM = OCM__BASE + 0x002C,
                      OCM_DELETEITEM = OCM__BASE + 0x002D, OCM_VKEYTOITEM = OCM__BASE + 0x002E,
                      OCM_CHARTOITEM = OCM__BASE + 0x002F, OCM_COMPAREITEM = OCM__BASE + 0x0039,
                      OCM_HSCROLL = OCM__BASE + 0x0114, OCM_VSCROLL = OCM__BASE + 0x0115,
                      OCM_PARENTNOTIFY = OCM__BASE + 0x0210, OCM_NOTIFY = OCM__BASE + 0x004E;

// ---- command routing codes (the nCode of CCmdTarget::OnCmdMsg) ---------------------------------
inline constexpr int CN_COMMAND = 0;                  // a command (menu, accelerator, button click)
inline constexpr int CN_UPDATE_COMMAND_UI = -1;       // pExtra: CCmdUI*
inline constexpr int CN_EVENT = -100;
inline constexpr int CN_OLECOMMAND = -101;
// Notifications route with nCode = MAKELONG(code, WM_NOTIFY) and pExtra an AFX_NOTIFY.

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// What WM_CTLCOLOR handlers get: WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC folded into one.
inline constexpr UINT CTLCOLOR_MSGBOX = 0, CTLCOLOR_EDIT = 1, CTLCOLOR_LISTBOX = 2, CTLCOLOR_BTN = 3,
                      CTLCOLOR_DLG = 4, CTLCOLOR_SCROLLBAR = 5, CTLCOLOR_STATIC = 6, CTLCOLOR_MAX = 7;
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// The layout pass of CWnd::RepositionBars. Each control bar answering WM_SIZEPARENT
// takes its room from `rect` (moving itself through hDWP unless hDWP is null, which
// means a query) and adds its size to sizeTotal.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// Moves a child as part of a layout pass (deferred through lpLayout->hDWP, or at once
// when lpLayout is null); nothing when the rectangle (parent client coordinates) is
// already the window's, or when the pass is only a query.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
