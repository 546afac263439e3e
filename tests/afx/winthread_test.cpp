// CWinThread's message loop: idle work while the queue is empty, messages pumped through
// PreTranslateMessage, thread messages through the thread's map, WM_QUIT ending the loop
// with its code, and a user-interface thread of its own.
#include <atomic>

#include "platform/base/synch.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

constexpr UINT WM_THREAD_PING = WM_APP + 1;
const UINT g_threadRegistered = RegisterWindowMessageW(L"ZynAfxTest.ThreadMessage");

class CLoopThread : public CWinThread {
public:
    std::vector<LONG> idleCounts;
    int pings = 0;
    int registered = 0;
    int pretranslated = 0;
    HWND window = nullptr;

    BOOL OnIdle(LONG lCount) override
    {
        idleCounts.push_back(lCount);
        CWinThread::OnIdle(lCount);
        // After the first round of idle work, one ordinary message; after the second, quit.
        if (lCount == 1) {
            if (idleCounts.size() == 2)
                ::PostMessageW(window, WM_NULL, 0, 0);
            else
                ::PostQuitMessage(17);
        }
        return lCount < 1;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        ++pretranslated;
        return CWinThread::PreTranslateMessage(pMsg);
    }
    afx_msg void OnPing(WPARAM wParam, LPARAM) { pings += static_cast<int>(wParam); }
    afx_msg void OnRegistered(WPARAM, LPARAM) { ++registered; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopThread, CWinThread)
    ON_THREAD_MESSAGE(WM_THREAD_PING, &CLoopThread::OnPing)
    ON_REGISTERED_THREAD_MESSAGE(g_threadRegistered, &CLoopThread::OnRegistered)
END_MESSAGE_MAP()

using WinThreadTest = AfxTest;

TEST_F(WinThreadTest, RunDoesIdleWorkThenPumpsAndEndsOnQuit)
{
    CLoopThread thread;
    thread.m_bAutoDelete = FALSE;
    afx::SetCurrentWinThread(&thread);
    thread.window = MakePlain();
    // Thread messages queued before the loop starts.
    PostThreadMessageW(GetCurrentThreadId(), WM_THREAD_PING, 5, 0);
    PostThreadMessageW(GetCurrentThreadId(), g_threadRegistered, 0, 0);
    const int code = thread.Run();
    afx::SetCurrentWinThread(nullptr);
    EXPECT_EQ(code, 17) << "ExitInstance answers the WM_QUIT code";
    EXPECT_EQ(thread.pings, 5);
    EXPECT_EQ(thread.registered, 1);
    // Idle work ran 0, 1 while the queue was empty, started again from 0 after the
    // ordinary message, and the loop ended during the second round.
    const std::vector<LONG> expected{0, 1, 0, 1};
    EXPECT_EQ(thread.idleCounts, expected);
    EXPECT_GE(thread.pretranslated, 3);
    DestroyWindow(thread.window);
}

TEST_F(WinThreadTest, RedundantMouseMovesAndPaintDoNotRestartIdleWork)
{
    CWinThread thread;
    MSG move{nullptr, WM_MOUSEMOVE, 0, 0, 0, POINT{5, 6}};
    EXPECT_TRUE(thread.IsIdleMessage(&move));
    EXPECT_FALSE(thread.IsIdleMessage(&move)) << "same place, same message";
    move.pt.x = 7;
    EXPECT_TRUE(thread.IsIdleMessage(&move));
    MSG paint{nullptr, WM_PAINT, 0, 0, 0, POINT{0, 0}};
    EXPECT_FALSE(thread.IsIdleMessage(&paint));
    MSG key{nullptr, WM_KEYDOWN, 0, 0, 0, POINT{0, 0}};
    EXPECT_TRUE(thread.IsIdleMessage(&key));
}

TEST_F(WinThreadTest, PreTranslateWalksFromTheTargetToTheMainWindow)
{
    class CEatsKeys : public CWnd {
    public:
        int seen = 0;
        BOOL PreTranslateMessage(MSG* pMsg) override
        {
            ++seen;
            return pMsg->message == WM_KEYDOWN;
        }
    };
    CEatsKeys main, child;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &main, 1));
    CWinThread thread;
    thread.m_pMainWnd = &main;
    afx::SetCurrentWinThread(&thread);
    MSG msg{child.m_hWnd, WM_KEYDOWN, 'A', 0, 0, POINT{0, 0}};
    EXPECT_TRUE(thread.PreTranslateMessage(&msg));
    EXPECT_EQ(child.seen, 1);
    EXPECT_EQ(main.seen, 0) << "the child took it";
    msg.message = WM_CHAR;
    EXPECT_FALSE(thread.PreTranslateMessage(&msg));
    EXPECT_EQ(main.seen, 1) << "up to the main window";
    afx::SetCurrentWinThread(nullptr);
    thread.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

// ---- a user-interface thread ----------------------------------------------------------------------------------

class CUiThread : public CWinThread {
    DECLARE_DYNCREATE(CUiThread)
public:
    static std::atomic<int> exitCode;
    static std::atomic<bool> sawSelf;
    CWnd m_wnd;
    BOOL InitInstance() override
    {
        sawSelf = AfxGetThread() == this;
        if (!m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"ui", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &m_wnd;
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        CWinThread::OnIdle(lCount);
        // Closing the main window ends the thread's loop (WM_QUIT from its WM_NCDESTROY).
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
        return FALSE;
    }
    int ExitInstance() override
    {
        exitCode = CWinThread::ExitInstance();
        return exitCode + 100;
    }
};
IMPLEMENT_DYNCREATE(CUiThread, CWinThread)
std::atomic<int> CUiThread::exitCode{-1};
std::atomic<bool> CUiThread::sawSelf{false};

TEST_F(WinThreadTest, AUserInterfaceThreadRunsItsOwnLoop)
{
    CUiThread::exitCode = -1;
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_TRUE(CUiThread::sawSelf);
    EXPECT_EQ(CUiThread::exitCode, 0) << "the main window's destruction posted WM_QUIT(0)";
    EXPECT_EQ(code, 100u);
    EXPECT_EQ(thread->m_pMainWnd, nullptr) << "the destroyed main window was forgotten";
    delete thread;
}

} // namespace
} // namespace zyn::test
