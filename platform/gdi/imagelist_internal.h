#pragma once
// The object behind an HIMAGELIST.
//
// Images sit side by side in one row: image i occupies x = i * cx .. (i + 1) * cx of the
// colour strip (Bgrx32) and of the mask strip (Mono1, ILC_MASK lists only). The strips
// have room for `capacity` images and grow by the list's growth when full (by at most
// their current room, so a large growth value costs memory only as images arrive).
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

// A number no image list had before (see ImageListGeneration).
uint64_t NextImageListGeneration();

struct ImageListObj {
    mutable std::mutex mutex;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    int grow = 4;
    int count = 0;
    int capacity = 0;
    std::shared_ptr<Surface> color;     // capacity * cx x cy
    std::shared_ptr<Surface> mask;      // same size; null without ILC_MASK
    std::vector<uint8_t> alpha;         // per image: carries alpha (ILC_COLOR32 only)
    COLORREF bk = CLR_NONE;
    std::array<int, 15> overlays{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    // The bitmaps ImageList_GetImageInfo hands out, made on first request; they share the
    // strips and are deleted with the list.
    HBITMAP colorBitmap = nullptr;
    HBITMAP maskBitmap = nullptr;
    // Renewed by every change to what the list draws (images, their size, the background
    // colour, the overlays), so a picture made from the list can be kept until then.
    uint64_t generation = NextImageListGeneration();

    ImageListObj() = default;
    ImageListObj(const ImageListObj&) = delete;
    ImageListObj& operator=(const ImageListObj&) = delete;
    ~ImageListObj();

    bool HasMask() const { return (flags & ILC_MASK) != 0; }
    bool KeepsAlpha() const { return (flags & 0xFE) == ILC_COLOR32; }
    // Room for n images (the lock held); false when memory runs out.
    bool Reserve(int n);
    // Points the handed-out bitmaps at the current strips.
    void RefreshBitmaps();
    // Records a change to what the list draws (the lock held).
    void Changed() { generation = NextImageListGeneration(); }
};

// A new empty list object (not registered); null for bad sizes.
std::shared_ptr<ImageListObj> NewImageList(int cx, int cy, UINT flags, int initial, int grow);
HIMAGELIST AddImageList(std::shared_ptr<ImageListObj> list);
// The list of a live handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<ImageListObj> ImageListFromHandle(HIMAGELIST h);

// Stores one image taken at x = sx of a colour plane and x = sx of a mask plane (null:
// opaque) as image `index` (index == count appends); the lock held. Planes must be at
// least cy high. Returns the index, or -1 when memory runs out.
int StoreImage(ImageListObj& list, int index, const Surface& color, int sx, const Surface* mask);

// A new list (with a mask) holding a copy of image i of a list; null on failure.
HIMAGELIST CopyOneImage(HIMAGELIST himl, int i);

} // namespace zyn::gdi
