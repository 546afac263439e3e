// CDC and the window DCs: ownership, temporaries, selection, attributes, coordinates,
// clipping.
#include <gtest/gtest.h>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/afx/window_dc.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "tests/afxgdi/gdi_fixture.h"

namespace {

using DcTest = zyn::test::GdiLeakTest;

// A memory DC with a colour bitmap selected, restored and freed on destruction.
class MemoryDc {
public:
    MemoryDc(int w, int h)
    {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        CClientDC screen(nullptr);
        EXPECT_TRUE(bmp.CreateCompatibleBitmap(&screen, w, h));
        old = dc.SelectObject(&bmp);
        EXPECT_NE(old, nullptr);
    }
    ~MemoryDc() { dc.SelectObject(old); }
    CDC dc;
    CBitmap bmp;
    CBitmap* old = nullptr;
};

TEST_F(DcTest, OwnsItsDc)
{
    const size_t before = zyn::gdi::LiveDcCount();
    HDC h = nullptr;
    {
        CDC dc;
        EXPECT_EQ(dc.GetSafeHdc(), nullptr);
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        h = dc.m_hDC;
        EXPECT_EQ(dc.m_hAttribDC, h);
        EXPECT_EQ(static_cast<HDC>(dc), h);
        EXPECT_EQ(zyn::gdi::LiveDcCount(), before + 1);
        EXPECT_FALSE(dc.CreateCompatibleDC(nullptr)); // already holds one
        EXPECT_EQ(zyn::gdi::LiveDcCount(), before + 1);
        EXPECT_EQ(CDC::FromHandle(h), &dc);
    }
    EXPECT_EQ(zyn::gdi::LiveDcCount(), before);
    EXPECT_EQ(::GetObjectType(h), 0u);
    CDC none;
    EXPECT_FALSE(none.DeleteDC());
}

TEST_F(DcTest, TemporaryDcNeverDeletesItsHandle)
{
    const HDC h = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(h, nullptr);
    CDC* t = CDC::FromHandle(h);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(CDC::FromHandle(h), t);
    EXPECT_EQ(t->m_hDC, h);
    EXPECT_EQ(t->GetDeviceCaps(LOGPIXELSY), 96);
    CDC::DeleteTempMap();
    EXPECT_EQ(::GetObjectType(h), static_cast<DWORD>(OBJ_MEMDC));
    CDC owner;
    ASSERT_TRUE(owner.Attach(h));
    EXPECT_EQ(CDC::FromHandle(h), &owner);
    EXPECT_EQ(owner.Detach(), h);
    EXPECT_TRUE(::DeleteDC(h));
    EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
}

TEST_F(DcTest, SelectObjectReturnsPreviousWrappersAndRestores)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));

    CPen* oldPen = dc.SelectObject(&red);
    ASSERT_NE(oldPen, nullptr);
    EXPECT_EQ(oldPen->m_hObject, ::GetStockObject(BLACK_PEN)); // a temporary for the stock pen
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    EXPECT_EQ(dc.SelectObject(&blue), &red); // the permanent object itself
    EXPECT_EQ(dc.SelectObject(oldPen), &blue);
    EXPECT_EQ(dc.GetCurrentPen(), oldPen);

    CBrush brush(RGB(1, 2, 3));
    CBrush* oldBrush = dc.SelectObject(&brush);
    ASSERT_NE(oldBrush, nullptr);
    EXPECT_EQ(oldBrush->m_hObject, ::GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.GetCurrentBrush(), &brush);
    EXPECT_EQ(dc.SelectObject(oldBrush), &brush);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Tahoma"));
    CFont* oldFont = dc.SelectObject(&font);
    ASSERT_NE(oldFont, nullptr);
    EXPECT_TRUE(oldFont->IsKindOf(RUNTIME_CLASS(CFont)));
    EXPECT_EQ(dc.GetCurrentFont(), &font);
    EXPECT_EQ(dc.SelectObject(oldFont), &font);

    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(4, 4, 1, 1, nullptr));
    CBitmap* oldBmp = dc.SelectObject(&bmp);
    ASSERT_NE(oldBmp, nullptr); // the memory DC's default 1x1 bitmap
    BITMAP bm{};
    oldBmp->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(dc.GetCurrentBitmap(), &bmp);
    EXPECT_EQ(dc.SelectObject(oldBmp), &bmp);

    // Through the base class and through the raw handle.
    CGdiObject* prev = dc.SelectObject(static_cast<CGdiObject*>(&red));
    ASSERT_NE(prev, nullptr);
    EXPECT_TRUE(prev->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(dc.SelectObject(red.m_hObject), red.m_hObject);
    dc.SelectObject(prev);

    // Null selections fail without touching the DC.
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CBitmap*>(nullptr)), nullptr);
    EXPECT_EQ(dc.GetCurrentPen()->m_hObject, ::GetStockObject(BLACK_PEN));
}

