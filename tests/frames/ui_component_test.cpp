// The UI component: its form state, its session and help ID, and vertical scrolling of a
// sub-form shown smaller than its content: the steps worked out from the heights, the
// thumb's 32-bit positions (dragged and sent), the position kept through resizes, the
// wheel, and messages it leaves to the dialog.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "frames/ui_component.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "tests/frames/cfg_forms_ids.h"
#include "tests/frames/frames_test_support.h"

namespace zyn::test {
namespace {

constexpr int kWidth = 200;
constexpr LRESULT kHostWheelAnswer = 77;
const wchar_t* const kHostClass = L"UiComponentHost";

LRESULT HostProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_MOUSEWHEEL)
        return kHostWheelAnswer;
    return DefWindowProcW(h, m, wp, lp);
}

// A sub-form whose content is `contentHeight` pixels tall (its window is made that tall
// before the component notes its size), counting what reaches the dialog's default
// processing.
class TestComponent : public CUIComponent {
public:
    TestComponent(CWnd* parent, int contentHeight)
        : CUIComponent(IDD_UI_COMPONENT, parent)
        , m_contentHeight(contentHeight)
    {
    }
    BOOL OnInitDialog() override
    {
        SetWindowPos(nullptr, 0, 0, kWidth, m_contentHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        return CUIComponent::OnInitDialog();
    }
    BOOL ValidateData() override { return TRUE; }
    void Clear() override {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL) {
            ++defaultScrolls;
            if (onScroll)
                onScroll(GetScrollPosition());
        }
        return CUIComponent::DefWindowProc(message, wParam, lParam);
    }
    int defaultScrolls = 0;
    std::function<void(int)> onScroll; // the position after each step that moved
    std::vector<int> positions;

private:
    int m_contentHeight;
};

class UiComponentTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostProc;
        wc.lpszClassName = kHostClass;
        ASSERT_NE(RegisterClassW(&wc), 0);
        m_host = CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 20, 400, 900,
            nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_host, nullptr);
    }
    void TearDown() override
    {
        if (m_component && ::IsWindow(m_component->m_hWnd))
            m_component->DestroyWindow();
        m_component.reset();
        DestroyWindow(m_host);
        FramesTest::TearDown();
    }

    // The component with that content, shown `visible` pixels tall.
    TestComponent* Make(int content, int visible, bool scrollable = true)
    {
        m_component = std::make_unique<TestComponent>(CWnd::FromHandle(m_host), content);
        if (!m_component->Create(CWnd::FromHandle(m_host)))
            return nullptr;
        m_component->SetIsVerticallyScrollable(scrollable);
        Resize(visible);
        return m_component.get();
    }
    void Resize(int visible)
    {
        m_component->SetWindowPos(nullptr, 0, 0, kWidth, visible, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    void Send(UINT code, int pos = 0, HWND bar = nullptr)
    {
        m_component->SendMessage(WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(bar));
    }
    // Where the bar stands and where the content is: the top label's top, in the client.
    int BarPos() const { return ::GetScrollPos(m_component->m_hWnd, SB_VERT); }
    int LabelTop() const
    {
        RECT r;
        ::GetWindowRect(::GetDlgItem(m_component->m_hWnd, IDC_UI_TOP), &r);
        POINT p{r.left, r.top};
        ::ScreenToClient(m_component->m_hWnd, &p);
        return p.y;
    }
    // Position, bar and content agree.
    void ExpectAt(int pos, const std::string& what)
    {
        EXPECT_EQ(m_component->GetScrollPosition(), pos) << what;
        EXPECT_EQ(BarPos(), pos) << what << ": the bar";
        EXPECT_EQ(LabelTop(), -pos) << what << ": the content";
    }

    HWND m_host = nullptr;
    std::unique_ptr<TestComponent> m_component;
};

TEST_F(UiComponentTest, StepsComeFromTheContentAndVisibleHeights)
{
    struct Row {
        int content, visible, max, line, page;
    };
    const Row rows[] = {
        {1000, 400, 600, 30, 60}, // M / 20 and M / 10
        {450, 400, 50, 5, 5},     // small ranges step by at least 5
        {1010, 400, 610, 30, 61}, // integer division
        {300, 400, 0, 5, 5},      // the content fits: nothing to scroll
    };
    // The window system keeps a page within the range's size (nMax - nMin + 1).
    auto page = [](const Row& row) { return static_cast<UINT>(std::min(row.visible, row.content + 1)); };
    for (const Row& row : rows) {
        const std::string what = std::to_string(row.content) + " shown " + std::to_string(row.visible);
        TestComponent* c = Make(row.content, row.visible);
        ASSERT_NE(c, nullptr) << what;
        EXPECT_EQ(c->GetCreatedRect().Height(), row.content) << what;
        EXPECT_EQ(c->GetMaxScrollPosition(), row.max) << what;
        EXPECT_EQ(c->GetLineStep(), row.line) << what;
        EXPECT_EQ(c->GetPageStep(), row.page) << what;
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(::GetScrollInfo(c->m_hWnd, SB_VERT, &si));
        EXPECT_EQ(si.nMin, 0) << what;
        EXPECT_EQ(si.nMax, row.content) << what;
        EXPECT_EQ(si.nPage, page(row)) << what;
        c->DestroyWindow();
    }
}

TEST_F(UiComponentTest, LinesAndPagesStopAtTheEnds)
{
    TestComponent* c = Make(1010, 400); // M 610, line 30, page 61
    ASSERT_NE(c, nullptr);
    struct Step {
        UINT code;
        int after;       // the position after the message
        bool toDefault;  // the dialog's default processing ran
    };
    const Step steps[] = {
        {SB_LINEUP, 0, false}, {SB_PAGEUP, 0, false}, // at the top: nothing, not even the default
        {SB_LINEDOWN, 30, true}, {SB_PAGEDOWN, 91, true}, {SB_PAGEDOWN, 152, true}, {SB_LINEUP, 122, true},
        {SB_TOP, 122, false}, {SB_BOTTOM, 122, false}, {SB_ENDSCROLL, 122, false}, // no step: ignored
        {SB_PAGEDOWN, 183, true}, {SB_PAGEDOWN, 244, true}, {SB_PAGEDOWN, 305, true}, {SB_PAGEDOWN, 366, true},
        {SB_PAGEDOWN, 427, true}, {SB_PAGEDOWN, 488, true}, {SB_PAGEDOWN, 549, true}, {SB_LINEDOWN, 579, true},
        {SB_LINEDOWN, 609, true}, {SB_LINEDOWN, 610, true}, // the last step shrinks to what remains
        {SB_LINEDOWN, 610, false}, {SB_PAGEDOWN, 610, false}, {SB_PAGEUP, 549, true},
    };
    int n = 0;
    for (const Step& step : steps) {
        const std::string what = "step " + std::to_string(n++) + " (code " + std::to_string(step.code) + ")";
        const int before = c->defaultScrolls;
        Send(step.code);
        ExpectAt(step.after, what);
        EXPECT_EQ(c->defaultScrolls - before, step.toDefault ? 1 : 0) << what;
    }
}

TEST_F(UiComponentTest, ScrollMessagesItDoesNotOwnGoToTheDialog)
{
    // Not scrollable: the dialog's processing alone.
    TestComponent* c = Make(1000, 400, false);
    ASSERT_NE(c, nullptr);
    Send(SB_LINEDOWN);
    Send(SB_THUMBPOSITION, 300);
    ExpectAt(0, "not scrollable");
    EXPECT_EQ(c->defaultScrolls, 2);
    c->DestroyWindow();

    // Scrollable, but the message comes from a scroll-bar control.
    c = Make(1000, 400);
    ASSERT_NE(c, nullptr);
    HWND bar = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_VERT, 0, 0, 16, 100, c->m_hWnd, nullptr, nullptr,
        nullptr);
    ASSERT_NE(bar, nullptr);
    Send(SB_LINEDOWN, 0, bar);
    ExpectAt(0, "a control's bar");
    EXPECT_EQ(c->defaultScrolls, 1);
}

