// DCs and objects: defaults, selection, SaveDC/RestoreDC, mapping, capabilities,
// stale handles, GetObject.
#include <cstring>

#include "platform/base/lasterror.h"
#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {
class Dc : public GdiTest {};
} // namespace

TEST_F(Dc, FreshMemoryDcDefaults)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetTextColor(dc), 0x000000u);
    EXPECT_EQ(GetBkColor(dc), 0xFFFFFFu);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    // A fresh memory DC holds a 1x1 mono bitmap, so it is a 1-bit device...
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
    BITMAP bm{};
    ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm), (int)sizeof bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    // ...and its compatible bitmaps are mono (the classic trap).
    HBITMAP cb = CreateCompatibleBitmap(dc, 8, 8);
    GetObject(cb, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(cb);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    DeleteDC(dc);
}

TEST_F(Dc, ScreenDcCapabilities)
{
    zyn::gdi::ResetDesktop(800, 600);
    HDC s = GetDC(nullptr);
    ASSERT_TRUE(s);
    EXPECT_EQ(GetDeviceCaps(s, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(s, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(s, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(s, HORZRES), 800);
    EXPECT_EQ(GetDeviceCaps(s, VERTRES), 600);
    EXPECT_EQ(GetDeviceCaps(s, TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_TRUE(GetDeviceCaps(s, RASTERCAPS) & RC_STRETCHBLT);
    EXPECT_EQ(GetObjectType(s), OBJ_DC);
    HBITMAP cb = CreateCompatibleBitmap(s, 4, 4);
    BITMAP bm{};
    GetObject(cb, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmWidthBytes, 16);
    DeleteObject(cb);
    // The screen DC reads and writes the framebuffer.
    EXPECT_EQ(SetPixel(s, 799, 599, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(zyn::gdi::DesktopSurface()->Row32(599)[799], 0x010203u);
    EXPECT_EQ(GetPixel(s, 800, 0), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(nullptr, s), 1);
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x12345678)), nullptr) << "no window system installed";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(Dc, SelectObjectReturnsPreviousAndGuardsDeletion)
{
    MemDc dc(4, 4);
    Obj<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    Obj<HBRUSH> brush(CreateSolidBrush(RGB(0, 255, 0)));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    SetLastError(0);
    EXPECT_FALSE(DeleteObject(pen)) << "a selected pen is not deleted";
    EXPECT_EQ(GetLastError(), ERROR_BUSY);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN) << "and still lives";
    EXPECT_EQ(SelectObject(dc, oldPen), pen.get());
    EXPECT_EQ(SelectObject(dc, oldBrush), brush.get());
    // A bitmap lives in one DC at a time.
    HDC other = CreateCompatibleDC(nullptr);
    SetLastError(0);
    EXPECT_EQ(SelectObject(other, dc.bitmap()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BUSY);
    DeleteDC(other);
    // Stock objects are never deleted.
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), OBJ_BRUSH);
    // A region "selected" becomes the clip: the answer is a complexity.
    Obj<HRGN> rgn(CreateRectRgn(0, 0, 2, 2));
    EXPECT_EQ(reinterpret_cast<intptr_t>(SelectObject(dc, rgn)), SIMPLEREGION);
}

TEST_F(Dc, StaleAndForeignHandlesFailCleanly)
{
    HBRUSH b = CreateSolidBrush(0);
    ASSERT_TRUE(DeleteObject(b));
    SetLastError(0);
    EXPECT_FALSE(DeleteObject(b));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HDC dc = CreateCompatibleDC(nullptr);
    SetLastError(0);
    EXPECT_EQ(SelectObject(dc, b), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    // A DC handle is not a GDI object, and a GDI object is not a DC.
    Obj<HPEN> pen(CreatePen(PS_SOLID, 1, 0));
    EXPECT_FALSE(DeleteObject(dc));
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(pen.get())));
    EXPECT_EQ(GetTextColor(reinterpret_cast<HDC>(pen.get())), CLR_INVALID);
    // Forged values, including the MAKEINTRESOURCE range.
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(0x1234)), 0u);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(0x7FFFFFFF)), 0u);
    EXPECT_EQ(GetPixel(reinterpret_cast<HDC>(0x18000000), 0, 0), CLR_INVALID);
    ASSERT_TRUE(DeleteDC(dc));
    SetLastError(0);
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(DeleteDC(dc));
}

