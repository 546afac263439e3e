#include "toolkit/skins/bar_skin_draw.h"

#include <algorithm>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/base/version.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_2003.h"

namespace zyn::barskin {

bool BarPlace::Floating() const { return (style & CBRS_FLOATING) != 0; }
bool BarPlace::Horizontal() const { return (style & CBRS_ORIENT_HORZ) != 0; }

BarPlace PlaceOf(const CControlBar* bar)
{
    BarPlace place;
    if (!bar)
        return place;
    place.style = bar->m_dwStyle;
    place.dockContext = bar->m_pDockContext != nullptr;
    // A floating bar lives in its mini frame's own dock bar: that is no dock bar of a frame.
    place.inDockBar = bar->m_pDockBar != nullptr && !bar->IsFloating();
    return place;
}

// ---- grippers ---------------------------------------------------------------------------

namespace {

// The XP band before its width along the bar is set; `shift` moves it one pixel along
// the bar (2003) after the first inset.
CRect GripperArea(const RECT& rect, const BarPlace& place, int shift)
{
    CRect r(rect);
    if (place.Horizontal()) {
        r.left += 2;
        r.top += 6;
        r.right -= 2;
        r.bottom -= 5;
        r.OffsetRect(shift, 0);
        if (place.dockContext) {
            r.left += 2;
            r.bottom -= 2;
        } else if (place.style & CBRS_BORDER_BOTTOM) {
            r.top -= 2;
            r.bottom -= 2;
        }
    } else {
        r.left += 3;
        r.top += 4;
        r.right -= 7;
        r.bottom -= 4;
        r.OffsetRect(0, shift);
        if (place.dockContext)
            r.left += 2;
        else
            r.right += 2;
    }
    return r;
}

} // namespace

CRect XPGripperBand(const RECT& rect, const BarPlace& place)
{
    CRect r = GripperArea(rect, place, 0);
    if (place.Horizontal())
        r.right = r.left + 3;
    else
        r.bottom = r.top + 3;
    return r;
}

CRect Gripper2003Band(const RECT& rect, const BarPlace& place)
{
    CRect r = GripperArea(rect, place, 1);
    if (place.Horizontal())
        r.right = r.left + 2;
    else
        r.bottom = r.top + 2;
    return r;
}

void ClassicGripperBars(const RECT& rect, const BarPlace& place, CRect& first, CRect& second)
{
    CRect r(rect);
    if (place.Horizontal()) {
        r.DeflateRect(1, 1);
        r.OffsetRect(0, 1);
        if (place.dockContext) {
            r.left += 2;
            r.bottom -= 2;
        } else if (place.style & CBRS_BORDER_BOTTOM) {
            r.top -= 2;
            r.bottom -= 2;
        }
        r.right = r.left + 3;
        first = r;
        second = r;
        second.OffsetRect(3, 0);
    } else {
        r.top += 1;
        r.right -= 2;
        r.bottom -= 1;
        r.OffsetRect(0, 1);
        if (place.dockContext)
            r.left += 2;
        else
            r.right += 2;
        r.bottom = r.top + 3;
        first = r;
        second = r;
        second.OffsetRect(0, 3);
    }
}

void DrawClassicGripper(CDC* dc, const RECT& rect, const BarPlace& place)
{
    if (!dc || place.Floating())
        return;
    CRect first, second;
    ClassicGripperBars(rect, place, first, second);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    dc->Draw3dRect(&first, highlight, shadow);
    dc->Draw3dRect(&second, highlight, shadow);
}

void DrawXPStripes(CDC* dc, const CRect& band, bool horizontalBar, COLORREF colour)
{
    if (!dc)
        return;
    CPen pen(PS_SOLID, 1, colour);
    COXSelectGuard<CPen> select(*dc, &pen);
    if (horizontalBar) {
        for (int y = band.top; y <= band.bottom; y += 2) {
            dc->MoveTo(band.left, y);
            dc->LineTo(band.right, y);
        }
    } else {
        for (int x = band.left; x <= band.right; x += 2) {
            dc->MoveTo(x, band.top);
            dc->LineTo(x, band.bottom);
        }
    }
}

// ---- non-client areas -----------------------------------------------------------------------

void DrawXPNonClient(CDC* dc, const RECT& rect, COLORREF background)
{
    if (!dc)
        return;
    Fill(dc, rect, background);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CRect r(rect);
    Frame(dc, r, face);
    r.DeflateRect(1, 1);
    Frame(dc, r, face);
    r.DeflateRect(1, 1);
    // The corners of the body, so that it looks rounded.
    dc->SetPixelV(r.left, r.top, face);
    dc->SetPixelV(r.right - 1, r.top, face);
    dc->SetPixelV(r.right - 1, r.bottom - 1, face);
    dc->SetPixelV(r.left, r.bottom - 1, face);
}

CRect ClientInWindow(CWnd* wnd)
{
    CRect client(0, 0, 0, 0);
    if (!wnd || !wnd->GetSafeHwnd())
        return client;
    CRect window;
    wnd->GetWindowRect(&window);
    wnd->GetClientRect(&client);
    wnd->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    return client;
}

// ---- 2003 bands -------------------------------------------------------------------------------

CRect FrameBand(CWnd* bar, const RECT& area, int shift)
{
    CRect barRect(0, 0, 0, 0), frameRect(0, 0, 0, 0);
    CWnd* frame = nullptr;
    if (bar && bar->GetSafeHwnd()) {
        bar->GetWindowRect(&barRect);
        frame = bar->GetParentFrame();
        if (!frame)
            frame = bar->GetTopLevelParent();
    }
    if (frame && frame->GetSafeHwnd())
        frame->GetWindowRect(&frameRect);
    else
        frameRect = barRect;
    const int left = frameRect.left - barRect.left + shift;
    const int width = std::max(GetSystemMetrics(SM_CXSCREEN), frameRect.Width());
    return CRect(left, area.top, left + width, area.bottom);
}

void DrawFrameBand(CDC* dc, COXSkin2003* skin, const CRect& band, bool viaLibrary)
{
    if (!dc || !skin)
        return;
    const int half = band.Width() / 2;
    const CRect left(band.left, band.top, band.left + half, band.bottom);
    const CRect right(band.left + half, band.top, band.right, band.bottom);
    if (viaLibrary)
        skin->GradientFill(dc, &left, skin->GetDockbarLeftColor(), skin->GetDockbarRightColor(), GRADIENT_FILL_RECT_H);
    else
        GradientOnSystem(dc, skin, left, skin->GetDockbarLeftColor(), skin->GetDockbarRightColor(), GRADIENT_FILL_RECT_H);
    Fill(dc, right, skin->GetDockbarRightColor());
}

void GradientOnSystem(CDC* dc, COXSkin2003* skin, const RECT& rect, COLORREF from, COLORREF to, ULONG mode)
{
    if (!skin)
        return;
    if (GetVersion() < 0x80000000u)
        skin->GradientFill(dc, &rect, from, to, mode);
    else
        skin->GradientFillManual(dc, &rect, from, to, mode);
}

void Draw2003NonClient(CDC* dc, COXSkin2003* skin, const RECT& rect, CControlBar* bar, bool viaLibrary,
    bool roundedBody)
{
    const BarPlace place = PlaceOf(bar);
    const int saved = dc->SaveDC();
    const CRect client = ClientInWindow(bar);
    dc->ExcludeClipRect(&client);
    if (place.inDockBar)
        DrawFrameBand(dc, skin, FrameBand(bar, rect, 0), viaLibrary);
    else
        Fill(dc, rect, skin->GetDockbarBackgroundColor());
    if (roundedBody)
        DrawRoundedBody(dc, skin, rect, place.Horizontal());
    dc->RestoreDC(saved);
}

void DrawRoundedBody(CDC* dc, COXSkin2003* skin, const RECT& rect, bool horizontalBar)
{
    if (!dc || !skin)
        return;
    CRect r(rect);
    r.DeflateRect(2, 2);
    if (r.IsRectEmpty())
        return;
    const POINT corners[4] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    COLORREF kept[4];
    for (int i = 0; i < 4; ++i)
        kept[i] = dc->GetPixel(corners[i]);
    GradientOnSystem(dc, skin, r, skin->GetToolbarLightColor(), skin->GetToolbarDarkColor(),
        horizontalBar ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    for (int i = 0; i < 4; ++i) {
        if (kept[i] != CLR_INVALID)
            dc->SetPixelV(corners[i], kept[i]);
    }
}

CRect ParentBand(CWnd* child, int width)
{
    CRect band(0, 0, width, 0);
    CWnd* parent = child ? child->GetParent() : nullptr;
    if (!parent || !parent->GetSafeHwnd())
        return band;
    CRect inParent;
    child->GetWindowRect(&inParent);
    parent->ScreenToClient(&inParent);
    CRect parentWindow;
    parent->GetWindowRect(&parentWindow);
    band.top = -inParent.top;
    band.bottom = parentWindow.Height() + band.top;
    return band;
}

// ---- fills -------------------------------------------------------------------------------------

void Fill(CDC* dc, const RECT& rect, COLORREF colour)
{
    if (!dc || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    // FillSolidRect leaves its colour as the DC's background: put the old one back.
    const COLORREF old = dc->GetBkColor();
    dc->FillSolidRect(&rect, colour);
    dc->SetBkColor(old);
}

void Frame(CDC* dc, const RECT& rect, COLORREF colour)
{
    if (!dc)
        return;
    CBrush brush(colour);
    dc->FrameRect(&rect, &brush);
}

void Line(CDC* dc, int x0, int y0, int x1, int y1, COLORREF colour)
{
    if (!dc)
        return;
    CPen pen(PS_SOLID, 1, colour);
    COXSelectGuard<CPen> select(*dc, &pen);
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
}

} // namespace zyn::barskin
