// The private-profile functions: resolving INI names, reading and replacing files under
// the writers' lock, and the Windows buffer rules of the results.
#include "platform/base/inifile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/base/environment.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
#include "platform/base/path.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace stdfs = std::filesystem;

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool HasLineBreak(std::wstring_view s)
{
    return s.find_first_of(L"\r\n") != std::wstring_view::npos;
}

} // namespace

// ---- files ------------------------------------------------------------------------------------

stdfs::path ResolveIniPath(LPCWSTR fileName)
{
    std::wstring name = (fileName && *fileName) ? std::wstring(fileName) : std::wstring(L"win.ini");
    std::error_code ec;
    stdfs::path path;
    if (name.find_first_of(L"\\/") == std::wstring::npos)
        path = WindowsDirectory(ec) / ToUtf8(name); // a folder that cannot be made fails at the write
    else
        path = stdfs::path(ToNativePath(name)); // the one Windows-to-native path rule
    if (stdfs::exists(path, ec))
        return path;
    // Windows names ignore case: take a file whose name differs only in case.
    const stdfs::path dir = path.has_parent_path() ? path.parent_path() : stdfs::path(".");
    const std::wstring wanted = FromUtf8(path.filename().string());
    for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (NamesEqual(FromUtf8(it->path().filename().string()), wanted))
            return it->path();
    return path;
}

namespace {

std::mutex& FileMutex()
{
    static std::mutex m;
    return m;
}

DWORD ErrnoToError(int err)
{
    switch (err) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOSPC: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    default: return ERROR_WRITE_FAULT;
    }
}

// Reads a file; false with the error when it exists but cannot be read. `exists`
// tells whether there was a file.
bool ReadFile(const stdfs::path& path, std::vector<uint8_t>& bytes, bool& exists, DWORD& error)
{
    bytes.clear();
    exists = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return true;
        error = ErrnoToError(errno);
        return false;
    }
    exists = true;
    uint8_t buf[65536];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = ERROR_READ_FAULT;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), buf, buf + n);
    }
    ::close(fd);
    return true;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file a write replaces: the target of a symbolic link, so the link stays.
stdfs::path WriteTarget(const stdfs::path& requested)
{
    std::error_code ec;
    if (stdfs::is_symlink(requested, ec)) {
        const stdfs::path target = stdfs::read_symlink(requested, ec);
        if (!ec)
            return target.is_absolute() ? target : requested.parent_path() / target;
    }
    return requested;
}

stdfs::path FolderOf(const stdfs::path& path)
{
    return path.has_parent_path() ? path.parent_path() : stdfs::path(".");
}

// The folder a file is written in: our Windows directory is created on demand; other
// folders must exist.
bool EnsureFolder(const stdfs::path& dir, DWORD& error)
{
    std::error_code ec;
    if (stdfs::is_directory(dir, ec))
        return true;
    const stdfs::path windows = WindowsDirectory(ec); // creates it
    if (!ec && dir == windows && stdfs::is_directory(dir, ec))
        return true;
    error = ERROR_PATH_NOT_FOUND;
    return false;
}

// ".<name><suffix>": the hidden files that go with a file (built piecewise: GCC 12 sees
// a false overlap in "." + name + suffix).
std::string HiddenName(const stdfs::path& file, const char* suffix)
{
    std::string name(".");
    name += file.filename().string();
    name += suffix;
    return name;
}

// An exclusive flock on ".<name>.lock" beside an INI file, held while a writer reads,
// edits and replaces the file. The lock file itself is never removed (removing it
// would let a waiting writer lock a file that no longer has the name).
class WriterLock {
public:
    WriterLock() = default;
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    ~WriterLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }

    bool Acquire(const stdfs::path& file, DWORD& error)
    {
        const stdfs::path lockPath = FolderOf(file) / HiddenName(file, ".lock");
        m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno == EACCES)
            m_fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC); // flock needs no write access
        if (m_fd < 0) {
            error = ErrnoToError(errno);
            return false;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error = ErrnoToError(errno);
                return false;
            }
        }
        return true;
    }

private:
    int m_fd = -1;
};

