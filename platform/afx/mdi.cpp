// CMDIFrameWnd and CMDIChildWnd over the window system's MDI client.
#include "platform/afx/mdi.h"

#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/menu.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/afx/afxstate.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/accel.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// ==== CMDIFrameWnd ==============================================================================

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, &CMDIFrameWnd::OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, &CMDIFrameWnd::OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, &CMDIFrameWnd::OnUpdateMDIWindowCmd)
    ON_COMMAND(ID_WINDOW_NEW, &CMDIFrameWnd::OnWindowNew)
    ON_MESSAGE(WM_COMMANDHELP, &CMDIFrameWnd::OnCommandHelp)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (!hMenuBar || !::IsMenu(hMenuBar))
        return nullptr;
    const int n = ::GetMenuItemCount(hMenuBar);
    // The popup holding the window commands...
    for (int i = n - 1; i >= 0; --i) {
        const HMENU hPopup = ::GetSubMenu(hMenuBar, i);
        if (!hPopup)
            continue;
        const int m = ::GetMenuItemCount(hPopup);
        for (int j = 0; j < m; ++j) {
            const UINT id = ::GetMenuItemID(hPopup, j);
            if (id >= AFX_IDM_WINDOW_FIRST && id <= AFX_IDM_WINDOW_LAST)
                return hPopup;
        }
    }
    // ...else the popup before the last one (the last is Help by convention).
    int popups = 0;
    HMENU hLast[2] = {nullptr, nullptr};
    for (int i = 0; i < n; ++i)
        if (const HMENU hPopup = ::GetSubMenu(hMenuBar, i)) {
            hLast[0] = hLast[1];
            hLast[1] = hPopup;
            ++popups;
        }
    return popups >= 2 ? hLast[0] : hLast[1];
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* /*pContext*/)
{
    const HMENU hWindow = GetWindowMenuPopup(::GetMenu(m_hWnd));
    return CreateClient(lpcs, hWindow ? CMenu::FromHandle(hWindow) : nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT /*lpCreateStruct*/, CMenu* pWindowMenu)
{
    if (!zyn::user::EnsureMdiClientClass())
        return FALSE;
    CLIENTCREATESTRUCT ccs{pWindowMenu ? pWindowMenu->m_hMenu : nullptr, AFX_IDM_FIRST_MDICHILD};
    // MDIS_ALLCHILDSTYLES: a child frame is created with its own styles, hidden, and shown
    // and activated by ActivateFrame.
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES, 0, 0, 0, 0, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) { return OnCommandWith(MDIGetActive(), wParam, lParam); }

BOOL CMDIFrameWnd::OnCommandWith(CMDIChildWnd* pActive, WPARAM wParam, LPARAM lParam)
{
    // The window list and the maximised child's buttons belong to the client.
    const UINT nID = LOWORD(wParam);
    if (lParam == 0 && nID >= AFX_IDM_FIRST_MDICHILD) {
        ::DefFrameProcW(m_hWnd, m_hWndMDIClient, WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    // The routing (OnCmdMsg) asks the active child before this frame.
    if (CFrameWnd::OnCommand(wParam, lParam))
        return TRUE;
    // A system command nobody took (the maximised child's menu) is the default procedure's.
    if (lParam == 0 && (nID & 0xF000) == 0xF000 && pActive && pActive->m_hWnd) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

LRESULT CMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam)
{
    return OnCommandHelpWith(MDIGetActive(), wParam, lParam);
}

LRESULT CMDIFrameWnd::OnCommandHelpWith(CMDIChildWnd* pActive, WPARAM wParam, LPARAM lParam)
{
    if (pActive && pActive->m_hWnd && ::IsWindow(pActive->m_hWnd) &&
        pActive->SendMessage(WM_COMMANDHELP, wParam, lParam))
        return TRUE;
    return CFrameWnd::OnCommandHelp(wParam, lParam);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return OnCmdMsgWith(MDIGetActive(), nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCmdMsgWith(CMDIChildWnd* pActive, UINT nID, int nCode, void* pExtra,
    AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child (its view, document, template and itself) before this frame.
    if (pActive && pActive->m_hWnd && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) { return PreTranslateMessageWith(MDIGetActive(), pMsg); }

BOOL CMDIFrameWnd::PreTranslateMessageWith(CMDIChildWnd* pActive, MSG* pMsg)
{
    if (pActive && pActive->m_hWnd && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        pActive->m_hAccelShared && ::TranslateAcceleratorW(m_hWnd, pActive->m_hAccelShared, pMsg))
        return TRUE;
    if (CFrameWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // The document-window keys, unless a view of the frame's own has the keyboard.
    return !GetActiveView() && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
           m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg);
}

void CMDIFrameWnd::RecalcLayout(BOOL bNotify) { CFrameWnd::RecalcLayout(bNotify); }

CFrameWnd* CMDIFrameWnd::GetActiveFrame() { return GetActiveFrameWith(MDIGetActive()); }

CFrameWnd* CMDIFrameWnd::GetActiveFrameWith(CMDIChildWnd* pActive)
{
    return pActive && pActive->m_hWnd ? static_cast<CFrameWnd*>(pActive) : this;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    BOOL bMax = FALSE;
    const HWND h = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                         reinterpret_cast<LPARAM>(&bMax)))
                                   : nullptr;
    CWnd* pWnd = h ? CWnd::FromHandlePermanent(h) : nullptr;
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        bMax = FALSE, pWnd = nullptr;
    if (pbMaximized)
        *pbMaximized = bMax;
    return static_cast<CMDIChildWnd*>(pWnd);
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(zyn::afx::SafeHwndOf(pWndActivate)), 0);
}

void CMDIFrameWnd::MDIIconArrange() { ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(zyn::afx::SafeHwndOf(pWnd)), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 1); }

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(zyn::afx::SafeHwndOf(pWnd)), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    const LRESULT old = ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU,
        reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
        reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->m_hMenu : nullptr));
    return old ? CMenu::FromHandle(reinterpret_cast<HMENU>(old)) : nullptr;
}

