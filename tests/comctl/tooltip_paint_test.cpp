// The classic tip on the screen: frame and background by geometry, the text by extent,
// colours taken at each paint, wrapping at the maximum width, margins.
#include "platform/gdi/sysmetrics.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {
namespace {

class TipPaint : public ComctlTest {
protected:
    void SetUp() override
    {
        ComctlTest::SetUp();
        host = MakeHost(100, 100, 400, 300);
        tip = MakeTip(host);
        Relay() = tip;
    }
    void TearDown() override
    {
        DestroyWindow(tip);
        DestroyWindow(host);
        ComctlTest::TearDown();
    }
    void ShowTool(const wchar_t* text)
    {
        ASSERT_TRUE(AddTool(tip, host, 1, RECT{0, 0, 300, 200}, text));
        MoveTo(150, 150);
        Advance(500);
        ASSERT_TRUE(Visible(tip));
    }
    // Every pixel of the frame and the four inner corners of the background.
    void ExpectFrameAndBackground(COLORREF frame, COLORREF back, const char* what)
    {
        const RECT r = WindowRectOf(tip);
        const int right = r.right - 1, bottom = r.bottom - 1;
        for (int x = r.left; x <= right; ++x) {
            ASSERT_EQ(ScreenPixel(x, r.top), frame) << what << ": top edge at " << x;
            ASSERT_EQ(ScreenPixel(x, bottom), frame) << what << ": bottom edge at " << x;
        }
        for (int y = r.top; y <= bottom; ++y) {
            ASSERT_EQ(ScreenPixel(r.left, y), frame) << what << ": left edge at " << y;
            ASSERT_EQ(ScreenPixel(right, y), frame) << what << ": right edge at " << y;
        }
        const POINT inner[] = {{r.left + 1, r.top + 1}, {right - 1, r.top + 1}, {r.left + 1, bottom - 1},
            {right - 1, bottom - 1}};
        for (const POINT& p : inner)
            EXPECT_EQ(ScreenPixel(p.x, p.y), back) << what << ": inside at " << p.x << "," << p.y;
    }

    HWND host = nullptr;
    HWND tip = nullptr;
};

TEST_F(TipPaint, AFrameAroundTheInfoBackgroundSizedToTheText)
{
    ShowTool(L"Classic tip");
    ExpectFrameAndBackground(GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_INFOBK), "system colours");
    const RECT r = WindowRectOf(tip);
    const SIZE text = StatusFontExtent(L"Classic tip");
    EXPECT_EQ(r.right - r.left, text.cx + 6) << "frame and padding, 3 pixels a side";
    EXPECT_EQ(r.bottom - r.top, StatusFontHeight() + 6);
    // Some pixel of the text is in the info-text colour, none of it outside the text area.
    bool inked = false;
    for (int y = r.top + 3; y < r.bottom - 3 && !inked; ++y)
        for (int x = r.left + 3; x < r.right - 3 && !inked; ++x)
            inked = ScreenPixel(x, y) == GetSysColor(COLOR_INFOTEXT);
    EXPECT_TRUE(inked);
}

TEST_F(TipPaint, ColoursAreTakenAtEachPaint)
{
    SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(10, 20, 30), 0);
    ShowTool(L"Colours");
    ExpectFrameAndBackground(GetSysColor(COLOR_WINDOWFRAME), RGB(10, 20, 30), "set background");
    // A system colour change shows at the next paint: nothing was kept from before.
    const INT index = COLOR_WINDOWFRAME;
    const COLORREF red = RGB(200, 0, 0);
    SetSysColors(1, &index, &red);
    SendMessageW(tip, WM_SYSCOLORCHANGE, 0, 0);
    ExpectFrameAndBackground(red, RGB(10, 20, 30), "new frame colour");
}

TEST_F(TipPaint, AMaximumWidthWrapsTheTextAtSpaces)
{
    const wchar_t* text = L"alpha beta gamma delta";
    const int wordWidth = StatusFontExtent(L"gamma delta").cx;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, wordWidth);
    ShowTool(text);
    const RECT r = WindowRectOf(tip);
    const int lines = (r.bottom - r.top - 6) / StatusFontHeight();
    EXPECT_GE(lines, 2) << "wrapped";
    EXPECT_EQ((r.bottom - r.top - 6) % StatusFontHeight(), 0) << "whole lines";
    EXPECT_LE(r.right - r.left - 6, wordWidth) << "no line wider than the maximum";
    // Back to one line: the size follows at once.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, -1);
    const RECT one = WindowRectOf(tip);
    EXPECT_EQ(one.bottom - one.top, StatusFontHeight() + 6);
    EXPECT_EQ(one.right - one.left, StatusFontExtent(text).cx + 6);
}

TEST_F(TipPaint, MarginsWidenTheTip)
{
    RECT margin{4, 1, 6, 2};
    SendMessageW(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    ShowTool(L"Margins");
    const RECT r = WindowRectOf(tip);
    EXPECT_EQ(r.right - r.left, StatusFontExtent(L"Margins").cx + 6 + 10);
    EXPECT_EQ(r.bottom - r.top, StatusFontHeight() + 6 + 3);
    ExpectFrameAndBackground(GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_INFOBK), "with margins");
}

TEST_F(TipPaint, AFontSetByTheApplicationSizesTheTip)
{
    LOGFONTW lf{};
    lf.lfHeight = -30;
    wcscpy(lf.lfFaceName, L"Tahoma");
    HFONT big = CreateFontIndirectW(&lf);
    SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(tip, WM_GETFONT, 0, 0)), big);
    ShowTool(L"Big");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, big);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const RECT r = WindowRectOf(tip);
    EXPECT_EQ(r.bottom - r.top, tm.tmHeight + 6);
    DestroyWindow(tip); // before the font it uses goes
    tip = nullptr;
    DeleteObject(big);
}

} // namespace
} // namespace zyn::test
