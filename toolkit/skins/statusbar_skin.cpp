#include "toolkit/skins/statusbar_skin.h"

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/status_bar.h"
#include "toolkit/skins/status_bar_geometry.h"

namespace {

// A pane's rectangle as the XP and 2003 skins draw it: the item rectangle, except that
// the last pane ends its own width + 6 right of where it starts (the control ends it where
// its size grip begins; these skins draw their own gripper).
CRect SkinPaneRect(COXStatusBar* bar, int index)
{
    CRect rect;
    bar->GetItemRect(index, &rect);
    if (index == bar->GetCount() - 1) {
        UINT id = 0, style = 0;
        int width = 0;
        bar->GetPaneInfo(index, id, style, width);
        rect.right = rect.left + width + 6;
    }
    return rect;
}

// The toggle key a lock indicator follows; 0 for any other pane.
int LockKeyOf(UINT id)
{
    switch (id) {
    case ID_INDICATOR_CAPS:
        return VK_CAPITAL;
    case ID_INDICATOR_NUM:
        return VK_NUMLOCK;
    case ID_INDICATOR_SCRL:
        return VK_SCROLL;
    default:
        return 0;
    }
}

// A bar in a frame that cannot be sized from here (no sizing border, or maximised) has no
// gripper.
bool ShowsGripper(COXStatusBar* bar)
{
    const CFrameWnd* frame = bar->GetParentFrame();
    if (!frame || !frame->GetSafeHwnd())
        return true;
    const DWORD style = frame->GetStyle();
    return (style & WS_THICKFRAME) && !(style & WS_MAXIMIZE);
}

// The pane bitmaps, over whatever painted the panes; disabled panes show none.
void DrawPaneBitmaps(CDC* dc, COXStatusBar* bar)
{
    for (int i = 0; i < bar->GetCount(); ++i) {
        const UINT style = bar->GetPaneStyle(i);
        if (!(style & SBPS_DISABLED) && bar->GetPaneBitmapInfo(i))
            bar->DrawStatusBmp(dc, i, style);
    }
}

} // namespace

// ---- Classic ----------------------------------------------------------------------------------

void COXStatusbarSkinClassic::OnPaintStatusbar(COXStatusBar* bar)
{
    if (!bar || !bar->GetSafeHwnd())
        return;
    // Texts waiting to be shown are set before the control paints, so this paint shows
    // them rather than asking for another.
    bar->UpdateAllPanes(FALSE, TRUE);
    bar->Default(); // the control paints itself (WM_PAINT)
    CClientDC dc(bar);
    DrawStatusBarPanes(&dc, bar);
    DrawFlatPanes(&dc, bar);
    DrawPaneBitmaps(&dc, bar);
}

void COXStatusbarSkinClassic::DrawStatusBarPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The control draws the panes.
}

void COXStatusbarSkinClassic::DrawFlatPanes(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The control draws the pane frames.
}

void COXStatusbarSkinClassic::DrawGripper(CDC* /*dc*/, COXStatusBar* /*bar*/)
{
    // The control draws its size grip.
}

// ---- XP -----------------------------------------------------------------------------------------

void COXStatusbarSkinXP::OnPaintStatusbar(COXStatusBar* bar)
{
    if (!bar || !bar->GetSafeHwnd())
        return;
    // Before BeginPaint: the texts it sets invalidate the bar, which this paint then covers.
    bar->UpdateAllPanes(FALSE, TRUE);
    CPaintDC dc(bar);
    DrawStatusBarPanes(&dc, bar);
    DrawFlatPanes(&dc, bar);
    DrawGripper(&dc, bar);
    DrawPaneBitmaps(&dc, bar);
}

void COXStatusbarSkinXP::DrawPanes(CDC* dc, COXStatusBar* bar)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    for (int i = 0; i < bar->GetCount(); ++i) {
        const CRect rect = SkinPaneRect(bar, i);
        if (const int vk = LockKeyOf(bar->GetItemID(i))) {
            DrawPaneText(dc, rect, bar, i, keys[vk] & 1);
            continue;
        }
        DRAWITEMSTRUCT dis{};
        dis.itemID = static_cast<UINT>(i);
        dis.hwndItem = bar->GetSafeHwnd();
        dis.hDC = dc->GetSafeHdc();
        dis.rcItem = rect;
        bar->DrawItem(&dis);
    }
}

void COXStatusbarSkinXP::DrawStatusBarPanes(CDC* dc, COXStatusBar* bar)
{
    if (!dc || !bar)
        return;
    CRect client;
    bar->GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    DrawPanes(dc, bar);
}

void COXStatusbarSkinXP::DrawFlatPanes(CDC* dc, COXStatusBar* bar)
{
    if (!dc || !bar || !m_pSkinXP)
        return;
    CBrush frame(m_pSkinXP->GetStatusPaneColor());
    for (int i = 0; i < bar->GetCount(); ++i) {
        const CRect rect = SkinPaneRect(bar, i);
        dc->FrameRect(&rect, &frame);
    }
}

