#pragma once
// The window-message entries of message maps: ON_WM_* (each binds the handler's exact
// signature and cracks wParam/lParam for it), ON_MESSAGE, ON_MESSAGE_VOID,
// ON_REGISTERED_MESSAGE and the reflection forms of window messages
// (ON_WM_CTLCOLOR_REFLECT, ON_WM_DRAWITEM_REFLECT...). Included by platform/afx/wnd.h.
//
// Handlers receive window objects, DCs and menus as wrappers (FromHandle: permanent
// objects when they exist, else temporaries valid during the call).
#include "platform/afx/msgmap.h"
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

class CWnd;
class CDC;
class CMenu;
class CScrollBar;
class CPoint;

namespace zyn::afx::wm {

using Thunk = LRESULT(CCmdTarget*, AFX_PMSG, UINT, WPARAM, LPARAM);

// Handler types (pointer to CWnd member) and the thunks that crack their messages.
using P_v_v = void (CWnd::*)();
using P_b_v = BOOL (CWnd::*)();
using P_u_v = UINT (CWnd::*)();
using P_l_v = LRESULT (CWnd::*)();
using P_h_v = HCURSOR (CWnd::*)();
using P_i_cs = int (CWnd::*)(LPCREATESTRUCT);
using P_v_ii = void (CWnd::*)(int, int);
using P_v_uii = void (CWnd::*)(UINT, int, int);
using P_v_ur = void (CWnd::*)(UINT, LPRECT);
using P_v_uWb = void (CWnd::*)(UINT, CWnd*, BOOL);
using P_v_bdw = void (CWnd::*)(BOOL, DWORD);
using P_v_W = void (CWnd::*)(CWnd*);
using P_v_b = void (CWnd::*)(BOOL);
using P_b_b = BOOL (CWnd::*)(BOOL);
using P_b_D = BOOL (CWnd::*)(CDC*);
using P_v_D = void (CWnd::*)(CDC*);
using P_v_bu = void (CWnd::*)(BOOL, UINT);
using P_hbr_DWu = HBRUSH (CWnd::*)(CDC*, CWnd*, UINT);
using P_hbr_Du = HBRUSH (CWnd::*)(CDC*, UINT);
using P_v_us = void (CWnd::*)(UINT, LPCTSTR);
using P_v_s = void (CWnd::*)(LPCTSTR);
using P_v_ws = void (CWnd::*)(LPTSTR);
using P_i_Wuu = int (CWnd::*)(CWnd*, UINT, UINT);
using P_v_mmi = void (CWnd::*)(MINMAXINFO*);
using P_v_iDIS = void (CWnd::*)(int, LPDRAWITEMSTRUCT);
using P_v_iMIS = void (CWnd::*)(int, LPMEASUREITEMSTRUCT);
using P_v_iDLS = void (CWnd::*)(int, LPDELETEITEMSTRUCT);
using P_i_iCIS = int (CWnd::*)(int, LPCOMPAREITEMSTRUCT);
using P_v_DIS = void (CWnd::*)(LPDRAWITEMSTRUCT);
using P_v_MIS = void (CWnd::*)(LPMEASUREITEMSTRUCT);
using P_v_DLS = void (CWnd::*)(LPDELETEITEMSTRUCT);
using P_i_CIS = int (CWnd::*)(LPCOMPAREITEMSTRUCT);
using P_v_wp = void (CWnd::*)(WINDOWPOS*);
using P_v_iss = void (CWnd::*)(int, LPSTYLESTRUCT);
using P_b_Wcds = BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*);
using P_b_help = BOOL (CWnd::*)(HELPINFO*);
using P_u_Wu = UINT (CWnd::*)(CWnd*, UINT);
using P_v_Wpt = void (CWnd::*)(CWnd*, CPoint);
using P_v_bncs = void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*);
using P_l_pt = LRESULT (CWnd::*)(CPoint);
using P_v_upt = void (CWnd::*)(UINT, CPoint);
using P_v_uuu = void (CWnd::*)(UINT, UINT, UINT);
using P_v_ul = void (CWnd::*)(UINT, LPARAM);
using P_v_up = void (CWnd::*)(UINT_PTR);
using P_v_uuSB = void (CWnd::*)(UINT, UINT, CScrollBar*);
using P_v_uu = void (CWnd::*)(UINT, UINT);
using P_i_uu = int (CWnd::*)(UINT, UINT);
using P_v_M = void (CWnd::*)(CMenu*);
using P_v_Mub = void (CWnd::*)(CMenu*, UINT, BOOL);
using P_v_Mu = void (CWnd::*)(CMenu*, UINT);
using P_v_uuhm = void (CWnd::*)(UINT, UINT, HMENU);
using P_l_uuM = LRESULT (CWnd::*)(UINT, UINT, CMenu*);
using P_v_uW = void (CWnd::*)(UINT, CWnd*);
using P_v_uupt = void (CWnd::*)(UINT, UINT, CPoint);
using P_b_uspt = BOOL (CWnd::*)(UINT, short, CPoint);
using P_v_uspt = void (CWnd::*)(UINT, short, CPoint);
using P_v_bWW = void (CWnd::*)(BOOL, CWnd*, CWnd*);
using P_v_hdrop = void (CWnd::*)(HDROP);
using P_v_Du = void (CWnd::*)(CDC*, UINT);
using P_v_u = void (CWnd::*)(UINT);
using P_l_wl = LRESULT (CWnd::*)(WPARAM, LPARAM);

