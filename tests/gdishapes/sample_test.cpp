// A picture with a sample of every primitive, written as PNG for a person to look at.
#include "tests/gdishapes/shapes_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "platform/gdi/png_export.h"
#include "platform/gdi/shapes.h"
#include "tests/support/testenv.h"

namespace zyn::test {
namespace {

class SampleTest : public ShapesTest {};

BOOL Smiley(HDC hdc, LPARAM, WPARAM, int cx, int cy)
{
    HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Ellipse(hdc, 0, 0, cx, cy);
    SelectObject(hdc, oldBrush);
    RECT e1{cx / 4, cy / 4, cx / 4 + 3, cy / 4 + 3}, e2{cx - cx / 4 - 3, cy / 4, cx - cx / 4, cy / 4 + 3};
    FillRect(hdc, &e1, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(hdc, &e2, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    MoveToEx(hdc, cx / 4, cy * 2 / 3, nullptr);
    LineTo(hdc, cx / 2, cy * 3 / 4);
    LineTo(hdc, cx - cx / 4, cy * 2 / 3);
    return TRUE;
}

void Cell(HDC dc, int col, int row, int& x, int& y)
{
    x = 8 + col * 76;
    y = 8 + row * 66;
}

TEST_F(SampleTest, WritesAPictureOfEveryPrimitive)
{
    Canvas c(620, 480, GetSysColor(COLOR_3DFACE));
    HDC dc = c.dc();
    int x, y;

    // Row 0: lines.
    Cell(dc, 0, 0, x, y);
    for (int i = 0; i < 16; ++i) {
        static const int dx[] = {28, 28, 28, 14, 0, -14, -28, -28, -28, -28, -28, -14, 0, 14, 28, 28};
        static const int dy[] = {0, 14, 28, 28, 28, 28, 28, 14, 0, -14, -28, -28, -28, -28, -28, -14};
        MoveToEx(dc, x + 30, y + 30, nullptr);
        LineTo(dc, x + 30 + dx[i], y + 30 + dy[i]);
    }
    Cell(dc, 1, 0, x, y);
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (int i = 0; i < 5; ++i) {
        Selected pen(dc, CreatePen(styles[i], 1, 0x800000));
        SetBkMode(dc, i % 2 ? OPAQUE : TRANSPARENT);
        SetBkColor(dc, 0x00FFFF);
        MoveToEx(dc, x, y + 6 + i * 10, nullptr);
        LineTo(dc, x + 68, y + 6 + i * 10);
    }
    {
        LOGBRUSH lb{BS_SOLID, 0x000080, 0};
        Selected pen(dc, ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr));
        MoveToEx(dc, x, y + 56, nullptr);
        LineTo(dc, x + 68, y + 56);
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, 0xFFFFFF);
    Cell(dc, 2, 0, x, y);
    {
        LOGBRUSH lb{BS_SOLID, 0x008000, 0};
        const DWORD caps[] = {PS_ENDCAP_FLAT, PS_ENDCAP_SQUARE, PS_ENDCAP_ROUND};
        for (int i = 0; i < 3; ++i) {
            Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | caps[i], 8, &lb, 0, nullptr));
            MoveToEx(dc, x + 12, y + 10 + i * 20, nullptr);
            LineTo(dc, x + 56, y + 10 + i * 20);
            SelectObject(dc, GetStockObject(WHITE_PEN));
            MoveToEx(dc, x + 12, y + 10 + i * 20, nullptr);
            LineTo(dc, x + 56, y + 10 + i * 20);
        }
    }
    Cell(dc, 3, 0, x, y);
    {
        LOGBRUSH lb{BS_SOLID, 0x804000, 0};
        const DWORD joins[] = {PS_JOIN_MITER, PS_JOIN_BEVEL, PS_JOIN_ROUND};
        for (int i = 0; i < 3; ++i) {
            Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | joins[i], 7, &lb, 0, nullptr));
            const POINT pts[] = {{x + 4 + i * 22, y + 56}, {x + 12 + i * 22, y + 8}, {x + 20 + i * 22, y + 56}};
            Polyline(dc, pts, 3);
        }
    }
    Cell(dc, 4, 0, x, y);
    {
        LOGBRUSH lb{BS_SOLID, 0x0000C0, 0};
        Selected pen(dc, ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_ROUND, 4, &lb, 0, nullptr));
        const POINT pts[] = {{x + 4, y + 8}, {x + 64, y + 8}, {x + 64, y + 56}, {x + 4, y + 30}};
        Polyline(dc, pts, 4);
    }
    Cell(dc, 5, 0, x, y);
    {
        Selected pen(dc, CreatePen(PS_SOLID, 3, 0x0000FF));
        SetROP2(dc, R2_XORPEN);
        const POINT pts[] = {{x + 4, y + 4}, {x + 64, y + 56}, {x + 64, y + 4}, {x + 4, y + 56}};
        Polyline(dc, pts, 4);
        SetROP2(dc, R2_COPYPEN);
    }

    // Row 1: filled shapes.
    {
        Selected brush(dc, CreateSolidBrush(0x40C0FF));
        Cell(dc, 0, 1, x, y);
        Rectangle(dc, x, y, x + 68, y + 58);
        Cell(dc, 1, 1, x, y);
        {
            Selected pen(dc, CreatePen(PS_SOLID, 5, 0x004080));
            Rectangle(dc, x + 4, y + 4, x + 64, y + 54);
        }
        Cell(dc, 2, 1, x, y);
        {
            Selected pen(dc, CreatePen(PS_INSIDEFRAME, 6, 0x008040));
            RoundRect(dc, x, y, x + 68, y + 58, 24, 20);
        }
        Cell(dc, 3, 1, x, y);
        Ellipse(dc, x, y, x + 68, y + 58);
        Cell(dc, 4, 1, x, y);
        {
            Selected pen(dc, CreatePen(PS_DOT, 1, 0x000000));
            SetBkMode(dc, TRANSPARENT);
            Ellipse(dc, x + 4, y + 4, x + 64, y + 54);
            SetBkMode(dc, OPAQUE);
        }
        Cell(dc, 5, 1, x, y);
        {
            Selected pen(dc, CreatePen(PS_SOLID, 4, 0x800080));
            Ellipse(dc, x + 6, y + 6, x + 62, y + 52);
        }
        Cell(dc, 6, 1, x, y);
        const POINT star[] = {{x + 34, y}, {x + 54, y + 58}, {x + 2, y + 22}, {x + 66, y + 22}, {x + 14, y + 58}};
        SetPolyFillMode(dc, ALTERNATE);
        Polygon(dc, star, 5);
        Cell(dc, 7, 1, x, y);
        const POINT star2[] = {{x + 34, y}, {x + 54, y + 58}, {x + 2, y + 22}, {x + 66, y + 22}, {x + 14, y + 58}};
        SetPolyFillMode(dc, WINDING);
        Polygon(dc, star2, 5);
    }
    Cell(dc, 7, 0, x, y);
    {
        Selected brush(dc, CreateHatchBrush(HS_DIAGCROSS, 0x008000));
        Selected pen(dc, GetStockObject(NULL_PEN), false);
        const POINT pts[] = {{x, y}, {x + 68, y}, {x + 68, y + 58}, {x, y + 58}, {x + 17, y + 15}, {x + 51, y + 15},
            {x + 51, y + 43}, {x + 17, y + 43}};
        const INT counts[] = {4, 4};
        SetPolyFillMode(dc, ALTERNATE);
        PolyPolygon(dc, pts, counts, 2);
    }
    Cell(dc, 6, 0, x, y);
    {
        HRGN rgn = CreateEllipticRgn(x, y, x + 68, y + 58);
        HBRUSH b = CreateSolidBrush(0x00C000);
        FillRgn(dc, rgn, b);
        DeleteObject(b);
        DeleteObject(rgn);
    }

    // Row 2: rectangle helpers and edges.
    Cell(dc, 0, 2, x, y);
    {
        RECT r{x, y, x + 68, y + 26};
        HBRUSH b = CreateSolidBrush(0x0000FF);
        FrameRect(dc, &r, b);
        DeleteObject(b);
        RECT i{x + 4, y + 4, x + 30, y + 22};
        InvertRect(dc, &i);
        RECT f{x, y + 30, x + 68, y + 58};
        DrawFocusRect(dc, &f);
        RECT f2{x + 6, y + 36, x + 62, y + 52};
        zyn::gdi::DrawDragRect(dc, &f2, SIZE{3, 3}, nullptr, SIZE{0, 0});
    }
    const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i) {
        Cell(dc, 1 + i, 2, x, y);
        RECT r{x, y, x + 68, y + 26};
        DrawEdge(dc, &r, edges[i], BF_RECT);
        RECT s{x, y + 30, x + 68, y + 58};
        DrawEdge(dc, &s, edges[i], BF_RECT | BF_SOFT | BF_MIDDLE);
    }
    Cell(dc, 5, 2, x, y);
    {
        RECT r{x, y, x + 32, y + 26};
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_MIDDLE);
        RECT s{x + 36, y, x + 68, y + 26};
        DrawEdge(dc, &s, EDGE_SUNKEN, BF_RECT | BF_MONO | BF_MIDDLE);
        RECT t{x, y + 30, x + 32, y + 58};
        DrawEdge(dc, &t, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE);
        RECT u{x + 36, y + 30, x + 68, y + 58};
        DrawEdge(dc, &u, EDGE_SUNKEN, BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE);
    }
    Cell(dc, 6, 2, x, y);
    {
        RECT r{x, y, x + 68, y + 58};
        DrawEdge(dc, &r, EDGE_RAISED, BF_TOPLEFT);
        RECT s{x + 8, y + 8, x + 60, y + 50};
        DrawEdge(dc, &s, EDGE_SUNKEN, BF_BOTTOMRIGHT);
    }

    // Rows 3 and 4: frame controls.
    auto control = [&](int cx, int cy, int w, int h, UINT type, UINT state) {
        RECT r{cx, cy, cx + w, cy + h};
        DrawFrameControl(dc, &r, type, state);
    };
    Cell(dc, 0, 3, x, y);
    control(x, y, 68, 24, DFC_BUTTON, DFCS_BUTTONPUSH);
    control(x, y + 30, 68, 24, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    Cell(dc, 1, 3, x, y);
    control(x, y, 13, 13, DFC_BUTTON, DFCS_BUTTONCHECK);
    control(x + 18, y, 13, 13, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    control(x + 36, y, 13, 13, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    control(x + 54, y, 13, 13, DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
    control(x, y + 20, 13, 13, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
    control(x + 18, y + 20, 13, 13, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_MONO);
    control(x + 36, y + 20, 26, 26, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    Cell(dc, 2, 3, x, y);
    control(x, y, 12, 12, DFC_BUTTON, DFCS_BUTTONRADIO);
    control(x + 18, y, 12, 12, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    control(x + 36, y, 12, 12, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE);
    control(x + 54, y, 12, 12, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_FLAT);
    control(x, y + 20, 12, 12, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
    control(x + 36, y + 20, 26, 26, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    const UINT captions[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE,
        DFCS_CAPTIONHELP};
    for (int i = 0; i < 5; ++i) {
        Cell(dc, 3, 3, x, y);
        control(x + (i % 4) * 18, y + (i / 4) * 34, 16, 14, DFC_CAPTION, captions[i]);
        control(x + (i % 4) * 18, y + (i / 4) * 34 + 16, 16, 14, DFC_CAPTION, captions[i] | DFCS_PUSHED);
        Cell(dc, 4, 3, x, y);
        control(x + (i % 4) * 18, y + (i / 4) * 34, 16, 14, DFC_CAPTION, captions[i] | DFCS_INACTIVE);
    }
    Cell(dc, 4, 3, x, y);
    control(x + 18, y + 34, 32, 28, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    Cell(dc, 5, 3, x, y);
    const UINT scrolls[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
    for (int i = 0; i < 4; ++i) {
        control(x + i * 17, y, 16, 16, DFC_SCROLL, scrolls[i]);
        control(x + i * 17, y + 18, 16, 16, DFC_SCROLL, scrolls[i] | DFCS_PUSHED);
        control(x + i * 17, y + 36, 16, 16, DFC_SCROLL, scrolls[i] | DFCS_INACTIVE);
    }
    Cell(dc, 6, 3, x, y);
    control(x, y, 17, 20, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    control(x + 20, y, 17, 20, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    control(x + 40, y + 30, 24, 24, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    control(x, y + 30, 24, 24, DFC_SCROLL, DFCS_SCROLLSIZEGRIPRIGHT);
    Cell(dc, 7, 3, x, y);
    control(x, y, 13, 13, DFC_MENU, DFCS_MENUCHECK);
    control(x + 18, y, 13, 13, DFC_MENU, DFCS_MENUBULLET);
    control(x + 36, y, 13, 13, DFC_MENU, DFCS_MENUARROW);
    control(x + 54, y, 13, 13, DFC_MENU, DFCS_MENUARROWRIGHT);
    control(x, y + 20, 32, 32, DFC_MENU, DFCS_MENUCHECK);

    // Row 4: DrawState in its states.
    const UINT states[] = {DSS_NORMAL, DSS_DISABLED, DSS_MONO, DSS_UNION};
    HBRUSH red = CreateSolidBrush(0x0000C0);
    for (int i = 0; i < 4; ++i) {
        Cell(dc, i, 4, x, y);
        DrawState(dc, red, Smiley, 0, 0, x + 4, y + 4, 56, 50, DST_COMPLEX | states[i]);
    }
    DeleteObject(red);
    Cell(dc, 4, 4, x, y);
    {
        const wchar_t* text = L"&Disabled";
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, x, y + 4, 0, 0, DST_PREFIXTEXT | DSS_DISABLED);
        DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, x, y + 30, 0, 0, DST_PREFIXTEXT);
    }

    // Row 5: clipping and a mono copy.
    Cell(dc, 0, 5, x, y);
    {
        SaveDC(dc);
        IntersectClipRect(dc, x + 10, y + 10, x + 58, y + 48);
        ExcludeClipRect(dc, x + 26, y + 20, x + 42, y + 38);
        Selected brush(dc, CreateHatchBrush(HS_CROSS, 0x0000FF));
        Ellipse(dc, x, y, x + 68, y + 58);
        RestoreDC(dc, -1);
    }
    Cell(dc, 1, 5, x, y);
    {
        Canvas mono(68, 58, 0xFFFFFF, true);
        Selected brush(mono.dc(), GetStockObject(BLACK_BRUSH), false);
        Ellipse(mono.dc(), 2, 2, 66, 56);
        RECT r{10, 10, 58, 48};
        DrawEdge(mono.dc(), &r, EDGE_RAISED, BF_RECT);
        DrawFocusRect(mono.dc(), &r);
        BitBlt(dc, x, y, 68, 58, mono.dc(), 0, 0, SRCCOPY);
    }

    const std::string path = TempRoot() + "/shapes_sample.png";
    ASSERT_TRUE(zyn::gdi::SaveBitmapPng(c.bitmap(), path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    if (const char* src = std::getenv("ZYN_SOURCE_DIR")) {
        const std::filesystem::path build = std::filesystem::path(src) / "build";
        if (std::filesystem::is_directory(build)) {
            std::error_code ec;
            std::filesystem::copy_file(path, build / "shapes_sample.png",
                std::filesystem::copy_options::overwrite_existing, ec);
            EXPECT_FALSE(ec) << ec.message();
        }
    }
}

} // namespace
} // namespace zyn::test
