#pragma once
// The device context behind an HDC and the raster helpers every drawing function uses.
//
// Coordinate spaces:
//   logical  what the API takes. MM_TEXT only: device = logical - windowOrg + viewportOrg.
//   device   the DC's own pixels; (0,0) is the DC origin (a window's corner, a bitmap's
//            top-left). System region, application clip and the helpers below use it.
//   surface  pixels of the target Surface: surface = device + Dc::origin.
// The effective clip (Dc::Clip(), surface coordinates) is always
//   surface bounds  ∩  (system region + origin)  ∩  (application clip + origin).
//
// Drawing functions follow one pattern:
//   auto dc = DcFromHandle(hdc); if (!dc) return FALSE;      // ERROR_INVALID_HANDLE set
//   DrawScope scope(*dc);                                     // DIB-section sync
//   ... LogicalToDevice, then FillDeviceRect / SetDevicePixel / BlendCoverage /
//       ForEachClipRect on device coordinates ...
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/printer.h"
#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

enum class DcKind : uint8_t { Memory, Screen, Window, Printer };

// Device coordinates are kept within +-kCoordLimit (far beyond any surface), so sums of
// two coordinates never overflow.
inline constexpr int kCoordLimit = 1 << 29;
constexpr LONG ClampCoord(int64_t v)
{
    return static_cast<LONG>(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
}

// What SaveDC saves and RestoreDC brings back.
struct DcState {
    Selection pen, brush, font, bitmap; // bitmap: memory and printer DCs
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int mapMode = MM_TEXT;
    POINT brushOrg{0, 0};     // device coordinates
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    POINT curPos{0, 0};       // logical
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0x000000;
    int charExtra = 0;
    std::optional<Region> clip; // the application clip, device coordinates
};

// A printer DC's document: each page is rasterised into a fresh surface at `dpi`.
struct PrinterJob {
    int dpi = 300;
    int widthPx = 0, heightPx = 0;        // the sheet in device pixels
    int offsetX = 0, offsetY = 0;         // the printable area's corner on the sheet
    int printableWidthPx = 0, printableHeightPx = 0;
    bool inDoc = false, inPage = false;
    std::vector<std::shared_ptr<Surface>> pages; // finished pages
    std::shared_ptr<BitmapObj> page;      // the page being drawn
    std::shared_ptr<PrintedDocument> doc; // the document being printed, or the last one
    std::vector<PrintedRun> runs;         // the text runs of the page being drawn
};

class Dc {
public:
    Dc() = default;
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;
    ~Dc();

    DcKind kind = DcKind::Memory;
    HDC handle = nullptr;
    HWND hwnd = nullptr;                   // window DCs
    std::shared_ptr<Surface> surface;      // the target; a memory DC's selected bitmap's
    POINT origin{0, 0};                    // surface position of device (0,0)
    std::optional<Region> sysRegion;       // device coordinates; none = the whole surface
    DcState st;
    std::vector<DcState> saved;            // SaveDC stack, oldest first
    std::unique_ptr<PrinterJob> printer;   // printer DCs
    // Screen pixels this DC wrote since its last flush (surface coordinates); handed to
    // the desktop's damage record when a drawing call ends (DrawScope) or the DC goes.
    RECT drawn{0, 0, 0, 0};

    bool OnScreen() const { return kind == DcKind::Window || kind == DcKind::Screen; }
    // Widens `drawn` by a surface rectangle about to be written (screen DCs only).
    void NoteDrawn(const RECT& r)
    {
        if (!OnScreen() || r.left >= r.right || r.top >= r.bottom)
            return;
        if (drawn.left >= drawn.right || drawn.top >= drawn.bottom) {
            drawn = r;
            return;
        }
        drawn.left = std::min(drawn.left, r.left);
        drawn.top = std::min(drawn.top, r.top);
        drawn.right = std::max(drawn.right, r.right);
        drawn.bottom = std::max(drawn.bottom, r.bottom);
    }

    // The effective clip in surface coordinates (recomputed after ClipChanged()).
    const Region& Clip();
    void ClipChanged() { m_clipValid = false; }
    // The clip region narrowed by a device rectangle (kept, or cut away) in the same way
    // st.clip just was: the effective clip follows without being worked out again.
    void ClipNarrowed(const RECT& device, bool keep);
    // Whether any part of a logical rectangle lies inside the effective clip (RectVisible).
    bool RectVisible(const RECT& logical);

    BitmapObj* Bitmap() const { return st.bitmap.As<BitmapObj>(); }
    PenObj* Pen() const { return st.pen.As<PenObj>(); }
    BrushObj* Brush() const { return st.brush.As<BrushObj>(); }
    FontObj* Font() const { return st.font.As<FontObj>(); }
    bool IsMono() const { return surface && surface->IsMono(); }

    // Logical <-> device (MM_TEXT), saturated to +-kCoordLimit so that extreme input
    // cannot overflow later arithmetic.
    POINT ToDevice(POINT p) const
    {
        return POINT{ClampCoord(int64_t(p.x) - st.windowOrg.x + st.viewportOrg.x),
            ClampCoord(int64_t(p.y) - st.windowOrg.y + st.viewportOrg.y)};
    }
    POINT ToLogical(POINT p) const
    {
        return POINT{ClampCoord(int64_t(p.x) + st.windowOrg.x - st.viewportOrg.x),
            ClampCoord(int64_t(p.y) + st.windowOrg.y - st.viewportOrg.y)};
    }
    // A logical rectangle in device coordinates, normalised (left <= right, top <= bottom).
    RECT ToDevice(const RECT& r) const;
    // Device offset added to logical coordinates.
    POINT LogicalDelta() const
    {
        return POINT{st.viewportOrg.x - st.windowOrg.x, st.viewportOrg.y - st.windowOrg.y};
    }

    // The pen colour, brush colour of DC_PEN / DC_BRUSH and system-colour brushes resolved.
    COLORREF PenColor() const;
    COLORREF BrushColor(const BrushObj& b) const;

private:
    Region m_clip;
    bool m_clipValid = false;
};

// ---- handles --------------------------------------------------------------------------
// The DC of a live handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<Dc> DcFromHandle(HDC h);
// Registers a new DC (defaults: stock black pen, white brush, system font, and for memory
// DCs the 1x1 mono default bitmap) and returns its handle.
HDC AddDc(std::shared_ptr<Dc> dc);

// The point fields of the state behind the API (origins, brush origin, current
// position). SetStatePoint stores (x, y), or adds it when `relative`, and hands the old
// point back through `prev` when given; GetStatePoint copies the point out.
BOOL SetStatePoint(HDC hdc, POINT DcState::*member, int x, int y, bool relative, LPPOINT prev);
BOOL GetStatePoint(HDC hdc, POINT DcState::*member, LPPOINT out);
// Removes a DC from the table (its selections are released when the last reference goes).
bool RemoveDc(HDC h);

// ---- the desktop and the window system's entry points -------------------------------------
std::shared_ptr<Surface> DesktopSurface();
// Replaces the desktop framebuffer by a black one of the given size (tests; default 1280x1024).
void ResetDesktop(int width, int height);
// Replaces the framebuffer by one of the given size that keeps the old pixels where both
// overlap (a display resize). DCs made before keep drawing into the old one, so callers
// repaint every window afterwards. False (nothing changes) for a size no surface can have.
bool ResizeDesktop(int width, int height);
// A DC on the desktop whose device (0,0) sits at `origin` on the screen, clipped to
// `sysRegion` (device coordinates; null: no restriction but the screen). DeleteDC or
// ReleaseDC(hwnd, hdc) frees it.
HDC CreateWindowDc(HWND hwnd, POINT origin, const Region* sysRegion);
// Sets or clears (null) the system visible region of a DC, in its device coordinates.
BOOL SetSystemRegion(HDC hdc, const Region* rgn);
// The window system installs these for GetDC(hwnd) / ReleaseDC(hwnd, hdc) with a
// non-null window; without them such calls fail with ERROR_INVALID_WINDOW_HANDLE.
using GetDcHook = std::function<HDC(HWND)>;
using ReleaseDcHook = std::function<int(HWND, HDC)>;
void SetWindowDcHooks(GetDcHook get, ReleaseDcHook release);

// ---- DIB-section synchronisation ------------------------------------------------------------
// Brings buffered DIB-section memory into the surface on entry and (when `writes`) back
// out on exit, for the DC's selected bitmap; on exit a screen DC's drawn pixels become
// desktop damage. Every public drawing call holds one.
class DrawScope {
public:
    explicit DrawScope(Dc& dc, bool writes = true);
    ~DrawScope();
    DrawScope(const DrawScope&) = delete;
    DrawScope& operator=(const DrawScope&) = delete;

private:
    Dc& m_dc;
    std::shared_ptr<GdiObject> m_bitmap;
    bool m_writes;
};

// ---- raster operations ----------------------------------------------------------------------
// A ternary raster operation on bit vectors: bit i of `table` (the rop's bits 16-23) is
// the result for index (P<<2)|(S<<1)|D.
constexpr uint32_t EvalRop3(uint8_t table, uint32_t P, uint32_t S, uint32_t D)
{
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((table >> i) & 1u))
            continue;
        const uint32_t p = (i & 4) ? P : ~P;
        const uint32_t s = (i & 2) ? S : ~S;
        const uint32_t d = (i & 1) ? D : ~D;
        r |= p & s & d;
    }
    return r;
}
constexpr uint8_t Rop3Table(DWORD rop) { return static_cast<uint8_t>((rop >> 16) & 0xFF); }
// Whether a rop reads the source / pattern / destination.
constexpr bool RopUsesSource(uint8_t t) { return ((t >> 2) & 0x33) != (t & 0x33); }
constexpr bool RopUsesPattern(uint8_t t) { return ((t >> 4) & 0x0F) != (t & 0x0F); }
constexpr bool RopUsesDest(uint8_t t) { return ((t >> 1) & 0x55) != (t & 0x55); }
// A binary mix (R2_BLACK..R2_WHITE): code-1 is the truth table indexed (P<<1)|D.
constexpr uint32_t EvalRop2(int rop2, uint32_t P, uint32_t D)
{
    const unsigned t = static_cast<unsigned>(rop2 - 1) & 0xF;
    uint32_t r = 0;
    if (t & 1u) r |= ~P & ~D;
    if (t & 2u) r |= ~P & D;
    if (t & 4u) r |= P & ~D;
    if (t & 8u) r |= P & D;
    return r;
}

