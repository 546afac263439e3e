// The BMP, DIB, ICO/CUR and icon-group parsers: every depth and orientation, bit fields,
// the header variants, PNG entries, entry choice, and malformed input.
#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gdi/imagefile.h"
#include "platform/gdi/imagelist.h"
#include "tests/gdiimages/image_bytes.h"

using namespace zyn::test;
using zyn::gdi::DibImage;

namespace {

// Distinct colours per pixel, for checking placement.
uint32_t Rgb(int x, int y) { return static_cast<uint32_t>(((x * 20 + 10) << 16) | ((y * 40 + 20) << 8) | (x * 7 + y)); }

std::optional<DibImage> ParseFile(const Bytes& b, std::string& error)
{
    return zyn::gdi::ParseBmpFile(b, error);
}

const std::vector<uint32_t> kPalette16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

class BmpRoundTrip : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpRoundTrip, PixelsLandWhereWritten)
{
    const auto [bpp, topDown] = GetParam();
    DibSpec s;
    s.width = 11; // odd widths exercise row padding and sub-byte pixels
    s.height = 5;
    s.bpp = bpp;
    s.topDown = topDown;
    PixelFn px;
    std::function<uint32_t(int, int)> expect;
    if (bpp <= 8) {
        const int n = 1 << bpp;
        for (int i = 0; i < n; ++i)
            s.palette.push_back(
                bpp == 4 ? kPalette16[i] : static_cast<uint32_t>(((i * 37) & 0xFF) << 16 | i << 8 | (255 - i)));
        px = [n](int x, int y) { return static_cast<uint32_t>((x + 3 * y) % n); };
        expect = [&s, px](int x, int y) { return s.palette[px(x, y)]; };
    } else {
        px = [bpp](int x, int y) { return Rgb(x, y) | (bpp == 32 ? (static_cast<uint32_t>(x * 20) << 24) : 0); };
        expect = px;
    }
    std::string error;
    auto img = ParseFile(BmpFile(s, px), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->width, 11);
    EXPECT_EQ(img->height, 5);
    EXPECT_EQ(img->bitCount, bpp);
    EXPECT_EQ(img->topDown, topDown);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(img->At(x, y), expect(x, y)) << "x=" << x << " y=" << y;
    if (bpp <= 8) {
        EXPECT_EQ(img->indices[2 * 11 + 3], px(3, 2));
    }
    EXPECT_EQ(img->hasAlpha, bpp == 32);
    // The same DIB without the file header.
    auto packed = zyn::gdi::ParsePackedDib(PackedDib(s, px), error);
    ASSERT_TRUE(packed) << error;
    EXPECT_EQ(packed->pixels, img->pixels);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
    ::testing::Combine(::testing::Values(1, 4, 8, 24, 32), ::testing::Bool()));

TEST(BmpParse, SixteenBitsDefaultAndBitFields)
{
    DibSpec s;
    s.width = 3;
    s.height = 1;
    s.bpp = 16;
    // 5-5-5: full red, full green, a mid blue (16 of 31 -> (16*255+15)/31 = 132).
    const uint32_t raw555[3] = {0x7C00, 0x03E0, 0x0010};
    std::string error;
    auto img = ParseFile(BmpFile(s, [&](int x, int) { return raw555[x]; }), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->At(0, 0), 0xFF0000u);
    EXPECT_EQ(img->At(1, 0), 0x00FF00u);
    EXPECT_EQ(img->At(2, 0), 0x000084u);
    // 5-6-5 through BI_BITFIELDS: green 32 of 63 -> (32*255+31)/63 = 130.
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    const uint32_t raw565[3] = {0xF800, 0x0400, 0x001F};
    img = ParseFile(BmpFile(s, [&](int x, int) { return raw565[x]; }), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->At(0, 0), 0xFF0000u);
    EXPECT_EQ(img->At(1, 0), 0x008200u);
    EXPECT_EQ(img->At(2, 0), 0x0000FFu);
}

TEST(BmpParse, ThirtyTwoBitFieldsInAVersion5Header)
{
    // A V5 header carries the masks inside: here R and B swapped, alpha in the top byte.
    Bytes b = {'B', 'M'};
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 14 + 124);
    Put32(b, 124);
    Put32(b, 2);
    Put32(b, static_cast<uint32_t>(-1));
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, 3); // BI_BITFIELDS
    for (int i = 0; i < 5; ++i)
        Put32(b, 0);
    Put32(b, 0x000000FF); // red
    Put32(b, 0x0000FF00); // green
    Put32(b, 0x00FF0000); // blue
    Put32(b, 0xFF000000); // alpha
    b.resize(14 + 124, 0);
    Put32(b, 0x80332211); // red 0x11, green 0x22, blue 0x33, alpha 0x80
    Put32(b, 0x000000FF);
    std::string error;
    auto img = ParseFile(b, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->At(0, 0), 0x80112233u);
    EXPECT_EQ(img->At(1, 0), 0x00FF0000u);
    EXPECT_TRUE(img->hasAlpha);
}

