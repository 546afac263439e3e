// The configuration view's form-state machine driven by its buttons, the pages' posted
// messages and keys: which buttons show and are enabled in each state (through the idle
// pass), a page refusing an edit, a failed OK keeping the edit, the status text, the
// multi-select box, tooltips, help, the Delete key and the objects the main window hands
// over.
#include "frames/cfg_user_action.h"
#include "model/zyn_acobject.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/frame_help.h"
#include "platform/comctl/prsht.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "resources/resource.h"
#include "tests/cfgforms/cfgforms_support.h"

namespace zyn::test {
namespace {

constexpr int kAdd = IDC_ZYN_CFG_ADD, kModify = IDC_ZYN_CFG_MODIFY, kDelete = IDC_ZYN_CFG_DELETE,
              kClear = IDC_ZYN_CFG_CLEAR, kExit = IDC_ZYN_CFG_EXIT, kMulti = IDC_ZYN_CFG_MULTISELECT,
              kStatus = IDC_ZYN_CFG_STATUS, kHelp = IDC_ZYN_CFG_HELP;

// One knob page (and a second, plain one) on the sheet.
KnobPage* g_knob = nullptr;
void UseKnobPages(std::function<void(KnobPage&)> tune = nullptr)
{
    HostView::MakePages() = [tune](CZynAcConfigSheet& sheet) {
        auto* knob = new KnobPage;
        if (tune)
            tune(*knob);
        g_knob = knob;
        sheet.AddPage(knob);
        sheet.AddPage(new KnobPage(kKnobPageID + 1, IDD_WIDE_PAGE));
        return TRUE;
    };
}

class ConfigViewTest : public CfgFormsTest {
public:
    void SetUp() override
    {
        CfgFormsTest::SetUp();
        g_knob = nullptr;
    }
    HostView* OpenKnobs(std::function<void(KnobPage&)> tune = nullptr)
    {
        UseKnobPages(std::move(tune));
        HostView* view = OpenDoorView({kPermDoorView});
        CfgTrace::Clear();
        return view;
    }
    void Button(int id)
    {
        m_view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
        Pump();
        Idle();
    }
    // Shown and enabled, as the operator sees the row.
    std::string RowText() const
    {
        std::string s;
        for (const auto& [id, name] : std::vector<std::pair<int, const char*>>{{kAdd, "add"}, {kModify, "modify"},
                 {kDelete, "delete"}, {IDOK, "ok"}, {IDCANCEL, "cancel"}, {kClear, "clear"}}) {
            if (Shown(id))
                s += std::string(s.empty() ? "" : " ") + name + (Enabled(id) ? "" : "(off)");
        }
        return s;
    }
};

TEST_F(ConfigViewTest, OpensThroughTheRegistryViewingWithItsTitleAndTheRowBelowTheSheet)
{
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd}), nullptr);
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
    ASSERT_NE(m_view->GetSheet(), nullptr);
    EXPECT_EQ(m_view->GetSheet()->GetPageCount(), 2);
    EXPECT_EQ(TextOf(m_frame->m_hWnd), L"Door configuration");
    EXPECT_FALSE(m_view->GetDocument()->IsModified());
    // Only Add: the door list is empty, so there is nothing to change or delete.
    EXPECT_EQ(RowText(), "add modify(off) delete(off)");
    // The row stands 2 pixels below the sheet as made (or 30 above the bottom, lower).
    CRect sheet, add, client;
    m_view->GetSheet()->GetWindowRect(&sheet);
    ::GetWindowRect(Item(kAdd), &add);
    m_view->ScreenToClient(&sheet);
    m_view->ScreenToClient(&add);
    m_view->GetClientRect(&client);
    EXPECT_EQ(add.top, std::max(m_view->GetCreatedSheetSize().cy + 2, client.Height() - 30));
    EXPECT_EQ(sheet.left, 2);
    EXPECT_EQ(sheet.top, 0);
    // Exit at the right edge, 10 pixels in.
    CRect exit;
    ::GetWindowRect(Item(kExit), &exit);
    m_view->ScreenToClient(&exit);
    EXPECT_EQ(exit.right, client.Width() - 10);
    EXPECT_EQ(exit.top, add.top);
}

