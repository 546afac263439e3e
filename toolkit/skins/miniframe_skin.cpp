// The mini-frame skins: the Classic one leaves the floating frame to the system; the XP
// one (also the 2003 skin's, in its colours) paints a flat border, caption and close button.
#include "toolkit/skins/miniframe_skin.h"

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/vkeys.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_xp.h"

namespace {

// The frame's window rectangle moved to the origin, and its client area in the same
// coordinates.
struct FrameGeometry {
    CRect window;
    CRect client;
};

FrameGeometry GeometryOf(const COXSizableMiniDockFrameWnd* frame)
{
    FrameGeometry g;
    frame->GetWindowRect(&g.window);
    frame->GetClientRect(&g.client);
    frame->ClientToScreen(&g.client);
    g.client.OffsetRect(-g.window.left, -g.window.top);
    g.window.OffsetRect(-g.window.left, -g.window.top);
    return g;
}

} // namespace

// ---- Classic ---------------------------------------------------------------------------------------

void COXMiniFrameSkinClassic::OnNcPaint(COXSizableMiniDockFrameWnd* frame)
{
    if (frame && frame->m_hWnd)
        frame->DefWindowProc(WM_NCPAINT, 1, 0);
}

BOOL COXMiniFrameSkinClassic::OnNcActivate(BOOL active, COXSizableMiniDockFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return TRUE;
    // A floating view looks active only while its MDI child is the active one.
    COXDockingSeam& seam = OXGetDockingSeam();
    CControlBar* pBar = frame->GetFirstControlBar();
    if (COXSizeViewBar* pView = pBar ? seam.AsSizeViewBar(pBar) : nullptr) {
        if (COXMDIChildWndSizeDock* pChild = seam.GetViewBarChild(pView)) {
            if (active && seam.MDIGetActive(pChild) != pChild)
                return FALSE;
            return static_cast<BOOL>(frame->DefWindowProc(WM_NCACTIVATE, active ? TRUE : FALSE, 0));
        }
    }
    return frame->CallBaseNcActivate(active);
}

void COXMiniFrameSkinClassic::DrawCaption(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The system draws the caption.
}

BOOL COXMiniFrameSkinClassic::DrawCaptionButtons(COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The frame draws its own buttons.
    return FALSE;
}

// ---- XP ------------------------------------------------------------------------------------------

COXMiniFrameSkinXP::COXMiniFrameSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(85, L"Tahoma BOLD");
}

COXMiniFrameSkinXP::~COXMiniFrameSkinXP() = default;

CRect COXMiniFrameSkinXP::GetCaptionRect(COXSizableMiniDockFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return CRect();
    const FrameGeometry g = GeometryOf(frame);
    // Inside the 2-pixel border with a pixel to spare, down to 2 pixels above the client.
    return CRect(3, 3, g.window.Width() - 3, g.client.top - 2);
}

void COXMiniFrameSkinXP::OnNcPaint(COXSizableMiniDockFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return;
    const FrameGeometry g = GeometryOf(frame);
    {
        CWindowDC dc(frame);
        dc.ExcludeClipRect(&g.client);
        const COLORREF border = m_pSkinXP->GetMiniFrameBorderColor();
        dc.FillSolidRect(&g.window, border);
        CRect inner = g.window;
        inner.DeflateRect(2, 2);
        dc.FillSolidRect(&inner, m_pSkinXP->GetMiniFrameLightBorderColor());
        // Rounded inner corners.
        dc.SetPixel(inner.left, inner.top, border);
        dc.SetPixel(inner.right - 1, inner.top, border);
        dc.SetPixel(inner.right - 1, inner.bottom - 1, border);
        dc.SetPixel(inner.left, inner.bottom - 1, border);
    }
    DrawCaption(frame);
}

BOOL COXMiniFrameSkinXP::OnNcActivate(BOOL /*active*/, COXSizableMiniDockFrameWnd* /*frame*/)
{
    // The caption keeps one look whether the frame is active or not.
    return TRUE;
}

