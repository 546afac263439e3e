#pragma once
// Automation: BSTR strings, VARIANT values and IDispatch, the late-bound calling
// convention through which scripts and hosts reach an object by member name.
//
// A BSTR points at the first character of a block from the task allocator that holds a
// 32-bit byte count just before the characters and a terminator after them, so the text
// may hold NULs and its length is known without scanning. Lengths count wchar_t units,
// as CString does (UTF-16 semantics, one unit per wchar_t here). A null BSTR is the empty
// string to every function. Every BSTR block counts among the task allocator's live
// blocks, so a test sees a string that nobody freed.
//
// A VARIANT holds one value tagged by its VARTYPE. The types this layer knows are
// VT_EMPTY, VT_NULL, VT_I4, VT_BOOL (VARIANT_TRUE is -1), VT_ERROR, VT_BSTR (the variant
// owns the string), VT_UNKNOWN and VT_DISPATCH (the variant owns one reference); any other
// tag is refused with DISP_E_BADVARTYPE and the variant is left as it was. VariantClear
// frees what the variant owns and leaves VT_EMPTY; VariantCopy gives the destination
// its own string copy or reference.
//
// IDispatch names members by DISPID: GetIDsOfNames maps a name (without case) to its
// DISPID, Invoke calls it with the arguments in DISPPARAMS (last argument first, as the
// convention has it). No type information exists here: GetTypeInfoCount answers 0.
#include "platform/base/locale.h" // DISP_E_TYPEMISMATCH and DISP_E_OVERFLOW live with the date parser
#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/unknown.h"

using OLECHAR = wchar_t;
using BSTR = OLECHAR*;
using LPBSTR = BSTR*;
using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
using DISPID = LONG;
using MEMBERID = DISPID;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// ---- result codes of automation ----------------------------------------------------------------------
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = zyn::com::detail::Hr(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = zyn::com::detail::Hr(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = zyn::com::detail::Hr(0x80020004u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = zyn::com::detail::Hr(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = zyn::com::detail::Hr(0x80020007u);
inline constexpr HRESULT DISP_E_BADVARTYPE = zyn::com::detail::Hr(0x80020008u);
inline constexpr HRESULT DISP_E_EXCEPTION = zyn::com::detail::Hr(0x80020009u);
inline constexpr HRESULT DISP_E_BADINDEX = zyn::com::detail::Hr(0x8002000Bu);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = zyn::com::detail::Hr(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = zyn::com::detail::Hr(0x8002000Fu);

// ---- BSTR -------------------------------------------------------------------------------------------------
// A copy of the terminated text; null for null text or when memory runs out.
BSTR SysAllocString(const OLECHAR* psz);
// A string of cch units copied from pch, or zero-filled when pch is null; null when
// memory runs out or cch is too large.
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);
// Frees a BSTR; null and pointers that are no live BSTR are ignored.
void SysFreeString(BSTR bstrString);
// The length in units (0 for null); SysStringByteLen in bytes.
UINT SysStringLen(BSTR pbstr);
UINT SysStringByteLen(BSTR bstr);
// Replaces *pbstr by a copy of psz (which may point into *pbstr). FALSE, with *pbstr
// unchanged, for a null pbstr or when memory runs out.
INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);

// ---- VARIANT ---------------------------------------------------------------------------------------------
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

struct IDispatch;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        INT intVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
    };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;
using LPVARIANTARG = VARIANT*;

// Accessors for code written against the usual names (V_VT(&v) = VT_I4).
inline VARTYPE& V_VT(VARIANT* v) { return v->vt; }
inline LONG& V_I4(VARIANT* v) { return v->lVal; }
inline VARIANT_BOOL& V_BOOL(VARIANT* v) { return v->boolVal; }
inline BSTR& V_BSTR(VARIANT* v) { return v->bstrVal; }
inline IUnknown*& V_UNKNOWN(VARIANT* v) { return v->punkVal; }
inline IDispatch*& V_DISPATCH(VARIANT* v) { return v->pdispVal; }
inline SCODE& V_ERROR(VARIANT* v) { return v->scode; }

// Marks the variant VT_EMPTY (nothing it held is freed: use on fresh memory).
void VariantInit(VARIANTARG* pvarg);
// Frees what the variant owns and leaves it VT_EMPTY. E_INVALIDARG for null;
// DISP_E_BADVARTYPE (variant untouched) for a type this layer does not know.
HRESULT VariantClear(VARIANTARG* pvarg);
// Clears the destination, then gives it a copy of the source: a string of its own, or
// one more reference. Copying a variant onto itself does nothing. A source of an unknown
// type fails with DISP_E_BADVARTYPE before the destination is touched; E_OUTOFMEMORY
// leaves the destination VT_EMPTY.
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);

// ---- IDispatch ---------------------------------------------------------------------------------------------
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;
inline constexpr DISPID DISPID_EVALUATE = -5;
inline constexpr DISPID DISPID_CONSTRUCTOR = -6;
inline constexpr DISPID DISPID_DESTRUCTOR = -7;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

struct DISPPARAMS {
    VARIANTARG* rgvarg;          // the arguments, last one first
    DISPID* rgdispidNamedArgs;   // the DISPIDs of the named arguments (the first cNamedArgs of rgvarg)
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};
using LPEXCEPINFO = EXCEPINFO*;

// Type information does not exist in this layer; the type stays incomplete.
struct ITypeInfo;

struct IDispatch : public IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    // riid must be IID_NULL. rgDispId[i] receives the DISPID of rgszNames[i] (the member
    // first, then its parameter names), DISPID_UNKNOWN for a name not known.
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
};
using LPDISPATCH = IDispatch*;

namespace zyn::com {
template <>
struct InterfaceId<IDispatch> {
    static constexpr const IID& value = IID_IDispatch;
};

// Frees the strings of an exception record and zeroes it.
void ClearExcepInfo(EXCEPINFO& info);

// Owns one BSTR and frees it when it goes.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const OLECHAR* text) : m_p(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    Bstr& operator=(Bstr&& o) noexcept
    {
        if (this != &o) {
            SysFreeString(m_p);
            m_p = o.m_p;
            o.m_p = nullptr;
        }
        return *this;
    }
    ~Bstr() { SysFreeString(m_p); }
    // Takes over a string the caller owns.
    static Bstr Attach(BSTR p)
    {
        Bstr b;
        b.m_p = p;
        return b;
    }
    BSTR get() const { return m_p; }
    UINT Length() const { return SysStringLen(m_p); }
    // Gives the string up to the caller.
    BSTR Detach()
    {
        BSTR p = m_p;
        m_p = nullptr;
        return p;
    }
    // For out parameters: frees what is held and returns the slot.
    BSTR* Put()
    {
        SysFreeString(m_p);
        m_p = nullptr;
        return &m_p;
    }

private:
    BSTR m_p = nullptr;
};
} // namespace zyn::com