Thunk V_V, B_V, U_V, L_V, H_V, I_CS, V_Move, V_Size, V_URectTrue, V_Activate, V_BDw, V_WndW, V_WndL, V_B, B_B,
    B_DcW, V_DcW, V_BU, Hbr_CtlColor, Hbr_CtlColorReflect, V_USetting, V_SL, V_WsL, I_WndHitMsg, V_Mmi,
    V_DrawItem, V_MeasureItem, V_DeleteItem, I_CompareItem, V_DrawItemReflect, V_MeasureItemReflect,
    V_DeleteItemReflect, I_CompareItemReflect, V_WindowPos, V_IStyle, B_CopyData, B_HelpInfo, U_NotifyFormat,
    V_ContextMenu, V_NcCalcSize, L_NcHitTest, V_UPoint, V_Key, V_UL, V_Timer, V_Scroll, V_ScrollReflect,
    V_LoHiW, I_LoHiW, V_InitMenu, V_InitMenuPopup, V_UnInitMenuPopup, V_MenuSelect, L_MenuChar, V_EnterIdle,
    V_XButton, B_MouseWheel, V_MouseHWheel, V_MdiActivate, V_DropFiles, V_Print, V_U, L_Message;

} // namespace zyn::afx::wm

#define ZYN_WM_ENTRY(message, pmfType, memberFxn, thunk)                                                  \
    {message, 0, 0, 0, ::zyn::afx::AfxSig_msg,                                                            \
        ::zyn::afx::ToPmsg(static_cast<::zyn::afx::wm::pmfType>(memberFxn)), {.pfnWmThunk = &::zyn::afx::wm::thunk}},

// ---- generic -------------------------------------------------------------------------------------------------
// LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) ZYN_WM_ENTRY(message, P_l_wl, memberFxn, L_Message)
// void handler(); the message answers 0.
#define ON_MESSAGE_VOID(message, memberFxn) ZYN_WM_ENTRY(message, P_v_v, memberFxn, V_V)
// nMessageVariable: a `static const UINT` holding RegisterWindowMessage's number; it is
// read when the class's map is first used.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                \
    {0xC000, 0, 0, 0, ::zyn::afx::RegisteredMessageSig(&(nMessageVariable)),                               \
        ::zyn::afx::ToPmsg(static_cast<::zyn::afx::wm::P_l_wl>(memberFxn)), {.pfnWmThunk = &::zyn::afx::wm::L_Message}},

