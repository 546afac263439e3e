// The ComboBox control: its parts and their geometry, the drop-down list opened and closed
// by mouse and keys with CBN_* in order, placement above when the work area ends below, the
// edit field, the simple style, owner-drawn fields and the drop button's picture.
#include "platform/base/clock.h"
#include "tests/user/ctl_test_support.h"
#include "tests/user/msglog.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;

class ComboTest : public CtlTest {
protected:
    HWND Combo(DWORD kind, int x = 10, int y = 10, int cy = 200, DWORD extra = 0, UINT id = 100)
    {
        HWND c = Ctl(L"ComboBox", kind | WS_VSCROLL | extra, x, y, 150, cy, id);
        for (const wchar_t* s : {L"red", L"green", L"blue", L"cyan", L"magenta", L"yellow"})
            SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        return c;
    }
    static COMBOBOXINFO Info(HWND c)
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetComboBoxInfo(c, &info));
        return info;
    }
    static int CurSel(HWND c) { return static_cast<int>(SendMessageW(c, CB_GETCURSEL, 0, 0)); }
    static bool Dropped(HWND c) { return SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    // Clicks the drop button.
    void ClickButton(HWND c)
    {
        const RECT b = Info(c).rcButton;
        Clock::Advance(1000);
        Click(c, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
        Pump();
    }
    // Clicks item i of the dropped list.
    void ClickListItem(HWND c, int i)
    {
        const HWND list = Info(c).hwndList;
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        Clock::Advance(1000);
        Click(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Pump();
    }
};

TEST_F(ComboTest, PartsAndGeometryOfEachKind)
{
    const int field = Metrics(nullptr).tmHeight + 2;
    const struct {
        DWORD kind;
        bool edit;
        bool popupList;
    } rows[] = {{CBS_SIMPLE, true, false}, {CBS_DROPDOWN, true, true}, {CBS_DROPDOWNLIST, false, true}};
    for (const auto& r : rows) {
        HWND c = Combo(r.kind);
        const COMBOBOXINFO info = Info(c);
        EXPECT_EQ(info.hwndCombo, c);
        EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), field) << r.kind;
        EXPECT_EQ(info.rcItem.bottom - info.rcItem.top, field) << r.kind;
        RECT wr{};
        GetWindowRect(c, &wr);
        wchar_t cls[32] = {};
        GetClassNameW(info.hwndList, cls, 32);
        EXPECT_EQ(std::wstring(cls), L"ComboLBox");
        if (r.edit) {
            EXPECT_NE(info.hwndItem, c);
            EXPECT_EQ(GetDlgCtrlID(info.hwndItem), 1001) << r.kind;
            EXPECT_EQ(GetParent(info.hwndItem), c);
        } else {
            EXPECT_EQ(info.hwndItem, c);
        }
        if (r.popupList) {
            // As high as its field (2-pixel sunken edge, 1-pixel gap); the height asked for
            // is the height dropped.
            EXPECT_EQ(wr.bottom - wr.top, field + 6) << r.kind;
            // The dropped list is a child of the desktop, with the list's ID.
            EXPECT_TRUE(GetWindowLongPtrW(info.hwndList, GWL_STYLE) & WS_CHILD);
            EXPECT_EQ(GetAncestor(info.hwndList, GA_PARENT), GetDesktopWindow());
            EXPECT_EQ(GetDlgCtrlID(info.hwndList), 1000);
            EXPECT_FALSE(IsWindowVisible(info.hwndList));
            RECT dropped{};
            SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            EXPECT_EQ(dropped.top, wr.top);
            EXPECT_EQ(dropped.bottom, wr.top + 200);
            // The button: a scroll arrow's width, inside the edge at the right.
            EXPECT_EQ(info.rcButton.right - info.rcButton.left, GetSystemMetrics(SM_CXVSCROLL));
            EXPECT_EQ(info.rcButton.right, 150 - 2);
            EXPECT_EQ(info.stateButton, 0u);
        } else {
            EXPECT_EQ(wr.bottom - wr.top, 200);
            EXPECT_EQ(GetDlgCtrlID(info.hwndList), 1000);
            EXPECT_EQ(GetParent(info.hwndList), c);
            EXPECT_TRUE(IsWindowVisible(info.hwndList));
            EXPECT_EQ(info.stateButton, STATE_SYSTEM_INVISIBLE);
        }
        DestroyWindow(c);
        EXPECT_FALSE(IsWindow(info.hwndList)) << "the list goes with its combo box";
    }
    COMBOBOXINFO bad{};
    bad.cbSize = 3;
    SetLastError(0);
    EXPECT_FALSE(GetComboBoxInfo(parent, &bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ComboTest, DroppedByTheButtonChosenWithTheMouse)
{
    HWND c = Combo(CBS_DROPDOWNLIST);
    SendMessageW(c, CB_SETCURSEL, 1, 0);
    ClearLog();
    ClickButton(c);
    ASSERT_TRUE(Dropped(c));
    const COMBOBOXINFO info = Info(c);
    EXPECT_EQ(GetFocus(), c);
    EXPECT_EQ(GetCapture(), info.hwndList);
    RECT wr{}, lr{};
    GetWindowRect(c, &wr);
    GetWindowRect(info.hwndList, &lr);
    EXPECT_EQ(lr.top, wr.bottom) << "below";
    EXPECT_EQ(lr.left, wr.left);
    // Its six items inside the 1-pixel border, whatever height the combo box was given.
    const int item = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(lr.bottom - lr.top, 6 * item + 2);
    EXPECT_EQ(GetActiveWindow(), parent) << "the list takes no activation";
    // The mouse over an item lights it; a click there chooses it.
    RECT r3{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r3));
    MoveTo(info.hwndList, 10, r3.top + 2);
    Pump();
    EXPECT_EQ(SendMessageW(info.hwndList, LB_GETCURSEL, 0, 0), 3);
    ClickListItem(c, 3);
    EXPECT_FALSE(Dropped(c));
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CurSel(c), 3);
    EXPECT_EQ(Text(c), L"cyan");
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SETFOCUS", "CBN_DROPDOWN", "CBN_SELENDOK", "CBN_CLOSEUP",
                           "CBN_SELCHANGE"}));
    DestroyWindow(c);
}

