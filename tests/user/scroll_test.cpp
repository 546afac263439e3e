// A window's own scroll bars: state, showing and hiding, and tracking with the mouse.
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using ScrollTest = UserTest;

TEST_F(ScrollTest, InfoIsClampedAndBarsComeAndGoWithTheRange)
{
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    RECT c;
    GetClientRect(h, &c);
    EXPECT_EQ(c.right, 200);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 90); // pos clamped to max - page + 1
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
    GetClientRect(h, &c);
    EXPECT_EQ(c.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &got));
    EXPECT_EQ(got.nMax, 99);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nPos, 90);
    EXPECT_EQ(SetScrollPos(h, SB_VERT, 5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 5);
    // Nothing to scroll: the bar goes, unless kept disabled.
    si.fMask = SIF_PAGE;
    si.nPage = 200;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = 10;
    si.nPage = 50;
    SetScrollInfo(h, SB_HORZ, &si, TRUE);
    int lo = -1, hi = -1;
    ASSERT_TRUE(GetScrollRange(h, SB_HORZ, &lo, &hi));
    EXPECT_EQ(hi, 10);
    // Bad input.
    si.fMask = SIF_RANGE;
    si.nMin = 10;
    si.nMax = 5;
    SetLastError(0);
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_SCROLLBAR_RANGE);
    si.cbSize = 3;
    SetLastError(0);
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(ShowScrollBar(h, SB_BOTH, TRUE));
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_HSCROLL);
    EXPECT_TRUE(EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_FALSE(EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH)); // no change
    DestroyWindow(h);
}

TEST_F(ScrollTest, ClickingArrowsPagesAndDraggingTheThumb)
{
    user::SetScriptedMode(true);
    HWND h = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 200, 200);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 20, 0, 0};
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    // The application scrolls when told.
    rec().SetHandler([](HWND w, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m != WM_VSCROLL)
            return false;
        int pos = GetScrollPos(w, SB_VERT);
        switch (LOWORD(wp)) {
        case SB_LINEDOWN: pos += 1; break;
        case SB_LINEUP: pos -= 1; break;
        case SB_PAGEDOWN: pos += 20; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = HIWORD(wp); break;
        default: break;
        }
        SetScrollPos(w, SB_VERT, pos, TRUE);
        r = 0;
        return true;
    });
    Pump();
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
    const int x = (sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2;
    auto codes = [&]() {
        std::vector<WORD> out;
        for (auto& r : rec().Log())
            if (r.msg == WM_VSCROLL)
                out.push_back(LOWORD(r.wp));
        return out;
    };
    rec().Clear();
    user::InjectClick(x, sbi.rcScrollBar.bottom - 3); // down arrow
    Pump();
    EXPECT_EQ(codes(), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 1);
    rec().Clear();
    user::InjectClick(x, sbi.rcScrollBar.bottom - sbi.dxyLineButton - 3); // page area below the thumb
    Pump();
    EXPECT_EQ(codes(), (std::vector<WORD>{SB_PAGEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 21);
    // Drag the thumb to the bottom.
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
    const int thumbY = sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2;
    rec().Clear();
    user::InjectMouseMove(x, thumbY);
    user::InjectMouseButton(user::MouseButton::Left, true);
    user::InjectMouseMove(x, sbi.rcScrollBar.bottom + 50);
    user::InjectMouseButton(user::MouseButton::Left, false);
    Pump();
    const auto c = codes();
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c[c.size() - 3], SB_THUMBTRACK);
    EXPECT_EQ(c[c.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(c.back(), SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 81); // max - page + 1
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
