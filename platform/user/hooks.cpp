// Hook chains: SetWindowsHookEx, CallNextHookEx and the calls at each hook point.
//
// Each hook type keeps one chain, newest first. A hook installed for a thread runs only
// for that thread; one installed with thread 0 runs for every thread of the process. A
// chain is not re-entered on the same thread: a hook procedure that causes the event it
// hooks (a WH_CALLWNDPROC hook that sends a message) does not see it again.
#include <algorithm>
#include <array>
#include <atomic>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/user/input.h"
#include "platform/user/queue_internal.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

struct HookRec {
    HHOOK handle = nullptr;
    int id = 0;
    HOOKPROC proc = nullptr;
    DWORD thread = 0;
    bool dead = false;
};

constexpr int kHookTypes = WH_MAX - WH_MIN + 1;

struct Chains {
    std::mutex m;
    std::array<std::vector<std::shared_ptr<HookRec>>, kHookTypes> chains; // newest first
    std::array<std::atomic<int>, kHookTypes> counts{};
};

// Both are immortal: objects with static storage (a window class's hook) remove their
// hooks from their destructors, which run after these would have been destroyed when the
// first hook came after them.
Chains& TheChains()
{
    static auto* const c = new Chains(); // immortal
    return *c;
}

base::HandleTable<HookRec>& HookTable()
{
    static auto* const t = new base::HandleTable<HookRec>(base::HandleKind::Hook); // immortal, like the chains
    return *t;
}

// Hook types this thread is inside of (no re-entry).
thread_local std::array<int, kHookTypes> t_inside{};

bool Applies(const HookRec& h, DWORD tid) { return !h.dead && (h.thread == 0 || h.thread == tid); }

// The first live hook of the chain for this thread after `after` (null: from the start).
std::shared_ptr<HookRec> NextHook(int id, const HookRec* after)
{
    Chains& c = TheChains();
    const DWORD tid = GetCurrentThreadId();
    std::lock_guard lock(c.m);
    const auto& chain = c.chains[static_cast<size_t>(id - WH_MIN)];
    bool passed = after == nullptr;
    for (const auto& h : chain) {
        if (!passed) {
            if (h.get() == after)
                passed = true;
            continue;
        }
        if (Applies(*h, tid))
            return h;
    }
    return nullptr;
}

struct Inside {
    int idx;
    explicit Inside(int id) : idx(id - WH_MIN) { ++t_inside[static_cast<size_t>(idx)]; }
    ~Inside() { --t_inside[static_cast<size_t>(idx)]; }
};

} // namespace

bool HasHooks(int idHook)
{
    if (idHook < WH_MIN || idHook > WH_MAX)
        return false;
    const auto idx = static_cast<size_t>(idHook - WH_MIN);
    return TheChains().counts[idx].load(std::memory_order_relaxed) > 0 && t_inside[idx] == 0;
}

LRESULT CallHooks(int idHook, int code, WPARAM wp, LPARAM lp)
{
    if (!HasHooks(idHook))
        return 0;
    auto h = NextHook(idHook, nullptr);
    if (!h)
        return 0;
    Inside guard(idHook);
    return h->proc(code, wp, lp);
}

void RemoveThreadHooks(DWORD threadId)
{
    Chains& c = TheChains();
    std::vector<std::shared_ptr<HookRec>> doomed;
    {
        std::lock_guard lock(c.m);
        for (size_t i = 0; i < c.chains.size(); ++i) {
            auto& chain = c.chains[i];
            for (auto& h : chain)
                if (h->thread == threadId) {
                    h->dead = true;
                    doomed.push_back(h);
                }
            chain.erase(std::remove_if(chain.begin(), chain.end(), [](const auto& h) { return h->dead; }), chain.end());
            c.counts[i].store(static_cast<int>(chain.size()));
        }
    }
    for (auto& h : doomed)
        HookTable().Remove(h->handle);
}

void ResetHooks()
{
    Chains& c = TheChains();
    std::vector<std::shared_ptr<HookRec>> doomed;
    {
        std::lock_guard lock(c.m);
        for (size_t i = 0; i < c.chains.size(); ++i) {
            for (auto& h : c.chains[i]) {
                h->dead = true;
                doomed.push_back(h);
            }
            c.chains[i].clear();
            c.counts[i].store(0);
        }
    }
    for (auto& h : doomed)
        HookTable().Remove(h->handle);
}

size_t LiveHookCount() { return HookTable().Count(); }

} // namespace zyn::user

using namespace zyn::user;

HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId)
{
    if (idHook < WH_MIN || idHook > WH_MAX || idHook == 8) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!lpfn) {
        SetLastError(ERROR_INVALID_FILTER_PROC);
        return nullptr;
    }
    if (idHook == WH_JOURNALRECORD || idHook == WH_JOURNALPLAYBACK) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto h = std::make_shared<zyn::user::HookRec>();
    h->id = idHook;
    h->proc = lpfn;
    h->thread = dwThreadId;
    const uint32_t v = HookTable().Add(h);
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    h->handle = zyn::base::MakeHandle<HHOOK>(v);
    Chains& c = TheChains();
    std::lock_guard lock(c.m);
    const auto idx = static_cast<size_t>(idHook - WH_MIN);
    c.chains[idx].insert(c.chains[idx].begin(), h);
    c.counts[idx].store(static_cast<int>(c.chains[idx].size()));
    return h->handle;
}

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId)
{
    return SetWindowsHookExW(idHook, lpfn, hmod, dwThreadId);
}

BOOL UnhookWindowsHookEx(HHOOK hhk)
{
    auto h = HookTable().Remove(hhk);
    if (!h) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    Chains& c = TheChains();
    std::lock_guard lock(c.m);
    h->dead = true;
    const auto idx = static_cast<size_t>(h->id - WH_MIN);
    auto& chain = c.chains[idx];
    chain.erase(std::remove(chain.begin(), chain.end(), h), chain.end());
    c.counts[idx].store(static_cast<int>(chain.size()));
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam)
{
    // The hook may have been removed while it runs; its position is still known from the
    // record the handle named, so look the record up through the chains.
    std::shared_ptr<zyn::user::HookRec> cur = HookTable().Get(hhk);
    if (!cur)
        return 0;
    auto next = zyn::user::NextHook(cur->id, cur.get());
    if (!next)
        return 0;
    return next->proc(nCode, wParam, lParam);
}

BOOL CallMsgFilterW(LPMSG lpMsg, int nCode)
{
    if (!lpMsg)
        return FALSE;
    if (HasHooks(WH_SYSMSGFILTER) && CallHooks(WH_SYSMSGFILTER, nCode, 0, reinterpret_cast<LPARAM>(lpMsg)))
        return TRUE;
    if (HasHooks(WH_MSGFILTER) && CallHooks(WH_MSGFILTER, nCode, 0, reinterpret_cast<LPARAM>(lpMsg)))
        return TRUE;
    return FALSE;
}

BOOL CallMsgFilter(LPMSG lpMsg, int nCode) { return CallMsgFilterW(lpMsg, nCode); }
