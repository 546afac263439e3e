#include "toolkit/menus/cool_button.h"

#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_draw.h"
#include "toolkit/menus/cool_geometry.h"
#include "toolkit/skins/dc_guard.h"

namespace cool = zyn::toolkit::cool;

namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW; // 0x0105

bool IsRadioType(UINT type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheckBoxType(UINT type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsPushType(UINT type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }

} // namespace

BEGIN_MESSAGE_MAP(COXCoolButton, COXCoolCtrl<CButton>)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL COXCoolButton::IsRadioButton() const { return IsRadioType(GetStyle() & BS_TYPEMASK) ? TRUE : FALSE; }

LRESULT COXCoolButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        return DefWindowProc(message, wParam, lParam);
    const LRESULT result = COXCoolCtrl<CButton>::WindowProc(message, wParam, lParam);
    // Unchecking a radio button (its neighbour was clicked) repaints it at once.
    if (message == BM_SETCHECK && wParam == 0 && ::IsWindow(m_hWnd) && IsRadioButton())
        RedrawWindow(nullptr, nullptr, kRedrawNow);
    return result;
}

void COXCoolButton::OnChangeHotState(BOOL bInHotState)
{
    if (!IsRadioButton()) {
        COXCoolCtrl<CButton>::OnChangeHotState(bInHotState);
        if (m_hWnd)
            RedrawWindow(nullptr, nullptr, kRedrawNow);
        return;
    }
    // A radio button's hot state is the mouse being over it, whatever the focus does.
    // A request that contradicts the mouse is refused, and one that changes nothing is
    // dropped.
    const bool bWant = bInHotState != FALSE;
    if (bWant != (m_bMouseIsOver != FALSE) || bWant == (m_bInHotState != FALSE))
        return;
    m_bInHotState = bWant ? TRUE : FALSE;
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, kRedrawNow);
}

void COXCoolButton::OnPaint()
{
    Default();
    if (!IsInCoolState() || (m_bInHotState && IsWindowEnabled()))
        return;
    const DWORD style = GetStyle();
    const UINT type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX || type == BS_USERBUTTON || type == BS_OWNERDRAW || (style & BS_FLAT))
        return;
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);

    if (IsPushType(type) || pushLike) {
        // Only the edge band is painted; the caption inside stays as the system drew it.
        const int band = IsPushType(type) ? 3 : 2;
        CRect inner = client;
        inner.DeflateRect(band, band);
        dc.ExcludeClipRect(&inner);
        dc.FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
        CRect r = client;
        if (type == BS_DEFPUSHBUTTON) {
            const COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW);
            dc.Draw3dRect(&r, dark, dark);
            r.DeflateRect(1, 1);
        }
        const int state = IsPushType(type) ? 0 : GetCheck();
        if (state == 0)
            dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
        else
            dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        dc.SelectClipRgn(nullptr);
        return;
    }

    const bool textOnLeft = (style & BS_LEFTTEXT) != 0;
    const CRect box = cool::ButtonBoxRect(client, textOnLeft);
    if (IsCheckBoxType(type)) {
        CRect r = box;
        r.DeflateRect(1, 1);
        const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
        dc.Draw3dRect(&r, light, light);
    } else if (IsRadioType(type)) {
        const cool::RadioArc arc = cool::RadioHighlightArc(box);
        cool::CSysPen pen(COLOR_3DHILIGHT, 2);
        COXSelectGuard<CPen> selectPen(dc, &pen);
        cool::DrawArc(dc, arc.ellipse, arc.start, arc.end);
    }
}
