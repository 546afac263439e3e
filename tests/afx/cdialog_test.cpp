// CDialog: the modal run through the dialog manager (initialisation, Enter and Escape,
// a failed validation, scripted answers, templates in memory), modeless dialogs,
// pre-translation inside the modal loop, the dialog operations, colour reflection,
// command routing to the owner and notification results.
#include <cstring>
#include <functional>

#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/gdi/wingdi.h"
#include "tests/afx/afx_dialog_test_support.h"

namespace zyn::test {
namespace {

// IDD_SMALL with one text member, tracing its steps.
class SmallDialog : public CDialog {
public:
    explicit SmallDialog(CWnd* pParent = nullptr) : CDialog(IDD_SMALL, pParent) {}
    CString m_text = L"initial";
    int m_maxChars = 100;
    std::function<BOOL(MSG*)> preTranslate;

    BOOL OnInitDialog() override
    {
        Trace::Add(L"init");
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEXT, m_text);
        DDV_MaxChars(pDX, m_text, m_maxChars);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (preTranslate && preTranslate(pMsg))
            return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void OnOK() override
    {
        Trace::Add(L"ok");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        Trace::Add(L"cancel");
        CDialog::OnCancel();
    }
};

class CDialogTest : public AfxDialogTest {
protected:
    void SetUp() override
    {
        AfxDialogTest::SetUp();
        m_owner = MakePlain(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ::SetActiveWindow(m_owner);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_owner);
        AfxDialogTest::TearDown();
    }
    static std::vector<user::ShownRecord> Dialogs()
    {
        std::vector<user::ShownRecord> out;
        for (const auto& rec : user::AnswerScript::Shown())
            if (rec.kind == user::AnswerKind::Dialog)
                out.push_back(rec);
        return out;
    }

    HWND m_owner = nullptr;
};

// ---- the modal run --------------------------------------------------------------------------------------------

TEST_F(CDialogTest, EnterRunsOnOkWhichSavesTheMembersAndEndsTheRun)
{
    CWnd* pOwner = CWnd::FromHandle(m_owner);
    SmallDialog dlg(pOwner);
    bool ownerEnabled = true, visible = false;
    int focus = 0;
    std::wstring shown;
    user::QueueIdleAction([&] {
        const HWND hDlg = dlg.m_hWnd;
        ownerEnabled = ::IsWindowEnabled(m_owner) != FALSE;
        visible = ::IsWindowVisible(hDlg) != FALSE;
        focus = ::GetDlgCtrlID(::GetFocus());
        shown = TextOf(::GetDlgItem(hDlg, IDC_TEXT));
        ::SetWindowTextW(::GetDlgItem(hDlg, IDC_TEXT), L"typed");
        user::InjectKeyPress(VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"init", L"ok"}));
    EXPECT_EQ(std::wstring(dlg.m_text.GetString()), L"typed");
    EXPECT_EQ(shown, L"initial") << "OnInitDialog loaded the member";
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(visible);
    EXPECT_EQ(focus, IDC_TEXT) << "the first tab stop";
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the window is gone and the object detached";
    EXPECT_TRUE(::IsWindowEnabled(m_owner));
    const auto recs = Dialogs();
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].text, L"Small");
    EXPECT_EQ(recs[0].owner, m_owner);
    EXPECT_EQ(recs[0].result, IDOK);
    EXPECT_FALSE(recs[0].scripted);
}

TEST_F(CDialogTest, EscapeAndTheScriptEndTheRun)
{
    struct Row {
        const char* name;
        std::function<void(SmallDialog&)> arrange;
        INT_PTR result;
        std::vector<std::wstring> trace;
        bool scripted;
    };
    const std::vector<Row> rows = {
        {"Escape runs OnCancel",
            [](SmallDialog& dlg) {
                user::QueueIdleAction([&dlg] {
                    ::SetWindowTextW(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), L"dropped");
                    user::InjectKeyPress(VK_ESCAPE);
                });
            },
            IDCANCEL, {L"init", L"cancel"}, false},
        {"a scripted answer ends it before OnOK",
            [](SmallDialog&) { user::AnswerScript::Push(user::AnswerKind::Dialog, IDOK); }, IDOK, {L"init"}, true},
        {"a dry script is a cancel", [](SmallDialog&) {}, IDCANCEL, {L"init"}, false},
    };
    for (const Row& row : rows) {
        Trace::Clear();
        user::AnswerScript::Clear();
        SmallDialog dlg(CWnd::FromHandle(m_owner));
        row.arrange(dlg);
        EXPECT_EQ(dlg.DoModal(), row.result) << row.name;
        EXPECT_EQ(Trace::Log(), row.trace) << row.name;
        EXPECT_EQ(std::wstring(dlg.m_text.GetString()), L"initial") << row.name << ": nothing saved";
        const auto recs = Dialogs();
        ASSERT_EQ(recs.size(), 1u) << row.name;
        EXPECT_EQ(recs[0].scripted, row.scripted) << row.name;
        EXPECT_TRUE(::IsWindowEnabled(m_owner)) << row.name;
    }
}

