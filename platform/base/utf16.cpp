#include "platform/base/utf16.h"

#include <algorithm>
#include <utility>

namespace zyn::base {

namespace {

inline void Clear(bool* ok)
{
    if (ok)
        *ok = false;
}

// The code point to encode for one wchar_t: itself when it is a scalar value, else
// U+FFFD (and the flag says so).
inline uint32_t Encodable(wchar_t c, bool* ok)
{
    const auto cp = static_cast<uint32_t>(c);
    if (IsScalarValue(cp))
        return cp;
    Clear(ok);
    return kReplacementChar;
}

template <class Sink>
void EncodeUtf16(std::wstring_view text, bool* ok, Sink&& sink)
{
    for (const wchar_t c : text) {
        const uint32_t cp = Encodable(c, ok);
        if (cp < 0x10000) {
            sink(static_cast<char16_t>(cp));
        } else {
            const uint32_t v = cp - 0x10000;
            sink(static_cast<char16_t>(0xD800 + (v >> 10)));
            sink(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
}

// Decodes UTF-16 units read by `at(i)` for i in [0, n) into out, replacing what it held
// (its storage is reused when large enough).
template <class At>
void DecodeUtf16Into(std::wstring& out, size_t n, bool* ok, At&& at)
{
    // At most one code point per unit: written into place, then cut to length.
    out.resize(n);
    wchar_t* o = out.data();
    for (size_t i = 0; i < n; ++i) {
        const uint32_t u = at(i);
        if (u < 0xD800 || u > 0xDFFF) {
            *o++ = static_cast<wchar_t>(u);
        } else if (u <= 0xDBFF && i + 1 < n) {
            const uint32_t lo = at(i + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                *o++ = static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
            } else {
                // A high surrogate not followed by a low one: only the high one is bad;
                // the next unit is decoded on its own.
                *o++ = static_cast<wchar_t>(kReplacementChar);
                Clear(ok);
            }
        } else {
            *o++ = static_cast<wchar_t>(kReplacementChar);
            Clear(ok);
        }
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

template <class At>
std::wstring DecodeUtf16(size_t n, bool* ok, At&& at)
{
    std::wstring out;
    DecodeUtf16Into(out, n, ok, std::forward<At>(at));
    return out;
}

} // namespace

size_t Utf16Length(std::wstring_view text)
{
    size_t n = 0;
    for (const wchar_t c : text) {
        const auto cp = static_cast<uint32_t>(c);
        n += (cp > 0xFFFF && cp <= 0x10FFFF) ? 2 : 1;
    }
    return n;
}

std::u16string ToUtf16(std::wstring_view text, bool* ok)
{
    if (ok)
        *ok = true;
    std::u16string out;
    out.reserve(Utf16Length(text));
    EncodeUtf16(text, ok, [&](char16_t u) { out.push_back(u); });
    return out;
}

std::wstring FromUtf16(std::u16string_view text, bool* ok)
{
    if (ok)
        *ok = true;
    return DecodeUtf16(text.size(), ok, [&](size_t i) { return static_cast<uint32_t>(text[i]); });
}

void AppendUtf16LE(std::vector<uint8_t>& out, std::wstring_view text, bool* ok)
{
    if (ok)
        *ok = true;
    // Grow geometrically: reserving the exact size would reallocate (and copy the whole
    // buffer) on every append to a buffer that collects many texts.
    auto grow = [&out](size_t need) {
        if (need > out.capacity())
            out.reserve(std::max(need, 2 * out.capacity()));
        out.resize(need);
    };
    // Most texts are all in the basic plane, one unit per character. Whether this one is
    // is found by one pass without a branch per character, and then a second pass writes
    // it, again without one (the compiler turns both into vector code). A text that is
    // not (a surrogate, beyond U+FFFF, not a code point) goes the general way.
    const size_t start = out.size();
    uint32_t wide = 0;
    for (const wchar_t c : text) {
        const auto cp = static_cast<uint32_t>(c);
        wide |= static_cast<uint32_t>(cp - 0xD800u < 0x800u) | static_cast<uint32_t>(cp > 0xFFFFu);
    }
    if (wide == 0) {
        grow(start + 2 * text.size());
        uint8_t* p = out.data() + start;
        for (size_t i = 0; i < text.size(); ++i) {
            const auto cp = static_cast<uint32_t>(text[i]);
            p[2 * i] = static_cast<uint8_t>(cp & 0xFF);
            p[2 * i + 1] = static_cast<uint8_t>(cp >> 8);
        }
        return;
    }
    grow(start + 2 * Utf16Length(text));
    uint8_t* p = out.data() + start;
    EncodeUtf16(text, ok, [&](char16_t u) {
        *p++ = static_cast<uint8_t>(u & 0xFF);
        *p++ = static_cast<uint8_t>(u >> 8);
    });
}

std::vector<uint8_t> ToUtf16LE(std::wstring_view text, bool* ok)
{
    std::vector<uint8_t> out;
    AppendUtf16LE(out, text, ok);
    return out;
}

std::wstring FromUtf16LE(std::span<const uint8_t> bytes, bool* ok)
{
    std::wstring out;
    AssignFromUtf16LE(out, bytes, ok);
    return out;
}

void AssignFromUtf16LE(std::wstring& out, std::span<const uint8_t> bytes, bool* ok)
{
    if (ok)
        *ok = true;
    const size_t units = bytes.size() / 2;
    DecodeUtf16Into(out, units, ok, [&](size_t i) {
        return static_cast<uint32_t>(bytes[2 * i]) | (static_cast<uint32_t>(bytes[2 * i + 1]) << 8);
    });
    if (bytes.size() % 2 != 0) {
        out.push_back(kReplacementChar);
        Clear(ok);
    }
}

size_t Utf8Length(std::wstring_view text)
{
    size_t n = 0;
    for (const wchar_t c : text) {
        const uint32_t cp = Encodable(c, nullptr);
        n += cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    }
    return n;
}

std::string ToUtf8(std::wstring_view text, bool* ok)
{
    if (ok)
        *ok = true;
    std::string out;
    out.reserve(Utf8Length(text));
    for (const wchar_t c : text) {
        const uint32_t cp = Encodable(c, ok);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(std::string_view text, bool* ok)
{
    if (ok)
        *ok = true;
    std::wstring out;
    out.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const auto b0 = static_cast<uint8_t>(text[i]);
        if (b0 < 0x80) {
            out.push_back(static_cast<wchar_t>(b0));
            ++i;
            continue;
        }
        // Lead byte: the number of continuation bytes and the allowed range of the
        // first one (which rules out overlong forms, surrogates and values above
        // U+10FFFF at the earliest byte, so each bad subsequence is one U+FFFD).
        int more = 0;
        uint8_t lo = 0x80, hi = 0xBF;
        uint32_t cp = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            more = 1;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            more = 2;
            cp = b0 & 0x0F;
            if (b0 == 0xE0)
                lo = 0xA0;
            else if (b0 == 0xED)
                hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            more = 3;
            cp = b0 & 0x07;
            if (b0 == 0xF0)
                lo = 0x90;
            else if (b0 == 0xF4)
                hi = 0x8F;
        } else {
            out.push_back(kReplacementChar);
            Clear(ok);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool good = true;
        for (int k = 0; k < more; ++k, ++j) {
            if (j >= n) {
                good = false;
                break;
            }
            const auto b = static_cast<uint8_t>(text[j]);
            if (b < lo || b > hi) {
                good = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
            lo = 0x80;
            hi = 0xBF;
        }
        if (good) {
            out.push_back(static_cast<wchar_t>(cp));
        } else {
            out.push_back(kReplacementChar);
            Clear(ok);
        }
        i = j;
    }
    return out;
}

} // namespace zyn::base
