#include "toolkit/skins/skinned_combo.h"

#include "platform/afx/msgmap_wnd.h"
#include "platform/user/combobox.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "toolkit/skins/toolbar_skin.h"

IMPLEMENT_DYNAMIC(COXSkinnedComboBox, CComboBox)

BEGIN_MESSAGE_MAP(COXSkinnedComboBox, CComboBox)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, &COXSkinnedComboBox::OnStateChange)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, &COXSkinnedComboBox::OnStateChange)
    ON_CONTROL_REFLECT_EX(CBN_DROPDOWN, &COXSkinnedComboBox::OnStateChange)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, &COXSkinnedComboBox::OnStateChange)
END_MESSAGE_MAP()

COXSkinnedComboBox::COXSkinnedComboBox() = default;
COXSkinnedComboBox::~COXSkinnedComboBox() = default;

COXToolbarSkin* COXSkinnedComboBox::GetToolbarSkin() { return m_skin.Get(); }

void COXSkinnedComboBox::PaintDefault()
{
    if (GetSafeHwnd())
        DefWindowProc(WM_PAINT, 0, 0);
}

void COXSkinnedComboBox::RedrawSkin()
{
    if (GetSafeHwnd() && IsWindowVisible())
        GetToolbarSkin()->DrawComboBox(this);
}

void COXSkinnedComboBox::OnPaint() { GetToolbarSkin()->OnPaintComboBox(this); }

void COXSkinnedComboBox::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/)
{
    Default();
    if (!m_bTrackingMouse) {
        // Entering: hot now, and told when the mouse leaves again.
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
        m_bTrackingMouse = ::TrackMouseEvent(&track) != FALSE;
        RedrawSkin();
    }
}

void COXSkinnedComboBox::OnMouseLeave()
{
    m_bTrackingMouse = false;
    Default();
    RedrawSkin();
}

BOOL COXSkinnedComboBox::OnStateChange()
{
    RedrawSkin();
    return FALSE;
}
