// Test support of the window system: resetting it and counting what is alive.
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
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
    if (touched) {
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

} // namespace zyn::user
