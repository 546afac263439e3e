// Progress panes: where the control sits in its pane (the pane's inside, less the room
// of "999%" in the status font when the percentage shows), the percentage text and the
// control's range and position for empty, 25 %, 40 % and past-the-end progress and for
// values past 32 bits, the fill the control then shows, moving with the pane, replacing
// and removing the indicator, and a hidden bar staying hidden.
#include "platform/afx/afxres.h"
#include "platform/comctl/progress.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/statusbar/statusbar_test_support.h"

namespace sbtest {
namespace {

class ProgressTest : public StatusBarUiTest {
protected:
    // A message pane, a 150-pixel progress pane and the caps indicator.
    COXStatusBar* MakeProgressBar(UINT progressStyle = SBPS_NORMAL | OXSBPS_PROGRESS)
    {
        if (!MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS}))
            return nullptr;
        bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 40);
        bar->SetPaneInfo(1, ID_SEPARATOR, progressStyle, 150);
        Repaint();
        return bar.get();
    }
    // The control's rectangle in the bar's client area.
    CRect ControlRect(int pane) const
    {
        const COXStatusBar::CEvolInfo* info = bar->GetPaneProgress(pane);
        if (!info || !info->m_progress.m_hWnd)
            return CRect(0, 0, 0, 0);
        CRect r;
        info->m_progress.GetWindowRect(&r);
        bar->ScreenToClient(&r);
        return r;
    }
    // The pane's inside: 2 pixels in from the sides, 1 from the top, 2 from the bottom.
    CRect ProgressInside(int pane) const
    {
        const CRect p = Part(pane);
        return CRect(p.left + 2, p.top + 1, p.right - 2, p.bottom - 2);
    }
};

