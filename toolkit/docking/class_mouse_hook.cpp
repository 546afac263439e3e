#include "toolkit/docking/class_mouse_hook.h"

#include "platform/base/threads.h"
#include "platform/user/messages.h"
#include "platform/user/user_types.h"
#include "platform/user/winpos.h"

COXClassMouseHook::~COXClassMouseHook()
{
    // A class's hook outlives its windows; one still set at exit goes with it.
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
}

BOOL COXClassMouseHook::Acquire()
{
    if (!m_hHook) {
        m_hHook = ::SetWindowsHookExW(WH_MOUSE, m_proc, nullptr, ::GetCurrentThreadId());
        if (!m_hHook)
            return FALSE;
        m_hwndLast = nullptr;
    }
    ++m_nUsers;
    return TRUE;
}

void COXClassMouseHook::Release()
{
    if (m_nUsers <= 0)
        return;
    if (--m_nUsers > 0)
        return;
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    m_hHook = nullptr;
    m_hwndLast = nullptr;
}

HWND COXClassMouseHook::Track(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode != HC_ACTION || (wParam != WM_MOUSEMOVE && wParam != WM_NCMOUSEMOVE) || !lParam)
        return nullptr;
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const HWND hNow = ::WindowFromPoint(info->pt);
    const HWND hLeft = (m_hwndLast && m_hwndLast != hNow) ? m_hwndLast : nullptr;
    m_hwndLast = hNow;
    return hLeft;
}

LRESULT COXClassMouseHook::CallNext(int nCode, WPARAM wParam, LPARAM lParam) const
{
    return ::CallNextHookEx(m_hHook, nCode, wParam, lParam);
}
