// The application's table of skins.
#include <gtest/gtest.h>

#include "platform/base/lasterror.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_table.h"
#include "toolkit/skins/skin_xp.h"

namespace {

// A Classic skin that reports its destruction.
class WatchedSkin : public COXSkinClassic {
public:
    explicit WatchedSkin(int& deaths, const wchar_t* name = L"Classic") : m_deaths(deaths) { m_strName = name; }
    ~WatchedSkin() override { ++m_deaths; }

private:
    int& m_deaths;
};

} // namespace

TEST(SkinTable, StandardSkins)
{
    COXSkinTable table;
    table.AddStandardSkins();
    EXPECT_EQ(table.GetSkinCount(), 3);
    ASSERT_NE(table.GetCurrentSkin(), nullptr);
    EXPECT_EQ(table.GetCurrentSkin()->GetName(), L"Office 2003");
    EXPECT_NE(dynamic_cast<COXSkinClassic*>(table.GetSkin(L"Classic")), nullptr);
    EXPECT_NE(dynamic_cast<COXSkinXP*>(table.GetSkin(L"Office XP")), nullptr);
    EXPECT_NE(dynamic_cast<COXSkin2003*>(table.GetSkin(L"Office 2003")), nullptr);
    EXPECT_EQ(table.GetSkin(L"office 2003"), nullptr);
    EXPECT_EQ(table.GetSkin(nullptr), nullptr);
}

TEST(SkinTable, SetCurrentSkin)
{
    COXSkinTable table;
    table.AddStandardSkins();
    COXSkin* xp = table.GetSkin(L"Office XP");
    EXPECT_TRUE(table.SetCurrentSkin(L"Office XP"));
    EXPECT_EQ(table.GetCurrentSkin(), xp);
    // An unknown name leaves no current skin.
    EXPECT_FALSE(table.SetCurrentSkin(L"Nonesuch"));
    EXPECT_EQ(table.GetCurrentSkin(), nullptr);
    EXPECT_FALSE(table.SetCurrentSkin(static_cast<const wchar_t*>(nullptr)));
    // By object: looked up by its name.
    EXPECT_TRUE(table.SetCurrentSkin(xp));
    EXPECT_EQ(table.GetCurrentSkin(), xp);
    COXSkinXP unregistered;
    EXPECT_TRUE(table.SetCurrentSkin(&unregistered));
    EXPECT_EQ(table.GetCurrentSkin(), xp); // the registered skin of that name
    EXPECT_FALSE(table.SetCurrentSkin(static_cast<COXSkin*>(nullptr)));
    EXPECT_EQ(table.GetCurrentSkin(), nullptr);
}

TEST(SkinTable, ReplacingAnEntryDestroysTheOldSkin)
{
    int deaths = 0;
    COXSkinTable table;
    EXPECT_TRUE(table.AddSkin(new WatchedSkin(deaths)));
    EXPECT_TRUE(table.AddSkin(new COXSkinXP));
    auto* replacement = new WatchedSkin(deaths);
    EXPECT_TRUE(table.AddSkin(replacement));
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(table.GetSkinCount(), 2);
    EXPECT_EQ(table.GetSkin(L"Classic"), replacement);
    // The other entry and the current skin (none) are untouched.
    EXPECT_EQ(table.GetCurrentSkin(), nullptr);
}

TEST(SkinTable, ReplacingTheCurrentSkinMakesTheNewOneCurrent)
{
    int deaths = 0;
    COXSkinTable table;
    table.AddStandardSkins();
    auto* first = new WatchedSkin(deaths, L"Office 2003");
    table.AddSkin(first);
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(table.GetCurrentSkin(), first); // the standard 2003 skin was current
    auto* second = new WatchedSkin(deaths, L"Office 2003");
    table.AddSkin(second);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(table.GetCurrentSkin(), second);
    EXPECT_EQ(table.GetCurrentSkin()->GetName(), L"Office 2003");
}

TEST(SkinTable, AddingARegisteredSkinAgainChangesNothing)
{
    int deaths = 0;
    COXSkinTable table;
    auto* skin = new WatchedSkin(deaths);
    table.AddSkin(skin);
    table.SetCurrentSkin(L"Classic");
    EXPECT_TRUE(table.AddSkin(skin));
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(table.GetSkin(L"Classic"), skin);
    EXPECT_EQ(table.GetCurrentSkin(), skin);
    EXPECT_EQ(table.GetCurrentSkin()->GetName(), L"Classic");
}

TEST(SkinTable, NullIsRefused)
{
    COXSkinTable table;
    SetLastError(0);
    EXPECT_FALSE(table.AddSkin(static_cast<COXSkin*>(nullptr)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(table.AddSkin(std::unique_ptr<COXSkin>()));
    EXPECT_EQ(table.GetSkinCount(), 0);
}

TEST(SkinTable, RemoveSkinHandsTheSkinBack)
{
    int deaths = 0;
    COXSkinTable table;
    auto* skin = new WatchedSkin(deaths);
    table.AddSkin(skin);
    table.AddSkin(new COXSkinXP);
    table.SetCurrentSkin(L"Classic");

    EXPECT_TRUE(table.RemoveSkin(L"Classic"));
    EXPECT_EQ(deaths, 0); // not destroyed: the caller owns it again
    EXPECT_EQ(table.GetSkin(L"Classic"), nullptr);
    // The removed skin was current: no current skin now, nothing dangles.
    EXPECT_EQ(table.GetCurrentSkin(), nullptr);
    EXPECT_FALSE(table.RemoveSkin(L"Classic"));
    EXPECT_FALSE(table.RemoveSkin(nullptr));
    delete skin;
    EXPECT_EQ(deaths, 1);

    std::unique_ptr<COXSkin> xp = table.DetachSkin(L"Office XP");
    ASSERT_NE(xp, nullptr);
    EXPECT_EQ(xp->GetName(), L"Office XP");
    EXPECT_EQ(table.GetSkinCount(), 0);
    EXPECT_EQ(table.DetachSkin(L"Office XP"), nullptr);
}

TEST(SkinTable, TheTableDestroysItsSkins)
{
    int deaths = 0;
    {
        COXSkinTable table;
        table.AddSkin(new WatchedSkin(deaths, L"A"));
        table.AddSkin(std::make_unique<WatchedSkin>(deaths, L"B"));
        table.SetCurrentSkin(L"A");
    }
    EXPECT_EQ(deaths, 2);
}