// ---- window life ---------------------------------------------------------------------------------------------
#define ON_WM_CREATE() ZYN_WM_ENTRY(WM_CREATE, P_i_cs, &ThisClass::OnCreate, I_CS)
#define ON_WM_NCCREATE() ZYN_WM_ENTRY(WM_NCCREATE, P_i_cs, &ThisClass::OnNcCreate, I_CS)
#define ON_WM_DESTROY() ZYN_WM_ENTRY(WM_DESTROY, P_v_v, &ThisClass::OnDestroy, V_V)
#define ON_WM_NCDESTROY() ZYN_WM_ENTRY(WM_NCDESTROY, P_v_v, &ThisClass::OnNcDestroy, V_V)
#define ON_WM_CLOSE() ZYN_WM_ENTRY(WM_CLOSE, P_v_v, &ThisClass::OnClose, V_V)
#define ON_WM_QUERYENDSESSION() ZYN_WM_ENTRY(WM_QUERYENDSESSION, P_b_v, &ThisClass::OnQueryEndSession, B_V)
#define ON_WM_ENDSESSION() ZYN_WM_ENTRY(WM_ENDSESSION, P_v_b, &ThisClass::OnEndSession, V_B)
#define ON_WM_QUERYOPEN() ZYN_WM_ENTRY(WM_QUERYOPEN, P_b_v, &ThisClass::OnQueryOpen, B_V)

// ---- geometry and state ----------------------------------------------------------------------------------------
#define ON_WM_MOVE() ZYN_WM_ENTRY(WM_MOVE, P_v_ii, &ThisClass::OnMove, V_Move)
#define ON_WM_SIZE() ZYN_WM_ENTRY(WM_SIZE, P_v_uii, &ThisClass::OnSize, V_Size)
#define ON_WM_SIZING() ZYN_WM_ENTRY(WM_SIZING, P_v_ur, &ThisClass::OnSizing, V_URectTrue)
#define ON_WM_MOVING() ZYN_WM_ENTRY(WM_MOVING, P_v_ur, &ThisClass::OnMoving, V_URectTrue)
#define ON_WM_GETMINMAXINFO() ZYN_WM_ENTRY(WM_GETMINMAXINFO, P_v_mmi, &ThisClass::OnGetMinMaxInfo, V_Mmi)
#define ON_WM_WINDOWPOSCHANGING() \
    ZYN_WM_ENTRY(WM_WINDOWPOSCHANGING, P_v_wp, &ThisClass::OnWindowPosChanging, V_WindowPos)
#define ON_WM_WINDOWPOSCHANGED() \
    ZYN_WM_ENTRY(WM_WINDOWPOSCHANGED, P_v_wp, &ThisClass::OnWindowPosChanged, V_WindowPos)
#define ON_WM_SHOWWINDOW() ZYN_WM_ENTRY(WM_SHOWWINDOW, P_v_bu, &ThisClass::OnShowWindow, V_BU)
#define ON_WM_ENABLE() ZYN_WM_ENTRY(WM_ENABLE, P_v_b, &ThisClass::OnEnable, V_B)
#define ON_WM_STYLECHANGING() ZYN_WM_ENTRY(WM_STYLECHANGING, P_v_iss, &ThisClass::OnStyleChanging, V_IStyle)
#define ON_WM_STYLECHANGED() ZYN_WM_ENTRY(WM_STYLECHANGED, P_v_iss, &ThisClass::OnStyleChanged, V_IStyle)
#define ON_WM_CHILDACTIVATE() ZYN_WM_ENTRY(WM_CHILDACTIVATE, P_v_v, &ThisClass::OnChildActivate, V_V)
#define ON_WM_DISPLAYCHANGE() ZYN_WM_ENTRY(WM_DISPLAYCHANGE, P_v_uii, &ThisClass::OnDisplayChange, V_Size)

