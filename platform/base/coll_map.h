#pragma once
// CMap and the class library's map classes: hash tables with chained buckets. Every
// association is also linked in the order of insertion, and GetStartPosition/
// GetNextAssoc walk that order, so an iteration visits each element exactly once
// however the table grows, and the element just returned may be removed before the
// next step (GetNextAssoc has already moved past it). The bucket table grows when the
// map holds more than twice as many elements as buckets.
//
// Keys hash through HashKey<ARG_KEY>: text (CString, LPCWSTR, LPCSTR) hashes its
// characters, integers, enumerations and pointers their value. Specialise HashKey for
// other key types (template<> UINT HashKey<const CMyKey&>(const CMyKey& key)).

#include <memory>
#include <string>
#include <type_traits>

#include "platform/base/coll_helpers.h"
#include "platform/base/coll_position.h"
#include "platform/base/coll_serialize.h"
#include "platform/base/object.h"

namespace zyn::base {

// FNV-1a over the characters (as 32-bit code units, so equal text hashes equally
// whatever its string type).
template <class C>
inline UINT HashText(const C* p, size_t n)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<C>>(p[i]));
        for (int b = 0; b < 4; ++b) {
            h ^= c & 0xFFu;
            h *= 16777619u;
            c >>= 8;
        }
    }
    return h;
}

// Fibonacci hashing: spreads consecutive integers and aligned addresses over the table.
inline UINT HashInteger(uint64_t v)
{
    return static_cast<UINT>((v * 0x9E3779B97F4A7C15ull) >> 32);
}

template <class>
inline constexpr bool kNoHashKey = false;

} // namespace zyn::base

template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    using K = std::remove_cvref_t<ARG_KEY>;
    if constexpr (zyn::base::kIsCString<K>) {
        return zyn::base::HashText(key.GetString(), static_cast<size_t>(key.GetLength()));
    } else if constexpr (zyn::base::kIsTextPointer<K>) {
        using C = std::remove_cv_t<std::remove_pointer_t<K>>;
        return key ? zyn::base::HashText(key, std::char_traits<C>::length(key)) : zyn::base::HashText(key, 0);
    } else if constexpr (std::is_integral_v<K> || std::is_enum_v<K>) {
        return zyn::base::HashInteger(static_cast<uint64_t>(key));
    } else if constexpr (std::is_pointer_v<K>) {
        return zyn::base::HashInteger(reinterpret_cast<uintptr_t>(key));
    } else if constexpr (requires { std::hash<K>{}(key); }) {
        return zyn::base::HashInteger(static_cast<uint64_t>(std::hash<K>{}(key)));
    } else {
        static_assert(zyn::base::kNoHashKey<K>, "specialise HashKey for this key type");
        return 0;
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    using BASE_KEY = KEY;
    using BASE_ARG_KEY = ARG_KEY;
    using BASE_VALUE = VALUE;
    using BASE_ARG_VALUE = ARG_VALUE;

    // One association as PLookup and PGetFirstAssoc/PGetNextAssoc hand it out.
    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

protected:
    class CAssoc : public CPair {
    public:
        CAssoc(ARG_KEY keyval, UINT hash) : CPair(keyval), nHashValue(hash) {}
        CAssoc* pNextInBucket = nullptr;
        CAssoc* pNextAssoc = nullptr; // insertion order
        CAssoc* pPrevAssoc = nullptr;
        UINT nHashValue;
    };

public:
    // Associations are allocated one by one; the block size is accepted for compatibility.
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // ---- lookup ----
    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }

    // ---- adding and removing ----
    // The value stored under key, added (value-initialised) when the key is new.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    // ---- iteration ----
    // BEFORE_START_POSITION, or null when the map is empty.
    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    // Returns the association at rNextPosition and moves rNextPosition to the next one
    // (null after the last). A null position, or a start position of a map emptied
    // since, throws CInvalidArgException.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;
    const CPair* PGetFirstAssoc() const { return m_pHead; }
    CPair* PGetFirstAssoc() { return m_pHead; }
    const CPair* PGetNextAssoc(const CPair* pAssocRet) const { return NextOf(pAssocRet); }
    CPair* PGetNextAssoc(const CPair* pAssocRet) { return NextOf(pAssocRet); }

    // ---- hash table ----
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (0 is refused); existing elements are redistributed.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    // The count, then key and value of each association through SerializeElements.
    // Loading sets the stored associations into the map: values only once all of them
    // are read (a failure leaves the map as it was); CObject pointers as they are read,
    // so every object loaded before a failure is in the map for its owner to free.
    void Serialize(CArchive& ar) override;

