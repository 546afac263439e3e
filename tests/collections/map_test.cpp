#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/base/afxcoll.h"
#include "tests/collections/coll_test_util.h"

using zyn::test::ExpectInvalidArg;

namespace {

// Every key of the map as GetStartPosition/GetNextAssoc visit them, with the number of
// visits, so a test sees both omissions and repeats.
template <class M, class K, class V>
std::map<K, int> Visits(const M& m)
{
    std::map<K, int> seen;
    POSITION pos = m.GetStartPosition();
    while (pos) {
        K key{};
        V value{};
        m.GetNextAssoc(pos, key, value);
        ++seen[key];
    }
    return seen;
}

struct Point {
    int x, y;
    bool operator==(const Point&) const = default;
};

class CMapItem : public CObject {
    DECLARE_DYNAMIC(CMapItem)
public:
    explicit CMapItem(int v) : n(v) {}
    int n;
};

} // namespace

IMPLEMENT_DYNAMIC(CMapItem, CObject)

// A key type of the test's own: HashKey is specialised for it, as code does for its keys.
template <>
UINT HashKey<const Point&>(const Point& key)
{
    return static_cast<UINT>(key.x * 31 + key.y);
}

TEST(CMap, LookupSetAtAndOperatorIndex)
{
    CMap<int, int, CString, const CString&> m;
    EXPECT_TRUE(m.IsEmpty());
    CString s;
    EXPECT_FALSE(m.Lookup(1, s));
    EXPECT_FALSE(m.RemoveKey(1));
    EXPECT_EQ(m.GetStartPosition(), nullptr);
    m.SetAt(1, L"one");
    m[2] = L"two";
    EXPECT_TRUE(m[3].IsEmpty()) << "operator[] adds a value-initialised element";
    EXPECT_EQ(m.GetCount(), 3);
    EXPECT_EQ(m.GetSize(), 3);
    ASSERT_TRUE(m.Lookup(2, s));
    EXPECT_EQ(s, L"two");
    m.SetAt(2, L"deux");
    EXPECT_EQ(m.GetCount(), 3) << "SetAt of a present key replaces its value";
    ASSERT_TRUE(m.Lookup(2, s));
    EXPECT_EQ(s, L"deux");
    EXPECT_TRUE(m.RemoveKey(2));
    EXPECT_FALSE(m.RemoveKey(2));
    EXPECT_FALSE(m.Lookup(2, s));
    EXPECT_EQ(m.GetCount(), 2);

    CMap<int, int, int, int> nums;
    EXPECT_EQ(nums[77], 0);
    nums[-5] = 9;
    EXPECT_EQ(nums[-5], 9);

    auto* pair = m.PLookup(1);
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->key, 1);
    EXPECT_EQ(pair->value, L"one");
    pair->value = L"uno";
    EXPECT_EQ(m[1], L"uno");
    EXPECT_EQ(m.PLookup(99), nullptr);
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.PGetFirstAssoc(), nullptr);
    m[5] = L"five";
    EXPECT_EQ(m.GetCount(), 1);
}

TEST(CMap, IterationVisitsEveryElementOnceAlsoAfterRemovals)
{
    CMap<int, int, int, int> m;
    for (int i = 0; i < 500; ++i)
        m[i * 7] = i;
    auto seen = Visits<decltype(m), int, int>(m);
    ASSERT_EQ(seen.size(), 500u);
    for (const auto& [key, count] : seen)
        ASSERT_EQ(count, 1) << key;

    for (int i = 0; i < 500; i += 3)
        ASSERT_TRUE(m.RemoveKey(i * 7));
    seen = Visits<decltype(m), int, int>(m);
    EXPECT_EQ(static_cast<INT_PTR>(seen.size()), m.GetCount());
    for (const auto& [key, count] : seen) {
        ASSERT_EQ(count, 1) << key;
        ASSERT_NE((key / 7) % 3, 0) << key;
    }

    // PGetFirstAssoc/PGetNextAssoc walk the same elements.
    std::set<int> walked;
    for (auto* p = m.PGetFirstAssoc(); p; p = m.PGetNextAssoc(p))
        EXPECT_TRUE(walked.insert(p->key).second);
    EXPECT_EQ(static_cast<INT_PTR>(walked.size()), m.GetCount());
}

