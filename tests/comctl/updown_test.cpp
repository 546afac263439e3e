// The up-down control: range and position messages, a step in either range order with its
// notifications (UDN_DELTAPOS and its veto, WM_VSCROLL / WM_HSCROLL), wrapping, the buddy
// (automatic choice, alignment, its text in both bases with the locale's thousands
// separator, reading it back, arrow keys), press-and-hold timing with acceleration on the
// virtual clock, painting against DrawFrameControl, and the class library's wrapper.
#include <climits>

#include "platform/afx/gdi/geometry.h"
#include "platform/afx/spinbutton.h"
#include "platform/base/locale.h"
#include "tests/comctl/tab_updown_support.h"

namespace zyn::test {
namespace {

class UpDown : public TabUpDownTest {
protected:
    HWND MakeSpin(DWORD style, int x = 300, int y = 50, int cx = 16, int cy = 40, UINT id = 200)
    {
        HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        EXPECT_NE(spin, nullptr);
        return spin;
    }
    HWND MakeBuddy(int x = 20, int y = 20, int cx = 100, int cy = 20, UINT id = 300)
    {
        return MakeHost(x, y, cx, cy, parent, id);
    }
    static int Pos(HWND spin) { return static_cast<int>(SendMessageW(spin, UDM_GETPOS32, 0, 0)); }
    static RECT ParentRect(HWND h)
    {
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static std::wstring Text(HWND h)
    {
        wchar_t buf[64] = {};
        GetWindowTextW(h, buf, 64);
        return buf;
    }
    static std::wstring Sep()
    {
        wchar_t buf[8] = {};
        const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8);
        return n > 1 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
    }
    // Presses the left button at a client point of the control (and leaves it down).
    static void Press(HWND h, POINT client)
    {
        const POINT p = ScreenOf(h, client);
        user::InjectMouseMove(p.x, p.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        Pump();
    }
    static void Release()
    {
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
    }
};

// The points of the arrows of a 16 x 40 vertical (or 40 x 16 horizontal) control.
constexpr POINT kUpArrow{8, 10}, kDownArrow{8, 30}, kRightArrow{30, 8}, kLeftArrow{10, 8};

TEST_F(UpDown, RangesAndPositions)
{
    HWND spin = MakeSpin(0);
    const auto range = static_cast<DWORD>(SendMessageW(spin, UDM_GETRANGE, 0, 0));
    EXPECT_EQ(LOWORD(range), 0) << "upper";
    EXPECT_EQ(HIWORD(range), 100) << "lower";
    EXPECT_EQ(Pos(spin), 0);
    EXPECT_EQ(SendMessageW(spin, UDM_GETBASE, 0, 0), 10);

    SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(10, static_cast<WORD>(-5)));
    int lo = 0, hi = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, -5);
    EXPECT_EQ(hi, 10);
    EXPECT_EQ(SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(50, 0)), 0) << "the previous position";
    EXPECT_EQ(Pos(spin), 10) << "clamped to the range";
    EXPECT_EQ(static_cast<SHORT>(LOWORD(SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(-9), 0)))), 10);
    EXPECT_EQ(Pos(spin), -5);

    SendMessageW(spin, UDM_SETRANGE32, 0, 100000);
    EXPECT_EQ(SendMessageW(spin, UDM_SETPOS32, 0, 70000), 0) << "-5 was clamped into the new range";
    EXPECT_EQ(Pos(spin), 70000);
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 70000 & 0xFFFF) << "16 bits of it";
    EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETRANGE, 0, 0)), 100000 & 0xFFFF);
    SendMessageW(spin, UDM_SETRANGE32, 5, 0);
    EXPECT_EQ(Pos(spin), 5) << "a new range clamps the position, in either order";
    SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(INT_MIN), INT_MAX);
    SendMessageW(spin, UDM_SETPOS32, 0, INT_MIN);
    EXPECT_EQ(Pos(spin), INT_MIN);

    EXPECT_EQ(SendMessageW(spin, UDM_SETBASE, 8, 0), 0) << "only 10 and 16";
    EXPECT_EQ(SendMessageW(spin, UDM_SETBASE, 16, 0), 10);
    EXPECT_EQ(SendMessageW(spin, UDM_GETBASE, 0, 0), 16);

    UDACCEL accels[3] = {};
    EXPECT_EQ(SendMessageW(spin, UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(accels)), 3);
    EXPECT_EQ(accels[0].nSec, 0u);
    EXPECT_EQ(accels[0].nInc, 1u);
    EXPECT_EQ(accels[1].nSec, 2u);
    EXPECT_EQ(accels[1].nInc, 5u);
    EXPECT_EQ(accels[2].nSec, 5u);
    EXPECT_EQ(accels[2].nInc, 20u);
    EXPECT_FALSE(SendMessageW(spin, UDM_SETACCEL, 0, reinterpret_cast<LPARAM>(accels)));
    EXPECT_FALSE(SendMessageW(spin, UDM_SETACCEL, 2, 0));
    UDACCEL mine[2] = {{3, 7}, {0, 2}};
    EXPECT_TRUE(SendMessageW(spin, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(mine)));
    UDACCEL one{};
    EXPECT_EQ(SendMessageW(spin, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&one)), 2) << "copies one, has two";
    EXPECT_EQ(one.nSec, 0u) << "kept in order of their seconds";
    EXPECT_EQ(one.nInc, 2u);
}

