// Bitmaps: device-dependent bitmaps (1 and 32 bits a pixel), DIB sections, and the
// transfers between DIB memory and bitmaps.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {

DibFormat FormatOf(const BitmapObj& b)
{
    DibFormat f;
    f.width = b.dibHeader.biWidth;
    f.height = b.dibHeader.biHeight > 0 ? b.dibHeader.biHeight : -b.dibHeader.biHeight;
    f.bottomUp = b.dibHeader.biHeight > 0;
    f.bpp = b.dibHeader.biBitCount;
    f.compression = b.dibHeader.biCompression;
    std::memcpy(f.masks, b.dibMasks, sizeof f.masks);
    f.colors = b.colorTable;
    f.stride = b.dibStride;
    return f;
}

size_t DdbStride(int width, int bpp) { return ((static_cast<size_t>(width) * static_cast<size_t>(bpp) + 15) / 16) * 2; }

HBITMAP Register(std::shared_ptr<BitmapObj> bm) { return static_cast<HBITMAP>(AddObject(std::move(bm))); }

std::shared_ptr<BitmapObj> NewDdb(int w, int h, bool mono)
{
    auto bm = std::make_shared<BitmapObj>();
    bm->surface = Surface::Create(w, h, mono ? PixelFormat::Mono1 : PixelFormat::Bgrx32);
    if (!bm->surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return bm;
}

// Loads DDB bits (rows WORD aligned, top-down) of the given depth into a surface.
void LoadDdbBits(Surface& s, int bpp, const uint8_t* bits, size_t cb)
{
    const size_t stride = DdbStride(s.Width(), bpp);
    const std::vector<RGBQUAD> pal = bpp <= 8 ? DefaultColorTable(bpp) : std::vector<RGBQUAD>{};
    DibFormat f;
    f.width = s.Width();
    f.height = s.Height();
    f.bottomUp = false;
    f.bpp = bpp;
    f.colors = pal;
    f.stride = stride;
    if (bpp == 16) {
        f.masks[0] = 0x7C00;
        f.masks[1] = 0x03E0;
        f.masks[2] = 0x001F;
    } else if (bpp == 32) {
        f.masks[0] = 0xFF0000;
        f.masks[1] = 0xFF00;
        f.masks[2] = 0xFF;
    }
    for (int y = 0; y < s.Height(); ++y) {
        const size_t off = static_cast<size_t>(y) * stride;
        if (off + stride > cb)
            break;
        const uint8_t* row = bits + off;
        if (bpp == 1 && s.IsMono()) {
            std::memcpy(s.Row(y), row, (static_cast<size_t>(s.Width()) + 7) / 8);
        } else if (bpp == 32 && !s.IsMono()) {
            std::memcpy(s.Row(y), row, static_cast<size_t>(s.Width()) * 4);
        } else {
            for (int x = 0; x < s.Width(); ++x)
                s.SetRaw(x, y, ColorToPixel(s, f.Pixel(row, x)));
        }
    }
}

bool IsMonoDc(HDC hdc)
{
    if (!hdc)
        return false;
    auto dc = DcFromHandle(hdc);
    return dc && dc->kind == DcKind::Memory && dc->IsMono();
}

} // namespace

BitmapObj::~BitmapObj() = default;

void BitmapObj::SyncIn()
{
    if (!isDib || !buffered || !surface)
        return;
    const DibFormat f = FormatOf(*this);
    // Row i of DIB memory is scan i.
    DibToSurface(f, dibBits, 0, f.height, *surface);
}

void BitmapObj::SyncOut()
{
    if (!isDib || !buffered || !surface)
        return;
    const DibFormat f = FormatOf(*this);
    SurfaceToDib(*surface, f, dibBits, 0, f.height);
}

