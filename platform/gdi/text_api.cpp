// TextOut, ExtTextOut, the measuring functions, TabbedTextOut and GrayString.
#include <algorithm>
#include <cwchar>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_realize.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/text_render.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;

namespace zyn::gdi {

void LayoutRun(RealizedFont::Access& access, const wchar_t* s, int n, int charExtra, const TabStops* tabs, TextRun& run)
{
    run.chars.resize(static_cast<size_t>(n));
    run.pos.resize(static_cast<size_t>(n));
    int64_t u = 0;
    const int space = tabs && tabs->expand ? access.Advance(U' ') : 0;
    for (int i = 0; i < n; ++i) {
        const char32_t c = static_cast<char32_t>(s[i]);
        run.pos[static_cast<size_t>(i)] = TextCoord(u);
        if (c == U'\t' && tabs && tabs->expand) {
            run.chars[static_cast<size_t>(i)] = 0;
            u = NextTabStop(*tabs, TextCoord(u), space);
            continue;
        }
        run.chars[static_cast<size_t>(i)] = c;
        u = TextCoord(u + access.Advance(c) + static_cast<int64_t>(charExtra));
    }
    run.width = TextCoord(u);
}

int NextTabStop(const TabStops& tabs, int u, int spaceWidth)
{
    for (int p : tabs.positions) {
        if (p > u)
            return p;
    }
    if (!tabs.positions.empty() && tabs.spaceAfterLast)
        return TextCoord(static_cast<int64_t>(u) + std::max(1, spaceWidth));
    const int64_t step = std::max(1, tabs.interval);
    // The first stop, counted in steps from the origin, beyond u.
    const int64_t rel = static_cast<int64_t>(u) - tabs.origin;
    const int64_t k = (rel >= 0 ? rel / step : -((-rel + step - 1) / step)) + 1;
    return TextCoord(tabs.origin + k * step);
}

void DrawRunAligned(Dc& dc, const RealizedFont& font, int x, int y, UINT options, const RECT* rect, const TextRun& run)
{
    const TEXTMETRICW& tm = font.Metrics();
    const UINT align = dc.st.textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    const POINT ref = updateCp ? dc.st.curPos : POINT{x, y};
    const POINT dev = dc.ToDevice(ref);
    const int q = font.Quarter();

    int u0 = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        u0 = -run.width / 2;
    else if (align & TA_RIGHT)
        u0 = -run.width;
    int v0 = 0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        v0 = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        v0 = -tm.tmHeight;
    const POINT off = RotateVector(q, u0, v0);
    const POINT origin{dev.x + off.x, dev.y + off.y};

    DcTextSink sink(dc);
    RunStyle st;
    st.text = dc.st.textColor;
    st.back = dc.st.bkColor;
    st.opaque = dc.st.bkMode == OPAQUE;
    RECT devRect{};
    if (rect) {
        devRect = dc.ToDevice(*rect);
        if (options & ETO_CLIPPED) {
            st.clip = true;
            st.clipRect = devRect;
        }
        if (options & ETO_OPAQUE)
            sink.Fill(devRect, st.back);
    }
    PaintRun(sink, font, origin, run, st);
    if (dc.kind == DcKind::Printer)
        NotePrinterRun(dc, run, RotateRect(origin, q, 0, 0, run.width, tm.tmHeight));

    if (updateCp && (align & TA_CENTER) != TA_CENTER) {
        const POINT adv = RotateVector(q, (align & TA_RIGHT) ? -run.width : run.width, 0);
        dc.st.curPos.x += adv.x;
        dc.st.curPos.y += adv.y;
    }
}

} // namespace zyn::gdi

