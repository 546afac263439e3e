// The test's message loop: see pump.h.
#include "tests/support/pump.h"

#include "platform/afx/afxstate.h"
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
    RunIdle();
}

void PumpMessages(const std::function<bool(MSG&)>& filter)
{
    MSG m;
    for (int guard = 0; guard < 100000 && ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (m.message == WM_QUIT)
            break;
        if (filter && filter(m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    RunIdle();
}

void RunIdle()
{
    if (CWinThread* thread = AfxGetThread()) {
        // The application asks for two rounds (the command user interface, then the
        // clean-up); a bound keeps a thread that always asks for more from hanging the test.
        for (LONG count = 0; count < 16 && thread->OnIdle(count); ++count) {
        }
        return;
    }
    if (AfxGetThreadState()->m_nTempMapLock == 0) {
        AfxLockTempMaps();
        AfxUnlockTempMaps();
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
