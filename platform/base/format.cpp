// The platform's printf-style and FormatMessage-style formatter. It interprets the
// format itself, conversion by conversion, against arguments whose real types it knows
// (FormatArg), so a wrong argument is reported instead of being misread. Only a single
// floating-point field is handed to snprintf, with a conversion spec built here.
#include "platform/base/format.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace {

// Widths and precisions above this are refused rather than allocated.
constexpr int kMaxField = 1 << 24;

enum class Len : uint8_t { None, hh, h, l, ll, I, I32, I64, L, w, z, j, t };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    bool widthStar = false;
    bool precStar = false;
    int width = 0;
    int prec = -1;
    Len len = Len::None;
    char conv = 0;
};

const wchar_t* KindName(FormatArg::Kind k)
{
    switch (k) {
    case FormatArg::Kind::Signed:
        return L"a signed integer";
    case FormatArg::Kind::Unsigned:
        return L"an unsigned integer";
    case FormatArg::Kind::Float:
        return L"a floating-point number";
    case FormatArg::Kind::WideStr:
        return L"a wide string";
    case FormatArg::Kind::NarrowStr:
        return L"a narrow string";
    case FormatArg::Kind::Pointer:
        return L"a pointer";
    }
    return L"an unknown value";
}

std::wstring SpecText(const Spec& s)
{
    std::wstring t = L"%";
    switch (s.len) {
    case Len::hh:
        t += L"hh";
        break;
    case Len::h:
        t += L"h";
        break;
    case Len::l:
        t += L"l";
        break;
    case Len::ll:
        t += L"ll";
        break;
    case Len::I:
        t += L"I";
        break;
    case Len::I32:
        t += L"I32";
        break;
    case Len::I64:
        t += L"I64";
        break;
    case Len::L:
        t += L"L";
        break;
    case Len::w:
        t += L"w";
        break;
    case Len::z:
        t += L"z";
        break;
    case Len::j:
        t += L"j";
        break;
    case Len::t:
        t += L"t";
        break;
    case Len::None:
        break;
    }
    t += static_cast<wchar_t>(static_cast<unsigned char>(s.conv));
    return t;
}

[[noreturn]] void Refuse(const std::wstring& text) { AfxThrowInvalidArgException(text.c_str()); }

[[noreturn]] void RefuseArg(const Spec& s, size_t index, const FormatArg& a)
{
    Refuse(L"format conversion " + SpecText(s) + L" cannot take argument " + std::to_wstring(index + 1) + L", "
        + KindName(a.kind));
}

// Text conversions between the formatter's character types.
std::wstring ToWide(std::string_view s) { return AnsiToWide(s, CP_ACP); }
std::wstring ToWide(std::wstring_view s) { return std::wstring(s); }
std::string ToNarrow(std::string_view s) { return std::string(s); }
std::string ToNarrow(std::wstring_view s) { return WideToAnsi(s, CP_ACP); }

template <class C>
std::basic_string<C> ToOut(std::string_view s)
{
    if constexpr (std::is_same_v<C, wchar_t>)
        return ToWide(s);
    else
        return ToNarrow(s);
}

template <class C>
std::basic_string<C> ToOut(std::wstring_view s)
{
    if constexpr (std::is_same_v<C, wchar_t>)
        return ToWide(s);
    else
        return ToNarrow(s);
}

template <class C>
std::basic_string<C> Ascii(std::string_view s)
{
    return std::basic_string<C>(s.begin(), s.end());
}

// The 64-bit pattern of an integer argument (a signed one sign-extended).
uint64_t IntegerBitsOf(const FormatArg& a)
{
    return a.kind == FormatArg::Kind::Signed ? static_cast<uint64_t>(a.i) : a.u;
}

// Where the arguments of one conversion come from.
class ArgCursor {
public:
    ArgCursor(FormatArgs args, size_t next) : m_args(args), m_next(next) {}
    bool Has(size_t count) const { return m_next + count <= m_args.size(); }
    size_t Index() const { return m_next; }
    const FormatArg& Take(const Spec& s)
    {
        if (m_next >= m_args.size())
            Refuse(L"format conversion " + SpecText(s) + L" has no argument (argument " + std::to_wstring(m_next + 1)
                + L" was not given)");
        return m_args[m_next++];
    }

private:
    FormatArgs m_args;
    size_t m_next;
};

