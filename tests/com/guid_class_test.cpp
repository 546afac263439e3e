// GUID text forms, per-thread initialisation, the class table, ProgIDs and task memory.
#include <cstring>
#include <cwchar>
#include <string>
#include <thread>

#include "tests/com/com_test_support.h"

namespace zyn::test {
namespace {

using GuidTest = ComTest;

TEST_F(GuidTest, TextFormIsBracedUpperCaseAndReadsBack)
{
    struct Row {
        const char* name;
        GUID guid;
        const wchar_t* text;
    };
    // Texts written out by hand from the fields: Data1..3 as numbers, Data4 byte by byte.
    const Row rows[] = {
        {"IUnknown", IID_IUnknown, L"{00000000-0000-0000-C000-000000000046}"},
        {"IDropTarget", IID_IDropTarget, L"{00000122-0000-0000-C000-000000000046}"},
        {"ISequentialStream", IID_ISequentialStream, L"{0C733A30-2A1C-11CE-ADE5-00AA0044773D}"},
        {"all fields", GUID{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}},
            L"{12345678-9ABC-DEF0-0102-030405060708}"},
        {"high bits", GUID{0xFFFFFFFF, 0x8000, 0x00FF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}},
            L"{FFFFFFFF-8000-00FF-FEDC-BA9876543210}"},
    };
    for (const Row& r : rows) {
        wchar_t buf[40];
        EXPECT_EQ(StringFromGUID2(r.guid, buf, 40), 39) << r.name;
        EXPECT_STREQ(buf, r.text) << r.name;
        GUID back{};
        EXPECT_EQ(CLSIDFromString(r.text, &back), S_OK) << r.name;
        EXPECT_TRUE(IsEqualGUID(back, r.guid)) << r.name;
        // Lower-case hexadecimal reads the same.
        std::wstring lower(r.text);
        for (auto& c : lower)
            c = static_cast<wchar_t>(std::towlower(c));
        GUID fromLower{};
        EXPECT_EQ(IIDFromString(lower.c_str(), &fromLower), S_OK) << r.name;
        EXPECT_TRUE(fromLower == r.guid) << r.name;
        LPOLESTR alloc = nullptr;
        ASSERT_EQ(StringFromCLSID(r.guid, &alloc), S_OK);
        EXPECT_STREQ(alloc, r.text) << r.name;
        CoTaskMemFree(alloc);
    }
}

TEST_F(GuidTest, ShortBufferAndMalformedTextFailWithoutGarbage)
{
    wchar_t buf[40];
    std::wmemset(buf, L'x', 40);
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, buf, 38), 0) << "no room for the terminator";
    EXPECT_EQ(buf[0], L'x') << "nothing written";
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, nullptr, 40), 0);

    const wchar_t* bad[] = {
        L"00000000-0000-0000-C000-000000000046",    // no braces
        L"{00000000-0000-0000-C000-00000000004}",   // one digit short
        L"{00000000-0000-0000-C000-0000000000460}", // one too many
        L"{0000000G-0000-0000-C000-000000000046}",  // not hexadecimal
        L"{00000000-0000-0000+C000-000000000046}",  // wrong separator
        L"{00000000-00000-000-C000-000000000046}",  // separator moved
        L"{ 0000000-0000-0000-C000-000000000046}",  // space
        L"",
        L"No.Such.ProgID",
    };
    for (const wchar_t* text : bad) {
        CLSID c = IID_IDropTarget;
        EXPECT_EQ(CLSIDFromString(text, &c), CO_E_CLASSSTRING) << std::wstring(text).size();
        EXPECT_TRUE(c == CLSID_NULL) << "out value cleared";
        IID i = IID_IDropTarget;
        EXPECT_EQ(IIDFromString(text, &i), CO_E_IIDSTRING);
        EXPECT_TRUE(i == IID_NULL);
    }
    CLSID c = IID_IDropTarget;
    EXPECT_EQ(CLSIDFromString(nullptr, &c), S_OK);
    EXPECT_TRUE(c == CLSID_NULL);
    EXPECT_EQ(CLSIDFromString(L"{00000000-0000-0000-C000-000000000046}", nullptr), E_INVALIDARG);
}

using InitTest = ComTest;

