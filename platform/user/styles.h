#pragma once
// Window and class styles, the indexes of Get/SetWindowLongPtr and Get/SetClassLongPtr, and
// the flag sets of ShowWindow, SetWindowPos, GetWindow, GetAncestor, RedrawWindow,
// GetDCEx and ScrollWindowEx.
#include "platform/base/wintypes.h"

// ---- window styles ------------------------------------------------------------------------------
inline constexpr DWORD WS_OVERLAPPED = 0x00000000u, WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u,
                       WS_MINIMIZE = 0x20000000u, WS_VISIBLE = 0x10000000u, WS_DISABLED = 0x08000000u,
                       WS_CLIPSIBLINGS = 0x04000000u, WS_CLIPCHILDREN = 0x02000000u, WS_MAXIMIZE = 0x01000000u,
                       WS_CAPTION = 0x00C00000u, WS_BORDER = 0x00800000u, WS_DLGFRAME = 0x00400000u,
                       WS_VSCROLL = 0x00200000u, WS_HSCROLL = 0x00100000u, WS_SYSMENU = 0x00080000u,
                       WS_THICKFRAME = 0x00040000u, WS_GROUP = 0x00020000u, WS_TABSTOP = 0x00010000u,
                       WS_MINIMIZEBOX = 0x00020000u, WS_MAXIMIZEBOX = 0x00010000u, WS_TILED = WS_OVERLAPPED,
                       WS_ICONIC = WS_MINIMIZE, WS_SIZEBOX = WS_THICKFRAME, WS_CHILDWINDOW = WS_CHILD,
                       WS_OVERLAPPEDWINDOW =
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                       WS_TILEDWINDOW = WS_OVERLAPPEDWINDOW, WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001u, WS_EX_NOPARENTNOTIFY = 0x00000004u,
                       WS_EX_TOPMOST = 0x00000008u, WS_EX_ACCEPTFILES = 0x00000010u, WS_EX_TRANSPARENT = 0x00000020u,
                       WS_EX_MDICHILD = 0x00000040u, WS_EX_TOOLWINDOW = 0x00000080u, WS_EX_WINDOWEDGE = 0x00000100u,
                       WS_EX_CLIENTEDGE = 0x00000200u, WS_EX_CONTEXTHELP = 0x00000400u, WS_EX_RIGHT = 0x00001000u,
                       WS_EX_LEFT = 0x00000000u, WS_EX_RTLREADING = 0x00002000u, WS_EX_LTRREADING = 0x00000000u,
                       WS_EX_LEFTSCROLLBAR = 0x00004000u, WS_EX_RIGHTSCROLLBAR = 0x00000000u,
                       WS_EX_CONTROLPARENT = 0x00010000u, WS_EX_STATICEDGE = 0x00020000u,
                       WS_EX_APPWINDOW = 0x00040000u, WS_EX_LAYERED = 0x00080000u,
                       WS_EX_NOINHERITLAYOUT = 0x00100000u, WS_EX_LAYOUTRTL = 0x00400000u,
                       WS_EX_COMPOSITED = 0x02000000u, WS_EX_NOACTIVATE = 0x08000000u,
                       WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE,
                       WS_EX_PALETTEWINDOW = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// ---- class styles -------------------------------------------------------------------------------
inline constexpr UINT CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_OWNDC = 0x0020,
                      CS_CLASSDC = 0x0040, CS_PARENTDC = 0x0080, CS_NOCLOSE = 0x0200, CS_SAVEBITS = 0x0800,
                      CS_BYTEALIGNCLIENT = 0x1000, CS_BYTEALIGNWINDOW = 0x2000, CS_GLOBALCLASS = 0x4000,
                      CS_DROPSHADOW = 0x00020000;

