// The zyn-rc program: exit status, messages on stderr, the generated source.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "tests/support/testenv.h"

namespace zyn::rc::test {
namespace {

std::string Write(const std::string& name, const std::string& text)
{
    const std::string path = zyn::test::TempRoot() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs zyn-rc with the arguments; its exit status, with stderr in `err`.
int RunRc(const std::string& args, std::string& err)
{
    const std::string errFile = zyn::test::TempRoot() + "/zyn-rc.err";
    const int status = std::system((std::string(ZYN_RC_EXE) + " " + args + " 2> " + errFile).c_str());
    err = Read(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RcProgram, ErrorsExitNonZeroWithFileAndLine)
{
    const std::string script = Write("bad.rc", "1 MENU\nBEGIN\n  MENUITEM \"x\", NOPE\nEND\n");
    std::string err;
    EXPECT_EQ(RunRc("--check " + script, err), 1);
    EXPECT_NE(err.find(script + "(3): error: undefined symbol 'NOPE'"), std::string::npos) << err;
    const std::string out = zyn::test::TempRoot() + "/bad.cpp";
    EXPECT_EQ(RunRc("-o " + out + " " + script, err), 1);
    EXPECT_FALSE(std::ifstream(out).good()) << "no output after errors";
    EXPECT_EQ(RunRc("--bogus " + script, err), 2);
    EXPECT_EQ(RunRc("", err), 2);
}

TEST(RcProgram, GeneratesRegistrationSource)
{
    const std::string script = Write("good.rc", "#ifndef VALUE\n#define VALUE 5\n#endif\nSTRINGTABLE BEGIN 1 \"one\" END\nName Type BEGIN VALUE END\n");
    const std::string out = zyn::test::TempRoot() + "/good.cpp";
    const std::string dep = zyn::test::TempRoot() + "/good.d";
    std::string err;
    ASSERT_EQ(RunRc("--function my::ns::AddGood --depfile " + dep + " -o " + out + " " + script, err), 0) << err;
    const std::string cpp = Read(out);
    EXPECT_NE(cpp.find("namespace my::ns {"), std::string::npos);
    EXPECT_NE(cpp.find("bool AddGood(HMODULE module)"), std::string::npos);
    EXPECT_NE(cpp.find("zyn::base::AddResource"), std::string::npos);
    EXPECT_EQ(cpp.find("kZynRcRegistered"), std::string::npos) << "nothing runs at load with a function";
    EXPECT_EQ(Read(dep).rfind(out + ":", 0), 0u);
    EXPECT_NE(Read(dep).find(script), std::string::npos);

    ASSERT_EQ(RunRc("--module MyModule -o " + out + " " + script, err), 0) << err;
    EXPECT_NE(Read(out).find("RegisterResourceModule(L\"MyModule\")"), std::string::npos);
    EXPECT_EQ(RunRc("--function \"not a name\" -o " + out + " " + script, err), 2);
    EXPECT_EQ(RunRc("-DVALUE=70000 --check " + script, err), 1) << "a -D value reaches the script";
}

} // namespace
} // namespace zyn::rc::test
