#include "tests/cfgforms/cfgforms_support.h"

#include <array>

#include "frames/cfg_user_action.h"
#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "model/zyn_acobject.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/ddx.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/clock.h"
#include "platform/comctl/listview.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"

namespace zyn::test {

std::vector<std::wstring>& CfgTrace::Log()
{
    static std::vector<std::wstring> log;
    return log;
}

// ---- the main window ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(TestMainFrame, CMDIFrameWnd)
    ON_MESSAGE(WM_ZYN_UPDATEPANELDRIVERS, &TestMainFrame::OnPanelDrivers)
    ON_MESSAGE(WM_ZYN_UPDATEAPP, &TestMainFrame::OnUpdateApp)
    ON_MESSAGE(WM_ZYN_STATUSTEXT, &TestMainFrame::OnStatusText)
END_MESSAGE_MAP()

namespace {
MainMessage Describe(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CfgMessage*>(lParam);
    return MainMessage{message, wParam, msg->m_lType, msg->m_lValue, msg->m_lParams[0], msg->m_strText.GetString()};
}
} // namespace

LRESULT TestMainFrame::OnPanelDrivers(WPARAM wParam, LPARAM lParam)
{
    received.push_back(Describe(WM_ZYN_UPDATEPANELDRIVERS, wParam, lParam));
    return 0;
}

LRESULT TestMainFrame::OnUpdateApp(WPARAM wParam, LPARAM lParam)
{
    received.push_back(Describe(WM_ZYN_UPDATEAPP, wParam, lParam));
    return 0;
}

LRESULT TestMainFrame::OnStatusText(WPARAM, LPARAM lParam)
{
    statusTexts.emplace_back(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
    return 0;
}

// ---- the door form -------------------------------------------------------------------------------------------------

void DoorForm::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DOOR_NAME, m_name);
    DDV_MaxChars(pDX, m_name, 20);
    DDX_Text(pDX, IDC_DOOR_NUMBER, m_number);
    DDV_MinMaxInt(pDX, m_number, 1, 9999);
    DDX_Check(pDX, IDC_DOOR_ENABLED, m_enabled);
    DDX_Check(pDX, IDC_DOOR_ALARM, m_alarm);
    DDX_CBIndex(pDX, IDC_DOOR_KIND, m_kind);
}

void DoorForm::Clear()
{
    Load(Door{});
}

void DoorForm::Load(const Door& door)
{
    m_name = door.name;
    m_number = door.number;
    m_enabled = door.enabled;
    m_alarm = door.alarm;
    m_kind = door.kind;
    if (m_hWnd)
        UpdateData(FALSE);
}

Door DoorForm::Fields() const
{
    Door door;
    door.name = m_name;
    door.number = m_number;
    door.enabled = m_enabled;
    door.alarm = m_alarm;
    door.kind = m_kind;
    return door;
}

void DoorForm::EnableFields(bool enable)
{
    for (int id : {IDC_DOOR_NAME, IDC_DOOR_NUMBER, IDC_DOOR_ENABLED, IDC_DOOR_ALARM, IDC_DOOR_KIND})
        if (HWND h = ::GetDlgItem(m_hWnd, id))
            ::EnableWindow(h, enable ? TRUE : FALSE);
}

// ---- the door page ---------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(DoorPage, CZynAcConfigPage)

BEGIN_MESSAGE_MAP(DoorPage, CZynAcConfigPage)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_DOOR_LIST, &DoorPage::OnItemChanged)
END_MESSAGE_MAP()

DoorPage::DoorPage() : CZynAcConfigPage(IDD_DOOR_PAGE, 0), m_form(this)
{
    SetID(kDoorPageID);
    ++LiveCount();
}

DoorPage::~DoorPage() { --LiveCount(); }

std::vector<Door>& DoorPage::Preset()
{
    static std::vector<Door> doors;
    return doors;
}

int& DoorPage::LiveCount()
{
    static int count = 0;
    return count;
}