TEST_F(ConfigViewTest, TheRowNeverRisesAboveTheSheetAndTheSheetNeverShrinksBelowItsMake)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    // Sizes the view's client area, as its frame would.
    auto sizeClient = [&](int cx, int cy) {
        CRect window, client;
        m_view->GetWindowRect(&window);
        m_view->GetClientRect(&client);
        m_view->SetWindowPos(nullptr, 0, 0, cx + window.Width() - client.Width(), cy + window.Height() - client.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    auto rectOf = [&](CWnd* w) {
        CRect r;
        w->GetWindowRect(&r);
        m_view->ScreenToClient(&r);
        return r;
    };
    const CSize made = m_view->GetCreatedSheetSize();
    m_view->SetScrollSizes(MM_TEXT, CSize(1, 1)); // no scroll bars to take from the client
    // A client 100 high and a sheet made 200 high: the row stands at 202.
    m_view->SetCreatedSheetHeight(200);
    sizeClient(600, 100);
    EXPECT_EQ(rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_ADD)).top, 202);
    EXPECT_EQ(rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_MULTISELECT)).top, 205);
    EXPECT_EQ(rectOf(m_view->GetSheet()), CRect(2, 0, 595, 200)) << "at least as high as made";
    m_view->SetCreatedSheetHeight(made.cy);
    // Narrower than the sheet was made: it keeps that width; taller: the row goes down to
    // 30 above the bottom and the sheet follows it.
    sizeClient(made.cx - 40, made.cy + 200);
    const int row = made.cy + 200 - 30;
    EXPECT_EQ(rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_ADD)).top, row);
    EXPECT_EQ(rectOf(m_view->GetSheet()), CRect(2, 0, 2 + made.cx, row - 2));
    const CRect exit = rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_EXIT));
    EXPECT_EQ(exit.right, made.cx - 40 - 10);
    // Exit has come left over where the status text starts: the text shrinks to nothing,
    // never to a negative width.
    const CRect squeezed = rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_STATUS));
    EXPECT_GT(squeezed.left, exit.left - 5);
    EXPECT_EQ(squeezed.Width(), 0);
    // Wide again: the text ends 5 pixels before Exit, its left edge where it was.
    sizeClient(made.cx + 200, made.cy + 200);
    const CRect wideExit = rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_EXIT));
    EXPECT_EQ(wideExit.right, made.cx + 200 - 10);
    const CRect status = rectOf(m_view->GetDlgItem(IDC_ZYN_CFG_STATUS));
    EXPECT_EQ(status.left, squeezed.left);
    EXPECT_EQ(status.right, wideExit.left - 5);
    EXPECT_EQ(rectOf(m_view->GetSheet()), CRect(2, 0, made.cx + 200 - 5, row - 2));

    // Without auto-resize, the double-byte fix rescales the sheet once from the dialog font
    // to a 6 x 13 character (the sheet's font: 8 points of "MS Shell Dlg").
    m_view->AutoResizeSheet(FALSE);
    m_view->FixDoubleByteLayout(TRUE);
    const CRect before = rectOf(m_view->GetSheet());
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(m_view->GetSheet()->m_hWnd, &units);
    sizeClient(700, made.cy + 100);
    const CRect after = rectOf(m_view->GetSheet());
    EXPECT_EQ(after.TopLeft(), before.TopLeft()) << "sized, not moved";
    EXPECT_EQ(after.Width(), MulDiv(before.right, 6, units.right) - MulDiv(before.left, 6, units.right));
    EXPECT_EQ(after.Height(), MulDiv(before.bottom, 13, units.bottom) - MulDiv(before.top, 13, units.bottom));
    sizeClient(720, made.cy + 120);
    EXPECT_EQ(rectOf(m_view->GetSheet()), after) << "once only";
}