// Replaces the file with `bytes` through a temporary file in the same folder, so that a
// reader sees either the old or the new file, never a half-written one.
bool ReplaceFile(const stdfs::path& path, const std::vector<uint8_t>& bytes, DWORD& error)
{
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    std::string tmpl = (FolderOf(path) / HiddenName(path, ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        error = ErrnoToError(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0)
        ok = false;
    if (!ok) {
        ::unlink(tmpl.c_str());
        error = ErrnoToError(writeErrno);
        return false;
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        error = ErrnoToError(errno);
        ::unlink(tmpl.c_str());
        return false;
    }
    // The new name itself survives a crash once the folder is on disk.
    if (const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

// Reads the document of a file (empty when there is none).
bool LoadDocument(const stdfs::path& path, IniDocument& doc, bool& exists)
{
    std::vector<uint8_t> bytes;
    DWORD error = 0;
    if (!ReadFile(path, bytes, exists, error)) {
        SetLastError(error);
        return false;
    }
    doc = IniDocument::Parse(bytes);
    return true;
}

// Loads a file, lets `edit` change its document and writes it back when it changed,
// all under the writer lock, so that a concurrent writer (another thread or process)
// edits the result of this one and not the file as it was before.
template <class F>
BOOL EditFile(LPCWSTR fileName, F&& edit)
{
    std::lock_guard lock(FileMutex());
    const stdfs::path path = WriteTarget(ResolveIniPath(fileName));
    DWORD error = 0;
    WriterLock writer;
    if (!EnsureFolder(FolderOf(path), error) || !writer.Acquire(path, error)) {
        SetLastError(error);
        return FALSE;
    }
    IniDocument doc;
    bool exists = false;
    if (!LoadDocument(path, doc, exists))
        return FALSE;
    if (!edit(doc, exists)) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    if (!ReplaceFile(path, doc.Serialize(), error)) {
        SetLastError(error);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

// Copies a string with the Windows truncation rule: at most nSize-1 characters and a
// terminator; returns the characters copied.
DWORD CopyString(std::wstring_view s, LPWSTR buf, DWORD nSize)
{
    if (!buf || nSize == 0)
        return 0;
    const size_t n = std::min<size_t>(s.size(), nSize - 1);
    std::memcpy(buf, s.data(), n * sizeof(wchar_t));
    buf[n] = L'\0';
    return static_cast<DWORD>(n);
}

// Copies strings as a list ended by an extra terminator. When it does not fit, the
// last string is cut, two terminators end the buffer and the result is nSize-2.
DWORD CopyList(const std::vector<std::wstring>& items, LPWSTR buf, DWORD nSize)
{
    if (!buf || nSize == 0)
        return 0;
    std::wstring joined;
    for (const auto& item : items) {
        joined += item;
        joined.push_back(L'\0');
    }
    if (joined.size() + 1 <= nSize) {
        std::memcpy(buf, joined.data(), joined.size() * sizeof(wchar_t));
        buf[joined.size()] = L'\0';
        if (joined.empty() && nSize >= 2)
            buf[1] = L'\0';
        return static_cast<DWORD>(joined.size());
    }
    if (nSize < 2) {
        buf[0] = L'\0';
        return 0;
    }
    std::memcpy(buf, joined.data(), (nSize - 2) * sizeof(wchar_t));
    buf[nSize - 2] = L'\0';
    buf[nSize - 1] = L'\0';
    return nSize - 2;
}

std::wstring StripQuotes(std::wstring value)
{
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool ValidSection(LPCWSTR s)
{
    const std::wstring_view v(s);
    return !HasLineBreak(v) && v.find(L']') == std::wstring_view::npos && !Trim(v).empty();
}

bool ValidKey(LPCWSTR k)
{
    const std::wstring_view v = Trim(k);
    return !v.empty() && !HasLineBreak(v) && v.find(L'=') == std::wstring_view::npos && v.front() != L'[' &&
        v.front() != L';';
}

// Parses a double-NUL list of lines.
std::vector<std::wstring> SplitList(LPCWSTR list)
{
    std::vector<std::wstring> out;
    for (const wchar_t* p = list; *p; p += std::wcslen(p) + 1)
        out.emplace_back(p);
    return out;
}

} // namespace

} // namespace zyn::base

using namespace zyn::base;

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
    DWORD nSize, LPCWSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    IniDocument doc;
    bool exists = false;
    {
        std::lock_guard lock(FileMutex());
        if (!LoadDocument(ResolveIniPath(lpFileName), doc, exists)) {
            lpReturnedString[0] = L'\0';
            return 0;
        }
    }
    if (!lpAppName) {
        SetLastError(ERROR_SUCCESS);
        return CopyList(doc.SectionNames(), lpReturnedString, nSize);
    }
    if (!lpKeyName) {
        SetLastError(ERROR_SUCCESS);
        return CopyList(doc.Keys(lpAppName), lpReturnedString, nSize);
    }
    if (const auto value = doc.Get(lpAppName, Trim(lpKeyName))) {
        SetLastError(ERROR_SUCCESS);
        return CopyString(StripQuotes(*value), lpReturnedString, nSize);
    }
    // The default, without trailing blanks.
    std::wstring_view def = lpDefault ? lpDefault : L"";
    while (!def.empty() && IsBlank(def.back()))
        def.remove_suffix(1);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return CopyString(def, lpReturnedString, nSize);
}

UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName)
{
    if (!lpAppName || !lpKeyName)
        return static_cast<UINT>(nDefault);
    wchar_t buf[64];
    const DWORD n = GetPrivateProfileStringW(lpAppName, lpKeyName, L"", buf, 64, lpFileName);
    if (n == 0)
        return static_cast<UINT>(nDefault);
    // The leading number: blanks, an optional sign, then decimal digits.
    const wchar_t* p = buf;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+') {
        negative = *p == L'-';
        ++p;
    }
    uint32_t value = 0;
    while (*p >= L'0' && *p <= L'9') {
        value = value * 10u + static_cast<uint32_t>(*p - L'0');
        ++p;
    }
    return negative ? 0u - value : value;
}

DWORD GetPrivateProfileSectionW(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName)
{
    if (!lpAppName || !lpReturnedString || nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    IniDocument doc;
    bool exists = false;
    {
        std::lock_guard lock(FileMutex());
        if (!LoadDocument(ResolveIniPath(lpFileName), doc, exists)) {
            lpReturnedString[0] = L'\0';
            return 0;
        }
    }
    SetLastError(ERROR_SUCCESS);
    return CopyList(doc.Entries(lpAppName), lpReturnedString, nSize);
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR lpszReturnBuffer, DWORD nSize, LPCWSTR lpFileName)
{
    return GetPrivateProfileStringW(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    if (!lpAppName) {
        // All null asks for the cache to be flushed; we keep none.
        if (!lpKeyName && !lpString) {
            SetLastError(ERROR_SUCCESS);
            return TRUE;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!ValidSection(lpAppName) || (lpKeyName && !ValidKey(lpKeyName)) || (lpString && HasLineBreak(lpString))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring section(Trim(lpAppName));
    return EditFile(lpFileName, [&](IniDocument& doc, bool exists) {
        if (!lpKeyName)
            return doc.DeleteSection(section);
        if (!lpString)
            return doc.DeleteKey(section, Trim(lpKeyName));
        return doc.Set(section, Trim(lpKeyName), lpString) || !exists;
    });
}

BOOL WritePrivateProfileSectionW(LPCWSTR lpAppName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    if (!lpAppName || !ValidSection(lpAppName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<std::wstring> lines;
    if (lpString) {
        lines = SplitList(lpString);
        for (const auto& l : lines) {
            const std::wstring_view t = Trim(l);
            if (HasLineBreak(l) || (!t.empty() && t.front() == L'[')) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
        }
    }
    const std::wstring section(Trim(lpAppName));
    return EditFile(lpFileName, [&](IniDocument& doc, bool) {
        if (!lpString)
            return doc.DeleteSection(section);
        return doc.ReplaceSection(section, lines);
    });
}

BOOL GetPrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPVOID lpStruct, UINT uSizeStruct, LPCWSTR szFile)
{
    if (!lpszSection || !lpszKey || (!lpStruct && uSizeStruct)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    IniDocument doc;
    bool exists = false;
    {
        std::lock_guard lock(FileMutex());
        if (!LoadDocument(ResolveIniPath(szFile), doc, exists))
            return FALSE;
    }
    const auto value = doc.Get(lpszSection, Trim(lpszKey));
    if (!value) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    // Two hex digits per byte, then the checksum byte (the sum of the bytes).
    if (value->size() != 2 * (static_cast<size_t>(uSizeStruct) + 1)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    auto digit = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        if (c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        return -1;
    };
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < value->size(); i += 2) {
        const int hi = digit((*value)[i]);
        const int lo = digit((*value)[i + 1]);
        if (hi < 0 || lo < 0) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    uint8_t sum = 0;
    for (size_t i = 0; i < uSizeStruct; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    if (sum != bytes.back()) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (uSizeStruct)
        std::memcpy(lpStruct, bytes.data(), uSizeStruct);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WritePrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPCVOID lpStruct, UINT uSizeStruct,
    LPCWSTR szFile)
{
    if (!lpszSection || !lpszKey) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!lpStruct)
        return WritePrivateProfileStringW(lpszSection, lpszKey, nullptr, szFile);
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(2 * (static_cast<size_t>(uSizeStruct) + 1));
    const auto* p = static_cast<const uint8_t*>(lpStruct);
    uint8_t sum = 0;
    for (UINT i = 0; i < uSizeStruct; ++i) {
        text.push_back(kHex[p[i] >> 4]);
        text.push_back(kHex[p[i] & 0xF]);
        sum = static_cast<uint8_t>(sum + p[i]);
    }
    text.push_back(kHex[sum >> 4]);
    text.push_back(kHex[sum & 0xF]);
    return WritePrivateProfileStringW(lpszSection, lpszKey, text.c_str(), szFile);
}

DWORD GetProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString, DWORD nSize)
{
    return GetPrivateProfileStringW(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, L"win.ini");
}

BOOL WriteProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString)
{
    return WritePrivateProfileStringW(lpAppName, lpKeyName, lpString, L"win.ini");
}

UINT GetProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault)
{
    return GetPrivateProfileIntW(lpAppName, lpKeyName, nDefault, L"win.ini");
}

DWORD GetProfileSectionW(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize)
{
    return GetPrivateProfileSectionW(lpAppName, lpReturnedString, nSize, L"win.ini");
}

BOOL WriteProfileSectionW(LPCWSTR lpAppName, LPCWSTR lpString)
{
    return WritePrivateProfileSectionW(lpAppName, lpString, L"win.ini");
}