TEST_F(ComboTest, AClickOutsideCancelsAndKeepsTheSelection)
{
    HWND c = Combo(CBS_DROPDOWNLIST);
    SendMessageW(c, CB_SETCURSEL, 2, 0);
    ClickButton(c);
    const HWND list = Info(c).hwndList;
    RECT r0{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
    MoveTo(list, 10, r0.top + 2); // lights item 0 without choosing it
    Pump();
    ClearLog();
    Clock::Advance(1000);
    Click(parent, 390, 290);
    Pump();
    EXPECT_FALSE(Dropped(c));
    EXPECT_EQ(CurSel(c), 2);
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
    EXPECT_TRUE(rec().For(parent, {WM_LBUTTONDOWN}).empty()) << "the closing click is spent";
    // A click on the button of a dropped list closes it the same way.
    ClickButton(c);
    ClearLog();
    ClickButton(c);
    EXPECT_FALSE(Dropped(c));
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
    DestroyWindow(c);
}

TEST_F(ComboTest, KeysOpenMoveChooseAndCancel)
{
    HWND c = Combo(CBS_DROPDOWNLIST);
    SetFocus(c);
    Pump();
    const struct {
        const char* name;
        std::function<void()> keys;
        std::vector<std::string> notes;
        bool dropped;
        int sel;
    } rows[] = {
        // Closed, a new selection is the end of a choice too: CBN_SELENDOK comes first.
        {"DownWhileClosedSelects", [] { Key(VK_DOWN); }, {"CBN_SELENDOK", "CBN_SELCHANGE"}, false, 0},
        {"F4Opens", [] { Key(VK_F4); }, {"CBN_DROPDOWN"}, true, 0},
        {"DownWhileOpenSelectsAtOnce", [] { Key(VK_DOWN); Key(VK_DOWN); }, {"CBN_SELCHANGE", "CBN_SELCHANGE"}, true, 2},
        {"EnterChooses", [] { Key(VK_RETURN); }, {"CBN_SELENDOK", "CBN_CLOSEUP"}, false, 2},
        {"AltDownOpens", [] { Chord({VK_MENU}, VK_DOWN); }, {"CBN_DROPDOWN"}, true, 2},
        {"EndMoves", [] { Key(VK_END); }, {"CBN_SELCHANGE"}, true, 5},
        {"EscapeCancels", [] { Key(VK_ESCAPE); }, {"CBN_SELENDCANCEL", "CBN_CLOSEUP"}, false, 5},
        {"AltUpClosingWithoutAChoiceCancels", [] { Key(VK_F4); Chord({VK_MENU}, VK_UP); },
            {"CBN_DROPDOWN", "CBN_SELENDCANCEL", "CBN_CLOSEUP"}, false, 5},
        {"F4ClosingAfterAMoveChooses", [] { Key(VK_F4); Key(VK_UP); Key(VK_F4); },
            {"CBN_DROPDOWN", "CBN_SELCHANGE", "CBN_SELENDOK", "CBN_CLOSEUP"}, false, 4},
        {"UpAtTheTopStays", [] { Key(VK_HOME); Key(VK_UP); }, {"CBN_SELENDOK", "CBN_SELCHANGE"}, false, 0},
        {"TypedLetterSelects", [] { Type(L"m"); }, {"CBN_SELENDOK", "CBN_SELCHANGE"}, false, 4},
    };
    for (const auto& r : rows) {
        ClearLog();
        r.keys();
        Pump();
        EXPECT_EQ(Notes(), r.notes) << r.name;
        EXPECT_EQ(Dropped(c), r.dropped) << r.name;
        EXPECT_EQ(CurSel(c), r.sel) << r.name;
    }
    // Escape and Enter belong to the combo box only while it is dropped.
    MSG enter{c, WM_KEYDOWN, static_cast<WPARAM>(VK_RETURN), 0, 0, {}};
    EXPECT_EQ(SendMessageW(c, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), kWantArrows | kWantChars);
    SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(SendMessageW(c, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)),
        kWantArrows | kWantChars | 0x4 /*DLGC_WANTMESSAGE*/);
    // Losing the focus while dropped cancels.
    ClearLog();
    SetFocus(parent);
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SELENDCANCEL", "CBN_CLOSEUP", "CBN_KILLFOCUS"}));
    // Closed, it ends the selection without a choice all the same.
    SetFocus(c);
    ClearLog();
    SetFocus(parent);
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SELENDCANCEL", "CBN_KILLFOCUS"}));
    // The extended interface: Down opens, F4 does nothing.
    SendMessageW(c, CB_SETEXTENDEDUI, TRUE, 0);
    SetFocus(c);
    Key(VK_F4);
    Pump();
    EXPECT_FALSE(Dropped(c));
    Key(VK_DOWN);
    Pump();
    EXPECT_TRUE(Dropped(c));
    Key(VK_ESCAPE);
    Pump();
    DestroyWindow(c);
}

