#pragma once
// CWinThread, the class library's thread object: worker threads (AfxBeginThread with a
// function) and thread classes (AfxBeginThread with a run-time class, whose
// InitInstance, Run and ExitInstance run on the new thread).
//
// For now CWinThread derives from CObject; the class library core re-bases it on
// CCmdTarget, gives Run its message loop and OnIdle its idle work, and makes AfxGetThread
// on the main thread return the application (it registers it with
// zyn::base::SetCurrentWinThread). Nothing here depends on the base class beyond CObject,
// so only the class head changes.
//
// Lifetime, as in the class library: with m_bAutoDelete (the default) the object
// deletes itself on its own thread when the thread function returns or AfxEndThread is
// called, and its destructor closes m_hThread. A caller that waits for such a thread
// must set m_bAutoDelete to FALSE (and delete the object itself), or duplicate
// m_hThread while the thread is still suspended.

#include "platform/base/object.h"
#include "platform/base/threads.h"
#include "platform/base/wintypes.h"

class CWnd;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CObject {
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

    // Thread classes override these. InitInstance returns TRUE to go on to Run; the
    // base returns FALSE. The base Run has no message loop yet and returns
    // ExitInstance(); ExitInstance returns the thread's exit code (0).
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
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

namespace zyn::base {
// Makes `thread` the calling thread's CWinThread (the application object on the main
// thread).
void SetCurrentWinThread(CWinThread* thread);
} // namespace zyn::base
