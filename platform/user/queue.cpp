// Per-thread queues, sending and posting, the message loop and timers.
#include <algorithm>
#include <map>

#include "platform/base/afxmt.h"
#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/user/atoms.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/thread_state.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

constexpr size_t kMaxPosted = 10000; // a queue that long means nobody reads it
constexpr DWORD ERROR_NOT_ENOUGH_QUOTA = 1816;
constexpr DWORD ERROR_MESSAGE_SYNC_ONLY = 1159;
const HWND kThreadOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

struct Registry {
    std::mutex m;
    std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
    bool listening = false;
};

Registry& TheRegistry()
{
    static Registry r;
    return r;
}

void ReplyTo(const std::shared_ptr<SentMessage>& sm, LRESULT result);

// Ends a thread's queue: answers its pending sends as failed and frees its windows.
void EndQueue(const std::shared_ptr<ThreadQueue>& q)
{
    std::deque<std::shared_ptr<SentMessage>> pending;
    {
        std::lock_guard lock(q->m);
        q->alive = false;
        pending.swap(q->incoming);
        q->posted.clear();
        q->input.clear();
        q->timers.clear();
    }
    for (auto& sm : pending) {
        sm->failed = true;
        ReplyTo(sm, 0);
    }
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.m);
        auto it = r.queues.find(q->threadId);
        if (it != r.queues.end() && it->second == q)
            r.queues.erase(it);
    }
    DestroyThreadWindows(q->threadId);
    RemoveThreadHooks(q->threadId);
    q->Wake(0);
}

struct QueueHolder {
    std::shared_ptr<ThreadQueue> q;
    ~QueueHolder()
    {
        if (q)
            EndQueue(q);
    }
};

// Reached by every message a window procedure gets: in the static TLS block (the library is
// loaded with the program), so one load from the thread pointer finds it.
thread_local QueueHolder t_holder __attribute__((tls_model("initial-exec")));

void EnsureClockListener()
{
    Registry& r = TheRegistry();
    {
        std::lock_guard lock(r.m);
        if (r.listening)
            return;
        r.listening = true;
    }
    base::Clock::AddListener([](uint64_t) {
        for (auto& q : AllQueues())
            q->Wake(0);
    });
}

void ReplyTo(const std::shared_ptr<SentMessage>& sm, LRESULT result)
{
    if (sm->callback && sm->sender) {
        // The callback runs on the sender's thread when it next looks at its queue.
        auto reply = std::make_shared<SentMessage>(*sm);
        reply->result = result;
        reply->done = true;
        {
            std::lock_guard lock(sm->sender->m);
            if (!sm->sender->alive)
                return;
            sm->sender->incoming.push_back(reply);
        }
        sm->sender->Wake(QS_SENDMESSAGE);
        return;
    }
    if (!sm->sender)
        return;
    {
        std::lock_guard lock(sm->sender->m);
        if (sm->done)
            return;
        sm->result = result;
        sm->done = true;
    }
    sm->sender->Wake(0);
}

bool InRange(UINT m, UINT first, UINT last)
{
    if (first == 0 && last == 0)
        return true;
    if (first <= last)
        return m >= first && m <= last;
    // An inverted range takes everything outside the gap, as on Windows.
    return m >= first || m <= last;
}

bool WindowMatches(HWND filter, HWND h)
{
    if (!filter)
        return true;
    if (filter == kThreadOnly)
        return h == nullptr;
    return h == filter || (h && IsChild(filter, h));
}

uint64_t NowMs() { return base::Clock::NowMs(); }

POINT CursorNow()
{
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}

} // namespace

// ---- queues ------------------------------------------------------------------------------------------------

ThreadQueue::ThreadQueue(DWORD tid) : threadId(tid), event(base::CreateEventObject(false, false)) {}

void ThreadQueue::Wake(DWORD qsBits)
{
    {
        std::lock_guard lock(m);
        ++seq;
        changeBits |= qsBits;
    }
    cv.notify_all();
    if (event)
        event->SetSignaled(true);
}

ThreadQueue& MyQueue()
{
    // Asked for by every message a window procedure gets: the thread's own reference keeps
    // the queue alive, so no count is taken here.
    if (ThreadQueue* q = t_holder.q.get()) [[likely]]
        return *q;
    return *MyQueueShared();
}

