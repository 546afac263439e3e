// CPropertySheet and CPropertyPage: the modal run with the pages' data exchange, pages
// added and removed before and after the window exists, modeless and child sheets, and
// the keys through a child sheet inside a dialog.
#include <memory>

#include "platform/afx/propsheet.h"
#include "platform/base/exception.h"
#include "platform/comctl/prsht.h"
#include "platform/user/vkeys.h"
#include "tests/afx/afx_dialog_test_support.h"
#include "tests/afx/propsheet_class_test_ids.h"

namespace zyn::test {
namespace {

using Log = std::vector<std::wstring>;

// A page that traces its overridables as "<name>:<event>".
class TracedPage : public CPropertyPage {
public:
    TracedPage(UINT id, const wchar_t* name, UINT caption = 0) : CPropertyPage(id, caption), m_name(name) {}
    std::wstring m_name;
    BOOL m_refuseActivation = FALSE;
    BOOL m_refuseCancel = FALSE;
    LRESULT m_siblingAnswer = 0;

    BOOL OnInitDialog() override { Add(L"init"); return CPropertyPage::OnInitDialog(); }
    BOOL OnSetActive() override
    {
        Add(L"setactive");
        return m_refuseActivation ? FALSE : CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override { Add(L"killactive"); return CPropertyPage::OnKillActive(); }
    BOOL OnApply() override { Add(L"apply"); return CPropertyPage::OnApply(); }
    void OnReset() override { Add(L"reset"); CPropertyPage::OnReset(); }
    BOOL OnQueryCancel() override { Add(L"querycancel"); return !m_refuseCancel; }
    LRESULT OnWizardNext() override { Add(L"wiznext"); return CPropertyPage::OnWizardNext(); }
    BOOL OnWizardFinish() override { Add(L"wizfinish"); return CPropertyPage::OnWizardFinish(); }

protected:
    afx_msg void OnHelpCommand() { Add(L"help"); }
    afx_msg LRESULT OnQuerySiblings(WPARAM, LPARAM)
    {
        Add(L"siblings");
        return m_siblingAnswer;
    }
    void Add(const wchar_t* what) { Trace::Add(m_name + L":" + what); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TracedPage, CPropertyPage)
    ON_MESSAGE(PSM_QUERYSIBLINGS, &TracedPage::OnQuerySiblings)
    ON_COMMAND(ID_HELP, &TracedPage::OnHelpCommand)
END_MESSAGE_MAP()

class NumberPage : public TracedPage {
public:
    NumberPage() : TracedPage(IDD_CPS_NUMBER, L"Number", IDS_CPS_NUMBER) {}
    int m_value = 5;
    int m_flag = 0;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_CPS_VALUE, m_value);
        DDV_MinMaxInt(pDX, m_value, 1, 9);
        DDX_Check(pDX, IDC_CPS_FLAG, m_flag);
    }
};

class NamePage : public TracedPage {
public:
    NamePage() : TracedPage(IDD_CPS_NAME, L"Name") {}
    CString m_name;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_CPS_NAME, m_name); }
};