// Parses flags, width, precision, length and conversion starting after the '%'.
// Returns false when the text ends before a conversion character.
template <class C>
bool ParseSpec(const C*& p, const C* end, Spec& s)
{
    for (; p < end; ++p) {
        if (*p == C('-'))
            s.left = true;
        else if (*p == C('+'))
            s.plus = true;
        else if (*p == C(' '))
            s.space = true;
        else if (*p == C('#'))
            s.alt = true;
        else if (*p == C('0'))
            s.zero = true;
        else
            break;
    }
    auto number = [&](int& v) {
        int64_t n = 0;
        while (p < end && *p >= C('0') && *p <= C('9')) {
            n = n * 10 + (*p - C('0'));
            if (n > kMaxField)
                Refuse(L"format field width or precision is too large");
            ++p;
        }
        v = static_cast<int>(n);
    };
    if (p < end && *p == C('*')) {
        s.widthStar = true;
        ++p;
    } else {
        number(s.width);
    }
    if (p < end && *p == C('.')) {
        ++p;
        if (p < end && *p == C('*')) {
            s.precStar = true;
            ++p;
        } else {
            number(s.prec);
        }
    }
    if (p < end) {
        switch (static_cast<char32_t>(*p)) {
        case U'h':
            ++p;
            if (p < end && *p == C('h')) {
                s.len = Len::hh;
                ++p;
            } else {
                s.len = Len::h;
            }
            break;
        case U'l':
            ++p;
            if (p < end && *p == C('l')) {
                s.len = Len::ll;
                ++p;
            } else {
                s.len = Len::l;
            }
            break;
        case U'I':
            ++p;
            if (end - p >= 2 && p[0] == C('3') && p[1] == C('2')) {
                s.len = Len::I32;
                p += 2;
            } else if (end - p >= 2 && p[0] == C('6') && p[1] == C('4')) {
                s.len = Len::I64;
                p += 2;
            } else {
                s.len = Len::I;
            }
            break;
        case U'L':
            s.len = Len::L;
            ++p;
            break;
        case U'w':
            s.len = Len::w;
            ++p;
            break;
        case U'z':
            s.len = Len::z;
            ++p;
            break;
        case U'j':
            s.len = Len::j;
            ++p;
            break;
        case U't':
            s.len = Len::t;
            ++p;
            break;
        default:
            break;
        }
    }
    if (p >= end)
        return false;
    const auto c = static_cast<uint32_t>(*p);
    s.conv = c < 0x80 ? static_cast<char>(c) : '?';
    ++p;
    return true;
}

int IntegerBits(Len len)
{
    switch (len) {
    case Len::hh:
        return 8;
    case Len::h:
        return 16;
    case Len::ll:
    case Len::I:
    case Len::I64:
    case Len::L:
    case Len::z:
    case Len::j:
    case Len::t:
        return 64;
    default:
        return 32; // int, and LONG (l) is 32-bit
    }
}

template <class C>
class Engine {
public:
    using Str = std::basic_string<C>;

    explicit Engine(Str& out) : m_out(out) {}