TEST_F(ConfigViewTest, EachButtonAndMenuMessageMovesTheStateOnlyFromViewing)
{
    struct Row {
        const char* name;
        AcCfgFormState from;
        std::function<void(ConfigViewTest&)> act;
        AcCfgFormState to;
        std::vector<std::wstring> trace;
    };
    auto button = [](int id) { return [id](ConfigViewTest& t) { t.Button(id); }; };
    auto menu = [](int id) {
        return [id](ConfigViewTest& t) {
            g_knob->SimulateButtonPush(static_cast<UINT>(id));
            t.Pump();
        };
    };
    const Row rows[] = {
        {"Add", AcCfgStateView, button(kAdd), AcCfgStateAdd, {L"knob state 2"}},
        {"Modify", AcCfgStateView, button(kModify), AcCfgStateModify, {L"knob state 3"}},
        {"Delete", AcCfgStateView, button(kDelete), AcCfgStateDelete, {L"knob state 4"}},
        {"2062 Add", AcCfgStateView, menu(kAdd), AcCfgStateAdd, {L"knob state 2"}},
        {"2062 Delete", AcCfgStateView, menu(kDelete), AcCfgStateDelete, {L"knob state 4"}},
        {"Add while modifying", AcCfgStateModify, button(kAdd), AcCfgStateModify, {}},
        {"2062 Modify while adding", AcCfgStateAdd, menu(kModify), AcCfgStateAdd, {}},
        {"2062 Delete while adding", AcCfgStateAdd, menu(kDelete), AcCfgStateAdd, {}},
        {"2062 of an unknown button", AcCfgStateAdd, menu(10016), AcCfgStateAdd, {}},
        {"OK adding", AcCfgStateAdd, button(IDOK), AcCfgStateView,
            {L"knob validate", L"knob add", L"knob state 0", L"knob cancel"}},
        {"OK modifying", AcCfgStateModify, button(IDOK), AcCfgStateView,
            {L"knob validate", L"knob modify", L"knob state 0", L"knob cancel"}},
        {"OK deleting: no validation", AcCfgStateDelete, button(IDOK), AcCfgStateView,
            {L"knob delete", L"knob state 0", L"knob cancel"}},
        {"OK viewing", AcCfgStateView, button(IDOK), AcCfgStateView, {L"knob state 0", L"knob cancel"}},
        {"Cancel", AcCfgStateModify, button(IDCANCEL), AcCfgStateView, {L"knob state 0", L"knob cancel"}},
        {"2062 Cancel", AcCfgStateDelete, menu(IDCANCEL), AcCfgStateView, {L"knob state 0", L"knob cancel"}},
        {"Escape", AcCfgStateAdd, [](ConfigViewTest&) { Press(VK_ESCAPE); }, AcCfgStateView,
            {L"knob state 0", L"knob cancel"}},
        {"Clear", AcCfgStateAdd, button(kClear), AcCfgStateAdd, {L"knob clear"}},
    };
    ASSERT_NE(OpenKnobs(), nullptr);
    for (const Row& row : rows) {
        Button(IDCANCEL);
        if (row.from != AcCfgStateView)
            Button(row.from == AcCfgStateAdd ? kAdd : row.from == AcCfgStateModify ? kModify : kDelete);
        ASSERT_EQ(m_view->GetState(), row.from) << row.name;
        if (row.name == std::string("Escape"))
            ::SetFocus(::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT));
        CfgTrace::Clear();
        row.act(*this);
        EXPECT_EQ(m_view->GetState(), row.to) << row.name;
        EXPECT_EQ(CfgTrace::Log(), row.trace) << row.name;
        EXPECT_EQ(m_view->GetDocument()->IsModified() != FALSE, row.to != AcCfgStateView) << row.name;
    }
}

