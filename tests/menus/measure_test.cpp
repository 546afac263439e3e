// Measuring a bitmap menu: the skins' dimension constants, item widths and heights worked by
// hand from them, the column layout, hit testing, the popup size and its placement next to
// a bar button, the dither brush and the shadow's darkening.
#include "platform/afx/gdi/dc.h"
#include "tests/menus/menu_test_support.h"

namespace zyn::test {
namespace {

using MeasureTest = MenuTest;

struct ConstantsRow {
    SkinKind skin;
    OXDIMENSIONCONSTANTS expected;
};

TEST_F(MeasureTest, EverySkinHasItsDimensionConstants)
{
    // nStripExtraWidth and nMinImageWidth of the Classic skin are unused and not compared.
    const ConstantsRow rows[] = {
        {SkinKind::Classic, {2, 0, 8, 2, 3, 4, 3, 8, 0, 12}},
        {SkinKind::XP, {3, 5, 15, 12, 6, 10, 4, 3, 16, 16}},
        {SkinKind::Office2003, {3, 5, 15, 12, 6, 10, 4, 3, 16, 16}},
    };
    for (const ConstantsRow& row : rows) {
        CurrentSkin skin(row.skin);
        const OXDIMENSIONCONSTANTS& d = skin.menuSkin()->GetDimentionConstants();
        const OXDIMENSIONCONSTANTS& e = row.expected;
        EXPECT_EQ(std::vector<int>({d.nImageLeftGap, d.nImageTextGap, d.nTextAccelGap, d.nAccelRightGap,
                      d.nTextVertPadding, d.nImageVertPadding, d.nSeparatorHeight, d.nMenuBarItemPadding}),
            std::vector<int>({e.nImageLeftGap, e.nImageTextGap, e.nTextAccelGap, e.nAccelRightGap, e.nTextVertPadding,
                e.nImageVertPadding, e.nSeparatorHeight, e.nMenuBarItemPadding}))
            << SkinName(row.skin);
        if (row.skin != SkinKind::Classic) {
            EXPECT_EQ(d.nStripExtraWidth, 5) << SkinName(row.skin);
            EXPECT_EQ(d.nMinImageWidth, 16) << SkinName(row.skin);
        }
    }
    // Without an application skin every bitmap menu uses the one shared Classic skin.
    CurrentSkin none(SkinKind::None);
    EXPECT_NE(dynamic_cast<COXMenuSkinClassic*>(COXBitmapMenu::GetMenuSkin()), nullptr);
    EXPECT_EQ(COXBitmapMenu::GetMenuSkin(), COXBitmapMenu::GetMenuSkin());
}

struct Measured {
    UINT width;
    UINT height;
};

Measured Measure(COXBitmapMenu& menu, int pos)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_DATA;
    menu.GetMenuItemInfo(static_cast<UINT>(pos), &mii, TRUE);
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
    menu.MeasureItem(&mis);
    return Measured{mis.itemWidth, mis.itemHeight};
}

TEST_F(MeasureTest, TheSampleMenuMeasuresAsWorkedByHand)
{
    // Per skin: left gap, image-text gap, text-accelerator gap, right gap, text and image
    // paddings, separator height, and whether the expansion item is halved.
    struct Row {
        SkinKind skin;
        int left, imageText, textAccel, right, textPad, imagePad, separator;
        bool halveExpansion;
    };
    const Row rows[] = {
        {SkinKind::Classic, 2, 8, 2, 3, 4, 3, 8, false},
        {SkinKind::XP, 3, 15, 12, 6, 10, 4, 3, true},
        {SkinKind::Office2003, 3, 15, 12, 6, 10, 4, 3, true},
    };
    const int textWidth = std::max({MenuTextWidth(L"&New"), MenuTextWidth(L"&Open..."), MenuTextWidth(L"&Print"),
        MenuTextWidth(L"Recent &Files"), MenuTextWidth(L"&Bold"), MenuTextWidth(L"E&xit")});
    // The submenu item has no tab: it reserves the width of "W" for its arrow.
    const int accelWidth = std::max({MenuTextWidth(L"Ctrl+N"), MenuTextWidth(L"Ctrl+P"), MenuTextWidth(L"W")});
    const int textHeight = MenuTextHeightA();
    for (const Row& r : rows) {
        CurrentSkin skin(r.skin);
        MenuImages images;
        SampleMenu sample(images);
        const char* name = SkinName(r.skin);
        // Every image is 16 wide (at least the XP skins' minimum of 16).
        EXPECT_EQ(sample.menu.GetImageColumnWidth(), 16) << name;
        EXPECT_EQ(sample.menu.GetTextColumnWidth(), textWidth) << name;
        EXPECT_EQ(sample.menu.GetAcceleratorColumnWidth(), accelWidth) << name;
        EXPECT_EQ(sample.menu.GetTextHeight(), textHeight) << name;
        const UINT width = static_cast<UINT>(r.left + 16 + r.imageText + textWidth + r.textAccel + accelWidth + r.right);
        // An item with a 16-pixel image: the image is measured 2 larger.
        const UINT itemHeight = static_cast<UINT>(std::max(textHeight + r.textPad, 16 + 2 + r.imagePad));
        const Measured item = Measure(sample.menu, 0);
        EXPECT_EQ(item.width, width) << name;
        EXPECT_EQ(item.height, itemHeight) << name;
        EXPECT_EQ(Measure(sample.menu, 2).height, static_cast<UINT>(r.separator)) << name << " separator";
        EXPECT_EQ(Measure(sample.menu, 7).height, r.halveExpansion ? itemHeight / 2 + 1 : itemHeight)
            << name << " expansion item";
        EXPECT_EQ(Measure(sample.menu, 7).width, width) << name << " expansion item";
    }
}

TEST_F(MeasureTest, ColumnsAppearOnlyForWhatTheItemsHave)
{
    CurrentSkin skin(SkinKind::Classic);
    // No accelerators and no images: no text-accelerator gap, an empty image column.
    COXBitmapMenu plain;
    plain.CreatePopupMenu();
    AppendOwnerDrawn(plain, 0, 1, nullptr, L"One");
    AppendOwnerDrawn(plain, 0, 2, nullptr, L"Second");
    plain.CalcExtents();
    EXPECT_EQ(plain.GetImageColumnWidth(), 0);
    EXPECT_EQ(plain.GetAcceleratorColumnWidth(), 0);
    EXPECT_EQ(Measure(plain, 0).width, static_cast<UINT>(2 + 0 + 8 + MenuTextWidth(L"Second") + 3));
    // The default item is measured in bold, disabled or not.
    COXBitmapMenu withDefault;
    withDefault.CreatePopupMenu();
    AppendOwnerDrawn(withDefault, MF_GRAYED, 1, nullptr, L"Properties");
    AppendOwnerDrawn(withDefault, 0, 2, nullptr, L"Open");
    ::SetMenuDefaultItem(withDefault.GetSafeHmenu(), 0, TRUE);
    withDefault.CalcExtents();
    ASSERT_NE(MenuTextWidth(L"Properties", true), MenuTextWidth(L"Properties"));
    EXPECT_EQ(withDefault.GetTextColumnWidth(), MenuTextWidth(L"Properties", true));
    // An item whose data this menu never took in is no record of it: a plain owner-drawn
    // item of someone else is left unmeasured and paints nothing, instead of being read
    // as a record.
    int foreign = 12345;
    ::AppendMenuW(plain.GetSafeHmenu(), MF_OWNERDRAW, 3, reinterpret_cast<LPCWSTR>(&foreign));
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 3, 0, 0, reinterpret_cast<ULONG_PTR>(&foreign)};
    plain.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, 0u);
    EXPECT_EQ(mis.itemHeight, 0u);
    EXPECT_EQ(plain.GetItemInfo(reinterpret_cast<ULONG_PTR>(&foreign)), nullptr);
    plain.CalcExtents();
    EXPECT_EQ(plain.GetTextColumnWidth(), MenuTextWidth(L"Second"));
}

