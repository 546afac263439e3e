// Skin objects: names, the element skins each one owns, setters and properties.
#include <gtest/gtest.h>

#include <typeinfo>

#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/shortcutbar_skin.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/statusbar_skin.h"
#include "toolkit/skins/tab_skin.h"
#include "toolkit/skins/toolbar_skin.h"

namespace {

template <class Expected, class T>
bool Is(T* p)
{
    return p && typeid(*p) == typeid(Expected);
}

// A tab skin that counts its destructions.
class CountingTabSkin : public COXTabSkinClassic {
public:
    explicit CountingTabSkin(int& deaths) : m_deaths(deaths) {}
    ~CountingTabSkin() override { ++m_deaths; }

private:
    int& m_deaths;
};

} // namespace

static_assert(!std::is_copy_constructible_v<COXSkin>);
static_assert(std::is_polymorphic_v<COXFrameSkin> && std::is_abstract_v<COXFrameSkin>);
static_assert(std::is_abstract_v<COXToolbarSkin> && std::is_abstract_v<COXDialogBarSkin> &&
    std::is_abstract_v<COXMenuSkin> && std::is_abstract_v<COXDockbarSkin> && std::is_abstract_v<COXTabSkin> &&
    std::is_abstract_v<COXShortcutBarSkin> && std::is_abstract_v<COXMiniFrameSkin> &&
    std::is_abstract_v<COXStatusbarSkin>);
static_assert(std::is_base_of_v<COXToolbarSkinXP, COXToolbarSkin2003> &&
    std::is_base_of_v<COXMenuSkinXP, COXMenuSkin2003> && std::is_base_of_v<COXDockbarSkinXP, COXDockbarSkin2003> &&
    std::is_base_of_v<COXTabSkinXP, COXTabSkin2003> &&
    std::is_base_of_v<COXShortcutBarSkinXP, COXShortcutBarSkin2003> &&
    std::is_base_of_v<COXStatusbarSkinXP, COXStatusbarSkin2003> &&
    std::is_base_of_v<COXFrameSkinXP, COXFrameSkin2003> &&
    std::is_base_of_v<COXDialogBarSkinXP, COXDialogBarSkin2003>);
static_assert(std::is_base_of_v<COXSkinXP, COXSkin2003> && std::is_base_of_v<COXSkin, COXSkinXP>);

TEST(SkinObjects, ClassicOwnsAClassicElementSkinOfEveryKind)
{
    COXSkinClassic skin;
    EXPECT_EQ(skin.GetName(), L"Classic");
    EXPECT_TRUE(Is<COXToolbarSkinClassic>(skin.GetToolbarSkin()));
    EXPECT_TRUE(Is<COXDialogBarSkinClassic>(skin.GetDialogBarSkin()));
    EXPECT_TRUE(Is<COXMenuSkinClassic>(skin.GetMenuSkin()));
    EXPECT_TRUE(Is<COXToolbarSkinClassic>(skin.GetMenubarSkin()));
    EXPECT_NE(static_cast<void*>(skin.GetMenubarSkin()), static_cast<void*>(skin.GetToolbarSkin()));
    EXPECT_TRUE(Is<COXDockbarSkinClassic>(skin.GetDockbarSkin()));
    EXPECT_TRUE(Is<COXTabSkinClassic>(skin.GetTabSkin()));
    EXPECT_TRUE(Is<COXShortcutBarSkinClassic>(skin.GetShortcutBarSkin()));
    EXPECT_TRUE(Is<COXMiniFrameSkinClassic>(skin.GetMiniFrameSkin()));
    EXPECT_TRUE(Is<COXStatusbarSkinClassic>(skin.GetStatusbarSkin()));
    EXPECT_TRUE(Is<COXFrameSkinClassic>(skin.GetFrameSkin()));
}

