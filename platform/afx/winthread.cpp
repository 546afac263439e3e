#include "platform/afx/winthread.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/afx/wnd.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

namespace {
thread_local CWinThread* t_currentThread = nullptr;
}

void zyn::afx::SetCurrentWinThread(CWinThread* thread) { t_currentThread = thread; }

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

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance()
{
    // The exit code PostQuitMessage gave (0 when the loop never ran).
    return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam);
}

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }

// ---- the message loop ----------------------------------------------------------------------------------------

namespace {

// While Run runs, the window system's modal loops offer their messages to the thread.
class MsgFilterHook {
public:
    MsgFilterHook() : m_previous(t_hook)
    {
        t_hook = ::SetWindowsHookExW(WH_MSGFILTER, &Filter, nullptr, ::GetCurrentThreadId());
        m_hook = t_hook;
    }
    ~MsgFilterHook()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        t_hook = m_previous;
    }
    MsgFilterHook(const MsgFilterHook&) = delete;
    MsgFilterHook& operator=(const MsgFilterHook&) = delete;

private:
    static LRESULT Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        CWinThread* thread = AfxGetThread();
        AFX_THREAD_STATE* state = AfxGetThreadState();
        if (code < 0 || !thread || state->m_bInMsgFilter || !lParam)
            return ::CallNextHookEx(t_hook, code, wParam, lParam);
        state->m_bInMsgFilter = TRUE;
        BOOL handled = FALSE;
        try {
            handled = thread->ProcessMessageFilter(code, reinterpret_cast<LPMSG>(lParam));
        } catch (CException* e) {
            thread->ProcessWndProcException(e, reinterpret_cast<LPMSG>(lParam));
            e->Delete();
        }
        state->m_bInMsgFilter = FALSE;
        return handled ? 1 : ::CallNextHookEx(t_hook, code, wParam, lParam);
    }

    static thread_local HHOOK t_hook;
    HHOOK m_previous;
    HHOOK m_hook = nullptr;
};
thread_local HHOOK MsgFilterHook::t_hook = nullptr;

} // namespace

int CWinThread::Run()
{
    MsgFilterHook filter;
    AFX_THREAD_STATE* state = AfxGetThreadState();
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        // Idle work while the queue is empty.
        while (bIdle && !::PeekMessageW(&state->m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        // Messages while there are any.
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&state->m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&state->m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!::GetMessageW(&state->m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (state->m_msgCur.message != WM_KICKIDLE && !AfxPreTranslateMessage(&state->m_msgCur)) {
        ::TranslateMessage(&state->m_msgCur);
        ::DispatchMessageW(&state->m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // A thread message goes through the thread's own map.
    if (!pMsg->hwnd && DispatchThreadMessageEx(pMsg))
        return TRUE;
    // From the target window up to the main window.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(zyn::afx::SafeHwndOf(pMainWnd), pMsg))
        return TRUE;
    // A message of a window outside the main window (a modeless dialog) gets the main
    // window's translation (its accelerators) last.
    if (pMainWnd && pMsg->hwnd) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd && pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    const AFX_MSGMAP_ENTRY* entry = zyn::afx::FindMessageEntry(GetMessageMap(), pMsg->message, 0, 0);
    if (!entry)
        return FALSE;
    zyn::afx::MsgCall call;
    call.message = pMsg->message;
    call.wParam = pMsg->wParam;
    call.lParam = pMsg->lParam;
    entry->pfnThunk(this, entry->pfn, call);
    return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // A move to where the mouse already was changes nothing.
        AFX_THREAD_STATE* state = AfxGetThreadState();
        if (state->m_ptCursorLast.x == pMsg->pt.x && state->m_ptCursorLast.y == pMsg->pt.y &&
            pMsg->message == state->m_nMsgLast)
            return FALSE;
        state->m_ptCursorLast = pMsg->pt;
        state->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    // WM_PAINT and the caret blink (0x0118) are frequent and change no command state.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // Bring the command user interface up to date: the main window and the active
        // window, each with its descendants.
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        CWnd* pActiveWnd = CWnd::FromHandle(::GetActiveWindow());
        if (pActiveWnd && pActiveWnd != pMainWnd && pActiveWnd->IsWindowVisible()) {
            AfxCallWndProc(pActiveWnd, pActiveWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pActiveWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    } else if (lCount >= 0) {
        // Free the temporary wrappers unless someone holds them.
        if (AfxGetThreadState()->m_nTempMapLock == 0) {
            AfxLockTempMaps();
            AfxUnlockTempMaps();
        }
    }
    return lCount < 0;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    return AfxInternalProcessWndProcException(e, pMsg);
}

LRESULT AfxInternalProcessWndProcException(CException* e, const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE)
        return -1; // the creation fails
    if (pMsg->message == WM_PAINT) {
        // Validate, or the window would get WM_PAINT again at once.
        ::ValidateRect(pMsg->hwnd, nullptr);
        return 0;
    }
    LRESULT lResult = 0;
    if (pMsg->message == WM_COMMAND && pMsg->lParam == 0)
        lResult = TRUE; // a menu command counts as handled
    if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        e->ReportError(MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    else if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONSTOP); // a user exception was shown to the user already
    return lResult;
}

BOOL CWinThread::ProcessMessageFilter(int code, LPMSG lpMsg)
{
    // The window system's dialog loops do not call PreTranslateMessage: tooltips of the
    // windows there see their messages here.
    if (code == MSGF_DIALOGBOX)
        zyn::afx::FilterToolTipsInModalLoop(lpMsg);
    return FALSE;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AfxPumpMessage()
{
    if (CWinThread* thread = AfxGetThread())
        return thread->PumpMessage();
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!::GetMessageW(&state->m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (state->m_msgCur.message != WM_KICKIDLE && !AfxPreTranslateMessage(&state->m_msgCur)) {
        ::TranslateMessage(&state->m_msgCur);
        ::DispatchMessageW(&state->m_msgCur);
    }
    return TRUE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* thread = AfxGetThread())
        return thread->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

MSG* AfxGetCurrentMessage() { return &AfxGetThreadState()->m_msgCur; }

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
