#include "platform/afx/gdi/image_list.h"

#include <memory>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/gdi_maps.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

using zyn::afx::SafeHandleOf;
using zyn::afx::SafeHdcOf;
using zyn::afx::detail::PermanentImageLists;
using zyn::afx::detail::ThreadImageListTemps;

namespace {
HBITMAP BitmapOf(const CBitmap* p) { return static_cast<HBITMAP>(SafeHandleOf(p)); }
} // namespace

CImageList::~CImageList()
{
    if (m_hImageList)
        DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (!hImageList)
        return nullptr;
    if (CImageList* p = FromHandlePermanent(hImageList))
        return p;
    auto& temps = ThreadImageListTemps();
    if (CImageList* t = temps.Find(hImageList))
        return t;
    auto w = std::make_unique<CImageList>();
    w->m_hImageList = hImageList; // not Attach: a temporary is not an owner
    return temps.Add(hImageList, std::move(w));
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    return hImageList ? PermanentImageLists().Find(hImageList, RUNTIME_CLASS(CImageList)) : nullptr;
}

void CImageList::DeleteTempMap() { zyn::afx::DeleteTempGdiObjects(); }

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (!hImageList || (m_hImageList && m_hImageList != hImageList)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (m_hImageList == hImageList)
        return TRUE;
    m_hImageList = hImageList;
    PermanentImageLists().Add(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    const HIMAGELIST h = m_hImageList;
    if (h)
        PermanentImageLists().Remove(h, this);
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return ImageList_Destroy(Detach());
}

namespace {

// Attaches a list just made; when the wrapper already holds one the new list is
// destroyed and the call fails.
BOOL AttachNew(CImageList& self, HIMAGELIST h)
{
    if (!h)
        return FALSE;
    if (self.m_hImageList) {
        ImageList_Destroy(h);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return self.Attach(h);
}

} // namespace

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return AttachNew(*this, ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (nBitmapID == 0 || nBitmapID > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (!lpszBitmapID) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE module = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return AttachNew(*this, ImageList_LoadBitmap(module, lpszBitmapID, cx, nGrow, crMask));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy)
{
    return AttachNew(*this,
        ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList)
{
    if (!pImageList) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return AttachNew(*this, ImageList_Duplicate(pImageList->m_hImageList));
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

BOOL CImageList::SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }

COLORREF CImageList::SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }

COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }

BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }

HICON CImageList::ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay)
{
    return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}

BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags)
{
    return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags)
{
    if (!pSrc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ImageList_Copy(m_hImageList, iDst, pSrc->m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, SafeHdcOf(pDC), pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle)
{
    return ImageList_DrawEx(m_hImageList, nImage, SafeHdcOf(pDC), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) { return ImageList_DrawIndirect(pimldp); }

BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle, DWORD dwRop,
    COLORREF rgbBack, COLORREF rgbFore, DWORD fState, DWORD Frame, COLORREF crEffect)
{
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof(IMAGELISTDRAWPARAMS);
    p.himl = m_hImageList;
    p.i = nImage;
    p.hdcDst = SafeHdcOf(pDC);
    p.x = pt.x;
    p.y = pt.y;
    p.cx = sz.cx;
    p.cy = sz.cy;
    p.xBitmap = ptOrigin.x;
    p.yBitmap = ptOrigin.y;
    p.rgbBk = rgbBack;
    p.rgbFg = rgbFore;
    p.fStyle = fStyle;
    p.dwRop = dwRop;
    p.fState = fState;
    p.Frame = Frame;
    p.crEffect = crEffect;
    return ImageList_DrawIndirect(&p);
}

BOOL CImageList::Read(CArchive* pArchive)
{
    if (!pArchive) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    zyn::gdi::ArchiveImageListStream stream(*pArchive);
    const HIMAGELIST h = ImageList_Read(&stream);
    if (!h)
        return FALSE;
    if (m_hImageList)
        DeleteImageList();
    return Attach(h);
}

BOOL CImageList::Write(CArchive* pArchive)
{
    if (!pArchive) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    zyn::gdi::ArchiveImageListStream stream(*pArchive);
    return ImageList_Write(m_hImageList, &stream);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

void CImageList::EndDrag() { ImageList_EndDrag(); }

BOOL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot)
{
    return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

BOOL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }

CImageList* CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot)
{
    return FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}
