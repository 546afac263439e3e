// Task memory: CoTaskMemAlloc and the IMalloc that hands it out. Live blocks are kept in a
// table with their sizes, so GetSize and DidAlloc answer without touching memory that may
// not be ours, and freeing a pointer that is not a live block is ignored instead of
// corrupting the heap.
#include <cstdlib>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/com/objbase.h"

namespace zyn::com {
namespace {

struct Blocks {
    std::mutex m;
    std::unordered_map<void*, SIZE_T> sizes;
};
Blocks& TheBlocks()
{
    static Blocks* b = new Blocks; // never destroyed: blocks may be freed during exit
    return *b;
}

constexpr SIZE_T kMaxBlock = std::numeric_limits<SIZE_T>::max() / 2;

void* Allocate(SIZE_T cb)
{
    if (cb > kMaxBlock)
        return nullptr;
    void* p = std::malloc(cb ? cb : 1);
    if (!p)
        return nullptr;
    Blocks& b = TheBlocks();
    std::lock_guard lock(b.m);
    b.sizes[p] = cb;
    return p;
}

void Free(void* pv)
{
    if (!pv)
        return;
    Blocks& b = TheBlocks();
    {
        std::lock_guard lock(b.m);
        if (b.sizes.erase(pv) == 0)
            return; // not a block of ours (or freed already)
    }
    std::free(pv);
}

void* Reallocate(void* pv, SIZE_T cb)
{
    if (!pv)
        return Allocate(cb);
    if (cb == 0) {
        Free(pv);
        return nullptr;
    }
    if (cb > kMaxBlock)
        return nullptr;
    Blocks& b = TheBlocks();
    std::lock_guard lock(b.m);
    auto it = b.sizes.find(pv);
    if (it == b.sizes.end())
        return nullptr;
    void* p = std::realloc(pv, cb);
    if (!p)
        return nullptr; // the old block stays valid, as realloc leaves it
    b.sizes.erase(it);
    b.sizes[p] = cb;
    return p;
}

// The one task allocator: static, so its reference count does not matter.
class TaskMalloc final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMalloc)) {
            *ppv = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(SIZE_T cb) override { return Allocate(cb); }
    void* Realloc(void* pv, SIZE_T cb) override { return Reallocate(pv, cb); }
    void Free(void* pv) override { zyn::com::Free(pv); }
    SIZE_T GetSize(void* pv) override
    {
        Blocks& b = TheBlocks();
        std::lock_guard lock(b.m);
        auto it = pv ? b.sizes.find(pv) : b.sizes.end();
        return it == b.sizes.end() ? static_cast<SIZE_T>(-1) : it->second;
    }
    int DidAlloc(void* pv) override
    {
        if (!pv)
            return -1;
        Blocks& b = TheBlocks();
        std::lock_guard lock(b.m);
        return b.sizes.count(pv) ? 1 : 0;
    }
    void HeapMinimize() override {}
};

TaskMalloc g_malloc;

} // namespace
} // namespace zyn::com

size_t zyn::com::TaskMemBlockCount()
{
    Blocks& b = TheBlocks();
    std::lock_guard lock(b.m);
    return b.sizes.size();
}

LPVOID CoTaskMemAlloc(SIZE_T cb) { return zyn::com::Allocate(cb); }
LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) { return zyn::com::Reallocate(pv, cb); }
void CoTaskMemFree(LPVOID pv) { zyn::com::Free(pv); }

HRESULT CoGetMalloc(DWORD dwMemContext, LPMALLOC* ppMalloc)
{
    if (!ppMalloc)
        return E_INVALIDARG;
    *ppMalloc = nullptr;
    if (dwMemContext != 1)
        return E_INVALIDARG;
    *ppMalloc = &zyn::com::g_malloc;
    return S_OK;
}
