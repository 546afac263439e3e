// Global and local memory blocks over malloc, moveable blocks in the Global handle table.
#include "platform/base/globalmem.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"

namespace zyn::base {

namespace {

// Larger requests are refused outright rather than handed to the allocator.
constexpr SIZE_T kMaxBlock = SIZE_T(1) << 40;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

struct Block {
    std::unique_ptr<BYTE, FreeDeleter> data;
    SIZE_T size = 0;      // what the caller asked for
    SIZE_T capacity = 0;  // what was allocated (at least 1 byte)
    UINT flags = 0;
    UINT locks = 0;
    bool fixed = false;
};

class GlobalHeap {
public:
    static GlobalHeap& Instance()
    {
        static GlobalHeap heap;
        return heap;
    }

    HGLOBAL Alloc(UINT flags, SIZE_T bytes)
    {
        auto b = std::make_shared<Block>();
        if (!Allocate(*b, bytes, (flags & GMEM_ZEROINIT) != 0))
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        b->flags = flags;
        std::lock_guard lock(m_mutex);
        if (!(flags & GMEM_MOVEABLE)) {
            b->fixed = true;
            HGLOBAL h = b->data.get();
            m_byAddress[h] = {b, h};
            return h;
        }
        const uint32_t v = m_table.Add(b);
        if (!v)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        const HGLOBAL h = MakeHandle<HGLOBAL>(v);
        m_byAddress[b->data.get()] = {b, h};
        return h;
    }

    HGLOBAL ReAlloc(HGLOBAL h, SIZE_T bytes, UINT flags)
    {
        std::lock_guard lock(m_mutex);
        auto b = Get(h);
        if (!b)
            return nullptr;
        if (flags & GMEM_MODIFY) {
            // Only the discardable flag may change; a fixed block cannot become moveable
            // without a new handle, so the request is accepted and the kind kept.
            b->flags = (b->flags & ~GMEM_DISCARDABLE) | (flags & GMEM_DISCARDABLE);
            return h;
        }
        if (bytes > kMaxBlock)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        const bool zero = (flags & GMEM_ZEROINIT) != 0;
        if (bytes <= b->capacity) {
            if (zero && bytes > b->size)
                std::memset(b->data.get() + b->size, 0, bytes - b->size);
            b->size = bytes;
            return h;
        }
        const bool mayMove = b->fixed ? (flags & GMEM_MOVEABLE) != 0 : b->locks == 0;
        if (!mayMove)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        void* old = b->data.get();
        void* p = std::realloc(old, bytes);
        if (!p)
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        (void)b->data.release();
        b->data.reset(static_cast<BYTE*>(p));
        if (zero)
            std::memset(b->data.get() + b->size, 0, bytes - b->size);
        b->size = bytes;
        b->capacity = bytes;
        auto entry = m_byAddress[old];
        m_byAddress.erase(old);
        if (b->fixed) {
            entry.handle = p;
            h = p;
        }
        m_byAddress[p] = entry;
        return h;
    }

    HGLOBAL Free(HGLOBAL h)
    {
        std::shared_ptr<Block> doomed;
        {
            std::lock_guard lock(m_mutex);
            auto b = Get(h);
            if (!b)
                return h;
            if (!b->fixed)
                m_table.Remove(h);
            m_byAddress.erase(b->data.get());
            doomed = std::move(b);
        }
        return nullptr;
    }

    LPVOID Lock(HGLOBAL h)
    {
        return WithBlock<LPVOID>(h, nullptr, [](Block& b) {
            if (!b.fixed && b.locks < GMEM_LOCKCOUNT)
                ++b.locks;
            return b.data.get();
        });
    }

    BOOL Unlock(HGLOBAL h)
    {
        return WithBlock<BOOL>(h, FALSE, [](Block& b) {
            if (b.fixed || b.locks == 0) {
                SetLastError(ERROR_NOT_LOCKED);
                return FALSE;
            }
            if (--b.locks == 0) {
                SetLastError(NO_ERROR);
                return FALSE;
            }
            return TRUE;
        });
    }

