// CFrameWnd: creation, layout, the active view, titles, menus, the message line, closing
// and command routing.
#include "platform/afx/frame.h"

#include <algorithm>

#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/frame_help.h"
#include "platform/afx/menu.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/resource.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/accel.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_ACTIVATETOPLEVEL, &CFrameWnd::OnActivateTopLevel)
    ON_MESSAGE(WM_POPMESSAGESTRING, &CFrameWnd::OnPopMessageString)
    ON_COMMAND_EX_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, &CFrameWnd::OnUpdateControlBarMenu)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CFrameWnd::OnToolTipText)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, &CFrameWnd::OnUpdateKeyIndicator)
    ON_COMMAND(ID_CONTEXT_HELP, &CFrameWnd::OnContextHelp)
    ON_MESSAGE(WM_COMMANDHELP, &CFrameWnd::OnCommandHelp)
    ON_MESSAGE(WM_HELPHITTEST, &CFrameWnd::OnHelpHitTest)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() : m_pFloatingFrameClass(RUNTIME_CLASS(CMiniDockFrameWnd)) {}
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::IsFrameWnd() const { return TRUE; }

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
        cs.lpszClass = _afxWndFrameOrView;
    }
    return TRUE;
}

BOOL CFrameWnd::CreateFrame(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, HMENU hMenu, DWORD dwExStyle, CCreateContext* pContext)
{
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    m_hMenuDefault = hMenu;
    // The default rectangle leaves the place and size to the window system (its width
    // must not be computed from CW_USEDEFAULT).
    const bool byDefault = rect.left == CW_USEDEFAULT;
    const int x = rect.left, y = byDefault ? CW_USEDEFAULT : rect.top;
    const int cx = byDefault ? CW_USEDEFAULT : rect.right - rect.left;
    const int cy = byDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
            zyn::afx::SafeHwndOf(pParentWnd), hMenu, pContext)) {
        if (hMenu && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);   // the window never took it
        return FALSE;               // PostNcDestroy has deleted the frame
    }
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = ::LoadMenuW(AfxGetResourceHandle(), lpszMenuName);
        if (!hMenu) {
            PostNcDestroy();   // a failed creation cleans up as a destroyed window would
            return FALSE;
        }
    }
    return CreateFrame(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, hMenu, dwExStyle, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (nIDResource && strFull.LoadString(nIDResource)) {
        const std::wstring full = strFull.GetString();
        m_strTitle = full.substr(0, full.find(L'\n')).c_str();
    }
    const HINSTANCE hInst = AfxGetResourceHandle();
    HMENU hMenu = nIDResource ? ::LoadMenuW(hInst, MAKEINTRESOURCEW(nIDResource)) : nullptr;
    if (nIDResource && !m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsW(hInst, MAKEINTRESOURCEW(nIDResource));
    const CString title = m_strTitle;
    if (!CreateFrame(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, hMenu, 0, pContext))
        return FALSE;
    // A frame without a document still gets its initial update.
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // An MDI child receives its context inside the MDICREATESTRUCT.
    CCreateContext* pContext = nullptr;
    if (lpcs->lpCreateParams) {
        if (lpcs->dwExStyle & WS_EX_MDICHILD)
            pContext = reinterpret_cast<CCreateContext*>(static_cast<MDICREATESTRUCTW*>(lpcs->lpCreateParams)->lParam);
        else
            pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    }
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (!pObject)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return nullptr;
    }
    auto* pView = static_cast<CWnd*>(pObject);
    // A failed creation has deleted the view (PostNcDestroy).
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::OnDestroy()
{
    // Floating frames are owned, not children: they go first, with the bars in them.
    DestroyDockBars();
    // The default menu goes with the window; a shared document menu stays with its template.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault && ::IsMenu(m_hMenuDefault))
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    if (m_hAccelTable) {
        ::DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = nullptr;
    }
    delete this;
}

// ---- views and documents ----------------------------------------------------------------------------------

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr;
    if (pViewOld && bNotify)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (!m_pViewActive) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        int nCmdShow = -1;
        if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this && !IsWindowVisible())
            nCmdShow = pApp->m_nCmdShow;
        ActivateFrame(nCmdShow);
        if (pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::BringToTop(int nCmdShow)
{
    if (nCmdShow == SW_HIDE || nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINNOACTIVE || nCmdShow == SW_SHOWNA ||
        nCmdShow == SW_SHOWNOACTIVATE)
        return;
    ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

// ---- layout, title, menu -------------------------------------------------------------------------------------

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;   // a bar moved by this pass asked for another one
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~idleLayout;
    if (GetStyle() & FWS_SNAPTOBARS) {
        // The frame takes the size of its bars: measure them unstretched, lay them out in
        // that room and size the window around it.
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL /*bNotify*/) { m_nIdleFlags |= idleLayout; }

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        // Raised before it shows, a hidden frame appears where it belongs and is painted
        // once, not first behind its siblings and again when it comes up.
        BringToTop(nCmdShow);
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    } else if (!(GetStyle() & WS_CHILD)) {
        BringWindowToTop();
        ::SetActiveWindow(m_hWnd);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    m_nIdleFlags &= ~idleTitle;
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && pDoc ? pDoc->GetTitle().GetString() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    CString text;
    if (lpszDocName && *lpszDocName) {
        CString doc = lpszDocName;
        if (m_nWindow > 0) {
            doc += L":";
            doc += std::to_wstring(m_nWindow).c_str();
        }
        if (GetStyle() & FWS_PREFIXTITLE) {
            text = doc;
            if (!m_strTitle.IsEmpty()) {
                text += L" - ";
                text += m_strTitle;
            }
        } else {
            text = m_strTitle;
            if (!text.IsEmpty())
                text += L" - ";
            text += doc;
        }
    } else {
        text = m_strTitle;
    }
    AfxSetWindowText(m_hWnd, text);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (GetStyle() & WS_CHILD)
        return;
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (hMenu && ::GetMenu(m_hWnd) != hMenu)
        ::SetMenu(m_hWnd, hMenu);
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (HACCEL hAccel = GetDefaultAccelerator(); hAccel && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg))
            return TRUE;
        // Shift+F1 starts context help unless an accelerator gave the key another meaning.
        if (zyn::afx::IsContextHelpKey(*pMsg) && !(GetStyle() & WS_CHILD)) {
            SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
            return TRUE;
        }
    }
    return FALSE;
}

