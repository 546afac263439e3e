#pragma once
// A resource module in the resource chain for the length of a test, and packed 24-bit
// DIBs to put in it.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/gdi/gdi_types.h"

namespace zyn::test {

class ChainedResourceModule {
public:
    explicit ChainedResourceModule(const wchar_t* name) : m_h(zyn::base::RegisterResourceModule(name))
    {
        if (m_h)
            zyn::base::ResourceChain::AddToChain(m_h);
    }
    ~ChainedResourceModule()
    {
        if (m_h) {
            zyn::base::ResourceChain::RemoveFromChain(m_h);
            zyn::base::UnregisterBuiltinModule(m_h);
        }
    }
    ChainedResourceModule(const ChainedResourceModule&) = delete;
    ChainedResourceModule& operator=(const ChainedResourceModule&) = delete;
    HMODULE get() const { return m_h; }

private:
    HMODULE m_h;
};

// A packed DIB (header and bottom-up rows) of w x h pixels, 24 bits each.
template <class F>
std::vector<uint8_t> PackedDib24(int w, int h, F colorAt)
{
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> out(sizeof bih + stride * static_cast<size_t>(h), 0);
    std::memcpy(out.data(), &bih, sizeof bih);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = out.data() + sizeof bih + stride * static_cast<size_t>(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const COLORREF c = colorAt(x, y);
            row[x * 3 + 0] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    return out;
}

} // namespace zyn::test
