#include <gtest/gtest.h>

#include <vector>

#include "platform/base/afxcoll.h"
#include "platform/base/archive.h"
#include "platform/base/memfile.h"
#include "tests/collections/coll_test_util.h"

namespace {

using Bytes = std::vector<BYTE>;

// Stores one object through an archive on a memory file; returns the bytes.
Bytes Store(CObject& ob)
{
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    ob.Serialize(ar);
    ar.Close();
    Bytes bytes(static_cast<size_t>(f.GetLength()));
    f.SeekToBegin();
    f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

void Load(CObject& ob, Bytes bytes)
{
    CMemFile f(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&f, CArchive::load);
    ob.Serialize(ar);
}

// Loads and expects a CArchiveException of the given cause (or any CException class
// when cause is -1 and pClass names it).
void ExpectLoadFails(CObject& ob, const Bytes& bytes, const CRuntimeClass* pClass, int cause = -1)
{
    try {
        Load(ob, bytes);
        ADD_FAILURE() << "loaded";
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(pClass)) << e->GetRuntimeClass()->m_lpszClassName;
        if (cause >= 0 && e->IsKindOf(RUNTIME_CLASS(CArchiveException))) {
            EXPECT_EQ(static_cast<CArchiveException*>(e)->m_cause, cause);
        }
        e->Delete();
    }
}

struct Pod {
    LONG a;
    WORD b;
    WORD c;
    bool operator==(const Pod&) const = default;
};

} // namespace

class CSerItem : public CObject {
    DECLARE_SERIAL(CSerItem)
public:
    CSerItem() = default;
    explicit CSerItem(LONG v) : n(v) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << n;
        else
            ar >> n;
    }
    LONG n = 0;
};
IMPLEMENT_SERIAL(CSerItem, CObject, 1)

class CSerOther : public CObject {
    DECLARE_SERIAL(CSerOther)
public:
    void Serialize(CArchive&) override {}
};
IMPLEMENT_SERIAL(CSerOther, CObject, 1)

TEST(CollectionSerialize, ArraysStoreTheirKnownLayout)
{
    CDWordArray dw;
    dw.Add(1);
    dw.Add(0xA1B2C3D4u);
    EXPECT_EQ(Store(dw), (Bytes{0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0xD4, 0xC3, 0xB2, 0xA1}));

    CWordArray w;
    w.Add(0x1234);
    EXPECT_EQ(Store(w), (Bytes{0x01, 0x00, 0x34, 0x12}));

    CByteArray b;
    b.Add(7);
    b.Add(8);
    EXPECT_EQ(Store(b), (Bytes{0x02, 0x00, 7, 8}));

    // A string: the wide marker, its length in UTF-16 units, the units.
    CStringArray s;
    s.Add(L"a\U0001F600");
    EXPECT_EQ(Store(s), (Bytes{0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x03, 'a', 0x00, 0x3D, 0xD8, 0x00, 0xDE}));

    CStringList sl;
    sl.AddTail(L"x");
    EXPECT_EQ(Store(sl), (Bytes{0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'x', 0x00}));

    CMapStringToString m;
    m.SetAt(L"k", L"v");
    EXPECT_EQ(Store(m), (Bytes{0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'k', 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'v', 0x00}));
}