TEST_F(UiComponentTest, ThumbPositionsAre32Bit)
{
    // Within 16 bits the message is the position, read unsigned (65535 would be -1 as
    // the message's signed half) and kept within 0..M.
    TestComponent* c = Make(1000, 400); // M 600
    ASSERT_NE(c, nullptr);
    Send(SB_THUMBTRACK, 300);
    ExpectAt(300, "tracked to 300");
    Send(SB_THUMBPOSITION, 601); // the bar's last position is M + 1
    ExpectAt(600, "one past M");
    Send(SB_THUMBPOSITION, 0xFFFF);
    ExpectAt(600, "65535");
    Send(SB_THUMBTRACK, 0);
    ExpectAt(0, "back to the top");
    c->DestroyWindow();

    // M = 200000 - 400 = 199600: far beyond what a message's 16 bits hold. Sent by hand,
    // the 16 bits name the position nearest the bar's.
    c = Make(200000, 400);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->GetMaxScrollPosition(), 199600);
    struct Row {
        int sent; // the position the host means; the message carries its low 16 bits
        int at;
    };
    const Row rows[] = {{30000, 30000}, {60000, 60000}, {90000, 90000}, {120000, 120000}, {150000, 150000},
        {180000, 180000}, {199601, 199600}, {3 * 65536 + 6997, 199600}, {170000, 170000}, {140000, 140000}};
    for (const Row& row : rows) {
        Send(SB_THUMBPOSITION, row.sent);
        ExpectAt(row.at, "thumb sent to " + std::to_string(row.sent));
    }
    c->DestroyWindow();

    // Dragged by the mouse from the top to below the bar: every tracked position is the
    // full one (they only grow), and the drag ends exactly at M.
    c = Make(200000, 400);
    ASSERT_NE(c, nullptr);
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    ASSERT_TRUE(GetScrollBarInfo(c->m_hWnd, OBJID_VSCROLL, &sbi));
    const int x = (sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2;
    const int thumbY = sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2;
    // One move at a time (each once the last is handled: moves queued together merge).
    std::function<void(int)> moveTo = [&](int y) {
        if (y >= sbi.rcScrollBar.bottom + 60) {
            user::InjectMouseButton(user::MouseButton::Left, false);
            return;
        }
        user::InjectMouseMove(x, y);
        user::QueueIdleAction([&moveTo, y] { moveTo(y + 20); });
    };
    c->onScroll = [&](int pos) { c->positions.push_back(pos); };
    user::InjectMouseMove(x, thumbY);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::QueueIdleAction([&] { moveTo(thumbY + 20); });
    Pump();
    ExpectAt(199600, "dragged to the bottom");
    ASSERT_GE(c->positions.size(), 5u);
    EXPECT_GT(c->positions[c->positions.size() / 2], 65535) << "half way down the drag";
    for (size_t i = 1; i < c->positions.size(); ++i)
        EXPECT_GE(c->positions[i], c->positions[i - 1]) << "position " << i << " of the drag went back";
}

