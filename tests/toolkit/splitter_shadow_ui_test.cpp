// The splitter rectangle's four lines and the drop shadow by pixel: the shadow's colours
// are worked by hand from the darkening rule on a known background, recorded and
// replayed, kept off a dropped-from button, and shown by the shadow window.
#include <map>

#include "platform/afx/gdi/dc.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "tests/toolkit/toolkit_ui_support.h"
#include "toolkit/skins/shadow_painter.h"
#include "toolkit/skins/shadow_wnd.h"
#include "toolkit/skins/splitter_rect.h"

namespace toolkittest {
namespace {

using SplitterShadowTest = ToolkitUiTest;

constexpr COLORREF kBack = RGB(1, 2, 3);
constexpr COLORREF kFace = RGB(10, 0, 0), kHighlight = RGB(20, 0, 0), kFrame = RGB(30, 0, 0), kShadow = RGB(40, 0, 0);

// A 20 x 20 colour bitmap in a memory DC, filled with kBack.
class Canvas {
public:
    Canvas()
    {
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, 20, 20);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(kBack);
        const RECT all{0, 0, 20, 20};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
        m_cdc.Attach(m_dc);
    }
    ~Canvas()
    {
        m_cdc.Detach();
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CDC* dc() { return &m_cdc; }
    COLORREF at(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    CDC m_cdc;
};

TEST_F(SplitterShadowTest, SplitterLinesByPixel)
{
    const int indices[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_WINDOWFRAME, COLOR_BTNSHADOW};
    const COLORREF colours[] = {kFace, kHighlight, kFrame, kShadow};
    ASSERT_TRUE(SetSysColors(4, indices, colours));

    struct Line {
        int at; // a column for a vertical splitter, a row for a horizontal one
        COLORREF colour;
    };
    struct Row {
        const char* name;
        int type;
        CRect rect;
        std::vector<Line> lines; // over the rectangle's full height (vertical) or width
    };
    const Row rows[] = {
        {"vertical", 1, {2, 3, 12, 15}, {{3, kFace}, {4, kHighlight}, {10, kShadow}, {11, kFrame}}},
        {"horizontal", 2, {3, 2, 15, 12}, {{3, kFace}, {4, kHighlight}, {10, kShadow}, {11, kFrame}}},
        // Three pixels wide: the right-hand lines are painted last and win.
        {"narrow vertical", 1, {5, 0, 8, 20}, {{6, kShadow}, {7, kFrame}}},
        {"type 0", 0, {2, 3, 12, 15}, {}},
        {"type 3", 3, {2, 3, 12, 15}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas;
        canvas.dc()->SetBkColor(RGB(7, 7, 7));
        COXSplitterRect splitter(row.type, row.rect);
        EXPECT_EQ(splitter.m_nIndex, -1);
        splitter.Draw(canvas.dc());
        EXPECT_EQ(canvas.dc()->GetBkColor(), RGB(7, 7, 7)) << "the DC's background colour is kept";
        std::map<std::pair<int, int>, COLORREF> expect;
        for (const Line& line : row.lines) {
            if (row.type == 1) {
                for (int y = row.rect.top; y < row.rect.bottom; ++y)
                    expect[{line.at, y}] = line.colour;
            } else {
                for (int x = row.rect.left; x < row.rect.right; ++x)
                    expect[{x, line.at}] = line.colour;
            }
        }
        int wrong = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const auto it = expect.find({x, y});
                const COLORREF want = it == expect.end() ? kBack : it->second;
                if (canvas.at(x, y) != want && ++wrong < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << canvas.at(x, y) << " not "
                                  << want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    COXSplitterRect splitter(1, CRect(0, 0, 8, 8));
    splitter.Draw(nullptr); // nothing to draw into: nothing happens
}

// The shadow of a 20 x 16 rectangle at (200, 200) on the screen.
const CRect kShadowRect(200, 200, 220, 216);

struct Probe {
    const char* what;
    int x, y;        // in the rectangle
    COLORREF expect;
};

// Hand-worked from RGB(200, 100, 50) darkened by s: each channel * (255 - s) / 255,
// rounded half away from zero.
const Probe kOnBrown[] = {
    {"innermost column body, 60", 16, 10, RGB(153, 76, 38)},
    {"outermost column body, 15", 19, 10, RGB(188, 94, 47)},
    {"outermost column fade, 12", 19, 7, RGB(191, 95, 48)},
    {"outermost column fade, 3", 19, 4, RGB(198, 99, 49)},
    {"corner, 3", 19, 15, RGB(198, 99, 49)},
    {"inner corner, 48", 16, 12, RGB(162, 81, 41)},
    {"outermost row body, 15", 10, 15, RGB(188, 94, 47)},
    {"innermost row body, 60", 10, 12, RGB(153, 76, 38)},
    {"outermost row fade, 12", 7, 15, RGB(191, 95, 48)},
    {"row background", 0, 15, RGB(200, 100, 50)},
    {"column background", 19, 2, RGB(200, 100, 50)},
    {"inside the rectangle", 15, 10, RGB(200, 100, 50)},
};

TEST_F(SplitterShadowTest, ShadowColoursOnAKnownBackground)
{
    FillScreen(kShadowRect, RGB(200, 100, 50));
    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), nullptr, nullptr));
    for (const Probe& p : kOnBrown)
        EXPECT_EQ(ScreenPixel(200 + p.x, 200 + p.y), p.expect) << p.what;
    // Over white: 0xC3C3C3 next to the window, 0xF0F0F0 at the outer edge.
    FillScreen(kShadowRect, RGB(255, 255, 255));
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), nullptr, nullptr));
    EXPECT_EQ(ScreenPixel(216, 210), 0xC3C3C3u);
    EXPECT_EQ(ScreenPixel(219, 210), 0xF0F0F0u);
    ReleaseDC(nullptr, screen);
}