TEST(SkinObjects, XPElementSkinsPointBackToTheirSkin)
{
    COXSkinXP skin;
    EXPECT_EQ(skin.GetName(), L"Office XP");
    EXPECT_TRUE(Is<COXToolbarSkinXP>(skin.GetToolbarSkin()));
    EXPECT_TRUE(Is<COXDialogBarSkinXP>(skin.GetDialogBarSkin()));
    EXPECT_TRUE(Is<COXMenuSkinXP>(skin.GetMenuSkin()));
    EXPECT_TRUE(Is<COXToolbarSkinXP>(skin.GetMenubarSkin()));
    EXPECT_TRUE(Is<COXDockbarSkinXP>(skin.GetDockbarSkin()));
    EXPECT_TRUE(Is<COXTabSkinXP>(skin.GetTabSkin()));
    EXPECT_TRUE(Is<COXShortcutBarSkinXP>(skin.GetShortcutBarSkin()));
    EXPECT_TRUE(Is<COXMiniFrameSkinXP>(skin.GetMiniFrameSkin()));
    EXPECT_TRUE(Is<COXStatusbarSkinXP>(skin.GetStatusbarSkin()));
    EXPECT_TRUE(Is<COXFrameSkinXP>(skin.GetFrameSkin()));
    EXPECT_EQ(static_cast<COXToolbarSkinXP*>(skin.GetToolbarSkin())->GetSkin(), &skin);
    EXPECT_EQ(static_cast<COXMenuSkinXP*>(skin.GetMenuSkin())->GetSkin(), &skin);
    EXPECT_EQ(static_cast<COXMiniFrameSkinXP*>(skin.GetMiniFrameSkin())->GetSkin(), &skin);
}

TEST(SkinObjects, Office2003UsesXPSkinsForTheMenuBarAndMiniFrames)
{
    COXSkin2003 skin;
    EXPECT_EQ(skin.GetName(), L"Office 2003");
    EXPECT_TRUE(Is<COXToolbarSkin2003>(skin.GetToolbarSkin()));
    EXPECT_TRUE(Is<COXDialogBarSkin2003>(skin.GetDialogBarSkin()));
    EXPECT_TRUE(Is<COXMenuSkin2003>(skin.GetMenuSkin()));
    EXPECT_TRUE(Is<COXToolbarSkinXP>(skin.GetMenubarSkin()));
    EXPECT_TRUE(Is<COXDockbarSkin2003>(skin.GetDockbarSkin()));
    EXPECT_TRUE(Is<COXTabSkin2003>(skin.GetTabSkin()));
    EXPECT_TRUE(Is<COXShortcutBarSkin2003>(skin.GetShortcutBarSkin()));
    EXPECT_TRUE(Is<COXMiniFrameSkinXP>(skin.GetMiniFrameSkin()));
    EXPECT_TRUE(Is<COXStatusbarSkin2003>(skin.GetStatusbarSkin()));
    EXPECT_TRUE(Is<COXFrameSkin2003>(skin.GetFrameSkin()));
    // The XP element skins read the 2003 colours through the same object.
    EXPECT_EQ(static_cast<COXToolbarSkinXP*>(skin.GetMenubarSkin())->GetSkin(), static_cast<COXSkinXP*>(&skin));
    EXPECT_EQ(static_cast<COXMiniFrameSkinXP*>(skin.GetMiniFrameSkin())->GetSkin(), static_cast<COXSkinXP*>(&skin));
}

TEST(SkinObjects, DestroyedThroughTheBase)
{
    std::unique_ptr<COXSkin> skins[] = {std::make_unique<COXSkinClassic>(), std::make_unique<COXSkinXP>(),
        std::make_unique<COXSkin2003>()};
    for (auto& s : skins)
        s.reset(); // every element skin goes with its skin (checked by the leak checker)
}