// ---- the message line -----------------------------------------------------------------------------------------

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    rMessage.Empty();
    CString full;
    if (nID && full.LoadString(nID)) {
        const std::wstring s = full.GetString();
        rMessage = s.substr(0, s.find(L'\n')).c_str();
    }
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID, 0); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT nIDLast = m_nIDLastMessage;
    CString text;
    if (lParam)
        text = reinterpret_cast<LPCTSTR>(lParam);
    else if (wParam)
        GetMessageString(zyn::afx::PromptIDFor(static_cast<UINT>(wParam), m_bHelpMode != HELP_INACTIVE), text);
    m_strMessage = text;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_bMessageLineSet = TRUE;
    // A status bar (a child with the status bar's ID) shows the text.
    if (CWnd* pBar = GetMessageBar())
        pBar->SetWindowText(text);
    return nIDLast;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && !hSysMenu) {
        // The menu closed: back to the idle prompt (the help prompt in help mode).
        m_nIDTracking = 0;
        SetMessageText(AFX_IDS_IDLEMESSAGE);
        return;
    }
    // A highlighted command shows its prompt; popups and separators show nothing.
    if (nItemID == 0 || (nFlags & (MF_POPUP | MF_SEPARATOR)))
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking)
        SetMessageText(m_nIDTracking);
    else
        SetMessageText(L"");
}

// ---- command routing and updates ----------------------------------------------------------------------------------

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view first (it passes the command to its document).
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // A frame inside another frame (an MDI child) leaves the application to the outer
    // frame, so the outer frame is asked before the application.
    if ((GetStyle() & WS_CHILD) && GetParentFrame())
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