    // Formats one conversion whose spec has been parsed; the cursor supplies '*'
    // values and the argument.
    void Convert(Spec s, ArgCursor& args)
    {
        if (s.widthStar) {
            const int w = StarValue(s, args);
            if (w < 0) {
                s.left = true;
                s.width = w == INT32_MIN ? kMaxField + 1 : -w;
            } else {
                s.width = w;
            }
            if (s.width > kMaxField)
                Refuse(L"format field width is too large");
        }
        if (s.precStar) {
            const int pr = StarValue(s, args);
            s.prec = pr < 0 ? -1 : pr;
            if (s.prec > kMaxField)
                Refuse(L"format precision is too large");
        }
        switch (s.conv) {
        case 'd':
        case 'i':
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            Integer(s, args);
            break;
        case 'c':
        case 'C':
            Char(s, args);
            break;
        case 's':
        case 'S':
            String(s, args);
            break;
        case 'p':
            Pointer(s, args);
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            Float(s, args);
            break;
        case 'n':
            Refuse(L"format conversion %n is not supported");
        default:
            Refuse(L"unknown format conversion " + SpecText(s));
        }
    }

private:
    int StarValue(const Spec& s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        if (a.kind == FormatArg::Kind::Signed)
            return static_cast<int>(static_cast<int32_t>(a.i));
        if (a.kind == FormatArg::Kind::Unsigned)
            return static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(a.u)));
        Refuse(L"format width or precision '*' of " + SpecText(s) + L" cannot take argument " + std::to_wstring(index + 1)
            + L", " + KindName(a.kind));
    }

    void Emit(const Str& prefix, const Str& body, const Spec& s, bool zeroPad)
    {
        const size_t len = prefix.size() + body.size();
        const size_t pad = static_cast<size_t>(s.width) > len ? static_cast<size_t>(s.width) - len : 0;
        if (s.left) {
            m_out += prefix;
            m_out += body;
            m_out.append(pad, C(' '));
        } else if (zeroPad) {
            m_out += prefix;
            m_out.append(pad, C('0'));
            m_out += body;
        } else {
            m_out.append(pad, C(' '));
            m_out += prefix;
            m_out += body;
        }
    }

    void Integer(const Spec& s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        uint64_t raw = 0;
        switch (a.kind) {
        case FormatArg::Kind::Signed:
            raw = static_cast<uint64_t>(a.i); // already sign-extended to 64 bits
            break;
        case FormatArg::Kind::Unsigned:
            raw = a.u;
            break;
        case FormatArg::Kind::Pointer:
            raw = reinterpret_cast<uintptr_t>(a.p);
            break;
        default:
            RefuseArg(s, index, a);
        }
        const int bits = IntegerBits(s.len);
        const uint64_t mask = bits == 64 ? ~uint64_t{0} : ((uint64_t{1} << bits) - 1);
        uint64_t value = raw & mask;
        const bool isSigned = s.conv == 'd' || s.conv == 'i';
        bool negative = false;
        if (isSigned && bits < 64 && (value >> (bits - 1)) != 0) {
            value = (~value + 1) & mask; // magnitude of the negative value
            negative = true;
        } else if (isSigned && bits == 64 && static_cast<int64_t>(value) < 0) {
            value = ~value + 1;
            negative = true;
        }
        const unsigned base = (s.conv == 'o') ? 8 : (s.conv == 'x' || s.conv == 'X') ? 16 : 10;
        const char* digitsSet = s.conv == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        char buf[72];
        int n = 0;
        for (uint64_t v = value; v != 0; v /= base)
            buf[n++] = digitsSet[v % base];
        Str body;
        const int minDigits = s.prec < 0 ? 1 : s.prec;
        if (n < minDigits)
            body.append(static_cast<size_t>(minDigits - n), C('0'));
        for (int i = n - 1; i >= 0; --i)
            body.push_back(C(buf[i]));
        Str prefix;
        if (isSigned) {
            if (negative)
                prefix = Ascii<C>("-");
            else if (s.plus)
                prefix = Ascii<C>("+");
            else if (s.space)
                prefix = Ascii<C>(" ");
        } else if (s.alt && value != 0) {
            if (base == 16)
                prefix = Ascii<C>(s.conv == 'X' ? "0X" : "0x");
            else if (base == 8 && (body.empty() || body[0] != C('0')))
                body.insert(body.begin(), C('0'));
        }
        Emit(prefix, body, s, s.zero && !s.left && s.prec < 0);
    }

    // In a wide format %c is a wide character and %C a narrow one; in a narrow format
    // the other way round; h forces narrow, l and w force wide.
    bool WideArgFor(const Spec& s) const
    {
        if (s.len == Len::h || s.len == Len::hh)
            return false;
        if (s.len == Len::l || s.len == Len::w)
            return true;
        const bool upper = s.conv == 'C' || s.conv == 'S';
        return std::is_same_v<C, wchar_t> ? !upper : upper;
    }

    void Char(const Spec& s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        if (a.kind != FormatArg::Kind::Signed && a.kind != FormatArg::Kind::Unsigned)
            RefuseArg(s, index, a);
        // The argument's real type decides where the conversion alone would misread:
        // a char is a narrow character even under a wide conversion, and a value above
        // 0xFF under a narrow conversion can only be a wide character.
        bool wide = WideArgFor(s);
        const uint64_t bits = IntegerBitsOf(a);
        if (a.size == 1)
            wide = false;
        else if (!wide && a.kind == FormatArg::Kind::Unsigned && bits > 0xFF)
            wide = true;
        Str body;
        if (wide) {
            auto cp = static_cast<uint32_t>(bits);
            if (bits > 0xFFFFFFFFu || !IsScalarValue(cp))
                cp = kReplacementChar;
            if (cp != 0)
                body = ToOut<C>(std::wstring_view(std::wstring(1, static_cast<wchar_t>(cp))));
        } else {
            const char ch = static_cast<char>(static_cast<uint8_t>(bits));
            if (ch != '\0')
                body = ToOut<C>(std::string_view(&ch, 1));
        }
        Emit(Str(), body, s, s.zero && !s.left);
    }

    void String(const Spec& s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        // A pointer below 0x10000 is a resource ID or a small integer, never text.
        const void* text = a.kind == FormatArg::Kind::WideStr ? static_cast<const void*>(a.ws)
            : a.kind == FormatArg::Kind::NarrowStr                  ? static_cast<const void*>(a.ns)
                                                                    : nullptr;
        if (text != nullptr && reinterpret_cast<uintptr_t>(text) < 0x10000)
            RefuseArg(s, index, a);
        Str body;
        switch (a.kind) {
        case FormatArg::Kind::WideStr:
            body = a.ws ? ToOut<C>(std::wstring_view(a.ws)) : Ascii<C>("(null)");
            break;
        case FormatArg::Kind::NarrowStr:
            body = a.ns ? ToOut<C>(std::string_view(a.ns)) : Ascii<C>("(null)");
            break;
        case FormatArg::Kind::Pointer:
            if (a.p != nullptr)
                RefuseArg(s, index, a);
            body = Ascii<C>("(null)");
            break;
        default:
            RefuseArg(s, index, a);
        }
        if (s.prec >= 0 && body.size() > static_cast<size_t>(s.prec))
            body.resize(static_cast<size_t>(s.prec));
        Emit(Str(), body, s, s.zero && !s.left);
    }

    void Pointer(const Spec& s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        uint64_t v = 0;
        switch (a.kind) {
        case FormatArg::Kind::Pointer:
            v = reinterpret_cast<uintptr_t>(a.p);
            break;
        case FormatArg::Kind::WideStr:
            v = reinterpret_cast<uintptr_t>(a.ws);
            break;
        case FormatArg::Kind::NarrowStr:
            v = reinterpret_cast<uintptr_t>(a.ns);
            break;
        case FormatArg::Kind::Signed:
        case FormatArg::Kind::Unsigned:
            v = IntegerBitsOf(a);
            break;
        default:
            RefuseArg(s, index, a);
        }
        Str body;
        for (int shift = 60; shift >= 0; shift -= 4)
            body.push_back(C("0123456789ABCDEF"[(v >> shift) & 0xF]));
        Emit(Str(), body, s, false);
    }

    void Float(Spec s, ArgCursor& args)
    {
        const size_t index = args.Index();
        const FormatArg& a = args.Take(s);
        if (a.kind != FormatArg::Kind::Float)
            RefuseArg(s, index, a);
        // Windows prints all thirteen hexadecimal digits of a double by default.
        if ((s.conv == 'a' || s.conv == 'A') && s.prec < 0)
            s.prec = 13;
        char spec[16];
        int k = 0;
        spec[k++] = '%';
        if (s.left)
            spec[k++] = '-';
        if (s.plus)
            spec[k++] = '+';
        if (s.space)
            spec[k++] = ' ';
        if (s.alt)
            spec[k++] = '#';
        if (s.zero)
            spec[k++] = '0';
        spec[k++] = '*';
        spec[k++] = '.';
        spec[k++] = '*';
        spec[k++] = s.conv;
        spec[k] = '\0';
        // A negative precision through '.*' means "not given", as in C.
        const int prec = s.prec;
        const int need = std::snprintf(nullptr, 0, spec, s.width, prec, a.d);
        if (need < 0)
            Refuse(L"floating-point conversion " + SpecText(s) + L" failed");
        std::string buf(static_cast<size_t>(need) + 1, '\0');
        std::snprintf(buf.data(), buf.size(), spec, s.width, prec, a.d);
        buf.resize(static_cast<size_t>(need));
        m_out += Ascii<C>(buf);
    }

    Str& m_out;
};

