#pragma once
// The class library's synchronisation classes over the kernel objects: CSyncObject and
// its kinds (CCriticalSection, CMutex, CEvent, CSemaphore), and the lock holders
// CSingleLock and CMultiLock, which release what they hold when they are destroyed.
//
// Constructors that cannot create their kernel object throw CResourceException.
// Lock() succeeds for a wait that returns WAIT_ABANDONED too: the caller then owns the
// mutex and must release it. CCriticalSection::Lock honours a time-out (the original
// ignores it); CSingleLock::Lock on a lock it already holds returns TRUE without
// locking again, so one Unlock always balances it.

#include "platform/base/object.h"
#include "platform/base/synch.h"
#include "platform/base/wintypes.h"

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCWSTR pstrName);
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }

    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    HANDLE m_hObject;
};

class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }

    BOOL Lock();
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override;
    using CSyncObject::Unlock;

    CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = nullptr,
        LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCWSTR lpszName = nullptr,
        LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    BOOL Unlock() override;
    using CSyncObject::Unlock;
};

class CSemaphore : public CSyncObject {
    DECLARE_DYNAMIC(CSemaphore)
public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCWSTR pstrName = nullptr,
        LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
    BOOL Unlock() override;
    BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr) override;
};

class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;
};

class CMultiLock {
public:
    // At most MAXIMUM_WAIT_OBJECTS objects, each with a kernel handle (a
    // CCriticalSection has none and cannot take part).
    CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
    ~CMultiLock();
    CMultiLock(const CMultiLock&) = delete;
    CMultiLock& operator=(const CMultiLock&) = delete;

    // The result of the wait (WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i, WAIT_TIMEOUT,
    // WAIT_FAILED). A wake mask waits on the thread's message queue too, through the
    // window system's MsgWaitForMultipleObjects (WAIT_FAILED with ERROR_NOT_SUPPORTED
    // while no window system has registered it); its result is WAIT_OBJECT_0 + count.
    DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = nullptr);
    BOOL IsLocked(DWORD dwItem) const;

protected:
    HANDLE m_hPreallocated[MAXIMUM_WAIT_OBJECTS];
    BOOL m_bPreallocated[MAXIMUM_WAIT_OBJECTS];
    CSyncObject* const* m_ppObjectArray;
    HANDLE* m_pHandleArray;
    BOOL* m_bLockedArray;
    DWORD m_dwCount;
};

namespace zyn::base {
// MsgWaitForMultipleObjects, registered by the window system for CMultiLock's wake mask.
using MsgWaitFunction = DWORD (*)(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
    DWORD dwWakeMask);
void SetMsgWaitFunction(MsgWaitFunction fn);
} // namespace zyn::base
