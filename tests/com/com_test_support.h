#pragma once
// Shared by the COM tests: a fixture that checks no COM object outlives a case, and a
// small test interface with a class factory for the class table.
#include <gtest/gtest.h>

#include "platform/com/ole_com.h"

namespace zyn::test {

// {6B1E5C20-3D4F-4A11-9E2B-7C0D5A6F8E91}
inline constexpr IID IID_ICounterTest{0x6B1E5C20, 0x3D4F, 0x4A11, {0x9E, 0x2B, 0x7C, 0x0D, 0x5A, 0x6F, 0x8E, 0x91}};
// {A0B1C2D3-E4F5-4607-8899-AABBCCDDEEFF}
inline constexpr CLSID CLSID_CounterTest{0xA0B1C2D3, 0xE4F5, 0x4607, {0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}};

struct ICounterTest : public IUnknown {
    virtual int Next() = 0;
};

} // namespace zyn::test

namespace zyn::com {
template <>
struct InterfaceId<zyn::test::ICounterTest> {
    static constexpr const IID& value = zyn::test::IID_ICounterTest;
};
} // namespace zyn::com

namespace zyn::test {

class Counter final : public com::Object<ICounterTest> {
public:
    int Next() override { return ++m_n; }

private:
    int m_n = 0;
};

// Makes Counters; refuses aggregation; counts what it made.
class CounterFactory final : public com::Object<IClassFactory> {
public:
    int made = 0;
    int locks = 0;
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto obj = com::Ref<ICounterTest>::Attach(new Counter);
        const HRESULT hr = obj->QueryInterface(riid, ppv);
        if (SUCCEEDED(hr))
            ++made;
        return hr;
    }
    HRESULT LockServer(BOOL lock) override
    {
        locks += lock ? 1 : -1;
        return S_OK;
    }
};

class ComTest : public ::testing::Test {
protected:
    void SetUp() override { m_live = com::LiveObjectCount(); }
    void TearDown() override
    {
        com::ResetComForTests();
        EXPECT_EQ(com::LiveObjectCount(), m_live) << "COM objects left alive";
    }

private:
    size_t m_live = 0;
};

// A pointer value that no call should leave behind in an out parameter.
inline void* Junk() { return reinterpret_cast<void*>(uintptr_t{0xDEADBEEF}); }

} // namespace zyn::test
