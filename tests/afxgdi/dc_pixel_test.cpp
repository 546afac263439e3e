// Pixels drawn through CDC: solid fills, 3D frames, drag rectangles and brush
// selection. Expected pixels are worked out by hand from each operation's definition.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/base/cstring.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "tests/afxgdi/gdi_fixture.h"

namespace {

using DcPixelTest = zyn::test::GdiLeakTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A white colour surface of w x h pixels behind a memory DC.
class Canvas {
public:
    Canvas(int w, int h) : m_w(w), m_h(h)
    {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        CClientDC screen(nullptr);
        EXPECT_TRUE(m_bmp.CreateCompatibleBitmap(&screen, w, h));
        m_old = dc.SelectObject(&m_bmp);
        EXPECT_NE(m_old, nullptr);
        EXPECT_TRUE(dc.PatBlt(0, 0, w, h, WHITENESS));
    }
    ~Canvas() { dc.SelectObject(m_old); }

    // Every pixel (device coordinates) against an expectation.
    void ExpectPixels(const std::function<COLORREF(int, int)>& expected, const char* what)
    {
        const CPoint org = dc.SetWindowOrg(0, 0);
        const CPoint vp = dc.SetViewportOrg(0, 0);
        int bad = 0;
        for (int y = 0; y < m_h; ++y) {
            for (int x = 0; x < m_w; ++x) {
                const COLORREF want = expected(x, y);
                const COLORREF got = dc.GetPixel(x, y);
                if (got != want && ++bad <= 5)
                    ADD_FAILURE() << what << ": pixel (" << x << "," << y << ") is " << std::hex << got
                                  << ", expected " << want;
            }
        }
        EXPECT_EQ(bad, 0) << what;
        dc.SetWindowOrg(org);
        dc.SetViewportOrg(vp);
    }
    std::vector<COLORREF> Snapshot()
    {
        std::vector<COLORREF> v;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                v.push_back(dc.GetPixel(x, y));
        return v;
    }