void CMDIFrameWnd::MDITile(int nType) { ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }

void CMDIFrameWnd::MDICascade(int nType)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { OnUpdateMDIWindowCmdWith(MDIGetActive(), pCmdUI); }

void CMDIFrameWnd::OnUpdateMDIWindowCmdWith(CMDIChildWnd* pActive, CCmdUI* pCmdUI)
{
    if (pCmdUI)
        pCmdUI->Enable(pActive != nullptr && pActive->m_hWnd != nullptr);
}

void CMDIFrameWnd::OnWindowNew() { OnWindowNewWith(MDIGetActive()); }

CFrameWnd* CMDIFrameWnd::OnWindowNewWith(CMDIChildWnd* pActive)
{
    CDocument* pDocument = pActive && pActive->m_hWnd ? pActive->GetActiveDocument() : nullptr;
    CDocTemplate* pTemplate = pDocument ? pDocument->GetDocTemplate() : nullptr;
    if (!pTemplate) {
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
        return nullptr;
    }
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDocument, pActive);
    if (!pFrame) {
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
        return nullptr;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDocument);
    return pFrame;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) { OnUpdateFrameTitleWith(MDIGetActive(), bAddToTitle); }

void CMDIFrameWnd::OnUpdateFrameTitleWith(CMDIChildWnd* pActive, BOOL bAddToTitle)
{
    m_nIdleFlags &= ~idleTitle;
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CMDIChildWnd* pChild = pActive && pActive->m_hWnd ? pActive : nullptr;
    CDocument* pDoc = GetActiveDocument();
    if (!pDoc && pChild)
        pDoc = pChild->GetActiveDocument();
    if (bAddToTitle && pChild && pDoc) {
        const int saved = m_nWindow;
        m_nWindow = pChild->m_nWindow;
        UpdateFrameTitleForDocument(pDoc->GetTitle());
        m_nWindow = saved;
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) { OnUpdateFrameMenuWith(MDIGetActive(), hMenuAlt); }

void CMDIFrameWnd::OnUpdateFrameMenuWith(CMDIChildWnd* pActive, HMENU hMenuAlt)
{
    if (pActive && pActive->m_hWnd) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    const HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (!hMenu)
        return;
    const HMENU hWindow = GetWindowMenuPopup(hMenu);
    ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu), reinterpret_cast<LPARAM>(hWindow));
}

// ==== CMDIChildWnd ==============================================================================

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    const HWND hClient = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    const HWND hFrame = hClient ? ::GetParent(hClient) : nullptr;
    CWnd* pWnd = hFrame ? CWnd::FromHandlePermanent(hFrame) : nullptr;
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pWnd) : nullptr;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd) {
        CWinApp* pApp = AfxGetApp();
        CWnd* pMain = pApp ? pApp->m_pMainWnd : nullptr;
        if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMain);
    }
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient || m_hWnd) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        PostNcDestroy();   // as a failed creation always does
        return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    CREATESTRUCTW cs{};
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    const bool byDefault = rect.left == CW_USEDEFAULT;
    cs.x = rect.left;
    cs.y = byDefault ? CW_USEDEFAULT : rect.top;
    cs.cx = byDefault ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = byDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->m_hWndMDIClient;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTW mcs{cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
        static_cast<DWORD>(cs.style), reinterpret_cast<LPARAM>(pContext)};
    AfxHookWindowCreate(this);
    const HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageW(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    return hWnd != nullptr;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    CString title;
    if (nIDResource && strFull.LoadString(nIDResource)) {
        const std::wstring full = strFull.GetString();
        title = full.substr(0, full.find(L'\n')).c_str();
    }
    // The document menu and accelerators are the template's, shared by its children.
    if (pContext && pContext->m_pNewDocTemplate &&
        pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
        auto* pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelShared = pTemplate->m_hAccelTable;
    }
    CMDIFrameWnd* pFrame = nullptr;
    if (pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParentWnd);
    if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pFrame, pContext))
        return FALSE;   // deleted by PostNcDestroy
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    // Through the client, so the next child is activated and the menu bar restored.
    const HWND hClient = ::GetParent(m_hWnd);
    if ((GetExStyle() & WS_EX_MDICHILD) && hClient) {
        ::SendMessageW(hClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
        return TRUE;
    }
    return CWnd::DestroyWindow();
}

