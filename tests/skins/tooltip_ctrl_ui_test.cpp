// The toolkit's own tooltip window (COXToolTipCtrl): tools, relayed mouse messages on
// the virtual clock, placement, the info box toggled by clicking, per-tool widths and
// colours, and its pixels by geometry.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/queue_internal.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"
#include "toolkit/controls/tooltip_ctrl.h"

namespace {

using zyn::base::Clock;

// A parent that answers callback tools through its message map.
class TipParent : public CWnd {
public:
    static inline std::function<void(UINT nID, NMTTDISPINFOW*)> answer;
    static inline UINT lastWParam = 0;
    static inline UINT_PTR lastIdFrom = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
            lastWParam = static_cast<UINT>(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }

protected:
    afx_msg BOOL OnNeedText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
    {
        lastIdFrom = pNMHDR->idFrom;
        if (answer)
            answer(nID, reinterpret_cast<NMTTDISPINFOW*>(pNMHDR));
        *pResult = 0;
        return TRUE;
    }
    afx_msg void OnPaint()
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        CRect rc;
        GetClientRect(&rc);
        ::FillRect(dc, &rc, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
        ::EndPaint(m_hWnd, &ps);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TipParent, CWnd)
    ON_WM_PAINT()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &TipParent::OnNeedText)
END_MESSAGE_MAP()

// Exposes the protected parts the checks need.
class TestTip : public COXToolTipCtrl {
public:
    using COXToolTipCtrl::GetBoundsRect;
    using COXToolTipCtrl::m_bHasExtendedText;
    using COXToolTipCtrl::m_nTextFormat;
    using COXToolTipCtrl::m_pCurrentToolTip;
};

class OXTip : public testing::Test {
protected:
    void SetUp() override
    {
        zyn::user::ResetWindowSystemForTests();
        Clock::UseVirtual(50000);
        TipParent::answer = nullptr;
        m_objects = zyn::gdi::LiveObjectCount();
        m_dcs = zyn::gdi::LiveDcCount();
        m_hooks = zyn::user::LiveHookCount();
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
            nullptr, nullptr));
        ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(200, 50, 280, 100),
            &parent, 7));
        SetActiveWindow(parent.m_hWnd);
    }
    void TearDown() override
    {
        tip.reset();
        child.DestroyWindow();
        parent.DestroyWindow();
        Pump();
        CDC::DeleteTempMap();
        CWnd::DeleteTempMap();
        EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
        EXPECT_EQ(Timers(), 0u) << "timers leaked";
        EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks leaked";
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        TipParent::answer = nullptr;
        zyn::user::ResetWindowSystemForTests();
    }
    static size_t Timers()
    {
        zyn::user::ThreadQueue& q = zyn::user::MyQueue();
        std::lock_guard lock(q.m);
        return q.timers.size();
    }
    TestTip& MakeTip()
    {
        tip = std::make_unique<TestTip>();
        EXPECT_TRUE(tip->Create(&parent));
        return *tip;
    }
    // The owner's part: every message of the windows with tools goes to RelayEvent first.
    void Pump()
    {
        zyn::test::PumpMessages([this](MSG& m) {
            if (tip && m.hwnd && (m.hwnd == parent.m_hWnd || IsChild(parent.m_hWnd, m.hwnd)))
                tip->RelayEvent(&m);
            return false;
        });
    }
    void Advance(uint64_t ms)
    {
        for (; ms > 0; ms -= std::min<uint64_t>(ms, 10)) {
            Clock::Advance(std::min<uint64_t>(ms, 10));
            Pump();
        }
    }
    void MoveTo(int x, int y)
    {
        zyn::user::InjectMouseMove(x, y);
        Pump();
    }
    bool Shown() const { return tip && tip->IsVisible(); }
    CRect TipRect() const
    {
        CRect r;
        tip->GetWindowRect(&r);
        return r;
    }
    static COLORREF Pixel(int x, int y)
    {
        zyn::user::PaintPendingWindows();
        HDC dc = GetDC(nullptr);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(nullptr, dc);
        return c;
    }
    // Measures with the system tooltip font, independently of the control.
    static TEXTMETRICW Metrics(const wchar_t* text, SIZE* extent)
    {
        HFONT font = CreateFontIndirectW(COXToolTipCtrl::GetSystemToolTipFont());
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        if (extent)
            GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), extent);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        return tm;
    }

    TipParent parent;
    CWnd child;
    std::unique_ptr<TestTip> tip;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