// StretchBlt (BitBlt when the sizes agree) from a surface that no DC holds, as from a
// fresh memory DC with the surface selected, without making one: the source rectangle is
// in surface coordinates. False (ERROR_INVALID_PARAMETER, or the handle's error) on failure.
bool BlitSurface(HDC hdc, int x, int y, int w, int h, const Surface& src, int xs, int ys, int ws, int hs, DWORD rop);

// What an SRCAND blit of a mask plane (0 black, 1 white) followed by an SRCINVERT blit of
// a colour plane does to a colour (not mono) destination, in one pass: masked pixels
// become the destination XOR the colour, the others the colour; alpha bytes come out
// clear. Both planes are read from (xs, ys); pixels whose source lies outside them stay.
bool MaskedInvertSurface(
    HDC hdc, int x, int y, int w, int h, const Surface& mask, const Surface& color, int xs, int ys);

// A brush as seen by one DC: the raw pixel (in the DC surface's format) at a surface
// position, honouring the brush origin, hatch background (bk mode / colour) and the
// mono pattern colours (text / background colour).
class BrushSampler {
public:
    BrushSampler(const Dc& dc, const BrushObj* brush);
    BrushSampler(const Dc& dc, COLORREF solid); // a solid colour
    bool IsNull() const { return m_null; }
    bool IsSolid() const { return m_solid; }
    uint32_t SolidPixel() const { return m_solidPixel; }
    // Raw pixel at surface (x, y); false where a hatch background is transparent.
    bool At(int x, int y, uint32_t& px) const;
    // Whether every pixel of the brush is drawn (not null, no transparent hatch gaps),
    // so that Row can serve.
    bool RowReady() const { return !m_null && !(m_hatch && !m_hatchOpaque); }
    // The raw pixels of surface row y from x on, n of them (RowReady brushes).
    void Row(int x, int y, size_t n, uint32_t* out) const;

private:
    bool m_null = false;
    bool m_solid = false;
    uint32_t m_solidPixel = 0;
    const Surface* m_pattern = nullptr;
    std::shared_ptr<Surface> m_keep;
    bool m_hatch = false;
    bool m_hatchOpaque = false;
    uint32_t m_fore = 0, m_back = 0;       // hatch line / background, or mono pattern 1/0 pixels
    bool m_monoPattern = false;
    int m_orgX = 0, m_orgY = 0;             // brush origin in surface coordinates
    std::vector<uint32_t> m_converted;      // colour patterns converted to a mono target
    int m_pw = 0, m_ph = 0;
};