TEST_F(SplitterShadowTest, RecordedShadowsReplayWithoutReadingTheScreen)
{
    FillScreen(kShadowRect, RGB(200, 100, 50));
    HDC screen = GetDC(nullptr);
    CArray<COLORREF, COLORREF> saved;
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), nullptr, &saved));
    ASSERT_EQ(saved.GetSize(), 128);
    EXPECT_EQ(saved[0], RGB(200, 100, 50)) << "the first pixel keeps the background";
    EXPECT_EQ(saved[4], RGB(191, 95, 48)) << "then the fade, 12 first";
    // The screen changes (a window moved over and away); a replay paints what was
    // recorded, not a shadow of the new screen, and does not darken twice.
    FillScreen(kShadowRect, RGB(0, 0, 0));
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), nullptr, &saved));
    EXPECT_EQ(saved.GetSize(), 128) << "nothing recorded while replaying";
    for (const Probe& p : kOnBrown) {
        const COLORREF expect = p.x == 15 ? RGB(0, 0, 0) : p.expect; // inside: not the shadow's
        EXPECT_EQ(ScreenPixel(200 + p.x, 200 + p.y), expect) << p.what;
    }
    // An array recorded for another size is refused, and nothing is painted.
    FillScreen(kShadowRect, RGB(0, 0, 0));
    const CRect bigger(200, 200, 230, 216);
    SetLastError(0);
    EXPECT_FALSE(OXDrawShadow(screen, bigger, bigger.TopLeft(), nullptr, &saved));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(ScreenPixels(bigger), std::vector<COLORREF>(30 * 16, RGB(0, 0, 0)));
    EXPECT_FALSE(OXDrawShadow(nullptr, kShadowRect, kShadowRect.TopLeft(), nullptr, nullptr));
    EXPECT_FALSE(OXDrawShadow(screen, CRect(10, 10, 10, 20), CPoint(10, 10), nullptr, nullptr));
    ReleaseDC(nullptr, screen);
}

