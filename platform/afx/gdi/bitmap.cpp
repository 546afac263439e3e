#include "platform/afx/gdi/bitmap.h"

#include <cstdint>

#include "platform/afx/gdi/dc.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return static_cast<CBitmap*>(FromHandleAs(hBitmap, RUNTIME_CLASS(CBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return AttachNew(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* lpBitmap) { return AttachNew(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    if (pDC)
        return AttachNew(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
    const HDC screen = ::GetDC(nullptr);
    if (!screen)
        return FALSE;
    const HBITMAP h = ::CreateCompatibleBitmap(screen, nWidth, nHeight);
    ::ReleaseDC(nullptr, screen);
    return AttachNew(h);
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return CreateCompatibleBitmap(pDC, nWidth, nHeight);
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const { return ::GetObject(m_hObject, sizeof(BITMAP), pBitMap); }

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits)
{
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    // The drawing layer counts in a signed 32-bit LONG; no bitmap is that large.
    const LONG cb = dwCount > static_cast<DWORD>(INT32_MAX) ? INT32_MAX : static_cast<LONG>(dwCount);
    return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), cb, lpBits));
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    if (!lpszResourceName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    return AttachNew(::LoadBitmap(module, lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    if (nIDResource == 0 || nIDResource > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap)
{
    // The drawing layer has no predefined system bitmaps.
    (void)nIDBitmap;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return FALSE;
}
