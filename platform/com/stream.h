#pragma once
// Streams: ISequentialStream and IStream, and the stream over global memory.
//
// CreateStreamOnHGlobal wraps an HGLOBAL (or a new empty one) in a stream whose size is
// the block's size and whose seek pointer starts at 0. Writing past the end grows the
// block; seeking past the end is allowed and a later write fills the gap with zeros;
// reading at or past the end reads nothing. Clones share the block and its size but keep
// their own seek pointer. With fDeleteOnRelease the block is freed when the last stream
// on it is released; otherwise it stays the caller's (GetHGlobalFromStream finds it).
// The block must not be locked by the caller while the stream grows it.
#include "platform/base/systime.h"
#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"


inline constexpr DWORD STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2;
inline constexpr DWORD STATFLAG_DEFAULT = 0, STATFLAG_NONAME = 1, STATFLAG_NOOPEN = 2;
inline constexpr DWORD STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4;
inline constexpr DWORD STGC_DEFAULT = 0;
inline constexpr DWORD STGM_READ = 0x0, STGM_WRITE = 0x1, STGM_READWRITE = 0x2;
inline constexpr DWORD LOCK_WRITE = 1, LOCK_EXCLUSIVE = 2, LOCK_ONLYONCE = 4;

struct STATSTG {
    LPOLESTR pwcsName;      // CoTaskMem memory when asked for and the stream has a name
    DWORD type;             // STGTY_STREAM
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};

struct ISequentialStream : public IUnknown {
    // S_OK when cb bytes were read, S_FALSE when fewer (the end came first).
    virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
    virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

struct IStream : public ISequentialStream {
    // STG_E_INVALIDFUNCTION for an unknown origin or a position before the start.
    virtual HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER libNewSize) = 0;
    virtual HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) = 0;
    virtual HRESULT Commit(DWORD grfCommitFlags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
    virtual HRESULT UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
    virtual HRESULT Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
    virtual HRESULT Clone(IStream** ppstm) = 0;
};
using LPSTREAM = IStream*;

namespace zyn::com {
template <>
struct InterfaceId<ISequentialStream> {
    static constexpr const IID& value = IID_ISequentialStream;
};
template <>
struct InterfaceId<IStream> {
    static constexpr const IID& value = IID_IStream;
};
} // namespace zyn::com

// E_INVALIDARG for a null out pointer or an invalid block; E_OUTOFMEMORY when a new block
// cannot be had. *ppstm is null on failure.
HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);
// The block under a stream from CreateStreamOnHGlobal; E_INVALIDARG (and null) for any
// other stream.
HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal);