std::shared_ptr<ThreadQueue> MyQueueShared()
{
    if (!t_holder.q) {
        auto q = std::make_shared<ThreadQueue>(GetCurrentThreadId());
        {
            Registry& r = TheRegistry();
            std::lock_guard lock(r.m);
            r.queues[q->threadId] = q;
        }
        t_holder.q = q;
        EnsureClockListener();
    }
    return t_holder.q;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.m);
    auto it = r.queues.find(threadId);
    return it == r.queues.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<ThreadQueue>> AllQueues()
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.m);
    std::vector<std::shared_ptr<ThreadQueue>> out;
    for (auto& [id, q] : r.queues)
        out.push_back(q);
    return out;
}

void ResetQueues()
{
    auto mine = MyQueueShared();
    for (auto& q : AllQueues()) {
        std::deque<std::shared_ptr<SentMessage>> pending;
        {
            std::lock_guard lock(q->m);
            pending.swap(q->incoming);
            q->posted.clear();
            q->input.clear();
            q->timers.clear();
            q->quit = false;
            q->quitCode = 0;
            q->changeBits = 0;
        }
        for (auto& sm : pending) {
            sm->failed = true;
            ReplyTo(sm, 0);
        }
        if (q == mine) {
            q->focus = q->active = nullptr;
            q->current = MSG{};
            q->creating = nullptr;
            q->trackedMenu = nullptr;
            q->trackedWindow = nullptr;
            q->menuMode = 0;
            q->moveSize = nullptr;
            std::fill(std::begin(q->keyState), std::end(q->keyState), BYTE{0});
            q->msgPos = 0;
            q->msgTime = 0;
            q->lastClickMsg = 0;
            q->lastClickWnd = nullptr;
            q->lastClickTime = 0;
            q->trackHwnd = nullptr;
            q->trackFlags = 0;
            q->lastMouseWnd = nullptr;
            q->answers.clear();
            q->shown.clear();
            q->idleActions.clear();
            q->nextTimerId = 1;
        }
    }
}

// ---- calling window procedures ----------------------------------------------------------------------------------

namespace {

LRESULT HandleInternal(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case kMsgActivateFromOtherThread:
        SetActiveWindow(hwnd);
        return 0;
    case kMsgDestroyFromOtherThread:
        DestroyWindow(hwnd);
        return 0;
    case kMsgShowFromOtherThread:
        ShowWindow(hwnd, static_cast<int>(wp));
        return 0;
    default:
        return 0;
    }
}

} // namespace

LRESULT CallProcFor(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wp, LPARAM lp, bool sent, bool fromOtherThread)
{
    if (msg >= kInternalFirst && msg <= kInternalLast)
        return HandleInternal(hwnd, msg, wp, lp);
    ThreadQueue& q = MyQueue();
    struct Restore {
        ThreadQueue& q;
        MSG saved;
        ~Restore() { q.current = saved; }
    } restore{q, q.current};
    q.current = MSG{hwnd, msg, wp, lp, static_cast<DWORD>(q.msgTime), POINT{GET_X_LPARAM(static_cast<LPARAM>(q.msgPos)), GET_Y_LPARAM(static_cast<LPARAM>(q.msgPos))}};
    // WH_CALLWNDPROC's wParam says whether this thread sent the message; WH_CALLWNDPROCRET's
    // whether this process did (always, here).
    if (sent && HasHooks(WH_CALLWNDPROC)) {
        CWPSTRUCT cwp{lp, wp, msg, hwnd};
        CallHooks(WH_CALLWNDPROC, HC_ACTION, fromOtherThread ? 0 : 1, reinterpret_cast<LPARAM>(&cwp));
    }
    const LRESULT r = proc ? proc(hwnd, msg, wp, lp) : 0;
    if (sent && HasHooks(WH_CALLWNDPROCRET)) {
        CWPRETSTRUCT ret{r, lp, wp, msg, hwnd};
        CallHooks(WH_CALLWNDPROCRET, HC_ACTION, 1, reinterpret_cast<LPARAM>(&ret));
    }
    return r;
}

void ProcessIncomingSends(ThreadQueue& q)
{
    for (;;) {
        std::shared_ptr<SentMessage> sm;
        {
            std::lock_guard lock(q.m);
            if (q.incoming.empty())
                return;
            sm = q.incoming.front();
            q.incoming.pop_front();
            sm->started = true;
        }
        if (sm->done && sm->callback) {
            // An answer to our own SendMessageCallback.
            sm->callback(sm->hwnd, sm->msg, sm->callbackData, sm->result);
            continue;
        }
        auto w = PeekWnd(sm->hwnd);
        if (!w) {
            sm->failed = true;
            ReplyTo(sm, 0);
            continue;
        }
        WNDPROC proc;
        {
            auto lock = LockUser();
            proc = w->proc;
        }
        q.receiving.push_back(sm.get());
        LRESULT r = 0;
        try {
            r = CallProcFor(sm->hwnd, proc, sm->msg, sm->wp, sm->lp, true, true);
        } catch (...) {
            q.receiving.pop_back();
            ReplyTo(sm, 0);
            throw;
        }
        q.receiving.pop_back();
        ReplyTo(sm, r);
    }
}

