// The drawing members of the XP skin: the transparent blit and the caption buttons.
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_xp.h"

void COXSkinXP::DrawTransparentBitmap(CBitmap* bitmap, CDC* dc, int x, int y, int cx, int cy, COLORREF transparent)
{
    if (!bitmap || !dc || cx <= 0 || cy <= 0)
        return;
    const COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    {
        CDC imageDC;
        CDC maskDC;
        CBitmap mask;
        if (imageDC.CreateCompatibleDC(dc) && maskDC.CreateCompatibleDC(dc) &&
            mask.CreateBitmap(cx, cy, 1, 1, nullptr)) {
            COXSelectGuard<CBitmap> image(imageDC, bitmap);
            COXSelectGuard<CBitmap> maskSel(maskDC, &mask);
            // The mask is white where the image has the transparent colour.
            imageDC.SetBkColor(transparent);
            maskDC.BitBlt(0, 0, cx, cy, &imageDC, 0, 0, SRCCOPY);
            // Target ^ image, cleared where opaque, ^ image again: the image where
            // opaque, the target where transparent.
            dc->BitBlt(x, y, cx, cy, &imageDC, 0, 0, SRCINVERT);
            dc->BitBlt(x, y, cx, cy, &maskDC, 0, 0, SRCAND);
            dc->BitBlt(x, y, cx, cy, &imageDC, 0, 0, SRCINVERT);
        }
    }
    dc->SetBkColor(oldBk);
    dc->SetTextColor(oldText);
}

COXSkinXP::FrameButtonMouse COXSkinXP::GetFrameButtonMouse(const RECT& rect, CWnd* wnd)
{
    // The rectangle is in the window coordinates of wnd: without a live window there is
    // nothing to relate the cursor to, and no button is under the mouse.
    FrameButtonMouse mouse;
    const HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (!hwnd || !IsWindow(hwnd))
        return mouse;
    POINT cursor{};
    RECT window{};
    if (!GetCursorPos(&cursor) || !GetWindowRect(hwnd, &window))
        return mouse;
    const POINT at{cursor.x - window.left, cursor.y - window.top};
    mouse.inside = PtInRect(&rect, at) != FALSE;
    // A capture held by a window of this thread means a button is being pressed (the
    // owner took the capture on the button going down); over the button that is the
    // pressed look, otherwise hovering is the hot look.
    mouse.pressed = mouse.inside && GetCapture() != nullptr;
    mouse.hot = mouse.inside && !mouse.pressed;
    return mouse;
}

namespace {

void FillWithBackground(const COXSkinXP& /*skin*/, CDC& dc, int cx, int cy, const CRect& /*rect*/,
    COLORREF background, CWnd* /*wnd*/)
{
    dc.FillSolidRect(0, 0, cx, cy, background);
}

} // namespace

void COXSkinXP::DrawFrameButton(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light, COLORREF background,
    CWnd* wnd)
{
    DrawFrameButtonWith(dc, rect, glyph, recolour, light, background, wnd, &FillWithBackground);
}

void COXSkinXP::DrawFrameButtonWith(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light,
    COLORREF background, CWnd* wnd, FrameButtonBackground paintBackground)
{
    const int cx = rect.Width();
    const int cy = rect.Height();
    if (!dc || cx <= 0 || cy <= 0)
        return;

    // 1. The overlay colour of a recoloured button; a recoloured button is never light.
    COLORREF overlay = 0;
    if (recolour) {
        overlay = light ? ModifyColor(background, 64, 64, 64) : ModifyColor(background, -96, -96, -96);
        light = FALSE;
    }

    // 2. Pressed and hot looks.
    const FrameButtonMouse mouse = GetFrameButtonMouse(rect, wnd);
    const bool withBrush = mouse.pressed || mouse.hot;
    const COLORREF brushColour = mouse.pressed ? GetHotSelectedItemColor() : GetHotItemColor();

    // 3. Everything is composed off-screen at the origin.
    CDC buttonDC;
    CBitmap button;
    if (!buttonDC.CreateCompatibleDC(dc) || !button.CreateCompatibleBitmap(dc, cx, cy))
        return;
    {
        COXSelectGuard<CBitmap> selButton(buttonDC, &button);

        // 4. Background.
        if (withBrush && !recolour) {
            CBrush brush(brushColour);
            CPen pen(PS_SOLID, 1, GetActiveBorderColor());
            COXSelectGuard<CBrush> selBrush(buttonDC, &brush);
            COXSelectGuard<CPen> selPen(buttonDC, &pen);
            buttonDC.Rectangle(0, 0, cx, cy);
        } else {
            paintBackground(*this, buttonDC, cx, cy, rect, background, wnd);
        }

        // 5. The glyph alone: the caption button drawn flat over an area 2 pixels larger
        // than the bitmap on every side, so its frame falls outside.
        const int gx = cx - 4;
        const int gy = cy - 4;
        if (gx > 0 && gy > 0) {
            CDC glyphDC;
            CBitmap glyphBitmap;
            COLORREF transparent = GetSysColor(COLOR_BTNFACE);
            if (glyphDC.CreateCompatibleDC(dc) && glyphBitmap.CreateCompatibleBitmap(dc, gx, gy)) {
                {
                    COXSelectGuard<CBitmap> selGlyph(glyphDC, &glyphBitmap);
                    RECT area{-2, -2, gx + 2, gy + 2};
                    glyphDC.DrawFrameControl(&area, DFC_CAPTION, glyph | DFCS_FLAT);
                    // 6. A pressed button, and a light glyph away from the mouse, are
                    // drawn inverted.
                    if (mouse.pressed || (light && !mouse.inside)) {
                        glyphDC.PatBlt(0, 0, gx, gy, DSTINVERT);
                        transparent = InvertColor(transparent);
                    }
                }
                // 7. Onto the background.
                DrawTransparentBitmap(&glyphBitmap, &buttonDC, 2, 2, gx, gy, transparent);
            }
        }
    }

    // 8. Out to the target; recolouring turns the glyph's black strokes into the overlay.
    if (recolour) {
        CDC overlayDC;
        CBitmap overlayBitmap;
        if (!overlayDC.CreateCompatibleDC(dc) || !overlayBitmap.CreateCompatibleBitmap(dc, cx, cy))
            return;
        COXSelectGuard<CBitmap> selOverlay(overlayDC, &overlayBitmap);
        overlayDC.FillSolidRect(0, 0, cx, cy, overlay);
        DrawTransparentBitmap(&button, &overlayDC, 0, 0, cx, cy, RGB(0, 0, 0));
        dc->BitBlt(rect.left, rect.top, cx, cy, &overlayDC, 0, 0, SRCCOPY);
    } else {
        COXSelectGuard<CBitmap> selButton(buttonDC, &button);
        dc->BitBlt(rect.left, rect.top, cx, cy, &buttonDC, 0, 0, SRCCOPY);
    }
}
