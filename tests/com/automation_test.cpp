// Automation values (BSTR, VARIANT), task-memory block counting, and the class table's
// contexts, aggregation refusal and bad ProgIDs.
#include <cwchar>
#include <string>

#include "platform/base/cstring.h"
#include "tests/com/com_test_support.h"

namespace zyn::test {
namespace {

// An object whose reference count a test reads: Refs() is the count without the probe's
// own AddRef/Release pair.
class Probe final : public com::Object<IDispatch> {
public:
    ULONG Refs()
    {
        const ULONG n = AddRef();
        Release();
        return n - 1;
    }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
};

class AutomationTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        m_blocks = com::TaskMemBlockCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(com::TaskMemBlockCount(), m_blocks) << "task memory left allocated";
        ComTest::TearDown();
    }
    size_t m_blocks = 0;
};

TEST_F(AutomationTest, BstrsKnowTheirLengthInWideUnitsAndHoldNuls)
{
    struct Row {
        const char* name;
        const OLECHAR* text; // null: zero-filled
        UINT cch;
        UINT expectedLen;
    };
    const Row rows[] = {
        {"plain", L"abc", 3, 3},
        {"embedded NUL", L"a\0b", 3, 3},
        {"empty", L"", 0, 0},
        {"zero-filled", nullptr, 4, 4},
        // One code point outside the BMP is one wchar_t here, as in CString.
        {"astral", L"\U0001F600", 1, 1},
    };
    for (const Row& r : rows) {
        const size_t before = com::TaskMemBlockCount();
        com::Bstr s = com::Bstr::Attach(SysAllocStringLen(r.text, r.cch));
        ASSERT_NE(s.get(), nullptr) << r.name;
        EXPECT_EQ(com::TaskMemBlockCount(), before + 1) << r.name << ": one block per string";
        EXPECT_EQ(SysStringLen(s.get()), r.expectedLen) << r.name;
        EXPECT_EQ(SysStringByteLen(s.get()), r.expectedLen * sizeof(OLECHAR)) << r.name;
        EXPECT_EQ(s.get()[r.cch], L'\0') << r.name << ": terminated";
        for (UINT i = 0; i < r.cch; ++i)
            EXPECT_EQ(s.get()[i], r.text ? r.text[i] : L'\0') << r.name << " unit " << i;
    }
    EXPECT_EQ(static_cast<UINT>(CString(L"\U0001F600").GetLength()), 1u) << "the unit CString counts";

    // Null is the empty string to every function.
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    // A length whose byte count cannot be stored is refused, not wrapped.
    EXPECT_EQ(SysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x40000000u), nullptr) << "4 GiB of bytes does not fit 32 bits";
    // SysAllocString stops at the first NUL.
    com::Bstr cut(L"ab\0cd");
    EXPECT_EQ(cut.Length(), 2u);
    // A pointer that is no BSTR is ignored rather than freed.
    OLECHAR local[4] = {L'x', L'y', L'z', 0};
    SysFreeString(local + 2);
    EXPECT_EQ(local[0], L'x');
}

TEST_F(AutomationTest, ReallocationCopiesBeforeFreeing)
{
    BSTR s = SysAllocString(L"hello world");
    // The new text lies inside the old string: it must be copied before the old goes.
    ASSERT_TRUE(SysReAllocString(&s, s + 6));
    EXPECT_STREQ(s, L"world");
    EXPECT_EQ(SysStringLen(s), 5u);
    ASSERT_TRUE(SysReAllocStringLen(&s, s, 3));
    EXPECT_STREQ(s, L"wor");
    EXPECT_FALSE(SysReAllocString(nullptr, L"x"));
    EXPECT_FALSE(SysReAllocStringLen(&s, nullptr, 0xFFFFFFFFu)) << "refused";
    EXPECT_STREQ(s, L"wor") << "a refused reallocation keeps the old string";
    ASSERT_TRUE(SysReAllocString(&s, nullptr));
    EXPECT_EQ(s, nullptr);
    BSTR fresh = nullptr;
    ASSERT_TRUE(SysReAllocString(&fresh, L"new"));
    EXPECT_EQ(SysStringLen(fresh), 3u);
    SysFreeString(fresh);
}

