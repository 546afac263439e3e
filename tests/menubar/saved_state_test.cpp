// The menu bar's saved menus: the record byte for byte (hand-built bytes), round trips of
// whole trees (text outside the BMP, separators, the window list), records refused whole
// with the menu left as it was, section names, one load per document template with the
// frame's 0x8073/0x8074 notices, and dropped menu items taken only when well formed.
#include <cstring>

#include "platform/afx/winapp.h"
#include "platform/user/menu.h"
#include "tests/menubar/menubar_test_support.h"
#include "toolkit/menus/menu_bar_record.h"
#include "toolkit/menus/menu_drop_data.h"

namespace zyn::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Little-endian 32-bit value and the wide-text form (marker, one-byte length, UTF-16LE).
void U32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Text(Bytes& b, std::initializer_list<uint16_t> units)
{
    b.insert(b.end(), {0xFF, 0xFE, 0xFF, static_cast<uint8_t>(units.size())});
    for (uint16_t u : units) {
        b.push_back(static_cast<uint8_t>(u));
        b.push_back(static_cast<uint8_t>(u >> 8));
    }
}
void Item(Bytes& b, uint32_t type, uint32_t sub, uint32_t id, std::initializer_list<uint16_t> text)
{
    U32(b, type);
    U32(b, sub);
    U32(b, id);
    Text(b, text);
}

// The sample record: "&F" popup [ "A" 0x10, separator, U+1F600 0x11 ], "W" popup [
// "T" 0x20, separator, window-list "1" 0xFF00, "2" 0xFF01 ].
Bytes SampleRecord()
{
    Bytes b;
    U32(b, 2);
    Item(b, 0, 1, 0xFFFFFFFF, {'&', 'F'});
    U32(b, 3);
    Item(b, 0, 0, 0x10, {'A'});
    Item(b, 0x800, 0, 0, {});
    Item(b, 0, 0, 0x11, {0xD83D, 0xDE00});
    Item(b, 0, 1, 0xFFFFFFFF, {'W'});
    U32(b, 4);
    Item(b, 0, 0, 0x20, {'T'});
    Item(b, 0x800, 0, 0, {});
    Item(b, 0, 0, 0xFF00, {'1'});
    Item(b, 0, 0, 0xFF01, {'2'});
    return b;
}

OXMENURECORDITEM Leaf(uint32_t type, uint32_t id, std::wstring text)
{
    OXMENURECORDITEM i;
    i.nType = type;
    i.nID = id;
    i.sText = std::move(text);
    return i;
}
OXMENURECORDITEM Popup(std::wstring text, OXMenuRecord children)
{
    OXMENURECORDITEM i;
    i.bHasSubmenu = true;
    i.nID = OX_MENURECORD_POPUP_ID;
    i.sText = std::move(text);
    i.children = std::move(children);
    return i;
}
OXMenuRecord SampleTree()
{
    return {Popup(L"&F", {Leaf(0, 0x10, L"A"), Leaf(0x800, 0, L""), Leaf(0, 0x11, L"\U0001F600")}),
        Popup(L"W", {Leaf(0, 0x20, L"T"), Leaf(0x800, 0, L""), Leaf(0, 0xFF00, L"1"), Leaf(0, 0xFF01, L"2")})};
}

bool Same(const OXMenuRecord& a, const OXMenuRecord& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].nType != b[i].nType || a[i].bHasSubmenu != b[i].bHasSubmenu || a[i].nID != b[i].nID ||
            a[i].sText != b[i].sText || !Same(a[i].children, b[i].children))
            return false;
    return true;
}

TEST(MenuRecord, WritesTheDocumentedBytesAndReadsThemBack)
{
    Bytes one;
    OXWriteMenuRecord({Leaf(0, 0x10, L"A")}, one);
    EXPECT_EQ(one, (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 0x41, 0}));
    Bytes written;
    OXWriteMenuRecord(SampleTree(), written);
    EXPECT_EQ(written, SampleRecord());
    OXMenuRecord read;
    ASSERT_TRUE(OXParseMenuRecord(SampleRecord(), read).ok());
    EXPECT_TRUE(Same(read, SampleTree()));
    // Lengths of 255 and more take the longer length forms: 0xFF then a WORD.
    const std::wstring longText(300, L'x');
    Bytes big;
    OXWriteMenuRecord({Leaf(0, 1, longText)}, big);
    ASSERT_GT(big.size(), 24u);
    EXPECT_EQ((Bytes{big[16], big[17], big[18], big[19], big[20], big[21]}), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    EXPECT_EQ(big.size(), 16u + 6u + 600u);
    ASSERT_TRUE(OXParseMenuRecord(big, read).ok());
    EXPECT_EQ(read[0].sText, longText);
}

