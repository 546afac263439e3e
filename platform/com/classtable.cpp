// The class table: class objects by CLSID, ProgIDs to CLSIDs, and activation.
//
// References to class objects are released outside the table's lock, since a Release
// may run arbitrary code (a factory that revokes or registers something itself).
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/base/namefold.h"
#include "platform/com/objbase.h"

namespace zyn::com {
namespace detail {
void ResetThreadInitForTests();
}
namespace {

struct Registration {
    CLSID clsid;
    IUnknown* object; // one reference held
    DWORD context;
    DWORD flags;
    bool hidden; // a single-use registration after its one use
};

struct ProgIdEntry {
    std::wstring name; // as registered
    CLSID clsid;
};

struct Table {
    std::mutex m;
    DWORD nextCookie = 1;
    std::map<DWORD, Registration> byCookie;
    std::map<std::wstring, ProgIdEntry> progIds; // by folded name
};
Table& TheTable()
{
    static Table* t = new Table; // never destroyed: class objects may be revoked during exit
    return *t;
}

constexpr size_t kMaxProgId = 39;

} // namespace

bool RegisterProgID(const std::wstring& progId, REFCLSID clsid)
{
    if (progId.empty() || progId.size() > kMaxProgId)
        return false;
    Table& t = TheTable();
    std::lock_guard lock(t.m);
    t.progIds[base::FoldName(progId)] = ProgIdEntry{progId, clsid};
    return true;
}

bool UnregisterProgID(const std::wstring& progId)
{
    Table& t = TheTable();
    std::lock_guard lock(t.m);
    return t.progIds.erase(base::FoldName(progId)) != 0;
}

void ResetComForTests()
{
    std::vector<IUnknown*> release;
    {
        Table& t = TheTable();
        std::lock_guard lock(t.m);
        for (auto& [cookie, reg] : t.byCookie)
            release.push_back(reg.object);
        t.byCookie.clear();
        t.progIds.clear();
        t.nextCookie = 1;
    }
    for (IUnknown* p : release)
        p->Release();
    detail::ResetThreadInitForTests();
}

} // namespace zyn::com

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags, LPDWORD lpdwRegister)
{
    if (lpdwRegister)
        *lpdwRegister = 0;
    if (!pUnk || !lpdwRegister || (dwClsContext & CLSCTX_ALL) == 0)
        return E_INVALIDARG;
    auto& t = zyn::com::TheTable();
    std::lock_guard lock(t.m);
    for (auto& [cookie, reg] : t.byCookie)
        if (!reg.hidden && IsEqualCLSID(reg.clsid, rclsid) && (reg.context & dwClsContext))
            return CO_E_OBJISREG;
    const DWORD cookie = t.nextCookie++;
    pUnk->AddRef();
    t.byCookie.emplace(cookie, zyn::com::Registration{rclsid, pUnk, dwClsContext, flags, false});
    *lpdwRegister = cookie;
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister)
{
    IUnknown* release = nullptr;
    {
        auto& t = zyn::com::TheTable();
        std::lock_guard lock(t.m);
        auto it = t.byCookie.find(dwRegister);
        if (it == t.byCookie.end())
            return E_INVALIDARG;
        release = it->second.object;
        t.byCookie.erase(it);
    }
    release->Release();
    return S_OK;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_INVALIDARG;
    *ppv = nullptr;
    if (!zyn::com::IsInitializedOnThisThread())
        return CO_E_NOTINITIALIZED;
    // Only in-process activation exists (see objbase.h).
    if ((dwClsContext & CLSCTX_INPROC) == 0)
        return REGDB_E_CLASSNOTREG;
    zyn::com::Ref<IUnknown> object;
    {
        auto& t = zyn::com::TheTable();
        std::lock_guard lock(t.m);
        for (auto& [cookie, reg] : t.byCookie) {
            if (reg.hidden || !IsEqualCLSID(reg.clsid, rclsid))
                continue;
            object = zyn::com::Ref<IUnknown>::Share(reg.object);
            // A single-use class object serves this one client and then leaves public view.
            if ((reg.flags & (REGCLS_MULTIPLEUSE | REGCLS_MULTI_SEPARATE)) == 0)
                reg.hidden = true;
            break;
        }
    }
    if (!object)
        return REGDB_E_CLASSNOTREG;
    return object->QueryInterface(riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    zyn::com::Ref<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
        reinterpret_cast<void**>(factory.Put()));
    if (FAILED(hr))
        return hr == E_NOINTERFACE ? CLASS_E_CLASSNOTAVAILABLE : hr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    if (FAILED(hr) && *ppv) {
        // A factory that failed must not hand out an object; drop what it left.
        static_cast<IUnknown*>(*ppv)->Release();
        *ppv = nullptr;
    }
    return hr;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid)
{
    if (!lpclsid)
        return E_INVALIDARG;
    *lpclsid = CLSID_NULL;
    if (!lpszProgID)
        return E_INVALIDARG;
    auto& t = zyn::com::TheTable();
    std::lock_guard lock(t.m);
    auto it = t.progIds.find(zyn::base::FoldName(lpszProgID));
    if (it == t.progIds.end())
        return CO_E_CLASSSTRING;
    *lpclsid = it->second.clsid;
    return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID)
{
    if (!lplpszProgID)
        return E_INVALIDARG;
    *lplpszProgID = nullptr;
    std::wstring name;
    {
        auto& t = zyn::com::TheTable();
        std::lock_guard lock(t.m);
        for (auto& [folded, entry] : t.progIds) {
            if (IsEqualCLSID(entry.clsid, clsid)) {
                name = entry.name;
                break;
            }
        }
    }
    if (name.empty())
        return REGDB_E_CLASSNOTREG;
    auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(wchar_t)));
    if (!out)
        return E_OUTOFMEMORY;
    std::memcpy(out, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    *lplpszProgID = out;
    return S_OK;
}
