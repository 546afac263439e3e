// CGdiObject and its wrappers: ownership, the permanent and temporary handle maps,
// creation failures, point-size fonts.
#include <gtest/gtest.h>

#include <thread>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/palette.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "tests/afxgdi/gdi_fixture.h"
#include "tests/afxgdi/resource_support.h"

namespace {

using GdiObjectTest = zyn::test::GdiLeakTest;
using zyn::gdi::LiveObjectCount;

TEST_F(GdiObjectTest, WrapperOwnsAndFreesItsHandle)
{
    const size_t before = LiveObjectCount();
    HGDIOBJ h = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        h = pen.m_hObject;
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(LiveObjectCount(), before + 1);
        EXPECT_EQ(pen.GetObjectType(), static_cast<UINT>(OBJ_PEN));
        EXPECT_EQ(static_cast<HPEN>(pen), h);
        EXPECT_EQ(pen.GetSafeHandle(), h);
    }
    EXPECT_EQ(LiveObjectCount(), before);
    EXPECT_EQ(::GetObjectType(h), 0u); // the handle is dead
}

TEST_F(GdiObjectTest, AttachDetachAndDeleteObject)
{
    CBrush b;
    EXPECT_FALSE(b.Attach(nullptr));
    EXPECT_FALSE(b.DeleteObject()); // nothing to delete
    const HBRUSH h = ::CreateSolidBrush(RGB(9, 9, 9));
    ASSERT_TRUE(b.Attach(h));
    EXPECT_EQ(CBrush::FromHandle(h), &b); // a permanent object answers FromHandle
    EXPECT_EQ(CGdiObject::FromHandle(h), &b);
    EXPECT_EQ(b.Detach(), h);
    EXPECT_EQ(b.m_hObject, nullptr);
    EXPECT_NE(CBrush::FromHandle(h), &b); // no longer: a temporary now
    ASSERT_TRUE(b.Attach(h));
    EXPECT_TRUE(b.DeleteObject());
    EXPECT_EQ(b.m_hObject, nullptr);
    EXPECT_EQ(::GetObjectType(h), 0u);
}