namespace {

// Sends across threads and waits (answering sends to this thread meanwhile). False on a
// time-out or when the receiver went away.
bool SendCrossThread(const std::shared_ptr<Window>& w, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs,
    LRESULT* result)
{
    auto target = QueueOf(w->thread);
    if (!target) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    auto me = MyQueueShared();
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = w->hwnd;
    sm->msg = msg;
    sm->wp = wp;
    sm->lp = lp;
    sm->sender = me;
    {
        std::lock_guard lock(target->m);
        if (!target->alive) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        target->incoming.push_back(sm);
    }
    target->Wake(QS_SENDMESSAGE);
    const uint64_t deadline = base::Clock::DeadlineAfter(timeoutMs);
    for (;;) {
        ProcessIncomingSends(*me);
        std::unique_lock lock(me->m);
        const bool ended = base::Clock::WaitUntil(lock, me->cv, deadline,
            [&] { return sm->done || !me->incoming.empty(); });
        if (sm->done) {
            if (sm->failed) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return false;
            }
            if (result)
                *result = sm->result;
            return true;
        }
        if (!ended) {
            lock.unlock();
            // Timed out: withdraw the message if the receiver has not started on it.
            {
                std::lock_guard tl(target->m);
                auto& in = target->incoming;
                in.erase(std::remove(in.begin(), in.end(), sm), in.end());
            }
            {
                std::lock_guard ml(me->m);
                sm->done = true; // a late answer is dropped
            }
            SetLastError(ERROR_TIMEOUT);
            return false;
        }
    }
}

} // namespace

LRESULT SendMsg(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    // A message to a window of this thread (nearly every one) reads the window's thread
    // and procedure under the handle table's lock and keeps no reference: only the handle
    // goes on, and a procedure that destroys its window leaves nothing dangling here.
    struct Target {
        bool live = false;
        DWORD thread = 0;
        WNDPROC proc = nullptr;
    };
    const Target t = WindowTable().Visit(base::HandleValue(hwnd), [](const Window* w) {
        return w && !w->dead ? Target{true, w->thread, w->proc.load(std::memory_order_acquire)} : Target{};
    });
    if (!t.live) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (t.thread == 0 || t.thread == GetCurrentThreadId())
        return CallProcFor(hwnd, t.proc, msg, wp, lp, true);
    auto w = GetWnd(hwnd);
    if (!w)
        return 0;
    LRESULT r = 0;
    SendCrossThread(w, msg, wp, lp, INFINITE, &r);
    return r;
}

// ---- thread state -------------------------------------------------------------------------------------------

const MSG& CurrentMessage() { return MyQueue().current; }
HWND WindowBeingCreated() { return MyQueue().creating; }
HMENU TrackedMenu() { return MyQueue().trackedMenu; }
HWND TrackedMenuWindow() { return MyQueue().trackedWindow; }
void SetTrackedMenu(HMENU menu, HWND window)
{
    ThreadQueue& q = MyQueue();
    q.trackedMenu = menu;
    q.trackedWindow = window;
}
HWND MoveSizeWindow() { return MyQueue().moveSize; }

// ---- timers ---------------------------------------------------------------------------------------------------

uint64_t NextTimerDue(ThreadQueue& q)
{
    std::lock_guard lock(q.m);
    uint64_t best = base::Clock::kNever;
    for (auto& t : q.timers)
        best = std::min(best, t.due);
    return best;
}

bool TimerDue(ThreadQueue& q)
{
    const uint64_t now = NowMs();
    std::lock_guard lock(q.m);
    for (auto& t : q.timers)
        if (t.due <= now)
            return true;
    return false;
}

void KillWindowTimers(HWND hwnd)
{
    // A destroyed window's timers and posted messages go with it.
    for (auto& q : AllQueues()) {
        std::lock_guard lock(q->m);
        auto& t = q->timers;
        t.erase(std::remove_if(t.begin(), t.end(), [hwnd](const TimerRec& r) { return r.hwnd == hwnd; }), t.end());
        auto& p = q->posted;
        p.erase(std::remove_if(p.begin(), p.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), p.end());
    }
}

void WaitForQueue(ThreadQueue& q, uint64_t seenSeq, uint64_t deadline)
{
    if (WaitPumping(q, seenSeq, deadline))
        return;
    std::unique_lock lock(q.m);
    base::Clock::WaitUntil(lock, q.cv, deadline, [&] { return q.seq != seenSeq || !q.alive; });
}

