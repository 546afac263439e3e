// The toolkit's formatting into buffers, wide/narrow conversions and float digits.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/exception.h"
#include "toolkit/skins/ox_strings.h"

namespace {

// The most digits after the point the run-time's conversion gives.
constexpr int kMaxFractionDigits = 349;

errno_t Err(errno_t e)
{
    errno = e;
    return e;
}

template <class Ch>
void Empty(Ch* dst, size_t size)
{
    if (dst && size > 0)
        dst[0] = Ch{};
}

// The narrow form of one character in the ANSI code page; empty when the code page has
// no such character.
std::string NarrowChar(wchar_t c)
{
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int n =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return {};
    return std::string(bytes, static_cast<size_t>(n));
}

} // namespace

namespace zyn::toolkit {

int FormatInto(wchar_t* dst, size_t size, const wchar_t* format, zyn::base::FormatArgs args)
{
    if (dst == nullptr || size == 0) {
        errno = EINVAL;
        return -1;
    }
    if (format == nullptr) {
        dst[0] = L'\0';
        errno = EINVAL;
        return -1;
    }
    std::wstring text;
    try {
        text = zyn::base::FormatPrintf(format, args);
    } catch (CException* e) {
        // An argument that does not suit its conversion.
        e->Delete();
        dst[0] = L'\0';
        errno = EINVAL;
        return -1;
    }
    return zyn::base::CopyFormatted(dst, size, text, size);
}

int FormatInto(char* dst, size_t size, const char* format, zyn::base::FormatArgs args)
{
    if (dst == nullptr || size == 0) {
        errno = EINVAL;
        return -1;
    }
    if (format == nullptr) {
        dst[0] = '\0';
        errno = EINVAL;
        return -1;
    }
    std::string text;
    try {
        text = zyn::base::FormatPrintf(format, args);
    } catch (CException* e) {
        e->Delete();
        dst[0] = '\0';
        errno = EINVAL;
        return -1;
    }
    if (text.size() + 1 > size) {
        dst[0] = '\0';
        errno = ERANGE;
        return -1;
    }
    std::memcpy(dst, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size());
}

} // namespace zyn::toolkit

errno_t OXWideToMultiByte(size_t* converted, char* dst, size_t size, const wchar_t* src, size_t count)
{
    if (converted)
        *converted = 0;
    if ((dst == nullptr && size > 0) || (dst != nullptr && size == 0) || src == nullptr) {
        Empty(dst, size);
        return Err(EINVAL);
    }
    // How many bytes may be written before the terminator.
    const bool truncate = count == _TRUNCATE;
    size_t limit = truncate ? (dst ? size - 1 : SIZE_MAX) : count;
    std::string out;
    bool cut = false;
    for (const wchar_t* p = src; *p; ++p) {
        const std::string bytes = NarrowChar(*p);
        if (bytes.empty()) {
            Empty(dst, size);
            return Err(EILSEQ);
        }
        if (out.size() + bytes.size() > limit) {
            cut = true;
            break;
        }
        out += bytes;
    }
    if (dst) {
        if (out.size() + 1 > size) {
            Empty(dst, size);
            return Err(ERANGE);
        }
        std::memcpy(dst, out.c_str(), out.size() + 1);
    }
    if (converted)
        *converted = out.size() + 1;
    return truncate && cut ? STRUNCATE : 0;
}

size_t OXMultiByteToWide(wchar_t* dst, size_t size, const char* src, size_t count)
{
    if ((dst == nullptr && size > 0) || (dst != nullptr && size == 0) || src == nullptr) {
        Empty(dst, size);
        errno = EINVAL;
        return 0;
    }
    const int bytes = static_cast<int>(std::strlen(src));
    std::wstring wide;
    if (bytes > 0) {
        const int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, src, bytes, nullptr, 0);
        if (n <= 0) {
            Empty(dst, size);
            errno = EILSEQ;
            return 0;
        }
        wide.resize(static_cast<size_t>(n));
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, src, bytes, wide.data(), n);
    }
    size_t n = count == _TRUNCATE ? wide.size() : std::min(count, wide.size());
    if (dst) {
        if (n + 1 > size) {
            // Cutting is an answer only when the caller asked for it.
            if (count != _TRUNCATE) {
                Empty(dst, size);
                errno = ERANGE;
                return 0;
            }
            n = size - 1;
        }
        std::wmemcpy(dst, wide.data(), n);
        dst[n] = L'\0';
    }
    return n + 1;
}

char* OXFloatToDigitsA(double value, int count, int* decimal, int* sign)
{
    if (decimal == nullptr || sign == nullptr || count < 0 || count > kMaxFractionDigits || !std::isfinite(value)) {
        errno = EINVAL;
        return nullptr;
    }
    // Rounded in decimal by the formatter; the point and the sign are taken out after.
    // The buffer is sized from the digits themselves: a value like 1e300 has 301 digits
    // before the point, which no size worked out from `count` alone would hold.
    const std::string text = zyn::base::Sprintf("%.*f", count, std::fabs(value));
    const size_t point = text.find('.');
    std::string digits = point == std::string::npos ? text : text.substr(0, point) + text.substr(point + 1);
    int position = static_cast<int>(point == std::string::npos ? text.size() : point);
    const size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        digits.clear(); // the value rounds to zero
        position = 0;
    } else {
        digits.erase(0, firstNonZero);
        position -= static_cast<int>(firstNonZero);
    }
    auto buffer = std::make_unique<char[]>(digits.size() + 1);
    std::memcpy(buffer.get(), digits.c_str(), digits.size() + 1);
    *decimal = position;
    *sign = value < 0 ? 1 : 0;
    return buffer.release();
}
