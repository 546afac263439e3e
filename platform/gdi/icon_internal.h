#pragma once
// The object behind an HICON/HCURSOR and the helpers the icon, loader and image-list code
// share.
#include <memory>

#include "platform/base/wintypes.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

struct IconImage;

struct IconObj {
    bool isIcon = true;                 // false: a cursor
    POINT hotspot{0, 0};
    int width = 0;
    int height = 0;
    std::shared_ptr<Surface> color;     // Bgrx32 width x height; null for a monochrome icon
    std::shared_ptr<Surface> mask;      // Mono1 width x height (width x 2*height when monochrome)
    bool alpha = false;                 // the colour plane's X bytes are per-pixel alpha
    bool shared = false;                // system and LR_SHARED images: never destroyed

    bool Monochrome() const { return !color; }
};

// Registers an icon; null (ERROR_NO_SYSTEM_RESOURCES) when the table is full.
HICON AddIcon(std::shared_ptr<IconObj> icon);
// The icon of a live handle, or null with ERROR_INVALID_CURSOR_HANDLE.
std::shared_ptr<IconObj> IconFromHandle(HICON h);

// An icon object from decoded planes, scaled to cx x cy (0: the image's size);
// `monochrome` forces a 1-bit icon. Null when the size is unusable.
std::shared_ptr<IconObj> IconFromImage(const IconImage& image, bool isIcon, int cx, int cy, bool monochrome);
// A copy of an icon scaled to cx x cy (0: its size), optionally made monochrome.
std::shared_ptr<IconObj> ScaledIcon(const IconObj& icon, int cx, int cy, bool monochrome);
// Nearest-pixel scaling of a plane.
std::shared_ptr<Surface> ScalePlane(const Surface& src, int width, int height);

// The system icon or cursor of an IDI_* / IDC_* number (shared; created on first use),
// or null when the number names none.
HICON SystemIcon(WORD id, bool cursor);
// Whether a number names a system icon (IDI_*) or cursor (IDC_*).
bool IsSystemImageId(WORD id, bool cursor);
// Draws a system image into fresh planes of the given size (not registered).
std::shared_ptr<IconObj> DrawSystemImage(WORD id, bool cursor, int cx, int cy);

} // namespace zyn::gdi
