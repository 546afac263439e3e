#pragma once
// BaseConfigPage: the property page under every configuration page of the host
// applications. A configuration screen is a set of such pages on a child sheet inside a
// configuration view (acconfig_sheet.h, acconfig_view.h); this base gives each page:
//   - a page ID of the host's choosing, by which the sheet finds pages;
//   - an operator: its own (SetUser) or else the application's logged-in one, and that
//     operator's database;
//   - failure reports through the application's exception handler, the main window's
//     status text (2024) and the configuration messages (2027/2045, cfg_message.h);
//   - its tab's text (SetTitle), pixel values scaled from a 6 x 13 pixel base character
//     to the dialog font (GetSafePixelX/Y), and the enabling of all its labels;
//   - the list-and-form layout: a list on the left and a form on the right filling the
//     page whenever it is sized (EnableAutoResizeListAndForm).
//
// The list-and-form layout, with mx / my the pixels of 3 horizontal / 4 vertical dialog
// units and W x H the client size: the form keeps its width w and stands at
// (W − w − mx, my), H − 2·my high; the list stands at (mx, my), as high, and reaches to
// 2·my before the form's left edge (the suite's layout measures that gap with the
// vertical margin). Without a form the list spans the page between the horizontal
// margins (W − 2·mx). No width or height ever comes out below 0.
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/proppage.h"

class CAcsUser;
class CfgMessage;
class CZynDatabase;

class BaseConfigPage : public CPropertyPage {
    DECLARE_DYNCREATE(BaseConfigPage)
public:
    // The standard empty page template (10000), page ID 0.
    BaseConfigPage();
    BaseConfigPage(UINT nIDTemplate, LONG nPageID);
    ~BaseConfigPage() override;

    // ---- identity -------------------------------------------------------------------------------------
    void SetID(LONG nID) { m_nPageID = nID; }
    LONG GetID() const { return m_nPageID; }

    // ---- overridables, in the suite's order -------------------------------------------------------------
    // The help ID of a control at a point; 0 by default.
    virtual ULONG GetHelpID(int nControlID, CPoint& point);
    // The page's own operator; a null argument is ignored (the page keeps its operator).
    virtual void SetUser(CAcsUser* pUser);
    // The page operator's database when the page has an operator, else the application's.
    virtual CZynDatabase* Database() const;
    // The page's own operator, else the application's logged-in one (null: nobody).
    virtual CAcsUser* User() const;
    // A configuration message reached the screen (the document's view update); nothing by
    // default.
    virtual void UpdateCfg(LONG lHint, const CfgMessage* pMsg);
    // Tells the panel drivers (WM_ZYN_UPDATEPANELDRIVERS only).
    virtual void UpdatePanelDrivers(CfgMessage& msg);

    // ---- reports ---------------------------------------------------------------------------------------
    // Hand a failure to the application's exception handler (bShow non-zero: shown); the
    // button the operator pressed, 0 when nothing was shown. The exception stays the
    // caller's.
    int HandleException(CException* pException, int bShow);
    int HandleException(const wchar_t* lpszText, CException* pException, int bShow);
    int HandleException(UINT nIDMessage, CException* pException, int bShow);
    // Tells the application (and with bAll the panel drivers first) of a change.
    void UpdateApp(CfgMessage& msg, int bAll);
    // The main window's status text (WM_ZYN_STATUSTEXT).
    void UpdateStatusBar(const wchar_t* lpszText);

    // ---- look ------------------------------------------------------------------------------------------
    // The text of this page's tab on its sheet (nothing when the page is on no sheet).
    void SetTitle(const wchar_t* lpszText);
    // A pixel value laid out for a 6 x 13 pixel character, in the page's dialog font
    // (unchanged while the page has no window).
    int GetSafePixelX(int nValue) const;
    int GetSafePixelY(int nValue) const;
    // Enables or disables every label ("Static" child) of the page.
    void EnableStaticControls(int bEnable);

    // ---- the list-and-form layout -------------------------------------------------------------------------
    // The list, and the address of the caller's pointer to the current form (read at each
    // layout, so the host may switch forms); lays out at once and at every size change.
    void EnableAutoResizeListAndForm(CWnd* pList, CWnd** ppForm);
    void ResizeListAndForm();

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    // Pixels of a rectangle of dialog units on this page (the same units without a window).
    CRect DialogUnits(int cx, int cy) const;

    bool m_bAutoResize = false;
    CWnd* m_pList = nullptr;
    CWnd** m_ppForm = nullptr;
    LONG m_nPageID = 0;
    CAcsUser* m_pUser = nullptr;
};
