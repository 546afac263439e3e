#pragma once
// The class library's per-thread and per-module state.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

class CWnd;
class CWinApp;
class CFrameWnd;
class CView;
class CToolTipCtrl;

// What the class library keeps per thread.
struct AFX_THREAD_STATE {
    MSG m_msgCur{};              // the message the thread's message loop handles now
    // The message the class library's window procedure handles now: a record on the stack
    // of that call (each nested call points here to its own and puts the outer one back);
    // an empty record outside any call. Read through LastSentMsg(); its time and point are
    // filled in only by GetCurrentMessage and when a handler's exception is reported.
    MSG* m_pLastSentMsg = nullptr;
    MSG m_lastSentNone{};
    MSG& LastSentMsg() { return m_pLastSentMsg ? *m_pLastSentMsg : m_lastSentNone; }
    CWnd* m_pWndInit = nullptr;  // the object the next window this thread creates gets
    HHOOK m_hHookOldCbtFilter = nullptr;
    HWND m_hLockoutNotifyWindow = nullptr;  // WM_COMMAND from this window's controls is ignored
    // The menu a popup-menu loop tracks and its window (WM_MEASUREITEM for a popup
    // searches this menu; the menus layer sets both while it tracks).
    HWND m_hTrackingWindow = nullptr;
    HMENU m_hTrackingMenu = nullptr;
    // The last mouse move the message loop saw (redundant moves do not restart idle work).
    POINT m_ptCursorLast{-1, -1};
    UINT m_nMsgLast = 0;
    // Temporary wrappers are freed at idle only while nobody holds the maps locked.
    int m_nTempMapLock = 0;
    BOOL m_bInMsgFilter = FALSE;
    // The frame and view a command is being routed through (set by the frame layer while it
    // routes, so handlers and message boxes find their frame).
    CFrameWnd* m_pRoutingFrame = nullptr;
    CView* m_pRoutingView = nullptr;
    // Tooltip state, for the tooltip layer: the thread's tooltip (created on first need,
    // destroyed when the thread ends), and the window and tool under the mouse.
    CToolTipCtrl* m_pToolTip = nullptr;
    CWnd* m_pLastHit = nullptr;
    INT_PTR m_nLastHit = -1;
    INT_PTR m_nLastStatus = -1;
};

AFX_THREAD_STATE* AfxGetThreadState();

// The module state: one module (the process) here.
struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    LPCTSTR m_lpszCurrentAppName = nullptr;
    BOOL m_bDLL = FALSE;
    BOOL m_bSystem = FALSE;
};
AFX_MODULE_STATE* AfxGetModuleState();
AFX_MODULE_STATE* AfxGetAppModuleState();
AFX_MODULE_STATE* AfxGetStaticModuleState();

// Switches the module state for a scope; with one module state there is nothing to
// switch, and the object only marks the scope.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE*) {}
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;
};
using AFX_MAINTAIN_STATE = AFX_MAINTAIN_STATE2;

// The executable's instance (the application's m_hInstance once AfxWinInit ran).
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);

// Keeps this thread's temporary wrappers (windows, menus, GDI objects, DCs) alive
// across idle passes until the matching unlock. AfxUnlockTempMaps frees them when the
// count drops to zero and bDeleteTemps is set; it answers whether it did.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);
