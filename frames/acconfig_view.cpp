// CZynAcConfigView: construction, the sheet, the form-state machine, the buttons and their
// update handlers, the status text, keys and messages from the pages. The layout on a
// resize is in acconfig_view_layout.cpp.
#include "frames/acconfig_view.h"

#include "app/zyn_app.h"
#include "frames/acconfig_page.h"
#include "frames/cfg_message.h"
#include "model/zyn_acobject.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/ddx.h"
#include "platform/afx/doc.h"
#include "platform/afx/frame.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/base/resource.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/system_options.h"
#include "platform/user/accel.h"
#include "platform/user/msgbox.h"
#include "platform/user/vkeys.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CZynAcConfigView, BaseConfigView)

BEGIN_MESSAGE_MAP(CZynAcConfigView, BaseConfigView)
    ON_WM_DESTROY()
    ON_COMMAND(IDC_ZYN_CFG_ADD, &CZynAcConfigView::OnBtnAdd)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_ADD, &CZynAcConfigView::OnUpdateBtnAdd)
    ON_COMMAND(IDC_ZYN_CFG_MODIFY, &CZynAcConfigView::OnBtnModify)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_MODIFY, &CZynAcConfigView::OnUpdateBtnModify)
    ON_COMMAND(IDC_ZYN_CFG_DELETE, &CZynAcConfigView::OnBtnDelete)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_DELETE, &CZynAcConfigView::OnUpdateBtnDelete)
    ON_COMMAND(IDC_ZYN_CFG_CLEAR, &CZynAcConfigView::OnBtnClear)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_CLEAR, &CZynAcConfigView::OnUpdateBtnClear)
    ON_COMMAND(IDC_ZYN_CFG_EXIT, &CZynAcConfigView::OnBtnExit)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_EXIT, &CZynAcConfigView::OnUpdateBtnExit)
    ON_WM_SIZE()
    ON_COMMAND(IDCANCEL, &CZynAcConfigView::OnCancel)
    ON_COMMAND(IDOK, &CZynAcConfigView::OnOK)
    ON_COMMAND(IDC_ZYN_CFG_MULTISELECT, &CZynAcConfigView::OnMultiselect)
    ON_UPDATE_COMMAND_UI(IDC_ZYN_CFG_MULTISELECT, &CZynAcConfigView::OnUpdateMultiselect)
    ON_COMMAND(IDC_ZYN_CFG_HELP, &CZynAcConfigView::OnHelp)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CZynAcConfigView::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_ZYN_UPDATEBUTTONS, &CZynAcConfigView::OnZynUpdateButtons)
    ON_MESSAGE(WM_ZYN_MENUMESSAGE, &CZynAcConfigView::OnZynMenuMessage)
    ON_MESSAGE(WM_ZYN_SHOWOBJECT, &CZynAcConfigView::OnZynShowObject)
END_MESSAGE_MAP()

namespace {
void Show(CWnd& wnd, bool show)
{
    if (wnd.GetSafeHwnd())
        wnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}
bool CanPress(CWnd& wnd)
{
    return wnd.GetSafeHwnd() && wnd.IsWindowEnabled() && (wnd.GetStyle() & WS_VISIBLE);
}
} // namespace

// ---- construction ---------------------------------------------------------------------------------------------

CZynAcConfigView::CZynAcConfigView() : CZynAcConfigView(IDD_ZYN_CONFIG_VIEW) {}

CZynAcConfigView::CZynAcConfigView(UINT nIDTemplate) : BaseConfigView(nIDTemplate)
{
    // The view fits its frame around the sheet itself (CreateSheet).
    m_bNoResize = true;
    LoadAccelerators();
}

CZynAcConfigView::~CZynAcConfigView()
{
    if (m_hAccel)
        ::DestroyAcceleratorTable(m_hAccel);
}

void CZynAcConfigView::LoadAccelerators()
{
    const LPCWSTR name = MAKEINTRESOURCEW(IDR_ZYN_CONFIG_ACCEL);
    if (const HINSTANCE hInst = AfxFindResourceHandle(name, RT_ACCELERATOR))
        m_hAccel = ::LoadAcceleratorsW(hInst, name);
}

