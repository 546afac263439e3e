#pragma once
// The example console set up for a benchmark with the console's own code: a private data
// folder for its database, settings and logs (made on first use, removed at exit), the
// operator logged in as the tour does it, the main window over the whole 1280x1024
// desktop on a still clock, and a loop that handles what is queued until the console is
// idle. What the console says on standard output is sent to nowhere meanwhile.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host_app.h"
#include "host_frame.h"
#include "host_ids.h"
#include "host_tour.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/mdi.h"
#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

// After the platform headers, whose names some of these macros would replace.
#include <fcntl.h>
#include <unistd.h>

namespace benchconsole {

namespace fs = std::filesystem;

inline constexpr int kW = 1280, kH = 1024;

// The console's data folder for this run, with the environment pointing at it.
inline const fs::path& DataFolder()
{
    struct Folder {
        fs::path path;
        Folder()
        {
            std::string name = (fs::temp_directory_path() / "zyn-console-bench-XXXXXX").string();
            if (!::mkdtemp(name.data())) {
                std::perror("console bench: no data folder");
                std::exit(1);
            }
            path = name;
            for (const char* sub : {"registry", "windows", "logs"})
                fs::create_directories(path / sub);
            ::setenv("ZYN_REGISTRY_DIR", (path / "registry").c_str(), 1);
            ::setenv("ZYN_WINDIR", (path / "windows").c_str(), 1);
            ::setenv("ZYN_LOG_DIR", (path / "logs").c_str(), 1);
        }
        ~Folder()
        {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    static Folder folder;
    return folder.path;
}

// Handles what is queued and gives the idle passes until nothing is left to do.
inline void RunUntilIdle(CWinApp& app)
{
    for (int round = 0; round < 100; ++round) {
        bool any = false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (!app.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        for (LONG count = 0; app.OnIdle(count); ++count) {
        }
        zyn::user::PaintPendingWindows();
        if (!any && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return;
    }
}

// Sends what the console says on standard output (its session lines) to nowhere while
// it lives, so that the benchmark's table stays readable.
class Quiet {
public:
    Quiet()
    {
        std::fflush(stdout);
        m_saved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDOUT_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~Quiet()
    {
        std::fflush(stdout);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDOUT_FILENO);
            ::close(m_saved);
        }
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    int m_saved = -1;
};

// The console started and logged in, its window over the whole desktop; closed without
// saving the bars' places, so that every case finds the console as its first run shows it.
class Session {
public:
    Session() : m_app(Options())
    {
        tour::ScriptLogin(tour::Plan{tour::Kind::PersistCheck, {}}, DataFolder() / "login");
        if (!m_app.InitInstance()) {
            m_why = "the console did not start";
            return;
        }
        m_started = true;
        m_app.Frame()->SetWindowPos(nullptr, 0, 0, kW, kH, SWP_NOZORDER);
    }
    ~Session()
    {
        if (m_started) {
            if (m_app.m_pMainWnd && m_app.m_pMainWnd->m_hWnd)
                m_app.m_pMainWnd->DestroyWindow();
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
        }
        m_app.ExitInstance();
        AfxUnlockTempMaps();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Started() const { return m_started; }
    CHostApp& App() { return m_app; }
    CHostFrame* Frame() const { return m_app.Frame(); }
    // Why the session is not usable (empty when it is).
    std::string m_why;

    // Opens a screen from its command and waits until the console is idle; false (with
    // m_why) when it did not open.
    bool Open(UINT command)
    {
        Frame()->SendMessage(WM_COMMAND, command, 0);
        RunUntilIdle(m_app);
        CViewInfo* info = m_app.GetViewInfo(command);
        if (!info || !info->GetOpenFrame()) {
            m_why = "a screen did not open";
            return false;
        }
        return true;
    }

private:
    static HostOptions Options()
    {
        // A fresh window system, the clock still (no timer fires between two measurements).
        zyn::user::ResetWindowSystemForTests(kW, kH);
        zyn::base::Clock::UseVirtual(10000);
        zyn::user::SetScriptedMode(true);
        HostOptions options;
        options.dataDir = DataFolder();
        return options;
    }

    CHostApp m_app;
    bool m_started = false;
};

} // namespace benchconsole
