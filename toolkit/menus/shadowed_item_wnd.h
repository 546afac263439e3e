#pragma once
// COXShadowedItemWnd: the small window the bitmap menu's TrackPopupMenu places over the
// toolbar or menu-bar button a popup drops from. It is a transparent tool window (the
// button shows through); its only message is WM_PAINT, which the current menu skin paints:
// the Classic skin leaves it to the default procedure, the XP and 2003 skins draw the
// button's frame open towards the popup and a drop shadow beside it.
#include "platform/afx/wnd.h"

class COXCoolToolBar;

class COXShadowedItemWnd : public CWnd {
    DECLARE_DYNAMIC(COXShadowedItemWnd)
public:
    // nSide: where the popup lies (OX_POPUP_BELOW, _RIGHT, _LEFT or _ABOVE).
    COXShadowedItemWnd(COXCoolToolBar* pBar, int nButtonIndex, UINT nSide)
        : m_pBar(pBar)
        , m_nButtonIndex(nButtonIndex)
        , m_nSide(nSide)
    {
    }

    COXCoolToolBar* GetToolBar() const { return m_pBar; }
    int GetButtonIndex() const { return m_nButtonIndex; }
    UINT GetFlags() const { return m_nSide; }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COXCoolToolBar* m_pBar; // not owned
    int m_nButtonIndex;
    UINT m_nSide;
};
