#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/base/coll_list.h"
#include "tests/collections/coll_test_util.h"

using zyn::test::ExpectInvalidArg;
using zyn::test::Tracked;

namespace {

template <class L>
std::vector<int> Forward(const L& l)
{
    std::vector<int> v;
    for (POSITION pos = l.GetHeadPosition(); pos;)
        v.push_back(l.GetNext(pos));
    return v;
}

template <class L>
std::vector<int> Backward(const L& l)
{
    std::vector<int> v;
    for (POSITION pos = l.GetTailPosition(); pos;)
        v.insert(v.begin(), l.GetPrev(pos));
    return v;
}

class CListItem : public CObject {
    DECLARE_DYNAMIC(CListItem)
public:
    explicit CListItem(int v) : n(v) {}
    int n;
};

} // namespace

IMPLEMENT_DYNAMIC(CListItem, CObject)

TEST(CList, PositionsStayValidAcrossInsertionsAndRemovalsElsewhere)
{
    CList<int, int> l;
    const POSITION p2 = l.AddTail(2);
    const POSITION p1 = l.AddHead(1);
    const POSITION p4 = l.AddTail(4);
    const POSITION p3 = l.InsertBefore(p4, 3);
    const POSITION p5 = l.InsertAfter(p4, 5);
    EXPECT_EQ(Forward(l), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Backward(l), Forward(l));
    EXPECT_EQ(l.GetHeadPosition(), p1);
    EXPECT_EQ(l.GetTailPosition(), p5);

    for (int i = 0; i < 100; ++i) {
        l.AddHead(-i);
        l.AddTail(100 + i);
    }
    l.RemoveAt(p1);
    l.RemoveAt(p5);
    EXPECT_EQ(l.GetAt(p2), 2);
    EXPECT_EQ(l.GetAt(p3), 3);
    EXPECT_EQ(l.GetAt(p4), 4);
    l.SetAt(p3, 33);
    POSITION pos = p2;
    EXPECT_EQ(l.GetNext(pos), 2);
    EXPECT_EQ(pos, p3);
    EXPECT_EQ(l.GetNext(pos), 33);
    EXPECT_EQ(l.GetNext(pos), 4);
    EXPECT_EQ(l.GetNext(pos), 100);
    EXPECT_EQ(l.GetCount(), 203);
    EXPECT_EQ(l.GetSize(), 203);

    // A null position inserts at the ends.
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    l.InsertAfter(nullptr, 2);
    l.InsertBefore(nullptr, 1);
    l.InsertAfter(nullptr, 3);
    EXPECT_EQ(Forward(l), (std::vector<int>{1, 2, 3}));
}

TEST(CList, HeadAndTailOperations)
{
    CList<int, int> l;
    ExpectInvalidArg([&] { l.RemoveHead(); }, "RemoveHead on empty");
    ExpectInvalidArg([&] { l.RemoveTail(); }, "RemoveTail on empty");
    ExpectInvalidArg([&] { (void)l.GetHead(); }, "GetHead on empty");
    ExpectInvalidArg([&] { (void)l.GetTail(); }, "GetTail on empty");
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    EXPECT_EQ(l.GetTailPosition(), nullptr);
    for (int i = 1; i <= 4; ++i)
        l.AddTail(i);
    EXPECT_EQ(l.GetHead(), 1);
    EXPECT_EQ(l.GetTail(), 4);
    l.GetHead() = 10;
    EXPECT_EQ(l.RemoveHead(), 10);
    EXPECT_EQ(l.RemoveTail(), 4);
    EXPECT_EQ(Forward(l), (std::vector<int>{2, 3}));
    EXPECT_EQ(l.RemoveTail(), 3);
    EXPECT_EQ(l.RemoveTail(), 2);
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    EXPECT_EQ(l.GetTailPosition(), nullptr);
}

TEST(CList, NullPositionsThrowInvalidArg)
{
    CList<int, int> l;
    l.AddTail(1);
    const CList<int, int>& cl = l;
    POSITION none = nullptr;
    ExpectInvalidArg([&] { (void)l.GetNext(none); }, "GetNext");
    ExpectInvalidArg([&] { (void)cl.GetPrev(none); }, "GetPrev");
    ExpectInvalidArg([&] { (void)l.GetAt(nullptr); }, "GetAt");
    ExpectInvalidArg([&] { l.SetAt(nullptr, 3); }, "SetAt");
    ExpectInvalidArg([&] { l.RemoveAt(nullptr); }, "RemoveAt");
    ExpectInvalidArg([&] { l.AddTail(nullptr); }, "AddTail(null list)");
    EXPECT_EQ(Forward(l), (std::vector<int>{1}));
}

