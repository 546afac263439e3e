// How the layout manager hears its container: it puts one process-wide window procedure
// in front of the container's own and finds itself through a map from the window.
//
// The map entry can outlive the manager's interest: when a manager lets go of a
// container that somebody subclassed after it, its procedure cannot be taken out of the
// chain (the later procedure calls it as its "previous" one), so the entry stays as a
// pass-through to the container's old procedure until the window is destroyed or a new
// manager takes it over.
#include <unordered_map>

#include "platform/afx/afxstate.h"
#include "platform/afx/wnd.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "toolkit/skins/layout_manager.h"

namespace {

struct Subclassed {
    COXLayoutManager* manager = nullptr; // null: passing messages through
    WNDPROC previous = nullptr;
};

// UI thread only, as the windows themselves.
std::unordered_map<HWND, Subclassed>& Map()
{
    static std::unordered_map<HWND, Subclassed> map;
    return map;
}

WNDPROC ProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)); }

} // namespace

BOOL COXLayoutManager::SubclassContainer(CWnd* pContainer)
{
    const WNDPROC global = &COXLayoutManager::GlobalLayoutManagerProc;
    if (!pContainer || !::IsWindow(pContainer->m_hWnd))
        return FALSE;
    const HWND hWnd = pContainer->m_hWnd;
    if (m_hWnd)
        return m_hWnd == hWnd && ProcOf(hWnd) == global ? TRUE : FALSE;
    auto& map = Map();
    if (auto it = map.find(hWnd); it != map.end()) {
        // Two managers on one window would each move the children their own way.
        if (it->second.manager)
            return FALSE;
        it->second.manager = this;
        m_hWnd = hWnd;
        m_pfnSuper = it->second.previous;
        return TRUE;
    }
    const WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(global)));
    if (!previous)
        return FALSE;
    map[hWnd] = Subclassed{this, previous};
    m_hWnd = hWnd;
    m_pfnSuper = previous;
    return TRUE;
}

void COXLayoutManager::UnsubclassContainer()
{
    if (!m_hWnd)
        return;
    auto& map = Map();
    const auto it = map.find(m_hWnd);
    if (it != map.end() && it->second.manager == this) {
        if (!::IsWindow(m_hWnd)) {
            map.erase(it);
        } else if (ProcOf(m_hWnd) == &COXLayoutManager::GlobalLayoutManagerProc) {
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            map.erase(it);
        } else {
            it->second.manager = nullptr; // somebody subclassed after us: stay as a pass-through
        }
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

LRESULT COXLayoutManager::GlobalLayoutManagerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    AFX_MAINTAIN_STATE2 state(AfxGetAppModuleState());
    auto& map = Map();
    const auto it = map.find(hWnd);
    if (it == map.end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    const Subclassed entry = it->second;
    if (message == WM_NCDESTROY) {
        // The window goes: nothing of it may be left in the map or the manager.
        map.erase(it);
        if (ProcOf(hWnd) == &COXLayoutManager::GlobalLayoutManagerProc)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.previous));
        if (entry.manager) {
            entry.manager->m_hWnd = nullptr;
            entry.manager->m_pfnSuper = nullptr;
        }
        return ::CallWindowProcW(entry.previous, hWnd, message, wParam, lParam);
    }
    if (entry.manager)
        return entry.manager->OnContainerMessage(message, wParam, lParam);
    return ::CallWindowProcW(entry.previous, hWnd, message, wParam, lParam);
}

LRESULT COXLayoutManager::OnContainerMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND hWnd = m_hWnd;
    const WNDPROC previous = m_pfnSuper;
    // The children first, so the container's own WM_SIZE handling sees them in place.
    if (message == WM_SIZE)
        OnSize(LOWORD(lParam), HIWORD(lParam));
    return ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
}
