#pragma once
// The console's main window: the suite's MDI main frame with its menu bar (File, View,
// Console, Skins, Window), the main toolbar and the console's own, a status bar with a
// progress pane, and three sizeable bars: the shortcut bar on the left, the recent events
// at the bottom and the filter dialog bar at the top. The frame keeps each bar's place
// with the rest of its state; the first run docks them in their default places.
#include "frames/zyn_main_frame.h"
#include "host_bars.h"
#include "toolkit/skins/status_bar.h"

class CHostFrame : public CZynMainFrame {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The bars, once the window exists; false when one cannot be made.
    bool MakeBars();
    void SetDefaultBarLocations() override;

    // The progress pane at done of total (total 0 hides it); the message pane's text.
    void ShowProgress(LONG done, LONG total);
    bool ProgressShown();

    using CZynMainFrame::ToolbarLabelsShown;
    CEventsBar& Events() { return m_events; }
    CShortcutsBar& Shortcuts() { return m_shortcuts; }
    CFilterBar& Filter() { return m_filter; }
    CToolbarMain& MainToolbar() { return m_mainToolbar; }
    CHostToolbar& HostToolbar() { return m_hostToolbar; }
    COXStatusBar& Status() { return m_status; }

protected:
    afx_msg void OnSkin(UINT nID);
    afx_msg void OnUpdateSkin(CCmdUI* pCmdUI);
    afx_msg void OnBar(UINT nID);
    afx_msg void OnUpdateBar(CCmdUI* pCmdUI);
    afx_msg void OnArchive();
    afx_msg void OnRecorder();
    afx_msg void OnLogViewer();
    DECLARE_MESSAGE_MAP()

private:
    CControlBar* BarOf(UINT nCommand);

    CToolbarMain m_mainToolbar;
    CHostToolbar m_hostToolbar;
    COXStatusBar m_status;
    CEventsBar m_events;
    CShortcutsBar m_shortcuts;
    CFilterBar m_filter;
};
