#include "frames/log_list_ctl.h"

#include <algorithm>

#include "frames/session_log_reader.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CLogListCtl, CZynListCtl)

namespace {
// How far a first-column label stands from its column's edges, and a further column's
// text from its edges; the room MakeShortString keeps for them.
constexpr int kLabelInset = 2, kLabelRoom = 4;
constexpr int kSubItemInset = 6, kSubItemRoom = 12;
constexpr int kMaxSubItemText = 260;
} // namespace

CLogListCtl::CLogListCtl() = default;
CLogListCtl::~CLogListCtl() = default;

BOOL CLogListCtl::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~LVS_TYPEMASK;
    cs.style |= LVS_REPORT | LVS_OWNERDRAWFIXED;
    return CZynListCtl::PreCreateWindow(cs);
}

void CLogListCtl::PreSubclassWindow()
{
    ModifyStyle(0, LVS_OWNERDRAWFIXED);
    CZynListCtl::PreSubclassWindow();
}

COLORREF CLogListCtl::StatusColor(const CString& text, COLORREF crNormal)
{
    if (text == zyn::frames::kLogStatusError)
        return RGB(255, 0, 0);
    if (text == zyn::frames::kLogStatusWarning)
        return RGB(255, 128, 0);
    if (text == zyn::frames::kLogStatusUnknown)
        return RGB(0, 0, 255);
    return crNormal;
}

void CLogListCtl::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || !lpDIS->hDC)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const int row = static_cast<int>(lpDIS->itemID);
    LVITEM item{};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.iItem = row;
    item.stateMask = 0xFFFF;
    if (!GetItem(&item))
        return;

    const bool hasFocus = ::GetFocus() == m_hWnd;
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool shown = hasFocus || (GetStyle() & LVS_SHOWSELALWAYS);
    const bool highlight = ((item.state & LVIS_SELECTED) && shown && enabled) || (item.state & LVIS_DROPHILITED);
    const COLORREF rowText = GetRowTextColor();
    const COLORREF rowBack = GetRowBkColor();
    const COLORREF hiText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF hiBack = ::GetSysColor(COLOR_HIGHLIGHT);

    CRect bounds, label, icon;
    GetItemRect(row, bounds, LVIR_BOUNDS);
    GetItemRect(row, label, LVIR_LABEL);
    GetItemRect(row, icon, LVIR_ICON);
    const bool wholeRow = !IsHighlightLabelOnly();
    const CRect marked = wholeRow ? bounds : label;

    pDC->FillSolidRect(bounds, rowBack);
    if (highlight)
        pDC->FillSolidRect(marked, hiBack);
    const COLORREF oldText = pDC->SetTextColor(highlight ? hiText : rowText);
    const COLORREF oldBack = pDC->SetBkColor(highlight ? hiBack : rowBack);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);

    // The state image left of the row image, then the row image.
    const UINT stateImage = STATEIMAGEMASKTOINDEX(item.state);
    if (stateImage > 0) {
        if (HIMAGELIST states = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_STATE))) {
            int cx = 0, cy = 0;
            ::ImageList_GetIconSize(states, &cx, &cy);
            ::ImageList_Draw(states, static_cast<int>(stateImage) - 1, lpDIS->hDC, icon.left - cx,
                icon.top + (icon.Height() - cy) / 2, ILD_TRANSPARENT);
        }
    }
    if (HIMAGELIST small = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
        small && item.iImage >= 0) {
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(small, &cx, &cy);
        const UINT blend = (highlight || (item.state & LVIS_CUT)) ? ILD_BLEND50 : 0u;
        ::ImageList_Draw(small, item.iImage, lpDIS->hDC, icon.left, icon.top + (icon.Height() - cy) / 2,
            ILD_TRANSPARENT | blend);
    }

    // The first column's label.
    const CString date = CZynListCtl::MakeShortString(pDC, GetItemText(row, 0), label.Width(), kLabelRoom);
    CRect text = label;
    text.left += kLabelInset;
    text.right -= kLabelInset;
    pDC->DrawText(date, text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);

    // Every further column.
    CHeaderCtrl* header = GetHeaderCtrl();
    const int columns = header ? header->GetItemCount() : 0;
    const COLORREF subText = highlight && wholeRow ? hiText : rowText;
    for (int col = 1; col < columns; ++col) {
        LVCOLUMN column{};
        column.mask = LVCF_FMT;
        GetColumn(col, &column);
        CRect cell;
        if (!GetSubItemRect(row, col, LVIR_BOUNDS, cell))
            continue;
        const CString full = GetItemText(row, col).Left(kMaxSubItemText);
        const CString shown = CZynListCtl::MakeShortString(pDC, full, cell.Width(), kSubItemRoom);
        UINT align = DT_LEFT;
        if (shown == full) {
            const int justify = column.fmt & LVCFMT_JUSTIFYMASK;
            align = justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        }
        cell.left += kSubItemInset;
        cell.right -= kSubItemInset;
        pDC->SetTextColor(StatusColor(full, subText));
        pDC->DrawText(shown, cell, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
    }

    if ((item.state & LVIS_FOCUSED) && hasFocus)
        pDC->DrawFocusRect(marked);
    pDC->SetBkMode(oldMode);
    pDC->SetBkColor(oldBack);
    pDC->SetTextColor(oldText);
}
