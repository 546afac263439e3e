#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/base/coll_array.h"
#include "tests/collections/coll_test_util.h"

using zyn::test::ExpectInvalidArg;
using zyn::test::Tracked;

namespace {

std::vector<int> Values(const CArray<int, int>& a)
{
    std::vector<int> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        v.push_back(a[i]);
    return v;
}

class CArrItem : public CObject {
    DECLARE_DYNAMIC(CArrItem)
public:
    explicit CArrItem(int v) : n(v) {}
    int n;
};

// A second base ahead of CObject, so CObject* and CArrMiItem* differ in address.
struct Padding {
    virtual ~Padding() = default;
    int pad = 7;
};
class CArrMiItem : public Padding, public CObject {
public:
    explicit CArrMiItem(int v) : n(v) {}
    int n;
};

} // namespace

IMPLEMENT_DYNAMIC(CArrItem, CObject)

TEST(CArray, SetSizeGrowsWithZeroedElementsAndShrinks)
{
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    a.SetSize(5);
    EXPECT_EQ(a.GetSize(), 5);
    EXPECT_EQ(a.GetCount(), 5);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 0, 0, 0, 0}));
    for (int i = 0; i < 5; ++i)
        a[i] = i + 1;
    a.SetSize(2);
    EXPECT_EQ(Values(a), (std::vector<int>{1, 2}));
    // Slots freed by shrinking come back value-initialised, not with their old values.
    a.SetSize(4);
    EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 0, 0}));
    a.SetSize(0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetData(), nullptr);
    ExpectInvalidArg([&] { a.SetSize(-1); }, "negative size");
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CArray, GrowByAndFreeExtraKeepContents)
{
    CArray<int, int> a;
    a.SetSize(0, 100);
    a.Add(1);
    const int* block = a.GetData();
    for (int i = 2; i <= 100; ++i)
        a.Add(i);
    EXPECT_EQ(a.GetData(), block) << "the grow-by count reserves room for 100 elements";
    a.Add(101);
    EXPECT_EQ(a.GetSize(), 101);
    a.FreeExtra();
    ASSERT_EQ(a.GetSize(), 101);
    for (int i = 0; i < 101; ++i)
        ASSERT_EQ(a[i], i + 1);
    // A long run of Add calls stays correct (and linear).
    CArray<int, int> big;
    for (int i = 0; i < 200000; ++i)
        big.Add(i);
    ASSERT_EQ(big.GetSize(), 200000);
    EXPECT_EQ(big[199999], 199999);
    EXPECT_EQ(big.GetData()[12345], 12345);
}

TEST(CArray, OutOfRangeAccessThrowsInvalidArg)
{
    CArray<int, int> a;
    a.Add(10);
    a.Add(20);
    const CArray<int, int>& ca = a;
    ExpectInvalidArg([&] { (void)a.GetAt(2); }, "GetAt past end");
    ExpectInvalidArg([&] { (void)a.GetAt(-1); }, "GetAt negative");
    ExpectInvalidArg([&] { (void)ca.GetAt(2); }, "const GetAt");
    ExpectInvalidArg([&] { a.SetAt(2, 1); }, "SetAt");
    ExpectInvalidArg([&] { (void)a.ElementAt(5); }, "ElementAt");
    ExpectInvalidArg([&] { (void)a[2]; }, "operator[]");
    ExpectInvalidArg([&] { (void)ca[-1]; }, "const operator[]");
    ExpectInvalidArg([&] { a.RemoveAt(2); }, "RemoveAt past end");
    ExpectInvalidArg([&] { a.RemoveAt(1, 2); }, "RemoveAt count past end");
    ExpectInvalidArg([&] { a.RemoveAt(-1); }, "RemoveAt negative");
    ExpectInvalidArg([&] { a.RemoveAt(0, -1); }, "RemoveAt negative count");
    ExpectInvalidArg([&] { a.InsertAt(-1, 5); }, "InsertAt negative");
    ExpectInvalidArg([&] { a.InsertAt(0, 5, 0); }, "InsertAt zero count");
    ExpectInvalidArg([&] { a.InsertAt(0, nullptr); }, "InsertAt null array");
    ExpectInvalidArg([&] { a.SetAtGrow(-1, 5); }, "SetAtGrow negative");
    // Nothing was lost on the way.
    EXPECT_EQ(Values(a), (std::vector<int>{10, 20}));
    a.RemoveAt(2, 0); // an empty range at the end is fine
    EXPECT_EQ(a.GetSize(), 2);
}

