#pragma once
// The COM side of command targets: interface maps, dispatch maps and COleException.
//
// A CCmdTarget exposes COM interfaces through nested "parts": each part is a small class
// deriving from one interface, declared in the target's class between
// BEGIN_INTERFACE_PART(Name, IFoo) and END_INTERFACE_PART(Name) (a class XName and a
// member m_xName that knows its target), and implemented with METHOD_PROLOGUE(Class, Name)
// giving pThis, the target. Its QueryInterface, AddRef and Release forward to the
// target's External* functions, so every part shares the target's one reference count.
//
// The interface map, BEGIN_INTERFACE_MAP(Class, Base) ... INTERFACE_PART(Class, iid, Name)
// ... END_INTERFACE_MAP(), says which IID each part answers; a class declares it with
// DECLARE_INTERFACE_MAP(). CCmdTarget::GetInterface walks the maps from the most derived
// class to CCmdTarget; IID_IUnknown is always the first part found that way, so every
// part answers the same IUnknown.
//
// A target whose constructor calls EnableAutomation answers IDispatch through the built-in
// part m_xDispatch (a map may name it for a further IID: INTERFACE_PART(Class, iid,
// Dispatch)). Its members come from the dispatch map, BEGIN_DISPATCH_MAP(Class, Base) ...
// DISP_INVOKE_ID(Class, L"Name", dispid, Member) ... END_DISPATCH_MAP(), walked the same
// way; a member is HRESULT Member(WORD wFlags, DISPPARAMS*, VARIANT* pResult). An empty
// map knows no name: GetIDsOfNames answers DISP_E_UNKNOWNNAME.
//
// Aggregation does not exist: the External* functions are the Internal* ones.
#include "platform/base/exception.h"
#include "platform/base/wintypes.h"
#include "platform/com/oleauto.h"
#include "platform/com/unknown.h"

class CCmdTarget;

// ---- interface maps --------------------------------------------------------------------------------
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;                           // null ends the map
    IUnknown* (*pfnGetPart)(CCmdTarget* target); // the part answering piid
};
struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* (*pfnGetBaseMap)(); // null for CCmdTarget's own map
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                             \
protected:                                                  \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();   \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                                 \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap()                                     \
    {                                                                                           \
        using TheInterfaceBase = theBase;                                                       \
        static const AFX_INTERFACEMAP_ENTRY entries[] = {

#define INTERFACE_PART(theClass, iid, localClass) \
    {&(iid), [](CCmdTarget* t) -> IUnknown* { return &static_cast<theClass*>(t)->m_x##localClass; }},

#define END_INTERFACE_MAP()                                                                   \
    {nullptr, nullptr}                                                                        \
    }                                                                                         \
    ;                                                                                         \
    static const AFX_INTERFACEMAP map = {&TheInterfaceBase::GetThisInterfaceMap, &entries[0]}; \
    return &map;                                                                              \
    }

// A nested part: class X<localClass> deriving from baseInterface, with QueryInterface,
// AddRef and Release declared for the class to define (normally forwarding to
// pThis->ExternalQueryInterface, ExternalAddRef and ExternalRelease).
#define BEGIN_INTERFACE_PART(localClass, baseInterface)                                  \
    class X##localClass : public baseInterface {                                         \
    public:                                                                              \
        explicit X##localClass(void* outer) : m_pOuterTarget(outer) {}                   \
        X##localClass(const X##localClass&) = delete;                                    \
        X##localClass& operator=(const X##localClass&) = delete;                         \
        HRESULT QueryInterface(REFIID riid, void** ppvObj) override;                     \
        ULONG AddRef() override;                                                         \
        ULONG Release() override;                                                        \
        /* The target this part belongs to (as the class that declared the part). */     \
        void* OuterTarget() const { return m_pOuterTarget; }                             \
                                                                                         \
    private:                                                                             \
        void* m_pOuterTarget;                                                            \
                                                                                         \
    public:

#define END_INTERFACE_PART(localClass) \
    }                                  \
    m_x##localClass{this};             \
    friend class X##localClass;

// Inside a method of part localClass of theClass: pThis is the target.
#define METHOD_PROLOGUE(theClass, localClass)                                   \
    theClass* const pThis = static_cast<theClass*>(this->OuterTarget());       \
    (void)pThis;

// ---- dispatch maps ---------------------------------------------------------------------------------
struct AFX_DISPMAP_ENTRY {
    const wchar_t* lpszName; // null ends the map
    DISPID lDispID;
    HRESULT (*pfnInvoke)(CCmdTarget* target, WORD wFlags, DISPPARAMS* params, VARIANT* result);
};
struct AFX_DISPMAP {
    const AFX_DISPMAP* (*pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

#define DECLARE_DISPATCH_MAP()                            \
protected:                                                \
    static const AFX_DISPMAP* GetThisDispatchMap();       \
    const AFX_DISPMAP* GetDispatchMap() const override;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                              \
    const AFX_DISPMAP* theClass::GetDispatchMap() const { return GetThisDispatchMap(); }      \
    const AFX_DISPMAP* theClass::GetThisDispatchMap()                                         \
    {                                                                                         \
        using TheDispatchBase = baseClass;                                                    \
        static const AFX_DISPMAP_ENTRY entries[] = {

// A member called as HRESULT theClass::memberFn(WORD wFlags, DISPPARAMS*, VARIANT* pResult);
// pResult may be null (the caller wants no result) and is VT_EMPTY otherwise.
#define DISP_INVOKE_ID(theClass, szExternalName, dispid, memberFn)                       \
    {szExternalName, dispid, [](CCmdTarget* t, WORD f, DISPPARAMS* p, VARIANT* r) -> HRESULT { \
         return static_cast<theClass*>(t)->memberFn(f, p, r);                            \
     }},

#define END_DISPATCH_MAP()                                                              \
    {nullptr, DISPID_UNKNOWN, nullptr}                                                  \
    }                                                                                   \
    ;                                                                                   \
    static const AFX_DISPMAP map = {&TheDispatchBase::GetThisDispatchMap, &entries[0]}; \
    return &map;                                                                        \
    }

// ---- COleException ---------------------------------------------------------------------------------
// A COM failure raised as a class-library exception; m_sc is the failing HRESULT.
class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
    // The HRESULT an exception stands for: m_sc of a COleException, E_OUTOFMEMORY for a
    // memory exception, E_NOTIMPL for a not-supported one, E_FAIL for any other (and null).
    static SCODE Process(const CException* pAnyException);
    // The code's description, or "OLE error 0x8XXXXXXX" for a code without one.
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    SCODE m_sc;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