void CZynAcConfigView::DoDataExchange(CDataExchange* pDX)
{
    BaseConfigView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ZYN_CFG_MULTISELECT, m_chkMultiSelect);
    DDX_Control(pDX, IDC_ZYN_CFG_STATUS, m_stStatus);
    DDX_Control(pDX, IDC_ZYN_CFG_EXIT, m_btnExit);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_ZYN_CFG_CLEAR, m_btnClear);
    DDX_Control(pDX, IDC_ZYN_CFG_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_ZYN_CFG_MODIFY, m_btnModify);
    DDX_Control(pDX, IDC_ZYN_CFG_ADD, m_btnAdd);
    // The Help button is optional: bound once, when the template has it.
    if (!m_btnHelp.GetSafeHwnd() && !pDX->m_bSaveAndValidate && ::GetDlgItem(m_hWnd, IDC_ZYN_CFG_HELP)) {
        try {
            DDX_Control(pDX, IDC_ZYN_CFG_HELP, m_btnHelp);
        } catch (CNotSupportedException* e) {
            e->Delete();
        }
    }
}

// ---- the sheet ----------------------------------------------------------------------------------------------------

int CZynAcConfigView::AddPages() { return 0; }

int CZynAcConfigView::CreateSheet()
{
    if (!m_pSheet)
        m_pSheet = std::make_unique<CZynAcConfigSheet>(L"", nullptr, 0);
    // A failed build leaves no sheet; its destructor deletes the pages it was given.
    if (!AddPages() || !m_pSheet->Create(this, WS_CHILD | WS_VISIBLE | WS_SYSMENU, 0)) {
        m_pSheet.reset();
        return FALSE;
    }
    m_pSheet->SetWindowPos(nullptr, 2, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect sheet;
    m_pSheet->GetWindowRect(&sheet);
    m_nSheetWidth = sheet.Width();
    m_nSheetHeight = sheet.Height();
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout(TRUE);
    ResizeParentToFit(FALSE);
    ResizeParentToFit(TRUE);
    return TRUE;
}

void CZynAcConfigView::OnInitialUpdate()
{
    BaseConfigView::OnInitialUpdate();
    CreateSheet();
    AllowMultipleSelect(m_bAllowMultiSelect);
    OnCancel();
    AddToolTips();
}

void CZynAcConfigView::AddToolTips()
{
    if (!m_toolTip.GetSafeHwnd() && !m_toolTip.Create(this))
        return;
    m_toolTip.Activate(TRUE);
    const struct {
        CButton* button;
        UINT text;
    } tools[] = {{&m_btnAdd, IDS_ZYN_CFG_TIP_ADD}, {&m_btnModify, IDS_ZYN_CFG_TIP_MODIFY},
        {&m_btnDelete, IDS_ZYN_CFG_TIP_DELETE}, {&m_btnOK, IDS_ZYN_CFG_TIP_OK}, {&m_btnCancel, IDS_ZYN_CFG_TIP_CANCEL},
        {&m_btnClear, IDS_ZYN_CFG_TIP_CLEAR}, {&m_btnHelp, IDS_ZYN_CFG_TIP_HELP}, {&m_btnExit, IDS_ZYN_CFG_TIP_EXIT}};
    // A tool only for a button the template has: a tool of no window would name a window
    // the tooltip cannot track.
    for (const auto& tool : tools) {
        if (tool.button->GetSafeHwnd())
            m_toolTip.AddTool(tool.button, tool.text);
    }
}

void CZynAcConfigView::OnDestroy()
{
    if (m_pSheet) {
        if (m_pSheet->GetSafeHwnd())
            m_pSheet->DestroyWindow();
        m_pSheet.reset();
    }
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
    BaseConfigView::OnDestroy();
}

CZynAcConfigPage* CZynAcConfigView::ActivePage() const { return m_pSheet ? m_pSheet->GetActivePage() : nullptr; }

// ---- the form-state machine -------------------------------------------------------------------------------------------

int CZynAcConfigView::SetState(AcCfgFormState state)
{
    m_state = state;
    LockForm(TRUE);
    const int result = m_pSheet ? (m_pSheet->SetState(state) != 0) : TRUE;
    UpdateButtons();
    UpdateStatusText();
    if (CDocument* pDoc = GetDocument())
        pDoc->SetModifiedFlag(state != AcCfgStateView);
    return result;
}

int CZynAcConfigView::SetEditState(AcCfgFormState state)
{
    const int result = SetState(state);
    Show(m_chkMultiSelect, state == AcCfgStateView);
    if (!result)
        OnCancel();
    return result;
}

void CZynAcConfigView::LockForm(int bLock)
{
    if (m_pSheet)
        m_pSheet->DisableTabs(bLock);
    Show(m_btnAdd, !bLock);
    Show(m_btnModify, !bLock);
    Show(m_btnDelete, !bLock);
    Show(m_btnOK, bLock);
    Show(m_btnCancel, bLock);
    Show(m_btnClear, bLock && m_state != AcCfgStateDelete);
    UpdateButtons();
}

void CZynAcConfigView::OnCancel()
{
    SetStatusCtl(nullptr);
    SetState(AcCfgStateView);
    LockForm(FALSE);
    if (m_pSheet)
        m_pSheet->Cancel();
}

int CZynAcConfigView::ValidateThen(int (CZynAcConfigPage::*operation)())
{
    CZynAcConfigPage* pPage = ActivePage();
    if (!pPage || !pPage->ValidateData())
        return FALSE;
    return (pPage->*operation)() ? TRUE : FALSE;
}

int CZynAcConfigView::Add() { return ValidateThen(&CZynAcConfigPage::Add); }

int CZynAcConfigView::Modify() { return ValidateThen(&CZynAcConfigPage::Modify); }

int CZynAcConfigView::Apply() { return ValidateThen(&CZynAcConfigPage::Modify); }

int CZynAcConfigView::Delete()
{
    CZynAcConfigPage* pPage = ActivePage();
    return pPage && pPage->Delete() ? TRUE : FALSE;
}

// ---- buttons ------------------------------------------------------------------------------------------------------------

void CZynAcConfigView::OnBtnAdd()
{
    if (m_state == AcCfgStateView)
        SetEditState(AcCfgStateAdd);
}

void CZynAcConfigView::OnBtnModify()
{
    if (m_state == AcCfgStateView)
        SetEditState(AcCfgStateModify);
}

void CZynAcConfigView::OnBtnDelete()
{
    if (m_state != AcCfgStateView)
        return;
    SetEditState(AcCfgStateDelete);
    if (m_btnOK.GetSafeHwnd())
        m_btnOK.SetFocus();
}

void CZynAcConfigView::OnOK()
{
    int result = TRUE;
    switch (m_state) {
    case AcCfgStateAdd: result = Add(); break;
    case AcCfgStateModify: result = Modify(); break;
    case AcCfgStateDelete: result = Delete(); break;
    default: break;
    }
    if (result)
        OnCancel();
}

void CZynAcConfigView::OnBtnClear()
{
    if (m_pSheet)
        m_pSheet->Clear();
}

void CZynAcConfigView::OnBtnExit()
{
    if (CanClose()) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_CLOSE);
    }
}

