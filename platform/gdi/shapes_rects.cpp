// Rectangle helpers: FillRect, FrameRect, InvertRect, DrawFocusRect and the drag frame.
#include <algorithm>
#include <optional>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;

namespace {

bool Visible(const RECT& r) { return r.left < r.right && r.top < r.bottom; }

// The frame of a rectangle: its pixels within cx of the left and right sides or cy of
// the top and bottom (a frame thicker than the rectangle is the whole rectangle).
Region FrameRegion(const RECT& r, int cx, int cy)
{
    if (!Visible(r))
        return Region();
    Region outer(r);
    const RECT in{r.left + std::max(cx, 0), r.top + std::max(cy, 0), r.right - std::max(cx, 0), r.bottom - std::max(cy, 0)};
    if (!Visible(in))
        return outer;
    return outer.Subtract(Region(in));
}

enum class RectCall { Paint, Empty, Fail };

// The checks every rectangle painter makes first, in this order: the DC, the rectangle,
// and the brush when `hbr` is given. Empty: the rectangle is empty or the wrong way
// round, which paints nothing and succeeds. Fail: the call fails (last error set).
RectCall CheckRectCall(HDC hdc, const RECT* lprc, std::optional<HBRUSH> hbr, std::shared_ptr<Dc>& dc,
    std::shared_ptr<BrushObj>& brush)
{
    dc = DcFromHandle(hdc);
    if (!dc)
        return RectCall::Fail;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return RectCall::Fail;
    }
    if (hbr) {
        brush = BrushOrSysColorFromHandle(*hbr);
        if (!brush)
            return RectCall::Fail;
    }
    if (lprc->left >= lprc->right || lprc->top >= lprc->bottom)
        return RectCall::Empty;
    return RectCall::Paint;
}

} // namespace

int FillRect(HDC hdc, const RECT* lprc, HBRUSH hbr)
{
    std::shared_ptr<Dc> dc;
    std::shared_ptr<BrushObj> brush;
    const RectCall call = CheckRectCall(hdc, lprc, hbr, dc, brush);
    if (call != RectCall::Paint)
        return call == RectCall::Empty ? 1 : 0; // an empty or inverted rectangle fills nothing
    DrawScope scope(*dc);
    FillDeviceRect(*dc, dc->ToDevice(*lprc), brush.get(), PATCOPY);
    return 1;
}

BOOL zyn::gdi::FillSysColorRects(HDC hdc, const SysColorRect* rects, size_t count)
{
    const std::shared_ptr<Dc> dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!rects && count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DrawScope scope(*dc);
    // Consecutive rectangles of one colour share the brush and its sampler.
    int current = -1;
    std::shared_ptr<BrushObj> brush;
    std::optional<BrushSampler> sampler;
    for (size_t i = 0; i < count; ++i) {
        const SysColorRect& run = rects[i];
        if (run.rect.left >= run.rect.right || run.rect.top >= run.rect.bottom)
            continue;
        if (!sampler || run.color != current) {
            const HBRUSH h = ::GetSysColorBrush(run.color);
            brush = h ? BrushOrSysColorFromHandle(h) : nullptr;
            if (!brush) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            sampler.emplace(*dc, brush.get());
            current = run.color;
        }
        FillDeviceRectWith(*dc, dc->ToDevice(run.rect), *sampler, Rop3Table(PATCOPY));
    }
    return TRUE;
}

int FrameRect(HDC hdc, const RECT* lprc, HBRUSH hbr)
{
    std::shared_ptr<Dc> dc;
    std::shared_ptr<BrushObj> brush;
    const RectCall call = CheckRectCall(hdc, lprc, hbr, dc, brush);
    if (call != RectCall::Paint)
        return call == RectCall::Empty ? 1 : 0;
    RECT r;
    if (!ToDeviceRect(*dc, *lprc, r))
        return 0;
    DrawScope scope(*dc);
    FillDeviceRegion(*dc, FrameRegion(r, 1, 1), brush.get(), PATCOPY);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* lprc)
{
    std::shared_ptr<Dc> dc;
    std::shared_ptr<BrushObj> brush;
    const RectCall call = CheckRectCall(hdc, lprc, std::nullopt, dc, brush);
    if (call != RectCall::Paint)
        return call == RectCall::Empty ? TRUE : FALSE;
    RECT r;
    if (!ToDeviceRect(*dc, *lprc, r))
        return FALSE;
    DrawScope scope(*dc);
    FillDeviceRect(*dc, r, nullptr, DSTINVERT);
    return TRUE;
}

// The focus frame: SM_CXFOCUSBORDER / SM_CYFOCUSBORDER thick, every other pixel inverted
// in a checkerboard that starts with the rectangle's top-left pixel. Inverting is its own
// undo, so a second call with the same rectangle restores the pixels.
BOOL DrawFocusRect(HDC hdc, const RECT* lprc)
{
    std::shared_ptr<Dc> dc;
    std::shared_ptr<BrushObj> brush;
    const RectCall call = CheckRectCall(hdc, lprc, std::nullopt, dc, brush);
    if (call != RectCall::Paint)
        return call == RectCall::Empty ? TRUE : FALSE;
    RECT r;
    if (!ToDeviceRect(*dc, *lprc, r))
        return FALSE;
    if (!dc->surface)
        return TRUE;
    const int cx = std::max(1, GetSystemMetrics(SM_CXFOCUSBORDER));
    const int cy = std::max(1, GetSystemMetrics(SM_CYFOCUSBORDER));
    DrawScope scope(*dc);
    Surface& s = *dc->surface;
    const uint32_t mask = s.IsMono() ? 1u : 0xFFFFFFu;
    // Parity in surface coordinates of the rectangle's top-left pixel.
    const int64_t base = int64_t(r.left) + dc->origin.x + r.top + dc->origin.y;
    const Region frame = FrameRegion(r, cx, cy);
    for (const RECT& fr : frame.Rects()) {
        ForEachClipRect(*dc, fr, [&](const RECT& c) {
            for (int y = c.top; y < c.bottom; ++y)
                for (int x = c.left; x < c.right; ++x)
                    if (((int64_t(x) + y - base) & 1) == 0)
                        s.SetRaw(x, y, ~s.GetRaw(x, y) & mask);
        });
    }
    return TRUE;
}

namespace zyn::gdi {

BOOL DrawDragRect(HDC hdc, const RECT* rect, SIZE size, const RECT* last, SIZE lastSize, HBRUSH brush, HBRUSH lastBrush)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    auto newBrush = BrushOrSysColorFromHandle(brush ? brush : HalftoneBrush());
    if (!newBrush)
        return FALSE;
    auto oldBrush = lastBrush ? BrushOrSysColorFromHandle(lastBrush) : newBrush;
    if (!oldBrush)
        return FALSE;
    Region now, before;
    RECT r;
    if (rect) {
        if (!ToDeviceRect(*dc, *rect, r))
            return FALSE;
        now = FrameRegion(r, size.cx, size.cy);
    }
    if (last) {
        if (!ToDeviceRect(*dc, *last, r))
            return FALSE;
        before = FrameRegion(r, lastSize.cx, lastSize.cy);
    }
    DrawScope scope(*dc);
    if (oldBrush == newBrush) {
        // Pixels in both frames would be inverted twice: touch only the difference.
        FillDeviceRegion(*dc, now.Xor(before), newBrush.get(), PATINVERT);
    } else {
        FillDeviceRegion(*dc, before, oldBrush.get(), PATINVERT);
        FillDeviceRegion(*dc, now, newBrush.get(), PATINVERT);
    }
    return TRUE;
}

} // namespace zyn::gdi
