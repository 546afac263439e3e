// Dialogs: the creation and show sequences with the focus rule, modal runs on the one
// modal loop, DefDlgProc's answers, and the item helpers.
#include "platform/base/lasterror.h"
#include "tests/user/dialog_test_support.h"
#include "tests/user/msglog.h"

namespace zyn::test {
namespace {

constexpr std::string_view kTwoControls = R"(
10 DIALOGEX 0, 0, 160, 80
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Two"
FONT 8, "MS Shell Dlg"
BEGIN
    CONTROL "Label", 11, "Static", SS_LEFT, 5, 5, 40, 8
    CONTROL "", 12, "TestEdit", WS_TABSTOP, 5, 20, 60, 12
    CONTROL "OK", IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 40, 40, 14
    CONTROL "Cancel", IDCANCEL, "Button", BS_PUSHBUTTON | WS_TABSTOP, 50, 40, 40, 14
END)";

std::vector<std::string> Only(const std::vector<std::string>& lines, const std::vector<std::string>& prefixes)
{
    std::vector<std::string> out;
    for (const auto& l : lines)
        for (const auto& p : prefixes)
            if (l.rfind(p, 0) == 0) {
                out.push_back(l);
                break;
            }
    return out;
}

TEST_F(DialogTest, InitDialogThenTheFocusRuleWhenShown)
{
    struct Row {
        const char* name;
        bool initResult;
        int focusByProc;    // the control the procedure focuses itself (0: none)
        const char* focused;
        std::vector<std::string> show; // the show's activation and focus
    };
    const Row rows[] = {
        {"TRUE: the first tab stop, given when the dialog is activated", true, 0, "edit",
            {"dlg WM_SHOWWINDOW 1", "dlg WM_ACTIVATE ACTIVE 0", "cbt HCBT_SETFOCUS edit 0"}},
        // Focusing a control activated the hidden dialog already.
        {"FALSE: where the procedure put it", false, IDCANCEL, "cancel", {"dlg WM_SHOWWINDOW 1"}},
    };
    for (const Row& row : rows) {
        MsgLog log;
        log.Install();
        Answer() = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<INT_PTR> {
            if (m != WM_INITDIALOG)
                return std::nullopt;
            if (row.focusByProc)
                SetFocus(GetDlgItem(h, row.focusByProc));
            return row.initResult;
        };
        Log().clear();
        log.NameNext("dlg");
        HWND dlg = Create(kTwoControls, 10, nullptr, 77);
        ASSERT_NE(dlg, nullptr) << row.name;
        // The procedure hears the font, then WM_INITDIALOG naming the first tab stop, with
        // every control already there.
        std::vector<UINT> msgs;
        for (const Rec& r : Log())
            if (r.msg == WM_SETFONT || r.msg == WM_INITDIALOG) {
                msgs.push_back(r.msg);
                if (r.msg == WM_INITDIALOG) {
                    EXPECT_EQ(reinterpret_cast<HWND>(r.wp), GetDlgItem(dlg, 12));
                    EXPECT_EQ(r.lp, 77);
                }
            }
        EXPECT_EQ(msgs, (std::vector<UINT>{WM_SETFONT, WM_INITDIALOG})) << row.name;
        log.Name(GetDlgItem(dlg, 12), "edit");
        log.Name(GetDlgItem(dlg, IDCANCEL), "cancel");
        log.Name(GetDlgItem(dlg, IDOK), "ok");
        log.Start();
        ShowWindow(dlg, SW_SHOW);
        log.Stop();
        EXPECT_EQ(Only(log.Lines(), {"cbt HCBT_SETFOCUS", "dlg WM_ACTIVATE ", "dlg WM_SHOWWINDOW"}), row.show)
            << row.name;
        EXPECT_EQ(log.NameOf(GetFocus()), row.focused) << row.name;
        DestroyWindow(dlg);
        log.Uninstall();
    }
}

// What a dialog's creation looks like from outside: every dialog has DS_3DLOOK and
// WS_EX_CONTROLPARENT; an extended template's edits and list boxes trade WS_BORDER for
// WS_EX_CLIENTEDGE (other classes keep it); a visible modeless dialog takes the focus and
// the activation before WM_SHOWWINDOW; DialogBox disables the owner before the dialog exists.
constexpr std::string_view kBordered = R"(
30 DIALOGEX 0, 0, 160, 100
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE
FONT 8, "MS Shell Dlg"
BEGIN
    CONTROL "", 31, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 60, 12
    CONTROL "", 32, "ListBox", LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 5, 20, 60, 40
    CONTROL "", 33, "Static", SS_LEFT | WS_BORDER, 70, 5, 60, 12
END)";

