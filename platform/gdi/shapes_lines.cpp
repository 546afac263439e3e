// Lines: MoveToEx, LineTo, Polyline, PolylineTo, GetCurrentPositionEx.
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;

namespace {

// Draws an open polyline (logical points) with the selected pen. Style positions run on
// from one segment to the next.
bool DrawPolyline(Dc& dc, const POINT* logical, size_t count)
{
    std::vector<POINT> pts(count);
    for (size_t i = 0; i < count; ++i)
        if (!ToDevicePoint(dc, logical[i], pts[i]))
            return false;
    const Pen pen = CurrentPen(dc);
    if (pen.kind == Pen::Kind::Null)
        return true;
    const RECT bound = DeviceClipBox(dc);
    if (bound.left >= bound.right)
        return true;
    DrawScope scope(dc);
    if (pen.kind == Pen::Kind::Cosmetic) {
        std::vector<LinePixel> px;
        uint32_t step = 0;
        WalkPath(pts, false, bound, px, step);
        DrawCosmetic(dc, pen, px);
        return true;
    }
    std::vector<PointF> fp;
    fp.reserve(count);
    for (const POINT& p : pts)
        fp.push_back(PointF{double(p.x), double(p.y)});
    PaintStroke(dc, pen, StrokeRegion(pen, fp, false, bound));
    return true;
}

} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::curPos, x, y, false, lppt); }

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT lppt) { return GetStatePoint(hdc, &DcState::curPos, lppt); }

BOOL LineTo(HDC hdc, int x, int y)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    const POINT pts[2] = {dc->st.curPos, POINT{x, y}};
    if (!DrawPolyline(*dc, pts, 2))
        return FALSE;
    dc->st.curPos = pts[1];
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return DrawPolyline(*dc, apt, static_cast<size_t>(cpt)) ? TRUE : FALSE;
}

BOOL PolylineTo(HDC hdc, const POINT* apt, int cpt)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!apt || cpt < 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> pts;
    pts.reserve(static_cast<size_t>(cpt) + 1);
    pts.push_back(dc->st.curPos);
    pts.insert(pts.end(), apt, apt + cpt);
    if (!DrawPolyline(*dc, pts.data(), pts.size()))
        return FALSE;
    dc->st.curPos = pts.back();
    return TRUE;
}
