#pragma once
// Image lists: the common controls' collections of same-sized images, each with a colour
// plane and (ILC_MASK) a mask plane, drawn through our raster operations.
//
// Storage: every image keeps full colour whatever ILC_COLOR* depth was asked for (the
// depth is recorded and reported); ILC_COLOR32 lists also keep each pixel's alpha.
// Mask bits are 1 where the image is transparent.
//
// Drawing (ImageList_Draw, ImageList_DrawEx, ImageList_DrawIndirect), per pixel with
// colour c, mask m (0 opaque, 1 transparent; lists without ILC_MASK are opaque):
//   ILD_NORMAL with a background colour bk (the list's, or rgbBk; not CLR_NONE):
//       m ? bk XOR c : c            (a copy; c is black where the image is transparent)
//   ILD_TRANSPARENT, or a background of CLR_NONE:
//       the mask blitted with SRCAND, then the colour with SRCINVERT, as icons draw:
//       transparent where m = 1 and c black, inverted where m = 1 and c white
//   ILD_MASK        the mask alone: opaque pixels black, transparent ones white (SRCCOPY,
//                   or dwRop with ILD_ROP); the destination's text and background
//                   colours do not matter
//   ILD_IMAGE       the colour plane alone (SRCCOPY, or dwRop with ILD_ROP)
//   ILD_ROP alone   the colour plane with dwRop
//   ILD_BLEND50 (ILD_SELECTED, ILD_BLEND)  each channel of an opaque pixel averaged with
//                   the blend colour f: (c + f) / 2, rounded down
//   ILD_BLEND25 (ILD_FOCUS)  a quarter of the blend colour: (3c + f) / 4, rounded down
//       The blend colour is rgbFg: CLR_DEFAULT means COLOR_HIGHLIGHT; CLR_NONE blends
//       with the destination's pixels instead. ILD_BLEND50 wins over ILD_BLEND25.
//   Overlays: INDEXTOOVERLAYMASK(n) in fStyle draws overlay n (ImageList_SetOverlayImage)
//       over the image, transparently (in ILD_MASK mode its mask is ANDed in).
//   Images of an ILC_COLOR32 list with alpha draw with per-pixel alpha blending in the
//   ILD_NORMAL/ILD_TRANSPARENT modes (over the background colour when one applies).
//   Drawing reads the list's strips in place, the list locked meanwhile; only the modes
//   that change pixels first (blends, a background colour, alpha) work on a copy.
//
// Drag images are drawn on the screen (GetDC(NULL)): the covered pixels are saved before
// drawing and put back when the image moves or hides, so nothing is XOR-drawn.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"

ZYN_DECLARE_HANDLE(HIMAGELIST);

class CArchive;

inline constexpr UINT ILC_MASK = 0x00000001, ILC_COLOR = 0x00000000, ILC_COLORDDB = 0x000000FE,
                      ILC_COLOR4 = 0x00000004, ILC_COLOR8 = 0x00000008, ILC_COLOR16 = 0x00000010,
                      ILC_COLOR24 = 0x00000018, ILC_COLOR32 = 0x00000020, ILC_PALETTE = 0x00000800,
                      ILC_MIRROR = 0x00002000, ILC_PERITEMMIRROR = 0x00008000, ILC_ORIGINALSIZE = 0x00010000,
                      ILC_HIGHQUALITYSCALE = 0x00020000;
inline constexpr UINT ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_BLEND25 = 0x0002, ILD_BLEND50 = 0x0004,
                      ILD_MASK = 0x0010, ILD_IMAGE = 0x0020, ILD_ROP = 0x0040, ILD_OVERLAYMASK = 0x0F00,
                      ILD_PRESERVEALPHA = 0x1000, ILD_SCALE = 0x2000, ILD_DPISCALE = 0x4000, ILD_ASYNC = 0x8000,
                      ILD_SELECTED = ILD_BLEND50, ILD_FOCUS = ILD_BLEND25, ILD_BLEND = ILD_BLEND50;
inline constexpr UINT ILS_NORMAL = 0x0, ILS_GLOW = 0x1, ILS_SHADOW = 0x2, ILS_SATURATE = 0x4, ILS_ALPHA = 0x8;
inline constexpr UINT ILCF_MOVE = 0x0, ILCF_SWAP = 0x1;
inline constexpr COLORREF CLR_HILIGHT = CLR_DEFAULT;
constexpr UINT INDEXTOOVERLAYMASK(UINT i) { return i << 8; }

struct IMAGEINFO {
    HBITMAP hbmImage;   // the list's colour bitmap (owned by the list: do not delete)
    HBITMAP hbmMask;    // the list's mask bitmap, or null without ILC_MASK
    int Unused1;
    int Unused2;
    RECT rcImage;       // the image's place in those bitmaps
};
using LPIMAGEINFO = IMAGEINFO*;

