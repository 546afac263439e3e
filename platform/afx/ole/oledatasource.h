#pragma once
// COleDataSource: the giving side of data transfer, the data of a drag or of the
// clipboard offered through IDataObject.
//
// The source keeps a cache of formats: CacheGlobalData and CacheData hand it data it
// then owns (caching a format again replaces the old data); DelayRenderData promises a
// format that OnRenderData / OnRenderGlobalData produce when asked. Every GetData of a
// global-memory format answers a fresh copy that the consumer owns and frees, so no
// consumer can change or free what another one reads; streams are handed out as clones
// with their own seek pointer; other media stay the source's (pUnkForRelease is the
// source). It is a reference-counted CCmdTarget: it starts with one reference, held by
// its creator, and deletes itself on its last release (InternalRelease, or the
// interface's Release), so it is made with new.
//
// DoDragDrop waits, through the drop source's OnBeginDrag, until the mouse leaves the
// start rectangle or the drag delay passes, and then runs the OLE drag; it answers the
// effect of the drop (DROPEFFECT_NONE for a cancel or a drag that never started).
#include <vector>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/ole/ole2.h"
#include "platform/com/dataobject.h"
#include "platform/com/unknown.h"

class CFile;
class COleDropSource;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // Takes hGlobal over. lpFormatEtc null: content aspect, all pages, TYMED_HGLOBAL.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // Takes the medium over (the record is left TYMED_NULL).
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    void DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // Frees every cached format.
    void Empty();

    // Renders a delayed format. The default asks OnRenderGlobalData for global memory,
    // then OnRenderFileData through a CSharedFile; FALSE when neither renders.
    virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
    // The defaults render nothing.
    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
    virtual BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile);
    // IDataObject::SetData; the default refuses.
    virtual BOOL OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease);

    // dwEffects: the effects the drop may have. lpRectStartDrag (screen coordinates): the
    // drag starts when the cursor leaves it; null: an SM_CXDRAG x SM_CYDRAG rectangle
    // around the point of the last input message (the button-down that started the drag).
    // pDropSource null: a default COleDropSource.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
        LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // Puts a copy of every cached global-memory format on the clipboard and hands the
    // source over to it (the source is released; do not use the pointer afterwards).
    void SetClipboard();

    // The object's interfaces (IID_IUnknown, IID_IDataObject); not AddRef'd; null for
    // others.
    LPUNKNOWN GetInterface(const void* piid);
    LPDATAOBJECT GetDataObject() { return &m_xDataObject; }

protected:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium; // TYMED_NULL: rendered on demand
        bool delayed;
    };
    std::vector<Entry> m_cache;

    // The entry that serves f (null with the reason in *pHr).
    Entry* Lookup(const FORMATETC& f, HRESULT* pHr);
    HRESULT GetDataImpl(FORMATETC* f, STGMEDIUM* m);
    HRESULT GetDataHereImpl(FORMATETC* f, STGMEDIUM* m);
    HRESULT EnumImpl(DWORD dir, IEnumFORMATETC** out);
    void Replace(Entry entry);

    class XDataObject final : public IDataObject {
    public:
        explicit XDataObject(COleDataSource* outer) : m_outer(outer) {}
        HRESULT QueryInterface(REFIID riid, void** ppv) override;
        ULONG AddRef() override;
        ULONG Release() override;
        HRESULT GetData(FORMATETC* f, STGMEDIUM* m) override;
        HRESULT GetDataHere(FORMATETC* f, STGMEDIUM* m) override;
        HRESULT QueryGetData(FORMATETC* f) override;
        HRESULT GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
        HRESULT SetData(FORMATETC* f, STGMEDIUM* m, BOOL fRelease) override;
        HRESULT EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) override;
        HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
        HRESULT DUnadvise(DWORD) override;
        HRESULT EnumDAdvise(IEnumSTATDATA**) override;

    private:
        COleDataSource* m_outer;
    } m_xDataObject{this};

private:
    zyn::com::LiveToken m_live; // counted among the live COM objects
};
