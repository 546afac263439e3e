#include "platform/suite/database/identifier.h"

namespace zyn::db {

namespace {

bool IsIdentStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; }
bool IsIdentChar(wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9'); }

// Parses one part at s[i]; advances i past it. False when it is not a valid part.
bool ParsePart(const wchar_t* s, size_t& i)
{
    const bool bracketed = s[i] == L'[';
    if (bracketed)
        ++i;
    if (!IsIdentStart(s[i]))
        return false;
    while (IsIdentChar(s[i]))
        ++i;
    if (bracketed) {
        if (s[i] != L']')
            return false;
        ++i;
    }
    return true;
}

} // namespace

bool IsPlainIdentifier(LPCWSTR name)
{
    if (!name || !*name)
        return false;
    size_t i = 0;
    for (int part = 0; part < 3; ++part) {
        if (!ParsePart(name, i))
            return false;
        if (name[i] == 0)
            return true;
        if (name[i] != L'.')
            return false;
        ++i;
    }
    return false;
}

CString Unbracketed(LPCWSTR name)
{
    CString out;
    for (const wchar_t* p = name; p && *p; ++p) {
        if (*p != L'[' && *p != L']')
            out.AppendChar(*p);
    }
    return out;
}

CString BareIdentifier(LPCWSTR name)
{
    if (!IsPlainIdentifier(name))
        return CString();
    const CString plain = Unbracketed(name);
    const int dot = plain.ReverseFind(L'.');
    return dot < 0 ? plain : plain.Mid(dot + 1);
}

CString UpperAscii(LPCWSTR text)
{
    CString out;
    for (const wchar_t* p = text; p && *p; ++p)
        out.AppendChar((*p >= L'a' && *p <= L'z') ? static_cast<wchar_t>(*p - 32) : *p);
    return out;
}

} // namespace zyn::db
