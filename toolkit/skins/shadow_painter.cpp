#include "toolkit/skins/shadow_painter.h"

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/gdi/wingdi.h"

namespace {

// A copy of the screen under a rectangle, in a memory bitmap that is freed with it.
class ScreenCopy {
public:
    ScreenCopy(const RECT& r)
    {
        const int w = r.right - r.left, h = r.bottom - r.top;
        HDC screen = ::GetDC(nullptr);
        if (!screen)
            return;
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = m_dc ? ::CreateCompatibleBitmap(screen, w, h) : nullptr;
        if (m_bitmap) {
            m_old = ::SelectObject(m_dc, m_bitmap);
            m_ok = ::BitBlt(m_dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
        }
        ::ReleaseDC(nullptr, screen);
    }
    ~ScreenCopy()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;

    bool ok() const { return m_ok; }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_dc, x, y); }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    bool m_ok = false;
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
    // The right edge, column by column from the outermost (i = 1). Its upper end, the
    // background and the fade, may lie against a button the popup drops from sideways.
    if (shape != OXShadowShape::OpenRight) {
        for (int i = 1; i <= 4; ++i) {
            const int x = w - i;
            if (shape == OXShadowShape::OpenAbove) {
                for (int y = 1; y <= h - 5; ++y)
                    add(x, y, i * 15, false);
            } else {
                for (int y = 0; y <= 3; ++y)
                    add(x, y, 0, true);
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
    // right edge. All of it may lie against a button the popup drops up from.
    if (shape != OXShadowShape::OpenBelow) {
        for (int j = 1; j <= 4; ++j) {
            const int y = h - j;
            if (shape == OXShadowShape::OpenLeft) {
                for (int x = 1; x <= w - 5; ++x)
                    add(x, y, j * 15, false);
            } else {
                for (int i = 1; i <= 4; ++i)
                    add(4 - i, y, 0, true);
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
    if (pColours && pColours->GetSize() > 0) {
        // Replaying: the screen under the window holds our own shadow by now.
        if (pColours->GetSize() != static_cast<INT_PTR>(pixels.size())) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        for (size_t k = 0; k < pixels.size(); ++k) {
            const COLORREF colour = pColours->GetAt(static_cast<INT_PTR>(k));
            ::SetPixelV(hdc, originInDC.x + pixels[k].x, originInDC.y + pixels[k].y, colour);
        }
        return TRUE;
    }
    const ScreenCopy under(rectScreen);
    if (!under.ok())
        return FALSE;
    for (const OXShadowPixel& p : pixels) {
        const COLORREF colour = OXDarkenColor(p.scale, under.Pixel(p.x, p.y));
        ::SetPixelV(hdc, originInDC.x + p.x, originInDC.y + p.y, colour);
        if (pColours)
            pColours->Add(colour);
    }
    return TRUE;
}