TEST_F(InitTest, InitialisationIsCountedPerThreadAndGuardsActivation)
{
    void* p = Junk();
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &p),
        CO_E_NOTINITIALIZED);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE) << "the model is fixed";
    // Another thread has its own count.
    HRESULT other = S_OK, otherInit = E_FAIL;
    std::thread t([&] {
        void* q = Junk();
        other = CoGetClassObject(CLSID_CounterTest, CLSCTX_ALL, nullptr, IID_IUnknown, &q);
        otherInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
    });
    t.join();
    EXPECT_EQ(other, CO_E_NOTINITIALIZED);
    EXPECT_EQ(otherInit, S_OK);
    // Two successful calls, two uninitialisations (the refused one needs none).
    CoUninitialize();
    EXPECT_TRUE(com::IsInitializedOnThisThread());
    CoUninitialize();
    EXPECT_FALSE(com::IsInitializedOnThisThread());
    CoUninitialize(); // one too many is ignored
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

class ClassTableTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        m_factory = com::Ref<CounterFactory>::Attach(new CounterFactory);
    }
    void TearDown() override
    {
        m_factory = nullptr;
        CoUninitialize();
        ComTest::TearDown();
    }
    com::Ref<CounterFactory> m_factory;
};

TEST_F(ClassTableTest, CreatesThroughTheRegisteredFactoryAndRevokes)
{
    DWORD cookie = 99;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    // The table holds one reference besides ours: AddRef then answers 3.
    EXPECT_EQ(m_factory->AddRef(), 3u);
    m_factory->Release();

    com::Ref<ICounterTest> a, b;
    ASSERT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest,
        reinterpret_cast<void**>(a.Put())), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_INPROC_SERVER, IID_ICounterTest,
        reinterpret_cast<void**>(b.Put())), S_OK);
    EXPECT_NE(a.get(), b.get()) << "one object per call";
    EXPECT_EQ(a->Next(), 1);
    EXPECT_EQ(a->Next(), 2);
    EXPECT_EQ(b->Next(), 1);
    EXPECT_EQ(m_factory->made, 2);

    // QueryInterface: the same object for IUnknown from either interface, nothing else.
    com::Ref<IUnknown> u1, u2;
    ASSERT_EQ(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(u1.Put())), S_OK);
    ASSERT_EQ(u1->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(u2.Put())), S_OK);
    EXPECT_EQ(u1.get(), u2.get());
    void* p = Junk();
    EXPECT_EQ(a->QueryInterface(IID_IStream, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(a->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(m_factory->AddRef(), 2u) << "the table let its reference go";
    m_factory->Release();
    p = Junk();
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG) << "a cookie works once";
}

TEST_F(ClassTableTest, FailuresLeaveNullOutPointers)
{
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &cookie), S_OK);
    struct Row {
        const char* name;
        CLSID clsid;
        IUnknown* outer;
        DWORD context;
        IID iid;
        HRESULT expected;
    };
    IUnknown* outer = m_factory.get(); // any object will do as a would-be controlling unknown
    const Row rows[] = {
        {"unknown class", IID_IDropSource, nullptr, CLSCTX_ALL, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"context not registered", CLSID_CounterTest, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"interface not offered", CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_IDataObject, E_NOINTERFACE},
        {"aggregation refused", CLSID_CounterTest, outer, CLSCTX_ALL, IID_IUnknown, CLASS_E_NOAGGREGATION},
    };
    for (const Row& r : rows) {
        void* p = Junk();
        EXPECT_EQ(CoCreateInstance(r.clsid, r.outer, r.context, r.iid, &p), r.expected) << r.name;
        EXPECT_EQ(p, nullptr) << r.name;
    }
    EXPECT_EQ(m_factory->made, 0);
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);

    DWORD second = 77;
    EXPECT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &second), CO_E_OBJISREG);
    EXPECT_EQ(second, 0u);
    EXPECT_EQ(CoRegisterClassObject(CLSID_CounterTest, nullptr, CLSCTX_INPROC_SERVER, 0, &second), E_INVALIDARG);
    void* p = Junk();
    EXPECT_EQ(CoGetClassObject(CLSID_CounterTest, CLSCTX_ALL, nullptr, IID_IDropTarget, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST_F(ClassTableTest, SingleUseClassObjectServesOneClient)
{
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_SINGLEUSE,
        &cookie), S_OK);
    com::Ref<ICounterTest> first;
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest,
        reinterpret_cast<void**>(first.Put())), S_OK);
    void* p = Junk();
    EXPECT_EQ(CoCreateInstance(CLSID_CounterTest, nullptr, CLSCTX_ALL, IID_ICounterTest, &p), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    // Hidden, not gone: its cookie still revokes it, and then the CLSID is free again.
    DWORD again = 0;
    EXPECT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &again), S_OK);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoRevokeClassObject(again), S_OK);
}

