// Parsers of BMP, packed DIB, ICO/CUR and icon-group data (see imagefile.h).
#include "platform/gdi/imagefile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace zyn::gdi {
namespace {

constexpr DWORD kBiAlphaBitfields = 6;
constexpr DWORD kBiJpeg = 4;
constexpr DWORD kBiPng = 5;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
        (static_cast<uint32_t>(p[3]) << 24);
}

// True when [offset, offset + length) lies inside a span of `size` bytes (no overflow).
bool Within(size_t size, uint64_t offset, uint64_t length)
{
    return offset <= size && length <= size - offset;
}

std::string Num(uint64_t v) { return std::to_string(v); }

// One colour channel of a bit-field pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    bool Set(uint32_t m)
    {
        mask = m;
        shift = 0;
        bits = 0;
        if (m == 0)
            return true;
        while (!((m >> shift) & 1u))
            ++shift;
        const uint32_t v = m >> shift;
        while (bits < 32 && ((v >> bits) & 1u))
            ++bits;
        // The mask must be one run of bits.
        return bits == 32 || (v >> bits) == 0;
    }
    uint32_t Get(uint32_t px) const
    {
        if (!mask)
            return 0;
        const uint32_t v = (px & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        const uint32_t max = (1u << bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

// The layout of a DIB header at some offset of a buffer.
struct DibLayout {
    int width = 0;
    int rows = 0;                 // |biHeight|
    bool topDown = false;
    int bpp = 0;
    DWORD compression = BI_RGB;
    bool core = false;
    size_t tableOffset = 0;       // absolute
    size_t tableEntries = 0;      // entries stored in the data
    size_t entrySize = 4;
    size_t afterTable = 0;        // absolute offset just past the colour table
    Channel red, green, blue, alpha;
    bool bitfields = false;
    size_t stride = 0;
};

std::optional<DibLayout> ReadDibHeader(std::span<const uint8_t> b, size_t at, std::string& error)
{
    DibLayout l;
    if (!Within(b.size(), at, 4)) {
        error = "the bitmap header is missing";
        return std::nullopt;
    }
    const uint32_t headerSize = Le32(b.data() + at);
    int64_t width = 0, height = 0;
    unsigned planes = 0;
    uint32_t clrUsed = 0;
    if (headerSize == 12) {
        if (!Within(b.size(), at, 12)) {
            error = "the bitmap core header is truncated";
            return std::nullopt;
        }
        const uint8_t* p = b.data() + at;
        l.core = true;
        width = Le16(p + 4);
        height = static_cast<int16_t>(Le16(p + 6));
        planes = Le16(p + 8);
        l.bpp = Le16(p + 10);
        l.entrySize = 3;
        if (height < 0) {
            error = "a core bitmap header cannot describe a top-down bitmap";
            return std::nullopt;
        }
    } else if (headerSize >= 40 && headerSize <= 4096) {
        if (!Within(b.size(), at, headerSize)) {
            error = "the bitmap header is truncated (" + Num(headerSize) + " bytes announced)";
            return std::nullopt;
        }
        const uint8_t* p = b.data() + at;
        width = static_cast<int32_t>(Le32(p + 4));
        height = static_cast<int32_t>(Le32(p + 8));
        planes = Le16(p + 12);
        l.bpp = Le16(p + 14);
        l.compression = Le32(p + 16);
        clrUsed = Le32(p + 32);
    } else {
        error = "unknown bitmap header size " + Num(headerSize);
        return std::nullopt;
    }
    if (planes != 1) {
        error = "a bitmap must have one plane, not " + Num(planes);
        return std::nullopt;
    }
    if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32) {
        error = "unsupported depth of " + Num(static_cast<uint64_t>(l.bpp)) + " bits a pixel";
        return std::nullopt;
    }
    if (l.core && (l.bpp == 16 || l.bpp == 32)) {
        error = "a core bitmap header allows 1, 4, 8 or 24 bits a pixel";
        return std::nullopt;
    }
    if (width <= 0 || height == 0) {
        error = "the bitmap has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return std::nullopt;
    }
    l.topDown = height < 0;
    const int64_t rows = height < 0 ? -height : height;
    if (width > kMaxImageSide || rows > kMaxImageSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(rows) > kMaxImagePixels) {
        error = "the bitmap is too large (" + std::to_string(width) + " x " + std::to_string(rows) + ")";
        return std::nullopt;
    }
    l.width = static_cast<int>(width);
    l.rows = static_cast<int>(rows);
    l.stride = ((static_cast<size_t>(l.width) * static_cast<size_t>(l.bpp) + 31) / 32) * 4;

    size_t maskBytes = 0;
    switch (l.compression) {
    case BI_RGB:
        break;
    case BI_BITFIELDS:
    case kBiAlphaBitfields:
        if (l.bpp != 16 && l.bpp != 32) {
            error = "bit-field compression needs 16 or 32 bits a pixel";
            return std::nullopt;
        }
        l.bitfields = true;
        break;
    case BI_RLE8:
    case BI_RLE4:
        error = "run-length compressed bitmaps are not supported";
        return std::nullopt;
    case kBiJpeg:
    case kBiPng:
        error = "bitmaps with embedded JPEG or PNG data are not supported";
        return std::nullopt;
    default:
        error = "unknown bitmap compression " + Num(l.compression);
        return std::nullopt;
    }

    if (l.bitfields) {
        // The masks follow a 40-byte header; longer headers (52 bytes and more) carry the
        // red, green and blue masks inside, and the alpha mask from 56 bytes on.
        const size_t maskAt = at + 40;
        uint32_t alphaMask = 0;
        if (headerSize == 40) {
            maskBytes = l.compression == kBiAlphaBitfields ? 16 : 12;
            if (!Within(b.size(), maskAt, maskBytes)) {
                error = "the colour masks are missing";
                return std::nullopt;
            }
            if (maskBytes == 16)
                alphaMask = Le32(b.data() + maskAt + 12);
        } else if (headerSize < 52) {
            error = "the colour masks are missing";
            return std::nullopt;
        } else if (headerSize >= 56) {
            alphaMask = Le32(b.data() + maskAt + 12);
        }
        const uint8_t* m = b.data() + maskAt;
        if (!l.red.Set(Le32(m)) || !l.green.Set(Le32(m + 4)) || !l.blue.Set(Le32(m + 8)) ||
            !l.alpha.Set(alphaMask)) {
            error = "a colour mask is not one run of bits";
            return std::nullopt;
        }
        if (!l.red.mask && !l.green.mask && !l.blue.mask) {
            error = "the colour masks are all empty";
            return std::nullopt;
        }
        const uint32_t limit = l.bpp == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        if ((l.red.mask | l.green.mask | l.blue.mask | l.alpha.mask) & ~limit) {
            error = "a colour mask exceeds the pixel size";
            return std::nullopt;
        }
    } else if (l.bpp == 16) {
        l.red.Set(0x7C00);
        l.green.Set(0x03E0);
        l.blue.Set(0x001F);
    }

    l.tableOffset = at + headerSize + maskBytes;
    if (l.core) {
        l.tableEntries = l.bpp <= 8 ? (size_t(1) << l.bpp) : 0;
    } else if (l.bpp <= 8) {
        const size_t max = size_t(1) << l.bpp;
        if (clrUsed > max) {
            error = "the colour table has " + Num(clrUsed) + " entries, more than " + Num(max) + " bits allow";
            return std::nullopt;
        }
        l.tableEntries = clrUsed ? clrUsed : max;
    } else {
        if (clrUsed > 256) {
            error = "the colour table has " + Num(clrUsed) + " entries";
            return std::nullopt;
        }
        l.tableEntries = clrUsed; // an optional palette hint, skipped
    }
    if (!Within(b.size(), l.tableOffset, l.tableEntries * l.entrySize)) {
        error = "the colour table is truncated";
        return std::nullopt;
    }
    l.afterTable = l.tableOffset + l.tableEntries * l.entrySize;
    return l;
}

// Decodes `rows` rows of pixels at `pixelAt` into `img` (whose width/height are set here).
bool DecodeRows(const DibLayout& l, std::span<const uint8_t> b, size_t pixelAt, int rows, DibImage& img,
    std::string& error)
{
    const uint64_t bytes = static_cast<uint64_t>(l.stride) * static_cast<uint64_t>(rows);
    if (!Within(b.size(), pixelAt, bytes)) {
        error = "the pixel data is truncated (" + Num(bytes) + " bytes needed, " +
            Num(pixelAt <= b.size() ? b.size() - pixelAt : 0) + " present)";
        return false;
    }
    img.width = l.width;
    img.height = rows;
    img.bitCount = l.bpp;
    img.topDown = l.topDown;
    const size_t count = static_cast<size_t>(l.width) * static_cast<size_t>(rows);
    img.pixels.assign(count, 0);
    if (l.bpp <= 8) {
        img.colors.assign(size_t(1) << l.bpp, RGBQUAD{0, 0, 0, 0});
        for (size_t i = 0; i < l.tableEntries && i < img.colors.size(); ++i) {
            const uint8_t* e = b.data() + l.tableOffset + i * l.entrySize;
            img.colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
        img.indices.assign(count, 0);
    }
    bool anyAlpha = false;
    for (int scan = 0; scan < rows; ++scan) {
        const int y = l.topDown ? scan : rows - 1 - scan;
        const uint8_t* row = b.data() + pixelAt + static_cast<size_t>(scan) * l.stride;
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(l.width);
        for (int x = 0; x < l.width; ++x) {
            uint32_t px = 0;
            switch (l.bpp) {
            case 1:
            case 4:
            case 8: {
                unsigned index;
                if (l.bpp == 8)
                    index = row[x];
                else if (l.bpp == 4)
                    index = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
                else
                    index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                img.indices[base + x] = static_cast<uint8_t>(index);
                continue; // colours come from ApplyColorTable
            }
            case 16: {
                const uint32_t v = Le16(row + 2 * x);
                px = (l.red.Get(v) << 16) | (l.green.Get(v) << 8) | l.blue.Get(v);
                break;
            }
            case 24: {
                const uint8_t* p = row + 3 * x;
                px = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
                break;
            }
            default: {
                const uint32_t v = Le32(row + 4 * x);
                if (l.bitfields)
                    px = (l.alpha.Get(v) << 24) | (l.red.Get(v) << 16) | (l.green.Get(v) << 8) | l.blue.Get(v);
                else
                    px = v; // B, G, R and the alpha byte
                break;
            }
            }
            anyAlpha = anyAlpha || (px >> 24) != 0;
            img.pixels[base + x] = px;
        }
    }
    if (l.bpp <= 8)
        img.ApplyColorTable();
    img.hasAlpha = l.bpp == 32 && anyAlpha;
    return true;
}

bool IsBlackWhite(const DibImage& img)
{
    if (img.bitCount != 1 || img.colors.size() != 2)
        return false;
    const RGBQUAD& a = img.colors[0];
    const RGBQUAD& w = img.colors[1];
    return a.rgbRed == 0 && a.rgbGreen == 0 && a.rgbBlue == 0 && w.rgbRed == 255 && w.rgbGreen == 255 &&
        w.rgbBlue == 255;
}

int DepthFromColorCount(int colors)
{
    switch (colors) {
    case 2:
        return 1;
    case 16:
        return 4;
    case 0:
        return 8; // 256 or more colours
    default:
        return 0;
    }
}

thread_local std::string t_lastImageError;

} // namespace

void DibImage::ApplyColorTable()
{
    if (!Indexed())
        return;
    for (size_t i = 0; i < indices.size() && i < pixels.size(); ++i) {
        const unsigned idx = indices[i];
        if (idx < colors.size()) {
            const RGBQUAD& q = colors[idx];
            pixels[i] = (static_cast<uint32_t>(q.rgbRed) << 16) | (static_cast<uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
        } else {
            pixels[i] = 0;
        }
    }
}

std::optional<DibImage> ParsePackedDib(std::span<const uint8_t> bytes, std::string& error)
{
    auto l = ReadDibHeader(bytes, 0, error);
    if (!l)
        return std::nullopt;
    DibImage img;
    if (!DecodeRows(*l, bytes, l->afterTable, l->rows, img, error))
        return std::nullopt;
    return img;
}

std::optional<DibImage> ParseBmpFile(std::span<const uint8_t> bytes, std::string& error)
{
    if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
        error = "not a BMP file (no \"BM\" signature)";
        return std::nullopt;
    }
    const uint32_t offBits = Le32(bytes.data() + 10);
    auto l = ReadDibHeader(bytes, 14, error);
    if (!l)
        return std::nullopt;
    if (offBits < l->afterTable || offBits > bytes.size()) {
        error = "the pixel offset " + Num(offBits) + " lies outside the file's pixel area";
        return std::nullopt;
    }
    DibImage img;
    if (!DecodeRows(*l, bytes, offBits, l->rows, img, error))
        return std::nullopt;
    return img;
}

bool IsPng(std::span<const uint8_t> bytes)
{
    static constexpr uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSig, 8) == 0;
}

namespace {

struct PngInput {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    std::string message;
};

void PngReadFn(png_structp png, png_bytep out, size_t n)
{
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (n > in->size - in->pos)
        png_error(png, "the PNG stream is truncated");
    std::memcpy(out, in->data + in->pos, n);
    in->pos += n;
}

void PngErrorFn(png_structp png, png_const_charp msg)
{
    auto* in = static_cast<PngInput*>(png_get_error_ptr(png));
    in->message = msg ? msg : "PNG error";
    png_longjmp(png, 1);
}

void PngWarningFn(png_structp, png_const_charp) {}

// Owns the libpng structures; destroyed on every exit, including after a longjmp.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// The decoded pixels live outside the frame that calls setjmp, so nothing it touches
// after setjmp is a register-held local.
struct PngOutput {
    std::vector<uint8_t> buffer;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

bool DecodePng(PngReader& r, PngInput& in, PngOutput& out)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_set_user_limits(r.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(r.png, 8u << 20);
    png_set_read_fn(r.png, &in, PngReadFn);
    png_read_info(r.png, r.info);
    out.width = png_get_image_width(r.png, r.info);
    out.height = png_get_image_height(r.png, r.info);
    if (static_cast<uint64_t>(out.width) * out.height > kMaxImagePixels)
        png_error(r.png, "the PNG image is too large");
    const int colorType = png_get_color_type(r.png, r.info);
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    (void)png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    const size_t rowBytes = png_get_rowbytes(r.png, r.info);
    if (rowBytes != static_cast<size_t>(out.width) * 4)
        png_error(r.png, "unexpected PNG row layout");
    out.buffer.resize(rowBytes * out.height);
    out.rows.resize(out.height);
    for (png_uint_32 y = 0; y < out.height; ++y)
        out.rows[y] = out.buffer.data() + rowBytes * y;
    png_read_image(r.png, out.rows.data());
    png_read_end(r.png, nullptr);
    return true;
}

} // namespace

std::optional<DibImage> ParsePng(std::span<const uint8_t> bytes, std::string& error)
{
    if (!IsPng(bytes)) {
        error = "not a PNG stream";
        return std::nullopt;
    }
    PngInput in;
    in.data = bytes.data();
    in.size = bytes.size();
    PngReader r;
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &in, PngErrorFn, PngWarningFn);
    if (!r.png) {
        error = "libpng could not start";
        return std::nullopt;
    }
    r.info = png_create_info_struct(r.png);
    if (!r.info) {
        error = "libpng could not start";
        return std::nullopt;
    }
    auto out = std::make_unique<PngOutput>();
    bool ok = false;
    try {
        ok = DecodePng(r, in, *out);
    } catch (const std::bad_alloc&) {
        error = "out of memory decoding a PNG image";
        return std::nullopt;
    }
    if (!ok) {
        error = "bad PNG image: " + in.message;
        return std::nullopt;
    }
    if (out->width == 0 || out->height == 0) {
        error = "the PNG image has no pixels";
        return std::nullopt;
    }
    DibImage img;
    img.width = static_cast<int>(out->width);
    img.height = static_cast<int>(out->height);
    img.bitCount = 32;
    img.topDown = true;
    const size_t count = static_cast<size_t>(img.width) * img.height;
    img.pixels.resize(count);
    for (size_t i = 0; i < count; ++i)
        img.pixels[i] = Le32(out->buffer.data() + 4 * i);
    img.hasAlpha = std::any_of(img.pixels.begin(), img.pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
    return img;
}

std::optional<IconImage> ParseIconImage(std::span<const uint8_t> bytes, std::string& error)
{
    IconImage icon;
    if (IsPng(bytes)) {
        auto png = ParsePng(bytes, error);
        if (!png)
            return std::nullopt;
        icon.color = std::move(*png);
        icon.mask.resize(icon.color.pixels.size());
        for (size_t i = 0; i < icon.color.pixels.size(); ++i) {
            uint32_t& p = icon.color.pixels[i];
            icon.mask[i] = (p >> 24) == 0 ? 1 : 0;
            if (icon.mask[i])
                p = 0; // fully transparent: black, so the mask path leaves the screen alone
        }
        return icon;
    }
    auto l = ReadDibHeader(bytes, 0, error);
    if (!l)
        return std::nullopt;
    if (l->rows < 2) {
        error = "an icon image needs a colour and a mask half";
        return std::nullopt;
    }
    const int rows = l->rows / 2;
    if (!DecodeRows(*l, bytes, l->afterTable, rows, icon.color, error))
        return std::nullopt;
    const size_t maskStride = ((static_cast<size_t>(l->width) + 31) / 32) * 4;
    const size_t maskAt = l->afterTable + l->stride * static_cast<size_t>(rows);
    const size_t count = static_cast<size_t>(l->width) * rows;
    icon.mask.assign(count, 0);
    if (maskAt == bytes.size() && l->bpp == 32) {
        // A 32-bit image without its AND mask: transparency comes from alpha.
        for (size_t i = 0; i < count; ++i)
            icon.mask[i] = (icon.color.pixels[i] >> 24) == 0 ? 1 : 0;
    } else {
        if (!Within(bytes.size(), maskAt, maskStride * static_cast<size_t>(rows))) {
            error = "the icon's AND mask is truncated";
            return std::nullopt;
        }
        for (int scan = 0; scan < rows; ++scan) {
            const int y = l->topDown ? scan : rows - 1 - scan;
            const uint8_t* row = bytes.data() + maskAt + static_cast<size_t>(scan) * maskStride;
            for (int x = 0; x < l->width; ++x)
                icon.mask[static_cast<size_t>(y) * l->width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    icon.monochrome = IsBlackWhite(icon.color);
    return icon;
}

std::optional<IconImage> ParseCursorResource(std::span<const uint8_t> bytes, std::string& error)
{
    if (bytes.size() < 4) {
        error = "the cursor resource is truncated";
        return std::nullopt;
    }
    auto img = ParseIconImage(bytes.subspan(4), error);
    if (!img)
        return std::nullopt;
    img->hotspot = POINT{Le16(bytes.data()), Le16(bytes.data() + 2)};
    return img;
}

std::optional<IconDir> ParseIconFileDir(std::span<const uint8_t> bytes, std::string& error)
{
    if (bytes.size() < 6) {
        error = "the icon directory is truncated";
        return std::nullopt;
    }
    const uint16_t reserved = Le16(bytes.data());
    const uint16_t type = Le16(bytes.data() + 2);
    const uint16_t count = Le16(bytes.data() + 4);
    if (reserved != 0 || (type != 1 && type != 2)) {
        error = "not an icon or cursor file";
        return std::nullopt;
    }
    if (count == 0) {
        error = "the icon file holds no images";
        return std::nullopt;
    }
    if (!Within(bytes.size(), 6, static_cast<uint64_t>(count) * 16)) {
        error = "the icon directory announces " + Num(count) + " entries but is truncated";
        return std::nullopt;
    }
    IconDir dir;
    dir.cursor = type == 2;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* e = bytes.data() + 6 + 16 * i;
        IconDirEntry entry;
        entry.width = e[0] ? e[0] : 256;
        entry.height = e[1] ? e[1] : 256;
        const int colorCount = e[2];
        if (dir.cursor) {
            entry.hotspot = POINT{Le16(e + 4), Le16(e + 6)};
            entry.bitCount = DepthFromColorCount(colorCount);
        } else {
            entry.bitCount = Le16(e + 6) ? Le16(e + 6) : DepthFromColorCount(colorCount);
        }
        entry.size = Le32(e + 8);
        entry.offset = Le32(e + 12);
        if (entry.size == 0 || !Within(bytes.size(), entry.offset, entry.size)) {
            error = "icon entry " + Num(i) + " lies outside the file";
            return std::nullopt;
        }
        dir.entries.push_back(entry);
    }
    return dir;
}

std::optional<IconDir> ParseIconGroup(std::span<const uint8_t> bytes, bool cursor, std::string& error)
{
    if (bytes.size() < 6) {
        error = "the icon group resource is truncated";
        return std::nullopt;
    }
    const uint16_t type = Le16(bytes.data() + 2);
    const uint16_t count = Le16(bytes.data() + 4);
    if (Le16(bytes.data()) != 0 || type != (cursor ? 2 : 1)) {
        error = cursor ? "not a cursor group resource" : "not an icon group resource";
        return std::nullopt;
    }
    if (count == 0) {
        error = "the icon group holds no images";
        return std::nullopt;
    }
    if (!Within(bytes.size(), 6, static_cast<uint64_t>(count) * 14)) {
        error = "the icon group announces " + Num(count) + " entries but is truncated";
        return std::nullopt;
    }
    IconDir dir;
    dir.cursor = cursor;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* e = bytes.data() + 6 + 14 * i;
        IconDirEntry entry;
        if (cursor) {
            entry.width = Le16(e);
            entry.height = Le16(e + 2) / 2; // the stored height covers the mask too
            entry.bitCount = Le16(e + 6);
        } else {
            entry.width = e[0] ? e[0] : 256;
            entry.height = e[1] ? e[1] : 256;
            entry.bitCount = Le16(e + 6) ? Le16(e + 6) : DepthFromColorCount(e[2]);
        }
        entry.size = Le32(e + 8);
        entry.id = Le16(e + 12);
        if (entry.id == 0) {
            error = "icon group entry " + Num(i) + " names no image";
            return std::nullopt;
        }
        dir.entries.push_back(entry);
    }
    return dir;
}

size_t ChooseIconEntry(const IconDir& dir, int cx, int cy)
{
    size_t best = 0;
    for (size_t i = 1; i < dir.entries.size(); ++i) {
        const IconDirEntry& a = dir.entries[i];
        const IconDirEntry& b = dir.entries[best];
        const int da = std::abs(a.width - cx) + std::abs(a.height - cy);
        const int db = std::abs(b.width - cx) + std::abs(b.height - cy);
        if (da != db) {
            if (da < db)
                best = i;
            continue;
        }
        const int areaA = a.width * a.height;
        const int areaB = b.width * b.height;
        if (areaA != areaB) {
            if (areaA > areaB)
                best = i;
            continue;
        }
        if (a.bitCount > b.bitCount)
            best = i;
    }
    return best;
}

const std::string& LastImageError() { return t_lastImageError; }
void SetLastImageError(std::string message) { t_lastImageError = std::move(message); }

} // namespace zyn::gdi
