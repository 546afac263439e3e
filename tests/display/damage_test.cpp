// The desktop's damage record: every pixel a drawing call changes on screen lies inside
// the damage it leaves, and the damage stays within what the call was asked to draw.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/damage.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::test {
namespace {

constexpr int kW = 320, kH = 240;

bool Inside(const std::vector<RECT>& rects, int x, int y)
{
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

using Box = std::array<LONG, 4>;
std::vector<Box> Boxes(const std::vector<RECT>& rects)
{
    std::vector<Box> out;
    for (const RECT& r : rects)
        out.push_back(Box{r.left, r.top, r.right, r.bottom});
    return out;
}

class Damage : public ::testing::Test {
protected:
    void SetUp() override
    {
        gdi::ResetDesktop(kW, kH);
        Speckle();
        gdi::SetDamageRecording(true);
        gdi::TakeScreenDamage(); // the first frame after recording starts is the whole screen
        screen = GetDC(nullptr);
    }
    void TearDown() override
    {
        ReleaseDC(nullptr, screen);
        gdi::SetDamageRecording(false);
    }
    // A pattern no drawing colour matches everywhere, written behind the DCs' backs.
    static void Speckle()
    {
        auto s = gdi::DesktopSurface();
        uint32_t v = 0x12345678u;
        for (int y = 0; y < s->Height(); ++y)
            for (int x = 0; x < s->Width(); ++x) {
                v = v * 1103515245u + 12345u;
                s->Row32(y)[x] = (v >> 8) & 0xFFFFFFu;
            }
    }
    static std::vector<uint32_t> Pixels()
    {
        auto s = gdi::DesktopSurface();
        std::vector<uint32_t> out;
        for (int y = 0; y < s->Height(); ++y)
            out.insert(out.end(), s->Row32(y), s->Row32(y) + s->Width());
        return out;
    }
    HDC screen = nullptr;
};

// A memory bitmap of w x h in one colour, selected into a DC (freed by the caller).
struct MemImage {
    HDC dc = nullptr;
    HBITMAP bm = nullptr;
    HGDIOBJ old = nullptr;
    MemImage(int w, int h, COLORREF c)
    {
        HDC s = GetDC(nullptr);
        dc = CreateCompatibleDC(s);
        bm = CreateCompatibleBitmap(s, w, h);
        ReleaseDC(nullptr, s);
        old = SelectObject(dc, bm);
        RECT r{0, 0, w, h};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    ~MemImage()
    {
        SelectObject(dc, old);
        DeleteObject(bm);
        DeleteDC(dc);
    }
};

TEST_F(Damage, EveryChangedPixelIsDamagedAndNothingBeyondTheCall)
{
    struct Row {
        const char* name;
        RECT bound; // what the call may touch, by the pixel rules (right and bottom excluded)
        std::function<void(HDC)> draw;
    };
    SIZE text{};
    GetTextExtentPoint32W(screen, L"Damage", 6, &text);
    const Row rows[] = {
        {"PatBlt", {10, 10, 50, 30}, [](HDC dc) { PatBlt(dc, 10, 10, 40, 20, BLACKNESS); }},
        {"FillRect", {20, 40, 60, 70}, [](HDC dc) {
             RECT r{20, 40, 60, 70};
             FillRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
         }},
        {"Rectangle", {70, 10, 120, 50}, [](HDC dc) { Rectangle(dc, 70, 10, 120, 50); }},
        {"Ellipse", {130, 10, 170, 40}, [](HDC dc) { Ellipse(dc, 130, 10, 170, 40); }},
        {"horizontal line", {5, 100, 100, 101}, [](HDC dc) {
             MoveToEx(dc, 5, 100, nullptr);
             LineTo(dc, 100, 100);
         }},
        {"diagonal line", {10, 110, 40, 140}, [](HDC dc) {
             MoveToEx(dc, 10, 110, nullptr);
             LineTo(dc, 40, 140);
         }},
        {"SetPixel", {200, 5, 201, 6}, [](HDC dc) { SetPixel(dc, 200, 5, RGB(1, 2, 3)); }},
        {"TextOut", {150, 100, 150 + text.cx, 100 + text.cy}, [](HDC dc) { TextOutW(dc, 150, 100, L"Damage", 6); }},
        {"BitBlt", {200, 50, 230, 70}, [](HDC dc) {
             MemImage img(30, 20, RGB(0, 200, 0));
             BitBlt(dc, 200, 50, 30, 20, img.dc, 0, 0, SRCCOPY);
         }},
        {"StretchBlt", {240, 50, 280, 80}, [](HDC dc) {
             MemImage img(10, 10, RGB(200, 0, 0));
             StretchBlt(dc, 240, 50, 40, 30, img.dc, 0, 0, 10, 10, SRCCOPY);
         }},
        {"AlphaBlend", {200, 200, 220, 220}, [](HDC dc) {
             MemImage img(20, 20, RGB(0, 0, 255));
             BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
             AlphaBlend(dc, 200, 200, 20, 20, img.dc, 0, 0, 20, 20, bf);
         }},
        {"InvertRect", {5, 150, 45, 170}, [](HDC dc) {
             RECT r{5, 150, 45, 170};
             InvertRect(dc, &r);
         }},
        {"GradientFill", {50, 150, 110, 180}, [](HDC dc) {
             TRIVERTEX v[2] = {{50, 150, 0xFF00, 0, 0, 0}, {110, 180, 0, 0, 0xFF00, 0}};
             GRADIENT_RECT g{0, 1};
             GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
         }},
        {"DrawEdge", {120, 150, 170, 190}, [](HDC dc) {
             RECT r{120, 150, 170, 190};
             DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
         }},
        {"DrawFocusRect", {180, 150, 230, 170}, [](HDC dc) {
             RECT r{180, 150, 230, 170};
             DrawFocusRect(dc, &r);
         }},
        {"Polygon", {250, 100, 300, 140}, [](HDC dc) {
             const POINT pts[3] = {{250, 100}, {299, 100}, {275, 139}};
             Polygon(dc, pts, 3);
         }},
        {"DrawFrameControl", {260, 150, 276, 166}, [](HDC dc) {
             RECT r{260, 150, 276, 166};
             DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
         }},
        {"DrawIconEx", {280, 190, 312, 222}, [](HDC dc) {
             DrawIconEx(dc, 280, 190, LoadIconW(nullptr, IDI_APPLICATION), 32, 32, 0, nullptr, DI_NORMAL);
         }},
        {"ExtTextOut opaque", {100, 200, 180, 230}, [](HDC dc) {
             RECT r{100, 200, 180, 230};
             ExtTextOutW(dc, 104, 204, ETO_OPAQUE | ETO_CLIPPED, &r, L"Wg", 2, nullptr);
         }},
    };
    for (const Row& row : rows) {
        const std::vector<uint32_t> before = Pixels();
        row.draw(screen);
        const gdi::ScreenDamage d = gdi::TakeScreenDamage();
        const std::vector<uint32_t> after = Pixels();
        ASSERT_FALSE(d.whole) << row.name;
        int changed = 0, missed = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (before[size_t(y) * kW + x] != after[size_t(y) * kW + x]) {
                    ++changed;
                    if (!Inside(d.rects, x, y))
                        ++missed;
                }
        EXPECT_GT(changed, 0) << row.name << ": the call drew nothing, so the check proves nothing";
        EXPECT_EQ(missed, 0) << row.name << ": changed pixels outside the damage";
        for (const RECT& r : d.rects)
            EXPECT_TRUE(r.left >= row.bound.left && r.top >= row.bound.top && r.right <= row.bound.right &&
                r.bottom <= row.bound.bottom)
                << row.name << ": damage {" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                << "} reaches beyond the call's area";
    }
}

TEST_F(Damage, RecordIsARegionClippedToTheScreenAndToTheWindow)
{
    // Two overlapping squares: the y-x banded union, by hand.
    PatBlt(screen, 0, 0, 10, 10, WHITENESS);
    PatBlt(screen, 5, 5, 10, 10, WHITENESS);
    gdi::ScreenDamage d = gdi::TakeScreenDamage();
    EXPECT_EQ(Boxes(d.rects), (std::vector<Box>{{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));

    // Partly off screen: only the visible part.
    PatBlt(screen, kW - 10, kH - 5, 40, 40, WHITENESS);
    d = gdi::TakeScreenDamage();
    EXPECT_EQ(Boxes(d.rects), (std::vector<Box>{{kW - 10, kH - 5, kW, kH}}));

    // A window DC: offset by the window's place, clipped to the window.
    HWND w = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 100, 50, 80, 60, nullptr, nullptr, nullptr,
        nullptr);
    ASSERT_TRUE(w);
    user::PaintPendingWindows();
    gdi::TakeScreenDamage();
    HDC wdc = GetDC(w);
    PatBlt(wdc, -10, -10, 30, 30, BLACKNESS);
    ReleaseDC(w, wdc);
    d = gdi::TakeScreenDamage();
    EXPECT_EQ(Boxes(d.rects), (std::vector<Box>{{100, 50, 120, 70}}));
    DestroyWindow(w);
    gdi::TakeScreenDamage();

    // Taking it leaves a clean record.
    EXPECT_TRUE(gdi::TakeScreenDamage().rects.empty());
}

TEST_F(Damage, ManySmallRectanglesComeBackAsTheirBox)
{
    const int n = static_cast<int>(gdi::kMaxDamageRects) + 1;
    for (int i = 0; i < n; ++i)
        SetPixel(screen, i * 3, 7, RGB(255, 255, 255));
    const gdi::ScreenDamage d = gdi::TakeScreenDamage();
    // Pixels at x = 0, 3, ..., 3(n-1) on row 7.
    EXPECT_EQ(Boxes(d.rects), (std::vector<Box>{{0, 7, 3 * (n - 1) + 1, 8}}));
}

TEST_F(Damage, OffscreenDrawingAndOtherFramebuffersLeaveNoDamage)
{
    {
        MemImage img(50, 50, RGB(1, 1, 1));
        PatBlt(img.dc, 0, 0, 50, 50, WHITENESS);
    }
    EXPECT_TRUE(gdi::TakeScreenDamage().rects.empty()) << "a memory DC is not the screen";

    // A DC made before the framebuffer was replaced draws into the old one.
    HDC old = GetDC(nullptr);
    ASSERT_TRUE(gdi::ResizeDesktop(200, 100));
    gdi::ScreenDamage d = gdi::TakeScreenDamage();
    EXPECT_TRUE(d.whole) << "a new framebuffer is shown whole";
    EXPECT_EQ(d.surface->Width(), 200);
    PatBlt(old, 0, 0, 20, 20, WHITENESS);
    ReleaseDC(nullptr, old);
    d = gdi::TakeScreenDamage();
    EXPECT_FALSE(d.whole);
    EXPECT_TRUE(d.rects.empty()) << "damage of the old framebuffer must not reach the new one";

    // Recording off: nothing is kept; turned on again, the first frame is whole.
    gdi::SetDamageRecording(false);
    PatBlt(screen, 0, 0, 5, 5, WHITENESS);
    gdi::SetDamageRecording(true);
    d = gdi::TakeScreenDamage();
    EXPECT_TRUE(d.whole);
    EXPECT_TRUE(d.rects.empty());
}

TEST_F(Damage, ResizeKeepsThePixelsBothSizesShare)
{
    auto before = gdi::DesktopSurface();
    struct Probe {
        int x, y;
        bool kept; // inside both 320x240 and 400x200
    };
    const Probe probes[] = {{0, 0, true}, {319, 199, true}, {100, 150, true}, {320, 0, false}, {399, 199, false}};
    std::vector<uint32_t> old;
    for (const Probe& p : probes)
        old.push_back(p.x < kW && p.y < kH ? before->Row32(p.y)[p.x] : 0);
    ASSERT_TRUE(gdi::ResizeDesktop(400, 200));
    auto after = gdi::DesktopSurface();
    ASSERT_EQ(after->Width(), 400);
    ASSERT_EQ(after->Height(), 200);
    for (size_t i = 0; i < std::size(probes); ++i) {
        const Probe& p = probes[i];
        EXPECT_EQ(after->Row32(p.y)[p.x], p.kept ? old[i] : 0u) << "pixel " << p.x << "," << p.y;
    }
    EXPECT_FALSE(gdi::ResizeDesktop(0, 10));
    EXPECT_FALSE(gdi::ResizeDesktop(100000, 100000)) << "larger than any surface may be";
    EXPECT_EQ(gdi::DesktopSurface(), after) << "a refused resize changes nothing";
}

} // namespace
} // namespace zyn::test