TEST(CList, FindAndFindIndex)
{
    CList<int, int> l;
    for (int v : {5, 7, 5, 9, 5})
        l.AddTail(v);
    const POSITION first = l.Find(5);
    ASSERT_EQ(first, l.GetHeadPosition());
    const POSITION second = l.Find(5, first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second, l.FindIndex(2));
    const POSITION third = l.Find(5, second);
    EXPECT_EQ(third, l.GetTailPosition());
    EXPECT_EQ(l.Find(5, third), nullptr);
    EXPECT_EQ(l.Find(42), nullptr);
    EXPECT_EQ(l.GetAt(l.Find(9)), 9);

    for (INT_PTR i = 0; i < l.GetCount(); ++i) {
        POSITION pos = l.GetHeadPosition();
        for (INT_PTR k = 0; k < i; ++k)
            l.GetNext(pos);
        EXPECT_EQ(l.FindIndex(i), pos) << i;
    }
    EXPECT_EQ(l.FindIndex(5), nullptr);
    EXPECT_EQ(l.FindIndex(-1), nullptr);

    CStringList sl;
    sl.AddTail(L"Zürich");
    sl.AddTail(CString(L"Genève"));
    sl.AddHead(L"Bern");
    EXPECT_EQ(sl.GetAt(sl.Find(L"Genève")), L"Genève");
    EXPECT_EQ(sl.Find(L"genève"), nullptr) << "the comparison is exact";
    EXPECT_EQ(sl.Find(CString(L"Bern")), sl.GetHeadPosition());
}

TEST(CList, AddingWholeListsKeepsOrderAndTerminatesOnSelf)
{
    CList<int, int> a, b;
    a.AddTail(3);
    a.AddTail(4);
    b.AddTail(1);
    b.AddTail(2);
    a.AddHead(&b);
    EXPECT_EQ(Forward(a), (std::vector<int>{1, 2, 3, 4}));
    a.AddTail(&b);
    EXPECT_EQ(Forward(a), (std::vector<int>{1, 2, 3, 4, 1, 2}));
    b.AddTail(&b);
    EXPECT_EQ(Forward(b), (std::vector<int>{1, 2, 1, 2}));
    b.AddHead(&b);
    EXPECT_EQ(Forward(b), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(Backward(b), Forward(b));
}

TEST(CList, ElementLifetimes)
{
    Tracked::live = 0;
    {
        CList<Tracked> l;
        for (int i = 0; i < 10; ++i)
            l.AddTail(Tracked(i));
        EXPECT_EQ(Tracked::live, 10);
        EXPECT_EQ(l.RemoveHead().value, 0);
        EXPECT_EQ(Tracked::live, 9);
        l.RemoveAt(l.Find(Tracked(5)));
        EXPECT_EQ(Tracked::live, 8);
        l.InsertAfter(l.GetHeadPosition(), Tracked(-1));
        EXPECT_EQ(Tracked::live, 9);
    }
    EXPECT_EQ(Tracked::live, 0);

    CStringList sl;
    for (int i = 0; i < 20; ++i)
        sl.AddTail(L"a string long enough to need its own heap buffer");
    sl.RemoveHead();
    sl.RemoveTail();
    sl.RemoveAt(sl.FindIndex(5));
    EXPECT_EQ(sl.GetCount(), 17);
}

TEST(CList, NamedAndTypedPointerLists)
{
    CObList ob;
    CPtrList pl;
    CStringList sl;
    EXPECT_TRUE(ob.IsKindOf(RUNTIME_CLASS(CObList)));
    EXPECT_TRUE(pl.IsKindOf(RUNTIME_CLASS(CPtrList)));
    EXPECT_TRUE(sl.IsKindOf(RUNTIME_CLASS(CStringList)));
    EXPECT_FALSE(sl.IsKindOf(RUNTIME_CLASS(CObList)));

    std::vector<std::unique_ptr<CListItem>> owned;
    CTypedPtrList<CObList, CListItem*> items;
    for (int i = 0; i < 3; ++i) {
        owned.push_back(std::make_unique<CListItem>(i));
        items.AddTail(owned.back().get());
    }
    EXPECT_EQ(items.GetHead()->n, 0);
    EXPECT_EQ(items.GetTail()->n, 2);
    POSITION pos = items.GetHeadPosition();
    CListItem* p = items.GetNext(pos);
    EXPECT_EQ(p->n, 0);
    EXPECT_EQ(items.GetAt(pos)->n, 1);
    items.GetAt(pos) = owned[2].get();
    EXPECT_EQ(items.GetNext(pos)->n, 2);
    EXPECT_EQ(items.Find(owned[0].get()), items.GetHeadPosition());
    EXPECT_EQ(items.RemoveTail()->n, 2);
    EXPECT_EQ(items.RemoveHead()->n, 0);
    EXPECT_EQ(items.GetCount(), 1);

    CTypedPtrList<CObList, CListItem*> more;
    more.AddTail(owned[1].get());
    items.AddHead(&more);
    EXPECT_EQ(items.GetCount(), 2);
    EXPECT_TRUE(items.GetHead()->IsKindOf(RUNTIME_CLASS(CListItem)));

    CTypedPtrList<CPtrList, int*> ints;
    int x = 1, y = 2;
    ints.AddTail(&x);
    ints.AddHead(&y);
    EXPECT_EQ(*ints.GetHead(), 2);
    EXPECT_EQ(*ints.RemoveTail(), 1);
}
