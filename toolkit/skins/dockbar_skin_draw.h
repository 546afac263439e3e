#pragma once
// What the three dock-bar skins share when they paint a size control bar: where the bar's
// client-coordinate rectangles land in its window DC, which way its caption strip runs,
// the caption text laid along or up the strip, and a font turned to read upwards.
// Internal to the dock-bar skins.
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"

class COXSizeControlBar;
class COXSizeDockBar;
class COXSplitterRect;
struct NCCALCSIZE_PARAMS;

namespace oxdockskin {

// Room the non-client area keeps round the client area on every side, and the caption
// strip and buttons of the Classic and XP skins (the band across the bar is the strip
// and a 5-pixel gap).
inline constexpr int kNcBorder = 5;
inline constexpr int kStrip = 11;

// The gripper strip and its buttons sit across the top of a bar docked on a vertical side
// (or floating), and up the left edge of a bar docked at the top or bottom.
bool IsHorzBar(const COXSizeControlBar* bar);
bool IsFloatingBar(const COXSizeControlBar* bar);

// What to add to a rectangle in the bar's client coordinates to have it in the bar's
// window DC: minus the window's top-left corner in client coordinates.
CPoint ClientToWindowOffset(const COXSizeControlBar* bar);
CRect ToWindow(const RECT& clientRect, const COXSizeControlBar* bar);

// A copy of font turned 90 degrees to read upwards; false when it cannot be made.
bool MakeUpwardFont(CFont& font, CFont& upward);

// The caption text of the Classic and XP grippers. T is the room for the text and G the
// gripper strip, both in DC coordinates. The measured text (its length capped to the
// room) keeps T's start and is centred across the strip, the odd pixel going to the far
// side; up a horizontal bar's strip it ends 6 pixels above G's bottom and reads upwards.
// Opaque text lies on `background` (the face colour the non-client area was filled with).
// The DC's font, colours and mode are restored. Returns the text's rectangle.
CRect DrawStripText(CDC* dc, const CString& text, const CRect& T, const CRect& G, bool horzBar, CFont* font,
    COLORREF colour, bool transparent, COLORREF background);

// The non-client room: the border all round and, for a docked bar with a gripper, the
// band on the gripper's side (never beyond the opposite edge; the client area is never
// inside out). Marks the bar's layout as pending.
void CalcNonClient(NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar, int nBand);
// Classic and XP: the strip 5 pixels inside the window; the close button at its far end,
// then the resize button, nGap pixels apart. Rectangles of buttons not shown are emptied.
void LayoutStrip(COXSizeControlBar* bar, int nGap);

// A splitter is painted no further down than this (a vertical side's splitters reach the
// far end of a stretched layout, 32767).
inline constexpr int kSplitterPaintLimit = 8000;
// The XP and 2003 splitter: filled, with a 1-pixel line through its middle along it.
void DrawFlatSplitter(CDC* dc, const COXSplitterRect* splitter, COLORREF fill, COLORREF line);
// The dock bar's non-client area (its client area clipped away) filled with one colour.
void FillDockBarNonClient(COXSizeDockBar* dockBar, COLORREF colour);
// The dock bar's client area filled with one colour; nothing without a DC or a window.
void FillDockBarClient(CDC* dc, COXSizeDockBar* dockBar, COLORREF colour);

// FillSolidRect without leaving the DC's background colour at the fill colour.
void FillKeepBk(CDC* dc, const RECT& rect, COLORREF colour);

} // namespace oxdockskin
