#pragma once
// COleDataObject: the receiving side of data transfer, a wrapper around an IDataObject
// (the data of a drag while it is over a drop target, or the clipboard's).
//
// Attach takes an interface pointer, with or without taking over the caller's reference;
// the wrapper releases only a reference it owns. IsDataAvailable asks QueryGetData;
// GetData fills a medium the caller releases with ReleaseStgMedium; GetGlobalData always
// answers a block the caller owns and frees (a medium that someone else frees is copied,
// a stream is read into a new block); GetFileData wraps such a block in a CSharedFile.
// BeginEnumFormats / GetNextFormat walk the formats the data object offers.
#include "platform/afx/ole/ole2.h"
#include "platform/base/wintypes.h"
#include "platform/com/dataobject.h"

class CFile;

class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Releases what was attached before. With bAutoRelease the wrapper takes over the
    // caller's reference; without, it borrows the pointer for its own life.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    // Gives the pointer back without releasing it.
    LPDATAOBJECT Detach();
    // Drops the pointer (releasing it when owned) and the format enumeration.
    void Release();
    // The clipboard's data (a data object over the clipboard's current formats).
    BOOL AttachClipboard();
    // The pointer, AddRef'd for the caller when bAddRef.
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    void BeginEnumFormats();
    // The next format offered; FALSE at the end (or before BeginEnumFormats).
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

    // lpFormatEtc null: content aspect, all pages, any medium.
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // A block the caller owns (GlobalFree), or null.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // A CSharedFile the caller deletes, or null.
    CFile* GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

protected:
    LPDATAOBJECT m_lpDataObject = nullptr;
    LPENUMFORMATETC m_lpEnumerator = nullptr;
    BOOL m_bAutoRelease = TRUE;
    BOOL m_bClipboard = FALSE;
};
