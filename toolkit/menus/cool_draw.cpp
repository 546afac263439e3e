#include "toolkit/menus/cool_draw.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/gdi/wingdi.h"

namespace zyn::toolkit::cool {

void DrawFlatRaisedEdge(CDC& dc, const CRect& rect)
{
    CRect r = rect;
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DFACE));
}

void DrawFlatSunkenEdge(CDC& dc, const CRect& rect)
{
    CRect r = rect;
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DFACE), ::GetSysColor(COLOR_3DFACE));
}

void DrawSunken3dEdge(CDC& dc, const CRect& rect)
{
    CRect r = rect;
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DFACE));
}

CSysPen::CSysPen(int nColorIndex, int nWidth)
    : CPen(PS_SOLID, nWidth, ::GetSysColor(nColorIndex))
{
}

void DrawArc(CDC& dc, const CRect& ellipse, POINT start, POINT end)
{
    const double cx = (ellipse.left + ellipse.right) / 2.0;
    const double cy = (ellipse.top + ellipse.bottom) / 2.0;
    // Screen y grows downwards, so counter-clockwise on the screen is a growing angle
    // measured with y flipped.
    const double a0 = std::atan2(cy - start.y, start.x - cx);
    const double a1 = std::atan2(cy - end.y, end.x - cx);
    double sweep = a1 - a0;
    while (sweep <= 0)
        sweep += 2 * std::numbers::pi;
    const int saved = dc.SaveDC();
    dc.SelectStockObject(HOLLOW_BRUSH);
    if (sweep < 2 * std::numbers::pi - 1e-9) {
        // The wedge reaches well beyond the ellipse, and its sides are chords short enough
        // (at most an eighth of a turn) to stay outside it.
        const double radius = 2.0 * (ellipse.Width() + ellipse.Height()) + 4;
        const int steps = static_cast<int>(std::ceil(sweep / (std::numbers::pi / 4)));
        std::vector<POINT> wedge;
        wedge.push_back(POINT{static_cast<LONG>(std::lround(cx)), static_cast<LONG>(std::lround(cy))});
        for (int i = 0; i <= steps; ++i) {
            const double a = a0 + sweep * i / steps;
            wedge.push_back(POINT{static_cast<LONG>(std::lround(cx + radius * std::cos(a))),
                static_cast<LONG>(std::lround(cy - radius * std::sin(a)))});
        }
        dc.LPtoDP(wedge.data(), static_cast<int>(wedge.size()));
        CRgn clip;
        if (clip.CreatePolygonRgn(wedge.data(), static_cast<int>(wedge.size()), ALTERNATE))
            dc.SelectClipRgn(&clip, RGN_AND);
    }
    dc.Ellipse(&ellipse);
    dc.RestoreDC(saved);
}

} // namespace zyn::toolkit::cool
