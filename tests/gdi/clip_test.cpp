// Clipping through the system region (set by the window system) and the application
// clip, with pixels on the desktop framebuffer.
#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;
using zyn::gdi::Region;

namespace {

class Clip : public GdiTest {};

const COLORREF kRed = RGB(255, 0, 0);

// Desktop pixel as a COLORREF.
COLORREF Screen(int x, int y) { return zyn::gdi::BgrxToColor(zyn::gdi::DesktopSurface()->Row32(y)[x] & 0xFFFFFF); }

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c)
{
    HBRUSH br = CreateSolidBrush(c);
    RECT rc{l, t, r, b};
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

} // namespace

TEST_F(Clip, SystemRegionAndOriginOfAWindowDc)
{
    // A window at (100, 50), 40x30, with a hole (another window above it) at 10..20.
    const Region vis = Region(0, 0, 40, 30).Subtract(Region(10, 10, 20, 20));
    HDC dc = zyn::gdi::CreateWindowDc(reinterpret_cast<HWND>(0x1000000), POINT{100, 50}, &vis);
    ASSERT_TRUE(dc);
    Fill(dc, -10, -10, 100, 100, kRed);
    EXPECT_EQ(Screen(100, 50), kRed);
    EXPECT_EQ(Screen(139, 79), kRed);
    EXPECT_NE(Screen(115, 65), kRed) << "the hole";
    EXPECT_NE(Screen(140, 50), kRed) << "right of the window";
    EXPECT_NE(Screen(99, 50), kRed) << "left of the window";
    EXPECT_NE(Screen(100, 80), kRed) << "below the window";
    POINT org;
    GetDCOrgEx(dc, &org);
    EXPECT_EQ(org.x, 100);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 30);
    EXPECT_FALSE(PtVisible(dc, 15, 15));
    EXPECT_TRUE(PtVisible(dc, 5, 15));
    // The window system moves the hole.
    const Region vis2(0, 0, 40, 30);
    zyn::gdi::SetSystemRegion(dc, &vis2);
    EXPECT_TRUE(PtVisible(dc, 15, 15));
    EXPECT_EQ(ReleaseDC(reinterpret_cast<HWND>(0x1000000), dc), 1);
}

TEST_F(Clip, ApplicationClipIntersectsTheSystemRegion)
{
    const Region vis(0, 0, 50, 50);
    HDC dc = zyn::gdi::CreateWindowDc(nullptr, POINT{10, 10}, &vis);
    EXPECT_EQ(IntersectClipRect(dc, 20, 20, 80, 80), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(dc, 30, 30, 35, 35), COMPLEXREGION);
    Fill(dc, 0, 0, 100, 100, kRed);
    EXPECT_EQ(Screen(10 + 20, 10 + 20), kRed);
    EXPECT_EQ(Screen(10 + 49, 10 + 49), kRed);
    EXPECT_NE(Screen(10 + 50, 10 + 40), kRed) << "the system region still bounds";
    EXPECT_NE(Screen(10 + 19, 10 + 25), kRed) << "the application clip bounds";
    EXPECT_NE(Screen(10 + 32, 10 + 32), kRed) << "excluded";
    // GetClipRgn answers the application clip alone, in device coordinates.
    Obj<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(dc, rgn), 1);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.right, 80);
    EXPECT_TRUE(PtInRegion(rgn, 60, 60));
    EXPECT_FALSE(PtInRegion(rgn, 31, 31));
    // GetClipBox is in logical coordinates.
    SetWindowOrgEx(dc, 5, 5, nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, 25);
    EXPECT_EQ(box.right, 55);
    // SelectClipRgn(NULL) goes back to the system region alone.
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(dc, rgn), 0);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 50);
    DeleteDC(dc);
}

TEST_F(Clip, NarrowingStepByStepEqualsSelectingTheRegionAtOnce)
{
    // A window DC at (100, 50) with a hole in its system region, its clip narrowed after
    // each draw; the same DC with the resulting application region selected at once must
    // show the same pixels. Each row: intersect (true) or exclude, and the rectangle.
    struct Step {
        bool intersect;
        RECT r;
    };
    const std::vector<Step> steps = {{false, {5, 5, 12, 40}}, {true, {2, 0, 38, 28}}, {false, {-50, 20, 60, 22}},
        {false, {30, 3, 31, 4}}, {true, {0, 0, 100, 100}}};
    const Region vis = Region(0, 0, 40, 30).Subtract(Region(14, 10, 20, 16));
    auto pixels = [&](bool stepwise) {
        HDC screen = GetDC(nullptr);
        Fill(screen, 0, 0, 300, 200, RGB(1, 2, 3));
        ReleaseDC(nullptr, screen);
        HDC dc = zyn::gdi::CreateWindowDc(nullptr, POINT{100, 50}, &vis);
        Obj<HRGN> app(CreateRectRgn(0, 0, 40, 30));
        for (const Step& st : steps) {
            Obj<HRGN> r(CreateRectRgn(st.r.left, st.r.top, st.r.right, st.r.bottom));
            CombineRgn(app, app, r, st.intersect ? RGN_AND : RGN_DIFF);
            if (stepwise) {
                Fill(dc, 0, 0, 1, 1, RGB(0, 255, 0)); // the clip is worked out between the steps
                if (st.intersect)
                    IntersectClipRect(dc, st.r.left, st.r.top, st.r.right, st.r.bottom);
                else
                    ExcludeClipRect(dc, st.r.left, st.r.top, st.r.right, st.r.bottom);
            }
        }
        if (!stepwise)
            SelectClipRgn(dc, app);
        Fill(dc, -10, -10, 100, 100, kRed);
        std::vector<COLORREF> out;
        for (int y = 45; y < 85; ++y)
            for (int x = 95; x < 145; ++x)
                out.push_back(Screen(x, y) == kRed ? kRed : 0);
        DeleteDC(dc);
        return out;
    };
    EXPECT_EQ(pixels(true), pixels(false));
}

