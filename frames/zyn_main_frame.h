#pragma once
// CZynMainFrame: the MDI main window every MDI host of the suite derives its own main frame
// from. It is a menu-bar frame (the menu shows as a dockable bar, bars dock in size-dock
// bars and float in sizable mini frames) with:
//   - a bitmap-menu organizer, so that menu items show the images of toolbar buttons; the
//     images are gathered again each time a toolbar is registered, as toolbars are made
//     after the frame;
//   - MDI tabs through the tab client window (tabs at the bottom, hot-tracked);
//   - a registry of the program's toolbars with one checked item per toolbar (commands
//     40900..40920) appended to the View>Toolbars submenu, the submenu being the popup
//     whose first item is command 57025 (restore default locations);
//   - the View commands: MDI tabs, toolbar labels, save settings on exit, defaults;
//   - the show-object message 2081, opening the configuration view of an object's type;
//   - the question before closing while badges print;
//   - its saved state (placement, bar layout, View settings) in the application profile:
//     the host calls LoadState once its bars exist, OnClose calls SaveState.
// The frame does not own the toolbars the host registers.
#include <map>

#include "frames/cfg_message.h"
#include "frames/zyn_toolbar.h"
#include "platform/afx/mdi.h"
#include "toolkit/docking/tab_client.h"
#include "toolkit/menus/menu_bar_frame.h"
#include "toolkit/menus/organizer.h"

class CDockState;

using CZynMainFrameBase = COXMenuBarFrame<CMDIFrameWnd>;

class CZynMainFrame : public CZynMainFrameBase {
    DECLARE_DYNAMIC(CZynMainFrame)
public:
    // Command numbers of the frame.
    static constexpr UINT ID_VIEW_MDITABS = 57015;
    static constexpr UINT ID_VIEW_TOOLBAR_LABELS = 57017;
    static constexpr UINT ID_ZYNAPP_SAVE_SETTINGS = 57020;
    static constexpr UINT ID_VIEW_TOOLBAR_DEFAULTS = 57025;
    static constexpr UINT ID_VIEW_TOOLBAR_FIRST = 40900;
    static constexpr UINT ID_VIEW_TOOLBAR_LAST = 40920;
    // The tab control style of the MDI tabs: TCS_HOTTRACK | TCS_BOTTOM.
    static constexpr DWORD kMDITabStyle = 0x42;

    enum BarOffsetType { RightOf = 0, Below = 1 };

    CZynMainFrame();
    ~CZynMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // The saved state; see main_frame_state.h for the profile layout.
    virtual void LoadState();
    virtual void SaveState();
    // Loads a dock state from the profile and applies it when every bar it names exists.
    BOOL LoadBarState(LPCWSTR lpszProfileName);
    BOOL SetDockState(const CDockState& state);

    // Shows or hides the MDI children as tabs. The wish is kept also before the window
    // exists; the tabs attach at creation then.
    void EnableMDITabs(bool enable);
    bool MDITabsEnabled() const { return m_tabClient.IsAttached(); }
    void ToggleMDITabs() { EnableMDITabs(!MDITabsEnabled()); }

    void EnableSaveState(bool enable) { m_bSaveSettings = enable; }
    bool SaveStateEnabled() const { return m_bSaveSettings; }

    COXBitmapMenuOrganizer& GetMenuOrganizer() { return m_organizer; }
    const CToolbarMap& GetToolbars() const { return m_toolbars; }
    // The View>Toolbars command of a registered toolbar's item, 0 when it has none.
    UINT CommandOfToolbar(UINT nToolbarID) const;

protected:
    // Registers a toolbar under its window's control ID and gives it an item in the
    // View>Toolbars submenu; FALSE when it has no window, is registered already, the
    // command numbers are used up, or the menu has no toolbar submenu (the toolbar stays
    // registered in the last two cases).
    BOOL AddToolbar(CZynToolbar* pToolbar);
    CMenu* FindViewToolbarMenu(int nPosition);
    // Labels off and every registered toolbar shown; derived frames place their bars.
    virtual void SetDefaultBarLocations();
    void DockControlBarRelative(CControlBar& bar, BarOffsetType where, CControlBar& reference);
    void ToggleControlBarVisibility(CControlBar& bar);
    void SetToolbarLabels(bool show);
    bool ToolbarLabelsShown() const;
    void RedrawToolbars();
    void SaveWindowPlacement();
    void RestoreWindowPlacement();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnClose();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnViewMdiTabs();
    afx_msg void OnViewToolbarLabels();
    afx_msg void OnUpdateViewToolbarLabels(CCmdUI* pCmdUI);
    afx_msg void OnZynappSaveSettings();
    afx_msg void OnViewToolbarSetDefaults();
    afx_msg void OnUpdateUIView(CCmdUI* pCmdUI);
    afx_msg void OnCommandRange(UINT nID);
    afx_msg void OnUpdateCommandUIRange(CCmdUI* pCmdUI);
    afx_msg LRESULT OnZynShowObject(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    BOOL InsertToolbarViewMenuItem(UINT nCommandID, CZynToolbar* pToolbar);
    CZynToolbar* ToolbarFromCommandID(UINT nCommandID) const;

    bool m_bMDITabs = true;
    bool m_bSaveSettings = true;
    COXBitmapMenuOrganizer m_organizer;
    COXTabClientWnd m_tabClient;
    CToolbarMap m_toolbars;
    std::map<UINT, UINT> m_commands;   // View>Toolbars command -> toolbar ID
};