// ---- activation, focus, capture -----------------------------------------------------------------------------------
#define ON_WM_ACTIVATE() ZYN_WM_ENTRY(WM_ACTIVATE, P_v_uWb, &ThisClass::OnActivate, V_Activate)
#define ON_WM_ACTIVATEAPP() ZYN_WM_ENTRY(WM_ACTIVATEAPP, P_v_bdw, &ThisClass::OnActivateApp, V_BDw)
#define ON_WM_SETFOCUS() ZYN_WM_ENTRY(WM_SETFOCUS, P_v_W, &ThisClass::OnSetFocus, V_WndW)
#define ON_WM_KILLFOCUS() ZYN_WM_ENTRY(WM_KILLFOCUS, P_v_W, &ThisClass::OnKillFocus, V_WndW)
#define ON_WM_CAPTURECHANGED() ZYN_WM_ENTRY(WM_CAPTURECHANGED, P_v_W, &ThisClass::OnCaptureChanged, V_WndL)
#define ON_WM_CANCELMODE() ZYN_WM_ENTRY(WM_CANCELMODE, P_v_v, &ThisClass::OnCancelMode, V_V)
#define ON_WM_MOUSEACTIVATE() ZYN_WM_ENTRY(WM_MOUSEACTIVATE, P_i_Wuu, &ThisClass::OnMouseActivate, I_WndHitMsg)
#define ON_WM_SETCURSOR() ZYN_WM_ENTRY(WM_SETCURSOR, P_i_Wuu, &ThisClass::OnSetCursor, I_WndHitMsg)
#define ON_WM_MDIACTIVATE() ZYN_WM_ENTRY(WM_MDIACTIVATE, P_v_bWW, &ThisClass::OnMDIActivate, V_MdiActivate)
#define ON_WM_NCACTIVATE() ZYN_WM_ENTRY(WM_NCACTIVATE, P_b_b, &ThisClass::OnNcActivate, B_B)

// ---- painting ------------------------------------------------------------------------------------------------------
#define ON_WM_PAINT() ZYN_WM_ENTRY(WM_PAINT, P_v_v, &ThisClass::OnPaint, V_V)
#define ON_WM_NCPAINT() ZYN_WM_ENTRY(WM_NCPAINT, P_v_v, &ThisClass::OnNcPaint, V_V)
#define ON_WM_ERASEBKGND() ZYN_WM_ENTRY(WM_ERASEBKGND, P_b_D, &ThisClass::OnEraseBkgnd, B_DcW)
#define ON_WM_ICONERASEBKGND() ZYN_WM_ENTRY(WM_ICONERASEBKGND, P_v_D, &ThisClass::OnIconEraseBkgnd, V_DcW)
#define ON_WM_PRINT() ZYN_WM_ENTRY(WM_PRINT, P_v_Du, &ThisClass::OnPrint, V_Print)
#define ON_WM_PRINTCLIENT() ZYN_WM_ENTRY(WM_PRINTCLIENT, P_v_Du, &ThisClass::OnPrintClient, V_Print)
#define ON_WM_QUERYDRAGICON() ZYN_WM_ENTRY(WM_QUERYDRAGICON, P_h_v, &ThisClass::OnQueryDragIcon, H_V)
#define ON_WM_SYSCOLORCHANGE() ZYN_WM_ENTRY(WM_SYSCOLORCHANGE, P_v_v, &ThisClass::OnSysColorChange, V_V)
#define ON_WM_THEMECHANGED() ZYN_WM_ENTRY(WM_THEMECHANGED, P_l_v, &ThisClass::OnThemeChanged, L_V)
// WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC all reach this handler (nCtlColor: CTLCOLOR_*)
// unless the map has an entry for the particular message.
#define ON_WM_CTLCOLOR() ZYN_WM_ENTRY(WM_CTLCOLOR, P_hbr_DWu, &ThisClass::OnCtlColor, Hbr_CtlColor)