// ---- the message engine -------------------------------------------------------------------------------------------

namespace {

// What taking (or peeking at) a message leaves behind: the message time and position, and
// the WH_GETMESSAGE hooks.
void NoteTaken(ThreadQueue& q, MSG* out, bool remove)
{
    if (out->message != WM_QUIT) {
        q.msgTime = static_cast<LONG>(out->time);
        q.msgPos = static_cast<DWORD>(MAKELONG(static_cast<WORD>(out->pt.x), static_cast<WORD>(out->pt.y)));
    }
    if (HasHooks(WH_GETMESSAGE))
        CallHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(out));
}

bool SameMessage(const MSG& a, const MSG& b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
        a.time == b.time && a.pt.x == b.pt.x && a.pt.y == b.pt.y;
}

} // namespace

bool TakePeekedMessage(const MSG& peeked, const PeekSource& source, MSG* out)
{
    ThreadQueue& q = MyQueue();
    bool found = false;
    switch (source.kind) {
    case PeekSource::Kind::Posted: {
        std::lock_guard lock(q.m);
        for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
            if (SameMessage(*it, peeked)) {
                *out = *it;
                q.posted.erase(it);
                found = true;
                break;
            }
        }
        break;
    }
    case PeekSource::Kind::Quit: {
        std::lock_guard lock(q.m);
        if (q.quit) {
            q.quit = false;
            *out = peeked;
            found = true;
        }
        break;
    }
    case PeekSource::Kind::Input:
        found = TakeInputMessage(q, out, nullptr, 0, 0, true, source.inputId);
        break;
    case PeekSource::Kind::Hover:
    case PeekSource::Kind::Paint:
    case PeekSource::Kind::Timer:
        // Made on demand: taking one makes it afresh.
        return PeekMessageImpl(out, peeked.hwnd, peeked.message, peeked.message, PM_REMOVE);
    case PeekSource::Kind::None:
        return false;
    }
    if (found)
        NoteTaken(q, out, true);
    return found;
}

bool PeekMessageImpl(MSG* out, HWND hwnd, UINT first, UINT last, UINT flags, PeekSource* source)
{
    PeekSource ignored;
    PeekSource& src = source ? *source : ignored;
    src = PeekSource{};
    ThreadQueue& q = MyQueue();
    const bool remove = (flags & PM_REMOVE) != 0;
    const UINT qs = flags >> 16;
    const bool wantPosted = !qs || (qs & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE));
    const bool wantInput = !qs || (qs & QS_INPUT);
    const bool wantPaint = !qs || (qs & QS_PAINT);
    const bool wantTimer = !qs || (qs & QS_TIMER);
    {
        std::lock_guard lock(q.m);
        q.changeBits = 0;
    }
    for (int round = 0;; ++round) {
        uint64_t seqAtStart;
        {
            std::lock_guard lock(q.m);
            seqAtStart = q.seq;
        }
        ProcessIncomingSends(q);
        bool found = false;
        if (wantPosted) {
            std::lock_guard lock(q.m);
            for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
                if (WindowMatches(hwnd, it->hwnd) && InRange(it->message, first, last)) {
                    *out = *it;
                    if (remove)
                        q.posted.erase(it);
                    found = true;
                    src.kind = PeekSource::Kind::Posted;
                    break;
                }
            }
            if (!found && q.quit && (!hwnd || hwnd == kThreadOnly) && InRange(WM_QUIT, first, last)) {
                *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, static_cast<DWORD>(NowMs()), CursorNow()};
                if (remove)
                    q.quit = false;
                found = true;
                src.kind = PeekSource::Kind::Quit;
            }
        }
        if (!found && wantInput && hwnd != kThreadOnly) {
            found = TakeInputMessage(q, out, hwnd, first, last, remove, 0, &src.inputId);
            if (found)
                src.kind = PeekSource::Kind::Input;
        }
        if (!found && wantInput && hwnd != kThreadOnly) {
            found = TakeHoverMessage(q, out, hwnd, first, last, remove);
            if (found)
                src.kind = PeekSource::Kind::Hover;
        }
        if (!found) {
            std::lock_guard lock(q.m);
            if (!q.incoming.empty())
                continue; // answer the new sends first
        }
        if (!found && wantPaint && hwnd != kThreadOnly && InRange(WM_PAINT, first, last)) {
            if (HWND p = FindPaintWindow(q.threadId, hwnd)) {
                *out = MSG{p, WM_PAINT, 0, 0, static_cast<DWORD>(NowMs()), CursorNow()};
                if (remove) {
                    auto w = PeekWnd(p);
                    auto lock = LockUser();
                    if (w)
                        w->internalPaint = false;
                }
                found = true;
                src.kind = PeekSource::Kind::Paint;
            }
        }
        if (!found && wantTimer && (InRange(WM_TIMER, first, last) || InRange(kWmSysTimer, first, last))) {
            const uint64_t now = NowMs();
            std::lock_guard lock(q.m);
            for (auto& t : q.timers) {
                if (t.due <= now && WindowMatches(hwnd, t.hwnd) && InRange(t.message, first, last)) {
                    *out = MSG{t.hwnd, t.message, t.id, reinterpret_cast<LPARAM>(t.proc), static_cast<DWORD>(now), CursorNow()};
                    if (remove)
                        t.due = now + t.elapse;
                    found = true;
                    src.kind = PeekSource::Kind::Timer;
                    break;
                }
            }
        }
        if (!found) {
            // Something that arrived while we looked (a message posted by a hook or by
            // input processing) is seen now rather than on the next call.
            std::lock_guard lock(q.m);
            if (q.seq != seqAtStart && round < 8)
                continue;
            return false;
        }
        NoteTaken(q, out, remove);
        return true;
    }
}

} // namespace zyn::user

