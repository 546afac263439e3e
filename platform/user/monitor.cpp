// The monitor layout and the Win32 monitor functions on it.
#include "platform/user/monitor.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <string>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/styles.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

struct Slot {
    size_t index = 0;
};

struct State {
    std::mutex m;
    bool custom = false;            // false: the default monitor over the whole desktop
    std::vector<MonitorDesc> monitors;
    std::vector<uint32_t> handles;  // one per monitor (one for the default)
};

base::HandleTable<Slot>& Handles()
{
    static auto* const table = new base::HandleTable<Slot>(base::HandleKind::Misc); // immortal
    return *table;
}

State& TheState()
{
    static auto* const s = new State(); // immortal, like the handle table
    return *s;
}

RECT DesktopRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// With the state's mutex held.
std::vector<MonitorDesc> CurrentLocked(State& s)
{
    if (s.custom)
        return s.monitors;
    MonitorDesc d;
    d.monitor = DesktopRect();
    d.work = d.monitor;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &d.work, 0);
    if (!IntersectRect(&d.work, &d.work, &d.monitor))
        d.work = d.monitor;
    d.primary = true;
    return {d};
}

void ReplaceHandlesLocked(State& s, size_t count)
{
    for (uint32_t h : s.handles)
        Handles().Remove(base::MakeHandle<void*>(h));
    s.handles.clear();
    for (size_t i = 0; i < count; ++i)
        s.handles.push_back(Handles().Add(std::make_shared<Slot>(Slot{i})));
}

void EnsureHandlesLocked(State& s)
{
    if (s.handles.empty())
        ReplaceHandlesLocked(s, 1);
}

// The layout and its handles, consistent with each other.
std::vector<std::pair<HMONITOR, MonitorDesc>> Snapshot()
{
    State& s = TheState();
    std::lock_guard lock(s.m);
    EnsureHandlesLocked(s);
    const std::vector<MonitorDesc> mons = CurrentLocked(s);
    std::vector<std::pair<HMONITOR, MonitorDesc>> out;
    for (size_t i = 0; i < mons.size() && i < s.handles.size(); ++i)
        out.emplace_back(base::MakeHandle<HMONITOR>(s.handles[i]), mons[i]);
    return out;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom;
}

// Squared distance between two rectangles (0 when they touch or overlap), in 64 bits so
// far-off coordinates cannot overflow.
int64_t Gap(const RECT& a, const RECT& b)
{
    const int64_t dx = std::max<int64_t>({0, int64_t{b.left} - a.right + 1, int64_t{a.left} - b.right + 1});
    const int64_t dy = std::max<int64_t>({0, int64_t{b.top} - a.bottom + 1, int64_t{a.top} - b.bottom + 1});
    return dx * dx + dy * dy;
}

int64_t Area(const RECT& r) { return int64_t{r.right - r.left} * (r.bottom - r.top); }

// The monitor a rectangle overlaps most; with none, null, the primary or the nearest.
HMONITOR FromRect(const RECT& r, DWORD flags)
{
    const auto mons = Snapshot();
    HMONITOR best = nullptr;
    int64_t bestArea = 0;
    for (const auto& [h, d] : mons) {
        RECT i;
        if (IntersectRect(&i, &r, &d.monitor) && Area(i) > bestArea) {
            bestArea = Area(i);
            best = h;
        }
    }
    if (best)
        return best;
    if (flags == MONITOR_DEFAULTTOPRIMARY) {
        for (const auto& [h, d] : mons)
            if (d.primary)
                return h;
    } else if (flags == MONITOR_DEFAULTTONEAREST) {
        int64_t bestGap = std::numeric_limits<int64_t>::max();
        for (const auto& [h, d] : mons) {
            const int64_t g = Gap(r, d.monitor);
            if (g < bestGap) {
                bestGap = g;
                best = h;
            }
        }
    }
    return best;
}

std::optional<MonitorDesc> Lookup(HMONITOR h)
{
    for (const auto& [mh, d] : Snapshot())
        if (mh == h)
            return d;
    return std::nullopt;
}

} // namespace

bool SetMonitorLayout(std::span<const MonitorDesc> monitors)
{
    const RECT desk = DesktopRect();
    int primaries = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const MonitorDesc& d = monitors[i];
        bool ok = !IsRectEmpty(&d.monitor) && !IsRectEmpty(&d.work) && Inside(d.monitor, desk) &&
            Inside(d.work, d.monitor);
        for (size_t j = 0; ok && j < i; ++j) {
            RECT x;
            ok = !IntersectRect(&x, &d.monitor, &monitors[j].monitor);
        }
        if (!ok) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        primaries += d.primary ? 1 : 0;
    }
    if (!monitors.empty() && primaries != 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    State& s = TheState();
    {
        std::lock_guard lock(s.m);
        s.custom = !monitors.empty();
        s.monitors.assign(monitors.begin(), monitors.end());
        ReplaceHandlesLocked(s, monitors.empty() ? 1 : monitors.size());
    }
    gdi::SetSystemMetricForTests(SM_CMONITORS, monitors.empty() ? 1 : static_cast<int>(monitors.size()));
    const MonitorDesc* pPrimary = nullptr;
    for (const MonitorDesc& d : monitors)
        pPrimary = d.primary ? &d : pPrimary;
    gdi::SetWorkArea(pPrimary ? &pPrimary->work : nullptr);
    return true;
}