    SIZE_T Size(HGLOBAL h)
    {
        return WithBlock<SIZE_T>(h, 0, [](Block& b) { return b.size; });
    }

    UINT Flags(HGLOBAL h)
    {
        return WithBlock<UINT>(h, GMEM_INVALID_HANDLE, [](Block& b) { return (b.flags & GMEM_DISCARDABLE) | b.locks; });
    }

    HGLOBAL Handle(LPCVOID p)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_byAddress.find(const_cast<void*>(p));
        if (it == m_byAddress.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return it->second.handle;
    }

private:
    struct Entry {
        std::shared_ptr<Block> block;
        HGLOBAL handle = nullptr;
    };

    static HGLOBAL Fail(DWORD err)
    {
        SetLastError(err);
        return nullptr;
    }

    static bool Allocate(Block& b, SIZE_T bytes, bool zero)
    {
        if (bytes > kMaxBlock)
            return false;
        const SIZE_T cap = bytes == 0 ? 1 : bytes;
        void* p = zero ? std::calloc(cap, 1) : std::malloc(cap);
        if (!p)
            return false;
        b.data.reset(static_cast<BYTE*>(p));
        b.size = bytes;
        b.capacity = cap;
        return true;
    }

    // The block of a handle (a table handle, or the address of a fixed block); null
    // for anything else. Called with the mutex held.
    std::shared_ptr<Block> Find(HGLOBAL h)
    {
        if (!h)
            return nullptr;
        if (auto b = m_table.Get(h))
            return b;
        const auto it = m_byAddress.find(h);
        if (it != m_byAddress.end() && it->second.block->fixed)
            return it->second.block;
        return nullptr;
    }

    // Find, with ERROR_INVALID_HANDLE set for anything that is not a block. Called with
    // the mutex held.
    std::shared_ptr<Block> Get(HGLOBAL h)
    {
        auto b = Find(h);
        if (!b)
            SetLastError(ERROR_INVALID_HANDLE);
        return b;
    }

    // `fn` on the block of a handle, under the mutex; `failed` for a bad handle.
    template <class T, class Fn>
    T WithBlock(HGLOBAL h, T failed, Fn&& fn)
    {
        std::lock_guard lock(m_mutex);
        const auto b = Get(h);
        return b ? fn(*b) : failed;
    }

    std::mutex m_mutex;
    HandleTable<Block> m_table{HandleKind::Global};
    std::unordered_map<void*, Entry> m_byAddress; // block address -> block and handle
};

} // namespace

} // namespace zyn::base

using zyn::base::GlobalHeap;

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) { return GlobalHeap::Instance().Alloc(uFlags, dwBytes); }
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) { return GlobalHeap::Instance().ReAlloc(hMem, dwBytes, uFlags); }
HGLOBAL GlobalFree(HGLOBAL hMem) { return GlobalHeap::Instance().Free(hMem); }
LPVOID GlobalLock(HGLOBAL hMem) { return GlobalHeap::Instance().Lock(hMem); }
BOOL GlobalUnlock(HGLOBAL hMem) { return GlobalHeap::Instance().Unlock(hMem); }
SIZE_T GlobalSize(HGLOBAL hMem) { return GlobalHeap::Instance().Size(hMem); }
UINT GlobalFlags(HGLOBAL hMem) { return GlobalHeap::Instance().Flags(hMem); }
HGLOBAL GlobalHandle(LPCVOID pMem) { return GlobalHeap::Instance().Handle(pMem); }

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) { return GlobalAlloc(uFlags, uBytes); }
HLOCAL LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags) { return GlobalReAlloc(hMem, uBytes, uFlags); }
HLOCAL LocalFree(HLOCAL hMem) { return GlobalFree(hMem); }
LPVOID LocalLock(HLOCAL hMem) { return GlobalLock(hMem); }
BOOL LocalUnlock(HLOCAL hMem) { return GlobalUnlock(hMem); }
SIZE_T LocalSize(HLOCAL hMem) { return GlobalSize(hMem); }
UINT LocalFlags(HLOCAL hMem) { return GlobalFlags(hMem); }
HLOCAL LocalHandle(LPCVOID pMem) { return GlobalHandle(pMem); }
