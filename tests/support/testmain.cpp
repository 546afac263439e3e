// Entry point of every test binary: a private temporary folder for all settings and
// logs, so tests never touch the user's configuration and never see each other's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "tests/support/testenv.h"
#include "platform/base/utf16.h"
#include "platform/suite/utility/logger.h"

namespace {
std::string g_root;
}

// Sanitizer settings live in the binary, so they hold however a test is started (CTest
// passes only part of a list-valued environment through test discovery).
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" ZYN_SOURCE_DIR_LITERAL "/tools/lsan.supp:print_suppressions=0";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

namespace zyn::test {
const std::string& TempRoot() { return g_root; }
}

int main(int argc, char** argv)
{
    char tmpl[] = "/tmp/zyntest.XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    if (!dir) {
        std::perror("mkdtemp");
        return 2;
    }
    g_root = dir;
    ::setenv("ZYN_SOURCE_DIR", ZYN_SOURCE_DIR_LITERAL, 0);
    namespace fs = std::filesystem;
    for (const char* sub : {"registry", "windows", "logs", "run", "home"})
        fs::create_directories(fs::path(g_root) / sub);
    ::setenv("ZYN_REGISTRY_DIR", (g_root + "/registry").c_str(), 1);
    ::setenv("ZYN_WINDIR", (g_root + "/windows").c_str(), 1);
    ::setenv("ZYN_LOG_DIR", (g_root + "/logs").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (g_root + "/run").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (g_root + "/home").c_str(), 1);
    // Files a test makes in "the" temporary folder stay its own too: other runs of the
    // suite on the machine use the same names there.
    ::setenv("TMPDIR", g_root.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    zyn::test::InstallResetListener();
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    if (!std::getenv("ZYN_KEEP_TEMP"))
        fs::remove_all(g_root, ec);
    return rc;
}

namespace zyn::test {

ErrorLogMark::ErrorLogMark()
{
    m_path = zyn::base::ToUtf8(CLogger::GetLogPath(CLogger::ErrorLogName).GetString());
    std::error_code ec;
    const auto size = std::filesystem::file_size(m_path, ec);
    m_size = ec ? 0 : static_cast<size_t>(size);
}

std::string ErrorLogMark::NewText() const
{
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return {};
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return all.size() > m_size ? all.substr(m_size) : std::string();
}

} // namespace zyn::test
