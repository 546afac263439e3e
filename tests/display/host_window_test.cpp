// The example console in a real window (a private Xvfb), started as a person starts it:
// its own process, no sanitizer settings in its environment. However it ends, it must end
// cleanly: exit status 0 and not one sanitizer report. Ends tried: the log-in cancelled;
// after the log-in, its X connection killed from outside (xdotool windowkill), its window
// destroyed from outside (xdotool windowclose), or the X server gone. A display that goes away must not end the process from inside Xlib: the
// console closes as by its close box, so the frame saves its bar places on the way. And
// worked from the keyboard: Add and a name typed, the session log opened again; the
// session log viewer's Open and Print Session, each through its dialog.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/display/xvfb_server.h"
#include "tests/support/testenv.h"

extern char** environ;

namespace zyn::test {
namespace {

namespace fs = std::filesystem;

// The desktop the console makes is this size; the X screen holds its window.
constexpr int kW = 1280, kH = 1024;
constexpr auto kPatience = std::chrono::seconds(90);

std::string ReadAll(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

class HostProcess {
public:
    HostProcess() = default;
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;
    ~HostProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Reap(0);
        }
    }

    // Starts the console on DISPLAY with a fresh data folder, its output to a file.
    bool Start(const fs::path& dir, std::string& why)
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        m_data = dir / "data";
        m_log = dir / "output.txt";
        // As a person's shell has it: none of the test process's sanitizer settings or
        // private folders.
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string var = *e;
            bool keep = true;
            for (const char* drop : {"LSAN_OPTIONS=", "ASAN_OPTIONS=", "UBSAN_OPTIONS=", "ZYN_REGISTRY_DIR=",
                     "ZYN_WINDIR=", "ZYN_LOG_DIR="})
                keep = keep && var.rfind(drop, 0) != 0;
            if (keep)
                env.push_back(var);
        }
        std::vector<std::string> args{ZYN_HOST_PROGRAM, "--window", "--data", m_data.string()};
        std::vector<char*> cargs, cenv;
        for (auto& a : args)
            cargs.push_back(a.data());
        cargs.push_back(nullptr);
        for (auto& v : env)
            cenv.push_back(v.data());
        cenv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int rc = posix_spawn(&m_pid, cargs[0], &actions, nullptr, cargs.data(), cenv.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            m_pid = -1;
            why = std::string("cannot run the console: ") + std::strerror(rc);
            return false;
        }
        return true;
    }

    std::string Output() const { return ReadAll(m_log); }
    const fs::path& Data() const { return m_data; }
    bool Said(const std::string& text) const { return Output().find(text) != std::string::npos; }

    // Waits for the process to end: its exit status, -1 for a signal, -2 when it did
    // not end within the time (it is then killed).
    int Wait(std::chrono::seconds within)
    {
        const int status = Reap(within.count());
        if (status == -2 && m_pid > 0) {
            kill(m_pid, SIGKILL);
            Reap(0);
        }
        return status;
    }

private:
    int Reap(int64_t seconds)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            int status = 0;
            const pid_t done = waitpid(m_pid, &status, seconds ? WNOHANG : 0);
            if (done == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (done < 0 && errno != EINTR)
                return -1;
            if (std::chrono::steady_clock::now() >= deadline)
                return -2;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    pid_t m_pid = -1;
    fs::path m_data, m_log;
};

bool WaitFor(const std::function<bool()>& state)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!state()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// The X screen, dumped; empty when it cannot be read.
std::vector<uint32_t> Screen(const fs::path& dir)
{
    const std::string path = (dir / "screen.xwd").string();
    XwdImage img;
    std::string bad;
    if (RunTool({"xwd", "-root", "-silent", "-out", path}) != 0 || !ReadXwd(path, img, bad))
        return {};
    return img.pixels;
}

// Waits until the screen is steady: the same in two dumps running but for the blinking
// caret, and (unless `bareToo`) something besides the bare desktop; the last dump.
std::vector<uint32_t> WaitForSteady(const fs::path& dir, bool bareToo = true)
{
    constexpr size_t kCaretPixels = 64;
    std::vector<uint32_t> last, steady;
    WaitFor([&] {
        std::vector<uint32_t> now = Screen(dir);
        const bool bare = now.empty() || std::all_of(now.begin(), now.end(), [&](uint32_t p) { return p == now[0]; });
        size_t changed = 0;
        for (size_t i = 0; i < now.size() && i < last.size(); ++i)
            changed += now[i] != last[i];
        const bool done = (bareToo || !bare) && !now.empty() && now.size() == last.size() && changed <= kCaretPixels;
        if (done)
            steady = now;
        last = std::move(now);
        return done;
    });
    return steady;
}

