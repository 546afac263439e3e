// The Classic dock-bar skin (system colours, caption strips in the window caption
// colours, 3-D splitter lines) and the drawing helpers the three dock-bar skins share.
#include "toolkit/skins/dockbar_skin.h"

#include <algorithm>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/font.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/dockbar_skin_draw.h"
#include "toolkit/skins/splitter_rect.h"

// ---- shared helpers --------------------------------------------------------------------------------

namespace oxdockskin {

bool IsHorzBar(const COXSizeControlBar* bar) { return (bar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0; }

bool IsFloatingBar(const COXSizeControlBar* bar) { return (bar->GetBarStyle() & CBRS_FLOATING) != 0; }

CPoint ClientToWindowOffset(const COXSizeControlBar* bar)
{
    CRect window;
    bar->GetWindowRect(&window);
    bar->ScreenToClient(&window);
    return CPoint(-window.left, -window.top);
}

CRect ToWindow(const RECT& clientRect, const COXSizeControlBar* bar)
{
    CRect r(clientRect);
    r.OffsetRect(ClientToWindowOffset(bar));
    return r;
}

bool MakeUpwardFont(CFont& font, CFont& upward)
{
    LOGFONT lf{};
    if (!font.GetSafeHandle() || !font.GetLogFont(&lf))
        return false;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    return upward.CreateFontIndirect(&lf) != FALSE;
}

namespace {

// x and y swapped.
CRect Transposed(const CRect& r) { return CRect(r.top, r.left, r.bottom, r.right); }

// d / 2 + d % 2 (both truncating toward zero): an odd positive difference gives the
// larger half to the offset.
int CentringOffset(int d) { return d / 2 + d % 2; }

} // namespace

CRect DrawStripText(CDC* dc, const CString& text, const CRect& T, const CRect& G, bool horzBar, CFont* font,
    COLORREF colour, bool transparent, COLORREF background)
{
    CFont upward;
    CFont* pUse = font;
    if (horzBar && font && MakeUpwardFont(*font, upward))
        pUse = &upward;
    CFont* pOldFont = pUse ? dc->SelectObject(pUse) : nullptr;
    const COLORREF oldText = dc->SetTextColor(colour);
    const COLORREF oldBk = dc->SetBkColor(background);
    const int oldMode = dc->SetBkMode(transparent ? TRANSPARENT : OPAQUE);

    // Measured along the text: up a horizontal bar that is the strip's height.
    CRect measured = horzBar ? Transposed(T) : T;
    dc->DrawText(text, &measured, DT_CALCRECT | DT_SINGLELINE);
    const int nAvailable = horzBar ? T.Height() : T.Width();
    if (measured.Width() > nAvailable)
        measured.right = measured.left + nAvailable;
    if (horzBar)
        measured = Transposed(measured);

    CRect textRect = measured;
    if (!horzBar) {
        textRect.OffsetRect(0, CentringOffset(T.Height() - measured.Height()));
    } else {
        textRect.OffsetRect(CentringOffset(T.Width() - measured.Width()), 0);
        textRect.bottom = G.bottom - 6;
        textRect.top = textRect.bottom - measured.Height();
    }
    CRect drawRect = textRect;
    if (horzBar) {
        // Upward text starts at the bottom-left corner of its cell.
        drawRect.bottom += textRect.Width();
        drawRect.right += textRect.Height();
    }
    dc->DrawText(text, &drawRect, DT_END_ELLIPSIS | DT_SINGLELINE | DT_BOTTOM);

    dc->SetBkMode(oldMode);
    dc->SetBkColor(oldBk);
    dc->SetTextColor(oldText);
    if (pOldFont)
        dc->SelectObject(pOldFont);
    return textRect;
}

void FillDockBarClient(CDC* dc, COXSizeDockBar* dockBar, COLORREF colour)
{
    if (!dc || !dockBar || !dockBar->m_hWnd)
        return;
    CRect client;
    dockBar->GetClientRect(&client);
    FillKeepBk(dc, client, colour);
}

void FillKeepBk(CDC* dc, const RECT& rect, COLORREF colour)
{
    const COLORREF oldBk = dc->GetBkColor();
    dc->FillSolidRect(&rect, colour);
    dc->SetBkColor(oldBk);
}

void CalcNonClient(NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar, int nBand)
{
    if (!params || !bar)
        return;
    CRect r(params->rgrc[0]);
    r.DeflateRect(kNcBorder, kNcBorder);
    // A bar smaller than its borders keeps an empty client area, not an inside-out one.
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    if (bar->IsGripper() && !IsFloatingBar(bar)) {
        if (IsHorzBar(bar))
            r.left = std::min(r.left + nBand, r.right);
        else
            r.top = std::min(r.top + nBand, r.bottom);
        bar->m_bNcLayoutPending = TRUE;
    }
    params->rgrc[0] = r;
}

void LayoutStrip(COXSizeControlBar* bar, int nGap)
{
    if (!bar || !bar->m_hWnd)
        return;
    CRect G;
    bar->GetWindowRect(&G);
    bar->ScreenToClient(&G);
    G.DeflateRect(kNcBorder, kNcBorder);
    bar->m_rectCloseBtn.SetRectEmpty();
    bar->m_rectResizeBtn.SetRectEmpty();
    if (bar->IsGripper() && !IsFloatingBar(bar)) {
        if (!IsHorzBar(bar)) {
            G.bottom = G.top + kStrip;
            if (bar->IsCloseBtn()) {
                bar->m_rectCloseBtn = CRect(G.right - kStrip, G.top, G.right, G.bottom);
                G.right -= nGap + kStrip;
            }
            if (bar->IsResizeBtn()) {
                bar->m_rectResizeBtn = CRect(G.right - kStrip, G.top, G.right, G.bottom);
                G.right -= nGap + kStrip;
            }
        } else {
            G.right = G.left + kStrip;
            if (bar->IsCloseBtn()) {
                bar->m_rectCloseBtn = CRect(G.left, G.top, G.right, G.top + kStrip);
                G.top += nGap + kStrip;
            }
            if (bar->IsResizeBtn()) {
                bar->m_rectResizeBtn = CRect(G.left, G.top, G.right, G.top + kStrip);
                G.top += nGap + kStrip;
            }
        }
    }
    bar->m_rectGripper = G;
    bar->m_bNcLayoutPending = FALSE;
}

} // namespace oxdockskin

using namespace oxdockskin;

// ---- Classic ---------------------------------------------------------------------------------------

namespace {

constexpr int kClassicBand = 16;

// A caption button drawn off-screen by the window system and copied in.
void DrawClassicButton(CDC* dc, const CRect& rect, UINT nState)
{
    if (rect.IsRectEmpty())
        return;
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(dc) || !bitmap.CreateCompatibleBitmap(dc, rect.Width(), rect.Height()))
        return;
    COXSelectGuard<CBitmap> sel(memDC, &bitmap);
    CRect r(0, 0, rect.Width(), rect.Height());
    memDC.DrawFrameControl(&r, DFC_CAPTION, nState);
    dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memDC, 0, 0, SRCCOPY);
}

} // namespace

