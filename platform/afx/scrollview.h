#pragma once
// CScrollView: a view over a logical page larger than its window, scrolled with the
// window's own scroll bars. SetScrollSizes gives the map mode and the page's total size
// with the page and line steps (in logical units); the bars appear only when the page does
// not fit. OnPrepareDC sets the map mode and moves the viewport origin by the scroll
// position, so OnDraw draws in page coordinates.
#include "platform/afx/view.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;   // {0, 0}: a tenth (line) or the whole client (page)

    ~CScrollView() override;

    // nMapMode must be MM_TEXT (the drawing layer has no scaling modes: the fixed modes
    // throw CNotSupportedException); negative sizes throw CInvalidArgException. A zero
    // page or line size means a page of the client area, a line of a tenth of the page.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
        const SIZE& sizeLine = sizeDefault);
    // The position in logical units, and in device units.
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const;
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    // Scrolls to a logical position (clamped to the page).
    void ScrollToPosition(POINT pt);
    // The window fits the page (no bars) when the page is smaller than the parent allows.
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

    // Scrolls by the bar codes: LOBYTE horizontal, HIBYTE vertical (0xFF: no move);
    // FALSE when nothing would move.
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    // Scrolls by a device-unit amount, clamped; FALSE when nothing moved.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

protected:
    CScrollView();
    // Shows or hides the bars and sets their ranges from the sizes and the client area.
    void UpdateBars();
    void ScrollToDevicePosition(POINT ptDev);

    int m_nMapMode = 0;   // 0: SetScrollSizes not called yet
    CSize m_totalLog{0, 0};
    CSize m_totalDev{0, 0};
    CSize m_pageDev{0, 0};
    CSize m_lineDev{0, 0};
    BOOL m_bInsideUpdate = FALSE;

    DECLARE_MESSAGE_MAP()
};