TEST_F(GdiObjectTest, CreatingTwiceKeepsTheFirstAndLeaksNothing)
{
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(1, 1, 1)));
    const HGDIOBJ first = pen.m_hObject;
    const size_t count = LiveObjectCount();
    EXPECT_FALSE(pen.CreatePen(PS_DASH, 1, RGB(2, 2, 2)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(pen.m_hObject, first);
    EXPECT_EQ(LiveObjectCount(), count);
    CPen other;
    ASSERT_TRUE(other.CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    EXPECT_FALSE(pen.Attach(other.m_hObject));
}

TEST_F(GdiObjectTest, TemporariesWrapWithTheRightClassAndNeverDelete)
{
    const HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    const HBRUSH hBrush = ::CreateSolidBrush(RGB(4, 5, 6));
    const HRGN hRgn = ::CreateRectRgn(0, 0, 1, 1);
    const HBITMAP hBmp = ::CreateBitmap(2, 2, 1, 1, nullptr);
    const HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_TRUE(hPen && hBrush && hRgn && hBmp && hFont);

    CGdiObject* p = CGdiObject::FromHandle(hPen);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(CPen::FromHandle(hPen), p); // the same temporary within the idle period
    EXPECT_TRUE(CGdiObject::FromHandle(hBrush)->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_TRUE(CGdiObject::FromHandle(hRgn)->IsKindOf(RUNTIME_CLASS(CRgn)));
    EXPECT_TRUE(CGdiObject::FromHandle(hBmp)->IsKindOf(RUNTIME_CLASS(CBitmap)));
    EXPECT_TRUE(CGdiObject::FromHandle(hFont)->IsKindOf(RUNTIME_CLASS(CFont)));
    EXPECT_EQ(zyn::afx::TempGdiObjectCount(), 5u);

    // A typed FromHandle on a handle of another kind refuses.
    EXPECT_EQ(CPen::FromHandle(reinterpret_cast<HPEN>(hBrush)), nullptr);
    EXPECT_EQ(CFont::FromHandle(nullptr), nullptr);

    const size_t live = LiveObjectCount();
    zyn::afx::DeleteTempGdiObjects();
    EXPECT_EQ(zyn::afx::TempGdiObjectCount(), 0u);
    EXPECT_EQ(LiveObjectCount(), live); // the handles survive their wrappers
    EXPECT_EQ(::GetObjectType(hPen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(::GetObjectType(hBmp), static_cast<DWORD>(OBJ_BITMAP));
    LOGBRUSH lb{};
    EXPECT_EQ(CBrush::FromHandle(hBrush)->GetLogBrush(&lb), static_cast<int>(sizeof(LOGBRUSH)));
    EXPECT_EQ(lb.lbColor, RGB(4, 5, 6));

    EXPECT_TRUE(::DeleteObject(hPen));
    EXPECT_TRUE(::DeleteObject(hBrush));
    EXPECT_TRUE(::DeleteObject(hRgn));
    EXPECT_TRUE(::DeleteObject(hBmp));
}

TEST_F(GdiObjectTest, DeadHandleGetsAWrapperThatFailsCleanly)
{
    const HPEN h = ::CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(::DeleteObject(h));
    CPen* p = CPen::FromHandle(h);
    ASSERT_NE(p, nullptr);
    LOGPEN lp{};
    EXPECT_EQ(p->GetLogPen(&lp), 0);
    EXPECT_EQ(CGdiObject::FromHandle(h), p);
}

TEST_F(GdiObjectTest, TemporariesArePerThread)
{
    CBrush brush(RGB(1, 1, 1));
    const HBRUSH stock = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    CBrush* mine = CBrush::FromHandle(stock);
    CBrush* theirs = nullptr;
    CBrush* permanent = nullptr;
    size_t theirCount = 99;
    std::thread t([&] {
        theirs = CBrush::FromHandle(stock);
        permanent = CBrush::FromHandle(static_cast<HBRUSH>(brush.m_hObject));
        zyn::afx::DeleteTempGdiObjects();
        theirCount = zyn::afx::TempGdiObjectCount();
    });
    t.join();
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(permanent, &brush); // permanent objects are seen from every thread
    EXPECT_EQ(theirCount, 0u);
    EXPECT_EQ(CBrush::FromHandle(stock), mine); // the other thread's idle pass left ours
}

TEST_F(GdiObjectTest, ConstructorsThrowResourceExceptionOnFailure)
{
    CResourceException* caught = nullptr;
    try {
        CBrush bad(HS_DIAGCROSS + 100, RGB(0, 0, 0));
    } catch (CResourceException* e) {
        caught = e;
    }
    ASSERT_NE(caught, nullptr);
    caught->Delete();
    caught = nullptr;
    try {
        CBrush fromNothing(static_cast<CBitmap*>(nullptr));
    } catch (CResourceException* e) {
        caught = e;
    }
    ASSERT_NE(caught, nullptr);
    caught->Delete();
    caught = nullptr;
    try {
        CPen bad(PS_SOLID, 1, nullptr); // an extended pen without a brush
    } catch (CResourceException* e) {
        caught = e;
    }
    ASSERT_NE(caught, nullptr);
    caught->Delete();
}

TEST_F(GdiObjectTest, StockAndSystemColourObjectsAreNeverDeleted)
{
    const HGDIOBJ stock = ::GetStockObject(BLACK_PEN);
    {
        CPen a, b;
        ASSERT_TRUE(a.CreateStockObject(BLACK_PEN));
        ASSERT_TRUE(b.CreateStockObject(BLACK_PEN)); // two owners of one stock object
        EXPECT_EQ(a.m_hObject, stock);
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(stock)), &b); // the newest answers
    }
    EXPECT_EQ(::GetObjectType(stock), static_cast<DWORD>(OBJ_PEN));
    const HBRUSH sys = ::GetSysColorBrush(COLOR_BTNFACE);
    {
        CBrush b;
        ASSERT_TRUE(b.CreateSysColorBrush(COLOR_BTNFACE));
        EXPECT_EQ(b.m_hObject, sys);
    }
    EXPECT_EQ(::GetObjectType(sys), static_cast<DWORD>(OBJ_BRUSH));
}

TEST_F(GdiObjectTest, DeleteWhileSelectedKeepsTheHandle)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen pen(PS_SOLID, 1, RGB(1, 1, 1));
    CPen* old = dc.SelectObject(&pen);
    ASSERT_NE(old, nullptr);
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_NE(pen.m_hObject, nullptr); // still ours: deselect and try again
    dc.SelectObject(old);
    EXPECT_TRUE(pen.DeleteObject());
}

TEST_F(GdiObjectTest, LogObjectsRoundTrip)
{
    CPen pen;
    LOGPEN lp{PS_DASH, {1, 0}, RGB(10, 20, 30)};
    ASSERT_TRUE(pen.CreatePenIndirect(&lp));
    LOGPEN got{};
    EXPECT_EQ(pen.GetLogPen(&got), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(got.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(got.lopnColor, RGB(10, 20, 30));

    CPen ext;
    LOGBRUSH lb{BS_SOLID, RGB(1, 2, 3), 0};
    ASSERT_TRUE(ext.CreatePen(PS_GEOMETRIC | PS_SOLID, 3, &lb));
    EXTLOGPEN elp{};
    EXPECT_GT(ext.GetExtLogPen(&elp), 0);
    EXPECT_EQ(elp.elpWidth, 3u);
    EXPECT_EQ(elp.elpColor, RGB(1, 2, 3));

    CBrush hatch;
    ASSERT_TRUE(hatch.CreateHatchBrush(HS_CROSS, RGB(7, 7, 7)));
    LOGBRUSH gotb{};
    ASSERT_GT(hatch.GetLogBrush(&gotb), 0);
    EXPECT_EQ(gotb.lbStyle, BS_HATCHED);
    EXPECT_EQ(gotb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));

    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(16, 8, 1, 1, nullptr));
    BITMAP bm{};
    ASSERT_GT(bmp.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 8);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    const BYTE bits[16] = {0xFF, 0x00, 0x0F, 0x00, 0xF0, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x01, 0x00, 0x80, 0x00,
        0x3C, 0x00};
    EXPECT_EQ(bmp.SetBitmapBits(sizeof bits, bits), sizeof bits);
    BYTE back[16] = {};
    EXPECT_EQ(bmp.GetBitmapBits(sizeof back, back), sizeof back);
    EXPECT_EQ(back[6], 0x55);
    EXPECT_EQ(back[14], 0x3C);
    CBrush pattern;
    EXPECT_TRUE(pattern.CreatePatternBrush(&bmp));
}

TEST_F(GdiObjectTest, LoadBitmapSearchesTheResourceChain)
{
    zyn::test::ChainedResourceModule mod(L"ZynAfxGdiBitmaps");
    ASSERT_NE(mod.get(), nullptr);
    ASSERT_TRUE(zyn::base::AddResource(mod.get(), RT_BITMAP, MAKEINTRESOURCE(31001), 0,
        zyn::test::PackedDib24(5, 3, [](int x, int) { return x == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); })));
    ASSERT_TRUE(zyn::base::AddResource(mod.get(), RT_BITMAP, L"NAMED", 0,
        zyn::test::PackedDib24(2, 2, [](int, int) { return RGB(1, 2, 3); })));

    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadBitmap(31001u));
    BITMAP bm{};
    ASSERT_GT(bmp.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_FALSE(bmp.LoadBitmap(L"NAMED")); // already holds a bitmap; nothing leaks
    CBitmap named;
    EXPECT_TRUE(named.LoadBitmap(L"named"));

    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(31002u));
    const DWORD err = GetLastError(); // no module holds it: the executable was asked
    EXPECT_TRUE(err == ERROR_RESOURCE_NAME_NOT_FOUND || err == ERROR_RESOURCE_TYPE_NOT_FOUND) << err;
    EXPECT_FALSE(missing.LoadBitmap(0x10000u));
    EXPECT_FALSE(missing.LoadBitmap(static_cast<LPCTSTR>(nullptr)));
    EXPECT_FALSE(missing.LoadOEMBitmap(32754));
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(missing.m_hObject, nullptr);
}