COXDockbarSkinClassic::COXDockbarSkinClassic()
    : m_pCaptionFont(std::make_unique<CFont>())
    , m_pSmallCaptionFont(std::make_unique<CFont>())
{
    m_pCaptionFont->CreatePointFont(100, L"Arial");
    m_pSmallCaptionFont->CreatePointFont(80, L"Arial");
}

COXDockbarSkinClassic::~COXDockbarSkinClassic() = default;

void COXDockbarSkinClassic::DrawGripper(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsGripper() || IsFloatingBar(bar))
        return;
    const bool horz = IsHorzBar(bar);
    const bool solid = bar->IsSolidGripper() != FALSE;
    const bool active = bar->IsActive() != FALSE;
    CRect G = ToWindow(bar->m_rectGripper, bar);
    if (!solid)
        G.DeflateRect(2, 2);
    else
        FillKeepBk(dc, G, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));

    CString text;
    bar->GetWindowText(text);
    const bool hasText = bar->IsCaption() && !text.IsEmpty();
    CRect textRect;
    if (hasText) {
        CRect T = G;
        if (!horz)
            T.left += 6;
        else
            T.bottom -= 6;
        const COLORREF colour = solid ? GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT)
                                      : GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        textRect = DrawStripText(dc, text, T, G, horz, solid ? m_pSmallCaptionFont.get() : m_pCaptionFont.get(),
            colour, solid, GetSysColor(COLOR_BTNFACE));
    }
    if (solid)
        return;
    // Two raised lines along the strip beyond the text, when there is room for them.
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF oldBk = dc->GetBkColor();
    if (!horz) {
        const int start = hasText ? textRect.right + 3 : G.left;
        const int length = G.right - start;
        if (length > 5) {
            dc->Draw3dRect(start, G.top, length, 3, hi, shadow);
            dc->Draw3dRect(start, G.top + 4, length, 3, hi, shadow);
        }
    } else {
        const int end = hasText ? textRect.top - 3 : G.bottom;
        const int length = end - G.top;
        if (length > 5) {
            dc->Draw3dRect(G.left, G.top, 3, length, hi, shadow);
            dc->Draw3dRect(G.left + 4, G.top, 3, length, hi, shadow);
        }
    }
    dc->SetBkColor(oldBk);
}

