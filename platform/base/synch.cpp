#include "platform/base/synch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <unordered_map>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"

namespace zyn::base {

// ---- names seen by other processes ---------------------------------------------------

namespace {

DWORD ErrnoToError(int e)
{
    switch (e) {
    case ENOENT:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

// A descriptor that closes itself.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd&& o) noexcept : m_fd(o.m_fd) { o.m_fd = -1; }
    Fd& operator=(Fd&& o) noexcept
    {
        if (this != &o) {
            reset();
            m_fd = o.m_fd;
            o.m_fd = -1;
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

int FlockRetry(int fd, int op)
{
    int r;
    do {
        r = ::flock(fd, op);
    } while (r != 0 && errno == EINTR);
    return r;
}

// Creates `path` as a private folder of this user, or checks that it is one.
bool EnsurePrivateDir(const std::string& path, DWORD& err)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        err = ErrnoToError(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        err = ErrnoToError(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        // Somebody else's folder, or one that others can write: never trust it.
        err = ERROR_ACCESS_DENIED;
        return false;
    }
    return true;
}

// The folder of the lock files: <runtime folder>/zyn-objects.
bool ObjectDir(std::string& dir, DWORD& err)
{
    std::string runtime;
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg == '/') {
        runtime = xdg;
    } else {
        runtime = "/tmp/zyn-" + std::to_string(::geteuid());
        if (!EnsurePrivateDir(runtime, err))
            return false;
    }
    dir = runtime + "/zyn-objects";
    return EnsurePrivateDir(dir, err);
}

// A file name for an object name: the name's plain letters and digits for people
// reading the folder, and a 64-bit hash of the whole name (case-sensitive, as object
// names are) so that every name has its own file whatever its characters or length.
std::string LockFileName(const std::wstring& name)
{
    uint64_t h = 1469598103934665603ull;
    for (wchar_t c : name) {
        auto u = static_cast<uint32_t>(c);
        for (int i = 0; i < 4; ++i) {
            h ^= (u >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
    std::string readable;
    for (wchar_t c : name) {
        if (readable.size() >= 40)
            break;
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))
            readable.push_back(static_cast<char>(c));
        else
            readable.push_back('_');
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return "mutex-" + readable + "-" + hex + ".lock";
}

} // namespace

// A shared lock on the name's lock file, held while this process has the object open.
// Whether another process holds the name is decided under an exclusive lock on a
// guard file, so two processes creating the name at once cannot both miss each other.
class CrossProcessName {
public:
    enum class Mode { Create, OpenExisting };

    // Null with `err` set on failure. `existed`: another process held the name. In
    // OpenExisting mode, a name nobody holds fails with ERROR_FILE_NOT_FOUND.
    static std::unique_ptr<CrossProcessName> Acquire(const std::wstring& name, Mode mode, bool& existed, DWORD& err)
    {
        existed = false;
        std::string dir;
        if (!ObjectDir(dir, err))
            return nullptr;
        Fd guard(::open((dir + "/.guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!guard || FlockRetry(guard.get(), LOCK_EX) != 0) {
            err = ErrnoToError(errno);
            return nullptr;
        }
        Fd fd(::open((dir + "/" + LockFileName(name)).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd) {
            err = ErrnoToError(errno);
            return nullptr;
        }
        if (FlockRetry(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            existed = false;
        } else if (errno == EWOULDBLOCK) {
            existed = true;
        } else {
            err = ErrnoToError(errno);
            return nullptr;
        }
        if (!existed && mode == Mode::OpenExisting) {
            err = ERROR_FILE_NOT_FOUND;
            return nullptr; // closing the descriptor drops the probe's lock
        }
        // Others hold only shared locks outside the guard, so this never blocks; for
        // the first holder it turns the exclusive probe into a shared lock.
        if (FlockRetry(fd.get(), LOCK_SH) != 0) {
            err = ErrnoToError(errno);
            return nullptr;
        }
        auto out = std::unique_ptr<CrossProcessName>(new CrossProcessName);
        out->m_fd = std::move(fd);
        return out;
    }

private:
    CrossProcessName() = default;
    Fd m_fd;
};

// ---- mutex ownership per thread ------------------------------------------------------

namespace {
// Mutexes owned by each thread, guarded by KernelLock.
std::unordered_map<DWORD, std::vector<std::shared_ptr<MutexObject>>>& OwnedMutexes()
{
    static auto* m = new std::unordered_map<DWORD, std::vector<std::shared_ptr<MutexObject>>>;
    return *m;
}
} // namespace

struct MutexAccess {
    static DWORD& Owner(MutexObject& m) { return m.m_owner; }
    static DWORD& Count(MutexObject& m) { return m.m_count; }
    static bool& Abandoned(MutexObject& m) { return m.m_abandoned; }
    static void Wake(MutexObject& m) { m.WakeWaitersLocked(); }
    static void SetCrossProcess(MutexObject& m, std::unique_ptr<CrossProcessName> c) { m.m_crossProcess = std::move(c); }
};

namespace detail {
void AbandonMutexesOwnedByLocked(DWORD threadId, std::vector<std::shared_ptr<KernelObject>>& released)
{
    auto& owned = OwnedMutexes();
    auto it = owned.find(threadId);
    if (it == owned.end())
        return;
    std::vector<std::shared_ptr<MutexObject>> list = std::move(it->second);
    owned.erase(it);
    for (auto& m : list) {
        MutexAccess::Owner(*m) = 0;
        MutexAccess::Count(*m) = 0;
        MutexAccess::Abandoned(*m) = true;
        MutexAccess::Wake(*m);
        released.push_back(std::move(m));
    }
}
} // namespace detail

// ---- event ---------------------------------------------------------------------------

EventObject::EventObject(bool manualReset, bool initialState)
    : KernelObject(KernelObjectType::Event, initialState), m_manualReset(manualReset)
{
}

void EventObject::Set()
{
    auto lock = KernelLock();
    SetSignaledLocked(true);
}

void EventObject::Reset()
{
    auto lock = KernelLock();
    SetSignaledLocked(false);
}

void EventObject::Pulse()
{
    auto lock = KernelLock();
    // Completes the waits that the signal satisfies now (an auto-reset event goes to
    // the first of them), then leaves the event reset.
    SetSignaledLocked(true);
    SetSignaledLocked(false);
}

bool EventObject::AcquireLocked(DWORD)
{
    if (!m_manualReset)
        SetSignaledLocked(false);
    return false;
}

std::shared_ptr<KernelObject> CreateEventObject(bool manualReset, bool initialState)
{
    return std::make_shared<EventObject>(manualReset, initialState);
}

// ---- mutex ---------------------------------------------------------------------------

MutexObject::MutexObject() : KernelObject(KernelObjectType::Mutex) {}
MutexObject::~MutexObject() = default;

bool MutexObject::CanAcquireLocked(DWORD threadId) const { return m_owner == 0 || m_owner == threadId; }

bool MutexObject::AcquireLocked(DWORD threadId)
{
    if (m_owner == threadId) {
        ++m_count;
        return false;
    }
    m_owner = threadId;
    m_count = 1;
    OwnedMutexes()[threadId].push_back(std::static_pointer_cast<MutexObject>(shared_from_this()));
    const bool abandoned = m_abandoned;
    m_abandoned = false;
    return abandoned;
}

bool MutexObject::Release()
{
    const DWORD self = GetCurrentThreadId();
    std::shared_ptr<MutexObject> dropped; // destroyed after the lock
    auto lock = KernelLock();
    if (m_owner != self || m_count == 0) {
        SetLastError(ERROR_NOT_OWNER);
        return false;
    }
    if (--m_count == 0) {
        m_owner = 0;
        auto& owned = OwnedMutexes();
        auto it = owned.find(self);
        if (it != owned.end()) {
            auto& v = it->second;
            for (auto i = v.begin(); i != v.end(); ++i) {
                if (i->get() == this) {
                    dropped = std::move(*i);
                    v.erase(i);
                    break;
                }
            }
            if (v.empty())
                owned.erase(it);
        }
        WakeWaitersLocked();
    }
    lock.unlock();
    return true;
}

DWORD MutexObject::OwnerThreadId() const
{
    auto lock = KernelLock();
    return m_owner;
}

// ---- semaphore -----------------------------------------------------------------------

SemaphoreObject::SemaphoreObject(LONG initialCount, LONG maximumCount)
    : KernelObject(KernelObjectType::Semaphore), m_count(initialCount), m_maximum(maximumCount)
{
}

bool SemaphoreObject::CanAcquireLocked(DWORD) const { return m_count > 0; }

bool SemaphoreObject::AcquireLocked(DWORD)
{
    --m_count;
    return false;
}

bool SemaphoreObject::Release(LONG count, LONG* previous)
{
    if (count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto lock = KernelLock();
    if (count > m_maximum - m_count) {
        SetLastError(ERROR_TOO_MANY_POSTS);
        return false;
    }
    if (previous)
        *previous = m_count;
    m_count += count;
    WakeWaitersLocked();
    return true;
}

} // namespace zyn::base

// ---- the Windows-style API -----------------------------------------------------------

using namespace zyn::base;

namespace {

bool HasName(LPCWSTR name) { return name && *name; }

// Creates or opens a named object of type T under one lock: an existing object of the
// same type gives a new handle and ERROR_ALREADY_EXISTS, one of another type fails.
// `make` builds a new object; it runs with the kernel lock held.
template <class T, class Make>
HANDLE CreateNamed(const std::wstring& name, Make make)
{
    std::shared_ptr<KernelObject> obj;
    bool existed = false;
    {
        auto lock = KernelLock();
        obj = FindNamedObjectLocked(name);
        if (obj) {
            if (!std::dynamic_pointer_cast<T>(obj)) {
                lock.unlock();
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            existed = true;
        } else {
            obj = make();
            RegisterNamedObjectLocked(name, obj);
        }
    }
    HANDLE h = AddKernelObject(obj);
    if (!h)
        return nullptr;
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

template <class T>
HANDLE OpenNamed(LPCWSTR lpName)
{
    if (!HasName(lpName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<KernelObject> obj;
    {
        auto lock = KernelLock();
        obj = FindNamedObjectLocked(lpName);
    }
    if (!obj) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (!std::dynamic_pointer_cast<T>(obj)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HANDLE h = AddKernelObject(std::move(obj));
    if (h)
        SetLastError(ERROR_SUCCESS);
    return h;
}

std::shared_ptr<EventObject> EventOf(HANDLE h) { return GetKernelObjectAs<EventObject>(h); }

// Serialises the creation of named mutexes, whose cross-process check does file I/O
// that must not run under the kernel lock.
std::mutex& NamedMutexCreation()
{
    static auto* m = new std::mutex;
    return *m;
}

HANDLE MakeMutex(bool initialOwner, LPCWSTR lpName, CrossProcessName::Mode mode)
{
    const DWORD self = GetCurrentThreadId();
    if (!HasName(lpName)) {
        auto m = std::make_shared<MutexObject>();
        if (initialOwner) {
            auto lock = KernelLock();
            m->AcquireLocked(self);
        }
        HANDLE h = AddKernelObject(m);
        if (h)
            SetLastError(ERROR_SUCCESS);
        else if (initialOwner)
            m->Release();
        return h;
    }
    const std::wstring name(lpName);
    std::lock_guard creating(NamedMutexCreation());
    {
        auto lock = KernelLock();
        if (auto existing = FindNamedObjectLocked(name)) {
            lock.unlock();
            if (!std::dynamic_pointer_cast<MutexObject>(existing)) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            HANDLE h = AddKernelObject(std::move(existing));
            if (h)
                SetLastError(mode == CrossProcessName::Mode::Create ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
            return h;
        }
    }
    bool otherProcess = false;
    DWORD err = ERROR_SUCCESS;
    auto cross = CrossProcessName::Acquire(name, mode, otherProcess, err);
    if (!cross) {
        SetLastError(err);
        return nullptr;
    }
    auto m = std::make_shared<MutexObject>();
    MutexAccess::SetCrossProcess(*m, std::move(cross));
    {
        auto lock = KernelLock();
        RegisterNamedObjectLocked(name, m);
        // An existing mutex is never owned by its opener, as on Windows.
        if (initialOwner && !otherProcess)
            m->AcquireLocked(self);
    }
    HANDLE h = AddKernelObject(m);
    if (!h)
        return nullptr;
    if (mode == CrossProcessName::Mode::Create)
        SetLastError(otherProcess ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    else
        SetLastError(ERROR_SUCCESS);
    return h;
}

// ---- critical sections -------------------------------------------------------------

static_assert(sizeof(std::mutex) <= sizeof(CRITICAL_SECTION::Lock));
static_assert(alignof(std::mutex) <= 8);

std::mutex& SectionLock(LPCRITICAL_SECTION cs) { return *std::launder(reinterpret_cast<std::mutex*>(cs->Lock)); }

HANDLE OwnerValue(DWORD id) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(id)); }

HANDLE LoadOwner(LPCRITICAL_SECTION cs)
{
    return std::atomic_ref<HANDLE>(cs->OwningThread).load(std::memory_order_acquire);
}

void StoreOwner(LPCRITICAL_SECTION cs, HANDLE v)
{
    std::atomic_ref<HANDLE>(cs->OwningThread).store(v, std::memory_order_release);
}

} // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName)
{
    const bool manual = bManualReset != FALSE;
    const bool initial = bInitialState != FALSE;
    if (!HasName(lpName)) {
        HANDLE h = AddKernelObject(std::make_shared<EventObject>(manual, initial));
        if (h)
            SetLastError(ERROR_SUCCESS);
        return h;
    }
    return CreateNamed<EventObject>(lpName, [&] { return std::make_shared<EventObject>(manual, initial); });
}

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES a, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName)
{
    return CreateEventW(a, bManualReset, bInitialState, lpName);
}

HANDLE CreateEventExW(LPSECURITY_ATTRIBUTES a, LPCWSTR lpName, DWORD dwFlags, DWORD)
{
    return CreateEventW(a, (dwFlags & CREATE_EVENT_MANUAL_RESET) != 0, (dwFlags & CREATE_EVENT_INITIAL_SET) != 0,
        lpName);
}

HANDLE OpenEventW(DWORD, BOOL, LPCWSTR lpName) { return OpenNamed<EventObject>(lpName); }
HANDLE OpenEvent(DWORD a, BOOL i, LPCWSTR lpName) { return OpenEventW(a, i, lpName); }

BOOL SetEvent(HANDLE hEvent)
{
    auto e = EventOf(hEvent);
    if (!e)
        return FALSE;
    e->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent)
{
    auto e = EventOf(hEvent);
    if (!e)
        return FALSE;
    e->Reset();
    return TRUE;
}

BOOL PulseEvent(HANDLE hEvent)
{
    auto e = EventOf(hEvent);
    if (!e)
        return FALSE;
    e->Pulse();
    return TRUE;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName)
{
    return MakeMutex(bInitialOwner != FALSE, lpName, CrossProcessName::Mode::Create);
}

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES a, BOOL bInitialOwner, LPCWSTR lpName)
{
    return CreateMutexW(a, bInitialOwner, lpName);
}

HANDLE CreateMutexExW(LPSECURITY_ATTRIBUTES a, LPCWSTR lpName, DWORD dwFlags, DWORD)
{
    return CreateMutexW(a, (dwFlags & CREATE_MUTEX_INITIAL_OWNER) != 0, lpName);
}

HANDLE OpenMutexW(DWORD, BOOL, LPCWSTR lpName)
{
    if (!HasName(lpName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return MakeMutex(false, lpName, CrossProcessName::Mode::OpenExisting);
}

HANDLE OpenMutex(DWORD a, BOOL i, LPCWSTR lpName) { return OpenMutexW(a, i, lpName); }

BOOL ReleaseMutex(HANDLE hMutex)
{
    auto m = GetKernelObjectAs<MutexObject>(hMutex);
    if (!m)
        return FALSE;
    return m->Release() ? TRUE : FALSE;
}

HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCWSTR lpName)
{
    if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!HasName(lpName)) {
        HANDLE h = AddKernelObject(std::make_shared<SemaphoreObject>(lInitialCount, lMaximumCount));
        if (h)
            SetLastError(ERROR_SUCCESS);
        return h;
    }
    return CreateNamed<SemaphoreObject>(
        lpName, [&] { return std::make_shared<SemaphoreObject>(lInitialCount, lMaximumCount); });
}

HANDLE CreateSemaphore(LPSECURITY_ATTRIBUTES a, LONG lInitialCount, LONG lMaximumCount, LPCWSTR lpName)
{
    return CreateSemaphoreW(a, lInitialCount, lMaximumCount, lpName);
}

HANDLE OpenSemaphoreW(DWORD, BOOL, LPCWSTR lpName) { return OpenNamed<SemaphoreObject>(lpName); }
HANDLE OpenSemaphore(DWORD a, BOOL i, LPCWSTR lpName) { return OpenSemaphoreW(a, i, lpName); }

BOOL ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount)
{
    auto s = GetKernelObjectAs<SemaphoreObject>(hSemaphore);
    if (!s)
        return FALSE;
    return s->Release(lReleaseCount, lpPreviousCount) ? TRUE : FALSE;
}

DWORD SignalObjectAndWait(HANDLE hObjectToSignal, HANDLE hObjectToWaitOn, DWORD dwMilliseconds, BOOL)
{
    auto obj = GetKernelObject(hObjectToSignal);
    if (!obj)
        return WAIT_FAILED;
    bool ok;
    if (auto e = std::dynamic_pointer_cast<EventObject>(obj)) {
        e->Set();
        ok = true;
    } else if (auto m = std::dynamic_pointer_cast<MutexObject>(obj)) {
        ok = m->Release();
    } else if (auto s = std::dynamic_pointer_cast<SemaphoreObject>(obj)) {
        ok = s->Release(1, nullptr);
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        ok = false;
    }
    if (!ok)
        return WAIT_FAILED;
    return WaitForSingleObject(hObjectToWaitOn, dwMilliseconds);
}

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION cs, DWORD dwSpinCount)
{
    if (!cs) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    new (cs->Lock) std::mutex;
    cs->LockCount = -1;
    cs->RecursionCount = 0;
    cs->OwningThread = nullptr;
    cs->SpinCount = dwSpinCount;
    return TRUE;
}

BOOL InitializeCriticalSectionEx(LPCRITICAL_SECTION cs, DWORD dwSpinCount, DWORD)
{
    return InitializeCriticalSectionAndSpinCount(cs, dwSpinCount);
}

DWORD SetCriticalSectionSpinCount(LPCRITICAL_SECTION cs, DWORD dwSpinCount)
{
    const auto previous = static_cast<DWORD>(cs->SpinCount);
    cs->SpinCount = dwSpinCount;
    return previous;
}

void EnterCriticalSection(LPCRITICAL_SECTION cs)
{
    const HANDLE self = OwnerValue(GetCurrentThreadId());
    if (LoadOwner(cs) == self) {
        ++cs->RecursionCount;
        return;
    }
    SectionLock(cs).lock();
    StoreOwner(cs, self);
    cs->RecursionCount = 1;
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs)
{
    const HANDLE self = OwnerValue(GetCurrentThreadId());
    if (LoadOwner(cs) == self) {
        ++cs->RecursionCount;
        return TRUE;
    }
    if (!SectionLock(cs).try_lock())
        return FALSE;
    StoreOwner(cs, self);
    cs->RecursionCount = 1;
    return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs)
{
    if (LoadOwner(cs) != OwnerValue(GetCurrentThreadId()) || cs->RecursionCount <= 0)
        return;
    if (--cs->RecursionCount == 0) {
        StoreOwner(cs, nullptr);
        SectionLock(cs).unlock();
    }
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs)
{
    if (!cs)
        return;
    SectionLock(cs).~mutex();
    cs->OwningThread = nullptr;
    cs->RecursionCount = 0;
}