TEST_F(CDialogTest, AFailedValidationKeepsTheDialogOpenWithTheFocusOnTheField)
{
    SmallDialog dlg(CWnd::FromHandle(m_owner));
    dlg.m_text = L"ab";
    dlg.m_maxChars = 3;
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    bool openAfterOk = false;
    int focusAfterOk = 0;
    std::pair<int, int> selection;
    user::QueueIdleAction([&] {
        ::SetWindowTextW(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), L"toolong");
        ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDOK));
        user::InjectKeyPress(VK_RETURN);
    });
    user::QueueIdleAction([&] {
        openAfterOk = ::IsWindowVisible(dlg.m_hWnd) != FALSE;
        focusAfterOk = ::GetDlgCtrlID(::GetFocus());
        selection = SelectionOf(::GetDlgItem(dlg.m_hWnd, IDC_TEXT));
        user::InjectKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"init", L"ok", L"cancel"}));
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(focusAfterOk, IDC_TEXT);
    EXPECT_EQ(selection, (std::pair<int, int>{0, 7})) << "all of \"toolong\" selected";
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Please enter no more than 3 characters."});
    EXPECT_EQ(std::wstring(dlg.m_text.GetString()), L"ab");
}

TEST_F(CDialogTest, TemplatesThatCannotRunAnswerMinusOne)
{
    CDialog missing(4711u);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    CDialog noTemplate;
    EXPECT_EQ(noTemplate.DoModal(), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // A modeless window of the object is open: no modal run beside it.
    SmallDialog open;
    ASSERT_TRUE(open.Create(IDD_SMALL));
    EXPECT_EQ(open.DoModal(), -1);
    open.DestroyWindow();
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(CDialogTest, TemplatesInMemoryRunModally)
{
    const HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_SMALL), RT_DIALOG);
    const HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(IDD_SMALL), RT_DIALOG);
    ASSERT_NE(hRes, nullptr);
    const DWORD size = ::SizeofResource(hInst, hRes);
    const void* bytes = ::LockResource(::LoadResource(hInst, hRes));
    const HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(hCopy), bytes, size);
    ::GlobalUnlock(hCopy);
    for (const bool byHandle : {true, false}) {
        Trace::Clear();
        SmallDialog dlg;
        dlg.m_lpszTemplateName = nullptr;
        ASSERT_TRUE(byHandle ? dlg.InitModalIndirect(hCopy)
                             : dlg.InitModalIndirect(static_cast<LPCDLGTEMPLATE>(bytes)));
        user::QueueIdleAction([&] {
            ::SetWindowTextW(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), byHandle ? L"by handle" : L"by pointer");
            user::InjectKeyPress(VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(std::wstring(dlg.m_text.GetString()), byHandle ? L"by handle" : L"by pointer");
    }
    ::GlobalFree(hCopy);
    EXPECT_FALSE(CDialog().InitModalIndirect(static_cast<LPCDLGTEMPLATE>(nullptr)));
}

TEST_F(CDialogTest, TheModalLoopOffersMessagesToPreTranslateMessage)
{
    SmallDialog dlg(CWnd::FromHandle(m_owner));
    int f2 = 0;
    dlg.preTranslate = [&](MSG* pMsg) {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2) {
            ++f2;
            return TRUE;
        }
        return FALSE;
    };
    int focusAfterTab = 0;
    user::QueueIdleAction([&] {
        user::InjectKeyPress(VK_F2);
        user::InjectKeyPress(VK_TAB);
    });
    user::QueueIdleAction([&] {
        focusAfterTab = ::GetDlgCtrlID(::GetFocus());
        user::InjectKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(f2, 1);
    EXPECT_EQ(focusAfterTab, IDOK) << "Tab went through CDialog's IsDialogMessage";
}

TEST_F(CDialogTest, AnOwnerlessDialogIsCentredInTheWorkArea)
{
    ::DestroyWindow(m_owner);
    m_owner = nullptr;
    SmallDialog dlg;
    RECT rc{};
    user::QueueIdleAction([&] {
        ::GetWindowRect(dlg.m_hWnd, &rc);
        user::InjectKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    EXPECT_EQ(rc.left, (mi.rcWork.left + mi.rcWork.right) / 2 - cx / 2);
    EXPECT_EQ(rc.top, (mi.rcWork.top + mi.rcWork.bottom) / 2 - cy / 2);
}

// ---- modeless dialogs and operations --------------------------------------------------------------------------

TEST_F(CDialogTest, AModelessDialogTakesKeysThroughPreTranslateMessage)
{
    SmallDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SMALL, CWnd::FromHandle(m_owner)));
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"init"});
    EXPECT_EQ(dlg.m_nIDHelp, static_cast<UINT>(IDD_SMALL));
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the template is not WS_VISIBLE";
    dlg.ShowWindow(SW_SHOW);
    dlg.SetActiveWindow();
    dlg.GotoDlgCtrl(dlg.GetDlgItem(IDC_TEXT));
    Press(VK_TAB);
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDOK);
    ::SetWindowTextW(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), L"modeless");
    Press(VK_RETURN);
    EXPECT_EQ(Trace::Log(), (std::vector<std::wstring>{L"init", L"ok"}));
    EXPECT_EQ(std::wstring(dlg.m_text.GetString()), L"modeless");
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "EndDialog does not destroy a modeless dialog";
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(Dialogs().empty()) << "modeless dialogs are not recorded as modal runs";
}

