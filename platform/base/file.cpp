// CFile over a native descriptor, the process's table of open files (share modes), and
// CFileException's mapping from errno values to causes.
#include "platform/base/file.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/base/exception.h"
#include "platform/base/fs_internal.h"
#include "platform/base/lasterror.h"
#include "platform/base/path.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

// ---- CFileException: errno values to causes ----------------------------------------------

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case 0: return none;
    case ENOENT:
    case ENXIO:
    case ENODEV: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ENOTEMPTY: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE:
    case EOVERFLOW: return badSeek;
    case EIO: return hardIO;
    case EBUSY:
    case ETXTBSY: return sharingViolation;
    case EAGAIN:
    case ENOLCK:
    case EDEADLK: return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName)
{
    if (lOsError != 0)
        throw new CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

namespace {

// ---- the process's open files, for share modes ----------------------------------------------

struct OpenEntry {
    uint64_t id;
    bool read, write;            // access of this open
    bool shareRead, shareWrite;  // what it lets other opens do
};

class OpenFiles {
public:
    static OpenFiles& Instance()
    {
        static OpenFiles files;
        return files;
    }

    // Registers an open unless it conflicts with the ones already there; 0 on conflict.
    uint64_t Register(dev_t dev, ino_t ino, bool read, bool write, bool shareRead, bool shareWrite, bool check)
    {
        std::lock_guard lock(m_mutex);
        auto& list = m_files[{dev, ino}];
        if (check) {
            for (const OpenEntry& e : list) {
                if ((read && !e.shareRead) || (write && !e.shareWrite) || (e.read && !shareRead) ||
                    (e.write && !shareWrite)) {
                    if (list.empty())
                        m_files.erase({dev, ino});
                    return 0;
                }
            }
        }
        const uint64_t id = ++m_nextId;
        list.push_back(OpenEntry{id, read, write, shareRead, shareWrite});
        m_keys[id] = {dev, ino};
        return id;
    }

    // Another registration like an existing one (a duplicated file).
    uint64_t Clone(uint64_t id)
    {
        std::lock_guard lock(m_mutex);
        const auto k = m_keys.find(id);
        if (k == m_keys.end())
            return 0;
        auto& list = m_files[k->second];
        for (const OpenEntry& e : list) {
            if (e.id == id) {
                OpenEntry copy = e;
                copy.id = ++m_nextId;
                list.push_back(copy);
                m_keys[copy.id] = k->second;
                return copy.id;
            }
        }
        return 0;
    }

    void Unregister(uint64_t id)
    {
        std::lock_guard lock(m_mutex);
        const auto k = m_keys.find(id);
        if (k == m_keys.end())
            return;
        auto it = m_files.find(k->second);
        if (it != m_files.end()) {
            std::erase_if(it->second, [id](const OpenEntry& e) { return e.id == id; });
            if (it->second.empty())
                m_files.erase(it);
        }
        m_keys.erase(k);
    }

private:
    using Key = std::pair<dev_t, ino_t>;
    std::mutex m_mutex;
    std::map<Key, std::vector<OpenEntry>> m_files;
    std::map<uint64_t, Key> m_keys;
    uint64_t m_nextId = 0;
};

// The errno equivalent of a Win32 error from the file-system functions.
int ErrnoFromWin32(DWORD err)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return EEXIST;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_DISK_FULL: return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_SHARING_VIOLATION: return EBUSY;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return ENOENT;
    case ERROR_NOT_ENOUGH_MEMORY: return ENOMEM;
    default: return EIO;
    }
}

[[noreturn]] void ThrowWin32(DWORD err, LPCWSTR fileName)
{
    const int e = ErrnoFromWin32(err);
    int cause = CFileException::OsErrorToException(e);
    if (err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME || err == ERROR_BAD_PATHNAME)
        cause = CFileException::badPath;
    throw new CFileException(cause, e, fileName);
}

// The cause for a failed open of a path: a missing folder is badPath, a missing file
// fileNotFound.
int CauseForPath(int err, const std::string& native)
{
    if (err == ENOENT && zyn::base::fs::PathError(err, native) == ERROR_PATH_NOT_FOUND)
        return CFileException::badPath;
    return CFileException::OsErrorToException(err);
}

CString LastComponent(const CString& path)
{
    const std::wstring& s = path.Str();
    const size_t sep = s.find_last_of(L"\\/:");
    return CString(sep == std::wstring::npos ? s : s.substr(sep + 1));
}

} // namespace