    CDC dc;

private:
    int m_w, m_h;
    CBitmap m_bmp;
    CBitmap* m_old = nullptr;
};

bool Inside(int x, int y, const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TEST_F(DcPixelTest, FillSolidRectFillsAndLeavesTheBackgroundColour)
{
    Canvas c(20, 20);
    c.dc.SetBkColor(RGB(1, 2, 3));
    c.dc.SetROP2(R2_XORPEN); // the fill is a plain copy whatever the mix
    c.dc.FillSolidRect(CRect(2, 3, 7, 9), RGB(200, 100, 50));
    EXPECT_EQ(c.dc.GetBkColor(), RGB(200, 100, 50));
    c.ExpectPixels([](int x, int y) { return Inside(x, y, CRect(2, 3, 7, 9)) ? RGB(200, 100, 50) : kWhite; },
        "rectangle");

    // Width and height form, and an inverted rectangle (normalised).
    c.dc.FillSolidRect(10, 10, 3, 2, RGB(0, 255, 0));
    c.dc.FillSolidRect(CRect(19, 19, 16, 17), RGB(0, 0, 255));
    c.ExpectPixels(
        [](int x, int y) {
            if (Inside(x, y, CRect(2, 3, 7, 9)))
                return RGB(200, 100, 50);
            if (Inside(x, y, CRect(10, 10, 13, 12)))
                return RGB(0, 255, 0);
            if (Inside(x, y, CRect(16, 17, 19, 19)))
                return RGB(0, 0, 255);
            return kWhite;
        },
        "three fills");
    EXPECT_EQ(c.dc.GetBkColor(), RGB(0, 0, 255));
}

TEST_F(DcPixelTest, FillSolidRectHonoursOrigins)
{
    Canvas c(12, 12);
    c.dc.SetWindowOrg(-2, -1); // logical (0,0) lands at device (2,1)
    c.dc.FillSolidRect(0, 0, 3, 3, kBlack);
    c.ExpectPixels([](int x, int y) { return Inside(x, y, CRect(2, 1, 5, 4)) ? kBlack : kWhite; }, "offset fill");
}

TEST_F(DcPixelTest, Draw3dRectOutline)
{
    Canvas c(16, 14);
    const COLORREF tl = RGB(255, 0, 0), br = RGB(0, 0, 255);
    // x=2, y=3, 10 wide, 8 high: the frame covers (2,3)-(11,10) inclusive.
    c.dc.Draw3dRect(CRect(2, 3, 12, 11), tl, br);
    c.ExpectPixels(
        [&](int x, int y) {
            if (!Inside(x, y, CRect(2, 3, 12, 11)) || Inside(x, y, CRect(3, 4, 11, 10)))
                return kWhite;
            if (x == 11 || y == 10)
                return br; // right and bottom edges, with the top-right and bottom-left corners
            return tl;
        },
        "3D frame");
    EXPECT_EQ(c.dc.GetPixel(11, 3), br);
    EXPECT_EQ(c.dc.GetPixel(2, 10), br);
    EXPECT_EQ(c.dc.GetPixel(10, 3), tl);
    EXPECT_EQ(c.dc.GetPixel(2, 9), tl);
    EXPECT_EQ(c.dc.GetBkColor(), br);
}

TEST_F(DcPixelTest, Draw3dRectDegenerateSizes)
{
    Canvas c(6, 6);
    // One pixel square: only the bottom-right colour remains.
    c.dc.Draw3dRect(1, 1, 1, 1, RGB(255, 0, 0), RGB(0, 255, 0));
    c.ExpectPixels([](int x, int y) { return x == 1 && y == 1 ? RGB(0, 255, 0) : kWhite; }, "1x1 frame");
}

// The halftone pattern: pixels with x + y even are 1 (the background colour, white by
// default), which PATINVERT turns white into black; the others are 0 (black) and stay.
COLORREF AfterHalftoneInvert(int x, int y) { return ((x + y) % 2 == 0) ? kBlack : kWhite; }

TEST_F(DcPixelTest, DrawDragRectInvertsAHalftoneFrame)
{
    Canvas c(40, 40);
    const CRect r(10, 10, 30, 26);
    c.dc.DrawDragRect(r, CSize(2, 3), nullptr, CSize(0, 0));
    CRect inner(r);
    inner.DeflateRect(2, 3);
    auto frame = [&](int x, int y) {
        return Inside(x, y, r) && !Inside(x, y, inner) ? AfterHalftoneInvert(x, y) : kWhite;
    };
    c.ExpectPixels(frame, "drag frame");

    // The same rectangle as new and last changes nothing.
    c.dc.DrawDragRect(r, CSize(2, 3), r, CSize(2, 3));
    c.ExpectPixels(frame, "unchanged drag frame");

    // Erasing: an empty new frame against the last one restores the pixels.
    c.dc.DrawDragRect(r, CSize(0, 0), r, CSize(2, 3));
    c.ExpectPixels([](int, int) { return kWhite; }, "erased");
}

TEST_F(DcPixelTest, DrawDragRectMoveEqualsAFreshDraw)
{
    Canvas moved(40, 40), fresh(40, 40);
    const CRect a(5, 5, 25, 25), b(9, 7, 33, 30);
    moved.dc.DrawDragRect(a, CSize(2, 2), nullptr, CSize(0, 0));
    moved.dc.DrawDragRect(b, CSize(2, 2), a, CSize(2, 2));
    fresh.dc.DrawDragRect(b, CSize(2, 2), nullptr, CSize(0, 0));
    EXPECT_EQ(moved.Snapshot(), fresh.Snapshot());

    // Different brushes: the old frame is undone with the old brush, the new drawn with
    // the new one.
    CBrush black(kBlack), white(kWhite);
    Canvas two(40, 40);
    two.dc.DrawDragRect(a, CSize(1, 1), nullptr, CSize(0, 0), &white);
    two.dc.DrawDragRect(b, CSize(1, 1), a, CSize(1, 1), &white, &white);
    two.dc.DrawDragRect(b, CSize(1, 1), b, CSize(1, 1), &black, &white); // erase b, draw b with black (no-op)
    two.ExpectPixels([](int, int) { return kWhite; }, "white then black brush");
}

TEST_F(DcPixelTest, DrawDragRectKeepsTheCallersClipBrushAndOrigins)
{
    Canvas c(40, 40);
    c.dc.SetWindowOrg(5, 5);                  // logical = device + 5
    c.dc.IntersectClipRect(5, 5, 25, 45);     // device x < 20
    CBrush mine(RGB(9, 9, 9));
    CBrush* old = c.dc.SelectObject(&mine);
    c.dc.DrawDragRect(CRect(15, 15, 35, 35), CSize(2, 2), nullptr, CSize(0, 0));
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 25, 45));
    EXPECT_EQ(c.dc.GetCurrentBrush(), &mine);
    EXPECT_EQ(c.dc.GetWindowOrg(), CPoint(5, 5));
    c.dc.SelectObject(old);
    c.dc.SelectClipRgn(nullptr); // GetPixel answers CLR_INVALID outside the clip
    const CRect dev(10, 10, 30, 30), inner(12, 12, 28, 28);
    c.ExpectPixels(
        [&](int x, int y) {
            return x < 20 && Inside(x, y, dev) && !Inside(x, y, inner) ? AfterHalftoneInvert(x, y) : kWhite;
        },
        "clipped drag frame");
}

