// Property sheets at work: the modal run by keys and clicks, page changes and their
// vetoes, applying, cancelling and help.
#include "tests/comctl/propsheet_test_support.h"

#include "platform/user/vkeys.h"

namespace zyn::test {
namespace {

using Log = std::vector<std::wstring>;

TEST_F(PropSheetTest, ModalSheetMakesPagesLazilyAndAppliesEveryMadePageInOrder)
{
    const HWND owner = MakeHost(0, 0, 640, 480);
    std::vector<PROPSHEETPAGEW> pages = {Page(IDD_PS_ONE, L"One"), Page(IDD_PS_TWO, L"Two"),
        Page(IDD_PS_THREE, L"Three")};
    PROPSHEETHEADERW h = Header(pages, 0, owner);
    HWND sheet = nullptr;
    Log atStart, afterCtrlTab, afterClick, afterApply;
    bool ownerDisabled = false, applyEnabledAfterChange = true, applyEnabledAfterApply = true;
    int focusAtStart = 0, focusAfterCtrlTab = 0;
    user::QueueIdleAction([&] {
        sheet = GetActiveWindow();
        ownerDisabled = !IsWindowEnabled(owner);
        atStart = TakeLog();
        focusAtStart = FocusId();
        Key(nullptr, VK_TAB, true);
    });
    user::QueueIdleAction([&] {
        afterCtrlTab = TakeLog();
        focusAfterCtrlTab = FocusId();
        ClickTab(sheet, 0);
    });
    user::QueueIdleAction([&] {
        afterClick = TakeLog();
        // The first page reports a change: Apply Now comes alive.
        SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(Current(sheet)), 0);
        applyEnabledAfterChange = IsWindowEnabled(Item(sheet, IDC_PS_APPLYNOW)) != FALSE;
        ClickOn(Item(sheet, IDC_PS_APPLYNOW));
    });
    user::QueueIdleAction([&] {
        afterApply = TakeLog();
        applyEnabledAfterApply = IsWindowEnabled(Item(sheet, IDC_PS_APPLYNOW)) != FALSE;
        user::InjectKeyPress(VK_RETURN);
    });
    EXPECT_EQ(PropertySheetW(&h), 1) << "OK saved the changes";

    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(sheet));
    EXPECT_EQ(atStart, (Log{L"One:init", L"One:setactive"})) << "only the first page is made at the start";
    EXPECT_EQ(focusAtStart, IDC_PS_EDIT) << "the page's first tab stop";
    EXPECT_EQ(afterCtrlTab, (Log{L"One:killactive", L"Two:init", L"Two:setactive"}));
    EXPECT_EQ(focusAfterCtrlTab, IDC_PS_PRESS) << "the focus follows into the new page";
    EXPECT_EQ(afterClick, (Log{L"Two:killactive", L"One:setactive"})) << "a page is made once";
    EXPECT_TRUE(applyEnabledAfterChange);
    EXPECT_EQ(afterApply, (Log{L"One:killactive", L"One:apply", L"Two:apply"})) << "never made: never applied";
    EXPECT_FALSE(applyEnabledAfterApply);
    EXPECT_EQ(TakeLog(), (Log{L"One:killactive", L"One:apply-ok", L"Two:apply-ok", L"Two:destroy", L"One:destroy"}));
    DestroyWindow(owner);
}