TEST_F(AutomationTest, VariantsOwnTheirStringsAndReferences)
{
    auto probe = com::Ref<Probe>::Attach(new Probe);
    ASSERT_EQ(probe->Refs(), 1u);

    VARIANT src;
    VariantInit(&src);
    EXPECT_EQ(src.vt, VT_EMPTY);

    struct Row {
        const char* name;
        VARTYPE vt;
        ULONG refsAfterCopy;   // of the probe, with src and dest both holding it
        size_t blocksPerValue; // task blocks one value of the type holds
    };
    const Row rows[] = {
        {"I4", VT_I4, 1, 0},
        {"BOOL", VT_BOOL, 1, 0},
        {"ERROR", VT_ERROR, 1, 0},
        {"BSTR", VT_BSTR, 1, 1},
        {"UNKNOWN", VT_UNKNOWN, 3, 0},
        {"DISPATCH", VT_DISPATCH, 3, 0},
    };
    for (const Row& r : rows) {
        const size_t blocks = com::TaskMemBlockCount();
        src.vt = r.vt;
        switch (r.vt) {
        case VT_I4: src.lVal = -7; break;
        case VT_BOOL: src.boolVal = VARIANT_TRUE; break;
        case VT_ERROR: src.scode = DISP_E_PARAMNOTFOUND; break;
        case VT_BSTR: src.bstrVal = SysAllocString(L"text"); break;
        case VT_UNKNOWN: src.punkVal = probe.get(); probe->AddRef(); break;
        case VT_DISPATCH: src.pdispVal = probe.get(); probe->AddRef(); break;
        default: break;
        }
        VARIANT dest;
        VariantInit(&dest);
        ASSERT_EQ(VariantCopy(&dest, &src), S_OK) << r.name;
        EXPECT_EQ(dest.vt, r.vt) << r.name;
        EXPECT_EQ(probe->Refs(), r.refsAfterCopy) << r.name;
        EXPECT_EQ(com::TaskMemBlockCount(), blocks + 2 * r.blocksPerValue) << r.name << ": source and copy";
        if (r.vt == VT_BSTR) {
            EXPECT_NE(dest.bstrVal, src.bstrVal) << "a string of its own";
            EXPECT_STREQ(dest.bstrVal, L"text");
        }
        if (r.vt == VT_BOOL) {
            EXPECT_EQ(dest.boolVal, -1) << "VARIANT_TRUE is all bits set";
        }
        if (r.vt == VT_I4) {
            EXPECT_EQ(dest.lVal, -7);
        }
        // Copying onto itself changes nothing.
        EXPECT_EQ(VariantCopy(&dest, &dest), S_OK) << r.name;
        EXPECT_EQ(probe->Refs(), r.refsAfterCopy) << r.name;
        ASSERT_EQ(VariantClear(&dest), S_OK) << r.name;
        EXPECT_EQ(dest.vt, VT_EMPTY) << r.name;
        ASSERT_EQ(VariantClear(&src), S_OK) << r.name;
        EXPECT_EQ(probe->Refs(), 1u) << r.name << ": every reference given back";
        EXPECT_EQ(com::TaskMemBlockCount(), blocks) << r.name << ": every string freed";
    }
}

TEST_F(AutomationTest, CopyReplacesWhatTheDestinationHeldAndRefusesUnknownTypes)
{
    auto probe = com::Ref<Probe>::Attach(new Probe);
    VARIANT dest;
    dest.vt = VT_UNKNOWN;
    dest.punkVal = probe.get();
    probe->AddRef();
    VARIANT src;
    src.vt = VT_BSTR;
    src.bstrVal = SysAllocString(L"replacement");
    ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
    EXPECT_EQ(probe->Refs(), 1u) << "the destination's reference was released";
    EXPECT_STREQ(dest.bstrVal, L"replacement");

    // An unknown source type fails before the destination is touched.
    VARIANT odd;
    odd.vt = VT_R8;
    EXPECT_EQ(VariantCopy(&dest, &odd), DISP_E_BADVARTYPE);
    EXPECT_EQ(dest.vt, VT_BSTR);
    EXPECT_STREQ(dest.bstrVal, L"replacement");
    odd.vt = VT_BSTR | VT_BYREF;
    EXPECT_EQ(VariantClear(&odd), DISP_E_BADVARTYPE);
    EXPECT_EQ(odd.vt, VT_BSTR | VT_BYREF) << "left as it was";

    // Null pointers and null payloads.
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(nullptr, &src), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(&dest, nullptr), E_INVALIDARG);
    VARIANT nothing;
    nothing.vt = VT_DISPATCH;
    nothing.pdispVal = nullptr;
    EXPECT_EQ(VariantCopy(&dest, &nothing), S_OK) << "a null object is a valid value";
    EXPECT_EQ(dest.vt, VT_DISPATCH);
    EXPECT_EQ(dest.pdispVal, nullptr);
    EXPECT_EQ(VariantClear(&dest), S_OK);
    EXPECT_EQ(VariantClear(&src), S_OK);

    // An exception record frees its strings.
    EXCEPINFO info{};
    info.bstrDescription = SysAllocString(L"d");
    info.bstrSource = SysAllocString(L"s");
    info.scode = E_FAIL;
    com::ClearExcepInfo(info);
    EXPECT_EQ(info.bstrDescription, nullptr);
    EXPECT_EQ(info.scode, S_OK);
}

TEST_F(AutomationTest, TaskMemoryBlocksAreCountedUntilFreed)
{
    const size_t start = com::TaskMemBlockCount();
    void* a = CoTaskMemAlloc(1);
    void* b = CoTaskMemAlloc(0); // a zero-byte block is still a block to free
    IMalloc* m = nullptr;
    ASSERT_EQ(CoGetMalloc(1, &m), S_OK);
    void* c = m->Alloc(64);
    EXPECT_EQ(com::TaskMemBlockCount(), start + 3);
    c = m->Realloc(c, 4096);
    EXPECT_EQ(com::TaskMemBlockCount(), start + 3) << "a reallocation is the same block";
    m->Free(c);
    CoTaskMemFree(a);
    CoTaskMemFree(a); // twice: the second is ignored
    EXPECT_EQ(com::TaskMemBlockCount(), start + 1);
    CoTaskMemFree(b);
    m->Release();
    EXPECT_EQ(com::TaskMemBlockCount(), start);
    EXPECT_EQ(CoGetMalloc(1, nullptr), E_INVALIDARG);
}

