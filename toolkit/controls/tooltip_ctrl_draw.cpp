// COXToolTipCtrl: the display text (with the info box's two texts), measuring, placing
// on the monitor, painting with the info box's mark, and the click that toggles it.
#include <algorithm>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/resource.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/controls/tooltip_ctrl.h"
#include "toolkit/skins/dc_guard.h"

namespace {

// The text a callback tool's parent answered, read no further than the answer allows:
// a resource (loaded into 512 characters), the string it pointed at, or its buffer of
// 80 characters, which need not end with a terminator.
CString AnswerText(const NMTTDISPINFOW& di)
{
    if (di.hinst) {
        if (!IS_INTRESOURCE(di.lpszText))
            return CString();
        wchar_t buffer[512] = {};
        ::LoadStringW(di.hinst, static_cast<UINT>(reinterpret_cast<uintptr_t>(di.lpszText)), buffer, 512);
        return CString(buffer);
    }
    if (di.lpszText && di.lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(di.lpszText))
        return CString(di.lpszText);
    const size_t n = std::find(std::begin(di.szText), std::end(di.szText), L'\0') - std::begin(di.szText);
    return CString(std::wstring(di.szText, n).c_str());
}

} // namespace

CString COXToolTipCtrl::GetFieldFromString(const CString& strText, int nIndex, TCHAR chSep)
{
    int start = 0;
    for (int i = 0; i < nIndex; ++i) {
        const int sep = strText.Find(chSep, start);
        if (sep < 0)
            return CString();
        start = sep + 1;
    }
    const int end = strText.Find(chSep, start);
    return end < 0 ? strText.Mid(start) : strText.Mid(start, end - start);
}

CString COXToolTipCtrl::GetTooltipText(COXToolTipInfo* pToolTip)
{
    if (!pToolTip)
        return CString();
    CString text;
    if (pToolTip->IsCallback()) {
        if (!m_pParentWnd || !m_pParentWnd->m_hWnd)
            return CString();
        NMTTDISPINFOW di{};
        di.hdr.hwndFrom = m_hWnd;
        di.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(pToolTip->hWnd));
        di.hdr.code = TTN_NEEDTEXTW;
        m_pParentWnd->SendMessage(WM_NOTIFY, pToolTip->nIDTool, reinterpret_cast<LPARAM>(&di));
        text = AnswerText(di);
    } else {
        text = pToolTip->strText;
    }
    m_bHasExtendedText = text.Find(L'\r') >= 0;
    if (m_bHasExtendedText) {
        if (!m_bExtended)
            text = GetFieldFromString(text, 0, L'\r') + m_szArrowSpace;
        else
            text = CString(m_szArrowSpace) + GetFieldFromString(text, 1, L'\r');
    }
    return text;
}

CRect COXToolTipCtrl::GetBoundsRect(CString strText, int nWidth)
{
    CWindowDC dc(this);
    COXSelectGuard<CFont> font(dc, &m_font);
    if (nWidth == 0) {
        // As wide as the widest line (with room for an info box's mark); a text with n
        // line feeds has n + 1 lines, empty ones included.
        int feeds = 0;
        for (int k = 0; k < strText.GetLength(); ++k)
            feeds += strText[k] == L'\n' ? 1 : 0;
        for (int i = 0; i <= feeds; ++i) {
            const CString line = GetFieldFromString(strText, i, L'\n') + m_szArrowSpace;
            nWidth = std::max(nWidth, static_cast<int>(dc.GetTextExtent(line).cx));
        }
    }
    CRect rect(0, 0, nWidth, 0);
    dc.DrawText(strText, &rect, m_nTextFormat | DT_CALCRECT);
    rect.right += m_rectMargin.left + m_rectMargin.right;
    rect.bottom += m_rectMargin.top + m_rectMargin.bottom;
    return rect;
}

CRect COXToolTipCtrl::CalculateInfoBoxRect(CPoint& point, COXToolTipInfo* pToolTip, CRect& rectBounds)
{
    CRect rect = rectBounds;
    rect.OffsetRect(point.x - rect.left, point.y - rect.top);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &mi);
    const CRect monitor = mi.rcMonitor;
    if (rect.right > monitor.right)
        rect.OffsetRect(monitor.right - rect.right, 0);
    if (rect.left < monitor.left)
        rect.OffsetRect(monitor.left - rect.left, 0);
    if (rect.bottom > monitor.bottom && pToolTip) {
        // No room below: above the tool's window instead.
        CRect window;
        ::GetWindowRect(pToolTip->hWnd, &window);
        const int height = rect.Height();
        rect.bottom = window.top;
        rect.top = rect.bottom - height;
    }
    return rect;
}

