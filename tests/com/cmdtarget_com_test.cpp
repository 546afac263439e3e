// Command targets as COM objects: interface maps with nested parts and base maps, the
// rules of QueryInterface, final release, automation through dispatch maps, a window's
// final release, and COleException.
#include <string>
#include <vector>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/wnd.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/com/com_test_support.h"

namespace zyn::test {

// {0D7C61A2-5B3E-4F00-8C1D-2A9E3F4B5C60} and the next two.
inline constexpr IID IID_IFooTest{0x0D7C61A2, 0x5B3E, 0x4F00, {0x8C, 0x1D, 0x2A, 0x9E, 0x3F, 0x4B, 0x5C, 0x60}};
inline constexpr IID IID_IBarTest{0x0D7C61A2, 0x5B3E, 0x4F00, {0x8C, 0x1D, 0x2A, 0x9E, 0x3F, 0x4B, 0x5C, 0x61}};
inline constexpr IID IID_IOwnDispatchTest{0x0D7C61A2, 0x5B3E, 0x4F00, {0x8C, 0x1D, 0x2A, 0x9E, 0x3F, 0x4B, 0x5C, 0x62}};

struct IFooTest : public IUnknown {
    virtual int Foo() = 0;
};
struct IBarTest : public IUnknown {
    virtual int Bar() = 0;
};

// Deletions of the targets below, by name.
std::vector<std::string>& Deleted()
{
    static std::vector<std::string> d;
    return d;
}

// A base target with one part.
class CFooTarget : public CCmdTarget {
public:
    explicit CFooTarget(bool automation = false)
    {
        if (automation)
            EnableAutomation();
    }
    ~CFooTarget() override { Deleted().push_back("foo"); }
    int m_value = 10;

    BEGIN_INTERFACE_PART(Foo, IFooTest)
        int Foo() override;
    END_INTERFACE_PART(Foo)
    DECLARE_INTERFACE_MAP()
    DECLARE_DISPATCH_MAP()
public:
    HRESULT Base(WORD, DISPPARAMS*, VARIANT* result)
    {
        if (result) {
            result->vt = VT_I4;
            result->lVal = m_value;
        }
        return S_OK;
    }
};

BEGIN_INTERFACE_MAP(CFooTarget, CCmdTarget)
    INTERFACE_PART(CFooTarget, IID_IFooTest, Foo)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(CFooTarget, CCmdTarget)
    DISP_INVOKE_ID(CFooTarget, L"Base", 7, Base)
END_DISPATCH_MAP()

HRESULT CFooTarget::XFoo::QueryInterface(REFIID riid, void** ppv)
{
    METHOD_PROLOGUE(CFooTarget, Foo)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&riid, ppv));
}
ULONG CFooTarget::XFoo::AddRef()
{
    METHOD_PROLOGUE(CFooTarget, Foo)
    return pThis->ExternalAddRef();
}
ULONG CFooTarget::XFoo::Release()
{
    METHOD_PROLOGUE(CFooTarget, Foo)
    return pThis->ExternalRelease();
}
int CFooTarget::XFoo::Foo()
{
    METHOD_PROLOGUE(CFooTarget, Foo)
    return pThis->m_value;
}

// A derived target adding a part, its own dispatch IID and dispatch members.
class CFooBarTarget : public CFooTarget {
public:
    explicit CFooBarTarget(bool automation = false) : CFooTarget(automation) {}
    ~CFooBarTarget() override { Deleted().push_back("foobar"); }

