#include "frames/zyn_main_frame.h"

#include "app/zyn_app.h"
#include "frames/main_frame_state.h"
#include "model/zyn_acobject.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/view.h"
#include "platform/afx/winapp.h"
#include "platform/base/cstring.h"
#include "platform/user/msgbox.h"
#include "resources/resource.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"

IMPLEMENT_DYNAMIC(CZynMainFrame, CZynMainFrameBase)

BEGIN_MESSAGE_MAP(CZynMainFrame, CZynMainFrameBase)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SETTINGCHANGE()
    ON_COMMAND(ID_VIEW_MDITABS, &CZynMainFrame::OnViewMdiTabs)
    ON_UPDATE_COMMAND_UI(ID_VIEW_MDITABS, &CZynMainFrame::OnUpdateUIView)
    ON_COMMAND(ID_VIEW_TOOLBAR_LABELS, &CZynMainFrame::OnViewToolbarLabels)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR_LABELS, &CZynMainFrame::OnUpdateViewToolbarLabels)
    ON_COMMAND(ID_ZYNAPP_SAVE_SETTINGS, &CZynMainFrame::OnZynappSaveSettings)
    ON_UPDATE_COMMAND_UI(ID_ZYNAPP_SAVE_SETTINGS, &CZynMainFrame::OnUpdateUIView)
    ON_COMMAND(ID_VIEW_TOOLBAR_DEFAULTS, &CZynMainFrame::OnViewToolbarSetDefaults)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR_FIRST, ID_VIEW_TOOLBAR_LAST, &CZynMainFrame::OnCommandRange)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR_FIRST, ID_VIEW_TOOLBAR_LAST, &CZynMainFrame::OnUpdateCommandUIRange)
    ON_MESSAGE(WM_ZYN_SHOWOBJECT, &CZynMainFrame::OnZynShowObject)
END_MESSAGE_MAP()

namespace {

bool OperatorLoggedIn()
{
    const CZynApp* pApp = CZynApp::GetApp();
    return pApp && pApp->IsLoggedIn();
}

CString LoadText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

} // namespace

CZynMainFrame::CZynMainFrame() : CZynMainFrameBase(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}

CZynMainFrame::~CZynMainFrame() = default;

BOOL CZynMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // Without a suite application (a tool hosting the frame alone) there is no
    // single-instance class to take and no application to tell about its main frame.
    if (CZynApp* pApp = CZynApp::GetApp()) {
        if (pApp->SingleInstance())
            cs.lpszClass = pApp->GetSingleInstanceClassName().GetString();
        pApp->SetMainFrame(this);
    }
    return CZynMainFrameBase::PreCreateWindow(cs);
}

int CZynMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CZynMainFrameBase::OnCreate(lpcs) == -1)
        return -1;
    m_organizer.AttachFrameWnd(this);
    m_organizer.AutoSetMenuImage();
    if (m_bMDITabs) {
        // The wish is already true: turning it off first makes the second call attach.
        EnableMDITabs(false);
        EnableMDITabs(true);
    }
    return 0;
}

void CZynMainFrame::OnSettingChange(UINT, LPCTSTR)
{
    // Deliberately nothing: the frame's bars keep the layout they have.
}

// ---- MDI tabs -------------------------------------------------------------------------------------

void CZynMainFrame::EnableMDITabs(bool enable)
{
    if (enable != m_bMDITabs && m_hWnd) {
        if (enable)
            m_tabClient.Attach(this, kMDITabStyle);
        else
            m_tabClient.Detach();
    }
    m_bMDITabs = enable;
}

void CZynMainFrame::OnViewMdiTabs() { EnableMDITabs(!MDITabsEnabled()); }

void CZynMainFrame::OnUpdateUIView(CCmdUI* pCmdUI)
{
    if (pCmdUI->m_nID == ID_VIEW_MDITABS)
        pCmdUI->SetCheck(MDITabsEnabled() ? 1 : 0);
    else
        pCmdUI->SetCheck(m_bSaveSettings ? 1 : 0);
    pCmdUI->Enable(OperatorLoggedIn());
}

void CZynMainFrame::OnZynappSaveSettings() { m_bSaveSettings = !m_bSaveSettings; }

// ---- toolbar registry -----------------------------------------------------------------------------

