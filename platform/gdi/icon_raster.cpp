// Pixel planes of icons and image lists, and their blits (see icon_raster.h).
#include "platform/gdi/icon_raster.h"

#include <algorithm>
#include <cstring>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

SurfaceDc::SurfaceDc(std::shared_ptr<Surface> surface)
{
    if (!surface)
        return;
    auto bmp = std::make_shared<BitmapObj>();
    bmp->surface = std::move(surface);
    m_bitmap = static_cast<HBITMAP>(AddObject(bmp));
    if (!m_bitmap)
        return;
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc) {
        DeleteObject(m_bitmap);
        m_bitmap = nullptr;
        return;
    }
    m_old = SelectObject(m_dc, m_bitmap);
    if (!m_old) {
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        m_dc = nullptr;
        m_bitmap = nullptr;
    }
}

SurfaceDc::~SurfaceDc()
{
    if (m_dc) {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

std::shared_ptr<Surface> NewColorPlane(int width, int height)
{
    return Surface::Create(width, height, PixelFormat::Bgrx32);
}

std::shared_ptr<Surface> NewMaskPlane(int width, int height)
{
    auto s = Surface::Create(width, height, PixelFormat::Mono1);
    if (s)
        s->SetPalette(0x000000, 0xFFFFFF);
    return s;
}

void CopyBlock(const Surface& src, int sx, int sy, Surface& dst, int dx, int dy, int w, int h)
{
    // Clip to both surfaces.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.Width() - sx, dst.Width() - dx});
    h = std::min({h, src.Height() - sy, dst.Height() - dy});
    if (w <= 0 || h <= 0)
        return;
    if (src.Format() != dst.Format())
        return;
    const bool sameSurface = &src == &dst;
    if (!src.IsMono()) {
        for (int r = 0; r < h; ++r) {
            // Rows may overlap when a surface copies within itself: walk in the safe direction.
            const int row = (sameSurface && dy > sy) ? h - 1 - r : r;
            std::memmove(dst.Row32(dy + row) + dx, src.Row32(sy + row) + sx, static_cast<size_t>(w) * 4);
        }
        return;
    }
    const bool backwards = sameSurface && (dy > sy || (dy == sy && dx > sx));
    for (int r = 0; r < h; ++r) {
        const int row = backwards ? h - 1 - r : r;
        for (int c = 0; c < w; ++c) {
            const int col = backwards ? w - 1 - c : c;
            dst.SetRaw(dx + col, dy + row, src.GetRaw(sx + col, sy + row));
        }
    }
}

std::shared_ptr<Surface> CopyPlane(const Surface& src, const RECT& part)
{
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    auto dst = Surface::Create(w, h, src.Format());
    if (!dst)
        return nullptr;
    dst->SetPalette(src.PaletteColor(0), src.PaletteColor(1));
    CopyBlock(src, part.left, part.top, *dst, 0, 0, w, h);
    return dst;
}

std::shared_ptr<Surface> CopyPlane(const Surface& src) { return CopyPlane(src, src.Bounds()); }

namespace {

// The bitmap's surface with any buffered DIB memory brought in.
std::shared_ptr<Surface> LiveSurface(HBITMAP hbm)
{
    auto bmp = BitmapFromHandle(hbm);
    if (!bmp || !bmp->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (bmp->isDib && bmp->buffered)
        bmp->SyncIn();
    return bmp->surface;
}

} // namespace

bool BitmapSize(HBITMAP hbm, int& width, int& height)
{
    auto bmp = BitmapFromHandle(hbm);
    if (!bmp || !bmp->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    width = bmp->surface->Width();
    height = bmp->surface->Height();
    return true;
}

std::shared_ptr<Surface> ColorPlaneFromBitmap(HBITMAP hbm)
{
    auto src = LiveSurface(hbm);
    if (!src)
        return nullptr;
    auto dst = NewColorPlane(src->Width(), src->Height());
    if (!dst)
        return nullptr;
    if (!src->IsMono()) {
        CopyBlock(*src, 0, 0, *dst, 0, 0, src->Width(), src->Height());
        return dst;
    }
    const uint32_t c0 = ColorToBgrx(src->PaletteColor(0));
    const uint32_t c1 = ColorToBgrx(src->PaletteColor(1));
    for (int y = 0; y < src->Height(); ++y)
        for (int x = 0; x < src->Width(); ++x)
            dst->Row32(y)[x] = src->GetRaw(x, y) ? c1 : c0;
    return dst;
}

std::shared_ptr<Surface> MaskPlaneFromBitmap(HBITMAP hbm)
{
    auto src = LiveSurface(hbm);
    if (!src)
        return nullptr;
    auto dst = NewMaskPlane(src->Width(), src->Height());
    if (!dst)
        return nullptr;
    for (int y = 0; y < src->Height(); ++y)
        for (int x = 0; x < src->Width(); ++x)
            dst->SetRaw(x, y, PixelToColor(*src, src->GetRaw(x, y)) == 0xFFFFFFu ? 1u : 0u);
    return dst;
}

HBITMAP BitmapFromPlane(const Surface& plane)
{
    HBITMAP hbm = CreateBitmap(plane.Width(), plane.Height(), 1, plane.IsMono() ? 1 : 32, nullptr);
    if (!hbm)
        return nullptr;
    auto bmp = BitmapFromHandle(hbm);
    if (!bmp || !bmp->surface || bmp->surface->Format() != plane.Format()) {
        DeleteObject(hbm);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    CopyBlock(plane, 0, 0, *bmp->surface, 0, 0, plane.Width(), plane.Height());
    return hbm;
}

bool PlaneHasAlpha(const Surface& plane)
{
    if (plane.IsMono())
        return false;
    for (int y = 0; y < plane.Height(); ++y) {
        const uint32_t* row = plane.Row32(y);
        for (int x = 0; x < plane.Width(); ++x)
            if (row[x] >> 24)
                return true;
    }
    return false;
}

std::shared_ptr<Surface> OpaqueCopy(const Surface& plane)
{
    auto dst = CopyPlane(plane);
    if (!dst || dst->IsMono())
        return dst;
    for (int y = 0; y < dst->Height(); ++y) {
        uint32_t* row = dst->Row32(y);
        for (int x = 0; x < dst->Width(); ++x)
            row[x] &= 0x00FFFFFFu;
    }
    return dst;
}

std::shared_ptr<Surface> PremultipliedCopy(const Surface& plane)
{
    auto dst = CopyPlane(plane);
    if (!dst || dst->IsMono())
        return dst;
    for (int y = 0; y < dst->Height(); ++y) {
        uint32_t* row = dst->Row32(y);
        for (int x = 0; x < dst->Width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
        }
    }
    return dst;
}

bool IsMonoDc(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    return dc && dc->IsMono();
}

bool BlitPlane(HDC dst, int x, int y, int w, int h, const std::shared_ptr<Surface>& src, int sx, int sy, int sw,
    int sh, DWORD rop)
{
    return src && BlitPlane(dst, x, y, w, h, *src, sx, sy, sw, sh, rop);
}

bool BlitPlane(HDC dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh, DWORD rop)
{
    if (!DcFromHandle(dst))
        return false;
    // Straight from the plane: a memory DC and a bitmap object per blit cost more than
    // an icon's worth of pixels.
    const COLORREF oldText = SetTextColor(dst, 0x000000);
    const COLORREF oldBk = SetBkColor(dst, 0xFFFFFF);
    bool ok;
    if (w == sw && h == sh) {
        ok = BlitSurface(dst, x, y, w, h, src, sx, sy, sw, sh, rop);
    } else {
        const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
        ok = BlitSurface(dst, x, y, w, h, src, sx, sy, sw, sh, rop);
        SetStretchBltMode(dst, oldMode);
    }
    SetTextColor(dst, oldText);
    SetBkColor(dst, oldBk);
    return ok;
}

bool AlphaBlitPlane(HDC dst, int x, int y, int w, int h, const std::shared_ptr<Surface>& premultiplied, int sx,
    int sy, int sw, int sh)
{
    SurfaceDc from(premultiplied);
    if (!from)
        return false;
    const BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(dst, x, y, w, h, from.Dc(), sx, sy, sw, sh, bf) != FALSE;
}

} // namespace zyn::gdi