TEST_F(MeasureTest, HitTestAccumulatesMeasuredHeights)
{
    CurrentSkin skin(SkinKind::XP);
    MenuImages images;
    SampleMenu sample(images);
    std::vector<int> bottoms;
    int bottom = 0;
    for (int i = 0; i < 8; ++i) {
        bottom += static_cast<int>(Measure(sample.menu, i).height);
        bottoms.push_back(bottom);
    }
    struct Row {
        int y;
        int item;
        int before;
    };
    const int h0 = bottoms[0];
    const int middle = h0 - h0 / 2; // bottom less half the height
    const Row rows[] = {
        {0, 0, TRUE},                   // the first item's top
        {middle, 0, TRUE},              // its middle still counts as before
        {middle + 1, 0, FALSE},
        {h0, 0, FALSE},                 // its bottom row belongs to it
        {h0 + 1, 1, TRUE},
        {bottoms[2], 2, FALSE},         // the separator's last row
        {bottoms[7], 7, FALSE},
        {bottoms[7] + 1, -1, -1},       // below the last item
    };
    for (const Row& r : rows) {
        POINT pt{5, r.y};
        int before = -1;
        EXPECT_EQ(sample.menu.HitTest(&pt, &before), r.item) << "y " << r.y;
        EXPECT_EQ(before, r.before) << "y " << r.y;
    }
}

