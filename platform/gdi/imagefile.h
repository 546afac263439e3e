#pragma once
// Parsers of image data from files and resources: BMP files and packed DIBs (the RT_BITMAP
// layout), icon and cursor files (ICO/CUR directories whose images are packed DIBs with an
// AND mask or PNG streams), and the RT_GROUP_ICON / RT_GROUP_CURSOR / RT_CURSOR layouts.
//
// Every parser takes untrusted bytes: it reads only inside the span, checks every size
// and offset before use, refuses dimensions above kMaxImageSide or kMaxImagePixels, and
// reports a failure as nullopt with a sentence in `error`. Pixel storage is only
// allocated once the bytes that fill it are known to be present, so memory stays bounded
// by the input size.
//
// Accepted: BITMAPCOREHEADER (12 bytes), BITMAPINFOHEADER (40) and its longer forms (V2 52,
// V3 56, V4 108, V5 124, and any other size of at least 40 read as its first 40 bytes);
// 1, 4, 8, 16, 24 and 32 bits a pixel; BI_RGB, and BI_BITFIELDS / BI_ALPHABITFIELDS for 16
// and 32 bits; bottom-up and top-down rows. Run-length and embedded JPEG/PNG compression
// of plain bitmaps are refused.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"

namespace zyn::gdi {

inline constexpr int kMaxImageSide = 32768;
inline constexpr size_t kMaxImagePixels = size_t(1) << 24;

// A decoded bitmap. Pixels are top-down whatever the source's row order.
struct DibImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;                // the source depth: 1, 4, 8, 16, 24 or 32
    bool topDown = false;            // the source stored its rows top-down
    std::vector<RGBQUAD> colors;     // 1/4/8 bits: the colour table, 2^bitCount entries (missing ones black)
    std::vector<uint8_t> indices;    // 1/4/8 bits: the colour-table index of each pixel
    std::vector<uint32_t> pixels;    // every depth: 0xAARRGGBB; alpha only from 32-bit sources
    bool hasAlpha = false;           // a 32-bit source with at least one non-zero alpha byte

    bool Indexed() const { return bitCount <= 8; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The index of the first pixel in the source's memory order (the bottom-left pixel of
    // a bottom-up image): what LR_LOADTRANSPARENT takes as the transparent colour.
    size_t FirstStoredPixel() const { return topDown ? 0 : static_cast<size_t>(height - 1) * width; }
    // Recomputes `pixels` from `indices` after the colour table was changed.
    void ApplyColorTable();
};

// One icon or cursor image: the XOR (colour) image and the AND mask.
struct IconImage {
    DibImage color;
    std::vector<uint8_t> mask;       // width*height bytes, top-down: 1 = transparent (AND keeps the screen)
    bool monochrome = false;         // a 1-bit image with a black/white table: a monochrome icon
    POINT hotspot{0, 0};             // cursors
};

// A directory of icon or cursor images (a file's ICONDIR or a group resource).
struct IconDirEntry {
    int width = 0;                   // 1..256 (a 0 byte in the directory means 256)
    int height = 0;
    int bitCount = 0;                // 0 when the directory does not say
    POINT hotspot{0, 0};             // cursor files
    uint32_t offset = 0;             // files: the image's byte range
    uint32_t size = 0;
    WORD id = 0;                     // group resources: the RT_ICON / RT_CURSOR name
};
struct IconDir {
    bool cursor = false;
    std::vector<IconDirEntry> entries;
};

// A BMP file: BITMAPFILEHEADER then a packed DIB, pixels at bfOffBits.
std::optional<DibImage> ParseBmpFile(std::span<const uint8_t> bytes, std::string& error);
// A packed DIB (header, masks, colour table, pixels), as RT_BITMAP resources hold.
std::optional<DibImage> ParsePackedDib(std::span<const uint8_t> bytes, std::string& error);

// An ICO (type 1) or CUR (type 2) file's directory; each entry's byte range is checked.
std::optional<IconDir> ParseIconFileDir(std::span<const uint8_t> bytes, std::string& error);
// An RT_GROUP_ICON or RT_GROUP_CURSOR resource.
std::optional<IconDir> ParseIconGroup(std::span<const uint8_t> bytes, bool cursor, std::string& error);
// One image of an icon: a packed DIB of twice the image height (colour rows, then a
// 1-bit AND mask; a 32-bit image without the mask takes it from its alpha), or a PNG.
std::optional<IconImage> ParseIconImage(std::span<const uint8_t> bytes, std::string& error);
// An RT_CURSOR resource: the hotspot as two WORDs, then an icon image.
std::optional<IconImage> ParseCursorResource(std::span<const uint8_t> bytes, std::string& error);
// A PNG stream as a 32-bit image with alpha (through libpng).
std::optional<DibImage> ParsePng(std::span<const uint8_t> bytes, std::string& error);
bool IsPng(std::span<const uint8_t> bytes);

// The entry that best fits cx x cy: the smallest |w - cx| + |h - cy|; on a tie the larger
// image (scaling down looks better than scaling up), then the deeper colour. Entries of
// unknown depth count as 0 bits. The directory must not be empty.
size_t ChooseIconEntry(const IconDir& dir, int cx, int cy);

// The message of the last image that the loaders (LoadImage, LoadIcon, LoadBitmap,
// CopyImage, ImageList_Read) of this thread refused; empty after a success.
const std::string& LastImageError();
void SetLastImageError(std::string message);

} // namespace zyn::gdi
