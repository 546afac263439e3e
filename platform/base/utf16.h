#pragma once
// The one codec between the platform's wide text (wchar_t code points) and UTF-16 /
// UTF-8 bytes. Every byte boundary (files, sockets, the database, archives, the
// clipboard) goes through it, and sizes on the wire are counted in UTF-16 units, never
// with wcslen or sizeof(WCHAR). Ill-formed input (lone surrogates, bad UTF-8, code
// points above U+10FFFF) decodes to U+FFFD and is reported through the `ok` flag of the
// checked forms. Encoding is checked the same way: a wchar_t that is not a Unicode
// scalar value (a surrogate, or above U+10FFFF) is written as U+FFFD and clears `ok`.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::base {

inline constexpr wchar_t kReplacementChar = 0xFFFD;

// True for U+0000..U+10FFFF except the surrogate range.
constexpr bool IsScalarValue(uint32_t cp) { return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF); }

// Number of UTF-16 code units needed for the text (2 for code points above U+FFFF).
size_t Utf16Length(std::wstring_view text);

std::u16string ToUtf16(std::wstring_view text, bool* ok = nullptr);
std::wstring FromUtf16(std::u16string_view text, bool* ok = nullptr);

// UTF-16LE bytes, without a byte-order mark.
std::vector<uint8_t> ToUtf16LE(std::wstring_view text, bool* ok = nullptr);
void AppendUtf16LE(std::vector<uint8_t>& out, std::wstring_view text, bool* ok = nullptr);
// Decodes UTF-16LE bytes; an odd trailing byte makes the input ill-formed (it decodes
// to one U+FFFD).
std::wstring FromUtf16LE(std::span<const uint8_t> bytes, bool* ok = nullptr);
// The same into out, whose storage is reused: a reader of many lines allocates nothing
// per line.
void AssignFromUtf16LE(std::wstring& out, std::span<const uint8_t> bytes, bool* ok = nullptr);

std::string ToUtf8(std::wstring_view text, bool* ok = nullptr);
// Each maximal ill-formed subsequence (truncated or overlong sequences, encoded
// surrogates, values above U+10FFFF, stray continuation bytes) becomes one U+FFFD.
std::wstring FromUtf8(std::string_view text, bool* ok = nullptr);

// Number of UTF-8 bytes ToUtf8 produces for the text.
size_t Utf8Length(std::wstring_view text);

} // namespace zyn::base
