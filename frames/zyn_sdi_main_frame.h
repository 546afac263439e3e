#pragma once
// CZynSDIMainFrame: the single-document main window of SDI hosts. A menu-bar frame with
// bitmap menus (the organizer gives menu items the images of the frame's toolbars), the
// application's single-instance window class, and the saved window placement and bar
// layout (main_frame_state.h), which it always saves on close. It has none of the MDI
// frame's View commands, toolbar registry, tabs or badge-print question.
//
// WM_CREATE reaches OnCreate through this class's message map; a derived frame that maps
// WM_CREATE itself calls CZynSDIMainFrame::OnCreate, and the organizer is attached once
// either way.
#include "platform/afx/frame.h"
#include "toolkit/menus/menu_bar_frame.h"
#include "toolkit/menus/organizer.h"

class CDockState;

using CZynSDIMainFrameBase = COXMenuBarFrame<CFrameWnd>;

class CZynSDIMainFrame : public CZynSDIMainFrameBase {
    DECLARE_DYNAMIC(CZynSDIMainFrame)
public:
    CZynSDIMainFrame();
    ~CZynSDIMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Placement, then the bar layout; the SDI frame has no default bar places to set.
    virtual void LoadState();
    virtual void SaveState();
    BOOL LoadBarState(LPCWSTR lpszProfileName);
    BOOL SetDockState(const CDockState& state);

    COXBitmapMenuOrganizer& GetMenuOrganizer() { return m_organizer; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()

private:
    COXBitmapMenuOrganizer m_organizer;
};
