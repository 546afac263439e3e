#pragma once
// COXShdWnd: a window that shows a drop shadow. It never erases or paints a background
// of its own: when asked to erase, it first lets every window of the thread finish its
// pending painting, so the screen under it is complete, and then darkens its right and
// bottom four-pixel edges from that screen (shadow_painter.h); the rest of it shows what
// lies beneath. The window that casts the shadow is only remembered.
#include "platform/afx/wnd.h"

class COXShdWnd : public CWnd {
    DECLARE_DYNAMIC(COXShdWnd)
public:
    COXShdWnd();
    ~COXShdWnd() override;

    void SetCastingWindow(CWnd* pCastingWnd) { m_pCastingWnd = pCastingWnd; }
    CWnd* GetCastingWindow() const { return m_pCastingWnd; }

protected:
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pCastingWnd = nullptr; // not owned

private:
    bool m_bErasing = false;
};