// A factory that records every CreateInstance call it gets.
class CallCountingFactory final : public com::Object<IClassFactory> {
public:
    int calls = 0;
    HRESULT CreateInstance(IUnknown*, REFIID riid, void** ppv) override
    {
        ++calls;
        auto obj = com::Ref<ICounterTest>::Attach(new Counter);
        return obj->QueryInterface(riid, ppv);
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

class ActivationTest : public AutomationTest {
protected:
    void SetUp() override
    {
        AutomationTest::SetUp();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_factory = com::Ref<CallCountingFactory>::Attach(new CallCountingFactory);
    }
    void TearDown() override
    {
        m_factory = nullptr;
        CoUninitialize();
        AutomationTest::TearDown();
    }
    com::Ref<CallCountingFactory> m_factory;
};

TEST_F(ActivationTest, InProcessClassesAnswerOnlyRequestsIncludingAnInProcessContext)
{
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &cookie), S_OK);
    struct Row {
        const char* name;
        DWORD context;
        HRESULT expected;
    };
    const Row rows[] = {
        {"in-process server", CLSCTX_INPROC_SERVER, S_OK},
        {"in-process handler", CLSCTX_INPROC_HANDLER, S_OK},
        {"23: both in-process, local and remote", 23, S_OK},
        {"all", CLSCTX_ALL, S_OK},
        {"local server alone", CLSCTX_LOCAL_SERVER, REGDB_E_CLASSNOTREG},
        {"remote server alone", CLSCTX_REMOTE_SERVER, REGDB_E_CLASSNOTREG},
        {"local and remote", CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER, REGDB_E_CLASSNOTREG},
        {"no context", 0, REGDB_E_CLASSNOTREG},
    };
    int expectedCalls = 0;
    for (const Row& r : rows) {
        void* p = Junk();
        EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, r.context, IID_ICounterTest, &p), r.expected) << r.name;
        if (r.expected == S_OK) {
            ++expectedCalls;
            ASSERT_NE(p, nullptr) << r.name;
            static_cast<ICounterTest*>(p)->Release();
        } else {
            EXPECT_EQ(p, nullptr) << r.name;
        }
        EXPECT_EQ(m_factory->calls, expectedCalls) << r.name;
    }

    // Aggregation is refused before the factory is asked.
    auto outer = com::Ref<Probe>::Attach(new Probe);
    void* p = Junk();
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &p),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(m_factory->calls, expectedCalls) << "the factory was not asked";
    EXPECT_EQ(outer->Refs(), 1u) << "the would-be outer object is not kept";
    // An unknown class with an outer object is still an unknown class.
    EXPECT_EQ(CoCreateInstance(IID_IDropSource, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &p),
        REGDB_E_CLASSNOTREG);

    // Revoked: gone for every context; the CLSID can be registered anew.
    ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoGetClassObject(CLSID_CounterTest, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, &p),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    DWORD again = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_HANDLER, REGCLS_MULTIPLEUSE,
        &again), S_OK);
    EXPECT_NE(again, cookie) << "cookies are not reused";
    EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG);
    EXPECT_EQ(CoRevokeClassObject(again), S_OK);
    EXPECT_EQ(CoRevokeClassObject(0), E_INVALIDARG);
}

TEST_F(ActivationTest, BadProgIdsAndNullOutPointers)
{
    ASSERT_TRUE(com::RegisterProgID(L"Zyn.Counter.1", CLSID_CounterTest));
    const wchar_t* bad[] = {
        L"",
        L"Zyn.Counter",                              // no version: another name
        L"Zyn.Counter.1 ",                           // trailing blank
        L"{A0B1C2D3-E4F5-4607-8899-AABBCCDDEEFF}",   // a CLSID's text is no ProgID
        L"Zyn.Counter.1.Extra",
    };
    for (const wchar_t* name : bad) {
        CLSID c = IID_IDropTarget;
        EXPECT_EQ(CLSIDFromProgID(name, &c), CO_E_CLASSSTRING) << std::wstring(name).size();
        EXPECT_TRUE(c == CLSID_NULL);
    }
    CLSID c{};
    EXPECT_EQ(CLSIDFromProgID(L"ZYN.counter.1", &c), S_OK);
    EXPECT_TRUE(c == CLSID_CounterTest);

    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(CoGetClassObject(CLSID_CounterTest, CLSCTX_ALL, nullptr, IID_IUnknown, nullptr), E_INVALIDARG);
    DWORD cookie = 5;
    EXPECT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), 0, REGCLS_MULTIPLEUSE, &cookie), E_INVALIDARG);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(m_factory->calls, 0);
}

} // namespace
} // namespace zyn::test