class PropSheetClassTest : public AfxDialogTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(comctl::LivePropertySheetPageCount(), 0u) << "page handles leaked";
        AfxDialogTest::TearDown();
    }
    static Log TakeTrace()
    {
        Log out = Trace::Log();
        Trace::Clear();
        return out;
    }
    static void SetText(CWnd& page, int id, const wchar_t* text)
    {
        ::SetWindowTextW(::GetDlgItem(page.m_hWnd, id), text);
    }
    static void CtrlKey(int vk, bool shift = false)
    {
        user::InjectKey(VK_CONTROL, true);
        if (shift)
            user::InjectKey(VK_SHIFT, true);
        user::InjectKeyPress(vk);
        if (shift)
            user::InjectKey(VK_SHIFT, false);
        user::InjectKey(VK_CONTROL, false);
    }
    static void ClickAt(HWND hWnd)
    {
        RECT r{};
        ::GetWindowRect(hWnd, &r);
        user::InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static std::wstring TabText(CTabCtrl* tab, int i)
    {
        wchar_t buf[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buf;
        item.cchTextMax = 64;
        tab->GetItem(i, &item);
        return buf;
    }
};

TEST_F(PropSheetClassTest, DoModalRunsThePagesAndTheirDataExchange)
{
    const HWND owner = MakePlain(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CWnd ownerWnd;
    ASSERT_TRUE(ownerWnd.Attach(owner));
    NumberPage number;
    NamePage name;
    CPropertySheet sheet(IDS_CPS_CAPTION, &ownerWnd);
    sheet.AddPage(&number);
    sheet.AddPage(&name);
    Log atStart, afterSwitch;
    std::wstring shown, caption, tab0, tab1;
    int valueAfterSwitch = 0;
    bool ownerDisabled = false;
    user::QueueIdleAction([&] {
        atStart = TakeTrace();
        ownerDisabled = !::IsWindowEnabled(owner);
        shown = TextOf(::GetDlgItem(number.m_hWnd, IDC_CPS_VALUE));
        caption = TextOf(sheet.m_hWnd);
        tab0 = TabText(sheet.GetTabControl(), 0);
        tab1 = TabText(sheet.GetTabControl(), 1);
        SetText(number, IDC_CPS_VALUE, L"7");
        CtrlKey(VK_TAB);
    });
    user::QueueIdleAction([&] {
        afterSwitch = TakeTrace();
        valueAfterSwitch = number.m_value;
        SetText(name, IDC_CPS_NAME, L"Ada");
        user::InjectKeyPress(VK_RETURN);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(atStart, (Log{L"Number:init", L"Number:setactive"})) << "the second page waits for its first activation";
    EXPECT_EQ(shown, L"5") << "OnInitDialog loaded the member";
    EXPECT_EQ(caption, L"Options");
    EXPECT_EQ(tab0, L"Count") << "the caption string of the page";
    EXPECT_EQ(tab1, L"Name") << "the template's caption";
    EXPECT_EQ(afterSwitch, (Log{L"Number:killactive", L"Name:init", L"Name:setactive"}));
    EXPECT_EQ(valueAfterSwitch, 7) << "leaving the page saved its controls";
    EXPECT_EQ(TakeTrace(), (Log{L"Name:killactive", L"Number:apply", L"Name:apply"}));
    EXPECT_EQ(std::wstring(name.m_name.GetString()), L"Ada");
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(number.m_hWnd, nullptr);
    EXPECT_EQ(name.m_hWnd, nullptr);
    ownerWnd.Detach();
    ::DestroyWindow(owner);
}

TEST_F(PropSheetClassTest, AFailedExchangeOnAPageChangeKeepsThePage)
{
    NumberPage number;
    NamePage name;
    CPropertySheet sheet(L"Options");
    sheet.AddPage(&number);
    sheet.AddPage(&name);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    CPropertyPage* activeAfter = nullptr;
    int focusAfter = 0, valueAfter = 0;
    Log afterSwitch;
    user::QueueIdleAction([&] {
        TakeTrace();
        SetText(number, IDC_CPS_VALUE, L"12");
        CtrlKey(VK_TAB);
    });
    user::QueueIdleAction([&] {
        afterSwitch = TakeTrace();
        activeAfter = sheet.GetActivePage();
        focusAfter = ::GetDlgCtrlID(::GetFocus());
        valueAfter = number.m_value;
        // The field is put right and the page left after all.
        SetText(number, IDC_CPS_VALUE, L"3");
        sheet.SetActivePage(&name);
        sheet.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(afterSwitch, (Log{L"Number:killactive"})) << "the second page is not made";
    EXPECT_EQ(activeAfter, &number);
    EXPECT_EQ(focusAfter, IDC_CPS_VALUE) << "the focus is back on the failing field";
    EXPECT_EQ(valueAfter, 5) << "the member keeps its value";
    EXPECT_EQ(BoxTexts(), Log{L"Please enter an integer between 1 and 9."});
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Name:init", L"Name:setactive", L"Name:querycancel",
                               L"Number:reset", L"Name:reset"}));
    EXPECT_EQ(number.m_value, 3);
}

TEST_F(PropSheetClassTest, PagesComeAndGoBeforeAndAfterTheWindow)
{
    NumberPage a;
    NamePage b;
    TracedPage c(IDD_CPS_NAME, L"C");
    CPropertySheet sheet(L"Options");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPageIndex(&b), 1);
    EXPECT_EQ(sheet.GetPage(2), &c);
    sheet.RemovePage(&a);
    EXPECT_EQ(sheet.GetPageIndex(&a), -1);
    EXPECT_EQ(sheet.GetPageIndex(&b), 0);
    EXPECT_TRUE(sheet.SetActivePage(&c));
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_FALSE(sheet.SetActivePage(5));
    sheet.RemovePage(0); // b: the start page is still c
    EXPECT_EQ(sheet.GetActivePage(), &c);
    sheet.AddPage(&b);

    // Bad arguments are refused with the class library's exception, the pages untouched.
    struct Bad {
        const char* name;
        std::function<void()> call;
    };
    const std::vector<Bad> bad = {
        {"a null page", [&] { sheet.AddPage(nullptr); }},
        {"a page twice", [&] { sheet.AddPage(&c); }},
        {"a page not on the sheet", [&] { sheet.RemovePage(&a); }},
        {"an index past the pages", [&] { sheet.RemovePage(2); }},
        {"GetPage past the pages", [&] { sheet.GetPage(2); }},
        {"GetPage before the pages", [&] { sheet.GetPage(-1); }},
    };
    for (const Bad& row : bad) {
        SCOPED_TRACE(row.name);
        bool thrown = false;
        try {
            row.call();
        } catch (CInvalidArgException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown);
        EXPECT_EQ(sheet.GetPageCount(), 2);
    }

    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(sheet.GetActivePage(), &c);
    EXPECT_EQ(TakeTrace(), (Log{L"C:init", L"C:setactive"}));
    // Added after the window: a tab at once, a window when first shown.
    sheet.AddPage(&a);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 3);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_TRUE(sheet.SetActivePage(&a));
    EXPECT_NE(a.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    EXPECT_EQ(TakeTrace(), (Log{L"C:killactive", L"Number:init", L"Number:setactive"}));
    // A page whose template cannot be found is refused and not added.
    CPropertyPage missing(999u);
    bool refused = false;
    try {
        sheet.AddPage(&missing);
    } catch (CResourceException* e) {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 3);
    // A page that refuses its activation leaves the sheet where it was.
    b.m_refuseActivation = TRUE;
    EXPECT_FALSE(sheet.SetActivePage(1));
    EXPECT_EQ(sheet.GetActivePage(), &a);
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Name:init", L"Name:setactive"}));
    b.m_refuseActivation = FALSE;
    // Removing the active page: its window goes, the page before it takes over (without
    // being asked to let go of anything).
    sheet.RemovePage(&a);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(TakeTrace(), (Log{L"Name:setactive"}));
    EXPECT_EQ(sheet.GetActivePage(), &b);
    sheet.RemovePage(0);
    EXPECT_EQ(c.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 1);
    sheet.DestroyWindow();
    EXPECT_EQ(b.m_hWnd, nullptr);
}

TEST_F(PropSheetClassTest, APageDestroyedWhileOnASheetTakesItselfOff)
{
    NamePage kept;
    CPropertySheet sheet(L"Options");
    auto early = std::make_unique<NumberPage>();
    auto late = std::make_unique<NumberPage>();
    sheet.AddPage(early.get());
    sheet.AddPage(&kept);
    sheet.AddPage(late.get());
    early.reset(); // never shown
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(sheet.GetPage(0), &kept);
    ASSERT_TRUE(sheet.Create());
    ASSERT_TRUE(sheet.SetActivePage(1));
    TakeTrace();
    late.reset(); // the active page, with its window
    EXPECT_EQ(sheet.GetPageCount(), 1);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 1);
    EXPECT_EQ(sheet.GetActivePage(), &kept);
    EXPECT_EQ(TakeTrace(), Log{L"Name:setactive"});
    sheet.DestroyWindow();
}

TEST_F(PropSheetClassTest, AModelessSheetAppliesAndClosesOnOk)
{
    NumberPage number;
    NamePage name;
    CPropertySheet sheet(L"Options");
    sheet.AddPage(&number);
    sheet.AddPage(&name);
    sheet.m_psh.dwFlags |= PSH_HASHELP;
    number.m_psp.dwFlags |= PSP_HASHELP;
    ASSERT_TRUE(sheet.Create());
    EXPECT_TRUE(sheet.GetStyle() & WS_VISIBLE);
    // Help reaches the active page as PSN_HELP, which the page turns into ID_HELP.
    TakeTrace();
    EXPECT_TRUE(sheet.PressButton(PSBTN_HELP));
    EXPECT_EQ(TakeTrace(), Log{L"Number:help"});
    const HWND apply = ::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW);
    EXPECT_FALSE(::IsWindowEnabled(apply));
    number.SetModified();
    EXPECT_TRUE(number.IsModified());
    EXPECT_TRUE(::IsWindowEnabled(apply));
    // Siblings answer in page order; the unmade page is not asked.
    number.m_siblingAnswer = 9;
    TakeTrace();
    EXPECT_EQ(name.QuerySiblings(1, 2), 0) << "the Name page has no window";
    EXPECT_EQ(number.QuerySiblings(1, 2), 9);
    EXPECT_EQ(TakeTrace(), Log{L"Number:siblings"});
    ClickAt(apply);
    PumpTranslated();
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Number:apply"}));
    EXPECT_FALSE(number.IsModified()) << "OnApply ran OnOK";
    EXPECT_FALSE(::IsWindowEnabled(apply));
    number.CancelToClose();
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, IDCANCEL)));
    EXPECT_EQ(TextOf(::GetDlgItem(sheet.m_hWnd, IDOK)), L"Close");
    // (The focus left the disabled Apply Now for Help; Enter in the page is OK's.)
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDHELP);
    ::SetFocus(::GetDlgItem(number.m_hWnd, IDC_CPS_VALUE));
    Press(VK_RETURN);
    EXPECT_EQ(sheet.m_hWnd, nullptr) << "OK ended the modeless sheet and its window went";
    EXPECT_EQ(number.m_hWnd, nullptr);
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Number:apply"}));
}

