#include "platform/base/inifile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/base/environment.h"
#include "platform/base/path.h"
#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
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

// ---- document -------------------------------------------------------------------------------

IniDocument::Line IniDocument::Classify(std::wstring text)
{
    Line line;
    const std::wstring_view t = Trim(text);
    if (t.empty() || t.front() == L';') {
        line.kind = Kind::Other;
    } else if (t.front() == L'[') {
        const size_t close = t.find(L']');
        if (close == std::wstring_view::npos) {
            line.kind = Kind::BrokenSection;
        } else {
            line.kind = Kind::Section;
            line.name = std::wstring(Trim(t.substr(1, close - 1)));
        }
    } else {
        const size_t eq = t.find(L'=');
        const std::wstring_view key = eq == std::wstring_view::npos ? std::wstring_view() : Trim(t.substr(0, eq));
        if (key.empty()) {
            line.kind = Kind::Broken;
        } else {
            line.kind = Kind::Entry;
            line.name = std::wstring(key);
            line.value = std::wstring(Trim(t.substr(eq + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

IniDocument IniDocument::Parse(std::span<const uint8_t> bytes)
{
    IniDocument doc;
    std::wstring text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        doc.m_encoding = IniEncoding::Utf16LeBom;
        text = FromUtf16LE(bytes.subspan(2));
    } else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        doc.m_encoding = IniEncoding::Utf8Bom;
        text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3));
    } else {
        doc.m_encoding = IniEncoding::Ansi;
        text = AnsiToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    // Keep the file's own line ending for the lines we write.
    const size_t firstBreak = text.find_first_of(L"\r\n");
    if (firstBreak != std::wstring::npos)
        doc.m_newline = (text[firstBreak] == L'\r' && firstBreak + 1 < text.size() && text[firstBreak + 1] == L'\n')
            ? L"\r\n"
            : std::wstring(1, text[firstBreak]);
    doc.m_finalNewline = text.empty() || text.back() == L'\n' || text.back() == L'\r';
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            doc.m_lines.push_back(Classify(text.substr(start, i - start)));
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        doc.m_lines.push_back(Classify(text.substr(start)));
    return doc;
}

std::vector<uint8_t> IniDocument::Serialize()
{
    std::wstring text;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        text += m_lines[i].text;
        if (i + 1 < m_lines.size() || m_finalNewline)
            text += m_newline;
    }
    std::vector<uint8_t> out;
    if (m_encoding == IniEncoding::Ansi) {
        bool representable = true;
        const std::string narrow = WideToAnsi(text, CP_ACP, &representable);
        if (representable && AnsiToWide(narrow) == text)
            return std::vector<uint8_t>(narrow.begin(), narrow.end());
        // Not representable in the ANSI code page: keep every character instead.
        m_encoding = IniEncoding::Utf16LeBom;
    }
    if (m_encoding == IniEncoding::Utf8Bom) {
        const std::string utf8 = ToUtf8(text);
        out = {0xEF, 0xBB, 0xBF};
        out.insert(out.end(), utf8.begin(), utf8.end());
        return out;
    }
    out = {0xFF, 0xFE};
    AppendUtf16LE(out, text);
    return out;
}

std::optional<std::pair<size_t, size_t>> IniDocument::FindSection(std::wstring_view section, size_t from) const
{
    for (size_t i = from; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !NamesEqual(m_lines[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section && m_lines[end].kind != Kind::BrokenSection)
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::wstring> IniDocument::Get(std::wstring_view section, std::wstring_view key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Entry && NamesEqual(m_lines[i].name, key))
            return m_lines[i].value;
    return std::nullopt;
}

std::vector<std::wstring> IniDocument::SectionNames() const
{
    std::vector<std::wstring> names;
    for (const auto& line : m_lines) {
        if (line.kind != Kind::Section)
            continue;
        bool seen = false;
        for (const auto& n : names)
            seen = seen || NamesEqual(n, line.name);
        if (!seen)
            names.push_back(line.name);
    }
    return names;
}

bool IniDocument::HasSection(std::wstring_view section) const
{
    return FindSection(section).has_value();
}

std::vector<std::wstring> IniDocument::Keys(std::wstring_view section) const
{
    std::vector<std::wstring> keys;
    const auto range = FindSection(section);
    if (!range)
        return keys;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        if (m_lines[i].kind != Kind::Entry)
            continue;
        bool seen = false;
        for (const auto& k : keys)
            seen = seen || NamesEqual(k, m_lines[i].name);
        if (!seen)
            keys.push_back(m_lines[i].name);
    }
    return keys;
}

std::vector<std::wstring> IniDocument::Entries(std::wstring_view section) const
{
    std::vector<std::wstring> entries;
    const auto range = FindSection(section);
    if (!range)
        return entries;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Entry)
            entries.push_back(m_lines[i].name + L"=" + m_lines[i].value);
    return entries;
}

void IniDocument::AppendSection(std::wstring_view section, const std::vector<std::wstring>& lines)
{
    // A blank line between the previous content and the new section.
    if (!m_lines.empty() && !Trim(m_lines.back().text).empty())
        m_lines.push_back(Classify(L""));
    m_lines.push_back(Classify(L"[" + std::wstring(section) + L"]"));
    for (const auto& l : lines)
        m_lines.push_back(Classify(l));
    m_finalNewline = true;
}

bool IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value)
{
    const std::wstring entry = std::wstring(key) + L"=" + std::wstring(value);
    const auto range = FindSection(section);
    if (!range) {
        AppendSection(section, {entry});
        return true;
    }
    size_t insertAt = range->first + 1;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::Entry && NamesEqual(line.name, key)) {
            // Keep the key as the file spells it.
            Line updated = Classify(line.name + L"=" + std::wstring(value));
            if (updated.text == line.text)
                return false;
            line = std::move(updated);
            return true;
        }
        if (line.kind == Kind::Entry || line.kind == Kind::Broken)
            insertAt = i + 1;
    }
    m_lines.insert(m_lines.begin() + static_cast<ptrdiff_t>(insertAt), Classify(entry));
    if (insertAt == m_lines.size() - 1)
        m_finalNewline = true;
    return true;
}

