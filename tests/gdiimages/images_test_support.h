#pragma once
// Fixture for the image tests: a fresh desktop, colours and metrics per case, and a check
// that every GDI object, DC, icon and image list a case made was freed.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::test {

class ImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gdi::ResetDesktop(1280, 1024);
        gdi::ResetSystemColors();
        gdi::ResetSystemMetrics();
        gdi::ResetSystemParameters();
        m_objects = gdi::LiveObjectCount();
        m_dcs = gdi::LiveDcCount();
        m_icons = gdi::LiveIconCount();
        m_lists = gdi::LiveImageListCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        EXPECT_EQ(gdi::LiveIconCount(), m_icons) << "icons leaked";
        EXPECT_EQ(gdi::LiveImageListCount(), m_lists) << "image lists leaked";
    }

private:
    size_t m_objects = 0, m_dcs = 0, m_icons = 0, m_lists = 0;
};

// A memory DC on a 32-bit (or 1-bit) bitmap, freed at scope end.
class MemDc {
public:
    MemDc(int w, int h, bool mono = false) : m_w(w), m_h(h)
    {
        m_dc = CreateCompatibleDC(nullptr);
        m_bm = CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr);
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
    void Fill(COLORREF c)
    {
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                SetPixelV(m_dc, x, y, c);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bm;
    HGDIOBJ m_old;
};

// Owners.
template <class H, BOOL (*Free)(H)>
class Owned {
public:
    explicit Owned(H h = nullptr) : m_h(h) {}
    ~Owned()
    {
        if (m_h)
            Free(m_h);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator H() const { return m_h; }
    H get() const { return m_h; }
    H release()
    {
        H h = m_h;
        m_h = nullptr;
        return h;
    }

private:
    H m_h;
};
inline BOOL FreeObject(HGDIOBJ h) { return DeleteObject(h); }
using OwnedBitmap = Owned<HGDIOBJ, FreeObject>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedList = Owned<HIMAGELIST, ImageList_Destroy>;

// A 32-bit device bitmap from COLORREFs, row by row.
inline HBITMAP ColorBitmap(int w, int h, const std::vector<COLORREF>& px)
{
    std::vector<uint32_t> bits(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = ((px[i] & 0xFF) << 16) | (px[i] & 0xFF00) | ((px[i] >> 16) & 0xFF);
    return CreateBitmap(w, h, 1, 32, bits.data());
}

// A 1-bit bitmap from 0/1 values (1 = white), rows padded to 16 bits.
inline HBITMAP MonoBitmap(int w, int h, const std::vector<int>& bitsIn)
{
    const int stride = ((w + 15) / 16) * 2;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (bitsIn[static_cast<size_t>(y) * w + x])
                bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return CreateBitmap(w, h, 1, 1, bits.data());
}

inline COLORREF Xor(COLORREF a, COLORREF b) { return (a ^ b) & 0xFFFFFF; }

} // namespace zyn::test