TEST_F(MeasureTest, PopupSizeAndPlacementNextToAButton)
{
    // A plain menu measures 0: commands count 17, separators 8; widest 0 + 18, 17 + 8 + 17 + 6.
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 1, L"One");
    plain.AppendMenu(MF_SEPARATOR);
    plain.AppendMenu(MF_STRING, 2, L"Two");
    EXPECT_EQ(COXBitmapMenu::GetPopupMenuSize(&plain), CSize(18, 48));
    constexpr DWORD top = 0x2000, left = 0x1000; // the bar's alignment: docked at the top, at the left
    struct Row {
        const char* what;
        RECT button;
        DWORD style;
        POINT point;
        UINT flags;
        UINT side;
    };
    const Row rows[] = {
        {"below a top bar's button", {100, 10, 150, 30}, top, {100, 29}, 0, 1},
        {"no room below: above", {100, 990, 150, 1010}, top, {100, 991}, TPM_BOTTOMALIGN, 8},
        {"past the right edge: pulled in", {1270, 10, 1290, 30}, top, {1280 - 18, 29}, 0, 1},
        {"left of the monitor: pushed in", {-30, 10, 20, 30}, top, {0, 29}, 0, 1},
        {"right of a vertical bar's button", {10, 100, 40, 130}, left, {40, 101}, 0, 2},
        {"no room to the right: left", {1250, 100, 1275, 130}, left, {1250, 101}, TPM_RIGHTALIGN, 4},
        {"near the bottom: pulled up", {10, 1000, 40, 1020}, left, {40, 1024 - 48 - 1}, 0, 2},
        {"above the monitor: pushed down", {10, -20, 40, 10}, left, {40, 0}, 0, 2},
    };
    for (const Row& r : rows) {
        CPoint point;
        UINT flags = 99, side = 99;
        COXBitmapMenu::DeterminePosition(&plain, &r.button, r.style, point, flags, side);
        EXPECT_EQ(point, CPoint(r.point)) << r.what;
        EXPECT_EQ(flags, r.flags) << r.what;
        EXPECT_EQ(side, r.side) << r.what;
    }
    // A bitmap menu's size is its measured items: widest + 18 by the sum + 6.
    CurrentSkin skin(SkinKind::XP);
    MenuImages images;
    SampleMenu sample(images);
    UINT widest = 0, sum = 0;
    for (int i = 0; i < 8; ++i) {
        widest = std::max(widest, Measure(sample.menu, i).width);
        sum += Measure(sample.menu, i).height;
    }
    EXPECT_EQ(COXBitmapMenu::GetPopupMenuSize(&sample.menu), CSize(static_cast<int>(widest) + 18, static_cast<int>(sum) + 6));
}