// A DIB section from a validated format; `bits` out.
std::shared_ptr<BitmapObj> MakeDibSection(const DibFormat& f, const BITMAPINFOHEADER& hdr, void** bits)
{
    auto bm = std::make_shared<BitmapObj>();
    bm->isDib = true;
    bm->dibHeader = hdr;
    bm->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    bm->dibHeader.biSizeImage = static_cast<DWORD>(f.ImageBytes());
    bm->colorTable = f.colors;
    std::memcpy(bm->dibMasks, f.masks, sizeof f.masks);
    bm->dibStride = f.stride;
    const size_t bytes = f.ImageBytes();
    bm->dibStorage = std::shared_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]());
    if (!bm->dibStorage) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bm->dibBits = bm->dibStorage.get();
    const bool shared32 = f.bpp == 32 && f.masks[0] == 0xFF0000u && f.masks[1] == 0xFF00u && f.masks[2] == 0xFFu;
    if (shared32 || f.bpp == 1) {
        const ptrdiff_t stride = static_cast<ptrdiff_t>(f.stride);
        uint8_t* first = f.bottomUp ? bm->dibBits + static_cast<ptrdiff_t>(f.height - 1) * stride : bm->dibBits;
        bm->surface = Surface::Wrap(f.width, f.height, f.bpp == 1 ? PixelFormat::Mono1 : PixelFormat::Bgrx32, first,
            f.bottomUp ? -stride : stride, std::shared_ptr<void>(bm->dibStorage, bm->dibBits));
        if (f.bpp == 1)
            bm->surface->SetPalette(RGB(f.colors[0].rgbRed, f.colors[0].rgbGreen, f.colors[0].rgbBlue),
                RGB(f.colors[1].rgbRed, f.colors[1].rgbGreen, f.colors[1].rgbBlue));
    } else {
        bm->buffered = true;
        bm->surface = Surface::Create(f.width, f.height, PixelFormat::Bgrx32);
        if (bm->surface)
            bm->SyncIn(); // zeroed memory is colour 0 of the table, not necessarily black
    }
    if (!bm->surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bits)
        *bits = bm->dibBits;
    return bm;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits)
{
    if (nWidth < 0 || nHeight < 0 || nPlanes != 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 16 && nBitCount != 24 && nBitCount != 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (nWidth == 0 || nHeight == 0)
        return static_cast<HBITMAP>(DefaultBitmap()->Handle()); // the stock 1x1 mono bitmap, as Windows
    auto bm = NewDdb(nWidth, nHeight, nBitCount == 1);
    if (!bm)
        return nullptr;
    if (lpBits) {
        const size_t cb = DdbStride(nWidth, static_cast<int>(nBitCount)) * static_cast<size_t>(nHeight);
        LoadDdbBits(*bm->surface, static_cast<int>(nBitCount), static_cast<const uint8_t*>(lpBits), cb);
    }
    return Register(std::move(bm));
}

HBITMAP CreateBitmapIndirect(const BITMAP* pbm)
{
    if (!pbm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateBitmap(pbm->bmWidth, pbm->bmHeight, pbm->bmPlanes, pbm->bmBitsPixel, pbm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return nullptr;
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (cx == 0 || cy == 0)
        return static_cast<HBITMAP>(DefaultBitmap()->Handle());
    // A memory DC makes bitmaps of its selected bitmap's format: a fresh one is mono.
    const bool mono = dc->kind == DcKind::Memory && dc->IsMono();
    auto bm = NewDdb(cx, cy, mono);
    return bm ? Register(std::move(bm)) : nullptr;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection, DWORD offset)
{
    if (ppvBits)
        *ppvBits = nullptr;
    if (hdc && !DcFromHandle(hdc))
        return nullptr;
    if (hSection) { // no file mappings here: refuse rather than ignore the caller's memory
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto f = ParseDib(pbmi, usage);
    if (!f)
        return nullptr;
    auto bm = MakeDibSection(*f, pbmi->bmiHeader, ppvBits);
    if (!bm)
        return nullptr;
    HBITMAP h = Register(std::move(bm));
    if (!h && ppvBits)
        *ppvBits = nullptr;
    return h;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* pjBits,
    const BITMAPINFO* pbmi, UINT iUsage)
{
    if (!pbmih) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hdc && !DcFromHandle(hdc))
        return nullptr;
    const LONG w = pbmih->biWidth;
    const LONG h = pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight;
    if (w <= 0 || h <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<DibFormat> f;
    if ((flInit & CBM_INIT) && pjBits) {
        f = ParseDib(pbmi, iUsage);
        if (!f)
            return nullptr;
    }
    // Mono when the DC is a mono memory DC, or the DIB is 1 bit with a black/white table.
    bool mono = IsMonoDc(hdc);
    if (!mono && pbmih->biBitCount == 1 && f) {
        const auto& c = f->colors;
        mono = RGB(c[0].rgbRed, c[0].rgbGreen, c[0].rgbBlue) == 0 &&
            RGB(c[1].rgbRed, c[1].rgbGreen, c[1].rgbBlue) == 0xFFFFFF;
    }
    auto bm = NewDdb(w, h, mono);
    if (!bm)
        return nullptr;
    if (f)
        DibToSurface(*f, static_cast<const uint8_t*>(pjBits), 0, f->height, *bm->surface);
    return Register(std::move(bm));
}

namespace {
// Writes the colour table GetDIBits reports after the header.
void WriteColorTable(BITMAPINFO* bmi, const std::vector<RGBQUAD>& table)
{
    auto* dst = reinterpret_cast<uint8_t*>(bmi) + bmi->bmiHeader.biSize;
    std::memcpy(dst, table.data(), table.size() * sizeof(RGBQUAD));
}

std::vector<RGBQUAD> ReportedTable(const BitmapObj& bm, int bpp)
{
    if (bm.isDib && bm.dibHeader.biBitCount == bpp && !bm.colorTable.empty())
        return bm.colorTable;
    if (bpp == 1 && bm.surface->IsMono()) {
        const COLORREF c0 = bm.surface->PaletteColor(0), c1 = bm.surface->PaletteColor(1);
        return {RGBQUAD{GetBValue(c0), GetGValue(c0), GetRValue(c0), 0},
            RGBQUAD{GetBValue(c1), GetGValue(c1), GetRValue(c1), 0}};
    }
    return DefaultColorTable(bpp);
}
} // namespace

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage)
{
    if (!DcFromHandle(hdc))
        return 0;
    auto bm = BitmapFromHandle(hbm);
    if (!bm)
        return 0;
    if (!lpbmi || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bm->SyncIn();
    const Surface& s = *bm->surface;
    BITMAPINFOHEADER& h = lpbmi->bmiHeader;
    if (!lpvBits && h.biBitCount == 0) {
        // The query: describe the bitmap.
        h.biWidth = s.Width();
        h.biHeight = bm->isDib ? bm->dibHeader.biHeight : s.Height();
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bm->isDib ? bm->dibHeader.biBitCount : s.BitsPerPixel());
        h.biCompression = bm->isDib ? bm->dibHeader.biCompression : BI_RGB;
        h.biSizeImage = static_cast<DWORD>(DibStride(s.Width(), h.biBitCount) * static_cast<size_t>(s.Height()));
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
        return s.Height();
    }
    auto f = ParseDib(lpbmi, usage, false);
    if (!f)
        return 0;
    if (f->bpp <= 8) {
        f->colors = ReportedTable(*bm, f->bpp);
        WriteColorTable(lpbmi, f->colors);
    }
    h.biSizeImage = static_cast<DWORD>(f->ImageBytes());
    if (!lpvBits)
        return s.Height();
    if (f->width != s.Width()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Scan lines count from the bottom for bottom-up output. The requested lines are
    // clipped to the bitmap's height.
    const int H = s.Height();
    f->height = H;
    if (start >= static_cast<UINT>(H))
        return 0;
    const int lines = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(H) - start));
    SurfaceToDib(s, *f, static_cast<uint8_t*>(lpvBits), static_cast<int>(start), lines);
    return lines;
}

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits, const BITMAPINFO* lpbmi, UINT usage)
{
    if (hdc && !DcFromHandle(hdc))
        return 0;
    auto bm = BitmapFromHandle(hbm);
    if (!bm)
        return 0;
    if (!lpBits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto f = ParseDib(lpbmi, usage);
    if (!f)
        return 0;
    if (start >= static_cast<UINT>(f->height))
        return 0;
    const int lines = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(f->height) - start));
    bm->SyncIn();
    // Rows of a DIB taller or wider than the bitmap are cut to the bitmap, aligned at
    // its top-left (the bitmap's row y takes the DIB's row y).
    DibToSurface(*f, static_cast<const uint8_t*>(lpBits), static_cast<int>(start), lines, *bm->surface);
    bm->SyncOut();
    return lines;
}

