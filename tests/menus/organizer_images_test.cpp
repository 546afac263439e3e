// The organizer's images: the keys of its lists, an image set on a command that has one
// already, the images of the frame's toolbars, hot images, and Empty giving the menus
// back while their image records still exist.
#include "tests/afxgdi/resource_support.h"
#include "tests/menus/organizer_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT ID_A = 0x8401, ID_B = 0x8402, ID_C = 0x8403;
// Bitmap resources: three 16 x 16 images, and two.
constexpr UINT kThree = 31501, kTwo = 31502;

class OrganizerImagesTest : public OrganizerTest {
protected:
    void SetUp() override
    {
        OrganizerTest::SetUp();
        ASSERT_NE(m_module.get(), nullptr);
        auto dib = [](int w) { return PackedDib24(w, 16, [](int x, int) { return RGB(x * 5, 0, 128); }); };
        ASSERT_TRUE(base::AddResource(m_module.get(), RT_BITMAP, MAKEINTRESOURCE(kThree), 0, dib(48)));
        ASSERT_TRUE(base::AddResource(m_module.get(), RT_BITMAP, MAKEINTRESOURCE(kTwo), 0, dib(32)));
    }
    ChainedResourceModule m_module{L"ZynMenuOrganizerImages"};
};

TEST(OrganizerKeys, KeysTellNumbersNamesAndTheFlagApart)
{
    struct Row {
        CString key;
        std::wstring expected;
    };
    const Row rows[] = {
        {COXBitmapMenuOrganizer::GetUniqueResourceString(5u, TRUE), L"\x7F" L"5\x7F"},
        {COXBitmapMenuOrganizer::GetUniqueResourceString(5u, FALSE), L"\x7F" L"5\xFF80"},
        {COXBitmapMenuOrganizer::GetUniqueResourceString(static_cast<UINT>(-1), FALSE), L"\x7F" L"4294967295\xFF80"},
        {COXBitmapMenuOrganizer::GetUniqueResourceString(L"TOOLBAR", TRUE), L"TOOLBAR\x7F"},
        {COXBitmapMenuOrganizer::GetUniqueResourceString(MAKEINTRESOURCE(300), FALSE), L"\x7F" L"300\xFF80"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(std::wstring(row.key.GetString()), row.expected);
}

TEST_F(OrganizerImagesTest, AnImageSetOnACommandWithOneKeepsItsIndexAndDropsAHotImageBeyondTheNewList)
{
    struct Row {
        const char* what;
        UINT firstBitmap; // 0: the command shows only the default images (a popup showed it)
        int firstIndex;
        bool hot;
        UINT secondBitmap;
        int secondIndex;
        int index, hotIndex; // worked by hand
    };
    const Row rows[] = {
        {"a hot image beyond the new list", kThree, 2, true, kTwo, 0, 2, -1},
        {"a hot image inside the new list", kTwo, 1, true, kThree, 0, 1, 2},
        {"only the default images: the index asked for", 0, 0, false, kThree, 2, 2, -1},
    };
    for (const Row& row : rows) {
        COXBitmapMenuOrganizer organizer;
        EXPECT_FALSE(organizer.SetMenuImage(ID_A, kThree, 0, 16)) << row.what << ": no frame attached";
        ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
        if (row.firstBitmap) {
            ASSERT_TRUE(organizer.SetMenuImage(ID_A, row.firstBitmap, row.firstIndex, 16)) << row.what;
        } else {
            const HMENU popup = ::CreatePopupMenu();
            ::AppendMenuW(popup, MF_STRING, ID_A, L"&A");
            organizer.OnInitMenuPopup(CMenu::FromHandle(popup), 0, FALSE);
            organizer.Empty(TRUE);
            organizer.OnInitMenuPopup(CMenu::FromHandle(popup), 0, FALSE);
            ASSERT_TRUE(organizer.GetMenuItemImageInfo(ID_A)->IsDefaultImgList()) << row.what;
            EXPECT_FALSE(organizer.SetMenuHotImage(ID_A, kThree, 0, 16)) << row.what << ": not on the default list";
            EXPECT_EQ(organizer.GetDefaultImageList()->GetImageCount(), 2) << row.what;
            organizer.RestoreBitmapMenu(organizer.FindConvertedMenu(popup), TRUE);
            ::DestroyMenu(popup);
        }
        if (row.hot) {
            ASSERT_TRUE(organizer.SetMenuHotImage(ID_A, kThree, 0, 16)) << row.what;
        }
        COXImageInfo* record = organizer.GetMenuItemImageInfo(ID_A);
        ASSERT_TRUE(organizer.SetMenuImage(ID_A, row.secondBitmap, row.secondIndex, 16)) << row.what;
        EXPECT_EQ(organizer.GetMenuItemImageInfo(ID_A), record) << row.what << ": the same record";
        EXPECT_EQ(record->GetImageList(),
            organizer.GetImageList(COXBitmapMenuOrganizer::GetUniqueResourceString(MAKEINTRESOURCE(row.secondBitmap), TRUE)))
            << row.what;
        EXPECT_EQ(record->GetIndex(), row.index) << row.what;
        EXPECT_EQ(record->GetHotIndex(), row.hotIndex) << row.what;
        EXPECT_FALSE(record->IsDefaultImgList()) << row.what;
    }
}

TEST_F(OrganizerImagesTest, ABitmapThatDoesNotLoadChangesNothing)
{
    COXBitmapMenuOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    ASSERT_TRUE(organizer.SetMenuImage(ID_A, kThree, 1, 16));
    const CString key = COXBitmapMenuOrganizer::GetUniqueResourceString(MAKEINTRESOURCE(kThree), TRUE);
    EXPECT_FALSE(organizer.SetMenuImage(ID_A, 31599u, 0, 16));
    EXPECT_FALSE(organizer.SetMenuHotImage(ID_B, kThree, 0, 16)) << "no record for the command";
    EXPECT_EQ(organizer.GetImageList(key)->GetImageCount(), 3);
    EXPECT_EQ(organizer.GetMenuItemImageInfo(ID_A)->GetImageList(), organizer.GetImageList(key));
    EXPECT_EQ(organizer.GetMenuItemImageInfo(ID_B), nullptr);
}

// Two toolbars (and one without images) as the control-bar layer reports them.
class FakeToolBars : public COXToolBarImageAccess {
public:
    FakeToolBars()
    {
        auto make = [](int n) {
            const HIMAGELIST h = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, n, 0);
            ImageList_SetImageCount(h, static_cast<UINT>(n));
            return h;
        };
        m_normal1 = make(3);
        m_hot1 = make(3);
        m_normal2 = make(2);
        m_previous = OXSetToolBarImageAccess(this);
    }
    ~FakeToolBars() override
    {
        OXSetToolBarImageAccess(m_previous);
        for (const HIMAGELIST h : {m_normal1, m_hot1, m_normal2})
            ImageList_Destroy(h);
    }
    std::vector<OXTOOLBARIMAGES> GetToolBarImages(CFrameWnd*) override
    {
        return {OXTOOLBARIMAGES{nullptr, nullptr, {{ID_C, 5}}},
            OXTOOLBARIMAGES{m_normal1, m_hot1, {{ID_A, 0}, {ID_B, 2}}},
            OXTOOLBARIMAGES{m_normal2, nullptr, {{ID_B, 1}, {ID_C, 0}}}};
    }

private:
    HIMAGELIST m_normal1, m_hot1, m_normal2;
    COXToolBarImageAccess* m_previous;
};

TEST_F(OrganizerImagesTest, EachToolbarGivesItsButtonsCommandsTheirImages)
{
    COXBitmapMenuOrganizer organizer;
    EXPECT_FALSE(organizer.AutoSetMenuImage()) << "no frame attached";
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    ASSERT_TRUE(organizer.SetMenuImage(ID_A, kThree, 1, 16));
    FakeToolBars bars;
    ASSERT_TRUE(organizer.AutoSetMenuImage());
    CImageList* first = organizer.GetImageList(L"1");
    CImageList* second = organizer.GetImageList(L"2");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetImageCount(), 6) << "three images and their three hot ones after them";
    EXPECT_EQ(second->GetImageCount(), 2);
    EXPECT_EQ(organizer.GetImageList(L"3"), nullptr);
    EXPECT_EQ(organizer.GetImageList(COXBitmapMenuOrganizer::GetUniqueResourceString(MAKEINTRESOURCE(kThree), TRUE)),
        nullptr)
        << "what was set before is gone";
    struct Row {
        UINT id;
        CImageList* list;
        int index, hot;
    };
    // ID_A: bar 1, image 0, its hot image 0 at 3 + 0. ID_B: the last bar's image 1, no
    // hot images there. ID_C: bar 2.
    for (const Row& row : {Row{ID_A, first, 0, 3}, Row{ID_B, second, 1, -1}, Row{ID_C, second, 0, -1}}) {
        const COXImageInfo* record = organizer.GetMenuItemImageInfo(row.id);
        ASSERT_NE(record, nullptr) << row.id;
        EXPECT_EQ(record->GetImageList(), row.list) << row.id;
        EXPECT_EQ(record->GetIndex(), row.index) << row.id;
        EXPECT_EQ(record->GetHotIndex(), row.hot) << row.id;
        EXPECT_FALSE(record->IsDefaultImgList()) << row.id;
    }
}

