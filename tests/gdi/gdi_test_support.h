#pragma once
// Shared fixture for drawing tests: a fresh desktop and system colours per case, and a
// check that every GDI object and DC a case made was freed.
#include <gtest/gtest.h>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::test {

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gdi::ResetDesktop(1280, 1024);
        gdi::ResetSystemColors();
        gdi::ResetSystemMetrics();
        gdi::ResetSystemParameters();
        m_objects = gdi::LiveObjectCount();
        m_dcs = gdi::LiveDcCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    }

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
};

// A memory DC with a selected bitmap, freed at scope end.
class MemDc {
public:
    MemDc(int w, int h, bool mono = false)
    {
        m_dc = CreateCompatibleDC(nullptr);
        m_bm = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateBitmap(w, h, 1, 32, nullptr);
        m_old = SelectObject(m_dc, m_bm);
    }
    ~MemDc()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bm);
        DeleteDC(m_dc);
    }
    MemDc(const MemDc&) = delete;
    MemDc& operator=(const MemDc&) = delete;
    operator HDC() const { return m_dc; }
    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bm; }
    void Fill(COLORREF c)
    {
        HBRUSH b = CreateSolidBrush(c);
        BITMAP bm{};
        GetObject(m_bm, sizeof bm, &bm);
        RECT r{0, 0, bm.bmWidth, bm.bmHeight};
        FillRect(m_dc, &r, b);
        DeleteObject(b);
    }

private:
    HDC m_dc;
    HBITMAP m_bm;
    HGDIOBJ m_old;
};

// Owns any GDI object.
template <class H>
class Obj {
public:
    explicit Obj(H h) : m_h(h) {}
    ~Obj()
    {
        if (m_h)
            DeleteObject(m_h);
    }
    Obj(const Obj&) = delete;
    Obj& operator=(const Obj&) = delete;
    operator H() const { return m_h; }
    H get() const { return m_h; }

private:
    H m_h;
};

} // namespace zyn::test
