// The toolkit's bounded copies, numbers, tokens, paths and environment look-ups.
#include "toolkit/skins/ox_strings.h"

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <memory>

#include "platform/base/environment.h"
#include "platform/base/lasterror.h"

namespace {

errno_t Err(errno_t e)
{
    errno = e;
    return e;
}

template <class Ch>
errno_t Fail(Ch* dst, size_t size, errno_t e)
{
    if (dst && size > 0)
        dst[0] = Ch{};
    return Err(e);
}

template <class Ch>
size_t BoundedLength(const Ch* s, size_t max)
{
    size_t n = 0;
    while (n < max && s[n] != Ch{})
        ++n;
    return n;
}

// strncpy_s for narrow text, with the wide form's rules.
errno_t CopyNarrow(char* dst, size_t size, const char* src, size_t count)
{
    if (dst == nullptr && size == 0 && count == 0)
        return 0;
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    if (src == nullptr) {
        dst[0] = '\0';
        return count == 0 ? 0 : Err(EINVAL);
    }
    size_t n = count == _TRUNCATE ? std::strlen(src) : BoundedLength(src, count);
    errno_t result = 0;
    if (n + 1 > size) {
        if (count != _TRUNCATE)
            return Fail(dst, size, ERANGE);
        n = size - 1;
        result = STRUNCATE;
    }
    std::memmove(dst, src, n);
    dst[n] = '\0';
    return result;
}

} // namespace

// ---- copying and concatenation -------------------------------------------------------

errno_t OXStrCopyW(wchar_t* dst, size_t size, const wchar_t* src) { return wcscpy_s(dst, size, src); }

errno_t OXStrCopyExW(wchar_t* dst, size_t size, const wchar_t* src) { return wcscpy_s(dst, size, src); }

errno_t OXStrNCopyW(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    return wcsncpy_s(dst, size, src, count);
}

errno_t OXStrCopyA(char* dst, size_t size, const char* src)
{
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    if (src == nullptr)
        return Fail(dst, size, EINVAL);
    const size_t n = std::strlen(src);
    if (n + 1 > size)
        return Fail(dst, size, ERANGE);
    std::memmove(dst, src, n + 1);
    return 0;
}

errno_t OXStrNCopyA(char* dst, size_t size, const char* src, size_t count)
{
    // A zero-sized destination is refused as it is: treating it as one character would
    // write the terminator past the caller's buffer.
    return CopyNarrow(dst, size, src, count);
}

errno_t OXStrCatW(wchar_t* dst, size_t size, const wchar_t* src) { return wcscat_s(dst, size, src); }

errno_t OXStrNCatW(wchar_t* dst, size_t size, const wchar_t* src, size_t count)
{
    return wcsncat_s(dst, size, src, count);
}

// ---- numbers to text ----------------------------------------------------------------------

errno_t OXIntToStrW(int value, wchar_t* dst, size_t size, int radix) { return _itow_s(value, dst, size, radix); }

errno_t OXLongToStrW(LONG value, wchar_t* dst, size_t size, int radix) { return _ltow_s(value, dst, size, radix); }

errno_t OXIntToStrA(int value, char* dst, size_t size, int radix)
{
    if (dst == nullptr || size == 0)
        return Err(EINVAL);
    // 32 binary digits, a sign and the terminator: a wider buffer changes nothing.
    constexpr size_t kLongest = 34;
    wchar_t wide[kLongest];
    const size_t room = size < kLongest ? size : kLongest;
    const errno_t e = _itow_s(value, wide, room, radix);
    if (e != 0)
        return Fail(dst, size, e);
    for (size_t i = 0;; ++i) {
        dst[i] = static_cast<char>(wide[i]); // digits, letters and '-': ASCII
        if (wide[i] == L'\0')
            break;
    }
    return 0;
}

// ---- tokens and paths ---------------------------------------------------------------------

wchar_t* OXStrTokW(wchar_t* str, const wchar_t* delimiters, wchar_t** context)
{
    if (context == nullptr || delimiters == nullptr || (str == nullptr && *context == nullptr)) {
        errno = EINVAL;
        return nullptr;
    }
    wchar_t* s = str ? str : *context;
    s += std::wcsspn(s, delimiters);
    if (*s == L'\0') {
        *context = s;
        return nullptr;
    }
    wchar_t* token = s;
    s += std::wcscspn(s, delimiters);
    if (*s != L'\0')
        *s++ = L'\0';
    *context = s;
    return token;
}

errno_t OXSplitPathW(const wchar_t* path, wchar_t* drive, size_t driveSize, wchar_t* dir, size_t dirSize,
    wchar_t* name, size_t nameSize, wchar_t* ext, size_t extSize)
{
    struct Part {
        wchar_t* buf;
        size_t size;
        const wchar_t* from = nullptr;
        size_t length = 0;
    };
    Part parts[4] = {{drive, driveSize}, {dir, dirSize}, {name, nameSize}, {ext, extSize}};
    auto clearAll = [&] {
        for (Part& p : parts) {
            if (p.buf && p.size > 0)
                p.buf[0] = L'\0';
        }
    };
    bool badBuffer = false;
    for (const Part& p : parts)
        badBuffer = badBuffer || ((p.buf == nullptr) != (p.size == 0));
    if (path == nullptr || badBuffer) {
        clearAll();
        return Err(EINVAL);
    }
    const wchar_t* p = path;
    if (p[0] != L'\0' && p[1] == L':') {
        parts[0].from = p;
        parts[0].length = 2;
        p += 2;
    }
    const wchar_t* lastSep = nullptr;
    for (const wchar_t* q = p; *q; ++q) {
        if (*q == L'\\' || *q == L'/')
            lastSep = q;
    }
    const wchar_t* file = p;
    if (lastSep) {
        parts[1].from = p;
        parts[1].length = static_cast<size_t>(lastSep + 1 - p);
        file = lastSep + 1;
    }
    const wchar_t* dot = std::wcsrchr(file, L'.');
    const size_t fileLength = std::wcslen(file);
    parts[2].from = file;
    parts[2].length = dot ? static_cast<size_t>(dot - file) : fileLength;
    if (dot) {
        parts[3].from = dot;
        parts[3].length = fileLength - parts[2].length;
    }
    for (const Part& part : parts) {
        if (part.buf && part.length + 1 > part.size) {
            clearAll();
            return Err(ERANGE);
        }
    }
    for (Part& part : parts) {
        if (!part.buf)
            continue;
        if (part.length)
            std::wmemcpy(part.buf, part.from, part.length);
        part.buf[part.length] = L'\0';
    }
    return 0;
}

// ---- the environment ------------------------------------------------------------------------

wchar_t* OXGetEnvW(const wchar_t* name)
{
    if (name == nullptr || *name == L'\0')
        return nullptr;
    // First the size (terminator included), then the value into a buffer of that size.
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        // 0 is also the answer for a variable set to nothing.
        if (::GetLastError() != ERROR_SUCCESS)
            return nullptr;
        size = 1;
    }
    auto buffer = std::make_unique<wchar_t[]>(size);
    const DWORD copied = ::GetEnvironmentVariableW(name, buffer.get(), size);
    if (copied >= size) // grown in between
        return nullptr;
    return buffer.release();
}
