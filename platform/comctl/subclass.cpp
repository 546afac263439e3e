#include "platform/comctl/subclass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace {

// One installed subclass. `seq` orders the chain (newest first) and survives removal,
// so a DefSubclassProc running inside a removed entry still finds the next older one.
struct Entry {
    SUBCLASSPROC proc;
    UINT_PTR id;
    DWORD_PTR ref;
    uint64_t seq;
};

struct Chain {
    WNDPROC original = nullptr;
    std::vector<Entry> entries; // in install order (oldest first)
};

struct Registry {
    std::mutex m;
    std::map<HWND, Chain> chains;
    uint64_t nextSeq = 1;
};

Registry& Reg()
{
    // Never destroyed: windows may be destroyed while the process exits.
    static Registry* r = new Registry;
    return *r;
}

// The subclass call running on this thread for a window: DefSubclassProc continues from it.
struct Frame {
    HWND hwnd;
    uint64_t seq;
};
thread_local std::vector<Frame> t_frames;

LRESULT MasterProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);

// Whether the calling thread owns the window (false with the last error set otherwise).
bool OwnWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

// Drops the records of windows that went away without WM_NCDESTROY (a test reset).
void PruneDead(Registry& r)
{
    for (auto it = r.chains.begin(); it != r.chains.end();) {
        if (!::IsWindow(it->first))
            it = r.chains.erase(it);
        else
            ++it;
    }
}

// The entry to call after `belowSeq` (newest first); nullopt: the window's own procedure.
struct Next {
    bool found = false;
    Entry entry{};
    WNDPROC original = nullptr;
};
Next NextBelow(HWND hWnd, uint64_t belowSeq)
{
    Registry& r = Reg();
    std::lock_guard lock(r.m);
    Next n;
    auto it = r.chains.find(hWnd);
    if (it == r.chains.end())
        return n;
    n.original = it->second.original;
    for (const Entry& e : it->second.entries) {
        if (e.seq < belowSeq && (!n.found || e.seq > n.entry.seq)) {
            n.entry = e;
            n.found = true;
        }
    }
    return n;
}

LRESULT CallFrom(HWND hWnd, uint64_t belowSeq, UINT msg, WPARAM wp, LPARAM lp)
{
    const Next n = NextBelow(hWnd, belowSeq);
    if (!n.found) {
        if (n.original)
            return ::CallWindowProcW(n.original, hWnd, msg, wp, lp);
        return ::DefWindowProcW(hWnd, msg, wp, lp);
    }
    t_frames.push_back(Frame{hWnd, n.entry.seq});
    struct Pop {
        ~Pop() { t_frames.pop_back(); }
    } pop;
    return n.entry.proc(hWnd, msg, wp, lp, n.entry.id, n.entry.ref);
}

// Puts the window's own procedure back when the chain is empty and nobody replaced ours.
// Called with the registry locked.
void RestoreIfEmpty(std::map<HWND, Chain>::iterator it, Registry& r)
{
    if (!it->second.entries.empty())
        return;
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(it->first, GWLP_WNDPROC));
    if (current == &MasterProc) {
        ::SetWindowLongPtrW(it->first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.original));
        r.chains.erase(it);
    }
}

LRESULT MasterProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = CallFrom(hWnd, UINT64_MAX, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window is going: its subclasses go with it, and the own procedure comes back
        // for whatever the window system still does with the handle.
        Registry& r = Reg();
        std::lock_guard lock(r.m);
        auto it = r.chains.find(hWnd);
        if (it != r.chains.end()) {
            it->second.entries.clear();
            RestoreIfEmpty(it, r);
            if ((it = r.chains.find(hWnd)) != r.chains.end())
                r.chains.erase(it);
        }
    }
    return result;
}

} // namespace

BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR dwRefData)
{
    if (!pfnSubclass) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!OwnWindow(hWnd))
        return FALSE;
    Registry& r = Reg();
    std::lock_guard lock(r.m);
    PruneDead(r);
    auto it = r.chains.find(hWnd);
    if (it == r.chains.end()) {
        Chain c;
        // The window system calls no procedure while we hold our lock, so this is safe.
        c.original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MasterProc)));
        if (!c.original)
            return FALSE;
        it = r.chains.emplace(hWnd, std::move(c)).first;
    }
    for (Entry& e : it->second.entries) {
        if (e.proc == pfnSubclass && e.id == uIdSubclass) {
            e.ref = dwRefData;
            return TRUE;
        }
    }
    it->second.entries.push_back(Entry{pfnSubclass, uIdSubclass, dwRefData, r.nextSeq++});
    return TRUE;
}

BOOL GetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR* pdwRefData)
{
    if (pdwRefData)
        *pdwRefData = 0;
    if (!pfnSubclass || !::IsWindow(hWnd))
        return FALSE;
    Registry& r = Reg();
    std::lock_guard lock(r.m);
    auto it = r.chains.find(hWnd);
    if (it == r.chains.end())
        return FALSE;
    for (const Entry& e : it->second.entries) {
        if (e.proc == pfnSubclass && e.id == uIdSubclass) {
            if (pdwRefData)
                *pdwRefData = e.ref;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass)
{
    if (!pfnSubclass) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!OwnWindow(hWnd))
        return FALSE;
    Registry& r = Reg();
    std::lock_guard lock(r.m);
    auto it = r.chains.find(hWnd);
    if (it == r.chains.end())
        return FALSE;
    auto& entries = it->second.entries;
    const auto e = std::find_if(entries.begin(), entries.end(),
        [&](const Entry& x) { return x.proc == pfnSubclass && x.id == uIdSubclass; });
    if (e == entries.end())
        return FALSE;
    entries.erase(e);
    RestoreIfEmpty(it, r);
    return TRUE;
}

LRESULT DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // The innermost subclass call of this window on this thread says where we are.
    for (auto f = t_frames.rbegin(); f != t_frames.rend(); ++f) {
        if (f->hwnd == hWnd)
            return CallFrom(hWnd, f->seq, uMsg, wParam, lParam);
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

size_t zyn::comctl::SubclassedWindowCount()
{
    Registry& r = Reg();
    std::lock_guard lock(r.m);
    return static_cast<size_t>(std::count_if(
        r.chains.begin(), r.chains.end(), [](const auto& c) { return ::IsWindow(c.first) != FALSE; }));
}