TEST_F(ProgressTest, PercentageAndControlFollowTheClampedRule)
{
    ASSERT_TRUE(MakeProgressBar());
    ASSERT_TRUE(bar->SetUpBar(1));
    CRect expected = ProgressInside(1);
    expected.left += TextExtent(L"999%").cx;
    EXPECT_EQ(ControlRect(1), expected) << "the inside, less the room of the percentage";
    EXPECT_EQ(Shown(1), L"0%") << "set up at 0 of 100";

    struct Row {
        const char* name;
        DWORD range, position;
        const wchar_t* text;
        int controlMax, controlPos; // what the control holds (it clamps the position)
    } rows[] = {
        {"empty range", 0, 0, L"0%", 0, 0},
        {"50 of 200", 200, 50, L"25%", 200, 50},
        {"40 of 100", 100, 40, L"40%", 100, 40},
        {"past the end", 100, 250, L"100%", 100, 100},
        {"ten times past the end", 10, 1000, L"100%", 10, 10},
        {"a product past 32 bits", 100000000, 42949673, L"42%", 100000000, 42949673},
        {"the largest values", 0xFFFFFFFFu, 0xFFFFFFFFu, L"100%", 0x7FFFFFFF, 0x7FFFFFFF},
        {"back to the start", 100, 0, L"0%", 100, 0},
    };
    const COXStatusBar::CEvolInfo* info = bar->GetPaneProgress(1);
    ASSERT_NE(info, nullptr);
    const HWND control = info->m_progress.m_hWnd;
    for (const Row& row : rows) {
        bar->SetBarProgress(1, 0, row.range, row.position);
        EXPECT_EQ(Shown(1), row.text) << row.name;
        EXPECT_EQ(std::wstring(bar->GetPaneText(1).GetString()), row.text) << row.name;
        PBRANGE range{};
        ::SendMessageW(control, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(range.iLow, 0) << row.name;
        EXPECT_EQ(range.iHigh, row.controlMax) << row.name;
        EXPECT_EQ(static_cast<int>(::SendMessageW(control, PBM_GETPOS, 0, 0)), row.controlPos) << row.name;
    }
    EXPECT_EQ(info->m_progress.m_hWnd, control) << "one control throughout";
    EXPECT_EQ(ControlRect(1), expected);
}

TEST_F(ProgressTest, TheControlShowsTheShareAsBlocks)
{
    ASSERT_TRUE(MakeProgressBar());
    ASSERT_TRUE(bar->SetUpBar(1));
    Repaint();
    const CRect control = ControlRect(1);
    // Inside the control's one-pixel margin: blocks of 2/3 of the inner height, 2 apart;
    // every block that starts inside the filled length is drawn whole.
    const int length = control.Width() - 2, thickness = control.Height() - 2;
    const int block = std::max(1, thickness * 2 / 3), pitch = block + 2;
    const int y = control.top + control.Height() / 2;
    struct Row {
        const char* name;
        DWORD range, position;
        int filled; // length * position / range, the position clamped to the range
    } rows[] = {
        {"0 %", 100, 0, 0},
        {"40 %", 100, 40, length * 40 / 100},
        {"past the end: full", 100, 250, length},
    };
    for (const Row& row : rows) {
        bar->SetBarProgress(1, 0, row.range, row.position);
        Repaint();
        for (int i = 0; i < length; ++i) {
            const int start = i / pitch * pitch; // the block (or gap) i lies in
            const bool inBlock = i - start < block && start < row.filled;
            ASSERT_EQ(Pixel(control.left + 1 + i, y), inBlock ? kHighlight : kFace) << row.name << ", column " << i;
        }
    }
}

TEST_F(ProgressTest, WithoutThePercentageTheControlFillsTheInside)
{
    ASSERT_TRUE(MakeProgressBar());
    ASSERT_TRUE(bar->SetPaneText(1, L"was here"));
    ASSERT_TRUE(bar->SetUpBar(1, 0, FALSE));
    EXPECT_EQ(ControlRect(1), ProgressInside(1));
    EXPECT_EQ(Shown(1), L"") << "the pane's text is emptied";
    bar->SetBarProgress(1, 0, 200, 50);
    EXPECT_EQ(Shown(1), L"") << "no percentage";
    EXPECT_EQ(bar->GetPaneProgress(1)->m_nPercent, 25);
}

TEST_F(ProgressTest, AProgressPaneMovesItsControlOnlyWithTheProgressBit)
{
    for (const UINT style : {SBPS_NORMAL | OXSBPS_PROGRESS, SBPS_NORMAL}) {
        SCOPED_TRACE(style);
        ASSERT_TRUE(MakeProgressBar(style));
        ASSERT_TRUE(bar->SetUpBar(1, 0, FALSE));
        const CRect before = ControlRect(1);
        // A wider frame: the stretchy message pane grows and pushes the progress pane.
        frame->SetWindowPos(nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER);
        Repaint();
        ASSERT_EQ(Part(1).left, before.left - 2 + 100) << "the pane moved with the frame";
        EXPECT_EQ(ControlRect(1), style & OXSBPS_PROGRESS ? ProgressInside(1) : before);
        bar.reset();
        frame->DestroyWindow();
        frame = nullptr;
        Pump();
    }
}

TEST_F(ProgressTest, ReplacingRemovingAndHiddenBars)
{
    ASSERT_TRUE(MakeProgressBar());
    const size_t windows = zyn::user::LiveWindowCount();
    bar->SetBarProgress(1, 0, 100, 50);
    EXPECT_EQ(bar->GetPaneProgress(1), nullptr);
    EXPECT_EQ(Shown(1), L"") << "a pane without an indicator is left alone";
    ASSERT_TRUE(bar->SetUpBar(1));
    bar->SetBarProgress(1, 0, 100, 60);
    const HWND first = bar->GetPaneProgress(1)->m_progress.m_hWnd;
    ASSERT_TRUE(bar->SetUpBar(1));
    EXPECT_FALSE(::IsWindow(first)) << "the old control is destroyed";
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows + 1);
    EXPECT_EQ(Shown(1), L"0%") << "a new indicator starts at 0";
    bar->ResetBar(1, FALSE);
    EXPECT_EQ(Shown(1), L"0%");
    EXPECT_NE(bar->GetPaneProgress(1), nullptr);
    bar->ResetBar(1, TRUE);
    EXPECT_EQ(bar->GetPaneProgress(1), nullptr);
    EXPECT_EQ(Shown(1), L"");
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows);

    // Progress on a hidden bar updates it without showing it.
    ASSERT_TRUE(bar->SetUpBar(1));
    bar->ShowWindow(SW_HIDE);
    bar->SetBarProgress(1, 0, 100, 70);
    EXPECT_FALSE(bar->GetStyle() & WS_VISIBLE) << "still hidden";
    EXPECT_EQ(Shown(1), L"70%");
    bar->ShowWindow(SW_SHOW);
    bar->SetBarProgress(1, 0, 100, 80);
    EXPECT_TRUE(bar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(Shown(1), L"80%");
}

TEST_F(ProgressTest, AnIndicatorWithoutRoomGetsItsControlOnceThePaneHasSome)
{
    ASSERT_TRUE(MakeProgressBar());
    // The progress pane pushed past the bar's end: no room for a control yet.
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS, 600);
    EXPECT_FALSE(bar->SetUpBar(1));
    ASSERT_NE(bar->GetPaneProgress(1), nullptr);
    EXPECT_EQ(bar->GetPaneProgress(1)->m_progress.m_hWnd, nullptr);
    bar->SetBarProgress(1, 0, 100, 30);
    EXPECT_EQ(bar->GetPaneProgress(1)->m_nPercent, 30);
    // Room again: the next layout makes the control.
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 40);
    ASSERT_NE(bar->GetPaneProgress(1)->m_progress.m_hWnd, nullptr);
    CRect expected = ProgressInside(1);
    expected.left += TextExtent(L"999%").cx;
    EXPECT_EQ(ControlRect(1), expected);
}

} // namespace
} // namespace sbtest