struct IMAGELISTDRAWPARAMS {
    DWORD cbSize;
    HIMAGELIST himl;
    int i;
    HDC hdcDst;
    int x;
    int y;
    int cx;             // 0: the image's width (less xBitmap)
    int cy;
    int xBitmap;        // offset inside the image
    int yBitmap;
    COLORREF rgbBk;
    COLORREF rgbFg;
    UINT fStyle;
    DWORD dwRop;
    DWORD fState;       // ILS_*: accepted, no effect
    DWORD Frame;
    COLORREF crEffect;
};
using LPIMAGELISTDRAWPARAMS = IMAGELISTDRAWPARAMS*;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
// Grows with blank (black, transparent) images or drops images from the end.
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
// Adds bitmap.width / cx images from a strip; the mask bitmap (white = transparent) is
// used when the list has ILC_MASK (null: opaque, or from alpha for 32-bit images).
// The index of the first new image, or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// Adds images whose pixels of colour crMask (CLR_DEFAULT: the top-left pixel's) are
// transparent; those pixels are stored black. The caller's bitmap is not changed.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
// Replaces image i by an icon (scaled to the list's size); i = -1 appends. The index, or -1.
int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
int ImageList_AddIcon(HIMAGELIST himl, HICON hicon);
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// i = -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
BOOL ImageList_RemoveAll(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Changes the image size and removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);
// A new icon of image i (its mask, or an opaque one without ILC_MASK); the caller destroys it.
HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
HICON ImageList_ExtractIcon(HINSTANCE hi, HIMAGELIST himl, int i);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);  // the previous colour
COLORREF ImageList_GetBkColor(HIMAGELIST himl);                  // CLR_NONE by default
// Makes image iImage overlay number iOverlay (1..15).
BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay);
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
    COLORREF rgbFg, UINT fStyle);
BOOL ImageList_DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
// Within one list (or two lists of the same image size): ILCF_MOVE copies image iSrc over
// iDst, ILCF_SWAP exchanges them.
BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags);
// A new list with one image: image i2 of the second list drawn transparently over image
// i1 of the first at offset (dx, dy); the size covers both, the mask is their union.
HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy);
HIMAGELIST ImageList_Duplicate(HIMAGELIST himl);
// A list from a bitmap resource (or file with LR_LOADFROMFILE): images cx wide (0: square)
// and as high as the bitmap, masked by crMask unless it is CLR_NONE. uType IMAGE_ICON and
// IMAGE_CURSOR load one icon into a list of its size.
HIMAGELIST ImageList_LoadImageW(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType,
    UINT uFlags);
HIMAGELIST ImageList_LoadImage(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType,
    UINT uFlags);
HIMAGELIST ImageList_LoadBitmap(HINSTANCE hi, LPCWSTR lpbmp, int cx, int cGrow, COLORREF crMask);

// ---- drag images -------------------------------------------------------------------------
// One drag at a time per process. Positions are relative to the lock window's top-left
// corner (the screen for a null window); the image's hotspot is placed on the position.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragLeave(HWND hwndLock);
void ImageList_EndDrag();
BOOL ImageList_DragShowNolock(BOOL fShow);
// Combines an image (usually a cursor's) with the drag image: its hotspot (dxHotspot,
// dyHotspot) lands on the drag image's hotspot. A later call replaces the earlier image.
BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot);
// The drag image list (owned by the drag) and the current position and hotspot.
HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot);

// ---- streams ------------------------------------------------------------------------------
namespace zyn::gdi {

// What ImageList_Write and ImageList_Read move bytes through.
class ImageListStream {
public:
    virtual ~ImageListStream() = default;
    // Reads exactly n bytes; false when fewer are available.
    virtual bool Read(void* buffer, size_t n) = 0;
    virtual bool Write(const void* data, size_t n) = 0;
};

// A stream over a byte vector: writes append, reads advance from the start.
class ByteVectorStream final : public ImageListStream {
public:
    ByteVectorStream() = default;
    explicit ByteVectorStream(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    bool Read(void* buffer, size_t n) override;
    bool Write(const void* data, size_t n) override;
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    size_t Position() const { return m_pos; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_pos = 0;
};

// A stream over a CArchive (what the class library's CImageList::Write and Read use). Its
// exceptions become false with the last error set (ERROR_HANDLE_EOF at the end of data,
// ERROR_WRITE_FAULT / ERROR_READ_FAULT otherwise).
class ArchiveImageListStream final : public ImageListStream {
public:
    explicit ArchiveImageListStream(CArchive& ar) : m_ar(ar) {}
    bool Read(void* buffer, size_t n) override;
    bool Write(const void* data, size_t n) override;

private:
    CArchive& m_ar;
};

// Live image lists, for leak tests.
size_t LiveImageListCount();

// A number that changes whenever what a list draws may have changed through the list's
// functions (its images, their size, its background colour, its overlays); no two lists
// ever share one, so a picture drawn from a list can be kept while the number stays. 0 for
// a bad handle, and for a list whose strips ImageList_GetImageInfo handed out: drawing
// into those bitmaps changes the images unseen.
uint64_t ImageListGeneration(HIMAGELIST himl);

// Where a window's top-left corner is on the screen, for the drag functions' lock window
// (installed by the window system; without it a window counts as sitting at 0,0).
using WindowOriginHook = std::function<bool(HWND, POINT&)>;
void SetDragWindowOriginHook(WindowOriginHook hook);

} // namespace zyn::gdi

// The stream format (all numbers little-endian):
//   offset  size  field
//   0       4     magic "ZIML"
//   4       2     format version (1)
//   6       2     header bytes that follow before the overlay table (28 in version 1;
//                 readers skip any extra)
//   8       4     cx, image width (1..4096)
//   12      4     cy, image height (1..4096)
//   16      4     flags (ILC_*)
//   20      4     image count (0..65535)
//   24      4     growth
//   28      4     background colour (COLORREF, CLR_NONE)
//   32      4     overlay count n (0..15)
//   36      4n    overlay image indexes (-1: none)
//   then per image: a flags byte (bit 0: the image has alpha), cy rows of cx pixels as
//   B, G, R, A bytes, top row first; with ILC_MASK, cy rows of (cx + 7) / 8 bytes, most
//   significant bit first, 1 = transparent.
// A reader refuses another magic or version, sizes out of range, overlay indexes outside
// the list and truncated data, without creating a list.
BOOL ImageList_Write(HIMAGELIST himl, zyn::gdi::ImageListStream* stream);
HIMAGELIST ImageList_Read(zyn::gdi::ImageListStream* stream);
