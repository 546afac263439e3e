// The flat combo box's face and items.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_draw.h"
#include "toolkit/menus/cool_geometry.h"
#include "toolkit/menus/flat_combo.h"
#include "toolkit/skins/dc_guard.h"

namespace cool = zyn::toolkit::cool;

void COXCoolComboBox::OnPaint()
{
    if (!IsInCoolState()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    PaintFace(dc);
}

void COXCoolComboBox::PaintFace(CDC& dc)
{
    const CRect button = GetButtonRect();
    const DWORD style = GetStyle();
    const bool simple = (style & 0x0F) == CBS_SIMPLE;
    const BOOL enabled = IsWindowEnabled();
    const bool hot = m_bInHotState && enabled;
    const bool dropped = IsDroppedDown() != FALSE;
    const HWND hEdit = ::GetDlgItem(m_hWnd, kEditID);

    CRect client;
    GetClientRect(&client);
    if (simple && hEdit) {
        // A simple combo paints only its field; the list below paints itself.
        CRect editRect;
        ::GetWindowRect(hEdit, &editRect);
        client.bottom = client.top + 5 + editRect.Height();
    }
    CRect inner = client;
    inner.DeflateRect(GetLeftMargin(), GetTopMargin(), GetRightMargin(), GetBtmMargin());
    CRect text = inner;
    if (!button.IsRectEmpty())
        text.right = button.left;
    const COLORREF field = ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    dc.FillSolidRect(&text, field);

    if (!hEdit) {
        // A drop-down list shows its selection through the item drawing.
        const int sel = GetCurSel();
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
        dis.itemID = static_cast<UINT>(sel);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (::GetFocus() == m_hWnd && !dropped) ? ODS_FOCUS : 0;
        dis.hwndItem = m_hWnd;
        dis.hDC = dc.GetSafeHdc();
        dis.rcItem = RECT{GetLeftMargin() + 1, GetTopMargin() + 1, button.left - 1, client.bottom - GetBtmMargin() - 1};
        dis.itemData = sel >= 0 ? GetItemData(sel) : 0;
        const int saved = dc.SaveDC();
        DrawItem(&dis);
        dc.RestoreDC(saved);
    }

    cool::CSysPen highlightPen(COLOR_BTNHIGHLIGHT);
    cool::CSysPen shadowPen(COLOR_BTNSHADOW);
    cool::CSysPen facePen(COLOR_BTNFACE);
    cool::CSysPen darkPen(COLOR_3DDKSHADOW);
    CPen* pOldPen = dc.GetCurrentPen();
    CBrush* pOldBrush = dc.GetCurrentBrush();

    // The margin band around the field.
    dc.ExcludeClipRect(&inner);
    if (!hot) {
        dc.FillSolidRect(&client, ::GetSysColor(simple ? COLOR_WINDOW : COLOR_BTNFACE));
        dc.FillSolidRect(inner.left - 1, inner.top, 1, inner.Height(), field);
    } else {
        CRect band = client;
        band.DeflateRect(1, 1);
        dc.FillSolidRect(&band, ::GetSysColor(COLOR_BTNFACE));
        dc.SelectObject(&shadowPen);
        dc.MoveTo(client.left, client.bottom - 1);
        dc.LineTo(client.left, client.top);
        dc.LineTo(client.right - 1, client.top);
        dc.SelectObject(&highlightPen);
        dc.LineTo(client.right - 1, client.bottom - 1);
        dc.LineTo(client.left - 1, client.bottom - 1);
    }
    dc.SelectClipRgn(nullptr);

    if (!enabled) {
        CRect ring = inner;
        ring.InflateRect(1, 1);
        dc.SelectObject(&highlightPen);
        dc.SelectStockObject(HOLLOW_BRUSH);
        dc.Rectangle(&ring);
    }

    if (!button.IsRectEmpty()) {
        // The button's face.
        if (!hot && enabled && !dropped) {
            CBrush face(::GetSysColor(COLOR_BTNFACE));
            dc.SelectObject(&highlightPen);
            dc.SelectObject(&face);
            dc.Rectangle(&button);
            dc.SelectStockObject(HOLLOW_BRUSH);
        } else if (!hot) {
            dc.FillSolidRect(&button, ::GetSysColor(COLOR_BTNFACE));
        } else {
            dc.FillSolidRect(button.left, button.top, button.Width() + 1, button.Height() - 1,
                ::GetSysColor(COLOR_BTNFACE));
        }
        // Its edge: pressed while dropped, raised while hot. The raised edge is one pixel
        // in from the button's left (that column stays face-coloured): highlight along the
        // top and down the left, shadow along the bottom and up the right.
        if (dropped) {
            dc.SelectObject(&shadowPen);
            dc.MoveTo(button.left, button.bottom - 1);
            dc.LineTo(button.left, button.top);
            dc.LineTo(button.right, button.top);
        } else if (hot) {
            dc.SelectObject(&highlightPen);
            dc.MoveTo(button.right - 1, button.top);
            dc.LineTo(button.left + 1, button.top);
            dc.LineTo(button.left + 1, button.bottom - 1);
            dc.SelectObject(&facePen);
            dc.MoveTo(button.left, button.top);
            dc.LineTo(button.left, button.bottom);
            dc.SelectObject(&shadowPen);
            dc.MoveTo(button.left + 1, button.bottom - 1);
            dc.LineTo(button.right - 1, button.bottom - 1);
            dc.LineTo(button.right - 1, button.top - 1);
        }

        // The arrow.
        const cool::ComboArrow arrow = cool::ComboDropArrow(button, GetButtonWidth(), dropped);
        CBrush dark(::GetSysColor(COLOR_3DDKSHADOW));
        dc.SelectObject(&darkPen);
        dc.SelectObject(&dark);
        dc.Polygon(arrow.points, 3);
        if (pOldBrush)
            dc.SelectObject(pOldBrush);
    }
    if (pOldPen)
        dc.SelectObject(pOldPen);
    if (pOldBrush)
        dc.SelectObject(pOldBrush);
}

void COXCoolComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct || !lpDrawItemStruct->hDC)
        return;
    const int index = lpDrawItemStruct->itemID == static_cast<UINT>(-1)
        ? GetCurSel()
        : static_cast<int>(lpDrawItemStruct->itemID);
    CString sText;
    if (index != -1)
        GetLBText(index, sText);
    const bool selected = (lpDrawItemStruct->itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    const BOOL enabled = IsWindowEnabled();
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rect = lpDrawItemStruct->rcItem;
    pDC->FillSolidRect(&rect, ::GetSysColor(!enabled ? COLOR_BTNFACE : selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (sText.IsEmpty())
        return;
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rect);
    CFont* pFont = GetFont();
    CFont* pOldFont = pFont ? pDC->SelectObject(pFont) : nullptr;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->SetTextColor(
        ::GetSysColor(!enabled ? COLOR_BTNSHADOW : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    rect.DeflateRect(1, 1);
    pDC->DrawText(sText, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}
