#pragma once
// The four-pixel drop shadow of the Office XP look: one painter for the shadow window, the
// XP and 2003 menu popups and the shadowed item window over a dropped-from button.
//
// A shadow lies in the last four columns and rows of a rectangle (w x h, its own
// coordinates): column x = w - i (i = 1..4, the innermost darkest) and row y = h - j
// (j = 1..4). Each pixel takes the colour of the screen under it darkened by a scale
// (each channel times (255 - scale) / 255, rounded as MulDiv rounds), so the shadow is
// the background seen through grey. The ends fade in: the first pixels keep the
// background (scale 0), the next four darken in steps of 3 * i * j, the body by 15 * i
// (or 15 * j). OXShadowPixels gives the pixels in painting order; OXDrawShadow copies
// the screen under the rectangle's two strips (the caller's window is not painted there
// yet) and the target's own strips to memory, changes the walked pixels there and
// writes both strips back in two blits, so a shadow costs a few blits whatever its
// length; pixels the walk leaves alone go back as the target had them.
//
// Painted colours can be recorded and replayed: a repaint of a window whose screen
// already holds the shadow must not darken it a second time. The caller keeps an array
// per window: none means paint; an empty array means paint and record every painted
// colour in order; a filled one means paint those colours again without looking at the
// screen.
#include <vector>

#include "platform/base/coll_array.h"
#include "platform/base/wintypes.h"

// Shapes of the shadow. Full is a popup's; the others are the item window's over a
// dropped-from button, open on the side where its popup lies (whose shadow continues
// it).
enum class OXShadowShape : UINT {
    Full = 0,
    OpenBelow = 1,  // no bottom edge, the right edge without its lower fade
    OpenRight = 2,  // no right edge
    OpenLeft = 3,   // the bottom edge one plain run from x = 1 to w - 5 (no fade-in at the left)
    OpenAbove = 4,  // the right edge one plain run from y = 1 to h - 5 (no fade-in at the top)
};

struct OXShadowPixel {
    int x = 0;
    int y = 0;
    int scale = 0;          // 0 keeps the background
    // Left untouched when it lies in the dropped-from button: the upper fade of the right
    // edge and the fade and body of the bottom edge. The background-keeping ends are
    // always painted.
    bool besideDropFrom = false;
    bool operator==(const OXShadowPixel&) const = default;
};

// Each channel as MulDiv(channel, 255 - scale, 255).
COLORREF OXDarkenColor(LONG scale, COLORREF colour);

// The shadow pixels of a width x height rectangle in painting order. Pixels that would
// fall outside a rectangle smaller than the shadow are left out.
std::vector<OXShadowPixel> OXShadowPixels(int width, int height, OXShadowShape shape = OXShadowShape::Full);

// Paints the shadow of rectScreen (screen coordinates) into hdc, whose point
// originInDC is the rectangle's top-left corner. Pixels marked besideDropFrom that lie in
// pDropFrom (screen coordinates; null: none) are left alone. pColours: see above. FALSE
// with nothing painted when the DC or rectangle is not usable, the screen cannot be
// copied, or a replayed array does not hold exactly one colour per pixel to paint (it
// was recorded for another size or shape).
BOOL OXDrawShadow(HDC hdc, const RECT& rectScreen, POINT originInDC, const RECT* pDropFrom,
    CArray<COLORREF, COLORREF>* pColours, OXShadowShape shape = OXShadowShape::Full);