TEST_F(ClassTableTest, ProgIdsNameClassesWithoutCase)
{
    EXPECT_TRUE(com::RegisterProgID(L"Zyn.CounterTest.1", CLSID_CounterTest));
    CLSID c = IID_IDropTarget;
    EXPECT_EQ(CLSIDFromProgID(L"zyn.countertest.1", &c), S_OK);
    EXPECT_TRUE(c == CLSID_CounterTest);
    c = IID_IDropTarget;
    EXPECT_EQ(CLSIDFromString(L"ZYN.COUNTERTEST.1", &c), S_OK) << "a ProgID is a class string too";
    EXPECT_TRUE(c == CLSID_CounterTest);
    c = IID_IDropTarget;
    EXPECT_EQ(CLSIDFromProgID(L"Zyn.CounterTest.2", &c), CO_E_CLASSSTRING);
    EXPECT_TRUE(c == CLSID_NULL);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &c), E_INVALIDARG);
    EXPECT_EQ(CLSIDFromProgID(L"Zyn.CounterTest.1", nullptr), E_INVALIDARG);

    LPOLESTR name = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(CLSID_CounterTest, &name), S_OK);
    EXPECT_STREQ(name, L"Zyn.CounterTest.1") << "kept as registered";
    CoTaskMemFree(name);
    name = reinterpret_cast<LPOLESTR>(Junk());
    EXPECT_EQ(ProgIDFromCLSID(IID_IDropSource, &name), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(name, nullptr);

    // Creation by ProgID: the name, then the class table.
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_CounterTest, m_factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
        &cookie), S_OK);
    ASSERT_EQ(CLSIDFromProgID(L"Zyn.CounterTest.1", &c), S_OK);
    com::Ref<ICounterTest> obj;
    EXPECT_EQ(CoCreateInstance(c, nullptr, CLSCTX_ALL, IID_ICounterTest, reinterpret_cast<void**>(obj.Put())), S_OK);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);

    EXPECT_FALSE(com::RegisterProgID(L"", CLSID_CounterTest));
    EXPECT_FALSE(com::RegisterProgID(std::wstring(40, L'a'), CLSID_CounterTest)) << "39 characters at most";
    EXPECT_TRUE(com::RegisterProgID(std::wstring(39, L'a'), CLSID_CounterTest));
    EXPECT_TRUE(com::UnregisterProgID(L"ZYN.COUNTERTEST.1"));
    EXPECT_FALSE(com::UnregisterProgID(L"Zyn.CounterTest.1"));
    EXPECT_EQ(CLSIDFromProgID(L"Zyn.CounterTest.1", &c), CO_E_CLASSSTRING);
}

using TaskMemTest = ComTest;

TEST_F(TaskMemTest, AllocatorKnowsItsBlocksAndIgnoresForeignOnes)
{
    auto* p = static_cast<char*>(CoTaskMemAlloc(10));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "abcdefghij", 10);
    p = static_cast<char*>(CoTaskMemRealloc(p, 1000));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::memcmp(p, "abcdefghij", 10), 0) << "realloc keeps the content";
    IMalloc* m = reinterpret_cast<IMalloc*>(Junk());
    EXPECT_EQ(CoGetMalloc(0, &m), E_INVALIDARG);
    EXPECT_EQ(m, nullptr);
    ASSERT_EQ(CoGetMalloc(1, &m), S_OK);
    EXPECT_EQ(m->GetSize(p), 1000u);
    EXPECT_EQ(m->DidAlloc(p), 1);
    int local = 0;
    EXPECT_EQ(m->DidAlloc(&local), 0);
    EXPECT_EQ(m->DidAlloc(nullptr), -1);
    EXPECT_EQ(m->GetSize(&local), static_cast<SIZE_T>(-1));
    CoTaskMemFree(&local); // not ours: ignored, no heap damage
    EXPECT_EQ(CoTaskMemRealloc(&local, 8), nullptr);
    EXPECT_EQ(CoTaskMemRealloc(p, 0), nullptr) << "realloc to 0 frees";
    EXPECT_EQ(m->DidAlloc(p), 0);
    CoTaskMemFree(nullptr);
    EXPECT_EQ(CoTaskMemAlloc(static_cast<SIZE_T>(-1)), nullptr);
    m->Release();
}

} // namespace
} // namespace zyn::test
