// A display driver's hooks into the window system (see display.h).
#include "platform/user/display.h"

#include <atomic>
#include <chrono>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {

namespace {

std::atomic<DisplayPump*> g_pump{nullptr};
std::atomic<DWORD> g_pumpThread{0};

} // namespace

void SetDisplayPump(DisplayPump* pump)
{
    g_pump = nullptr;
    g_pumpThread = pump ? GetCurrentThreadId() : 0;
    g_pump = pump;
}

bool DisplayAttached() { return g_pump.load() != nullptr; }

// The pumped form of WaitForQueue (queue.cpp calls it for the pump's thread); false when
// the thread has no pump and the ordinary wait applies.
bool WaitPumping(ThreadQueue& q, uint64_t seenSeq, uint64_t deadline)
{
    DisplayPump* pump = g_pump.load();
    if (!pump || g_pumpThread.load() != q.threadId)
        return false;
    pump->Pump();
    if (base::Clock::IsVirtual())
        return false;
    for (;;) {
        {
            std::unique_lock lock(q.m);
            const auto woken = [&] { return q.seq != seenSeq || !q.alive; };
            if (woken())
                return true;
            const uint64_t now = base::Clock::NowMs();
            if (now >= deadline)
                return true;
            const uint64_t slice = std::min<uint64_t>(deadline - now, kDisplayPumpSliceMs);
            if (q.cv.wait_for(lock, std::chrono::milliseconds(slice), woken))
                return true;
        }
        pump->Pump();
    }
}

bool ChangeDisplaySize(int width, int height)
{
    if (width <= 0 || height <= 0 || !gdi::ResizeDesktop(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    std::vector<HWND> tops;
    {
        auto lock = LockUser();
        if (auto desk = DesktopWnd()) {
            desk->rcWindow = RECT{0, 0, width, height};
            desk->rcClient = desk->rcWindow;
            for (auto& c : desk->children)
                if (!c->dead)
                    tops.push_back(c->hwnd);
        }
    }
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    const DWORD me = GetCurrentThreadId();
    const LPARAM size = MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height));
    for (HWND h : tops) {
        if (!IsWindow(h))
            continue;
        if (GetWindowThreadProcessId(h, nullptr) != me) {
            SendNotifyMessageW(h, WM_DISPLAYCHANGE, 32, size);
            continue;
        }
        // A maximised window is measured again against the new work area.
        if (IsZoomed(h))
            ShowWindow(h, SW_SHOWMAXIMIZED);
        if (IsWindow(h))
            SendMessageW(h, WM_DISPLAYCHANGE, 32, size);
    }
    return true;
}

} // namespace zyn::user
