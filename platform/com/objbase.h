#pragma once
// COM's process and thread set-up, task memory and the class table.
//
// A thread joins COM with CoInitialize(Ex); calls are counted per thread, the first
// answering S_OK and later ones S_FALSE, and every successful call needs its
// CoUninitialize. Activation (CoGetClassObject, CoCreateInstance) needs the calling thread
// to be initialised (CO_E_NOTINITIALIZED otherwise).
//
// The class table is process-wide and in-process only: a host or test registers a class
// object (normally an IClassFactory) for a CLSID with CoRegisterClassObject and a ProgID
// for that CLSID with zyn::com::RegisterProgID; CoCreateInstance finds the class object by
// CLSID and asks its factory for the object. A REGCLS_SINGLEUSE registration serves one
// CoGetClassObject and is then hidden. Every call that fails sets its out pointer to null.
#include <string>

#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

// ---- initialisation -----------------------------------------------------------------------------------
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2, COINIT_MULTITHREADED = 0x0, COINIT_DISABLE_OLE1DDE = 0x4,
                       COINIT_SPEED_OVER_MEMORY = 0x8;
// S_OK the first time on a thread, S_FALSE after; RPC_E_CHANGED_MODE when the thread was
// initialised with the other threading model (that call needs no CoUninitialize).
HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
// Undoes one successful CoInitialize(Ex); more calls than initialisations are ignored.
void CoUninitialize();

// ---- task memory ---------------------------------------------------------------------------------------
LPVOID CoTaskMemAlloc(SIZE_T cb);
LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
void CoTaskMemFree(LPVOID pv);
namespace zyn::com {
// The blocks of the task allocator not yet freed (BSTRs among them), so a test can check
// that every block it caused to be allocated was given back.
size_t TaskMemBlockCount();
} // namespace zyn::com

struct IMalloc : public IUnknown {
    virtual void* Alloc(SIZE_T cb) = 0;
    virtual void* Realloc(void* pv, SIZE_T cb) = 0;
    virtual void Free(void* pv) = 0;
    // The size of a block from this allocator; (SIZE_T)-1 for null or a foreign block.
    virtual SIZE_T GetSize(void* pv) = 0;
    // 1 when pv came from this allocator, 0 when not, -1 when it cannot tell (null).
    virtual int DidAlloc(void* pv) = 0;
    virtual void HeapMinimize() = 0;
};
using LPMALLOC = IMalloc*;
namespace zyn::com {
template <>
struct InterfaceId<IMalloc> {
    static constexpr const IID& value = IID_IMalloc;
};
} // namespace zyn::com
// The task allocator (dwMemContext must be 1, MEMCTX_TASK); AddRef'd for the caller.
HRESULT CoGetMalloc(DWORD dwMemContext, LPMALLOC* ppMalloc);

// ---- class objects and activation ----------------------------------------------------------------------
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1, CLSCTX_INPROC_HANDLER = 0x2, CLSCTX_LOCAL_SERVER = 0x4,
                       CLSCTX_REMOTE_SERVER = 0x10, CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                       CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                       CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD REGCLS_SINGLEUSE = 0, REGCLS_MULTIPLEUSE = 1, REGCLS_MULTI_SEPARATE = 2, REGCLS_SUSPENDED = 4;

struct IClassFactory : public IUnknown {
    // pUnkOuter non-null asks for aggregation (CLASS_E_NOAGGREGATION when refused).
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;
};
using LPCLASSFACTORY = IClassFactory*;
namespace zyn::com {
template <>
struct InterfaceId<IClassFactory> {
    static constexpr const IID& value = IID_IClassFactory;
};
} // namespace zyn::com

// Registers pUnk (AddRef'd while registered) as the class object of rclsid in the given
// contexts; the cookie revokes it. CO_E_OBJISREG when a visible registration of that CLSID
// exists already; E_INVALIDARG for a null object, out pointer or context.
HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags, LPDWORD lpdwRegister);
// Releases the registration's reference; E_INVALIDARG for an unknown cookie.
HRESULT CoRevokeClassObject(DWORD dwRegister);
// The class object of rclsid as riid. Every class of the table lives in this process, so
// it answers any request whose context includes CLSCTX_INPROC_SERVER or
// CLSCTX_INPROC_HANDLER, whatever contexts it was registered with (those only decide
// which registrations collide); a request for local or remote servers alone finds
// nothing: REGDB_E_CLASSNOTREG. E_NOINTERFACE when the object has no such interface.
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid, LPVOID* ppv);
// Creates one object of rclsid through its IClassFactory, found as CoGetClassObject finds
// it. Aggregation does not exist here: a non-null pUnkOuter gets CLASS_E_NOAGGREGATION
// without the factory being asked. A factory that fails has any object it left released.
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);

// ProgID to CLSID through the class table; CO_E_CLASSSTRING (and CLSID_NULL) for a ProgID
// nobody registered, E_INVALIDARG for null pointers.
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// The ProgID of a CLSID in CoTaskMem memory; REGDB_E_CLASSNOTREG when it has none.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);

namespace zyn::com {
// Names a CLSID by a ProgID ("Vendor.Component.1"; case-insensitive, as registry keys
// are). A ProgID maps to one CLSID; registering it again moves it. False for an empty or
// over-long name (39 characters is the limit).
bool RegisterProgID(const std::wstring& progId, REFCLSID clsid);
bool UnregisterProgID(const std::wstring& progId);

// Whether the calling thread has COM initialised.
bool IsInitializedOnThisThread();

// Tests: revokes every class object (releasing them), forgets every ProgID, and undoes
// the calling thread's initialisation.
void ResetComForTests();
} // namespace zyn::com