void CMDIChildWnd::MDIDestroy() { DestroyWindow(); }

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIMaximize(this);
}

void CMDIChildWnd::MDIRestore()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIRestore(this);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&bMaximized) : nullptr;
    ActivateFrameWith(pActive, bMaximized, nCmdShow);
}

void CMDIChildWnd::ActivateFrameWith(CMDIChildWnd* pActive, BOOL bMaximized, int nCmdShow)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = bMaximized && pActive != this ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        // Raised first, a new child shows (and is painted) at the top of its siblings.
        BringToTop(nCmdShow);
        ShowWindow(nCmdShow);
    }
    MDIActivate();
    if (pFrame) {
        ::SendMessageW(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
        if (!pFrame->IsWindowVisible())
            pFrame->ActivateFrame(-1);
    }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    m_nIdleFlags &= ~idleTitle;
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    CString text = bAddToTitle && pDoc ? pDoc->GetTitle() : m_strTitle;
    if (bAddToTitle && pDoc && m_nWindow > 0) {
        text += L":";
        text += std::to_wstring(m_nWindow).c_str();
    }
    AfxSetWindowText(m_hWnd, text);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return;
    if (!hMenuAlt && bActivate)
        hMenuAlt = m_hMenuShared;
    HMENU hMenu = nullptr;
    if (hMenuAlt && bActivate)
        hMenu = hMenuAlt;
    else if (!bActivate && !pActivateWnd)
        hMenu = pFrame->GetDefaultMenu();   // the last child is going: the frame's own menu
    if (!hMenu)
        return;
    ::SendMessageW(pFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenu),
        reinterpret_cast<LPARAM>(pFrame->GetWindowMenuPopup(hMenu)));
    ::DrawMenuBar(pFrame->m_hWnd);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* /*pDeactivateWnd*/)
{
    CView* pActiveView = GetActiveView();
    if (!bActivate && pActiveView)
        pActiveView->OnActivateView(FALSE, pActiveView, pActiveView);
    if (bActivate || !pActivateWnd)
        OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    if (bActivate && pActiveView)
        pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int nResult = CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame && pFrame->MDIGetActive() != this)
        MDIActivate();
    return nResult;
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && (nType == SIZE_MAXIMIZED || nType == SIZE_RESTORED))
        pFrame->DelayUpdateFrameTitle();
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return PreTranslateMessageWith(pFrame ? pFrame->MDIGetActive() : nullptr, pMsg);
}

BOOL CMDIChildWnd::PreTranslateMessageWith(CMDIChildWnd* /*pActive*/, MSG* pMsg)
{
    // Accelerators are translated by the MDI frame (with the shared table), for whichever
    // child it counts as active.
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIChildWnd::UpdateClientEdge(LPRECT lpRect)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&bMaximized) : nullptr;
    return UpdateClientEdgeWith(pActive, bMaximized, lpRect);
}

BOOL CMDIChildWnd::UpdateClientEdgeWith(CMDIChildWnd* pActive, BOOL bMaximized, LPRECT lpRect)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame || !pFrame->m_hWndMDIClient)
        return FALSE;
    const HWND hClient = pFrame->m_hWndMDIClient;
    const DWORD dwOld = static_cast<DWORD>(::GetWindowLongW(hClient, GWL_EXSTYLE));
    // The client loses its edge only under a maximised active child without one of its own.
    const bool bEdge = !(pActive && bMaximized && pActive->m_hWnd &&
                         !(::GetWindowLongW(pActive->m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    const DWORD dwNew = bEdge ? (dwOld | WS_EX_CLIENTEDGE) : (dwOld & ~WS_EX_CLIENTEDGE);
    if (dwNew == dwOld)
        return FALSE;
    ::SetWindowLongW(hClient, GWL_EXSTYLE, static_cast<LONG>(dwNew));
    ::SetWindowPos(hClient, nullptr, 0, 0, 0, 0,
        SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
    if (lpRect)
        ::GetClientRect(hClient, lpRect);
    return TRUE;
}