// Page changes by every route, against the pages' vetoes (a modeless sheet, its loop
// here). Each row starts on page One with Two not made yet.
TEST_F(PropSheetTest, PageChangesAskTheOldPageAndTheNewOne)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::pair<std::wstring, UINT>, LRESULT>> answers;
        std::function<void(HWND sheet)> act;
        Log expected;
        int activeAfter;
        int tabAfter;
    };
    auto ctrlTab = [](HWND s) { Key(s, VK_TAB, true); };
    const std::vector<Row> rows = {
        {"Ctrl+Tab moves on", {}, ctrlTab, {L"One:killactive", L"Two:init", L"Two:setactive"}, 1, 1},
        {"Ctrl+PageDown moves on", {}, [](HWND s) { Key(s, VK_NEXT, true); },
            {L"One:killactive", L"Two:init", L"Two:setactive"}, 1, 1},
        {"Ctrl+Shift+Tab goes round to the last page", {}, [](HWND s) { Key(s, VK_TAB, true, true); },
            {L"One:killactive", L"Three:init", L"Three:setactive"}, 2, 2},
        {"Ctrl+PageUp goes round too", {}, [](HWND s) { Key(s, VK_PRIOR, true); },
            {L"One:killactive", L"Three:init", L"Three:setactive"}, 2, 2},
        {"a click on a tab", {}, [](HWND s) { ClickTab(s, 2); PumpSheet(s); },
            {L"One:killactive", L"Three:init", L"Three:setactive"}, 2, 2},
        {"PSM_SETCURSEL by index", {}, [](HWND s) { EXPECT_EQ(SendMessageW(s, PSM_SETCURSEL, 1, 0), TRUE); },
            {L"One:killactive", L"Two:init", L"Two:setactive"}, 1, 1},
        {"PSM_SETCURSELID by template", {},
            [](HWND s) { EXPECT_EQ(SendMessageW(s, PSM_SETCURSELID, 0, IDD_PS_THREE), TRUE); },
            {L"One:killactive", L"Three:init", L"Three:setactive"}, 2, 2},
        {"KILLACTIVE TRUE keeps the page and makes nothing", {{{L"One", PSN_KILLACTIVE}, TRUE}}, ctrlTab,
            {L"One:killactive"}, 0, 0},
        {"a veto against a click leaves the tab on the page", {{{L"One", PSN_KILLACTIVE}, TRUE}},
            [](HWND s) { ClickTab(s, 1); PumpSheet(s); }, {L"One:killactive"}, 0, 0},
        {"SETACTIVE -1 refuses: the page is made but the old one stays", {{{L"Two", PSN_SETACTIVE}, -1}}, ctrlTab,
            {L"One:killactive", L"Two:init", L"Two:setactive"}, 0, 0},
        {"PSM_SETCURSEL reports the refusal",
            {{{L"Three", PSN_SETACTIVE}, -1}},
            [](HWND s) { EXPECT_EQ(SendMessageW(s, PSM_SETCURSEL, 2, 0), FALSE); },
            {L"One:killactive", L"Three:init", L"Three:setactive"}, 0, 0},
        {"PSM_SETCURSEL to the active page tells nobody", {},
            [](HWND s) { EXPECT_EQ(SendMessageW(s, PSM_SETCURSEL, 0, 0), TRUE); }, {}, 0, 0},
        {"PSM_SETCURSEL outside the pages", {},
            [](HWND s) { EXPECT_EQ(SendMessageW(s, PSM_SETCURSEL, 7, 0), FALSE); }, {}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        answers.clear();
        for (const auto& [key, value] : row.answers)
            answers[key] = value;
        const HWND sheet = MakeModeless();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive"}));
        row.act(sheet);
        EXPECT_EQ(TakeLog(), row.expected);
        EXPECT_EQ(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Current(sheet)), 0), row.activeAfter);
        EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETCURSEL, 0, 0), row.tabAfter);
        // Exactly one page shows.
        int visible = 0;
        for (int i = 0; i < 3; ++i)
            if (HWND p = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_INDEXTOHWND, i, 0)); p && IsWindowVisible(p))
                ++visible;
        EXPECT_EQ(visible, 1);
        DestroyWindow(sheet);
        TakeLog();
    }
}

