#include "platform/base/regfile.h"

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/base/builtin_commands.h"
#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
#include "platform/base/registry.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace {

constexpr LONG kOk = static_cast<LONG>(ERROR_SUCCESS);
constexpr std::wstring_view kHeader4 = L"REGEDIT4";
constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view TrimLeft(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::wstring_view TrimRight(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// True when what is left of a line is nothing, or a comment.
bool OnlyCommentLeft(std::wstring_view rest)
{
    rest = TrimLeft(rest);
    return rest.empty() || rest.front() == L';';
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Parses 1 to `maxDigits` hex digits making up all of `text`.
std::optional<uint32_t> ParseHex(std::wstring_view text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    uint32_t v = 0;
    for (const wchar_t c : text) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | static_cast<uint32_t>(d);
    }
    return v;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix)
{
    return s.size() >= prefix.size() && NamesEqual(s.substr(0, prefix.size()), prefix);
}

struct Fail {
    int line;
    std::wstring message;
};

// Decodes the file's bytes; false (with a message) when the encoding is broken.
bool DecodeText(std::span<const uint8_t> bytes, std::wstring& text, Fail& fail)
{
    auto firstBad = [&](const std::wstring& t) {
        int line = 1;
        for (const wchar_t c : t) {
            if (c == 0xFFFD)
                return line;
            if (c == L'\n')
                ++line;
        }
        return line;
    };
    bool ok = true;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        text = FromUtf16LE(bytes.subspan(2), &ok);
        if (!ok) {
            fail = {firstBad(text), L"the text is not valid UTF-16LE"};
            return false;
        }
        return true;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        fail = {1, L"big-endian UTF-16 files are not supported"};
        return false;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        const std::string_view s(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3);
        text = FromUtf8(s, &ok);
        if (!ok) {
            fail = {firstBad(text), L"the text is not valid UTF-8"};
            return false;
        }
        return true;
    }
    // UTF-16LE without a byte-order mark: the header's first letter followed by a zero.
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
        text = FromUtf16LE(bytes, &ok);
        if (!ok) {
            fail = {firstBad(text), L"the text is not valid UTF-16LE"};
            return false;
        }
        return true;
    }
    const std::string_view s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // A version 4 file is narrow text in the ANSI code page; anything else is UTF-8.
    size_t start = 0;
    while (start < s.size() && (s[start] == ' ' || s[start] == '\t' || s[start] == '\r' || s[start] == '\n'))
        ++start;
    if (s.substr(start, 8) == "REGEDIT4") {
        text = AnsiToWide(s);
        return true;
    }
    text = FromUtf8(s, &ok);
    if (!ok) {
        fail = {firstBad(text), L"the text is not valid UTF-8"};
        return false;
    }
    return true;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

struct RootName {
    std::wstring_view longName;
    std::wstring_view shortName;
    RegHive hive;
    std::vector<std::wstring> prefix;
};

const std::vector<RootName>& Roots()
{
    static const std::vector<RootName> roots = {
        {L"HKEY_LOCAL_MACHINE", L"HKLM", RegHive::LocalMachine, {}},
        {L"HKEY_CURRENT_USER", L"HKCU", RegHive::CurrentUser, {}},
        {L"HKEY_CLASSES_ROOT", L"HKCR", RegHive::LocalMachine, {L"Software", L"Classes"}},
        {L"HKEY_CURRENT_CONFIG", L"HKCC", RegHive::LocalMachine,
            {L"System", L"CurrentControlSet", L"Hardware Profiles", L"Current"}},
    };
    return roots;
}

// Maps "HKEY_xxx\a\b" to a hive and the path below its root. `below` tells how many
// names were written after the root (0 for the root itself).
bool ParseKeyPath(std::wstring_view text, RegHive& hive, std::vector<std::wstring>& path, size_t& below,
    std::wstring& problem)
{
    path.clear();
    if (!text.empty() && text.back() == L'\\')
        text.remove_suffix(1);
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(L'\\', start);
        parts.push_back(text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos)
            break;
        start = end + 1;
    }
    const std::wstring_view root = parts.front();
    size_t first = 1;
    bool found = false;
    for (const auto& r : Roots()) {
        if (NamesEqual(root, r.longName) || NamesEqual(root, r.shortName)) {
            hive = r.hive;
            path = r.prefix;
            found = true;
            break;
        }
    }
    if (!found) {
        if (NamesEqual(root, L"HKEY_USERS") || NamesEqual(root, L"HKU")) {
            if (parts.size() < 2 || !NamesEqual(parts[1], L".DEFAULT")) {
                problem = L"only HKEY_USERS\\.DEFAULT is available";
                return false;
            }
            hive = RegHive::CurrentUser;
            first = 2;
        } else {
            problem = L"unknown root key \"" + std::wstring(root) + L"\"";
            return false;
        }
    }
    below = parts.size() - first;
    for (size_t i = first; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            problem = L"empty key name in the path";
            return false;
        }
        if (parts[i].size() > kMaxKeyNameLength) {
            problem = L"a key name is longer than 255 characters";
            return false;
        }
        path.emplace_back(parts[i]);
    }
    return true;
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
bool ParseQuoted(std::wstring_view s, size_t& pos, std::wstring& out, std::wstring& problem)
{
    out.clear();
    ++pos;
    while (pos < s.size()) {
        const wchar_t c = s[pos];
        if (c == L'"') {
            ++pos;
            return true;
        }
        if (c == L'\\') {
            if (pos + 1 >= s.size()) {
                problem = L"missing closing quote";
                return false;
            }
            const wchar_t next = s[pos + 1];
            if (next != L'\\' && next != L'"') {
                problem = std::wstring(L"unknown escape \\") + next + L" (write \\\\ for a backslash)";
                return false;
            }
            out.push_back(next);
            pos += 2;
            continue;
        }
        out.push_back(c);
        ++pos;
    }
    problem = L"missing closing quote";
    return false;
}