TEST_F(SplitterShadowTest, PixelsAgainstTheDroppedFromButtonAreLeftAlone)
{
    // A button covering the whole rectangle: only the background-keeping ends, the right
    // edge's body and its lower fade are painted (12 pixels per column, 4 per row).
    FillScreen(kShadowRect, RGB(200, 100, 50));
    HDC screen = GetDC(nullptr);
    CArray<COLORREF, COLORREF> saved;
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), &kShadowRect, &saved));
    EXPECT_EQ(saved.GetSize(), 4 * 12 + 4 * 4);
    EXPECT_EQ(ScreenPixel(219, 210), RGB(188, 94, 47));
    EXPECT_EQ(ScreenPixel(219, 215), RGB(198, 99, 49));
    EXPECT_EQ(ScreenPixel(219, 207), RGB(200, 100, 50)) << "the upper fade is the button's";
    EXPECT_EQ(ScreenPixel(210, 215), RGB(200, 100, 50)) << "the bottom edge is the button's";
    // A button above the rectangle, ending at its top row: only row 0 is the button's.
    FillScreen(kShadowRect, RGB(200, 100, 50));
    const CRect above(150, 150, 250, 201);
    EXPECT_TRUE(OXDrawShadow(screen, kShadowRect, kShadowRect.TopLeft(), &above, nullptr));
    EXPECT_EQ(ScreenPixel(219, 207), RGB(191, 95, 48));
    ReleaseDC(nullptr, screen);
}

// A window that never validates its update region: asked to paint, it does nothing.
int g_stubbornPaints = 0;
LRESULT StubbornProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PAINT) {
        ++g_stubbornPaints;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

TEST_F(SplitterShadowTest, TheShadowWindowDarkensWhatLiesBeneathIt)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &StubbornProc;
    wc.lpszClassName = L"ToolkitStubborn";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND stubborn = CreateWindowExW(0, L"ToolkitStubborn", L"", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr,
        nullptr, nullptr, nullptr);
    ASSERT_NE(stubborn, nullptr);
    InvalidateRect(stubborn, nullptr, TRUE);
    g_stubbornPaints = 0;

    const CRect where(300, 300, 340, 330);
    FillScreen(where, RGB(200, 100, 50));
    COXShdWnd shadow;
    CWnd caster;
    shadow.SetCastingWindow(&caster);
    EXPECT_EQ(shadow.GetCastingWindow(), &caster);
    ASSERT_TRUE(shadow.CreateEx(0, kPlainClass, L"", WS_POPUP, where.left, where.top, where.Width(), where.Height(),
        nullptr, nullptr));
    shadow.ShowWindow(SW_SHOWNOACTIVATE);
    shadow.UpdateWindow(); // the erase first lets the stubborn window paint, once
    EXPECT_EQ(g_stubbornPaints, 1);
    // 40 x 30: the innermost column is x = 36, the outermost row y = 29.
    EXPECT_EQ(ScreenPixel(336, 310), RGB(153, 76, 38));
    EXPECT_EQ(ScreenPixel(339, 310), RGB(188, 94, 47));
    EXPECT_EQ(ScreenPixel(310, 329), RGB(188, 94, 47));
    EXPECT_EQ(ScreenPixel(305, 305), RGB(200, 100, 50)) << "no background of its own";
    // Repainted where it stands, it shows the same shadow, not a darker one.
    shadow.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(336, 310), RGB(153, 76, 38));
    EXPECT_EQ(ScreenPixel(339, 310), RGB(188, 94, 47));
    // Moved over white, it darkens the white.
    FillScreen(CRect(500, 300, 540, 330), RGB(255, 255, 255));
    shadow.SetWindowPos(nullptr, 500, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    shadow.UpdateWindow();
    EXPECT_EQ(ScreenPixel(536, 310), 0xC3C3C3u);
    EXPECT_EQ(ScreenPixel(539, 310), 0xF0F0F0u);
    shadow.DestroyWindow();
    DestroyWindow(stubborn);
}

} // namespace
} // namespace toolkittest
