// CImageList: ownership, temporaries, creation forms, streams through archives, drags.
#include <gtest/gtest.h>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/afx/window_dc.h"
#include "platform/base/archive.h"
#include "platform/base/lasterror.h"
#include "platform/base/memfile.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "tests/afxgdi/gdi_fixture.h"
#include "tests/afxgdi/resource_support.h"

namespace {

using ImageListTest = zyn::test::GdiLeakTest;
using zyn::gdi::LiveImageListCount;

// A colour strip of `count` 4x4 images, image i filled with colors[i].
void MakeStrip(CBitmap& bmp, std::initializer_list<COLORREF> colors)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CClientDC screen(nullptr);
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 4 * static_cast<int>(colors.size()), 4));
    CBitmap* old = dc.SelectObject(&bmp);
    int x = 0;
    for (COLORREF c : colors) {
        dc.FillSolidRect(x, 0, 4, 4, c);
        x += 4;
    }
    dc.SelectObject(old);
}

TEST_F(ImageListTest, OwnsItsList)
{
    const size_t before = LiveImageListCount();
    HIMAGELIST h = nullptr;
    {
        CImageList list;
        ASSERT_TRUE(list.Create(4, 4, ILC_COLOR32 | ILC_MASK, 0, 4));
        h = list.m_hImageList;
        EXPECT_EQ(static_cast<HIMAGELIST>(list), h);
        EXPECT_EQ(LiveImageListCount(), before + 1);
        EXPECT_FALSE(list.Create(8, 8, ILC_COLOR32, 0, 4)); // already holds one
        EXPECT_EQ(LiveImageListCount(), before + 1);
        EXPECT_EQ(CImageList::FromHandle(h), &list);
        EXPECT_EQ(CImageList::FromHandlePermanent(h), &list);
    }
    EXPECT_EQ(LiveImageListCount(), before);
    int cx = 0, cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(h, &cx, &cy)); // destroyed
    CImageList empty;
    EXPECT_FALSE(empty.DeleteImageList());
}

TEST_F(ImageListTest, TemporaryNeverDestroysItsList)
{
    const HIMAGELIST h = ImageList_Create(4, 4, ILC_COLOR32, 0, 1);
    ASSERT_NE(h, nullptr);
    CImageList* t = CImageList::FromHandle(h);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(CImageList::FromHandle(h), t);
    EXPECT_EQ(CImageList::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(t->GetImageCount(), 0);
    CImageList::DeleteTempMap();
    EXPECT_EQ(zyn::afx::TempGdiObjectCount(), 0u);
    EXPECT_EQ(ImageList_GetImageCount(h), 0); // still alive
    CImageList owner;
    ASSERT_TRUE(owner.Attach(h));
    const HIMAGELIST other = ImageList_Create(4, 4, ILC_COLOR32, 0, 1);
    EXPECT_FALSE(owner.Attach(other)); // holds one already
    EXPECT_TRUE(ImageList_Destroy(other));
    EXPECT_FALSE(owner.Attach(nullptr));
    EXPECT_EQ(owner.Detach(), h);
    EXPECT_TRUE(ImageList_Destroy(h));
}

TEST_F(ImageListTest, AddReplaceRemoveAndCopy)
{
    CBitmap strip;
    MakeStrip(strip, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 0, 255)});
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 2));
    EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 3);
    EXPECT_EQ(list.Add(&strip, static_cast<CBitmap*>(nullptr)), 3);
    EXPECT_EQ(list.GetImageCount(), 6);
    IMAGEINFO info{};
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(info.rcImage).Size(), CSize(4, 4));
    EXPECT_TRUE(list.Remove(5));
    EXPECT_EQ(list.GetImageCount(), 5);
    CBitmap single;
    MakeStrip(single, {RGB(0, 0, 255)});
    EXPECT_TRUE(list.Replace(0, &single, nullptr));
    EXPECT_EQ(list.GetImageCount(), 5);
    EXPECT_TRUE(list.Copy(0, 1, ILCF_SWAP));
    EXPECT_FALSE(list.Copy(0, nullptr, 0));
    EXPECT_EQ(list.SetBkColor(RGB(1, 2, 3)), CLR_NONE);
    EXPECT_EQ(list.GetBkColor(), RGB(1, 2, 3));
    EXPECT_TRUE(list.SetOverlayImage(2, 1));
    EXPECT_TRUE(list.SetImageCount(2));
    EXPECT_EQ(list.GetImageCount(), 2);

    const HICON icon = list.ExtractIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(list.Add(icon), 2);
    EXPECT_EQ(list.Replace(0, icon), 0);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(list.Add(static_cast<CBitmap*>(nullptr), RGB(0, 0, 0)), -1);
}

