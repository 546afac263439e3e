#pragma once
// The window system around a fuzz target that makes windows: a main frame made, posted
// messages run out, and the frame taken down with everything it made.
#include "fuzz/fuzz_env.h"
#include "platform/afx/frame.h"
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

// A visible frame of type T at `rect`, made after the window system is reset; it deletes
// itself with its window.
template <class T = CFrameWnd>
T* NewFrame(const CRect& rect = CRect(100, 100, 700, 500))
{
    zyn::user::ResetWindowSystemForTests();
    auto* frame = new T;
    Check(frame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect));
    return frame;
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