TEST_F(CDialogTest, FocusDefaultButtonAndDialogUnits)
{
    SmallDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SMALL));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetActiveWindow();
    dlg.GotoDlgCtrl(dlg.GetDlgItem(IDCANCEL));
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDCANCEL);
    dlg.NextDlgCtrl();
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDC_TEXT) << "the tab order wraps";
    dlg.PrevDlgCtrl();
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDCANCEL);
    EXPECT_EQ(dlg.GetNextDlgTabItem(dlg.GetDlgItem(IDC_TEXT))->GetDlgCtrlID(), IDOK);
    EXPECT_EQ(dlg.GetNextDlgTabItem(dlg.GetDlgItem(IDC_TEXT), TRUE)->GetDlgCtrlID(), IDCANCEL);

    dlg.SetDefID(IDCANCEL);
    EXPECT_EQ(dlg.GetDefID(), static_cast<DWORD>(MAKELONG(IDCANCEL, DC_HASDEFID)));

    // The edit's template rectangle (7, 7, 100 x 12 units) in pixels.
    RECT units{7, 7, 107, 19};
    dlg.MapDialogRect(&units);
    RECT placed{};
    ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), &placed);
    ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(::EqualRect(&units, &placed));
    dlg.DestroyWindow();
}

// Colours: the dialog's handler for its controls, the control's own for itself.
class ColourStatic : public CStatic {
public:
    afx_msg HBRUSH CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ColourDialog : public SmallDialog {
public:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        const HBRUSH reflected = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        if (pWnd && CWnd::FromHandlePermanent(pWnd->m_hWnd))
            return reflected; // the control chose
        return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourDialog, SmallDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(CDialogTest, ColoursGoToTheControlsOwnObjectFirst)
{
    ColourDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SMALL));
    ColourStatic own;
    ASSERT_TRUE(own.SubclassDlgItem(IDOK, &dlg));
    const HDC hdc = ::GetDC(dlg.m_hWnd);
    const auto ask = [&](int id) {
        return reinterpret_cast<HBRUSH>(::SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
            reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, id))));
    };
    EXPECT_EQ(ask(IDOK), static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(ask(IDCANCEL), static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    ::ReleaseDC(dlg.m_hWnd, hdc);
    own.UnsubclassWindow();
    dlg.DestroyWindow();
}

// Commands the dialog leaves go to its owner; notifications answer through the map and
// DWLP_MSGRESULT alike.
class OwnerWnd : public CWnd {
public:
    afx_msg void OnOwnerCommand() { Trace::Add(L"owner"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnerWnd, CWnd)
    ON_COMMAND(ID_OWNER_COMMAND, &OwnerWnd::OnOwnerCommand)
END_MESSAGE_MAP()

class NotifyDialog : public SmallDialog {
public:
    using SmallDialog::SmallDialog;
    afx_msg void OnTextNotify(NMHDR*, LRESULT* pResult) { *pResult = 77; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotifyDialog, SmallDialog)
    ON_NOTIFY(1234, IDC_TEXT, &NotifyDialog::OnTextNotify)
END_MESSAGE_MAP()

TEST_F(CDialogTest, CommandsReachTheOwnerAndNotificationsAnswerBothWays)
{
    OwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, kPlainClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    NotifyDialog dlg(&owner);
    ASSERT_TRUE(dlg.Create(IDD_SMALL, &owner));
    Trace::Clear();
    dlg.SendMessage(WM_COMMAND, ID_OWNER_COMMAND, 0);
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"owner"});
    // The dialog's own button IDs are not passed on.
    Trace::Clear();
    dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Trace::Log(), std::vector<std::wstring>{L"cancel"});

    NMHDR nm{};
    nm.hwndFrom = ::GetDlgItem(dlg.m_hWnd, IDC_TEXT);
    nm.idFrom = IDC_TEXT;
    nm.code = 1234;
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IDC_TEXT, reinterpret_cast<LPARAM>(&nm)), 77);
    EXPECT_EQ(::GetWindowLongPtrW(dlg.m_hWnd, DWLP_MSGRESULT), 77);
    dlg.DestroyWindow();
    owner.DestroyWindow();
}

} // namespace
} // namespace zyn::test
