// Image-list drawing through CImageList and CDC.
#include <gtest/gtest.h>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "tests/afxgdi/gdi_fixture.h"

namespace {

using ImageListPixelTest = zyn::test::GdiLeakTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kKey = RGB(255, 0, 255);

TEST_F(ImageListPixelTest, TransparentAndNormalDraws)
{
    CClientDC screen(nullptr);
    // A 4x4 red image whose top-left pixel has the mask colour.
    CBitmap image;
    ASSERT_TRUE(image.CreateCompatibleBitmap(&screen, 4, 4));
    CDC src;
    ASSERT_TRUE(src.CreateCompatibleDC(nullptr));
    CBitmap* oldSrc = src.SelectObject(&image);
    src.FillSolidRect(0, 0, 4, 4, kRed);
    src.SetPixelV(0, 0, kKey);
    src.SelectObject(oldSrc);

    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 1));
    ASSERT_EQ(list.Add(&image, kKey), 0);

    CBitmap canvas;
    ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 16, 8));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&canvas);
    dc.FillSolidRect(0, 0, 16, 8, kWhite);

    ASSERT_TRUE(list.Draw(&dc, 0, CPoint(1, 2), ILD_TRANSPARENT));
    EXPECT_EQ(dc.GetPixel(1, 2), kWhite); // the masked pixel lets the canvas through
    EXPECT_EQ(dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(dc.GetPixel(4, 5), kRed);
    EXPECT_EQ(dc.GetPixel(5, 5), kWhite); // right of the image

    // ILD_NORMAL over a background colour fills the masked pixel with it.
    ASSERT_TRUE(list.DrawEx(&dc, 0, CPoint(8, 2), CSize(4, 4), RGB(0, 0, 255), CLR_DEFAULT, ILD_NORMAL));
    EXPECT_EQ(dc.GetPixel(8, 2), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(9, 2), kRed);

    // Part of the image through DrawIndirect: a 2x2 piece from its (1,1).
    dc.FillSolidRect(0, 0, 16, 8, kWhite);
    ASSERT_TRUE(list.DrawIndirect(&dc, 0, CPoint(0, 0), CSize(2, 2), CPoint(1, 1), ILD_NORMAL));
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);
    EXPECT_EQ(dc.GetPixel(1, 1), kRed);
    EXPECT_EQ(dc.GetPixel(2, 0), kWhite);
    EXPECT_EQ(dc.GetPixel(0, 2), kWhite);
    dc.SelectObject(old);
}

} // namespace