namespace {

bool CheckString(const void* s, int64_t c)
{
    if (c < 0 || c > kMaxTextChars || (c > 0 && !s)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// The tab stops of TabbedTextOut / GetTabbedTextExtent for a run starting at `startX`.
TabStops TabbedStops(int nTabPositions, const INT* lpnTabStopPositions, int nTabOrigin, int startX, int aveWidth)
{
    TabStops t;
    t.expand = true;
    t.origin = TextCoord(static_cast<int64_t>(nTabOrigin) - startX);
    const int defaultStep = TextCoord(8 * static_cast<int64_t>(std::max(1, aveWidth)));
    if (nTabPositions <= 0 || !lpnTabStopPositions) {
        t.interval = defaultStep;
    } else if (nTabPositions == 1) {
        const int step = TextCoord(std::abs(static_cast<int64_t>(lpnTabStopPositions[0])));
        t.interval = step > 0 ? step : defaultStep;
    } else {
        // Negative stops (right-aligned text on later systems) are taken as plain stops.
        for (int i = 0; i < nTabPositions; ++i)
            t.positions.push_back(
                TextCoord(std::abs(static_cast<int64_t>(lpnTabStopPositions[i])) + nTabOrigin - startX));
        std::sort(t.positions.begin(), t.positions.end());
        t.spaceAfterLast = true;
    }
    return t;
}

} // namespace

// ---- drawing ---------------------------------------------------------------------------------------
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!CheckString(lpString, c))
        return FALSE;
    if (options & ETO_GLYPH_INDEX) {
        // Our fonts are reached through characters only.
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const int n = static_cast<int>(c);
    DrawScope scope(*dc);
    auto font = RealizedFontOf(*dc);
    TextRun run;
    {
        auto access = font->Lock();
        if (lpDx) {
            // The caller's spacing replaces the advances (and the character extra).
            const bool pdy = (options & ETO_PDY) != 0;
            run.chars.resize(static_cast<size_t>(n));
            run.pos.resize(static_cast<size_t>(n));
            if (pdy)
                run.rise.resize(static_cast<size_t>(n));
            int64_t u = 0, v = 0;
            for (int i = 0; i < n; ++i) {
                run.chars[static_cast<size_t>(i)] = static_cast<char32_t>(lpString[i]);
                run.pos[static_cast<size_t>(i)] = TextCoord(u);
                if (pdy) {
                    run.rise[static_cast<size_t>(i)] = TextCoord(v);
                    u += lpDx[2 * i];
                    v += lpDx[2 * i + 1];
                } else {
                    u += lpDx[i];
                }
            }
            run.width = TextCoord(u);
        } else {
            LayoutRun(access, lpString, n, dc->st.charExtra, nullptr, run);
        }
    }
    DrawRunAligned(*dc, *font, x, y, options, lprect, run);
    return TRUE;
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx)
{
    return ExtTextOutW(hdc, x, y, options, lprect, lpString, c, lpDx);
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c)
{
    if (c < 0) {
        if (!DcFromHandle(hdc))
            return FALSE;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL TextOut(HDC hdc, int x, int y, LPCWSTR lpString, int c) { return TextOutW(hdc, x, y, lpString, c); }

// ---- measuring ------------------------------------------------------------------------------------
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!psizl || !CheckString(lpString, c)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = RealizedFontOf(*dc);
    int64_t w = 0;
    {
        auto access = font->Lock();
        for (int i = 0; i < c; ++i)
            w += static_cast<int64_t>(access.Advance(static_cast<char32_t>(lpString[i]))) + dc->st.charExtra;
    }
    psizl->cx = static_cast<LONG>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
    psizl->cy = font->Metrics().tmHeight;
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentPoint32W(hdc, lpString, c, psizl);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit, LPINT lpnDx,
    LPSIZE lpSize)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!lpSize || !CheckString(lpszString, cchString)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = RealizedFontOf(*dc);
    int64_t w = 0;
    int fit = 0;
    bool fitting = true;
    {
        auto access = font->Lock();
        for (int i = 0; i < cchString; ++i) {
            w += static_cast<int64_t>(access.Advance(static_cast<char32_t>(lpszString[i]))) + dc->st.charExtra;
            const int wi = static_cast<int>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
            if (lpnDx)
                lpnDx[i] = wi;
            // A negative maximum means no limit.
            if (fitting && (nMaxExtent < 0 || wi <= nMaxExtent))
                fit = i + 1;
            else
                fitting = false;
        }
    }
    if (lpnFit)
        *lpnFit = fit;
    lpSize->cx = static_cast<LONG>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
    lpSize->cy = font->Metrics().tmHeight;
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!lptm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lptm = RealizedFontOf(*dc)->Metrics();
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRICW lptm) { return GetTextMetricsW(hdc, lptm); }

int GetTextFaceW(HDC hdc, int c, LPWSTR lpName)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    const std::wstring& face = RealizedFontOf(*dc)->FaceName();
    const int need = static_cast<int>(face.size()) + 1;
    if (!lpName)
        return need;
    if (c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Copies what fits, always terminated; the count includes the terminator.
    const int n = std::min(c - 1, static_cast<int>(face.size()));
    std::copy_n(face.data(), n, lpName);
    lpName[n] = L'\0';
    if (n < static_cast<int>(face.size()))
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return n + 1;
}

BOOL GetCharWidth32W(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!lpBuffer || iLast < iFirst || iLast - iFirst >= static_cast<UINT>(kMaxTextChars) || iLast > 0x10FFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = RealizedFontOf(*dc);
    auto access = font->Lock();
    for (UINT ch = iFirst; ch <= iLast; ++ch)
        lpBuffer[ch - iFirst] = access.Advance(static_cast<char32_t>(ch));
    return TRUE;
}

// ---- tabbed text -------------------------------------------------------------------------------------
LONG TabbedTextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int chCount, int nTabPositions,
    const INT* lpnTabStopPositions, int nTabOrigin)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (!CheckString(lpString, chCount))
        return 0;
    DrawScope scope(*dc);
    auto font = RealizedFontOf(*dc);
    const int startX = (dc->st.textAlign & TA_UPDATECP) ? dc->st.curPos.x : x;
    const TabStops tabs =
        TabbedStops(nTabPositions, lpnTabStopPositions, nTabOrigin, startX, font->Metrics().tmAveCharWidth);
    TextRun run;
    {
        auto access = font->Lock();
        LayoutRun(access, lpString, chCount, dc->st.charExtra, &tabs, run);
    }
    DrawRunAligned(*dc, *font, x, y, 0, nullptr, run);
    return MAKELONG(static_cast<WORD>(run.width), static_cast<WORD>(font->Metrics().tmHeight));
}