TEST_F(ConfigViewTest, TheRowAndTheTabsFollowTheState)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    CZynAcConfigSheet* sheet = m_view->GetSheet();
    const HWND tab = reinterpret_cast<HWND>(sheet->SendMessage(PSM_GETTABCONTROL));
    struct Row {
        int button;
        std::string row;
        bool tabs;
        bool multi;
    };
    const Row rows[] = {
        {IDCANCEL, "add modify delete", true, true},
        {kAdd, "ok cancel clear", false, false},
        {IDCANCEL, "add modify delete", true, true},
        {kModify, "ok cancel clear", false, false},
        {IDCANCEL, "add modify delete", true, true},
        {kDelete, "ok cancel", false, false},  // nothing to clear while deleting
    };
    m_view->AllowMultipleSelect(TRUE);
    for (const Row& row : rows) {
        Button(row.button);
        EXPECT_EQ(RowText(), row.row) << "after " << row.button;
        EXPECT_EQ(::IsWindowEnabled(tab) != FALSE, row.tabs) << "after " << row.button;
        EXPECT_EQ(Shown(kMulti), row.multi) << "after " << row.button;
    }
    // While locked, neither Ctrl+Tab nor Ctrl+Page Down leaves the page.
    ::SetFocus(::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT));
    Press(VK_TAB, true);
    Press(VK_NEXT, true);
    EXPECT_EQ(sheet->GetActivePage(), g_knob);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT));
    // Unlocked, a click on the second tab changes the page.
    Button(IDCANCEL);
    RECT second{};
    ::SendMessageW(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    ::MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&second), 2);
    user::InjectClick((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    Pump();
    EXPECT_EQ(sheet->GetActivePageID(), kKnobPageID + 1);
}

TEST_F(ConfigViewTest, AFailedOkKeepsTheEditAndARefusedStateCancelsIt)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    g_knob->validate = FALSE;
    Button(kAdd);
    CfgTrace::Clear();
    Button(IDOK);
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    EXPECT_EQ(CfgTrace::Log(), std::vector<std::wstring>{L"knob validate"}) << "no Add after a failed validation";
    g_knob->validate = TRUE;
    g_knob->operation = FALSE;
    CfgTrace::Clear();
    Button(IDOK);
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob validate", L"knob add"}));
    Button(IDCANCEL);

    // A page that refuses the edit: the view goes back to viewing at once; after a refused
    // Delete the focus is still put on OK.
    g_knob->refuseEdits = true;
    for (int button : {kAdd, kModify, kDelete}) {
        CfgTrace::Clear();
        Button(button);
        EXPECT_EQ(m_view->GetState(), AcCfgStateView) << button;
        EXPECT_EQ(RowText(), "add modify delete") << button;
        ASSERT_GE(CfgTrace::Log().size(), 3u) << button;
        EXPECT_EQ(CfgTrace::Log()[1], L"knob state 0") << button;
        EXPECT_EQ(CfgTrace::Log()[2], L"knob cancel") << button;
        EXPECT_FALSE(m_view->GetDocument()->IsModified()) << button;
    }
    EXPECT_EQ(::GetFocus(), Item(IDOK));
}

TEST_F(ConfigViewTest, APageWithoutButtonsHidesAddModifyAndDeleteInEveryState)
{
    ASSERT_NE(OpenKnobs([](KnobPage& p) { p.showButtons = FALSE; }), nullptr);
    EXPECT_EQ(RowText(), "");
    for (int button : {kAdd, kModify, kDelete}) {
        m_view->SendMessage(WM_ZYN_MENUMESSAGE, static_cast<WPARAM>(button));
        Idle();
        EXPECT_EQ(RowText(), button == kDelete ? "ok cancel" : "ok cancel clear") << button;
        Button(IDCANCEL);
        EXPECT_EQ(RowText(), "") << button;
    }
}

TEST_F(ConfigViewTest, ButtonsAreEnabledByTheActivePagesAnswersAtIdle)
{
    ASSERT_NE(OpenKnobs([](KnobPage& p) { p.grantAll = false; }), nullptr);
    // A page that grants nothing: Add, Modify and Delete stay disabled; Exit and the box follow
    // CanClose and CanMultipleSelect.
    EXPECT_EQ(RowText(), "add(off) modify(off) delete(off)");
    EXPECT_TRUE(Enabled(kExit));
    m_view->AllowMultipleSelect(TRUE);
    g_knob->canMultiSelect = false;
    Idle();
    EXPECT_FALSE(Enabled(kMulti));

    // The same through a CCmdUI of each command (the idle pass's routing).
    struct Probe : CCmdUI {
        int enabled = -1;
        void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; }
    };
    auto probe = [&](UINT id) {
        Probe p;
        p.m_nID = id;
        p.DoUpdate(m_view, FALSE);
        return p.enabled;
    };
    EXPECT_EQ(probe(kClear), 0) << "nothing to clear while viewing";
    m_view->SendMessage(WM_ZYN_MENUMESSAGE, kAdd); // refused by the permission? no: the button only
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd) << "the view's own command is not the permission check";
    EXPECT_EQ(probe(kClear), 1);
    EXPECT_EQ(probe(IDCANCEL), -1) << "OK and Cancel have no update handler";
}