TEST_F(OXTip, DefaultsAndTheirSetters)
{
    TestTip& t = MakeTip();
    CRect margin;
    t.GetMargin(&margin);
    EXPECT_EQ(margin, CRect(2, 2, 3, 3));
    EXPECT_EQ(t.m_nTextFormat, static_cast<UINT>(DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX));
    struct Row {
        const char* name;
        DWORD which;
        int before;
        int set;
        int after;
    };
    const Row rows[] = {
        {"auto-pop", TTDT_AUTOPOP, 5000, 3000, 3000},
        {"initial", TTDT_INITIAL, 500, 250, 250},
        {"reshow is not kept", TTDT_RESHOW, 0, 100, 0},
        {"automatic is not kept", TTDT_AUTOMATIC, 0, 100, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(t.GetDelayTime(row.which), row.before) << row.name;
        t.SetDelayTime(row.which, row.set);
        EXPECT_EQ(t.GetDelayTime(row.which), row.after) << row.name;
    }
    t.SetDelayTime(700U);
    EXPECT_EQ(t.GetDelayTime(TTDT_INITIAL), 700);
    EXPECT_EQ(t.GetTipBkColor(), OX_TOOLTIP_DEFAULT_COLOR);
    EXPECT_EQ(t.GetTipTextColor(), OX_TOOLTIP_DEFAULT_COLOR);
    EXPECT_EQ(t.GetMaxTipWidth(), 0);
    EXPECT_TRUE(t.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(t.m_hWnd, GW_OWNER), parent.m_hWnd);
    EXPECT_FALSE(t.IsVisible());
}

TEST_F(OXTip, ToolsTakeTheirRectangleInTheParentsClientCoordinates)
{
    TestTip early;
    EXPECT_FALSE(early.AddTool(&child, L"too early")) << "no parent to measure against before Create";
    TestTip& t = MakeTip();
    EXPECT_FALSE(t.AddTool(nullptr, L"no window"));
    const RECT inChild{5, 5, 25, 25};
    ASSERT_TRUE(t.AddTool(&child, L"part", &inChild, 1));
    ASSERT_TRUE(t.AddTool(&child, L"whole", nullptr, 2));
    ASSERT_TRUE(t.AddTool(&child, L"whole again", nullptr, 2)) << "duplicates are not checked";
    EXPECT_EQ(t.GetToolCount(), 3);
    OXTOOLINFO info{};
    ASSERT_TRUE(t.GetToolInfo(info, &child, 1));
    EXPECT_EQ(CRect(info.rect), CRect(205, 55, 225, 75));
    EXPECT_EQ(info.cbSize, sizeof(OXTOOLINFO));
    EXPECT_EQ(info.hinst, AfxGetResourceHandle());
    EXPECT_STREQ(info.lpszText, L"part");
    ASSERT_TRUE(t.GetToolInfo(info, &child, 2));
    EXPECT_EQ(CRect(info.rect), CRect(200, 50, 280, 100)) << "the child's window rectangle";
    EXPECT_STREQ(info.lpszText, L"whole") << "the first of two";
    t.DelTool(&child, 2);
    ASSERT_TRUE(t.GetToolInfo(info, &child, 2));
    EXPECT_STREQ(info.lpszText, L"whole again");
    EXPECT_EQ(t.GetToolCount(), 2);
    EXPECT_FALSE(t.UpdateToolRect(&child, &inChild, 99));
    const RECT moved{0, 0, 10, 10};
    EXPECT_TRUE(t.UpdateToolRect(&child, &moved, 1));
    ASSERT_TRUE(t.GetToolInfo(info, &child, 1));
    EXPECT_EQ(CRect(info.rect), CRect(200, 50, 210, 60));
}

TEST_F(OXTip, HitTestsDescendIntoChildWindowsTools)
{
    TestTip& t = MakeTip();
    const RECT parentPart{10, 10, 60, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"parent", &parentPart, 1));
    const RECT childPart{0, 0, 40, 50};
    ASSERT_TRUE(t.AddTool(&child, L"child", &childPart, 2));
    struct Row {
        const char* name;
        HWND wnd;
        POINT pt;
        bool hit;
        UINT id;
    };
    const Row rows[] = {
        {"the parent's own tool", parent.m_hWnd, {20, 20}, true, 1},
        {"a tool of the child, asked of the parent", parent.m_hWnd, {210, 60}, true, 2},
        {"the child asked directly", child.m_hWnd, {239, 99}, true, 2},
        {"nothing there", parent.m_hWnd, {300, 250}, false, 0},
        {"a null window", nullptr, {20, 20}, false, 0},
    };
    for (const Row& row : rows) {
        OXTOOLINFO info{};
        EXPECT_EQ(t.HitTest(row.wnd, row.pt, &info) != FALSE, row.hit) << row.name;
        if (row.hit) {
            EXPECT_EQ(info.uId, row.id) << row.name;
        }
    }
}