TEST_F(UpDown, AStepInEitherRangeOrder)
{
    struct Row {
        const char* name;
        int lower, upper, start;
        DWORD style;
        POINT at;
        int delta;      // proposed in UDN_DELTAPOS
        int result;
        bool moved;     // SB_THUMBPOSITION sent
    };
    const Row rows[] = {
        {"up towards the upper end", 0, 10, 5, 0, kUpArrow, 1, 6, true},
        {"down", 0, 10, 5, 0, kDownArrow, -1, 4, true},
        {"reversed: up goes down", 10, 0, 5, 0, kUpArrow, -1, 4, true},
        {"reversed: down goes up", 10, 0, 5, 0, kDownArrow, 1, 6, true},
        {"default range, up at 0", 100, 0, 0, 0, kUpArrow, -1, 0, false},
        {"default range, down", 100, 0, 0, 0, kDownArrow, 1, 1, true},
        {"stops at the end", 0, 10, 10, 0, kUpArrow, 1, 10, false},
        {"wraps to the lower end", 0, 10, 10, UDS_WRAP, kUpArrow, 1, 0, true},
        {"wraps to the upper end", 0, 10, 0, UDS_WRAP, kDownArrow, -1, 10, true},
        {"reversed wraps", 10, 0, 0, UDS_WRAP, kUpArrow, -1, 10, true},
        {"horizontal: right is up", 0, 10, 5, UDS_HORZ, kRightArrow, 1, 6, true},
        {"horizontal: left is down", 0, 10, 5, UDS_HORZ, kLeftArrow, -1, 4, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const bool horz = (r.style & UDS_HORZ) != 0;
        HWND spin = horz ? MakeSpin(r.style, 300, 50, 40, 16) : MakeSpin(r.style);
        SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(r.lower), r.upper);
        SendMessageW(spin, UDM_SETPOS32, 0, r.start);
        heard.clear();
        ClickAt(spin, r.at);
        EXPECT_EQ(Pos(spin), r.result);
        const UINT scroll = horz ? WM_HSCROLL : WM_VSCROLL;
        std::vector<TabHeard> want;
        TabHeard ask;
        ask.msg = WM_NOTIFY;
        ask.code = UDN_DELTAPOS;
        ask.pos = r.start;
        ask.delta = r.delta;
        want.push_back(ask);
        if (r.moved)
            want.push_back(TabHeard{scroll, SB_THUMBPOSITION, spin, r.result});
        want.push_back(TabHeard{scroll, SB_ENDSCROLL, spin, r.result});
        ASSERT_EQ(heard.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(heard[i].msg, want[i].msg) << i;
            EXPECT_EQ(heard[i].code, want[i].code) << i;
            EXPECT_EQ(heard[i].pos, want[i].pos) << i;
            EXPECT_EQ(heard[i].delta, want[i].delta) << i;
        }
        EXPECT_EQ(heard[0].from, spin);
        DestroyWindow(spin);
    }
}

TEST_F(UpDown, VetoedStepChangesNothing)
{
    HWND buddy = MakeBuddy();
    HWND spin = MakeSpin(UDS_AUTOBUDDY | UDS_SETBUDDYINT);
    SendMessageW(spin, UDM_SETRANGE32, 0, 10);
    SendMessageW(spin, UDM_SETPOS32, 0, 3);
    vetoDeltaPos = true;
    heard.clear();
    ClickAt(spin, kUpArrow);
    EXPECT_EQ(Pos(spin), 3);
    EXPECT_EQ(Text(buddy), L"3");
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].code, UDN_DELTAPOS);
    EXPECT_EQ(heard[1].code, static_cast<UINT>(SB_ENDSCROLL));
}

