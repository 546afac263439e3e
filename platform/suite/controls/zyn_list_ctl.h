#pragma once
// CZynListCtl: the suite's list control, a CListCtrl that owns its rows' item data,
// tells its parent about selections with one private message, and carries the colours
// and highlight style that owner-drawn rows of derived lists paint with.
//
// Item data: a list given a free function (SetLparamFreeFunc) owns the lParam of every
// row from the moment ZynInsertItem is called with it: the function is called once for
// each row whose lParam is not 0 as the row goes (LVM_DELETEITEM, LVM_DELETEALLITEMS, the
// window's destruction, or a ZynInsertItem that could not insert the row), and never
// twice. It runs after the control has deleted the row, so the parent's LVN_DELETEITEM
// (a parent of any kind: nothing depends on reflection) still sees the data whole.
//
// Selection: each row that becomes selected, by a click, a key or SelectItem, makes the
// list send its parent WM_ZYN_LISTITEMCHANGED (6046) with the control's ID in wParam and
// the row in lParam (the list sends it as it handles the reflected LVN_ITEMCHANGED, so the
// parent has that notification first); SelectItem(-1) clears the selection and sends -1. SelectItem sends
// the message even when the row was selected already, so a parent can rely on it to show
// the row.
//
// Colours: the rows' text and background (CLR_DEFAULT: the window text and window
// colours of the system, and grey text on the button face while the list is disabled)
// are kept here and given to the control too, so default and owner-drawn painting agree.
// Label-only highlighting (the default) marks only the first column's label of a
// selected row; otherwise the whole row.
#include <vector>

#include "platform/afx/listctrl.h"
#include "platform/base/cstring.h"

class CDC;

// The message the list sends its parent when a row is selected (wParam: the control's
// ID; lParam: the row, or -1 when the selection was cleared by SelectItem(-1)).
inline constexpr UINT WM_ZYN_LISTITEMCHANGED = 6046;

using ZynLparamFreeFunc = void (*)(LPARAM);

// The free function of lists whose item data are CObjects: deletes the object (0 is
// ignored).
void ZynFreeCObject(LPARAM lParam);

class CZynListCtl : public CListCtrl {
    DECLARE_DYNCREATE(CZynListCtl)
public:
    CZynListCtl();
    ~CZynListCtl() override;

    // The function that frees the rows' item data (null: the rows own nothing). Rows
    // already in the list are freed by the new function when they go.
    void SetLparamFreeFunc(ZynLparamFreeFunc pfn) { m_pfnFree = pfn; }
    ZynLparamFreeFunc GetLparamFreeFunc() const { return m_pfnFree; }

    // Inserts a row at nItem (below 0 or past the end: appended) with its text, image
    // (I_IMAGENONE: none) and item data; the row's index, or -1. The list owns lParam
    // from the call on: when the row cannot be inserted, lParam is freed at once.
    int ZynInsertItem(int nItem, LPCTSTR lpszText, int nImage, LPARAM lParam);
    // Sets a sub-item's text, and with nImage not -1 (I_IMAGECALLBACK) its image.
    BOOL ZynSetItem(int nItem, int nSubItem, LPCTSTR lpszText, int nImage = -1);
    // Loads bitmap nSmallBitmapID as the small image list (LVSIL_SMALL) and, when not 0,
    // nLargeBitmapID as the normal one: each bitmap is cut into images 16 pixels wide (32
    // for the normal list) and as tall as the bitmap, the colour of its top-left pixel
    // transparent. The lists go with the control. FALSE when a bitmap is not found (the
    // lists already set stay).
    BOOL ZynSetImageList(UINT nSmallBitmapID, UINT nLargeBitmapID = 0);
    // Sizes column nCol (-1: every column) to its widest text, with bUseHeader to the
    // header text too, and at least nMinWidth pixels.
    BOOL ResizeColumn(int nCol, BOOL bUseHeader, int nMinWidth = 0);
    // bSelect: the row alone becomes selected and focused, and the parent is told (6046);
    // -1 clears the selection and tells the parent -1. !bSelect: the row is deselected.
    BOOL SelectItem(int nItem, BOOL bSelect);
    // Scrolls the first selected row fully into view; FALSE when no row is selected.
    BOOL MakeSelectionsVisible();

    // The text shortened with "..." so that it plus nOffset pixels fits nColumnLen pixels
    // in the DC's font (the whole text when it fits; "..." alone, or nothing, when not
    // even that does).
    static CString MakeShortString(CDC* pDC, LPCTSTR lpszLong, int nColumnLen, int nOffset);

    // ---- colours and highlight ------------------------------------------------------------------
    void SetRowColors(COLORREF crText, COLORREF crBack);
    // The colours rows paint with now (system colours resolved, disabled look applied).
    COLORREF GetRowTextColor() const;
    COLORREF GetRowBkColor() const;
    void SetHighlightLabelOnly(BOOL bLabelOnly) { m_bLabelOnlyHighlight = bLabelOnly; }
    BOOL IsHighlightLabelOnly() const { return m_bLabelOnlyHighlight; }

protected:
    afx_msg BOOL OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnLvmDeleteItem(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLvmDeleteAllItems(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void TellParent(int nItem);
    void FreeParam(LPARAM lParam);
    // The item data of every row (empty without a free function).
    std::vector<LPARAM> RowData() const;

    ZynLparamFreeFunc m_pfnFree = nullptr;
    COLORREF m_crText = CLR_DEFAULT;
    COLORREF m_crBack = CLR_DEFAULT;
    BOOL m_bLabelOnlyHighlight = TRUE;
    int m_nQuietSelect = 0; // SelectItem tells the parent itself
};