void DoorPage::DoDataExchange(CDataExchange* pDX)
{
    CZynAcConfigPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DOOR_LIST, m_list);
}

void DoorPage::SetPermissions(const CAcsUser& user)
{
    m_bViewPerm = user.HasPermission(kPermDoorView);
    m_bAddPerm = user.HasPermission(kPermDoorAdd);
    m_bModifyPerm = user.HasPermission(kPermDoorModify);
    m_bDeletePerm = user.HasPermission(kPermDoorDelete);
}

int DoorPage::CanModify() { return CZynAcConfigPage::CanModify() && m_selected >= 0; }

int DoorPage::CanDelete() { return CZynAcConfigPage::CanDelete() && m_selected >= 0; }

BOOL DoorPage::OnInitDialog()
{
    CZynAcConfigPage::OnInitDialog();
    m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 90);
    m_list.InsertColumn(1, L"Number", LVCFMT_LEFT, 60);
    m_form.Create(this);
    m_pForm = &m_form;
    EnableAutoResizeListAndForm(&m_list, &m_pForm);
    m_doors = Preset();
    Reload();
    Select(m_doors.empty() ? -1 : 0);
    m_form.EnableFields(false);
    return TRUE;
}

void DoorPage::Reload()
{
    m_list.DeleteAllItems();
    for (size_t i = 0; i < m_doors.size(); ++i) {
        const int item = m_list.InsertItem(static_cast<int>(i), m_doors[i].name.GetString());
        CString number;
        number.Format(L"%d", m_doors[i].number);
        m_list.SetItemText(item, 1, number.GetString());
    }
}

void DoorPage::Select(int index)
{
    m_selected = index;
    if (index >= 0 && index < static_cast<int>(m_doors.size())) {
        m_list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_form.Load(m_doors[static_cast<size_t>(index)]);
    } else {
        m_selected = -1;
        m_form.Clear();
    }
}

void DoorPage::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if ((nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED) && GetState() == AcCfgStateView &&
        nm->iItem != m_selected)
        Select(nm->iItem);
    UpdateButtons();
    *pResult = 0;
}

int DoorPage::SetState(AcCfgFormState state)
{
    const int result = CZynAcConfigPage::SetState(state);
    m_form.SetState(state);
    if (state == AcCfgStateAdd)
        m_form.Clear();
    m_form.EnableFields(result && AcCfgIsEditState(state));
    if (result && AcCfgIsEditState(state))
        ::SetFocus(::GetDlgItem(m_form.m_hWnd, IDC_DOOR_NAME));
    CfgTrace::Add(L"door state " + std::to_wstring(state));
    return result;
}

int DoorPage::ValidateData() { return m_form.ValidateData(); }

void DoorPage::Announce(LONG id, const CString& name)
{
    CString text;
    text.Format(L"%s(%d)", name.GetString(), id);
    if (CAcsUser* user = User())
        user->LogTransToDB(AcCfgFormStateToUserActionType(GetState()), kDoorObjectType, text.GetString(), id, 0, 0);
    CfgMessage msg(kTypeDoor, AcCfgFormStateToUserActionType(GetState()), 0);
    msg.m_lParams[0] = id;
    msg.m_strText = name;
    UpdateApp(msg, TRUE);
}

int DoorPage::Add()
{
    Door door = m_form.Fields();
    CZynDatabase* db = Database();
    const bool stored = db && db->IsOpen();
    if (stored && NameExists(door.name.GetString(), L"TEST_DOOR", L"NAME", -9999, TRUE))
        return FALSE;
    door.id = m_doors.empty() ? 1 : m_doors.back().id + 1;
    if (stored) {
        using zyn::afx::DbValue;
        const std::array<DbValue, 6> params{DbValue(int32_t{door.id}), DbValue(door.name), DbValue(int32_t{door.number}),
            DbValue(int32_t{door.enabled}), DbValue(int32_t{door.alarm}), DbValue(int32_t{door.kind})};
        try {
            db->ExecuteSQL(L"INSERT INTO TEST_DOOR (ID, NAME, NUMBER, ENABLED, ALARM, KIND) VALUES (?, ?, ?, ?, ?, ?)", params);
        } catch (CException* e) {
            HandleException(L"The door could not be added.", e, TRUE);
            e->Delete();
            return FALSE;
        }
    }
    m_doors.push_back(door);
    Reload();
    Announce(door.id, door.name);
    Select(static_cast<int>(m_doors.size()) - 1);
    return TRUE;
}

