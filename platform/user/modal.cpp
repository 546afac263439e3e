// The one modal loop, scripted mode, the answer script and idle actions.
#include <atomic>

#include "platform/base/clock.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/queue_internal.h"
#include "platform/user/window.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

std::atomic<bool> g_scripted{false};

bool Dry(ThreadQueue& q)
{
    if (HasPendingInput(q) || TimerDue(q))
        return false;
    std::lock_guard lock(q.m);
    return q.incoming.empty() && q.posted.empty() && !q.quit && q.idleActions.empty();
}

} // namespace

void SetScriptedMode(bool on) { g_scripted.store(on); }
bool IsScriptedMode() { return g_scripted.load(); }

ModalEnd RunModalLoop(const ModalLoopParams& params)
{
    auto qs = MyQueueShared();
    ThreadQueue& q = *qs;
    struct Depth {
        ThreadQueue& q;
        explicit Depth(ThreadQueue& qq) : q(qq) { ++q.modalDepth; }
        ~Depth() { --q.modalDepth; }
    } depth(q);
    int idleCount = 0;
    for (;;) {
        if (params.done && params.done())
            return ModalEnd::Ended;
        if (params.owner && !IsWindow(params.owner))
            return ModalEnd::Cancelled;
        uint64_t seen;
        {
            std::lock_guard lock(q.m);
            seen = q.seq;
        }
        MSG m{};
        PeekSource source;
        const bool peekFirst = static_cast<bool>(params.endBeforeTaking);
        if (PeekMessageImpl(&m, nullptr, 0, 0, peekFirst ? PM_NOREMOVE : PM_REMOVE, &source)) {
            idleCount = 0;
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                return ModalEnd::Quit;
            }
            if (params.msgFilterCode >= 0 && CallMsgFilterW(&m, params.msgFilterCode)) {
                if (peekFirst) {
                    MSG eaten;
                    TakePeekedMessage(m, source, &eaten);
                }
                continue;
            }
            if (peekFirst) {
                if (params.endBeforeTaking(m))
                    return ModalEnd::Ended;
                MSG taken;
                if (!TakePeekedMessage(m, source, &taken))
                    continue; // gone, or eaten by a hook
                m = taken;
            }
            if (params.preTranslate && params.preTranslate(m))
                continue;
            if (params.dispatch) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            continue;
        }
        if (params.done && params.done())
            return ModalEnd::Ended;
        if (params.onIdle && params.onIdle(idleCount++))
            continue;
        std::function<void()> action;
        {
            std::lock_guard lock(q.m);
            if (!q.idleActions.empty()) {
                action = std::move(q.idleActions.front());
                q.idleActions.pop_front();
            }
        }
        if (action) {
            action();
            continue;
        }
        if (IsScriptedMode()) {
            if (Dry(q))
                return ModalEnd::Cancelled;
            continue;
        }
        uint64_t deadline = NextTimerDue(q);
        if (q.hoverDue)
            deadline = std::min(deadline, q.hoverDue);
        WaitForQueue(q, seen, deadline);
    }
}

void QueueIdleAction(std::function<void()> action)
{
    if (!action)
        return;
    ThreadQueue& q = MyQueue();
    {
        std::lock_guard lock(q.m);
        q.idleActions.push_back(std::move(action));
    }
    q.Wake(0);
}

size_t PendingIdleActions()
{
    ThreadQueue& q = MyQueue();
    std::lock_guard lock(q.m);
    return q.idleActions.size();
}

void AnswerScript::Push(AnswerKind kind, Answer answer)
{
    ThreadQueue& q = MyQueue();
    q.answers.emplace_back(kind, std::move(answer));
}

std::optional<Answer> AnswerScript::Take(AnswerKind kind)
{
    ThreadQueue& q = MyQueue();
    for (auto it = q.answers.begin(); it != q.answers.end(); ++it) {
        if (it->first == kind) {
            Answer a = std::move(it->second);
            q.answers.erase(it);
            return a;
        }
    }
    return std::nullopt;
}

size_t AnswerScript::Pending(AnswerKind kind)
{
    size_t n = 0;
    for (auto& a : MyQueue().answers)
        if (a.first == kind)
            ++n;
    return n;
}

size_t AnswerScript::PendingTotal() { return MyQueue().answers.size(); }

void AnswerScript::Record(ShownRecord record) { MyQueue().shown.push_back(std::move(record)); }

std::vector<ShownRecord> AnswerScript::Shown() { return MyQueue().shown; }

void AnswerScript::Clear()
{
    ThreadQueue& q = MyQueue();
    q.answers.clear();
    q.shown.clear();
}

void ResetModalState()
{
    SetScriptedMode(false);
    AnswerScript::Clear();
    ThreadQueue& q = MyQueue();
    std::lock_guard lock(q.m);
    q.idleActions.clear();
}

} // namespace zyn::user
