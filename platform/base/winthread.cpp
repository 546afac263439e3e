#include "platform/base/winthread.h"

#include "platform/base/exception.h"
#include "platform/base/lasterror.h"

IMPLEMENT_DYNAMIC(CWinThread, CObject)

namespace {
thread_local CWinThread* t_currentThread = nullptr;
}

void zyn::base::SetCurrentWinThread(CWinThread* thread) { t_currentThread = thread; }

CWinThread* AfxGetThread() { return t_currentThread; }

// What runs on the new thread.
struct WinThreadEntry {
    static DWORD Run(CWinThread* self)
    {
        t_currentThread = self;
        DWORD result;
        if (self->m_pfnThreadProc) {
            result = self->m_pfnThreadProc(self->m_pThreadParams);
        } else if (self->InitInstance()) {
            result = static_cast<DWORD>(self->Run());
        } else {
            result = static_cast<DWORD>(self->ExitInstance());
        }
        // Nothing may touch `self` after this: it may delete itself.
        t_currentThread = nullptr;
        self->Delete();
        return result;
    }
};

void CWinThread::CommonConstruct()
{
    m_pMainWnd = nullptr;
    m_pActiveWnd = nullptr;
    m_bAutoDelete = TRUE;
    m_hThread = nullptr;
    m_nThreadID = 0;
}

CWinThread::CWinThread() : m_pThreadParams(nullptr), m_pfnThreadProc(nullptr) { CommonConstruct(); }

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc)
{
    CommonConstruct();
}

CWinThread::~CWinThread()
{
    if (m_hThread) {
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (t_currentThread == this)
        t_currentThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES)
{
    if (m_hThread) {
        // One object runs one thread.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD id = 0;
    CWinThread* self = this;
    // The handle and identifier are in place before the thread can run: it starts
    // suspended and is resumed once they are stored.
    HANDLE h = zyn::base::CreateThreadFunction([self] { return WinThreadEntry::Run(self); },
        dwCreateFlags | CREATE_SUSPENDED, nStackSize, &id);
    if (!h)
        return FALSE;
    m_hThread = h;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED) && ::ResumeThread(h) == static_cast<DWORD>(-1)) {
        const DWORD err = ::GetLastError();
        ::CloseHandle(h);
        m_hThread = nullptr;
        m_nThreadID = 0;
        ::SetLastError(err);
        return FALSE;
    }
    return TRUE;
}

int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }
DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }

BOOL CWinThread::InitInstance() { return FALSE; }
int CWinThread::Run() { return ExitInstance(); }
int CWinThread::ExitInstance() { return 0; }
CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

namespace {
CWinThread* Begin(CWinThread* thread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        const DWORD err = ::GetLastError();
        thread->Delete();
        ::SetLastError(err);
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED) && thread->ResumeThread() == static_cast<DWORD>(-1)) {
        // It never ran: nobody else will delete it.
        const DWORD err = ::GetLastError();
        thread->Delete();
        ::SetLastError(err);
        return nullptr;
    }
    return thread;
}
} // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
    DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc)
        AfxThrowInvalidArgException();
    return Begin(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
    LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        AfxThrowInvalidArgException();
    CObject* obj = pThreadClass->CreateObject();
    if (!obj)
        AfxThrowMemoryException();
    auto* thread = static_cast<CWinThread*>(obj);
    thread->m_pThreadParams = nullptr;
    return Begin(thread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

void AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    CWinThread* self = t_currentThread;
    t_currentThread = nullptr;
    if (self && bDelete)
        self->Delete();
    ::ExitThread(nExitCode);
}