std::vector<uint8_t> Utf16WithTerminator(std::wstring_view text)
{
    std::vector<uint8_t> out = ToUtf16LE(text);
    out.push_back(0);
    out.push_back(0);
    return out;
}

// Narrow strings of a version 4 file (hex(1), hex(2), hex(7)) to UTF-16LE, keeping
// the embedded and final zero bytes as zero characters.
std::vector<uint8_t> NarrowToStored(const std::vector<uint8_t>& bytes)
{
    std::wstring wide;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == 0) {
            wide += AnsiToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()) + start, i - start));
            if (i < bytes.size())
                wide.push_back(L'\0');
            start = i + 1;
        }
    }
    return ToUtf16LE(wide);
}

class Parser {
public:
    Parser(std::vector<std::wstring_view> lines, std::vector<RegFileOp>& ops) : m_lines(std::move(lines)), m_ops(ops) {}

    bool Run(Fail& fail)
    {
        size_t i = 0;
        // The header: the first line that is not blank.
        while (i < m_lines.size() && TrimLeft(TrimRight(m_lines[i])).empty())
            ++i;
        if (i >= m_lines.size()) {
            fail = {1, L"the file is empty"};
            return false;
        }
        const std::wstring_view header = TrimLeft(TrimRight(m_lines[i]));
        if (header == kHeader4) {
            m_version = 4;
        } else if (header == kHeader5) {
            m_version = 5;
        } else {
            fail = {static_cast<int>(i + 1), L"not a registry file: the first line must be \"" + std::wstring(kHeader5) +
                    L"\" or \"" + std::wstring(kHeader4) + L"\""};
            return false;
        }
        for (++i; i < m_lines.size(); ++i) {
            const int lineNo = static_cast<int>(i + 1);
            const std::wstring_view line = TrimLeft(m_lines[i]);
            if (line.find(L'\0') != std::wstring_view::npos) {
                fail = {lineNo, L"unexpected zero character"};
                return false;
            }
            if (line.empty() || line.front() == L';')
                continue;
            std::wstring problem;
            bool ok;
            if (line.front() == L'[')
                ok = KeyLine(line, lineNo, problem);
            else if (line.front() == L'"' || line.front() == L'@')
                ok = ValueLine(line, i, problem);
            else {
                problem = L"unrecognised line (expected [key], \"name\"=value, @=value or a ; comment)";
                ok = false;
            }
            if (!ok) {
                fail = {static_cast<int>(m_errorLine ? m_errorLine : lineNo), problem};
                return false;
            }
        }
        return true;
    }

private:
    bool KeyLine(std::wstring_view line, int lineNo, std::wstring& problem)
    {
        const size_t close = line.rfind(L']');
        if (close == std::wstring_view::npos) {
            problem = L"missing ']' at the end of the key name";
            return false;
        }
        if (!OnlyCommentLeft(line.substr(close + 1))) {
            problem = L"unexpected text after the key name";
            return false;
        }
        std::wstring_view inner = line.substr(1, close - 1);
        const bool remove = !inner.empty() && inner.front() == L'-';
        if (remove)
            inner.remove_prefix(1);
        if (inner.empty()) {
            problem = L"empty key name";
            return false;
        }
        RegFileOp op;
        size_t below = 0;
        if (!ParseKeyPath(inner, op.hive, op.path, below, problem))
            return false;
        if (remove && below == 0) {
            problem = L"a root key cannot be deleted";
            return false;
        }
        op.kind = remove ? RegFileOp::Kind::DeleteTree : RegFileOp::Kind::CreateKey;
        op.keyText = std::wstring(inner);
        op.line = lineNo;
        m_haveKey = !remove;
        m_key = op;
        m_ops.push_back(std::move(op));
        return true;
    }

