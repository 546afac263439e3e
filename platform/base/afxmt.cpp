#include "platform/base/afxmt.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/clock.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)

namespace {
std::atomic<zyn::base::MsgWaitFunction> g_msgWait{nullptr};
}

void zyn::base::SetMsgWaitFunction(MsgWaitFunction fn) { g_msgWait.store(fn, std::memory_order_release); }

// ---- CSyncObject ---------------------------------------------------------------------

CSyncObject::CSyncObject(LPCWSTR) : m_hObject(nullptr) {}

CSyncObject::~CSyncObject()
{
    if (m_hObject) {
        ::CloseHandle(m_hObject);
        m_hObject = nullptr;
    }
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    const DWORD r = ::WaitForSingleObject(m_hObject, dwTimeout);
    // An abandoned mutex is owned by the caller now: that is a successful lock.
    return (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) ? TRUE : FALSE;
}

BOOL CSyncObject::Unlock(LONG, LPLONG) { return TRUE; }

// ---- CCriticalSection ----------------------------------------------------------------

CCriticalSection::CCriticalSection() : CSyncObject(nullptr)
{
    if (!::InitializeCriticalSectionAndSpinCount(&m_sect, 0))
        AfxThrowMemoryException();
}

CCriticalSection::~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }

BOOL CCriticalSection::Lock()
{
    ::EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout)
{
    if (dwTimeout == INFINITE)
        return Lock();
    if (::TryEnterCriticalSection(&m_sect))
        return TRUE;
    if (dwTimeout == 0)
        return FALSE;
    using zyn::base::Clock;
    const uint64_t deadline = Clock::DeadlineAfter(dwTimeout);
    if (Clock::IsVirtual()) {
        // Virtual time does not wait for other threads: the wait times out at once.
        Clock::AdvanceTo(deadline);
        return ::TryEnterCriticalSection(&m_sect);
    }
    while (Clock::NowMs() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (::TryEnterCriticalSection(&m_sect))
            return TRUE;
    }
    return FALSE;
}

BOOL CCriticalSection::Unlock()
{
    ::LeaveCriticalSection(&m_sect);
    return TRUE;
}

// ---- CMutex, CEvent, CSemaphore --------------------------------------------------------

CMutex::CMutex(BOOL bInitiallyOwn, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) : CSyncObject(lpszName)
{
    m_hObject = ::CreateMutexW(lpsaAttribute, bInitiallyOwn, lpszName);
    if (!m_hObject)
        AfxThrowResourceException();
}

BOOL CMutex::Unlock() { return ::ReleaseMutex(m_hObject); }

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = ::CreateEventW(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (!m_hObject)
        AfxThrowResourceException();
}

BOOL CEvent::SetEvent() { return ::SetEvent(m_hObject); }
BOOL CEvent::PulseEvent() { return ::PulseEvent(m_hObject); }
BOOL CEvent::ResetEvent() { return ::ResetEvent(m_hObject); }
BOOL CEvent::Unlock() { return TRUE; }

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCWSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName)
{
    m_hObject = ::CreateSemaphoreW(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
    if (!m_hObject)
        AfxThrowResourceException();
}

BOOL CSemaphore::Unlock() { return Unlock(1, nullptr); }

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lprevCount) { return ::ReleaseSemaphore(m_hObject, lCount, lprevCount); }

// ---- CSingleLock -----------------------------------------------------------------------

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject), m_hObject(pObject ? pObject->m_hObject : nullptr), m_bAcquired(FALSE)
{
    if (!pObject)
        AfxThrowInvalidArgException();
    if (bInitialLock)
        Lock();
}

CSingleLock::~CSingleLock() { Unlock(); }

BOOL CSingleLock::Lock(DWORD dwTimeOut)
{
    if (m_bAcquired)
        return TRUE;
    m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
    return !m_bAcquired;
}

// ---- CMultiLock ------------------------------------------------------------------------

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock)
    : m_hPreallocated{},
      m_bPreallocated{},
      m_ppObjectArray(ppObjects),
      m_pHandleArray(m_hPreallocated),
      m_bLockedArray(m_bPreallocated),
      m_dwCount(dwCount)
{
    if (!ppObjects || dwCount == 0 || dwCount > MAXIMUM_WAIT_OBJECTS)
        AfxThrowInvalidArgException();
    for (DWORD i = 0; i < dwCount; ++i) {
        if (!ppObjects[i])
            AfxThrowInvalidArgException();
        m_hPreallocated[i] = ppObjects[i]->m_hObject;
    }
    if (bInitialLock)
        Lock();
}

CMultiLock::~CMultiLock() { Unlock(); }

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask)
{
    DWORD r;
    if (dwWakeMask == 0) {
        r = ::WaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut);
    } else if (auto fn = g_msgWait.load(std::memory_order_acquire)) {
        r = fn(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut, dwWakeMask);
    } else {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return WAIT_FAILED;
    }
    auto markLocked = [&](DWORD index) {
        if (bWaitForAll) {
            for (DWORD i = 0; i < m_dwCount; ++i)
                m_bLockedArray[i] = TRUE;
        } else {
            m_bLockedArray[index] = TRUE;
        }
    };
    if (r < WAIT_OBJECT_0 + m_dwCount)
        markLocked(r - WAIT_OBJECT_0);
    else if (r >= WAIT_ABANDONED_0 && r < WAIT_ABANDONED_0 + m_dwCount)
        markLocked(r - WAIT_ABANDONED_0);
    return r;
}

BOOL CMultiLock::Unlock()
{
    for (DWORD i = 0; i < m_dwCount; ++i)
        if (m_bLockedArray[i])
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock();
    return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    BOOL gotOne = FALSE;
    for (DWORD i = 0; i < m_dwCount; ++i) {
        if (m_bLockedArray[i] && m_ppObjectArray[i]->IsKindOf(RUNTIME_CLASS(CSemaphore))) {
            gotOne = TRUE;
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock(lCount, lPrevCount);
        }
    }
    return gotOne;
}

BOOL CMultiLock::IsLocked(DWORD dwItem) const { return dwItem < m_dwCount && m_bLockedArray[dwItem]; }