TEST_F(GdiObjectTest, RegionMembers)
{
    CRgn a, b, c;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    const RECT rb{5, 0, 20, 10};
    ASSERT_TRUE(b.CreateRectRgnIndirect(&rb));
    ASSERT_TRUE(c.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), SIMPLEREGION);
    RECT box{};
    EXPECT_EQ(c.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 20, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(c.PtInRegion(7, 5));
    EXPECT_TRUE(c.PtInRegion(CPoint(2, 5)));
    const RECT probe{6, 1, 8, 2};
    EXPECT_FALSE(c.RectInRegion(&probe));
    EXPECT_EQ(c.CopyRgn(&a), SIMPLEREGION);
    EXPECT_TRUE(c.EqualRgn(&a));
    EXPECT_EQ(c.OffsetRgn(CPoint(5, 0)), SIMPLEREGION);
    EXPECT_FALSE(c.EqualRgn(&a));
    c.SetRectRgn(CRect(0, 0, 10, 10));
    EXPECT_TRUE(c.EqualRgn(&a));
    // Null operands fail instead of crashing.
    EXPECT_EQ(c.CombineRgn(nullptr, &a, RGN_AND), ERROR_REGION);
    EXPECT_EQ(c.CombineRgn(&a, nullptr, RGN_OR), ERROR_REGION);
    EXPECT_FALSE(c.EqualRgn(nullptr));
    EXPECT_FALSE(c.CreateRectRgnIndirect(nullptr));
    CRgn e;
    ASSERT_TRUE(e.CreateEllipticRgnIndirect(CRect(0, 0, 20, 10)));
    EXPECT_TRUE(e.PtInRegion(10, 5));
    EXPECT_FALSE(e.PtInRegion(0, 0));
    CRgn poly;
    const POINT tri[3] = {{0, 0}, {10, 0}, {0, 10}};
    ASSERT_TRUE(poly.CreatePolygonRgn(tri, 3, ALTERNATE));
    EXPECT_TRUE(poly.PtInRegion(1, 1));
    EXPECT_FALSE(poly.PtInRegion(9, 9));
}

