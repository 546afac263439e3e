// The menu-bar frames' dock-bar factory and the MDI client subclass they share.
#include "toolkit/menus/menu_bar_frame.h"

#include <map>

#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "toolkit/docking/size_dock_bar.h"

namespace {

OXMenuFrameDockBarFactory g_factory = nullptr;

struct ClientRecord {
    WNDPROC prev = nullptr;
    HWND hFrame = nullptr;
    OXMDIClientHandler handler = nullptr;
};

std::map<HWND, ClientRecord>& Clients()
{
    static std::map<HWND, ClientRecord> clients;
    return clients;
}

LRESULT MDISubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& clients = Clients();
    const auto it = clients.find(hWnd);
    if (it == clients.end())
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    const ClientRecord record = it->second;
    if (message == WM_NCDESTROY) {
        clients.erase(hWnd);
        return record.prev ? ::CallWindowProcW(record.prev, hWnd, message, wParam, lParam) : 0;
    }
    if (record.handler) {
        bool handled = false;
        const LRESULT result = record.handler(record.hFrame, hWnd, message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    return record.prev ? ::CallWindowProcW(record.prev, hWnd, message, wParam, lParam) : 0;
}

} // namespace

OXMenuFrameDockBarFactory OXSetMenuFrameDockBarFactory(OXMenuFrameDockBarFactory factory)
{
    const OXMenuFrameDockBarFactory previous = g_factory;
    g_factory = factory;
    return previous;
}

CDockBar* OXCreateMenuFrameDockBar() { return g_factory ? g_factory() : new COXSizeDockBar; }

WNDPROC OXGetMDIClientSubclassProc() { return &MDISubclassProc; }

WNDPROC OXGetMDIClientPreviousProc(HWND hClient)
{
    const auto it = Clients().find(hClient);
    return it == Clients().end() ? nullptr : it->second.prev;
}

BOOL OXSubclassMDIClient(HWND hClient, HWND hFrame, OXMDIClientHandler handler)
{
    if (!hClient || !::IsWindow(hClient))
        return FALSE;
    // Records of clients that went without their WM_NCDESTROY reaching the subclass.
    auto& clients = Clients();
    for (auto it = clients.begin(); it != clients.end();)
        it = ::IsWindow(it->first) ? std::next(it) : clients.erase(it);
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hClient, GWLP_WNDPROC));
    ClientRecord& record = clients[hClient];
    record.hFrame = hFrame;
    record.handler = handler;
    if (current == &MDISubclassProc)
        return TRUE;
    record.prev = current;
    ::SetWindowLongPtrW(hClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MDISubclassProc));
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hClient, GWLP_WNDPROC)) == &MDISubclassProc;
}
