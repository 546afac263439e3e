// The test's message loop: see pump.h.
#include "tests/support/pump.h"

#include "platform/afx/winthread.h"
#include "platform/user/driver.h"
#include "platform/user/msgqueue.h"
#include "platform/user/vkeys.h"

namespace zyn::test {

void PumpTranslated()
{
    MSG m;
    for (int guard = 0; guard < 100000 && ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (AfxPreTranslateMessage(&m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

void InjectChord(int vk, bool ctrl, bool shift)
{
    if (ctrl)
        user::InjectKey(VK_CONTROL, true);
    if (shift)
        user::InjectKey(VK_SHIFT, true);
    user::InjectKeyPress(vk);
    if (shift)
        user::InjectKey(VK_SHIFT, false);
    if (ctrl)
        user::InjectKey(VK_CONTROL, false);
}

} // namespace zyn::test
