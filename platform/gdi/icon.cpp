// Icon and cursor objects: the handle table, creation from bitmaps and bits, copies,
// information, destruction and drawing.
#include "platform/gdi/icon.h"

#include <algorithm>
#include <cstring>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/icon_internal.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/imagefile.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

base::HandleTable<IconObj>& Table()
{
    // Immortal: icons may be destroyed by other static destructors at exit.
    static auto* const table = new base::HandleTable<IconObj>(base::HandleKind::Icon);
    return *table;
}

uint32_t PixelOf(const DibImage& img, size_t i) { return img.pixels[i]; }

} // namespace

HICON AddIcon(std::shared_ptr<IconObj> icon)
{
    const uint32_t v = Table().Add(std::move(icon));
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    return base::MakeHandle<HICON>(v);
}

std::shared_ptr<IconObj> IconFromHandle(HICON h)
{
    auto icon = Table().Get(h);
    if (!icon)
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return icon;
}

size_t LiveIconCount()
{
    size_t n = 0;
    for (const auto& entry : Table().Snapshot())
        if (!entry.second->shared)
            ++n;
    return n;
}

std::shared_ptr<Surface> ScalePlane(const Surface& src, int width, int height)
{
    if (width == src.Width() && height == src.Height())
        return CopyPlane(src);
    auto dst = Surface::Create(width, height, src.Format());
    if (!dst)
        return nullptr;
    dst->SetPalette(src.PaletteColor(0), src.PaletteColor(1));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * src.Height() / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * src.Width() / width);
            dst->SetRaw(x, y, src.GetRaw(sx, sy));
        }
    }
    return dst;
}

namespace {

// A monochrome icon's double-height mask from an AND mask and a colour plane (each colour
// to the nearer of black and white).
std::shared_ptr<Surface> MonochromeMask(const Surface& mask, const Surface* color, int w, int h)
{
    auto m = NewMaskPlane(w, 2 * h);
    if (!m)
        return nullptr;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            m->SetRaw(x, y, mask.GetRaw(x, y));
            uint32_t bit = 0;
            if (color)
                bit = NearestMonoIndex(BgrxToColor(color->GetRaw(x, y) & 0xFFFFFFu), 0x000000, 0xFFFFFF);
            else
                bit = mask.GetRaw(x, y + h);
            m->SetRaw(x, y + h, bit);
        }
    return m;
}

} // namespace

std::shared_ptr<IconObj> IconFromImage(const IconImage& image, bool isIcon, int cx, int cy, bool monochrome)
{
    const int w = image.color.width;
    const int h = image.color.height;
    auto color = NewColorPlane(w, h);
    auto mask = NewMaskPlane(w, h);
    if (!color || !mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            color->Row32(y)[x] = PixelOf(image.color, i);
            mask->SetRaw(x, y, image.mask[i] ? 1u : 0u);
        }
    auto icon = std::make_shared<IconObj>();
    icon->isIcon = isIcon;
    icon->width = w;
    icon->height = h;
    icon->hotspot = isIcon ? POINT{w / 2, h / 2} : image.hotspot;
    if (image.monochrome || monochrome) {
        icon->mask = MonochromeMask(*mask, color.get(), w, h);
        if (!icon->mask)
            return nullptr;
    } else {
        icon->color = std::move(color);
        icon->mask = std::move(mask);
        icon->alpha = image.color.hasAlpha;
    }
    if ((cx && cx != w) || (cy && cy != h))
        return ScaledIcon(*icon, cx ? cx : w, cy ? cy : h, false);
    return icon;
}