BOOL CZynMainFrame::AddToolbar(CZynToolbar* pToolbar)
{
    if (!m_toolbars.Insert(pToolbar).second)
        return FALSE;
    // Menus got their images when the frame was made, before any toolbar: the new
    // toolbar's buttons give theirs now.
    if (m_organizer.IsAttached())
        m_organizer.AutoSetMenuImage();
    const UINT nCommand = m_commands.empty() ? ID_VIEW_TOOLBAR_FIRST : m_commands.rbegin()->first + 1;
    if (nCommand > ID_VIEW_TOOLBAR_LAST)
        return FALSE;
    if (!InsertToolbarViewMenuItem(nCommand, pToolbar))
        return FALSE;
    return m_commands.emplace(nCommand, static_cast<UINT>(pToolbar->GetDlgCtrlID())).second;
}

BOOL CZynMainFrame::InsertToolbarViewMenuItem(UINT nCommandID, CZynToolbar* pToolbar)
{
    CMenu* pMenu = GetMenu();
    if (!pMenu)
        return FALSE;
    CMenu* pSub = FindViewToolbarMenu(2);
    const int nCount = pMenu->GetMenuItemCount();
    for (int i = 0; !pSub && i < nCount; ++i) {
        if (i != 2)
            pSub = FindViewToolbarMenu(i);
    }
    if (!pSub)
        return FALSE;
    const CString text = LoadText(pToolbar->CaptionResourceID());
    return pSub->AppendMenu(MF_STRING | MF_CHECKED, nCommandID, text.GetString());
}

CMenu* CZynMainFrame::FindViewToolbarMenu(int nPosition)
{
    CMenu* pMenu = GetMenu();
    if (!pMenu || nPosition < 0)
        return nullptr;
    CMenu* pTop = pMenu->GetSubMenu(nPosition);
    if (!pTop)
        return nullptr;
    CMenu* pSub = pTop->GetSubMenu(0);
    if (!pSub || pSub->GetMenuItemID(0) != ID_VIEW_TOOLBAR_DEFAULTS)
        return nullptr;
    return pSub;
}

CZynToolbar* CZynMainFrame::ToolbarFromCommandID(UINT nCommandID) const
{
    const auto it = m_commands.find(nCommandID);
    return it == m_commands.end() ? nullptr : m_toolbars.Find(it->second);
}

UINT CZynMainFrame::CommandOfToolbar(UINT nToolbarID) const
{
    for (const auto& [command, toolbar] : m_commands) {
        if (toolbar == nToolbarID)
            return command;
    }
    return 0;
}

void CZynMainFrame::OnCommandRange(UINT nID)
{
    if (CZynToolbar* pToolbar = ToolbarFromCommandID(nID))
        ToggleControlBarVisibility(*pToolbar);
}

void CZynMainFrame::OnUpdateCommandUIRange(CCmdUI* pCmdUI)
{
    CZynToolbar* pToolbar = ToolbarFromCommandID(pCmdUI->m_nID);
    if (pToolbar)
        pCmdUI->SetCheck(pToolbar->m_hWnd && pToolbar->IsWindowVisible() ? 1 : 0);
    pCmdUI->Enable(OperatorLoggedIn() && pToolbar);
}

void CZynMainFrame::ToggleControlBarVisibility(CControlBar& bar)
{
    if (bar.m_hWnd)
        ShowControlBar(&bar, !bar.IsWindowVisible(), FALSE);
}

// ---- labels and default places --------------------------------------------------------------------

void CZynMainFrame::SetToolbarLabels(bool show)
{
    for (const auto& [id, pToolbar] : m_toolbars) {
        if (pToolbar)
            pToolbar->ShowText(show);
    }
}

bool CZynMainFrame::ToolbarLabelsShown() const
{
    return !m_toolbars.empty() && m_toolbars.begin()->second && m_toolbars.begin()->second->TextIsShown();
}

void CZynMainFrame::OnViewToolbarLabels()
{
    for (const auto& [id, pToolbar] : m_toolbars) {
        if (pToolbar)
            pToolbar->ShowText(!pToolbar->TextIsShown());
    }
}

void CZynMainFrame::OnUpdateViewToolbarLabels(CCmdUI* pCmdUI) { pCmdUI->SetCheck(ToolbarLabelsShown() ? 1 : 0); }

