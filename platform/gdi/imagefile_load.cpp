// LoadImage and its relatives: bitmaps, icons and cursors from files, module resources
// and the system images; CopyImage; icons from resource bytes.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/path.h"
#include "platform/base/resource.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/icon_internal.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/imagefile.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

// Image files larger than this are refused (the largest image we decode has 2^24
// pixels of 4 bytes).
constexpr uint64_t kMaxImageFileBytes = uint64_t(80) << 20;

bool Fail(DWORD err, std::string message)
{
    SetLastImageError(std::move(message));
    SetLastError(err);
    return false;
}

bool Malformed(const std::string& what, const std::string& why)
{
    return Fail(ERROR_INVALID_DATA, what + ": " + why);
}

std::string Describe(LPCWSTR name)
{
    if (IS_INTRESOURCE(name))
        return "resource #" + std::to_string(reinterpret_cast<uintptr_t>(name));
    std::string out;
    for (const wchar_t* p = name; *p; ++p)
        out += (*p < 0x80) ? static_cast<char>(*p) : '?';
    return "\"" + out + "\"";
}

// Reads a whole file; false with the Win32 error set.
bool ReadWholeFile(LPCWSTR path, std::vector<uint8_t>& out)
{
    if (!path || IS_INTRESOURCE(path) || !*path)
        return Fail(ERROR_INVALID_PARAMETER, "no file name");
    const std::string native = base::ToNativePath(path);
    FILE* f = std::fopen(native.c_str(), "rb");
    if (!f) {
        const int err = errno;
        return Fail(base::Win32ErrorFromErrno(err), Describe(path) + ": " + std::strerror(err));
    }
    std::vector<uint8_t> bytes;
    bool ok = true;
    uint8_t buf[65536];
    for (;;) {
        const size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n == 0)
            break;
        if (bytes.size() + n > kMaxImageFileBytes) {
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), buf, buf + n);
    }
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (!ok)
        return Malformed(Describe(path), "the file is too large for an image");
    if (readError)
        return Fail(ERROR_READ_FAULT, Describe(path) + ": read error");
    out = std::move(bytes);
    return true;
}

// A resource's bytes (valid while its module is loaded).
bool ResourceBytes(HINSTANCE module, LPCWSTR name, LPCWSTR type, std::span<const uint8_t>& out)
{
    HRSRC res = FindResourceW(module, name, type);
    if (!res)
        return Fail(GetLastError(), Describe(name) + ": no such resource");
    HGLOBAL data = LoadResource(module, res);
    const void* p = data ? LockResource(data) : nullptr;
    if (!p)
        return Fail(GetLastError() ? GetLastError() : ERROR_RESOURCE_DATA_NOT_FOUND,
            Describe(name) + ": the resource cannot be read");
    out = std::span<const uint8_t>(static_cast<const uint8_t*>(p), SizeofResource(module, res));
    return true;
}

COLORREF ColorOf(uint32_t px) { return BgrxToColor(px & 0xFFFFFFu); }
RGBQUAD QuadOf(COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }
bool SameColor(const RGBQUAD& q, COLORREF c)
{
    return q.rgbRed == GetRValue(c) && q.rgbGreen == GetGValue(c) && q.rgbBlue == GetBValue(c);
}

// LR_LOADTRANSPARENT and LR_LOADMAP3DCOLORS.
void ApplyColorEdits(DibImage& img, UINT flags)
{
    if (!(flags & (LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS)) || img.pixels.empty())
        return;
    const bool map3d = (flags & LR_LOADMAP3DCOLORS) != 0;
    struct Swap {
        COLORREF from;
        COLORREF to;
    };
    std::vector<Swap> swaps;
    if (map3d) {
        swaps.push_back({RGB(128, 128, 128), GetSysColor(COLOR_3DSHADOW)});
        swaps.push_back({RGB(192, 192, 192), GetSysColor(COLOR_3DFACE)});
        swaps.push_back({RGB(223, 223, 223), GetSysColor(COLOR_3DLIGHT)});
    }
    const size_t first = img.FirstStoredPixel();
    const COLORREF transparentTo = GetSysColor(map3d ? COLOR_3DFACE : COLOR_WINDOW);
    if (img.Indexed()) {
        const std::vector<RGBQUAD> original = img.colors;
        for (size_t i = 0; i < img.colors.size(); ++i)
            for (const Swap& s : swaps)
                if (SameColor(original[i], s.from))
                    img.colors[i] = QuadOf(s.to);
        if (flags & LR_LOADTRANSPARENT) {
            const unsigned idx = img.indices[first];
            if (idx < img.colors.size())
                img.colors[idx] = QuadOf(transparentTo);
        }
        img.ApplyColorTable();
        return;
    }
    const COLORREF transparentFrom = ColorOf(img.pixels[first]);
    for (uint32_t& px : img.pixels) {
        const COLORREF c = ColorOf(px);
        COLORREF to = c;
        if ((flags & LR_LOADTRANSPARENT) && c == transparentFrom) {
            to = transparentTo;
        } else {
            for (const Swap& s : swaps)
                if (c == s.from)
                    to = s.to;
        }
        if (to != c)
            px = (px & 0xFF000000u) | ColorToBgrx(to);
    }
}