TEST_F(ImageListTest, DuplicateAndMerge)
{
    CBitmap strip;
    MakeStrip(strip, {RGB(255, 0, 0), RGB(0, 0, 255)});
    CImageList a;
    ASSERT_TRUE(a.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 2));
    ASSERT_EQ(a.Add(&strip, CLR_NONE), 0);
    CImageList copy;
    ASSERT_TRUE(copy.Create(&a));
    EXPECT_EQ(copy.GetImageCount(), 2);
    EXPECT_NE(copy.m_hImageList, a.m_hImageList);
    CImageList merged;
    ASSERT_TRUE(merged.Create(a, 0, copy, 1, 2, 1));
    EXPECT_EQ(merged.GetImageCount(), 1);
    IMAGEINFO info{};
    ASSERT_TRUE(merged.GetImageInfo(0, &info));
    EXPECT_EQ(CRect(info.rcImage).Size(), CSize(6, 5));
    CImageList none;
    EXPECT_FALSE(none.Create(static_cast<CImageList*>(nullptr)));
}

TEST_F(ImageListTest, WriteAndReadThroughAnArchive)
{
    CBitmap strip;
    MakeStrip(strip, {RGB(10, 20, 30), RGB(40, 50, 60)});
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 2));
    ASSERT_EQ(list.Add(&strip, RGB(40, 50, 60)), 0);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ASSERT_TRUE(list.Write(&ar));
        ar.Close();
    }
    file.SeekToBegin();
    CImageList back;
    {
        CArchive ar(&file, CArchive::load);
        ASSERT_TRUE(back.Read(&ar));
    }
    EXPECT_EQ(back.GetImageCount(), 2);

    // A failed read keeps the list that was there.
    CMemFile junk;
    const BYTE bad[8] = {'N', 'O', 'P', 'E', 1, 0, 0, 0};
    junk.Write(bad, sizeof bad);
    junk.SeekToBegin();
    const HIMAGELIST kept = back.m_hImageList;
    {
        CArchive ar(&junk, CArchive::load);
        EXPECT_FALSE(back.Read(&ar));
    }
    EXPECT_EQ(back.m_hImageList, kept);
    EXPECT_EQ(back.GetImageCount(), 2);
    EXPECT_FALSE(back.Read(nullptr));
    EXPECT_FALSE(back.Write(nullptr));
}

TEST_F(ImageListTest, CreateFromABitmapResource)
{
    zyn::test::ChainedResourceModule mod(L"ZynAfxGdiImageLists");
    ASSERT_NE(mod.get(), nullptr);
    // Three 4x4 images; magenta is the mask colour.
    ASSERT_TRUE(zyn::base::AddResource(mod.get(), RT_BITMAP, MAKEINTRESOURCE(31101), 0,
        zyn::test::PackedDib24(12, 4, [](int x, int y) {
            return (x % 4 == 0 && y == 0) ? RGB(255, 0, 255) : RGB(0, 0, 128);
        })));
    CImageList list;
    ASSERT_TRUE(list.Create(31101u, 4, 1, RGB(255, 0, 255)));
    EXPECT_EQ(list.GetImageCount(), 3);
    CImageList missing;
    EXPECT_FALSE(missing.Create(31102u, 4, 1, CLR_NONE));
    EXPECT_FALSE(missing.Create(0u, 4, 1, CLR_NONE));
    EXPECT_EQ(missing.m_hImageList, nullptr);
}

TEST_F(ImageListTest, DragOnTheScreen)
{
    CBitmap strip;
    MakeStrip(strip, {RGB(255, 0, 0)});
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 1));
    ASSERT_EQ(list.Add(&strip, CLR_NONE), 0);
    ASSERT_TRUE(list.BeginDrag(0, CPoint(1, 1)));
    EXPECT_TRUE(CImageList::DragEnter(nullptr, CPoint(20, 20)));
    EXPECT_TRUE(CImageList::DragMove(CPoint(30, 25)));
    CPoint pos, hot;
    CImageList* drag = CImageList::GetDragImage(&pos, &hot);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(pos, CPoint(30, 25));
    EXPECT_EQ(hot, CPoint(1, 1));
    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    EXPECT_TRUE(CImageList::DragLeave(nullptr));
    CImageList::EndDrag();
}

} // namespace
