// The owning map of the view registry and the library's entry.
#include <memory>

#include "app/zyncmn_dll.h"
#include "model/ptr_map.h"
#include "model/view_info.h"
#include "platform/base/cstring.h"
#include "resources/resource.h"

namespace {

struct Counted {
    explicit Counted(int& live) : m_live(live) { ++m_live; }
    ~Counted() { --m_live; }
    int& m_live;
};

} // namespace

TEST(PtrMapTest, OwnsReplacesRemovesAndClears)
{
    int live = 0;
    {
        PtrMap<int, Counted> map;
        Counted* a = map.Set(2, std::make_unique<Counted>(live));
        map.Set(1, std::make_unique<Counted>(live));
        EXPECT_EQ(live, 2);
        EXPECT_EQ(map.Lookup(2), a);
        EXPECT_EQ(map.Set(3, nullptr), nullptr);  // nothing stored for null
        EXPECT_FALSE(map.Contains(3));
        map.Set(2, std::make_unique<Counted>(live));  // the old object is deleted
        EXPECT_EQ(live, 2);
        EXPECT_EQ(map.Pointers().size(), 2u);
        EXPECT_EQ(map.begin()->first, 1);  // in key order
        std::unique_ptr<Counted> taken = map.Remove(1);
        EXPECT_NE(taken, nullptr);
        EXPECT_EQ(map.Remove(1), nullptr);
        EXPECT_EQ(live, 2);  // handed back, not deleted
        taken.reset();
        EXPECT_EQ(live, 1);
        PtrMap<int, Counted> moved(std::move(map));
        EXPECT_EQ(moved.Size(), 1u);
        moved.Set(5, std::make_unique<Counted>(live));
        moved.Clear();
        EXPECT_EQ(live, 0);
        moved.Set(6, std::make_unique<Counted>(live));
    }
    EXPECT_EQ(live, 0);  // the map's end deletes what it holds
}

TEST(ViewInfoTest, ObjectTypesAndTheOpenFrame)
{
    CViewInfo info(56010, 7, nullptr, nullptr, {1, 2}, {3, 4});
    EXPECT_TRUE(info.ShowsObjectType(4));
    EXPECT_FALSE(info.ShowsObjectType(5));
    EXPECT_EQ(info.GetOpenFrame(), nullptr);
    info.SetOpenFrame(nullptr, reinterpret_cast<HWND>(0x1234));  // no frame object: nothing recorded
    EXPECT_EQ(info.GetOpenFrameHwnd(), nullptr);
}

TEST(ZyncmnDllTest, InitPutsTheCommonStringsInReach)
{
    EXPECT_TRUE(ZyncmnDLL::Init());
    EXPECT_TRUE(ZyncmnDLL::Init());  // again: nothing changes
    CString word;
    ASSERT_TRUE(word.LoadString(IDS_ZYN_DEVICE_DOOR));
    EXPECT_EQ(word, L"door");
}