// ---- non-client area ----------------------------------------------------------------------------------------------
#define ON_WM_NCCALCSIZE() ZYN_WM_ENTRY(WM_NCCALCSIZE, P_v_bncs, &ThisClass::OnNcCalcSize, V_NcCalcSize)
#define ON_WM_NCHITTEST() ZYN_WM_ENTRY(WM_NCHITTEST, P_l_pt, &ThisClass::OnNcHitTest, L_NcHitTest)
#define ON_WM_NCMOUSEMOVE() ZYN_WM_ENTRY(WM_NCMOUSEMOVE, P_v_upt, &ThisClass::OnNcMouseMove, V_UPoint)
#define ON_WM_NCLBUTTONDOWN() ZYN_WM_ENTRY(WM_NCLBUTTONDOWN, P_v_upt, &ThisClass::OnNcLButtonDown, V_UPoint)
#define ON_WM_NCLBUTTONUP() ZYN_WM_ENTRY(WM_NCLBUTTONUP, P_v_upt, &ThisClass::OnNcLButtonUp, V_UPoint)
#define ON_WM_NCLBUTTONDBLCLK() ZYN_WM_ENTRY(WM_NCLBUTTONDBLCLK, P_v_upt, &ThisClass::OnNcLButtonDblClk, V_UPoint)
#define ON_WM_NCRBUTTONDOWN() ZYN_WM_ENTRY(WM_NCRBUTTONDOWN, P_v_upt, &ThisClass::OnNcRButtonDown, V_UPoint)
#define ON_WM_NCRBUTTONUP() ZYN_WM_ENTRY(WM_NCRBUTTONUP, P_v_upt, &ThisClass::OnNcRButtonUp, V_UPoint)
#define ON_WM_NCRBUTTONDBLCLK() ZYN_WM_ENTRY(WM_NCRBUTTONDBLCLK, P_v_upt, &ThisClass::OnNcRButtonDblClk, V_UPoint)
#define ON_WM_NCMBUTTONDOWN() ZYN_WM_ENTRY(WM_NCMBUTTONDOWN, P_v_upt, &ThisClass::OnNcMButtonDown, V_UPoint)
#define ON_WM_NCMBUTTONUP() ZYN_WM_ENTRY(WM_NCMBUTTONUP, P_v_upt, &ThisClass::OnNcMButtonUp, V_UPoint)
#define ON_WM_NCMBUTTONDBLCLK() ZYN_WM_ENTRY(WM_NCMBUTTONDBLCLK, P_v_upt, &ThisClass::OnNcMButtonDblClk, V_UPoint)
#define ON_WM_NCMOUSEHOVER() ZYN_WM_ENTRY(WM_NCMOUSEHOVER, P_v_upt, &ThisClass::OnNcMouseHover, V_UPoint)
#define ON_WM_NCMOUSELEAVE() ZYN_WM_ENTRY(WM_NCMOUSELEAVE, P_v_v, &ThisClass::OnNcMouseLeave, V_V)
#define ON_WM_GETDLGCODE() ZYN_WM_ENTRY(WM_GETDLGCODE, P_u_v, &ThisClass::OnGetDlgCode, U_V)

