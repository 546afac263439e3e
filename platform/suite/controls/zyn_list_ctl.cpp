#include "platform/suite/controls/zyn_list_ctl.h"

#include <algorithm>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/winapp.h"
#include "platform/base/object.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNCREATE(CZynListCtl, CListCtrl)

BEGIN_MESSAGE_MAP(CZynListCtl, CListCtrl)
    ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, &CZynListCtl::OnItemChanged)
    ON_MESSAGE(LVM_DELETEITEM, &CZynListCtl::OnLvmDeleteItem)
    ON_MESSAGE(LVM_DELETEALLITEMS, &CZynListCtl::OnLvmDeleteAllItems)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void ZynFreeCObject(LPARAM lParam)
{
    delete reinterpret_cast<CObject*>(lParam);
}

namespace {

constexpr wchar_t kDots[] = L"...";

// Image lists from a bitmap resource: images `width` pixels wide, as tall as the bitmap,
// the top-left pixel's colour transparent. Null when the bitmap is missing.
HIMAGELIST ListFromBitmap(UINT nBitmapID, int width)
{
    LPCWSTR name = MAKEINTRESOURCEW(nBitmapID);
    HBITMAP bitmap = ::LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
    if (!bitmap)
        return nullptr;
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    HIMAGELIST list = nullptr;
    if (info.bmWidth >= width && info.bmHeight > 0) {
        list = ::ImageList_Create(width, info.bmHeight, ILC_COLOR24 | ILC_MASK, info.bmWidth / width, 4);
        if (list && ::ImageList_AddMasked(list, bitmap, CLR_DEFAULT) < 0) {
            ::ImageList_Destroy(list);
            list = nullptr;
        }
    }
    ::DeleteObject(bitmap);
    return list;
}

} // namespace

CZynListCtl::CZynListCtl() = default;
CZynListCtl::~CZynListCtl() = default;

void CZynListCtl::FreeParam(LPARAM lParam)
{
    if (lParam && m_pfnFree)
        m_pfnFree(lParam);
}

int CZynListCtl::ZynInsertItem(int nItem, LPCTSTR lpszText, int nImage, LPARAM lParam)
{
    if (!::IsWindow(m_hWnd)) {
        FreeParam(lParam);
        return -1;
    }
    const int count = GetItemCount();
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (nImage != I_IMAGENONE ? LVIF_IMAGE : 0u);
    item.iItem = nItem < 0 || nItem > count ? count : nItem;
    item.pszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    item.iImage = nImage;
    item.lParam = lParam;
    const int index = InsertItem(&item);
    // The list owns the data from the call on: a row that never arrived frees it here,
    // so the caller has nothing to clean up either way.
    if (index < 0)
        FreeParam(lParam);
    return index;
}

BOOL CZynListCtl::ZynSetItem(int nItem, int nSubItem, LPCTSTR lpszText, int nImage)
{
    LVITEM item{};
    item.mask = LVIF_TEXT | (nImage != -1 ? LVIF_IMAGE : 0u);
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    item.iImage = nImage;
    return SetItem(&item);
}

BOOL CZynListCtl::ZynSetImageList(UINT nSmallBitmapID, UINT nLargeBitmapID)
{
    HIMAGELIST small = ListFromBitmap(nSmallBitmapID, 16);
    HIMAGELIST large = nLargeBitmapID ? ListFromBitmap(nLargeBitmapID, 32) : nullptr;
    if (!small || (nLargeBitmapID && !large)) {
        if (small)
            ::ImageList_Destroy(small);
        if (large)
            ::ImageList_Destroy(large);
        return FALSE;
    }
    // The control destroys the lists it held (it does not share them) and these later.
    if (HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small))))
        ::ImageList_Destroy(old);
    if (large) {
        if (HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
                SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large))))
            ::ImageList_Destroy(old);
    }
    return TRUE;
}

BOOL CZynListCtl::ResizeColumn(int nCol, BOOL bUseHeader, int nMinWidth)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    const int columns = header ? header->GetItemCount() : 0;
    if (nCol >= columns || nCol < -1)
        return FALSE;
    const int first = nCol < 0 ? 0 : nCol;
    const int last = nCol < 0 ? columns - 1 : nCol;
    BOOL ok = TRUE;
    for (int c = first; c <= last; ++c) {
        ok = SetColumnWidth(c, bUseHeader ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE) && ok;
        if (nMinWidth > 0 && GetColumnWidth(c) < nMinWidth)
            ok = SetColumnWidth(c, nMinWidth) && ok;
    }
    return ok;
}

