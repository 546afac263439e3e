#pragma once
// CListCtrl: the class library's wrapper of the list-view common control
// ("SysListView32", platform/comctl/listview.h).
//
// Every member sends the control's LVM_ message (never reaching into the control), so a
// class that subclasses the control and answers some of those messages itself (a list
// that lays out its own items, say) is obeyed by every caller of these members. Owner-
// drawn reports (LVS_OWNERDRAWFIXED) reach the virtual DrawItem through the parent's
// reflection of WM_DRAWITEM; WM_MEASUREITEM reaches a derived class's
// ON_WM_MEASUREITEM_REFLECT entry the same way.
#include "platform/afx/headerctrl.h"
#include "platform/afx/wnd.h"
#include "platform/base/coll_position.h"
#include "platform/comctl/listview.h"

class CImageList;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl();
    ~CListCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- colours, image lists, styles -------------------------------------------------------------------
    COLORREF GetBkColor() const;
    BOOL SetBkColor(COLORREF cr);
    COLORREF GetTextColor() const;
    BOOL SetTextColor(COLORREF cr);
    COLORREF GetTextBkColor() const;
    BOOL SetTextBkColor(COLORREF cr);
    // The lists are temporary wrappers; SetImageList answers the previous list. Unless the
    // control has LVS_SHAREIMAGELISTS it destroys the lists it holds when it goes.
    CImageList* GetImageList(int nImageList) const;
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    DWORD GetExtendedStyle() const;
    // The previous extended style; dwExMask 0 changes every bit.
    DWORD SetExtendedStyle(DWORD dwNewStyle, DWORD dwExMask = 0);
    DWORD GetView() const;
    int SetView(int iView);
    UINT GetCallbackMask() const;
    BOOL SetCallbackMask(UINT nMask);

    // ---- items ---------------------------------------------------------------------------------------------------
    int GetItemCount() const;
    BOOL SetItemCount(int nItems);
    // LVSICF_* flags; for a virtual list (LVS_OWNERDATA) the count of its rows.
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL);
    // The index the item took (clamped to 0..count, or its sorted place), or -1.
    int InsertItem(const LVITEM* pItem);
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
        LPARAM lParam);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
        LPARAM lParam, int nIndent);
    // The whole text of an item or sub-item, however long.
    CString GetItemText(int nItem, int nSubItem) const;
    // At most nLen - 1 characters and the terminator; the number copied.
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEM* pItem);
    // Check boxes (LVS_EX_CHECKBOXES): state image 2 is checked, 1 unchecked.
    BOOL GetCheck(int nItem) const;
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
    UINT GetSelectedCount() const;
    int GetNextItem(int nItem, int nFlags) const;
    // Walks the selected items: a null position means none (left).
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetSelectionMark() const;
    int SetSelectionMark(int iIndex);
    int GetHotItem() const;
    int SetHotItem(int iIndex);
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;
    // Stable sorts: the callback compares lParams (SortItemsEx: indexes before the sort).
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
    BOOL SortItemsEx(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);

    // ---- columns -------------------------------------------------------------------------------------------------
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    // nWidth -1 leaves the width unset, nSubItem -1 shows the column's own sub-item.
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
        int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
    BOOL SetColumn(int nCol, const LVCOLUMN* pColumn);
    int GetColumnWidth(int nCol) const;
    // cx may be LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int nCol, int cx);
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1);
    BOOL SetColumnOrderArray(int iCount, LPINT piArray);
    // The header child (the object attached to it when it is a CHeaderCtrl, else a wrapper
    // this list keeps), or null.
    CHeaderCtrl* GetHeaderCtrl();

    // ---- geometry and scrolling ------------------------------------------------------------------------------------
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref);
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const;
    BOOL SetItemPosition(int nItem, POINT pt);
    BOOL GetOrigin(LPPOINT lpPoint) const;
    BOOL GetViewRect(LPRECT lpRect) const;
    int GetStringWidth(LPCTSTR lpsz) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const;
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo);
    int GetTopIndex() const;
    BOOL IsItemVisible(int index) const;
    int GetCountPerPage() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    BOOL Scroll(CSize size);
    BOOL RedrawItems(int nFirst, int nLast);
    BOOL Update(int nItem);
    BOOL Arrange(UINT nCode);
    CSize SetIconSpacing(int cx, int cy);
    CSize SetIconSpacing(CSize size);
    BOOL GetItemSpacing(BOOL fSmall, int* pnHorzSpacing, int* pnVertSpacing) const;

    // ---- label editing and tips ------------------------------------------------------------------------------------
    // The editor window (a temporary wrapper), or null when there is none.
    CWnd* EditLabel(int nItem);
    CWnd* GetEditControl() const;
    void CancelEditLabel();
    HWND GetToolTips() const;
    HWND SetToolTips(HWND hWndTip);

    // An owner-drawn report row (LVS_OWNERDRAWFIXED); the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    CHeaderCtrl m_headerWrapper; // stands for the header when no object is attached to it
};