// Heights at 96 DPI: -round(points * 96 / 72).
TEST_F(GdiObjectTest, PointFontHeightsAtScreenResolution)
{
    struct Case {
        int tenths;
        LONG height;
    } cases[] = {{80, -11}, {85, -11}, {90, -12}, {75, -10}, {100, -13}, {120, -16}};
    for (const Case& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, L"Tahoma")) << c.tenths;
        LOGFONT lf{};
        ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof(LOGFONT)));
        EXPECT_EQ(lf.lfHeight, c.height) << c.tenths;
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    }
}

TEST_F(GdiObjectTest, PointFontThroughAMemoryDcAndIndirect)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.SetWindowOrg(100, 100); // origins do not change a height
    LOGFONT lf{};
    lf.lfHeight = 80;
    lf.lfWeight = FW_BOLD;
    CFont font;
    ASSERT_TRUE(font.CreatePointFontIndirect(&lf, &dc));
    LOGFONT got{};
    font.GetLogFont(&got);
    EXPECT_EQ(got.lfHeight, -11);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    // A negative size gives the same character height.
    CFont neg;
    ASSERT_TRUE(neg.CreatePointFont(-80, L"Tahoma", &dc));
    neg.GetLogFont(&got);
    EXPECT_EQ(got.lfHeight, -11);
    CDC empty;
    CFont none;
    EXPECT_FALSE(none.CreatePointFont(80, L"Tahoma", &empty));
}

TEST_F(GdiObjectTest, PointFontRefusesAFaceNameThatDoesNotFit)
{
    CFont font;
    EXPECT_FALSE(font.CreatePointFont(80, L"An extraordinarily long face name beyond"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(font.m_hObject, nullptr);
    // Exactly 31 characters fits.
    EXPECT_TRUE(font.CreatePointFont(80, L"abcdefghijklmnopqrstuvwxyz01234"));
    EXPECT_FALSE(font.CreatePointFontIndirect(nullptr));
}

TEST_F(GdiObjectTest, PaletteWrapperAndRuntimeClasses)
{
    EXPECT_EQ(CPalette::FromHandle(nullptr), nullptr);
    EXPECT_TRUE(RUNTIME_CLASS(CPen)->IsDerivedFrom(RUNTIME_CLASS(CGdiObject)));
    EXPECT_TRUE(RUNTIME_CLASS(CPalette)->IsDerivedFrom(RUNTIME_CLASS(CGdiObject)));
    EXPECT_STREQ(RUNTIME_CLASS(CBitmap)->m_lpszClassName, "CBitmap");
    CObject* o = RUNTIME_CLASS(CGdiObject)->CreateObject();
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CGdiObject)));
    delete o;
}

} // namespace