    bool ValueLine(std::wstring_view line, size_t& index, std::wstring& problem)
    {
        const int lineNo = static_cast<int>(index + 1);
        if (!m_haveKey) {
            problem = m_ops.empty() ? L"a value before any [key] line" : L"a value under a deleted [-key]";
            return false;
        }
        RegFileOp op;
        op.hive = m_key.hive;
        op.path = m_key.path;
        op.keyText = m_key.keyText;
        op.line = lineNo;
        size_t pos = 0;
        if (line.front() == L'@') {
            pos = 1;
        } else if (!ParseQuoted(line, pos, op.valueName, problem)) {
            problem = L"value name: " + problem;
            return false;
        }
        if (op.valueName.size() > kMaxValueNameLength) {
            problem = L"the value name is longer than 16383 characters";
            return false;
        }
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != L'=') {
            problem = L"missing '=' after the value name";
            return false;
        }
        ++pos;
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        const std::wstring_view data = line.substr(pos);
        if (data.empty()) {
            problem = L"missing value data after '='";
            return false;
        }
        if (data.front() == L'"') {
            size_t p = 0;
            std::wstring text;
            if (!ParseQuoted(data, p, text, problem))
                return false;
            if (!OnlyCommentLeft(data.substr(p))) {
                problem = L"unexpected text after the closing quote";
                return false;
            }
            op.kind = RegFileOp::Kind::SetValue;
            op.type = REG_SZ;
            op.data = Utf16WithTerminator(text);
        } else if (data.front() == L'-') {
            if (!OnlyCommentLeft(data.substr(1))) {
                problem = L"unexpected text after '-'";
                return false;
            }
            op.kind = RegFileOp::Kind::DeleteValue;
        } else if (StartsWithNoCase(data, L"dword:")) {
            std::wstring_view digits = data.substr(6);
            const size_t comment = digits.find(L';');
            digits = TrimRight(TrimLeft(digits.substr(0, comment)));
            const auto v = ParseHex(digits, 8);
            if (!v) {
                problem = L"dword: needs 1 to 8 hexadecimal digits";
                return false;
            }
            op.kind = RegFileOp::Kind::SetValue;
            op.type = REG_DWORD;
            op.data = {static_cast<uint8_t>(*v), static_cast<uint8_t>(*v >> 8), static_cast<uint8_t>(*v >> 16),
                static_cast<uint8_t>(*v >> 24)};
        } else if (StartsWithNoCase(data, L"hex")) {
            std::wstring_view rest = data.substr(3);
            DWORD type = REG_BINARY;
            if (!rest.empty() && rest.front() == L'(') {
                const size_t close = rest.find(L')');
                const auto t = close == std::wstring_view::npos ? std::nullopt : ParseHex(rest.substr(1, close - 1), 8);
                if (!t) {
                    problem = L"hex(N): needs a hexadecimal type number in the parentheses";
                    return false;
                }
                type = *t;
                rest = rest.substr(close + 1);
            }
            if (rest.empty() || rest.front() != L':') {
                problem = L"missing ':' after hex";
                return false;
            }
            std::vector<uint8_t> bytes;
            if (!HexBytes(rest.substr(1), index, bytes, problem))
                return false;
            if (m_version == 4 && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ))
                bytes = NarrowToStored(bytes);
            op.kind = RegFileOp::Kind::SetValue;
            op.type = type;
            op.data = std::move(bytes);
        } else {
            problem = L"unrecognised value data (expected \"string\", dword:, hex:, hex(N): or -)";
            return false;
        }
        m_ops.push_back(std::move(op));
        return true;
    }

    // Comma-separated hex bytes, continued on the next line after a trailing backslash.
    // `index` moves to the last line used.
    bool HexBytes(std::wstring_view text, size_t& index, std::vector<uint8_t>& out, std::wstring& problem)
    {
        while (true) {
            const size_t comment = text.find(L';');
            text = TrimRight(text.substr(0, comment));
            bool more = false;
            if (!text.empty() && text.back() == L'\\') {
                more = true;
                text.remove_suffix(1);
            }
            size_t start = 0;
            while (start <= text.size()) {
                size_t end = text.find(L',', start);
                const bool last = end == std::wstring_view::npos;
                if (last)
                    end = text.size();
                const std::wstring_view token = TrimRight(TrimLeft(text.substr(start, end - start)));
                if (token.empty()) {
                    // Allowed only after the last comma of a line, or for empty data.
                    if (!last) {
                        m_errorLine = static_cast<int>(index + 1);
                        problem = L"empty byte between commas";
                        return false;
                    }
                } else {
                    const auto v = ParseHex(token, 2);
                    if (!v) {
                        m_errorLine = static_cast<int>(index + 1);
                        problem = L"\"" + std::wstring(token) + L"\" is not a hexadecimal byte";
                        return false;
                    }
                    out.push_back(static_cast<uint8_t>(*v));
                }
                if (last)
                    break;
                start = end + 1;
            }
            if (!more)
                return true;
            ++index;
            if (index >= m_lines.size()) {
                m_errorLine = static_cast<int>(index);
                problem = L"the file ends after a line continuation";
                return false;
            }
            text = TrimLeft(m_lines[index]);
            if (text.find(L'\0') != std::wstring_view::npos) {
                m_errorLine = static_cast<int>(index + 1);
                problem = L"unexpected zero character";
                return false;
            }
        }
    }

    std::vector<std::wstring_view> m_lines;
    std::vector<RegFileOp>& m_ops;
    int m_version = 5;
    bool m_haveKey = false;
    RegFileOp m_key;
    int m_errorLine = 0;
};