LONG GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits)
{
    auto bm = BitmapFromHandle(hbit);
    if (!bm)
        return 0;
    bm->SyncIn();
    const Surface& s = *bm->surface;
    const size_t stride = DdbStride(s.Width(), s.BitsPerPixel());
    const size_t total = stride * static_cast<size_t>(s.Height());
    if (!lpvBits)
        return static_cast<LONG>(total);
    if (cb <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t want = std::min(total, static_cast<size_t>(cb));
    auto* out = static_cast<uint8_t*>(lpvBits);
    const size_t rowBytes = s.IsMono() ? (static_cast<size_t>(s.Width()) + 7) / 8 : static_cast<size_t>(s.Width()) * 4;
    size_t done = 0;
    for (int y = 0; y < s.Height() && done < want; ++y) {
        const size_t n = std::min(stride, want - done);
        std::memset(out + done, 0, n);
        std::memcpy(out + done, s.Row(y), std::min(n, rowBytes));
        done += n;
    }
    return static_cast<LONG>(done);
}

LONG SetBitmapBits(HBITMAP hbm, DWORD cb, const void* pvBits)
{
    auto bm = BitmapFromHandle(hbm);
    if (!bm)
        return 0;
    if (!pvBits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bm->SyncIn();
    Surface& s = *bm->surface;
    const size_t stride = DdbStride(s.Width(), s.BitsPerPixel());
    const size_t total = std::min(stride * static_cast<size_t>(s.Height()), static_cast<size_t>(cb));
    const auto* in = static_cast<const uint8_t*>(pvBits);
    const size_t rowBytes = s.IsMono() ? (static_cast<size_t>(s.Width()) + 7) / 8 : static_cast<size_t>(s.Width()) * 4;
    size_t done = 0;
    for (int y = 0; y < s.Height() && done < total; ++y) {
        const size_t n = std::min(stride, total - done);
        std::memcpy(s.Row(y), in + done, std::min(n, rowBytes));
        done += n;
    }
    bm->SyncOut();
    return static_cast<LONG>(done);
}