TEST_F(DialogTest, CreationSequences)
{
    struct Row {
        const char* name;
        bool modal;
        std::vector<std::string> prefixes;
        std::vector<std::string> expected;
    };
    // Style 0x80c80044: WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_3DLOOK, created
    // hidden; 0x10100 WS_EX_CONTROLPARENT and the WS_EX_WINDOWEDGE a caption brings. Controls: WS_CHILD | WS_VISIBLE and their own
    // bits (less WS_BORDER 0x800000 for the edit and the list box), 0x4 WS_EX_NOPARENTNOTIFY,
    // 0x200 WS_EX_CLIENTEDGE.
    const Row rows[] = {
        {"a visible modeless dialog", false,
            {"cbt HCBT_CREATEWND", "dlg WM_INITDIALOG", "cbt HCBT_ACTIVATE", "cbt HCBT_SETFOCUS", "dlg WM_SHOWWINDOW"},
            {"cbt HCBT_CREATEWND dlg 0x80c80044 0x10100", "cbt HCBT_CREATEWND edit1 0x50010080 0x204",
                "cbt HCBT_CREATEWND list1 0x50200001 0x204", "cbt HCBT_CREATEWND label1 0x50800000 0x4",
                // SetFocus calls its hook before it activates the dialog, whose WM_ACTIVATE
                // gives the first tab stop the focus again.
                "dlg WM_INITDIALOG edit1 0", "cbt HCBT_SETFOCUS edit1 owner", "cbt HCBT_ACTIVATE dlg owner",
                "cbt HCBT_SETFOCUS edit1 owner", "dlg WM_SHOWWINDOW 1"}},
        {"a modal dialog", true, {"owner WM_ENABLE", "cbt HCBT_CREATEWND dlg", "dlg WM_INITDIALOG"},
            {"owner WM_ENABLE 0", "cbt HCBT_CREATEWND dlg 0x80c80044 0x10100", "dlg WM_INITDIALOG edit1 0",
                "owner WM_ENABLE 1"}},
    };
    for (const Row& row : rows) {
        MsgLog log;
        log.Install();
        log.NameNext("owner");
        const HWND owner = CreateWindowExW(0, MsgLog::kClass, L"", WS_POPUP | WS_VISIBLE, 300, 300, 50, 50, nullptr,
            nullptr, nullptr, nullptr);
        log.NameClass(L"Edit", "edit", false);
        log.NameClass(L"ListBox", "list", false);
        log.NameClass(L"Static", "label", false);
        Answer() = nullptr;
        log.Start();
        log.NameNext("dlg");
        HWND dlg = nullptr;
        if (row.modal) {
            const auto bytes = CompileDialog(kBordered, 30);
            EXPECT_EQ(user::DialogBoxFromBytes(bytes, nullptr, owner, &DialogTest::Proc, 0), IDCANCEL) << row.name;
        } else {
            dlg = Create(kBordered, 30, owner);
            ASSERT_NE(dlg, nullptr) << row.name;
            EXPECT_EQ(GetActiveWindow(), dlg) << row.name;
        }
        log.Stop();
        EXPECT_EQ(Only(log.Lines(), row.prefixes), row.expected) << row.name;
        if (dlg)
            DestroyWindow(dlg);
        DestroyWindow(owner);
        log.Uninstall();
    }
}

TEST_F(DialogTest, FocusIsSavedOnDeactivationAndRestored)
{
    HWND dlg = Create(kTwoControls, 10);
    ShowWindow(dlg, SW_SHOW);
    SetFocus(GetDlgItem(dlg, IDCANCEL));
    HWND other = Make(WS_POPUP | WS_VISIBLE, 300, 300, 50, 50);
    SetActiveWindow(other);
    EXPECT_EQ(GetFocus(), other);
    SetActiveWindow(dlg);
    EXPECT_EQ(FocusId(), IDCANCEL);
    // Giving the dialog itself the focus passes it on too.
    SetFocus(dlg);
    EXPECT_EQ(FocusId(), IDCANCEL);
    DestroyWindow(other);
    DestroyWindow(dlg);
}

