// The mouse on COXSHBListCtrl: the hot item kept by a capture check after every mouse
// message and on a polling timer, selecting and activating, the scroll buttons and their
// timer, the start of an item drag, renaming an item in place, and item tooltips.
#include <algorithm>
#include <cstdlib>

#include "platform/comctl/tooltip.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_internal.h"
#include "toolkit/docking/shb_list.h"

namespace {

bool LeftButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

} // namespace

int COXSHBListCtrl::ItemUnder(CPoint pt)
{
    UINT flags = 0;
    const int item = HitTest(pt, &flags, TRUE);
    return item >= 0 && (flags == LVHT_ONITEMICON || flags == LVHT_ONITEMLABEL) ? item : -1;
}

void COXSHBListCtrl::PostCheckCapture()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::PostMessageW(m_hWnd, SHBLCM_CHECKCAPTURE, 0, 0);
}

LRESULT COXSHBListCtrl::OnCheckCapture()
{
    CheckCapture();
    return 0;
}

void COXSHBListCtrl::CheckCapture()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    CPoint screen;
    ::GetCursorPos(&screen);
    if (::WindowFromPoint(screen) == m_hWnd && ::IsWindowEnabled(m_hWnd)) {
        if (!m_nCheckMouseTimer)
            m_nCheckMouseTimer = SetTimer(SHBLC_IDT_CHECKMOUSE, SHBLC_CHECKMOUSE_DELAY, nullptr);
        m_bMouseInside = TRUE;
    } else {
        m_bMouseInside = FALSE;
        if (!LeftButtonDown()) {
            // The mouse has gone with no button held: the hot item goes at once.
            if (m_nCheckMouseTimer)
                KillTimer(SHBLC_IDT_CHECKMOUSE);
            m_nCheckMouseTimer = 0;
            const int old = m_nHotItem;
            if (old >= 0 && SetHotItem(-1) == old && m_nHotItem == -1)
                Update(old);
            return;
        }
    }
    AnticipateHotItem();
}

void COXSHBListCtrl::AnticipateHotItem()
{
    int item = -1;
    if (m_bMouseInside) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        item = ItemUnder(pt);
    }
    if (item == m_nHotItem)
        return;
    const int old = m_nHotItem;
    SetHotItem(item);
    if (m_nHotItem != old) {
        Update(old);
        Update(m_nHotItem);
    }
}

void COXSHBListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    const bool editing = m_nEditItem >= 0 || (m_pShortcutBar && m_pShortcutBar->GetEditGroup());
    if (!editing)
        CheckCapture();
    if (m_nPressedItem >= 0 && (!(nFlags & MK_LBUTTON) || m_nDragItem >= 0))
        m_nPressedItem = -1;
    const DWORD style = GetBarStyle();
    // A drag starts once the cursor is more than 8 pixels away from where the button went
    // down, still over the pressed item.
    if (m_nDragItem < 0 && !(style & SHBS_DISABLEDRAGITEM) && m_nPressedItem >= 0 && m_nHotItem == m_nPressedItem) {
        const int distance = std::abs(point.x - m_ptButtonDown.x) + std::abs(point.y - m_ptButtonDown.y);
        if (distance > 8) {
            m_ptDragImage.Offset(point.x - m_ptButtonDown.x, point.y - m_ptButtonDown.y);
            // One attempt per press: a refused or failed drag does not start again at
            // every following move.
            m_nPressedItem = -1;
            SetDragItem(m_nHotItem);
            return;
        }
    }
    UINT flags = 0;
    HitTest(point, &flags, FALSE);
    const bool onUp = flags == SHBLC_ONSCROLLUP, onDown = flags == SHBLC_ONSCROLLDOWN;
    if (m_bAutoScrolling && !m_bDragDropOperation &&
        ((m_bScrollingUp && !onUp) || (m_bScrollingDown && !onDown)))
        StopScrolling();
    if ((style & SHBS_AUTOSCROLL) && !IsScrolling() && m_nDragItem < 0 && !(nFlags & MK_LBUTTON) && (onUp || onDown)) {
        m_bAutoScrolling = TRUE;
        StartScrolling(onUp);
    }
}

void COXSHBListCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    UINT flags = 0;
    const int item = HitTest(point, &flags, FALSE);
    if (flags == SHBLC_ONSCROLLUP || flags == SHBLC_ONSCROLLDOWN) {
        if (IsScrolling())
            StopScrolling();
        m_bAutoScrolling = FALSE;
        StartScrolling(flags == SHBLC_ONSCROLLUP);
    } else {
        if (m_bAutoScrolling)
            StopScrolling();
        if (item >= 0 && (flags == LVHT_ONITEMICON || flags == LVHT_ONITEMLABEL || flags == SHBLC_ONIMAGEANDTEXT)) {
            const int old = m_nSelectedItem;
            SelectItem(item);
            if (!(GetBarStyle() & SHBS_DISABLEDRAGITEM)) {
                m_ptButtonDown = point;
                CRect bounds;
                if ((GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) && GetItemRect(item, &bounds, LVIR_BOUNDS))
                    m_ptDragImage = CPoint(point.x - bounds.left, point.y - bounds.top);
                m_nPressedItem = item;
            }
            Update(old);
            Update(m_nSelectedItem);
        }
    }
    PostCheckCapture();
}