TEST(CollectionSerialize, ValueCollectionsRoundTrip)
{
    CStringArray s;
    s.Add(L"");
    s.Add(L"Größe 東京 \U0001F600");
    s.Add(CString(L'x', 300));
    CStringArray s2;
    s2.Add(L"replaced");
    Load(s2, Store(s));
    ASSERT_EQ(s2.GetSize(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s2[i], s[i]);

    CUIntArray u;
    for (UINT i = 0; i < 10000; ++i)
        u.Add(i * 2654435761u);
    CUIntArray u2;
    Load(u2, Store(u));
    ASSERT_EQ(u2.GetSize(), 10000);
    EXPECT_EQ(u2[9999], 9999u * 2654435761u);

    CArray<Pod> pods;
    pods.Add(Pod{-5, 1, 2});
    pods.Add(Pod{7, 0xFFFF, 0});
    CArray<Pod> pods2;
    Load(pods2, Store(pods));
    ASSERT_EQ(pods2.GetSize(), 2);
    EXPECT_EQ(pods2[0], pods[0]);
    EXPECT_EQ(pods2[1], pods[1]);

    CArray<wchar_t, wchar_t> chars;
    chars.Add(L'é');
    chars.Add(L'z');
    EXPECT_EQ(Store(chars), (Bytes{0x02, 0x00, 0xE9, 0x00, 'z', 0x00})) << "wchar_t is one UTF-16 unit";

    // A list loads at its tail.
    CStringList l;
    l.AddTail(L"one");
    l.AddTail(L"two");
    CStringList l2;
    l2.AddTail(L"zero");
    Load(l2, Store(l));
    ASSERT_EQ(l2.GetCount(), 3);
    EXPECT_EQ(l2.GetHead(), L"zero");
    EXPECT_EQ(l2.GetTail(), L"two");

    // A map merges what it loads.
    CMapStringToString m;
    m.SetAt(L"Schlüssel", L"Wert");
    m.SetAt(L"鍵", L"値");
    CMapStringToString m2;
    m2.SetAt(L"鍵", L"old");
    m2.SetAt(L"kept", L"yes");
    Load(m2, Store(m));
    EXPECT_EQ(m2.GetCount(), 3);
    CString v;
    ASSERT_TRUE(m2.Lookup(L"鍵", v));
    EXPECT_EQ(v, L"値");
    ASSERT_TRUE(m2.Lookup(L"Schlüssel", v));
    EXPECT_EQ(v, L"Wert");

    CMap<int, int, CString, const CString&> im;
    im[-1] = L"minus one";
    im[1 << 20] = L"big";
    CMap<int, int, CString, const CString&> im2;
    Load(im2, Store(im));
    EXPECT_EQ(im2.GetCount(), 2);
    EXPECT_EQ(im2[-1], L"minus one");
}

TEST(CollectionSerialize, ObjectCollectionsRoundTrip)
{
    CSerItem a(1), b(2);
    CObArray obs;
    obs.Add(&a);
    obs.Add(nullptr);
    obs.Add(&b);
    obs.Add(&a); // stored once, referenced the second time
    CObArray loaded;
    Load(loaded, Store(obs));
    ASSERT_EQ(loaded.GetSize(), 4);
    EXPECT_EQ(loaded[1], nullptr);
    ASSERT_TRUE(loaded[0]->IsKindOf(RUNTIME_CLASS(CSerItem)));
    EXPECT_EQ(static_cast<CSerItem*>(loaded[0])->n, 1);
    EXPECT_EQ(static_cast<CSerItem*>(loaded[2])->n, 2);
    EXPECT_EQ(loaded[3], loaded[0]);
    delete loaded[0];
    delete loaded[2];

    CObList list;
    list.AddTail(&b);
    CObList list2;
    Load(list2, Store(list));
    ASSERT_EQ(list2.GetCount(), 1);
    CObject* p = list2.RemoveHead();
    EXPECT_EQ(static_cast<CSerItem*>(p)->n, 2);
    delete p;

    CMapStringToOb so;
    so.SetAt(L"a", &a);
    so.SetAt(L"b", &b);
    CMapStringToOb so2;
    Load(so2, Store(so));
    ASSERT_EQ(so2.GetCount(), 2);
    CObject* pa = nullptr;
    ASSERT_TRUE(so2.Lookup(L"a", pa));
    EXPECT_EQ(static_cast<CSerItem*>(pa)->n, 1);
    for (POSITION pos = so2.GetStartPosition(); pos;) {
        CString k;
        CObject* o = nullptr;
        so2.GetNextAssoc(pos, k, o);
        delete o;
    }

    CMapWordToOb wo;
    wo.SetAt(0xBEEF, &b);
    CMapWordToOb wo2;
    Load(wo2, Store(wo));
    CObject* pb = nullptr;
    ASSERT_TRUE(wo2.Lookup(0xBEEF, pb));
    EXPECT_EQ(static_cast<CSerItem*>(pb)->n, 2);
    delete pb;

    // An array typed to a class refuses an object of another class.
    CSerOther other;
    CArray<CObject*, CObject*> mixed;
    mixed.Add(&other);
    CArray<CSerItem*, CSerItem*> typed;
    ExpectLoadFails(typed, Store(mixed), RUNTIME_CLASS(CArchiveException), CArchiveException::badClass);
    EXPECT_TRUE(typed.IsEmpty());
}

TEST(CollectionSerialize, DamagedDataFailsAndKeepsValueCollectionsIntact)
{
    CStringArray s;
    s.Add(L"first");
    s.Add(L"second");
    Bytes bytes = Store(s);
    bytes.resize(bytes.size() - 3);
    CStringArray target;
    target.Add(L"keep me");
    ExpectLoadFails(target, bytes, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);
    ASSERT_EQ(target.GetSize(), 1);
    EXPECT_EQ(target[0], L"keep me");

    // A count far beyond the data fails before anything is allocated.
    const Bytes huge{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
    CDWordArray dw;
    ExpectLoadFails(dw, huge, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);
    CStringList sl;
    ExpectLoadFails(sl, huge, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);
    CMapStringToString m;
    m.SetAt(L"k", L"v");
    ExpectLoadFails(m, huge, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);
    EXPECT_EQ(m.GetCount(), 1);
    CObArray ob;
    ExpectLoadFails(ob, huge, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);

    // Truncated inside the second of three objects: the first stays for its owner.
    CSerItem a(1), b(2), c(3);
    CObArray obs;
    obs.Add(&a);
    obs.Add(&b);
    obs.Add(&c);
    Bytes obBytes = Store(obs);
    obBytes.resize(obBytes.size() - 8); // inside the second object
    CObArray partial;
    ExpectLoadFails(partial, obBytes, RUNTIME_CLASS(CArchiveException), CArchiveException::endOfFile);
    ASSERT_EQ(partial.GetSize(), 1);
    EXPECT_EQ(static_cast<CSerItem*>(partial[0])->n, 1);
    for (INT_PTR i = 0; i < partial.GetSize(); ++i) {
        ASSERT_NE(partial[i], nullptr);
        delete partial[i];
    }
}

TEST(CollectionSerialize, PointerCollectionsAreNotSerialisable)
{
    int x = 0;
    CPtrArray pa;
    pa.Add(&x);
    CPtrList pl;
    CMapPtrToPtr pp;
    CMapStringToPtr sp;
    for (CObject* ob : std::initializer_list<CObject*>{&pa, &pl, &pp, &sp}) {
        EXPECT_FALSE(ob->IsSerializable()) << ob->GetRuntimeClass()->m_lpszClassName;
        CMemFile f;
        CArchive ar(&f, CArchive::store);
        try {
            ob->Serialize(ar);
            ADD_FAILURE() << "stored " << ob->GetRuntimeClass()->m_lpszClassName;
        } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CNotSupportedException)));
            e->Delete();
        }
        ar.Abort();
    }
    CObArray ob;
    CStringList sl;
    CMapStringToString ss;
    EXPECT_TRUE(ob.IsSerializable());
    EXPECT_TRUE(sl.IsSerializable());
    EXPECT_TRUE(ss.IsSerializable());
}
