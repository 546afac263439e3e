#include "frames/base_config_view.h"

#include "app/zyn_app.h"
#include "frames/cfg_message.h"
#include "frames/config_view_seam.h"
#include "platform/afx/frame.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/exception_handler.h"
#include "platform/user/messages.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(BaseConfigView, Zyn::Cmn::ZynFormView)

BEGIN_MESSAGE_MAP(BaseConfigView, Zyn::Cmn::ZynFormView)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

namespace {

// The configuration document's question: a BaseConfigView answers with CanClose.
ZynConfigViewAnswer AskConfigView(CView* pView)
{
    auto* pConfig = DYNAMIC_DOWNCAST(BaseConfigView, pView);
    if (!pConfig)
        return ZynConfigViewAnswer::NotConfigView;
    return pConfig->CanClose() ? ZynConfigViewAnswer::MayClose : ZynConfigViewAnswer::Refuses;
}

// Installed when the library loads, like the class's run-time record.
[[maybe_unused]] const bool g_installed = [] {
    ZynSetConfigViewCloseQuery(&AskConfigView);
    return true;
}();

} // namespace

BaseConfigView::BaseConfigView(UINT nIDTemplate) : Zyn::Cmn::ZynFormView(nIDTemplate) {}

BaseConfigView::~BaseConfigView() = default;

void BaseConfigView::SetTitle(UINT nIDTitle)
{
    CString text;
    text.LoadString(nIDTitle);
    m_strTitle = text;
}

void BaseConfigView::DoDataExchange(CDataExchange* /*pDX*/) {}

void BaseConfigView::OnInitialUpdate()
{
    Zyn::Cmn::ZynFormView::OnInitialUpdate();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && !m_strTitle.IsEmpty()) {
        pFrame->ModifyStyle(FWS_ADDTOTITLE, 0);
        pFrame->InvalidateRect(nullptr, FALSE);
        pFrame->SetWindowText(m_strTitle.GetString());
    }
    if (pFrame && !m_bNoResize) {
        pFrame->RecalcLayout(TRUE);
        ResizeParentToFit(FALSE);
        ResizeParentToFit(TRUE);
    }
}

void BaseConfigView::OnUpdate(CView* /*pSender*/, LPARAM lHint, CObject* pHint)
{
    // Only a configuration message is passed on: the document's other updates carry
    // objects of other kinds, which UpdateCfg must never see as one.
    if (const auto* pMsg = dynamic_cast<const CfgMessage*>(pHint))
        UpdateCfg(static_cast<LONG>(lHint), pMsg);
}

BOOL BaseConfigView::OnHelpInfo(HELPINFO* pHelpInfo)
{
    CZynApp* app = CZynApp::GetApp();
    if (!app)
        return TRUE;
    ULONG nHelpID = 0;
    if (pHelpInfo && pHelpInfo->iContextType == HELPINFO_WINDOW) {
        CPoint point(pHelpInfo->MousePos);
        nHelpID = GetHelpID(pHelpInfo->iCtrlId, point);
    } else {
        CPoint point(0, 0);
        nHelpID = GetHelpID(0, point);
    }
    app->CallHelp(nHelpID, 1);
    return TRUE;
}

// ---- the session ----------------------------------------------------------------------------------------------

CAcsUser* BaseConfigView::User() const { return CZynApp::GetAppAcsUser(); }

CZynDatabase* BaseConfigView::Database() const { return CZynApp::GetAppDatabase(); }

void BaseConfigView::UpdateApp(CfgMessage& msg, int bAll) { ZynDownload(msg, bAll ? ZynDownloadAll : ZynDownloadApp); }

int BaseConfigView::HandleException(CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(static_cast<LPCWSTR>(nullptr), pException, bShow);
}

int BaseConfigView::HandleException(const wchar_t* lpszText, CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(lpszText, pException, bShow);
}

int BaseConfigView::HandleException(UINT nIDMessage, CException* pException, int bShow)
{
    return CZynApp::GetAppExceptionHandler().Handle(nIDMessage, pException, bShow);
}

// ---- controls ----------------------------------------------------------------------------------------------------

CRect BaseConfigView::ControlRect(CWnd& control) const
{
    CRect r;
    control.GetWindowRect(&r);
    ScreenToClient(&r);
    return r;
}

void BaseConfigView::MoveControlY(CWnd& control, int y)
{
    if (!control.GetSafeHwnd())
        return;
    MoveControl(control, ControlRect(control).left, y);
}

void BaseConfigView::MoveControlX(CWnd& control, int x)
{
    if (!control.GetSafeHwnd())
        return;
    MoveControl(control, x, ControlRect(control).top);
}

void BaseConfigView::MoveControl(CWnd& control, int x, int y)
{
    if (!control.GetSafeHwnd())
        return;
    control.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