using namespace zyn::user;
using zyn::user::Window;

// ---- sending -------------------------------------------------------------------------------------------------------

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            auto desk = DesktopWnd();
            auto lock = LockUser();
            for (auto& c : desk->children)
                tops.push_back(c->hwnd);
        }
        for (HWND h : tops)
            if (IsWindow(h))
                SendMsg(h, Msg, wParam, lParam);
        return 0;
    }
    return SendMsg(hWnd, Msg, wParam, lParam);
}

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(hWnd, Msg, wParam, lParam); }

LRESULT SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
    PDWORD_PTR lpdwResult)
{
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            auto desk = DesktopWnd();
            auto lock = LockUser();
            for (auto& c : desk->children)
                tops.push_back(c->hwnd);
        }
        for (HWND h : tops)
            if (IsWindow(h))
                SendMessageTimeoutW(h, Msg, wParam, lParam, fuFlags, uTimeout, nullptr);
        if (lpdwResult)
            *lpdwResult = 0;
        return 1;
    }
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    LRESULT r = 0;
    if (w->thread == 0 || w->thread == GetCurrentThreadId()) {
        r = SendMsg(hWnd, Msg, wParam, lParam);
    } else if (!SendCrossThread(w, Msg, wParam, lParam, uTimeout, &r)) {
        return 0;
    }
    if (lpdwResult)
        *lpdwResult = static_cast<DWORD_PTR>(r);
    return 1;
}

LRESULT SendMessageTimeout(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
    PDWORD_PTR lpdwResult)
{
    return SendMessageTimeoutW(hWnd, Msg, wParam, lParam, fuFlags, uTimeout, lpdwResult);
}

namespace {

BOOL QueueNotify(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC cb, ULONG_PTR data)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->thread == 0 || w->thread == GetCurrentThreadId()) {
        const LRESULT r = SendMsg(hWnd, Msg, wParam, lParam);
        if (cb)
            cb(hWnd, Msg, data, r);
        return TRUE;
    }
    auto target = QueueOf(w->thread);
    if (!target) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hWnd;
    sm->msg = Msg;
    sm->wp = wParam;
    sm->lp = lParam;
    sm->notify = true;
    if (cb) {
        sm->callback = cb;
        sm->callbackData = data;
        sm->sender = MyQueueShared();
    }
    {
        std::lock_guard lock(target->m);
        if (!target->alive) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        target->incoming.push_back(sm);
    }
    target->Wake(QS_SENDMESSAGE);
    return TRUE;
}

} // namespace

BOOL SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return QueueNotify(hWnd, Msg, wParam, lParam, nullptr, 0);
}

BOOL SendNotifyMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return SendNotifyMessageW(hWnd, Msg, wParam, lParam);
}

BOOL SendMessageCallbackW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC lpResultCallBack,
    ULONG_PTR dwData)
{
    return QueueNotify(hWnd, Msg, wParam, lParam, lpResultCallBack, dwData);
}

BOOL SendMessageCallback(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, SENDASYNCPROC lpResultCallBack,
    ULONG_PTR dwData)
{
    return SendMessageCallbackW(hWnd, Msg, wParam, lParam, lpResultCallBack, dwData);
}

// ---- posting ---------------------------------------------------------------------------------------------------