    BEGIN_INTERFACE_PART(Bar, IBarTest)
        int Bar() override;
    END_INTERFACE_PART(Bar)
    DECLARE_INTERFACE_MAP()
    DECLARE_DISPATCH_MAP()
public:
    HRESULT Twice(WORD, DISPPARAMS* params, VARIANT* result)
    {
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (params->rgvarg[0].vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        if (result) {
            result->vt = VT_I4;
            result->lVal = 2 * params->rgvarg[0].lVal;
        }
        return S_OK;
    }
    HRESULT Fails(WORD, DISPPARAMS*, VARIANT* result)
    {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(L"half-made result");
        AfxThrowOleException(E_ACCESSDENIED);
    }
};

BEGIN_INTERFACE_MAP(CFooBarTarget, CFooTarget)
    INTERFACE_PART(CFooBarTarget, IID_IBarTest, Bar)
    INTERFACE_PART(CFooBarTarget, IID_IOwnDispatchTest, Dispatch)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(CFooBarTarget, CFooTarget)
    DISP_INVOKE_ID(CFooBarTarget, L"Twice", 1, Twice)
    DISP_INVOKE_ID(CFooBarTarget, L"Fails", 2, Fails)
END_DISPATCH_MAP()

HRESULT CFooBarTarget::XBar::QueryInterface(REFIID riid, void** ppv)
{
    METHOD_PROLOGUE(CFooBarTarget, Bar)
    return static_cast<HRESULT>(pThis->ExternalQueryInterface(&riid, ppv));
}
ULONG CFooBarTarget::XBar::AddRef()
{
    METHOD_PROLOGUE(CFooBarTarget, Bar)
    return pThis->ExternalAddRef();
}
ULONG CFooBarTarget::XBar::Release()
{
    METHOD_PROLOGUE(CFooBarTarget, Bar)
    return pThis->ExternalRelease();
}
int CFooBarTarget::XBar::Bar()
{
    METHOD_PROLOGUE(CFooBarTarget, Bar)
    return pThis->m_value + 1;
}

namespace {

class CmdTargetComTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        Deleted().clear();
        m_blocks = com::TaskMemBlockCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(com::TaskMemBlockCount(), m_blocks) << "task memory left allocated";
        ComTest::TearDown();
    }
    size_t m_blocks = 0;
};

IUnknown* Query(IUnknown* from, REFIID iid, HRESULT* hr = nullptr)
{
    void* p = Junk();
    const HRESULT r = from->QueryInterface(iid, &p);
    if (hr)
        *hr = r;
    if (FAILED(r)) {
        EXPECT_EQ(p, nullptr) << "a failed QueryInterface leaves null";
        return nullptr;
    }
    auto* u = static_cast<IUnknown*>(p);
    u->Release(); // the tests hold the target themselves
    return u;
}

TEST_F(CmdTargetComTest, QueryInterfaceFollowsTheRulesThroughPartsAndBaseMaps)
{
    CFooBarTarget target(true);
    void* pv = nullptr;
    ASSERT_EQ(target.ExternalQueryInterface(&IID_IFooTest, &pv), static_cast<DWORD>(S_OK));
    auto* foo = static_cast<IFooTest*>(pv);
    EXPECT_EQ(target.m_dwRef, 2) << "QueryInterface adds a reference";
    EXPECT_EQ(foo->Foo(), 10) << "the part reaches its target (pThis)";
    foo->Release();
    EXPECT_EQ(target.m_dwRef, 1);

    IUnknown* fooPart = &target.m_xFoo;
    IUnknown* barPart = &target.m_xBar;
    IUnknown* dispPart = target.GetIDispatch(FALSE);
    ASSERT_NE(dispPart, nullptr);
    IUnknown* parts[] = {fooPart, barPart, dispPart};
    struct Row {
        const char* name;
        const IID* iid;
        IUnknown* expected; // null: E_NOINTERFACE
    };
    const Row rows[] = {
        // IUnknown is the first part of the most derived map, from every part.
        {"IUnknown", &IID_IUnknown, barPart},
        {"derived part", &IID_IBarTest, barPart},
        {"base map's part", &IID_IFooTest, fooPart},
        {"IDispatch", &IID_IDispatch, dispPart},
        {"own dispatch IID", &IID_IOwnDispatchTest, dispPart},
        {"unknown", &IID_IStream, nullptr},
    };
    for (IUnknown* from : parts) {
        for (const Row& r : rows) {
            HRESULT hr = S_OK;
            IUnknown* got = Query(from, *r.iid, &hr);
            EXPECT_EQ(got, r.expected) << r.name;
            EXPECT_EQ(hr, r.expected ? S_OK : E_NOINTERFACE) << r.name;
            // Symmetric and transitive: from what was reached, every row answers alike.
            if (got) {
                for (const Row& again : rows)
                    EXPECT_EQ(Query(got, *again.iid), again.expected) << r.name << " then " << again.name;
            }
        }
    }
    EXPECT_EQ(target.m_dwRef, 1) << "every reference given back";
    EXPECT_EQ(fooPart->QueryInterface(IID_IFooTest, nullptr), E_POINTER);
    EXPECT_EQ(target.InternalQueryInterface(nullptr, &pv), static_cast<DWORD>(E_POINTER));
    EXPECT_EQ(pv, nullptr);

    // A base-class target answers its own map only; its IUnknown is its first part.
    CFooTarget base;
    EXPECT_EQ(base.GetInterface(&IID_IUnknown), static_cast<IUnknown*>(&base.m_xFoo));
    EXPECT_EQ(base.GetInterface(&IID_IBarTest), nullptr);
    EXPECT_EQ(base.GetInterface(&IID_IDispatch), nullptr) << "no automation, no IDispatch";
    EXPECT_EQ(base.GetIDispatch(FALSE), nullptr);
    // A plain command target is no COM object at all.
    CCmdTarget plain;
    EXPECT_EQ(plain.GetInterface(&IID_IUnknown), nullptr);
}