TEST_F(OXTip, WidthsAndColoursFollowTheDefaultUnlessATooSetItsOwn)
{
    TestTip& t = MakeTip();
    const RECT r1{0, 0, 10, 10}, r2{10, 0, 20, 10};
    ASSERT_TRUE(t.AddTool(&parent, L"one", &r1, 1));
    ASSERT_TRUE(t.AddTool(&parent, L"two", &r2, 2));
    OXTOOLINFO info{};
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 2));
    info.nWidth = 90;
    info.clrBackColor = RGB(9, 9, 9);
    t.SetToolInfo(&info);
    EXPECT_EQ(t.SetMaxTipWidth(200), 0);
    t.SetTipBkColor(RGB(1, 2, 3));
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 1));
    EXPECT_EQ(info.nWidth, 200);
    EXPECT_EQ(info.clrBackColor, RGB(1, 2, 3));
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 2));
    EXPECT_EQ(info.nWidth, 90) << "set through SetToolInfo: kept";
    EXPECT_EQ(info.clrBackColor, RGB(9, 9, 9));
    // A plain TOOLINFO sets only its own part; a structure of another size is ignored.
    TOOLINFO plain{};
    plain.cbSize = sizeof plain;
    plain.hwnd = parent.m_hWnd;
    plain.uId = 2;
    plain.rect = RECT{50, 50, 60, 60};
    plain.lpszText = LPSTR_TEXTCALLBACK;
    OXTOOLINFO carrier{};
    static_cast<TOOLINFO&>(carrier) = plain;
    carrier.nWidth = 12345;
    t.SetToolInfo(&carrier); // cbSize says TOOLINFO: nWidth is not read
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 2));
    EXPECT_EQ(info.nWidth, 90);
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);
    EXPECT_EQ(info.rect.left, 50);
    carrier.cbSize = 7;
    carrier.rect = RECT{0, 0, 1, 1};
    t.SetToolInfo(&carrier);
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 2));
    EXPECT_EQ(info.rect.left, 50);
    t.SetToolInfo(nullptr);
}

TEST_F(OXTip, ShowsAfterTheInitialDelayBelowTheCursorAndPopsAfterTheAutoPopTime)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"A tip", &r, 1));
    MoveTo(150, 140);
    Advance(490);
    EXPECT_FALSE(Shown());
    Advance(10);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(TipRect().TopLeft(), CPoint(150, 160)) << "20 pixels below the cursor";
    // Polled every 500 ms: gone at the first poll at or past 5000 ms.
    Advance(4990);
    EXPECT_TRUE(Shown());
    Advance(10);
    EXPECT_FALSE(Shown());
    // Resting, the mouse gets no second tip; its next move on the tool starts it anew.
    Advance(2000);
    EXPECT_FALSE(Shown());
    MoveTo(152, 140);
    Advance(490);
    EXPECT_FALSE(Shown());
    Advance(10);
    EXPECT_TRUE(Shown());
}

TEST_F(OXTip, ATipUnderTheMouseOutlivesTheAutoPopTime)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"Stay while I am read", &r, 1));
    MoveTo(150, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    MoveTo(TipRect().left + 3, TipRect().top + 3);
    Advance(8000);
    EXPECT_TRUE(Shown()) << "the mouse is on the tip";
    MoveTo(450, 350);
    Advance(500);
    EXPECT_FALSE(Shown());
}