TEST_F(Dc, SaveAndRestore)
{
    MemDc dc(4, 4);
    Obj<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    SetTextColor(dc, RGB(1, 1, 1));
    const int l1 = SaveDC(dc);
    EXPECT_EQ(l1, 1);
    SetTextColor(dc, RGB(2, 2, 2));
    HGDIOBJ old = SelectObject(dc, red);
    const int l2 = SaveDC(dc);
    EXPECT_EQ(l2, 2);
    SetTextColor(dc, RGB(3, 3, 3));
    SelectObject(dc, old);
    EXPECT_FALSE(DeleteObject(red)) << "the saved state still holds the brush";
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), red.get());
    EXPECT_FALSE(RestoreDC(dc, 2)) << "level 2 was consumed";
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_FALSE(RestoreDC(dc, -5));
    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing left to restore";
}

TEST_F(Dc, OriginsAndMapping)
{
    MemDc dc(20, 20);
    POINT prev;
    EXPECT_TRUE(SetWindowOrgEx(dc, 5, 5, &prev));
    EXPECT_EQ(prev.x, 0);
    EXPECT_TRUE(SetViewportOrgEx(dc, 2, 3, nullptr));
    POINT p{10, 10};
    LPtoDP(dc, &p, 1); // 10 - 5 + 2, 10 - 5 + 3
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 8);
    DPtoLP(dc, &p, 1);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 10);
    OffsetViewportOrgEx(dc, 1, 1, &prev);
    EXPECT_EQ(prev.x, 2);
    // Logical (5,5) lands on device (3,4): a pixel set there is read back at device coords.
    SetPixel(dc, 5, 5, RGB(9, 9, 9));
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(GetPixel(dc, 3, 4), RGB(9, 9, 9));
    SetLastError(0);
    EXPECT_EQ(SetMapMode(dc, MM_LOMETRIC), 0) << "scaling modes are refused";
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_EQ(SetROP2(dc, 17), 0);
    EXPECT_EQ(SetROP2(dc, R2_XORPEN), R2_COPYPEN);
}