// ---- Get/SetWindowLongPtr, Get/SetClassLongPtr indexes -------------------------------------------
inline constexpr int GWL_WNDPROC = -4, GWLP_WNDPROC = -4, GWL_HINSTANCE = -6, GWLP_HINSTANCE = -6,
                     GWL_HWNDPARENT = -8, GWLP_HWNDPARENT = -8, GWL_ID = -12, GWLP_ID = -12, GWL_STYLE = -16,
                     GWL_EXSTYLE = -20, GWL_USERDATA = -21, GWLP_USERDATA = -21;
inline constexpr int GCL_MENUNAME = -8, GCLP_MENUNAME = -8, GCL_HBRBACKGROUND = -10, GCLP_HBRBACKGROUND = -10,
                     GCL_HCURSOR = -12, GCLP_HCURSOR = -12, GCL_HICON = -14, GCLP_HICON = -14, GCL_HMODULE = -16,
                     GCLP_HMODULE = -16, GCL_CBWNDEXTRA = -18, GCL_CBCLSEXTRA = -20, GCL_WNDPROC = -24,
                     GCLP_WNDPROC = -24, GCL_STYLE = -26, GCW_ATOM = -32, GCL_HICONSM = -34, GCLP_HICONSM = -34;

// ---- ShowWindow ------------------------------------------------------------------------------------
inline constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
                     SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
                     SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10, SW_FORCEMINIMIZE = 11, SW_MAX = 11;

// ---- SetWindowPos -------------------------------------------------------------------------------------
inline constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
                      SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_DRAWFRAME = 0x0020,
                      SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100,
                      SWP_NOOWNERZORDER = 0x0200, SWP_NOREPOSITION = 0x0200, SWP_NOSENDCHANGING = 0x0400,
                      SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000, SWP_DEFERERASE = 0x2000,
                      SWP_ASYNCWINDOWPOS = 0x4000, SWP_STATECHANGED = 0x8000;

// Special window handles. They are below 0x10000, so no live window can have these values.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_DESKTOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<intptr_t>(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<intptr_t>(-3));
inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(static_cast<intptr_t>(0xFFFF));

// CreateWindowEx's "let the system choose" position and size.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ---- GetWindow, GetAncestor, ChildWindowFromPointEx -----------------------------------------------------
inline constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
                      GW_CHILD = 5, GW_ENABLEDPOPUP = 6;
inline constexpr UINT GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3;
inline constexpr UINT CWP_ALL = 0x0, CWP_SKIPINVISIBLE = 0x1, CWP_SKIPDISABLED = 0x2, CWP_SKIPTRANSPARENT = 0x4;

// ---- RedrawWindow ---------------------------------------------------------------------------------------
inline constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
                      RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
                      RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
                      RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800;

// ---- GetDCEx --------------------------------------------------------------------------------------------
inline constexpr DWORD DCX_WINDOW = 0x00000001, DCX_CACHE = 0x00000002, DCX_NORESETATTRS = 0x00000004,
                       DCX_CLIPCHILDREN = 0x00000008, DCX_CLIPSIBLINGS = 0x00000010, DCX_PARENTCLIP = 0x00000020,
                       DCX_EXCLUDERGN = 0x00000040, DCX_INTERSECTRGN = 0x00000080,
                       DCX_EXCLUDEUPDATE = 0x00000100, DCX_INTERSECTUPDATE = 0x00000200,
                       DCX_LOCKWINDOWUPDATE = 0x00000400, DCX_VALIDATE = 0x00200000;

// ---- ScrollWindowEx ---------------------------------------------------------------------------------------
inline constexpr UINT SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004,
                      SW_SMOOTHSCROLL = 0x0010;

// ---- window placement and monitors -----------------------------------------------------------------------
inline constexpr UINT WPF_SETMINPOSITION = 0x1, WPF_RESTORETOMAXIMIZED = 0x2, WPF_ASYNCWINDOWPLACEMENT = 0x4;
inline constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
inline constexpr DWORD MONITORINFOF_PRIMARY = 1;