TEST_F(ComboTest, NotificationsInTheMessageLog)
{
    MsgLog log;
    log.Install();
    log.NameNext("dlg");
    HWND dlg = CreateWindowExW(0, MsgLog::kClass, L"", WS_POPUP | WS_VISIBLE, 500, 100, 300, 300, nullptr, nullptr,
        nullptr, nullptr);
    HWND c = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 150, 150, dlg,
        reinterpret_cast<HMENU>(5), nullptr, nullptr);
    log.Name(c, "combo");
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"two"));
    Pump();
    SetFocus(c);
    Pump();
    log.Start();
    Key(VK_F4);
    Key(VK_DOWN);
    Key(VK_RETURN);
    Type(L"x");
    Pump();
    log.Stop();
    std::vector<std::string> commands;
    for (const auto& line : log.Lines())
        if (line.rfind("dlg WM_COMMAND", 0) == 0)
            commands.push_back(line);
    // ID, code, control: DROPDOWN 7, SELCHANGE 1, SELENDOK 9, CLOSEUP 8, EDITUPDATE 6, EDITCHANGE 5.
    EXPECT_EQ(commands, (std::vector<std::string>{"dlg WM_COMMAND 5 7 combo", "dlg WM_COMMAND 5 1 combo",
                            "dlg WM_COMMAND 5 9 combo", "dlg WM_COMMAND 5 8 combo", "dlg WM_COMMAND 5 6 combo",
                            "dlg WM_COMMAND 5 5 combo"}));
    EXPECT_EQ(Text(c), L"x") << "the chosen text was selected, so typing replaced it";
    DestroyWindow(dlg);
    log.Uninstall();
}

