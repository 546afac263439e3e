// CMemFile and CSharedFile.
#include "platform/base/memfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/base/exception.h"
#include "platform/base/globalmem.h"

IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

// ---- CMemFile ------------------------------------------------------------------------

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    // Derived classes with their own Free release their buffer in their destructor.
    ReleaseBuffer();
}

void CMemFile::ReleaseBuffer()
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    if (!lpBuffer && nBufferSize != 0)
        AfxThrowInvalidArgException();
    ReleaseBuffer();
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return p;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    if (nBytes == 0) {
        Free(lpMem);
        return nullptr;
    }
    return static_cast<BYTE*>(std::realloc(lpMem, nBytes));
}

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes)
{
    if (nBytes)
        std::memcpy(lpMemTarget, lpMemSource, nBytes);
    return lpMemTarget;
}

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    // Round up to the growth step, refusing sizes that would overflow.
    const SIZE_T steps = dwNewLen / m_nGrowBytes + (dwNewLen % m_nGrowBytes ? 1 : 0);
    if (steps > std::numeric_limits<SIZE_T>::max() / m_nGrowBytes)
        AfxThrowMemoryException();
    const SIZE_T newSize = steps * m_nGrowBytes;
    BYTE* p = m_lpBuffer ? Realloc(m_lpBuffer, newSize) : Alloc(newSize);
    if (!p)
        AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = newSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    const SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
    Memcpy(static_cast<BYTE*>(lpBuf), m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    if (m_nPosition > std::numeric_limits<SIZE_T>::max() - nCount)
        throw new CFileException(CFileException::diskFull, EFBIG);
    const SIZE_T endPos = m_nPosition + nCount;
    if (endPos > m_nBufferSize)
        GrowFile(endPos);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    Memcpy(m_lpBuffer + m_nPosition, static_cast<const BYTE*>(lpBuf), nCount);
    m_nPosition = endPos;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base;
    switch (nFrom) {
    case begin: base = 0; break;
    case current: base = static_cast<LONGLONG>(m_nPosition); break;
    case end: base = static_cast<LONGLONG>(m_nFileSize); break;
    default: throw new CFileException(CFileException::badSeek, EINVAL);
    }
    LONGLONG pos;
    if (__builtin_add_overflow(base, lOff, &pos) || pos < 0)
        throw new CFileException(CFileException::badSeek, EINVAL);
    m_nPosition = static_cast<SIZE_T>(pos);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CMemFile::GetLength() const { return m_nFileSize; }

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > std::numeric_limits<SIZE_T>::max())
        AfxThrowMemoryException();
    const auto n = static_cast<SIZE_T>(dwNewLen);
    if (n > m_nBufferSize)
        GrowFile(n);
    if (n > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, n - m_nFileSize);
    if (n < m_nPosition)
        m_nPosition = n;
    m_nFileSize = n;
}

ULONGLONG CMemFile::GetPosition() const { return m_nPosition; }

void CMemFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CMemFile::Flush() {}
void CMemFile::FlushToDisk() {}

void CMemFile::Close()
{
    ReleaseBuffer();
    m_nGrowBytes = 0;
}

void CMemFile::Abort() { Close(); }

CFile* CMemFile::Duplicate() const { AfxThrowNotSupportedException(); }

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus{};
    rStatus.m_size = m_nFileSize;
    return TRUE;
}

// ---- CSharedFile -----------------------------------------------------------------------

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(nullptr), m_bAllowGrow(TRUE)
{
}

CSharedFile::~CSharedFile()
{
    // Here, not in ~CMemFile, so that our Free releases the global block.
    ReleaseBuffer();
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    HGLOBAL h = GlobalAlloc(m_nAllocFlags, nBytes);
    if (!h)
        return nullptr;
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    if (!p) {
        GlobalFree(h);
        return nullptr;
    }
    m_hGlobalMemory = h;
    return p;
}

BYTE* CSharedFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    if (!m_bAllowGrow || !m_hGlobalMemory)
        return nullptr;
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hNew = GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags | GMEM_MOVEABLE);
    if (!hNew) {
        // The old block stays the file's buffer: lock it again.
        GlobalLock(m_hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hNew;
    return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

void CSharedFile::Free(BYTE*)
{
    if (m_hGlobalMemory) {
        GlobalUnlock(m_hGlobalMemory);
        GlobalFree(m_hGlobalMemory);
        m_hGlobalMemory = nullptr;
    }
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL h = m_hGlobalMemory;
    const SIZE_T size = m_nFileSize;
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    if (h) {
        GlobalUnlock(h);
        // Readers size the data with GlobalSize: leave no stale bytes past the end.
        if (size < GlobalSize(h)) {
            if (HGLOBAL shrunk = GlobalReAlloc(h, size, GMEM_MOVEABLE))
                h = shrunk;
        }
    }
    return h;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    auto* p = static_cast<BYTE*>(GlobalLock(hGlobalMemory));
    if (!p)
        AfxThrowInvalidArgException();
    ReleaseBuffer();
    m_bAutoDelete = TRUE;
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = p;
    m_nBufferSize = m_nFileSize = GlobalSize(hGlobalMemory);
    m_nPosition = 0;
    m_bAllowGrow = bAllowGrow;
}