namespace {

// A menu item as a command user-interface element, written through the window system's
// menu functions directly.
class CMenuItemCmdUI : public CCmdUI {
public:
    HMENU m_hMenu = nullptr;
    BOOL m_bPopup = FALSE;   // the item opens a submenu: never disabled, checked or renamed

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        if (!m_bPopup)
            ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    void SetCheck(int nCheck) override
    {
        if (!m_bPopup)
            ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetRadio(BOOL bOn) override
    {
        SetCheck(bOn ? 1 : 0);
        if (bOn && !m_bPopup)
            ::CheckMenuRadioItem(m_hMenu, m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
    }
    void SetText(LPCTSTR lpszText) override
    {
        if (!lpszText || m_bPopup)
            return;
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = const_cast<LPWSTR>(lpszText);
        ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &mii);
    }
};

// Updates every item of a popup (and of the popups it opens) through pTarget's routing:
// items nobody handles are disabled when bAutoMenuEnable is set, except system commands
// (0xF000 and above, the MDI window list among them); an item opening a submenu is
// routed as the submenu's first item and never disabled. Items that handlers add or
// remove are followed.
void UpdateMenuItems(HMENU hMenu, CCmdTarget* pTarget, BOOL bAutoMenuEnable, int depth)
{
    if (depth > 8)
        return;   // a menu that contains itself
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_SUBMENU | MIIM_ID | MIIM_BITMAP | MIIM_FTYPE;
        if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        if ((mii.fType & MFT_SEPARATOR) || mii.hbmpItem == HBMMENU_SYSTEM)
            continue;   // separators, and an MDI child's system menu
        CMenuItemCmdUI state;
        state.m_hMenu = hMenu;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(nCount);
        if (mii.hSubMenu) {
            UpdateMenuItems(mii.hSubMenu, pTarget, bAutoMenuEnable, depth + 1);
            continue;
        }
        if (mii.wID == 0)
            continue;
        state.m_nID = mii.wID;
        state.DoUpdate(pTarget, bAutoMenuEnable && mii.wID < 0xF000);
        const int nNow = ::GetMenuItemCount(hMenu);
        if (nNow < 0)
            return;
        if (nNow < nCount)   // the handler removed items: step back over them
            i = std::max(-1, i - (nCount - nNow));
        nCount = nNow;
    }
}

} // namespace

void CFrameWnd::UpdateMenuBar(BOOL bDisableIfNoHndler)
{
    if (GetStyle() & WS_CHILD)
        return;
    if (const HMENU hBar = ::GetMenu(m_hWnd))
        UpdateMenuItems(hBar, this, m_bAutoMenuEnable && bDisableIfNoHndler, 0);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_nShowDelay >= 0) {
        // A show or hide asked for while the bars were being changed.
        const int nShow = m_nShowDelay;
        m_nShowDelay = -1;
        ShowWindow(nShow);
    }
    if (m_nIdleFlags & idleLayout)
        RecalcLayout();
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    m_nIdleFlags = 0;
    // A message line nobody has set yet says the frame is ready.
    if (!m_bMessageLineSet && !(GetStyle() & WS_CHILD) && GetMessageBar())
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    UpdateMenuBar(static_cast<BOOL>(wParam));
    // Floating frames are not descendants of the frame: their bars are updated from here.
    zyn::afx::IdleUpdateFloatingFrames(this, wParam);
    return 0;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (bSysMenu || !pPopupMenu || !pPopupMenu->m_hMenu)
        return;
    UpdateMenuItems(pPopupMenu->m_hMenu, this, m_bAutoMenuEnable, 0);
}

// ---- activation and closing ------------------------------------------------------------------------------------------

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    // Floating frames show active with the frame, and stay so while one of them is the
    // window being activated.
    if (nState != WA_INACTIVE)
        NotifyFloatingWindows(FS_ACTIVATE);
    else if (!pWndOther || ::GetWindow(pWndOther->m_hWnd, GW_OWNER) != m_hWnd)
        NotifyFloatingWindows(FS_DEACTIVATE);
    CFrameWnd* pActiveFrame = GetActiveFrame();
    if (CView* pView = pActiveFrame ? pActiveFrame->GetActiveView() : nullptr)
        pView->OnActivateFrame(nState, pActiveFrame);
}

LRESULT CFrameWnd::OnActivateTopLevel(WPARAM wParam, LPARAM lParam)
{
    return CWnd::OnActivateTopLevel(wParam, lParam);
}

void CFrameWnd::OnClose()
{
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this))
        return;   // the user kept the document
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        // The main window closes every document of the application first.
        if (!pDocument && !pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments(FALSE);
        if (!pApp->m_pMainWnd)
            return;   // closing the documents destroyed this frame
    }
    if (pDocument && pDocument->m_bAutoDelete) {
        // The document goes with its last frame.
        BOOL bOtherFrame = FALSE;
        POSITION pos = pDocument->GetFirstViewPosition();
        while (pos) {
            CView* pView = pDocument->GetNextView(pos);
            if (pView->GetParentFrame() != this) {
                bOtherFrame = TRUE;
                break;
            }
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}
