#include "platform/gdi/surface.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace zyn::gdi {

namespace {

// Pixel memory of large surfaces, kept for the next surface of the same size: painting
// code makes an off-screen bitmap of one size on every paint, and memory handed back to
// the system and taken again costs a page fault per page, far more than clearing warm
// memory. A few blocks are kept at most; the rest go back at once.
class PixelPool {
public:
    static constexpr size_t kMinBytes = size_t(64) << 10;
    static constexpr size_t kMaxHeld = size_t(16) << 20;
    static constexpr size_t kMaxBlocks = 4;

    // A zeroed block of `bytes`: a kept one when one of that size is free.
    std::unique_ptr<uint8_t[]> Take(size_t bytes)
    {
        {
            std::lock_guard lock(m_mutex);
            for (auto it = m_free.begin(); it != m_free.end(); ++it) {
                if (it->bytes != bytes)
                    continue;
                std::unique_ptr<uint8_t[]> mem = std::move(it->mem);
                m_held -= bytes;
                m_free.erase(it);
                std::memset(mem.get(), 0, bytes);
                return mem;
            }
        }
        return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]());
    }

    void Give(std::unique_ptr<uint8_t[]> mem, size_t bytes)
    {
        std::lock_guard lock(m_mutex);
        if (m_free.size() == kMaxBlocks || m_held + bytes > kMaxHeld)
            return; // freed here
        m_held += bytes;
        m_free.push_back(Block{bytes, std::move(mem)});
    }

private:
    struct Block {
        size_t bytes;
        std::unique_ptr<uint8_t[]> mem;
    };
    std::mutex m_mutex;
    std::vector<Block> m_free;
    size_t m_held = 0;
};

// The pool lives as long as any surface that may hand memory back to it (surfaces held
// by other statics die after it; those free their memory themselves).
std::weak_ptr<PixelPool> ThePool()
{
    static const std::shared_ptr<PixelPool> pool = std::make_shared<PixelPool>();
    return pool;
}

// Zeroed pixel memory of `bytes`, small blocks from the heap, large ones through the pool.
std::shared_ptr<uint8_t[]> NewPixels(size_t bytes)
{
    std::weak_ptr<PixelPool> weak;
    const std::shared_ptr<PixelPool> pool = bytes >= PixelPool::kMinBytes ? (weak = ThePool()).lock() : nullptr;
    if (!pool)
        return std::shared_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]());
    std::unique_ptr<uint8_t[]> mem = pool->Take(bytes);
    if (!mem)
        return nullptr;
    auto giveBack = [weak = std::move(weak), bytes](uint8_t* p) {
        std::unique_ptr<uint8_t[]> owned(p);
        if (const std::shared_ptr<PixelPool> alive = weak.lock())
            alive->Give(std::move(owned), bytes);
    };
    // The deleter owns the block from here, even when making the shared pointer fails.
    return std::shared_ptr<uint8_t[]>(mem.release(), std::move(giveBack));
}

} // namespace

size_t Surface::RowBytesFor(int width, PixelFormat format)
{
    if (width <= 0)
        return 0;
    if (format == PixelFormat::Mono1)
        return ((static_cast<size_t>(width) + 31) / 32) * 4;
    return static_cast<size_t>(width) * 4;
}

Surface::Surface(int w, int h, PixelFormat f, uint8_t* first, ptrdiff_t stride, std::shared_ptr<void> keep)
    : m_width(w), m_height(h), m_format(f), m_first(first), m_stride(stride), m_keep(std::move(keep))
{
}

std::shared_ptr<Surface> Surface::Create(int width, int height, PixelFormat format)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const size_t row = RowBytesFor(width, format);
    if (row > kMaxBytes / static_cast<size_t>(height))
        return nullptr;
    const size_t bytes = row * static_cast<size_t>(height);
    std::shared_ptr<uint8_t[]> mem = NewPixels(bytes);
    if (!mem)
        return nullptr;
    uint8_t* first = mem.get();
    return std::shared_ptr<Surface>(
        new Surface(width, height, format, first, static_cast<ptrdiff_t>(row), std::shared_ptr<void>(mem, first)));
}

std::shared_ptr<Surface> Surface::Wrap(int width, int height, PixelFormat format, uint8_t* firstRow, ptrdiff_t stride,
    std::shared_ptr<void> keepAlive)
{
    if (width <= 0 || height <= 0 || !firstRow)
        return nullptr;
    const size_t need = RowBytesFor(width, format);
    const size_t have = static_cast<size_t>(stride < 0 ? -stride : stride);
    if (have < need)
        return nullptr;
    return std::shared_ptr<Surface>(new Surface(width, height, format, firstRow, stride, std::move(keepAlive)));
}

void Surface::Clear(uint32_t raw)
{
    for (int y = 0; y < m_height; ++y) {
        if (IsMono()) {
            std::memset(Row(y), (raw & 1u) ? 0xFF : 0x00, RowBytesFor(m_width, m_format));
        } else {
            uint32_t* row = Row32(y);
            std::fill(row, row + m_width, raw);
        }
    }
}

uint32_t NearestMonoIndex(COLORREF c, COLORREF c0, COLORREF c1)
{
    auto dist = [](COLORREF a, COLORREF b) {
        const int dr = int(GetRValue(a)) - int(GetRValue(b));
        const int dg = int(GetGValue(a)) - int(GetGValue(b));
        const int db = int(GetBValue(a)) - int(GetBValue(b));
        return dr * dr + dg * dg + db * db;
    };
    const COLORREF p = PlainColor(c);
    return dist(p, c1) <= dist(p, c0) ? 1u : 0u;
}

uint32_t ColorToPixel(const Surface& s, COLORREF c)
{
    if (s.IsMono())
        return NearestMonoIndex(c, s.PaletteColor(0), s.PaletteColor(1));
    return ColorToBgrx(PlainColor(c));
}

COLORREF PixelToColor(const Surface& s, uint32_t raw)
{
    if (s.IsMono())
        return s.PaletteColor(static_cast<int>(raw & 1u));
    return BgrxToColor(raw & 0xFFFFFFu);
}

} // namespace zyn::gdi
