#pragma once
// CFile: an unbuffered binary file of the class library, over a native descriptor.
//
// m_hFile is hFileNull while no file is open and otherwise a handle value of its own
// (not a descriptor, not usable with other handle functions); it only tells whether the
// file is open. Errors throw CFileException with the cause derived from errno and
// m_lOsError holding that errno; Open reports through its CFileException argument
// instead. Share modes are honoured between the files this process opens (a second
// open that the first one's share mode excludes fails with sharingViolation); other
// processes are not held off. Write goes straight to the system, so Flush has no
// buffer to empty; FlushToDisk also waits until the data is on the disk.

#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

#include "platform/base/ctime.h"

class CFileException;

struct CFileStatus {
    CTime m_ctime;        // creation (where the file system keeps it, else modification)
    CTime m_atime;        // last access
    CTime m_mtime;        // last modification
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0; // CFile::Attribute bits
    BYTE m_padding = 0;
    WCHAR m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,   // as shareExclusive
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,      // CStdioFile only
        typeBinary = 0x08000,    // CStdioFile only
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum Attribute : BYTE {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20,
    };
    enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

    static inline const HANDLE hFileNull = INVALID_HANDLE_VALUE;

    CFile();
    // Opens the file; throws CFileException when it cannot.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause in *pError when given. A file already open is
    // closed first.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws (diskFull, accessDenied...).
    virtual void Write(const void* lpBuf, UINT nCount);
    // Moves the position; a position before the start throws badSeek. Returns the new
    // position.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    // Truncates or extends (with zeros); the position moves to the new end.
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual ULONGLONG GetPosition() const;
    virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
    virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);
    virtual void Flush();
    // Flush, then wait until the file's data is on the disk (our own addition).
    virtual void FlushToDisk();
    // Closes the file; throws when the system reports an error on closing.
    virtual void Close();
    // Closes without reporting errors (for use in error handling).
    virtual void Abort();
    // A second CFile on the same open file (same position); the caller owns it.
    virtual CFile* Duplicate() const;

    // "a.txt" of "\dir\a.txt".
    virtual CString GetFileName() const;
    // "a" of "\dir\a.txt".
    virtual CString GetFileTitle() const;
    // The full path given to Open (made absolute).
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCWSTR lpszNewName);

    // MoveFile semantics: the target must not exist. Throws CFileException.
    static void Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
    // Deletes a file (not a folder, not a read-only file). Throws CFileException.
    static void Remove(LPCWSTR lpszFileName);

    // Status of the open file (TRUE with only the name filled when none is open).
    BOOL GetStatus(CFileStatus& rStatus) const;
    // Status of a file by name; FALSE when it does not exist or the full name does not
    // fit m_szFullName.
    static BOOL GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

    // The native descriptor of the open file (-1 when closed), for derived classes.
    int Descriptor() const { return m_fd; }
    // Throws the CFileException for an errno value and this file.
    [[noreturn]] void ThrowErrno(int err) const;
    // Closes the descriptor and releases the handle; returns 0 or the errno of close.
    int CloseDescriptor();
    // Throws invalidFile unless a file is open.
    void CheckOpen() const;

private:
    int m_fd = -1;
    uint64_t m_shareId = 0; // entry in the process's table of open files, 0 when none
};