TEST_F(DcPixelTest, HalftoneBrushIsAStockCheckerboard)
{
    CBrush* h = CDC::GetHalftoneBrush();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush(), h);
    EXPECT_EQ(CBrush::FromHandle(static_cast<HBRUSH>(h->m_hObject)), h);
    Canvas c(8, 8);
    CBrush* old = c.dc.SelectObject(h);
    c.dc.PatBlt(0, 0, 8, 8, PATCOPY);
    c.ExpectPixels([](int x, int y) { return ((x + y) % 2 == 0) ? kWhite : kBlack; }, "halftone");
    c.dc.SelectObject(old);
}

TEST_F(DcPixelTest, FillRectFrameRectAndBlitThroughWrappers)
{
    Canvas c(12, 12), src(4, 4);
    CBrush red(RGB(255, 0, 0));
    EXPECT_TRUE(c.dc.FillRect(CRect(1, 1, 4, 4), &red));
    EXPECT_FALSE(c.dc.FillRect(nullptr, &red));
    src.dc.FillSolidRect(0, 0, 4, 4, RGB(0, 0, 255));
    EXPECT_TRUE(c.dc.BitBlt(6, 6, 4, 4, &src.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(c.dc.PatBlt(0, 10, 2, 2, BLACKNESS)); // no source needed
    EXPECT_FALSE(c.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    c.ExpectPixels(
        [](int x, int y) {
            if (Inside(x, y, CRect(1, 1, 4, 4)))
                return RGB(255, 0, 0);
            if (Inside(x, y, CRect(6, 6, 10, 10)))
                return RGB(0, 0, 255);
            if (Inside(x, y, CRect(0, 10, 2, 12)))
                return kBlack;
            return kWhite;
        },
        "fills and blits");
    EXPECT_EQ(c.dc.SetPixel(11, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_TRUE(c.dc.SetPixelV(CPoint(11, 1), RGB(4, 5, 6)));
    EXPECT_EQ(c.dc.GetPixel(CPoint(11, 1)), RGB(4, 5, 6));
}

} // namespace

namespace {

TEST_F(DcPixelTest, TextPaintsWithinItsExtent)
{
    Canvas c(200, 40);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Tahoma"));
    CFont* old = c.dc.SelectObject(&font);
    const CString text(L"Wrapped text");
    const CSize ext = c.dc.GetTextExtent(text);
    c.dc.SetBkMode(TRANSPARENT);
    ASSERT_TRUE(c.dc.TextOut(10, 5, text));
    int inked = 0, outside = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (c.dc.GetPixel(x, y) == kWhite)
                continue;
            if (Inside(x, y, CRect(CPoint(10, 5), ext)))
                ++inked;
            else
                ++outside;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(outside, 0);

    // An opaque ExtTextOut of a string fills its rectangle with the background colour.
    c.dc.SetBkColor(RGB(0, 0, 255));
    const CRect box(0, 30, 50, 40);
    ASSERT_TRUE(c.dc.ExtTextOut(0, 30, ETO_OPAQUE | ETO_CLIPPED, &box, CString(), nullptr));
    EXPECT_EQ(c.dc.GetPixel(0, 30), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetPixel(49, 39), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetPixel(50, 39), kWhite);
    c.dc.SelectObject(old);
}

} // namespace

namespace {

TEST_F(DcPixelTest, LinesAndShapesThroughWrappers)
{
    Canvas c(20, 20);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush brush(RGB(0, 255, 0));
    CPen* oldPen = c.dc.SelectObject(&pen);
    CBrush* oldBrush = c.dc.SelectObject(&brush);

    EXPECT_EQ(c.dc.MoveTo(1, 1), CPoint(0, 0)); // the previous position
    EXPECT_TRUE(c.dc.LineTo(CPoint(6, 1)));        // (1..5, 1): the last point is left out
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(6, 1));
    EXPECT_EQ(c.dc.MoveTo(CPoint(0, 19)), CPoint(6, 1));

    // Rectangle: the pen frames (10,3)-(15,8), the brush fills inside.
    EXPECT_TRUE(c.dc.Rectangle(CRect(10, 3, 16, 9)));
    CBrush blue(RGB(0, 0, 255));
    EXPECT_TRUE(c.dc.FrameRect(CRect(1, 12, 5, 16), &blue));
    EXPECT_TRUE(c.dc.InvertRect(CRect(16, 16, 18, 18)));

    c.ExpectPixels(
        [](int x, int y) {
            if (y == 1 && x >= 1 && x <= 5)
                return RGB(255, 0, 0);
            if (Inside(x, y, CRect(10, 3, 16, 9)))
                return Inside(x, y, CRect(11, 4, 15, 8)) ? RGB(0, 255, 0) : RGB(255, 0, 0);
            if (Inside(x, y, CRect(1, 12, 5, 16)) && !Inside(x, y, CRect(2, 13, 4, 15)))
                return RGB(0, 0, 255);
            if (Inside(x, y, CRect(16, 16, 18, 18)))
                return kBlack;
            return kWhite;
        },
        "lines and shapes");
    c.dc.SelectObject(oldBrush);
    c.dc.SelectObject(oldPen);
}

} // namespace

namespace {

TEST_F(DcPixelTest, DrawStateMonoPaintsTheImageShapeWithTheBrush)
{
    Canvas c(16, 16);
    // A white 4x4 bitmap with a black 2x2 square at (1,1).
    CClientDC screen(nullptr);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 4, 4));
    {
        CDC src;
        ASSERT_TRUE(src.CreateCompatibleDC(nullptr));
        CBitmap* old = src.SelectObject(&bmp);
        src.FillSolidRect(0, 0, 4, 4, kWhite);
        src.FillSolidRect(1, 1, 2, 2, kBlack);
        src.SelectObject(old);
    }
    CBrush red(RGB(255, 0, 0));
    ASSERT_TRUE(c.dc.DrawState(CPoint(5, 5), CSize(4, 4), &bmp, DSS_MONO, &red));

    // An opaque red 4x4 icon drawn mono with a blue system brush.
    CBitmap mask, color;
    ASSERT_TRUE(mask.CreateBitmap(4, 4, 1, 1, nullptr)); // all 0: opaque
    ASSERT_TRUE(color.CreateCompatibleBitmap(&screen, 4, 4));
    {
        CDC src;
        ASSERT_TRUE(src.CreateCompatibleDC(nullptr));
        CBitmap* old = src.SelectObject(&color);
        src.FillSolidRect(0, 0, 4, 4, RGB(255, 0, 0));
        src.SelectObject(old);
    }
    ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.m_hObject), static_cast<HBITMAP>(color.m_hObject)};
    const HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    CBrush blue(RGB(0, 0, 255));
    ASSERT_TRUE(c.dc.DrawState(CPoint(10, 0), CSize(4, 4), icon, DSS_MONO, &blue));
    EXPECT_TRUE(DestroyIcon(icon));

    c.ExpectPixels(
        [](int x, int y) {
            if (Inside(x, y, CRect(6, 6, 8, 8)))
                return RGB(255, 0, 0);
            if (Inside(x, y, CRect(10, 0, 14, 4)))
                return RGB(0, 0, 255);
            return kWhite;
        },
        "mono states");
}

TEST_F(DcPixelTest, DrawStateTextStaysInItsMeasuredBox)
{
    Canvas c(80, 30);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Tahoma"));
    CFont* old = c.dc.SelectObject(&font);
    const CSize ext = c.dc.GetTextExtent(L"Go", 2);
    c.dc.SetBkMode(TRANSPARENT);
    // Size 0 is measured; "&G" underlines the G and the '&' takes no room.
    ASSERT_TRUE(c.dc.DrawState(CPoint(4, 4), CSize(0, 0), L"&Go", DSS_NORMAL, TRUE, 0, static_cast<HBRUSH>(nullptr)));
    int inked = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            if (c.dc.GetPixel(x, y) != kWhite)
                ++(Inside(x, y, CRect(CPoint(4, 4), ext)) ? inked : outside);
    EXPECT_GT(inked, 0);
    EXPECT_EQ(outside, 0);
    c.dc.SelectObject(old);
}

} // namespace
