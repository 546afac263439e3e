// The 2003 dock-bar skin: gradient caption strips with gripper stripes and 11-pixel button
// boxes, dock bars filled with one screen-wide gradient so that every side lines up, and
// splitters in the dock-bar background with a splitter line.
#include <algorithm>

#include "platform/afx/gdi/font.h"
#include "platform/afx/frame.h"
#include "platform/afx/window_dc.h"
#include "platform/base/version.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/dockbar_skin_draw.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/splitter_rect.h"

using namespace oxdockskin;

namespace {

// The caption band across the bar, and the square each button box sits in.
constexpr int k2003Band = 24;
// A button box: the band's square less 7 pixels at left and top and 6 at right and bottom.
constexpr int kBoxInsetNear = 7, kBoxInsetFar = 6;
// Between the two boxes.
constexpr int kBoxGap = 3;

// Through the library on the NT family of systems, by hand otherwise.
void Gradient(COXSkin2003* skin, CDC* dc, const RECT& rect, COLORREF from, COLORREF to, ULONG mode)
{
    if ((::GetVersion() & 0x80000000u) == 0)
        skin->GradientFill(dc, &rect, from, to, mode);
    else
        skin->GradientFillManual(dc, &rect, from, to, mode);
}

// A band w wide from x (w the screen width, or more when the reference is wider): its left
// half the dock gradient, its right half the gradient's end colour. Every dock bar painted
// so shows the same colour at the same distance from its reference edge.
void DockBand(COXSkin2003* skin, CDC* dc, int x, int top, int bottom, int nReferenceWidth)
{
    const int w = std::max(::GetSystemMetrics(SM_CXSCREEN), nReferenceWidth);
    const COLORREF left = skin->GetDockbarLeftColor();
    const COLORREF right = skin->GetDockbarRightColor();
    Gradient(skin, dc, CRect(x, top, x + w / 2, bottom), left, right, 0);
    FillKeepBk(dc, CRect(x + w / 2, top, x + w, bottom), right);
}

} // namespace

COXDockbarSkin2003::COXDockbarSkin2003(COXSkin2003* skin)
    : COXDockbarSkinXP(skin)
{
}

COXSkin2003* COXDockbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXDockbarSkin2003::DrawGripper(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsGripper() || IsFloatingBar(bar))
        return;
    COXSkin2003* skin = GetSkin2003();
    const bool horz = IsHorzBar(bar);
    const CRect G = ToWindow(bar->m_rectGripper, bar);
    Gradient(skin, dc, G, skin->GetControlBarLightColor(), skin->GetControlBarDarkColor(), horz ? 0 : 1);

    // A bar not at the start of its side keeps a band of the dock bar's colour between it
    // and the bar before it.
    if (CDockBar* pDockBar = bar->m_pDockBar; pDockBar && pDockBar->m_hWnd) {
        CRect rectInDock;
        bar->GetWindowRect(&rectInDock);
        pDockBar->ScreenToClient(&rectInDock);
        const COLORREF background = skin->GetDockbarBackgroundColor();
        if (!horz && rectInDock.top > 0)
            FillKeepBk(dc, CRect(G.left, G.top, G.right, G.top + 2), background);
        else if (horz && rectInDock.left > 0)
            FillKeepBk(dc, CRect(G.left, G.top, G.left + 2, G.bottom), background);
    }

    CRect stripes = G;
    if (!horz) {
        stripes.DeflateRect(3, 6);
        stripes.right = stripes.left + 2;
        skin->DrawGripperStripes(dc, stripes, true);
    } else {
        stripes.DeflateRect(5, 5);
        stripes.top = stripes.bottom - 2;
        skin->DrawGripperStripes(dc, stripes, false);
    }

    CString text;
    bar->GetWindowText(text);
    if (text.IsEmpty())
        return;
    // The first box shown, seen from the text.
    CRect firstBox;
    if (bar->IsResizeBtn() && !bar->m_rectResizeBtn.IsRectEmpty())
        firstBox = ToWindow(bar->m_rectResizeBtn, bar);
    else if (bar->IsCloseBtn() && !bar->m_rectCloseBtn.IsRectEmpty())
        firstBox = ToWindow(bar->m_rectCloseBtn, bar);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CFont upward;
    CFont* pFont = m_pCaptionFont.get();
    if (horz && MakeUpwardFont(*m_pCaptionFont, upward))
        pFont = &upward;
    CFont* pOldFont = dc->SelectObject(pFont);
    if (!horz) {
        CRect T = G;
        T.OffsetRect(13, 2);
        if (!firstBox.IsRectEmpty())
            T.right = firstBox.left - 1;
        dc->DrawText(text, &T, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER);
    } else {
        const int top = firstBox.IsRectEmpty() ? 0 : firstBox.bottom + 1;
        CRect T(6, top, G.Height(), G.bottom + 2);
        dc->DrawText(text, &T, DT_END_ELLIPSIS | DT_SINGLELINE | DT_BOTTOM);
    }
    if (pOldFont)
        dc->SelectObject(pOldFont);
    dc->SetBkMode(oldMode);
}

