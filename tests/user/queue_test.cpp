// Queues: posting order and filters, WM_QUIT, sending within and across threads, time-outs,
// notifications, waiting with kernel objects, and what happens when a thread ends.
#include <atomic>
#include <thread>

#include "platform/base/afxmt.h"
#include "platform/base/synch.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using QueueTest = UserTest;

TEST_F(QueueTest, PostedMessagesKeepOrderAndFiltersPickAmongThem)
{
    HWND a = Make(WS_POPUP, 0, 0, 10, 10);
    HWND b = Make(WS_POPUP, 0, 0, 10, 10);
    HWND child = Make(WS_CHILD, 0, 0, 5, 5, a);
    PostMessageW(a, WM_USER + 1, 1, 0);
    PostMessageW(b, WM_USER + 2, 2, 0);
    PostMessageW(child, WM_USER + 3, 3, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 4, 4, 0);
    PostMessageW(nullptr, WM_USER + 5, 5, 0); // a null window posts to the thread
    MSG m;
    // By window (with its descendants).
    ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 3u);
    EXPECT_FALSE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    // Thread messages only.
    ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(static_cast<intptr_t>(-1)), 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 4u);
    EXPECT_EQ(m.hwnd, nullptr);
    // By range, without removing.
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 5u);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 2u);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER + 5u);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    // Bad filters and targets.
    SetLastError(0);
    EXPECT_EQ(GetMessageW(&m, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x08001234)), 0, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(GetMessageW(nullptr, nullptr, 0, 0), -1);
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0u, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(QueueTest, QuitComesAfterPostedMessagesAndEndsGetMessage)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    PostQuitMessage(7);
    PostMessageW(h, WM_USER, 0, 0);
    MSG m;
    ASSERT_EQ(GetMessageW(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(h);
}

TEST_F(QueueTest, SendFromAnotherThreadIsAnsweredWhileTheOwnerWaits)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    static DWORD procThread = 0;
    static bool inSend = false;
    rec().SetHandler([](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
        if (m == WM_USER + 1) {
            procThread = GetCurrentThreadId();
            inSend = InSendMessage() != FALSE;
            r = static_cast<LRESULT>(wp * 2);
            return true;
        }
        return false;
    });
    std::atomic<LRESULT> answer{0};
    std::thread worker([&] {
        answer = SendMessageW(h, WM_USER + 1, 21, 0);
        PostMessageW(h, WM_USER + 2, 0, 0);
    });
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        DispatchMessageW(&m);
        if (m.message == WM_USER + 2)
            break;
    }
    worker.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(procThread, GetCurrentThreadId());
    EXPECT_TRUE(inSend);
    EXPECT_FALSE(InSendMessage());
    EXPECT_EQ(GetWindowThreadProcessId(h, nullptr), GetCurrentThreadId());
    DestroyWindow(h);
}

TEST_F(QueueTest, CallWndProcHookTellsWhetherThisThreadSent)
{
    // wParam is nonzero for a message sent by the current thread, zero for one another
    // thread sent; WH_CALLWNDPROCRET's says the current process sent it.
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    static std::vector<std::pair<UINT, WPARAM>> seen;
    seen.clear();
    HHOOK cwp = SetWindowsHookExW(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* c = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (c->message >= WM_USER + 20 && c->message <= WM_USER + 21)
            seen.emplace_back(c->message, wp);
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    HHOOK ret = SetWindowsHookExW(WH_CALLWNDPROCRET, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* c = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (c->message >= WM_USER + 20 && c->message <= WM_USER + 21)
            seen.emplace_back(c->message + 0x100, wp);
        return CallNextHookEx(nullptr, code, wp, lp);
    }, nullptr, GetCurrentThreadId());
    SendMessageW(h, WM_USER + 20, 0, 0);
    std::thread worker([h] {
        SendMessageW(h, WM_USER + 21, 0, 0);
        PostMessageW(h, WM_USER + 2, 0, 0);
    });
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        DispatchMessageW(&m);
        if (m.message == WM_USER + 2)
            break;
    }
    worker.join();
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_USER + 20, 1}, {WM_USER + 20 + 0x100, 1}, {WM_USER + 21, 0}, {WM_USER + 21 + 0x100, 1}};
    EXPECT_EQ(seen, expected);
    UnhookWindowsHookEx(cwp);
    UnhookWindowsHookEx(ret);
    DestroyWindow(h);
}

