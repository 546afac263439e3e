// Files, paths and script text decoding.
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>

#include "platform/base/codepage.h"
#include "platform/base/utf16.h"
#include "tools/rc/rc_context.h"

namespace zyn::rc {
namespace {

namespace fs = std::filesystem;

// Data files above this size are refused rather than read whole.
constexpr uintmax_t kMaxFileSize = 256u * 1024 * 1024;

// Windows-1252 at 0x80..0x9F (the rest of the byte range is Latin-1).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D,
    0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
    0x0153, 0x009D, 0x017E, 0x0178};

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y))
            return false;
    }
    return true;
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

std::string Diagnostic::Format() const
{
    std::string out = file.empty() ? std::string("zyn-rc") : file;
    if (line > 0)
        out += "(" + std::to_string(line) + ")";
    out += kind == Kind::Error ? ": error: " : ": warning: ";
    out += message;
    return out;
}

std::optional<std::string> DiskFileSystem::Locate(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    if (IsRegularFile(path))
        return path;
    // Walk the components, matching each without regard to case when the exact name
    // is missing.
    std::string current = IsAbsolutePath(path) ? "/" : "";
    size_t pos = IsAbsolutePath(path) ? 1 : 0;
    while (pos <= path.size()) {
        const size_t slash = path.find('/', pos);
        const std::string part = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        pos = slash == std::string::npos ? path.size() + 1 : slash + 1;
        if (part.empty() || part == ".")
            continue;
        const std::string exact = current.empty() ? part : JoinPath(current, part);
        std::error_code ec;
        if (part == ".." || fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        bool found = false;
        for (fs::directory_iterator it(current.empty() ? "." : current, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (EqualNoCase(name, part)) {
                current = current.empty() ? name : JoinPath(current, name);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    if (!IsRegularFile(current))
        return std::nullopt;
    return current;
}

std::optional<std::vector<uint8_t>> DiskFileSystem::Read(const std::string& path, std::string& error)
{
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        error = ec.message();
        return std::nullopt;
    }
    if (size > kMaxFileSize) {
        error = "the file is larger than " + std::to_string(kMaxFileSize) + " bytes";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        error = "read error";
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> MemoryFileSystem::Locate(const std::string& path)
{
    if (m_files.count(path))
        return path;
    for (const auto& [name, bytes] : m_files)
        if (EqualNoCase(name, path))
            return name;
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> MemoryFileSystem::Read(const std::string& path, std::string& error)
{
    const auto it = m_files.find(path);
    if (it == m_files.end()) {
        error = "no such file";
        return std::nullopt;
    }
    return it->second;
}

std::vector<uint8_t> Context::ReadFile(const std::string& path, Location where)
{
    std::string error;
    auto bytes = m_files.Read(path, error);
    if (!bytes)
        throw CompileError(where, "cannot read '" + path + "': " + error);
    AddDependency(path);
    return std::move(*bytes);
}

ScriptText ReadScriptText(const std::vector<uint8_t>& bytes)
{
    ScriptText t;
    std::span<const uint8_t> b(bytes);
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        t.text = base::FromUtf16LE(b.subspan(2));
        t.decoded = true;
        return t;
    }
    if (b.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        std::vector<uint8_t> swapped(b.begin() + 2, b.end());
        for (size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        t.text = base::FromUtf16LE(swapped);
        t.decoded = true;
        return t;
    }
    if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        b = b.subspan(3);
        t.utf8Mark = true;
    }
    base::FromUtf8(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()), &t.validUtf8);
    t.text.reserve(b.size());
    for (const uint8_t c : b)
        t.text.push_back(static_cast<wchar_t>(c));
    return t;
}

bool IsScriptCodePage(uint32_t page) { return IsValidCodePage(page) != FALSE; }

bool DecodeBytes(std::wstring_view units, uint32_t page, std::wstring& text)
{
    std::string bytes;
    bytes.reserve(units.size());
    bool ascii = true;
    for (const wchar_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        ascii = ascii && u < 0x80;
    }
    if (ascii) {
        text.assign(units);
        return true;
    }
    bool ok = true;
    text = base::AnsiToWide(bytes, page, &ok);
    return ok;
}

bool EncodeWindows1252(std::wstring_view text, std::vector<uint8_t>& out)
{
    for (const wchar_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<uint8_t>(c));
            continue;
        }
        bool found = false;
        for (size_t i = 0; i < kCp1252High.size(); ++i) {
            if (static_cast<wchar_t>(kCp1252High[i]) == c) {
                out.push_back(static_cast<uint8_t>(0x80 + i));
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

std::string NormalizePath(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty() || IsAbsolutePath(name))
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

} // namespace zyn::rc