// The dropped list fits its items: as many as there are, at least one item's room and at
// most CB_SETMINVISIBLE's count (30 until set), inside its 1-pixel border; with
// CBS_NOINTEGRALHEIGHT it keeps the height the combo box was given.
TEST_F(ComboTest, TheDroppedListFitsItsItems)
{
    const struct {
        const char* name;
        int items;
        int minVisible; // 0: left at its default
        DWORD extra;
        int shown;      // items of room; -1: the height asked for
    } rows[] = {
        {"TwoItems", 2, 0, 0, 2},
        {"NoItemsOneRow", 0, 0, 0, 1},
        {"ThirtyOfForty", 40, 0, 0, 30},
        {"MinVisibleFive", 12, 5, 0, 5},
        {"NoIntegralHeightAsAsked", 2, 0, CBS_NOINTEGRALHEIGHT, -1},
    };
    for (const auto& r : rows) {
        HWND c = Ctl(L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | r.extra, 10, 10, 150, 300, 100);
        for (int i = 0; i < r.items; ++i)
            SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
        if (r.minVisible) {
            EXPECT_TRUE(SendMessageW(c, CB_SETMINVISIBLE, static_cast<WPARAM>(r.minVisible), 0)) << r.name;
        }
        EXPECT_EQ(SendMessageW(c, CB_GETMINVISIBLE, 0, 0), r.minVisible ? r.minVisible : 30) << r.name;
        SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
        const HWND list = Info(c).hwndList;
        RECT wr{}, lr{};
        GetWindowRect(c, &wr);
        GetWindowRect(list, &lr);
        const int item = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_EQ(lr.bottom - lr.top, r.shown < 0 ? 300 - (wr.bottom - wr.top) : r.shown * item + 2) << r.name;
        SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
        DestroyWindow(c);
    }
}

TEST_F(ComboTest, TheListGoesAboveWhenTheWorkAreaEndsBelow)
{
    // The monitor's work area ends where the screen does here; the rows make it shorter.
    const struct {
        const char* name;
        int workBottom;
        int comboY;     // screen
        bool above;
        bool shortened; // neither side has room: the larger one, filled
    } rows[] = {
        {"RoomBelow", 1024, 300, false, false},
        {"ScreenEnds", 1024, 900, true, false},
        {"WorkAreaEnds", 600, 480, true, false},
        {"NoRoomEitherWayTakesTheLargerSide", 300, 120, false, true},
    };
    for (const auto& r : rows) {
        gdi::SetSystemMetricForTests(SM_CYSCREEN, r.workBottom);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
        ASSERT_EQ(mi.rcWork.bottom, r.workBottom) << r.name;
        HWND top = Make(WS_POPUP | WS_VISIBLE, 600, r.comboY, 200, 60);
        // The height asked for is the height dropped (CBS_NOINTEGRALHEIGHT).
        HWND c = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT, 0,
            0, 150, 220, top, nullptr, nullptr, nullptr);
        for (int i = 0; i < 20; ++i)
            SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
        SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
        RECT wr{}, lr{};
        GetWindowRect(c, &wr);
        GetWindowRect(Info(c).hwndList, &lr);
        const int asked = 220 - (wr.bottom - wr.top);
        if (r.above) {
            EXPECT_EQ(lr.bottom, wr.top) << r.name;
            EXPECT_EQ(lr.bottom - lr.top, asked) << r.name;
        } else {
            EXPECT_EQ(lr.top, wr.bottom) << r.name;
            EXPECT_EQ(lr.bottom - lr.top, r.shortened ? r.workBottom - wr.bottom : asked) << r.name;
        }
        SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
        DestroyWindow(top);
    }
}

