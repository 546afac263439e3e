#pragma once
// What the line and shape primitives share on top of the drawing core: the selected pen
// as a drawing recipe, device coordinates with their range check, and painting cosmetic
// pixels, wide strokes and colour regions through the DC.
#include <memory>
#include <span>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/region.h"
#include "platform/gdi/shapes_raster.h"

namespace zyn::gdi {
class Dc;
class BrushObj;
} // namespace zyn::gdi

namespace zyn::gdi::shapes {

// A logical point in device coordinates; false (ERROR_INVALID_PARAMETER) beyond kMaxCoord.
bool ToDevicePoint(const Dc& dc, POINT logical, POINT& device);
// A logical rectangle in device coordinates, normalised; false beyond kMaxCoord.
bool ToDeviceRect(const Dc& dc, const RECT& logical, RECT& device);
// The bounding box of the effective clip in device coordinates (empty: nothing visible).
RECT DeviceClipBox(Dc& dc);

// The selected pen, resolved against the DC.
//   Null      PS_NULL (or a null brush of an extended pen): draws nothing.
//   Cosmetic  one pixel wide: pens of width 0 or 1 from CreatePen, cosmetic extended pens.
//             Styles are pixel run lengths along the path. The gaps of a CreatePen pen
//             are painted in the background colour in OPAQUE mode and left alone in
//             TRANSPARENT mode; an extended (ExtCreatePen) pen always leaves them alone.
//   Wide      geometric: CreatePen widths above 1 (round caps and joins), geometric
//             extended pens (their caps and joins). Styles cut the path into dashes of
//             the style's lengths times the width, each dash capped; gaps are left alone.
struct Pen {
    enum class Kind { Null, Cosmetic, Wide };
    Kind kind = Kind::Null;
    COLORREF color = 0;
    int width = 1;
    bool insideFrame = false;              // PS_INSIDEFRAME: shapes keep the stroke inside their box
    std::vector<uint32_t> runs;            // cosmetic: on, off, on, ... pixels; empty: solid
    bool fillGaps = false;                 // cosmetic: gaps get the background colour (CreatePen pen, OPAQUE)
    std::vector<double> dashes;            // wide: on, off, ... device units; empty: solid
    StrokeStyle stroke;                    // wide
    std::shared_ptr<BrushObj> brush;       // wide: what paints the stroke
};
Pen CurrentPen(const Dc& dc);

// ---- cosmetic pixels ---------------------------------------------------------------------------
// Appends the pixels of a polyline in device coordinates (closed: back to the first
// point); `step` carries the style position from one segment to the next.
void WalkPath(std::span<const POINT> pts, bool closed, const RECT& bound, std::vector<LinePixel>& out, uint32_t& step);
// Keeps the first pixel at each position, so a closed outline paints every pixel once.
void UniquePixels(std::vector<LinePixel>& px);
Region PixelsRegion(std::span<const LinePixel> px);
// Paints pen (and, in OPAQUE mode, gap) pixels through the DC's binary mix.
void DrawCosmetic(Dc& dc, const Pen& pen, std::span<const LinePixel> px);

// ---- wide strokes -----------------------------------------------------------------------------
// The pixels of a wide pen along a polyline (device coordinates), within `bound`.
Region StrokeRegion(const Pen& pen, std::span<const PointF> pts, bool closed, const RECT& bound);
// Paints a stroke region with the pen's brush through the DC's binary mix.
void PaintStroke(Dc& dc, const Pen& pen, const Region& device);

// ---- colours ---------------------------------------------------------------------------------
// Fills a device rectangle / region with a colour (PATCOPY, clipped).
void FillColor(Dc& dc, const RECT& device, COLORREF color);
void FillColor(Dc& dc, const Region& device, COLORREF color);
// A system colour's current value.
COLORREF SysColor(int index);

} // namespace zyn::gdi::shapes
