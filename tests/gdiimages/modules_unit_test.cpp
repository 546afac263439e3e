// The drawing layer's built-in modules and the reported system version.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/version.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"

TEST(Version, GetVersionExReportsNt61)
{
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    ASSERT_TRUE(GetVersionExW(&vi));
    EXPECT_EQ(vi.dwMajorVersion, 6u);
    EXPECT_EQ(vi.dwMinorVersion, 1u);
    EXPECT_EQ(vi.dwBuildNumber, 7601u);
    EXPECT_EQ(vi.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_STREQ(vi.szCSDVersion, L"Service Pack 1");

    OSVERSIONINFOEXW ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionEx(reinterpret_cast<LPOSVERSIONINFOW>(&ex)));
    EXPECT_EQ(ex.dwMajorVersion, 6u);
    EXPECT_EQ(ex.wServicePackMajor, 1);
    EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);

    OSVERSIONINFOW bad{};
    bad.dwOSVersionInfoSize = 20;
    EXPECT_FALSE(GetVersionExW(&bad));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(bad.dwMajorVersion, 0u); // nothing written
    EXPECT_FALSE(GetVersionExW(nullptr));

    const DWORD v = GetVersion();
    EXPECT_EQ(LOBYTE(v), 6);
    EXPECT_EQ(HIBYTE(LOWORD(v)), 1);
    EXPECT_EQ(HIWORD(v), 7601);
    EXPECT_EQ(v & 0x80000000u, 0u);
}

TEST(BuiltinModules, ComctlDllGetVersionThroughLoadLibrary)
{
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(comctl, "DllGetVersion"));
    ASSERT_NE(getVersion, nullptr);

    // The probe the toolkit makes: a zeroed 20-byte record.
    DLLVERSIONINFO dvi{};
    dvi.cbSize = 20;
    EXPECT_EQ(getVersion(&dvi), S_OK);
    EXPECT_EQ(dvi.dwMajorVersion, 6u);
    EXPECT_EQ(dvi.dwMinorVersion, 0u);
    EXPECT_EQ(dvi.dwPlatformID, DLLVER_PLATFORM_NT);

    DLLVERSIONINFO2 dvi2{};
    dvi2.info1.cbSize = sizeof dvi2;
    EXPECT_EQ(getVersion(&dvi2.info1), S_OK);
    EXPECT_EQ(dvi2.ullVersion >> 48, 6u);
    EXPECT_EQ((dvi2.ullVersion >> 32) & 0xFFFF, 0u);

    DLLVERSIONINFO wrong{};
    wrong.cbSize = 24;
    EXPECT_EQ(getVersion(&wrong), E_INVALIDARG);
    EXPECT_EQ(wrong.dwMajorVersion, 0u);

    // Names are matched without case and with or without the extension.
    EXPECT_EQ(GetModuleHandleW(L"COMCTL32"), comctl);
    EXPECT_NE(GetProcAddress(comctl, "ImageList_Create"), nullptr);
    EXPECT_NE(GetProcAddress(comctl, "InitCommonControlsEx"), nullptr);
    EXPECT_EQ(GetProcAddress(comctl, "imagelist_create"), nullptr); // export names keep their case
    EXPECT_TRUE(FreeLibrary(comctl));
    EXPECT_NE(GetModuleHandleW(L"comctl32.dll"), nullptr); // built-ins stay loaded
}

TEST(BuiltinModules, ImageListExportsAreTheFunctions)
{
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    using CreateFn = HIMAGELIST (*)(int, int, UINT, int, int);
    using DestroyFn = BOOL (*)(HIMAGELIST);
    auto create = reinterpret_cast<CreateFn>(GetProcAddress(comctl, "ImageList_Create"));
    auto destroy = reinterpret_cast<DestroyFn>(GetProcAddress(comctl, "ImageList_Destroy"));
    ASSERT_TRUE(create && destroy);
    HIMAGELIST himl = create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4);
    ASSERT_NE(himl, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    EXPECT_TRUE(destroy(himl));
    EXPECT_FALSE(ImageList_Destroy(himl)); // stale now
    FreeLibrary(comctl);
}