void CZynAcConfigView::OnHelp() { OnHelpInfo(nullptr); }

void CZynAcConfigView::OnMultiselect()
{
    if (!m_pSheet)
        return;
    const bool checked = m_chkMultiSelect.GetSafeHwnd() && m_chkMultiSelect.GetCheck() != 0;
    m_pSheet->MultipleSelect(checked ? TRUE : FALSE);
    UpdateButtons();
}

// ---- update handlers -------------------------------------------------------------------------------------------------

void CZynAcConfigView::OnUpdateBtnAdd(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanAdd());
}

void CZynAcConfigView::OnUpdateBtnModify(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanModify());
}

void CZynAcConfigView::OnUpdateBtnDelete(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanDelete());
}

void CZynAcConfigView::OnUpdateBtnClear(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanClear());
}

void CZynAcConfigView::OnUpdateBtnExit(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanClose());
}

void CZynAcConfigView::OnUpdateMultiselect(CCmdUI* pCmdUI)
{
    // A box the view does not allow stays disabled as well as hidden, so its mnemonic
    // cannot reach it either.
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(m_bAllowMultiSelect && pPage && pPage->CanMultipleSelect());
}

void CZynAcConfigView::OnUpdateCancel(CCmdUI* pCmdUI)
{
    CZynAcConfigPage* pPage = ActivePage();
    pCmdUI->Enable(pPage && pPage->CanCancel());
}

LRESULT CZynAcConfigView::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CZynAcConfigView::UpdateButtons()
{
    if (CZynAcConfigPage* pPage = ActivePage()) {
        // In an edit state with buttons shown, Add/Modify/Delete keep what LockForm gave
        // them.
        if (!pPage->ShowButtons() || m_state == AcCfgStateView) {
            const bool show = pPage->ShowButtons() != 0;
            Show(m_btnAdd, show);
            Show(m_btnModify, show);
            Show(m_btnDelete, show);
        }
        if (m_bAllowMultiSelect)
            Show(m_chkMultiSelect, pPage->CanMultipleSelect());
        UpdateStatusText();
    }
    if (m_btnHelp.GetSafeHwnd())
        m_btnHelp.Invalidate();
}

// ---- status text ------------------------------------------------------------------------------------------------------

void CZynAcConfigView::SetStatusCtl(const wchar_t* lpszText)
{
    // The buttons' refreshes set the same text again and again.
    if (m_stStatus.GetSafeHwnd())
        AfxSetWindowText(m_stStatus.m_hWnd, lpszText);
}