TEST_F(ConfigViewTest, StatusTextByStateWithTheSelectionCountAndThePagesWord)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    EXPECT_EQ(TextOf(Item(kStatus)), L"") << "no selection count: empty";
    g_knob->selectedFirst = 1;
    g_knob->selectedSecond = 3;
    g_knob->statusSuffix = L"!";
    m_view->SendMessage(WM_ZYN_UPDATEBUTTONS);
    EXPECT_EQ(TextOf(Item(kStatus)), L"1 of 3 selected!");
    // The same text again is not set (and painted) again.
    static HWND s_status;
    static int s_sets;
    s_status = Item(kStatus);
    s_sets = 0;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        s_sets += code >= 0 && call->hwnd == s_status && call->message == WM_SETTEXT;
        return ::CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, ::GetCurrentThreadId());
    m_view->SendMessage(WM_ZYN_UPDATEBUTTONS);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(s_sets, 0);
    const struct {
        int button;
        const wchar_t* text;
    } rows[] = {{kAdd, L"Adding a new object!"}, {kModify, L"Modifying the object!"}, {kDelete, L"Deleting the object!"}};
    for (const auto& row : rows) {
        Button(row.button);
        EXPECT_EQ(TextOf(Item(kStatus)), row.text);
        Button(IDCANCEL);
        EXPECT_EQ(TextOf(Item(kStatus)), L"1 of 3 selected!");
    }
}

TEST_F(ConfigViewTest, MultiSelectBoxReachesEveryPageAndItsAbsenceMovesTheStatus)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    // Not allowed (the default): hidden, disabled, and the status text starts 10 pixels
    // right of the Help button.
    EXPECT_FALSE(Shown(kMulti));
    EXPECT_FALSE(Enabled(kMulti));
    CRect help, status;
    ::GetWindowRect(Item(kHelp), &help);
    ::GetWindowRect(Item(kStatus), &status);
    EXPECT_EQ(status.left, help.right + 10);
    m_view->AllowMultipleSelect(TRUE);
    Idle();
    EXPECT_TRUE(Shown(kMulti));
    EXPECT_TRUE(Enabled(kMulti));
    // A click sets the mode of both pages, the second never shown.
    auto* second = static_cast<KnobPage*>(m_view->GetSheet()->GetPage(1));
    ASSERT_EQ(second->GetSafeHwnd(), nullptr);
    Click(Item(kMulti));
    EXPECT_EQ(g_knob->multipleSelect, TRUE);
    EXPECT_EQ(second->multipleSelect, TRUE);
    Click(Item(kMulti));
    EXPECT_EQ(second->multipleSelect, FALSE);
}

TEST_F(ConfigViewTest, TheDeleteKeyIsTheButtonsOnlyWhileItCanBePressed)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    const HWND edit = ::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT);
    ::SetWindowTextW(edit, L"abc");
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    Press(VK_DELETE);
    EXPECT_EQ(m_view->GetState(), AcCfgStateDelete) << "the Delete button's accelerator";
    EXPECT_EQ(TextOf(edit), L"abc");
    Button(IDCANCEL);
    Button(kAdd);
    ASSERT_FALSE(Enabled(kDelete));
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    Press(VK_DELETE);
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    EXPECT_EQ(TextOf(edit), L"bc") << "the key went on to the edit";
    // Insert is Add's key, but only while viewing; plain keys reach the dialog manager.
    Press(VK_INSERT);
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    Press(VK_TAB);
    EXPECT_NE(::GetFocus(), edit) << "Tab is still the dialog manager's";
    Button(IDCANCEL);
    Press(VK_F2);
    EXPECT_EQ(m_view->GetState(), AcCfgStateModify);
}

TEST_F(ConfigViewTest, TooltipsOnlyForTheButtonsTheTemplateHas)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    CToolTipCtrl& tips = m_view->GetToolTips();
    EXPECT_EQ(tips.GetToolCount(), 8) << "with a Help button";
    CString text;
    tips.GetText(text, CWnd::FromHandle(Item(kExit)));
    EXPECT_EQ(text, L"Close this screen");
    tips.GetText(text, CWnd::FromHandle(Item(kHelp)));
    EXPECT_EQ(text, L"Help on this screen");
}

// A view on the library's standard template, which has no Help button.
class PlainView : public CZynAcConfigView {
    DECLARE_DYNCREATE(PlainView)
public:
    int AddPages() override { return HostView::MakePages()(*GetSheet()); }
};
IMPLEMENT_DYNCREATE(PlainView, CZynAcConfigView)

