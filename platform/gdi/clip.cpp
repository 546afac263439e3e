// The region API (HRGN) and the application clip of DCs.
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/region_shapes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

// Sets the application clip (device coordinates; null resets it) and answers the
// complexity of the resulting effective clip.
int SelectClipRegion(Dc& dc, const Region* rgn)
{
    if (rgn)
        dc.st.clip = *rgn;
    else
        dc.st.clip.reset();
    dc.ClipChanged();
    return dc.Clip().Complexity();
}

namespace {

RECT Normal(int l, int t, int r, int b) { return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)}; }

HRGN NewRegion(Region r)
{
    auto o = std::make_shared<RegionObj>();
    o->rgn = std::move(r);
    return static_cast<HRGN>(AddObject(std::move(o)));
}

// The whole device area of a DC (its surface seen from the device origin), what the
// application clip means when there is none.
Region DeviceExtent(const Dc& dc)
{
    if (!dc.surface)
        return Region();
    RECT r = dc.surface->Bounds();
    r.left -= dc.origin.x;
    r.right -= dc.origin.x;
    r.top -= dc.origin.y;
    r.bottom -= dc.origin.y;
    return Region(r);
}

int ChangeClip(HDC hdc, const RECT* logical, int mode)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return ERROR_REGION;
    const RECT d = dc->ToDevice(*logical);
    const Region current = dc->st.clip ? *dc->st.clip : DeviceExtent(*dc);
    const Region r(d);
    dc->st.clip = mode == RGN_AND ? current.Intersect(r) : current.Subtract(r);
    dc->ClipNarrowed(d, mode == RGN_AND);
    return dc->Clip().Complexity();
}

} // namespace

} // namespace zyn::gdi

using namespace zyn::gdi;

// ---- regions --------------------------------------------------------------------------------------
HRGN CreateRectRgn(int x1, int y1, int x2, int y2) { return NewRegion(Region(Normal(x1, y1, x2, y2))); }

HRGN CreateRectRgnIndirect(const RECT* lprect)
{
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

namespace {
// Shapes are built row by row: refuse coordinates beyond the device range and curved or
// slanted outlines taller than kMaxShapeRows rather than exhausting memory.
bool ShapeFits(const RECT& r, int64_t curvedRows)
{
    auto inRange = [](LONG v) { return v >= -kCoordLimit && v <= kCoordLimit; };
    if (!inRange(r.left) || !inRange(r.top) || !inRange(r.right) || !inRange(r.bottom) || curvedRows > kMaxShapeRows) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}
} // namespace

HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
{
    const RECT box = Normal(x1, y1, x2, y2);
    const int64_t ch = std::min<int64_t>(h < 0 ? -int64_t(h) : h, int64_t(box.bottom) - box.top);
    if (!ShapeFits(box, ch))
        return nullptr;
    return NewRegion(RoundRectRegion(box, w, h));
}

HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    const RECT box = Normal(x1, y1, x2, y2);
    if (!ShapeFits(box, int64_t(box.bottom) - box.top))
        return nullptr;
    return NewRegion(EllipseRegion(box));
}

