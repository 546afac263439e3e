#pragma once
// SerializeElements: how the collection templates store and load their elements
// through a CArchive. Strings use the archive's string form, CObject pointers its
// object form (checked against the element's class when loading), wchar_t and bool the
// archive's operators, other numbers and plain structures their bytes (little-endian).
// Other pointers cannot be stored; other element types need their own specialisation
// (template<> void SerializeElements<T>(CArchive& ar, T* pElements, INT_PTR nCount)).

#include <algorithm>
#include <climits>
#include <type_traits>

#include "platform/base/archive.h"
#include "platform/base/coll_helpers.h"
#include "platform/base/exception.h"
#include "platform/base/object.h"

namespace zyn::base {

// A pointer to a CObject-derived class: stored as an object.
template <class T>
inline constexpr bool kHoldsObjects =
    std::is_pointer_v<T> && std::is_base_of_v<CObject, std::remove_cv_t<std::remove_pointer_t<T>>>;

// A pointer of any other kind: an address means nothing in another process.
template <class T>
inline constexpr bool kUnserialisable = (std::is_pointer_v<T> && !kHoldsObjects<T>) || std::is_member_pointer_v<T>;

// The fewest bytes one stored element takes, to check a stored count against the data
// left before anything is allocated.
template <class T>
constexpr ULONGLONG MinStoredSize()
{
    if constexpr (kHoldsObjects<T> || std::is_same_v<T, wchar_t>)
        return 2; // an object tag / a UTF-16 unit
    else if constexpr ((std::is_arithmetic_v<T> || std::is_enum_v<T>) && !std::is_same_v<T, bool>)
        return sizeof(T);
    else
        return 1; // strings take at least their length byte; unknown forms at least a byte
}

// Reads a stored element count (elements of nBytesEach bytes at least) and checks that
// the data can still hold that many.
inline DWORD_PTR ReadElementCount(CArchive& ar, ULONGLONG nBytesEach)
{
    const DWORD_PTR nCount = ar.ReadCount();
    const ULONGLONG n = nCount;
    ar.CheckAvailable(n > ULLONG_MAX / nBytesEach ? ULLONG_MAX : n * nBytesEach);
    return nCount;
}

inline void WriteBytes(CArchive& ar, const void* p, size_t n)
{
    const BYTE* b = static_cast<const BYTE*>(p);
    while (n > 0) {
        const UINT k = static_cast<UINT>(std::min<size_t>(n, 0x40000000u));
        ar.Write(b, k);
        b += k;
        n -= k;
    }
}

inline void ReadBytes(CArchive& ar, void* p, size_t n)
{
    BYTE* b = static_cast<BYTE*>(p);
    while (n > 0) {
        const UINT k = static_cast<UINT>(std::min<size_t>(n, 0x40000000u));
        ar.EnsureRead(b, k);
        b += k;
        n -= k;
    }
}

} // namespace zyn::base

template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    using T = std::remove_cv_t<TYPE>;
    if (nCount <= 0)
        return;
    if constexpr (zyn::base::kIsCString<T> || std::is_same_v<T, wchar_t> || std::is_same_v<T, bool>) {
        if (ar.IsStoring()) {
            for (INT_PTR i = 0; i < nCount; ++i)
                ar << pElements[i];
        } else {
            for (INT_PTR i = 0; i < nCount; ++i)
                ar >> pElements[i];
        }
    } else if constexpr (zyn::base::kHoldsObjects<T>) {
        using O = std::remove_cv_t<std::remove_pointer_t<T>>;
        if (ar.IsStoring()) {
            for (INT_PTR i = 0; i < nCount; ++i)
                ar.WriteObject(pElements[i]);
        } else {
            // The archive checks the class when it is a serialisable one; any other
            // (CObject itself, a class with only DECLARE_DYNAMIC) is checked below.
            const CRuntimeClass* pClass = O::GetThisClass();
            if ((pClass->m_wSchema & ~VERSIONABLE_SCHEMA) == 0xFFFF)
                pClass = nullptr;
            for (INT_PTR i = 0; i < nCount; ++i) {
                CObject* pOb = ar.ReadObject(pClass);
                if constexpr (std::is_same_v<O, CObject>) {
                    pElements[i] = pOb;
                } else {
                    // O may also lack a run-time class of its own, so that the check
                    // was against a base: make sure the object really is an O.
                    O* pTyped = dynamic_cast<O*>(pOb);
                    if (pOb && !pTyped)
                        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
                    pElements[i] = pTyped;
                }
            }
        }
    } else if constexpr (zyn::base::kUnserialisable<T>) {
        AfxThrowNotSupportedException(L"pointers other than CObject pointers cannot be serialised");
    } else if constexpr (std::is_trivially_copyable_v<T>) {
        if (ar.IsStoring())
            zyn::base::WriteBytes(ar, pElements, static_cast<size_t>(nCount) * sizeof(T));
        else
            zyn::base::ReadBytes(ar, pElements, static_cast<size_t>(nCount) * sizeof(T));
    } else {
        AfxThrowNotSupportedException(L"this element type has no SerializeElements");
    }
}
