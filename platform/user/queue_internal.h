#pragma once
// Per-thread message queues and the per-thread state of the window system.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/kernel_object.h"
#include "platform/base/wintypes.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/user_types.h"

namespace zyn::user {

class ThreadQueue;

// A message sent across threads, waiting in the receiver's queue.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
    LRESULT result = 0;
    bool started = false;
    bool done = false;
    bool failed = false;                  // the receiver went away
    bool notify = false;                  // nobody waits for the answer
    SENDASYNCPROC callback = nullptr;     // SendMessageCallback
    ULONG_PTR callbackData = 0;
    std::shared_ptr<ThreadQueue> sender;  // null for notifications
};

// Raw input waiting for a thread to take it.
struct InputEvent {
    enum class Type { MouseMove, Button, Wheel, Key, Char } type = Type::MouseMove;
    uint64_t id = 0;          // identifies the event while it waits
    POINT pt{};
    DWORD time = 0;
    MouseButton button = MouseButton::Left;
    bool down = false;
    int delta = 0;
    bool horizontal = false;
    int vk = 0;
    bool repeat = false;
    wchar_t ch = 0;
    // Keys: Alt and Ctrl as the keyboard had them when the key was struck. They decide a
    // system key and the Alt context bit even when a hook ate the Alt key's own messages
    // (the thread's key state then never saw Alt go down).
    bool modifiersKnown = false;
    bool altDown = false;
    bool ctrlDown = false;
};

struct TimerRec {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    uint64_t due = 0;
    // WM_TIMER for SetTimer's timers; the window system's own (the caret blink) arrive as
    // WM_SYSTIMER, which DefWindowProc handles, so they never meet an application's IDs.
    UINT message = 0x0113;
};

// The window system's timers: WM_SYSTIMER (0x0118) to `hwnd` every `elapse` ms.
inline constexpr UINT kWmSysTimer = 0x0118;
bool SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse);
bool KillSystemTimer(HWND hwnd, UINT_PTR id);

class ThreadQueue {
public:
    explicit ThreadQueue(DWORD tid);
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    const DWORD threadId;

    // Guarded by m.
    std::mutex m;
    std::condition_variable cv;
    uint64_t seq = 0;                     // bumped by every Wake
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::deque<std::shared_ptr<SentMessage>> incoming;
    std::vector<TimerRec> timers;
    bool quit = false;
    int quitCode = 0;
    DWORD wakeBits = 0;                   // QS_* present
    DWORD changeBits = 0;                 // QS_* arrived since the last GetQueueStatus
    bool alive = true;

    // The kernel event set with every wake-up, for MsgWaitForMultipleObjects.
    std::shared_ptr<base::KernelObject> event;

    // Wakes the thread (call without m held).
    void Wake(DWORD qsBits);

    // ---- state used only by the owning thread (or under the user lock) -----------------------
    HWND focus = nullptr;
    HWND active = nullptr;
    MSG current{};                        // innermost message being processed
    HWND creating = nullptr;
    HMENU trackedMenu = nullptr;
    HWND trackedWindow = nullptr;
    DWORD menuMode = 0;                   // GUI_*MENUMODE while a menu is tracked
    HWND moveSize = nullptr;
    std::vector<SentMessage*> receiving;  // cross-thread sends being answered (innermost last)
    int sendDepth = 0;                    // window procedures running for sends
    BYTE keyState[256] = {};
    DWORD msgPos = 0;
    LONG msgTime = 0;
    LPARAM msgExtra = 0;
    // double clicks
    UINT lastClickMsg = 0;
    HWND lastClickWnd = nullptr;
    POINT lastClickPt{};
    DWORD lastClickTime = 0;
    bool lastWasDouble = false;
    // mouse tracking (TrackMouseEvent)
    HWND trackHwnd = nullptr;
    DWORD trackFlags = 0;
    DWORD hoverTime = 0;
    uint64_t hoverDue = 0;
    POINT hoverPt{};
    HWND lastMouseWnd = nullptr;
    int lastMouseHit = 0;
    // answer script and idle actions
    std::deque<std::pair<AnswerKind, Answer>> answers;
    std::vector<ShownRecord> shown;
    std::deque<std::function<void()>> idleActions;
    int modalDepth = 0;
    UINT_PTR nextTimerId = 1;
};

// The calling thread's queue (created on first use).
ThreadQueue& MyQueue();
std::shared_ptr<ThreadQueue> MyQueueShared();
// A thread's queue, or null when the thread has none or has ended.
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);
// Every live queue.
std::vector<std::shared_ptr<ThreadQueue>> AllQueues();
// Drops all queues but the caller's and empties the caller's (tests).
void ResetQueues();

// Processes the messages other threads sent to this one.
void ProcessIncomingSends(ThreadQueue& q);
// Earliest due time of the thread's timers (Clock::kNever when none).
uint64_t NextTimerDue(ThreadQueue& q);
// Whether a timer is due now.
bool TimerDue(ThreadQueue& q);
// Kills every timer of a destroyed window and drops the messages posted to it.
void KillWindowTimers(HWND hwnd);
// Waits until something arrives for the thread or `deadline` passes (clock milliseconds).
void WaitForQueue(ThreadQueue& q, uint64_t seenSeq, uint64_t deadline);
// The same wait on the thread of a display driver's pump (display.cpp): false, having
// waited for nothing, on any other thread.
bool WaitPumping(ThreadQueue& q, uint64_t seenSeq, uint64_t deadline);

// Where a message found by PeekMessageImpl came from, so that a loop that peeked first
// can later take exactly that message off the queue.
struct PeekSource {
    enum class Kind { None, Posted, Quit, Input, Hover, Paint, Timer } kind = Kind::None;
    uint64_t inputId = 0; // Input: the event the message was made from
};

// The common engine of GetMessage and PeekMessage.
bool PeekMessageImpl(MSG* out, HWND hwnd, UINT first, UINT last, UINT flags, PeekSource* source = nullptr);
// Takes off the queue the message a PM_NOREMOVE peek found. Input runs the WH_MOUSE /
// WH_KEYBOARD hooks again (HC_ACTION), which may eat it. False when the message is gone
// or was eaten.
bool TakePeekedMessage(const MSG& peeked, const PeekSource& source, MSG* out);

// Input (input.cpp): takes injected events from the system queue into thread queues and
// turns the calling thread's first matching event into a message. Returns false when none.
// `onlyId` (not 0) limits the search to that one event; `takenId` receives the event the
// message was made from.
bool TakeInputMessage(ThreadQueue& q, MSG* out, HWND filter, UINT first, UINT last, bool remove,
    uint64_t onlyId = 0, uint64_t* takenId = nullptr);
bool HasPendingInput(ThreadQueue& q);
void RouteSystemInput();
// Mouse tracking: WM_MOUSEHOVER due.
bool TakeHoverMessage(ThreadQueue& q, MSG* out, HWND filter, UINT first, UINT last, bool remove);

// Hooks (hooks.cpp). Each returns the chain's answer; HasHooks is a cheap check.
bool HasHooks(int idHook);
LRESULT CallHooks(int idHook, int code, WPARAM wp, LPARAM lp);
void RemoveThreadHooks(DWORD threadId);
void ResetHooks();

} // namespace zyn::user