int DoorPage::Modify()
{
    if (m_selected < 0)
        return FALSE;
    Door door = m_form.Fields();
    Door& current = m_doors[static_cast<size_t>(m_selected)];
    door.id = current.id;
    CZynDatabase* db = Database();
    if (db && db->IsOpen()) {
        using zyn::afx::DbValue;
        const std::array<DbValue, 6> params{DbValue(door.name), DbValue(int32_t{door.number}), DbValue(int32_t{door.enabled}),
            DbValue(int32_t{door.alarm}), DbValue(int32_t{door.kind}), DbValue(int32_t{door.id})};
        try {
            db->ExecuteSQL(L"UPDATE TEST_DOOR SET NAME = ?, NUMBER = ?, ENABLED = ?, ALARM = ?, KIND = ? WHERE ID = ?", params);
        } catch (CException* e) {
            HandleException(L"The door could not be changed.", e, TRUE);
            e->Delete();
            return FALSE;
        }
    }
    current = door;
    Reload();
    Announce(door.id, door.name);
    Select(m_selected);
    return TRUE;
}

int DoorPage::Delete()
{
    if (m_selected < 0)
        return FALSE;
    const Door door = m_doors[static_cast<size_t>(m_selected)];
    CZynDatabase* db = Database();
    if (db && db->IsOpen()) {
        const std::array<zyn::afx::DbValue, 1> params{zyn::afx::DbValue(int32_t{door.id})};
        try {
            db->ExecuteSQL(L"DELETE FROM TEST_DOOR WHERE ID = ?", params);
        } catch (CException* e) {
            HandleException(L"The door could not be deleted.", e, TRUE);
            e->Delete();
            return FALSE;
        }
    }
    m_doors.erase(m_doors.begin() + m_selected);
    Reload();
    Announce(door.id, door.name);
    Select(m_doors.empty() ? -1 : 0);
    return TRUE;
}

int DoorPage::Clear()
{
    m_form.Clear();
    CfgTrace::Add(L"door clear");
    return TRUE;
}

void DoorPage::Cancel()
{
    // Back to what is stored: the selected door as it was.
    Select(m_selected);
    m_form.EnableFields(false);
    CfgTrace::Add(L"door cancel");
}

int DoorPage::GetSelectedCount(LONG& first, LONG& second)
{
    first = m_selected >= 0 ? 1 : 0;
    second = static_cast<LONG>(m_doors.size());
    return TRUE;
}

void DoorPage::UpdateCfg(LONG lHint, const CfgMessage* /*pMsg*/) { m_cfgHints.push_back(lHint); }

int DoorPage::ShowObject(const CZynAcObject& object)
{
    if (object.GetType() != kTypeDoor)
        return FALSE;
    for (size_t i = 0; i < m_doors.size(); ++i) {
        if (m_doors[i].id == object.GetID()) {
            Select(static_cast<int>(i));
            return TRUE;
        }
    }
    return FALSE;
}

ULONG DoorPage::GetHelpID(int nControlID, CPoint& /*point*/) { return 5000u + static_cast<ULONG>(nControlID); }

// ---- the zone page ---------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(ZonePage, CZynAcConfigPage)

ZonePage::ZonePage() : CZynAcConfigPage(IDD_ZONE_PAGE, 0) { SetID(kZonePageID); }

ZonePage::~ZonePage() = default;

