#pragma once
// COXShdWnd: a window that shows a drop shadow. It never erases or paints a background
// of its own: when asked to erase, it first lets every window of the thread finish its
// pending painting, so the screen under it is complete, and then darkens its right and
// bottom four-pixel edges from that screen (shadow_painter.h); the rest of it shows what
// lies beneath. The window that casts the shadow is only remembered.
//
// The first shadow after the window is placed, sized or shown is recorded and later
// erases replay it: the screen under the window then holds its own shadow, and reading it
// again would darken the shadow once more with every repaint (a window is erased more
// than once, since it never reports its background as erased).
#include "platform/afx/wnd.h"
#include "platform/base/coll_array.h"

class COXShdWnd : public CWnd {
    DECLARE_DYNAMIC(COXShdWnd)
public:
    COXShdWnd();
    ~COXShdWnd() override;

    void SetCastingWindow(CWnd* pCastingWnd) { m_pCastingWnd = pCastingWnd; }
    CWnd* GetCastingWindow() const { return m_pCastingWnd; }

protected:
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pCastingWnd = nullptr; // not owned

private:
    bool m_bErasing = false;
    CArray<COLORREF, COLORREF> m_savedShadow; // the shadow as first painted at this place
};