// Waits until the log-in dialog is on the screen.
bool WaitForLogin(const fs::path& dir) { return !WaitForSteady(dir, false).empty(); }

// The X tool these tests drive the console with that is not installed, as the skip's
// reason; empty when all are.
std::string MissingTool()
{
    for (const char* tool : {"xdotool", "xwd"})
        if (!HaveTool(tool))
            return std::string(tool) + " is not installed (scripts/deps installs it)";
    return {};
}

size_t PixelsDiffering(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    size_t n = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += a[i] != b[i];
    return n;
}

void Keys(std::initializer_list<const char*> names)
{
    for (const char* name : names)
        EXPECT_EQ(RunTool({"xdotool", "key", name}), 0) << name;
}

void Type(const char* text) { EXPECT_EQ(RunTool({"xdotool", "type", "--delay", "30", text}), 0) << text; }

// The keys pressed, then the screen once it is steady.
std::vector<uint32_t> Press(const fs::path& dir, std::initializer_list<const char*> names)
{
    Keys(names);
    return WaitForSteady(dir);
}

// Types the first run's operator and password into the log-in dialog on the screen and
// waits until the console says the operator is in and its screen is steady.
::testing::AssertionResult LogInAsAdmin(HostProcess& host, const fs::path& dir)
{
    if (!WaitForLogin(dir))
        return ::testing::AssertionFailure() << "the log-in dialog never showed; the console said:\n" << host.Output();
    Type("admin");
    Keys({"Tab"});
    Type("zyn-admin");
    Keys({"Return"});
    if (!WaitFor([&] { return host.Said("Operator admin logged in"); }))
        return ::testing::AssertionFailure() << "the log-in did not go through; the console said:\n" << host.Output();
    WaitForSteady(dir);
    return ::testing::AssertionSuccess();
}

// Waits for the console to end: status 0 and no sanitizer report.
void ExpectCleanEnd(HostProcess& host)
{
    const int status = host.Wait(std::chrono::duration_cast<std::chrono::seconds>(kPatience));
    const std::string said = host.Output();
    EXPECT_EQ(status, 0) << "exit status (-1: a signal, -2: did not end); the console said:\n" << said;
    for (const char* report : {"AddressSanitizer", "LeakSanitizer", "runtime error:"})
        EXPECT_TRUE(said.find(report) == std::string::npos) << report << " reported; the console said:\n" << said;
}

enum class End { CancelLogin, KillConnection, DestroyWindow, StopServer };

TEST(HostWindow, TheConsoleEndsCleanlyHoweverItsDisplayEnds)
{
    if (const std::string missing = MissingTool(); !missing.empty())
        GTEST_SKIP() << missing;
    const struct {
        const char* what;
        End end;
        bool closedAsByItsBox; // the frame's close ran: its bar places are saved
    } rows[] = {
        {"the log-in cancelled", End::CancelLogin, false},
        {"the X connection killed from outside", End::KillConnection, true},
        {"the window destroyed from outside", End::DestroyWindow, true},
        {"the X server gone", End::StopServer, true},
    };
    int row = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        XvfbServer x;
        std::string why;
        if (!x.Start(kW, kH, why))
            GTEST_SKIP() << "no X server for the console: " << why;
        const fs::path dir = fs::path(TempRoot()) / ("host-window-" + std::to_string(row++));
        HostProcess host;
        ASSERT_TRUE(host.Start(dir, why)) << why;
        if (r.end == End::CancelLogin) {
            ASSERT_TRUE(WaitForLogin(dir)) << "the log-in dialog never showed; the console said:\n" << host.Output();
            Keys({"Escape"});
        } else {
            ASSERT_TRUE(LogInAsAdmin(host, dir));
            if (r.end == End::KillConnection)
                EXPECT_EQ(RunTool({"xdotool", "search", "--name", "^ZynCmn Console$", "windowkill"}), 0);
            else if (r.end == End::DestroyWindow)
                EXPECT_EQ(RunTool({"xdotool", "search", "--name", "^ZynCmn Console$", "windowclose"}), 0);
            else
                x.Stop();
        }
        ExpectCleanEnd(host);
        const std::string said = host.Output();
        if (r.closedAsByItsBox) {
            EXPECT_TRUE(said.find("The display went away") != std::string::npos) << "not told; it said:\n" << said;
            const std::string registry = ReadAll(host.Data() / "registry" / "hkcu.sqlite3");
            EXPECT_TRUE(registry.find("ControlBarState-Summary") != std::string::npos)
                << "the frame's close did not run: no bar places saved";
        }
    }
}

