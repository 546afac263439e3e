#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/builtin_commands.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/base/process.h"
#include "platform/base/synch.h"
#include "tests/kernel/kernel_test_util.h"
#include "tests/support/testenv.h"

using zyn::base::QuoteCommandLineArgument;
using zyn::base::SplitCommandLine;
using zyn::test::Eventually;
using zyn::test::ScopedHandle;
using namespace std::chrono_literals;
using Words = std::vector<std::wstring>;

namespace {

class ProcessTest : public zyn::test::KernelTest {};

// ---- command lines -------------------------------------------------------------------

TEST(CommandLine, SplitsByTheWindowsRules)
{
    struct Case {
        const wchar_t* line;
        Words words;
    };
    const Case cases[] = {
        {L"", {}},
        {L"   \t ", {}},
        {L"prog", {L"prog"}},
        {L"  prog  a   b ", {L"prog", L"a", L"b"}},
        {L"\"C:\\Program Files\\x.exe\" /s", {L"C:\\Program Files\\x.exe", L"/s"}},
        {L"C:\\dir\\x.exe a\\b", {L"C:\\dir\\x.exe", L"a\\b"}},
        {L"p \"a b\" c", {L"p", L"a b", L"c"}},
        {L"p a\"b c\"d", {L"p", L"ab cd"}},
        {L"p \"\"", {L"p", L""}},
        {L"p \"\" x", {L"p", L"", L"x"}},
        {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},          // 3 backslashes + quote
        {L"p a\\\\\"b c\"", {L"p", L"a\\b c"}},         // 2 backslashes + quote
        {L"p a\\\\b", {L"p", L"a\\\\b"}},               // backslashes alone are literal
        {L"p \"a\"\"b\"", {L"p", L"a\"b"}},             // "" inside quotes
        {L"p \"unterminated arg", {L"p", L"unterminated arg"}},
        {L"p \"C:\\dir\\\\\"", {L"p", L"C:\\dir\\"}},
        {L"\"prog\\\" a", {L"prog\\", L"a"}},          // no escapes in the program name
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.words) << "line: " << testing::PrintToString(std::wstring(c.line));
}

TEST(CommandLine, QuotingRoundTrips)
{
    const Words args = {L"plain", L"", L"with space", L"tab\there", L"quote\"inside", L"trailing\\",
        L"trailing space\\", L"\\\\server\\share", L"mixed \\\"x\\\\\" y", L"\U0001F600 emoji"};
    std::wstring line = L"prog";
    for (const auto& a : args)
        line += L" " + QuoteCommandLineArgument(a);
    Words expected = {L"prog"};
    expected.insert(expected.end(), args.begin(), args.end());
    EXPECT_EQ(SplitCommandLine(line), expected);
    EXPECT_EQ(QuoteCommandLineArgument(L"simple"), L"simple");
    EXPECT_EQ(QuoteCommandLineArgument(L""), L"\"\"");
}

// ---- built-in commands -----------------------------------------------------------------

struct Captured {
    std::mutex m;
    Words args;
};

BOOL Start(const std::wstring& commandLine, PROCESS_INFORMATION& pi, DWORD flags = 0, LPCWSTR app = nullptr,
    LPVOID env = nullptr, LPCWSTR dir = nullptr)
{
    std::wstring buffer = commandLine; // the command line is writable, as on Windows
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(app, buffer.empty() ? nullptr : buffer.data(), nullptr, nullptr, FALSE, flags, env, dir, &si,
        &pi);
}

DWORD WaitExit(const PROCESS_INFORMATION& pi, DWORD timeout = 30'000)
{
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, timeout), WAIT_OBJECT_0);
    DWORD code = 0xDEAD;
    EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
    return code;
}