protected:
    std::unique_ptr<CAssoc*[]> m_pHashTable;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CAssoc* m_pHead = nullptr;
    CAssoc* m_pTail = nullptr;
    INT_PTR m_nBlockSize;

    // The association of key, or null; gives the key's bucket and hash either way.
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const;

private:
    static constexpr UINT kMaxHashTableSize = 0x10000001u;

    CAssoc* Find(ARG_KEY key) const
    {
        UINT nBucket, nHash;
        return GetAssocAt(key, nBucket, nHash);
    }
    static CAssoc* NextOf(const CPair* pAssocRet)
    {
        if (!pAssocRet)
            AfxThrowInvalidArgException(L"invalid map association");
        return static_cast<const CAssoc*>(pAssocRet)->pNextAssoc;
    }
    // Puts every association into a fresh table of hashSize buckets; on failure
    // nothing changes.
    void Rebuild(UINT hashSize);
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(
    ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const
{
    nHashValue = HashKey<ARG_KEY>(key);
    nHashBucket = nHashValue % m_nHashTableSize;
    if (!m_pHashTable)
        return nullptr;
    for (CAssoc* p = m_pHashTable[nHashBucket]; p; p = p->pNextInBucket) {
        if (p->nHashValue == nHashValue && CompareElements(std::addressof(p->key), std::addressof(key)))
            return p;
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    const CAssoc* p = Find(key);
    if (!p)
        return FALSE;
    rValue = p->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Rebuild(UINT hashSize)
{
    auto table = zyn::base::Allocating([hashSize] { return std::make_unique<CAssoc*[]>(hashSize); });
    for (CAssoc* p = m_pHead; p; p = p->pNextAssoc) {
        CAssoc*& bucket = table[p->nHashValue % hashSize];
        p->pNextInBucket = bucket;
        bucket = p;
    }
    m_pHashTable = std::move(table);
    m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nBucket, nHash;
    if (CAssoc* p = GetAssocAt(key, nBucket, nHash))
        return p->value;
    if (!m_pHashTable)
        Rebuild(m_nHashTableSize);
    CAssoc* p = zyn::base::Allocating([&] { return new CAssoc(key, nHash); });
    p->pNextInBucket = m_pHashTable[nBucket];
    m_pHashTable[nBucket] = p;
    p->pPrevAssoc = m_pTail;
    (m_pTail ? m_pTail->pNextAssoc : m_pHead) = p;
    m_pTail = p;
    ++m_nCount;
    if (m_nCount / 2 > static_cast<INT_PTR>(m_nHashTableSize) && m_nHashTableSize < kMaxHashTableSize) {
        // A larger table only speeds look-ups: when memory is short, keep the old one.
        try {
            Rebuild(m_nHashTableSize * 2 + 1);
        } catch (CMemoryException* e) {
            e->Delete();
        }
    }
    return p->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (!m_pHashTable)
        return FALSE;
    const UINT nHash = HashKey<ARG_KEY>(key);
    for (CAssoc** pp = &m_pHashTable[nHash % m_nHashTableSize]; *pp; pp = &(*pp)->pNextInBucket) {
        CAssoc* p = *pp;
        if (p->nHashValue == nHash && CompareElements(std::addressof(p->key), std::addressof(key))) {
            *pp = p->pNextInBucket;
            (p->pPrevAssoc ? p->pPrevAssoc->pNextAssoc : m_pHead) = p->pNextAssoc;
            (p->pNextAssoc ? p->pNextAssoc->pPrevAssoc : m_pTail) = p->pPrevAssoc;
            --m_nCount;
            delete p;
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    CAssoc* p = m_pHead;
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
    m_pHashTable.reset();
    while (p) {
        CAssoc* pNext = p->pNextAssoc;
        delete p;
        p = pNext;
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    if (!rNextPosition)
        AfxThrowInvalidArgException(L"invalid map position");
    const CAssoc* p = rNextPosition == BEFORE_START_POSITION ? m_pHead : reinterpret_cast<const CAssoc*>(rNextPosition);
    if (!p)
        AfxThrowInvalidArgException(L"map is empty");
    rNextPosition = reinterpret_cast<POSITION>(p->pNextAssoc);
    rKey = p->key;
    rValue = p->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow)
{
    if (hashSize == 0 || hashSize > kMaxHashTableSize)
        AfxThrowInvalidArgException(L"hash table size out of range");
    if (m_nCount > 0 || bAllocNow) {
        Rebuild(hashSize);
    } else {
        m_pHashTable.reset();
        m_nHashTableSize = hashSize;
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if constexpr (zyn::base::kUnserialisable<KEY> || zyn::base::kUnserialisable<VALUE>)
        AfxThrowNotSupportedException(L"a map of pointers cannot be serialised");
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        for (CAssoc* p = m_pHead; p; p = p->pNextAssoc) {
            // Storing only reads the key.
            SerializeElements<KEY>(ar, const_cast<KEY*>(std::addressof(p->key)), 1);
            SerializeElements<VALUE>(ar, std::addressof(p->value), 1);
        }
        return;
    }
    DWORD_PTR nCount =
        zyn::base::ReadElementCount(ar, zyn::base::MinStoredSize<KEY>() + zyn::base::MinStoredSize<VALUE>());
    if constexpr (zyn::base::kHoldsObjects<KEY> || zyn::base::kHoldsObjects<VALUE>) {
        for (; nCount > 0; --nCount) {
            KEY key{};
            VALUE value{};
            SerializeElements<KEY>(ar, std::addressof(key), 1);
            SerializeElements<VALUE>(ar, std::addressof(value), 1);
            (*this)[key] = value;
        }
    } else {
        CMap loaded;
        for (; nCount > 0; --nCount) {
            KEY key{};
            VALUE value{};
            SerializeElements<KEY>(ar, std::addressof(key), 1);
            SerializeElements<VALUE>(ar, std::addressof(value), 1);
            loaded[key] = std::move(value);
        }
        for (CAssoc* p = loaded.m_pHead; p; p = p->pNextAssoc) {
            KEY key(p->key);
            (*this)[key] = std::move(p->value);
        }
    }
}

// ---- the class library's non-template maps ----------------------------------------

namespace zyn::base {

// The maps keyed by text: CString keys, LPCTSTR arguments.
template <class VALUE, class ARG_VALUE>
class StringKeyedMap : public CMap<CString, LPCTSTR, VALUE, ARG_VALUE> {
public:
    using CMap<CString, LPCTSTR, VALUE, ARG_VALUE>::CMap;
    // The map's own copy of a key equal to key; valid while the key stays in the map.
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const
    {
        const auto* p = this->PLookup(key);
        if (!p)
            return FALSE;
        rKey = p->key.GetString();
        return TRUE;
    }
};

} // namespace zyn::base

class CMapStringToPtr : public zyn::base::StringKeyedMap<void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : StringKeyedMap(nBlockSize) {}
};

class CMapStringToOb : public zyn::base::StringKeyedMap<CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : StringKeyedMap(nBlockSize) {}
};

class CMapStringToString : public zyn::base::StringKeyedMap<CString, LPCTSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : StringKeyedMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

// A map with typed keys and pointer values over one of the maps above
// (CTypedPtrMap<CMapStringToOb, CString, CMyObject*>, CTypedPtrMap<CMapPtrToPtr, HWND, CWnd*>).
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
    using Base = BASE_CLASS;

public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename Base::BASE_VALUE value{};
        if (!Base::Lookup(key, value))
            return FALSE;
        rValue = zyn::base::PtrCast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return zyn::base::PtrRef<VALUE>(Base::operator[](key)); }
    void SetAt(KEY key, VALUE newValue) { Base::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return Base::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename Base::BASE_KEY key{};
        typename Base::BASE_VALUE value{};
        Base::GetNextAssoc(rPosition, key, value);
        rKey = zyn::base::PtrCast<KEY>(key);
        rValue = zyn::base::PtrCast<VALUE>(value);
    }
};