TEST_F(OXTip, MovingToAnotherToolRestartsTheInitialDelayAndKeysOrClicksHide)
{
    TestTip& t = MakeTip();
    const RECT a{10, 10, 110, 60}, b{130, 10, 230, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"A", &a, 1));
    ASSERT_TRUE(t.AddTool(&parent, L"B", &b, 2));
    MoveTo(150, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    MoveTo(270, 140);
    EXPECT_FALSE(Shown());
    Advance(490);
    EXPECT_FALSE(Shown()) << "a new tool waits the whole initial delay";
    Advance(10);
    ASSERT_TRUE(Shown());
    struct Row {
        const char* name;
        std::function<void()> act;
    };
    const Row rows[] = {
        {"key press", [] { zyn::user::InjectKeyPress(0x41); }},
        {"right click", [] {
             zyn::user::InjectMouseButton(zyn::user::MouseButton::Right, true);
             zyn::user::InjectMouseButton(zyn::user::MouseButton::Right, false);
         }},
    };
    for (const Row& row : rows) {
        MoveTo(150, 140); // to A: a new tool
        Advance(500);
        ASSERT_TRUE(Shown()) << row.name;
        SetFocus(parent.m_hWnd);
        row.act();
        Pump();
        EXPECT_FALSE(Shown()) << row.name;
        MoveTo(270, 140); // B again, so A is new next time
    }
}

TEST_F(OXTip, AnInactiveControlShowsNothingButItsTimersRun)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"A", &r, 1));
    t.Activate(FALSE);
    MoveTo(150, 140);
    Advance(600);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(Timers(), 1u) << "the poll timer runs";
}

TEST_F(OXTip, ATipThatWouldLeaveTheMonitorAtTheBottomGoesAboveTheToolsWindow)
{
    TestTip& t = MakeTip();
    parent.MoveWindow(100, 900, 400, 124);
    child.MoveWindow(200, 20, 80, 90);
    ASSERT_TRUE(t.AddTool(&child, L"Near the bottom", nullptr, 1));
    MoveTo(320, 1000);
    Advance(500);
    ASSERT_TRUE(Shown());
    const CRect r = TipRect();
    EXPECT_EQ(r.bottom, 920) << "at the top of the tool's window";
    EXPECT_EQ(r.left, 320);
}

TEST_F(OXTip, TheInfoBoxTogglesItsTextsWithAClickAndKeepsItsPlace)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"First line\rSecond line", &r, 1));
    CString text;
    t.GetText(text, &parent, 1);
    EXPECT_EQ(std::wstring(text.GetString()), L"First line  ");
    MoveTo(150, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    const CRect first = TipRect();
    // Width: the text with the mark's room, and the margins.
    SIZE ext{};
    const TEXTMETRICW tm = Metrics(L"First line  ", &ext);
    EXPECT_EQ(first.Width(), ext.cx + 5);
    EXPECT_EQ(first.Height(), tm.tmHeight + 5);

    // The mark by its formula: d = max(descent, leading), h = half the average width,
    // (cx, cy) the extent of two spaces with cy even; the text box is inset by the margins.
    SIZE spaces{};
    Metrics(L"  ", &spaces);
    const int d = std::max<int>(tm.tmDescent, tm.tmInternalLeading + tm.tmExternalLeading);
    const int h = tm.tmAveCharWidth / 2;
    const int cy = spaces.cy - spaces.cy % 2;
    const CRect box(first.left + 2, first.top + 2, first.right - 3, first.bottom - 3);
    // A point well inside the right-pointing triangle, and its mirror on the left.
    const int xr = box.right - spaces.cx + h + (spaces.cx - h) / 3;
    const int xl = box.left + spaces.cx - h - (spaces.cx - h) / 3;
    const int ym = box.top + cy / 2;
    ASSERT_LT(d, cy / 2);
    EXPECT_EQ(Pixel(xr, ym), RGB(0, 0, 0)) << "mark at the right";
    // The first letter stands where a left mark would: a mark fills the three rows around
    // its middle, a letter's stroke at most one of them.
    EXPECT_FALSE(Pixel(xl, ym - 1) == RGB(0, 0, 0) && Pixel(xl, ym) == RGB(0, 0, 0) && Pixel(xl, ym + 1) == RGB(0, 0, 0))
        << "nothing at the left";

    // The mouse goes onto the info box and stays there well past a poll: it stays up.
    MoveTo(first.left + 5, first.top + 3);
    Advance(1200);
    ASSERT_TRUE(Shown()) << "an info box waits for its click";
    zyn::user::InjectClick(first.left + 5, first.top + 3);
    Pump();
    ASSERT_TRUE(Shown());
    EXPECT_EQ(TipRect().TopLeft(), first.TopLeft()) << "toggled in place";
    t.GetText(text, &parent, 1);
    EXPECT_EQ(std::wstring(text.GetString()), L"  Second line");
    EXPECT_EQ(Pixel(xl, ym), RGB(0, 0, 0)) << "mark at the left";
    zyn::user::InjectClick(first.left + 5, first.top + 3);
    Pump();
    t.GetText(text, &parent, 1);
    EXPECT_EQ(std::wstring(text.GetString()), L"First line  ");
    EXPECT_EQ(Pixel(xr, ym), RGB(0, 0, 0)) << "back to the right";
}

