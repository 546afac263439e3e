#pragma once
// GUIDs as COM uses them: the interface and class identifiers of the interfaces this
// layer defines, comparison, and the registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-
// XXXXXXXXXXXX}" (upper-case hexadecimal, 38 characters). Data1..Data3 print as numbers,
// Data4 as bytes in order, so the text reads the same on every byte order.
#include "platform/base/wintypes.h"

using LPGUID = GUID*;
using LPCLSID = CLSID*;
using LPIID = IID*;

constexpr bool IsEqualGUID(REFGUID a, REFGUID b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
constexpr bool IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
constexpr bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }

// The well-known interfaces: {0000xxxx-0000-0000-C000-000000000046} for the core ones.
namespace zyn::com::detail {
constexpr GUID CoreGuid(uint32_t data1) { return GUID{data1, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
} // namespace zyn::com::detail

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;
inline constexpr IID IID_IUnknown = zyn::com::detail::CoreGuid(0x00000000);
inline constexpr IID IID_IClassFactory = zyn::com::detail::CoreGuid(0x00000001);
inline constexpr IID IID_IMalloc = zyn::com::detail::CoreGuid(0x00000002);
inline constexpr IID IID_IStorage = zyn::com::detail::CoreGuid(0x0000000B);
inline constexpr IID IID_IStream = zyn::com::detail::CoreGuid(0x0000000C);
inline constexpr IID IID_IEnumFORMATETC = zyn::com::detail::CoreGuid(0x00000103);
inline constexpr IID IID_IEnumSTATDATA = zyn::com::detail::CoreGuid(0x00000105);
inline constexpr IID IID_IDataObject = zyn::com::detail::CoreGuid(0x0000010E);
inline constexpr IID IID_IAdviseSink = zyn::com::detail::CoreGuid(0x0000010F);
inline constexpr IID IID_IDropSource = zyn::com::detail::CoreGuid(0x00000121);
inline constexpr IID IID_IDropTarget = zyn::com::detail::CoreGuid(0x00000122);
inline constexpr IID IID_IDispatch = zyn::com::detail::CoreGuid(0x00020400);
inline constexpr IID IID_ISequentialStream{0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};

// Writes the braced text form with its terminator; the number of characters written
// including the terminator (39), or 0 when cchMax is too small (nothing is written then)
// or lpsz is null.
int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
// The braced text in memory from CoTaskMemAlloc (the caller frees it with CoTaskMemFree).
// E_INVALIDARG for a null out pointer; E_OUTOFMEMORY sets *lplpsz to null.
HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
HRESULT StringFromIID(REFIID rclsid, LPOLESTR* lplpsz);
// Reads a braced GUID (hexadecimal in either case) or, for CLSIDFromString, a ProgID of
// the class table. Anything else gives CO_E_CLASSSTRING (CO_E_IIDSTRING for IIDs) and
// CLSID_NULL in *pclsid. A null string gives CLSID_NULL and S_OK.
HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid);

namespace zyn::com {
// Parses exactly the braced form (38 characters); false leaves `out` untouched.
bool ParseBracedGuid(const wchar_t* text, GUID& out);
} // namespace zyn::com
