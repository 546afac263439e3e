#include "platform/gdi/png_export.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"

namespace zyn::gdi {

namespace {

struct FileCloser {
    void operator()(FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};

// libpng reports errors through longjmp; keep everything that owns resources outside
// the function that calls setjmp.
bool WriteRows(FILE* f, int w, int h, const std::vector<png_bytep>& rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool SaveSurfacePng(const Surface& s, const RECT* rect, const std::string& path)
{
    RECT r = s.Bounds();
    if (rect)
        r = RECT{std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, s.Width()),
            std::min(rect->bottom, s.Height())};
    if (r.left >= r.right || r.top >= r.bottom) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<png_byte> pixels(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        png_bytep row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        rows[static_cast<size_t>(y)] = row;
        for (int x = 0; x < w; ++x) {
            const COLORREF c = PixelToColor(s, s.GetRaw(r.left + x, r.top + y));
            row[3 * x] = GetRValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetBValue(c);
        }
    }
    std::unique_ptr<FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (!WriteRows(f.get(), w, h, rows)) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    if (std::fclose(f.release()) != 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

bool SaveDcPng(HDC hdc, const RECT* rect, const std::string& path)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return false;
    if (!dc->surface) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    DrawScope scope(*dc, false);
    RECT r;
    if (rect) {
        r = dc->ToDevice(*rect);
    } else if (dc->sysRegion) {
        r = dc->sysRegion->Box();
    } else {
        r = dc->surface->Bounds();
        r.left -= dc->origin.x;
        r.right -= dc->origin.x;
        r.top -= dc->origin.y;
        r.bottom -= dc->origin.y;
    }
    r.left += dc->origin.x;
    r.right += dc->origin.x;
    r.top += dc->origin.y;
    r.bottom += dc->origin.y;
    return SaveSurfacePng(*dc->surface, &r, path);
}

bool SaveBitmapPng(HBITMAP hbm, const std::string& path)
{
    auto bm = BitmapFromHandle(hbm);
    if (!bm)
        return false;
    bm->SyncIn();
    return SaveSurfacePng(*bm->surface, nullptr, path);
}

} // namespace zyn::gdi
