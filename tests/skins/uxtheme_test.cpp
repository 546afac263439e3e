// The visual-styles wrapper with and without a visual-styles library.
#include <gtest/gtest.h>

#include <type_traits>

#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/uxtheme.h"

using skintest::FakeTheme;
using skintest::FakeThemeModule;

// One wrapper, one reference to the library.
static_assert(!std::is_copy_constructible_v<COXUxTheme>);
static_assert(!std::is_copy_assignable_v<COXUxTheme>);

TEST(UxTheme, WithoutTheLibraryEverythingAnswersNoStyle)
{
    {
        // The platform's library: a style is on, but it has no theme data.
        const COXUxTheme platform;
        EXPECT_NE(platform.IsUxThemeLoaded(), 0);
        EXPECT_EQ(platform.OpenThemeData(nullptr, L"button"), nullptr);
        EXPECT_EQ(platform.GetThemeSysColor(nullptr, COLOR_HIGHLIGHT), 0u);
    }
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(L"UxTheme.dll"));
    const COXUxTheme theme;
    zyn::gdi::RegisterDrawingModules();
    EXPECT_EQ(theme.IsUxThemeLoaded(), 0);
    EXPECT_EQ(theme.OpenThemeData(nullptr, L"button"), nullptr);
    EXPECT_EQ(theme.GetWindowTheme(nullptr), nullptr);
    const RECT r{0, 0, 10, 10};
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, nullptr, 1, 1, &r, nullptr), 0);
    EXPECT_EQ(theme.DrawThemeText(nullptr, nullptr, 1, 1, L"x", 1, 0, 0, &r), 0);
    EXPECT_EQ(theme.GetThemeSysColor(nullptr, COLOR_HIGHLIGHT), 0u);
    EXPECT_EQ(theme.CloseThemeData(nullptr), 0);
}

TEST(UxTheme, ForwardsToTheLibrary)
{
    FakeThemeModule module;
    const COXUxTheme theme;
    EXPECT_NE(theme.IsUxThemeLoaded(), 0);
    const HTHEME h = theme.OpenThemeData(nullptr, L"button");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(FakeTheme::opened, 1);
    EXPECT_EQ(theme.GetThemeSysColor(h, COLOR_HIGHLIGHT), FakeTheme::highlight);
    EXPECT_EQ(theme.GetThemeSysColor(h, COLOR_ACTIVECAPTION), FakeTheme::activeCaption);
    EXPECT_NE(theme.CloseThemeData(h), 0);
    EXPECT_EQ(FakeTheme::closed, 1);

    // No active style: no theme data.
    FakeTheme::active = false;
    EXPECT_EQ(theme.OpenThemeData(nullptr, L"button"), nullptr);
}

TEST(UxTheme, DrawingSucceedsOnlyOnSOk)
{
    FakeThemeModule module;
    const COXUxTheme theme;
    const RECT r{0, 0, 10, 10};
    const HTHEME h = reinterpret_cast<HTHEME>(static_cast<uintptr_t>(0x7E001));
    FakeTheme::drawResult = S_OK;
    EXPECT_NE(theme.DrawThemeBackground(h, nullptr, 1, 1, &r, nullptr), 0);
    EXPECT_NE(theme.DrawThemeText(h, nullptr, 1, 1, L"x", 1, 0, 0, &r), 0);
    // Positive codes other than S_OK are failures too.
    FakeTheme::drawResult = S_FALSE;
    EXPECT_EQ(theme.DrawThemeBackground(h, nullptr, 1, 1, &r, nullptr), 0);
    EXPECT_EQ(theme.DrawThemeText(h, nullptr, 1, 1, L"x", 1, 0, 0, &r), 0);
    FakeTheme::drawResult = E_FAIL;
    EXPECT_EQ(theme.DrawThemeBackground(h, nullptr, 1, 1, &r, nullptr), 0);
}

TEST(UxTheme, MissingEntryPointsAnswerAsWithoutTheLibrary)
{
    FakeThemeModule module({{"GetThemeSysColor", zyn::base::ExportAddress(&FakeTheme::GetThemeSysColor)}});
    const COXUxTheme theme;
    EXPECT_NE(theme.IsUxThemeLoaded(), 0);
    EXPECT_EQ(theme.OpenThemeData(nullptr, L"button"), nullptr);
    EXPECT_EQ(theme.GetWindowTheme(nullptr), nullptr);
    const RECT r{0, 0, 10, 10};
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, nullptr, 1, 1, &r, nullptr), 0);
    EXPECT_EQ(theme.CloseThemeData(reinterpret_cast<HTHEME>(static_cast<uintptr_t>(0x7E001))), 0);
}

TEST(UxTheme, TheLibraryStaysLoadedForTheWrappersLife)
{
    FakeThemeModule module;
    {
        const COXUxTheme first;
        {
            const COXUxTheme second;
            EXPECT_NE(second.IsUxThemeLoaded(), 0);
        }
        // The other wrapper's release leaves this one working.
        const HTHEME h = first.OpenThemeData(nullptr, L"button");
        EXPECT_NE(h, nullptr);
        first.CloseThemeData(h);
    }
    EXPECT_EQ(FakeTheme::opened, FakeTheme::closed);
}
