#pragma once
// A fake report runtime for the engine's tests: a class registered under the runtime's
// ProgID whose application object answers CanClose as a test says, and a trace of what
// happened to it in order (the ProgID looked up, the creation with its context and
// interface, each CanClose, the last Release), fed by the object itself and by COM's
// activation observer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/objbase.h"
#include "reports/report_runtime.h"

namespace zyn::test {

inline std::vector<std::string>& RuntimeTrace()
{
    static std::vector<std::string> trace;
    return trace;
}

// How the fake's CanClose answers: consent after `refusals` refusals (-1: never), or
// fail (the call itself) every time.
struct RuntimeBehaviour {
    int refusals = 0;
    bool fail = false;
    int calls = 0;
};
inline RuntimeBehaviour& Behaviour()
{
    static RuntimeBehaviour b;
    return b;
}

class FakeApplication final : public com::Object<IApplication> {
public:
    HRESULT GetTypeInfoCount(UINT* pctinfo) override
    {
        if (pctinfo)
            *pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT CanClose(VARIANT_BOOL* pbCanClose) override
    {
        RuntimeTrace().push_back("CanClose");
        RuntimeBehaviour& b = Behaviour();
        ++b.calls;
        if (b.fail)
            return E_FAIL;
        *pbCanClose = (b.refusals >= 0 && b.calls > b.refusals) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    ULONG Release() override
    {
        const ULONG left = com::Object<IApplication>::Release();
        if (left == 0)
            RuntimeTrace().push_back("Release");
        return left;
    }

protected:
    void* QueryExtra(REFIID riid) override
    {
        return IsEqualIID(riid, IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
    }
};

class FakeRuntimeFactory final : public com::Object<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* app = new FakeApplication; // its first reference goes to the caller
        if (!IsEqualIID(riid, IID_IApplication) && !IsEqualIID(riid, IID_IUnknown)) {
            app->Release();
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IApplication*>(app);
        return S_OK;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

inline constexpr CLSID CLSID_FakeRuntime{0x0D1E2F30, 0x4152, 0x6374, {0x85, 0x96, 0xA7, 0xB8, 0xC9, 0xDA, 0xEB, 0xFC}};

// Registers the fake under the runtime's ProgID; the cookie revokes it.
inline DWORD RegisterFakeRuntime()
{
    com::Ref<IClassFactory> factory = com::Ref<IClassFactory>::Attach(new FakeRuntimeFactory);
    DWORD cookie = 0;
    EXPECT_EQ(
        CoRegisterClassObject(CLSID_FakeRuntime, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    EXPECT_TRUE(com::RegisterProgID(kReportRuntimeProgID, CLSID_FakeRuntime));
    return cookie;
}

inline void ObserveActivation()
{
    com::SetActivationObserverForTests([](const com::ActivationCall& call) {
        if (call.kind == com::ActivationCall::Kind::ProgIdLookup) {
            RuntimeTrace().push_back("ProgID " + std::string(call.progId.begin(), call.progId.end()) +
                (SUCCEEDED(call.hr) ? "" : " failed"));
        } else {
            RuntimeTrace().push_back("Create context " + std::to_string(call.context) +
                (IsEqualIID(call.iid, IID_IApplication) ? " IApplication" : " other") +
                (SUCCEEDED(call.hr) ? "" : " failed"));
        }
    });
}

} // namespace zyn::test
