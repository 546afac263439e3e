#pragma once
// The result codes of COM and OLE. An HRESULT is 32 bits: bit 31 says failure, bits 16-26
// name the facility (4: interfaces, 3: storage, 7: Win32), the low word the code. Success
// codes other than S_OK (S_FALSE, DRAGDROP_S_*) carry information and pass SUCCEEDED.
// S_OK, S_FALSE, the general E_* codes, SUCCEEDED/FAILED and MAKE_HRESULT live in
// platform/base/wintypes.h, since code below COM returns them too.
#include "platform/base/wintypes.h"

using SCODE = LONG;

constexpr SCODE GetScode(HRESULT hr) { return hr; }
constexpr HRESULT ResultFromScode(SCODE sc) { return sc; }
constexpr DWORD HRESULT_CODE(HRESULT hr) { return static_cast<DWORD>(hr) & 0xFFFFu; }
constexpr DWORD HRESULT_FACILITY(HRESULT hr) { return (static_cast<DWORD>(hr) >> 16) & 0x1FFFu; }
constexpr DWORD HRESULT_SEVERITY(HRESULT hr) { return (static_cast<DWORD>(hr) >> 31) & 1u; }
inline constexpr DWORD FACILITY_NULL = 0, FACILITY_RPC = 1, FACILITY_DISPATCH = 2, FACILITY_STORAGE = 3,
                       FACILITY_ITF = 4, FACILITY_WIN32 = 7;
inline constexpr HRESULT NOERROR = 0;

namespace zyn::com::detail {
constexpr HRESULT Hr(uint32_t v) { return static_cast<HRESULT>(v); }
}

// ---- class objects and activation -------------------------------------------------------------
inline constexpr HRESULT CLASS_E_NOAGGREGATION = zyn::com::detail::Hr(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = zyn::com::detail::Hr(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = zyn::com::detail::Hr(0x80040154u);
inline constexpr HRESULT REGDB_E_READREGDB = zyn::com::detail::Hr(0x80040150u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = zyn::com::detail::Hr(0x800401F0u);
inline constexpr HRESULT CO_E_ALREADYINITIALIZED = zyn::com::detail::Hr(0x800401F1u);
inline constexpr HRESULT CO_E_CLASSSTRING = zyn::com::detail::Hr(0x800401F3u);
inline constexpr HRESULT CO_E_IIDSTRING = zyn::com::detail::Hr(0x800401F4u);
inline constexpr HRESULT CO_E_OBJNOTREG = zyn::com::detail::Hr(0x800401FBu);
inline constexpr HRESULT CO_E_OBJISREG = zyn::com::detail::Hr(0x800401FCu);
inline constexpr HRESULT RPC_E_CHANGED_MODE = zyn::com::detail::Hr(0x80010106u);

// ---- OLE and data transfer ---------------------------------------------------------------------------
inline constexpr HRESULT OLE_E_ADVF = zyn::com::detail::Hr(0x80040001u);
inline constexpr HRESULT OLE_E_ENUM_NOMORE = zyn::com::detail::Hr(0x80040002u);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = zyn::com::detail::Hr(0x80040003u);
inline constexpr HRESULT OLE_E_NOCONNECTION = zyn::com::detail::Hr(0x80040004u);
inline constexpr HRESULT OLE_E_NOTRUNNING = zyn::com::detail::Hr(0x80040005u);
inline constexpr HRESULT OLE_E_BLANK = zyn::com::detail::Hr(0x80040007u);
inline constexpr HRESULT OLE_E_INVALIDHWND = zyn::com::detail::Hr(0x8004000Fu);
inline constexpr HRESULT OLE_E_WRONGCOMPOBJ = zyn::com::detail::Hr(0x8004000Eu);
inline constexpr HRESULT OLE_S_USEREG = zyn::com::detail::Hr(0x00040000u);
inline constexpr HRESULT DV_E_FORMATETC = zyn::com::detail::Hr(0x80040064u);
inline constexpr HRESULT DV_E_DVTARGETDEVICE = zyn::com::detail::Hr(0x80040065u);
inline constexpr HRESULT DV_E_STGMEDIUM = zyn::com::detail::Hr(0x80040066u);
inline constexpr HRESULT DV_E_STATDATA = zyn::com::detail::Hr(0x80040067u);
inline constexpr HRESULT DV_E_LINDEX = zyn::com::detail::Hr(0x80040068u);
inline constexpr HRESULT DV_E_TYMED = zyn::com::detail::Hr(0x80040069u);
inline constexpr HRESULT DV_E_CLIPFORMAT = zyn::com::detail::Hr(0x8004006Au);
inline constexpr HRESULT DV_E_DVASPECT = zyn::com::detail::Hr(0x8004006Bu);
inline constexpr HRESULT DATA_S_SAMEFORMATETC = zyn::com::detail::Hr(0x00040130u);
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = zyn::com::detail::Hr(0x80040100u);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = zyn::com::detail::Hr(0x80040101u);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = zyn::com::detail::Hr(0x80040102u);
inline constexpr HRESULT DRAGDROP_S_DROP = zyn::com::detail::Hr(0x00040100u);
inline constexpr HRESULT DRAGDROP_S_CANCEL = zyn::com::detail::Hr(0x00040101u);
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = zyn::com::detail::Hr(0x00040102u);
inline constexpr HRESULT CLIPBRD_E_CANT_OPEN = zyn::com::detail::Hr(0x800401D0u);
inline constexpr HRESULT CLIPBRD_E_CANT_SET = zyn::com::detail::Hr(0x800401D2u);

// ---- structured storage and streams ----------------------------------------------------------------
inline constexpr HRESULT STG_E_INVALIDFUNCTION = zyn::com::detail::Hr(0x80030001u);
inline constexpr HRESULT STG_E_ACCESSDENIED = zyn::com::detail::Hr(0x80030005u);
inline constexpr HRESULT STG_E_INSUFFICIENTMEMORY = zyn::com::detail::Hr(0x80030008u);
inline constexpr HRESULT STG_E_INVALIDPOINTER = zyn::com::detail::Hr(0x80030009u);
inline constexpr HRESULT STG_E_MEDIUMFULL = zyn::com::detail::Hr(0x80030070u);
inline constexpr HRESULT STG_E_INVALIDPARAMETER = zyn::com::detail::Hr(0x80030057u);
inline constexpr HRESULT STG_E_INVALIDFLAG = zyn::com::detail::Hr(0x800300FFu);
inline constexpr HRESULT STG_E_REVERTED = zyn::com::detail::Hr(0x80030102u);
