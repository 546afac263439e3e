// The activation observer: every ProgID look-up and creation a component makes, in order,
// with the context and interface it asked for and what it got.
#include <string>
#include <vector>

#include "tests/com/com_test_support.h"

namespace zyn::test {
namespace {

TEST_F(ComTest, ObserverSeesLookupsAndCreationsInOrder)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    std::vector<com::ActivationCall> calls;
    com::SetActivationObserverForTests([&](const com::ActivationCall& c) { calls.push_back(c); });
    auto factory = com::Ref<IClassFactory>::Attach(new CounterFactory);
    DWORD cookie = 0;
    ASSERT_EQ(
        CoRegisterClassObject(CLSID_CounterTest, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    ASSERT_TRUE(com::RegisterProgID(L"Zyn.Counter.1", CLSID_CounterTest));

    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"zyn.counter.1", &clsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(L"Nobody.Here.1", &clsid), CO_E_CLASSSTRING);
    void* p = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, 23, IID_ICounterTest, &p), S_OK);
    static_cast<IUnknown*>(p)->Release();
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_LOCAL_SERVER, IID_ICounterTest, &p),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, factory.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &p),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest, nullptr), E_POINTER);

    using K = com::ActivationCall::Kind;
    struct Want {
        K kind;
        std::wstring progId;
        CLSID clsid;
        DWORD context;
        HRESULT hr;
    } want[] = {
        {K::ProgIdLookup, L"zyn.counter.1", CLSID_CounterTest, 0, S_OK},
        {K::ProgIdLookup, L"Nobody.Here.1", CLSID_NULL, 0, CO_E_CLASSSTRING},
        {K::CreateInstance, L"", CLSID_CounterTest, 23, S_OK},
        {K::CreateInstance, L"", CLSID_CounterTest, CLSCTX_LOCAL_SERVER, REGDB_E_CLASSNOTREG},
        {K::CreateInstance, L"", CLSID_CounterTest, CLSCTX_INPROC_SERVER, CLASS_E_NOAGGREGATION},
    };
    ASSERT_EQ(calls.size(), std::size(want)) << "a call without its out pointer is not observed";
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].kind, want[i].kind) << i;
        EXPECT_EQ(calls[i].progId, want[i].progId) << i;
        EXPECT_TRUE(IsEqualCLSID(calls[i].clsid, want[i].clsid)) << i;
        EXPECT_EQ(calls[i].context, want[i].context) << i;
        EXPECT_EQ(calls[i].hr, want[i].hr) << i;
        if (want[i].kind == K::CreateInstance) {
            EXPECT_TRUE(IsEqualIID(calls[i].iid, i == 4 ? IID_IUnknown : IID_ICounterTest)) << i;
        }
    }
    // The test reset drops the observer with the class table.
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    factory = nullptr;
    com::ResetComForTests();
    calls.clear();
    EXPECT_EQ(CLSIDFromProgID(L"zyn.counter.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_TRUE(calls.empty());
}

} // namespace
} // namespace zyn::test
