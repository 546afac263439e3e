// Image lists: the object table, adding, replacing and removing images, icons from
// images, copies and merges, and drawing (see imagelist.h for the pixel rules).
#include "platform/gdi/imagelist.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstddef>
#include <cstring>
#include <optional>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/icon_internal.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/imagelist_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxImages = 65535;

base::HandleTable<ImageListObj>& Table()
{
    static auto* const table = new base::HandleTable<ImageListObj>(base::HandleKind::ImageList);
    return *table;
}

void ClearAlphaBlock(Surface& s, int x, int w)
{
    for (int y = 0; y < s.Height(); ++y) {
        uint32_t* row = s.Row32(y) + x;
        for (int i = 0; i < w; ++i)
            row[i] &= 0x00FFFFFFu;
    }
}

bool BlockHasAlpha(const Surface& s, int x, int w, int h)
{
    for (int y = 0; y < h && y < s.Height(); ++y) {
        const uint32_t* row = s.Row32(y) + x;
        for (int i = 0; i < w; ++i)
            if (row[i] >> 24)
                return true;
    }
    return false;
}

} // namespace

ImageListObj::~ImageListObj()
{
    if (colorBitmap)
        DeleteObject(colorBitmap);
    if (maskBitmap)
        DeleteObject(maskBitmap);
}

