// The presenter's watch over its X connection (see x_connection.h).
#include "platform/display/x_connection.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <atomic>

namespace zyn::display {
namespace {

std::atomic<bool> g_lost{false};

#if defined(SDL_VIDEO_DRIVER_X11)
// The process's I/O error handler before ours. Only the presenter's thread sets it.
XIOErrorHandler g_previous = nullptr;
bool g_taken = false;

int NoteLost(Display*)
{
    g_lost = true;
    return 0;
}

// Returning, rather than ending the process, is what keeps it running.
void StayAfterLoss(Display*, void*) { g_lost = true; }
#endif

} // namespace

void WatchXConnection(SDL_Window* window)
{
    g_lost = false;
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return;
    if (!g_taken) {
        g_previous = XSetIOErrorHandler(&NoteLost);
        g_taken = true;
    }
    XSetIOErrorExitHandler(info.info.x11.display, &StayAfterLoss, nullptr);
#else
    (void)window;
#endif
}

void UnwatchXConnection()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    if (g_taken)
        XSetIOErrorHandler(g_previous);
    g_previous = nullptr;
    g_taken = false;
#endif
}

bool XConnectionLost() { return g_lost.load(); }

} // namespace zyn::display