// OK and Apply Now against the pages' PSN_APPLY answers, with all three pages made and
// Three active.
TEST_F(PropSheetTest, ApplyStopsAtAPageThatRefuses)
{
    struct Row {
        const char* name;
        int button;
        LRESULT twoAnswers;
        Log expected;
        bool applied;      // the sheet reports the changes saved
        bool ended;
        int activeAfter;
    };
    const std::vector<Row> rows = {
        {"Apply Now, all accept", IDC_PS_APPLYNOW, PSNRET_NOERROR,
            {L"Three:killactive", L"One:apply", L"Two:apply", L"Three:apply"}, true, false, 2},
        {"Apply Now, INVALID selects the page", IDC_PS_APPLYNOW, PSNRET_INVALID,
            {L"Three:killactive", L"One:apply", L"Two:apply", L"Two:setactive"}, false, false, 1},
        {"Apply Now, INVALID_NOCHANGEPAGE keeps the active page", IDC_PS_APPLYNOW, PSNRET_INVALID_NOCHANGEPAGE,
            {L"Three:killactive", L"One:apply", L"Two:apply"}, false, false, 2},
        {"OK, all accept: the sheet ends", IDOK, PSNRET_NOERROR,
            {L"Three:killactive", L"One:apply-ok", L"Two:apply-ok", L"Three:apply-ok"}, true, true, -1},
        {"OK, INVALID: the sheet stays open on the page", IDOK, PSNRET_INVALID,
            {L"Three:killactive", L"One:apply-ok", L"Two:apply-ok", L"Two:setactive"}, false, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        answers.clear();
        answers[{L"Two", PSN_APPLY}] = row.twoAnswers;
        const HWND sheet = MakeModeless();
        SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
        SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(Current(sheet)), 0);
        TakeLog();
        SendMessageW(sheet, PSM_PRESSBUTTON, row.button == IDOK ? PSBTN_OK : PSBTN_APPLYNOW, 0);
        PumpSheet(sheet);
        EXPECT_EQ(TakeLog(), row.expected);
        EXPECT_EQ(SendMessageW(sheet, PSM_GETRESULT, 0, 0), row.ended ? 1 : -1);
        EXPECT_EQ(Current(sheet) == nullptr, row.ended);
        if (!row.ended) {
            EXPECT_EQ(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Current(sheet)), 0),
                row.activeAfter);
            EXPECT_EQ(IsWindowEnabled(Item(sheet, IDC_PS_APPLYNOW)) != FALSE, !row.applied)
                << "Apply Now stays enabled until a full apply";
        }
        DestroyWindow(sheet);
        TakeLog();
    }
}

TEST_F(PropSheetTest, ApplyNowFollowsChangedAndUnchangedPages)
{
    const HWND sheet = MakeModeless();
    const HWND apply = Item(sheet, IDC_PS_APPLYNOW);
    const HWND one = Current(sheet);
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    const HWND two = Current(sheet);
    EXPECT_FALSE(IsWindowEnabled(apply)) << "disabled until a page changes";
    SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(one), 0);
    SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(two), 0);
    SendMessageW(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(one), 0);
    EXPECT_TRUE(IsWindowEnabled(apply)) << "Two is still changed";
    SendMessageW(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(two), 0);
    EXPECT_FALSE(IsWindowEnabled(apply));
    // A window that is no page of this sheet changes nothing.
    SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(Tab(sheet)), 0);
    EXPECT_FALSE(IsWindowEnabled(apply));
    // A disabled Apply Now cannot be pressed.
    TakeLog();
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    EXPECT_EQ(TakeLog(), Log{});
    // PSM_APPLY is the button's work, and its answer says whether it went through.
    answers[{L"Two", PSN_KILLACTIVE}] = TRUE;
    EXPECT_EQ(SendMessageW(sheet, PSM_APPLY, 0, 0), FALSE);
    answers.clear();
    EXPECT_EQ(SendMessageW(sheet, PSM_APPLY, 0, 0), TRUE);
    EXPECT_EQ(TakeLog(), (Log{L"Two:killactive", L"Two:killactive", L"One:apply", L"Two:apply"}));
    DestroyWindow(sheet);
}

TEST_F(PropSheetTest, APageTalksToTheSheetFromItsOwnInitialisation)
{
    // Its window is not known yet while the dialog manager makes it, but the sheet knows
    // its own child.
    LRESULT indexDuringInit = -2;
    HWND sheet = nullptr;
    onInit = [&](HWND page, const std::wstring& name) {
        if (name != L"Two")
            return;
        indexDuringInit = SendMessageW(GetParent(page), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
        SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
    };
    sheet = MakeModeless();
    EXPECT_FALSE(IsWindowEnabled(Item(sheet, IDC_PS_APPLYNOW)));
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    EXPECT_EQ(indexDuringInit, 1);
    EXPECT_TRUE(IsWindowEnabled(Item(sheet, IDC_PS_APPLYNOW)));
    // A stranger's window is no page of the sheet.
    const HWND stranger = MakeHost(0, 0, 10, 10);
    EXPECT_EQ(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(stranger), 0), -1);
    DestroyWindow(stranger);
    DestroyWindow(sheet);
    TakeLog();
}

