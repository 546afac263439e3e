// The example console: a small access-control console on the library, as a host would
// write it.
//
//   zyn_host [--window | --headless] [--pg CONNECT] [--data DIR] [--pictures DIR]
//            [--recorder PORT] [--tour full|persist-save|persist-check|cancel|layout-NAME]
//
// With a display (DISPLAY or WAYLAND_DISPLAY set, or --window) the console opens in a
// real window, asks the operator to log in and runs until it is closed; otherwise, or
// when the window cannot open, it plays the scripted tour (the full one unless --tour
// names a shorter one) as input on the headless desktop's virtual clock, the log-in
// included, and writes its pictures. Without --data the window keeps its data in
// <tmp>/zyn-demo and the tour plays on a fresh <tmp>/zyn-demo/tour-run each run, its
// pictures in <tmp>/zyn-demo/tour. The database is
// the SQLite file in the data folder (made on first run) unless --pg, or ACS.INI
// [Console] PgConnect, names a PostgreSQL database. The recording server is the example
// one, run by the console, unless --recorder names the port of one already running.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host_app.h"
#include "host_frame.h"
#include "host_tour.h"
#include "platform/afx/afxstate.h"
#include "platform/base/clock.h"
#include "platform/base/inifile.h"
#include "platform/base/utf16.h"
#include "platform/display/presenter.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "recorder_process.h"

namespace fs = std::filesystem;

namespace {

struct Arguments {
    enum class Mode { Auto, Window, Headless } mode = Mode::Auto;
    std::string pg;
    fs::path data;
    fs::path pictures;
    int32_t port = 0;
    tour::Plan tour;
};

int Usage(const char* why)
{
    std::fprintf(stderr, "zyn_host: %s\nusage: zyn_host [--window | --headless] [--pg CONNECT] [--data DIR] "
                         "[--pictures DIR] [--recorder PORT] [--tour full|persist-save|persist-check|cancel|layout-NAME]\n",
        why);
    return 2;
}

// Standard error sent nowhere while it lives.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        if (std::FILE* null = std::fopen("/dev/null", "w")) {
            ::dup2(::fileno(null), 2);
            std::fclose(null);
        }
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, 2);
            ::close(m_saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

// The settings and logs of the console stay in its data folder unless set already. The
// library's logs go beside the console's session log (console.log), so the log folder the
// session log viewer's Open starts in shows the session log.
void UsePrivateFolders(const fs::path& root)
{
    for (const char* sub : {"registry", "windows"})
        fs::create_directories(root / sub);
    ::setenv("ZYN_REGISTRY_DIR", (root / "registry").c_str(), 0);
    ::setenv("ZYN_WINDIR", (root / "windows").c_str(), 0);
    ::setenv("ZYN_LOG_DIR", root.c_str(), 0);
}

// The example recording server beside this program in the build tree, or on the path.
std::string RecorderProgram()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path built = self.parent_path().parent_path() / "recording_server" / "zyn_recording_server";
        if (fs::exists(built, ec))
            return built.string();
        const fs::path installed = self.parent_path() / "zyn_recording_server";
        if (fs::exists(installed, ec))
            return installed.string();
    }
    return "zyn_recording_server";
}

} // namespace