BOOL CZynListCtl::SelectItem(int nItem, BOOL bSelect)
{
    if (nItem < -1 || nItem >= GetItemCount())
        return FALSE;
    if (!bSelect) {
        if (nItem < 0)
            return FALSE;
        return SetItemState(nItem, 0, LVIS_SELECTED);
    }
    BOOL ok = TRUE;
    ++m_nQuietSelect;
    // Others first, then the row, as a click would change them.
    for (POSITION pos = GetFirstSelectedItemPosition(); pos;) {
        const int other = GetNextSelectedItem(pos);
        if (other != nItem)
            SetItemState(other, 0, LVIS_SELECTED);
    }
    if (nItem >= 0) {
        ok = SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SetSelectionMark(nItem);
    }
    --m_nQuietSelect;
    if (ok && ::IsWindow(m_hWnd))
        TellParent(nItem);
    return ok;
}

BOOL CZynListCtl::MakeSelectionsVisible()
{
    const int first = GetNextItem(-1, LVNI_SELECTED);
    if (first < 0)
        return FALSE;
    return EnsureVisible(first, FALSE);
}

CString CZynListCtl::MakeShortString(CDC* pDC, LPCTSTR lpszLong, int nColumnLen, int nOffset)
{
    CString text(lpszLong ? lpszLong : L"");
    if (!pDC || text.IsEmpty())
        return text;
    if (pDC->GetTextExtent(text).cx + nOffset <= nColumnLen)
        return text;
    const int dots = pDC->GetTextExtent(CString(kDots)).cx;
    // The longest prefix whose width with the dots fits: widths grow with the prefix, so
    // a binary search finds it.
    int lo = 0, hi = text.GetLength();
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (pDC->GetTextExtent(text.GetString(), mid).cx + dots + nOffset <= nColumnLen)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo == 0 && dots + nOffset > nColumnLen)
        return CString();
    return text.Left(lo) + kDots;
}

void CZynListCtl::SetRowColors(COLORREF crText, COLORREF crBack)
{
    m_crText = crText;
    m_crBack = crBack;
    if (::IsWindow(m_hWnd)) {
        SetTextColor(crText == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOWTEXT) : crText);
        SetTextBkColor(crBack == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOW) : crBack);
        SetBkColor(crBack == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOW) : crBack);
        Invalidate();
    }
}

COLORREF CZynListCtl::GetRowTextColor() const
{
    if (m_hWnd && !IsWindowEnabled())
        return ::GetSysColor(COLOR_GRAYTEXT);
    return m_crText == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOWTEXT) : m_crText;
}

COLORREF CZynListCtl::GetRowBkColor() const
{
    if (m_hWnd && !IsWindowEnabled())
        return ::GetSysColor(COLOR_BTNFACE);
    return m_crBack == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOW) : m_crBack;
}

void CZynListCtl::TellParent(int nItem)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageW(parent, WM_ZYN_LISTITEMCHANGED, static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)),
            static_cast<LPARAM>(nItem));
}

BOOL CZynListCtl::OnItemChanged(NMHDR* pNMHDR, LRESULT*)
{
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const bool becameSelected = (nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED) &&
        !(nm->uOldState & LVIS_SELECTED);
    if (becameSelected && nm->iItem >= 0 && m_nQuietSelect == 0)
        TellParent(nm->iItem);
    return FALSE; // the parent hears it too
}

std::vector<LPARAM> CZynListCtl::RowData() const
{
    std::vector<LPARAM> data;
    if (!m_pfnFree || !m_hWnd)
        return data;
    const int count = GetItemCount();
    data.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        data.push_back(static_cast<LPARAM>(GetItemData(i)));
    return data;
}

// The data of rows that go is freed after the control has deleted them, so whoever hears
// LVN_DELETEITEM (the parent, whatever kind of window it is) still sees it whole.
LRESULT CZynListCtl::OnLvmDeleteItem(WPARAM wParam, LPARAM)
{
    const int index = static_cast<int>(wParam);
    const LPARAM data = m_pfnFree && index >= 0 && index < GetItemCount() ? static_cast<LPARAM>(GetItemData(index)) : 0;
    const LRESULT done = Default();
    if (done)
        FreeParam(data);
    return done;
}

LRESULT CZynListCtl::OnLvmDeleteAllItems(WPARAM, LPARAM)
{
    const std::vector<LPARAM> data = RowData();
    const LRESULT done = Default();
    if (done) {
        for (LPARAM d : data)
            FreeParam(d);
    }
    return done;
}

void CZynListCtl::OnDestroy()
{
    // The rows go with the window (the control deletes them at WM_DESTROY).
    const std::vector<LPARAM> data = RowData();
    CListCtrl::OnDestroy();
    for (LPARAM d : data)
        FreeParam(d);
}