TEST_F(OXTip, PixelsFrameAndBackgroundInTheToolsColoursTakenAtEachPaint)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"Colours", &r, 1));
    MoveTo(150, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    auto expectFrame = [&](COLORREF back, const char* what) {
        const CRect w = TipRect();
        for (int x = w.left; x < w.right; ++x) {
            ASSERT_EQ(Pixel(x, w.top), RGB(0, 0, 0)) << what << " top " << x;
            ASSERT_EQ(Pixel(x, w.bottom - 1), RGB(0, 0, 0)) << what << " bottom " << x;
        }
        for (int y = w.top; y < w.bottom; ++y) {
            ASSERT_EQ(Pixel(w.left, y), RGB(0, 0, 0)) << what << " left " << y;
            ASSERT_EQ(Pixel(w.right - 1, y), RGB(0, 0, 0)) << what << " right " << y;
        }
        EXPECT_EQ(Pixel(w.left + 1, w.top + 1), back) << what;
        EXPECT_EQ(Pixel(w.right - 2, w.bottom - 2), back) << what;
    };
    expectFrame(GetSysColor(COLOR_INFOBK), "system background");
    const INT index = COLOR_INFOBK;
    const COLORREF mint = RGB(180, 240, 200);
    SetSysColors(1, &index, &mint);
    t.Invalidate();
    expectFrame(mint, "after a system colour change");
    OXTOOLINFO info{};
    ASSERT_TRUE(t.GetToolInfo(info, &parent, 1));
    info.clrBackColor = RGB(250, 10, 10);
    info.clrTextColor = RGB(0, 0, 250);
    t.SetToolInfo(&info);
    t.Invalidate();
    expectFrame(RGB(250, 10, 10), "the tool's own background");
    bool inked = false;
    const CRect w = TipRect();
    for (int y = w.top + 2; y < w.bottom - 3 && !inked; ++y)
        for (int x = w.left + 2; x < w.right - 3 && !inked; ++x)
            inked = Pixel(x, y) == RGB(0, 0, 250);
    EXPECT_TRUE(inked) << "the tool's own text colour";
}

TEST_F(OXTip, CallbackTextsAreAskedOfTheParentAndReadNoFurtherThanTheirBuffer)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&child, LPSTR_TEXTCALLBACK, &r, 42));
    ASSERT_TRUE(zyn::base::AddStringTable(nullptr, {{7301, L"Loaded\rwith two texts"}}));
    static std::wstring pointed = L"By pointer";
    struct Row {
        const char* name;
        std::function<void(NMTTDISPINFOW*)> fill;
        std::wstring expected;
    };
    const Row rows[] = {
        {"buffer full to the end", [](NMTTDISPINFOW* di) {
             std::wmemset(di->szText, L'q', 80); // no terminator
         }, std::wstring(80, L'q')},
        {"pointer", [](NMTTDISPINFOW* di) { di->lpszText = pointed.data(); }, L"By pointer"},
        {"resource, an info box", [](NMTTDISPINFOW* di) {
             di->hinst = GetModuleHandleW(nullptr);
             di->lpszText = MAKEINTRESOURCEW(7301);
         }, L"Loaded  "},
    };
    for (const Row& row : rows) {
        TipParent::answer = [&](UINT, NMTTDISPINFOW* di) {
            EXPECT_EQ(di->lpszText, nullptr) << row.name << ": text pointer zeroed";
            EXPECT_EQ(di->hdr.hwndFrom, t.m_hWnd) << row.name;
            row.fill(di);
        };
        CString text;
        t.GetText(text, &child, 42);
        EXPECT_EQ(std::wstring(text.GetString()), row.expected) << row.name;
        EXPECT_EQ(TipParent::lastWParam, 42u) << row.name << ": wParam is the tool's ID";
        EXPECT_EQ(TipParent::lastIdFrom, 7u) << row.name << ": idFrom is the tool window's control ID";
    }
}

