// A shortcut-bar list item as OLE drag data: what the data source offers (read back here
// from the documented layout, not with the reader under test), the dropped item rebuilt
// in another list view with its images at one index in both image lists, and dropped
// data that does not hold together changing no list and no image list.
#include <cstring>
#include <string>
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/globalmem.h"
#include "platform/comctl/listview.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/clipboard.h"
#include "platform/user/winuser.h"
#include "tests/shortcutbar/shb_test_support.h"
#include "tests/shortcutbar/shb_ui_support.h"
#include "toolkit/docking/shb_drag_data.h"

namespace shbtest {
namespace {

namespace shb = zyn::toolkit::shb;

uint32_t Get32(const Bytes& b, size_t at)
{
    return static_cast<uint32_t>(b.at(at)) | (static_cast<uint32_t>(b.at(at + 1)) << 8) |
        (static_cast<uint32_t>(b.at(at + 2)) << 16) | (static_cast<uint32_t>(b.at(at + 3)) << 24);
}

// An image list of `count` solid, opaque images.
HIMAGELIST SolidList(int cx, int cy, const std::vector<COLORREF>& colours)
{
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 4, 4);
    for (COLORREF c : colours) {
        std::vector<uint32_t> bits(static_cast<size_t>(cx * cy), (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        HBITMAP bm = CreateBitmap(cx, cy, 1, 32, bits.data());
        ImageList_Add(list, bm, nullptr);
        DeleteObject(bm);
    }
    return list;
}

// The centre pixel of an image drawn over black (transparent pixels stay black).
COLORREF ImagePixel(HIMAGELIST list, int i)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(cx, cy, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    RECT all{0, 0, cx, cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ImageList_Draw(list, i, dc, 0, 0, ILD_NORMAL);
    const COLORREF c = GetPixel(dc, cx / 2, cy / 2);
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
    return c;
}

Bytes TakeGlobal(HGLOBAL h)
{
    Bytes out;
    if (!h)
        return out;
    const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
    out.assign(p, p + GlobalSize(h));
    GlobalUnlock(h);
    GlobalFree(h);
    return out;
}

class DragDataTest : public ShbUiTest {
protected:
    void TearDown() override
    {
        for (HWND h : m_lists)
            if (IsWindow(h))
                DestroyWindow(h);
        for (HIMAGELIST l : m_imageLists)
            ImageList_Destroy(l);
        ownLarge.DeleteImageList();
        ownSmall.DeleteImageList();
        ShbUiTest::TearDown();
    }
    // A list view sharing (not owning) its image lists, as the bar's lists do.
    HWND MakeList(HIMAGELIST large = nullptr, HIMAGELIST small = nullptr)
    {
        HWND h = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHAREIMAGELISTS, 10,
            10, 200, 200, parent.m_hWnd, nullptr, nullptr, nullptr);
        m_lists.push_back(h);
        if (large)
            SendMessageW(h, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
        if (small)
            SendMessageW(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
        return h;
    }
    HIMAGELIST Keep(HIMAGELIST l)
    {
        m_imageLists.push_back(l);
        return l;
    }
    static int AddItem(HWND list, const std::wstring& text, int image, LPARAM data)
    {
        std::wstring t = text;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = t.data();
        item.iImage = image;
        item.lParam = data;
        return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    static LVITEMW ItemOf(HWND list, int i, wchar_t* buffer)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = buffer;
        item.cchTextMax = 128;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item;
    }
    static HIMAGELIST ListOf(HWND list, int which)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, which, 0));
    }
    // What a list does with a drop: read the data, then insert it (nothing on a refusal).
    int Drop(HWND list, COleDataObject& data, int index, BOOL keep, std::string* why = nullptr)
    {
        const auto block = shb::ReadItemData(&data, why);
        if (!block)
            return -1;
        return shb::InsertDroppedItem(list, *block, index, keep, ownLarge, ownSmall);
    }

    CImageList ownLarge, ownSmall;

private:
    std::vector<HWND> m_lists;
    std::vector<HIMAGELIST> m_imageLists;
};

const COLORREF kLarge[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
const COLORREF kSmall[] = {RGB(100, 0, 0), RGB(0, 100, 0), RGB(0, 0, 100)};

TEST_F(DragDataTest, TheSourceOffersTheTextTwiceAndTheItemBlock)
{
    EXPECT_EQ(shb::ChildWndItemFormat(), RegisterClipboardFormatW(L"Shortcut bar child window item"));
    HWND list = MakeList(Keep(SolidList(4, 4, {kLarge[0], kLarge[1], kLarge[2]})),
        Keep(SolidList(2, 2, {kSmall[0], kSmall[1], kSmall[2]})));
    const std::wstring text = L"Inbox \U0001F4E5";
    AddItem(list, L"first", 0, 0);
    AddItem(list, text, 1, -5);
    const uint8_t extraBytes[] = {7, 8, 9};
    const shb::DataSourcePtr source = shb::CreateItemDataSource(list, 1, SHBExtraDragData{3, extraBytes});
    ASSERT_TRUE(source);
    COleDataObject data;
    data.Attach(source->GetDataObject(), FALSE);

    EXPECT_EQ(TakeGlobal(data.GetGlobalData(CF_UNICODETEXT)), Utf16Z(text));
    const Bytes block = TakeGlobal(data.GetGlobalData(static_cast<CLIPFORMAT>(shb::ChildWndItemFormat())));
    // Walked from the layout: text (7 units + zero), item data, count, two records, extra.
    const Bytes textBytes = Utf16Z(text);
    ASSERT_GT(block.size(), textBytes.size() + 8);
    EXPECT_TRUE(std::equal(textBytes.begin(), textBytes.end(), block.begin()));
    size_t at = textBytes.size();
    EXPECT_EQ(textBytes.size(), 2u * (8 + 1)) << "n counts UTF-16 units";
    EXPECT_EQ(Get32(block, at), 0xFFFFFFFBu) << "the low 32 bits of -5";
    EXPECT_EQ(Get32(block, at + 4), 2u);
    at += 8;
    const int sides[2] = {4, 2};
    for (uint32_t kind = 0; kind < 2; ++kind) {
        EXPECT_EQ(Get32(block, at), 0u) << "reserved";
        EXPECT_EQ(Get32(block, at + 4), kind) << "large first, then small";
        const uint32_t size = Get32(block, at + 8);
        at += 12;
        // A one-image stream of the list's image size.
        EXPECT_EQ(Bytes(block.begin() + static_cast<std::ptrdiff_t>(at), block.begin() + static_cast<std::ptrdiff_t>(at) + 4),
            (Bytes{'Z', 'I', 'M', 'L'}));
        EXPECT_EQ(Get32(block, at + 8), static_cast<uint32_t>(sides[kind]));
        EXPECT_EQ(Get32(block, at + 12), static_cast<uint32_t>(sides[kind]));
        EXPECT_EQ(Get32(block, at + 20), 1u) << "one image";
        at += size;
    }
    EXPECT_EQ(Get32(block, at), 3u);
    EXPECT_EQ(Bytes(block.begin() + static_cast<std::ptrdiff_t>(at) + 4, block.end()), (Bytes{7, 8, 9}));

    // ANSI text for receivers outside the bar.
    AddItem(list, L"Notes", 0, 0);
    const shb::DataSourcePtr plain = shb::CreateItemDataSource(list, 2, SHBExtraDragData{});
    COleDataObject plainData;
    plainData.Attach(plain->GetDataObject(), FALSE);
    EXPECT_EQ(TakeGlobal(plainData.GetGlobalData(CF_TEXT)), (Bytes{'N', 'o', 't', 'e', 's', 0}));
    EXPECT_FALSE(shb::CreateItemDataSource(list, 3, SHBExtraDragData{})) << "no item 3";
    EXPECT_FALSE(shb::CreateItemDataSource(list, -1, SHBExtraDragData{})) << "no item -1";
}

TEST_F(DragDataTest, ImagesAndExtraBytesAreLeftOutWhenThereAreNone)
{
    const uint8_t bytes[] = {1, 2, 3, 4};
    HIMAGELIST large = Keep(SolidList(4, 4, {kLarge[0], kLarge[1]}));
    HIMAGELIST small = Keep(SolidList(2, 2, {kSmall[0], kSmall[1]}));
    struct Row {
        const char* name;
        HIMAGELIST large, small;
        int image;
        SHBExtraDragData extra;
        std::vector<uint32_t> kinds;
        uint32_t extraSize;
    };
    const Row rows[] = {
        {"no image index", large, small, I_IMAGENONE, {}, {}, 0},
        {"an index past the lists", large, small, 5, {}, {}, 0},
        {"only a small list", nullptr, small, 1, {}, {1}, 0},
        {"only a large list", large, nullptr, 0, {}, {0}, 0},
        {"a count with no bytes", large, small, 0, {4, nullptr}, {0, 1}, 0},
        {"bytes with no count", large, small, 0, {0, bytes}, {0, 1}, 0},
        {"extra bytes", nullptr, nullptr, 0, {4, bytes}, {}, 4},
    };
    for (const Row& r : rows) {
        HWND list = MakeList(r.large, r.small);
        AddItem(list, L"x", r.image, 0);
        const shb::DataSourcePtr source = shb::CreateItemDataSource(list, 0, r.extra);
        ASSERT_TRUE(source) << r.name;
        COleDataObject data;
        data.Attach(source->GetDataObject(), FALSE);
        const Bytes block = TakeGlobal(data.GetGlobalData(static_cast<CLIPFORMAT>(shb::ChildWndItemFormat())));
        size_t at = 4; // "x" and its zero unit
        ASSERT_EQ(Get32(block, at + 4), r.kinds.size()) << r.name;
        at += 8;
        for (uint32_t kind : r.kinds) {
            EXPECT_EQ(Get32(block, at + 4), kind) << r.name;
            at += 12 + Get32(block, at + 8);
        }
        EXPECT_EQ(Get32(block, at), r.extraSize) << r.name;
        EXPECT_EQ(block.size(), at + 4 + r.extraSize) << r.name;
        DestroyWindow(list);
    }
}

TEST_F(DragDataTest, ADroppedItemKeepsItsDataOnlyInTheListItCameFrom)
{
    HWND source = MakeList(Keep(SolidList(4, 4, {kLarge[0], kLarge[1]})), Keep(SolidList(2, 2, {kSmall[0], kSmall[1]})));
    AddItem(source, L"Kalender \U0001F4C5", 1, -5);
    const shb::DataSourcePtr src = shb::CreateItemDataSource(source, 0, SHBExtraDragData{});
    COleDataObject data;
    data.Attach(src->GetDataObject(), FALSE);

    // A list without image lists gets its own, of the images' sizes.
    HWND target = MakeList();
    AddItem(target, L"a", I_IMAGENONE, 11);
    AddItem(target, L"b", I_IMAGENONE, 12);
    std::string why;
    EXPECT_EQ(Drop(target, data, 1, FALSE, &why), 1) << why;
    ASSERT_NE(ownLarge.m_hImageList, nullptr);
    ASSERT_NE(ownSmall.m_hImageList, nullptr);
    EXPECT_EQ(ListOf(target, LVSIL_NORMAL), ownLarge.m_hImageList);
    EXPECT_EQ(ListOf(target, LVSIL_SMALL), ownSmall.m_hImageList);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ownSmall.m_hImageList, &cx, &cy);
    EXPECT_EQ(cx, 2);
    wchar_t buf[128];
    LVITEMW got = ItemOf(target, 1, buf);
    EXPECT_EQ(std::wstring(buf), L"Kalender \U0001F4C5");
    EXPECT_EQ(got.iImage, 0);
    EXPECT_EQ(got.lParam, 0) << "another list's data means nothing here";
    EXPECT_EQ(ImagePixel(ownLarge.m_hImageList, 0), kLarge[1]);
    EXPECT_EQ(ImagePixel(ownSmall.m_hImageList, 0), kSmall[1]);
    EXPECT_EQ(std::wstring(ItemOf(target, 2, buf).pszText), L"b") << "inserted before the old item 1";

    // Into the list it came from: the data stays, the images are appended after the others.
    EXPECT_EQ(Drop(source, data, 0, TRUE), 0);
    got = ItemOf(source, 0, buf);
    EXPECT_EQ(got.lParam, -5);
    EXPECT_EQ(got.iImage, 2);
    EXPECT_EQ(ImagePixel(ListOf(source, LVSIL_NORMAL), 2), kLarge[1]);
    EXPECT_EQ(ImagePixel(ListOf(source, LVSIL_SMALL), 2), kSmall[1]);
    EXPECT_EQ(ownLarge.GetImageCount(), 1) << "the source's own lists were used";
}

TEST_F(DragDataTest, ImagesGetOneIndexWhenTheListsHoldDifferentCounts)
{
    HWND source = MakeList(Keep(SolidList(4, 4, {kLarge[2]})), Keep(SolidList(2, 2, {kSmall[2]})));
    AddItem(source, L"both", 0, 0);
    HWND largeOnly = MakeList(Keep(SolidList(4, 4, {kLarge[2]})), nullptr);
    AddItem(largeOnly, L"large", 0, 0);

    struct Row {
        const char* name;
        HWND from;
        int largeCount, smallCount;
        int index;
        int largeAfter, smallAfter;
    };
    const Row rows[] = {
        {"small list shorter", source, 5, 3, 5, 6, 6},
        {"large list shorter", source, 2, 4, 4, 5, 5},
        {"equal", source, 3, 3, 3, 4, 4},
        // Only a large image: it goes past the small list's end, so the small view shows
        // no other item's picture for it.
        {"large image only, small list longer", largeOnly, 5, 7, 7, 8, 7},
    };
    for (const Row& r : rows) {
        const shb::DataSourcePtr src = shb::CreateItemDataSource(r.from, 0, SHBExtraDragData{});
        COleDataObject data;
        data.Attach(src->GetDataObject(), FALSE);
        std::vector<COLORREF> lc(static_cast<size_t>(r.largeCount), RGB(1, 2, 3));
        std::vector<COLORREF> sc(static_cast<size_t>(r.smallCount), RGB(4, 5, 6));
        HIMAGELIST large = Keep(SolidList(4, 4, lc));
        HIMAGELIST small = Keep(SolidList(2, 2, sc));
        HWND target = MakeList(large, small);
        ASSERT_EQ(Drop(target, data, 0, FALSE), 0) << r.name;
        wchar_t buf[128];
        EXPECT_EQ(ItemOf(target, 0, buf).iImage, r.index) << r.name;
        EXPECT_EQ(ImageList_GetImageCount(large), r.largeAfter) << r.name;
        EXPECT_EQ(ImageList_GetImageCount(small), r.smallAfter) << r.name;
        EXPECT_EQ(ImagePixel(large, r.index), kLarge[2]) << r.name;
        if (r.smallAfter > r.index) {
            EXPECT_EQ(ImagePixel(small, r.index), kSmall[2]) << r.name;
        }
        // Padding is blank; what was there stays.
        if (r.index > r.largeCount) {
            EXPECT_EQ(ImagePixel(large, r.largeCount), RGB(0, 0, 0)) << r.name;
        }
        if (r.smallAfter > r.smallCount + 1) {
            EXPECT_EQ(ImagePixel(small, r.smallCount), RGB(0, 0, 0)) << r.name;
        }
        EXPECT_EQ(ImagePixel(small, r.smallCount - 1), RGB(4, 5, 6)) << r.name;
        DestroyWindow(target);
    }
}

TEST_F(DragDataTest, AnItemWithoutAnImageIsDroppedWithoutOne)
{
    HWND source = MakeList(Keep(SolidList(4, 4, {kLarge[0]})), nullptr);
    AddItem(source, L"bare", I_IMAGENONE, 3);
    const shb::DataSourcePtr src = shb::CreateItemDataSource(source, 0, SHBExtraDragData{});
    COleDataObject data;
    data.Attach(src->GetDataObject(), FALSE);
    HWND target = MakeList(Keep(SolidList(4, 4, {kLarge[1], kLarge[2]})), nullptr);
    ASSERT_EQ(Drop(target, data, 0, TRUE), 0);
    wchar_t buf[128];
    const LVITEMW got = ItemOf(target, 0, buf);
    EXPECT_EQ(got.iImage, I_IMAGENONE) << "not image 0 of the list";
    EXPECT_EQ(got.lParam, 3);
    EXPECT_EQ(ImageList_GetImageCount(ListOf(target, LVSIL_NORMAL)), 2);
}

TEST_F(DragDataTest, AnInsertionTheListRefusesLeavesItsImageListsAsTheyWere)
{
    HWND source = MakeList(Keep(SolidList(4, 4, {kLarge[0]})), Keep(SolidList(2, 2, {kSmall[0]})));
    AddItem(source, L"item", 0, 0);
    const shb::DataSourcePtr src = shb::CreateItemDataSource(source, 0, SHBExtraDragData{});
    COleDataObject data;
    data.Attach(src->GetDataObject(), FALSE);
    // A virtual list takes no inserted items. It has a large list of 3 and no small one:
    // the images would go to index 3, the small one into a new own list.
    HIMAGELIST large = Keep(SolidList(4, 4, {kLarge[1], kLarge[1], kLarge[1]}));
    HWND refusing = MakeList(large, nullptr);
    SetWindowLongPtrW(refusing, GWL_STYLE, GetWindowLongPtrW(refusing, GWL_STYLE) | LVS_OWNERDATA);
    std::string why;
    EXPECT_EQ(Drop(refusing, data, 0, FALSE, &why), -1) << why;
    EXPECT_TRUE(why.empty()) << "the data was good: " << why;
    EXPECT_EQ(ImageList_GetImageCount(large), 3);
    EXPECT_EQ(ListOf(refusing, LVSIL_NORMAL), large);
    EXPECT_EQ(ListOf(refusing, LVSIL_SMALL), nullptr) << "the own small list is taken back";
    EXPECT_EQ(ownSmall.m_hImageList, nullptr) << "and not kept";
}

TEST_F(DragDataTest, DataThatDoesNotHoldTogetherChangesNoListAndNoImageList)
{
    const Bytes good = ZimlStream(4, 4, 0x20, std::vector<uint32_t>(16, 0x00C80000));
    Bytes badStream = good;
    badStream[0] = 'X';
    auto block = [](const std::wstring& text, std::vector<std::pair<uint32_t, Bytes>> records, uint32_t count,
                     uint32_t extraSize, Bytes extra) {
        Bytes b = Utf16Z(text);
        Append32(b, 0);
        Append32(b, count);
        for (auto& [kind, stream] : records)
            AppendRecord(b, kind, stream);
        Append32(b, extraSize);
        b.insert(b.end(), extra.begin(), extra.end());
        return b;
    };
    Bytes sizePast = block(L"s", {}, 1, 0, {});
    sizePast.resize(sizePast.size() - 4);
    Append32(sizePast, 0);
    Append32(sizePast, 0);
    Append32(sizePast, 500);
    sizePast.insert(sizePast.end(), good.begin(), good.end());
    struct Row {
        const char* name;
        Bytes bytes;
        bool offer;
    };
    const Row rows[] = {
        {"no terminator", {'a', 0, 'b', 0}, true},
        {"three records", block(L"3", {{0, good}, {1, good}, {1, good}}, 3, 0, {}), true},
        {"record size past the end", sizePast, true},
        {"extra past the end", block(L"e", {{0, good}}, 1, 9, {1, 2}), true},
        {"bad image stream after a good one", block(L"b", {{0, good}, {1, badStream}}, 2, 0, {}), true},
        {"no shortcut-bar format", {}, false},
    };
    HIMAGELIST large = Keep(SolidList(4, 4, {kLarge[0], kLarge[1]}));
    HWND target = MakeList(large, nullptr);
    AddItem(target, L"one", 0, 1);
    for (const Row& r : rows) {
        COleDataSource* raw = new COleDataSource;
        const shb::DataSourcePtr src(raw);
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
        src->CacheGlobalData(CF_UNICODETEXT, text);
        if (r.offer) {
            HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, r.bytes.size());
            std::memcpy(GlobalLock(h), r.bytes.data(), r.bytes.size());
            GlobalUnlock(h);
            src->CacheGlobalData(static_cast<CLIPFORMAT>(shb::ChildWndItemFormat()), h);
        }
        COleDataObject data;
        data.Attach(src->GetDataObject(), FALSE);
        std::string why;
        EXPECT_EQ(Drop(target, data, 0, TRUE, &why), -1) << r.name;
        EXPECT_FALSE(why.empty()) << r.name;
        EXPECT_EQ(SendMessageW(target, LVM_GETITEMCOUNT, 0, 0), 1) << r.name;
        EXPECT_EQ(ImageList_GetImageCount(large), 2) << r.name;
        EXPECT_EQ(ListOf(target, LVSIL_SMALL), nullptr) << r.name;
        EXPECT_EQ(ownSmall.m_hImageList, nullptr) << r.name;
        EXPECT_EQ(ownLarge.m_hImageList, nullptr) << r.name;
    }
}

} // namespace
} // namespace shbtest