TEST(BmpParse, CoreHeaderWithThreeByteTable)
{
    Bytes b = {'B', 'M'};
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 14 + 12 + 6);
    Put32(b, 12);
    Put16(b, 2);
    Put16(b, 1);
    Put16(b, 1);
    Put16(b, 1);
    b.insert(b.end(), {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}); // red, blue (B, G, R triples)
    b.insert(b.end(), {0x40, 0, 0, 0});                        // pixels 0, 1
    std::string error;
    auto img = ParseFile(b, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->At(0, 0), 0xFF0000u);
    EXPECT_EQ(img->At(1, 0), 0x0000FFu);
}

TEST(BmpParse, ColourEditsThroughTheTable)
{
    DibSpec s;
    s.width = 2;
    s.height = 1;
    s.bpp = 8;
    s.palette = {0x112233, 0x445566};
    std::string error;
    auto img = ParseFile(BmpFile(s, [](int x, int) { return static_cast<uint32_t>(x); }), error);
    ASSERT_TRUE(img) << error;
    ASSERT_EQ(img->colors.size(), 256u); // padded to the depth
    img->colors[1] = RGBQUAD{0x01, 0x02, 0x03, 0};
    img->ApplyColorTable();
    EXPECT_EQ(img->At(0, 0), 0x112233u);
    EXPECT_EQ(img->At(1, 0), 0x030201u);
}

TEST(BmpParse, MalformedFilesAreRefusedWithAReason)
{
    DibSpec s;
    s.width = 4;
    s.height = 4;
    s.bpp = 24;
    const Bytes good = BmpFile(s, Rgb);
    std::string error;
    ASSERT_TRUE(ParseFile(good, error)) << error;

    auto refused = [&](Bytes b, const char* what) {
        std::string e;
        auto r = ParseFile(b, e);
        EXPECT_FALSE(r) << what;
        EXPECT_FALSE(e.empty()) << what;
        return e;
    };
    // Every truncation of a good file is refused.
    for (size_t n = 0; n < good.size(); ++n)
        refused(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)), "truncated");
    Bytes b = good;
    b[0] = 'X';
    EXPECT_NE(refused(b, "signature").find("BM"), std::string::npos);
    b = good;
    Set32(b, 10, 0x7FFFFFFF);
    refused(b, "pixel offset beyond the file");
    b = good;
    Set32(b, 10, 20);
    refused(b, "pixel offset inside the header");
    b = good;
    Set32(b, 14 + 4, 0);
    refused(b, "zero width");
    b = good;
    Set32(b, 14 + 4, 0x7FFFFFFF);
    EXPECT_NE(refused(b, "huge width").find("too large"), std::string::npos);
    b = good;
    Set32(b, 14 + 8, 0x80000000u);
    refused(b, "height INT_MIN");
    b = good;
    b[14 + 12] = 2;
    refused(b, "two planes");
    b = good;
    b[14 + 14] = 7;
    refused(b, "7 bits a pixel");
    b = good;
    Set32(b, 14 + 16, 1);
    EXPECT_NE(refused(b, "RLE8").find("run-length"), std::string::npos);
    b = good;
    Set32(b, 14 + 16, 3);
    refused(b, "bit fields at 24 bits");
    b = good;
    Set32(b, 14, 39);
    refused(b, "unknown header size");

    DibSpec p;
    p.width = 2;
    p.height = 1;
    p.bpp = 1;
    p.palette = {0, 0xFFFFFF, 0x123456};
    refused(BmpFile(p, [](int, int) { return 0u; }), "three colours at one bit");

    DibSpec f;
    f.width = 1;
    f.height = 1;
    f.bpp = 16;
    f.compression = 3;
    f.masks = {0xF0F0, 0x0F00, 0x000F};
    EXPECT_NE(refused(BmpFile(f, [](int, int) { return 0u; }), "split mask").find("mask"), std::string::npos);
    f.masks = {0x1F0000, 0x07E0, 0x001F};
    refused(BmpFile(f, [](int, int) { return 0u; }), "mask wider than 16 bits");
    f.masks = {0, 0, 0};
    refused(BmpFile(f, [](int, int) { return 0u; }), "empty masks");
}

