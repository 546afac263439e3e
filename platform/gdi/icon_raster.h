#pragma once
// Helpers that icons and image lists share: private pixel planes (surfaces held outside
// the GDI table, so they never count as live GDI objects and cannot be deleted under
// us), their conversion to and from HBITMAPs, and blits from a plane into any DC
// through the ordinary raster operations.
//
// Plane conventions:
//   colour plane  Bgrx32; the X byte is the pixel's alpha where the image has one, else 0.
//   mask plane    Mono1 with the black/white table: 1 (white) = transparent, so an SRCAND
//                 blit of the mask keeps the screen there; 0 (black) = opaque.
#include <cstdint>
#include <memory>

#include "platform/base/wintypes.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

// A surface wrapped in a temporary bitmap and selected into a memory DC, for blits from
// or into it. The bitmap shares the surface's pixels; both go when this object does.
class SurfaceDc {
public:
    explicit SurfaceDc(std::shared_ptr<Surface> surface);
    ~SurfaceDc();
    SurfaceDc(const SurfaceDc&) = delete;
    SurfaceDc& operator=(const SurfaceDc&) = delete;

    explicit operator bool() const { return m_dc != nullptr; }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A new zero-filled plane (null when the size is not positive or too large).
std::shared_ptr<Surface> NewColorPlane(int width, int height);
std::shared_ptr<Surface> NewMaskPlane(int width, int height);
// A copy of a rectangle of a plane (the rectangle must lie inside it).
std::shared_ptr<Surface> CopyPlane(const Surface& src, const RECT& part);
std::shared_ptr<Surface> CopyPlane(const Surface& src);
// Copies a w x h block between planes of the same format (clipped to both).
void CopyBlock(const Surface& src, int sx, int sy, Surface& dst, int dx, int dy, int w, int h);

// A bitmap's pixels as a private colour plane (a mono bitmap's table colours; the alpha
// byte of 32-bit DIB sections kept) or as a mask plane (white = 1, any other colour = 0,
// which is how a blit turns a colour bitmap into a mono one against a white background).
// Null with ERROR_INVALID_HANDLE when hbm is not a live bitmap.
std::shared_ptr<Surface> ColorPlaneFromBitmap(HBITMAP hbm);
std::shared_ptr<Surface> MaskPlaneFromBitmap(HBITMAP hbm);
// Width and height of a live bitmap; false (ERROR_INVALID_HANDLE) otherwise.
bool BitmapSize(HBITMAP hbm, int& width, int& height);
// A new device bitmap holding a copy of a plane: 32 bits for colour planes (alpha bytes
// kept), 1 bit for mask planes.
HBITMAP BitmapFromPlane(const Surface& plane);

// True when any pixel of a colour plane has a non-zero alpha byte.
bool PlaneHasAlpha(const Surface& plane);
// A copy of a colour plane with every alpha byte cleared (what the mask path blits, so
// the destination's X bytes stay 0).
std::shared_ptr<Surface> OpaqueCopy(const Surface& plane);
// A copy with premultiplied colours, for AlphaBlend's per-pixel alpha.
std::shared_ptr<Surface> PremultipliedCopy(const Surface& plane);

// Blits (stretching when the sizes differ, nearest pixel) a rectangle of a plane into a
// DC with a raster operation. A mask plane's 0 and 1 arrive as black and white whatever
// the destination's text and background colours are.
bool BlitPlane(HDC dst, int x, int y, int w, int h, const std::shared_ptr<Surface>& src, int sx, int sy, int sw,
    int sh, DWORD rop);
bool BlitPlane(HDC dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh, DWORD rop);
// AlphaBlend of a premultiplied colour plane (per-pixel alpha, constant alpha 255).
bool AlphaBlitPlane(HDC dst, int x, int y, int w, int h, const std::shared_ptr<Surface>& premultiplied, int sx,
    int sy, int sw, int sh);
// Whether a DC draws into a 1-bit surface.
bool IsMonoDc(HDC hdc);

} // namespace zyn::gdi