namespace {

BOOL PostTo(const std::shared_ptr<ThreadQueue>& q, HWND hwnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const MSG m{hwnd, Msg, wParam, lParam, static_cast<DWORD>(zyn::base::Clock::NowMs()), CursorNow()};
    {
        std::lock_guard lock(q->m);
        if (!q->alive) {
            SetLastError(ERROR_INVALID_THREAD_ID);
            return FALSE;
        }
        if (q->posted.size() >= kMaxPosted) {
            SetLastError(ERROR_NOT_ENOUGH_QUOTA);
            return FALSE;
        }
        q->posted.push_back(m);
    }
    q->Wake(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
    return TRUE;
}

} // namespace

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!hWnd)
        return PostTo(MyQueueShared(), nullptr, Msg, wParam, lParam);
    if (hWnd == HWND_BROADCAST) {
        std::vector<std::pair<HWND, DWORD>> tops;
        {
            auto desk = DesktopWnd();
            auto lock = LockUser();
            for (auto& c : desk->children)
                tops.emplace_back(c->hwnd, c->thread);
        }
        for (auto& [h, tid] : tops)
            if (auto q = QueueOf(tid))
                PostTo(q, h, Msg, wParam, lParam);
        return TRUE;
    }
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (w->isDesktop || w->isMessageRoot)
        return TRUE; // nobody reads the desktop's queue
    auto q = QueueOf(w->thread);
    if (!q) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return PostTo(q, hWnd, Msg, wParam, lParam);
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) { return PostMessageW(hWnd, Msg, wParam, lParam); }

BOOL PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    auto q = idThread == GetCurrentThreadId() ? MyQueueShared() : QueueOf(idThread);
    if (!q) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return PostTo(q, nullptr, Msg, wParam, lParam);
}

BOOL PostThreadMessage(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return PostThreadMessageW(idThread, Msg, wParam, lParam);
}

void PostQuitMessage(int nExitCode)
{
    ThreadQueue& q = MyQueue();
    {
        std::lock_guard lock(q.m);
        q.quit = true;
        q.quitCode = nExitCode;
    }
    q.Wake(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
}

BOOL InSendMessage() { return MyQueue().receiving.empty() ? FALSE : TRUE; }

DWORD InSendMessageEx(LPVOID)
{
    ThreadQueue& q = MyQueue();
    if (q.receiving.empty())
        return ISMEX_NOSEND;
    const SentMessage* sm = q.receiving.back();
    DWORD r = sm->notify ? ISMEX_NOTIFY : ISMEX_SEND;
    if (sm->callback)
        r = ISMEX_CALLBACK;
    if (sm->done)
        r |= ISMEX_REPLIED;
    return r;
}

BOOL ReplyMessage(LRESULT lResult)
{
    ThreadQueue& q = MyQueue();
    if (q.receiving.empty())
        return FALSE;
    SentMessage* raw = q.receiving.back();
    if (!raw->sender || raw->notify)
        return FALSE;
    {
        std::lock_guard lock(raw->sender->m);
        if (raw->done)
            return FALSE;
        raw->result = lResult;
        raw->done = true;
    }
    raw->sender->Wake(0);
    return TRUE;
}

UINT RegisterWindowMessageW(LPCWSTR lpString)
{
    if (!lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AddAtomName(lpString);
}

UINT RegisterWindowMessage(LPCWSTR lpString) { return RegisterWindowMessageW(lpString); }

// ---- the loop --------------------------------------------------------------------------------------------------------

namespace {

bool FilterWindowOk(HWND hWnd)
{
    if (hWnd && hWnd != kThreadOnly && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

} // namespace

BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!FilterWindowOk(hWnd))
        return -1;
    ThreadQueue& q = MyQueue();
    for (;;) {
        uint64_t seen;
        {
            std::lock_guard lock(q.m);
            seen = q.seq;
        }
        if (PeekMessageImpl(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE))
            return lpMsg->message == WM_QUIT ? FALSE : TRUE;
        if (hWnd && hWnd != kThreadOnly && !IsWindow(hWnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        uint64_t deadline = NextTimerDue(q);
        deadline = std::min(deadline, q.hoverDue ? q.hoverDue : zyn::base::Clock::kNever);
        WaitForQueue(q, seen, deadline);
    }
}

BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    return GetMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!FilterWindowOk(hWnd))
        return FALSE;
    return PeekMessageImpl(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg) ? TRUE : FALSE;
}

BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return PeekMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

LRESULT DispatchMessageW(const MSG* lpMsg)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        // Only a procedure that a live timer of this thread names is called.
        const auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        bool known = false;
        {
            ThreadQueue& q = MyQueue();
            std::lock_guard lock(q.m);
            for (auto& t : q.timers)
                if (t.hwnd == lpMsg->hwnd && t.id == lpMsg->wParam && t.proc == proc)
                    known = true;
        }
        if (!known) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, static_cast<DWORD>(zyn::base::Clock::NowMs()));
        return 0;
    }
    if (!lpMsg->hwnd)
        return 0;
    auto w = GetWnd(lpMsg->hwnd);
    if (!w)
        return 0;
    if (w->thread != GetCurrentThreadId()) {
        SetLastError(ERROR_MESSAGE_SYNC_ONLY);
        return 0;
    }
    WNDPROC proc;
    {
        auto lock = LockUser();
        proc = w->proc;
    }
    ThreadQueue& q = MyQueue();
    struct Restore {
        ThreadQueue& q;
        MSG saved;
        ~Restore() { q.current = saved; }
    } restore{q, q.current};
    q.current = *lpMsg;
    LRESULT r;
    if (lpMsg->message >= kInternalFirst && lpMsg->message <= kInternalLast) {
        r = CallProcFor(lpMsg->hwnd, proc, lpMsg->message, lpMsg->wParam, lpMsg->lParam, false);
    } else {
        r = proc ? proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam) : 0;
    }
    if (lpMsg->message == WM_PAINT && !w->dead) {
        // A procedure that did not paint still gets its frame and background done, so the
        // screen is right; the client area stays invalid, as on Windows.
        bool owed;
        {
            auto lock = LockUser();
            owed = w->ncPaintNeeded || w->eraseNeeded;
        }
        if (owed)
            SendNcPaintAndErase(lpMsg->hwnd, true);
    }
    return r;
}