TEST_F(CmdTargetComTest, TheLastReleaseThroughAnyPartDeletesTheTarget)
{
    const size_t live = com::LiveObjectCount();
    auto* target = new CFooBarTarget;
    EXPECT_EQ(com::LiveObjectCount(), live) << "not a COM object until it hands out an interface";
    void* pv = nullptr;
    ASSERT_EQ(target->InternalQueryInterface(&IID_IBarTest, &pv), static_cast<DWORD>(S_OK));
    EXPECT_EQ(com::LiveObjectCount(), live + 1);
    auto* bar = static_cast<IBarTest*>(pv);
    IFooTest* foo = nullptr;
    ASSERT_EQ(bar->QueryInterface(IID_IFooTest, reinterpret_cast<void**>(&foo)), S_OK);
    EXPECT_EQ(foo->Foo() + 1, bar->Bar());
    EXPECT_EQ(target->InternalRelease(), 2u) << "the creator lets go";
    EXPECT_EQ(bar->Release(), 1u);
    EXPECT_TRUE(Deleted().empty());
    EXPECT_EQ(foo->Release(), 0u);
    EXPECT_EQ(Deleted(), (std::vector<std::string>{"foobar", "foo"})) << "deleted whole, once";
    EXPECT_EQ(com::LiveObjectCount(), live);
}