void COXDockbarSkin2003::DrawCloseButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsCloseBtn() || IsFloatingBar(bar) || bar->m_rectCloseBtn.IsRectEmpty())
        return;
    CRect r = ToWindow(bar->m_rectCloseBtn, bar);
    r.left -= 1;
    r.top -= 1;
    r.right += 2;
    r.bottom += 2;
    m_pSkinXP->DrawFrameButton(dc, r, DFCS_CAPTIONCLOSE, FALSE, FALSE, GetSysColor(COLOR_BTNFACE), bar);
}

void COXDockbarSkin2003::DrawResizeButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsResizeBtn() || IsFloatingBar(bar) ||
        bar->m_rectResizeBtn.IsRectEmpty())
        return;
    CRect r = ToWindow(bar->m_rectResizeBtn, bar);
    r.left -= 1;
    r.top -= 1;
    r.right += 2;
    r.bottom += 2;
    m_pSkinXP->DrawFrameButton(dc, r, bar->IsMaximized() ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX, !bar->CanResize(),
        FALSE, GetSysColor(COLOR_BTNFACE), bar);
}

void COXDockbarSkin2003::DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* /*bar*/)
{
    if (dc && windowRect)
        FillKeepBk(dc, *windowRect, GetSkin2003()->GetDockbarBackgroundColor());
}

void COXDockbarSkin2003::DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* /*dockBar*/)
{
    COXSkin2003* skin = GetSkin2003();
    DrawFlatSplitter(dc, splitter, skin->GetDockbarBackgroundColor(), skin->GetSplitterLineColor());
}

void COXDockbarSkin2003::OnNcPaintSizeDockBar(COXSizeDockBar* dockBar)
{
    if (!dockBar || !dockBar->m_hWnd)
        return;
    COXSkin2003* skin = GetSkin2003();
    CFrameWnd* pFrame = dockBar->GetParentFrame();
    if (dockBar->GetFirstDockedSizeControlBar(nullptr) || !pFrame) {
        FillDockBarNonClient(dockBar, skin->GetDockbarBackgroundColor());
        return;
    }
    // No size bar here: the frame's gradient goes on from the frame's left edge.
    CWindowDC dc(dockBar);
    CRect window;
    dockBar->GetWindowRect(&window);
    CRect client;
    dockBar->GetClientRect(&client);
    dockBar->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    CRect frame;
    pFrame->GetWindowRect(&frame);
    DockBand(skin, &dc, frame.left - window.left, 0, window.Height(), frame.Width());
}

void COXDockbarSkin2003::DrawBackground(CDC* dc, COXSizeDockBar* dockBar)
{
    if (!dc || !dockBar || !dockBar->m_hWnd)
        return;
    CRect client;
    dockBar->GetClientRect(&client);
    DockBand(GetSkin2003(), dc, client.left, client.top, client.bottom, client.Width());
}

void COXDockbarSkin2003::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar)
{
    CalcNonClient(params, bar, k2003Band);
}

void COXDockbarSkin2003::RecalcLayout(COXSizeControlBar* bar)
{
    if (!bar || !bar->m_hWnd)
        return;
    CRect G;
    bar->GetWindowRect(&G);
    bar->ScreenToClient(&G);
    bar->m_rectCloseBtn.SetRectEmpty();
    bar->m_rectResizeBtn.SetRectEmpty();
    if (bar->IsGripper() && !IsFloatingBar(bar)) {
        const bool horz = IsHorzBar(bar);
        CRect box;
        if (!horz) {
            G.DeflateRect(2, 0);
            G.bottom = G.top + k2003Band;
            box = CRect(G.right - k2003Band, G.top, G.right, G.top + k2003Band);
        } else {
            G.DeflateRect(0, 2);
            G.right = G.left + k2003Band;
            box = CRect(G.left, G.top, G.left + k2003Band, G.top + k2003Band);
        }
        box.left += kBoxInsetNear;
        box.top += kBoxInsetNear;
        box.right -= kBoxInsetFar;
        box.bottom -= kBoxInsetFar;
        if (bar->IsCloseBtn())
            bar->m_rectCloseBtn = box;
        if (bar->IsResizeBtn()) {
            bar->m_rectResizeBtn = box;
            // Before the close box: left of it on a vertical bar, below it on a horizontal one.
            if (bar->IsCloseBtn()) {
                if (!horz)
                    bar->m_rectResizeBtn.OffsetRect(-(box.Width() + kBoxGap), 0);
                else
                    bar->m_rectResizeBtn.OffsetRect(0, box.Height() + kBoxGap);
            }
        }
    }
    bar->m_rectGripper = G;
    bar->m_bNcLayoutPending = FALSE;
}