TEST_F(DcTest, SelectStockObjectAndSaveRestore)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen pen(PS_DOT, 1, RGB(0, 128, 0));
    CPen* old = dc.SelectObject(&pen);
    const int saved = dc.SaveDC();
    ASSERT_NE(saved, 0);
    CGdiObject* prev = dc.SelectStockObject(NULL_PEN);
    EXPECT_EQ(prev, &pen);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_FALSE(dc.RestoreDC(saved)); // already popped
    dc.SelectObject(old);
    EXPECT_EQ(dc.SelectStockObject(9999), nullptr);
}

TEST_F(DcTest, AttributesReturnPreviousValues)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.SetTextColor(RGB(10, 20, 30)), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetTextColor(), RGB(10, 20, 30));
    EXPECT_EQ(dc.SetBkColor(RGB(1, 1, 1)), RGB(255, 255, 255));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    EXPECT_EQ(dc.SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(dc.SetTextAlign(TA_RIGHT), TA_LEFT);
    EXPECT_EQ(dc.GetTextAlign(), TA_RIGHT);
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_TEXT);
    EXPECT_EQ(dc.SetBrushOrg(3, 4), CPoint(0, 0));
    EXPECT_EQ(dc.GetBrushOrg(), CPoint(3, 4));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_EQ(dc.GetWindow(), nullptr);

    // A CDC without a handle fails every call cleanly.
    CDC none;
    SetLastError(0);
    EXPECT_EQ(none.SetTextColor(0), CLR_INVALID);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(none.SaveDC(), 0);
    EXPECT_FALSE(none.RestoreDC(-1));
    EXPECT_EQ(none.GetTextExtent(L"x", 1), CSize(0, 0));
}

TEST_F(DcTest, OriginsAndCoordinateConversion)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.SetViewportOrg(10, 20), CPoint(0, 0));
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(10, 20));
    EXPECT_EQ(dc.OffsetViewportOrg(5, 5), CPoint(10, 20));
    EXPECT_EQ(dc.SetWindowOrg(CPoint(100, 0)), CPoint(0, 0));
    EXPECT_EQ(dc.OffsetWindowOrg(0, 1), CPoint(100, 0));
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(100, 1));
    // device = logical - windowOrg + viewportOrg
    CPoint p(100, 1);
    dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(15, 25));
    dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(100, 1));
    CRect r(100, 1, 110, 11);
    dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(15, 25, 25, 35));
    dc.DPtoLP(&r);
    EXPECT_EQ(r, CRect(100, 1, 110, 11));
    CSize s(7, 8);
    dc.LPtoDP(&s);
    EXPECT_EQ(s, CSize(7, 8));
}

TEST_F(DcTest, ClippingInLogicalCoordinates)
{
    MemoryDc m(50, 40);
    CDC& dc = m.dc;
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, 50, 40));
    EXPECT_EQ(dc.IntersectClipRect(CRect(10, 10, 30, 30)), SIMPLEREGION);
    EXPECT_EQ(dc.ExcludeClipRect(15, 15, 20, 20), COMPLEXREGION);
    EXPECT_TRUE(dc.PtVisible(12, 12));
    EXPECT_FALSE(dc.PtVisible(CPoint(16, 16)));
    EXPECT_FALSE(dc.PtVisible(35, 35));
    EXPECT_TRUE(dc.RectVisible(CRect(0, 0, 11, 11)));
    EXPECT_FALSE(dc.RectVisible(CRect(31, 31, 40, 40)));
    dc.SetWindowOrg(10, 10); // the clip box answers in logical units
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(20, 20, 40, 40));
    dc.SetWindowOrg(0, 0);
    EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION); // back to the whole surface
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 50, 40));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 5, 5));
    EXPECT_EQ(dc.SelectObject(&rgn), SIMPLEREGION);
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 5, 5));
    EXPECT_EQ(dc.OffsetClipRgn(CSize(2, 3)), SIMPLEREGION);
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(2, 3, 7, 8));
    CRgn other;
    ASSERT_TRUE(other.CreateRectRgn(5, 0, 50, 50));
    EXPECT_EQ(dc.SelectClipRgn(&other, RGN_AND), SIMPLEREGION);
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 3, 7, 8));
    EXPECT_EQ(dc.SelectClipRgn(nullptr, RGN_AND), ERROR_REGION); // only RGN_COPY takes null
    EXPECT_EQ(dc.ExcludeClipRect(nullptr), ERROR_REGION);
}