TEST_F(CmdTargetComTest, AutomationFindsMembersOfEveryMapByNameWithoutCase)
{
    auto* target = new CFooBarTarget(true);
    IDispatch* disp = target->GetIDispatch(TRUE);
    target->InternalRelease(); // the dispatch reference keeps it alive now
    EXPECT_EQ(CCmdTarget::FromIDispatch(disp), target);

    UINT count = 99;
    EXPECT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(Junk());
    EXPECT_EQ(disp->GetTypeInfo(0, 0, &info), DISP_E_BADINDEX);
    EXPECT_EQ(info, nullptr);

    struct Row {
        const wchar_t* name;
        DISPID expected;
    };
    const Row rows[] = {
        {L"Twice", 1}, {L"TWICE", 1}, {L"fails", 2},
        {L"Base", 7},  // from the base class's map
        {L"Thrice", DISPID_UNKNOWN}, {L"", DISPID_UNKNOWN},
    };
    for (const Row& r : rows) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(r.name)};
        DISPID id = 12345;
        EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, names, 1, 0, &id), r.expected == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK)
            << std::wstring(r.name).size();
        EXPECT_EQ(id, r.expected);
    }
    // Parameter names are not known (members take positional arguments only).
    LPOLESTR two[] = {const_cast<LPOLESTR>(L"Twice"), const_cast<LPOLESTR>(L"value")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, two, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
    EXPECT_EQ(disp->GetIDsOfNames(IID_IFooTest, two, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);

    VARIANT arg;
    arg.vt = VT_I4;
    arg.lVal = 21;
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    result.vt = VT_I4;
    result.lVal = -1;
    EXPECT_EQ(disp->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 42);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(disp->Invoke(7, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.lVal, 10);

    struct Bad {
        const char* name;
        DISPID id;
        const IID* iid;
        DISPPARAMS* params;
        HRESULT expected;
    };
    DISPID named = 0;
    DISPPARAMS withName{&arg, &named, 1, 1};
    const Bad bad[] = {
        {"unknown member", 99, &IID_NULL, &params, DISP_E_MEMBERNOTFOUND},
        {"interface given", 1, &IID_IFooTest, &params, DISP_E_UNKNOWNINTERFACE},
        {"no parameters", 1, &IID_NULL, nullptr, E_INVALIDARG},
        {"named argument", 1, &IID_NULL, &withName, DISP_E_NONAMEDARGS},
        {"member's own refusal", 1, &IID_NULL, &none, DISP_E_BADPARAMCOUNT},
    };
    for (const Bad& b : bad)
        EXPECT_EQ(disp->Invoke(b.id, *b.iid, 0, DISPATCH_METHOD, b.params, nullptr, nullptr, nullptr), b.expected)
            << b.name;

    // A member's exception becomes DISP_E_EXCEPTION with its code, and nothing it left
    // in the result stays allocated.
    EXCEPINFO ex{};
    EXPECT_EQ(disp->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, &result, &ex, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(ex.scode, E_ACCESSDENIED);
    EXPECT_NE(ex.bstrDescription, nullptr);
    EXPECT_EQ(result.vt, VT_EMPTY);
    com::ClearExcepInfo(ex);

    EXPECT_TRUE(Deleted().empty());
    EXPECT_EQ(disp->Release(), 0u);
    EXPECT_EQ(Deleted().size(), 2u);
}

TEST_F(CmdTargetComTest, EmptyDispatchMapKnowsNoName)
{
    class CEmpty : public CCmdTarget {
    public:
        CEmpty() { EnableAutomation(); }
    } target;
    IDispatch* disp = target.GetIDispatch(FALSE);
    ASSERT_NE(disp, nullptr);
    EXPECT_EQ(target.GetInterface(&IID_IUnknown), static_cast<IUnknown*>(disp)) << "its only part is its identity";
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Anything")};
    DISPID id = 0;
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr), E_INVALIDARG);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(disp->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
        DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(CCmdTarget::FromIDispatch(nullptr), nullptr);
}

// A window object that notes its final clean-up.
class CNotingWnd : public CWnd {
public:
    int postNcDestroy = 0;
    void PostNcDestroy() override { ++postNcDestroy; }
};

TEST_F(CmdTargetComTest, AWindowsFinalReleaseDestroysTheWindowNotTheObject)
{
    CNotingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"w", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    const HWND hwnd = wnd.m_hWnd;
    wnd.ExternalAddRef();
    EXPECT_EQ(wnd.ExternalRelease(), 1u);
    EXPECT_TRUE(IsWindow(hwnd)) << "not the last reference";
    EXPECT_EQ(wnd.ExternalRelease(), 0u);
    EXPECT_FALSE(IsWindow(hwnd)) << "the last one destroys the window";
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.postNcDestroy, 1);

    CNotingWnd bare; // no window: only the clean-up runs
    EXPECT_EQ(bare.ExternalRelease(), 0u);
    EXPECT_EQ(bare.postNcDestroy, 1);
    EXPECT_EQ(user::LiveWindowCount(), 0u);
}

TEST_F(CmdTargetComTest, OleExceptionsCarryTheirCode)
{
    try {
        AfxThrowOleException(CO_E_CLASSSTRING);
    } catch (CException* e) {
        auto* ole = dynamic_cast<COleException*>(e);
        ASSERT_NE(ole, nullptr);
        EXPECT_EQ(ole->m_sc, CO_E_CLASSSTRING);
        EXPECT_EQ(COleException::Process(e), CO_E_CLASSSTRING);
        e->Delete();
    }
    struct Row {
        const char* name;
        SCODE sc;
        const wchar_t* text;
    };
    const Row rows[] = {
        {"known", REGDB_E_CLASSNOTREG, L"Class not registered"},
        {"unknown", static_cast<SCODE>(0x80041234u), L"OLE error 0x80041234"},
    };
    for (const Row& r : rows) {
        COleException e(r.sc);
        e.m_bAutoDelete = FALSE;
        wchar_t buf[64];
        ASSERT_TRUE(e.GetErrorMessage(buf, 64)) << r.name;
        EXPECT_STREQ(buf, r.text) << r.name;
        wchar_t small[6];
        ASSERT_TRUE(e.GetErrorMessage(small, 6)) << r.name;
        EXPECT_EQ(std::wstring(small), std::wstring(r.text).substr(0, 5)) << r.name << ": cut to the buffer";
    }
    CMemoryException mem;
    EXPECT_EQ(COleException::Process(&mem), E_OUTOFMEMORY);
    CUserException user;
    EXPECT_EQ(COleException::Process(&user), E_FAIL);
    EXPECT_EQ(COleException::Process(nullptr), E_FAIL);
}

} // namespace
} // namespace zyn::test