int main(int argc, char** argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--window")
            args.mode = Arguments::Mode::Window;
        else if (a == "--headless")
            args.mode = Arguments::Mode::Headless;
        else if (a == "--pg" && hasValue)
            args.pg = argv[++i];
        else if (a == "--data" && hasValue)
            args.data = argv[++i];
        else if (a == "--pictures" && hasValue)
            args.pictures = argv[++i];
        else if (a == "--recorder" && hasValue) {
            char* end = nullptr;
            const int64_t port = std::strtoll(argv[++i], &end, 10);
            if (!end || *end || port <= 0 || port > 65535)
                return Usage("--recorder takes a port from 1 to 65535");
            args.port = static_cast<int32_t>(port);
        } else if (a == "--tour" && hasValue) {
            const auto plan = tour::PlanFromName(argv[++i]);
            if (!plan)
                return Usage("--tour takes full, persist-save, persist-check, cancel or layout-NAME");
            args.tour = *plan;
        } else
            return Usage(("unknown or incomplete argument " + a).c_str());
    }
    bool window = args.mode == Arguments::Mode::Window ||
        (args.mode == Arguments::Mode::Auto && (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")));
    if (window) {
        // The real window shows from the log-in on; closing it asks the main window once
        // there is one (before: the log-in dialog, which cancels). The display library's
        // own complaints stay off the terminal: the reason is said once, below.
        zyn::display::PresenterOptions shown;
        shown.title = L"ZynCmn Console";
        std::string why;
        bool started = false;
        {
            QuietStderr quiet;
            started = zyn::display::StartPresenter(shown, &why);
        }
        if (!started) {
            if (args.mode == Arguments::Mode::Window)
                std::printf("no window (%s): running the tour headless\n", why.c_str());
            else
                std::printf("no display: running the tour headless\n");
            window = false;
        }
    }

    // The window keeps the person's folder from run to run; the headless tour, unless
    // told a folder, plays on a fresh one of its own, so no layout or data a person left
    // decides how it goes.
    const fs::path home = fs::temp_directory_path() / "zyn-demo";
    std::error_code ec;
    if (args.data.empty()) {
        args.data = window ? home : home / "tour-run";
        if (!window)
            fs::remove_all(args.data, ec);
        if (args.pictures.empty() && !window)
            args.pictures = home / "tour";
    }
    if (args.pictures.empty())
        args.pictures = args.data / "tour";
    fs::create_directories(args.data, ec);
    if (ec)
        return Usage(("cannot make the data folder: " + ec.message()).c_str());
    UsePrivateFolders(args.data);

    HostOptions options;
    options.dataDir = args.data;
    options.recorderPort = static_cast<uint16_t>(args.port);
    options.recorderProgram = RecorderProgram();
    if (!args.pg.empty()) {
        options.pgConnect = CString(zyn::base::FromUtf8(args.pg).c_str());
    } else {
        wchar_t setting[1024] = {};
        GetPrivateProfileStringW(L"Console", L"PgConnect", L"", setting, 1024, L"ACS.INI");
        options.pgConnect = setting;
    }

    int result = 0;
    {
        CHostApp app(options);
        std::shared_ptr<tour::LoginSeen> login;
        if (!window) {
            // The tour plays a person: input on the virtual clock, every modal loop
            // ending when the script has nothing more to say.
            zyn::base::Clock::UseVirtual(1'000'000);
            zyn::user::SetScriptedMode(true);
            login = tour::ScriptLogin(args.tour, args.pictures);
        }
        if (!app.InitInstance()) {
            // A cancelled log-in is an ordinary end for a person; the tour expects it
            // only when it is the one that cancels.
            const bool cancelled = app.LoginCancelled();
            app.ExitInstance();
            if (window)
                zyn::display::StopPresenter();
            bool ok = cancelled;
            if (!window)
                ok = cancelled && args.tour.kind == tour::Kind::Cancel && tour::Run(app, args.tour, *login, args.pictures) == 0;
            result = ok ? 0 : 1;
        } else if (window) {
            zyn::display::SetPresenterMainWindow(app.Frame()->m_hWnd);
            result = app.Run(); // until the main window closes
            zyn::display::StopPresenter();
        } else {
            int failures = 1;
            if (args.tour.kind == tour::Kind::Cancel)
                std::printf("tour FAILED: the log-in was not cancelled\n");
            else
                failures = tour::Run(app, args.tour, *login, args.pictures);
            if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
                app.m_pMainWnd->SendMessage(WM_CLOSE); // saves the frame's state as a person's close does
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            result = app.ExitInstance();
            if (failures) {
                std::printf("%d tour steps failed\n", failures);
                result = 1;
            } else {
                std::printf("The tour passed.\n");
            }
            if (args.tour.kind == tour::Kind::Full)
                std::printf("Its pictures are in %s\nTo use the console yourself, run it where there is a display "
                            "(scripts/demo opens its window when DISPLAY is set; --window asks for one).\n",
                    args.pictures.c_str());
        }
        AfxUnlockTempMaps();
    }
    if (const size_t left = zyn::user::LiveWindowCount(); left != 0) {
        std::printf("%d windows were left open\n", static_cast<int>(left));
        return 1;
    }
    return result;
}