namespace {

// A PNG written by libpng itself (2 x 1: opaque red, fully transparent green).
Bytes TinyPng()
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, 2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    uint8_t row[8] = {255, 0, 0, 255, 0, 255, 0, 0};
    png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes Icon8(int w, int h, uint32_t colour)
{
    return IconDib(w, h, 8, {0x000000, colour}, [](int x, int y) { return static_cast<uint32_t>((x + y) & 1); },
        [](int x, int) { return x == 0 ? 1 : 0; });
}

} // namespace

TEST(IconParse, ImageWithAndMask)
{
    std::string error;
    auto img = zyn::gdi::ParseIconImage(Icon8(4, 3, 0x00FF00), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->color.width, 4);
    EXPECT_EQ(img->color.height, 3);
    EXPECT_EQ(img->color.At(1, 0), 0x00FF00u);
    EXPECT_EQ(img->color.At(1, 1), 0x000000u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(img->mask[static_cast<size_t>(y) * 4 + x], x == 0 ? 1 : 0);
    EXPECT_FALSE(img->monochrome);

    // A 1-bit black/white image is a monochrome icon.
    auto mono = zyn::gdi::ParseIconImage(IconDib(8, 2, 1, {0x000000, 0xFFFFFF},
                                             [](int x, int) { return static_cast<uint32_t>(x & 1); },
                                             [](int, int) { return 0; }),
        error);
    ASSERT_TRUE(mono) << error;
    EXPECT_TRUE(mono->monochrome);
}

TEST(IconParse, ThirtyTwoBitsWithoutMaskTakeItFromAlpha)
{
    DibSpec s;
    s.width = 2;
    s.height = 1;
    s.bpp = 32;
    s.headerHeight = 2;
    const Bytes b = PackedDib(s, [](int x, int) { return x ? 0xFF102030u : 0x00405060u; });
    std::string error;
    auto img = zyn::gdi::ParseIconImage(b, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->mask[0], 1);
    EXPECT_EQ(img->mask[1], 0);
    EXPECT_TRUE(img->color.hasAlpha);
    // Cut inside the mask: refused.
    Bytes cut = Icon8(4, 4, 0xFF);
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(zyn::gdi::ParseIconImage(cut, error));
    EXPECT_NE(error.find("mask"), std::string::npos);
}

TEST(IconParse, PngEntries)
{
    const Bytes png = TinyPng();
    std::string error;
    auto img = zyn::gdi::ParseIconImage(png, error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->color.width, 2);
    EXPECT_EQ(img->color.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(img->mask[0], 0);
    EXPECT_EQ(img->mask[1], 1);
    EXPECT_EQ(img->color.At(1, 0), 0u); // transparent pixels stored black
    // A damaged PNG is refused with libpng's reason, never a crash.
    for (size_t n : {8u, 20u, 33u, static_cast<unsigned>(png.size() - 5)}) {
        Bytes cut(png.begin(), png.begin() + static_cast<ptrdiff_t>(n));
        EXPECT_FALSE(zyn::gdi::ParseIconImage(cut, error)) << n;
        EXPECT_NE(error.find("PNG"), std::string::npos) << error;
    }
    Bytes bad = png;
    bad[20] ^= 0xFF; // corrupts the header chunk (CRC mismatch)
    EXPECT_FALSE(zyn::gdi::ParsePng(bad, error));
}

TEST(IconParse, FileDirectoryAndNearestSize)
{
    const Bytes file = IconFile({{16, 16, 8, Icon8(16, 16, 0xFF0000)}, {32, 32, 8, Icon8(32, 32, 0x0000FF)},
        {32, 32, 4, IconDib(32, 32, 4, kPalette16, [](int, int) { return 1u; }, [](int, int) { return 0; })}});
    std::string error;
    auto dir = zyn::gdi::ParseIconFileDir(file, error);
    ASSERT_TRUE(dir) << error;
    ASSERT_EQ(dir->entries.size(), 3u);
    EXPECT_FALSE(dir->cursor);
    EXPECT_EQ(zyn::gdi::ChooseIconEntry(*dir, 16, 16), 0u);
    EXPECT_EQ(zyn::gdi::ChooseIconEntry(*dir, 20, 20), 0u);
    EXPECT_EQ(zyn::gdi::ChooseIconEntry(*dir, 24, 24), 1u); // a tie goes to the larger, deeper one
    EXPECT_EQ(zyn::gdi::ChooseIconEntry(*dir, 32, 32), 1u); // 8 bits beat 4
    EXPECT_EQ(zyn::gdi::ChooseIconEntry(*dir, 48, 48), 1u);
    const auto& e = dir->entries[1];
    auto img = zyn::gdi::ParseIconImage(std::span<const uint8_t>(file).subspan(e.offset, e.size), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->color.At(1, 0), 0x0000FFu);
}

TEST(IconParse, CursorFilesCarryHotspots)
{
    const Bytes file = IconFile({{8, 8, 1, IconDib(8, 8, 1, {0, 0xFFFFFF}, [](int, int) { return 0u; },
                                                [](int, int) { return 1; }),
                                    3, 5}},
        2);
    std::string error;
    auto dir = zyn::gdi::ParseIconFileDir(file, error);
    ASSERT_TRUE(dir) << error;
    EXPECT_TRUE(dir->cursor);
    EXPECT_EQ(dir->entries[0].hotspot.x, 3);
    EXPECT_EQ(dir->entries[0].hotspot.y, 5);
}

TEST(IconParse, MalformedDirectoriesAreRefused)
{
    const Bytes good = IconFile({{16, 16, 8, Icon8(16, 16, 0xFF0000)}});
    std::string error;
    ASSERT_TRUE(zyn::gdi::ParseIconFileDir(good, error));
    for (size_t n = 0; n < 22; ++n)
        EXPECT_FALSE(zyn::gdi::ParseIconFileDir(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)), error));
    Bytes b = good;
    b[2] = 3;
    EXPECT_FALSE(zyn::gdi::ParseIconFileDir(b, error));
    b = good;
    b[4] = 0;
    EXPECT_FALSE(zyn::gdi::ParseIconFileDir(b, error));
    b = good;
    Set32(b, 6 + 12, 0xFFFFFFF0u); // offset near the top of the range: no wrap-around
    EXPECT_FALSE(zyn::gdi::ParseIconFileDir(b, error));
    EXPECT_NE(error.find("outside"), std::string::npos);
    b = good;
    Set32(b, 6 + 8, static_cast<uint32_t>(good.size())); // size runs past the end
    EXPECT_FALSE(zyn::gdi::ParseIconFileDir(b, error));
    b = good;
    b[4] = 200; // more entries than the file holds
    EXPECT_FALSE(zyn::gdi::ParseIconFileDir(b, error));
}