TEST(CMap, RemovingTheCurrentElementDuringIterationIsSafe)
{
    CMapStringToString m;
    for (int i = 0; i < 300; ++i) {
        CString k;
        k.Format(L"key%d", i);
        m.SetAt(k, L"value");
    }
    int visited = 0;
    POSITION pos = m.GetStartPosition();
    std::set<CString> keys;
    while (pos) {
        CString key, value;
        m.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(keys.insert(key).second) << "visited twice";
        ++visited;
        if (visited % 2 == 0) {
            EXPECT_TRUE(m.RemoveKey(key));
        }
    }
    EXPECT_EQ(visited, 300);
    EXPECT_EQ(m.GetCount(), 150);

    // Emptying the whole map on the way.
    pos = m.GetStartPosition();
    visited = 0;
    while (pos) {
        CString key, value;
        m.GetNextAssoc(pos, key, value);
        m.RemoveKey(key);
        ++visited;
    }
    EXPECT_EQ(visited, 150);
    EXPECT_TRUE(m.IsEmpty());

    // The first element removed after GetStartPosition: iteration starts at the next.
    m.SetAt(L"a", L"1");
    m.SetAt(L"b", L"2");
    pos = m.GetStartPosition();
    m.RemoveKey(L"a");
    CString key, value;
    m.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key, L"b");
    EXPECT_EQ(pos, nullptr);
}

TEST(CMap, InvalidPositionsThrowInvalidArg)
{
    CMap<int, int, int, int> m;
    int k = 0, v = 0;
    POSITION pos = nullptr;
    ExpectInvalidArg([&] { m.GetNextAssoc(pos, k, v); }, "null position");
    m[1] = 1;
    pos = m.GetStartPosition();
    m.RemoveAll();
    ExpectInvalidArg([&] { m.GetNextAssoc(pos, k, v); }, "start of an emptied map");
    ExpectInvalidArg([&] { (void)m.PGetNextAssoc(nullptr); }, "null association");
    ExpectInvalidArg([&] { m.InitHashTable(0); }, "empty hash table");
}

TEST(CMap, ManyKeysGrowTheTableAndStayReachable)
{
    CMap<DWORD, DWORD, DWORD, DWORD> m;
    EXPECT_EQ(m.GetHashTableSize(), 17u);
    for (DWORD i = 0; i < 100000; ++i)
        m[i * 16] = i;
    EXPECT_EQ(m.GetCount(), 100000);
    EXPECT_GT(m.GetHashTableSize(), 100000u / 4) << "the table grows with the element count";
    for (DWORD i = 0; i < 100000; ++i) {
        DWORD v = 0;
        ASSERT_TRUE(m.Lookup(i * 16, v)) << i;
        ASSERT_EQ(v, i);
    }
    EXPECT_FALSE(m.PLookup(17));

    CMap<int, int, int, int> sized;
    sized.InitHashTable(101);
    EXPECT_EQ(sized.GetHashTableSize(), 101u);
    for (int i = 0; i < 50; ++i)
        sized[i] = i;
    EXPECT_EQ(sized.GetHashTableSize(), 101u);
    sized.InitHashTable(7); // redistributes what is there
    EXPECT_EQ(sized.GetHashTableSize(), 7u);
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(sized[i], i);
    EXPECT_EQ(sized.GetCount(), 50);
}

TEST(CMap, TextKeysIncludingNonAscii)
{
    CMapStringToString m;
    const wchar_t* keys[] = {L"Straße", L"STRASSE", L"東京", L"Ελλάδα", L"emoji \U0001F600", L"", L"a\u0301", L"\u00e1"};
    int i = 0;
    for (const wchar_t* k : keys) {
        CString v;
        v.Format(L"%d", i++);
        m.SetAt(k, v);
    }
    EXPECT_EQ(m.GetCount(), 8) << "keys compare exactly: no case folding or normalisation";
    i = 0;
    for (const wchar_t* k : keys) {
        CString v, expected;
        expected.Format(L"%d", i++);
        ASSERT_TRUE(m.Lookup(k, v)) << i;
        EXPECT_EQ(v, expected);
        ASSERT_TRUE(m.Lookup(CString(k), v));
    }
    EXPECT_FALSE(m.PLookup(L"strasse"));
    EXPECT_FALSE(m.PLookup(L"emoji \U0001F601"));

    LPCTSTR stored = nullptr;
    ASSERT_TRUE(m.LookupKey(L"東京", stored));
    EXPECT_STREQ(stored, L"東京");
    EXPECT_FALSE(m.LookupKey(L"Kyoto", stored));

    // A null text key is the empty string.
    CString v;
    ASSERT_TRUE(m.Lookup(nullptr, v));
    EXPECT_EQ(v, L"5");
    m.SetAt(L"x", nullptr);
    ASSERT_TRUE(m.Lookup(L"x", v));
    EXPECT_TRUE(v.IsEmpty());

    auto seen = Visits<CMapStringToString, CString, CString>(m);
    EXPECT_EQ(seen.size(), 9u);

    // HashKey gives the same value for the same text whatever its string type.
    EXPECT_EQ(HashKey<LPCWSTR>(L"Ελλάδα"), HashKey<const CString&>(CString(L"Ελλάδα")));
    EXPECT_EQ(HashKey<LPCWSTR>(nullptr), HashKey<LPCWSTR>(L""));
}