TEST_F(UiComponentTest, ResizingKeepsThePositionWithinTheNewRange)
{
    TestComponent* c = Make(1000, 400); // M 600, page 60
    ASSERT_NE(c, nullptr);
    for (int i = 0; i < 5; ++i)
        Send(SB_PAGEDOWN);
    ExpectAt(300, "scrolled");
    struct Row {
        int visible;
        int at;
    };
    const Row rows[] = {
        {500, 300},  // M 500: the position stands
        {800, 200},  // M 200: clamped, the content moves back with it
        {500, 200},  // M 500 again: the stored 200 stays
        {1200, 0},   // the content fits
        {400, 0},
    };
    for (const Row& row : rows) {
        Resize(row.visible);
        ExpectAt(row.at, "shown " + std::to_string(row.visible));
    }
    // Switching scrolling off takes the content back to the top.
    Send(SB_PAGEDOWN);
    ExpectAt(60, "scrolled again");
    c->SetIsVerticallyScrollable(false);
    ExpectAt(0, "no longer scrollable");
}

TEST_F(UiComponentTest, TheWheelScrollsALineAndAnswersAsTheDefault)
{
    TestComponent* c = Make(450, 400); // M 50, line 5
    ASSERT_NE(c, nullptr);
    auto wheel = [&](int delta) {
        return c->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), MAKELPARAM(60, 60));
    };
    // The default hands the wheel to the parent, whose answer comes back.
    EXPECT_EQ(wheel(120), kHostWheelAnswer);
    ExpectAt(0, "up at the top");
    EXPECT_EQ(wheel(-120), kHostWheelAnswer);
    ExpectAt(5, "down");
    for (int i = 0; i < 20; ++i)
        wheel(-120);
    ExpectAt(50, "down to the end");
    wheel(120);
    ExpectAt(45, "up");
    c->SetIsVerticallyScrollable(false);
    EXPECT_EQ(wheel(-120), kHostWheelAnswer);
    ExpectAt(0, "not scrollable");
}

TEST_F(UiComponentTest, StateSessionHelpAndStyles)
{
    TestComponent* c = Make(300, 300);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->State(), AcCfgStateView);
    const struct {
        AcCfgFormState state;
        bool editing;
    } states[] = {{AcCfgStateView, false}, {AcCfgStateReserved, false}, {AcCfgStateAdd, true},
        {AcCfgStateModify, true}, {AcCfgStateDelete, false}};
    for (const auto& s : states) {
        EXPECT_TRUE(c->SetState(s.state));
        EXPECT_EQ(c->State(), s.state);
        EXPECT_EQ(c->InEditState(), s.editing) << "state " << s.state;
    }
    CPoint pt(3, 4);
    EXPECT_EQ(c->GetHelpID(0, pt), static_cast<ULONG>(IDD_UI_COMPONENT));
    EXPECT_EQ(c->GetHelpID(IDC_UI_TOP, pt), static_cast<ULONG>(IDD_UI_COMPONENT));
    // The host's dialog keys reach it: a group with a tab stop.
    EXPECT_EQ(c->GetStyle() & (WS_GROUP | WS_TABSTOP), static_cast<DWORD>(WS_GROUP | WS_TABSTOP));

    // No application, then nobody logged in, then an operator with a database.
    EXPECT_EQ(c->User(), nullptr);
    EXPECT_EQ(c->Database(), nullptr);
    CZynApp app(L"Host");
    EXPECT_EQ(c->User(), nullptr);
    EXPECT_EQ(c->Database(), nullptr);
    CZynDatabase database;
    auto user = std::make_unique<CAcsUser>(5, L"operator");
    user->SetDatabase(&database);
    CAcsUser* raw = user.get();
    app.LoginOperator(std::move(user));
    EXPECT_EQ(c->User(), raw);
    EXPECT_EQ(c->Database(), &database);
    app.LogoutOperator();
    EXPECT_EQ(c->User(), nullptr);
}

} // namespace
} // namespace zyn::test