void CloseInfo(PROCESS_INFORMATION& pi)
{
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST_F(ProcessTest, BuiltinCommandRunsOnAThreadWithItsArguments)
{
    Captured cap;
    zyn::base::RegisterBuiltinCommand(L"EchoArgs", [&](const Words& args) -> DWORD {
        std::lock_guard lock(cap.m);
        cap.args = args;
        return 17;
    });
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"\"C:\\Tools\\ECHOARGS.EXE\" /s \"file name.reg\"", pi));
    EXPECT_GE(pi.dwProcessId, 0x40000000u);
    EXPECT_NE(pi.dwThreadId, 0u);
    EXPECT_EQ(WaitExit(pi), 17u);
    EXPECT_EQ(WaitForSingleObject(pi.hThread, 10'000), WAIT_OBJECT_0);
    DWORD threadCode = 0;
    GetExitCodeThread(pi.hThread, &threadCode);
    EXPECT_EQ(threadCode, 17u);
    {
        std::lock_guard lock(cap.m);
        EXPECT_EQ(cap.args, (Words{L"/s", L"file name.reg"}));
    }
    EXPECT_FALSE(TerminateProcess(pi.hProcess, 1));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(GetProcessId(pi.hProcess), pi.dwProcessId);
    CloseInfo(pi);

    // The application name decides the program; the command line's first word is
    // the program's own name and is not passed on.
    ASSERT_TRUE(Start(L"whatever a b", pi, 0, L"/usr/bin/echoargs"));
    EXPECT_EQ(WaitExit(pi), 17u);
    {
        std::lock_guard lock(cap.m);
        EXPECT_EQ(cap.args, (Words{L"a", L"b"}));
    }
    CloseInfo(pi);
    zyn::base::UnregisterBuiltinCommand(L"echoargs");
    EXPECT_FALSE(zyn::base::FindBuiltinCommand(L"ECHOARGS"));
}

TEST_F(ProcessTest, SuspendedBuiltinStartsOnResume)
{
    std::atomic<bool> ran{false};
    zyn::base::RegisterBuiltinCommand(L"late", [&](const Words&) -> DWORD {
        ran = true;
        return 0;
    });
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"late", pi, CREATE_SUSPENDED | CREATE_NO_WINDOW));
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(ran.load());
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(ResumeThread(pi.hThread), 1u);
    EXPECT_EQ(WaitExit(pi), 0u);
    EXPECT_TRUE(ran.load());
    CloseInfo(pi);
    zyn::base::UnregisterBuiltinCommand(L"late");
}

TEST_F(ProcessTest, BuiltinThatThrowsEndsWithTheFailureCode)
{
    zyn::base::RegisterBuiltinCommand(L"thrower", [](const Words&) -> DWORD { throw std::runtime_error("boom"); });
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"thrower", pi));
    EXPECT_EQ(WaitExit(pi), zyn::base::kBuiltinCommandFailedExitCode);
    CloseInfo(pi);
    zyn::base::UnregisterBuiltinCommand(L"thrower");
}

TEST_F(ProcessTest, BuiltinThatThrowsAClassLibraryExceptionFreesIt)
{
    zyn::base::RegisterBuiltinCommand(L"afxthrower", [](const Words&) -> DWORD { AfxThrowNotSupportedException(); });
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"afxthrower", pi));
    EXPECT_EQ(WaitExit(pi), zyn::base::kBuiltinCommandFailedExitCode); // the sanitizer checks it was deleted
    CloseInfo(pi);
    zyn::base::UnregisterBuiltinCommand(L"afxthrower");
}

// ---- child processes -------------------------------------------------------------------

TEST_F(ProcessTest, ChildExitCodeReachesTheHandle)
{
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"/bin/sh -c \"exit 3\"", pi)) << GetLastError();
    EXPECT_EQ(WaitExit(pi), 3u);
    EXPECT_EQ(WaitForSingleObject(pi.hThread, 10'000), WAIT_OBJECT_0) << "the main thread ended with it";
    CloseInfo(pi);

    ASSERT_TRUE(Start(L"sh -c \"exit 0\"", pi)) << "found on PATH";
    EXPECT_EQ(WaitExit(pi), 0u);
    CloseInfo(pi);

    ASSERT_TRUE(Start(L"sh.exe -c \"kill -9 $$\"", pi)) << "a missing .exe is tried without it";
    EXPECT_EQ(WaitExit(pi), 128u + 9u);
    CloseInfo(pi);
}

TEST_F(ProcessTest, MissingProgramFails)
{
    PROCESS_INFORMATION pi{};
    EXPECT_FALSE(Start(L"zyn-no-such-program-here --flag", pi));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(pi.hProcess, nullptr);
    EXPECT_FALSE(Start(L"", pi, 0, L"/nonexistent/dir/prog"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Start(L"", pi));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Start(L"   ", pi));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Start(L"/bin/true", pi, CREATE_SUSPENDED));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(Start(L"/bin/true", pi, 0, nullptr, nullptr, L"/nonexistent/folder"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(ProcessTest, TerminateKillsAChildWithTheGivenCode)
{
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"/bin/sleep 30", pi));
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(TerminateProcess(pi.hProcess, 1234));
    EXPECT_EQ(WaitExit(pi), 1234u);
    EXPECT_FALSE(TerminateProcess(pi.hProcess, 1)) << "already ended";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseInfo(pi);
}

TEST_F(ProcessTest, CurrentDirectoryEnvironmentAndArguments)
{
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(L"/bin/sh -c \"[ \\\"$(pwd -P)\\\" = \\\"$(cd / && pwd -P)\\\" ] && exit 7; exit 1\"", pi, 0,
        nullptr, nullptr, L"/"));
    EXPECT_EQ(WaitExit(pi), 7u);
    CloseInfo(pi);

    const wchar_t env[] = L"ZYN_CODE=5\0OTHER=x y\0";
    ASSERT_TRUE(Start(L"/bin/sh -c \"exit $ZYN_CODE\"", pi, CREATE_UNICODE_ENVIRONMENT, nullptr,
        const_cast<wchar_t*>(env)));
    EXPECT_EQ(WaitExit(pi), 5u);
    CloseInfo(pi);

    // A word with a blank and a quote arrives as one argument, unchanged.
    const std::wstring arg = L"a \"quoted\" word";
    ASSERT_TRUE(Start(L"/bin/sh -c \"[ \\\"$0\\\" = 'a \\\"quoted\\\" word' ] && exit 9; exit 1\" "
            + QuoteCommandLineArgument(arg),
        pi));
    EXPECT_EQ(WaitExit(pi), 9u);
    CloseInfo(pi);
}

