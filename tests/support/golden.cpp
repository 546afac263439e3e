#include "tests/support/golden.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/wingdi.h"
#include "tests/support/font_extent.h"

namespace zyn::test {

namespace {

#ifdef ZYN_SOURCE_DIR_LITERAL
constexpr const char* kSourceDir = ZYN_SOURCE_DIR_LITERAL;
#else
constexpr const char* kSourceDir = ".";
#endif

struct FileCloser {
    void operator()(FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using File = std::unique_ptr<FILE, FileCloser>;

bool UpdateRequested()
{
    const char* v = std::getenv("ZYN_UPDATE_GOLDEN");
    return v && std::string(v) == "1";
}

bool Ignored(const std::vector<RECT>& ignore, int x, int y)
{
    for (const RECT& r : ignore)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

} // namespace

GoldenPicture CaptureDc(HDC hdc, const RECT& rect)
{
    GoldenPicture picture;
    picture.width = rect.right - rect.left;
    picture.height = rect.bottom - rect.top;
    if (!hdc || picture.width <= 0 || picture.height <= 0) {
        picture.width = picture.height = 0;
        return picture;
    }
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = picture.width;
    bmi.bmiHeader.biHeight = -picture.height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    if (dib && memory && bits) {
        const HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, picture.width, picture.height, hdc, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        picture.pixels.assign(p, p + static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
        for (uint32_t& px : picture.pixels)
            px &= 0x00FFFFFFu;
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    if (dib)
        DeleteObject(dib);
    return picture;
}

GoldenPicture CaptureScreen(const RECT& rect)
{
    const HDC screen = GetDC(nullptr);
    GoldenPicture picture = CaptureDc(screen, rect);
    ReleaseDC(nullptr, screen);
    return picture;
}

GoldenPicture CaptureBitmap(HBITMAP bitmap)
{
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm))
        return {};
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    GoldenPicture picture = CaptureDc(memory, RECT{0, 0, bm.bmWidth, bm.bmHeight});
    SelectObject(memory, old);
    DeleteDC(memory);
    return picture;
}

std::string GoldenPath(const std::string& area, const std::string& name)
{
    return std::string(kSourceDir) + "/tests/" + area + "/golden/" + name + ".png";
}

bool WritePicturePng(const std::string& path, const GoldenPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    File f(std::fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    std::vector<png_byte> row(static_cast<size_t>(picture.width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
        PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.At(x, y);
            row[static_cast<size_t>(x) * 3] = static_cast<png_byte>((p >> 16) & 0xFF);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>((p >> 8) & 0xFF);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(p & 0xFF);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool ReadPicturePng(const std::string& path, GoldenPicture& picture)
{
    File f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    std::vector<png_byte> data;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, f.get());
    png_read_info(png, info);
    // Everything to 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const auto width = png_get_image_width(png, info);
    const auto height = png_get_image_height(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    if (width == 0 || height == 0 || width > 16384 || height > 16384 || stride < width * 4) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    data.resize(stride * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = data.data() + y * stride;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<size_t>(width) * height);
    for (png_uint_32 y = 0; y < height; ++y)
        for (png_uint_32 x = 0; x < width; ++x) {
            const png_byte* p = rows[y] + x * 4;
            picture.pixels[y * width + x] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
        }
    return true;
}

namespace {
// Goldens hold text drawn in the faces with the Windows metrics: without them every picture
// with text differs, and the failure says why.
std::string FontNote()
{
    return MetricFacesInstalled() ? std::string() : std::string("; this golden ") + kNeedsMetricFaces;
}
} // namespace

::testing::AssertionResult MatchesGolden(const std::string& area, const std::string& name,
    const GoldenPicture& picture, const std::vector<RECT>& ignore)
{
    const std::string path = GoldenPath(area, name);
    const std::string actual = path.substr(0, path.size() - 4) + ".actual.png";
    if (picture.width <= 0 || picture.height <= 0)
        return ::testing::AssertionFailure() << "nothing was captured for " << name;
    if (UpdateRequested()) {
        if (!WritePicturePng(path, picture))
            return ::testing::AssertionFailure() << "cannot write " << path;
        std::remove(actual.c_str());
        return ::testing::AssertionSuccess() << "rewrote " << path;
    }
    GoldenPicture golden;
    if (!ReadPicturePng(path, golden)) {
        WritePicturePng(actual, picture);
        return ::testing::AssertionFailure() << "no golden picture " << path << " (the picture taken is " << actual
                                             << "; ZYN_UPDATE_GOLDEN=1 makes it the golden)";
    }
    if (golden.width != picture.width || golden.height != picture.height) {
        WritePicturePng(actual, picture);
        return ::testing::AssertionFailure() << name << ": the golden is " << golden.width << "x" << golden.height
                                             << ", the picture " << picture.width << "x" << picture.height
                                             << " (see " << actual << FontNote() << ")";
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            if (Ignored(ignore, x, y) || picture.At(x, y) == golden.At(x, y))
                continue;
            WritePicturePng(actual, picture);
            char buf[160];
            std::snprintf(buf, sizeof buf, "%s: first difference at (%d, %d): golden #%06X, picture #%06X", name.c_str(),
                x, y, golden.At(x, y), picture.At(x, y));
            return ::testing::AssertionFailure() << buf << " (see " << actual << FontNote() << ")";
        }
    std::remove(actual.c_str());
    return ::testing::AssertionSuccess();
}

} // namespace zyn::test