// ---- mouse -----------------------------------------------------------------------------------------------------------
// Points are in client coordinates (screen coordinates for the wheel and non-client forms).
#define ON_WM_MOUSEMOVE() ZYN_WM_ENTRY(WM_MOUSEMOVE, P_v_upt, &ThisClass::OnMouseMove, V_UPoint)
#define ON_WM_LBUTTONDOWN() ZYN_WM_ENTRY(WM_LBUTTONDOWN, P_v_upt, &ThisClass::OnLButtonDown, V_UPoint)
#define ON_WM_LBUTTONUP() ZYN_WM_ENTRY(WM_LBUTTONUP, P_v_upt, &ThisClass::OnLButtonUp, V_UPoint)
#define ON_WM_LBUTTONDBLCLK() ZYN_WM_ENTRY(WM_LBUTTONDBLCLK, P_v_upt, &ThisClass::OnLButtonDblClk, V_UPoint)
#define ON_WM_RBUTTONDOWN() ZYN_WM_ENTRY(WM_RBUTTONDOWN, P_v_upt, &ThisClass::OnRButtonDown, V_UPoint)
#define ON_WM_RBUTTONUP() ZYN_WM_ENTRY(WM_RBUTTONUP, P_v_upt, &ThisClass::OnRButtonUp, V_UPoint)
#define ON_WM_RBUTTONDBLCLK() ZYN_WM_ENTRY(WM_RBUTTONDBLCLK, P_v_upt, &ThisClass::OnRButtonDblClk, V_UPoint)
#define ON_WM_MBUTTONDOWN() ZYN_WM_ENTRY(WM_MBUTTONDOWN, P_v_upt, &ThisClass::OnMButtonDown, V_UPoint)
#define ON_WM_MBUTTONUP() ZYN_WM_ENTRY(WM_MBUTTONUP, P_v_upt, &ThisClass::OnMButtonUp, V_UPoint)
#define ON_WM_MBUTTONDBLCLK() ZYN_WM_ENTRY(WM_MBUTTONDBLCLK, P_v_upt, &ThisClass::OnMButtonDblClk, V_UPoint)
#define ON_WM_XBUTTONDOWN() ZYN_WM_ENTRY(WM_XBUTTONDOWN, P_v_uupt, &ThisClass::OnXButtonDown, V_XButton)
#define ON_WM_XBUTTONUP() ZYN_WM_ENTRY(WM_XBUTTONUP, P_v_uupt, &ThisClass::OnXButtonUp, V_XButton)
#define ON_WM_XBUTTONDBLCLK() ZYN_WM_ENTRY(WM_XBUTTONDBLCLK, P_v_uupt, &ThisClass::OnXButtonDblClk, V_XButton)
#define ON_WM_MOUSEWHEEL() ZYN_WM_ENTRY(WM_MOUSEWHEEL, P_b_uspt, &ThisClass::OnMouseWheel, B_MouseWheel)
#define ON_WM_MOUSEHWHEEL() ZYN_WM_ENTRY(WM_MOUSEHWHEEL, P_v_uspt, &ThisClass::OnMouseHWheel, V_MouseHWheel)
#define ON_WM_MOUSEHOVER() ZYN_WM_ENTRY(WM_MOUSEHOVER, P_v_upt, &ThisClass::OnMouseHover, V_UPoint)
#define ON_WM_MOUSELEAVE() ZYN_WM_ENTRY(WM_MOUSELEAVE, P_v_v, &ThisClass::OnMouseLeave, V_V)
#define ON_WM_CONTEXTMENU() ZYN_WM_ENTRY(WM_CONTEXTMENU, P_v_Wpt, &ThisClass::OnContextMenu, V_ContextMenu)

// ---- keyboard ---------------------------------------------------------------------------------------------------------
// (nChar, nRepCnt = LOWORD(lParam), nFlags = HIWORD(lParam)).
#define ON_WM_KEYDOWN() ZYN_WM_ENTRY(WM_KEYDOWN, P_v_uuu, &ThisClass::OnKeyDown, V_Key)
#define ON_WM_KEYUP() ZYN_WM_ENTRY(WM_KEYUP, P_v_uuu, &ThisClass::OnKeyUp, V_Key)
#define ON_WM_CHAR() ZYN_WM_ENTRY(WM_CHAR, P_v_uuu, &ThisClass::OnChar, V_Key)
#define ON_WM_DEADCHAR() ZYN_WM_ENTRY(WM_DEADCHAR, P_v_uuu, &ThisClass::OnDeadChar, V_Key)
#define ON_WM_SYSKEYDOWN() ZYN_WM_ENTRY(WM_SYSKEYDOWN, P_v_uuu, &ThisClass::OnSysKeyDown, V_Key)
#define ON_WM_SYSKEYUP() ZYN_WM_ENTRY(WM_SYSKEYUP, P_v_uuu, &ThisClass::OnSysKeyUp, V_Key)
#define ON_WM_SYSCHAR() ZYN_WM_ENTRY(WM_SYSCHAR, P_v_uuu, &ThisClass::OnSysChar, V_Key)
#define ON_WM_SYSDEADCHAR() ZYN_WM_ENTRY(WM_SYSDEADCHAR, P_v_uuu, &ThisClass::OnSysDeadChar, V_Key)

