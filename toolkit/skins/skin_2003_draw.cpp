// The drawing members of the 2003 skin: gradients, gripper stripes, caption buttons.
#include <algorithm>
#include <cstdint>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/menubar_paint.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/skins/skin_2003.h"

TRIVERTEX COXSkin2003::MakeVertex(LONG x, LONG y, COLORREF colour)
{
    // The Office 2003 gradient rule widens a channel by multiplying it by 255 (255
    // becomes 65025, 0xFE01), not by shifting it into the high byte. The drawing layer
    // interpolates all 16 bits and keeps the high byte, so these gradients run a level
    // or two below the hand-drawn ones (see GradientFill in the header).
    const auto widen = [](BYTE channel) { return static_cast<COLOR16>(channel * 255); };
    return TRIVERTEX{x, y, widen(GetRValue(colour)), widen(GetGValue(colour)), widen(GetBValue(colour)), 0};
}

BOOL COXSkin2003::GradientFill(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, ULONG mode) const
{
    if (!dc || !rect)
        return FALSE;
    // Any mode but the horizontal one is vertical, on both paths (a triangle mode
    // would make the library read rectangles as triangles).
    mode = mode ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
    if (!m_pfnGradientFill)
        return GradientFillManual(dc, rect, from, to, mode);
    TRIVERTEX vertices[2] = {MakeVertex(rect->left, rect->top, from), MakeVertex(rect->right, rect->bottom, to)};
    GRADIENT_RECT mesh{0, 1};
    return m_pfnGradientFill(dc->GetSafeHdc(), vertices, 2, &mesh, 1, mode);
}

BOOL COXSkin2003::GradientFillManual(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, ULONG mode) const
{
    if (!dc || !rect)
        return FALSE;
    // 64-bit throughout: (to - from) · i overflows 32 bits beyond about 8.4 million
    // lines, and a rectangle's extent can be the whole LONG range.
    const int64_t steps = mode ? int64_t(rect->bottom) - rect->top : int64_t(rect->right) - rect->left;
    if (steps <= 0)
        return TRUE;
    const auto channel = [steps](int64_t a, int64_t b, int64_t i) { return static_cast<int>(a + (b - a) * i / steps); };
    // Only the lines inside the clip box can show; the others are skipped, but the
    // current position ends where the last line would leave it.
    CRect clip;
    const int region = dc->GetClipBox(&clip);
    const int64_t origin = mode ? rect->top : rect->left;
    int64_t first = 0, last = steps;
    if (region == NULLREGION) {
        last = 0;
    } else if (region != ERROR_REGION) {
        first = std::clamp<int64_t>((mode ? int64_t(clip.top) : int64_t(clip.left)) - origin, 0, steps);
        last = std::clamp<int64_t>((mode ? int64_t(clip.bottom) : int64_t(clip.right)) - origin, first, steps);
    }
    for (int64_t i = first; i < last; ++i) {
        const COLORREF colour = RGB(channel(GetRValue(from), GetRValue(to), i),
            channel(GetGValue(from), GetGValue(to), i), channel(GetBValue(from), GetBValue(to), i));
        CPen pen(PS_SOLID, 1, colour);
        COXSelectGuard<CPen> sel(*dc, &pen);
        const int at = static_cast<int>(origin + i);
        if (mode) {
            dc->MoveTo(rect->left, at);
            dc->LineTo(rect->right, at);
        } else {
            dc->MoveTo(at, rect->top);
            dc->LineTo(at, rect->bottom);
        }
    }
    if (last < steps) {
        const int end = static_cast<int>(origin + steps - 1);
        if (mode)
            dc->MoveTo(rect->right, end);
        else
            dc->MoveTo(end, rect->bottom);
    }
    return TRUE;
}

BOOL COXSkin2003::FourPointGradientFill(CDC* dc, const RECT* rect, COLORREF topLeft, COLORREF topRight,
    COLORREF bottomLeft, COLORREF bottomRight)
{
    if (!dc || !rect)
        return FALSE;
    if (!m_pfnGradientFill)
        return FourPointGradientFillManual(dc, rect, topLeft, topRight, bottomLeft, bottomRight);
    TRIVERTEX vertices[6] = {
        MakeVertex(rect->left, rect->top, topLeft),
        MakeVertex(rect->right, rect->top, topRight),
        MakeVertex(rect->left, rect->bottom, bottomLeft),
        MakeVertex(rect->right, rect->top, topRight),
        MakeVertex(rect->left, rect->bottom, bottomLeft),
        MakeVertex(rect->right, rect->bottom, bottomRight),
    };
    GRADIENT_TRIANGLE mesh[2] = {{0, 1, 2}, {3, 4, 5}};
    return m_pfnGradientFill(dc->GetSafeHdc(), vertices, 6, mesh, 2, GRADIENT_FILL_TRIANGLE);
}

