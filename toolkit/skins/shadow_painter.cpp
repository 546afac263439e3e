#include "toolkit/skins/shadow_painter.h"

#include <algorithm>
#include <cstdint>

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/gdi/wingdi.h"

namespace {

// The right strip (the last columns, up to four, full height) and the bottom strip (the
// last rows, up to four, full width) of a rectangle: the background as the screen shows
// it, and the target DC's own pixels, which go back as they were where the walk leaves
// them alone.
class ShadowStrips {
public:
    ShadowStrips(const RECT& screen, HDC target, POINT origin)
        : m_w(screen.right - screen.left)
        , m_h(screen.bottom - screen.top)
        , m_rw(std::min(4, m_w))
        , m_bh(std::min(4, m_h))
        , m_backRight(m_rw, m_h)
        , m_backBottom(m_w, m_bh)
        , m_right(m_rw, m_h)
        , m_bottom(m_w, m_bh)
    {
        const HDC screenDC = ::GetDC(nullptr);
        if (!screenDC)
            return;
        m_backRight.CopyFrom(screenDC, screen.right - m_rw, screen.top);
        m_backBottom.CopyFrom(screenDC, screen.left, screen.bottom - m_bh);
        ::ReleaseDC(nullptr, screenDC);
        m_right.CopyFrom(target, origin.x + m_w - m_rw, origin.y);
        m_bottom.CopyFrom(target, origin.x, origin.y + m_h - m_bh);
    }
    bool IsValid() const
    {
        return m_backRight.IsValid() && m_backBottom.IsValid() && m_right.IsValid() && m_bottom.IsValid();
    }

    // Pixels of the rectangle's own coordinates; the right strip owns the corner.
    COLORREF Background(int x, int y) const
    {
        return x >= m_w - m_rw ? m_backRight.Get(x - (m_w - m_rw), y) : m_backBottom.Get(x, y - (m_h - m_bh));
    }
    void Set(int x, int y, COLORREF colour)
    {
        if (x >= m_w - m_rw)
            m_right.Set(x - (m_w - m_rw), y, colour);
        else
            m_bottom.Set(x, y - (m_h - m_bh), colour);
    }
    // Both strips into the target at origin; the bottom strip stops where the right one
    // starts.
    void CopyTo(HDC hdc, POINT origin) const
    {
        m_bottom.CopyTo(hdc, origin.x, origin.y + m_h - m_bh, m_w - m_rw);
        m_right.CopyTo(hdc, origin.x + m_w - m_rw, origin.y, m_rw);
    }

private:
    // A 32-bit top-down DIB section selected into a memory DC, freed with it.
    class Strip {
    public:
        Strip(int cx, int cy)
            : m_cx(cx)
            , m_cy(cy)
        {
            if (cx <= 0 || cy <= 0)
                return;
            BITMAPINFO bmi{};
            bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bmi.bmiHeader.biWidth = cx;
            bmi.bmiHeader.biHeight = -cy;
            bmi.bmiHeader.biPlanes = 1;
            bmi.bmiHeader.biBitCount = 32;
            bmi.bmiHeader.biCompression = BI_RGB;
            m_dc = ::CreateCompatibleDC(nullptr);
            void* bits = nullptr;
            m_bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
            m_bits = static_cast<uint32_t*>(bits);
            if (m_dc && m_bitmap)
                m_old = ::SelectObject(m_dc, m_bitmap);
        }
        ~Strip()
        {
            if (m_old)
                ::SelectObject(m_dc, m_old);
            if (m_bitmap)
                ::DeleteObject(m_bitmap);
            if (m_dc)
                ::DeleteDC(m_dc);
        }
        Strip(const Strip&) = delete;
        Strip& operator=(const Strip&) = delete;

        bool IsValid() const { return m_bits && m_old; }
        void CopyFrom(HDC source, int x, int y)
        {
            if (IsValid()) {
                ::BitBlt(m_dc, 0, 0, m_cx, m_cy, source, x, y, SRCCOPY);
                ::GdiFlush();
            }
        }
        void CopyTo(HDC target, int x, int y, int cx) const
        {
            if (IsValid() && cx > 0) {
                ::GdiFlush();
                ::BitBlt(target, x, y, std::min(cx, m_cx), m_cy, m_dc, 0, 0, SRCCOPY);
            }
        }
        COLORREF Get(int x, int y) const
        {
            if (!m_bits || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
                return 0;
            const uint32_t p = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_cx) + static_cast<size_t>(x)];
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
        void Set(int x, int y, COLORREF c)
        {
            if (!m_bits || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
                return;
            m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_cx) + static_cast<size_t>(x)] =
                static_cast<uint32_t>(GetBValue(c)) | static_cast<uint32_t>(GetGValue(c)) << 8 |
                static_cast<uint32_t>(GetRValue(c)) << 16;
        }