void ZonePage::SetPermissions(const CAcsUser& /*user*/)
{
    m_bViewPerm = m_bAddPerm = m_bModifyPerm = m_bDeletePerm = true;
}

int ZonePage::SetState(AcCfgFormState state)
{
    CfgTrace::Add(L"zone state " + std::to_wstring(state));
    return CZynAcConfigPage::SetState(state);
}

void ZonePage::DoDataExchange(CDataExchange* pDX)
{
    CZynAcConfigPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ZONE_NAME, m_name);
    DDX_Check(pDX, IDC_ZONE_ARMED, m_armed);
}

// ---- the knob page -----------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(KnobPage, CZynAcConfigPage)

KnobPage::KnobPage(LONG id, UINT nIDTemplate) : CZynAcConfigPage(nIDTemplate, 0) { SetID(id); }

KnobPage::~KnobPage() { CfgTrace::Add(L"knob deleted " + std::to_wstring(GetID())); }

void KnobPage::DoDataExchange(CDataExchange* pDX)
{
    CZynAcConfigPage::DoDataExchange(pDX);
    if (::GetDlgItem(m_hWnd, IDC_KNOB_EDIT))
        DDX_Text(pDX, IDC_KNOB_EDIT, m_text);
}

void KnobPage::SetPermissions(const CAcsUser& user)
{
    if (grantAll)
        m_bViewPerm = m_bAddPerm = m_bModifyPerm = m_bDeletePerm = true;
    else
        CZynAcConfigPage::SetPermissions(user);
}

int KnobPage::SetState(AcCfgFormState state)
{
    CfgTrace::Add(L"knob state " + std::to_wstring(state));
    const int result = CZynAcConfigPage::SetState(state);
    return refuseEdits && state != AcCfgStateView ? FALSE : result;
}

int KnobPage::ValidateData()
{
    CfgTrace::Add(L"knob validate");
    return validate;
}

int KnobPage::Add()
{
    CfgTrace::Add(L"knob add");
    return operation;
}

int KnobPage::Modify()
{
    CfgTrace::Add(L"knob modify");
    return operation;
}

int KnobPage::Delete()
{
    CfgTrace::Add(L"knob delete");
    return operation;
}

int KnobPage::Clear()
{
    CfgTrace::Add(L"knob clear");
    return TRUE;
}

void KnobPage::Cancel() { CfgTrace::Add(L"knob cancel"); }

int KnobPage::GetSelectedCount(LONG& first, LONG& second)
{
    if (selectedFirst < 0)
        return FALSE;
    first = selectedFirst;
    second = selectedSecond;
    return TRUE;
}

void KnobPage::ModifyStatusString(CString& text) { text += statusSuffix; }

void KnobPage::MultipleSelect(int bMultiple)
{
    multipleSelect = bMultiple;
    CZynAcConfigPage::MultipleSelect(bMultiple);
}

// ---- the view ------------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(HostView, CZynAcConfigView)

HostView::HostView() : CZynAcConfigView(IDD_HOST_VIEW)
{
    ++LiveCount();
    SetTitle(IDS_DOOR_TITLE);
}

HostView::~HostView() { --LiveCount(); }

std::function<int(CZynAcConfigSheet&)>& HostView::MakePages()
{
    static std::function<int(CZynAcConfigSheet&)> make;
    return make;
}

int& HostView::LiveCount()
{
    static int count = 0;
    return count;
}

BOOL HostView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CZynAcConfigView::PreCreateWindow(cs);
}

int HostView::AddPages()
{
    CZynAcConfigSheet* sheet = GetSheet();
    if (MakePages())
        return MakePages()(*sheet);
    sheet->AddPage(new DoorPage);
    sheet->AddPage(new ZonePage);
    return TRUE;
}

// ---- the fixture ----------------------------------------------------------------------------------------------------------

