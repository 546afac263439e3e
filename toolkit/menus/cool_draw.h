#pragma once
// The few strokes every cool control paints with, in system colours read at each call.
// Pens and brushes are made for the one drawing and freed with it, so a change of the
// system colours (WM_SYSCOLORCHANGE) shows at the next paint without anyone rebuilding
// cached objects.
//
// A flat raised edge is a one-pixel ring lit at the top-left (COLOR_3DHILIGHT) and dark
// at the bottom-right (COLOR_3DSHADOW) with a COLOR_3DFACE ring inside; a flat sunken
// edge swaps the outer ring's colours. The sunken 3-D edge of a hot control is the
// shadow/highlight ring with a dark-shadow/face ring inside.
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/pen.h"

namespace zyn::toolkit::cool {

void DrawFlatRaisedEdge(CDC& dc, const CRect& rect);
void DrawFlatSunkenEdge(CDC& dc, const CRect& rect);
void DrawSunken3dEdge(CDC& dc, const CRect& rect);

// A solid one-pixel pen of a system colour, made now.
class CSysPen : public CPen {
public:
    explicit CSysPen(int nColorIndex, int nWidth = 1);
};

// The arc of the ellipse in `ellipse` drawn counter-clockwise from the radial through
// `start` to the radial through `end`, with the DC's current pen. The drawing layer has
// no arc primitive; the same pixels come from the ellipse's outline clipped to the wedge
// between the two radials.
void DrawArc(CDC& dc, const CRect& ellipse, POINT start, POINT end);

} // namespace zyn::toolkit::cool
