#pragma once
// BaseConfigView: the form view under every configuration view (acconfig_view.h). It
//   - puts its title on its frame at the initial update (a frame's own title is left as
//     the class library makes it while the title is empty), and fits the frame to the form
//     unless a derived view does that itself (m_bNoResize);
//   - hands configuration messages from the document to the view: a host that calls the
//     document's UpdateAllViews with a CfgMessage as hint object reaches UpdateCfg of every
//     configuration view (any other hint object is ignored);
//   - answers context help (WM_HELP, F1) through the application's help with the help ID
//     the derived view gives for the control;
//   - gives the application's operator and database, reports failures through the
//     application's exception handler, and moves single controls.
//
// The view also tells the configuration document whether it may close: this unit installs
// the document's question (config_view_seam.h), which asks a BaseConfigView its CanClose.
#include "frames/zyn_form_view.h"
#include "platform/base/cstring.h"

class CAcsUser;
class CfgMessage;
class CZynDatabase;

class BaseConfigView : public Zyn::Cmn::ZynFormView {
    DECLARE_DYNAMIC(BaseConfigView)
public:
    explicit BaseConfigView(UINT nIDTemplate);
    ~BaseConfigView() override;

    // ---- what a configuration view answers -------------------------------------------------------------
    // Whether the view may close now (a view in an edit state asks the operator).
    virtual int CanClose() = 0;
    // A configuration message reached the view.
    virtual void UpdateCfg(LONG lHint, const CfgMessage* pMsg) = 0;
    // The help ID of a control at a point (control 0: the view as a whole).
    virtual ULONG GetHelpID(int nControlID, CPoint& point) = 0;

    // ---- title ------------------------------------------------------------------------------------------
    void SetTitle(const wchar_t* lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : L""; }
    void SetTitle(UINT nIDTitle);
    const CString& GetTitle() const { return m_strTitle; }

    // ---- the session -------------------------------------------------------------------------------------
    CAcsUser* User() const;
    CZynDatabase* Database() const;
    // Tells the application (and with bAll the panel drivers first) of a change.
    void UpdateApp(CfgMessage& msg, int bAll);
    int HandleException(CException* pException, int bShow);
    int HandleException(const wchar_t* lpszText, CException* pException, int bShow);
    int HandleException(UINT nIDMessage, CException* pException, int bShow);

    // ---- controls -----------------------------------------------------------------------------------------
    // Move a control that has a window, in the view's client coordinates, keeping the other
    // coordinate and its size (no z-order change, no activation).
    void MoveControlY(CWnd& control, int y);
    void MoveControlX(CWnd& control, int x);
    void MoveControl(CWnd& control, int x, int y);

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    // The frame is not fitted to the form at the initial update (a derived view fits it).
    bool m_bNoResize = false;
    CString m_strTitle;

    DECLARE_MESSAGE_MAP()

private:
    // The control's rectangle in the view's client coordinates.
    CRect ControlRect(CWnd& control) const;
};
