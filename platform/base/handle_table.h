#pragma once
// Process-wide handle tables. A handle value is
//   bit 31      always 0 (so a value survives a round trip through a signed 32-bit LONG)
//   bits 27-30  the table's kind (1..15), so a handle of one kind never resolves in another
//   bits 16-26  the slot's generation (1..2047), bumped each time the slot is freed
//   bits 0-15   the slot index
// The kind is never 0, so every value is at least 0x08000000, far above the 0x10000
// range that belongs to MAKEINTRESOURCE, (HBRUSH)(COLOR_WINDOW+1) and HWND_TOPMOST.
// Freed slots are reused oldest first, so a stale handle keeps failing for as long as
// possible before its slot and generation could come round again.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace zyn::base {

enum class HandleKind : uint32_t {
    Window = 1,
    Menu = 2,
    Gdi = 3,        // pens, brushes, fonts, bitmaps, regions, palettes
    Dc = 4,
    Kernel = 5,     // threads, events, mutexes, semaphores, files, processes
    Hook = 6,
    Icon = 7,       // icons and cursors
    Module = 8,     // HINSTANCE / HMODULE
    Key = 9,        // open registry keys
    Accel = 10,
    Global = 11,    // HGLOBAL memory blocks
    Resource = 12,  // HRSRC
    ImageList = 13,
    DeferPos = 14,  // HDWP
    Misc = 15,      // theme handles and other small kinds
};

namespace handle_bits {
inline constexpr uint32_t kIndexBits = 16;
inline constexpr uint32_t kGenBits = 11;
inline constexpr uint32_t kGenShift = kIndexBits;
inline constexpr uint32_t kKindShift = kIndexBits + kGenBits;
inline constexpr uint32_t kMaxSlots = 1u << kIndexBits;
inline constexpr uint32_t kMaxGen = (1u << kGenBits) - 1;
} // namespace handle_bits

// The low 32 bits of a handle, accepting a value that went through sign extension.
inline uint32_t HandleValue(const void* h)
{
    const auto v = reinterpret_cast<uintptr_t>(h);
    const auto hi = static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32);
    if (hi != 0 && hi != 0xFFFFFFFFu)
        return 0;
    return static_cast<uint32_t>(v);
}

inline HandleKind KindOfHandle(const void* h)
{
    return static_cast<HandleKind>((HandleValue(h) >> handle_bits::kKindShift) & 0xF);
}

template <class H>
inline H MakeHandle(uint32_t value)
{
    return reinterpret_cast<H>(static_cast<uintptr_t>(value));
}

// The table's lock. Every hold is a few loads and stores (a lookup, an insert, a copy of
// the entries), and lookups come by the thousand per repaint: taking it is one atomic
// exchange inline, where a library mutex costs two calls. A waiter spins briefly and then
// yields the processor, so a holder that was descheduled still gets to finish.
class TableLock {
public:
    void lock() noexcept
    {
        if (!m_held.exchange(true, std::memory_order_acquire))
            return;
        LockSlow();
    }
    void unlock() noexcept { m_held.store(false, std::memory_order_release); }

private:
    void LockSlow() noexcept
    {
        for (int spins = 0;; ++spins) {
            if (!m_held.load(std::memory_order_relaxed) && !m_held.exchange(true, std::memory_order_acquire))
                return;
            if (spins >= 64)
                std::this_thread::yield();
        }
    }
    std::atomic<bool> m_held{false};
};

