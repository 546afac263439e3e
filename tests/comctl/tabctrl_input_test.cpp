// The tab control's input and notifications: clicks and keys change the selection only
// through TCN_SELCHANGING (vetoable) and TCN_SELCHANGE, buttons move their focus first,
// the focus styles, right and double clicks, a parent that destroys the control while it
// is told, and the tooltip that TCS_TOOLTIPS brings.
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

class TabInput : public TabUpDownTest {
protected:
    HWND MakeThree(DWORD style)
    {
        HWND tab = MakeTab(style, 10, 10, 300, 200);
        Insert(tab, 0, L"Alpha");
        Insert(tab, 1, L"Beta");
        Insert(tab, 2, L"Gamma");
        heard.clear();
        return tab;
    }
    static POINT Centre(HWND tab, int i)
    {
        const RECT r = ItemRect(tab, i);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static int CurSel(HWND tab) { return static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)); }
    static int CurFocus(HWND tab) { return static_cast<int>(SendMessageW(tab, TCM_GETCURFOCUS, 0, 0)); }
};

TEST_F(TabInput, ClickSelectsAfterAskingAndTellsAfterwards)
{
    HWND tab = MakeThree(0);
    ClickAt(tab, Centre(tab, 1));
    EXPECT_EQ(CurSel(tab), 1);
    EXPECT_EQ(GetFocus(), tab) << "tabs take the focus when clicked";
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].sel, 0) << "asked before the change";
    EXPECT_EQ(heard[1].sel, 1) << "told after it";
    EXPECT_EQ(heard[0].from, tab);

    heard.clear();
    Advance(GetDoubleClickTime() + 10); // not a double click
    ClickAt(tab, Centre(tab, 1));
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{NM_CLICK}) << "the selected tab again: only the click";

    heard.clear();
    Advance(GetDoubleClickTime() + 10);
    ClickAt(tab, POINT{150, 150});
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{NM_CLICK}) << "a click on the pane";
    EXPECT_EQ(CurSel(tab), 1);
}

TEST_F(TabInput, VetoedSelectionStays)
{
    HWND tab = MakeThree(0);
    vetoSelChanging = true;
    ClickAt(tab, Centre(tab, 2));
    EXPECT_EQ(CurSel(tab), 0);
    EXPECT_EQ(CountHeard(WM_NOTIFY, TCN_SELCHANGE), 0u);
    SetFocus(tab);
    heard.clear();
    KeyPress(VK_RIGHT);
    EXPECT_EQ(CurSel(tab), 0);
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING}));
    SendMessageW(tab, TCM_SETCURFOCUS, 2, 0);
    EXPECT_EQ(CurSel(tab), 0) << "TCM_SETCURFOCUS asks the parent too";
    vetoSelChanging = false;
    SendMessageW(tab, TCM_SETCURFOCUS, 2, 0);
    EXPECT_EQ(CurSel(tab), 2);
    EXPECT_EQ(CurFocus(tab), 2);
}

TEST_F(TabInput, KeysMoveTheSelection)
{
    HWND tab = MakeThree(0);
    SetFocus(tab);
    struct Step {
        std::vector<int> keys;   // pressed together (the last one is the key)
        int sel;
        size_t changes;          // TCN_SELCHANGE sent
    };
    const Step steps[] = {
        {{VK_RIGHT}, 1, 1},
        {{VK_DOWN}, 2, 1},
        {{VK_RIGHT}, 2, 0},                      // no wrap at the end
        {{VK_CONTROL, VK_TAB}, 0, 1},            // Ctrl+Tab wraps round
        {{VK_LEFT}, 0, 0},
        {{VK_CONTROL, VK_SHIFT, VK_TAB}, 2, 1},  // backwards, round to the last
        {{VK_UP}, 1, 1},
        {{VK_TAB}, 1, 0},                        // Tab alone is not ours
    };
    for (const Step& s : steps) {
        heard.clear();
        for (size_t i = 0; i + 1 < s.keys.size(); ++i)
            user::InjectKey(s.keys[i], true);
        user::InjectKeyPress(s.keys.back());
        for (size_t i = s.keys.size() - 1; i-- > 0;)
            user::InjectKey(s.keys[i], false);
        Pump();
        EXPECT_EQ(CurSel(tab), s.sel) << "key " << s.keys.back();
        EXPECT_EQ(CountHeard(WM_NOTIFY, TCN_SELCHANGE), s.changes) << "key " << s.keys.back();
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.front().code, TCN_KEYDOWN);
    }
    EXPECT_NE(SendMessageW(tab, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
}

TEST_F(TabInput, ButtonsMoveTheirFocusAndSelectWithSpace)
{
    HWND tab = MakeThree(TCS_BUTTONS);
    ClickAt(tab, Centre(tab, 1));
    EXPECT_EQ(CurSel(tab), 1);
    EXPECT_NE(GetFocus(), tab) << "buttons leave the focus where it is";
    SetFocus(tab);
    heard.clear();
    KeyPress(VK_RIGHT);
    EXPECT_EQ(CurFocus(tab), 2);
    EXPECT_EQ(CurSel(tab), 1);
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TCN_KEYDOWN, TCN_FOCUSCHANGE}));
    heard.clear();
    KeyPress(VK_SPACE);
    EXPECT_EQ(CurSel(tab), 2);
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE}));
    heard.clear();
    SendMessageW(tab, TCM_SETCURFOCUS, 0, 0);
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{TCN_FOCUSCHANGE});
    EXPECT_EQ(CurSel(tab), 2) << "a button's focus is not its selection";
}