TEST(MenuRecord, DamagedRecordsAreRefusedWhole)
{
    struct Row {
        const char* name;
        Bytes bytes;
        OXMenuRecordError error;
    };
    const Bytes sample = SampleRecord();
    Bytes badFlag = sample;
    badFlag[4 + 4] = 2;   // the first item's has-submenu
    Bytes badMarker = sample;
    badMarker[16] = 0xFE;
    Bytes loneSurrogate;
    U32(loneSurrogate, 1);
    Item(loneSurrogate, 0, 0, 1, {0xD83D, 'x'});
    Bytes trailing = sample;
    trailing.push_back(0);
    Bytes deep;
    for (int level = 0; level < OX_MENURECORD_MAX_DEPTH + 1; ++level) {
        U32(deep, 1);
        Item(deep, 0, 1, 0xFFFFFFFF, {'d'});
    }
    U32(deep, 0);
    Bytes huge;
    U32(huge, 0x7FFFFFFF);
    Bytes overCount;
    U32(overCount, 2);
    Item(overCount, 0, 0, 1, {'a'});
    Bytes longText;
    U32(longText, 1);
    U32(longText, 0);
    U32(longText, 0);
    U32(longText, 1);
    longText.insert(longText.end(), {0xFF, 0xFE, 0xFF, 0x20, 'a', 0});
    // 65,536 units, every one there: one more than a menu item holds.
    Bytes overLimit;
    U32(overLimit, 1);
    U32(overLimit, 0);
    U32(overLimit, 0);
    U32(overLimit, 1);
    overLimit.insert(overLimit.end(), {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00});
    overLimit.insert(overLimit.end(), 2 * 0x10000, 'a');
    const std::vector<Row> rows = {
        {"empty", {}, OXMenuRecordError::Truncated},
        {"flag 2", badFlag, OXMenuRecordError::BadFlag},
        {"narrow text marker", badMarker, OXMenuRecordError::BadText},
        {"lone surrogate", loneSurrogate, OXMenuRecordError::BadText},
        {"a byte after the record", trailing, OXMenuRecordError::TrailingBytes},
        {"17 levels", deep, OXMenuRecordError::TooDeep},
        {"count 0x7FFFFFFF", huge, OXMenuRecordError::TooMany},
        {"count beyond the items", overCount, OXMenuRecordError::BadCount},
        {"text longer than the bytes", longText, OXMenuRecordError::Truncated},
        {"text longer than a menu item holds", overLimit, OXMenuRecordError::TextTooLong},
    };
    for (const Row& row : rows) {
        OXMenuRecord read{Leaf(0, 1, L"kept")};
        const OXMenuRecordResult result = OXParseMenuRecord(row.bytes, read);
        EXPECT_EQ(result.error, row.error) << row.name << ": " << OXMenuRecordErrorText(result.error);
        EXPECT_TRUE(read.empty()) << row.name;
    }
    // Every truncation of a good record is refused.
    for (size_t n = 0; n < sample.size(); ++n) {
        OXMenuRecord read;
        EXPECT_FALSE(OXParseMenuRecord(std::span<const uint8_t>(sample.data(), n), read).ok()) << "cut at " << n;
    }
}