// Checks, as each menu is given back, that its items' image records still exist.
class WatchingOrganizer : public COXBitmapMenuOrganizer {
public:
    int restored = 0;
    int withImages = 0;
    void RestoreBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bRestoreItems) override
    {
        ++restored;
        if (GetMenuItemImageInfo(ID_O_UNDO) && GetMenuItemImageInfo(ID_O_REDO))
            ++withImages;
        COXBitmapMenuOrganizer::RestoreBitmapMenu(pBitmapMenu, bRestoreItems);
    }
};

TEST_F(OrganizerImagesTest, EmptyGivesTheMenusBackBeforeFreeingTheirImages)
{
    WatchingOrganizer organizer;
    ASSERT_TRUE(organizer.AttachFrameWnd(m_frame));
    ASSERT_TRUE(organizer.SetMenuImage(ID_O_UNDO, kThree, 1, 16));
    organizer.OnInitMenuPopup(CMenu::FromHandle(m_frame->edit), 1, FALSE);
    organizer.OnInitMenuPopup(CMenu::FromHandle(m_frame->file), 0, FALSE);
    organizer.Empty(TRUE);
    EXPECT_EQ(organizer.restored, 2);
    EXPECT_EQ(organizer.withImages, 2);
    EXPECT_EQ(organizer.GetMenuItemImageInfo(ID_O_UNDO), nullptr);
    EXPECT_EQ(organizer.GetDefaultImageList()->GetImageCount(), 2) << "the default list stays";
}

} // namespace
} // namespace zyn::test