LRESULT DispatchMessage(const MSG* lpMsg) { return DispatchMessageW(lpMsg); }

BOOL WaitMessage()
{
    ThreadQueue& q = MyQueue();
    uint64_t seen;
    {
        std::lock_guard lock(q.m);
        seen = q.seq;
        if (q.changeBits)
            return TRUE;
    }
    if (TimerDue(q))
        return TRUE;
    WaitForQueue(q, seen, NextTimerDue(q));
    return TRUE;
}

namespace {

DWORD StatusBits(ThreadQueue& q)
{
    DWORD bits = 0;
    {
        std::lock_guard lock(q.m);
        if (!q.posted.empty() || q.quit)
            bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
        if (!q.incoming.empty())
            bits |= QS_SENDMESSAGE;
        for (auto& e : q.input) {
            switch (e.type) {
            case InputEvent::Type::MouseMove: bits |= QS_MOUSEMOVE; break;
            case InputEvent::Type::Button:
            case InputEvent::Type::Wheel: bits |= QS_MOUSEBUTTON; break;
            case InputEvent::Type::Key:
            case InputEvent::Type::Char: bits |= QS_KEY; break;
            }
        }
    }
    if (TimerDue(q))
        bits |= QS_TIMER;
    if (FindPaintWindow(q.threadId, nullptr))
        bits |= QS_PAINT;
    return bits;
}

} // namespace

DWORD GetQueueStatus(UINT flags)
{
    ThreadQueue& q = MyQueue();
    const DWORD status = StatusBits(q) & flags;
    DWORD changed;
    {
        std::lock_guard lock(q.m);
        changed = q.changeBits & flags;
        q.changeBits &= ~flags;
    }
    return (status << 16) | changed;
}

BOOL GetInputState()
{
    return (StatusBits(MyQueue()) & (QS_KEY | QS_MOUSEBUTTON)) ? TRUE : FALSE;
}

DWORD GetMessagePos() { return MyQueue().msgPos; }
LONG GetMessageTime() { return MyQueue().msgTime; }
LPARAM GetMessageExtraInfo() { return MyQueue().msgExtra; }