HRGN CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode)
{
    if (!pptl || cPoint < 0 || (iMode != ALTERNATE && iMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT box{0, 0, 0, 0};
    bool slanted = false;
    for (int i = 0; i < cPoint; ++i) {
        const POINT& a = pptl[i];
        const POINT& b = pptl[(i + 1) % cPoint];
        if (i == 0)
            box = RECT{a.x, a.y, a.x, a.y};
        box = RECT{std::min(box.left, a.x), std::min(box.top, a.y), std::max(box.right, a.x), std::max(box.bottom, a.y)};
        slanted = slanted || (a.x != b.x && a.y != b.y);
    }
    if (!ShapeFits(box, slanted ? int64_t(box.bottom) - box.top : 0))
        return nullptr;
    return NewRegion(PolygonRegion(std::span<const POINT>(pptl, static_cast<size_t>(cPoint)), {}, iMode));
}

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode)
{
    auto dst = RegionFromHandle(hrgnDst);
    auto a = RegionFromHandle(hrgnSrc1);
    if (!dst || !a)
        return ERROR_REGION;
    if (iMode == RGN_COPY) {
        dst->rgn = a->rgn;
        return dst->rgn.Complexity();
    }
    auto b = RegionFromHandle(hrgnSrc2);
    if (!b)
        return ERROR_REGION;
    switch (iMode) {
    case RGN_AND: dst->rgn = a->rgn.Intersect(b->rgn); break;
    case RGN_OR: dst->rgn = a->rgn.Union(b->rgn); break;
    case RGN_XOR: dst->rgn = a->rgn.Xor(b->rgn); break;
    case RGN_DIFF: dst->rgn = a->rgn.Subtract(b->rgn); break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return ERROR_REGION;
    }
    return dst->rgn.Complexity();
}

int OffsetRgn(HRGN hrgn, int x, int y)
{
    auto r = RegionFromHandle(hrgn);
    if (!r)
        return ERROR_REGION;
    r->rgn.Offset(x, y);
    return r->rgn.Complexity();
}

BOOL PtInRegion(HRGN hrgn, int x, int y)
{
    auto r = RegionFromHandle(hrgn);
    return r && r->rgn.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN hrgn, const RECT* lprect)
{
    auto r = RegionFromHandle(hrgn);
    if (!r || !lprect)
        return FALSE;
    return r->rgn.Intersects(Normal(lprect->left, lprect->top, lprect->right, lprect->bottom)) ? TRUE : FALSE;
}

int GetRgnBox(HRGN hrgn, LPRECT lprc)
{
    auto r = RegionFromHandle(hrgn);
    if (!r)
        return ERROR_REGION;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_REGION;
    }
    *lprc = r->rgn.Box();
    return r->rgn.Complexity();
}

BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2)
{
    auto a = RegionFromHandle(hrgn1);
    auto b = RegionFromHandle(hrgn2);
    if (!a || !b)
        return FALSE;
    return a->rgn == b->rgn ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom)
{
    auto r = RegionFromHandle(hrgn);
    if (!r)
        return FALSE;
    r->rgn.SetRect(Normal(left, top, right, bottom));
    return TRUE;
}

// ---- clipping ----------------------------------------------------------------------------------------
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    const RECT r{left, top, right, bottom};
    return ChangeClip(hdc, &r, RGN_DIFF);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    const RECT r{left, top, right, bottom};
    return ChangeClip(hdc, &r, RGN_AND);
}

int SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return ERROR_REGION;
    if (!hrgn) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR_REGION;
        }
        return SelectClipRegion(*dc, nullptr);
    }
    auto r = RegionFromHandle(hrgn);
    if (!r)
        return ERROR_REGION;
    // The region is in device coordinates.
    const Region current = dc->st.clip ? *dc->st.clip : DeviceExtent(*dc);
    Region next;
    switch (mode) {
    case RGN_COPY: next = r->rgn; break;
    case RGN_AND: next = current.Intersect(r->rgn); break;
    case RGN_OR: next = current.Union(r->rgn); break;
    case RGN_XOR: next = current.Xor(r->rgn); break;
    case RGN_DIFF: next = current.Subtract(r->rgn); break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return ERROR_REGION;
    }
    return SelectClipRegion(*dc, &next);
}

int OffsetClipRgn(HDC hdc, int x, int y)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return ERROR_REGION;
    if (dc->st.clip) {
        dc->st.clip->Offset(x, y); // MM_TEXT: logical units are device units
        dc->ClipChanged();
    }
    return dc->Clip().Complexity();
}