TEST_F(PropSheetClassTest, AChildSheetTakesPartInItsDialogsTabOrder)
{
    CDialog host;
    ASSERT_TRUE(host.Create(IDD_CPS_HOST));
    host.ShowWindow(SW_SHOW);
    NumberPage number;
    NamePage name;
    CPropertySheet sheet;
    sheet.AddPage(&number);
    sheet.AddPage(&name);
    sheet.EnableStackedTabs(FALSE);
    ASSERT_TRUE(sheet.Create(&host, 0x50080000, 0));
    EXPECT_EQ(::GetParent(sheet.m_hWnd), host.m_hWnd);
    EXPECT_TRUE(sheet.GetExStyle() & WS_EX_CONTROLPARENT);
    EXPECT_EQ(::GetDlgItem(sheet.m_hWnd, IDOK), nullptr);
    EXPECT_FALSE(sheet.GetTabControl()->GetStyle() & TCS_MULTILINE) << "EnableStackedTabs(FALSE)";
    // At the host's origin; the tab control fills the sheet and the page its display area.
    RECT r{};
    sheet.GetWindowRect(&r);
    host.ScreenToClient(&r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    RECT tab{}, client{};
    sheet.GetTabControl()->GetWindowRect(&tab);
    sheet.ScreenToClient(&tab);
    sheet.GetClientRect(&client);
    EXPECT_EQ(tab.right - tab.left, client.right);
    EXPECT_EQ(tab.bottom - tab.top, client.bottom);
    RECT page{}, display = tab;
    number.GetWindowRect(&page);
    sheet.ScreenToClient(&page);
    sheet.GetTabControl()->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(page.left, display.left);
    EXPECT_EQ(page.top, display.top);
    EXPECT_EQ(page.right, display.right);
    EXPECT_EQ(page.bottom, display.bottom);

    // The host's dialog manager: its buttons, then into the sheet's page and tab control.
    ::SetFocus(::GetDlgItem(host.m_hWnd, IDC_CPS_BEFORE));
    const std::vector<int> forward = {IDC_CPS_AFTER, IDC_CPS_VALUE, IDC_CPS_FLAG, AFX_IDC_TAB_CONTROL, IDC_CPS_BEFORE};
    for (int id : forward) {
        Press(VK_TAB);
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), id);
    }
    for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) {
        user::InjectKey(VK_SHIFT, true);
        Press(VK_TAB);
        user::InjectKey(VK_SHIFT, false);
        EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), *it);
    }
    // Ctrl+Tab is the sheet's own.
    ::SetFocus(::GetDlgItem(number.m_hWnd, IDC_CPS_VALUE));
    TakeTrace();
    Press(VK_TAB, true);
    EXPECT_EQ(sheet.GetActivePage(), &name);
    EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDC_CPS_NAME);
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Name:init", L"Name:setactive"}));
    sheet.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(PropSheetClassTest, AChildSheetInAPlainWindow)
{
    const HWND parent = MakePlain(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CWnd parentWnd;
    ASSERT_TRUE(parentWnd.Attach(parent));
    NumberPage number;
    CPropertySheet sheet;
    sheet.AddPage(&number);
    EXPECT_FALSE(sheet.Create(nullptr, WS_CHILD | WS_VISIBLE, 0)) << "a child needs a parent";
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    ASSERT_TRUE(sheet.Create(&parentWnd, WS_CHILD | WS_VISIBLE, 0));
    EXPECT_TRUE(sheet.GetTabControl()->GetStyle() & TCS_MULTILINE) << "stacked tabs by default";
    EXPECT_EQ(sheet.GetActivePage(), &number);
    EXPECT_TRUE(::IsWindowVisible(number.m_hWnd));
    // OK on a child sheet applies and leaves it in place.
    TakeTrace();
    EXPECT_TRUE(sheet.PressButton(PSBTN_OK));
    EXPECT_EQ(TakeTrace(), (Log{L"Number:killactive", L"Number:apply"}));
    EXPECT_NE(sheet.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetActivePage(), &number);
    parentWnd.Detach();
    ::DestroyWindow(parent);
    EXPECT_EQ(sheet.m_hWnd, nullptr) << "the sheet went with its parent";
}

TEST_F(PropSheetClassTest, AWizardEndsWithFinish)
{
    class FinishPage : public TracedPage {
    public:
        FinishPage() : TracedPage(IDD_CPS_NAME, L"Last") {}
        BOOL OnSetActive() override
        {
            GetParentSheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
            return TracedPage::OnSetActive();
        }
    };
    NumberPage first;
    FinishPage last;
    CPropertySheet sheet(L"Wizard");
    sheet.AddPage(&first);
    sheet.AddPage(&last);
    sheet.SetWizardMode();
    user::QueueIdleAction([&] { sheet.PressButton(PSBTN_NEXT); });
    user::QueueIdleAction([&] { sheet.PressButton(PSBTN_FINISH); });
    EXPECT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(TakeTrace(), (Log{L"Number:init", L"Number:setactive", L"Number:wiznext", L"Number:killactive",
                               L"Last:init", L"Last:setactive", L"Last:wizfinish"}));
}

// A child sheet as configuration screens derive it: it owns heap pages and, when its
// window goes, removes and deletes them, the last first; it resizes the tab control and
// the made pages with itself.
class OwningSheet : public CPropertySheet {
public:
    int m_marginX = 0, m_marginY = 0;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CPropertySheet::OnInitDialog();
        RECT client{}, tab{};
        GetClientRect(&client);
        GetTabControl()->GetWindowRect(&tab);
        m_marginX = client.right - (tab.right - tab.left);
        m_marginY = client.bottom - (tab.bottom - tab.top);
        return result;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        CWnd::OnSize(nType, cx, cy);
        if (CTabCtrl* tab = GetTabControl()) {
            tab->SetWindowPos(nullptr, 0, 0, cx - m_marginX, cy - m_marginY,
                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            for (int i = 0; i < GetPageCount(); ++i)
                if (CPropertyPage* p = GetPage(i); p->m_hWnd)
                    p->SetWindowPos(nullptr, 0, 0, cx - m_marginX - 8, cy - m_marginY - 26,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    afx_msg void OnDestroy()
    {
        for (int i = GetPageCount() - 1; i >= 0; --i) {
            CPropertyPage* p = GetPage(i);
            RemovePage(i);
            Trace::Add(std::wstring(L"deleted:") + static_cast<TracedPage*>(p)->m_name);
            delete p;
        }
        CWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwningSheet, CPropertySheet)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST_F(PropSheetClassTest, ASheetThatOwnsItsPagesDeletesThemWhenItGoes)
{
    const HWND parent = MakePlain(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    CWnd parentWnd;
    ASSERT_TRUE(parentWnd.Attach(parent));
    auto sheet = std::make_unique<OwningSheet>();
    sheet->AddPage(new NumberPage);
    sheet->AddPage(new NamePage);
    ASSERT_TRUE(sheet->Create(&parentWnd, 0x50080000, 0));
    EXPECT_EQ(sheet->m_marginX, 0) << "a child sheet has no margins";
    EXPECT_EQ(sheet->m_marginY, 0);
    // Resized by its parent: the tab control follows, and so does the made page.
    sheet->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT tab{}, page{};
    sheet->GetTabControl()->GetWindowRect(&tab);
    sheet->GetPage(0)->GetWindowRect(&page);
    EXPECT_EQ(tab.right - tab.left, 400);
    EXPECT_EQ(tab.bottom - tab.top, 300);
    EXPECT_EQ(page.right - page.left, 392);
    EXPECT_EQ(page.bottom - page.top, 274);
    TakeTrace();
    sheet->DestroyWindow();
    EXPECT_EQ(TakeTrace(), (Log{L"deleted:Name", L"deleted:Number"}));
    EXPECT_EQ(sheet->GetPageCount(), 0);
    sheet.reset();
    parentWnd.Detach();
    ::DestroyWindow(parent);
}

} // namespace
} // namespace zyn::test