TEST_F(PropSheetTest, CancelAsksTheActivePageThenResetsEveryMadePage)
{
    struct Row {
        const char* name;
        LRESULT queryCancel;
        bool applyFirst;
        std::function<void(HWND sheet)> cancel;
        Log expected;
        bool ended;
        INT_PTR result;
    };
    auto button = [](HWND s) { ClickOn(Item(s, IDCANCEL)); PumpSheet(s); };
    const std::vector<Row> rows = {
        {"the Cancel button", 0, false, button, {L"Two:querycancel", L"One:reset", L"Two:reset"}, true, 0},
        {"Escape", 0, false, [](HWND s) { Key(s, VK_ESCAPE); }, {L"Two:querycancel", L"One:reset", L"Two:reset"},
            true, 0},
        {"the close box (WM_CLOSE)", 0, false, [](HWND s) { SendMessageW(s, WM_CLOSE, 0, 0); PumpSheet(s); },
            {L"Two:querycancel", L"One:reset", L"Two:reset"}, true, 0},
        {"QUERYCANCEL TRUE keeps it open", TRUE, false, button, {L"Two:querycancel"}, false, -1},
        {"a cancel after Apply Now still reports the saved changes", 0, true, button,
            {L"Two:querycancel", L"One:reset", L"Two:reset"}, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        answers.clear();
        answers[{L"Two", PSN_QUERYCANCEL}] = row.queryCancel;
        const HWND sheet = MakeModeless();
        SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        if (row.applyFirst)
            SendMessageW(sheet, PSM_APPLY, 0, 0);
        TakeLog();
        row.cancel(sheet);
        EXPECT_EQ(TakeLog(), row.expected);
        EXPECT_EQ(Current(sheet) == nullptr, row.ended);
        EXPECT_EQ(SendMessageW(sheet, PSM_GETRESULT, 0, 0), row.result);
        EXPECT_TRUE(IsWindow(sheet)) << "a modeless sheet waits for its owner to destroy it";
        DestroyWindow(sheet);
        TakeLog();
    }
}

TEST_F(PropSheetTest, ARestartOrRebootRequestShowsInTheResultOfSavedChanges)
{
    struct Row {
        const char* name;
        std::vector<UINT> requests;
        int button;
        INT_PTR result;
    };
    const std::vector<Row> rows = {
        {"nothing asked", {}, PSBTN_OK, 1},
        {"a restart", {PSM_RESTARTWINDOWS}, PSBTN_OK, ID_PSRESTARTWINDOWS},
        {"a reboot", {PSM_REBOOTSYSTEM}, PSBTN_OK, ID_PSREBOOTSYSTEM},
        {"a reboot outranks a later restart", {PSM_REBOOTSYSTEM, PSM_RESTARTWINDOWS}, PSBTN_OK, ID_PSREBOOTSYSTEM},
        {"nothing saved: nothing to restart for", {PSM_RESTARTWINDOWS}, PSBTN_CANCEL, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HWND sheet = MakeModeless();
        for (UINT m : row.requests)
            SendMessageW(sheet, m, 0, 0);
        SendMessageW(sheet, PSM_PRESSBUTTON, row.button, 0);
        EXPECT_EQ(SendMessageW(sheet, PSM_GETRESULT, 0, 0), row.result);
        DestroyWindow(sheet);
        TakeLog();
    }
}

TEST_F(PropSheetTest, CancelToCloseTurnsCancelOffAndOkIntoClose)
{
    const HWND sheet = MakeModeless();
    SendMessageW(sheet, PSM_CANCELTOCLOSE, 0, 0);
    wchar_t text[32] = {};
    GetWindowTextW(Item(sheet, IDOK), text, 32);
    EXPECT_EQ(std::wstring(text), L"Close");
    EXPECT_FALSE(IsWindowEnabled(Item(sheet, IDCANCEL)));
    TakeLog();
    Key(sheet, VK_ESCAPE);
    EXPECT_EQ(TakeLog(), Log{}) << "Escape finds Cancel disabled";
    EXPECT_TRUE(Current(sheet));
    DestroyWindow(sheet);
}

TEST_F(PropSheetTest, HelpIsEnabledForPagesWithHelpAndReachesTheActivePage)
{
    const HWND sheet = MakeModeless(PSH_HASHELP,
        {Page(IDD_PS_ONE, L"One", PSP_HASHELP), Page(IDD_PS_TWO, L"Two"), Page(IDD_PS_THREE, L"Three")});
    const HWND help = Item(sheet, IDHELP);
    ASSERT_TRUE(help);
    EXPECT_TRUE(IsWindowEnabled(help));
    TakeLog();
    ClickOn(help);
    PumpSheet(sheet);
    EXPECT_EQ(TakeLog(), Log{L"One:help"});
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    EXPECT_FALSE(IsWindowEnabled(help)) << "Two has no help";
    DestroyWindow(sheet);
    TakeLog();

    // Without PSH_HASHELP there is no Help button.
    const HWND plain = MakeModeless();
    EXPECT_EQ(Item(plain, IDHELP), nullptr);
    DestroyWindow(plain);
}

TEST_F(PropSheetTest, QuerySiblingsAsksMadePagesUntilOneAnswers)
{
    const HWND sheet = MakeModeless();
    SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
    TakeLog();
    EXPECT_EQ(SendMessageW(sheet, PSM_QUERYSIBLINGS, 1, 2), 0);
    EXPECT_EQ(TakeLog(), (Log{L"One:siblings", L"Three:siblings"})) << "Two was never made";
    answers[{L"One", PSM_QUERYSIBLINGS}] = 42;
    EXPECT_EQ(SendMessageW(sheet, PSM_QUERYSIBLINGS, 1, 2), 42);
    EXPECT_EQ(TakeLog(), (Log{L"One:siblings"})) << "the first answer ends the round";
    DestroyWindow(sheet);
}

TEST_F(PropSheetTest, TabWalksThePageThenTheSheetsControls)
{
    const HWND sheet = MakeModeless();
    EXPECT_EQ(FocusId(), IDC_PS_EDIT);
    // The page lies above the tab control: its controls come first, then the tab control
    // and the buttons (Apply Now is disabled, so it is no stop).
    const std::vector<int> forward = {IDC_PS_CHECK, IDC_PS_TABCONTROL, IDOK, IDCANCEL, IDC_PS_EDIT};
    for (int id : forward) {
        Key(sheet, VK_TAB);
        EXPECT_EQ(FocusId(), id);
    }
    const std::vector<int> backward = {IDCANCEL, IDOK, IDC_PS_TABCONTROL, IDC_PS_CHECK, IDC_PS_EDIT};
    for (int id : backward) {
        Key(sheet, VK_TAB, false, true);
        EXPECT_EQ(FocusId(), id);
    }
    // With the focus on the tab control, a page change leaves it there.
    Key(sheet, VK_TAB, false, true);
    Key(sheet, VK_TAB, false, true);
    Key(sheet, VK_TAB, false, true);
    ASSERT_EQ(FocusId(), IDC_PS_TABCONTROL);
    Key(sheet, VK_TAB, true);
    EXPECT_EQ(FocusId(), IDC_PS_TABCONTROL);
    EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETCURSEL, 0, 0), 1);
    // Page Three has no tab stop: from inside a page the focus lands on the tab control.
    SetFocus(Item(Current(sheet), IDC_PS_PRESS));
    Key(sheet, VK_TAB, true);
    EXPECT_EQ(FocusId(), IDC_PS_TABCONTROL);
    DestroyWindow(sheet);
    TakeLog();
}

TEST_F(PropSheetTest, APageThatDestroysTheSheetWhileToldLeavesNothingBehind)
{
    const HWND sheet = MakeModeless();
    onNotify = [sheet](HWND, const std::wstring& name, UINT code) {
        if (name == L"Two" && code == PSN_SETACTIVE)
            DestroyWindow(sheet);
    };
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 1, 0), 0);
    EXPECT_FALSE(IsWindow(sheet));
    onNotify = nullptr;
    // The pages went with the sheet, the last first.
    EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive", L"One:killactive", L"Two:init", L"Two:setactive",
                             L"Two:destroy", L"One:destroy"}));
}

} // namespace
} // namespace zyn::test