TEST_F(DcTest, ScreenDcsThroughTheNullWindow)
{
    const size_t before = zyn::gdi::LiveDcCount();
    {
        CClientDC client(nullptr);
        ASSERT_NE(client.m_hDC, nullptr);
        EXPECT_EQ(zyn::gdi::LiveDcCount(), before + 1);
        CRect box;
        client.GetClipBox(&box);
        EXPECT_EQ(box.left, 0);
        EXPECT_GT(box.Width(), 0);
        CWindowDC window(NULL);
        ASSERT_NE(window.m_hDC, nullptr);
        EXPECT_EQ(zyn::gdi::LiveDcCount(), before + 2);
        EXPECT_TRUE(client.IsKindOf(RUNTIME_CLASS(CDC)));
        EXPECT_STREQ(window.GetRuntimeClass()->m_lpszClassName, "CWindowDC");
        EXPECT_EQ(CDC::FromHandle(client.m_hDC), &client);
    }
    EXPECT_EQ(zyn::gdi::LiveDcCount(), before);
}

TEST_F(DcTest, WindowDcsRefuseWindowsUntilTheyExist)
{
    const HWND fake = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x08123456));
    auto expectResourceException = [](auto&& make) {
        CResourceException* caught = nullptr;
        try {
            make();
        } catch (CResourceException* e) {
            caught = e;
        }
        ASSERT_NE(caught, nullptr);
        caught->Delete();
        EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    };
    expectResourceException([&] { CClientDC dc(fake); });
    expectResourceException([&] { CWindowDC dc(fake); });
    expectResourceException([&] { CPaintDC dc(fake); });
    expectResourceException([] { CPaintDC dc(nullptr); });
}

} // namespace

namespace {

TEST_F(DcTest, TextMeasurementThroughStringsAndPointers)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Tahoma"));
    CFont* old = dc.SelectObject(&font);
    const CString text(L"Hello, world");
    const CSize a = dc.GetTextExtent(text);
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(a.cy, 0);
    EXPECT_EQ(dc.GetTextExtent(text.GetString(), text.GetLength()), a);
    EXPECT_EQ(dc.GetOutputTextExtent(text), a);
    EXPECT_LT(dc.GetTextExtent(L"Hello", 5).cx, a.cx);

    TEXTMETRIC tm{};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, a.cy);
    CString face;
    EXPECT_GT(dc.GetTextFace(face), 0);
    EXPECT_FALSE(face.IsEmpty());

    // DT_CALCRECT through both DrawText forms gives the same rectangle.
    CRect r1(0, 0, 1000, 0), r2(0, 0, 1000, 0);
    EXPECT_EQ(dc.DrawText(text, &r1, DT_CALCRECT | DT_SINGLELINE), a.cy);
    EXPECT_EQ(dc.DrawText(text.GetString(), -1, &r2, DT_CALCRECT | DT_SINGLELINE), a.cy);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(r1.Width(), a.cx);

    // DrawTextEx on a string works on a copy: an ellipsis never lands in the string.
    const CString longText(L"A rather long line of text that will not fit");
    CRect narrow(0, 0, 40, 100);
    DRAWTEXTPARAMS dtp{sizeof(DRAWTEXTPARAMS), 0, 0, 0, 0};
    dc.DrawTextEx(longText, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, &dtp);
    EXPECT_EQ(longText, CString(L"A rather long line of text that will not fit"));
    dc.SelectObject(old);
}

} // namespace