TEST(CArray, InsertAtAndRemoveAtShiftElements)
{
    CArray<int, int> a;
    for (int i = 0; i < 5; ++i)
        a.Add(i);
    a.InsertAt(2, 99, 3);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 99, 99, 99, 2, 3, 4}));
    a.RemoveAt(1, 4);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2, 3, 4}));
    a.RemoveAt(3);
    EXPECT_EQ(Values(a), (std::vector<int>{0, 2, 3}));
    a.InsertAt(0, -1);
    EXPECT_EQ(Values(a), (std::vector<int>{-1, 0, 2, 3}));
    // Past the end: the gap is value-initialised.
    a.InsertAt(6, 7, 2);
    EXPECT_EQ(Values(a), (std::vector<int>{-1, 0, 2, 3, 0, 0, 7, 7}));
    a.SetAtGrow(9, 5);
    EXPECT_EQ(Values(a), (std::vector<int>{-1, 0, 2, 3, 0, 0, 7, 7, 0, 5}));

    CArray<int, int> b;
    b.Add(100);
    b.Add(200);
    a.InsertAt(1, &b);
    EXPECT_EQ(a.GetSize(), 12);
    EXPECT_EQ(a[0], -1);
    EXPECT_EQ(a[1], 100);
    EXPECT_EQ(a[2], 200);
    EXPECT_EQ(a[3], 0);
}

TEST(CArray, CopyAppendAndSelfReferences)
{
    CArray<int, int> a, b;
    for (int i = 1; i <= 3; ++i)
        a.Add(i);
    b.Add(9);
    EXPECT_EQ(b.Append(a), 1);
    EXPECT_EQ(Values(b), (std::vector<int>{9, 1, 2, 3}));
    b.Copy(a);
    EXPECT_EQ(Values(b), (std::vector<int>{1, 2, 3}));
    b.Copy(b);
    EXPECT_EQ(Values(b), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.Append(a), 3);
    EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    b.InsertAt(1, &b);
    EXPECT_EQ(Values(b), (std::vector<int>{1, 1, 2, 3, 2, 3}));

    // Adding an element of the array itself while the block moves.
    CArray<CString> s;
    s.Add(L"first element, long enough to live on the heap");
    for (int i = 0; i < 50; ++i)
        s.Add(s[0]);
    for (INT_PTR i = 0; i < s.GetSize(); ++i)
        ASSERT_EQ(s[i], s[0]);
    s.InsertAt(0, s[s.GetUpperBound()], 40);
    EXPECT_EQ(s.GetSize(), 91);
    EXPECT_EQ(s[90], s[0]);
}

TEST(CArray, NonTrivialElementsAreConstructedAndDestroyedOnce)
{
    Tracked::live = 0;
    {
        CArray<Tracked> a;
        a.SetSize(10);
        EXPECT_EQ(Tracked::live, 10);
        a.SetSize(3);
        EXPECT_EQ(Tracked::live, 3);
        for (int i = 0; i < 100; ++i)
            a.Add(Tracked(i));
        EXPECT_EQ(Tracked::live, 103);
        a.InsertAt(5, Tracked(-1), 4);
        EXPECT_EQ(Tracked::live, 107);
        a.RemoveAt(0, 50);
        EXPECT_EQ(Tracked::live, 57);
        a.FreeExtra();
        EXPECT_EQ(Tracked::live, 57);
        CArray<Tracked> b;
        b.Copy(a);
        EXPECT_EQ(Tracked::live, 114);
        b.RemoveAll();
        EXPECT_EQ(Tracked::live, 57);
    }
    EXPECT_EQ(Tracked::live, 0);

    // Strings: ASan sees any leak or double free of their buffers.
    CStringArray sa;
    sa.SetSize(3);
    EXPECT_TRUE(sa[2].IsEmpty());
    sa[0] = L"alpha";
    sa.SetAt(1, L"beta");
    sa.Add(CString(L"gamma"));
    sa.InsertAt(1, L"inserted", 2);
    sa.RemoveAt(0);
    ASSERT_EQ(sa.GetSize(), 5);
    EXPECT_EQ(sa[0], L"inserted");
    EXPECT_EQ(sa[2], L"beta");
    EXPECT_EQ(sa[4], L"gamma");
    sa.SetSize(1);
    EXPECT_EQ(sa.GetSize(), 1);
}