TEST_F(UpDown, BuddyChoiceAndAlignment)
{
    struct Row {
        const char* name;
        DWORD style;
        int width;     // the control's width at creation
        RECT buddy;    // afterwards, in the parent's client coordinates
        RECT spin;
    };
    const Row rows[] = {
        {"align right", UDS_ALIGNRIGHT, 16, {20, 20, 104, 40}, {104, 20, 120, 40}},
        {"align left", UDS_ALIGNLEFT, 16, {36, 20, 120, 40}, {20, 20, 36, 40}},
        {"no alignment", 0, 16, {20, 20, 120, 40}, {300, 50, 316, 80}},
        {"zero width takes SM_CXVSCROLL", UDS_ALIGNRIGHT, 0, {20, 20, 104, 40}, {104, 20, 120, 40}},
        {"wider control", UDS_ALIGNRIGHT, 30, {20, 20, 90, 40}, {90, 20, 120, 40}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HWND other = MakeBuddy(20, 100, 50, 20, 301);
        HWND buddy = MakeBuddy();
        HWND spin = MakeSpin(UDS_AUTOBUDDY | r.style, 300, 50, r.width, 30);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), buddy)
            << "the previous sibling in the z-order";
        const RECT b = ParentRect(buddy), s = ParentRect(spin);
        EXPECT_TRUE(EqualRect(&b, &r.buddy)) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
        EXPECT_TRUE(EqualRect(&s, &r.spin)) << s.left << "," << s.top << "," << s.right << "," << s.bottom;
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other), 0)), buddy);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), other);
        DestroyWindow(spin);
        DestroyWindow(buddy);
        DestroyWindow(other);
    }
    // A buddy destroyed first is forgotten.
    HWND buddy = MakeBuddy();
    HWND spin = MakeSpin(UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_SETBUDDYINT);
    DestroyWindow(buddy);
    EXPECT_EQ(SendMessageW(spin, UDM_GETBUDDY, 0, 0), 0);
    SendMessageW(spin, UDM_SETPOS32, 0, 4);
    EXPECT_EQ(SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spin), 0), 0) << "not itself";
    EXPECT_EQ(SendMessageW(spin, UDM_GETBUDDY, 0, 0), 0);
}

TEST_F(UpDown, BuddyTextInBothBases)
{
    const std::wstring sep = Sep();
    struct Row {
        int pos;
        int base;
        DWORD style;
        std::wstring text;
    };
    const Row rows[] = {
        {0, 10, 0, L"0"},
        {999, 10, 0, L"999"},
        {1000, 10, 0, L"1" + sep + L"000"},
        {1234567, 10, 0, L"1" + sep + L"234" + sep + L"567"},
        {-1234, 10, 0, L"-1" + sep + L"234"},
        {-999999, 10, 0, L"-999" + sep + L"999"},
        {1234567, 10, UDS_NOTHOUSANDS, L"1234567"},
        {255, 16, 0, L"0x00FF"},
        {0x12345, 16, 0, L"0x12345"},
        {-1, 16, 0, L"0xFFFFFFFF"},
    };
    for (const Row& r : rows) {
        HWND buddy = MakeBuddy();
        HWND spin = MakeSpin(UDS_AUTOBUDDY | UDS_SETBUDDYINT | r.style);
        EXPECT_EQ(Text(buddy), L"0") << "written when attached";
        SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(-2000000), 2000000);
        SendMessageW(spin, UDM_SETBASE, static_cast<WPARAM>(r.base), 0);
        SendMessageW(spin, UDM_SETPOS32, 0, r.pos);
        EXPECT_EQ(Text(buddy), r.text) << r.pos << " base " << r.base;
        // Read back as the same number.
        BOOL error = TRUE;
        SendMessageW(spin, UDM_SETPOS32, 0, 7);
        SetWindowTextW(buddy, r.text.c_str());
        EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), r.pos) << r.text;
        EXPECT_FALSE(error) << r.text;
        DestroyWindow(spin);
        DestroyWindow(buddy);
    }
}

