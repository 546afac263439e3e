// OleInitialize and the table of registered drop targets.
//
// The table maps a window to one reference of its target. A window destroyed without
// RevokeDragDrop leaves a stale entry; its reference is released the next time the table
// is walked, since a handle never aliases a newer window.
#include <map>
#include <mutex>
#include <vector>

#include "platform/afx/ole/afxole.h"
#include "platform/afx/ole/ole2.h"
#include "platform/com/objbase.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

namespace zyn::ole {
namespace {

thread_local int t_oleInit = 0;

struct Registry {
    std::mutex m;
    std::map<HWND, IDropTarget*> targets; // one reference each
};
Registry& TheRegistry()
{
    static Registry* r = new Registry; // never destroyed: targets may be revoked during exit
    return *r;
}

// Takes stale entries out (under the lock); the caller releases them after unlocking.
void TakeStale(Registry& r, std::vector<IDropTarget*>& release)
{
    for (auto it = r.targets.begin(); it != r.targets.end();) {
        if (!IsWindow(it->first)) {
            release.push_back(it->second);
            it = r.targets.erase(it);
        } else {
            ++it;
        }
    }
}

void ReleaseAll(const std::vector<IDropTarget*>& release)
{
    for (IDropTarget* t : release)
        t->Release();
}

// ReleaseStgMedium frees GDI media through the drawing layer.
struct InstallGdiDeleter {
    InstallGdiDeleter() { zyn::com::SetGdiObjectDeleter(&DeleteObject); }
} g_installGdiDeleter;

} // namespace

bool IsOleInitializedOnThisThread() { return t_oleInit > 0; }

IDropTarget* RegisteredDropTarget(HWND hwnd)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.m);
    auto it = r.targets.find(hwnd);
    return it != r.targets.end() && IsWindow(hwnd) ? it->second : nullptr;
}

IDropTarget* FindDropTarget(POINT screen, HWND* pTargetWnd)
{
    if (pTargetWnd)
        *pTargetWnd = nullptr;
    HWND h = WindowFromPoint(screen);
    while (h) {
        if (IDropTarget* t = RegisteredDropTarget(h)) {
            if (pTargetWnd)
                *pTargetWnd = h;
            return t;
        }
        // Up through the parents of child windows; a top-level window ends the search
        // (its owner is another window, not a container).
        if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            break;
        h = GetAncestor(h, GA_PARENT);
    }
    return nullptr;
}

size_t RegisteredDropTargetCount()
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.m);
    return r.targets.size();
}

void ResetOleForTests()
{
    std::vector<IDropTarget*> release;
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.m);
        for (auto& [hwnd, target] : r.targets)
            release.push_back(target);
        r.targets.clear();
    }
    ReleaseAll(release);
    t_oleInit = 0;
}

} // namespace zyn::ole

HRESULT OleInitialize(LPVOID)
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return hr;
    return ++zyn::ole::t_oleInit == 1 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (zyn::ole::t_oleInit <= 0)
        return;
    --zyn::ole::t_oleInit;
    CoUninitialize();
}

HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET pDropTarget)
{
    if (!zyn::ole::IsOleInitializedOnThisThread())
        return CO_E_NOTINITIALIZED;
    if (!pDropTarget)
        return E_INVALIDARG;
    if (!hwnd || !IsWindow(hwnd))
        return DRAGDROP_E_INVALIDHWND;
    std::vector<IDropTarget*> release;
    HRESULT hr = S_OK;
    {
        auto& r = zyn::ole::TheRegistry();
        std::lock_guard lock(r.m);
        zyn::ole::TakeStale(r, release);
        if (r.targets.count(hwnd)) {
            hr = DRAGDROP_E_ALREADYREGISTERED;
        } else {
            pDropTarget->AddRef();
            r.targets.emplace(hwnd, pDropTarget);
        }
    }
    zyn::ole::ReleaseAll(release);
    return hr;
}

HRESULT RevokeDragDrop(HWND hwnd)
{
    if (!hwnd)
        return DRAGDROP_E_INVALIDHWND;
    std::vector<IDropTarget*> release;
    HRESULT hr = S_OK;
    {
        auto& r = zyn::ole::TheRegistry();
        std::lock_guard lock(r.m);
        auto it = r.targets.find(hwnd);
        if (it == r.targets.end()) {
            hr = IsWindow(hwnd) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
        } else {
            release.push_back(it->second);
            r.targets.erase(it);
        }
        zyn::ole::TakeStale(r, release);
    }
    zyn::ole::ReleaseAll(release);
    return hr;
}

BOOL AfxOleInit() { return SUCCEEDED(OleInitialize(nullptr)) ? TRUE : FALSE; }

BOOL AfxOleCanExitApp() { return TRUE; }
