#include "toolkit/skins/shadow_wnd.h"

#include <algorithm>
#include <vector>

#include "platform/afx/gdi/dc.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/shadow_painter.h"

IMPLEMENT_DYNAMIC(COXShdWnd, CWnd)

BEGIN_MESSAGE_MAP(COXShdWnd, CWnd)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COXShdWnd::COXShdWnd() = default;

COXShdWnd::~COXShdWnd() = default;

void COXShdWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    // Before it moves, grows or shows (and is erased while doing so), the recorded shadow
    // belongs to the old place: the next erase reads the screen again.
    if (lpwndpos && (!(lpwndpos->flags & SWP_NOMOVE) || !(lpwndpos->flags & SWP_NOSIZE) ||
                        (lpwndpos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))))
        m_savedShadow.RemoveAll();
    CWnd::OnWindowPosChanging(lpwndpos);
}

void COXShdWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) { CWnd::OnWindowPosChanged(lpwndpos); }

BOOL COXShdWnd::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC || !pDC->GetSafeHdc())
        return FALSE;
    // What lies under the window must be finished before it is copied. Each window is
    // painted once: a window that leaves its update region in place would otherwise be
    // offered again for ever, and our own paint would darken the shadow twice.
    if (!m_bErasing) {
        m_bErasing = true;
        std::vector<HWND> painted;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
            if (msg.hwnd == m_hWnd || std::find(painted.begin(), painted.end(), msg.hwnd) != painted.end())
                break;
            ::PeekMessageW(&msg, msg.hwnd, WM_PAINT, WM_PAINT, PM_REMOVE);
            painted.push_back(msg.hwnd);
            ::DispatchMessageW(&msg);
        }
        m_bErasing = false;
    }
    CRect window;
    GetWindowRect(&window);
    CPoint client(0, 0);
    ClientToScreen(&client);
    // The DC is the client area's; the shadow is laid out on the window rectangle.
    const POINT origin{window.left - client.x, window.top - client.y};
    if (!OXDrawShadow(pDC->GetSafeHdc(), window, origin, nullptr, &m_savedShadow)) {
        // Recorded for another size (a resize the window did not see): paint afresh.
        m_savedShadow.RemoveAll();
        OXDrawShadow(pDC->GetSafeHdc(), window, origin, nullptr, &m_savedShadow);
    }
    return FALSE;
}