bool IniDocument::DeleteKey(std::wstring_view section, std::wstring_view key)
{
    const auto range = FindSection(section);
    if (!range)
        return false;
    bool changed = false;
    size_t end = range->second;
    for (size_t i = range->first + 1; i < end;) {
        if (m_lines[i].kind == Kind::Entry && NamesEqual(m_lines[i].name, key)) {
            m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(i));
            --end;
            changed = true;
        } else {
            ++i;
        }
    }
    return changed;
}

bool IniDocument::DeleteSection(std::wstring_view section)
{
    bool changed = false;
    while (const auto range = FindSection(section)) {
        m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(range->first),
            m_lines.begin() + static_cast<ptrdiff_t>(range->second));
        changed = true;
    }
    return changed;
}

bool IniDocument::ReplaceSection(std::wstring_view section, const std::vector<std::wstring>& lines)
{
    const auto range = FindSection(section);
    if (!range) {
        AppendSection(section, lines);
        return true;
    }
    // Keep the blank lines that separate this section from the next one.
    size_t contentEnd = range->second;
    while (contentEnd > range->first + 1 && Trim(m_lines[contentEnd - 1].text).empty())
        --contentEnd;
    std::vector<Line> replacement;
    for (const auto& l : lines)
        replacement.push_back(Classify(l));
    m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(range->first + 1),
        m_lines.begin() + static_cast<ptrdiff_t>(contentEnd));
    m_lines.insert(m_lines.begin() + static_cast<ptrdiff_t>(range->first + 1), replacement.begin(), replacement.end());
    if (range->first + 1 + replacement.size() == m_lines.size())
        m_finalNewline = true;
    return true;
}

// ---- files ------------------------------------------------------------------------------------

stdfs::path IniWindowsDirectory()
{
    std::error_code ec;
    stdfs::path dir = WindowsDirectory(ec);
    return dir.empty() ? stdfs::path("/tmp") : dir;
}

stdfs::path ResolveIniPath(LPCWSTR fileName)
{
    std::wstring name = (fileName && *fileName) ? std::wstring(fileName) : std::wstring(L"win.ini");
    stdfs::path path;
    if (name.find_first_of(L"\\/") == std::wstring::npos)
        path = IniWindowsDirectory() / ToUtf8(name);
    else
        path = stdfs::path(ToNativePath(name)); // the one Windows-to-native path rule
    std::error_code ec;
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

// Replaces the file with `bytes` through a temporary file in the same folder, so that a
// reader sees either the old or the new file, never a half-written one.
bool ReplaceFile(const stdfs::path& requested, const std::vector<uint8_t>& bytes, DWORD& error)
{
    std::error_code ec;
    stdfs::path path = requested;
    // Write through a symbolic link to the file it names.
    if (stdfs::is_symlink(path, ec)) {
        const stdfs::path target = stdfs::read_symlink(path, ec);
        if (!ec)
            path = target.is_absolute() ? target : path.parent_path() / target;
    }
    stdfs::path dir = path.has_parent_path() ? path.parent_path() : stdfs::path(".");
    if (!stdfs::exists(dir, ec)) {
        // Our Windows directory is created on demand; other folders must exist.
        if (dir == IniWindowsDirectory()) {
            stdfs::create_directories(dir, ec);
        }
        if (!stdfs::exists(dir, ec)) {
            error = ERROR_PATH_NOT_FOUND;
            return false;
        }
    }
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    std::string tmpl = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
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

// Loads a file, lets `edit` change its document and writes it back when it changed.
template <class F>
BOOL EditFile(LPCWSTR fileName, F&& edit)
{
    std::lock_guard lock(FileMutex());
    const stdfs::path path = ResolveIniPath(fileName);
    IniDocument doc;
    bool exists = false;
    if (!LoadDocument(path, doc, exists))
        return FALSE;
    if (!edit(doc, exists)) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    DWORD error = 0;
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
