// Test support of the window system: resetting it and counting what is alive.
#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/monitor.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/caret_internal.h"
#include "platform/user/driver.h"
#include "platform/user/queue_internal.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {

void ResetWindowSystemForTests(int width, int height)
{
    const bool touched = WindowSystemTouched();
    DestroyAllWindowsSilently();
    ResetClasses();
    ResetHooks();
    ResetQueues();
    ResetInputState();
    ResetClipboard();
    ResetModalState();
    ResetMonitors();
    ResetCarets();
    auto desk = gdi::DesktopSurface();
    // A size other than the current one is honoured even before first use.
    if (touched || desk->Width() != width || desk->Height() != height) {
        gdi::ResetDesktop(width, height);
        gdi::ResetSystemColors();
        gdi::ResetSystemMetrics();
        gdi::ResetSystemParameters();
    }
}

size_t LiveWindowCount()
{
    size_t n = 0;
    for (auto& [v, w] : WindowTable().Snapshot())
        if (!w->isDesktop && !w->isMessageRoot && !w->dead)
            ++n;
    return n;
}

bool SnapshotDesktopPng(const std::string& path)
{
    PaintPendingWindows();
    auto s = gdi::DesktopSurface();
    return gdi::SaveSurfacePng(*s, nullptr, path);
}

bool SnapshotWindowPng(HWND hwnd, const std::string& path)
{
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return false;
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    if (cx <= 0 || cy <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(nullptr, screen);
    if (!mem || !bm) {
        if (bm)
            DeleteObject(bm);
        if (mem)
            DeleteDC(mem);
        return false;
    }
    HGDIOBJ old = SelectObject(mem, bm);
    RECT all{0, 0, cx, cy};
    FillRect(mem, &all, GetSysColorBrush(COLOR_3DFACE));
    SendMsg(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    SelectObject(mem, old);
    const bool ok = gdi::SaveBitmapPng(bm, path);
    DeleteObject(bm);
    DeleteDC(mem);
    return ok;
}

} // namespace zyn::user