// Nearest-pixel scaling of a decoded image (indices too).
DibImage ScaleImage(const DibImage& src, int w, int h)
{
    DibImage dst = src;
    dst.width = w;
    dst.height = h;
    dst.pixels.assign(static_cast<size_t>(w) * h, 0);
    if (src.Indexed())
        dst.indices.assign(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * src.height / h);
        for (int x = 0; x < w; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * src.width / w);
            const size_t si = static_cast<size_t>(sy) * src.width + sx;
            const size_t di = static_cast<size_t>(y) * w + x;
            dst.pixels[di] = src.pixels[si];
            if (src.Indexed())
                dst.indices[di] = src.indices[si];
        }
    }
    return dst;
}

bool BlackWhiteTable(const DibImage& img)
{
    return img.bitCount == 1 && img.colors.size() == 2 && SameColor(img.colors[0], 0x000000) &&
        SameColor(img.colors[1], 0xFFFFFF);
}

HBITMAP MonoBitmap(const DibImage& img)
{
    HBITMAP hbm = CreateBitmap(img.width, img.height, 1, 1, nullptr);
    auto bmp = hbm ? BitmapFromHandle(hbm) : nullptr;
    if (!bmp || !bmp->surface) {
        if (hbm)
            DeleteObject(hbm);
        return nullptr;
    }
    Surface& s = *bmp->surface;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            s.SetRaw(x, y, NearestMonoIndex(ColorOf(img.At(x, y)), 0x000000, 0xFFFFFF));
    return hbm;
}

HBITMAP ColorBitmap(const DibImage& img)
{
    HBITMAP hbm = CreateBitmap(img.width, img.height, 1, 32, nullptr);
    auto bmp = hbm ? BitmapFromHandle(hbm) : nullptr;
    if (!bmp || !bmp->surface || bmp->surface->IsMono()) {
        if (hbm)
            DeleteObject(hbm);
        return nullptr;
    }
    Surface& s = *bmp->surface;
    for (int y = 0; y < img.height; ++y)
        std::memcpy(s.Row32(y), img.pixels.data() + static_cast<size_t>(y) * img.width,
            static_cast<size_t>(img.width) * 4);
    return hbm;
}

HBITMAP DibSectionBitmap(const DibImage& img)
{
    const int bpp = img.bitCount == 16 ? 24 : img.bitCount;
    const size_t colors = bpp <= 8 ? img.colors.size() : 0;
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * (colors ? colors : 1), 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = img.width;
    bmi->bmiHeader.biHeight = img.height; // bottom-up
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = static_cast<WORD>(bpp);
    bmi->bmiHeader.biCompression = BI_RGB;
    bmi->bmiHeader.biClrUsed = static_cast<DWORD>(colors);
    if (colors)
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), img.colors.data(), 4 * colors);
    void* bits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!hbm || !bits) {
        if (hbm)
            DeleteObject(hbm);
        return nullptr;
    }
    const size_t stride = ((static_cast<size_t>(img.width) * bpp + 31) / 32) * 4;
    auto* out = static_cast<uint8_t*>(bits);
    for (int y = 0; y < img.height; ++y) {
        uint8_t* row = out + static_cast<size_t>(img.height - 1 - y) * stride;
        std::memset(row, 0, stride);
        for (int x = 0; x < img.width; ++x) {
            const size_t i = static_cast<size_t>(y) * img.width + x;
            const uint32_t px = img.pixels[i];
            switch (bpp) {
            case 1:
                if (img.indices[i] & 1)
                    row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
                break;
            case 4:
                row[x >> 1] = static_cast<uint8_t>(row[x >> 1] | ((img.indices[i] & 0xF) << ((x & 1) ? 0 : 4)));
                break;
            case 8:
                row[x] = img.indices[i];
                break;
            case 24:
                row[3 * x] = static_cast<uint8_t>(px);
                row[3 * x + 1] = static_cast<uint8_t>(px >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(px >> 16);
                break;
            default:
                std::memcpy(row + 4 * x, &px, 4);
                break;
            }
        }
    }
    return hbm;
}

