#pragma once
// Device-independent bitmap layouts: validation of a BITMAPINFO and conversion of DIB
// rows to and from surfaces. Used by DIB sections, Get/SetDIBits, StretchDIBits and the
// image loaders.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

struct DibFormat {
    int width = 0;
    int height = 0;           // rows (positive)
    bool bottomUp = true;     // biHeight > 0
    int bpp = 0;              // 1, 4, 8, 16, 24, 32
    DWORD compression = BI_RGB;
    DWORD masks[3] = {0, 0, 0}; // red, green, blue masks for 16/32 bits
    std::vector<RGBQUAD> colors; // the colour table (1/4/8 bits), always 2^bpp entries
    size_t stride = 0;        // bytes a row, DWORD aligned

    size_t ImageBytes() const { return stride * static_cast<size_t>(height); }
    // Surface row of a scan line (scan 0 is the first row in memory).
    int RowOfScan(int scan) const { return bottomUp ? height - 1 - scan : scan; }
    COLORREF Pixel(const uint8_t* row, int x) const;
    void SetPixel(uint8_t* row, int x, COLORREF c) const; // nearest table entry for <= 8 bits
    uint32_t NearestIndex(COLORREF c) const;
};

// Validates the header (and colour table for DIB_RGB_COLORS; DIB_PAL_COLORS refers to
// the default palette) and returns the layout; nullopt with ERROR_INVALID_PARAMETER.
// `needColors` false when only the header is known (GetDIBits fills the table).
std::optional<DibFormat> ParseDib(const BITMAPINFO* bmi, UINT usage, bool needColors = true);
// The colour table GetDIBits reports for a depth: 1 bit black/white, 4 bits the 16 VGA
// colours, 8 bits the 20 system colours, a 6x6x6 cube and greys.
std::vector<RGBQUAD> DefaultColorTable(int bpp);
size_t DibStride(int width, int bpp);

// Copies `lines` scan lines starting at `startScan` of DIB memory `bits` (whose first
// row in memory is scan `startScan`) into a surface of the DIB's size. Colours go through
// ColorToPixel of the target (nearest entry on mono).
void DibToSurface(const DibFormat& fmt, const uint8_t* bits, int startScan, int lines, Surface& dst);
void SurfaceToDib(const Surface& src, const DibFormat& fmt, uint8_t* bits, int startScan, int lines);
// A new 32-bit surface holding a DIB's pixels (its whole height; rows outside the given
// scans are black).
std::shared_ptr<Surface> SurfaceFromDib(const DibFormat& fmt, const uint8_t* bits, int startScan, int lines);

} // namespace zyn::gdi
