#pragma once
// CHeaderCtrl: the class library's wrapper of the header common control ("SysHeader32",
// platform/comctl/header.h). Every member sends the control's HDM_ message, so a derived
// or subclassed control can answer it. Owner-drawn items (HDF_OWNERDRAW) reach DrawItem
// through the parent's reflection of WM_DRAWITEM.
#include "platform/afx/wnd.h"
#include "platform/comctl/header.h"

class CImageList;

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl();
    ~CHeaderCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetItemCount() const;
    // The index the item took, or -1.
    int InsertItem(int nPos, HDITEM* phdi);
    BOOL DeleteItem(int nPos);
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const;
    BOOL SetItem(int nPos, HDITEM* pHeaderItem);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL Layout(HDLAYOUT* pHeaderLayout);
    // The item at pHeaderHitTestInfo->pt (flags filled in), or -1.
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo);
    // The image list the header draws from (a temporary wrapper), and the previous one.
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);
    // iCount -1: the item count.
    BOOL GetOrderArray(LPINT piArray, int iCount = -1);
    BOOL SetOrderArray(int iCount, LPINT piArray);
    int OrderToIndex(int nOrder) const;

    // An owner-drawn item's picture; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
