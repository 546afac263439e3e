#include "platform/afx/gdi/font.h"

#include <cstdlib>
#include <cwchar>
#include <optional>

#include "platform/afx/gdi/dc.h"
#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

namespace {

// The screen DC while a point size is converted.
class ScreenDc {
public:
    ScreenDc() : m_hdc(::GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (m_hdc)
            ::ReleaseDC(nullptr, m_hdc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return m_hdc; }

private:
    HDC m_hdc;
};

} // namespace

CFont* CFont::FromHandle(HFONT hFont) { return static_cast<CFont*>(FromHandleAs(hFont, RUNTIME_CLASS(CFont))); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return AttachNew(::CreateFontIndirect(lpLogFont)); }

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
    BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    return AttachNew(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
        nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName) {
        // A name that does not fit would silently name another face.
        const size_t n = std::wcslen(lpszFaceName);
        if (n >= static_cast<size_t>(LF_FACESIZE)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::wmemcpy(logFont.lfFaceName, lpszFaceName, n);
    }
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<ScreenDc> screen;
    HDC hdc = nullptr;
    if (pDC) {
        hdc = pDC->m_hAttribDC;
    } else {
        screen.emplace();
        hdc = screen->get();
    }
    if (!hdc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Tenths of a point to device pixels (72 points an inch), then the pixel distance
    // in logical units.
    LOGFONT logFont = *lpLogFont;
    POINT pt{0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), logFont.lfHeight, 720)};
    POINT ptOrg{0, 0};
    if (!::DPtoLP(hdc, &pt, 1) || !::DPtoLP(hdc, &ptOrg, 1))
        return FALSE;
    logFont.lfHeight = -std::abs(pt.y - ptOrg.y);
    return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const { return ::GetObject(m_hObject, sizeof(LOGFONT), pLogFont); }
