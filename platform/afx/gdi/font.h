#pragma once
// CFont: a font wrapper. Point sizes convert to logical heights through the DC's
// vertical resolution (LOGPIXELSY, 96 on the screen).
#include "platform/afx/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"

class CDC;

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT hFont);

    CFont() = default;

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
        BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
        BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize in tenths of a point; the face name must fit LF_FACESIZE (with its
    // terminator) or the call fails with ERROR_INVALID_PARAMETER. pDC null: the screen.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // lfHeight of *lpLogFont in tenths of a point; the height becomes
    // -|MulDiv(LOGPIXELSY, lfHeight, 720)| in the DC's logical units.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);

    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    int GetLogFont(LOGFONT* pLogFont) const;
};
