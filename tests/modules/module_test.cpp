#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "tests/support/testenv.h"

namespace {

int FakeIsThemeActive() { return 1; }
int FakeOrdinalOnly() { return 5; }

std::wstring FileName(HMODULE h)
{
    wchar_t buf[4096];
    const DWORD n = GetModuleFileNameW(h, buf, 4096);
    return std::wstring(buf, n);
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Unregisters a built-in module when the test ends, whatever happens.
struct BuiltinGuard {
    HMODULE h;
    ~BuiltinGuard()
    {
        if (h)
            zyn::base::UnregisterBuiltinModule(h);
    }
};

} // namespace

TEST(BuiltinModule, FoundWhateverTheCaseWithOrWithoutDll)
{
    BuiltinGuard g{zyn::base::RegisterBuiltinModule(L"ZynFakeTheme.dll",
        {{"IsThemeActive", zyn::base::ExportAddress(&FakeIsThemeActive)}})};
    ASSERT_NE(g.h, nullptr);
    EXPECT_GE(zyn::base::HandleValue(g.h), 0x10000u);
    EXPECT_EQ(zyn::base::KindOfHandle(g.h), zyn::base::HandleKind::Module);

    for (const wchar_t* name : {L"ZynFakeTheme.dll", L"zynfaketheme.dll", L"ZYNFAKETHEME.DLL", L"zynfaketheme",
             L"ZynFakeTheme", L"C:\\Windows\\System32\\zynfaketheme.dll"})
        EXPECT_EQ(GetModuleHandleW(name), g.h) << "looking up " << testing::PrintToString(std::wstring(name));
    EXPECT_EQ(GetModuleHandleW(L"zynfaketheme.dl"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    EXPECT_EQ(FileName(g.h), L"ZynFakeTheme.dll");

    // Loading finds the built-in; freeing it any number of times leaves it registered.
    EXPECT_EQ(LoadLibraryW(L"zynfaketheme.DLL"), g.h);
    EXPECT_TRUE(FreeLibrary(g.h));
    EXPECT_TRUE(FreeLibrary(g.h));
    EXPECT_EQ(GetModuleHandleW(L"ZynFakeTheme"), g.h);

    // A second module of the same name is refused; the first is untouched.
    EXPECT_EQ(zyn::base::RegisterBuiltinModule(L"ZYNFAKETHEME", {}), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(zyn::base::RegisterResourceModule(L"zynfaketheme.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

TEST(BuiltinModule, ExportsByNameAndOrdinal)
{
    BuiltinGuard g{zyn::base::RegisterBuiltinModule(L"ZynExports.dll",
        {{"IsThemeActive", zyn::base::ExportAddress(&FakeIsThemeActive)},
            {"#7", zyn::base::ExportAddress(&FakeOrdinalOnly)},
            {"NullExport", nullptr}})};
    ASSERT_NE(g.h, nullptr);

    using Fn = int (*)();
    const auto f = reinterpret_cast<Fn>(GetProcAddress(g.h, "IsThemeActive"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f(), 1);
    const auto byOrdinal = reinterpret_cast<Fn>(GetProcAddress(g.h, reinterpret_cast<LPCSTR>(MAKEINTRESOURCEA(7))));
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal(), 5);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(g.h, "isthemeactive"), nullptr) << "export names keep their case";
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(g.h, "NullExport"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(g.h, MAKEINTRESOURCEA(8)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
}

TEST(BuiltinModule, BadRegistrationsAreRefused)
{
    EXPECT_EQ(zyn::base::RegisterBuiltinModule(L"", {}), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(zyn::base::RegisterBuiltinModule(L"dir/x.dll", {}), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    for (const char* key : {"#0", "#abc", "#70000", "#", ""}) {
        SetLastError(0);
        EXPECT_EQ(zyn::base::RegisterBuiltinModule(L"ZynBadExports.dll",
                      {{key, zyn::base::ExportAddress(&FakeIsThemeActive)}}),
            nullptr)
            << key;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(GetModuleHandleW(L"ZynBadExports.dll"), nullptr);
}

TEST(BuiltinModule, UnregisteredHandleGoesStale)
{
    const HMODULE h = zyn::base::RegisterBuiltinModule(L"ZynGone.dll",
        {{"IsThemeActive", zyn::base::ExportAddress(&FakeIsThemeActive)}});
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(zyn::base::UnregisterBuiltinModule(L"zyngone"));
    EXPECT_EQ(GetProcAddress(h, "IsThemeActive"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    wchar_t buf[16];
    EXPECT_EQ(GetModuleFileNameW(h, buf, 16), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetModuleHandleW(L"ZynGone.dll"), nullptr);
    EXPECT_FALSE(zyn::base::UnregisterBuiltinModule(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // The name is free again and the new module gets a new handle.
    BuiltinGuard again{zyn::base::RegisterBuiltinModule(L"ZynGone.dll", {})};
    ASSERT_NE(again.h, nullptr);
    EXPECT_NE(again.h, h);
    EXPECT_EQ(GetProcAddress(h, "IsThemeActive"), nullptr);
}

TEST(Module, UnknownModulesAndBadArguments)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"NoSuchModule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(zyn::base::LastLoadError().empty());
    EXPECT_EQ(LoadLibraryW(L"/nonexistent/libnothing.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetModuleHandleW(L"NoSuchModule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(LoadLibraryExW(L"libm.so.6", nullptr, 0x80000000u), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    const HMODULE bogus = zyn::base::MakeHandle<HMODULE>(0x1234u);
    EXPECT_FALSE(FreeLibrary(bogus));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetProcAddress(bogus, "x"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SharedModule, SystemLibraryExportsAndGoesStaleWhenFreed)
{
    const HMODULE h = LoadLibraryW(L"libm.so.6");
    ASSERT_NE(h, nullptr) << testing::PrintToString(zyn::base::LastLoadError());
    using Cos = double (*)(double);
    const auto cosFn = reinterpret_cast<Cos>(GetProcAddress(h, "cos"));
    ASSERT_NE(cosFn, nullptr);
    EXPECT_DOUBLE_EQ(cosFn(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(h, "no_such_function_here"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(h, MAKEINTRESOURCEA(1)), nullptr) << "shared objects have no ordinals";

    const std::wstring path = FileName(h);
    EXPECT_EQ(path.front(), L'/');
    EXPECT_TRUE(path.ends_with(L"/libm.so.6")) << testing::PrintToString(path);
    EXPECT_EQ(GetModuleHandleW(L"LIBM.SO.6"), h);
    EXPECT_EQ(GetModuleHandleW(path.c_str()), h);

    ASSERT_TRUE(FreeLibrary(h));
    EXPECT_EQ(GetProcAddress(h, "cos"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SharedModule, ReferenceCountedAndUnloadedAtTheLastFree)
{
    const std::wstring path = Widen(ZYN_TEST_PLUGIN);
    const HMODULE first = LoadLibraryW(path.c_str());
    ASSERT_NE(first, nullptr) << testing::PrintToString(zyn::base::LastLoadError());
    EXPECT_STREQ(std::getenv("ZYN_TEST_PLUGIN_STATE"), "loaded");
    const std::wstring file = std::filesystem::path(ZYN_TEST_PLUGIN).filename().wstring();
    EXPECT_EQ(GetModuleHandleW(file.c_str()), first);
    EXPECT_EQ(FileName(first), std::filesystem::weakly_canonical(ZYN_TEST_PLUGIN).wstring());

    // A second load, by a different spelling of the path, is the same module.
    const std::wstring dotted = std::filesystem::path(ZYN_TEST_PLUGIN).parent_path().wstring() + L"/./" + file;
    const HMODULE second = LoadLibraryW(dotted.c_str());
    EXPECT_EQ(second, first);

    using Answer = int (*)();
    ASSERT_TRUE(FreeLibrary(first));
    const auto answer = reinterpret_cast<Answer>(GetProcAddress(first, "zyn_plugin_answer"));
    ASSERT_NE(answer, nullptr) << "one reference is left";
    EXPECT_EQ(answer(), 42);
    EXPECT_STREQ(std::getenv("ZYN_TEST_PLUGIN_STATE"), "loaded");

    ASSERT_TRUE(FreeLibrary(second));
    EXPECT_STREQ(std::getenv("ZYN_TEST_PLUGIN_STATE"), "unloaded");
    EXPECT_EQ(GetProcAddress(first, "zyn_plugin_answer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetModuleHandleW(file.c_str()), nullptr);

    // Loaded again: a new handle; the old one stays stale.
    const HMODULE third = LoadLibraryW(path.c_str());
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, first);
    EXPECT_EQ(GetProcAddress(first, "zyn_plugin_answer"), nullptr);
    EXPECT_TRUE(FreeLibrary(third));
}

TEST(SharedModule, DependencyAlreadyInProcessIsPermanent)
{
    const HMODULE libc = GetModuleHandleW(L"libc.so.6");
    ASSERT_NE(libc, nullptr);
    EXPECT_NE(GetProcAddress(libc, "strlen"), nullptr);
    EXPECT_TRUE(FreeLibrary(libc));
    EXPECT_NE(GetProcAddress(libc, "strlen"), nullptr) << "freeing a permanent module leaves it";
    EXPECT_EQ(LoadLibraryW(L"libc.so.6"), libc);
}

TEST(Module, ExecutableAndModuleFromAddress)
{
    const HMODULE exe = zyn::base::GetExecutableModule();
    ASSERT_NE(exe, nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), exe);
    char link[4096];
    const ssize_t n = ::readlink("/proc/self/exe", link, sizeof link);
    ASSERT_GT(n, 0);
    EXPECT_EQ(FileName(nullptr), Widen(std::string(link, static_cast<size_t>(n))));
    EXPECT_EQ(FileName(exe), FileName(nullptr));
    EXPECT_EQ(GetModuleHandleW(std::filesystem::path(std::string(link, static_cast<size_t>(n))).filename().wstring().c_str()),
        exe);

    HMODULE h = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&FakeIsThemeActive), &h));
    EXPECT_EQ(h, exe);

    // Code of the platform library belongs to libzynplatform.so.
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&LoadLibraryW), &h));
    EXPECT_NE(h, exe);
    EXPECT_TRUE(FileName(h).ends_with(L"/libzynplatform.so")) << testing::PrintToString(FileName(h));
    EXPECT_EQ(GetModuleHandleW(L"libzynplatform.so"), h);
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_EQ(GetModuleHandleW(L"libzynplatform.so"), h) << "the platform library stays";

    EXPECT_FALSE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        nullptr, &h));
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Module, FileNameTruncatesAsWindowsDoes)
{
    const std::wstring full = FileName(nullptr);
    ASSERT_GT(full.size(), 4u);
    const auto len = static_cast<DWORD>(full.size());

    std::wstring buf(full.size() + 8, L'#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buf.data(), 5), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(buf.substr(0, 5), full.substr(0, 4) + L'\0');
    EXPECT_EQ(buf[5], L'#') << "nothing written past the buffer";

    // Exactly the length: no room for the terminator, so it is cut too.
    EXPECT_EQ(GetModuleFileNameW(nullptr, buf.data(), len), len);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(buf[len - 1], L'\0');

    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buf.data(), len + 1), len);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(std::wstring(buf.c_str()), full);

    EXPECT_EQ(GetModuleFileNameW(nullptr, buf.data(), 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, 10), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Module, DataFilesLoadWithoutCode)
{
    // A registered module loads as data under its own handle.
    BuiltinGuard res{zyn::base::RegisterResourceModule(L"ZynDataRes")};
    ASSERT_NE(res.h, nullptr);
    EXPECT_EQ(LoadLibraryExW(L"zyndatares.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), res.h);
    EXPECT_EQ(GetProcAddress(res.h, "anything"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

    // Any readable file becomes a data-file module; its code never runs.
    const std::filesystem::path file = std::filesystem::path(zyn::test::TempRoot()) / "data.bin";
    std::ofstream(file) << "not a shared object";
    const HMODULE h = LoadLibraryExW(file.wstring().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(LoadLibraryExW(file.wstring().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE), h);
    EXPECT_EQ(FileName(h), std::filesystem::weakly_canonical(file).wstring());
    EXPECT_EQ(GetProcAddress(h, "main"), nullptr);
    EXPECT_EQ(LoadLibraryW(file.wstring().c_str()), nullptr) << "not loadable as code";
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_FALSE(FreeLibrary(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    EXPECT_EQ(LoadLibraryExW(L"/nonexistent/data.bin", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}
