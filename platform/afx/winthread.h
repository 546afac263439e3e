#pragma once
// CWinThread, the class library's thread object: worker threads (AfxBeginThread with a
// function) and user-interface threads (AfxBeginThread with a run-time class, whose
// InitInstance, Run and ExitInstance run on the new thread; Run is the message loop).
// The application object (CWinApp) is the main thread's CWinThread.
//
// The message loop (Run): while the queue is empty OnIdle runs with a growing count
// until it asks for no more; then messages are pumped (PumpMessage: GetMessage,
// PreTranslateMessage, TranslateMessage, DispatchMessage) until the queue is empty, and
// a message that IsIdleMessage calls significant starts the idle work again. WM_QUIT
// ends the loop with ExitInstance's result.
//
// Idle work (OnIdle): at count 0 the command user interface is brought up to date
// (WM_IDLEUPDATECMDUI to the main window and the active window and all their
// descendants that have window objects); at count 1 the thread's temporary wrappers
// (FromHandle objects) are freed.
//
// Lifetime, as in the class library: with m_bAutoDelete (the default) the object
// deletes itself on its own thread when the thread function returns or AfxEndThread is
// called, and its destructor closes m_hThread. A caller that waits for such a thread
// must set m_bAutoDelete to FALSE (and delete the object itself), or duplicate
// m_hThread while the thread is still suspended.

#include "platform/afx/cmdtarget.h"
#include "platform/base/threads.h"
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

class CException;
class CWnd;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (suspended with CREATE_SUSPENDED). FALSE when the system cannot
    // start it; the object is then not deleted.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    operator HANDLE() const { return m_hThread; }

    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD SuspendThread();
    DWORD ResumeThread();

    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Thread classes override these. InitInstance returns TRUE to go on to Run; the
    // base returns FALSE. ExitInstance returns the thread's exit code (the WM_QUIT code
    // when the loop ran).
    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // TRUE asks for more idle work (another call with lCount + 1).
    virtual BOOL OnIdle(LONG lCount);
    // Whether a message just handled restarts the idle work (repeated mouse moves at the
    // same point and WM_PAINT do not).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    // An exception a window procedure let through: reported (a user exception, already
    // shown, is not), and the answer the message gets (-1 for WM_CREATE).
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    // Modal loops of the window system offer their messages here (WH_MSGFILTER) while
    // Run is running; TRUE when taken.
    virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
    virtual CWnd* GetMainWnd();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    LPVOID m_pThreadParams;
    AFX_THREADPROC m_pfnThreadProc;

protected:
    // Thread messages (posted without a window) through the map (ON_THREAD_MESSAGE).
    BOOL DispatchThreadMessageEx(MSG* pMsg);

    DECLARE_MESSAGE_MAP()

private:
    friend struct WinThreadEntry;
    void CommonConstruct();
};

// Starts a worker thread running pfnThreadProc(pParam). Null when it cannot start.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
    UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a thread of a CWinThread-derived, dynamically creatable class.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
    DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Ends the calling thread (its stack unwinds); with bDelete its CWinThread is deleted
// first when it auto-deletes.
[[noreturn]] void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The CWinThread of the calling thread, or null on a thread that has none.
CWinThread* AfxGetThread();
// The calling thread's main window (its CWinThread's GetMainWnd), or null.
CWnd* AfxGetMainWnd();
// Ends the calling thread's message loop.
void AfxPostQuitMessage(int nExitCode);
// The message loop's steps, for modal loops that pump messages themselves.
BOOL AfxPumpMessage();
BOOL AfxPreTranslateMessage(MSG* pMsg);
// The calling thread's current loop message.
MSG* AfxGetCurrentMessage();
// ProcessWndProcException of a thread without a CWinThread.
LRESULT AfxInternalProcessWndProcException(CException* e, const MSG* pMsg);

namespace zyn::afx {
// Makes `thread` the calling thread's CWinThread (the application object on the main
// thread).
void SetCurrentWinThread(CWinThread* thread);
} // namespace zyn::afx
