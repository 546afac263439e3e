#include "frames/acconfig_page.h"

#include "app/zyn_app.h"
#include "frames/acconfig_view.h"
#include "frames/cfg_message.h"
#include "platform/afx/propsheet.h"
#include "platform/afx/winapp.h"
#include "platform/base/exception.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "platform/suite/user/server_type.h"
#include "platform/suite/user/system_options.h"
#include "platform/user/msgbox.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CZynAcConfigPage, BaseConfigPage)

namespace {
// What a page reads while nobody is logged in: a fresh installation's options.
const CZynAcsSystemOptions& DefaultSystemOptions()
{
    static const CZynAcsSystemOptions options;
    return options;
}
const CZynAcsCardholderConfig& DefaultCardholderOptions()
{
    static const CZynAcsCardholderConfig options;
    return options;
}
// The server type of no known installation.
constexpr int32_t kUnknownServerType = -1;
constexpr int32_t kEnterpriseRegion = 4;
} // namespace

CZynAcConfigPage::CZynAcConfigPage() : CZynAcConfigPage(IDD_ZYN_CONFIG_PAGE, 0) {}

CZynAcConfigPage::CZynAcConfigPage(UINT nIDTemplate, LONG lValue) : BaseConfigPage(nIDTemplate, 0), m_lValue(lValue) {}

CZynAcConfigPage::~CZynAcConfigPage() = default;

void CZynAcConfigPage::DoDataExchange(CDataExchange* pDX) { BaseConfigPage::DoDataExchange(pDX); }

ULONG CZynAcConfigPage::GetHelpID(int /*nControlID*/, CPoint& /*point*/) { return 0; }

// ---- the overridables' defaults --------------------------------------------------------------------------------

void CZynAcConfigPage::SetPermissions(const CAcsUser& /*user*/)
{
    m_bViewPerm = m_bAddPerm = m_bModifyPerm = m_bDeletePerm = false;
}

int CZynAcConfigPage::CanView() { return m_bViewPerm; }
int CZynAcConfigPage::CanAdd() { return m_bAddPerm && m_state == AcCfgStateView; }
int CZynAcConfigPage::CanModify() { return m_bModifyPerm && m_state == AcCfgStateView; }
int CZynAcConfigPage::CanDelete() { return m_bDeletePerm && m_state == AcCfgStateView; }
int CZynAcConfigPage::CanClear() { return AcCfgIsEditState(m_state); }
int CZynAcConfigPage::CanCancel() { return TRUE; }
int CZynAcConfigPage::CanClose() { return TRUE; }
int CZynAcConfigPage::CanApply() { return m_bModifyPerm && m_state == AcCfgStateModify; }
bool CZynAcConfigPage::CanSegmentChange() { return true; }
bool CZynAcConfigPage::CanMultipleSelect() { return true; }
int CZynAcConfigPage::ShowButtons() { return TRUE; }
void CZynAcConfigPage::ModifyStatusString(CString& /*text*/) {}
void CZynAcConfigPage::MultipleSelect(int bMultiple) { m_bMultiSelect = bMultiple != 0; }
int CZynAcConfigPage::GetSelectedCount(LONG& /*first*/, LONG& /*second*/) { return FALSE; }
int CZynAcConfigPage::ValidateData() { return TRUE; }
int CZynAcConfigPage::Add() { return TRUE; }
int CZynAcConfigPage::Modify() { return TRUE; }
int CZynAcConfigPage::Delete() { return TRUE; }
int CZynAcConfigPage::Apply() { return TRUE; }
int CZynAcConfigPage::Clear() { return TRUE; }
void CZynAcConfigPage::Cancel() {}
int CZynAcConfigPage::ShowObject(const CZynAcObject& /*object*/) { return FALSE; }

int CZynAcConfigPage::SetState(AcCfgFormState state)
{
    m_state = state;
    if (state == AcCfgStateView)
        return TRUE;
    return CanBeEditedOnServerType();
}

int CZynAcConfigPage::CanBeEditedOnServerType()
{
    const CAcsUser* user = User();
    int32_t type = kUnknownServerType;
    int32_t named = kUnknownServerType;
    if (user) {
        const CZynAcsSystemOptions& options = user->GetSystemOptions();
        named = options.ServerType();
        type = options.IsEquivalentToEnterpriseRegion() ? kEnterpriseRegion : named;
        if (m_nonEditable.count(type) == 0)
            return TRUE;
    } else if (m_nonEditable.empty()) {
        return TRUE;
    }
    CString text;
    text.FormatMessage(IDS_ZYN_CFG_SERVER_NOT_EDITABLE, ZynGetDBServerTypeString(named).GetString());
    HandleException(text.GetString(), nullptr, TRUE);
    return FALSE;
}