void COXStatusbarSkinXP::DrawGripper(CDC* dc, COXStatusBar* bar)
{
    if (!dc || !bar || !ShowsGripper(bar))
        return;
    CRect client;
    bar->GetClientRect(&client);
    const CRect square = zyn::toolkit::statusbar::GripperSquare(client);
    if (square.IsRectEmpty())
        return;
    dc->FillSolidRect(&square, ::GetSysColor(COLOR_BTNFACE));
    CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    CPen* white = static_cast<CPen*>(CGdiObject::FromHandle(::GetStockObject(WHITE_PEN)));
    COXSelectGuard<CPen> restore(*dc, &shadow);
    const int s = square.Width();
    const int right = square.right, bottom = square.bottom;
    for (int i = 0; i < s; i += 4) {
        dc->SelectObject(&shadow);
        dc->MoveTo(right - i, bottom);
        dc->LineTo(right, bottom - i);
        dc->SelectObject(white);
        dc->MoveTo(right - i - 1, bottom);
        dc->LineTo(right, bottom - i - 1);
    }
}

void COXStatusbarSkinXP::DrawPaneText(CDC* dc, CRect rect, COXStatusBar* bar, int index, int on)
{
    if (!dc || !bar)
        return;
    const auto hFont = reinterpret_cast<HFONT>(bar->SendMessage(WM_GETFONT));
    const HGDIOBJ oldFont = hFont ? ::SelectObject(dc->GetSafeHdc(), hFont) : nullptr;
    const COLORREF colour = on == 1 ? ::GetSysColor(COLOR_BTNTEXT)
        : m_pSkinXP                 ? m_pSkinXP->GetDisabledTextColor()
                                    : ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF oldColour = dc->SetTextColor(colour);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const CString text = bar->GetPaneText(index);
    dc->DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColour);
    if (oldFont)
        ::SelectObject(dc->GetSafeHdc(), oldFont);
}

// ---- 2003 ----------------------------------------------------------------------------------------

COXStatusbarSkin2003::COXStatusbarSkin2003(COXSkin2003* skin)
    : COXStatusbarSkinXP(skin)
{
}

COXSkin2003* COXStatusbarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXStatusbarSkin2003::DrawStatusBarPanes(CDC* dc, COXStatusBar* bar)
{
    if (!dc || !bar)
        return;
    CRect client;
    bar->GetClientRect(&client);
    DrawGradientBackground(dc, &client);
    DrawPanes(dc, bar);
}

void COXStatusbarSkin2003::DrawFlatPanes(CDC* dc, COXStatusBar* bar)
{
    if (!dc || !bar || !m_pSkinXP)
        return;
    CPen separator(PS_SOLID, 1, m_pSkinXP->GetSeparatorColor());
    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    COXSelectGuard<CPen> restore(*dc, &separator);
    for (int i = 0; i < bar->GetCount(); ++i) {
        const CRect rect = SkinPaneRect(bar, i);
        dc->SelectObject(&separator);
        dc->MoveTo(rect.right, rect.top + 2);
        dc->LineTo(rect.right, rect.bottom - 2);
        dc->SelectObject(&white);
        dc->MoveTo(rect.right + 1, rect.top + 3);
        dc->LineTo(rect.right + 1, rect.bottom - 1);
    }
}

void COXStatusbarSkin2003::DrawGripper(CDC* dc, COXStatusBar* bar)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !bar || !skin || !ShowsGripper(bar))
        return;
    CRect client;
    bar->GetClientRect(&client);
    const CRect square = zyn::toolkit::statusbar::GripperSquare(client);
    if (square.IsRectEmpty())
        return;
    // The square less its three leftmost columns takes the bar's background again, its
    // gradient lined up with the bar's (the square may start a row below the top).
    {
        const int saved = dc->SaveDC();
        dc->IntersectClipRect(square.left + 3, square.top, square.right, square.bottom);
        const CRect band(square.left + 3, client.top, square.right, client.bottom);
        DrawGradientBackground(dc, &band);
        dc->RestoreDC(saved);
    }
    const COLORREF shadow = skin->GetGripperStripesShadowColor();
    const COLORREF gripper = m_pSkinXP->GetGripperColor();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i + j < 2)
                continue;
            const int x = square.left + 4 * i + 7, y = square.top + 4 * j + 7;
            dc->FillSolidRect(x, y, 2, 2, shadow);
            dc->FillSolidRect(x - 1, y - 1, 2, 2, gripper);
        }
    }
}

void COXStatusbarSkin2003::DrawGradientBackground(CDC* dc, const RECT* rect)
{
    COXSkin2003* skin = GetSkin2003();
    if (!dc || !rect || !skin)
        return;
    const COLORREF top = skin->GetStatusbarTopColor();
    const COLORREF middle = skin->GetStatusbarMiddleColor();
    const COLORREF bottom = skin->GetStatusbarBottomColor();
    CRect whole(*rect);
    // The gradient runs top to bottom only, so the columns outside the clip box (a pane's
    // text update repaints one pane) need not be computed at all.
    CRect clip;
    if (dc->GetClipBox(&clip) > NULLREGION && clip.Width() > 0) {
        whole.left = std::max(whole.left, clip.left);
        whole.right = std::min(whole.right, clip.right);
        if (whole.left >= whole.right)
            return;
    }
    const CRect upper(whole.left, whole.top, whole.right, std::min(whole.bottom, whole.top + 3));
    const CRect lower(whole.left, std::max(whole.top, whole.bottom - 5), whole.right, whole.bottom);
    if (lower.top > upper.bottom)
        dc->FillSolidRect(whole.left, upper.bottom, whole.Width(), lower.top - upper.bottom, middle);
    skin->GradientFill(dc, &upper, top, middle, GRADIENT_FILL_RECT_V);
    skin->GradientFill(dc, &lower, middle, bottom, GRADIENT_FILL_RECT_V);
}
