// Drag images: one image (and an optional cursor image merged into it) drawn on the
// screen over whatever is there; the covered pixels are saved first and put back when
// the image moves or hides.
#include <algorithm>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/imagelist_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

struct DragState {
    std::recursive_mutex mutex;
    bool active = false;
    HIMAGELIST base = nullptr;      // the dragged image alone
    HIMAGELIST image = nullptr;     // what is drawn: base, or base merged with a cursor image
    POINT hotspot{0, 0};            // of `image`
    POINT baseHotspot{0, 0};        // of `base`
    HWND lockWnd = nullptr;
    POINT origin{0, 0};             // screen position of the lock window's corner
    bool entered = false;
    bool shown = false;
    POINT pos{0, 0};                // relative to the lock window
    std::shared_ptr<Surface> saved; // screen pixels under the drawn image
    POINT savedAt{0, 0};            // screen position of `saved`
    WindowOriginHook originHook;
};

DragState& Drag()
{
    static auto* const state = new DragState();
    return *state;
}

bool ImageSize(HIMAGELIST h, int& cx, int& cy) { return ImageList_GetIconSize(h, &cx, &cy) != FALSE; }

// Puts the saved screen pixels back.
void Hide(DragState& d)
{
    if (!d.shown)
        return;
    d.shown = false;
    if (!d.saved)
        return;
    HDC screen = GetDC(nullptr);
    if (screen) {
        BlitPlane(screen, d.savedAt.x, d.savedAt.y, d.saved->Width(), d.saved->Height(), d.saved, 0, 0,
            d.saved->Width(), d.saved->Height(), SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    d.saved.reset();
}

// Saves what lies under the image at the current position and draws it.
bool Show(DragState& d)
{
    if (d.shown)
        return true;
    int cx = 0, cy = 0;
    if (!ImageSize(d.image, cx, cy))
        return false;
    const POINT at{d.origin.x + d.pos.x - d.hotspot.x, d.origin.y + d.pos.y - d.hotspot.y};
    auto saved = NewColorPlane(cx, cy);
    if (!saved) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    bool ok;
    {
        SurfaceDc into(saved);
        ok = into && BitBlt(into.Dc(), 0, 0, cx, cy, screen, at.x, at.y, SRCCOPY);
    }
    ok = ok && ImageList_Draw(d.image, 0, screen, at.x, at.y, ILD_TRANSPARENT);
    ReleaseDC(nullptr, screen);
    if (!ok)
        return false;
    d.saved = std::move(saved);
    d.savedAt = at;
    d.shown = true;
    return true;
}

void DropImages(DragState& d)
{
    if (d.image && d.image != d.base)
        ImageList_Destroy(d.image);
    if (d.base)
        ImageList_Destroy(d.base);
    d.image = d.base = nullptr;
}

} // namespace

void SetDragWindowOriginHook(WindowOriginHook hook)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    d.originHook = std::move(hook);
}

} // namespace zyn::gdi

using namespace zyn::gdi;

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot)
{
    auto list = ImageListFromHandle(himlTrack);
    if (!list)
        return FALSE;
    if (iTrack < 0 || iTrack >= ImageList_GetImageCount(himlTrack)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (d.active) {
        Hide(d);
        DropImages(d);
    }
    HIMAGELIST base = CopyOneImage(himlTrack, iTrack);
    if (!base)
        return FALSE;
    d.active = true;
    d.base = d.image = base;
    d.baseHotspot = d.hotspot = POINT{dxHotspot, dyHotspot};
    d.entered = d.shown = false;
    d.lockWnd = nullptr;
    d.pos = POINT{0, 0};
    return TRUE;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Hide(d);
    d.lockWnd = hwndLock;
    d.origin = POINT{0, 0};
    if (hwndLock && d.originHook && !d.originHook(hwndLock, d.origin)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    d.pos = POINT{x, y};
    d.entered = true;
    return Show(d) ? TRUE : FALSE;
}

BOOL ImageList_DragMove(int x, int y)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool wasShown = d.shown;
    Hide(d);
    d.pos = POINT{x, y};
    return (wasShown ? Show(d) : true) ? TRUE : FALSE;
}

BOOL ImageList_DragLeave(HWND)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Hide(d);
    d.entered = false;
    d.lockWnd = nullptr;
    return TRUE;
}

void ImageList_EndDrag()
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active)
        return;
    Hide(d);
    DropImages(d);
    d.active = false;
    d.entered = false;
}

BOOL ImageList_DragShowNolock(BOOL fShow)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active || !d.entered) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (fShow)
        return Show(d) ? TRUE : FALSE;
    Hide(d);
    return TRUE;
}

BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active || !ImageListFromHandle(himlDrag)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The cursor image's hotspot goes on the drag image's hotspot.
    const int dx = d.baseHotspot.x - dxHotspot;
    const int dy = d.baseHotspot.y - dyHotspot;
    HIMAGELIST merged = ImageList_Merge(d.base, 0, himlDrag, iDrag, dx, dy);
    if (!merged)
        return FALSE;
    const bool wasShown = d.shown;
    Hide(d);
    if (d.image && d.image != d.base)
        ImageList_Destroy(d.image);
    d.image = merged;
    d.hotspot = POINT{d.baseHotspot.x - std::min(0, dx), d.baseHotspot.y - std::min(0, dy)};
    return (wasShown ? Show(d) : true) ? TRUE : FALSE;
}

HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot)
{
    DragState& d = Drag();
    std::lock_guard lock(d.mutex);
    if (!d.active) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (ppt)
        *ppt = d.pos;
    if (pptHotspot)
        *pptHotspot = d.hotspot;
    return d.image;
}