HWND CZynAcConfigPage::ViewWindow() const
{
    if (!m_hWnd)
        return nullptr;
    const HWND hSheet = ::GetParent(m_hWnd);
    return hSheet ? ::GetParent(hSheet) : nullptr;
}

void CZynAcConfigPage::UpdateButtons()
{
    if (const HWND hView = ViewWindow())
        ::PostMessageW(hView, WM_ZYN_UPDATEBUTTONS, 0, 0);
}

void CZynAcConfigPage::SimulateButtonPush(UINT nID)
{
    if (const HWND hView = ViewWindow())
        ::PostMessageW(hView, WM_ZYN_MENUMESSAGE, nID, 0);
}

// ---- the page's window ---------------------------------------------------------------------------------------

BOOL CZynAcConfigPage::OnInitDialog()
{
    BaseConfigPage::OnInitDialog();
    // The rights are always those of the operator logged in: an operator given to the page
    // (SetUser) names what the page reads, but never lends its rights to whoever is
    // working at the screen.
    if (const CAcsUser* user = CZynApp::GetAppAcsUser())
        SetPermissions(*user);
    else
        m_bViewPerm = m_bAddPerm = m_bModifyPerm = m_bDeletePerm = false;
    MultipleSelect(m_bMultiSelect ? TRUE : FALSE);
    return TRUE;
}

BOOL CZynAcConfigPage::OnSetActive()
{
    const BOOL result = BaseConfigPage::OnSetActive();
    if (m_bFirstActivation) {
        m_bFirstActivation = false;
        // The first page of a configuration view's sheet: the view enters viewing itself.
        CPropertySheet* pSheet = GetParentSheet();
        CWnd* pSheetParent = pSheet ? pSheet->GetParent() : nullptr;
        const bool viewStarts = pSheet && pSheet->GetPageIndex(this) == 0 && pSheetParent &&
            pSheetParent->IsKindOf(RUNTIME_CLASS(CZynAcConfigView));
        if (!viewStarts)
            SetState(AcCfgStateView);
    }
    UpdateButtons();
    return result;
}

// ---- the operator ------------------------------------------------------------------------------------------------

bool CZynAcConfigPage::SegmentsInUse() const
{
    const CAcsUser* user = User();
    return user && user->GetSystemOptions().SegmentsInUse();
}

bool CZynAcConfigPage::SegmentAdmin() const
{
    const CAcsUser* user = User();
    return user && SegmentsInUse() && user->IsAllSegmentsUser();
}

bool CZynAcConfigPage::UseSegmentColumn() const
{
    const CAcsUser* user = User();
    return user && user->CanAccessMultipleSegments();
}

const CZynAcsSystemOptions& CZynAcConfigPage::GetSystemOptions() const
{
    const CAcsUser* user = User();
    return user ? user->GetSystemOptions() : DefaultSystemOptions();
}

const CZynAcsCardholderConfig& CZynAcConfigPage::GetCardholderOptions() const
{
    const CAcsUser* user = User();
    return user ? user->GetCardholderOptions() : DefaultCardholderOptions();
}

CString CZynAcConfigPage::SegmentName(LONG lSegmentID) const
{
    const CAcsUser* user = User();
    return user ? user->SegmentName(lSegmentID) : CString();
}

bool CZynAcConfigPage::NameExists(const wchar_t* lpszName, const wchar_t* lpszTable, const wchar_t* lpszColumn,
    LONG lSegmentID, int bShowMessage)
{
    CZynDatabase* db = Database();
    if (!db)
        return true;
    bool exists = true;
    try {
        exists = db->NameExists(lpszName, lpszTable, lpszColumn, lSegmentID == -9999 ? nullptr : L"SEGMENTID", lSegmentID);
    } catch (CException* e) {
        HandleException(IDS_ZYN_CFG_NAME_CHECK_FAILED, e, TRUE);
        e->Delete();
        return true;
    }
    if (exists && bShowMessage) {
        CString text;
        text.FormatMessage(IDS_ZYN_CFG_NAME_IN_USE, lpszName ? lpszName : L"");
        AfxMessageBox(text.GetString(), MB_OK);
    }
    return exists;
}
