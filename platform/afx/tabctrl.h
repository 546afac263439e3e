#pragma once
// CTabCtrl: the class library's wrapper of the tab control ("SysTabControl32",
// platform/comctl/tabctrl.h). Each member sends the matching TCM_ message; owner-drawn
// tabs reach the virtual DrawItem when the parent reflects WM_DRAWITEM to the control's
// object (as the class library does for its controls).
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/comctl/tabctrl.h"

class CImageList;
class CToolTipCtrl;

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl();
    ~CTabCtrl() override;

    // A child (WS_CHILD is added) of pParentWnd with the TCS_ and window styles given.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;
    using CWnd::CreateEx;

    // ---- items -------------------------------------------------------------------------------------------------
    int GetItemCount() const;
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const;
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem);
    // The index the item got (an index past the end appends), or -1.
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem);
    LONG InsertItem(int nItem, LPCTSTR lpszItem);
    LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
    LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam, DWORD dwState,
        DWORD dwStateMask);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    // Only while there are no items.
    BOOL SetItemExtra(int nBytes);
    DWORD GetItemState(int nItem, DWORD dwMask) const;
    BOOL SetItemState(int nItem, DWORD dwMask, DWORD dwState);
    BOOL HighlightItem(int idItem, BOOL fHighlight = TRUE);
    void DeselectAll(BOOL fExcludeFocus);

    // ---- selection and focus ---------------------------------------------------------------------------------
    int GetCurSel() const;
    // No notifications; the previously selected index, or -1.
    int SetCurSel(int nItem);
    int GetCurFocus() const;
    void SetCurFocus(int nItem);

    // ---- geometry -----------------------------------------------------------------------------------------------
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;
    // bLarger FALSE: a window rectangle to its display area; TRUE: the other way.
    void AdjustRect(BOOL bLarger, LPRECT lpRect);
    int HitTest(TCHITTESTINFO* pHitTestInfo) const;
    int GetRowCount() const;
    // The previous width and height.
    CSize SetItemSize(CSize size);
    void SetPadding(CSize size);
    int SetMinTabWidth(int cx);

    // ---- images, styles, tooltips -----------------------------------------------------------------------------
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);
    void RemoveImage(int nImage);
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwNewStyle, DWORD dwExMask = 0);
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip);

    // Owner-drawn tabs (TCS_OWNERDRAWFIXED): called for each WM_DRAWITEM reflected here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