void CZynMainFrame::RedrawToolbars()
{
    for (const auto& [id, pToolbar] : m_toolbars) {
        if (!pToolbar || !pToolbar->m_hWnd)
            continue;
        CRect rect;
        pToolbar->GetWindowRect(&rect);
        pToolbar->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        pToolbar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
}

void CZynMainFrame::SetDefaultBarLocations()
{
    SetToolbarLabels(false);
    for (const auto& [id, pToolbar] : m_toolbars) {
        if (pToolbar && pToolbar->m_hWnd)
            ShowControlBar(pToolbar, TRUE, FALSE);
    }
}

void CZynMainFrame::OnViewToolbarSetDefaults()
{
    const CString question = LoadText(IDS_ZYN_TOOLBAR_DEFAULTS);
    if (AfxMessageBox(question.GetString(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    SetDefaultBarLocations();
    RecalcLayout(TRUE);
}

void CZynMainFrame::DockControlBarRelative(CControlBar& bar, BarOffsetType where, CControlBar& reference)
{
    RecalcLayout(TRUE);
    CRect rect;
    reference.GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    const DWORD style = reference.GetBarStyle();
    UINT nDockBar = 0;
    if (style & CBRS_ALIGN_TOP)
        nDockBar = AFX_IDW_DOCKBAR_TOP;
    else if (style & CBRS_ALIGN_BOTTOM)
        nDockBar = AFX_IDW_DOCKBAR_BOTTOM;
    else if (style & CBRS_ALIGN_LEFT)
        nDockBar = AFX_IDW_DOCKBAR_LEFT;
    else if (style & CBRS_ALIGN_RIGHT)
        nDockBar = AFX_IDW_DOCKBAR_RIGHT;
    CPoint point(0, 0);
    if (where == RightOf)
        point = CPoint(rect.right, rect.top);
    else if (where == Below)
        point = CPoint(rect.left, rect.bottom);
    const CRect at(point, point);
    DockControlBar(&bar, nDockBar, &at);
}

// ---- show object, closing -------------------------------------------------------------------------

LRESULT CZynMainFrame::OnZynShowObject(WPARAM, LPARAM lParam)
{
    CZynApp* pApp = CZynApp::GetApp();
    const auto* pObject = reinterpret_cast<const CZynAcObject*>(lParam);
    // A null object names no type to open a view for.
    if (!pApp || !pObject)
        return 0;
    CFrameWnd* pFrame = pApp->OpenView(static_cast<int>(pObject->GetType()));
    if (!pFrame)
        return 0;
    CView* pView = pFrame->GetActiveView();
    if (pView && pView->m_hWnd)
        pView->SendMessage(WM_ZYN_SHOWOBJECT, 0, lParam);
    return 0;
}

void CZynMainFrame::OnClose()
{
    if (CZynApp::IsBadgePrintInProgress()) {
        const CString question = LoadText(IDS_ZYN_CLOSE_WHILE_PRINTING);
        if (AfxMessageBox(question.GetString(), MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return;
    }
    SaveState();
    CZynMainFrameBase::OnClose();
}

// ---- saved state ----------------------------------------------------------------------------------

void CZynMainFrame::SaveState()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    pApp->WriteProfileInt(L"View", L"SaveSettings", m_bSaveSettings ? 1 : 0);
    if (!m_bSaveSettings)
        return;
    SaveWindowPlacement();
    zyn::frames::SaveBarLayout(*this, zyn::frames::kBarStateName);
    pApp->WriteProfileInt(L"View", L"ToolbarLabels", ToolbarLabelsShown() ? 1 : 0);
    pApp->WriteProfileInt(L"View", L"MDITabs", MDITabsEnabled() ? 1 : 0);
}

void CZynMainFrame::LoadState()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    SetDefaultBarLocations();
    m_bSaveSettings = pApp->GetProfileInt(L"View", L"SaveSettings", 1) != 0;
    RestoreWindowPlacement();
    LoadBarState(zyn::frames::kBarStateName);
    SetToolbarLabels(pApp->GetProfileInt(L"View", L"ToolbarLabels", 0) != 0);
    EnableMDITabs(pApp->GetProfileInt(L"View", L"MDITabs", 1) != 0);
}

void CZynMainFrame::SaveWindowPlacement() { zyn::frames::SaveWindowPlacement(*this); }
void CZynMainFrame::RestoreWindowPlacement() { zyn::frames::RestoreWindowPlacement(*this); }
BOOL CZynMainFrame::LoadBarState(LPCWSTR lpszProfileName) { return zyn::frames::LoadBarState(*this, lpszProfileName); }
BOOL CZynMainFrame::SetDockState(const CDockState& state) { return zyn::frames::ApplyDockState(*this, state); }
