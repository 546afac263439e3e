#pragma once
// A memory DC with a colour bitmap selected, for drawing tests.
#include <gtest/gtest.h>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/gdi_object.h"

namespace skintest {

class Canvas {
public:
    Canvas(int cx, int cy, COLORREF fill = RGB(1, 2, 3))
        : m_cx(cx)
        , m_cy(cy)
    {
        EXPECT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(m_bitmap.CreateCompatibleBitmap(nullptr, cx, cy));
        m_pOld = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, fill);
    }
    ~Canvas()
    {
        if (m_pOld)
            m_dc.SelectObject(m_pOld);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CDC* dc() { return &m_dc; }
    COLORREF at(int x, int y) const { return m_dc.GetPixel(x, y); }
    int width() const { return m_cx; }
    int height() const { return m_cy; }

    // The first pixel where the two canvases differ, as text; empty when they agree.
    std::string Diff(const Canvas& other) const
    {
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (at(x, y) != other.at(x, y)) {
                    char buf[96];
                    std::snprintf(buf, sizeof buf, "(%d, %d): 0x%06X vs 0x%06X", x, y, at(x, y), other.at(x, y));
                    return buf;
                }
        return {};
    }

private:
    int m_cx;
    int m_cy;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOld = nullptr;
};

// Fails a test that leaves GDI objects or DCs behind.
class GdiLeakCheck : public testing::Test {
protected:
    void SetUp() override
    {
        m_objects = zyn::gdi::LiveObjectCount();
        m_dcs = zyn::gdi::LiveDcCount();
    }
    void TearDown() override
    {
        CDC::DeleteTempMap();
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects left behind";
        EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs left behind";
    }

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
};

} // namespace skintest