TEST_F(Clip, SelectClipRgnTakesDeviceCoordinatesAndCopies)
{
    MemDc dc(20, 20);
    dc.Fill(RGB(255, 255, 255));
    SetViewportOrgEx(dc, 5, 0, nullptr);
    Obj<HRGN> rgn(CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
    SetRectRgn(rgn, 0, 0, 20, 20); // the DC kept a copy
    Fill(dc, -5, 0, 15, 20, kRed);  // logical -5 is device 0
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 3, 3), kRed);
    EXPECT_EQ(GetPixel(dc, 4, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 0, 4), RGB(255, 255, 255));
    // ExtSelectClipRgn modes combine with the current clip.
    Obj<HRGN> a(CreateRectRgn(0, 0, 10, 10));
    Obj<HRGN> b(CreateRectRgn(5, 5, 15, 15));
    SelectClipRgn(dc, a);
    EXPECT_EQ(ExtSelectClipRgn(dc, b, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(PtVisible(dc, 2, 2));
    EXPECT_FALSE(PtVisible(dc, 7, 7));
    EXPECT_TRUE(PtVisible(dc, 12, 12));
    EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR_REGION);
    const RECT rv{6, 6, 9, 9};
    EXPECT_FALSE(RectVisible(dc, &rv));
    const RECT rv2{6, 6, 11, 11};
    EXPECT_TRUE(RectVisible(dc, &rv2));
    // Moved off the 20x20 bitmap: nothing is visible any more.
    EXPECT_EQ(OffsetClipRgn(dc, 100, 100), NULLREGION);
    EXPECT_FALSE(PtVisible(dc, 2, 2));
    EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_COPY), SIMPLEREGION);
}

TEST_F(Clip, SaveDcRestoresTheClip)
{
    MemDc dc(10, 10);
    const int level = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, 2, 2);
    EXPECT_FALSE(PtVisible(dc, 5, 5));
    RestoreDC(dc, level);
    EXPECT_TRUE(PtVisible(dc, 5, 5));
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
}

TEST_F(Clip, RegionApi)
{
    Obj<HRGN> a(CreateRectRgn(10, 10, 0, 0)); // normalised
    RECT box;
    EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 10);
    Obj<HRGN> b(CreateEllipticRgn(0, 0, 10, 10));
    Obj<HRGN> d(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(d, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(d, 0, 0)) << "corner outside the circle";
    EXPECT_FALSE(PtInRegion(d, 5, 5));
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(d, 5, 5));
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(d, a));
    EXPECT_EQ(CombineRgn(d, a, a, RGN_XOR), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR_REGION);
    EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
    const RECT r1{14, 14, 20, 20}, r2{0, 0, 5, 5};
    EXPECT_TRUE(RectInRegion(a, &r1));
    EXPECT_FALSE(RectInRegion(a, &r2));
    const POINT tri[] = {{0, 0}, {8, 0}, {0, 8}};
    Obj<HRGN> t(CreatePolygonRgn(tri, 3, ALTERNATE));
    EXPECT_TRUE(PtInRegion(t, 0, 7));
    EXPECT_FALSE(PtInRegion(t, 7, 7));
    EXPECT_EQ(CreatePolygonRgn(tri, 3, 5), nullptr);
    Obj<HRGN> rr(CreateRoundRectRgn(0, 0, 20, 20, 6, 6));
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 10, 0));
    HRGN dead = CreateRectRgn(0, 0, 1, 1);
    DeleteObject(dead);
    EXPECT_EQ(CombineRgn(d, dead, a, RGN_OR), ERROR_REGION);
    EXPECT_FALSE(PtInRegion(dead, 0, 0));
}

TEST_F(Clip, FillFrameAndInvertRegions)
{
    MemDc dc(12, 12);
    dc.Fill(RGB(255, 255, 255));
    Obj<HRGN> r(CreateRectRgn(2, 2, 10, 10));
    Obj<HBRUSH> red(CreateSolidBrush(kRed));
    ASSERT_TRUE(FrameRgn(dc, r, red, 2, 1));
    EXPECT_EQ(GetPixel(dc, 2, 5), kRed);
    EXPECT_EQ(GetPixel(dc, 3, 5), kRed) << "frame is 2 wide";
    EXPECT_EQ(GetPixel(dc, 4, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 5, 2), kRed);
    EXPECT_EQ(GetPixel(dc, 5, 3), RGB(255, 255, 255)) << "and 1 high";
    EXPECT_EQ(GetPixel(dc, 9, 9), kRed);
    EXPECT_EQ(GetPixel(dc, 10, 9), RGB(255, 255, 255));
    ASSERT_TRUE(InvertRgn(dc, r));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 5), RGB(0, 255, 255));
    ASSERT_TRUE(FillRgn(dc, r, red));
    EXPECT_EQ(GetPixel(dc, 5, 5), kRed);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
}
