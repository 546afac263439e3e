#include "host_frame.h"

#include <algorithm>

#include "host_app.h"
#include "host_ids.h"
#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/dock_tab_ctrl.h"

namespace {

const wchar_t* const kSkinNames[] = {L"Classic", L"Office XP", L"Office 2003"};

HMENU MakeMenuBar()
{
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ID_FILE_CLOSE, L"&Close");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, ID_APP_EXIT, L"E&xit");
    // View: the toolbar submenu the main frame appends its toolbars to, the bars, the
    // frame's own commands.
    const HMENU view = CreatePopupMenu();
    const HMENU toolbars = CreatePopupMenu();
    AppendMenuW(toolbars, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS, L"&Default Places");
    AppendMenuW(toolbars, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(view, MF_POPUP, reinterpret_cast<UINT_PTR>(toolbars), L"&Toolbars");
    AppendMenuW(view, MF_STRING, ID_HOST_VIEW_SHORTCUTS, L"S&hortcuts");
    AppendMenuW(view, MF_STRING, ID_HOST_VIEW_EVENTS, L"Recent &Events");
    AppendMenuW(view, MF_STRING, ID_HOST_VIEW_FILTER, L"&Filter");
    AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_LABELS, L"Toolbar &Labels");
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_VIEW_MDITABS, L"MDI T&abs");
    AppendMenuW(view, MF_STRING, CZynMainFrame::ID_ZYNAPP_SAVE_SETTINGS, L"&Save Settings on Exit");
    const HMENU console = CreatePopupMenu();
    AppendMenuW(console, MF_STRING, ID_VIEW_HOST_DOORS, L"&Doors");
    AppendMenuW(console, MF_STRING, ID_VIEW_HOST_OPERATORS, L"&Operators");
    AppendMenuW(console, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(console, MF_STRING, ID_HOST_ARCHIVE, L"&Archive Old Events");
    AppendMenuW(console, MF_STRING, ID_HOST_RECORDER, L"&Recording Server");
    AppendMenuW(console, MF_STRING, ID_HOST_LOGVIEWER, L"Session &Log");
    const HMENU skins = CreatePopupMenu();
    for (UINT i = 0; i < 3; ++i)
        AppendMenuW(skins, MF_STRING, ID_HOST_SKIN_CLASSIC + i, kSkinNames[i]);
    const HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, ID_WINDOW_CASCADE, L"&Cascade");
    AppendMenuW(window, MF_STRING, ID_WINDOW_TILE_HORZ, L"&Tile");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(console), L"&Console");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(skins), L"&Skins");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    return bar;
}

} // namespace

const wchar_t* HostSkinName(UINT command)
{
    return command >= ID_HOST_SKIN_CLASSIC && command <= ID_HOST_SKIN_2003 ? kSkinNames[command - ID_HOST_SKIN_CLASSIC]
                                                                           : nullptr;
}

BEGIN_MESSAGE_MAP(CHostFrame, CZynMainFrame)
    ON_COMMAND_RANGE(ID_HOST_SKIN_CLASSIC, ID_HOST_SKIN_2003, &CHostFrame::OnSkin)
    ON_UPDATE_COMMAND_UI_RANGE(ID_HOST_SKIN_CLASSIC, ID_HOST_SKIN_2003, &CHostFrame::OnUpdateSkin)
    ON_COMMAND_RANGE(ID_HOST_VIEW_EVENTS, ID_HOST_VIEW_SHORTCUTS, &CHostFrame::OnBar)
    ON_UPDATE_COMMAND_UI_RANGE(ID_HOST_VIEW_EVENTS, ID_HOST_VIEW_SHORTCUTS, &CHostFrame::OnUpdateBar)
    ON_COMMAND(ID_HOST_ARCHIVE, &CHostFrame::OnArchive)
    ON_COMMAND(ID_HOST_RECORDER, &CHostFrame::OnRecorder)
    ON_COMMAND(ID_HOST_LOGVIEWER, &CHostFrame::OnLogViewer)
END_MESSAGE_MAP()

BOOL CHostFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.hMenu = MakeMenuBar();
    return CZynMainFrame::PreCreateWindow(cs);
}