TEST_F(UpDown, ReadingTheBuddyBack)
{
    HWND buddy = MakeBuddy();
    HWND spin = MakeSpin(UDS_AUTOBUDDY | UDS_SETBUDDYINT);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    SendMessageW(spin, UDM_SETPOS32, 0, 9);
    struct Row {
        std::wstring text;
        bool valid;
        int pos;   // the position afterwards
    };
    const Row rows[] = {
        {L"42", true, 42},
        {L"  17 ", true, 17},
        {L"+3", true, 3},
        {L"abc", false, 3},
        {L"12abc", false, 3},
        {L"500", false, 3},      // outside the range
        {L"-1", false, 3},
        {L"", false, 3},
        {L"99999999999", false, 3},
        {L"100", true, 100},
    };
    for (const Row& r : rows) {
        SetWindowTextW(buddy, r.text.c_str());
        const auto v = static_cast<DWORD>(SendMessageW(spin, UDM_GETPOS, 0, 0));
        EXPECT_EQ(HIWORD(v) == 0, r.valid) << "'" << std::string(r.text.begin(), r.text.end()) << "'";
        EXPECT_EQ(LOWORD(v), r.pos) << "'" << std::string(r.text.begin(), r.text.end()) << "'";
    }
    // A click starts from what was typed.
    SetWindowTextW(buddy, L"7");
    heard.clear();
    ClickAt(spin, kUpArrow);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard[0].pos, 7);
    EXPECT_EQ(Pos(spin), 8);
    EXPECT_EQ(Text(buddy), L"8");
    EXPECT_EQ(GetFocus(), buddy) << "the buddy takes the focus";
}

TEST_F(UpDown, ArrowKeysOfTheBuddy)
{
    HWND buddy = MakeBuddy();
    HWND spin = MakeSpin(UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    SetFocus(buddy);
    heard.clear();
    KeyPress(VK_UP);
    EXPECT_EQ(Pos(spin), 1);
    EXPECT_EQ(Text(buddy), L"1");
    ASSERT_EQ(heard.size(), 2u) << "no SB_ENDSCROLL when a key typed in the buddy comes up";
    EXPECT_EQ(heard[0].code, UDN_DELTAPOS);
    EXPECT_EQ(heard[1].code, static_cast<UINT>(SB_THUMBPOSITION));
    KeyPress(VK_DOWN);
    KeyPress(VK_DOWN);
    EXPECT_EQ(Pos(spin), 0);
    // A held key accelerates like a held arrow: repeats after two seconds step by 5.
    user::InjectKey(VK_UP, true);
    Pump();
    Advance(2000);
    user::InjectKey(VK_UP, true);
    Pump();
    user::InjectKey(VK_UP, false);
    Pump();
    EXPECT_EQ(Pos(spin), 6);
    EXPECT_EQ(comctl::SubclassedWindowCount(), 1u);
    DestroyWindow(spin);
    EXPECT_EQ(comctl::SubclassedWindowCount(), 0u) << "the buddy is let go";
    KeyPress(VK_UP);
    EXPECT_EQ(Text(buddy), L"6") << "nobody steps any more";

    // Without UDS_ARROWKEYS the keys stay the buddy's.
    spin = MakeSpin(UDS_AUTOBUDDY | UDS_SETBUDDYINT, 300, 50, 16, 40, 201);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), buddy);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    KeyPress(VK_UP);
    EXPECT_EQ(Pos(spin), 0);
}

TEST_F(UpDown, HoldRepeatsWithAcceleration)
{
    HWND spin = MakeSpin(0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100000);
    heard.clear();
    Press(spin, kUpArrow);
    // Steps: one at the press, one after 500 ms, then one every 100 ms; the increment is
    // that of the last accelerator whose time has passed: 1, from 2 s 5, from 5 s 20.
    auto increment = [](uint64_t t) { return t >= 5000 ? 20 : t >= 2000 ? 5 : 1; };
    int expected = 1;
    EXPECT_EQ(Pos(spin), expected);
    for (uint64_t t = 10; t <= 6000; t += 10) {
        Advance(10);
        if (t >= 500 && (t - 500) % 100 == 0)
            expected += increment(t);
        ASSERT_EQ(Pos(spin), expected) << "at " << t << " ms";
    }
    EXPECT_EQ(expected, 1 + 15 + 5 * 30 + 11 * 20) << "the schedule itself";
    Release();
    EXPECT_EQ(CountHeard(WM_VSCROLL, SB_ENDSCROLL), 1u);
    EXPECT_EQ(LiveTimerCount(), 0u) << "the repeat timer stops with the press";
    Advance(500);
    EXPECT_EQ(Pos(spin), expected);
}

TEST_F(UpDown, HoldPausesOffTheArrowAndUsesTheOwnAccelerators)
{
    HWND spin = MakeSpin(0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 1000);
    UDACCEL accel[2] = {{0, 2}, {1, 10}};
    SendMessageW(spin, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel));
    Press(spin, kUpArrow);
    EXPECT_EQ(Pos(spin), 2);
    Advance(600); // 500 and 600
    EXPECT_EQ(Pos(spin), 6);
    const POINT away = ScreenOf(spin, POINT{8, 30});   // the other arrow
    MoveTo(away.x, away.y);
    Advance(300);
    EXPECT_EQ(Pos(spin), 6) << "no steps while the mouse is off the held arrow";
    const POINT back = ScreenOf(spin, kUpArrow);
    MoveTo(back.x, back.y);
    Advance(100); // 1000 ms: the second accelerator
    EXPECT_EQ(Pos(spin), 16);
    Release();
}