void COXToolTipCtrl::DisplayToolTip(CPoint point, BOOL bExtended)
{
    if (!m_bActivated || !m_pCurrentToolTip)
        return;
    m_bExtended = bExtended;
    COXToolTipInfo* tool = m_pCurrentToolTip;
    const CString text = GetTooltipText(tool);
    // The parent answering for the text may have changed the tools.
    if (text.IsEmpty() || tool != m_pCurrentToolTip || IndexOf(tool) < 0 || !m_hWnd)
        return;
    CRect bounds = GetBoundsRect(text, tool->nWidth);
    const CRect rect = CalculateInfoBoxRect(point, tool, bounds);
    ShowWindow(SW_HIDE);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
        SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
}

void COXToolTipCtrl::OnPaint()
{
    CPaintDC dc(this);
    COXToolTipInfo* tool = m_pCurrentToolTip;
    if (!tool)
        return;
    const CString text = GetTooltipText(tool);
    if (text.IsEmpty() || tool != m_pCurrentToolTip || IndexOf(tool) < 0)
        return;
    // Made for this paint from the colours of this moment.
    const COLORREF back =
        tool->clrBackColor == OX_TOOLTIP_DEFAULT_COLOR ? ::GetSysColor(COLOR_INFOBK) : tool->clrBackColor;
    const COLORREF fore =
        tool->clrTextColor == OX_TOOLTIP_DEFAULT_COLOR ? ::GetSysColor(COLOR_INFOTEXT) : tool->clrTextColor;
    CBrush brush;
    brush.CreateSolidBrush(back);
    COXSelectGuard<CFont> font(dc, &m_font);
    CRect rect;
    GetClientRect(&rect);
    dc.FillRect(&rect, &brush);
    {
        const HGDIOBJ oldPen = dc.SelectObject(::GetStockObject(BLACK_PEN));
        const HGDIOBJ oldBrush = dc.SelectObject(::GetStockObject(NULL_BRUSH));
        dc.Rectangle(&rect);
        dc.SelectObject(oldBrush);
        dc.SelectObject(oldPen);
    }
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(fore);
    CRect textRect = rect;
    textRect.DeflateRect(m_rectMargin.left, m_rectMargin.top, m_rectMargin.right, m_rectMargin.bottom);
    dc.DrawText(text, &textRect, m_nTextFormat);
    if (m_bHasExtendedText)
        DrawInfoBoxMark(dc, textRect);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}

void COXToolTipCtrl::DrawInfoBoxMark(CDC& dc, const CRect& r)
{
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int d = std::max(static_cast<int>(tm.tmDescent), static_cast<int>(tm.tmInternalLeading + tm.tmExternalLeading));
    const int h = tm.tmAveCharWidth / 2;
    const CSize space = dc.GetTextExtent(CString(m_szArrowSpace));
    const int cx = space.cx;
    const int cy = space.cy - (space.cy % 2);
    POINT pts[3];
    if (!m_bExtended) {
        const int x = r.right - cx + h;
        pts[0] = POINT{x, r.top + d};
        pts[1] = POINT{r.right, r.top + cy / 2};
        pts[2] = POINT{x, r.top + cy - d};
    } else {
        const int x = r.left + cx - h;
        pts[0] = POINT{x, r.top + d};
        pts[1] = POINT{r.left, r.top + cy / 2};
        pts[2] = POINT{x, r.top + cy - d};
    }
    const HGDIOBJ oldPen = dc.SelectObject(::GetStockObject(BLACK_PEN));
    const HGDIOBJ oldBrush = dc.SelectObject(::GetStockObject(BLACK_BRUSH));
    dc.Polygon(pts, 3);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void COXToolTipCtrl::OnLButtonDown(UINT, CPoint)
{
    if (!m_pCurrentToolTip || m_bTipCancelled)
        return;
    if (m_bHasExtendedText) {
        // The other text, where the tip is now.
        CRect window;
        GetWindowRect(&window);
        DisplayToolTip(window.TopLeft(), !m_bExtended);
    }
    if (m_hOldFocusWnd && ::IsWindow(m_hOldFocusWnd))
        ::SetFocus(m_hOldFocusWnd);
}