bool ImageListObj::Reserve(int n)
{
    if (n <= capacity)
        return true;
    // Grow by the list's growth, and by at least half the room already there so that
    // adding many images one by one stays linear; but by no more than the room already
    // there (at least 16), so a huge growth value cannot make a small list allocate a
    // huge strip.
    const int step = std::clamp(std::max(grow, capacity / 2), 4, std::max(capacity, 16));
    int newCap = std::max(n, capacity + step);
    newCap = std::min(newCap, kMaxImages);
    if (n > newCap || static_cast<int64_t>(newCap) * cx > INT_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    auto c = NewColorPlane(newCap * cx, cy);
    std::shared_ptr<Surface> m;
    if (HasMask())
        m = NewMaskPlane(newCap * cx, cy);
    if (!c || (HasMask() && !m)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (color)
        CopyBlock(*color, 0, 0, *c, 0, 0, count * cx, cy);
    if (mask && m)
        CopyBlock(*mask, 0, 0, *m, 0, 0, count * cx, cy);
    color = std::move(c);
    mask = std::move(m);
    capacity = newCap;
    alpha.resize(static_cast<size_t>(capacity), 0);
    RefreshBitmaps();
    return true;
}

void ImageListObj::RefreshBitmaps()
{
    if (colorBitmap)
        if (auto b = BitmapFromHandle(colorBitmap))
            b->surface = color;
    if (maskBitmap)
        if (auto b = BitmapFromHandle(maskBitmap))
            b->surface = mask;
}

std::shared_ptr<ImageListObj> NewImageList(int cx, int cy, UINT flags, int initial, int grow)
{
    if (cx <= 0 || cy <= 0 || cx > kMaxSide || cy > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_shared<ImageListObj>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    list->grow = std::clamp(grow, 0, kMaxImages);
    // The initial room is a hint; a silly number must not cost memory.
    if (!list->Reserve(std::clamp(initial, 1, 256)) && !list->Reserve(1))
        return nullptr;
    return list;
}

HIMAGELIST AddImageList(std::shared_ptr<ImageListObj> list)
{
    const uint32_t v = Table().Add(std::move(list));
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    return base::MakeHandle<HIMAGELIST>(v);
}

std::shared_ptr<ImageListObj> ImageListFromHandle(HIMAGELIST h)
{
    auto list = Table().Get(h);
    if (!list)
        SetLastError(ERROR_INVALID_HANDLE);
    return list;
}

size_t LiveImageListCount() { return Table().Count(); }

uint64_t NextImageListGeneration()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

uint64_t ImageListGeneration(HIMAGELIST himl)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return 0;
    std::lock_guard lock(list->mutex);
    return list->colorBitmap || list->maskBitmap ? 0 : list->generation;
}

int StoreImage(ImageListObj& list, int index, const Surface& color, int sx, const Surface* mask)
{
    if (index < 0 || index > list.count)
        return -1;
    if (index == list.count && !list.Reserve(list.count + 1))
        return -1;
    const int dx = index * list.cx;
    // Clear the slot first: a source narrower or lower than the image leaves black.
    for (int y = 0; y < list.cy; ++y)
        std::memset(list.color->Row32(y) + dx, 0, static_cast<size_t>(list.cx) * 4);
    CopyBlock(color, sx, 0, *list.color, dx, 0, list.cx, list.cy);
    if (list.mask) {
        for (int y = 0; y < list.cy; ++y)
            for (int x = 0; x < list.cx; ++x)
                list.mask->SetRaw(dx + x, y, 0);
        if (mask)
            CopyBlock(*mask, sx, 0, *list.mask, dx, 0, list.cx, list.cy);
    }
    bool hasAlpha = false;
    if (list.KeepsAlpha())
        hasAlpha = BlockHasAlpha(*list.color, dx, list.cx, list.cy);
    else
        ClearAlphaBlock(*list.color, dx, list.cx);
    list.alpha[static_cast<size_t>(index)] = hasAlpha ? 1 : 0;
    if (index == list.count)
        ++list.count;
    list.Changed();
    return index;
}

namespace {

// Images cut from a bitmap strip: `n` images of the list's size side by side.
struct Strip {
    std::shared_ptr<Surface> color;
    std::shared_ptr<Surface> mask;   // null: opaque
    int n = 0;
};

std::optional<Strip> ReadStrip(int cx, int cy, bool wantMask, HBITMAP image, HBITMAP maskBitmap,
    std::optional<COLORREF> maskColor, bool firstOnly)
{
    auto all = ColorPlaneFromBitmap(image);
    if (!all)
        return std::nullopt;
    Strip s;
    s.n = all->Width() / cx;
    if (s.n <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    if (firstOnly)
        s.n = 1;
    s.color = NewColorPlane(s.n * cx, cy);
    if (!s.color) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return std::nullopt;
    }
    CopyBlock(*all, 0, 0, *s.color, 0, 0, s.n * cx, cy);
    if (!wantMask)
        return s;
    s.mask = NewMaskPlane(s.n * cx, cy);
    if (!s.mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return std::nullopt;
    }
    if (maskColor) {
        const uint32_t key = ColorToBgrx(*maskColor);
        for (int y = 0; y < s.color->Height(); ++y) {
            uint32_t* row = s.color->Row32(y);
            for (int x = 0; x < s.color->Width(); ++x)
                if ((row[x] & 0xFFFFFFu) == key) {
                    row[x] = 0; // stored black, so the image draws transparently there
                    s.mask->SetRaw(x, y, 1);
                }
        }
    } else if (maskBitmap) {
        auto m = MaskPlaneFromBitmap(maskBitmap);
        if (!m)
            return std::nullopt;
        CopyBlock(*m, 0, 0, *s.mask, 0, 0, s.n * cx, cy);
    } else if (PlaneHasAlpha(*s.color)) {
        for (int y = 0; y < s.color->Height(); ++y)
            for (int x = 0; x < s.color->Width(); ++x)
                s.mask->SetRaw(x, y, (s.color->Row32(y)[x] >> 24) == 0 ? 1u : 0u);
    }
    return s;
}

int AddStrip(HIMAGELIST himl, HBITMAP image, HBITMAP mask, std::optional<COLORREF> maskColor)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return -1;
    int cx, cy;
    bool wantMask;
    {
        std::lock_guard lock(list->mutex);
        cx = list->cx;
        cy = list->cy;
        wantMask = list->HasMask();
    }
    if (maskColor && *maskColor == CLR_DEFAULT) {
        auto plane = ColorPlaneFromBitmap(image);
        if (!plane)
            return -1;
        maskColor = BgrxToColor(plane->Row32(0)[0] & 0xFFFFFFu);
    }
    auto strip = ReadStrip(cx, cy, wantMask, image, mask, maskColor, false);
    if (!strip)
        return -1;
    std::lock_guard lock(list->mutex);
    if (list->cx != cx || list->cy != cy) {
        SetLastError(ERROR_INVALID_PARAMETER); // resized meanwhile
        return -1;
    }
    if (!list->Reserve(list->count + strip->n))
        return -1;
    const int first = list->count;
    for (int k = 0; k < strip->n; ++k)
        StoreImage(*list, list->count, *strip->color, k * cx, strip->mask.get());
    return first;
}

// An icon as planes of the list's size: colour (a monochrome icon's XOR half in black and
// white) and mask.
bool IconPlanes(HICON hicon, int cx, int cy, std::shared_ptr<Surface>& color, std::shared_ptr<Surface>& mask,
    bool& alpha)
{
    auto icon = IconFromHandle(hicon);
    if (!icon)
        return false;
    auto scaled = ScaledIcon(*icon, cx, cy, false);
    if (!scaled)
        return false;
    if (scaled->Monochrome()) {
        color = NewColorPlane(cx, cy);
        mask = CopyPlane(*scaled->mask, RECT{0, 0, cx, cy});
        if (!color || !mask)
            return false;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                color->Row32(y)[x] = scaled->mask->GetRaw(x, y + cy) ? 0xFFFFFFu : 0;
        alpha = false;
    } else {
        color = scaled->color;
        mask = scaled->mask;
        alpha = scaled->alpha;
    }
    return true;
}

// Raw pixel helpers for composition.
uint32_t BlendChannel(uint32_t c, uint32_t f, int percent)
{
    return percent == 50 ? (c + f) / 2 : (3 * c + f) / 4;
}
uint32_t BlendPixel(uint32_t c, uint32_t f, int percent)
{
    const uint32_t r = BlendChannel((c >> 16) & 0xFF, (f >> 16) & 0xFF, percent);
    const uint32_t g = BlendChannel((c >> 8) & 0xFF, (f >> 8) & 0xFF, percent);
    const uint32_t b = BlendChannel(c & 0xFF, f & 0xFF, percent);
    return (c & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

struct Part {
    std::shared_ptr<Surface> color;
    std::shared_ptr<Surface> mask;   // null: opaque
    bool alpha = false;
    int w = 0;
    int h = 0;
    int x0 = 0;                      // where the part starts in both planes
    int y0 = 0;
};

// A copy of part of image i (the lock held).
bool ExtractPart(const ImageListObj& l, int i, int xb, int yb, int w, int h, Part& out)
{
    if (i < 0 || i >= l.count || w <= 0 || h <= 0)
        return false;
    const RECT r{i * l.cx + xb, yb, i * l.cx + xb + w, yb + h};
    out.color = CopyPlane(*l.color, r);
    out.mask = l.mask ? CopyPlane(*l.mask, r) : nullptr;
    out.alpha = l.alpha[static_cast<size_t>(i)] != 0;
    out.w = w;
    out.h = h;
    return out.color && (!l.mask || out.mask);
}

// Part of image i where it lies in the list's strips (the lock held while it is used):
// drawing reads the strips in place and copies only what it has to change.
bool ViewPart(const ImageListObj& l, int i, int xb, int yb, int w, int h, Part& out)
{
    if (i < 0 || i >= l.count || w <= 0 || h <= 0)
        return false;
    out.color = l.color;
    out.mask = l.mask;
    out.alpha = l.alpha[static_cast<size_t>(i)] != 0;
    out.w = w;
    out.h = h;
    out.x0 = i * l.cx + xb;
    out.y0 = yb;
    return out.color != nullptr;
}

// A private copy of a part, starting at (0, 0) of its own planes.
bool OwnPart(const Part& view, Part& out)
{
    const RECT r{view.x0, view.y0, view.x0 + view.w, view.y0 + view.h};
    out.color = CopyPlane(*view.color, r);
    out.mask = view.mask ? CopyPlane(*view.mask, r) : nullptr;
    out.alpha = view.alpha;
    out.w = view.w;
    out.h = view.h;
    return out.color && (!view.mask || out.mask);
}

bool BlockHasAlphaByte(const Surface& s, int x, int y, int w, int h)
{
    for (int yy = y; yy < y + h; ++yy) {
        const uint32_t* row = s.Row32(yy) + x;
        for (int i = 0; i < w; ++i)
            if (row[i] >> 24)
                return true;
    }
    return false;
}

bool MaskAt(const Part& p, int x, int y) { return p.mask && p.mask->GetRaw(x, y); }

bool DrawOwnedPart(HDC dc, int x, int y, const Part& p, UINT style, COLORREF bk, COLORREF fg, DWORD rop);

bool DrawPart(HDC dc, int x, int y, const Part& view, UINT style, COLORREF bk, COLORREF fg, DWORD rop, bool overlay)
{
    const int w = view.w, h = view.h;
    if (style & ILD_MASK) {
        const DWORD r = overlay ? SRCAND : (style & ILD_ROP) ? rop : SRCCOPY;
        if (view.mask)
            return BlitPlane(dc, x, y, w, h, *view.mask, view.x0, view.y0, w, h, r);
        auto mask = NewMaskPlane(w, h);
        return mask && BlitPlane(dc, x, y, w, h, *mask, 0, 0, w, h, r);
    }
    // The usual looks straight from the strips: a masked image over what is there (the
    // colour's alpha byte cannot reach the screen through SRCINVERT, whose result drops
    // it) and an opaque image whose alpha bytes are all clear anyway.
    const bool plain = !(style & (ILD_BLEND25 | ILD_BLEND50 | ILD_IMAGE | ILD_ROP)) && !(view.alpha && !IsMonoDc(dc));
    const bool transparent = (style & ILD_TRANSPARENT) || bk == CLR_NONE;
    if (plain && view.mask && transparent && !IsMonoDc(dc))
        return MaskedInvertSurface(dc, x, y, w, h, *view.mask, *view.color, view.x0, view.y0);
    if (plain && view.mask && transparent)
        return BlitPlane(dc, x, y, w, h, *view.mask, view.x0, view.y0, w, h, SRCAND) &&
            BlitPlane(dc, x, y, w, h, *view.color, view.x0, view.y0, w, h, SRCINVERT);
    if (plain && !view.mask && !BlockHasAlphaByte(*view.color, view.x0, view.y0, w, h))
        return BlitPlane(dc, x, y, w, h, *view.color, view.x0, view.y0, w, h, SRCCOPY);
    Part p;
    if (!OwnPart(view, p)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return DrawOwnedPart(dc, x, y, p, style, bk, fg, rop);
}

// The looks that change pixels before they go out, on a private copy.
bool DrawOwnedPart(HDC dc, int x, int y, const Part& p, UINT style, COLORREF bk, COLORREF fg, DWORD rop)
{
    const int w = p.w, h = p.h;
    const int blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
    std::shared_ptr<Surface> color = p.color;
    if (blend && fg != CLR_NONE) {
        color = CopyPlane(*p.color);
        if (!color)
            return false;
        const uint32_t f = ColorToBgrx(fg);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                if (!MaskAt(p, xx, yy))
                    color->Row32(yy)[xx] = BlendPixel(color->Row32(yy)[xx], f, blend);
    }
    if (style & (ILD_IMAGE | ILD_ROP)) {
        auto opaque = OpaqueCopy(*color);
        return opaque && BlitPlane(dc, x, y, w, h, opaque, 0, 0, w, h, (style & ILD_ROP) ? rop : SRCCOPY);
    }
    const bool transparent = (style & ILD_TRANSPARENT) || bk == CLR_NONE;
    const uint32_t bkRaw = transparent ? 0 : ColorToBgrx(bk);
    if (blend && fg == CLR_NONE) {
        // Blend with what is on the destination: read it, compose, write it back.
        auto t = NewColorPlane(w, h);
        if (!t)
            return false;
        {
            SurfaceDc into(t);
            if (!into || !BitBlt(into.Dc(), 0, 0, w, h, dc, x, y, SRCCOPY))
                return false;
        }
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                uint32_t& d = t->Row32(yy)[xx];
                const uint32_t c = color->Row32(yy)[xx] & 0xFFFFFFu;
                if (!MaskAt(p, xx, yy))
                    d = BlendPixel(c, d & 0xFFFFFFu, blend) & 0xFFFFFFu;
                else
                    d = ((transparent ? d : bkRaw) ^ c) & 0xFFFFFFu;
            }
        return BlitPlane(dc, x, y, w, h, t, 0, 0, w, h, SRCCOPY);
    }
    if (p.alpha && !IsMonoDc(dc)) {
        if (!transparent) {
            auto fill = NewColorPlane(w, h);
            if (!fill)
                return false;
            fill->Clear(bkRaw);
            if (!BlitPlane(dc, x, y, w, h, fill, 0, 0, w, h, SRCCOPY))
                return false;
        }
        auto premultiplied = PremultipliedCopy(*color);
        return premultiplied && AlphaBlitPlane(dc, x, y, w, h, premultiplied, 0, 0, w, h);
    }
    auto opaque = OpaqueCopy(*color);
    if (!opaque)
        return false;
    if (!p.mask)
        return BlitPlane(dc, x, y, w, h, opaque, 0, 0, w, h, SRCCOPY);
    if (transparent)
        return BlitPlane(dc, x, y, w, h, p.mask, 0, 0, w, h, SRCAND) &&
            BlitPlane(dc, x, y, w, h, opaque, 0, 0, w, h, SRCINVERT);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            if (MaskAt(p, xx, yy))
                opaque->Row32(yy)[xx] ^= bkRaw;
    return BlitPlane(dc, x, y, w, h, opaque, 0, 0, w, h, SRCCOPY);
}

} // namespace

HIMAGELIST CopyOneImage(HIMAGELIST himl, int i)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return nullptr;
    Part part;
    UINT flags;
    {
        std::lock_guard lock(list->mutex);
        if (!ExtractPart(*list, i, 0, 0, list->cx, list->cy, part)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        flags = list->flags;
    }
    auto copy = NewImageList(part.w, part.h, flags | ILC_MASK, 1, 0);
    if (!copy)
        return nullptr;
    StoreImage(*copy, 0, *part.color, 0, part.mask.get());
    return AddImageList(std::move(copy));
}

} // namespace zyn::gdi

using namespace zyn::gdi;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow)
{
    auto list = NewImageList(cx, cy, flags, cInitial, cGrow);
    return list ? AddImageList(std::move(list)) : nullptr;
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    if (!Table().Remove(himl)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return 0;
    std::lock_guard lock(list->mutex);
    return list->count;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    if (uNewCount > static_cast<UINT>(kMaxImages)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(list->mutex);
    const int n = static_cast<int>(uNewCount);
    if (n > list->count) {
        if (!list->Reserve(n))
            return FALSE;
        auto blankColor = NewColorPlane(list->cx, list->cy);
        auto blankMask = NewMaskPlane(list->cx, list->cy);
        if (!blankColor || !blankMask)
            return FALSE;
        blankMask->Clear(1);
        while (list->count < n)
            StoreImage(*list, list->count, *blankColor, 0, blankMask.get());
    } else {
        list->count = n;
        for (int& o : list->overlays)
            if (o >= n)
                o = -1;
        list->Changed();
    }
    return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask)
{
    return AddStrip(himl, hbmImage, hbmMask, std::nullopt);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask)
{
    return AddStrip(himl, hbmImage, nullptr, crMask);
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    int cx, cy;
    bool wantMask;
    {
        std::lock_guard lock(list->mutex);
        cx = list->cx;
        cy = list->cy;
        wantMask = list->HasMask();
    }
    auto strip = ReadStrip(cx, cy, wantMask, hbmImage, hbmMask, std::nullopt, true);
    if (!strip)
        return FALSE;
    std::lock_guard lock(list->mutex);
    if (i < 0 || i >= list->count || list->cx != cx || list->cy != cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return StoreImage(*list, i, *strip->color, 0, strip->mask.get()) >= 0 ? TRUE : FALSE;
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return -1;
    int cx, cy;
    {
        std::lock_guard lock(list->mutex);
        cx = list->cx;
        cy = list->cy;
    }
    std::shared_ptr<Surface> color, mask;
    bool alpha = false;
    if (!IconPlanes(hicon, cx, cy, color, mask, alpha))
        return -1;
    std::lock_guard lock(list->mutex);
    if (i < -1 || i >= list->count || list->cx != cx || list->cy != cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!list->HasMask()) {
        // No mask to keep: the icon is drawn over the background colour (black without one).
        color = CopyPlane(*color);
        if (!color)
            return -1;
        const uint32_t bk = list->bk == CLR_NONE ? 0 : ColorToBgrx(list->bk);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (mask->GetRaw(x, y))
                    color->Row32(y)[x] = (color->Row32(y)[x] & 0xFF000000u) | ((color->Row32(y)[x] ^ bk) & 0xFFFFFFu);
    }
    return StoreImage(*list, i < 0 ? list->count : i, *color, 0, mask.get());
}

int ImageList_AddIcon(HIMAGELIST himl, HICON hicon) { return ImageList_ReplaceIcon(himl, -1, hicon); }

BOOL ImageList_Remove(HIMAGELIST himl, int i)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    std::lock_guard lock(list->mutex);
    if (i == -1) {
        list->count = 0;
        list->overlays.fill(-1);
        list->Changed();
        return TRUE;
    }
    if (i < 0 || i >= list->count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int cx = list->cx;
    const int tail = (list->count - i - 1) * cx;
    CopyBlock(*list->color, (i + 1) * cx, 0, *list->color, i * cx, 0, tail, list->cy);
    if (list->mask)
        CopyBlock(*list->mask, (i + 1) * cx, 0, *list->mask, i * cx, 0, tail, list->cy);
    list->alpha.erase(list->alpha.begin() + i);
    list->alpha.push_back(0);
    --list->count;
    for (int& o : list->overlays) {
        if (o == i)
            o = -1;
        else if (o > i)
            --o;
    }
    list->Changed();
    return TRUE;
}

BOOL ImageList_RemoveAll(HIMAGELIST himl) { return ImageList_Remove(himl, -1); }

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    if (!cx || !cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(list->mutex);
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    if (cx <= 0 || cy <= 0 || cx > kMaxSide || cy > kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(list->mutex);
    const int room = std::max(list->capacity, 1);
    auto c = NewColorPlane(room * cx, cy);
    auto m = list->HasMask() ? NewMaskPlane(room * cx, cy) : nullptr;
    if (!c || (list->HasMask() && !m)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    list->cx = cx;
    list->cy = cy;
    list->count = 0;
    list->capacity = room;
    list->color = std::move(c);
    list->mask = std::move(m);
    list->alpha.assign(static_cast<size_t>(room), 0);
    list->overlays.fill(-1);
    list->RefreshBitmaps();
    list->Changed();
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    std::lock_guard lock(list->mutex);
    if (!pImageInfo || i < 0 || i >= list->count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The bitmaps share the strips; they are made once and deleted with the list.
    if (!list->colorBitmap || !BitmapFromHandle(list->colorBitmap)) {
        auto b = std::make_shared<BitmapObj>();
        b->surface = list->color;
        list->colorBitmap = static_cast<HBITMAP>(AddObject(b));
    }
    if (list->mask && (!list->maskBitmap || !BitmapFromHandle(list->maskBitmap))) {
        auto b = std::make_shared<BitmapObj>();
        b->surface = list->mask;
        list->maskBitmap = static_cast<HBITMAP>(AddObject(b));
    }
    pImageInfo->hbmImage = list->colorBitmap;
    pImageInfo->hbmMask = list->mask ? list->maskBitmap : nullptr;
    pImageInfo->Unused1 = 0;
    pImageInfo->Unused2 = 0;
    pImageInfo->rcImage = RECT{i * list->cx, 0, (i + 1) * list->cx, list->cy};
    return pImageInfo->hbmImage ? TRUE : FALSE;
}

HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return nullptr;
    Part part;
    {
        std::lock_guard lock(list->mutex);
        if (!ExtractPart(*list, i, 0, 0, list->cx, list->cy, part)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    auto icon = std::make_shared<IconObj>();
    icon->width = part.w;
    icon->height = part.h;
    icon->hotspot = POINT{part.w / 2, part.h / 2};
    icon->mask = part.mask ? part.mask : NewMaskPlane(part.w, part.h);
    icon->color = part.color;
    icon->alpha = part.alpha;
    if (!icon->mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const int blend = (flags & ILD_BLEND50) ? 50 : (flags & ILD_BLEND25) ? 25 : 0;
    if (blend) {
        const uint32_t f = ColorToBgrx(GetSysColor(COLOR_HIGHLIGHT));
        for (int y = 0; y < part.h; ++y)
            for (int x = 0; x < part.w; ++x)
                if (!icon->mask->GetRaw(x, y))
                    icon->color->Row32(y)[x] = BlendPixel(icon->color->Row32(y)[x], f, blend);
    }
    return AddIcon(std::move(icon));
}

HICON ImageList_ExtractIcon(HINSTANCE, HIMAGELIST himl, int i) { return ImageList_GetIcon(himl, i, 0); }

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return CLR_NONE;
    std::lock_guard lock(list->mutex);
    const COLORREF old = list->bk;
    list->bk = clrBk == CLR_NONE ? CLR_NONE : PlainColor(clrBk);
    list->Changed();
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return CLR_NONE;
    std::lock_guard lock(list->mutex);
    return list->bk;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return FALSE;
    std::lock_guard lock(list->mutex);
    if (iOverlay < 1 || iOverlay > 15 || iImage < -1 || iImage >= list->count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    list->overlays[static_cast<size_t>(iOverlay - 1)] = iImage;
    list->Changed();
    return TRUE;
}

BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* p)
{
    if (!p || p->cbSize < offsetof(IMAGELISTDRAWPARAMS, fState) || p->cbSize > sizeof(IMAGELISTDRAWPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto list = ImageListFromHandle(p->himl);
    if (!list)
        return FALSE;
    Part part, overlay;
    bool hasOverlay = false;
    COLORREF bk;
    // Held while drawing: the parts are views of the list's strips.
    std::lock_guard lock(list->mutex);
    {
        const int xb = std::max(p->xBitmap, 0);
        const int yb = std::max(p->yBitmap, 0);
        const int w = std::min(p->cx > 0 ? p->cx : list->cx - xb, list->cx - xb);
        const int h = std::min(p->cy > 0 ? p->cy : list->cy - yb, list->cy - yb);
        if (p->i < 0 || p->i >= list->count) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (w <= 0 || h <= 0)
            return TRUE;
        if (!ViewPart(*list, p->i, xb, yb, w, h, part)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        const UINT n = (p->fStyle & ILD_OVERLAYMASK) >> 8;
        if (n >= 1) {
            const int oi = list->overlays[n - 1];
            hasOverlay = oi >= 0 && oi < list->count && ViewPart(*list, oi, xb, yb, w, h, overlay);
        }
        bk = p->rgbBk == CLR_DEFAULT ? list->bk : p->rgbBk;
    }
    if (bk != CLR_NONE)
        bk = PlainColor(bk);
    COLORREF fg = p->rgbFg;
    if (fg == CLR_DEFAULT)
        fg = GetSysColor(COLOR_HIGHLIGHT);
    else if (fg != CLR_NONE)
        fg = PlainColor(fg);
    const UINT style = p->fStyle & ~ILD_OVERLAYMASK;
    if (!DrawPart(p->hdcDst, p->x, p->y, part, style, bk, fg, p->dwRop, false))
        return FALSE;
    if (hasOverlay) {
        const UINT overlayStyle =
            (style & ILD_MASK) ? ILD_MASK : ((style & (ILD_BLEND25 | ILD_BLEND50)) | ILD_TRANSPARENT);
        if (!DrawPart(p->hdcDst, p->x, p->y, overlay, overlayStyle, CLR_NONE, fg, p->dwRop, true))
            return FALSE;
    }
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
    COLORREF rgbFg, UINT fStyle)
{
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = himl;
    p.i = i;
    p.hdcDst = hdcDst;
    p.x = x;
    p.y = y;
    p.cx = dx;
    p.cy = dy;
    p.rgbBk = rgbBk;
    p.rgbFg = rgbFg;
    p.fStyle = fStyle;
    p.dwRop = SRCCOPY;
    return ImageList_DrawIndirect(&p);
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags)
{
    auto dst = ImageListFromHandle(himlDst);
    auto src = ImageListFromHandle(himlSrc);
    if (!dst || !src)
        return FALSE;
    if (uFlags & ~ILCF_SWAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Part a, b;
    {
        std::unique_lock lockSrc(src->mutex);
        if (!ExtractPart(*src, iSrc, 0, 0, src->cx, src->cy, a)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    std::lock_guard lock(dst->mutex);
    if (dst->cx != a.w || dst->cy != a.h || iDst < 0 || iDst >= dst->count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((uFlags & ILCF_SWAP) && !ExtractPart(*dst, iDst, 0, 0, dst->cx, dst->cy, b)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    StoreImage(*dst, iDst, *a.color, 0, a.mask.get());
    if (uFlags & ILCF_SWAP) {
        if (dst.get() == src.get()) {
            StoreImage(*dst, iSrc, *b.color, 0, b.mask.get());
        } else {
            std::lock_guard lockSrc(src->mutex);
            if (src->cx == b.w && src->cy == b.h && iSrc < src->count)
                StoreImage(*src, iSrc, *b.color, 0, b.mask.get());
        }
    }
    return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST himl)
{
    auto list = ImageListFromHandle(himl);
    if (!list)
        return nullptr;
    auto copy = std::make_shared<ImageListObj>();
    {
        std::lock_guard lock(list->mutex);
        copy->cx = list->cx;
        copy->cy = list->cy;
        copy->flags = list->flags;
        copy->grow = list->grow;
        copy->count = list->count;
        copy->capacity = std::max(list->count, 1);
        copy->color = CopyPlane(*list->color, RECT{0, 0, copy->capacity * list->cx, list->cy});
        if (list->mask)
            copy->mask = CopyPlane(*list->mask, RECT{0, 0, copy->capacity * list->cx, list->cy});
        copy->alpha.assign(list->alpha.begin(), list->alpha.begin() + copy->capacity);
        copy->bk = list->bk;
        copy->overlays = list->overlays;
    }
    if (!copy->color || (copy->HasMask() && !copy->mask)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return AddImageList(std::move(copy));
}

HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy)
{
    auto l1 = ImageListFromHandle(himl1);
    auto l2 = ImageListFromHandle(himl2);
    if (!l1 || !l2)
        return nullptr;
    Part a, b;
    UINT flags;
    {
        std::lock_guard lock(l1->mutex);
        if (!ExtractPart(*l1, i1, 0, 0, l1->cx, l1->cy, a)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        flags = l1->flags;
    }
    {
        std::lock_guard lock(l2->mutex);
        if (!ExtractPart(*l2, i2, 0, 0, l2->cx, l2->cy, b)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    const int left = std::min(0, dx), top = std::min(0, dy);
    const int right = std::max(a.w, dx + b.w), bottom = std::max(a.h, dy + b.h);
    auto list = NewImageList(right - left, bottom - top, flags | ILC_MASK, 1, 0);
    if (!list)
        return nullptr;
    auto color = NewColorPlane(right - left, bottom - top);
    auto mask = NewMaskPlane(right - left, bottom - top);
    if (!color || !mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    mask->Clear(1);
    // Each image goes on as icons draw: AND with its mask, XOR with its colour.
    auto put = [&](const Part& p, int ox, int oy) {
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                const uint32_t m = MaskAt(p, x, y) ? 1u : 0u;
                uint32_t& c = color->Row32(oy + y)[ox + x];
                const uint32_t src = p.color->Row32(y)[x];
                c = m ? (c ^ (src & 0xFFFFFFu)) : src;
                mask->SetRaw(ox + x, oy + y, mask->GetRaw(ox + x, oy + y) & m);
            }
    };
    put(a, -left, -top);
    put(b, dx - left, dy - top);
    StoreImage(*list, 0, *color, 0, mask.get());
    return AddImageList(std::move(list));
}

HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType,
    UINT uFlags)
{
    if (uType == IMAGE_ICON || uType == IMAGE_CURSOR) {
        HICON icon = static_cast<HICON>(LoadImageW(hi, lpbmp, uType, cx, cx, uFlags & ~LR_SHARED));
        if (!icon)
            return nullptr;
        auto obj = IconFromHandle(icon);
        HIMAGELIST list = obj ? ImageList_Create(obj->width, obj->height, ILC_MASK | ILC_COLOR32, 1, cGrow) : nullptr;
        if (list && ImageList_AddIcon(list, icon) < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
        DestroyIcon(icon);
        return list;
    }
    if (uType != IMAGE_BITMAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(hi, lpbmp, IMAGE_BITMAP, 0, 0, uFlags & ~LR_SHARED));
    if (!bmp)
        return nullptr;
    int w = 0, h = 0;
    HIMAGELIST list = nullptr;
    if (BitmapSize(bmp, w, h)) {
        const int width = cx > 0 ? cx : h;
        auto plane = ColorPlaneFromBitmap(bmp);
        const UINT depth = plane && PlaneHasAlpha(*plane) ? ILC_COLOR32 : ILC_COLOR24;
        const UINT flags = depth | (crMask != CLR_NONE ? ILC_MASK : 0);
        list = ImageList_Create(width, h, flags, std::max(w / std::max(width, 1), 1), cGrow);
        const int added = !list ? -1
            : crMask != CLR_NONE ? ImageList_AddMasked(list, bmp, crMask)
                                 : ImageList_Add(list, bmp, nullptr);
        if (list && added < 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    DeleteObject(bmp);
    return list;
}

HIMAGELIST ImageList_LoadImage(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType,
    UINT uFlags)
{
    return ImageList_LoadImageW(hi, lpbmp, cx, cGrow, crMask, uType, uFlags);
}

HIMAGELIST ImageList_LoadBitmap(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask)
{
    return ImageList_LoadImageW(hi, lpbmp, cx, cGrow, crMask, IMAGE_BITMAP, 0);
}
