// Entry point of every test binary: a private temporary folder for all settings and
// logs, so tests never touch the user's configuration and never see each other's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "tests/support/testenv.h"

namespace {
std::string g_root;
}

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
    namespace fs = std::filesystem;
    for (const char* sub : {"registry", "windows", "logs", "run", "home"})
        fs::create_directories(fs::path(g_root) / sub);
    ::setenv("ZYN_REGISTRY_DIR", (g_root + "/registry").c_str(), 1);
    ::setenv("ZYN_WINDIR", (g_root + "/windows").c_str(), 1);
    ::setenv("ZYN_LOG_DIR", (g_root + "/logs").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (g_root + "/run").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (g_root + "/home").c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    zyn::test::InstallResetListener();
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    if (!std::getenv("ZYN_KEEP_TEMP"))
        fs::remove_all(g_root, ec);
    return rc;
}