int GetClipBox(HDC hdc, LPRECT lprect)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return ERROR_REGION;
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_REGION;
    }
    const Region& c = dc->Clip();
    if (c.Empty()) {
        *lprect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    RECT b = c.Box();
    const POINT tl = dc->ToLogical(POINT{b.left - dc->origin.x, b.top - dc->origin.y});
    const POINT br = dc->ToLogical(POINT{b.right - dc->origin.x, b.bottom - dc->origin.y});
    *lprect = RECT{tl.x, tl.y, br.x, br.y};
    return c.Complexity();
}

int GetClipRgn(HDC hdc, HRGN hrgn)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return -1;
    auto r = RegionFromHandle(hrgn);
    if (!r)
        return -1;
    if (!dc->st.clip)
        return 0;
    r->rgn = *dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    const POINT d = dc->ToDevice(POINT{x, y});
    return dc->Clip().Contains(d.x + dc->origin.x, d.y + dc->origin.y) ? TRUE : FALSE;
}

bool zyn::gdi::Dc::RectVisible(const RECT& logical)
{
    RECT d = ToDevice(logical);
    d.left += origin.x;
    d.right += origin.x;
    d.top += origin.y;
    d.bottom += origin.y;
    return Clip().Intersects(d);
}

BOOL RectVisible(HDC hdc, const RECT* lprect)
{
    auto dc = DcFromHandle(hdc);
    if (!dc || !lprect)
        return FALSE;
    return dc->RectVisible(*lprect) ? TRUE : FALSE;
}

// ---- painting regions -----------------------------------------------------------------------------------
namespace {
// What the region painters look up, in this order: the DC, the brush when `hbr` is
// given, and the region in the DC's device coordinates. False for a bad handle.
struct RegionPaint {
    std::shared_ptr<Dc> dc;
    std::shared_ptr<BrushObj> brush;
    Region dev;

    bool Resolve(HDC hdc, HRGN hrgn, std::optional<HBRUSH> hbr)
    {
        dc = DcFromHandle(hdc);
        if (!dc)
            return false;
        if (hbr && !(brush = BrushOrSysColorFromHandle(*hbr)))
            return false;
        auto r = RegionFromHandle(hrgn);
        if (!r)
            return false;
        dev = r->rgn;
        const POINT d = dc->LogicalDelta();
        dev.Offset(d.x, d.y);
        return true;
    }
};
} // namespace

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr)
{
    RegionPaint rp;
    if (!rp.Resolve(hdc, hrgn, hbr))
        return FALSE;
    DrawScope scope(*rp.dc);
    FillDeviceRegion(*rp.dc, rp.dev, rp.brush.get(), PATCOPY);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN hrgn)
{
    RegionPaint rp;
    if (!rp.Resolve(hdc, hrgn, std::nullopt))
        return FALSE;
    DrawScope scope(*rp.dc);
    PaintDeviceRegion(*rp.dc, rp.dev, rp.dc->Brush());
    return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN hrgn)
{
    RegionPaint rp;
    if (!rp.Resolve(hdc, hrgn, std::nullopt))
        return FALSE;
    DrawScope scope(*rp.dc);
    FillDeviceRegion(*rp.dc, rp.dev, nullptr, DSTINVERT);
    return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h)
{
    RegionPaint rp;
    if (!rp.Resolve(hdc, hrgn, hbr))
        return FALSE;
    const Region& dev = rp.dev;
    if (w <= 0 || h <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The frame is the region minus its erosion: the points whose neighbourhood of w
    // pixels left and right and h pixels up and down does not lie wholly inside it.
    Region eroded = dev;
    for (int dx = -w; dx <= w; ++dx) {
        Region s = dev;
        s.Offset(dx, 0);
        eroded = eroded.Intersect(s);
    }
    Region er2 = eroded;
    for (int dy = -h; dy <= h; ++dy) {
        Region s = eroded;
        s.Offset(0, dy);
        er2 = er2.Intersect(s);
    }
    DrawScope scope(*rp.dc);
    FillDeviceRegion(*rp.dc, dev.Subtract(er2), rp.brush.get(), PATCOPY);
    return TRUE;
}
