#pragma once
// CList and the class library's list classes: doubly linked lists whose POSITION is the
// address of a node, so a position stays valid while other elements are added or
// removed. A null POSITION where a node is needed, and RemoveHead/RemoveTail/GetHead/
// GetTail on an empty list, throw CInvalidArgException.

#include <memory>
#include <utility>

#include "platform/base/coll_helpers.h"
#include "platform/base/coll_position.h"
#include "platform/base/coll_serialize.h"
#include "platform/base/object.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    using BASE_TYPE = TYPE;
    using BASE_ARG_TYPE = ARG_TYPE;

    // Nodes are allocated one by one; the block size is accepted for compatibility.
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // ---- head and tail (empty list: CInvalidArgException) ----
    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }
    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE newElement) { return InsertNode(nullptr, m_pNodeHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertNode(m_pNodeTail, nullptr, newElement); }
    // Adds copies of every element of pNewList (may be this list), keeping their order.
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);
    void RemoveAll();

    // ---- iteration ----
    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    // Return the element at rPosition and move rPosition to the next (previous) node,
    // null after the last (first) one.
    TYPE& GetNext(POSITION& rPosition) { return Advance(rPosition, true)->data; }
    const TYPE& GetNext(POSITION& rPosition) const { return Advance(rPosition, true)->data; }
    TYPE& GetPrev(POSITION& rPosition) { return Advance(rPosition, false)->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { return Advance(rPosition, false)->data; }

    // ---- by position (null position: CInvalidArgException) ----
    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { FromPosition(pos)->data = newElement; }
    void RemoveAt(POSITION position);
    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // ---- searching ----
    // The first node after startAfter (from the head when null) whose element equals
    // searchValue (CompareElements); null when none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    // The node at a zero-based index; null when out of range.
    POSITION FindIndex(INT_PTR nIndex) const;

    // The count, then the elements from head to tail through SerializeElements.
    // Loading adds the stored elements at the tail: values only once all of them are
    // read (a failure leaves the list as it was); CObject pointers as they are read, so
    // every object loaded before a failure is in the list for its owner to free.
    void Serialize(CArchive& ar) override;

protected:
    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;

private:
    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* FromPosition(POSITION pos)
    {
        if (!pos || pos == BEFORE_START_POSITION)
            AfxThrowInvalidArgException(L"invalid list position");
        return reinterpret_cast<CNode*>(pos);
    }
    static CNode* NonEmpty(CNode* pNode)
    {
        if (!pNode)
            AfxThrowInvalidArgException(L"list is empty");
        return pNode;
    }
    CNode* Advance(POSITION& rPosition, bool forward) const
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(forward ? pNode->pNext : pNode->pPrev);
        return pNode;
    }
    // Links a new node holding a copy of newElement between pPrev and pNext (adjacent
    // nodes, or null at either end).
    POSITION InsertNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
    {
        CNode* pNode = zyn::base::Allocating([&] { return new CNode{pNext, pPrev, TYPE(newElement)}; });
        (pPrev ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return ToPosition(pNode);
    }
    // Moves every node of other to this list's tail.
    void SpliceTail(CList& other) noexcept
    {
        if (!other.m_pNodeHead)
            return;
        other.m_pNodeHead->pPrev = m_pNodeTail;
        (m_pNodeTail ? m_pNodeTail->pNext : m_pNodeHead) = other.m_pNodeHead;
        m_pNodeTail = other.m_pNodeTail;
        m_nCount += other.m_nCount;
        other.m_pNodeHead = other.m_pNodeTail = nullptr;
        other.m_nCount = 0;
    }
    void Unlink(CNode* pNode) noexcept
    {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        --m_nCount;
    }
};

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* pNode = NonEmpty(m_pNodeHead);
    TYPE value(std::move(pNode->data));
    Unlink(pNode);
    delete pNode;
    return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* pNode = NonEmpty(m_pNodeTail);
    TYPE value(std::move(pNode->data));
    Unlink(pNode);
    delete pNode;
    return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    if (!pNewList)
        AfxThrowInvalidArgException(L"no list to add");
    // Walk a fixed count from the tail back, so adding a list to itself terminates.
    CNode* pNode = pNewList->m_pNodeTail;
    for (INT_PTR n = pNewList->m_nCount; n > 0; --n, pNode = pNode->pPrev)
        AddHead(pNode->data);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    if (!pNewList)
        AfxThrowInvalidArgException(L"no list to add");
    CNode* pNode = pNewList->m_pNodeHead;
    for (INT_PTR n = pNewList->m_nCount; n > 0; --n, pNode = pNode->pNext)
        AddTail(pNode->data);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* pNode = m_pNodeHead;
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
    while (pNode) {
        CNode* pNext = pNode->pNext;
        delete pNode;
        pNode = pNext;
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* pNode = FromPosition(position);
    Unlink(pNode);
    delete pNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    if (!position)
        return AddHead(newElement);
    CNode* pNode = FromPosition(position);
    return InsertNode(pNode->pPrev, pNode, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    if (!position)
        return AddTail(newElement);
    CNode* pNode = FromPosition(position);
    return InsertNode(pNode, pNode->pNext, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter ? FromPosition(startAfter)->pNext : m_pNodeHead;
    for (; pNode; pNode = pNode->pNext) {
        if (CompareElements(std::addressof(pNode->data), std::addressof(searchValue)))
            return ToPosition(pNode);
    }
    return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    CNode* pNode;
    if (nIndex < m_nCount / 2) {
        pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
    } else {
        pNode = m_pNodeTail;
        for (INT_PTR n = m_nCount - 1 - nIndex; n > 0; --n)
            pNode = pNode->pPrev;
    }
    return ToPosition(pNode);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if constexpr (zyn::base::kUnserialisable<TYPE>)
        AfxThrowNotSupportedException(L"a list of pointers cannot be serialised");
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        for (CNode* pNode = m_pNodeHead; pNode; pNode = pNode->pNext)
            SerializeElements<TYPE>(ar, std::addressof(pNode->data), 1);
        return;
    }
    DWORD_PTR nCount = zyn::base::ReadElementCount(ar, zyn::base::MinStoredSize<TYPE>());
    if constexpr (zyn::base::kHoldsObjects<TYPE>) {
        for (; nCount > 0; --nCount) {
            TYPE pOb{};
            SerializeElements<TYPE>(ar, std::addressof(pOb), 1);
            AddTail(pOb);
        }
    } else {
        CList loaded;
        for (; nCount > 0; --nCount) {
            TYPE value{};
            SerializeElements<TYPE>(ar, std::addressof(value), 1);
            loaded.AddTail(value);
        }
        SpliceTail(loaded);
    }
}

// ---- the class library's non-template lists ---------------------------------------

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

// A list of typed pointers over CObList or CPtrList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
    using Base = BASE_CLASS;

public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return zyn::base::PtrRef<TYPE>(Base::GetHead()); }
    TYPE GetHead() const { return zyn::base::PtrCast<TYPE>(Base::GetHead()); }
    TYPE& GetTail() { return zyn::base::PtrRef<TYPE>(Base::GetTail()); }
    TYPE GetTail() const { return zyn::base::PtrCast<TYPE>(Base::GetTail()); }
    TYPE RemoveHead() { return zyn::base::PtrCast<TYPE>(Base::RemoveHead()); }
    TYPE RemoveTail() { return zyn::base::PtrCast<TYPE>(Base::RemoveTail()); }
    POSITION AddHead(TYPE newElement) { return Base::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return Base::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { Base::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { Base::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return zyn::base::PtrRef<TYPE>(Base::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return zyn::base::PtrCast<TYPE>(Base::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return zyn::base::PtrRef<TYPE>(Base::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return zyn::base::PtrCast<TYPE>(Base::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return zyn::base::PtrRef<TYPE>(Base::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return zyn::base::PtrCast<TYPE>(Base::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { Base::SetAt(pos, newElement); }
};