template <class C>
std::basic_string<C> Printf(const C* fmt, FormatArgs args)
{
    if (fmt == nullptr)
        Refuse(L"format string is null");
    std::basic_string<C> out;
    Engine<C> engine(out);
    ArgCursor cursor(args, 0);
    const C* p = fmt;
    const C* end = fmt + std::char_traits<C>::length(fmt);
    while (p < end) {
        const C* pct = std::char_traits<C>::find(p, static_cast<size_t>(end - p), C('%'));
        if (!pct) {
            out.append(p, end);
            break;
        }
        out.append(p, pct);
        p = pct + 1;
        if (p < end && *p == C('%')) {
            out.push_back(C('%'));
            ++p;
            continue;
        }
        Spec s;
        if (!ParseSpec(p, end, s))
            Refuse(L"format string ends inside a conversion");
        engine.Convert(s, cursor);
    }
    return out;
}

template <class C>
std::basic_string<C> Message(const C* fmt, FormatArgs args)
{
    if (fmt == nullptr)
        Refuse(L"message format is null");
    std::basic_string<C> out;
    Engine<C> engine(out);
    const C* p = fmt;
    const C* end = fmt + std::char_traits<C>::length(fmt);
    while (p < end) {
        if (*p != C('%')) {
            out.push_back(*p++);
            continue;
        }
        const C* start = p++;
        if (p >= end) {
            out.push_back(C('%'));
            break;
        }
        const C c = *p;
        if (c == C('0'))
            break;
        if (c >= C('1') && c <= C('9')) {
            int n = c - C('0');
            ++p;
            if (p < end && *p >= C('0') && *p <= C('9')) {
                n = n * 10 + (*p - C('0'));
                ++p;
            }
            Spec s;
            s.conv = 's';
            if (p < end && *p == C('!')) {
                const C* close = std::char_traits<C>::find(p + 1, static_cast<size_t>(end - p - 1), C('!'));
                if (close) {
                    const C* q = p + 1;
                    Spec parsed;
                    if (!ParseSpec(q, close, parsed) || q != close)
                        Refuse(L"message insert %" + std::to_wstring(n) + L" has a malformed !format!");
                    s = parsed;
                    p = close + 1;
                }
            }
            const size_t needed = 1 + (s.widthStar ? 1 : 0) + (s.precStar ? 1 : 0);
            ArgCursor cursor(args, static_cast<size_t>(n - 1));
            if (!cursor.Has(needed)) {
                // No argument for this insert: it stays in the text as written.
                out.append(start, p);
                continue;
            }
            engine.Convert(s, cursor);
            continue;
        }
        ++p;
        switch (static_cast<char32_t>(c)) {
        case U'n':
            out.push_back(C('\r'));
            out.push_back(C('\n'));
            break;
        case U't':
            out.push_back(C('\t'));
            break;
        case U'r':
            out.push_back(C('\r'));
            break;
        default: // %% %. %! %space, and any other character, stand for themselves
            out.push_back(c);
            break;
        }
    }
    return out;
}

} // namespace

std::wstring FormatPrintf(const wchar_t* fmt, FormatArgs args) { return Printf(fmt, args); }
std::string FormatPrintf(const char* fmt, FormatArgs args) { return Printf(fmt, args); }
std::wstring FormatMessageText(const wchar_t* fmt, FormatArgs args) { return Message(fmt, args); }
std::string FormatMessageText(const char* fmt, FormatArgs args) { return Message(fmt, args); }

} // namespace zyn::base