TEST(CMap, CustomKeyTypeWithItsOwnHashKey)
{
    CMap<Point, const Point&, int, int> m;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 40; ++y)
            m[Point{x, y}] = x * 100 + y;
    EXPECT_EQ(m.GetCount(), 1600);
    int v = 0;
    ASSERT_TRUE(m.Lookup(Point{12, 34}, v));
    EXPECT_EQ(v, 1234);
    EXPECT_TRUE(m.RemoveKey(Point{12, 34}));
    EXPECT_FALSE(m.Lookup(Point{12, 34}, v));
}

TEST(CMap, NamedMapsAndTypedPointerMaps)
{
    CMapStringToPtr sp;
    CMapStringToOb so;
    CMapStringToString ss;
    CMapPtrToPtr pp;
    CMapPtrToWord pw;
    CMapWordToPtr wp;
    CMapWordToOb wo;
    EXPECT_TRUE(sp.IsKindOf(RUNTIME_CLASS(CMapStringToPtr)));
    EXPECT_TRUE(so.IsKindOf(RUNTIME_CLASS(CMapStringToOb)));
    EXPECT_TRUE(ss.IsKindOf(RUNTIME_CLASS(CMapStringToString)));
    EXPECT_TRUE(pp.IsKindOf(RUNTIME_CLASS(CMapPtrToPtr)));
    EXPECT_TRUE(pw.IsKindOf(RUNTIME_CLASS(CMapPtrToWord)));
    EXPECT_TRUE(wp.IsKindOf(RUNTIME_CLASS(CMapWordToPtr)));
    EXPECT_TRUE(wo.IsKindOf(RUNTIME_CLASS(CMapWordToOb)));
    EXPECT_FALSE(wo.IsKindOf(RUNTIME_CLASS(CMapWordToPtr)));

    int a = 1, b = 2;
    pp[&a] = &b;
    pw.SetAt(&b, 0xBEEF);
    wp.SetAt(0xFFFF, &a);
    void* out = nullptr;
    ASSERT_TRUE(pp.Lookup(&a, out));
    EXPECT_EQ(out, &b);
    WORD w = 0;
    ASSERT_TRUE(pw.Lookup(&b, w));
    EXPECT_EQ(w, 0xBEEF);
    ASSERT_TRUE(wp.Lookup(0xFFFF, out));
    EXPECT_EQ(out, &a);

    std::vector<std::unique_ptr<CMapItem>> owned;
    CTypedPtrMap<CMapStringToOb, CString, CMapItem*> byName;
    for (int i = 0; i < 5; ++i) {
        owned.push_back(std::make_unique<CMapItem>(i));
        CString name;
        name.Format(L"item %d", i);
        byName.SetAt(name, owned.back().get());
    }
    CMapItem* found = nullptr;
    ASSERT_TRUE(byName.Lookup(L"item 3", found));
    EXPECT_EQ(found->n, 3);
    byName[L"item 3"] = owned[4].get();
    ASSERT_TRUE(byName.Lookup(L"item 3", found));
    EXPECT_EQ(found->n, 4);
    EXPECT_TRUE(byName.RemoveKey(L"item 0"));
    int visits = 0;
    for (POSITION pos = byName.GetStartPosition(); pos;) {
        CString key;
        CMapItem* item = nullptr;
        byName.GetNextAssoc(pos, key, item);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->IsKindOf(RUNTIME_CLASS(CMapItem)));
        ++visits;
    }
    EXPECT_EQ(visits, 4);

    struct Node {
        int id;
    };
    Node n1{1}, n2{2};
    CTypedPtrMap<CMapPtrToPtr, int*, Node*> byAddress;
    byAddress.SetAt(&a, &n1);
    byAddress.SetAt(&b, &n2);
    Node* node = nullptr;
    ASSERT_TRUE(byAddress.Lookup(&b, node));
    EXPECT_EQ(node->id, 2);
    POSITION pos = byAddress.GetStartPosition();
    int* key = nullptr;
    byAddress.GetNextAssoc(pos, key, node);
    EXPECT_EQ(key, &a);
    EXPECT_EQ(node, &n1);

    CTypedPtrMap<CMapWordToPtr, WORD, Node*> byWord;
    byWord[7] = &n1;
    ASSERT_TRUE(byWord.Lookup(7, node));
    EXPECT_EQ(node, &n1);
}