std::wstring LineText(int line)
{
    return std::to_wstring(line);
}

} // namespace

std::wstring RegFileError::Text() const
{
    if (line > 0)
        return L"line " + LineText(line) + L": " + message;
    return message;
}

bool ParseRegFile(std::span<const uint8_t> bytes, std::vector<RegFileOp>& ops, RegFileError& error)
{
    ops.clear();
    std::wstring text;
    Fail fail{0, {}};
    if (!DecodeText(bytes, text, fail)) {
        error = {fail.line, fail.message};
        return false;
    }
    Parser parser(SplitLines(text), ops);
    if (!parser.Run(fail)) {
        ops.clear();
        error = {fail.line, fail.message};
        return false;
    }
    return true;
}

LONG ApplyRegFileOps(const std::vector<RegFileOp>& ops, RegFileError& error)
{
    RegisterRegeditCommand();
    // One store per hive, transactions opened in a fixed order (machine, then user).
    std::shared_ptr<RegistryStore> stores[2];
    bool used[2] = {false, false};
    for (const auto& op : ops)
        used[op.hive == RegHive::LocalMachine ? 0 : 1] = true;
    for (int h = 0; h < 2; ++h) {
        if (!used[h])
            continue;
        LONG e = 0;
        stores[h] = GetRegistryStore(h == 0 ? RegHive::LocalMachine : RegHive::CurrentUser, e);
        if (!stores[h]) {
            error = {0, std::wstring(L"the ") + (h == 0 ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER") +
                    L" store is not available (error " + std::to_wstring(e) + L")"};
            return e;
        }
    }
    std::unique_ptr<RegistryStore::Transaction> tx[2];
    for (int h = 0; h < 2; ++h) {
        if (!stores[h])
            continue;
        tx[h] = std::make_unique<RegistryStore::Transaction>(*stores[h]);
        const LONG e = tx[h]->Begin();
        if (e != kOk) {
            error = {0, L"cannot start a registry transaction (error " + std::to_wstring(e) + L")"};
            return e;
        }
    }

    for (const auto& op : ops) {
        RegistryStore& store = *stores[op.hive == RegHive::LocalMachine ? 0 : 1];
        const RegKeyId root = store.Root();
        RegKeyId key = 0;
        LONG e = kOk;
        const wchar_t* what = L"";
        switch (op.kind) {
        case RegFileOp::Kind::CreateKey:
        case RegFileOp::Kind::SetValue: {
            bool created = false;
            what = L"cannot create the key";
            e = store.CreateKey(root, op.path, L"", key, created);
            if (e == kOk && op.kind == RegFileOp::Kind::SetValue) {
                what = L"cannot write the value";
                e = store.SetValue(key, op.valueName, op.type, op.data);
            }
            break;
        }
        case RegFileOp::Kind::DeleteTree:
            what = L"cannot delete the key";
            e = store.OpenKey(root, op.path, key);
            if (e == kOk)
                e = store.DeleteTree(key, true);
            else if (e == static_cast<LONG>(ERROR_FILE_NOT_FOUND))
                e = kOk; // deleting what is not there is no error
            break;
        case RegFileOp::Kind::DeleteValue:
            what = L"cannot delete the value";
            e = store.OpenKey(root, op.path, key);
            if (e == kOk)
                e = store.DeleteValue(key, op.valueName);
            if (e == static_cast<LONG>(ERROR_FILE_NOT_FOUND))
                e = kOk;
            break;
        }
        if (e != kOk) {
            error = {op.line, std::wstring(what) + L" " + op.keyText + L" (error " + std::to_wstring(e) + L")"};
            return e; // the transactions roll back as they go out of scope
        }
    }

    for (int h = 0; h < 2; ++h) {
        if (!tx[h])
            continue;
        const LONG e = tx[h]->Commit();
        if (e != kOk) {
            error = {0, L"cannot commit the import (error " + std::to_wstring(e) + L")"};
            if (h == 1 && tx[0])
                RegistryLog(L"import: HKEY_LOCAL_MACHINE was written but HKEY_CURRENT_USER could not be");
            return e;
        }
    }
    return kOk;
}

LONG ImportRegFile(const std::filesystem::path& file, RegFileError& error)
{
    const std::wstring name = FromUtf8(file.string());
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = {0, L"cannot read the file"};
        RegistryLog(L"import of \"" + name + L"\": " + error.Text());
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = {0, L"cannot read the file"};
        RegistryLog(L"import of \"" + name + L"\": " + error.Text());
        return static_cast<LONG>(ERROR_READ_FAULT);
    }
    std::vector<RegFileOp> ops;
    if (!ParseRegFile(bytes, ops, error)) {
        RegistryLog(L"import of \"" + name + L"\" refused, nothing was changed: " + error.Text());
        return static_cast<LONG>(ERROR_INVALID_DATA);
    }
    const LONG e = ApplyRegFileOps(ops, error);
    if (e != kOk)
        RegistryLog(L"import of \"" + name + L"\" failed, nothing was changed: " + error.Text());
    return e;
}

