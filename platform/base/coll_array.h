#pragma once
// CArray and the class library's array classes. Elements live in one contiguous block
// (GetData); the block grows by at least the grow-by count and geometrically, so a loop
// of Add calls stays linear. New elements are value-initialised (numbers and pointers
// read 0), removed ones are destroyed at once. A bad index throws CInvalidArgException.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/base/coll_helpers.h"
#include "platform/base/coll_serialize.h"
#include "platform/base/object.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    using BASE_TYPE = TYPE;
    using BASE_ARG_TYPE = ARG_TYPE;

    CArray() = default;
    ~CArray() override { Release(); }

    // ---- size ----
    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    // Grows (value-initialising) or shrinks (destroying) to nNewSize elements. nGrowBy
    // >= 0 sets the minimum number of slots added when the block must grow; -1 keeps it.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    // Gives back the slots beyond the current size.
    void FreeExtra();
    void RemoveAll() { Release(); }

    // ---- element access (bad index: CInvalidArgException) ----
    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // ---- growing ----
    // Sets the element, growing the array when nIndex is at or past its end.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    // Appends one element; returns its index.
    INT_PTR Add(ARG_TYPE newElement);
    // Appends a copy of every element of src (src may be this array); returns the index
    // of the first appended element.
    INT_PTR Append(const CArray& src);
    // Makes this array a copy of src.
    void Copy(const CArray& src);
    // Inserts nCount copies of newElement at nIndex, shifting the rest up; an index at or
    // past the end grows the array, value-initialising any gap.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    // Inserts every element of pNewArray (may be this array) at nStartIndex.
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
    // Removes nCount elements from nIndex, shifting the rest down.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

    // The count, then the elements through SerializeElements. Loading replaces the
    // contents: values only once all of them are read (a failure leaves the array as
    // it was); CObject pointers as they are read, so every object loaded before a
    // failure is in the array for its owner to free.
    void Serialize(CArchive& ar) override;

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0; // 0: grow by a share of the current size