std::vector<MonitorDesc> MonitorLayout()
{
    State& s = TheState();
    std::lock_guard lock(s.m);
    return CurrentLocked(s);
}

MonitorDesc MonitorNearest(POINT pt)
{
    const RECT r{pt.x, pt.y, pt.x + 1, pt.y + 1};
    if (auto d = Lookup(FromRect(r, MONITOR_DEFAULTTONEAREST)))
        return *d;
    return MonitorLayout().front();
}

RECT KeepOnMonitors(const RECT& rect)
{
    RECT probe = rect;
    if (probe.right <= probe.left)
        probe.right = probe.left + 1;
    if (probe.bottom <= probe.top)
        probe.bottom = probe.top + 1;
    if (FromRect(probe, MONITOR_DEFAULTTONULL))
        return rect;   // on a monitor, if only partly: the user can reach it
    const auto d = Lookup(FromRect(probe, MONITOR_DEFAULTTONEAREST));
    const RECT work = d ? d->work : MonitorLayout().front().work;
    const int cx = std::min<int>(std::max<int>(0, rect.right - rect.left), work.right - work.left);
    const int cy = std::min<int>(std::max<int>(0, rect.bottom - rect.top), work.bottom - work.top);
    const int x = std::clamp<int>(rect.left, work.left, work.right - cx);
    const int y = std::clamp<int>(rect.top, work.top, work.bottom - cy);
    return RECT{x, y, x + cx, y + cy};
}

void ResetMonitors()
{
    State& s = TheState();
    bool wasCustom;
    {
        std::lock_guard lock(s.m);
        wasCustom = s.custom;
        if (wasCustom) {
            s.custom = false;
            s.monitors.clear();
            ReplaceHandlesLocked(s, 1);
        }
    }
    if (wasCustom) {
        gdi::SetSystemMetricForTests(SM_CMONITORS, 1);
        gdi::SetWorkArea(nullptr);
    }
}

} // namespace zyn::user

using namespace zyn::user;

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    const RECT r{pt.x, pt.y, pt.x + 1, pt.y + 1};
    return FromRect(r, dwFlags);
}

HMONITOR MonitorFromRect(LPCRECT lprc, DWORD dwFlags)
{
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT r = *lprc;
    // An empty rectangle still has a place: the point at its top-left corner.
    if (r.right <= r.left)
        r.right = r.left + 1;
    if (r.bottom <= r.top)
        r.bottom = r.top + 1;
    return FromRect(r, dwFlags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags)
{
    auto w = GetWnd(hwnd);
    if (!w) {
        if (dwFlags == MONITOR_DEFAULTTONULL)
            return nullptr;
        const POINT origin{0, 0};
        return MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    }
    RECT r;
    {
        auto lock = LockUser();
        r = w->rcWindow;
        // A minimised window belongs where it will be restored.
        if ((w->style & WS_MINIMIZE) && w->parent && w->parent->isDesktop)
            r = w->rcNormal;
    }
    return MonitorFromRect(&r, dwFlags);
}

BOOL GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    const auto d = Lookup(hMonitor);
    if (!d) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpmi || (lpmi->cbSize != sizeof(MONITORINFO) && lpmi->cbSize != sizeof(MONITORINFOEXW))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpmi->rcMonitor = d->monitor;
    lpmi->rcWork = d->work;
    lpmi->dwFlags = d->primary ? MONITORINFOF_PRIMARY : 0;
    if (lpmi->cbSize == sizeof(MONITORINFOEXW)) {
        // Devices are numbered in layout order.
        size_t n = 1;
        for (const auto& [h, md] : Snapshot()) {
            if (h == hMonitor)
                break;
            ++n;
        }
        const std::wstring name = L"\\\\.\\DISPLAY" + std::to_wstring(n);
        auto* ex = static_cast<MONITORINFOEXW*>(lpmi);
        std::fill(std::begin(ex->szDevice), std::end(ex->szDevice), L'\0');
        std::copy(name.begin(), name.end(), ex->szDevice);
    }
    return TRUE;
}

BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi) { return GetMonitorInfoW(hMonitor, lpmi); }

BOOL EnumDisplayMonitors(HDC hdc, LPCRECT lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData)
{
    if (!lpfnEnum) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // With a DC, rectangles are in its logical coordinates and limited to what it can draw.
    POINT origin{0, 0};
    RECT visible{};
    if (hdc) {
        if (!GetDCOrgEx(hdc, &origin))
            return FALSE;
        if (GetClipBox(hdc, &visible) == ERROR_REGION)
            return FALSE;
    }
    for (const auto& [h, d] : Snapshot()) {
        RECT r = d.monitor;
        if (hdc) {
            POINT pts[2] = {{r.left - origin.x, r.top - origin.y}, {r.right - origin.x, r.bottom - origin.y}};
            DPtoLP(hdc, pts, 2);
            r = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
            if (!IntersectRect(&r, &r, &visible))
                continue;
        }
        if (lprcClip && !IntersectRect(&r, &r, lprcClip))
            continue;
        if (!lpfnEnum(h, hdc, &r, dwData))
            break;
    }
    return TRUE;
}