std::shared_ptr<IconObj> ScaledIcon(const IconObj& icon, int cx, int cy, bool monochrome)
{
    const int w = cx > 0 ? cx : icon.width;
    const int h = cy > 0 ? cy : icon.height;
    auto out = std::make_shared<IconObj>();
    out->isIcon = icon.isIcon;
    out->width = w;
    out->height = h;
    out->hotspot = POINT{static_cast<LONG>(static_cast<int64_t>(icon.hotspot.x) * w / icon.width),
        static_cast<LONG>(static_cast<int64_t>(icon.hotspot.y) * h / icon.height)};
    if (icon.Monochrome()) {
        out->mask = ScalePlane(*icon.mask, w, 2 * h);
    } else {
        auto color = ScalePlane(*icon.color, w, h);
        auto mask = ScalePlane(*icon.mask, w, h);
        if (!color || !mask)
            return nullptr;
        if (monochrome) {
            out->mask = MonochromeMask(*mask, color.get(), w, h);
        } else {
            out->color = std::move(color);
            out->mask = std::move(mask);
            out->alpha = icon.alpha;
        }
    }
    if (!out->mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return out;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

HICON CreateIconIndirect(PICONINFO piconinfo)
{
    if (!piconinfo || !piconinfo->hbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto mask = MaskPlaneFromBitmap(piconinfo->hbmMask);
    if (!mask)
        return nullptr;
    auto icon = std::make_shared<IconObj>();
    icon->isIcon = piconinfo->fIcon != FALSE;
    if (piconinfo->hbmColor) {
        auto color = ColorPlaneFromBitmap(piconinfo->hbmColor);
        if (!color)
            return nullptr;
        icon->width = color->Width();
        icon->height = color->Height();
        if (mask->Width() < icon->width || mask->Height() < icon->height) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        if (mask->Width() != icon->width || mask->Height() != icon->height)
            mask = CopyPlane(*mask, RECT{0, 0, icon->width, icon->height});
        icon->alpha = PlaneHasAlpha(*color);
        icon->color = std::move(color);
    } else {
        if (mask->Height() < 2 || (mask->Height() & 1)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        icon->width = mask->Width();
        icon->height = mask->Height() / 2;
    }
    icon->mask = std::move(mask);
    if (!icon->mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (icon->isIcon)
        icon->hotspot = POINT{icon->width / 2, icon->height / 2};
    else
        icon->hotspot = POINT{static_cast<LONG>(piconinfo->xHotspot), static_cast<LONG>(piconinfo->yHotspot)};
    return AddIcon(std::move(icon));
}

BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo)
{
    auto icon = IconFromHandle(hIcon);
    if (!icon)
        return FALSE;
    if (!piconinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HBITMAP mask = BitmapFromPlane(*icon->mask);
    if (!mask)
        return FALSE;
    HBITMAP color = nullptr;
    if (icon->color) {
        color = BitmapFromPlane(*icon->color);
        if (!color) {
            DeleteObject(mask);
            return FALSE;
        }
    }
    piconinfo->fIcon = icon->isIcon ? TRUE : FALSE;
    piconinfo->xHotspot = static_cast<DWORD>(icon->hotspot.x);
    piconinfo->yHotspot = static_cast<DWORD>(icon->hotspot.y);
    piconinfo->hbmMask = mask;
    piconinfo->hbmColor = color;
    return TRUE;
}

HICON CopyIcon(HICON hIcon)
{
    auto icon = IconFromHandle(hIcon);
    if (!icon)
        return nullptr;
    // Planes never change once made, so the copy can share them; it is a separate object
    // with its own handle and lifetime.
    auto copy = std::make_shared<IconObj>(*icon);
    copy->shared = false;
    return AddIcon(std::move(copy));
}

BOOL DestroyIcon(HICON hIcon)
{
    auto icon = IconFromHandle(hIcon);
    if (!icon)
        return FALSE;
    if (!icon->shared)
        Table().Remove(hIcon);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR hCursor) { return DestroyIcon(hCursor); }

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

namespace {

bool DrawPlanes(HDC dc, int x, int y, int w, int h, const IconObj& icon, UINT flags)
{
    const int iw = icon.width;
    const int ih = icon.height;
    if ((flags & DI_NORMAL) == DI_NORMAL && icon.alpha && !IsMonoDc(dc)) {
        auto premultiplied = PremultipliedCopy(*icon.color);
        return premultiplied && AlphaBlitPlane(dc, x, y, w, h, premultiplied, 0, 0, iw, ih);
    }
    if (flags & DI_MASK) {
        if (!BlitPlane(dc, x, y, w, h, icon.mask, 0, 0, iw, ih, (flags & DI_IMAGE) ? SRCAND : SRCCOPY))
            return false;
    }
    if (flags & DI_IMAGE) {
        const DWORD rop = (flags & DI_MASK) ? SRCINVERT : SRCCOPY;
        if (icon.Monochrome())
            return BlitPlane(dc, x, y, w, h, icon.mask, 0, ih, iw, ih, rop);
        auto color = icon.alpha ? OpaqueCopy(*icon.color) : icon.color;
        return color && BlitPlane(dc, x, y, w, h, color, 0, 0, iw, ih, rop);
    }
    return true;
}

} // namespace

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
    HBRUSH hbrFlickerFreeDraw, UINT diFlags)
{
    auto icon = IconFromHandle(hIcon);
    if (!icon)
        return FALSE;
    if (!DcFromHandle(hdc))
        return FALSE;
    if (!(diFlags & DI_NORMAL) || cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool systemSize = (diFlags & DI_DEFAULTSIZE) != 0;
    const int w = cxWidth ? cxWidth
                          : systemSize ? GetSystemMetrics(icon->isIcon ? SM_CXICON : SM_CXCURSOR) : icon->width;
    const int h = cyWidth ? cyWidth
                          : systemSize ? GetSystemMetrics(icon->isIcon ? SM_CYICON : SM_CYCURSOR) : icon->height;
    if (w <= 0 || h <= 0)
        return TRUE;
    if (!hbrFlickerFreeDraw)
        return DrawPlanes(hdc, xLeft, yTop, w, h, *icon, diFlags) ? TRUE : FALSE;

    // Flicker-free: compose on an off-screen bitmap filled with the brush, then copy it.
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem)
        return FALSE;
    HBITMAP bmp = CreateCompatibleBitmap(hdc, w, h);
    if (!bmp) {
        DeleteDC(mem);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(mem, bmp);
    const RECT all{0, 0, w, h};
    bool ok = FillRect(mem, &all, hbrFlickerFreeDraw) != 0;
    ok = ok && DrawPlanes(mem, 0, 0, w, h, *icon, diFlags);
    ok = ok && BitBlt(hdc, xLeft, yTop, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    return ok ? TRUE : FALSE;
}

namespace {

// Rows of CreateBitmap-format bits are padded to 16 bits.
size_t WordStride(int width, int bpp) { return ((static_cast<size_t>(width) * bpp + 15) / 16) * 2; }

HICON IconFromBits(bool isIcon, POINT hotspot, int w, int h, int bpp, const BYTE* andBits, const BYTE* xorBits)
{
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide || !andBits || !xorBits ||
        (bpp != 1 && bpp != 24 && bpp != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    IconImage img;
    img.color.width = w;
    img.color.height = h;
    img.color.bitCount = bpp;
    img.color.topDown = true;
    img.color.pixels.resize(static_cast<size_t>(w) * h);
    img.mask.resize(static_cast<size_t>(w) * h);
    const size_t andStride = WordStride(w, 1);
    const size_t xorStride = WordStride(w, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            img.mask[i] = (andBits[y * andStride + (x >> 3)] >> (7 - (x & 7))) & 1;
            const BYTE* row = xorBits + y * xorStride;
            uint32_t px;
            if (bpp == 1)
                px = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFFu : 0;
            else if (bpp == 24)
                px = (static_cast<uint32_t>(row[3 * x + 2]) << 16) | (row[3 * x + 1] << 8) | row[3 * x];
            else
                px = static_cast<uint32_t>(row[4 * x]) | (row[4 * x + 1] << 8) |
                    (static_cast<uint32_t>(row[4 * x + 2]) << 16) | (static_cast<uint32_t>(row[4 * x + 3]) << 24);
            img.color.pixels[i] = px;
            img.color.hasAlpha = img.color.hasAlpha || (px >> 24) != 0;
        }
    img.monochrome = bpp == 1;
    img.hotspot = hotspot;
    auto icon = IconFromImage(img, isIcon, 0, 0, false);
    return icon ? AddIcon(std::move(icon)) : nullptr;
}

} // namespace

HICON CreateIcon(HINSTANCE, int nWidth, int nHeight, BYTE cPlanes, BYTE cBitsPixel, const BYTE* lpbANDbits,
    const BYTE* lpbXORbits)
{
    return IconFromBits(true, POINT{0, 0}, nWidth, nHeight, cPlanes * cBitsPixel, lpbANDbits, lpbXORbits);
}

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
    const void* pvXORPlane)
{
    return IconFromBits(false, POINT{xHotSpot, yHotSpot}, nWidth, nHeight, 1, static_cast<const BYTE*>(pvANDPlane),
        static_cast<const BYTE*>(pvXORPlane));
}
