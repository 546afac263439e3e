#pragma once
// Helpers for text tests: a 32-bit (or 1-bit) canvas whose pixels can be read back, fonts
// owned by the test, and the bounds of painted pixels.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/gdi/font_realize.h"
#include "platform/gdi/gdi_object.h"
#include "tests/gdi/gdi_test_support.h"

namespace zyn::test {

// A font made with CreateFontW and deleted at scope end.
inline HFONT MakeFont(int height, const wchar_t* face = L"Tahoma", int weight = FW_NORMAL, int escapement = 0,
    BYTE quality = DEFAULT_QUALITY, bool italic = false, bool underline = false, bool strike = false, int width = 0)
{
    return CreateFontW(height, width, escapement, escapement, weight, italic, underline, strike, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_DONTCARE, face);
}

// A canvas of `w` x `h` filled with `back`, with a font selected while it lives.
class Canvas {
public:
    Canvas(int w, int h, HFONT font = nullptr, COLORREF back = RGB(255, 255, 255), bool mono = false)
        : m_dc(w, h, mono), m_w(w), m_h(h), m_back(back)
    {
        m_dc.Fill(back);
        SetBkColor(m_dc, back);
        if (font)
            m_oldFont = SelectObject(m_dc, font);
    }
    ~Canvas()
    {
        if (m_oldFont)
            SelectObject(m_dc, m_oldFont);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    operator HDC() const { return m_dc.dc(); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    void Clear() { m_dc.Fill(m_back); }

    COLORREF At(int x, int y) const
    {
        auto bmp = gdi::BitmapFromHandle(m_dc.bitmap());
        return gdi::PixelToColor(*bmp->surface, bmp->surface->GetRaw(x, y));
    }
    // Bounds of the pixels for which `pick` holds; empty when none.
    RECT Bounds(const std::function<bool(COLORREF)>& pick) const
    {
        auto bmp = gdi::BitmapFromHandle(m_dc.bitmap());
        const gdi::Surface& s = *bmp->surface;
        RECT r{m_w, m_h, 0, 0};
        for (int y = 0; y < m_h; ++y) {
            for (int x = 0; x < m_w; ++x) {
                if (!pick(gdi::PixelToColor(s, s.GetRaw(x, y))))
                    continue;
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        }
        if (r.left >= r.right)
            r = RECT{0, 0, 0, 0};
        return r;
    }
    // Bounds of everything that is not the background.
    RECT Painted() const
    {
        const COLORREF b = m_back;
        return Bounds([b](COLORREF c) { return c != b; });
    }
    int Count(const std::function<bool(COLORREF)>& pick) const
    {
        auto bmp = gdi::BitmapFromHandle(m_dc.bitmap());
        const gdi::Surface& s = *bmp->surface;
        int n = 0;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                n += pick(gdi::PixelToColor(s, s.GetRaw(x, y))) ? 1 : 0;
        return n;
    }

private:
    MemDc m_dc;
    int m_w, m_h;
    COLORREF m_back;
    HGDIOBJ m_oldFont = nullptr;
};

inline SIZE Extent(HDC dc, const std::wstring& s)
{
    SIZE sz{};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz));
    return sz;
}

inline TEXTMETRICW Metrics(HDC dc)
{
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(dc, &tm));
    return tm;
}

inline ::testing::AssertionResult SameRect(const RECT& a, const RECT& b)
{
    if (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << "} != {" << b.left << "," << b.top << "," << b.right << "," << b.bottom
                                         << "}";
}

inline ::testing::AssertionResult Inside(const RECT& inner, const RECT& outer)
{
    if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << inner.left << "," << inner.top << "," << inner.right << ","
                                         << inner.bottom << "} not inside {" << outer.left << "," << outer.top << ","
                                         << outer.right << "," << outer.bottom << "}";
}

} // namespace zyn::test