// ---- commands, timers, scrolling ---------------------------------------------------------------------------------------
#define ON_WM_SYSCOMMAND() ZYN_WM_ENTRY(WM_SYSCOMMAND, P_v_ul, &ThisClass::OnSysCommand, V_UL)
#define ON_WM_TIMER() ZYN_WM_ENTRY(WM_TIMER, P_v_up, &ThisClass::OnTimer, V_Timer)
// (nSBCode, nPos as a signed 16-bit value, the scroll-bar control or null for the
// window's own bar).
#define ON_WM_HSCROLL() ZYN_WM_ENTRY(WM_HSCROLL, P_v_uuSB, &ThisClass::OnHScroll, V_Scroll)
#define ON_WM_VSCROLL() ZYN_WM_ENTRY(WM_VSCROLL, P_v_uuSB, &ThisClass::OnVScroll, V_Scroll)
#define ON_WM_HELPINFO() ZYN_WM_ENTRY(WM_HELP, P_b_help, &ThisClass::OnHelpInfo, B_HelpInfo)
#define ON_WM_COPYDATA() ZYN_WM_ENTRY(WM_COPYDATA, P_b_Wcds, &ThisClass::OnCopyData, B_CopyData)
#define ON_WM_NOTIFYFORMAT() ZYN_WM_ENTRY(WM_NOTIFYFORMAT, P_u_Wu, &ThisClass::OnNotifyFormat, U_NotifyFormat)
#define ON_WM_PARENTNOTIFY() ZYN_WM_ENTRY(WM_PARENTNOTIFY, P_v_ul, &ThisClass::OnParentNotify, V_UL)
#define ON_WM_DROPFILES() ZYN_WM_ENTRY(WM_DROPFILES, P_v_hdrop, &ThisClass::OnDropFiles, V_DropFiles)
#define ON_WM_COMPACTING() ZYN_WM_ENTRY(WM_COMPACTING, P_v_u, &ThisClass::OnCompacting, V_U)
#define ON_WM_CHANGEUISTATE() ZYN_WM_ENTRY(WM_CHANGEUISTATE, P_v_uu, &ThisClass::OnChangeUIState, V_LoHiW)
#define ON_WM_UPDATEUISTATE() ZYN_WM_ENTRY(WM_UPDATEUISTATE, P_v_uu, &ThisClass::OnUpdateUIState, V_LoHiW)
#define ON_WM_QUERYUISTATE() ZYN_WM_ENTRY(WM_QUERYUISTATE, P_u_v, &ThisClass::OnQueryUIState, U_V)

// ---- settings ----------------------------------------------------------------------------------------------------------
#define ON_WM_SETTINGCHANGE() ZYN_WM_ENTRY(WM_SETTINGCHANGE, P_v_us, &ThisClass::OnSettingChange, V_USetting)
#define ON_WM_WININICHANGE() ZYN_WM_ENTRY(WM_WININICHANGE, P_v_s, &ThisClass::OnWinIniChange, V_SL)
#define ON_WM_DEVMODECHANGE() ZYN_WM_ENTRY(WM_DEVMODECHANGE, P_v_ws, &ThisClass::OnDevModeChange, V_WsL)
#define ON_WM_FONTCHANGE() ZYN_WM_ENTRY(WM_FONTCHANGE, P_v_v, &ThisClass::OnFontChange, V_V)
#define ON_WM_TIMECHANGE() ZYN_WM_ENTRY(WM_TIMECHANGE, P_v_v, &ThisClass::OnTimeChange, V_V)

// ---- menus ----------------------------------------------------------------------------------------------------------------
#define ON_WM_INITMENU() ZYN_WM_ENTRY(WM_INITMENU, P_v_M, &ThisClass::OnInitMenu, V_InitMenu)
#define ON_WM_INITMENUPOPUP() ZYN_WM_ENTRY(WM_INITMENUPOPUP, P_v_Mub, &ThisClass::OnInitMenuPopup, V_InitMenuPopup)
#define ON_WM_UNINITMENUPOPUP() \
    ZYN_WM_ENTRY(WM_UNINITMENUPOPUP, P_v_Mu, &ThisClass::OnUnInitMenuPopup, V_UnInitMenuPopup)
