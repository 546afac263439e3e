#pragma once
// CMemFile: a file in memory that grows in steps of nGrowBytes; CSharedFile: the same
// over a global memory block (HGLOBAL), for the clipboard and data transfer.
//
// Memory that CMemFile allocates comes from malloc; after Detach the caller owns the
// bytes and frees them with free(). A buffer given to Attach with nGrowBytes 0 is used
// as it is (its whole size readable, never grown); with nGrowBytes above 0 its content
// is ignored and it may be grown with realloc, so it must come from malloc. Writing or
// extending past the end fills any gap with zeros. Reads past the end return short
// counts. Growth beyond what a non-growable file can hold throws CMemoryException.

#include "platform/base/file.h"
#include "platform/base/globalmem.h"
#include "platform/base/wintypes.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer to the caller (read GetLength() first) and empties the file.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override;
    void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;   // not supported
    void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override; // not supported
    void Flush() override;
    void FlushToDisk() override;
    void Close() override;
    void Abort() override;
    CFile* Duplicate() const override;                            // not supported

    // Size and attributes of the memory file (no times, no name).
    BOOL GetStatus(CFileStatus& rStatus) const;

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes room for at least dwNewLen bytes (rounded up to the growth step).
    virtual void GrowFile(SIZE_T dwNewLen);
    // Frees the buffer (when owned) and resets the file; used by Close and destructors.
    void ReleaseBuffer();

    SIZE_T m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};

class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // Hands the global block to the caller, unlocked and sized to the file's length
    // (null when nothing was ever written). The file is empty afterwards.
    HGLOBAL Detach();
    // Takes a global block (and its ownership): its whole size is the file's content.
    // bAllowGrow FALSE keeps the file from growing beyond the block.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;
};