private:
    static constexpr INT_PTR kMaxElements = static_cast<INT_PTR>(PTRDIFF_MAX / sizeof(TYPE));

    INT_PTR Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException(L"array index out of range");
        return nIndex;
    }
    static TYPE* Allocate(INT_PTR n)
    {
        if (n <= 0 || n > kMaxElements)
            AfxThrowInvalidArgException(L"array size out of range");
        return zyn::base::Allocating([n] { return std::allocator<TYPE>().allocate(static_cast<size_t>(n)); });
    }
    static void Deallocate(TYPE* p, INT_PTR n)
    {
        if (p)
            std::allocator<TYPE>().deallocate(p, static_cast<size_t>(n));
    }
    // Moves the elements into a block of nNewMax slots (nNewMax >= m_nSize > 0 or the
    // array is empty). On failure the array is unchanged.
    void Reallocate(INT_PTR nNewMax);
    void Swap(CArray& other) noexcept
    {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nMaxSize, other.m_nMaxSize);
    }
    void Release() noexcept
    {
        std::destroy_n(m_pData, m_nSize);
        Deallocate(m_pData, m_nMaxSize);
        m_pData = nullptr;
        m_nSize = 0;
        m_nMaxSize = 0;
    }
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax)
{
    TYPE* pNew = Allocate(nNewMax);
    try {
        if constexpr (std::is_nothrow_move_constructible_v<TYPE> || !std::is_copy_constructible_v<TYPE>)
            std::uninitialized_move_n(m_pData, m_nSize, pNew);
        else
            std::uninitialized_copy_n(m_pData, m_nSize, pNew);
    } catch (...) {
        Deallocate(pNew, nNewMax);
        throw;
    }
    std::destroy_n(m_pData, m_nSize);
    Deallocate(m_pData, m_nMaxSize);
    m_pData = pNew;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy)
{
    if (nNewSize < 0 || nNewSize > kMaxElements)
        AfxThrowInvalidArgException(L"array size out of range");
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        Release();
        return;
    }
    if (nNewSize > m_nMaxSize) {
        INT_PTR nNewMax;
        if (!m_pData) {
            nNewMax = std::max(nNewSize, m_nGrowBy);
        } else {
            // At least the grow-by count, and at least half the current size, so that
            // repeated growth costs amortised constant time per element.
            const INT_PTR nGrow = std::max({m_nGrowBy, m_nSize / 2, INT_PTR{4}});
            nNewMax = m_nMaxSize > kMaxElements - nGrow ? kMaxElements : m_nMaxSize + nGrow;
            nNewMax = std::max(nNewMax, nNewSize);
        }
        nNewMax = std::min(nNewMax, kMaxElements);
        Reallocate(nNewMax);
    }
    if (nNewSize > m_nSize)
        std::uninitialized_value_construct_n(m_pData + m_nSize, nNewSize - m_nSize);
    else
        std::destroy_n(m_pData + nNewSize, m_nSize - nNewSize);
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    if (m_nSize == 0)
        Release();
    else
        Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0 || nIndex >= kMaxElements)
        AfxThrowInvalidArgException(L"array index out of range");
    if (nIndex < m_nSize) {
        m_pData[nIndex] = newElement;
        return;
    }
    // newElement may be an element of this array: copy it before the block moves.
    TYPE value(newElement);
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement)
{
    const INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    const INT_PTR nOldSize = m_nSize;
    const INT_PTR nCount = src.m_nSize;
    if (nCount == 0)
        return nOldSize;
    if (nCount > kMaxElements - nOldSize)
        AfxThrowInvalidArgException(L"array size out of range");
    SetSize(nOldSize + nCount, -1);
    // When src is this array, its first nOldSize elements are still in place.
    std::copy_n(src.m_pData, nCount, m_pData + nOldSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    std::copy_n(src.m_pData, src.m_nSize, m_pData);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
        AfxThrowInvalidArgException(L"array index or count out of range");
    TYPE value(newElement); // may be an element of this array
    if (nIndex >= m_nSize) {
        if (nIndex > kMaxElements - nCount)
            AfxThrowInvalidArgException(L"array size out of range");
        SetSize(nIndex + nCount, -1);
    } else {
        const INT_PTR nOldSize = m_nSize;
        if (nOldSize > kMaxElements - nCount)
            AfxThrowInvalidArgException(L"array size out of range");
        SetSize(nOldSize + nCount, -1);
        std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    }
    std::fill_n(m_pData + nIndex, nCount, value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray)
{
    if (!pNewArray || nStartIndex < 0)
        AfxThrowInvalidArgException(L"no array to insert, or index out of range");
    const INT_PTR nCount = pNewArray->m_nSize;
    if (nCount == 0)
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->m_pData[0], nCount);
    std::copy_n(pNewArray->m_pData, nCount, m_pData + nStartIndex);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
        AfxThrowInvalidArgException(L"array index or count out of range");
    if (nCount == 0)
        return;
    std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    std::destroy_n(m_pData + m_nSize - nCount, nCount);
    m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if constexpr (zyn::base::kUnserialisable<TYPE>)
        AfxThrowNotSupportedException(L"an array of pointers cannot be serialised");
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nSize));
        SerializeElements<TYPE>(ar, m_pData, m_nSize);
        return;
    }
    const DWORD_PTR nStored = zyn::base::ReadElementCount(ar, zyn::base::MinStoredSize<TYPE>());
    if (nStored > static_cast<DWORD_PTR>(kMaxElements))
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    const INT_PTR nCount = static_cast<INT_PTR>(nStored);
    if constexpr (zyn::base::kHoldsObjects<TYPE>) {
        RemoveAll();
        for (INT_PTR i = 0; i < nCount; ++i) {
            TYPE pOb{};
            SerializeElements<TYPE>(ar, std::addressof(pOb), 1);
            Add(pOb);
        }
    } else {
        // Grown in steps, so a count that the data cannot back up (where the archive
        // cannot tell the length in advance) fails at the end of the data, not in a
        // huge allocation.
        constexpr INT_PTR kStep = 4096;
        CArray loaded;
        loaded.m_nGrowBy = m_nGrowBy;
        for (INT_PTR nDone = 0; nDone < nCount;) {
            const INT_PTR n = std::min(kStep, nCount - nDone);
            loaded.SetSize(nDone + n, -1);
            SerializeElements<TYPE>(ar, loaded.m_pData + nDone, n);
            nDone += n;
        }
        Swap(loaded);
    }
}

// ---- the class library's non-template arrays ------------------------------------

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    CObArray() = default;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    CDWordArray() = default;
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_SERIAL(CUIntArray)
public:
    CUIntArray() = default;
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    CWordArray() = default;
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    CByteArray() = default;
};

// An array of typed pointers over CObArray or CPtrArray: the same storage, with the
// element type of the pointers kept at compile time.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
    using Base = BASE_CLASS;
    using BaseElem = typename BASE_CLASS::BASE_TYPE;

public:
    TYPE GetAt(INT_PTR nIndex) const { return zyn::base::PtrCast<TYPE>(Base::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return zyn::base::PtrRef<TYPE>(Base::ElementAt(nIndex)); }
    const TYPE& ElementAt(INT_PTR nIndex) const { return zyn::base::PtrRef<TYPE>(Base::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { Base::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { Base::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return Base::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return Base::Append(src); }
    void Copy(const CTypedPtrArray& src) { Base::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) { Base::InsertAt(nIndex, newElement, nCount); }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) { Base::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const
    {
        static_assert(sizeof(TYPE) == sizeof(BaseElem));
        return reinterpret_cast<const TYPE*>(Base::GetData());
    }
    TYPE* GetData()
    {
        static_assert(sizeof(TYPE) == sizeof(BaseElem));
        return reinterpret_cast<TYPE*>(Base::GetData());
    }
};