// Calls f(const RECT& surfaceRect) for each rectangle of the effective clip inside the
// device-space `bound`, in surface coordinates.
template <class F>
void ForEachClipRect(Dc& dc, const RECT& deviceBound, F&& f)
{
    const RECT b{deviceBound.left + dc.origin.x, deviceBound.top + dc.origin.y, deviceBound.right + dc.origin.x,
        deviceBound.bottom + dc.origin.y};
    if (b.left >= b.right || b.top >= b.bottom)
        return;
    const Region& clip = dc.Clip();
    if (dc.OnScreen()) {
        const RECT box = clip.Box();
        dc.NoteDrawn(RECT{std::max(b.left, box.left), std::max(b.top, box.top), std::min(b.right, box.right),
            std::min(b.bottom, box.bottom)});
    }
    clip.ForEachIn(b, f);
}

// Fills a device rectangle with a brush through a ternary rop that ignores the source
// (PatBlt's rops; S reads as 0). A null brush draws nothing with a rop that uses the
// pattern; rops without P (DSTINVERT, BLACKNESS, WHITENESS) ignore the brush.
void FillDeviceRect(Dc& dc, const RECT& device, const BrushObj* brush, DWORD rop3);
void FillDeviceRegion(Dc& dc, const Region& device, const BrushObj* brush, DWORD rop3);
// Paints with a brush through the DC's binary mix (shape interiors, FillRgn/PaintRgn use
// PATCOPY via FillDeviceRect instead). Null brushes paint nothing.
void PaintDeviceRect(Dc& dc, const RECT& device, const BrushObj* brush);
void PaintDeviceRegion(Dc& dc, const Region& device, const BrushObj* brush);
// One pixel / one device rectangle of a colour through the DC's binary mix, clipped.
void SetDevicePixel(Dc& dc, int x, int y, COLORREF color);
void MixDeviceRect(Dc& dc, const RECT& device, COLORREF color);
// The colour at a device pixel; false outside the surface (clipping is not consulted).
bool ReadDevicePixel(Dc& dc, int x, int y, COLORREF& color);
// Blends a colour with coverage 0..255 (w x h bytes, `stride` bytes a row) whose top-left
// lands at device (x, y), clipped. Coverage c mixes dst + (color - dst) * c / 255; on a
// mono surface a coverage of 128 or more sets the colour's nearest index, less leaves
// the pixel (aliased).
void BlendCoverage(Dc& dc, int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color);
// The general fill behind the helpers above: rop table `t` over a device rectangle,
// pattern from `brush`, S = 0. Rows of unclipped PATCOPY / constant rops take a fast path.
void FillDeviceRectWith(Dc& dc, const RECT& device, const BrushSampler& brush, uint8_t t);
// The rop3 table equivalent to a binary mix (S ignored).
constexpr uint8_t Rop2AsRop3Table(int rop2)
{
    const unsigned t2 = static_cast<unsigned>(rop2 - 1) & 0xF;
    unsigned t3 = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const unsigned p = (i >> 2) & 1, d = i & 1;
        if ((t2 >> ((p << 1) | d)) & 1u)
            t3 |= 1u << i;
    }
    return static_cast<uint8_t>(t3);
}

} // namespace zyn::gdi