#define ON_WM_MENUSELECT() ZYN_WM_ENTRY(WM_MENUSELECT, P_v_uuhm, &ThisClass::OnMenuSelect, V_MenuSelect)
#define ON_WM_MENUCHAR() ZYN_WM_ENTRY(WM_MENUCHAR, P_l_uuM, &ThisClass::OnMenuChar, L_MenuChar)
#define ON_WM_ENTERIDLE() ZYN_WM_ENTRY(WM_ENTERIDLE, P_v_uW, &ThisClass::OnEnterIdle, V_EnterIdle)
#define ON_WM_ENTERMENULOOP() ZYN_WM_ENTRY(WM_ENTERMENULOOP, P_v_b, &ThisClass::OnEnterMenuLoop, V_B)
#define ON_WM_EXITMENULOOP() ZYN_WM_ENTRY(WM_EXITMENULOOP, P_v_b, &ThisClass::OnExitMenuLoop, V_B)

// ---- owner-drawn items ----------------------------------------------------------------------------------------------------
// The parent's handlers (nIDCtl, the item record); the base CWnd handlers hand a menu
// item to the CMenu that owns it and a control's item to the control (reflection).
#define ON_WM_DRAWITEM() ZYN_WM_ENTRY(WM_DRAWITEM, P_v_iDIS, &ThisClass::OnDrawItem, V_DrawItem)
#define ON_WM_MEASUREITEM() ZYN_WM_ENTRY(WM_MEASUREITEM, P_v_iMIS, &ThisClass::OnMeasureItem, V_MeasureItem)
#define ON_WM_DELETEITEM() ZYN_WM_ENTRY(WM_DELETEITEM, P_v_iDLS, &ThisClass::OnDeleteItem, V_DeleteItem)
#define ON_WM_COMPAREITEM() ZYN_WM_ENTRY(WM_COMPAREITEM, P_i_iCIS, &ThisClass::OnCompareItem, I_CompareItem)

// ---- reflected window messages: handled by the control that caused them ----------------------------------------------------
// HBRUSH CtlColor(CDC*, UINT nCtlColor): a non-null brush answers the parent's
// WM_CTLCOLOR* for this control.
#define ON_WM_CTLCOLOR_REFLECT() \
    ZYN_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, P_hbr_Du, &ThisClass::CtlColor, Hbr_CtlColorReflect)
#define ON_WM_DRAWITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, P_v_DIS, &ThisClass::DrawItem, V_DrawItemReflect)
#define ON_WM_MEASUREITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, P_v_MIS, &ThisClass::MeasureItem, V_MeasureItemReflect)
#define ON_WM_DELETEITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_DELETEITEM + WM_REFLECT_BASE, P_v_DLS, &ThisClass::DeleteItem, V_DeleteItemReflect)
#define ON_WM_COMPAREITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_COMPAREITEM + WM_REFLECT_BASE, P_i_CIS, &ThisClass::CompareItem, I_CompareItemReflect)
#define ON_WM_HSCROLL_REFLECT() \
    ZYN_WM_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, P_v_uu, &ThisClass::HScroll, V_ScrollReflect)
#define ON_WM_VSCROLL_REFLECT() \
    ZYN_WM_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, P_v_uu, &ThisClass::VScroll, V_ScrollReflect)
#define ON_WM_PARENTNOTIFY_REFLECT() \
    ZYN_WM_ENTRY(WM_PARENTNOTIFY + WM_REFLECT_BASE, P_v_ul, &ThisClass::ParentNotify, V_UL)
#define ON_WM_CHARTOITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_CHARTOITEM + WM_REFLECT_BASE, P_i_uu, &ThisClass::CharToItem, I_LoHiW)
#define ON_WM_VKEYTOITEM_REFLECT() \
    ZYN_WM_ENTRY(WM_VKEYTOITEM + WM_REFLECT_BASE, P_i_uu, &ThisClass::VKeyToItem, I_LoHiW)