// A locked table of shared objects addressed by handle values.
template <class T>
class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : m_kind(static_cast<uint32_t>(kind)) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Adds an object; returns its handle value, or 0 when the table is full.
    uint32_t Add(std::shared_ptr<T> obj)
    {
        std::lock_guard lock(m_mutex);
        uint32_t index;
        if (!m_free.empty()) {
            index = m_free.front();
            m_free.pop_front();
        } else {
            if (m_slots.size() >= handle_bits::kMaxSlots)
                return 0;
            index = static_cast<uint32_t>(m_slots.size());
            m_slots.push_back(Slot{});
        }
        Slot& s = m_slots[index];
        s.obj = std::move(obj);
        ++m_count;
        return Encode(index, s.gen);
    }

    // The object of a live handle of this table, or null for 0, stale or foreign values.
    std::shared_ptr<T> Get(uint32_t value) const
    {
        std::lock_guard lock(m_mutex);
        const Slot* s = Find(value);
        return s ? s->obj : nullptr;
    }
    template <class H>
    std::shared_ptr<T> Get(H* h) const { return Get(HandleValue(h)); }

    bool Contains(uint32_t value) const { return Get(value) != nullptr; }

    // The object of a live handle read without the table's lock, and without a reference:
    // only for a caller holding a lock of its own that every Add, Remove and Clear of
    // this table is made under (the window table's changes are all made under the window
    // system's lock), which keeps the table and its objects still until it is released.
    T* PeekExcluded(uint32_t value) const
    {
        const Slot* s = Find(value);
        return s ? s->obj.get() : nullptr;
    }

    // Calls `fn` with the object of a live handle (null for 0, stale or foreign values)
    // under the table's lock and returns what it returns. The table's own reference keeps
    // the object alive for the call, so a caller that only reads a few fields takes no
    // reference of its own; `fn` must not call back into the table.
    template <class F>
    auto Visit(uint32_t value, F&& fn) const
    {
        std::lock_guard lock(m_mutex);
        const Slot* s = Find(value);
        return fn(s ? s->obj.get() : static_cast<T*>(nullptr));
    }

    // Frees the handle and returns its object (null when the value is not live).
    std::shared_ptr<T> Remove(uint32_t value)
    {
        std::lock_guard lock(m_mutex);
        Slot* s = const_cast<Slot*>(Find(value));
        if (!s)
            return nullptr;
        std::shared_ptr<T> obj = std::move(s->obj);
        s->obj.reset();
        s->gen = s->gen >= handle_bits::kMaxGen ? 1 : s->gen + 1;
        m_free.push_back(value & (handle_bits::kMaxSlots - 1));
        --m_count;
        return obj;
    }
    template <class H>
    std::shared_ptr<T> Remove(H* h) { return Remove(HandleValue(h)); }

    size_t Count() const
    {
        std::lock_guard lock(m_mutex);
        return m_count;
    }

    // A copy of every live entry, taken under the lock, for callers that iterate.
    std::vector<std::pair<uint32_t, std::shared_ptr<T>>> Snapshot() const
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::pair<uint32_t, std::shared_ptr<T>>> out;
        out.reserve(m_count);
        for (uint32_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].obj)
                out.emplace_back(Encode(i, m_slots[i].gen), m_slots[i].obj);
        return out;
    }

    // Removes every entry (used when tests reset process state).
    void Clear()
    {
        std::vector<std::shared_ptr<T>> doomed; // destroyed outside the lock
        {
            std::lock_guard lock(m_mutex);
            for (uint32_t i = 0; i < m_slots.size(); ++i) {
                if (m_slots[i].obj) {
                    doomed.push_back(std::move(m_slots[i].obj));
                    m_slots[i].obj.reset();
                    m_slots[i].gen = m_slots[i].gen >= handle_bits::kMaxGen ? 1 : m_slots[i].gen + 1;
                    m_free.push_back(i);
                }
            }
            m_count = 0;
        }
    }

private:
    struct Slot {
        std::shared_ptr<T> obj;
        uint32_t gen = 1;
    };

    uint32_t Encode(uint32_t index, uint32_t gen) const
    {
        return (m_kind << handle_bits::kKindShift) | (gen << handle_bits::kGenShift) | index;
    }

    const Slot* Find(uint32_t value) const
    {
        if (value == 0 || (value >> handle_bits::kKindShift) != m_kind)
            return nullptr;
        const uint32_t index = value & (handle_bits::kMaxSlots - 1);
        const uint32_t gen = (value >> handle_bits::kGenShift) & handle_bits::kMaxGen;
        if (index >= m_slots.size())
            return nullptr;
        const Slot& s = m_slots[index];
        if (!s.obj || s.gen != gen)
            return nullptr;
        return &s;
    }

    const uint32_t m_kind;
    mutable TableLock m_mutex;
    std::vector<Slot> m_slots;
    std::deque<uint32_t> m_free;
    size_t m_count = 0;
};

} // namespace zyn::base