TEST(SkinObjects, ElementSkinColoursComeFromTheirSkin)
{
    skintest::SysColours colours;
    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office2003;
    EXPECT_EQ(classic.GetFrameSkin()->GetBackgroundColor(), skintest::kBtnFace);
    EXPECT_EQ(classic.GetFrameSkin()->GetBorderColor(), skintest::kBtnShadow);
    EXPECT_EQ(xp.GetFrameSkin()->GetBorderColor(), skintest::kBtnShadow);
    EXPECT_EQ(office2003.GetFrameSkin()->GetBorderColor(), office2003.GetBorderColor());
    EXPECT_EQ(office2003.GetFrameSkin()->GetBackgroundColor(), office2003.GetDockbarBackgroundColor());

    EXPECT_EQ(classic.GetDockbarSkin()->GetClientBorderColor(), skintest::kWindowFrame);
    EXPECT_EQ(xp.GetDockbarSkin()->GetClientBorderColor(), xp.GetBorderColor());
    EXPECT_EQ(office2003.GetDockbarSkin()->GetClientBorderColor(), office2003.GetBorderColor());
    EXPECT_EQ(classic.GetDockbarSkin()->GetControlBarConstants().nGripperButtonGap, 2);
    EXPECT_EQ(xp.GetDockbarSkin()->GetControlBarConstants().nGripperButtonGap, 3);
    EXPECT_EQ(office2003.GetDockbarSkin()->GetControlBarConstants().nGripperButtonGap, 3);

    EXPECT_EQ(classic.GetShortcutBarSkin()->GetBackgroundColor(nullptr), skintest::kBtnShadow);
    EXPECT_EQ(classic.GetShortcutBarSkin()->GetGroupTextColor(nullptr), skintest::kCaptionText);
    EXPECT_EQ(xp.GetShortcutBarSkin()->GetBackgroundColor(nullptr), xp.GetBackgroundColor());
    EXPECT_EQ(office2003.GetShortcutBarSkin()->GetGroupTextColor(nullptr), skintest::kWindowText);

    EXPECT_TRUE(classic.GetToolbarSkin()->CallOnEraseBkgnd());
    EXPECT_FALSE(xp.GetToolbarSkin()->CallOnEraseBkgnd());
    EXPECT_FALSE(office2003.GetToolbarSkin()->CallOnEraseBkgnd());
    EXPECT_TRUE(classic.GetDialogBarSkin()->CallOnEraseBkgnd());
    EXPECT_FALSE(office2003.GetDialogBarSkin()->CallOnEraseBkgnd());
    EXPECT_TRUE(xp.GetMiniFrameSkin()->OnNcActivate(FALSE, nullptr));
    EXPECT_FALSE(classic.GetMiniFrameSkin()->DrawCaptionButtons(nullptr));
}

TEST(SkinObjects, MenuDimensions)
{
    COXSkinClassic classic;
    COXSkin2003 office2003;
    const OXDIMENSIONCONSTANTS& c = classic.GetMenuSkin()->GetDimentionConstants();
    EXPECT_EQ(c.nImageLeftGap, 2);
    EXPECT_EQ(c.nImageTextGap, 8);
    EXPECT_EQ(c.nTextAccelGap, 2);
    EXPECT_EQ(c.nAccelRightGap, 3);
    EXPECT_EQ(c.nTextVertPadding, 4);
    EXPECT_EQ(c.nImageVertPadding, 3);
    EXPECT_EQ(c.nSeparatorHeight, 8);
    EXPECT_EQ(c.nMenuBarItemPadding, 12);
    const OXDIMENSIONCONSTANTS& x = office2003.GetMenuSkin()->GetDimentionConstants();
    EXPECT_EQ(x.nImageLeftGap, 3);
    EXPECT_EQ(x.nStripExtraWidth, 5);
    EXPECT_EQ(x.nImageTextGap, 15);
    EXPECT_EQ(x.nTextAccelGap, 12);
    EXPECT_EQ(x.nAccelRightGap, 6);
    EXPECT_EQ(x.nTextVertPadding, 10);
    EXPECT_EQ(x.nImageVertPadding, 4);
    EXPECT_EQ(x.nSeparatorHeight, 3);
    EXPECT_EQ(x.nMinImageWidth, 16);
    EXPECT_EQ(x.nMenuBarItemPadding, 16);

    // The expansion item: kept by Classic, half plus one by XP and 2003.
    UINT height = 19;
    classic.GetMenuSkin()->AdjustExpansionItemHeight(height, nullptr);
    EXPECT_EQ(height, 19u);
    office2003.GetMenuSkin()->AdjustExpansionItemHeight(height, nullptr);
    EXPECT_EQ(height, 10u);
}

