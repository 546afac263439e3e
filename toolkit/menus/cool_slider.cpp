#include "toolkit/menus/cool_slider.h"

#include <utility>

#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_draw.h"
#include "toolkit/menus/cool_geometry.h"
#include "toolkit/skins/dc_guard.h"

namespace cool = zyn::toolkit::cool;

BEGIN_MESSAGE_MAP(COXCoolSliderCtrl, COXCoolCtrl<CSliderCtrl>)
    ON_WM_PAINT()
END_MESSAGE_MAP()

LRESULT COXCoolSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        return DefWindowProc(message, wParam, lParam);
    return COXCoolCtrl<CSliderCtrl>::WindowProc(message, wParam, lParam);
}

void COXCoolSliderCtrl::OnChangeHotState(BOOL bInHotState)
{
    COXCoolCtrl<CSliderCtrl>::OnChangeHotState(bInHotState);
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXCoolSliderCtrl::OnPaint()
{
    Default();
    if (!IsInCoolState() || IsInHotState())
        return;
    CClientDC dc(this);
    const DWORD style = GetStyle();

    CRect thumb;
    GetThumbRect(&thumb);
    const bool hasThumb = !(style & TBS_NOTHUMB) && !thumb.IsRectEmpty();
    if (hasThumb) {
        const cool::ThumbShape shape = cool::SliderThumbShape(style);
        if (shape == cool::ThumbShape::Rectangle) {
            cool::DrawFlatRaisedEdge(dc, thumb);
        } else {
            cool::CSysPen highlight(COLOR_3DHILIGHT);
            cool::CSysPen shadow(COLOR_3DSHADOW);
            cool::CSysPen face(COLOR_3DFACE);
            CPen* pOldPen = dc.GetCurrentPen();
            for (const cool::OutlineStroke& stroke : cool::SliderThumbOutline(shape, thumb)) {
                CPen* pen = stroke.pen == cool::OutlinePen::Highlight ? &highlight
                    : stroke.pen == cool::OutlinePen::Shadow          ? &shadow
                                                                      : &face;
                dc.SelectObject(pen);
                dc.MoveTo(stroke.points.front());
                for (size_t i = 1; i < stroke.points.size(); ++i)
                    dc.LineTo(stroke.points[i]);
            }
            if (pOldPen)
                dc.SelectObject(pOldPen);
        }
        // The channel's edge must not cross the thumb.
        dc.ExcludeClipRect(&thumb);
    }

    CRect channel;
    GetChannelRect(&channel);
    if (style & TBS_VERT) {
        std::swap(channel.left, channel.top);
        std::swap(channel.right, channel.bottom);
    }
    cool::DrawFlatSunkenEdge(dc, channel);
    dc.SelectClipRgn(nullptr);
}