BOOL COXSkin2003::FourPointGradientFillManual(CDC* dc, const RECT* rect, COLORREF topLeft, COLORREF topRight,
    COLORREF bottomLeft, COLORREF /*bottomRight*/)
{
    if (!dc || !rect)
        return FALSE;
    if (rect->right - rect->left < rect->bottom - rect->top)
        return GradientFillManual(dc, rect, topLeft, topRight, GRADIENT_FILL_RECT_H);
    return GradientFillManual(dc, rect, topLeft, bottomLeft, GRADIENT_FILL_RECT_V);
}

void COXSkin2003::DrawGripperStripes(CDC* dc, CRect& rect, bool horizontal)
{
    if (!dc)
        return;
    CPen gripper(PS_SOLID, 1, GetGripperColor());
    CPen shadow(PS_SOLID, 1, GetGripperStripesShadowColor());
    COXSelectGuard<CPen> restore(*dc, &gripper);
    if (horizontal) {
        for (int y = rect.top; y <= rect.bottom; y += 4) {
            dc->SelectObject(&gripper);
            dc->MoveTo(rect.left, y);
            dc->LineTo(rect.right, y);
            dc->MoveTo(rect.left, y + 1);
            dc->LineTo(rect.right, y + 1);
            dc->SelectObject(&shadow);
            dc->MoveTo(rect.left + 1, y + 2);
            dc->LineTo(rect.right + 1, y + 2);
        }
    } else {
        for (int x = rect.left; x <= rect.right; x += 4) {
            dc->SelectObject(&gripper);
            dc->MoveTo(x, rect.top);
            dc->LineTo(x, rect.bottom);
            dc->MoveTo(x + 1, rect.top);
            dc->LineTo(x + 1, rect.bottom);
            dc->SelectObject(&shadow);
            dc->MoveTo(x + 2, rect.top + 1);
            dc->LineTo(x + 2, rect.bottom + 1);
        }
    }
}

namespace {

// The background of a 2003 caption button that is neither pressed nor hot, or that is
// recoloured. A size control bar's buttons sit on its gripper strip: they show their own
// slice of the control-bar gradient that fills the strip, across its width on a bar docked
// at the top or bottom, down its height otherwise. Other windows get the given background,
// as in the XP skin. A menu bar's buttons continue the dock-bar band of the bar's frame: the
// band starts at the frame's left edge and is as wide as the screen or the frame, whichever
// is wider; its left half runs from the dock bar's left colour to its right colour and its
// right half is solid.
void Fill2003Background(const COXSkinXP& skin, CDC& dc, int cx, int cy, const CRect& rect, COLORREF background,
    CWnd* wnd)
{
    if (wnd && wnd->m_hWnd && OXIsMenuBar(wnd)) {
        auto& skin2003 = const_cast<COXSkin2003&>(static_cast<const COXSkin2003&>(skin));
        // FrameBand answers in the bar's window coordinates; the button's origin is its corner.
        CRect band = zyn::barskin::FrameBand(wnd, CRect(0, 0, cx, cy), -rect.left);
        band.top = 0;
        band.bottom = cy;
        zyn::barskin::DrawFrameBand(&dc, &skin2003, band, true);
        return;
    }
    if (!wnd || !wnd->m_hWnd || !wnd->IsKindOf(RUNTIME_CLASS(COXSizeControlBar))) {
        dc.FillSolidRect(0, 0, cx, cy, background);
        return;
    }
    const auto& skin2003 = static_cast<const COXSkin2003&>(skin);
    const auto* bar = static_cast<const COXSizeControlBar*>(wnd);
    // The gripper (client coordinates) in the bar's window-DC coordinates, then in the
    // button's own, whose origin is the button's corner.
    CRect window;
    bar->GetWindowRect(&window);
    bar->ScreenToClient(&window);
    CRect gripper = bar->m_rectGripper;
    gripper.OffsetRect(-window.left - rect.left, -window.top - rect.top);
    const bool horizontal = (bar->GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    const CRect band = horizontal ? CRect(gripper.left, 0, gripper.right, cy) : CRect(0, gripper.top, cx, gripper.bottom);
    if (band.IsRectEmpty()) {
        dc.FillSolidRect(0, 0, cx, cy, background);
        return;
    }
    skin2003.GradientFill(&dc, &band, skin2003.GetControlBarLightColor(), skin2003.GetControlBarDarkColor(),
        horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

} // namespace

void COXSkin2003::DrawFrameButton(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light,
    COLORREF background, CWnd* wnd)
{
    DrawFrameButtonWith(dc, rect, glyph, recolour, light, background, wnd, &Fill2003Background);
}