void COXDockbarSkinClassic::DrawCloseButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsCloseBtn() || IsFloatingBar(bar))
        return;
    UINT nState = DFCS_CAPTIONCLOSE;
    if (bar->m_nPressedBtn == COXSizeControlBar::btnClose)
        nState |= DFCS_PUSHED;
    DrawClassicButton(dc, ToWindow(bar->m_rectCloseBtn, bar), nState);
}

void COXDockbarSkinClassic::DrawResizeButton(CDC* dc, COXSizeControlBar* bar)
{
    if (!dc || !bar || !bar->m_hWnd || !bar->IsResizeBtn() || IsFloatingBar(bar))
        return;
    UINT nState = bar->IsMaximized() ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX;
    if (bar->m_nPressedBtn == COXSizeControlBar::btnResize)
        nState |= DFCS_PUSHED;
    if (!bar->CanResize())
        nState |= DFCS_INACTIVE;
    DrawClassicButton(dc, ToWindow(bar->m_rectResizeBtn, bar), nState);
}

void COXDockbarSkinClassic::DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* bar)
{
    if (!dc || !windowRect || !bar)
        return;
    CRect borders(windowRect);
    bar->DrawBorders(dc, borders);
    FillKeepBk(dc, *windowRect, GetSysColor(COLOR_BTNFACE));
}

void COXDockbarSkinClassic::DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* /*dockBar*/)
{
    if (dc && splitter)
        splitter->Draw(dc);
}

void COXDockbarSkinClassic::OnNcPaintSizeDockBar(COXSizeDockBar* dockBar)
{
    // The window system's own non-client painting.
    if (dockBar && dockBar->m_hWnd)
        ::DefWindowProcW(dockBar->m_hWnd, WM_NCPAINT, 1, 0);
}

void COXDockbarSkinClassic::DrawBackground(CDC* dc, COXSizeDockBar* dockBar)
{
    FillDockBarClient(dc, dockBar, GetSysColor(COLOR_BTNFACE));
}

void COXDockbarSkinClassic::OnNcCalcSize(BOOL /*calcValidRects*/, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar)
{
    CalcNonClient(params, bar, kClassicBand);
}

void COXDockbarSkinClassic::RecalcLayout(COXSizeControlBar* bar) { LayoutStrip(bar, m_constants.nGripperButtonGap); }

COLORREF COXDockbarSkinClassic::GetClientBorderColor() { return GetSysColor(COLOR_WINDOWFRAME); }