class MenuBarStateTest : public MenuBarTest {
protected:
    void Store(const CString& section, const Bytes& bytes)
    {
        Bytes copy = bytes;
        ASSERT_TRUE(app.WriteProfileBinary(section, L"MenuItems", copy.data(), static_cast<UINT>(copy.size())));
        ASSERT_TRUE(app.WriteProfileInt(section, L"MenuDataSize", static_cast<int>(copy.size())));
    }
    Bytes Stored(const CString& section)
    {
        LPBYTE data = nullptr;
        UINT n = 0;
        if (!app.GetProfileBinary(section, L"MenuItems", &data, &n))
            return {};
        Bytes out(data, data + n);
        delete[] data;
        return out;
    }
    static std::vector<std::wstring> Texts(HMENU hMenu)
    {
        std::vector<std::wstring> out;
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            wchar_t text[64] = {};
            ::GetMenuStringW(hMenu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            out.push_back(::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR ? L"-" : text);
        }
        return out;
    }
    const CString kDefault{L"Menu_Default~!@#$#$%^"};
};

TEST_F(MenuBarStateTest, SectionNames)
{
    EXPECT_EQ(COXMenuBar::GetSectionName(nullptr), kDefault);
    EXPECT_EQ(COXMenuBar::GetSectionName(L""), kDefault);
    const CString longName(L"CAccessControlConfigurationDocumentWithAVeryLongClassNameIndeed");
    EXPECT_EQ(COXMenuBar::GetSectionName(longName), CString(L"Menu_") + longName);
}

TEST_F(MenuBarStateTest, SavedMenuLoadsOnceIntoTheMdiFrame)
{
    Store(kDefault, SampleRecord());
    CTestMDIFrame& f = MakeMDI(false);
    COXMenuBar& bar = f.GetMenuBar();
    const HMENU hMenu = bar.GetHMenu();
    EXPECT_EQ(Texts(hMenu), (std::vector<std::wstring>{L"&F", L"W"}));
    EXPECT_EQ(Texts(::GetSubMenu(hMenu, 0)), (std::vector<std::wstring>{L"A", L"-", L"\U0001F600"}));
    // The window list goes, with the separator before it; that popup is the window menu.
    EXPECT_EQ(Texts(::GetSubMenu(hMenu, 1)), (std::vector<std::wstring>{L"T"}));
    EXPECT_EQ(bar.GetWindowMenu(), ::GetSubMenu(hMenu, 1));
    EXPECT_EQ(f.log.Count(0x8074), 1);
    for (const FrameMsg& m : f.log.msgs) {
        if (m.msg == 0x8074) {
            EXPECT_EQ(CString(m.text.c_str()), kDefault);
        }
    }
    // Another menu for the same (absent) template is not loaded.
    const HMENU other = MakeSampleMenu();
    EXPECT_TRUE(bar.SetMenu(other));
    EXPECT_EQ(f.log.Count(0x8074), 1);
    EXPECT_EQ(::GetMenuItemCount(other), 5);
    bar.SetMenu(hMenu);
    ::DestroyMenu(other);
}

TEST_F(MenuBarStateTest, SdiKeepsSeparatorsButNotWindowEntries)
{
    Store(kDefault, SampleRecord());
    CTestSDIFrame& f = MakeSDI();
    EXPECT_EQ(Texts(::GetSubMenu(f.GetMenuBar().GetHMenu(), 1)), (std::vector<std::wstring>{L"T", L"-"}));
    EXPECT_EQ(f.GetMenuBar().GetWindowMenu(), nullptr);
}

TEST_F(MenuBarStateTest, DamagedSavedMenuLeavesTheMenuIntact)
{
    struct Row {
        const char* name;
        Bytes bytes;
    };
    Bytes truncated = SampleRecord();
    truncated.resize(truncated.size() - 3);
    Bytes corrupt = SampleRecord();
    corrupt[8] = 7;
    Bytes deep;
    for (int level = 0; level < 40; ++level) {
        U32(deep, 1);
        Item(deep, 0, 1, 0xFFFFFFFF, {'d'});
    }
    U32(deep, 0);
    Bytes huge;
    U32(huge, 1000000);
    for (int i = 0; i < 4; ++i)
        Item(huge, 0, 0, 1, {'h'});
    const std::vector<Row> rows = {{"truncated", truncated}, {"corrupt", corrupt}, {"deep", deep}, {"huge", huge}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Store(kDefault, row.bytes);
        CTestSDIFrame& f = MakeSDI();
        const HMENU hMenu = f.GetMenuBar().GetHMenu();
        EXPECT_EQ(Texts(hMenu), (std::vector<std::wstring>{L"&File", L"&Edit", L"&View", L"&Help", L"&Window"}));
        EXPECT_EQ(Texts(::GetSubMenu(hMenu, 0)), (std::vector<std::wstring>{L"&New", L"&Open", L"-", L"&Recent"}));
        EXPECT_EQ(f.log.Count(0x8074), 1) << "the notice goes out all the same";
        EXPECT_FALSE(f.GetMenuBar().LoadMenuState(hMenu, nullptr));
        EXPECT_EQ(::GetMenuItemCount(hMenu), 5);
        DropFrame();
    }
}

