#pragma once
// Painting steps the toolbar skins and the dialog-bar skins share: where a bar sits (its
// style, its dock context, its dock bar), the gripper of each style, the XP non-client
// ring, the 2003 bands that continue the frame's dock-bar gradient, and a few fills.
// The geometry is kept in pure functions so that it can be checked without a window;
// every GDI object is made for the call and gone when it returns.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CDC;
class CControlBar;
class CWnd;
class COXSkin2003;

namespace zyn::barskin {

// Where a bar sits, as the skins read it.
struct BarPlace {
    DWORD style = 0;          // the control-bar style word (CBRS_*)
    bool dockContext = false; // docking is enabled (the bar has a dock context)
    bool inDockBar = false;   // docked in a frame's dock bar (not floating)

    bool Floating() const;    // CBRS_FLOATING
    bool Horizontal() const;  // CBRS_ORIENT_HORZ
};
BarPlace PlaceOf(const CControlBar* bar);

// ---- grippers (rect: the area reserved for the gripper) --------------------------------
// The band of the XP stripes: 3 pixels across the bar.
CRect XPGripperBand(const RECT& rect, const BarPlace& place);
// The band of the 2003 stripes: the XP band one pixel further along the bar, 2 pixels across.
CRect Gripper2003Band(const RECT& rect, const BarPlace& place);
// The two raised 3-pixel bars of the Classic gripper, the second 3 pixels after the first.
void ClassicGripperBars(const RECT& rect, const BarPlace& place, CRect& first, CRect& second);

void DrawClassicGripper(CDC* dc, const RECT& rect, const BarPlace& place);
// 1-pixel lines of `colour` every second row (horizontal bar) or column of the band.
void DrawXPStripes(CDC* dc, const CRect& band, bool horizontalBar, COLORREF colour);

// ---- non-client areas (rect: the window rectangle in window coordinates) --------------
// The XP ring: rect filled with `background`, a 2-pixel ring of the button face inside its
// edge and the four corners of what it encloses set to the button face.
void DrawXPNonClient(CDC* dc, const RECT& rect, COLORREF background);
// The client rectangle of a window in its window coordinates.
CRect ClientInWindow(CWnd* wnd);

// ---- 2003 bands -----------------------------------------------------------------------
// The band that continues the dock-bar gradient of the bar's frame: it starts at the
// frame's left edge (in the bar's window coordinates, plus `shift`), spans the larger of
// the screen width and the frame's width, and is as tall as `area`.
CRect FrameBand(CWnd* bar, const RECT& area, int shift);
// Its left half a left-to-right gradient from the dock bar's left to its right colour, its
// right half the right colour. With viaLibrary the gradient always takes the skin's
// GradientFill; otherwise the path the system version asks for (GradientOnSystem).
void DrawFrameBand(CDC* dc, COXSkin2003* skin, const CRect& band, bool viaLibrary);
// GradientFill on an NT system (version word below 0x80000000), the hand-drawn path
// otherwise.
void GradientOnSystem(CDC* dc, COXSkin2003* skin, const RECT& rect, COLORREF from, COLORREF to, ULONG mode);
// The rounded body of a 2003 bar: rect deflated by 2 gets the toolbar gradient (top to
// bottom on a horizontal bar, left to right otherwise) with its four corner pixels kept.
void DrawRoundedBody(CDC* dc, COXSkin2003* skin, const RECT& rect, bool horizontalBar);
// The non-client area of a docked or floating 2003 bar, outside its client rectangle: the
// frame's band (DrawFrameBand, `viaLibrary` as there) when the bar sits in a dock bar, else
// the dock-bar background; then, with `roundedBody`, the rounded body.
void Draw2003NonClient(CDC* dc, COXSkin2003* skin, const RECT& rect, CControlBar* bar, bool viaLibrary,
    bool roundedBody);
// The band a child window shares with its parent: the parent's height, in the child's
// coordinates (top = minus the child's top in its parent), across `width`.
CRect ParentBand(CWnd* child, int width);

// ---- fills ----------------------------------------------------------------------------
void Fill(CDC* dc, const RECT& rect, COLORREF colour);
void Frame(CDC* dc, const RECT& rect, COLORREF colour);
// A 1-pixel line from (x0, y0) to (x1, y1), the end point excluded.
void Line(CDC* dc, int x0, int y0, int x1, int y1, COLORREF colour);

} // namespace zyn::barskin