DWORD GetTabbedTextExtentW(HDC hdc, LPCWSTR lpString, int chCount, int nTabPositions, const INT* lpnTabStopPositions)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (!CheckString(lpString, chCount))
        return 0;
    auto font = RealizedFontOf(*dc);
    const TabStops tabs = TabbedStops(nTabPositions, lpnTabStopPositions, 0, 0, font->Metrics().tmAveCharWidth);
    TextRun run;
    {
        auto access = font->Lock();
        LayoutRun(access, lpString, chCount, dc->st.charExtra, &tabs, run);
    }
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(run.width), static_cast<WORD>(font->Metrics().tmHeight)));
}

// ---- grey text -------------------------------------------------------------------------------------------
BOOL GrayStringW(HDC hDC, HBRUSH hBrush, GRAYSTRINGPROC lpOutputFunc, LPARAM lpData, int nCount, int X, int Y,
    int nWidth, int nHeight)
{
    auto dc = DcFromHandle(hDC);
    if (!dc)
        return FALSE;
    COLORREF color = GetSysColor(COLOR_WINDOWTEXT);
    if (hBrush) {
        auto brush = BrushOrSysColorFromHandle(hBrush);
        if (!brush)
            return FALSE;
        color = brush->Color();
    }
    if (nWidth < 0 || nHeight < 0 || static_cast<int64_t>(nWidth) * nHeight > (int64_t(1) << 26)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto font = RealizedFontOf(*dc);
    std::vector<uint8_t> ink; // 1 where the text is
    int w = nWidth, h = nHeight;
    if (!lpOutputFunc) {
        const auto* text = reinterpret_cast<LPCWSTR>(lpData);
        if (!text) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        const size_t len = nCount > 0 ? static_cast<size_t>(nCount) : std::wcslen(text);
        if (!CheckString(text, static_cast<int64_t>(len)))
            return FALSE;
        TextRun run;
        {
            auto access = font->Lock();
            LayoutRun(access, text, static_cast<int>(len), dc->st.charExtra, nullptr, run);
        }
        if (w == 0 || h == 0) {
            w = std::max(0, run.width);
            h = font->Metrics().tmHeight;
        }
        MaskTextSink mask(w, h);
        RunStyle st;
        st.text = 0;
        PaintRun(mask, *font, POINT{0, 0}, run, st);
        ink.resize(static_cast<size_t>(w) * h);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                ink[static_cast<size_t>(yy) * w + xx] = mask.At(xx, yy) >= 128 ? 1 : 0;
    } else {
        // The callback draws black on white into a 1-bit bitmap of the given size; it
        // cannot be measured for it, so a size is required.
        if (w == 0 || h == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        HDC mem = CreateCompatibleDC(hDC);
        HBITMAP bmp = mem ? CreateBitmap(w, h, 1, 1, nullptr) : nullptr;
        if (!mem || !bmp) {
            if (mem)
                DeleteDC(mem);
            return FALSE;
        }
        HGDIOBJ oldBmp = SelectObject(mem, bmp);
        HGDIOBJ oldFont = SelectObject(mem, dc->st.font.Handle());
        SetTextColor(mem, RGB(0, 0, 0));
        SetBkColor(mem, RGB(255, 255, 255));
        SetBkMode(mem, TRANSPARENT);
        PatBlt(mem, 0, 0, w, h, WHITENESS);
        const BOOL ok = lpOutputFunc(mem, lpData, nCount);
        ink.assign(static_cast<size_t>(w) * h, 0);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                ink[static_cast<size_t>(yy) * w + xx] = GetPixel(mem, xx, yy) == RGB(0, 0, 0) ? 1 : 0;
        SelectObject(mem, oldFont);
        SelectObject(mem, oldBmp);
        DeleteDC(mem);
        DeleteObject(bmp);
        if (!ok)
            return FALSE;
    }
    if (w == 0 || h == 0)
        return TRUE;
    // Grey: the text's pixels through a 50% checkerboard, in the brush colour.
    DrawScope scope(*dc);
    const POINT dev = dc->ToDevice(POINT{X, Y});
    std::vector<uint8_t> cov(static_cast<size_t>(w) * h, 0);
    for (int yy = 0; yy < h; ++yy) {
        for (int xx = 0; xx < w; ++xx) {
            const int sx = dev.x + xx + dc->origin.x, sy = dev.y + yy + dc->origin.y;
            if (ink[static_cast<size_t>(yy) * w + xx] && ((sx + sy) & 1) == 0)
                cov[static_cast<size_t>(yy) * w + xx] = 255;
        }
    }
    BlendCoverage(*dc, dev.x, dev.y, w, h, cov.data(), w, PlainColor(color));
    return TRUE;
}