// The console on a private X server, worked from the keyboard once logged in.
class ConsoleAtTheKeyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string missing = MissingTool(); !missing.empty())
            GTEST_SKIP() << missing;
        std::string why;
        if (!x.Start(kW, kH, why))
            GTEST_SKIP() << "no X server for the console: " << why;
    }
    // Starts the console on a fresh data folder of that name and logs in.
    ::testing::AssertionResult StartLoggedIn(const char* name)
    {
        dir = fs::path(TempRoot()) / name;
        std::string why;
        if (!host.Start(dir, why))
            return ::testing::AssertionFailure() << why;
        return LogInAsAdmin(host, dir);
    }

    XvfbServer x;
    HostProcess host;
    fs::path dir;
};

// A person at the keyboard: on the doors' screen Add puts the focus in the name field, so
// the name typed at once becomes the door's; the session log closed with Escape opens
// again, shown as it was the first time.
TEST_F(ConsoleAtTheKeyboard, AddTakesTheNameTypedAndTheSessionLogOpensAgain)
{
    ASSERT_TRUE(StartLoggedIn("host-window-keys"));

    // Console > Doors, Add, the name, Enter.
    Press(dir, {"alt+c", "d"});
    Press(dir, {"alt+a"});
    Type("Lobby");
    Keys({"Return"});
    EXPECT_TRUE(WaitFor([&] { return host.Said("Added the door Lobby"); }))
        << "the name typed after Add did not make the door; the console said:\n" << host.Output();
    WaitForSteady(dir);

    // Console > Session Log, Escape, Console > Session Log again.
    const std::vector<uint32_t> opened = Press(dir, {"alt+c", "l"});
    const std::vector<uint32_t> closed = Press(dir, {"Escape"});
    const std::vector<uint32_t> again = Press(dir, {"alt+c", "l"});
    EXPECT_GT(PixelsDiffering(opened, closed), 10000u) << "Escape closed the session log";
    EXPECT_GT(PixelsDiffering(again, closed), 10000u) << "the session log shows again";
    EXPECT_LT(PixelsDiffering(again, opened), 200u) << "as it was the first time, with nothing over it";

    // File > Exit ends it cleanly.
    Keys({"Escape", "alt+f", "x"});
    ExpectCleanEnd(host);
}

// The session log viewer's Log > Open starts in the folder of the console's session log
// (a log file there is opened by its bare name), and Log > Print Session, after its
// dialog, leaves the printed page as a picture in the data folder and says so.
TEST_F(ConsoleAtTheKeyboard, TheSessionLogsOpenAndPrintShowTheirDialogsAndDoWhatTheySay)
{
    ASSERT_TRUE(StartLoggedIn("host-window-log"));
    // Another log beside the session log, with one session of its own.
    std::ofstream(host.Data() / "other.log") << "****\n[01/02/2026 10:00:00] STARTED\nA line of another log\n";

    const std::vector<uint32_t> viewer = Press(dir, {"alt+c", "l"});
    EXPECT_GT(PixelsDiffering(Press(dir, {"alt+l", "o"}), viewer), 10000u) << "the Open dialog shows";
    Type("other.log");
    Keys({"Return"});
    EXPECT_TRUE(WaitFor([&] { return host.Said("The session log viewer shows " + (host.Data() / "other.log").string()); }))
        << "the Open dialog did not start beside the session log; the console said:\n" << host.Output();
    const std::vector<uint32_t> other = WaitForSteady(dir);

    EXPECT_GT(PixelsDiffering(Press(dir, {"alt+l", "p"}), other), 10000u) << "the Print dialog shows";
    Keys({"Return"});
    const fs::path page = host.Data() / "printed" / "session-page1.png";
    EXPECT_TRUE(WaitFor([&] { return host.Said("Printed 1 page into " + (host.Data() / "printed").string()); }))
        << "the console did not say where the page went; it said:\n" << host.Output();
    EXPECT_TRUE(fs::exists(page)) << page;
    EXPECT_FALSE(fs::exists(host.Data() / "printed" / "session-page2.png")) << "one session of three lines, one page";
    WaitForSteady(dir);

    // The message saying so, the viewer, then File > Exit.
    Press(dir, {"Return"});
    Press(dir, {"Escape"});
    Keys({"alt+f", "x"});
    ExpectCleanEnd(host);
}

} // namespace
} // namespace zyn::test