void CZynAcConfigView::UpdateStatusText()
{
    CZynAcConfigPage* pPage = ActivePage();
    CString text;
    switch (m_state) {
    case AcCfgStateView: {
        LONG first = 0, second = 0;
        if (pPage && pPage->GetSelectedCount(first, second)) {
            CString a, b;
            a.Format(L"%d", first);
            b.Format(L"%d", second);
            text.FormatMessage(IDS_ZYN_CFG_SELECTED_COUNT, a.GetString(), b.GetString());
        }
        break;
    }
    case AcCfgStateAdd: text.LoadString(IDS_ZYN_CFG_STATUS_ADDING); break;
    case AcCfgStateModify: text.LoadString(IDS_ZYN_CFG_STATUS_MODIFYING); break;
    case AcCfgStateDelete: text.LoadString(IDS_ZYN_CFG_STATUS_DELETING); break;
    default: break;
    }
    if (pPage)
        pPage->ModifyStatusString(text);
    SetStatusCtl(text.GetString());
}

// ---- closing, help and configuration messages -------------------------------------------------------------------------

int CZynAcConfigView::CanClose()
{
    if (m_state == AcCfgStateView)
        return TRUE;
    CString title;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->GetWindowText(title);
    CString question;
    question.FormatMessage(IDS_ZYN_CFG_CLOSE_QUESTION, title.GetString());
    if (MessageBox(question.GetString(), title.GetString(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    OnCancel();
    return TRUE;
}

void CZynAcConfigView::UpdateCfg(LONG lHint, const CfgMessage* pMsg)
{
    if (m_pSheet)
        m_pSheet->UpdateCfg(lHint, pMsg);
}

ULONG CZynAcConfigView::GetHelpID(int nControlID, CPoint& point)
{
    CZynAcConfigPage* pPage = ActivePage();
    return pPage ? pPage->GetHelpID(nControlID, point) : 101;
}

int CZynAcConfigView::ShowObject(const CZynAcObject& object)
{
    if (!m_pSheet || m_state != AcCfgStateView)
        return FALSE;
    for (int i = 0; i < m_pSheet->GetPageCount(); ++i) {
        CZynAcConfigPage* pPage = m_pSheet->GetPage(i);
        if (pPage && pPage->ShowObject(object)) {
            m_pSheet->SetActivePage(i);
            return TRUE;
        }
    }
    return FALSE;
}

// ---- messages from the pages and the main window ------------------------------------------------------------------------

LRESULT CZynAcConfigView::OnZynUpdateButtons(WPARAM, LPARAM)
{
    UpdateButtons();
    return 0;
}

LRESULT CZynAcConfigView::OnZynMenuMessage(WPARAM wParam, LPARAM)
{
    switch (static_cast<UINT>(wParam)) {
    case IDCANCEL: OnCancel(); break;
    case IDC_ZYN_CFG_ADD: OnBtnAdd(); break;
    case IDC_ZYN_CFG_MODIFY: OnBtnModify(); break;
    case IDC_ZYN_CFG_DELETE: OnBtnDelete(); break;
    default: break;
    }
    return 0;
}

LRESULT CZynAcConfigView::OnZynShowObject(WPARAM, LPARAM lParam)
{
    // The main window passes the object it was given; anything but an access-control
    // object is not shown.
    auto* pObject = DYNAMIC_DOWNCAST(CZynAcObject, reinterpret_cast<CObject*>(lParam));
    if (pObject)
        ShowObject(*pObject);
    return 0;
}

BOOL CZynAcConfigView::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    if (m_hAccel) {
        // The Delete key is the focused control's while the Delete button cannot be pressed.
        const bool deleteKey = pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE;
        if (!(deleteKey && !CanPress(m_btnDelete)) && ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg))
            return TRUE;
    }
    // What the table does not take is the form's: the dialog keys (Tab through the sheet
    // into the pages, Enter, Escape, mnemonics).
    return BaseConfigView::PreTranslateMessage(pMsg);
}

// ---- the application's operator --------------------------------------------------------------------------------------

bool CZynAcConfigView::SegmentsInUse() const
{
    const CAcsUser* user = User();
    return user && user->GetSystemOptions().SegmentsInUse();
}

bool CZynAcConfigView::AllSegmentsUser() const
{
    const CAcsUser* user = User();
    return user && SegmentsInUse() && user->IsAllSegmentsUser();
}

bool CZynAcConfigView::UseSegmentColumn() const
{
    const CAcsUser* user = User();
    return user && user->CanAccessMultipleSegments();
}

CString CZynAcConfigView::SegmentName(LONG lSegmentID) const
{
    const CAcsUser* user = User();
    return user ? user->SegmentName(lSegmentID) : CString();
}