TEST(BuiltinModules, Msimg32ExportsTheBlendingFunctions)
{
    HMODULE msimg = LoadLibraryW(L"msimg32");
    ASSERT_NE(msimg, nullptr);
    EXPECT_EQ(GetProcAddress(msimg, "GradientFill"), reinterpret_cast<FARPROC>(&GradientFill));
    EXPECT_EQ(GetProcAddress(msimg, "AlphaBlend"), reinterpret_cast<FARPROC>(&AlphaBlend));
    EXPECT_EQ(GetProcAddress(msimg, "TransparentBlt"), reinterpret_cast<FARPROC>(&TransparentBlt));
    FreeLibrary(msimg);
}

namespace {
BOOL FakeIsAppThemed() { return TRUE; }
} // namespace

TEST(BuiltinModules, TheThemeModuleHasAStyleOnAndNoThemeDataATestMayReplaceIt)
{
    HMODULE platform = LoadLibraryW(L"UxTheme.dll");
    ASSERT_NE(platform, nullptr);
    for (const char* name : {"IsThemeActive", "IsAppThemed"}) {
        auto on = reinterpret_cast<BOOL (*)()>(GetProcAddress(platform, name));
        ASSERT_NE(on, nullptr) << name;
        EXPECT_TRUE(on()) << name;
    }
    EXPECT_EQ(GetProcAddress(platform, "OpenThemeData"), nullptr);
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(L"UxTheme.dll"));
    EXPECT_EQ(LoadLibraryW(L"UxTheme.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    HMODULE fake = zyn::base::RegisterBuiltinModule(L"UxTheme.dll",
        {{"IsAppThemed", zyn::base::ExportAddress(&FakeIsAppThemed)}});
    ASSERT_NE(fake, nullptr);
    HMODULE loaded = LoadLibraryW(L"uxtheme");
    EXPECT_EQ(loaded, fake);
    auto fn = reinterpret_cast<BOOL (*)()>(GetProcAddress(loaded, "IsAppThemed"));
    ASSERT_NE(fn, nullptr);
    EXPECT_TRUE(fn());
    EXPECT_TRUE(zyn::base::UnregisterBuiltinModule(fake));
    EXPECT_EQ(LoadLibraryW(L"UxTheme.dll"), nullptr);
    zyn::gdi::RegisterDrawingModules();
    EXPECT_NE(LoadLibraryW(L"UxTheme.dll"), nullptr);
}

TEST(BuiltinModules, ReRegistrationAfterRemoval)
{
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(L"Msimg32.dll"));
    EXPECT_EQ(LoadLibraryW(L"Msimg32.dll"), nullptr);
    zyn::gdi::RegisterDrawingModules();
    EXPECT_NE(LoadLibraryW(L"Msimg32.dll"), nullptr);
    zyn::gdi::RegisterDrawingModules(); // idempotent
    EXPECT_NE(GetModuleHandleW(L"comctl32.dll"), nullptr);
}

TEST(BuiltinModules, InitCommonControlsEx)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    DWORD seen = 0;
    zyn::gdi::SetCommonControlsInitHook([&](DWORD classes) {
        seen = classes;
        return TRUE;
    });
    EXPECT_TRUE(InitCommonControlsEx(&icc));
    EXPECT_EQ(seen, ICC_BAR_CLASSES | ICC_TAB_CLASSES);
    EXPECT_EQ(zyn::gdi::RequestedCommonControls() & icc.dwICC, icc.dwICC);
    icc.dwSize = 4;
    EXPECT_FALSE(InitCommonControlsEx(&icc));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    zyn::gdi::SetCommonControlsInitHook([](DWORD) { return FALSE; });
    icc.dwSize = sizeof icc;
    EXPECT_FALSE(InitCommonControlsEx(&icc));
    zyn::gdi::SetCommonControlsInitHook(nullptr);
    EXPECT_TRUE(InitCommonControlsEx(&icc));
}
