#pragma once
// Uniform data transfer: the format and medium records, IDataObject, the format
// enumerator, and ReleaseStgMedium.
//
// A FORMATETC names a clipboard format (CF_* or a registered one), a target device (none
// here), an aspect, a page (-1: all) and the media (TYMED_* bits) the caller can take. A
// STGMEDIUM carries the data on one medium; its pUnkForRelease says who frees it: null
// means the receiver owns the data and ReleaseStgMedium frees it by medium, otherwise
// ReleaseStgMedium only releases that object.
#include <span>

#include "platform/base/wintypes.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/stream.h"
#include "platform/com/unknown.h"

using CLIPFORMAT = WORD;

inline constexpr DWORD TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_FILE = 2, TYMED_ISTREAM = 4, TYMED_ISTORAGE = 8,
                       TYMED_GDI = 16, TYMED_MFPICT = 32, TYMED_ENHMF = 64;
inline constexpr DWORD DVASPECT_CONTENT = 1, DVASPECT_THUMBNAIL = 2, DVASPECT_ICON = 4, DVASPECT_DOCPRINT = 8;
inline constexpr DWORD DATADIR_GET = 1, DATADIR_SET = 2;
inline constexpr DWORD ADVF_NODATA = 1, ADVF_PRIMEFIRST = 2, ADVF_ONLYONCE = 4;

struct DVTARGETDEVICE {
    DWORD tdSize;
    WORD tdDriverNameOffset;
    WORD tdDeviceNameOffset;
    WORD tdPortNameOffset;
    WORD tdExtDevmodeOffset;
    BYTE tdData[1];
};

struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
using LPFORMATETC = FORMATETC*;

struct IStorage; // not provided: TYMED_ISTORAGE media are released through IUnknown

struct STGMEDIUM {
    DWORD tymed;
    union {
        HBITMAP hBitmap;
        HANDLE hMetaFilePict;
        HANDLE hEnhMetaFile;
        HGLOBAL hGlobal;
        LPOLESTR lpszFileName;
        IStream* pstm;
        IUnknown* pstg;
    };
    IUnknown* pUnkForRelease;
};
using LPSTGMEDIUM = STGMEDIUM*;

struct STATDATA;
struct IAdviseSink;
struct IEnumSTATDATA;

struct IEnumFORMATETC : public IUnknown {
    // S_OK when celt records were returned, S_FALSE when fewer (the end came first).
    virtual HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** ppenum) = 0;
};
using LPENUMFORMATETC = IEnumFORMATETC*;

struct IDataObject : public IUnknown {
    // The data in a new medium the caller releases with ReleaseStgMedium.
    virtual HRESULT GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) = 0;
    // The data into a medium the caller provides.
    virtual HRESULT GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) = 0;
    // S_OK when GetData would succeed; DV_E_* says which part does not match.
    virtual HRESULT QueryGetData(FORMATETC* pformatetc) = 0;
    virtual HRESULT GetCanonicalFormatEtc(FORMATETC* pformatectIn, FORMATETC* pformatetcOut) = 0;
    // With fRelease the object owns the medium on success.
    virtual HRESULT SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) = 0;
    virtual HRESULT EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) = 0;
    virtual HRESULT DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink, DWORD* pdwConnection) = 0;
    virtual HRESULT DUnadvise(DWORD dwConnection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** ppenumAdvise) = 0;
};
using LPDATAOBJECT = IDataObject*;

namespace zyn::com {
template <>
struct InterfaceId<IEnumFORMATETC> {
    static constexpr const IID& value = IID_IEnumFORMATETC;
};
template <>
struct InterfaceId<IDataObject> {
    static constexpr const IID& value = IID_IDataObject;
};

// An enumerator over a copy of the given records (target devices are not copied: the
// records handed out carry ptd null). The caller owns the returned reference.
IEnumFORMATETC* CreateFormatEnumerator(std::span<const FORMATETC> formats);
// How ReleaseStgMedium frees a TYMED_GDI medium (the drawing layer's DeleteObject; the OLE
// layer installs it when it loads).
void SetGdiObjectDeleter(BOOL (*deleteObject)(HGDIOBJ));
} // namespace zyn::com

// Frees the medium by its kind when pUnkForRelease is null (GlobalFree, IStream::Release,
// CoTaskMemFree of a file name, DeleteObject of a GDI object), otherwise releases
// pUnkForRelease only; then clears the record to TYMED_NULL. A null pointer is ignored.
void ReleaseStgMedium(LPSTGMEDIUM pmedium);