TEST_F(ComboTest, TheEditFieldTypesFollowsTheListAndAnswersCbMessages)
{
    HWND c = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    const HWND edit = Info(c).hwndItem;
    SetFocus(c);
    EXPECT_EQ(GetFocus(), edit);
    ClearLog();
    Type(L"bl");
    Pump();
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_EDITUPDATE", "CBN_EDITCHANGE", "CBN_EDITUPDATE", "CBN_EDITCHANGE"}));
    EXPECT_EQ(Text(c), L"bl");
    EXPECT_EQ(CurSel(c), 2) << "the first item starting with the text";
    Type(L"x");
    Pump();
    EXPECT_EQ(CurSel(c), CB_ERR);
    // Closing the list with Enter keeps typed text that names no item.
    SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
    Key(VK_RETURN);
    Pump();
    EXPECT_FALSE(Dropped(c));
    EXPECT_EQ(Text(c), L"blx");
    // Choosing an item puts its text in the edit, selected, and says nothing about the edit.
    ClearLog();
    SendMessageW(c, CB_SETCURSEL, 4, 0);
    EXPECT_EQ(Text(c), L"magenta");
    EXPECT_TRUE(Notes().empty());
    DWORD a = 9, b = 9;
    SendMessageW(c, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(DWORD{0}, DWORD{7}));
    EXPECT_TRUE(SendMessageW(c, CB_SETEDITSEL, 0, MAKELPARAM(2, 4)));
    EXPECT_EQ(SendMessageW(c, CB_GETEDITSEL, 0, 0), MAKELONG(2, 4));
    SendMessageW(c, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    EXPECT_EQ(SendMessageW(c, CB_GETEDITSEL, 0, 0), MAKELONG(0, 7));
    // The limit goes to the edit.
    SendMessageW(c, CB_LIMITTEXT, 3, 0);
    SetWindowTextW(c, L"");
    Type(L"abcdef");
    Pump();
    EXPECT_EQ(Text(c), L"abc");
    // WM_SETTEXT selects the item it names exactly.
    SetWindowTextW(c, L"Blue");
    EXPECT_EQ(CurSel(c), 2);
    // Forwarded list messages and their errors.
    EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendMessageW(c, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"YEL")), 5);
    EXPECT_EQ(SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"yel")), CB_ERR);
    EXPECT_EQ(SendMessageW(c, CB_GETLBTEXTLEN, 4, 0), 7);
    EXPECT_EQ(SendMessageW(c, CB_GETLBTEXTLEN, 6, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(c, CB_SELECTSTRING, 2, reinterpret_cast<LPARAM>(L"g")), 1);
    EXPECT_EQ(Text(c), L"green");
    EXPECT_EQ(SendMessageW(c, CB_SETITEMDATA, 1, 77), TRUE);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessageW(c, CB_DELETESTRING, 1, 0), 5);
    EXPECT_EQ(CurSel(c), CB_ERR);
    EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(Text(c), L"");
    // An index past the items clears a selection as -1 does.
    for (const WPARAM past : {WPARAM{5}, WPARAM{99}}) {
        ASSERT_EQ(SendMessageW(c, CB_SETCURSEL, 0, 0), 0);
        EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, past, 0), CB_ERR) << "index " << past;
        EXPECT_EQ(CurSel(c), CB_ERR) << "index " << past;
        EXPECT_EQ(Text(c), L"") << "index " << past;
    }
    EXPECT_EQ(SendMessageW(c, CB_SETDROPPEDWIDTH, 300, 0), 300);
    EXPECT_EQ(SendMessageW(c, CB_SETDROPPEDWIDTH, 10, 0), 150) << "never narrower than the combo box";
    EXPECT_EQ(SendMessageW(c, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), 0);
    DestroyWindow(c);
    // A drop-down list has no edit to select in.
    HWND d = Combo(CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageW(d, CB_SETEDITSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(d, CB_GETEDITSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(d, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"nothing")), CB_ERR) << "no item of that name";
    EXPECT_TRUE(SendMessageW(d, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"CYAN")));
    EXPECT_EQ(CurSel(d), 3);
    EXPECT_EQ(Text(d), L"cyan");
    DestroyWindow(d);
}

TEST_F(ComboTest, SimpleComboBoxHasItsListAlwaysShown)
{
    HWND c = Combo(CBS_SIMPLE, 10, 10, 150);
    const COMBOBOXINFO info = Info(c);
    RECT lr{}, wr{};
    GetWindowRect(info.hwndList, &lr);
    GetWindowRect(c, &wr);
    EXPECT_EQ(lr.bottom, wr.bottom);
    EXPECT_EQ(lr.top - wr.top, SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) + 6);
    ClearLog();
    RECT r2{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
    Clock::Advance(1000);
    Click(info.hwndList, 10, r2.top + 2);
    Pump();
    EXPECT_EQ(GetFocus(), info.hwndItem) << "the focus goes to the edit";
    EXPECT_EQ(CurSel(c), 2);
    EXPECT_EQ(Text(c), L"blue");
    Click(info.hwndList, 10, r2.top + 2);
    Pump();
    // A simple combo box tells CBN_SELENDOK before every CBN_SELCHANGE.
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CBN_SETFOCUS", "CBN_SELENDOK", "CBN_SELCHANGE", "CBN_DBLCLK"}));
    ClearLog();
    Key(VK_F4);
    Pump();
    EXPECT_TRUE(Notes().empty()) << "nothing to drop";
    EXPECT_FALSE(Dropped(c));
    Key(VK_DOWN);
    Pump();
    EXPECT_EQ(Text(c), L"cyan");
    DestroyWindow(c);
}