DWORD RunRegeditCommand(const std::vector<std::wstring>& args)
{
    std::vector<std::wstring> files;
    for (size_t i = 0; i < args.size(); ++i) {
        std::wstring a = args[i];
        if (a.size() >= 2 && a.front() == L'"' && a.back() == L'"')
            a = a.substr(1, a.size() - 2);
        if (a.empty())
            continue;
        // The program name, when the launcher passes it along.
        if (i == 0) {
            const size_t slash = a.find_last_of(L"\\/");
            const std::wstring base = a.substr(slash == std::wstring::npos ? 0 : slash + 1);
            if (NamesEqual(base, L"regedit") || NamesEqual(base, L"regedit.exe"))
                continue;
        }
        if (a.front() == L'/' && a.size() == 2) {
            if (a[1] == L's' || a[1] == L'S')
                continue;
            RegistryLog(L"regedit: unsupported option " + a);
            return 2;
        }
        if (a.front() == L'-' && a.size() == 2 && (a[1] == L's' || a[1] == L'S'))
            continue;
        files.push_back(a);
    }
    if (files.empty()) {
        RegistryLog(L"regedit: no file to import (usage: regedit /s file.reg)");
        return 2;
    }
    DWORD rc = 0;
    for (const std::wstring& f : files) {
        std::filesystem::path file(ToUtf8(f));
        std::error_code ec;
        if (!std::filesystem::exists(file, ec) && f.find(L'\\') != std::wstring::npos) {
            // A Windows-style path: backslashes separate folders.
            std::wstring slashed = f;
            for (auto& c : slashed)
                if (c == L'\\')
                    c = L'/';
            file = std::filesystem::path(ToUtf8(slashed));
        }
        RegFileError error;
        if (ImportRegFile(file, error) != kOk)
            rc = 1;
    }
    return rc;
}

void RegisterRegeditCommand()
{
    static std::once_flag once;
    std::call_once(once, [] { RegisterBuiltinCommand(L"regedit", RunRegeditCommand); });
}

} // namespace zyn::base
