// The stream over global memory (CreateStreamOnHGlobal).
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/globalmem.h"
#include "platform/com/objbase.h"
#include "platform/com/stream.h"

namespace zyn::com {
namespace {

// Larger streams are refused (STG_E_MEDIUMFULL) rather than asked of the allocator.
constexpr ULONGLONG kMaxStreamSize = 0x7FFFFFFFull;

// The block and its owner flag, shared by a stream and its clones.
struct SharedBlock {
    std::mutex m;
    HGLOBAL h = nullptr;
    bool deleteOnRelease = false;
    ~SharedBlock()
    {
        if (deleteOnRelease && h)
            GlobalFree(h);
    }
    ULONGLONG Size() const { return GlobalSize(h); }
    // Resizes the block, zero-filling growth; false when it cannot.
    bool Resize(ULONGLONG n)
    {
        if (n > kMaxStreamSize)
            return false;
        if (n == Size())
            return true;
        // A moveable block may move; a fixed one can only change within its room.
        HGLOBAL r = GlobalReAlloc(h, static_cast<SIZE_T>(n), GMEM_ZEROINIT | GMEM_MOVEABLE);
        if (!r)
            return false;
        h = r;
        return true;
    }
};

class HGlobalStream final : public Object<IStream> {
public:
    HGlobalStream(std::shared_ptr<SharedBlock> block, ULONGLONG pos) : m_block(std::move(block)), m_pos(pos) {}

    HGLOBAL Block() const { return m_block->h; }

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        if (pcbRead)
            *pcbRead = 0;
        if (!pv && cb)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(m_block->m);
        const ULONGLONG size = m_block->Size();
        const ULONG n = m_pos >= size ? 0 : static_cast<ULONG>(std::min<ULONGLONG>(cb, size - m_pos));
        if (n) {
            const auto* src = static_cast<const BYTE*>(GlobalLock(m_block->h));
            if (!src)
                return E_HANDLE;
            std::memcpy(pv, src + m_pos, n);
            GlobalUnlock(m_block->h);
            m_pos += n;
        }
        if (pcbRead)
            *pcbRead = n;
        return n == cb ? S_OK : S_FALSE;
    }

    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        if (pcbWritten)
            *pcbWritten = 0;
        if (!cb)
            return S_OK;
        if (!pv)
            return STG_E_INVALIDPOINTER;
        std::lock_guard lock(m_block->m);
        const ULONGLONG end = m_pos + cb;
        if (end > m_block->Size() && !m_block->Resize(end))
            return STG_E_MEDIUMFULL;
        auto* dst = static_cast<BYTE*>(GlobalLock(m_block->h));
        if (!dst)
            return E_HANDLE;
        std::memcpy(dst + m_pos, pv, cb);
        GlobalUnlock(m_block->h);
        m_pos = end;
        if (pcbWritten)
            *pcbWritten = cb;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override
    {
        std::lock_guard lock(m_block->m);
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(m_pos); break;
        case STREAM_SEEK_END: base = static_cast<LONGLONG>(m_block->Size()); break;
        default: return STG_E_INVALIDFUNCTION;
        }
        LONGLONG target = 0;
        if (__builtin_add_overflow(base, move.QuadPart, &target) || target < 0)
            return STG_E_INVALIDFUNCTION;
        m_pos = static_cast<ULONGLONG>(target);
        if (newPos)
            newPos->QuadPart = m_pos;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER size) override
    {
        std::lock_guard lock(m_block->m);
        return m_block->Resize(size.QuadPart) ? S_OK : STG_E_MEDIUMFULL;
    }

    HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override
    {
        if (pcbRead)
            pcbRead->QuadPart = 0;
        if (pcbWritten)
            pcbWritten->QuadPart = 0;
        if (!pstm)
            return STG_E_INVALIDPOINTER;
        // Through a buffer: the destination may share this block (a clone).
        std::vector<BYTE> data;
        {
            std::lock_guard lock(m_block->m);
            const ULONGLONG size = m_block->Size();
            const ULONGLONG n = m_pos >= size ? 0 : std::min<ULONGLONG>(cb.QuadPart, size - m_pos);
            data.resize(static_cast<size_t>(n));
            if (n) {
                const auto* src = static_cast<const BYTE*>(GlobalLock(m_block->h));
                if (!src)
                    return E_HANDLE;
                std::memcpy(data.data(), src + m_pos, static_cast<size_t>(n));
                GlobalUnlock(m_block->h);
            }
            m_pos += n;
        }
        if (pcbRead)
            pcbRead->QuadPart = data.size();
        ULONG written = 0;
        const HRESULT hr = data.empty() ? S_OK : pstm->Write(data.data(), static_cast<ULONG>(data.size()), &written);
        if (pcbWritten)
            pcbWritten->QuadPart = written;
        return FAILED(hr) ? hr : S_OK;
    }

    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    // Global memory has no byte-range locks.
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

    HRESULT Stat(STATSTG* st, DWORD flags) override
    {
        if (!st)
            return STG_E_INVALIDPOINTER;
        if (flags > (STATFLAG_NONAME | STATFLAG_NOOPEN))
            return STG_E_INVALIDFLAG;
        std::memset(st, 0, sizeof *st);
        st->type = STGTY_STREAM;
        std::lock_guard lock(m_block->m);
        st->cbSize.QuadPart = m_block->Size();
        st->grfMode = STGM_READWRITE;
        return S_OK;
    }

    HRESULT Clone(IStream** out) override
    {
        if (!out)
            return STG_E_INVALIDPOINTER;
        *out = nullptr;
        ULONGLONG pos;
        {
            std::lock_guard lock(m_block->m);
            pos = m_pos;
        }
        *out = new HGlobalStream(m_block, pos);
        return S_OK;
    }

private:
    std::shared_ptr<SharedBlock> m_block;
    ULONGLONG m_pos = 0;
};

} // namespace
} // namespace zyn::com

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm)
{
    if (!ppstm)
        return E_INVALIDARG;
    *ppstm = nullptr;
    auto block = std::make_shared<zyn::com::SharedBlock>();
    if (hGlobal) {
        if (GlobalFlags(hGlobal) & GMEM_INVALID_HANDLE)
            return E_INVALIDARG;
        block->h = hGlobal;
    } else {
        block->h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
        if (!block->h)
            return E_OUTOFMEMORY;
    }
    block->deleteOnRelease = fDeleteOnRelease != FALSE;
    *ppstm = new zyn::com::HGlobalStream(std::move(block), 0);
    return S_OK;
}

HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal)
{
    if (!phglobal)
        return E_INVALIDARG;
    *phglobal = nullptr;
    auto* s = dynamic_cast<zyn::com::HGlobalStream*>(pstm);
    if (!s)
        return E_INVALIDARG;
    *phglobal = s->Block();
    return S_OK;
}
