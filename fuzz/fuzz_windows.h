#pragma once
// The window system around a fuzz target that makes windows: posted messages run out, and
// a top window taken down with everything it made.
#include "fuzz/fuzz_env.h"
#include "platform/afx/wnd.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"

namespace zyn::fuzz {

// Dispatches every message waiting.
inline void Pump()
{
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

// Destroys the window (a frame deletes itself with it) and checks that no window is left.
inline void EndWindows(CWnd* pTop)
{
    if (pTop && pTop->m_hWnd)
        pTop->DestroyWindow();
    Pump();
    Check(zyn::user::LiveWindowCount() == 0);
}

} // namespace zyn::fuzz