TEST_F(UpDown, ParentDestroyingTheControlWhileHeld)
{
    HWND spin = MakeSpin(0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    int told = 0;
    onHeard = [&](const TabHeard& e) {
        if (e.code == UDN_DELTAPOS && ++told == 2)
            DestroyWindow(spin);
    };
    Press(spin, kUpArrow);
    Advance(600);
    EXPECT_FALSE(IsWindow(spin));
    EXPECT_EQ(told, 2);
    Release();
    EXPECT_EQ(LiveTimerCount(), 0u);
}

// The screen under a control against DrawFrameControl painting the two arrows.
void ExpectArrows(HWND spin, UINT upState, UINT downState, const char* what)
{
    RECT rc{};
    GetClientRect(spin, &rc);
    const int w = rc.right, h = rc.bottom;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT up{0, 0, w, h / 2}, down{0, h / 2, w, h};
    DrawFrameControl(mem, &up, DFC_SCROLL, DFCS_SCROLLUP | upState);
    DrawFrameControl(mem, &down, DFC_SCROLL, DFCS_SCROLLDOWN | downState);
    user::PaintPendingWindows();
    POINT o{0, 0};
    ClientToScreen(spin, &o);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            wrong += GetPixel(screen, o.x + x, o.y + y) != GetPixel(mem, x, y) ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0) << what;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST_F(UpDown, PaintsTheArrowsPressedAndDisabled)
{
    HWND spin = MakeSpin(0);
    SendMessageW(spin, UDM_SETRANGE32, 0, 10);
    Pump();
    ExpectArrows(spin, 0, 0, "at rest");
    Press(spin, kUpArrow);
    ExpectArrows(spin, DFCS_PUSHED, 0, "up held");
    const POINT away = ScreenOf(spin, POINT{8, 60});
    MoveTo(away.x, away.y);
    ExpectArrows(spin, 0, 0, "held, the mouse gone off");
    Release();
    Press(spin, kDownArrow);
    ExpectArrows(spin, 0, DFCS_PUSHED, "down held");
    Release();
    EnableWindow(spin, FALSE);
    ExpectArrows(spin, DFCS_INACTIVE, DFCS_INACTIVE, "disabled");
    heard.clear();
    ClickAt(spin, kUpArrow);
    EXPECT_TRUE(heard.empty()) << "a disabled control does not step";
}

TEST_F(UpDown, ClassLibraryWrapper)
{
    CWnd* owner = CWnd::FromHandle(parent);
    CWnd buddy;
    ASSERT_TRUE(buddy.Attach(MakeBuddy()));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, CRect(0, 0, 16, 20), owner, 9));
    EXPECT_EQ(spin.SetBuddy(&buddy), nullptr);
    EXPECT_EQ(spin.GetBuddy()->GetSafeHwnd(), buddy.GetSafeHwnd());
    spin.SetRange(-10, 300);
    int lower = 0, upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(lower, -10);
    EXPECT_EQ(upper, 300);
    EXPECT_EQ(spin.SetPos(20), 0);
    EXPECT_EQ(spin.GetPos(), 20);
    ::SetWindowTextW(buddy.GetSafeHwnd(), L"oops");
    EXPECT_NE(HIWORD(static_cast<DWORD>(spin.GetPos())), 0) << "the error flag shows";
    BOOL error = FALSE;
    EXPECT_EQ(spin.GetPos32(&error), 20);
    EXPECT_TRUE(error);
    spin.SetRange32(0, 1 << 20);
    spin.GetRange32(lower, upper);
    EXPECT_EQ(upper, 1 << 20);
    EXPECT_EQ(spin.SetPos32(1 << 19), 20);
    EXPECT_EQ(spin.SetBase(2), 0);
    EXPECT_EQ(spin.SetBase(16), 10);
    EXPECT_EQ(spin.GetBase(), 16u);
    UDACCEL accel{0, 3};
    EXPECT_TRUE(spin.SetAccel(1, &accel));
    EXPECT_EQ(spin.GetAccel(0, nullptr), 1u);
    spin.DestroyWindow();
    ::DestroyWindow(buddy.Detach());
}

} // namespace
} // namespace zyn::test