bool CHostFrame::MakeBars()
{
    static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_status.Create(this) || !m_status.SetIndicators(panes, 5))
        return false;
    m_status.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 160);
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_mainToolbar.Create(this) || !m_hostToolbar.Create(this))
        return false;
    AddToolbar(&m_mainToolbar);
    AddToolbar(&m_hostToolbar);
    if (!m_shortcuts.Make(this) || !m_events.Make(this))
        return false;
    if (!m_filter.Create(this, IDD_HOST_FILTER, CBRS_TOP, IDW_HOST_FILTER))
        return false;
    // Through each bar's own class: the sizeable bars' EnableDocking gives them the
    // toolkit's drag context (sizes kept per side, tabs), which the control bar's would
    // replace with the plain outline drag.
    m_shortcuts.EnableDocking(CBRS_ALIGN_ANY);
    m_events.EnableDocking(CBRS_ALIGN_ANY);
    m_filter.EnableDocking(CBRS_ALIGN_ANY);
    m_filter.SetWindowText(L"Filter");
    using Item = CShortcutsBar::Item;
    if (!m_shortcuts.AddGroup(L"Configuration", {Item{L"Doors", ID_VIEW_HOST_DOORS, IDI_HOST_DOORS},
                                                    Item{L"Operators", ID_VIEW_HOST_OPERATORS, IDI_HOST_OPERATORS}}) ||
        !m_shortcuts.AddGroup(L"Tools", {Item{L"Archive", ID_HOST_ARCHIVE, IDI_HOST_ARCHIVE},
                                            Item{L"Recording server", ID_HOST_RECORDER, IDI_HOST_RECORDER},
                                            Item{L"Session log", ID_HOST_LOGVIEWER, IDI_HOST_LOGVIEWER}}))
        return false;
    SetDefaultBarLocations();
    // The layout gives the outer places to the bars first in the z-order: the status bar
    // goes below everything docked at the bottom.
    m_status.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RecalcLayout();
    return true;
}

void CHostFrame::SetDefaultBarLocations()
{
    CZynMainFrame::SetDefaultBarLocations();
    // The sizeable bars leave any tab strip first (the frame's docking knows nothing of
    // tabs, and a tab left behind would keep its bar hidden), and every bar shows again.
    CHostPaneBar* const sizeable[] = {&m_shortcuts, &m_events};
    for (CHostPaneBar* bar : sizeable) {
        if (!bar->m_hWnd)
            continue;
        if (COXDockTabCtrl* tabs = bar->GetDockTabCtrl())
            tabs->RemoveTab(bar);
        ShowControlBar(bar, TRUE, TRUE);
    }
    if (m_filter.m_hWnd)
        ShowControlBar(&m_filter, TRUE, TRUE);
    if (m_mainToolbar.m_hWnd)
        DockControlBar(&m_mainToolbar, AFX_IDW_DOCKBAR_TOP);
    if (m_hostToolbar.m_hWnd)
        DockControlBarRelative(m_hostToolbar, RightOf, m_mainToolbar);
    if (m_filter.m_hWnd)
        DockControlBar(&m_filter, AFX_IDW_DOCKBAR_TOP);
    if (m_shortcuts.m_hWnd)
        DockControlBar(&m_shortcuts, AFX_IDW_DOCKBAR_LEFT);
    if (m_events.m_hWnd)
        DockControlBar(&m_events, AFX_IDW_DOCKBAR_BOTTOM);
    // Their sizes go back to the first run's too, once in their places: a size kept from
    // another side (a bar as high as the frame) could leave the screens no room.
    for (CHostPaneBar* bar : sizeable)
        if (bar->m_hWnd)
            bar->RestoreDefaultSize();
}

void CHostFrame::ShowProgress(LONG done, LONG total)
{
    if (total <= 0) {
        if (m_status.GetPaneProgress(1))
            m_status.ResetBar(1, TRUE);
        return;
    }
    if (!m_status.GetPaneProgress(1))
        m_status.SetUpBar(1);
    m_status.SetBarProgress(1, 0, static_cast<DWORD>(total), static_cast<DWORD>(std::min(done, total)));
}

bool CHostFrame::ProgressShown() { return m_status.GetPaneProgress(1) != nullptr; }

void CHostFrame::OnSkin(UINT nID)
{
    if (const wchar_t* name = HostSkinName(nID))
        HostApp().ChooseSkin(name);
}

void CHostFrame::OnUpdateSkin(CCmdUI* pCmdUI)
{
    const COXSkin* current = HostApp().GetCurrentSkin();
    const wchar_t* name = HostSkinName(pCmdUI->m_nID);
    pCmdUI->SetRadio(current && name && current->GetName() == name);
}

CControlBar* CHostFrame::BarOf(UINT nCommand)
{
    switch (nCommand) {
    case ID_HOST_VIEW_EVENTS: return &m_events;
    case ID_HOST_VIEW_FILTER: return &m_filter;
    case ID_HOST_VIEW_SHORTCUTS: return &m_shortcuts;
    default: return nullptr;
    }
}

void CHostFrame::OnBar(UINT nID)
{
    if (CControlBar* bar = BarOf(nID); bar && bar->m_hWnd)
        ToggleControlBarVisibility(*bar);
}

void CHostFrame::OnUpdateBar(CCmdUI* pCmdUI)
{
    CControlBar* bar = BarOf(pCmdUI->m_nID);
    pCmdUI->SetCheck(bar && bar->m_hWnd && bar->IsVisible());
}

void CHostFrame::OnArchive() { HostApp().RunArchive(); }
void CHostFrame::OnRecorder() { HostApp().AskRecorder(); }
void CHostFrame::OnLogViewer() { HostApp().OpenLogViewer(); }