// The bitmap LoadImage and CopyImage hand out for a decoded image.
HBITMAP BitmapFromImage(DibImage img, int cx, int cy, UINT flags)
{
    ApplyColorEdits(img, flags);
    if ((cx > 0 && cx != img.width) || (cy > 0 && cy != img.height))
        img = ScaleImage(img, cx > 0 ? cx : img.width, cy > 0 ? cy : img.height);
    HBITMAP hbm;
    if (flags & LR_MONOCHROME)
        hbm = MonoBitmap(img);
    else if (flags & LR_CREATEDIBSECTION)
        hbm = DibSectionBitmap(img);
    else if (BlackWhiteTable(img))
        hbm = MonoBitmap(img);
    else
        hbm = ColorBitmap(img);
    if (!hbm)
        Fail(GetLastError() ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY, "the bitmap could not be created");
    return hbm;
}

struct Target {
    int cx;
    int cy;
};

// The size to pick an icon entry for, and the size to scale to (0: keep the entry's).
void IconSizes(UINT type, int cx, int cy, UINT flags, Target& pick, Target& scale)
{
    const bool cursor = type == IMAGE_CURSOR;
    const int sysX = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
    const int sysY = GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON);
    const bool useSystem = (flags & LR_DEFAULTSIZE) != 0;
    scale.cx = cx ? cx : useSystem ? sysX : 0;
    scale.cy = cy ? cy : useSystem ? sysY : 0;
    pick.cx = cx ? cx : sysX;
    pick.cy = cy ? cy : sysY;
}

HICON IconFromParsed(const IconImage& img, UINT type, const Target& scale, UINT flags)
{
    auto icon = IconFromImage(img, type != IMAGE_CURSOR, scale.cx, scale.cy, (flags & LR_MONOCHROME) != 0);
    if (!icon) {
        Fail(GetLastError() ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY, "the icon could not be created");
        return nullptr;
    }
    icon->shared = (flags & LR_SHARED) != 0;
    return AddIcon(std::move(icon));
}

HICON IconFromFile(LPCWSTR path, UINT type, int cx, int cy, UINT flags)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return nullptr;
    std::string error;
    auto dir = ParseIconFileDir(bytes, error);
    if (!dir) {
        Malformed(Describe(path), error);
        return nullptr;
    }
    Target pick, scale;
    IconSizes(type, cx, cy, flags, pick, scale);
    const IconDirEntry& e = dir->entries[ChooseIconEntry(*dir, pick.cx, pick.cy)];
    auto img = ParseIconImage(std::span<const uint8_t>(bytes).subspan(e.offset, e.size), error);
    if (!img) {
        Malformed(Describe(path), error);
        return nullptr;
    }
    if (dir->cursor)
        img->hotspot = e.hotspot;
    return IconFromParsed(*img, type, scale, flags);
}

HICON IconFromResource(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags)
{
    const bool cursor = type == IMAGE_CURSOR;
    std::span<const uint8_t> group;
    if (!ResourceBytes(module, name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON, group))
        return nullptr;
    std::string error;
    auto dir = ParseIconGroup(group, cursor, error);
    if (!dir) {
        Malformed(Describe(name), error);
        return nullptr;
    }
    Target pick, scale;
    IconSizes(type, cx, cy, flags, pick, scale);
    const IconDirEntry& e = dir->entries[ChooseIconEntry(*dir, pick.cx, pick.cy)];
    std::span<const uint8_t> data;
    if (!ResourceBytes(module, MAKEINTRESOURCE(e.id), cursor ? RT_CURSOR : RT_ICON, data))
        return nullptr;
    auto img = cursor ? ParseCursorResource(data, error) : ParseIconImage(data, error);
    if (!img) {
        Malformed(Describe(name), error);
        return nullptr;
    }
    return IconFromParsed(*img, type, scale, flags);
}

HICON SystemImage(WORD id, UINT type, int cx, int cy, UINT flags)
{
    const bool cursor = type == IMAGE_CURSOR;
    const int sysX = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
    const int sysY = GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON);
    const int w = cx ? cx : sysX;
    const int h = cy ? cy : sysY;
    if ((flags & LR_SHARED) && w == sysX && h == sysY && !(flags & LR_MONOCHROME))
        return SystemIcon(id, cursor);
    auto icon = DrawSystemImage(id, cursor, w, h);
    if (!icon)
        return nullptr;
    if (flags & LR_MONOCHROME) {
        icon = ScaledIcon(*icon, w, h, true);
        if (!icon)
            return nullptr;
    }
    icon->shared = (flags & LR_SHARED) != 0;
    return AddIcon(std::move(icon));
}

