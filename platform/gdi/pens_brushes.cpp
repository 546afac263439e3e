// Creating pens, brushes and fonts.
#include <algorithm>
#include <cstring>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

// The 8x8 hatch masks; a 1 bit is a hatch line pixel. Row 0 is the top row, bit 7 the
// left column. These are the standard hatch bitmaps, row by row:
//   HS_HORIZONTAL  00 00 00 FF 00 00 00 00   (row 3)
//   HS_VERTICAL    08 in every row           (column 4)
//   HS_FDIAGONAL   80 40 20 10 08 04 02 01   ("\": down, left to right)
//   HS_BDIAGONAL   01 02 04 08 10 20 40 80   ("/": up, left to right)
//   HS_CROSS       08 08 08 FF 08 08 08 08
//   HS_DIAGCROSS   81 42 24 18 18 24 42 81
// The cell is aligned to the brush origin like any pattern.
std::shared_ptr<Surface> HatchPattern(int style)
{
    static constexpr uint8_t kRows[6][8] = {
        {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},
        {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},
        {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},
        {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
        {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},
        {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
    };
    if (style < HS_HORIZONTAL || style > HS_DIAGCROSS)
        return nullptr;
    auto s = Surface::Create(8, 8, PixelFormat::Mono1);
    if (!s)
        return nullptr;
    for (int y = 0; y < 8; ++y)
        s->Row(y)[0] = kRows[style][y];
    return s;
}

HBRUSH HalftoneBrush()
{
    // The classic 50% dither: alternating pixels, the top-left pixel 1 (background colour).
    static HBRUSH brush = [] {
        auto s = Surface::Create(8, 8, PixelFormat::Mono1);
        for (int y = 0; y < 8; ++y)
            s->Row(y)[0] = (y & 1) ? 0x55 : 0xAA;
        auto b = std::make_shared<BrushObj>();
        b->style = BS_PATTERN;
        b->pattern = std::move(s);
        return static_cast<HBRUSH>(AddObject(std::move(b), true));
    }();
    return brush;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

namespace {
std::shared_ptr<Surface> CopySurface(const Surface& src)
{
    auto s = Surface::Create(src.Width(), src.Height(), src.Format());
    if (!s)
        return nullptr;
    s->SetPalette(src.PaletteColor(0), src.PaletteColor(1));
    const size_t bytes = Surface::RowBytesFor(src.Width(), src.Format());
    for (int y = 0; y < src.Height(); ++y)
        std::memcpy(s->Row(y), src.Row(y), bytes);
    return s;
}
} // namespace

HPEN CreatePen(int style, int width, COLORREF color)
{
    const int kind = style & PS_STYLE_MASK;
    if (kind > PS_INSIDEFRAME || kind == PS_USERSTYLE || kind == PS_ALTERNATE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<PenObj>();
    p->style = static_cast<DWORD>(kind);
    p->width = width < 0 ? 0 : width;
    // Styled cosmetic pens are one pixel wide, whatever width was asked.
    if (kind >= PS_DASH && kind <= PS_DASHDOTDOT && p->width > 1)
        p->style = PS_SOLID;
    p->color = color;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* plpen)
{
    if (!plpen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* plbrush, DWORD cStyle, const DWORD* pstyle)
{
    if (!plbrush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const DWORD kind = style & PS_STYLE_MASK;
    const bool geometric = (style & PS_TYPE_MASK) == static_cast<DWORD>(PS_GEOMETRIC);
    if (kind == static_cast<DWORD>(PS_USERSTYLE)) {
        if (cStyle == 0 || cStyle > 16 || !pstyle) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    } else if (cStyle != 0 || pstyle) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!geometric && width != 1) { // cosmetic pens are one pixel
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (kind == static_cast<DWORD>(PS_ALTERNATE) && geometric) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<PenObj>();
    p->extended = true;
    p->style = style;
    p->width = static_cast<int>(std::min<DWORD>(width, 0x7FFFFFFF));
    p->color = plbrush->lbColor;
    p->brushStyle = plbrush->lbStyle;
    p->hatch = plbrush->lbHatch;
    if (kind == static_cast<DWORD>(PS_USERSTYLE))
        p->styleEntries.assign(pstyle, pstyle + cStyle);
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto b = std::make_shared<BrushObj>();
    b->style = BS_SOLID;
    b->color = color;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateHatchBrush(int style, COLORREF color)
{
    if (style < HS_HORIZONTAL || style > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_shared<BrushObj>();
    b->style = BS_HATCHED;
    b->hatch = style;
    b->color = color;
    b->pattern = HatchPattern(style);
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP hbm)
{
    auto bm = BitmapFromHandle(hbm);
    if (!bm)
        return nullptr;
    bm->SyncIn();
    auto b = std::make_shared<BrushObj>();
    b->style = BS_PATTERN;
    // The brush keeps its own copy: later changes to the bitmap do not show, and the
    // bitmap may be deleted while the brush lives.
    b->pattern = CopySurface(*bm->surface);
    if (!b->pattern) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    b->patternBitmap = hbm;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* plbrush)
{
    if (!plbrush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (plbrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(plbrush->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(plbrush->lbHatch), plbrush->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8: return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* lplf)
{
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto f = std::make_shared<FontObj>();
    f->lf = *lplf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0; // a face name without terminator is cut at 31
    return static_cast<HFONT>(AddObject(std::move(f)));
}

HFONT CreateFontIndirect(const LOGFONTW* lplf) { return CreateFontIndirectW(lplf); }

HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
    DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
    DWORD iPitchAndFamily, LPCWSTR pszFaceName)
{
    LOGFONTW lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic ? 1 : 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline ? 1 : 0);
    lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut ? 1 : 0);
    lf.lfCharSet = static_cast<BYTE>(iCharSet);
    lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    lf.lfQuality = static_cast<BYTE>(iQuality);
    lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName) {
        size_t i = 0;
        for (; pszFaceName[i] && i + 1 < static_cast<size_t>(LF_FACESIZE); ++i)
            lf.lfFaceName[i] = pszFaceName[i];
    }
    return CreateFontIndirectW(&lf);
}

HFONT CreateFont(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
    DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
    DWORD iPitchAndFamily, LPCWSTR pszFaceName)
{
    return CreateFontW(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline, bStrikeOut, iCharSet,
        iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily, pszFaceName);
}