    private:
        int m_cx;
        int m_cy;
        HDC m_dc = nullptr;
        HBITMAP m_bitmap = nullptr;
        HGDIOBJ m_old = nullptr;
        uint32_t* m_bits = nullptr;
    };

    int m_w;
    int m_h;
    int m_rw;
    int m_bh;
    Strip m_backRight;
    Strip m_backBottom;
    Strip m_right;
    Strip m_bottom;
};

} // namespace

COLORREF OXDarkenColor(LONG scale, COLORREF colour)
{
    const int keep = 255 - scale;
    return RGB(MulDiv(GetRValue(colour), keep, 255), MulDiv(GetGValue(colour), keep, 255),
        MulDiv(GetBValue(colour), keep, 255));
}

std::vector<OXShadowPixel> OXShadowPixels(int width, int height, OXShadowShape shape)
{
    std::vector<OXShadowPixel> out;
    if (width <= 0 || height <= 0)
        return out;
    const int w = width, h = height;
    auto add = [&](int x, int y, int scale, bool besideDropFrom) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            out.push_back(OXShadowPixel{x, y, scale, besideDropFrom});
    };
    // The right edge, column by column from the outermost (i = 1). Its upper fade may lie
    // against a button the popup drops from sideways.
    if (shape != OXShadowShape::OpenRight) {
        for (int i = 1; i <= 4; ++i) {
            const int x = w - i;
            if (shape == OXShadowShape::OpenAbove) {
                for (int y = 1; y <= h - 5; ++y)
                    add(x, y, i * 15, false);
            } else {
                for (int y = 0; y <= 3; ++y)
                    add(x, y, 0, false);
                for (int j = 4; j >= 1; --j)
                    add(x, 3 + j, i * 3 * j, true);
                for (int y = 8; y <= h - 5; ++y)
                    add(x, y, i * 15, false);
            }
            if (shape != OXShadowShape::OpenBelow) {
                for (int j = 1; j <= 4; ++j)
                    add(x, h - j, i * 3 * j, false);
            }
        }
    }
    // The bottom edge, row by row from the outermost (j = 1); the corner belongs to the
    // right edge. Its fade and body may lie against a button the popup drops up from.
    if (shape != OXShadowShape::OpenBelow) {
        for (int j = 1; j <= 4; ++j) {
            const int y = h - j;
            if (shape == OXShadowShape::OpenLeft) {
                for (int x = 1; x <= w - 5; ++x)
                    add(x, y, j * 15, false);
            } else {
                for (int i = 1; i <= 4; ++i)
                    add(4 - i, y, 0, false);
                for (int i = 1; i <= 4; ++i)
                    add(8 - i, y, (5 - i) * 3 * j, true);
                for (int x = 8; x <= w - 5; ++x)
                    add(x, y, j * 15, true);
            }
        }
    }
    return out;
}

BOOL OXDrawShadow(HDC hdc, const RECT& rectScreen, POINT originInDC, const RECT* pDropFrom,
    CArray<COLORREF, COLORREF>* pColours, OXShadowShape shape)
{
    const int w = rectScreen.right - rectScreen.left, h = rectScreen.bottom - rectScreen.top;
    if (!hdc || w <= 0 || h <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<OXShadowPixel> pixels = OXShadowPixels(w, h, shape);
    if (pDropFrom) {
        std::erase_if(pixels, [&](const OXShadowPixel& p) {
            const POINT onScreen{rectScreen.left + p.x, rectScreen.top + p.y};
            return p.besideDropFrom && ::PtInRect(pDropFrom, onScreen);
        });
    }
    if (pColours && pColours->GetSize() > 0 && pColours->GetSize() != static_cast<INT_PTR>(pixels.size())) {
        // Recorded for another size, shape or drop-from button.
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    ShadowStrips strips(rectScreen, hdc, originInDC);
    if (!strips.IsValid()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    const bool replay = pColours && pColours->GetSize() > 0;
    for (size_t k = 0; k < pixels.size(); ++k) {
        const OXShadowPixel& p = pixels[k];
        COLORREF colour;
        if (replay) {
            // The screen under the window holds our own shadow by now.
            colour = pColours->GetAt(static_cast<INT_PTR>(k));
        } else {
            colour = OXDarkenColor(p.scale, strips.Background(p.x, p.y));
            if (pColours)
                pColours->Add(colour);
        }
        strips.Set(p.x, p.y, colour);
    }
    strips.CopyTo(hdc, originInDC);
    return TRUE;
}
