#pragma once
// Tokens of resource scripts and their preprocessor, with the place each came from.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zyn::rc {

struct Location {
    const std::string* file = nullptr; // owned by the compilation's file table
    int line = 0;
};

// A fatal error of the compilation, reported as "file(line): error: message".
class CompileError : public std::runtime_error {
public:
    CompileError(Location where, const std::string& message) : std::runtime_error(message), m_where(where) {}
    Location Where() const { return m_where; }

private:
    Location m_where;
};

enum class TokKind { End, Ident, Number, String, Punct };

// Names of the macros a token came out of: they are not expanded again inside it.
using HideSet = std::shared_ptr<const std::vector<std::wstring>>;

struct Token {
    TokKind kind = TokKind::End;
    std::wstring text;  // identifier, punctuator or the number's spelling
    std::wstring str;   // a string's decoded value
    bool wide = false;  // L"..."
    // A narrow string's bytes in the script's code page (what raw data holds), escapes
    // giving their byte values; narrowOk is false when a character has no byte there.
    std::string narrow;
    bool narrowOk = true;
    bool spaceBefore = false;
    Location where;
    HideSet hide;

    bool IsPunct(std::wstring_view p) const { return kind == TokKind::Punct && text == p; }
    bool IsIdent() const { return kind == TokKind::Ident; }
    // Case-insensitive keyword test (keywords are ASCII upper case).
    bool IsKeyword(std::wstring_view kw) const;
    bool Hidden(const std::wstring& macro) const;
};

// Splits one logical line (comments already removed) into tokens. Narrow strings are
// in `codePage` (one the platform's code-page unit knows): their escapes name bytes of
// that page, and their `narrow` bytes are written in it. Throws CompileError for an
// unterminated string or character constant.
std::vector<Token> Tokenize(std::wstring_view line, Location where, uint32_t codePage = 1252);

// The value of a number's spelling: decimal, 0x hexadecimal, and (when cOctal) a leading 0
// for octal as in C; suffixes L and U. Throws CompileError when malformed or beyond 32 bits.
struct NumberValue {
    uint32_t value = 0;
    bool isLong = false;
};
NumberValue ParseNumber(const Token& t, bool cOctal);

// The value of a character constant 'c' (its spelling in t.text).
uint32_t CharConstantValue(const Token& t);

// A 32-bit value that a WORD holds: 0..65535, or -32768..-1 written as its low 16 bits.
constexpr bool FitsInWord(uint32_t v)
{
    return v <= 0xFFFF || (static_cast<int32_t>(v) < 0 && static_cast<int32_t>(v) >= -32768);
}

std::string Narrow(std::wstring_view s); // for messages: UTF-8
std::wstring UpperAscii(std::wstring_view s);

} // namespace zyn::rc