TEST(IconParse, GroupResources)
{
    const std::vector<IconEntrySpec> specs = {{16, 16, 8, Icon8(16, 16, 1)}, {48, 48, 32, Bytes(100, 0)}};
    std::string error;
    auto dir = zyn::gdi::ParseIconGroup(IconGroup(specs, {7, 9}), false, error);
    ASSERT_TRUE(dir) << error;
    ASSERT_EQ(dir->entries.size(), 2u);
    EXPECT_EQ(dir->entries[1].id, 9);
    EXPECT_EQ(dir->entries[1].width, 48);
    auto cursors = zyn::gdi::ParseIconGroup(CursorGroup(specs, {3, 4}), true, error);
    ASSERT_TRUE(cursors) << error;
    EXPECT_EQ(cursors->entries[0].height, 16);
    EXPECT_FALSE(zyn::gdi::ParseIconGroup(IconGroup(specs, {7, 0}), false, error)); // no image id
    EXPECT_FALSE(zyn::gdi::ParseIconGroup(IconGroup(specs, {7, 9}), true, error));  // wrong kind
    Bytes cut = IconGroup(specs, {7, 9});
    cut.pop_back();
    EXPECT_FALSE(zyn::gdi::ParseIconGroup(cut, false, error));
}

namespace {
Bytes Seed(const char* name)
{
    std::ifstream in(std::string(ZYN_BMP_ICO_CORPUS) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
} // namespace

// The fuzz target's seeds are valid files, so mutations start from the parsers' good paths.
TEST(FuzzSeeds, EverySeedParses)
{
    std::string error;
    EXPECT_TRUE(zyn::gdi::ParseBmpFile(Seed("rgb24.bmp"), error)) << error;
    auto topDown = zyn::gdi::ParseBmpFile(Seed("index8_topdown.bmp"), error);
    ASSERT_TRUE(topDown) << error;
    EXPECT_TRUE(topDown->topDown);
    for (const char* name : {"two_sizes.ico", "pointer.cur", "png_entry.ico"}) {
        const Bytes file = Seed(name);
        auto dir = zyn::gdi::ParseIconFileDir(file, error);
        ASSERT_TRUE(dir) << name << ": " << error;
        for (const auto& e : dir->entries)
            EXPECT_TRUE(zyn::gdi::ParseIconImage(std::span<const uint8_t>(file).subspan(e.offset, e.size), error))
                << name << ": " << error;
    }
    zyn::gdi::ByteVectorStream stream(Seed("imagelist.zil"));
    HIMAGELIST himl = ImageList_Read(&stream);
    EXPECT_NE(himl, nullptr) << zyn::gdi::LastImageError();
    EXPECT_EQ(ImageList_GetImageCount(himl), 2);
    ImageList_Destroy(himl);
}