TEST_F(MenuBarStateTest, ChangedMenusAreSavedByteExact)
{
    CTestSDIFrame& f = MakeSDI();
    COXMenuBar& bar = f.GetMenuBar();
    // The menu shown becomes the sample tree, is marked and saved with the bar.
    const HMENU hMenu = bar.GetHMenu();
    while (::GetMenuItemCount(hMenu) > 0)
        ::DeleteMenu(hMenu, 0, MF_BYPOSITION);
    const HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 0x10, L"A");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING, 0x11, L"\U0001F600");
    const HMENU window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, 0x20, L"T");
    ::AppendMenuW(window, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(window, MF_STRING, 0xFF00, L"1");
    ::AppendMenuW(window, MF_STRING, 0xFF01, L"2");
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&F");
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"W");
    EXPECT_FALSE(bar.IsMarkedAsChanged());
    bar.MarkAsChanged();
    bar.MarkAsChanged();
    EXPECT_TRUE(bar.IsMarkedAsChanged());
    f.log.msgs.clear();
    EXPECT_TRUE(bar.SaveBarState(nullptr, nullptr, TRUE));
    EXPECT_FALSE(bar.IsMarkedAsChanged());
    EXPECT_EQ(Stored(kDefault), SampleRecord());
    EXPECT_EQ(app.GetProfileInt(kDefault, L"MenuDataSize", -1), static_cast<UINT>(SampleRecord().size()));
    EXPECT_EQ(f.log.Count(0x8073), 1);
    // Nothing changed: nothing saved again.
    f.log.msgs.clear();
    EXPECT_TRUE(bar.SaveCustomizedMenu());
    EXPECT_EQ(f.log.Count(0x8073), 0);
}

TEST_F(MenuBarStateTest, DroppedItemsInsertOnlyWhenWellFormed)
{
    CTestSDIFrame& f = MakeSDI();
    COXMenuBar& bar = f.GetMenuBar();
    const HMENU edit = ::GetSubMenu(bar.GetHMenu(), 1);
    OXDroppedMenuItems items(2);
    items[0].nID = 0x500;
    items[0].sText = L"Paste";
    items[0].nValueB = 0;
    items[1].nID = OX_DROPDATA_POPUP;
    items[1].sText = L"More";
    items[1].children.resize(1);
    items[1].children[0].nID = 0x501;
    items[1].children[0].sText = L"Special";
    Bytes data;
    ASSERT_TRUE(OXWriteDroppedMenuItems(items, data).ok());
    Bytes padded = data;
    padded.resize(padded.size() + 8, 0xAB);   // a rounded-up block
    // Each cut of the run is refused with nothing inserted and the pointer unmoved.
    for (size_t n = 0; n < data.size(); ++n) {
        const BYTE* p = data.data();
        EXPECT_FALSE(bar.RetrieveDragDropMenuItem(p, data.data() + n, edit, 1)) << "cut at " << n;
        EXPECT_EQ(p, data.data());
        EXPECT_EQ(::GetMenuItemCount(edit), 2) << "cut at " << n;
    }
    const BYTE* p = padded.data();
    ASSERT_TRUE(bar.RetrieveDragDropMenuItem(p, padded.data() + padded.size(), edit, 1));
    EXPECT_EQ(p, padded.data() + data.size());
    EXPECT_EQ(Texts(edit), (std::vector<std::wstring>{L"&Undo", L"Paste", L"More", L"Cu&t"}));
    EXPECT_EQ(Texts(::GetSubMenu(edit, 2)), (std::vector<std::wstring>{L"Special"}));
    EXPECT_EQ(bar.GetCreatedMenus().size(), 1u);
}

} // namespace
} // namespace zyn::test