TEST_F(OXTip, BoundsMeasureTheWidestLineOrWrapAtTheToolsWidth)
{
    TestTip& t = MakeTip();
    // Width 0: room for the widest line (and a mark) is measured, and the wrapped text
    // then takes its own width: the widest line's, plus the margins.
    SIZE wide{};
    const TEXTMETRICW tm = Metrics(L"a much longer second line", &wide);
    CRect b = t.GetBoundsRect(L"short\n\na much longer second line", 0);
    EXPECT_EQ(b.Width(), wide.cx + 5);
    EXPECT_EQ(b.Height(), 3 * tm.tmHeight + 5) << "three lines, the middle one empty";
    SIZE alpha{}, gamma{};
    Metrics(L"alpha", &alpha);
    Metrics(L"gamma", &gamma);
    const int limit = alpha.cx + 10;
    b = t.GetBoundsRect(L"alpha beta gamma", limit);
    EXPECT_GE(b.Height(), 2 * tm.tmHeight + 5) << "wrapped at the given width";
    EXPECT_LE(b.Width(), std::max<int>(limit, gamma.cx) + 5) << "no wider than the limit or a longer word";
}

TEST_F(OXTip, FontsFollowTheSystemUntilOneIsSet)
{
    TestTip& t = MakeTip();
    EXPECT_FALSE(t.SetLogFont(nullptr));
    LOGFONT current{};
    const auto hFont = reinterpret_cast<HFONT>(t.SendMessage(WM_GETFONT));
    ASSERT_NE(hFont, nullptr);
    GetObjectW(hFont, sizeof current, &current);
    EXPECT_EQ(current.lfHeight, COXToolTipCtrl::GetSystemToolTipFont()->lfHeight);
    LOGFONT big = current;
    big.lfHeight = -40;
    HFONT bigFont = CreateFontIndirectW(&big);
    t.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), TRUE);
    DeleteObject(bigFont); // the control made its own copy
    GetObjectW(reinterpret_cast<HFONT>(t.SendMessage(WM_GETFONT)), sizeof current, &current);
    EXPECT_EQ(current.lfHeight, -40);
    t.SendMessage(WM_SETTINGCHANGE, 0, 0);
    GetObjectW(reinterpret_cast<HFONT>(t.SendMessage(WM_GETFONT)), sizeof current, &current);
    EXPECT_EQ(current.lfHeight, -40) << "an application font stays over a settings change";
    t.SendMessage(WM_SETFONT, 0, TRUE);
    GetObjectW(reinterpret_cast<HFONT>(t.SendMessage(WM_GETFONT)), sizeof current, &current);
    EXPECT_EQ(current.lfHeight, COXToolTipCtrl::GetSystemToolTipFont()->lfHeight) << "no font: the system's";
}

TEST_F(OXTip, DeletingTheShownToolAndTheControlLeavesNothing)
{
    TestTip& t = MakeTip();
    const RECT r{10, 10, 110, 60};
    ASSERT_TRUE(t.AddTool(&parent, L"Going", &r, 1));
    MoveTo(150, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    t.DelTool(&parent, 1);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(t.m_pCurrentToolTip, nullptr);
    Advance(1000);
    ASSERT_TRUE(t.AddTool(&parent, L"Back", &r, 1));
    MoveTo(152, 140);
    Advance(500);
    ASSERT_TRUE(Shown());
    tip.reset(); // with its window, timers and tools
    EXPECT_EQ(Timers(), 0u);
}

} // namespace