TEST_F(DialogTest, AModalDialogDisablesItsOwnerUntilEndDialog)
{
    HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
    HWND ownerChild = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner);
    SetActiveWindow(owner);
    bool ownerEnabled = true, shown = false;
    HWND seenDialog = nullptr, seenOwner = nullptr;
    user::QueueIdleAction([&] {
        seenDialog = GetActiveWindow();
        seenOwner = GetWindow(seenDialog, GW_OWNER);
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        shown = IsWindowVisible(seenDialog) != FALSE;
        user::InjectKeyPress(VK_RETURN);
    });
    Answer() = [](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<INT_PTR> {
        if (m == WM_COMMAND && LOWORD(wp) == IDOK) {
            EndDialog(h, 42);
            return TRUE;
        }
        return std::nullopt;
    };
    // A child as the parent: the modal owner is its top-level window.
    const auto bytes = CompileDialog(kTwoControls, 10);
    EXPECT_EQ(user::DialogBoxFromBytes(bytes, nullptr, ownerChild, &DialogTest::Proc, 0), 42);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(shown);
    EXPECT_EQ(seenOwner, owner);
    EXPECT_FALSE(IsWindow(seenDialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_FALSE(rec().For(owner, {WM_ENTERIDLE}).empty()) << "the owner hears that the dialog waits";
    const auto shownRecs = user::AnswerScript::Shown();
    ASSERT_EQ(shownRecs.size(), 1u);
    EXPECT_EQ(shownRecs[0].kind, user::AnswerKind::Dialog);
    EXPECT_EQ(shownRecs[0].text, L"Two");
    EXPECT_EQ(shownRecs[0].result, 42);
    EXPECT_FALSE(shownRecs[0].scripted);
    EXPECT_TRUE(shownRecs[0].note.empty());
    DestroyWindow(owner);
}

TEST_F(DialogTest, ModalDialogsEndWithoutEndDialogAsCancel)
{
    struct Row {
        const char* name;
        std::function<void()> before;
        std::function<std::optional<INT_PTR>(HWND, UINT, WPARAM, LPARAM)> answer;
        INT_PTR result;
        bool ownerDisabledOnce;  // the owner heard WM_ENABLE FALSE
        bool scripted;
    };
    const Row rows[] = {
        {"no input left", [] {}, nullptr, IDCANCEL, true, false},
        {"a scripted answer: never shown", [] { user::AnswerScript::Push(user::AnswerKind::Dialog, 7); }, nullptr, 7,
            false, true},
        // The owner is disabled before the dialog is made, so even this one disables it.
        {"EndDialog in WM_INITDIALOG: never shown", [] {},
            [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<INT_PTR> {
                if (m == WM_INITDIALOG)
                    EndDialog(h, 5);
                return std::nullopt;
            },
            5, true, false},
        {"destroyed while modal", [] {
             user::QueueIdleAction([] { DestroyWindow(GetActiveWindow()); });
         }, nullptr, IDCANCEL, true, false},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        SetActiveWindow(owner);
        rec().Clear();
        row.before();
        Answer() = row.answer;
        const auto bytes = CompileDialog(kTwoControls, 10);
        EXPECT_EQ(user::DialogBoxFromBytes(bytes, nullptr, owner, &DialogTest::Proc, 0), row.result) << row.name;
        bool disabled = false;
        for (const Rec& r : rec().Log())
            disabled = disabled || (r.hwnd == owner && r.msg == WM_ENABLE && r.wp == FALSE);
        EXPECT_EQ(disabled, row.ownerDisabledOnce) << row.name;
        EXPECT_TRUE(IsWindowEnabled(owner)) << row.name;
        EXPECT_EQ(user::AnswerScript::Shown().back().scripted, row.scripted) << row.name;
        EXPECT_EQ(user::LiveWindowCount(), 1u) << row.name;
        DestroyWindow(owner);
    }
}

TEST_F(DialogTest, DefDlgProcAnswersThroughMsgResultOrDirectly)
{
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Answer() = [red](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<INT_PTR> {
        if (m == WM_USER + 5) {
            SetWindowLongPtrW(h, DWLP_MSGRESULT, 1234);
            return TRUE;
        }
        if (m == WM_CTLCOLORDLG)
            return reinterpret_cast<INT_PTR>(red);
        return std::nullopt;
    };
    HWND dlg = Create(kTwoControls, 10);
    EXPECT_EQ(SendMessageW(dlg, WM_USER + 5, 0, 0), 1234);
    EXPECT_EQ(SendMessageW(dlg, WM_USER + 6, 0, 0), 0);
    EXPECT_EQ(SendMessageW(dlg, WM_CTLCOLORDLG, 0, 0), reinterpret_cast<LRESULT>(red));
    EXPECT_EQ(GetWindowLongPtrW(dlg, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&DialogTest::Proc));
    SetWindowLongPtrW(dlg, DWLP_USER, 99);
    EXPECT_EQ(GetWindowLongPtrW(dlg, DWLP_USER), 99);
    wchar_t cls[16];
    GetClassNameW(dlg, cls, 16);
    EXPECT_STREQ(cls, L"#32770");
    // The background is erased with WM_CTLCOLORDLG's brush.
    SetWindowPos(dlg, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dlg, SW_SHOW);
    user::PaintPendingWindows();
    POINT inside{150, 2};
    ClientToScreen(dlg, &inside);
    EXPECT_EQ(Pixel(inside.x, inside.y), RGB(255, 0, 0));
    // WM_CLOSE is a posted click on Cancel, refused while Cancel is disabled.
    Log().clear();
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    PumpDialog(dlg);
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{IDCANCEL, BN_CLICKED}}));
    EnableWindow(GetDlgItem(dlg, IDCANCEL), FALSE);
    Log().clear();
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    PumpDialog(dlg);
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_FALSE(EndDialog(GetDlgItem(dlg, IDOK), 1)) << "a control is not a dialog";
    DestroyWindow(dlg);
    DeleteObject(red);
}

TEST_F(DialogTest, ItemNumbersTranslateOnlyWholeDecimalText)
{
    HWND dlg = Create(kTwoControls, 10);
    struct Row {
        const wchar_t* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    };
    const Row rows[] = {
        {L"  42 ", TRUE, 42, TRUE},
        {L" \t7\t", FALSE, 7, TRUE},
        {L"-17", TRUE, static_cast<UINT>(-17), TRUE},
        {L"-17", FALSE, 0, FALSE},
        {L"+5", TRUE, 5, TRUE},
        {L"4294967295", FALSE, 0xFFFFFFFFu, TRUE},
        {L"4294967296", FALSE, 0, FALSE},
        {L"2147483647", TRUE, 0x7FFFFFFFu, TRUE},
        {L"2147483648", TRUE, 0, FALSE},
        {L"-2147483648", TRUE, 0x80000000u, TRUE},
        {L"12a", TRUE, 0, FALSE},
        {L"1 2", TRUE, 0, FALSE},
        {L"", TRUE, 0, FALSE},
        {L"-", TRUE, 0, FALSE},
    };
    for (const Row& r : rows) {
        SetDlgItemTextW(dlg, 11, r.text);
        BOOL ok = 2;
        EXPECT_EQ(GetDlgItemInt(dlg, 11, &ok, r.isSigned), r.value) << "'" << r.text << "'";
        EXPECT_EQ(ok, r.translated) << "'" << r.text << "'";
    }
    wchar_t buf[16] = L"junk";
    SetDlgItemInt(dlg, 11, static_cast<UINT>(-3), TRUE);
    EXPECT_EQ(GetDlgItemTextW(dlg, 11, buf, 16), 2u);
    EXPECT_STREQ(buf, L"-3");
    SetDlgItemInt(dlg, 11, static_cast<UINT>(-3), FALSE);
    GetDlgItemTextW(dlg, 11, buf, 16);
    EXPECT_STREQ(buf, L"4294967293");
    // A missing item: nothing, and the buffer says so.
    SetLastError(0);
    EXPECT_EQ(GetDlgItemTextW(dlg, 999, buf, 16), 0u);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(GetLastError(), 1421u);
    BOOL ok = TRUE;
    EXPECT_EQ(GetDlgItemInt(dlg, 999, &ok, TRUE), 0u);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(SetDlgItemTextW(dlg, 999, L"x"));
    EXPECT_EQ(SendDlgItemMessageW(dlg, 999, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageW(dlg, 11, WM_GETTEXTLENGTH, 0, 0), 10);
    DestroyWindow(dlg);
}

TEST_F(DialogTest, CheckHelpersWorkOnTheButtonsInRange)
{
    HWND dlg = Create(R"(
20 DIALOG 0, 0, 160, 80
STYLE WS_POPUP
BEGIN
    CONTROL "a", 21, "Button", BS_RADIOBUTTON | WS_GROUP, 5, 5, 40, 10
    CONTROL "b", 22, "Button", BS_RADIOBUTTON, 5, 15, 40, 10
    CONTROL "c", 23, "Button", BS_RADIOBUTTON, 5, 25, 40, 10
    CONTROL "d", 24, "Button", BS_AUTO3STATE, 5, 35, 40, 10
END)",
        20);
    EXPECT_TRUE(CheckRadioButton(dlg, 21, 23, 22));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 21), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 22), BST_CHECKED);
    EXPECT_TRUE(CheckRadioButton(dlg, 21, 22, 21)); // 23 is outside the range: left alone
    EXPECT_EQ(IsDlgButtonChecked(dlg, 23), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 21), BST_CHECKED);
    EXPECT_FALSE(CheckRadioButton(dlg, 23, 21, 22));
    EXPECT_TRUE(CheckDlgButton(dlg, 24, BST_INDETERMINATE));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 24), BST_INDETERMINATE);
    EXPECT_FALSE(CheckDlgButton(dlg, 99, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 99), 0u);
    DestroyWindow(dlg);
}

} // namespace
} // namespace zyn::test
