// How a skinned control finds its element skin.
#include <gtest/gtest.h>

#include <typeinfo>

#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_table.h"
#include "toolkit/skins/statusbar_skin.h"

namespace {

// A stand-in for a skinned control: it asks for its element skins on every paint.
struct FakeControl {
    COXElementSkinLookup<COXStatusbarSkin> statusbarSkin;
    COXElementSkinLookup<COXFrameSkin> frameSkin;
    COXElementSkinLookup<COXDialogBarSkin> dialogBarSkin;
};

// The application's skins while a test runs.
COXSkinTable* g_table = nullptr;
COXSkin* TableSource() { return g_table ? g_table->GetCurrentSkin() : nullptr; }

class SkinLookup : public testing::Test {
protected:
    void SetUp() override { m_previous = OXSetSkinSource(nullptr); }
    void TearDown() override
    {
        OXSetSkinSource(m_previous);
        g_table = nullptr;
    }
    OXSkinSource m_previous = nullptr;
};

} // namespace

static_assert(!std::is_copy_constructible_v<COXElementSkinLookup<COXMenuSkin>>);

TEST_F(SkinLookup, WithoutAnApplicationEachControlOwnsOneClassicSkin)
{
    EXPECT_EQ(OXGetCurrentSkin(), nullptr);
    FakeControl first;
    FakeControl second;
    EXPECT_FALSE(first.statusbarSkin.HasFallback());

    COXStatusbarSkin* skin = first.statusbarSkin.Get();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(typeid(*skin), typeid(COXStatusbarSkinClassic));
    EXPECT_TRUE(first.statusbarSkin.HasFallback());
    // Created once and reused on later paints.
    EXPECT_EQ(first.statusbarSkin.Get(), skin);
    EXPECT_EQ(first.statusbarSkin.Get(), skin);
    // Each control has its own.
    EXPECT_NE(second.statusbarSkin.Get(), skin);

    EXPECT_EQ(typeid(*first.frameSkin.Get()), typeid(COXFrameSkinClassic));
    EXPECT_EQ(first.frameSkin.Get(), first.frameSkin.Get());
    EXPECT_EQ(typeid(*first.dialogBarSkin.Get()), typeid(COXDialogBarSkinClassic));
    // The controls free their skins with themselves (the leak checker sees to it).
}

TEST_F(SkinLookup, TheCurrentSkinIsAskedAtEachCall)
{
    COXSkinTable table;
    table.AddStandardSkins();
    g_table = &table;
    OXSetSkinSource(&TableSource);

    FakeControl control;
    EXPECT_EQ(control.statusbarSkin.Get(), table.GetSkin(L"Office 2003")->GetStatusbarSkin());
    EXPECT_FALSE(control.statusbarSkin.HasFallback());

    // A change of the current skin shows at the next call.
    ASSERT_TRUE(table.SetCurrentSkin(L"Classic"));
    COXDialogBarSkin* dialogBar = control.dialogBarSkin.Get();
    EXPECT_EQ(dialogBar, table.GetSkin(L"Classic")->GetDialogBarSkin());
    EXPECT_EQ(typeid(*dialogBar), typeid(COXDialogBarSkinClassic));

    // No current skin: the control's own Classic skin.
    EXPECT_FALSE(table.SetCurrentSkin(L"Nonesuch"));
    COXFrameSkin* own = control.frameSkin.Get();
    EXPECT_TRUE(control.frameSkin.HasFallback());
    EXPECT_EQ(own, control.frameSkin.GetFallback());
    EXPECT_NE(own, table.GetSkin(L"Classic")->GetFrameSkin());

    // Back to a skin: its element skin again, the fallback kept for later.
    table.SetCurrentSkin(L"Office XP");
    EXPECT_EQ(control.frameSkin.Get(), table.GetSkin(L"Office XP")->GetFrameSkin());
    OXSetSkinSource(nullptr);
    EXPECT_EQ(control.frameSkin.Get(), own);
}

TEST_F(SkinLookup, AnEmptiedSlotFallsBackToTheClassicSkin)
{
    COXSkinTable table;
    table.AddStandardSkins();
    g_table = &table;
    OXSetSkinSource(&TableSource);
    table.GetCurrentSkin()->SetStatusbarSkin(nullptr);

    FakeControl control;
    COXStatusbarSkin* skin = control.statusbarSkin.Get();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(typeid(*skin), typeid(COXStatusbarSkinClassic));
}

TEST_F(SkinLookup, SharedFallbackLikeTheBitmapMenus)
{
    // The bitmap menus share one fallback menu skin.
    static COXElementSkinLookup<COXMenuSkin> shared;
    COXMenuSkin* a = shared.Get();
    COXMenuSkin* b = shared.Get();
    EXPECT_EQ(a, b);
    EXPECT_EQ(typeid(*a), typeid(COXMenuSkinClassic));
}