// Shared images by source, name, kind, size and colour flags.
struct SharedCache {
    std::mutex mutex;
    std::map<std::wstring, HICON> icons;
};
SharedCache& Shared()
{
    static auto* const cache = new SharedCache();
    return *cache;
}

std::wstring SharedKey(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags)
{
    std::wstring key = std::to_wstring(reinterpret_cast<uintptr_t>(module)) + L"|" + std::to_wstring(type) + L"|" +
        std::to_wstring(cx) + L"x" + std::to_wstring(cy) + L"|" +
        std::to_wstring(flags & (LR_MONOCHROME | LR_DEFAULTSIZE | LR_LOADFROMFILE)) + L"|";
    if (IS_INTRESOURCE(name)) {
        key += L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(name));
    } else {
        for (const wchar_t* p = name; *p; ++p)
            key += (flags & LR_LOADFROMFILE) ? *p : static_cast<wchar_t>(towupper(static_cast<wint_t>(*p)));
    }
    return key;
}

HICON LoadIconImage(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (flags & LR_LOADFROMFILE)
        return IconFromFile(name, type, cx, cy, flags);
    if (!module && IS_INTRESOURCE(name)) {
        const WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
        if (IsSystemImageId(id, type == IMAGE_CURSOR))
            return SystemImage(id, type, cx, cy, flags);
    }
    return IconFromResource(module, name, type, cx, cy, flags);
}

} // namespace
} // namespace zyn::gdi

using namespace zyn::gdi;

HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    SetLastImageError({});
    if (!name || cx < 0 || cy < 0 || (type != IMAGE_BITMAP && type != IMAGE_ICON && type != IMAGE_CURSOR)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (type == IMAGE_BITMAP) {
        std::string error;
        std::optional<DibImage> img;
        if (fuLoad & LR_LOADFROMFILE) {
            std::vector<uint8_t> bytes;
            if (!ReadWholeFile(name, bytes))
                return nullptr;
            img = ParseBmpFile(bytes, error);
        } else {
            std::span<const uint8_t> data;
            if (!ResourceBytes(hInst, name, RT_BITMAP, data))
                return nullptr;
            img = ParsePackedDib(data, error);
        }
        if (!img) {
            Malformed(Describe(name), error);
            return nullptr;
        }
        return BitmapFromImage(std::move(*img), cx, cy, fuLoad);
    }
    if (!(fuLoad & LR_SHARED))
        return LoadIconImage(hInst, name, type, cx, cy, fuLoad);
    SharedCache& cache = Shared();
    const std::wstring key = SharedKey(hInst, name, type, cx, cy, fuLoad);
    std::lock_guard lock(cache.mutex);
    auto it = cache.icons.find(key);
    if (it != cache.icons.end()) {
        if (IconFromHandle(it->second))
            return it->second;
        cache.icons.erase(it);
    }
    HICON icon = LoadIconImage(hInst, name, type, cx, cy, fuLoad);
    if (icon)
        cache.icons.emplace(key, icon);
    return icon;
}

HANDLE LoadImage(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    return LoadImageW(hInst, name, type, cx, cy, fuLoad);
}

HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    return static_cast<HICON>(LoadImageW(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName) { return LoadIconW(hInstance, lpIconName); }

HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
    return static_cast<HCURSOR>(LoadImageW(hInstance, lpCursorName, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
HCURSOR LoadCursor(HINSTANCE hInstance, LPCWSTR lpCursorName) { return LoadCursorW(hInstance, lpCursorName); }

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    return static_cast<HBITMAP>(LoadImageW(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, 0));
}
HBITMAP LoadBitmap(HINSTANCE hInstance, LPCWSTR lpBitmapName) { return LoadBitmapW(hInstance, lpBitmapName); }

namespace {

// A live bitmap as a decoded image: its pixels, and for indexed DIB sections the colour
// table with each pixel's index.
std::optional<DibImage> ImageOfBitmap(HBITMAP hbm)
{
    auto bmp = BitmapFromHandle(hbm);
    if (!bmp || !bmp->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    auto plane = ColorPlaneFromBitmap(hbm);
    if (!plane)
        return std::nullopt;
    DibImage img;
    img.width = plane->Width();
    img.height = plane->Height();
    img.topDown = true;
    img.pixels.resize(static_cast<size_t>(img.width) * img.height);
    for (int y = 0; y < img.height; ++y)
        std::memcpy(img.pixels.data() + static_cast<size_t>(y) * img.width, plane->Row32(y),
            static_cast<size_t>(img.width) * 4);
    if (bmp->isDib) {
        img.bitCount = bmp->DibBitCount();
    } else {
        img.bitCount = bmp->surface->IsMono() ? 1 : 32;
    }
    if (img.bitCount <= 8) {
        if (bmp->isDib && !bmp->colorTable.empty()) {
            img.colors = bmp->colorTable;
        } else {
            img.colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        }
        img.colors.resize(size_t(1) << img.bitCount, RGBQUAD{0, 0, 0, 0});
        img.indices.resize(img.pixels.size());
        for (size_t i = 0; i < img.pixels.size(); ++i) {
            const COLORREF c = BgrxToColor(img.pixels[i] & 0xFFFFFFu);
            uint8_t index = 0;
            for (size_t k = 0; k < img.colors.size(); ++k)
                if (SameColor(img.colors[k], c)) {
                    index = static_cast<uint8_t>(k);
                    break;
                }
            img.indices[i] = index;
        }
    }
    img.hasAlpha = img.bitCount == 32 && PlaneHasAlpha(*plane);
    return img;
}

} // namespace

HANDLE CopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags)
{
    SetLastImageError({});
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (type == IMAGE_BITMAP) {
        auto img = ImageOfBitmap(static_cast<HBITMAP>(h));
        if (!img)
            return nullptr;
        const bool sameSize = (!cx || cx == img->width) && (!cy || cy == img->height);
        if ((flags & LR_COPYRETURNORG) && sameSize && !(flags & (LR_MONOCHROME | LR_CREATEDIBSECTION)))
            return h;
        UINT make = flags & (LR_MONOCHROME | LR_CREATEDIBSECTION);
        auto bmp = BitmapFromHandle(h);
        if (bmp && bmp->surface->IsMono() && !(flags & LR_CREATEDIBSECTION))
            make |= LR_MONOCHROME;
        else if (bmp && bmp->isDib && !(flags & LR_MONOCHROME))
            make |= LR_CREATEDIBSECTION;
        HBITMAP copy = BitmapFromImage(std::move(*img), cx, cy, make);
        if (copy && (flags & LR_COPYDELETEORG))
            DeleteObject(h);
        return copy;
    }
    if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        auto icon = IconFromHandle(static_cast<HICON>(h));
        if (!icon)
            return nullptr;
        const bool cursor = !icon->isIcon;
        int w = cx, hgt = cy;
        if (!w)
            w = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON) : icon->width;
        if (!hgt)
            hgt = (flags & LR_DEFAULTSIZE) ? GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON) : icon->height;
        const bool mono = (flags & LR_MONOCHROME) && !icon->Monochrome();
        if ((flags & LR_COPYRETURNORG) && w == icon->width && hgt == icon->height && !mono)
            return h;
        auto copy = ScaledIcon(*icon, w, hgt, mono);
        if (!copy)
            return nullptr;
        HICON result = AddIcon(std::move(copy));
        if (result && (flags & LR_COPYDELETEORG))
            DestroyIcon(static_cast<HICON>(h));
        return result;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HICON CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD, int cxDesired, int cyDesired,
    UINT Flags)
{
    SetLastImageError({});
    if (!presbits || !dwResSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::span<const uint8_t> bytes(presbits, dwResSize);
    std::string error;
    auto img = fIcon ? ParseIconImage(bytes, error) : ParseCursorResource(bytes, error);
    if (!img) {
        Malformed("icon resource", error);
        return nullptr;
    }
    const UINT type = fIcon ? IMAGE_ICON : IMAGE_CURSOR;
    Target pick, scale;
    IconSizes(type, cxDesired, cyDesired, Flags, pick, scale);
    return IconFromParsed(*img, type, scale, Flags & ~LR_SHARED);
}

HICON CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer)
{
    return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, LR_DEFAULTSIZE);
}

int LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags)
{
    if (!presbits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The directory's own count bounds what is read.
    const size_t count = static_cast<size_t>(presbits[4] | (presbits[5] << 8));
    std::span<const uint8_t> bytes(presbits, 6 + 14 * count);
    std::string error;
    auto dir = ParseIconGroup(bytes, !fIcon, error);
    if (!dir) {
        Malformed("icon directory", error);
        return 0;
    }
    Target pick, scale;
    IconSizes(fIcon ? IMAGE_ICON : IMAGE_CURSOR, cxDesired, cyDesired, Flags, pick, scale);
    return dir->entries[ChooseIconEntry(*dir, pick.cx, pick.cy)].id;
}

int LookupIconIdFromDirectory(PBYTE presbits, BOOL fIcon)
{
    return LookupIconIdFromDirectoryEx(presbits, fIcon, 0, 0, LR_DEFAULTCOLOR);
}
