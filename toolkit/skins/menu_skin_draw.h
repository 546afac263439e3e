#pragma once
// Painting steps the three menu skins share: the column layout of an item, the item text
// (label and accelerator), the Marlett glyphs of the expansion item and the submenu
// arrow, the insert mark's outline and the image-list drawing forms. Every GDI object is
// made for the call and gone when it returns.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CDC;
class COXBitmapMenu;
class COXImageInfo;
struct OXDIMENSIONCONSTANTS;

namespace zyn::menuskin {

// The column layout: the image at the left gap, vertically centred; the text column after
// the image column and its gap, shrunk to the text height; the accelerator column at the
// right gap, moved left by half the space between it and the text. The button rectangle
// is the image inflated by 2 (xpButton false) or the XP image strip's button (with a
// default-list image centred in it).
void DistributeColumns(const OXDIMENSIONCONSTANTS& dims, COXBitmapMenu* menu, COXImageInfo* imageInfo,
    const RECT& item, bool xpButton, CRect& button, CRect& image, CRect& text, CRect& accel);

// The label (before the first tab) at the text rectangle's top left, "&" underlining, and
// the accelerator (after it) right-aligned in the accelerator rectangle, in `colour` on a
// transparent background; dssFlags DSS_DISABLED embosses both.
void DrawItemText(CDC* dc, const wchar_t* text, const RECT& textRect, const RECT& accelRect, COLORREF colour,
    UINT dssFlags);

// One Marlett glyph (height SM_CYMENUCHECK, weight 400) in rect with DrawText's format.
void DrawMarlettGlyph(CDC* dc, wchar_t glyph, const RECT& rect, COLORREF colour, UINT format);

// The insert mark before or after an item, drawn with the DC's current pen.
void DrawInsertMarkOutline(CDC* dc, const RECT& item, BOOL before);

// The image index to draw for a state: the hot one while selected, when there is one.
int ImageIndexFor(const COXImageInfo& imageInfo, UINT state);
// The image, transparently, at the rectangle's top left.
void DrawImageTransparent(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at);
// The image as an icon through DrawState (DST_ICON | dss); brushColour (when not
// CLR_INVALID) is the DSS_MONO colour.
void DrawImageState(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at, UINT dss, COLORREF brushColour);
// The image's silhouette (its mask) painted in `colour` at `at`.
void DrawImageSilhouette(CDC* dc, const COXImageInfo& imageInfo, int index, POINT at, COLORREF colour);

// A rectangle framed with a one-pixel pen and filled with a brush, both of these colours.
void FramedFill(CDC* dc, const RECT& rect, COLORREF frame, COLORREF fill);

} // namespace zyn::menuskin