TEST_F(Dc, GetObjectForEveryKind)
{
    Obj<HPEN> pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3)));
    LOGPEN lp{};
    EXPECT_EQ(GetObject(pen, sizeof lp, &lp), (int)sizeof lp);
    EXPECT_EQ(lp.lopnStyle, (UINT)PS_DASH);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObject(pen, 0, nullptr), (int)sizeof(LOGPEN));

    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
    Obj<HPEN> ext(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, &lb, 0, nullptr));
    ASSERT_TRUE(ext.get());
    EXPECT_EQ(GetObjectType(ext), OBJ_EXTPEN);
    EXTLOGPEN elp{};
    EXPECT_GT(GetObject(ext, sizeof elp, &elp), 0);
    EXPECT_EQ(elp.elpWidth, 5u);
    EXPECT_EQ(elp.elpColor, RGB(0, 0, 255));

    Obj<HBRUSH> hatch(CreateHatchBrush(HS_CROSS, RGB(4, 5, 6)));
    LOGBRUSH got{};
    EXPECT_EQ(GetObject(hatch, sizeof got, &got), (int)sizeof got);
    EXPECT_EQ(got.lbStyle, BS_HATCHED);
    EXPECT_EQ(got.lbHatch, (ULONG_PTR)HS_CROSS);

    LOGFONTW lf{};
    lf.lfHeight = -11;
    std::wcscpy(lf.lfFaceName, L"Tahoma");
    Obj<HFONT> font(CreateFontIndirectW(&lf));
    LOGFONTW back{};
    EXPECT_EQ(GetObject(font, sizeof back, &back), (int)sizeof back);
    EXPECT_EQ(back.lfHeight, -11);
    EXPECT_STREQ(back.lfFaceName, L"Tahoma");
    EXPECT_EQ(GetObjectType(font), OBJ_FONT);

    Obj<HBITMAP> bmp(CreateBitmap(3, 2, 1, 32, nullptr));
    BITMAP bm{};
    EXPECT_EQ(GetObject(bmp, sizeof bm, &bm), (int)sizeof bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    Obj<HRGN> rgn(CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(GetObjectType(rgn), OBJ_REGION);
    EXPECT_EQ(GetObject(rgn, 0, nullptr), 0);

    EXPECT_EQ(CreatePen(PS_USERSTYLE, 1, 0), nullptr) << "user styles need ExtCreatePen";
    EXPECT_EQ(CreateHatchBrush(9, 0), nullptr);
    EXPECT_EQ(CreateBitmap(-1, 2, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(2, 2, 1, 7, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(0, 2, 1, 32, nullptr), zyn::gdi::DefaultBitmap()->Handle());
}

TEST_F(Dc, StateSettersAnswerThePreviousValue)
{
    MemDc dc(2, 2);
    EXPECT_EQ(SetTextColor(dc, 5), 0u);
    EXPECT_EQ(SetTextColor(dc, 6), 5u);
    EXPECT_EQ(SetBkColor(dc, 1), 0xFFFFFFu);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetStretchBltMode(dc, HALFTONE), BLACKONWHITE);
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    EXPECT_EQ(SetTextAlign(dc, TA_CENTER), 0u);
    EXPECT_EQ(GetTextAlign(dc), TA_CENTER);
    EXPECT_EQ(SetDCBrushColor(dc, 7), 0xFFFFFFu);
    EXPECT_EQ(SetDCPenColor(dc, 8), 0u);
    EXPECT_EQ(SetTextCharacterExtra(dc, 2), 0);
    POINT o;
    EXPECT_TRUE(SetBrushOrgEx(dc, 3, 4, nullptr));
    EXPECT_TRUE(GetBrushOrgEx(dc, &o));
    EXPECT_EQ(o.x, 3);
    EXPECT_TRUE(GetDCOrgEx(dc, &o));
    EXPECT_EQ(o.x, 0);
}

TEST_F(Dc, StateAccessorsOnABadHandleAnswerTheirFailureValue)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(dc));
    auto refused = [](auto value, auto expected) {
        SetLastError(0);
        EXPECT_EQ(value(), expected);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    };
    refused([&] { return SetTextColor(dc, 1); }, CLR_INVALID);
    refused([&] { return GetBkColor(dc); }, CLR_INVALID);
    refused([&] { return SetDCBrushColor(dc, 1); }, CLR_INVALID);
    refused([&] { return SetDCPenColor(dc, 1); }, CLR_INVALID);
    refused([&] { return SetTextAlign(dc, TA_CENTER); }, static_cast<UINT>(GDI_ERROR));
    refused([&] { return GetTextAlign(dc); }, static_cast<UINT>(GDI_ERROR));
    refused([&] { return SetTextCharacterExtra(dc, 1); }, static_cast<int>(0x80000000u));
    refused([&] { return GetMapMode(dc); }, 0);
    refused([&] { return GetROP2(dc); }, 0);
    POINT p{1, 2};
    refused([&] { return MoveToEx(dc, 1, 1, &p); }, FALSE);
    refused([&] { return GetCurrentPositionEx(dc, &p); }, FALSE);
    refused([&] { return SetBrushOrgEx(dc, 1, 1, &p); }, FALSE);
    refused([&] { return LPtoDP(dc, &p, 1); }, FALSE);
    EXPECT_EQ(p.x, 1) << "nothing is written through a bad handle";
}

TEST_F(Dc, PointAccessorsAnswerThePreviousPointAndRefuseANullOut)
{
    MemDc dc(2, 2);
    POINT prev{-1, -1};
    EXPECT_TRUE(MoveToEx(dc, 3, 4, nullptr));
    EXPECT_TRUE(MoveToEx(dc, 5, 6, &prev));
    EXPECT_EQ(prev.x, 3);
    EXPECT_EQ(prev.y, 4);
    EXPECT_TRUE(GetCurrentPositionEx(dc, &prev));
    EXPECT_EQ(prev.y, 6);
    EXPECT_TRUE(SetBrushOrgEx(dc, 7, 8, &prev));
    EXPECT_EQ(prev.x, 0);
    for (auto get : {&GetCurrentPositionEx, &GetBrushOrgEx, &GetViewportOrgEx, &GetWindowOrgEx}) {
        SetLastError(0);
        EXPECT_FALSE(get(dc, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    SetLastError(0);
    EXPECT_FALSE(DPtoLP(dc, nullptr, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(DPtoLP(dc, nullptr, 0));
}
