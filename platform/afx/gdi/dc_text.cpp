// CDC: text output and measurement.
#include <vector>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOut(m_hDC, x, y, lpszString, nCount); }

BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str.GetString(), str.GetLength()); }

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
{
    return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, str.GetString(), static_cast<UINT>(str.GetLength()), lpDxWidths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
    int nTabOrigin)
{
    const LONG r = ::TabbedTextOutW(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(static_cast<DWORD>(r));
}

CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions, LPINT lpnTabStopPositions,
    int nTabOrigin)
{
    return TabbedTextOut(x, y, str.GetString(), str.GetLength(), nTabPositions, lpnTabStopPositions, nTabOrigin);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, DRAWTEXTPARAMS* lpDTParams)
{
    return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, DRAWTEXTPARAMS* lpDTParams)
{
    // DT_MODIFYSTRING may write up to four characters more than the text holds.
    std::vector<wchar_t> buf(str.GetString(), str.GetString() + str.GetLength());
    buf.resize(buf.size() + 5, L'\0');
    return DrawTextEx(buf.data(), str.GetLength(), lpRect, nFormat, lpDTParams);
}

BOOL CDC::GrayString(CBrush* pBrush, GRAYSTRINGPROC lpfnOutput, LPARAM lpData, int nCount, int x, int y, int nWidth,
    int nHeight)
{
    return ::GrayStringW(m_hDC, static_cast<HBRUSH>(zyn::afx::SafeHandleOf(pBrush)), lpfnOutput, lpData, nCount, x, y,
        nWidth, nHeight);
}

namespace {

CSize ExtentOn(HDC hdc, LPCTSTR lpszString, int nCount)
{
    SIZE size{0, 0};
    if (!::GetTextExtentPoint32(hdc, lpszString, nCount, &size))
        return CSize(0, 0);
    return size;
}

} // namespace

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const { return ExtentOn(m_hAttribDC, lpszString, nCount); }

CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
{
    return ExtentOn(m_hDC, lpszString, nCount);
}

CSize CDC::GetOutputTextExtent(const CString& str) const
{
    return GetOutputTextExtent(str.GetString(), str.GetLength());
}

CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const
{
    return CSize(::GetTabbedTextExtentW(m_hAttribDC, lpszString, nCount, nTabPositions, lpnTabStopPositions));
}

CSize CDC::GetTabbedTextExtent(const CString& str, int nTabPositions, LPINT lpnTabStopPositions) const
{
    return GetTabbedTextExtent(str.GetString(), str.GetLength(), nTabPositions, lpnTabStopPositions);
}

CSize CDC::GetOutputTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
    LPINT lpnTabStopPositions) const
{
    return CSize(::GetTabbedTextExtentW(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions));
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* lpMetrics) const { return ::GetTextMetrics(m_hAttribDC, lpMetrics); }

BOOL CDC::GetOutputTextMetrics(TEXTMETRIC* lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const
{
    return ::GetTextFaceW(m_hAttribDC, nCount, lpszFacename);
}

int CDC::GetTextFace(CString& rString) const
{
    wchar_t buf[LF_FACESIZE] = {};
    const int n = ::GetTextFaceW(m_hAttribDC, LF_FACESIZE, buf);
    rString = (n > 0) ? CString(buf) : CString();
    return n;
}

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidth32W(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}