void COXSHBListCtrl::OnLButtonUp(UINT /*nFlags*/, CPoint point)
{
    m_nPressedItem = -1;
    if (IsScrolling() && !m_bDragDropOperation)
        StopScrolling();
    UINT flags = 0;
    const int item = HitTest(point, &flags, TRUE);
    const bool onItem = flags == LVHT_ONITEMICON || flags == LVHT_ONITEMLABEL || flags == SHBLC_ONIMAGEANDTEXT;
    // Only a release on the selected item activates it.
    if (item >= 0 && onItem && item == m_nSelectedItem)
        ActivateItem(item);
    PostCheckCapture();
}

void COXSHBListCtrl::OnRButtonUp(UINT /*nFlags*/, CPoint point)
{
    // The list view's own right click (which would ask for the menu) is not used: the
    // release asks for it, and the request travels up to the bar.
    ::DefWindowProcW(m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    PostCheckCapture();
}

// ---- scrolling -----------------------------------------------------------------------------------------------------

bool COXSHBListCtrl::ScrollStep(bool bUp)
{
    const int count = ItemCount();
    if (count == 0)
        return false;
    EnsureLayout(count);
    const CRect working = WorkingRect();
    const int visibleTop = m_ptOrigin.y + working.top;
    const int visibleBottom = m_ptOrigin.y + working.bottom;
    const int top = GetTopIndex();
    int dy = 0;
    if (bUp) {
        if (top >= 0 && m_tops[static_cast<size_t>(top)] < visibleTop)
            dy = m_tops[static_cast<size_t>(top)] - visibleTop; // the partly hidden top item
        else if (top > 0)
            dy = m_tops[static_cast<size_t>(top - 1)] - visibleTop;
        else if (top < 0)
            dy = -m_ptOrigin.y;
    } else {
        if (top >= 0 && top + 1 < count)
            dy = m_tops[static_cast<size_t>(top + 1)] - visibleTop;
        else
            dy = LowestBottom() - visibleBottom;
    }
    if (dy == 0)
        return false;
    const bool image = m_pDragImage != nullptr;
    if (image)
        CImageList::DragShowNolock(FALSE);
    const BOOL moved = Scroll(CSize(0, dy));
    if (image)
        CImageList::DragShowNolock(TRUE);
    return moved != FALSE;
}

void COXSHBListCtrl::StartScrolling(bool bUp)
{
    if (bUp)
        m_bScrollingUp = TRUE;
    else
        m_bScrollingDown = TRUE;
    const CRect button = bUp ? m_rectScrollUp : m_rectScrollDown;
    if (!button.IsRectEmpty()) {
        ::InvalidateRect(m_hWnd, &button, FALSE);
        ::UpdateWindow(m_hWnd);
    }
    UINT delay = m_bAutoScrolling ? GetAutoScrollingDelay() : GetScrollingDelay();
    if (m_bDragDropOperation)
        delay /= 4;
    else
        ScrollStep(bUp);
    m_nScrollTimer = SetTimer(SHBLC_IDT_SCROLL, delay, nullptr);
}

void COXSHBListCtrl::StopScrolling()
{
    if (m_nScrollTimer)
        KillTimer(SHBLC_IDT_SCROLL);
    m_nScrollTimer = 0;
    m_bScrollingUp = m_bScrollingDown = m_bAutoScrolling = FALSE;
    CalculateScrollRects();
    for (const CRect& button : {m_rectScrollUp, m_rectScrollDown}) {
        if (!button.IsRectEmpty())
            ::InvalidateRect(m_hWnd, &button, FALSE);
    }
    ::UpdateWindow(m_hWnd);
}

void COXSHBListCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == SHBLC_IDT_CHECKMOUSE) {
        if (!m_bDragDropOperation)
            PostCheckCapture();
        return;
    }
    if (nIDEvent != SHBLC_IDT_SCROLL) {
        CListCtrl::OnTimer(nIDEvent);
        return;
    }
    if (!IsScrolling()) {
        StopScrolling();
        return;
    }
    const bool up = m_bScrollingUp != FALSE;
    bool still = m_bDragDropOperation != FALSE;
    if (!still) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        UINT flags = 0;
        HitTest(pt, &flags, FALSE);
        still = flags == (up ? SHBLC_ONSCROLLUP : SHBLC_ONSCROLLDOWN);
    }
    if (still)
        ScrollStep(up);
    CalculateScrollRects();
    // The button scrolled away (the end was reached): scrolling stops.
    if ((up ? m_rectScrollUp : m_rectScrollDown).IsRectEmpty())
        StopScrolling();
}

// ---- renaming an item -------------------------------------------------------------------------------------------------

