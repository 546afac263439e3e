#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/zyn_registry.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"
#include "tests/support/testenv.h"

TEST(ZynRegistry, ValuesThroughTheDefaultKey)
{
    {
        CZynRegistry w(true);
        ASSERT_TRUE(w.IsOpen());
        EXPECT_TRUE(w.SetString(L"InstalledProductName", L"Video \U0001F3A5"));
        EXPECT_TRUE(w.SetDWORD(L"DefaultKeyLength", 0x01020304));
        const BYTE blob[] = {0, 1, 2, 0xFF};
        EXPECT_TRUE(w.SetBinary(L"Blob", blob, sizeof blob));
    }
    CZynRegistry r;
    ASSERT_TRUE(r.IsOpen());
    CString s;
    ASSERT_TRUE(r.GetString(L"installedproductname", s));
    EXPECT_EQ(s, CString(L"Video \U0001F3A5"));
    DWORD d = 0;
    ASSERT_TRUE(r.GetDWORD(L"DefaultKeyLength", d));
    EXPECT_EQ(d, 0x01020304u);
    std::vector<BYTE> b;
    ASSERT_TRUE(r.GetBinary(L"Blob", b));
    EXPECT_EQ(b, (std::vector<BYTE>{0, 1, 2, 0xFF}));
    EXPECT_FALSE(r.GetDWORD(L"Blob", d)) << "type mismatch";
    EXPECT_FALSE(r.SetDWORD(L"x", 1)) << "read-only key refuses writes";
    EXPECT_FALSE(r.GetString(L"Missing", s));
    EXPECT_EQ(r.GetLastResult(), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST(ZynRegistry, KeyExistsAndImport)
{
    EXPECT_FALSE(CZynRegistry::KeyExists(HKEY_CURRENT_USER, L"Software\\Report Runtime\\DatabaseOptions\\OuterJoin"));
    const auto path = std::filesystem::path(zyn::test::TempRoot()) / "CRJoin.reg";
    {
        std::ofstream out(path, std::ios::binary);
        out << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Report Runtime\\DatabaseOptions\\OuterJoin]\r\n"
               "\"Enabled\"=dword:00000001\r\n";
    }
    const CString wpath(zyn::base::FromUtf8(path.string()).c_str());
    ASSERT_TRUE(CZynRegistry::ImportRegFile(wpath, true));
    EXPECT_TRUE(CZynRegistry::KeyExists(HKEY_CURRENT_USER, L"Software\\Report Runtime\\DatabaseOptions\\OuterJoin"));
    EXPECT_FALSE(CZynRegistry::ImportRegFile(nullptr, true));
}
