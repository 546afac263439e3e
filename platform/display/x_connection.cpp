// The presenter's watch over its X connection and window (see x_connection.h).
#include "platform/display/x_connection.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <atomic>
#include <cstdio>

namespace zyn::display {
namespace {

std::atomic<bool> g_lost{false};
std::atomic<bool> g_windowGone{false};

#if defined(SDL_VIDEO_DRIVER_X11)
// The process's handlers before ours and the watched window. Only the presenter's thread
// sets them.
XIOErrorHandler g_previousIo = nullptr;
XErrorHandler g_previousError = nullptr;
bool g_taken = false;
std::atomic<XID> g_window{0};
Display* g_display = nullptr;
// Protocol errors reported so far; after a few the rest go unsaid.
std::atomic<int> g_reported{0};
constexpr int kMostReports = 8;

int NoteLost(Display*)
{
    g_lost = true;
    return 0;
}

// Returning, rather than ending the process, is what keeps it running.
void StayAfterLoss(Display*, void*) { g_lost = true; }

int NoteError(Display*, XErrorEvent* e)
{
    const bool ours = e->resourceid != 0 && e->resourceid == g_window.load();
    if (ours && (e->error_code == BadWindow || e->error_code == BadDrawable))
        g_windowGone = true;
    if (g_reported.fetch_add(1) < kMostReports)
        std::fprintf(stderr, "X error %d (request %d.%d, resource 0x%lx)%s: ignored\n", e->error_code,
            e->request_code, e->minor_code, static_cast<unsigned long>(e->resourceid),
            ours ? " on the presenter's window" : "");
    return 0;
}
#endif

} // namespace

void WatchXConnection(SDL_Window* window)
{
    g_lost = false;
    g_windowGone = false;
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return;
    g_window = info.info.x11.window;
    g_display = info.info.x11.display;
    g_reported = 0;
    if (!g_taken) {
        g_previousIo = XSetIOErrorHandler(&NoteLost);
        g_previousError = XSetErrorHandler(&NoteError);
        g_taken = true;
    }
    XSetIOErrorExitHandler(info.info.x11.display, &StayAfterLoss, nullptr);
#else
    (void)window;
#endif
}

void SyncXConnection()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    if (g_display && g_taken && !g_lost)
        XSync(g_display, False);
#endif
}

void UnwatchXConnection()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    if (g_taken) {
        XSetIOErrorHandler(g_previousIo);
        XSetErrorHandler(g_previousError);
    }
    g_previousIo = nullptr;
    g_previousError = nullptr;
    g_taken = false;
    g_window = 0;
    g_display = nullptr;
#endif
}

bool XConnectionLost() { return g_lost.load(); }

bool XWindowGone() { return g_windowGone.load(); }

} // namespace zyn::display
