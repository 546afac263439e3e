#pragma once
// Unstretched blits and brush fills, a row at a time through the rop kernels
// (rop_rows.h). For each visible row the source pixels are converted once into a row
// buffer (or read in place when nothing converts), the pattern is tiled into another
// (or is one constant for a solid brush), mono destinations are unpacked to 0/1 words,
// and one kernel call combines the lot. An unconverted SRCCOPY between colour surfaces
// is a plain row copy that keeps the alpha byte.
//
// The per-pixel engine in blit.cpp remains for what does not fit a row: stretching,
// mirroring, masks (MaskBlt) and hatch brushes whose gaps are transparent.
#include <cstdint>

#include "platform/base/wintypes.h"
#include "platform/gdi/dc_internal.h"

namespace zyn::gdi {

// How source pixels turn into destination pixels (the colour/mono rules of surface.h).
struct Converter {
    enum class Kind { Same, MonoToColor, ColorToMono, AbsoluteToMono } kind = Kind::Same;
    uint32_t fore = 0, back = 0; // MonoToColor: bit 0 / bit 1
    uint32_t srcBkRaw = 0;       // ColorToMono: the source background as a raw pixel
    const Surface* dst = nullptr;
    const Surface* src = nullptr;

    uint32_t operator()(uint32_t raw) const
    {
        switch (kind) {
        case Kind::Same: return raw;
        case Kind::MonoToColor: return (raw & 1u) ? back : fore;
        case Kind::ColorToMono: return (raw & 0xFFFFFFu) == srcBkRaw ? 1u : 0u;
        case Kind::AbsoluteToMono: return ColorToPixel(*dst, BgrxToColor(raw & 0xFFFFFFu));
        }
        return raw;
    }
};

// The converter from `src` to the surface of `dst`: mono sources take the destination's
// text and background colours, colour sources on mono compare with `srcBk` (or take the
// nearest entry when `absolute`, as DIB sources do).
Converter MakeConverter(const Dc& dst, const Surface& src, COLORREF srcBk, bool absolute);

// The device rectangle (wd x hd at xd, yd) of `dst`, clipped, combined with the source
// pixels of `src` whose top-left (xs, ys, surface coordinates) lies under (xd, yd), and
// with `brush` when the rop reads the pattern (the brush must be RowReady). Destination
// pixels whose source lies outside `src` are left alone.
void BlitRows(Dc& dst, int xd, int yd, int wd, int hd, const Surface& src, int xs, int ys, uint8_t t,
    const Converter& conv, const BrushSampler& brush);

// Destination row y of a colour surface, pixels [x, x + n) (surface coordinates),
// combined with the converted source pixels `srow` and the (RowReady) brush through rop
// t; `pattern` is scratch of at least n words for a patterned brush.
void CombineColorRow(Surface& d, int x, int y, size_t n, const uint32_t* srow, const BrushSampler& brush, uint8_t t,
    uint32_t* pattern);

// SRCCOPY of the device rectangle (wd x hd at xd, yd) of `dst`, clipped, from the same
// surface at (xs, ys), surface coordinates: rows and spans are moved in an order that reads
// every source pixel before it is overwritten, so no copy of the source is made (scrolling).
void MoveRowsWithin(Dc& dst, int xd, int yd, int wd, int hd, int xs, int ys);

// A device rectangle filled through a rop that reads no source (S is taken as 0); the
// brush must be RowReady when the rop reads the pattern.
void FillRows(Dc& dc, const RECT& device, const BrushSampler& brush, uint8_t t);

} // namespace zyn::gdi