COXSHBEdit* COXSHBListCtrl::EditLabel(int nItem)
{
    if (!(GetBarStyle() & SHBS_EDITITEMS) || !ValidItem(nItem) || !m_edit.m_hWnd)
        return nullptr;
    if (m_edit.IsEditing())
        m_edit.FinishEdit(TRUE);
    m_nEditItem = -1;
    if (!ValidItem(nItem))
        return nullptr;
    const CString text = ItemText(nItem);
    if (Notify(SHBN_BEGINITEMEDIT, nItem, reinterpret_cast<LPARAM>(text.GetString())) || !ValidItem(nItem))
        return nullptr;
    EnsureLayout(nItem + 1);
    const bool large = GetView() != SHB_SMALLICON;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect rect;
    GetItemRect(nItem, &rect, LVIR_LABEL);
    if (rect.IsRectEmpty()) {
        // No text yet: a line of text where the text would go, by the image.
        CRect image, row;
        GetItemRect(nItem, &image, LVIR_ICON);
        GetItemRect(nItem, &row, SHBLC_ENTIREITEM);
        const HDC hdc = ::GetDC(m_hWnd);
        const HGDIOBJ old = ::SelectObject(hdc, TextFont());
        TEXTMETRICW tm{};
        ::GetTextMetricsW(hdc, &tm);
        ::SelectObject(hdc, old);
        ::ReleaseDC(m_hWnd, hdc);
        const int h = tm.tmHeight + 4;
        if (large) {
            const int centre = image.IsRectEmpty() ? (row.left + row.right) / 2 : (image.left + image.right) / 2;
            const int top = image.IsRectEmpty() ? row.top : image.bottom;
            rect = CRect(centre - 5, top, centre + 5, top + h);
        } else {
            const int left = image.IsRectEmpty() ? row.left + 2 : image.right;
            const int top = image.IsRectEmpty() ? row.top : image.top + (image.Height() - h) / 2;
            rect = CRect(left, top, left + 10, top + h);
        }
    }
    CRect inside;
    if (rect.IsRectEmpty() || !inside.IntersectRect(&rect, &client) || inside != rect)
        return nullptr;
    CRect minimum = rect;
    if (minimum.Width() < 10) {
        if (large) {
            const int centre = (minimum.left + minimum.right) / 2;
            minimum.left = centre - 5;
            minimum.right = minimum.left + 10;
        } else {
            minimum.right = minimum.left + 10;
        }
    }
    CRect maximum = large ? CRect(client.left, rect.top, client.right, client.bottom)
                          : CRect(rect.left, rect.top, client.right, rect.bottom);
    maximum.UnionRect(&maximum, &minimum);
    CFont font;
    font.CreateFontIndirect(&m_lfText);
    SHBE_DISPLAY display;
    display.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_RECTMAX | SHBEIF_STYLE | SHBEIF_AUTOSIZE |
        SHBEIF_SELRANGE | SHBEIF_FONT | SHBEIF_RECTMIN;
    display.lpText = text.GetString();
    display.rectDisplay = rect;
    display.rectMax = maximum;
    display.rectMin = minimum;
    display.bAutoSize = TRUE;
    display.nSelStart = 0;
    display.nSelEnd = -1;
    display.pFont = &font;
    display.dwStyle = large ? (WS_BORDER | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL) : (WS_BORDER | ES_AUTOHSCROLL);
    if (!m_edit.StartEdit(&display))
        return nullptr;
    m_nEditItem = nItem;
    return &m_edit;
}

BOOL COXSHBListCtrl::OnChangeItemText(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* nm = reinterpret_cast<const NMSHBEDIT*>(pNMHDR);
    if (pResult)
        *pResult = 0;
    const int item = m_nEditItem;
    m_nEditItem = -1;
    if (!nm || !nm->bOK || !ValidItem(item))
        return TRUE;
    CString text;
    m_edit.GetWindowText(text);
    if (!Notify(SHBN_ENDITEMEDIT, item, reinterpret_cast<LPARAM>(text.GetString())) && ValidItem(item))
        SetItemText(item, 0, text);
    return TRUE;
}

// ---- tooltips -------------------------------------------------------------------------------------------------------

int COXSHBListCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    auto* self = const_cast<COXSHBListCtrl*>(this);
    if (!(GetBarStyle() & SHBS_INFOTIP))
        return -1;
    const int item = self->ItemUnder(point);
    if (item < 0)
        return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(item + 1);
        self->GetItemRect(item, &pTI->rect, LVIR_BOUNDS);
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return item + 1;
}

BOOL COXSHBListCtrl::OnItemToolTip(NMHDR* pNMHDR, LRESULT* pResult)
{
    const int item = static_cast<int>(pNMHDR->idFrom) - 1;
    if (!ValidItem(item))
        return FALSE;
    SHBToolTipText tip;
    const LRESULT answer = Notify(SHBN_GETITEMTIP, item, reinterpret_cast<LPARAM>(&tip));
    if (pResult)
        *pResult = answer;
    zyn::toolkit::shb::FillToolTipRequest(pNMHDR, tip);
    return TRUE;
}