TEST(SkinObjects, SmallColourHelpersOfTheElementSkins)
{
    // The drop-shadow darkening: 255 darkened by 60 and by 15.
    EXPECT_EQ(COXMenuSkinXP::DarkenColor(60, RGB(255, 255, 255)), 0xC3C3C3u);
    EXPECT_EQ(COXMenuSkinXP::DarkenColor(15, RGB(255, 255, 255)), 0xF0F0F0u);
    EXPECT_EQ(COXMenuSkinXP::DarkenColor(0, RGB(1, 2, 3)), RGB(1, 2, 3));
    // The Classic shortcut bar's shift: each channel from its own byte, capped or floored.
    EXPECT_EQ(COXShortcutBarSkinClassic::UpdateColor(RGB(255, 255, 255), 64), RGB(255, 255, 255));
    EXPECT_EQ(COXShortcutBarSkinClassic::UpdateColor(RGB(0, 0, 0), -128), RGB(0, 0, 0));
    EXPECT_EQ(COXShortcutBarSkinClassic::UpdateColor(RGB(200, 100, 10), 64), RGB(255, 164, 74));
    EXPECT_EQ(COXShortcutBarSkinClassic::UpdateColor(RGB(200, 100, 10), -128), RGB(72, 0, 0));
}

TEST(SkinObjects, FrameSkinsGrowTheClientAreaByOnePixel)
{
    COXSkinClassic classic;
    COXSkinXP xp;
    RECT r{10, 20, 110, 220};
    classic.GetFrameSkin()->OnNcCalcSizeView(reinterpret_cast<LPARAM>(&r), nullptr);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 220);
    xp.GetFrameSkin()->OnNcCalcSizeView(reinterpret_cast<LPARAM>(&r), nullptr);
    EXPECT_EQ(r.left, 9);
    EXPECT_EQ(r.top, 19);
    EXPECT_EQ(r.right, 111);
    EXPECT_EQ(r.bottom, 221);
}

TEST(SkinObjects, SettersDestroyTheOldElementSkin)
{
    int deaths = 0;
    {
        COXSkinClassic skin;
        auto* first = new CountingTabSkin(deaths);
        skin.SetTabSkin(first);
        EXPECT_EQ(skin.GetTabSkin(), first);
        auto* second = new CountingTabSkin(deaths);
        skin.SetTabSkin(second);
        EXPECT_EQ(deaths, 1);
        EXPECT_EQ(skin.GetTabSkin(), second);
        // Null empties the slot; destruction of the skin then skips it.
        skin.SetTabSkin(nullptr);
        EXPECT_EQ(deaths, 2);
        EXPECT_EQ(skin.GetTabSkin(), nullptr);
    }
    EXPECT_EQ(deaths, 2);
}

TEST(SkinObjects, ASetterGivenTheHeldElementSkinKeepsIt)
{
    int deaths = 0;
    {
        COXSkinXP skin;
        auto* held = new CountingTabSkin(deaths);
        skin.SetTabSkin(held);
        skin.SetTabSkin(held);
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(skin.GetTabSkin(), held);

        COXToolbarSkin* toolbar = skin.GetToolbarSkin();
        skin.SetToolbarSkin(toolbar);
        skin.SetMenubarSkin(skin.GetMenubarSkin());
        skin.SetMenuSkin(skin.GetMenuSkin());
        skin.SetDockbarSkin(skin.GetDockbarSkin());
        skin.SetShortcutBarSkin(skin.GetShortcutBarSkin());
        skin.SetMiniFrameSkin(skin.GetMiniFrameSkin());
        skin.SetStatusbarSkin(skin.GetStatusbarSkin());
        skin.SetFrameSkin(skin.GetFrameSkin());
        EXPECT_EQ(skin.GetToolbarSkin(), toolbar);
        EXPECT_FALSE(toolbar->CallOnEraseBkgnd()); // still alive (the sanitizer would object)
    }
    EXPECT_EQ(deaths, 1);
}

TEST(SkinObjects, Properties)
{
    COXSkin2003 skin;
    EXPECT_EQ(skin.GetProperty(L"Accent"), L"");
    skin.SetProperty(L"Accent", L"blue");
    skin.SetProperty(L"Accent", L"green");
    EXPECT_EQ(skin.GetProperty(L"Accent"), L"green");
    EXPECT_EQ(skin.GetProperty(L"accent"), L""); // names are exact
    skin.SetProperty(nullptr, L"empty name");
    EXPECT_EQ(skin.GetProperty(L""), L"empty name");
    skin.SetProperty(L"Cleared", nullptr);
    EXPECT_EQ(skin.GetProperty(L"Cleared"), L"");
}