TEST_F(ConfigViewTest, TheStandardTemplateWithoutHelpHasSevenToolsAndStatusAfterDelete)
{
    UseKnobPages();
    m_app->LoginOperator(MakeOperator({kPermDoorView}, nullptr));
    auto* plainTemplate = new CMultiDocTemplate(0, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame),
        RUNTIME_CLASS(PlainView));
    m_app->AddDocTemplate(plainTemplate);
    CDocument* doc = plainTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    auto* view = static_cast<PlainView*>(doc->GetNextView(pos));
    EXPECT_EQ(view->GetToolTips().GetToolCount(), 7);
    CRect del, status;
    ::GetWindowRect(::GetDlgItem(view->m_hWnd, kDelete), &del);
    ::GetWindowRect(::GetDlgItem(view->m_hWnd, kStatus), &status);
    EXPECT_EQ(status.left, del.right + 10);
    // Its keys are the library's table: Insert adds.
    ::SetFocus(::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT));
    Press(VK_INSERT);
    EXPECT_EQ(view->GetState(), AcCfgStateAdd);
}

TEST_F(ConfigViewTest, HelpAsksTheActivePageAndWithoutASheetAnswers101)
{
    ASSERT_NE(OpenKnobs([](KnobPage& p) { p.helpID = 777; }), nullptr);
    afx::ClearWinHelpCalls();
    Button(kHelp);
    ASSERT_EQ(afx::WinHelpCalls().size(), 1u);
    EXPECT_EQ(afx::WinHelpCalls()[0].dwData, 777u);
    // Context help on a page's control reaches the sheet, which passes it to the view: the
    // active page is asked for that control.
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = IDC_KNOB_EDIT;
    info.hItemHandle = ::GetDlgItem(g_knob->m_hWnd, IDC_KNOB_EDIT);
    EXPECT_EQ(m_view->GetSheet()->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    ASSERT_EQ(afx::WinHelpCalls().size(), 2u);
    EXPECT_EQ(afx::WinHelpCalls()[1].dwData, 777u + IDC_KNOB_EDIT);
    EXPECT_EQ(afx::WinHelpCalls()[1].nCmd, 1u);
    CPoint pt(0, 0);
    m_view->GetSheet()->SetActivePage(1);
    static_cast<KnobPage*>(m_view->GetSheet()->GetPage(1))->helpID = 888;
    EXPECT_EQ(m_view->GetHelpID(0, pt), 888u);
}

TEST_F(ConfigViewTest, AFailedBuildLeavesNoSheetDeletesItsPagesAndDisablesEverything)
{
    HostView::MakePages() = [](CZynAcConfigSheet& sheet) {
        sheet.AddPage(new KnobPage(11));
        sheet.AddPage(new KnobPage(12));
        return FALSE;
    };
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    EXPECT_EQ(m_view->GetSheet(), nullptr);
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob deleted 12", L"knob deleted 11"}))
        << "every page deleted once, last first";
    EXPECT_EQ(RowText(), "add(off) modify(off) delete(off)");
    EXPECT_FALSE(Enabled(kExit));
    CPoint pt(0, 0);
    EXPECT_EQ(m_view->GetHelpID(0, pt), 101u);
    EXPECT_FALSE(m_view->Add());
    EXPECT_FALSE(m_view->Delete());
    EXPECT_TRUE(m_view->SetState(AcCfgStateView));
}

TEST_F(ConfigViewTest, ASheetWindowThatCannotBeMadeLeavesNoSheetAndNoPages)
{
    // The second page names a template nobody has: the sheet's window cannot be made.
    HostView::MakePages() = [](CZynAcConfigSheet& sheet) {
        sheet.AddPage(new KnobPage(13));
        sheet.AddPage(new KnobPage(14, 4999));
        return TRUE;
    };
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    EXPECT_EQ(m_view->GetSheet(), nullptr);
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob deleted 14", L"knob deleted 13"}));
    EXPECT_EQ(RowText(), "add(off) modify(off) delete(off)");
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
}

TEST_F(ConfigViewTest, TheMainWindowsObjectSelectsItsPageOnlyWhileViewing)
{
    DoorPage::Preset() = {Door{1, L"Front", 10}, Door{2, L"Back", 20}};
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    CZynAcConfigSheet* sheet = m_view->GetSheet();
    sheet->SetActivePageByID(kZonePageID);
    auto* door = static_cast<DoorPage*>(sheet->GetPageByID(kDoorPageID));
    CZynAcObject back(static_cast<ZynAcObjectType>(kTypeDoor), 2, -9999, L"Back");
    EXPECT_EQ(m_view->SendMessage(WM_ZYN_SHOWOBJECT, 0, reinterpret_cast<LPARAM>(&back)), 0);
    EXPECT_EQ(sheet->GetActivePageID(), kDoorPageID);
    EXPECT_EQ(door->m_selected, 1);
    // Another kind of object, an unknown door, a hint that is no object: nothing moves.
    CZynAcObject zone(static_cast<ZynAcObjectType>(9), 1, -9999, L"Zone");
    CZynAcObject unknown(static_cast<ZynAcObjectType>(kTypeDoor), 99, -9999, L"?");
    CfgMessage notAnObject(1, 2, 3);
    for (CObject* o : std::vector<CObject*>{&zone, &unknown, &notAnObject}) {
        sheet->SetActivePageByID(kZonePageID);
        m_view->SendMessage(WM_ZYN_SHOWOBJECT, 0, reinterpret_cast<LPARAM>(o));
        EXPECT_EQ(sheet->GetActivePageID(), kZonePageID);
    }
    // While an edit is open the screen stays where the operator is.
    sheet->SetActivePageByID(kZonePageID);
    Button(kAdd);
    CZynAcObject front(static_cast<ZynAcObjectType>(kTypeDoor), 1, -9999, L"Front");
    m_view->SendMessage(WM_ZYN_SHOWOBJECT, 0, reinterpret_cast<LPARAM>(&front));
    EXPECT_EQ(sheet->GetActivePageID(), kZonePageID);
}

TEST_F(ConfigViewTest, TheDocumentsUpdateReachesThePagesOnlyWithAConfigurationMessage)
{
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    auto* door = static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID));
    CfgMessage msg(kTypeDoor, 1, 0);
    m_view->GetDocument()->UpdateAllViews(nullptr, 17, &msg);
    CZynAcObject notAMessage(static_cast<ZynAcObjectType>(kTypeDoor), 1, -9999, L"x");
    m_view->GetDocument()->UpdateAllViews(nullptr, 18, &notAMessage);
    m_view->GetDocument()->UpdateAllViews(nullptr, 19, nullptr);
    EXPECT_EQ(door->m_cfgHints, std::vector<LONG>{17});
}

