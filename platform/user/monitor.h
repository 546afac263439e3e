#pragma once
// Display monitors: how the one desktop framebuffer is divided into monitors, each with a
// work area. The Win32 monitor functions (MonitorFromPoint/Rect/Window, GetMonitorInfo,
// EnumDisplayMonitors, declared in winpos.h) answer from this layout, and whatever places
// windows by monitor (popup menus first of all) asks it for the work area to keep to.
//
// By default there is one primary monitor covering the whole desktop, whose work area is
// SPI_GETWORKAREA's; it follows the desktop's size. A host showing several screens, or a
// test, lays out several monitors as rectangles inside the desktop. HMONITOR handles name
// the monitors of the layout they came from: after a new layout an old handle fails
// cleanly (ERROR_INVALID_HANDLE), it never names another monitor.
#include <span>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::user {

struct MonitorDesc {
    RECT monitor{};    // screen coordinates
    RECT work{};       // inside `monitor`
    bool primary = false;
};

// Replaces the layout. Refused (false, ERROR_INVALID_PARAMETER, the layout unchanged)
// unless every monitor is non-empty and inside the desktop, every work area is non-empty
// and inside its monitor, no two monitors overlap and exactly one is primary. An empty
// list restores the default single monitor.
bool SetMonitorLayout(std::span<const MonitorDesc> monitors);
// The layout in force (the default one resolved against the desktop's current size).
std::vector<MonitorDesc> MonitorLayout();
// The monitor holding `pt`, else the one nearest to it.
MonitorDesc MonitorNearest(POINT pt);
// Back to the default layout (the window system's test reset calls it).
void ResetMonitors();
// Where a top-level window's rectangle (screen) may stay: unchanged when it meets a
// monitor; otherwise moved the least distance into the work area of the monitor nearest to
// it, and made no larger than that work area (SetWindowPlacement keeps windows reachable
// after a monitor went away or the desktop shrank).
RECT KeepOnMonitors(const RECT& rect);

} // namespace zyn::user
