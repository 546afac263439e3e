// The shortcut bar's forwarding to the default list controls of its groups: each call
// finds the group's COXSHBListCtrl and hands it on; a group with its own child window has
// no list and fails.
#include <algorithm>
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"

COXSHBListCtrl* COXShortcutBar::GetGroupListCtrl(HSHBGROUP hGroup) const
{
    const auto it = m_lists.find(hGroup);
    if (it == m_lists.end() || !it->second || !it->second->m_hWnd)
        return nullptr;
    return it->second.get();
}

BOOL COXShortcutBar::ChildWndIsLC(HSHBGROUP hGroup) const { return GetGroupListCtrl(hGroup) != nullptr; }

HWND COXShortcutBar::GetGroupChildWndHandle(HSHBGROUP hGroup) const
{
    if (const HWND own = GetGroupChildWnd(hGroup))
        return own;
    const COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->m_hWnd : nullptr;
}

CImageList* COXShortcutBar::SetLCImageList(HSHBGROUP hGroup, CImageList* pImageList, int nImageList)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->SetImageList(pImageList, nImageList) : nullptr;
}

CImageList* COXShortcutBar::GetLCImageList(HSHBGROUP hGroup, int nImageList) const
{
    const COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->GetImageList(nImageList) : nullptr;
}

BOOL COXShortcutBar::GetLCItem(HSHBGROUP hGroup, LVITEM* pItem) const
{
    const COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->GetItem(pItem) : FALSE;
}

BOOL COXShortcutBar::SetLCItem(HSHBGROUP hGroup, const LVITEM* pItem)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->SetItem(pItem) : FALSE;
}

BOOL COXShortcutBar::SetLCItem(HSHBGROUP hGroup, int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage,
    UINT nState, UINT nStateMask, LPARAM lParam)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->SetItem(nItem, nSubItem, nMask, lpszItem, nImage, nState, nStateMask, lParam) : FALSE;
}

int COXShortcutBar::InsertLCItem(HSHBGROUP hGroup, const LVITEM* pItem)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->InsertItem(pItem) : -1;
}

int COXShortcutBar::InsertLCItem(HSHBGROUP hGroup, int nItem, LPCTSTR lpszItem, int nImage)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    if (!list)
        return -1;
    return list->InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int COXShortcutBar::InsertLCItem(HSHBGROUP hGroup, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    if (!list)
        return -1;
    return list->InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, nItem, lpszItem, 0, 0, nImage, lParam);
}

BOOL COXShortcutBar::DeleteLCItem(HSHBGROUP hGroup, int nItem)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->DeleteItem(nItem) : FALSE;
}

int COXShortcutBar::GetLCItemCount(HSHBGROUP hGroup) const
{
    const COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->GetItemCount() : -1;
}

COXSHBEdit* COXShortcutBar::EditLCItem(HSHBGROUP hGroup, int nItem)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    return list ? list->EditLabel(nItem) : nullptr;
}

BOOL COXShortcutBar::ScrollExpandedLC(CSize size)
{
    COXSHBListCtrl* list = GetGroupListCtrl(m_hExpandedGroup);
    return list ? list->Scroll(size) : FALSE;
}

int COXShortcutBar::SortLCItems(HSHBGROUP hGroup)
{
    COXSHBListCtrl* list = GetGroupListCtrl(hGroup);
    if (!list)
        return -1;
    struct Item {
        CString text;
        int image;
        LPARAM data;
        UINT state;
        int indent;
    };
    const int count = list->GetItemCount();
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        LVITEM lv{};
        lv.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
        lv.iItem = i;
        lv.stateMask = static_cast<UINT>(-1);
        if (!list->GetItem(&lv))
            return FALSE;
        // The whole text, however long.
        items.push_back(Item{list->GetItemText(i, 0), lv.iImage, lv.lParam, lv.state, lv.iIndent});
    }
    std::stable_sort(items.begin(), items.end(),
        [](const Item& a, const Item& b) { return std::wcscmp(a.text.GetString(), b.text.GetString()) < 0; });
    if (!list->DeleteAllItems())
        return FALSE;
    BOOL ok = TRUE;
    for (size_t i = 0; i < items.size(); ++i) {
        LVITEM lv{};
        lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
        lv.iItem = static_cast<int>(i);
        lv.pszText = const_cast<LPWSTR>(items[i].text.GetString());
        lv.iImage = items[i].image;
        lv.lParam = items[i].data;
        lv.state = items[i].state;
        lv.stateMask = static_cast<UINT>(-1);
        lv.iIndent = items[i].indent;
        if (list->InsertItem(&lv) < 0)
            ok = FALSE;
    }
    return ok;
}