DWORD MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask,
    DWORD dwFlags)
{
    if (nCount >= MAXIMUM_WAIT_OBJECTS || (nCount && !pHandles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<zyn::base::KernelObject>> objs;
    for (DWORD i = 0; i < nCount; ++i) {
        auto o = zyn::base::GetKernelObject(pHandles[i]);
        if (!o)
            return WAIT_FAILED;
        objs.push_back(std::move(o));
    }
    auto qs = MyQueueShared();
    ThreadQueue& q = *qs;
    auto ready = [&]() -> bool {
        if (dwFlags & MWMO_INPUTAVAILABLE)
            return (StatusBits(q) & dwWakeMask) != 0;
        DWORD changed;
        {
            std::lock_guard lock(q.m);
            changed = q.changeBits;
        }
        if ((dwWakeMask & QS_TIMER) && TimerDue(q))
            changed |= QS_TIMER;
        return (changed & dwWakeMask) != 0;
    };
    if (dwFlags & MWMO_WAITALL) {
        // Every object, then the queue.
        if (nCount) {
            const DWORD r = zyn::base::WaitForObjects(objs, true, dwMilliseconds);
            if (r != WAIT_OBJECT_0)
                return r;
        }
        return WAIT_OBJECT_0;
    }
    if (ready())
        return WAIT_OBJECT_0 + nCount;
    objs.push_back(q.event);
    const uint64_t deadline = zyn::base::Clock::DeadlineAfter(dwMilliseconds);
    for (;;) {
        uint64_t until = deadline;
        if (dwWakeMask & QS_TIMER)
            until = std::min(until, NextTimerDue(q));
        DWORD wait = INFINITE;
        if (until != zyn::base::Clock::kNever) {
            const uint64_t now = zyn::base::Clock::NowMs();
            wait = until > now ? static_cast<DWORD>(std::min<uint64_t>(until - now, INFINITE - 1)) : 0;
        }
        const DWORD r = zyn::base::WaitForObjects(objs, false, wait);
        if (r == WAIT_OBJECT_0 + nCount || r == WAIT_TIMEOUT) {
            if (ready())
                return WAIT_OBJECT_0 + nCount;
            if (r == WAIT_TIMEOUT && zyn::base::Clock::NowMs() >= deadline)
                return WAIT_TIMEOUT;
            continue;
        }
        return r;
    }
}

DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
    DWORD dwWakeMask)
{
    return MsgWaitForMultipleObjectsEx(nCount, pHandles, dwMilliseconds, dwWakeMask, fWaitAll ? MWMO_WAITALL : 0);
}

// ---- timers ----------------------------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd) {
        auto w = GetWnd(hWnd);
        if (!w)
            return 0;
        if (w->thread != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    uElapse = std::clamp(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    ThreadQueue& q = MyQueue();
    const uint64_t due = zyn::base::Clock::NowMs() + uElapse;
    std::lock_guard lock(q.m);
    if (hWnd || nIDEvent) {
        for (auto& t : q.timers) {
            if (t.hwnd == hWnd && t.id == nIDEvent && t.message == WM_TIMER) {
                t.elapse = uElapse;
                t.proc = lpTimerFunc;
                t.due = due;
                return hWnd ? (nIDEvent ? nIDEvent : 1) : nIDEvent;
            }
        }
    }
    UINT_PTR id = nIDEvent;
    if (!hWnd) {
        // A thread timer gets a fresh ID.
        for (;;) {
            id = q.nextTimerId++;
            if (q.nextTimerId == 0 || q.nextTimerId > 0x7FFF)
                q.nextTimerId = 1;
            const bool used = std::any_of(q.timers.begin(), q.timers.end(),
                [id](const TimerRec& t) { return !t.hwnd && t.id == id && t.message == WM_TIMER; });
            if (!used)
                break;
        }
    }
    q.timers.push_back(TimerRec{hWnd, id, uElapse, lpTimerFunc, due});
    return hWnd ? (nIDEvent ? nIDEvent : 1) : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    if (hWnd && !GetWnd(hWnd))
        return FALSE;
    ThreadQueue& q = MyQueue();
    {
        std::lock_guard lock(q.m);
        auto it = std::find_if(q.timers.begin(), q.timers.end(),
            [&](const TimerRec& t) { return t.hwnd == hWnd && t.id == uIDEvent && t.message == WM_TIMER; });
        if (it != q.timers.end()) {
            q.timers.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

namespace zyn::user {

bool SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse)
{
    auto w = GetWnd(hwnd);
    if (!w || w->thread != GetCurrentThreadId())
        return false;
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    ThreadQueue& q = MyQueue();
    const uint64_t due = zyn::base::Clock::NowMs() + elapse;
    std::lock_guard lock(q.m);
    for (auto& t : q.timers) {
        if (t.hwnd == hwnd && t.id == id && t.message == kWmSysTimer) {
            t.elapse = elapse;
            t.due = due;
            return true;
        }
    }
    TimerRec r;
    r.hwnd = hwnd;
    r.id = id;
    r.elapse = elapse;
    r.due = due;
    r.message = kWmSysTimer;
    q.timers.push_back(r);
    return true;
}

bool KillSystemTimer(HWND hwnd, UINT_PTR id)
{
    ThreadQueue& q = MyQueue();
    std::lock_guard lock(q.m);
    auto it = std::find_if(q.timers.begin(), q.timers.end(),
        [&](const TimerRec& t) { return t.hwnd == hwnd && t.id == id && t.message == kWmSysTimer; });
    if (it == q.timers.end())
        return false;
    q.timers.erase(it);
    return true;
}

} // namespace zyn::user