TEST_F(MeasureTest, ColumnLayoutOfAnItem)
{
    MenuImages images;
    COXImageInfo image(&images.images, 0, FALSE, -1);
    COXImageInfo check(&images.defaults, 0, TRUE, -1);
    const CRect item(0, 40, 200, 62); // 22 high
    for (SkinKind kind : {SkinKind::Classic, SkinKind::XP}) {
        CurrentSkin skin(kind);
        COXBitmapMenu menu;
        menu.CreatePopupMenu();
        AppendOwnerDrawn(menu, 0, 1, &image, L"&Open\tCtrl+O");
        menu.CalcExtents();
        const int T = menu.GetTextColumnWidth(), A = menu.GetAcceleratorColumnWidth(), H = menu.GetTextHeight();
        const bool xp = kind == SkinKind::XP;
        const int gap = xp ? 3 : 2, imageText = xp ? 15 : 8, right = xp ? 6 : 3;
        CRect button, rImage, text, accel;
        menu.DistributeSpace(0, &image, item, button, rImage, text, accel);
        const char* name = SkinName(kind);
        // The image at the left gap, (22 - 16) / 2 = 3 below the item's top.
        EXPECT_EQ(rImage, CRect(gap, 43, gap + 16, 59)) << name;
        EXPECT_EQ(button, xp ? CRect(1, 41, 1 + 4 + 16, 61) : CRect(0, 41, 20, 61)) << name;
        const int shrink = (22 - H) / 2;
        const int textLeft = gap + 16 + imageText;
        EXPECT_EQ(text, CRect(textLeft, 40 + shrink, textLeft + T, 62 - shrink)) << name;
        const int accelLeft = 200 - right - A;
        const int moved = accelLeft - (accelLeft - (textLeft + T)) / 2;
        EXPECT_EQ(accel, CRect(moved, 40 + shrink, moved + A, 62 - shrink)) << name;
        if (xp) {
            // A default-list image is centred in the XP button: (20 - 16) / 2 - 1 = 1 to the right.
            menu.DistributeSpace(0, &check, item, button, rImage, text, accel);
            EXPECT_EQ(rImage, CRect(4, 43, 20, 59));
        }
    }
}

TEST_F(MeasureTest, TheDitherBrushIsACheckerboardOfItsTwoColours)
{
    const COLORREF first = RGB(10, 20, 30), second = RGB(200, 210, 220);
    const HBRUSH brush = COXBitmapMenu::HBrushDitherCreate(first, second);
    ASSERT_NE(brush, nullptr);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = ::CreateBitmap(16, 16, 1, 32, nullptr);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    // The text and background colours of the DC do not enter into it.
    ::SetTextColor(dc, RGB(255, 0, 0));
    ::SetBkColor(dc, RGB(0, 255, 0));
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    std::string wrong;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            // Row 0 is 10101010: set bits (the second colour) at even x.
            const COLORREF want = ((x + y) % 2 == 0) ? second : first;
            if (::GetPixel(dc, x, y) != want)
                wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
        }
    EXPECT_EQ(wrong, "");
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DeleteObject(brush);
}

TEST_F(MeasureTest, DarkeningRoundsEachChannel)
{
    struct Row {
        COLORREF colour;
        LONG scale;
        COLORREF expected;
    };
    // MulDiv(c, 255 - s, 255), rounded to nearest.
    const Row rows[] = {
        {RGB(255, 255, 255), 60, RGB(0xC3, 0xC3, 0xC3)},
        {RGB(255, 255, 255), 15, RGB(0xF0, 0xF0, 0xF0)},
        {RGB(100, 50, 200), 36, RGB(86, 43, 172)},
        {RGB(0, 0, 0), 60, RGB(0, 0, 0)},
        {RGB(255, 128, 1), 0, RGB(255, 128, 1)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(COXMenuSkinXP::DarkenColor(r.scale, r.colour), r.expected) << std::hex << r.colour << " by " << std::dec << r.scale;
}

} // namespace
} // namespace zyn::test
