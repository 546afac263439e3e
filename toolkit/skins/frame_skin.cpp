#include "toolkit/skins/frame_skin.h"

#include <algorithm>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/view.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "toolkit/skins/skin_2003.h"

// ---- the border the system reserves ------------------------------------------------------------

OXViewBorder OXMeasureViewBorder(DWORD style, DWORD exStyle)
{
    OXViewBorder border;
    if ((style & WS_CAPTION) == WS_CAPTION)
        return border; // the top is the caption's: the system's look stays
    // The frame (one kind only, the thickest the styles ask for), then the client edges
    // inside it, as the window system lays a non-client area out.
    int frame = 0;
    if (style & WS_THICKFRAME)
        frame = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        frame = GetSystemMetrics(SM_CXBORDER);
    int edge = 0;
    if (exStyle & WS_EX_CLIENTEDGE)
        edge += GetSystemMetrics(SM_CXEDGE);
    if ((exStyle & WS_EX_STATICEDGE) && !(exStyle & WS_EX_DLGMODALFRAME))
        edge += GetSystemMetrics(SM_CXBORDER);
    border.skinned = true;
    border.thickness = std::max(0, frame + edge);
    // The client touches the border on every side but where a scroll bar lies between.
    const bool vScroll = (style & WS_VSCROLL) != 0;
    const bool leftBar = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    border.growLeft = !(vScroll && leftBar);
    border.growRight = !(vScroll && !leftBar);
    border.growTop = true;
    border.growBottom = (style & WS_HSCROLL) == 0;
    return border;
}

// ---- Classic --------------------------------------------------------------------------------

void COXFrameSkinClassic::DrawViewBorder(CView* /*view*/)
{
    // The window keeps the edge the system draws.
}

void COXFrameSkinClassic::OnNcCalcSizeView(LPARAM /*lParam*/, CView* /*view*/)
{
    // The system's client rectangle stands.
}

COLORREF COXFrameSkinClassic::GetBackgroundColor() { return GetSysColor(COLOR_BTNFACE); }

COLORREF COXFrameSkinClassic::GetBorderColor() { return GetSysColor(COLOR_BTNSHADOW); }

// ---- XP ------------------------------------------------------------------------------------------

void COXFrameSkinXP::DrawViewBorder(CView* view)
{
    const HWND hWnd = view ? view->GetSafeHwnd() : nullptr;
    if (!hWnd || !::IsWindow(hWnd))
        return;
    const OXViewBorder border = OXMeasureViewBorder(view->GetStyle(), view->GetExStyle());
    if (!border.skinned || border.thickness <= 0)
        return; // no border of the system's to take over

    CRect window;
    view->GetWindowRect(&window);
    const CPoint origin = window.TopLeft();
    window.OffsetRect(-origin.x, -origin.y);
    // What the system put inside the border (the client as it computed it, the scroll
    // bars and the box between them), and the client as it is now.
    CRect inner = window;
    inner.DeflateRect(border.thickness, border.thickness);
    inner.right = std::max(inner.right, inner.left);
    inner.bottom = std::max(inner.bottom, inner.top);
    CRect client;
    view->GetClientRect(&client);
    view->ClientToScreen(&client);
    client.OffsetRect(-origin.x, -origin.y);

    // Everything that is left of the border: the one-pixel frame in the border colour and,
    // on sides the client could not grow into, the rest in the background colour.
    CWindowDC dc(view);
    dc.ExcludeClipRect(&inner);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, GetBackgroundColor());
    CBrush frame(GetBorderColor());
    dc.FrameRect(&window, &frame);
}

void COXFrameSkinXP::OnNcCalcSizeView(LPARAM lParam, CView* view)
{
    // A view with the standard 2-pixel client edge so keeps a 1-pixel border, which
    // DrawViewBorder paints. The client grows only into the border the system reserved,
    // and only along an extent the system left open (a view squeezed to nothing stays so).
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!rect)
        return;
    // Without a window to measure, the standard client edge is assumed.
    const bool measurable = view && view->GetSafeHwnd();
    const OXViewBorder border =
        measurable ? OXMeasureViewBorder(view->GetStyle(), view->GetExStyle()) : OXMeasureViewBorder(0, WS_EX_CLIENTEDGE);
    if (!border.skinned || border.thickness < 2)
        return;
    const int grow = border.thickness - 1;
    if (rect->right > rect->left) {
        if (border.growLeft)
            rect->left -= grow;
        if (border.growRight)
            rect->right += grow;
    }
    if (rect->bottom > rect->top) {
        if (border.growTop)
            rect->top -= grow;
        if (border.growBottom)
            rect->bottom += grow;
    }
}

COLORREF COXFrameSkinXP::GetBackgroundColor() { return GetSysColor(COLOR_BTNFACE); }

COLORREF COXFrameSkinXP::GetBorderColor() { return GetSysColor(COLOR_BTNSHADOW); }

// ---- 2003 ----------------------------------------------------------------------------------------

COXFrameSkin2003::COXFrameSkin2003(COXSkin2003* skin)
    : COXFrameSkinXP(skin)
{
}

COLORREF COXFrameSkin2003::GetBackgroundColor() { return m_pSkinXP->GetDockbarBackgroundColor(); }

COLORREF COXFrameSkin2003::GetBorderColor() { return m_pSkinXP->GetBorderColor(); }
