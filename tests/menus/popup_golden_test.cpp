// Open bitmap menus in every skin, compared with their golden pictures outside the text:
// the frame, the image strip, the drop shadow over the white owner, a selected item with
// its hot image, a checked default check mark, a checked image button, a disabled image,
// the separator, the submenu arrow and the expansion item.
#include "tests/menus/menu_test_support.h"
#include "tests/support/golden.h"

namespace zyn::test {
namespace {

class PopupGoldenTest : public MenuTest, public ::testing::WithParamInterface<SkinKind> {};

// The text and accelerator rectangles of every item, in the picture's coordinates (the
// window's top-left is (0, 0)), one pixel larger all round.
std::vector<RECT> TextRectangles(COXBitmapMenu& menu, HWND popup)
{
    std::vector<RECT> rects;
    RECT window;
    ::GetWindowRect(popup, &window);
    POINT client{0, 0};
    ::ClientToScreen(popup, &client);
    const int count = static_cast<int>(menu.GetMenuItemCount());
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (!::GetMenuItemRect(popup, menu.GetSafeHmenu(), static_cast<UINT>(i), &item))
            continue;
        ::OffsetRect(&item, -client.x, -client.y);
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        menu.GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE);
        const COXItemInfo* info = menu.GetItemInfo(mii.dwItemData);
        CRect button, image, text, accel;
        menu.DistributeSpace(0, info ? info->GetImageInfo() : nullptr, CRect(item), button, image, text, accel);
        for (CRect r : {text, accel}) {
            if (r.IsRectEmpty())
                continue;
            r.OffsetRect(client.x - window.left, client.y - window.top);
            r.InflateRect(1, 1);
            rects.push_back(r);
        }
    }
    return rects;
}

TEST_P(PopupGoldenTest, AnOpenMenuWithItsFirstItemSelected)
{
    CurrentSkin skin(GetParam());
    MenuImages images;
    SampleMenu sample(images);
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateOwner(RECT{0, 0, 400, 400}));
    owner.AddMenu(&sample.menu);
    owner.AddMenu(&sample.sub);
    Pump();
    GoldenPicture picture;
    std::vector<RECT> ignore;
    user::QueueIdleAction([&] {
        user::InjectKeyPress(VK_DOWN);
        user::QueueIdleAction([&] {
            const HWND popup = OnlyPopup();
            ASSERT_NE(popup, nullptr);
            RECT window;
            ::GetWindowRect(popup, &window);
            // The shadow lies over the owner's white: take a margin of it too.
            ::InflateRect(&window, 2, 2);
            picture = CaptureScreen(window);
            ignore = TextRectangles(sample.menu, popup);
            for (RECT& r : ignore)
                ::OffsetRect(&r, 2, 2);
            user::InjectKeyPress(VK_ESCAPE);
        });
    });
    sample.menu.TrackPopupMenu(TPM_RETURNCMD, 40, 30, &owner);
    EXPECT_TRUE(MatchesGolden("menus", std::string("popup_") + SkinName(GetParam()) + "_selected", picture, ignore));
    owner.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Skins, PopupGoldenTest,
    ::testing::Values(SkinKind::Classic, SkinKind::XP, SkinKind::Office2003),
    [](const ::testing::TestParamInfo<SkinKind>& info) { return std::string(SkinName(info.param)) == "2003" ? std::string("Office2003") : std::string(SkinName(info.param)); });

} // namespace
} // namespace zyn::test