void CfgFormsTest::SetUp()
{
    user::ResetWindowSystemForTests();
    gdi::ResetDesktop(1280, 1024);
    gdi::ResetSystemColors();
    gdi::ResetSystemMetrics();
    base::Clock::UseVirtual(50000);
    user::SetScriptedMode(true);
    user::AnswerScript::Clear();
    AfxUnlockTempMaps();
    CfgTrace::Clear();
    HostView::MakePages() = nullptr;
    DoorPage::Preset().clear();
    m_gdiObjects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();

    m_app = std::make_unique<HostApp>();
    m_app->SetCurrentSkin(L"Classic");
    m_main = new TestMainFrame; // deletes itself with its window
    ASSERT_TRUE(m_main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 900, 700)));
    m_app->m_pMainWnd = m_main;
    m_template = new CMultiDocTemplate(0, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame),
        RUNTIME_CLASS(HostView));
    m_app->AddDocTemplate(m_template); // the application deletes it
    ASSERT_TRUE(m_app->AddView(kDoorViewCommand, 0, RUNTIME_CLASS(HostView), m_template, {kPermDoorView}, {kTypeDoor}));
}

void CfgFormsTest::TearDown()
{
    if (m_main && ::IsWindow(m_main->m_hWnd)) {
        m_app->SetDoingAutoLogout(true); // closes without questions
        m_app->CloseAllDocuments(TRUE);
        m_main->DestroyWindow();
    }
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    m_app->LogoutOperator();
    m_app.reset();
    AfxUnlockTempMaps();
    EXPECT_EQ(HostView::LiveCount(), 0) << "views left";
    EXPECT_EQ(DoorPage::LiveCount(), 0) << "pages left";
    EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows left";
    EXPECT_EQ(user::AnswerScript::PendingTotal(), 0u) << "scripted answers left unused";
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    EXPECT_EQ(gdi::LiveObjectCount(), m_gdiObjects) << "GDI objects leaked";
    user::AnswerScript::Clear();
    user::ResetWindowSystemForTests();
    HostView::MakePages() = nullptr;
    DoorPage::Preset().clear();
    CfgTrace::Clear();
}

std::unique_ptr<CAcsUser> CfgFormsTest::MakeOperator(std::vector<LONG> permissions, CZynDatabase* pDatabase)
{
    auto user = std::make_unique<CAcsUser>(42, L"operator");
    for (LONG p : permissions)
        user->AddPermission(p);
    user->SetDatabase(pDatabase ? pDatabase : &m_noDatabase);
    return user;
}

HostView* CfgFormsTest::OpenDoorView(std::vector<LONG> permissions, CZynDatabase* pDatabase)
{
    m_app->LoginOperator(MakeOperator(std::move(permissions), pDatabase));
    m_frame = m_app->OpenView(kTypeDoor);
    if (!m_frame)
        return nullptr;
    m_view = DYNAMIC_DOWNCAST(HostView, m_frame->GetActiveView());
    Pump();
    Idle();
    return m_view;
}

void CfgFormsTest::Idle()
{
    m_app->OnIdle(0);
    Pump();
}

void CfgFormsTest::Pump()
{
    zyn::test::PumpTranslated();
}

void CfgFormsTest::Press(int vk, bool ctrl, bool shift)
{
    zyn::test::InjectChord(vk, ctrl, shift);
    Pump();
}

void CfgFormsTest::Click(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump();
}

void CfgFormsTest::Type(const std::wstring& text)
{
    user::InjectText(text);
    Pump();
}

std::wstring CfgFormsTest::TextOf(HWND hWnd)
{
    wchar_t buf[512] = {};
    ::GetWindowTextW(hWnd, buf, 512);
    return buf;
}

HWND CfgFormsTest::Item(int id) const { return m_view ? ::GetDlgItem(m_view->m_hWnd, id) : nullptr; }

bool CfgFormsTest::Shown(int id) const
{
    const HWND h = Item(id);
    return h && (::GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE);
}

bool CfgFormsTest::Enabled(int id) const
{
    const HWND h = Item(id);
    return h && ::IsWindowEnabled(h);
}

} // namespace zyn::test
