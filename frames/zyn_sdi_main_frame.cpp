#include "frames/zyn_sdi_main_frame.h"

#include "app/zyn_app.h"
#include "frames/main_frame_state.h"
#include "platform/afx/dockstate.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"

IMPLEMENT_DYNAMIC(CZynSDIMainFrame, CZynSDIMainFrameBase)

BEGIN_MESSAGE_MAP(CZynSDIMainFrame, CZynSDIMainFrameBase)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CZynSDIMainFrame::CZynSDIMainFrame() : CZynSDIMainFrameBase(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}

CZynSDIMainFrame::~CZynSDIMainFrame() = default;

BOOL CZynSDIMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (CZynApp* pApp = CZynApp::GetApp()) {
        if (pApp->SingleInstance())
            cs.lpszClass = pApp->GetSingleInstanceClassName().GetString();
        pApp->SetMainFrame(this);
    }
    return CZynSDIMainFrameBase::PreCreateWindow(cs);
}

int CZynSDIMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CZynSDIMainFrameBase::OnCreate(lpcs) == -1)
        return -1;
    // A derived frame's own WM_CREATE handler calling this one must not attach twice.
    if (!m_organizer.IsAttached())
        m_organizer.AttachFrameWnd(this);
    m_organizer.AutoSetMenuImage();
    return 0;
}

void CZynSDIMainFrame::OnClose()
{
    SaveState();
    CZynSDIMainFrameBase::OnClose();
}

void CZynSDIMainFrame::SaveState()
{
    if (!AfxGetApp())
        return;
    zyn::frames::SaveWindowPlacement(*this);
    zyn::frames::SaveBarLayout(*this, zyn::frames::kBarStateName);
}

void CZynSDIMainFrame::LoadState()
{
    if (!AfxGetApp())
        return;
    zyn::frames::RestoreWindowPlacement(*this);
    LoadBarState(zyn::frames::kBarStateName);
}

BOOL CZynSDIMainFrame::LoadBarState(LPCWSTR lpszProfileName) { return zyn::frames::LoadBarState(*this, lpszProfileName); }
BOOL CZynSDIMainFrame::SetDockState(const CDockState& state) { return zyn::frames::ApplyDockState(*this, state); }