TEST_F(ProcessTest, StandardHandlesAndProcessGroup)
{
    std::wstring line = L"/bin/sh -c \"read x || exit 4; exit 1\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES; // all null: the child reads /dev/null
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
        nullptr, &si, &pi));
    EXPECT_EQ(WaitExit(pi), 4u);
    CloseInfo(pi);

    ScopedHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    si.hStdOutput = ev; // an event has no descriptor to give
    EXPECT_FALSE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // The fifth field of /proc/<pid>/stat is the process group.
    std::wstring group = L"/bin/sh -c \"read -r a b c d g r < /proc/$$/stat; [ $g -eq $$ ] && exit 6; exit 1\"";
    si.hStdOutput = nullptr;
    si.dwFlags = 0;
    ASSERT_TRUE(CreateProcessW(nullptr, group.data(), nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP, nullptr,
        nullptr, &si, &pi));
    EXPECT_EQ(WaitExit(pi), 6u) << "the child leads a new process group";
    CloseInfo(pi);
}

// ---- named mutexes across processes ------------------------------------------------------

std::wstring HelperCommand(const std::wstring& args)
{
    const std::string path = ZYN_KERNEL_TEST_HELPER;
    return QuoteCommandLineArgument(std::wstring(path.begin(), path.end())) + L" " + args;
}

DWORD RunHelper(const std::wstring& args)
{
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(Start(HelperCommand(args), pi)) << GetLastError();
    if (!pi.hProcess)
        return 0xDEAD;
    const DWORD code = WaitExit(pi, 60'000);
    CloseInfo(pi);
    return code;
}

TEST_F(ProcessTest, NamedMutexIsSeenByAnotherProcess)
{
    const std::wstring name = L"zyn-single-instance-" + std::to_wstring(GetCurrentProcessId());
    EXPECT_EQ(RunHelper(L"create " + name), 0u) << "nobody holds it yet";
    EXPECT_EQ(RunHelper(L"open " + name), 3u);
    {
        ScopedHandle m(CreateMutexW(nullptr, TRUE, name.c_str()));
        ASSERT_TRUE(m);
        ASSERT_EQ(GetLastError(), ERROR_SUCCESS);
        EXPECT_EQ(RunHelper(L"create " + name), 1u) << "the second instance sees the first";
        EXPECT_EQ(RunHelper(L"open " + name), 0u);
        ReleaseMutex(m);
    }
    EXPECT_EQ(RunHelper(L"create " + name), 0u) << "gone when this process closed it";
}

TEST_F(ProcessTest, NamedMutexHeldByAnotherProcessReportsExisting)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(zyn::test::TempRoot()) / "mutex-hold";
    fs::create_directories(dir);
    const fs::path ready = dir / "ready", release = dir / "release";
    fs::remove(ready);
    fs::remove(release);
    const std::wstring name = L"zyn-held-" + std::to_wstring(GetCurrentProcessId());
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(Start(HelperCommand(L"hold " + name + L" " + ready.wstring() + L" " + release.wstring()), pi));
    ASSERT_TRUE(Eventually([&] { return fs::exists(ready); }, 30s)) << "helper did not start";
    {
        ScopedHandle m(CreateMutexW(nullptr, TRUE, name.c_str()));
        ASSERT_TRUE(m);
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
        EXPECT_FALSE(ReleaseMutex(m)) << "an existing mutex is not owned by its opener";
        ScopedHandle o(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
        EXPECT_TRUE(o);
    }
    std::ofstream(release) << "go\n";
    EXPECT_EQ(WaitExit(pi, 60'000), 0u);
    CloseInfo(pi);
    ScopedHandle again(CreateMutexW(nullptr, FALSE, name.c_str()));
    ASSERT_TRUE(again);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "the holder is gone";
}

} // namespace