// ---- CFile -----------------------------------------------------------------------------

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    // A destructor cannot report a failed close; Close() before destruction does.
    if (m_fd >= 0 && m_bCloseOnDelete)
        CloseDescriptor();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_fd >= 0)
        Abort();
    auto fail = [&](int cause, int err) {
        SetLastError(cause == CFileException::badPath && err == ENOENT ? ERROR_PATH_NOT_FOUND
                     : cause == CFileException::sharingViolation     ? ERROR_SHARING_VIOLATION
                                                                     : zyn::base::Win32ErrorFromErrno(err));
        if (pError) {
            pError->m_cause = cause;
            pError->m_lOsError = err;
            pError->m_strFileName = lpszFileName ? lpszFileName : L"";
        }
        m_strFileName.Empty();
        return FALSE;
    };
    if (!lpszFileName || !*lpszFileName)
        return fail(CFileException::badPath, ENOENT);

    int oflags = O_CLOEXEC;
    bool read = false, write = false;
    switch (nOpenFlags & 3) {
    case modeRead: oflags |= O_RDONLY; read = true; break;
    case modeWrite: oflags |= O_WRONLY; write = true; break;
    case modeReadWrite: oflags |= O_RDWR; read = write = true; break;
    default: return fail(CFileException::genericException, EINVAL);
    }
    bool shareRead = false, shareWrite = false;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: break;
    case shareDenyWrite: shareRead = true; break;
    case shareDenyRead: shareWrite = true; break;
    case shareDenyNone: shareRead = shareWrite = true; break;
    default: return fail(CFileException::genericException, EINVAL);
    }
    if (nOpenFlags & modeCreate)
        oflags |= O_CREAT;
    if (nOpenFlags & osWriteThrough)
        oflags |= O_DSYNC;
    const bool truncate = (nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate);

    m_strFileName = CString(zyn::base::FullPath(lpszFileName));
    const std::string native = zyn::base::FullNativePath(lpszFileName);
    if (native.empty())
        return fail(CFileException::badPath, ENOENT);

    // Opened without truncation first, so that a share-mode conflict destroys nothing.
    const int fd = ::open(native.c_str(), oflags, 0666);
    if (fd < 0) {
        const int err = errno;
        return fail(CauseForPath(err, native), err);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(CFileException::OsErrorToException(err), err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }
    const uint64_t shareId = OpenFiles::Instance().Register(st.st_dev, st.st_ino, read, write, shareRead, shareWrite, true);
    if (!shareId) {
        ::close(fd);
        return fail(CFileException::sharingViolation, EBUSY);
    }
    if (truncate && ::ftruncate(fd, 0) != 0) {
        const bool readOnlyFd = errno == EINVAL || errno == EBADF;
        if (!readOnlyFd || ::truncate(native.c_str(), 0) != 0) {
            const int err = errno;
            OpenFiles::Instance().Unregister(shareId);
            ::close(fd);
            return fail(CFileException::OsErrorToException(err), err);
        }
    }
    HANDLE token = zyn::base::fs::NewFileToken();
    if (!token) {
        OpenFiles::Instance().Unregister(shareId);
        ::close(fd);
        return fail(CFileException::tooManyOpenFiles, EMFILE);
    }
    m_fd = fd;
    m_shareId = shareId;
    m_hFile = token;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::ThrowErrno(int err) const
{
    throw new CFileException(CFileException::OsErrorToException(err), err, m_strFileName);
}

void CFile::CheckOpen() const
{
    if (m_fd < 0)
        ThrowErrno(EBADF);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return 0;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    auto* p = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t r = ::read(m_fd, p + done, nCount - done);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        if (r == 0)
            break;
        done += static_cast<UINT>(r);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return;
    if (!lpBuf)
        AfxThrowInvalidArgException();
    const auto* p = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        const ssize_t w = ::write(m_fd, p + done, nCount - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        if (w == 0)
            ThrowErrno(ENOSPC);
        done += static_cast<UINT>(w);
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    CheckOpen();
    int whence;
    switch (nFrom) {
    case begin: whence = SEEK_SET; break;
    case current: whence = SEEK_CUR; break;
    case end: whence = SEEK_END; break;
    default: throw new CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    const off_t pos = ::lseek(m_fd, static_cast<off_t>(lOff), whence);
    if (pos < 0) {
        const int err = errno;
        if (err == EINVAL)
            throw new CFileException(CFileException::badSeek, err, m_strFileName);
        ThrowErrno(err);
    }
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    CheckOpen();
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    CheckOpen();
    if (dwNewLen > static_cast<ULONGLONG>(INT64_MAX))
        throw new CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (::ftruncate(m_fd, static_cast<off_t>(dwNewLen)) != 0)
        ThrowErrno(errno == EINVAL ? EBADF : errno);
}

ULONGLONG CFile::GetPosition() const
{
    CheckOpen();
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(pos);
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    CheckOpen();
    struct flock fl {};
    const int acc = ::fcntl(m_fd, F_GETFL) & O_ACCMODE;
    fl.l_type = acc == O_RDONLY ? F_RDLCK : F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(dwPos);
    fl.l_len = static_cast<off_t>(dwCount);
    if (dwCount == 0 || ::fcntl(m_fd, F_OFD_SETLK, &fl) != 0) {
        const int err = dwCount == 0 ? EINVAL : errno;
        throw new CFileException(err == EAGAIN || err == EACCES ? CFileException::lockViolation
                                                                : CFileException::OsErrorToException(err),
            err, m_strFileName);
    }
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    CheckOpen();
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(dwPos);
    fl.l_len = static_cast<off_t>(dwCount);
    if (dwCount == 0 || ::fcntl(m_fd, F_OFD_SETLK, &fl) != 0)
        throw new CFileException(CFileException::lockViolation, dwCount == 0 ? EINVAL : errno, m_strFileName);
}

void CFile::Flush()
{
    // Nothing is buffered here; writes are already with the system.
}

void CFile::FlushToDisk()
{
    CheckOpen();
    Flush();
    if (::fsync(m_fd) != 0)
        ThrowErrno(errno);
}

int CFile::CloseDescriptor()
{
    int err = 0;
    if (m_fd >= 0) {
        if (::close(m_fd) != 0 && errno != EINTR)
            err = errno;
        m_fd = -1;
    }
    if (m_shareId) {
        OpenFiles::Instance().Unregister(m_shareId);
        m_shareId = 0;
    }
    if (m_hFile != hFileNull) {
        zyn::base::fs::ReleaseFileToken(m_hFile);
        m_hFile = hFileNull;
    }
    m_bCloseOnDelete = FALSE;
    return err;
}

void CFile::Close()
{
    const int err = CloseDescriptor();
    const CString name = m_strFileName;
    m_strFileName.Empty();
    if (err)
        throw new CFileException(CFileException::OsErrorToException(err), err, name);
}

void CFile::Abort()
{
    CloseDescriptor();
    m_strFileName.Empty();
}

CFile* CFile::Duplicate() const
{
    CheckOpen();
    const int fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        ThrowErrno(errno);
    HANDLE token = zyn::base::fs::NewFileToken();
    if (!token) {
        ::close(fd);
        ThrowErrno(EMFILE);
    }
    auto* copy = new CFile;
    copy->m_fd = fd;
    copy->m_hFile = token;
    copy->m_shareId = OpenFiles::Instance().Clone(m_shareId);
    copy->m_bCloseOnDelete = TRUE;
    copy->m_strFileName = m_strFileName;
    return copy;
}

CString CFile::GetFileName() const { return LastComponent(m_strFileName); }

CString CFile::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }

void CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName)
{
    if (!MoveFileW(lpszOldName, lpszNewName))
        ThrowWin32(GetLastError(), lpszOldName);
}

void CFile::Remove(LPCWSTR lpszFileName)
{
    if (!DeleteFileW(lpszFileName))
        ThrowWin32(GetLastError(), lpszFileName);
}

namespace {

bool CopyName(const CString& name, CFileStatus& rStatus)
{
    if (name.GetLength() >= MAX_PATH)
        return false;
    std::wstring_view(name.GetString(), name.GetLength()).copy(rStatus.m_szFullName, MAX_PATH - 1);
    rStatus.m_szFullName[name.GetLength()] = L'\0';
    return true;
}

void FillStatus(const zyn::base::fs::FileInfo& info, CFileStatus& rStatus)
{
    rStatus.m_ctime = CTime(static_cast<time_t>(info.createdUnix));
    rStatus.m_atime = CTime(static_cast<time_t>(info.accessedUnix));
    rStatus.m_mtime = CTime(static_cast<time_t>(info.modifiedUnix));
    rStatus.m_size = info.size;
    rStatus.m_attribute = static_cast<BYTE>(info.attributes & ~FILE_ATTRIBUTE_NORMAL & 0xFF);
}

} // namespace

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus{};
    if (!CopyName(m_strFileName, rStatus)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    if (m_fd < 0)
        return TRUE;
    zyn::base::fs::FileInfo info;
    if (!zyn::base::fs::QueryFileInfo(m_fd, zyn::base::ToNativePath(m_strFileName.GetString()), info)) {
        SetLastError(zyn::base::Win32ErrorFromErrno(errno));
        return FALSE;
    }
    FillStatus(info, rStatus);
    return TRUE;
}

BOOL CFile::GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus{};
    if (!lpszFileName || !*lpszFileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::string native = zyn::base::FullNativePath(lpszFileName);
    zyn::base::fs::FileInfo info;
    if (native.empty() || !zyn::base::fs::QueryFileInfo(native, info)) {
        SetLastError(zyn::base::fs::PathError(errno, native));
        return FALSE;
    }
    if (!CopyName(CString(zyn::base::FromNativePath(native)), rStatus)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    FillStatus(info, rStatus);
    return TRUE;
}
