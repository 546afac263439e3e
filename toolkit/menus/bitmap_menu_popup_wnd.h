#pragma once
// COXBitmapMenuPopupWnd: the window that shows a bitmap menu while it is customised. It is
// not a Windows menu but an ordinary top-most popup (never activated by a click) that
// lays the menu's items out one under the other, each measured by the menu, and paints
// each through the menu's DrawItem; its frame is the current menu skin's
// (OnNcPaintCustomizePopupWnd). The menu's drop target is registered on it.
//
// Mouse: a left press selects the item under it (the customised item) and starts the
// 200 ms press-and-hold timer; when the timer fires with the left button still down the
// menu drags the item (COXBitmapMenu::OnBeginDragDrop). A middle or right press only
// selects; a right release opens the item's context menu, whose commands come back here
// as WM_COMMAND and go to the menu. The drop target's messages go to the menu too.
//
// Keyboard: the popup never has the focus, so the customisation window hands it its
// keys (HandleKeyDown, or WM_KEYDOWN sent to this window): Up/Down/Home/End select,
// Ctrl+Up/Ctrl+Down move the selected item, Delete deletes it (through the context
// command, so the customisation window may veto), the menu key or Shift+F10 opens its
// context menu, Escape clears the selection.
//
// A menu taller than the work area of its monitor is cut to it and scrolled by whole
// items: while something is dragged near its top or bottom edge (the drop target's
// automatic scrolling), and to keep the selected item in view.
#include <vector>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"

class COXBitmapMenu;

class COXBitmapMenuPopupWnd : public CWnd {
    DECLARE_DYNAMIC(COXBitmapMenuPopupWnd)
public:
    COXBitmapMenuPopupWnd();
    ~COXBitmapMenuPopupWnd() override;
    COXBitmapMenuPopupWnd(const COXBitmapMenuPopupWnd&) = delete;
    COXBitmapMenuPopupWnd& operator=(const COXBitmapMenuPopupWnd&) = delete;

    virtual COXBitmapMenu* GetBitmapMenu() const { return m_pBitmapMenu; }
    // Shows pMenu for customisation at (x, y) (screen; nFlags TPM_LEFTALIGN,
    // TPM_CENTERALIGN or TPM_RIGHTALIGN for x), owned by pWnd, whose window becomes the
    // menu's customisation window. FALSE when the window cannot be created.
    virtual BOOL TrackPopupMenu(COXBitmapMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd);
    // Hides the window and lets the menu go (not while a drag from the menu runs).
    virtual void ResetPopupMenu();
    // Lays the menu out again where the window stands and repaints it.
    virtual void OnMenuChanged();
    // The item rectangles and the window rectangle for a popup at (x, y); FALSE without a menu.
    virtual BOOL CalcLayout(UINT nFlags, int x, int y);
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);

    // An item's rectangle as laid out (client coordinates of the unscrolled popup);
    // CInvalidArgException for an index outside the items.
    CRect GetItemRect(int nIndex) const;
    int GetItemCount() const { return static_cast<int>(m_arrItemRects.size()); }
    // The screen rectangle the last layout gave the window.
    const CRect& GetLayoutWindowRect() const { return m_rectWindow; }
    void RedrawItem(int nIndex);

    // ---- scrolling ------------------------------------------------------------------------------------
    // How far the items are scrolled up (pixels, always the top of an item); 0 for a
    // popup that fits its monitor.
    int GetScrollOffset() const { return m_nScrollPos; }
    int GetMaxScrollOffset() const;
    // A client point in the coordinates of the laid-out items.
    CPoint ClientToLayout(CPoint point) const { return CPoint(point.x, point.y + m_nScrollPos); }
    // Scrolls so that the item is wholly in view.
    void EnsureVisible(int nIndex);

    // ---- keyboard -------------------------------------------------------------------------------------
    // TRUE when the key was used.
    virtual BOOL HandleKeyDown(UINT nChar);

    // The menu is going away: the window lets it go at once and hides.
    void ForgetMenu(COXBitmapMenu* pMenu);

protected:
    // The menu font from the system's non-client metrics.
    void UpdateMenuMetrics();
    // Sets the scroll range for the item heights and the client height now.
    void UpdateScrollRange();
    void ScrollTo(int nOffset);
    // The item under a client point, -1 when none.
    int ItemFromPoint(CPoint point);
    BOOL IsCustomizing() const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnDragEnterMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragOverMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragLeaveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragScrollMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustBMDelete();
    afx_msg void OnCustBMAppearance();
    afx_msg void OnCustBMSeparatorBefore();
    afx_msg void OnCustBMSeparatorAfter();
    afx_msg void OnCustBMRecentlyUsed();
    DECLARE_MESSAGE_MAP()

    COXBitmapMenu* m_pBitmapMenu = nullptr; // not owned
    CRect m_rectWindow{0, 0, 0, 0};
    std::vector<CRect> m_arrItemRects;
    CFont m_font;
    UINT_PTR m_nDragTimer = 0;
    int m_nScrollPos = 0;
    int m_nItemsHeight = 0; // all items, one under the other
};
