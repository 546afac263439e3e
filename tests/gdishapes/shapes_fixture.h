#pragma once
// A drawing surface for the shape tests, and a fixture that checks every case leaves no
// GDI object or DC behind and restores the system colours.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::test {

using Pixel = std::pair<int, int>; // (x, y)
using PixelSet = std::set<Pixel>;

// A memory DC with its own bitmap (32-bit colour or 1-bit), cleared to `background`.
class Canvas {
public:
    Canvas(int w, int h, COLORREF background = 0xFFFFFF, bool mono = false) : m_w(w), m_h(h)
    {
        m_dc = CreateCompatibleDC(nullptr);
        m_bm = CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr);
        m_old = SelectObject(m_dc, m_bm);
        Clear(background);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bm);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bm; }
    int width() const { return m_w; }
    int height() const { return m_h; }

    void Clear(COLORREF c)
    {
        auto bm = zyn::gdi::BitmapFromHandle(m_bm);
        bm->surface->Clear(zyn::gdi::ColorToPixel(*bm->surface, c));
    }
    // The bitmap's own pixel, whatever the DC's clip and origins.
    COLORREF At(int x, int y) const
    {
        auto bm = zyn::gdi::BitmapFromHandle(m_bm);
        bm->SyncIn();
        const zyn::gdi::Surface& s = *bm->surface;
        if (!s.Contains(x, y))
            return CLR_INVALID;
        return zyn::gdi::PixelToColor(s, s.GetRaw(x, y));
    }
    // The pixels (device = logical here) whose colour is `c` / is not `c`.
    PixelSet Where(COLORREF c) const
    {
        PixelSet s;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) == c)
                    s.insert({x, y});
        return s;
    }
    PixelSet Not(COLORREF c) const
    {
        PixelSet s;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) != c)
                    s.insert({x, y});
        return s;
    }
    // A picture of a rectangle: one character per pixel, from `legend` (colour -> char),
    // '?' for any other colour; rows separated by '\n'.
    std::string Picture(const RECT& r, const std::vector<std::pair<COLORREF, char>>& legend) const
    {
        std::string s;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                char ch = '?';
                for (const auto& [c, l] : legend)
                    if (At(x, y) == c) {
                        ch = l;
                        break;
                    }
                s += ch;
            }
            s += '\n';
        }
        return s;
    }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bm;
    HGDIOBJ m_old;
};

// Selects an object for a scope and deletes it afterwards (stock objects are not deleted).
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj, bool owned = true) : m_dc(dc), m_obj(obj), m_owned(owned)
    {
        m_old = SelectObject(dc, obj);
    }
    ~Selected()
    {
        SelectObject(m_dc, m_old);
        if (m_owned)
            DeleteObject(m_obj);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_obj;
    HGDIOBJ m_old;
    bool m_owned;
};

// All pixels of a half-open rectangle.
inline PixelSet RectPixels(int l, int t, int r, int b)
{
    PixelSet s;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            s.insert({x, y});
    return s;
}

inline PixelSet Minus(PixelSet a, const PixelSet& b)
{
    for (const Pixel& p : b)
        a.erase(p);
    return a;
}

class ShapesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_objects = zyn::gdi::LiveObjectCount();
        m_dcs = zyn::gdi::LiveDcCount();
    }
    void TearDown() override
    {
        zyn::gdi::ResetSystemColors();
        zyn::gdi::ResetSystemMetrics();
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    }

    // Distinct values for the 3-D colours, so each one is recognisable in a picture.
    static void DistinctColors()
    {
        const INT idx[] = {COLOR_3DFACE, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
            COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_BTNTEXT, COLOR_WINDOWTEXT, COLOR_GRAYTEXT, COLOR_MENU,
            COLOR_MENUTEXT};
        const COLORREF val[] = {kFace, kShadow, kHilite, kDkShadow, kLight, kWindow, kFrame, kBtnText, kWinText,
            kGrayText, kMenu, kMenuText};
        SetSysColors(12, idx, val);
    }
    static constexpr COLORREF kFace = 0x101010, kShadow = 0x202020, kHilite = 0x303030, kDkShadow = 0x404040,
                              kLight = 0x505050, kWindow = 0x606060, kFrame = 0x707070, kBtnText = 0x808080,
                              kWinText = 0x909090, kGrayText = 0xA0A0A0, kMenu = 0xB0B0B0, kMenuText = 0xC0C0C0;
    static constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kBlue = 0xFF0000,
                              kGreen = 0x00FF00;

private:
    size_t m_objects = 0, m_dcs = 0;
};

} // namespace zyn::test