void COXMiniFrameSkinXP::DrawCaption(COXSizableMiniDockFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return;
    const CRect caption = GetCaptionRect(frame);
    {
        CWindowDC dc(frame);
        // The fill leaves its colour as the DC's background, behind the opaque text.
        dc.FillSolidRect(&caption, m_pSkinXP->GetMiniFrameCaptionColor());
        CString text;
        frame->GetWindowText(text);
        CRect rectText = caption;
        rectText.DeflateRect(3, 0);
        COXSelectGuard<CFont> font(dc, m_pCaptionFont.get());
        const COLORREF oldColour = dc.SetTextColor(m_pSkinXP->GetMiniFrameCaptionTextColor());
        dc.DrawText(text, &rectText, DT_VCENTER | DT_SINGLELINE);
        dc.SetTextColor(oldColour);
    }
    DrawCaptionButtons(frame);
}

BOOL COXMiniFrameSkinXP::DrawCaptionButtons(COXSizableMiniDockFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return TRUE;
    const HMENU hSysMenu = ::GetSystemMenu(frame->m_hWnd, FALSE);
    if (!hSysMenu || ::GetMenuItemCount(hSysMenu) <= 0)
        return TRUE;   // nothing to close: no button, and the frame draws none either
    const CRect caption = GetCaptionRect(frame);
    const CRect button(caption.right - caption.Height(), caption.top, caption.right, caption.bottom);
    if (button.Width() <= 0 || button.Height() <= 0)
        return TRUE;

    // The cursor in window coordinates: the client point moved by where the client area
    // really starts in the window.
    const FrameGeometry g = GeometryOf(frame);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    frame->ScreenToClient(&cursor);
    cursor.Offset(g.client.left, g.client.top);
    const CRect hotArea(button.left, button.top, button.right - 1, button.bottom - 1);
    const bool hot = hotArea.PtInRect(cursor) != FALSE;
    const bool down = ::GetKeyState(VK_LBUTTON) < 0;

    COLORREF glyph = m_pSkinXP->GetMiniFrameCaptionTextColor();
    bool withBrush = false;
    COLORREF brushColour = 0;
    if (hot && down) {
        withBrush = true;
        brushColour = m_pSkinXP->GetHotSelectedItemColor();
        glyph = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (hot) {
        withBrush = true;
        brushColour = m_pSkinXP->GetHotItemColor();
        glyph = ::GetSysColor(COLOR_BTNTEXT);
    }

    CWindowDC dc(frame);
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, button.Width(), button.Height()))
        return TRUE;
    {
        COXSelectGuard<CBitmap> selBitmap(memDC, &bitmap);
        const CRect r(0, 0, button.Width(), button.Height());
        if (withBrush) {
            CBrush brush(brushColour);
            CPen outline(PS_SOLID, 1, m_pSkinXP->GetActiveBorderColor());
            COXSelectGuard<CBrush> selBrush(memDC, &brush);
            COXSelectGuard<CPen> selPen(memDC, &outline);
            memDC.Rectangle(&r);
        } else {
            memDC.FillSolidRect(&r, m_pSkinXP->GetMiniFrameCaptionColor());
        }
        // An X two pixels thick: each stroke drawn twice, the second a pixel to the right.
        CPen pen(PS_SOLID, 1, glyph);
        COXSelectGuard<CPen> selPen(memDC, &pen);
        const CRect gl(r.left + 4, r.top + 4, r.right - 5, r.bottom - 5);
        for (int dx = 0; dx < 2; ++dx) {
            memDC.MoveTo(gl.left + dx, gl.top);
            memDC.LineTo(gl.right + 1 + dx, gl.bottom + 1);
            memDC.MoveTo(gl.right + dx, gl.top);
            memDC.LineTo(gl.left - 1 + dx, gl.bottom + 1);
        }
        dc.BitBlt(button.left, button.top, button.Width(), button.Height(), &memDC, 0, 0, SRCCOPY);
    }
    return TRUE;
}
