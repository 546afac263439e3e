// The XP dock-bar skin: flat grippers with four thin lines in the gripper colour, caption
// buttons through the skin object's DrawFrameButton, face-coloured splitters with a
// separator line through their middle.
#include <algorithm>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/dockbar_skin_draw.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/splitter_rect.h"

using namespace oxdockskin;

namespace {

constexpr int kXPBand = 16;

} // namespace

namespace oxdockskin {

void DrawFlatSplitter(CDC* dc, const COXSplitterRect* splitter, COLORREF fill, COLORREF line)
{
    if (!dc || !splitter)
        return;
    CRect R = splitter->m_rect;
    R.bottom = std::min(R.bottom, static_cast<LONG>(kSplitterPaintLimit));
    FillKeepBk(dc, R, fill);
    if (splitter->m_nType == COXSplitterRect::typeVertical)
        FillKeepBk(dc, CRect((R.left + R.right) / 2, R.top, (R.left + R.right) / 2 + 1, R.bottom), line);
    else
        FillKeepBk(dc, CRect(R.left, (R.top + R.bottom) / 2, R.right, (R.top + R.bottom) / 2 + 1), line);
}

void FillDockBarNonClient(COXSizeDockBar* dockBar, COLORREF colour)
{
    if (!dockBar || !dockBar->m_hWnd)
        return;
    CWindowDC dc(dockBar);
    CRect window;
    dockBar->GetWindowRect(&window);
    CRect client;
    dockBar->GetClientRect(&client);
    dockBar->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    window.OffsetRect(-window.left, -window.top);
    FillKeepBk(&dc, window, colour);
}

} // namespace oxdockskin

COXDockbarSkinXP::COXDockbarSkinXP(COXSkinXP* skin)
    : m_pSkinXP(skin)
    , m_pCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(85, L"Tahoma BOLD");
}

COXDockbarSkinXP::~COXDockbarSkinXP() = default;

void COXDockbarSkinXP::DrawGripper(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsGripper() || IsFloatingBar(bar))
        return;
    const bool horz = IsHorzBar(bar);
    const bool solid = bar->IsSolidGripper() != FALSE;
    CRect G = bar->m_rectGripper;
    if (solid) {
        // A solid strip runs under the buttons too.
        G.UnionRect(&G, &bar->m_rectCloseBtn);
        G.UnionRect(&G, &bar->m_rectResizeBtn);
    }
    G.InflateRect(3, 3);
    G.OffsetRect(ClientToWindowOffset(bar));
    if (!solid) {
        if (horz)
            G.DeflateRect(2, 0);
        else
            G.DeflateRect(4, 2);
    } else {
        FillKeepBk(dc, CRect(G.left + (horz ? 2 : 1), G.top + 2, G.right - 1, G.bottom - 1),
            GetSysColor(COLOR_INACTIVECAPTION));
    }

    CString text;
    bar->GetWindowText(text);
    const bool hasText = bar->IsCaption() && !text.IsEmpty();
    CRect textRect;
    if (hasText) {
        CRect T = G;
        if (solid) {
            if (!horz)
                T.left += 4;
            else
                T.bottom -= 4;
        }
        textRect = DrawStripText(dc, text, T, G, horz, m_pCaptionFont.get(),
            GetSysColor(solid ? COLOR_CAPTIONTEXT : COLOR_WINDOWTEXT), solid, GetSysColor(COLOR_BTNFACE));
    }
    if (solid)
        return;
    // Four thin lines along the strip beyond the text.
    CPen pen(PS_SOLID, 1, m_pSkinXP->GetGripperColor());
    COXSelectGuard<CPen> selPen(*dc, &pen);
    if (!horz) {
        const int start = hasText ? textRect.right + 3 : G.left;
        G.top += 3;
        G.right -= 1;
        if (G.right - start > 5) {
            for (int i = 0; i < 4; ++i) {
                dc->MoveTo(start, G.top + 2 * i);
                dc->LineTo(G.right, G.top + 2 * i);
            }
        }
    } else {
        int end = hasText ? textRect.top - 3 : G.bottom;
        G.left += 3;
        end -= 1;
        if (end - G.top > 5) {
            for (int i = 0; i < 4; ++i) {
                dc->MoveTo(G.left + 2 * i, G.top);
                dc->LineTo(G.left + 2 * i, end);
            }
        }
    }
}

namespace {

// The button's rectangle grown by 1 at left and top and 2 at right and bottom, in the
// bar's window coordinates, drawn by the skin object.
void DrawXPButton(COXSkinXP* skin, CDC* dc, COXSizeControlBar* bar, const CRect& clientRect, UINT glyph,
    BOOL disabled, BOOL solid, COLORREF background)
{
    if (clientRect.IsRectEmpty() || !skin)
        return;
    CRect r = ToWindow(clientRect, bar);
    r.left -= 1;
    r.top -= 1;
    r.right += 2;
    r.bottom += 2;
    skin->DrawFrameButton(dc, r, glyph, disabled, solid, background, bar);
}

} // namespace

void COXDockbarSkinXP::DrawCloseButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsCloseBtn() || IsFloatingBar(bar))
        return;
    const BOOL solid = bar->IsSolidGripper();
    DrawXPButton(m_pSkinXP, dc, bar, bar->m_rectCloseBtn, DFCS_CAPTIONCLOSE, FALSE, solid,
        GetSysColor(solid ? COLOR_INACTIVECAPTION : COLOR_BTNFACE));
}

void COXDockbarSkinXP::DrawResizeButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsResizeBtn() || IsFloatingBar(bar))
        return;
    const BOOL solid = bar->IsSolidGripper();
    DrawXPButton(m_pSkinXP, dc, bar, bar->m_rectResizeBtn, bar->IsMaximized() ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX,
        !bar->CanResize(), solid, GetSysColor(solid ? COLOR_INACTIVECAPTION : COLOR_BTNFACE));
}

void COXDockbarSkinXP::DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* /*bar*/)
{
    if (dc && windowRect)
        FillKeepBk(dc, *windowRect, GetSysColor(COLOR_BTNFACE));
}

void COXDockbarSkinXP::DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* /*dockBar*/)
{
    DrawFlatSplitter(dc, splitter, GetSysColor(COLOR_BTNFACE), m_pSkinXP->GetSeparatorColor());
}

void COXDockbarSkinXP::OnNcPaintSizeDockBar(COXSizeDockBar* dockBar)
{
    FillDockBarNonClient(dockBar, m_pSkinXP->GetDockbarBackgroundColor());
}

void COXDockbarSkinXP::DrawBackground(CDC* dc, COXSizeDockBar* dockBar)
{
    FillDockBarClient(dc, dockBar, GetSysColor(COLOR_BTNFACE));
}

void COXDockbarSkinXP::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar)
{
    CalcNonClient(params, bar, kXPBand);
}

void COXDockbarSkinXP::RecalcLayout(COXSizeControlBar* bar) { LayoutStrip(bar, m_constants.nGripperButtonGap); }

COLORREF COXDockbarSkinXP::GetClientBorderColor() { return m_pSkinXP->GetBorderColor(); }
