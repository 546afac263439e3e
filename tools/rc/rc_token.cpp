#include "tools/rc/rc_token.h"

#include <algorithm>
#include <array>

#include "platform/base/codepage.h"
#include "platform/base/utf16.h"

namespace zyn::rc {

bool Token::IsKeyword(std::wstring_view kw) const
{
    if (kind != TokKind::Ident || text.size() != kw.size())
        return false;
    for (size_t i = 0; i < kw.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != kw[i])
            return false;
    }
    return true;
}

bool Token::Hidden(const std::wstring& macro) const
{
    return hide && std::find(hide->begin(), hide->end(), macro) != hide->end();
}

std::string Narrow(std::wstring_view s) { return zyn::base::ToUtf8(s); }

std::wstring UpperAscii(std::wstring_view s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

namespace {

bool IsIdentStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; }
bool IsIdentChar(wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\f' || c == L'\v' || c == L'\r' || c == L'\n'; }

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The decoded text of a string constant, and for a narrow one its bytes in the code page.
// Characters written as they are keep their value; the escapes \x.. and \ooo of a narrow
// string are bytes, read in the code page like the rest of the script (so "\251" is the
// copyright sign in Windows-1252, and "\xC3\xA9" an e-acute in UTF-8).
class StringBuilder {
public:
    StringBuilder(bool wide, uint32_t codePage) : m_wide(wide), m_page(codePage) {}
    void Char(wchar_t c)
    {
        FlushBytes();
        m_text.push_back(c);
        if (!m_wide)
            m_run.push_back(c);
    }
    void Byte(uint32_t v)
    {
        if (m_wide) {
            m_text.push_back(static_cast<wchar_t>(v));
            return;
        }
        FlushRun();
        m_bytes.push_back(static_cast<char>(v & 0xFF));
    }
    void Finish(Token& t)
    {
        FlushBytes();
        FlushRun();
        t.str = std::move(m_text);
        if (!m_wide)
            t.narrow = std::move(m_narrow);
        t.narrowOk = m_ok;
    }

private:
    // Written characters, in the page's bytes.
    void FlushRun()
    {
        if (m_run.empty() || m_wide) {
            m_run.clear();
            return;
        }
        bool ok = true;
        m_narrow += base::WideToAnsi(m_run, m_page, &ok);
        m_ok = m_ok && ok;
        m_run.clear();
    }
    // Escaped bytes, as text.
    void FlushBytes()
    {
        if (m_bytes.empty())
            return;
        FlushRun();
        m_text += base::AnsiToWide(m_bytes, m_page);
        m_narrow += m_bytes;
        m_bytes.clear();
    }

    bool m_wide;
    uint32_t m_page;
    std::wstring m_text;
    std::wstring m_run;
    std::string m_bytes;
    std::string m_narrow;
    bool m_ok = true;
};

// Decodes the body of a string constant (between the quotes): "" is a quote, and the C
// escapes apply, with \a giving 0x08 (the right-alignment mark of menu texts).
void DecodeString(std::wstring_view body, bool wide, uint32_t codePage, Token& t)
{
    StringBuilder out(wide, codePage);
    for (size_t i = 0; i < body.size(); ++i) {
        const wchar_t c = body[i];
        if (c == L'"') { // the lexer only lets "" through
            out.Char(L'"');
            ++i;
            continue;
        }
        if (c != L'\\' || i + 1 >= body.size()) {
            out.Char(c);
            continue;
        }
        const wchar_t e = body[++i];
        switch (e) {
        case L'n': out.Char(L'\n'); break;
        case L't': out.Char(L'\t'); break;
        case L'r': out.Char(L'\r'); break;
        case L'a': out.Char(L'\x08'); break;
        case L'b': out.Char(L'\b'); break;
        case L'f': out.Char(L'\f'); break;
        case L'v': out.Char(L'\v'); break;
        case L'\\': out.Char(L'\\'); break;
        case L'"': out.Char(L'"'); break;
        case L'\'': out.Char(L'\''); break;
        case L'?': out.Char(L'?'); break;
        case L'x':
        case L'X': {
            const size_t maxDigits = wide ? 4 : 2;
            uint32_t v = 0;
            size_t n = 0;
            while (n < maxDigits && i + 1 < body.size() && HexValue(body[i + 1]) >= 0) {
                v = v * 16 + static_cast<uint32_t>(HexValue(body[++i]));
                ++n;
            }
            if (n == 0) { // "\x" with no digits stays as written
                out.Char(L'\\');
                out.Char(e);
            } else {
                out.Byte(v);
            }
            break;
        }
        default:
            if (e >= L'0' && e <= L'7') {
                uint32_t v = static_cast<uint32_t>(e - L'0');
                for (int n = 1; n < 3 && i + 1 < body.size() && body[i + 1] >= L'0' && body[i + 1] <= L'7'; ++n)
                    v = v * 8 + static_cast<uint32_t>(body[++i] - L'0');
                out.Byte(v);
            } else {
                // Unknown escapes keep their backslash, as the classic compiler does.
                out.Char(L'\\');
                out.Char(e);
            }
        }
    }
    out.Finish(t);
}

constexpr std::array<std::wstring_view, 10> kTwoCharPuncts = {
    L"<<", L">>", L"<=", L">=", L"==", L"!=", L"&&", L"||", L"##", L"::"};

} // namespace

std::vector<Token> Tokenize(std::wstring_view line, Location where, uint32_t codePage)
{
    std::vector<Token> out;
    size_t i = 0;
    bool space = true;
    while (i < line.size()) {
        const wchar_t c = line[i];
        if (IsSpace(c)) {
            space = true;
            ++i;
            continue;
        }
        Token t;
        t.where = where;
        t.spaceBefore = space;
        space = false;
        const bool widePrefix = (c == L'L' || c == L'l') && i + 1 < line.size() && line[i + 1] == L'"';
        if (c == L'"' || widePrefix) {
            const size_t start = i + (widePrefix ? 2 : 1);
            size_t j = start;
            for (;;) {
                if (j >= line.size())
                    throw CompileError(where, "missing closing quote of a string");
                if (line[j] == L'\\' && j + 1 < line.size()) {
                    j += 2;
                    continue;
                }
                if (line[j] == L'"') {
                    if (j + 1 < line.size() && line[j + 1] == L'"') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            t.kind = TokKind::String;
            t.wide = widePrefix;
            t.text = std::wstring(line.substr(i, j + 1 - i));
            DecodeString(line.substr(start, j - start), t.wide, codePage, t);
            i = j + 1;
        } else if (c == L'\'') {
            size_t j = i + 1;
            while (j < line.size() && line[j] != L'\'') {
                if (line[j] == L'\\')
                    ++j;
                ++j;
            }
            if (j >= line.size())
                throw CompileError(where, "missing closing quote of a character constant");
            t.kind = TokKind::Number;
            t.text = std::wstring(line.substr(i, j + 1 - i));
            i = j + 1;
        } else if (IsIdentStart(c)) {
            size_t j = i;
            while (j < line.size() && IsIdentChar(line[j]))
                ++j;
            t.kind = TokKind::Ident;
            t.text = std::wstring(line.substr(i, j - i));
            i = j;
        } else if (IsDigit(c)) {
            size_t j = i;
            while (j < line.size() && (IsIdentChar(line[j])))
                ++j;
            t.kind = TokKind::Number;
            t.text = std::wstring(line.substr(i, j - i));
            i = j;
        } else {
            t.kind = TokKind::Punct;
            const std::wstring_view rest = line.substr(i);
            size_t len = 1;
            for (const auto p : kTwoCharPuncts)
                if (rest.starts_with(p))
                    len = 2;
            if (rest.starts_with(L"...")) // only to be refused clearly
                len = 3;
            t.text = std::wstring(rest.substr(0, len));
            i += len;
        }
        out.push_back(std::move(t));
    }
    return out;
}

NumberValue ParseNumber(const Token& t, bool cOctal)
{
    const std::wstring& s = t.text;
    if (!s.empty() && s[0] == L'\'')
        return NumberValue{CharConstantValue(t), false};
    size_t i = 0;
    unsigned base = 10;
    if (s.size() > 1 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) {
        base = 16;
        i = 2;
    } else if (s.size() > 2 && s[0] == L'0' && (s[1] == L'o' || s[1] == L'O')) {
        base = 8; // 0o17, the resource language's own octal spelling
        i = 2;
    } else if (cOctal && s.size() > 1 && s[0] == L'0') {
        base = 8;
        i = 1;
    }
    uint64_t v = 0;
    size_t digits = 0;
    for (; i < s.size(); ++i) {
        const int d = HexValue(s[i]);
        if (d < 0 || static_cast<unsigned>(d) >= base)
            break;
        v = v * base + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull)
            throw CompileError(t.where, "number " + Narrow(s) + " does not fit in 32 bits");
        ++digits;
    }
    if (digits == 0 && !(base == 8))
        throw CompileError(t.where, "malformed number '" + Narrow(s) + "'");
    NumberValue r;
    r.value = static_cast<uint32_t>(v);
    for (; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'l' || c == L'L')
            r.isLong = true;
        else if (c == L'u' || c == L'U')
            continue;
        else
            throw CompileError(t.where, "malformed number '" + Narrow(s) + "'");
    }
    return r;
}

uint32_t CharConstantValue(const Token& t)
{
    const std::wstring& s = t.text; // 'x' with its quotes
    Token decoded;
    DecodeString(std::wstring_view(s).substr(1, s.size() - 2), true, 1252, decoded);
    const std::wstring& body = decoded.str;
    if (body.empty())
        throw CompileError(t.where, "empty character constant");
    uint32_t v = 0;
    for (const wchar_t c : body) // multi-character constants pack as in C
        v = (v << 8) | (static_cast<uint32_t>(c) & (body.size() == 1 ? 0xFFFFFFFFu : 0xFFu));
    return v;
}

} // namespace zyn::rc