TEST(CArray, NamedArraysHaveRuntimeClasses)
{
    CObArray ob;
    CPtrArray pa;
    CStringArray sa;
    CDWordArray dw;
    CUIntArray ui;
    CWordArray wa;
    CByteArray ba;
    EXPECT_TRUE(ob.IsKindOf(RUNTIME_CLASS(CObArray)));
    EXPECT_TRUE(ob.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(ob.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_TRUE(pa.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_TRUE(sa.IsKindOf(RUNTIME_CLASS(CStringArray)));
    EXPECT_TRUE(dw.IsKindOf(RUNTIME_CLASS(CDWordArray)));
    EXPECT_FALSE(dw.IsKindOf(RUNTIME_CLASS(CUIntArray)));
    EXPECT_TRUE(ui.IsKindOf(RUNTIME_CLASS(CUIntArray)));
    EXPECT_TRUE(wa.IsKindOf(RUNTIME_CLASS(CWordArray)));
    EXPECT_TRUE(ba.IsKindOf(RUNTIME_CLASS(CByteArray)));
    EXPECT_STREQ(dw.GetRuntimeClass()->m_lpszClassName, "CDWordArray");

    ba.Add(0xFF);
    ba.SetAtGrow(3, 0x7F);
    EXPECT_EQ(ba.GetSize(), 4);
    EXPECT_EQ(ba[0], 0xFF);
    EXPECT_EQ(ba[2], 0);
    wa.Add(0xFFFF);
    dw.Add(0xFFFFFFFFu);
    EXPECT_EQ(wa[0], 0xFFFF);
    EXPECT_EQ(dw[0], 0xFFFFFFFFu);
    pa.SetSize(2);
    EXPECT_EQ(pa[1], nullptr);
}

TEST(CArray, TypedPointerArrays)
{
    std::vector<std::unique_ptr<CArrItem>> owned;
    CTypedPtrArray<CObArray, CArrItem*> items;
    for (int i = 0; i < 4; ++i) {
        owned.push_back(std::make_unique<CArrItem>(i));
        items.Add(owned.back().get());
    }
    EXPECT_EQ(items.GetAt(2)->n, 2);
    EXPECT_EQ(items[3]->n, 3);
    items[0] = items[3];
    EXPECT_EQ(items.GetAt(0)->n, 3);
    items.ElementAt(1) = owned[2].get();
    EXPECT_EQ(items.GetData()[1]->n, 2);
    items.InsertAt(0, owned[1].get(), 2);
    EXPECT_EQ(items.GetSize(), 6);
    EXPECT_EQ(items[1]->n, 1);
    ExpectInvalidArg([&] { (void)items.GetAt(6); }, "typed GetAt");
    // Still a CObArray underneath.
    CObArray& base = items;
    EXPECT_TRUE(base.GetAt(0)->IsKindOf(RUNTIME_CLASS(CArrItem)));

    CTypedPtrArray<CPtrArray, int*> ints;
    int x = 5, y = 6;
    ints.Add(&x);
    ints.SetAtGrow(2, &y);
    EXPECT_EQ(*ints[0], 5);
    EXPECT_EQ(ints[1], nullptr);
    EXPECT_EQ(*ints.GetAt(2), 6);

    // A class whose CObject part is not at its start: the pointer comes back adjusted.
    CArrMiItem mi(42);
    CTypedPtrArray<CObArray, CArrMiItem*> mis;
    mis.Add(&mi);
    EXPECT_NE(static_cast<void*>(static_cast<CObject*>(&mi)), static_cast<void*>(&mi));
    EXPECT_EQ(mis.GetAt(0), &mi);
    EXPECT_EQ(mis.GetAt(0)->n, 42);
}
