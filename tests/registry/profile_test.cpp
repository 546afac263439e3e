// The application profile over the registry and over an INI file.
#include "platform/base/inifile.h"
#include "platform/base/profile.h"
#include "tests/registry/regtest.h"

using namespace zyn::test;
using zyn::base::AppProfile;

TEST_F(RegistryTest, ProfileInTheRegistry)
{
    AppProfile profile;
    profile.SetApplicationName(L"Monitor");
    profile.SetRegistryKey(L"Orvan");
    ASSERT_TRUE(profile.UsesRegistry());

    EXPECT_EQ(static_cast<int>(profile.GetProfileInt(L"Settings", L"Version", -1)), -1);
    EXPECT_FALSE(profile.GetProfileBinary(L"Settings", L"Blob"));
    ASSERT_TRUE(profile.WriteProfileInt(L"Settings", L"Version", 2));
    ASSERT_TRUE(profile.WriteProfileInt(L"Settings", L"Negative", -5));
    ASSERT_TRUE(profile.WriteProfileString(L"Settings", L"Title", L"Main \U0001F600"));
    const std::vector<uint8_t> blob = {0, 1, 0xFE, 0xFF, 0x80};
    ASSERT_TRUE(profile.WriteProfileBinary(L"Settings", L"Blob", blob));

    EXPECT_EQ(profile.GetProfileInt(L"settings", L"version", -1), 2u);
    EXPECT_EQ(static_cast<int>(profile.GetProfileInt(L"Settings", L"Negative", 0)), -5);
    EXPECT_EQ(profile.GetProfileString(L"Settings", L"Title"), L"Main \U0001F600");
    EXPECT_EQ(profile.GetProfileString(L"Settings", L"Nope", L"dflt"), L"dflt");
    EXPECT_EQ(profile.GetProfileBinary(L"Settings", L"Blob"), blob);
    // A value of another type reads as absent.
    EXPECT_EQ(profile.GetProfileInt(L"Settings", L"Title", 9), 9u);

    // Everything lives under HKCU\Software\<key>\<application>\<section>.
    KeyGuard k;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvan\\Monitor\\Settings", 0, KEY_READ, &k.h), 0);
    DWORD type = 0, v = 0, size = sizeof v;
    ASSERT_EQ(RegQueryValueExW(k.h, L"Version", nullptr, &type, reinterpret_cast<BYTE*>(&v), &size), 0);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(v, 2u);

    ASSERT_TRUE(profile.WriteProfileString(L"Settings", L"Title", nullptr));
    EXPECT_EQ(profile.GetProfileString(L"Settings", L"Title", L"gone"), L"gone");
    ASSERT_TRUE(profile.WriteProfileString(L"Settings", nullptr, nullptr));
    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvan\\Monitor\\Settings", 0, KEY_READ, &h),
        static_cast<LONG>(2));
    EXPECT_EQ(GetString(k.h, L"Version"), L"<error 1018>");
}

TEST_F(RegistryTest, ProfileInAnIniFile)
{
    AppProfile profile;
    profile.SetApplicationName(L"Monitor");
    ASSERT_FALSE(profile.UsesRegistry());
    EXPECT_EQ(profile.IniFileName(), L"Monitor.INI");

    ASSERT_TRUE(profile.WriteProfileInt(L"Settings", L"Version", -3));
    ASSERT_TRUE(profile.WriteProfileString(L"Settings", L"Title", L"Main"));
    const std::vector<uint8_t> blob = {0x00, 0x1F, 0xA5, 0xFF};
    ASSERT_TRUE(profile.WriteProfileBinary(L"Settings", L"Blob", blob));

    EXPECT_EQ(static_cast<int>(profile.GetProfileInt(L"Settings", L"Version", 0)), -3);
    EXPECT_EQ(profile.GetProfileString(L"Settings", L"Title"), L"Main");
    EXPECT_EQ(profile.GetProfileBinary(L"Settings", L"Blob"), blob);
    wchar_t buf[32];
    GetPrivateProfileStringW(L"Settings", L"Blob", L"", buf, 32, L"Monitor.INI");
    EXPECT_STREQ(buf, L"AAPBFKPP"); // low nibble first, 'A'-based
    ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", L"Blob", L"AAZ", L"Monitor.INI"));
    EXPECT_FALSE(profile.GetProfileBinary(L"Settings", L"Blob"));

    // A long string comes back whole.
    const std::wstring longText(3000, L'q');
    ASSERT_TRUE(profile.WriteProfileString(L"Settings", L"Long", longText.c_str()));
    EXPECT_EQ(profile.GetProfileString(L"Settings", L"Long"), longText);
    EXPECT_TRUE(std::filesystem::exists(WindowsDir() / "Monitor.INI"));
}
