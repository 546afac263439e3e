// COXStatusBar's progress panes: a progress control inside a pane, and the percentage as
// the pane's text (the arithmetic is in status_bar_geometry.h).
#include <algorithm>
#include <cwchar>

#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/status_bar.h"
#include "toolkit/skins/status_bar_geometry.h"

namespace sb = zyn::toolkit::statusbar;

int COXStatusBar::PercentTextWidth(int nIndex)
{
    if (!m_hWnd)
        return 0;
    CClientDC dc(this);
    CFont* font = Pane(nIndex).font.get();
    if (!font)
        font = CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    COXSelectGuard<CFont> select(dc, font);
    CRect measured(0, 0, 0, 0);
    dc.DrawText(L"999%", -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    return measured.Width();
}

BOOL COXStatusBar::CreateEvolutionPane(int nIndex, CEvolInfo& info)
{
    if (info.m_progress.m_hWnd)
        return TRUE;
    CRect inner;
    if (!CalcInsideBorder(nIndex, inner, TRUE))
        return FALSE;
    if (info.m_bShowPercent)
        inner.left = std::min(inner.right, inner.left + PercentTextWidth(nIndex));
    inner.right = std::max(inner.left, inner.right);
    inner.bottom = std::max(inner.top, inner.bottom);
    CStatusBar::SetPaneText(nIndex, nullptr);
    if (!info.m_progress.Create(WS_CHILD | WS_VISIBLE, inner, this, static_cast<UINT>(nIndex)))
        return FALSE;
    // Flat inside the pane's own frame.
    info.m_progress.ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    info.m_rectProgress = inner;
    return TRUE;
}

BOOL COXStatusBar::SetUpBar(int nIndex, int /*nUnused*/, BOOL bShowPercent)
{
    PaneExtras& pane = Pane(nIndex);
    // The old indicator and its control go before the new control takes the pane's ID.
    pane.progress.reset();
    pane.progress = std::make_unique<CEvolInfo>();
    CEvolInfo& info = *pane.progress;
    info.m_bShowPercent = bShowPercent;
    info.m_bCreated = CreateEvolutionPane(nIndex, info);
    ResetBar(nIndex, FALSE);
    return info.m_bCreated;
}

void COXStatusBar::ResetBar(int nIndex, BOOL bRemove)
{
    PaneExtras& pane = Pane(nIndex);
    if (bRemove) {
        pane.progress.reset();
        CStatusBar::SetPaneText(nIndex, nullptr);
        return;
    }
    SetBarProgress(nIndex, 0, 100, 0);
}

void COXStatusBar::SetBarProgress(int nIndex, int /*nUnused*/, DWORD dwRange, DWORD dwPosition)
{
    PaneExtras& pane = Pane(nIndex);
    if (!pane.progress)
        return;
    CEvolInfo& info = *pane.progress;
    info.m_bCreated = CreateEvolutionPane(nIndex, info);
    if (info.m_bCreated) {
        const sb::ProgressControlValues values = sb::ProgressControlRange(dwRange, dwPosition);
        info.m_progress.SetRange32(0, values.max);
        info.m_progress.SetPos(values.position);
    }
    info.m_nPercent = sb::ProgressPercent(dwRange, dwPosition);
    if (!info.m_bShowPercent)
        return;
    wchar_t text[5]; // "100%" at most: the percentage is clamped
    std::swprintf(text, std::size(text), L"%d%%", info.m_nPercent);
    // The text changes without a repaint of the whole pane (the control would flicker);
    // only the part left of the control is repainted. A hidden bar is left hidden:
    // turning redrawing back on would show it.
    const bool visible = m_hWnd && (GetStyle() & WS_VISIBLE);
    if (visible)
        SetRedraw(FALSE);
    CStatusBar::SetPaneText(nIndex, text);
    if (visible)
        SetRedraw(TRUE);
    if (!m_hWnd)
        return;
    CRect textPart;
    GetItemRect(nIndex, &textPart);
    if (info.m_progress.m_hWnd) {
        CRect control;
        info.m_progress.GetWindowRect(&control);
        ScreenToClient(&control);
        textPart.right = std::max(textPart.left, control.left);
    }
    InvalidateRect(&textPart, TRUE);
}