TEST_F(ConfigViewTest, ExitClosesTheFrameAfterTheQuestionWhileEditing)
{
    ASSERT_NE(OpenKnobs(), nullptr);
    Button(kModify);
    const HWND frame = m_frame->m_hWnd;
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    Button(kExit);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_EQ(m_view->GetState(), AcCfgStateModify) << "No keeps the edit";
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"The changes in Door configuration have not been saved. Discard them and close?");
    EXPECT_EQ(shown[0].caption, L"Door configuration");
    EXPECT_EQ(shown[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    Button(kExit);
    EXPECT_FALSE(::IsWindow(frame)) << "Yes cancels the edit and the frame closes without a second question";
    EXPECT_EQ(user::AnswerScript::Shown().size(), 2u);
    m_view = nullptr;
}

TEST(CfgUserAction, FormStatesMapToAuditActions)
{
    const struct {
        int state;
        CUserAction::ActionType action;
    } rows[] = {{0, CUserAction::ActionNone}, {1, CUserAction::ActionOther}, {2, CUserAction::ActionAdd},
        {3, CUserAction::ActionModify}, {4, CUserAction::ActionDelete}, {5, CUserAction::ActionNone},
        {-1, CUserAction::ActionNone}};
    for (const auto& row : rows)
        EXPECT_EQ(AcCfgFormStateToUserActionType(static_cast<AcCfgFormState>(row.state)), row.action) << row.state;
    // The numbers the audit table stores.
    EXPECT_EQ(static_cast<int>(CUserAction::ActionAdd), 1);
    EXPECT_EQ(static_cast<int>(CUserAction::ActionModify), 2);
    EXPECT_EQ(static_cast<int>(CUserAction::ActionDelete), 3);
    EXPECT_EQ(static_cast<int>(CUserAction::ActionOther), 4);
}

} // namespace
} // namespace zyn::test