TEST_F(TabInput, MultiSelectButtonsPressWithCtrl)
{
    HWND tab = MakeThree(TCS_BUTTONS | TCS_MULTISELECT);
    user::InjectKey(VK_CONTROL, true);
    ClickAt(tab, Centre(tab, 2));
    user::InjectKey(VK_CONTROL, false);
    Pump();
    TCITEMW w{};
    w.mask = TCIF_STATE;
    w.dwStateMask = TCIS_BUTTONPRESSED;
    SendMessageW(tab, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&w));
    EXPECT_EQ(w.dwState, TCIS_BUTTONPRESSED);
    EXPECT_EQ(CurSel(tab), 0);
    EXPECT_EQ(CountHeard(WM_NOTIFY, TCN_SELCHANGING), 0u);
}

TEST_F(TabInput, FocusStyles)
{
    struct Row {
        const char* name;
        DWORD style;
        bool takesFocus;
    };
    const Row rows[] = {
        {"tabs", 0, true},
        {"never", TCS_FOCUSNEVER, false},
        {"buttons", TCS_BUTTONS, false},
        {"buttons on button down", TCS_BUTTONS | TCS_FOCUSONBUTTONDOWN, true},
        {"never wins", TCS_BUTTONS | TCS_FOCUSONBUTTONDOWN | TCS_FOCUSNEVER, false},
    };
    for (const Row& r : rows) {
        HWND tab = MakeThree(r.style);
        SetFocus(parent);
        ClickAt(tab, Centre(tab, 1));
        EXPECT_EQ(GetFocus() == tab, r.takesFocus) << r.name;
        EXPECT_EQ(CurSel(tab), 1) << r.name;
        DestroyWindow(tab);
    }
}

TEST_F(TabInput, RightAndDoubleClicks)
{
    HWND tab = MakeThree(0);
    ClickAt(tab, Centre(tab, 2), user::MouseButton::Right);
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{NM_RCLICK});
    EXPECT_EQ(CurSel(tab), 0) << "a right click selects nothing";
    heard.clear();
    ClickAt(tab, Centre(tab, 1));
    ClickAt(tab, Centre(tab, 1));
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK,
                                 NM_DBLCLK, NM_CLICK}));
}

TEST_F(TabInput, ParentDestroyingTheControlWhileTold)
{
    for (const UINT code : {TCN_SELCHANGING, TCN_SELCHANGE, TCN_KEYDOWN}) {
        HWND tab = MakeThree(0);
        SetFocus(tab);
        onHeard = [&](const TabHeard& e) {
            if (e.code == code && IsWindow(tab))
                DestroyWindow(tab);
        };
        KeyPress(VK_RIGHT);
        EXPECT_FALSE(IsWindow(tab)) << code;
        onHeard = nullptr;
    }
    HWND tab = MakeThree(0);
    onHeard = [&](const TabHeard& e) {
        if (e.code == TCN_SELCHANGING && IsWindow(tab))
            DestroyWindow(tab);
    };
    ClickAt(tab, Centre(tab, 2));
    EXPECT_FALSE(IsWindow(tab));
}

TEST_F(TabInput, ParentRemovingItemsWhileAskedKeepsTheSelectionValid)
{
    HWND tab = MakeThree(0);
    onHeard = [&](const TabHeard& e) {
        if (e.code == TCN_SELCHANGING)
            SendMessageW(tab, TCM_DELETEITEM, 2, 0);
    };
    ClickAt(tab, Centre(tab, 2));
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CurSel(tab), 0) << "the item asked for went away";
    EXPECT_EQ(CountHeard(WM_NOTIFY, TCN_SELCHANGE), 0u);
}

TEST_F(TabInput, TooltipsFollowTheItemsAndGoWithTheControl)
{
    HWND tab = MakeThree(TCS_TOOLTIPS);
    const auto tip = reinterpret_cast<HWND>(SendMessageW(tab, TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    wchar_t cls[32] = {};
    GetClassNameW(tip, cls, 32);
    EXPECT_STREQ(cls, TOOLTIPS_CLASSW);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = tab;
    ti.uId = 1;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    const RECT r = ItemRect(tab, 1);
    EXPECT_TRUE(EqualRect(&ti.rect, &r));
    SendMessageW(tab, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    // The tooltip's text request reaches the parent, naming the item.
    heard.clear();
    NMTTDISPINFOW di{};
    di.hdr = NMHDR{tip, 1, TTN_GETDISPINFOW};
    SendMessageW(tab, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&di));
    EXPECT_EQ(NotifyCodes(), std::vector<UINT>{TTN_GETDISPINFOW});
    DestroyWindow(tab);
    EXPECT_FALSE(IsWindow(tip));

    // A tooltip handed over with TCM_SETTOOLTIPS stays the caller's.
    HWND other = MakeThree(0);
    HWND mine = MakeTip(parent);
    SendMessageW(other, TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(mine), 0);
    SendMessageW(other, TCM_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageW(mine, TTM_GETTOOLCOUNT, 0, 0), 3);
    DestroyWindow(other);
    EXPECT_TRUE(IsWindow(mine));
    EXPECT_EQ(SendMessageW(mine, TTM_GETTOOLCOUNT, 0, 0), 0) << "our tools leave with us";
    DestroyWindow(mine);
}

} // namespace
} // namespace zyn::test