TEST_F(QueueTest, TwoThreadsSendingToEachOtherDoNotDeadlock)
{
    HWND mine = Make(WS_POPUP, 0, 0, 10, 10);
    rec().SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_USER + 7) {
            r = 700;
            return true;
        }
        return false;
    });
    std::atomic<HWND> theirs{nullptr};
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<LRESULT> nested{0};
    std::thread worker([&] {
        static std::atomic<LRESULT>* nestedPtr;
        static HWND target;
        nestedPtr = &nested;
        target = mine;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpszClassName = L"WorkerClass";
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER + 6) {
                // Sends back to the thread that is waiting on us.
                nestedPtr->store(SendMessageW(target, WM_USER + 7, 0, 0));
                return 600;
            }
            return DefWindowProcW(h, m, wp, lp);
        };
        RegisterClassExW(&wc);
        HWND w = CreateWindowExW(0, L"WorkerClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        theirs = w;
        SetEvent(created);
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0)
            DispatchMessageW(&m);
        DestroyWindow(w);
        UnregisterClassW(L"WorkerClass", nullptr);
    });
    WaitForSingleObject(created, INFINITE);
    EXPECT_EQ(SendMessageW(theirs.load(), WM_USER + 6, 0, 0), 600);
    EXPECT_EQ(nested.load(), 700);
    // SendMessageTimeout to a responsive thread succeeds.
    DWORD_PTR res = 0;
    EXPECT_NE(SendMessageTimeoutW(theirs.load(), WM_USER + 6, 0, 0, SMTO_NORMAL, 5000, &res), 0);
    EXPECT_EQ(res, 600u);
    PostThreadMessageW(GetWindowThreadProcessId(theirs.load(), nullptr), WM_QUIT, 0, 0);
    worker.join();
    CloseHandle(created);
    EXPECT_FALSE(IsWindow(theirs.load()));
    DestroyWindow(mine);
}

TEST_F(QueueTest, TimeoutsNotificationsAndThreadEnd)
{
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<int> notified{0};
    static std::atomic<int>* notifiedPtr;
    notifiedPtr = &notified;
    std::thread worker([&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpszClassName = L"BusyClass";
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER + 1)
                notifiedPtr->fetch_add(1);
            return DefWindowProcW(h, m, wp, lp);
        };
        RegisterClassExW(&wc);
        theirs = CreateWindowExW(0, L"BusyClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetEvent(created);
        // Busy: not reading its queue until told.
        WaitForSingleObject(go, INFINITE);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        // Ends without destroying its window.
    });
    WaitForSingleObject(created, INFINITE);
    DWORD_PTR res = 0;
    SetLastError(0);
    EXPECT_EQ(SendMessageTimeoutW(theirs.load(), WM_USER + 2, 0, 0, SMTO_NORMAL, 30, &res), 0);
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    // A notification does not wait.
    EXPECT_TRUE(SendNotifyMessageW(theirs.load(), WM_USER + 1, 0, 0));
    EXPECT_EQ(notified.load(), 0);
    SetEvent(go);
    worker.join();
    EXPECT_EQ(notified.load(), 1);
    // The thread ended: its window went with it, sends fail cleanly.
    EXPECT_FALSE(IsWindow(theirs.load()));
    SetLastError(0);
    EXPECT_EQ(SendMessageW(theirs.load(), WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    CloseHandle(go);
    CloseHandle(created);
    UnregisterClassW(L"BusyClass", nullptr);
}

TEST_F(QueueTest, WaitingForObjectsAndTheQueueTogether)
{
    HANDLE ev = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 1000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    SetEvent(ev);
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
    // A message arriving from another thread wakes the wait.
    ResetEvent(ev);
    const DWORD me = GetCurrentThreadId();
    std::thread poster([me] { PostThreadMessageW(me, WM_USER + 1, 0, 0); });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &ev, FALSE, INFINITE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    poster.join();
    // The class library's multi-lock waits on the queue through the window system.
    CEvent cev;
    CSyncObject* objs[] = {&cev};
    CMultiLock lock(objs, 1);
    EXPECT_EQ(lock.Lock(1000, FALSE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
    CloseHandle(ev);
    // Queue status bits.
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 2, 0, 0);
    EXPECT_TRUE(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE);
    PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
    EXPECT_FALSE(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE);
}

TEST_F(QueueTest, PostingStopsAtAFullQueue)
{
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    int posted = 0;
    while (PostMessageW(h, WM_USER, 0, 0) && posted < 20000)
        ++posted;
    EXPECT_EQ(posted, 10000);
    EXPECT_EQ(GetLastError(), 1816u); // ERROR_NOT_ENOUGH_QUOTA
    DestroyWindow(h);
}

} // namespace
} // namespace zyn::test