TEST_F(ComboTest, OwnerDrawnFieldAndItems)
{
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    rec().SetHandler([&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
        if (m == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            measured.push_back(*mis);
            mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 24 : 18;
            r = TRUE;
            return true;
        }
        if (m == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            r = TRUE;
            return true;
        }
        return false;
    });
    HWND c = Ctl(L"ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 10, 150, 200, 42);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].CtlType, ODT_COMBOBOX);
    EXPECT_EQ(measured[0].CtlID, 42u);
    EXPECT_EQ(measured[0].itemID, static_cast<UINT>(-1)) << "the selection field first";
    EXPECT_EQ(measured[1].itemID, 0u);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 24);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, 0, 0), 18);
    RECT wr{};
    GetWindowRect(c, &wr);
    EXPECT_EQ(wr.bottom - wr.top, 24 + 6);
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a"));
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"b"));
    SendMessageW(c, CB_SETCURSEL, 1, 0);
    SetFocus(c);
    drawn.clear();
    Settle();
    ASSERT_FALSE(drawn.empty());
    const DRAWITEMSTRUCT& f = drawn.back();
    EXPECT_EQ(f.CtlType, ODT_COMBOBOX);
    EXPECT_EQ(f.itemID, 1u);
    EXPECT_EQ(f.hwndItem, c);
    EXPECT_TRUE(f.itemState & ODS_COMBOBOXEDIT);
    EXPECT_TRUE(f.itemState & ODS_FOCUS);
    const RECT field = Info(c).rcItem;
    EXPECT_TRUE(EqualRect(&f.rcItem, &field));
    // The dropped list's items are drawn for the combo box, by the same owner.
    drawn.clear();
    SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
    Settle();
    int items = 0;
    for (const auto& d : drawn)
        if (!(d.itemState & ODS_COMBOBOXEDIT)) {
            ++items;
            EXPECT_EQ(d.CtlID, 42u);
            EXPECT_EQ(d.hwndItem, c);
            EXPECT_EQ(d.rcItem.bottom - d.rcItem.top, 18);
        }
    EXPECT_EQ(items, 2);
    SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
    // Changing the field's height resizes the combo box.
    EXPECT_EQ(SendMessageW(c, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 30), 0);
    GetWindowRect(c, &wr);
    EXPECT_EQ(wr.bottom - wr.top, 36);
    EXPECT_EQ(SendMessageW(c, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 300), CB_ERR);
    DestroyWindow(c);
}

TEST_F(ComboTest, SortedComboBoxesSortTheirList)
{
    HWND c = Ctl(L"ComboBox", CBS_DROPDOWNLIST | CBS_SORT, 10, 10, 150, 200);
    EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"pear")), 0);
    EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Apple")), 0);
    EXPECT_EQ(SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"fig")), 1);
    EXPECT_EQ(SendMessageW(c, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"zz")), 0) << "inserting does not sort";
    wchar_t buf[16];
    EXPECT_EQ(SendMessageW(c, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(buf)), 4);
    EXPECT_EQ(std::wstring(buf), L"pear");
    EXPECT_EQ(SendMessageW(c, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(buf)), CB_ERR);
    DestroyWindow(c);
}

TEST_F(ComboTest, TheDropButtonIsTheClassicComboArrow)
{
    HWND c = Combo(CBS_DROPDOWNLIST);
    Settle();
    const RECT b = Info(c).rcButton;
    const int w = b.right - b.left, h = b.bottom - b.top;
    // The same picture drawn by the drawing layer into a bitmap of the button's size.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bm);
    RECT r{0, 0, w, h};
    DrawFrameControl(mem, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            differ += GetPixel(mem, x, y) != ClientPixel(c, b.left + x, b.top + y);
    EXPECT_EQ(differ, 0);
    // Pressed while the press that dropped the list is held.
    Clock::Advance(1000);
    Press(c, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    Settle();
    EXPECT_EQ(Info(c).stateButton, static_cast<DWORD>(STATE_SYSTEM_PRESSED));
    DrawFrameControl(mem, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_PUSHED | DFCS_FLAT);
    differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            differ += GetPixel(mem, x, y) != ClientPixel(c, b.left + x, b.top + y);
    EXPECT_EQ(differ, 0);
    Release();
    Pump();
    EXPECT_TRUE(Dropped(c)) << "releasing the press leaves the list open";
    EXPECT_EQ(Info(c).stateButton, 0u);
    SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
    // Disabled: the inactive arrow.
    EnableWindow(c, FALSE);
    Settle();
    DrawFrameControl(mem, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE);
    differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            differ += GetPixel(mem, x, y) != ClientPixel(c, b.left + x, b.top + y);
    EXPECT_EQ(differ, 0);
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);
    DestroyWindow(c);
}

} // namespace
} // namespace zyn::test
