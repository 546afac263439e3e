// Device contexts: the DC table, the desktop framebuffer, state, selection, SaveDC and
// RestoreDC, device capabilities and coordinate mapping.
#include <algorithm>
#include <mutex>
#include <type_traits>
#include <utility>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/damage.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {

base::HandleTable<Dc>& DcTable()
{
    static base::HandleTable<Dc> table(base::HandleKind::Dc);
    return table;
}

struct Desktop {
    std::mutex mutex;
    std::shared_ptr<Surface> surface;
    GetDcHook getHook;
    ReleaseDcHook releaseHook;
};

Desktop& TheDesktop()
{
    static Desktop d;
    return d;
}

void InitDefaults(Dc& dc)
{
    dc.st.pen = Selection(StockObject(BLACK_PEN), &dc);
    dc.st.brush = Selection(StockObject(WHITE_BRUSH), &dc);
    dc.st.font = Selection(StockObject(SYSTEM_FONT), &dc);
}

} // namespace

// ---- Dc ----------------------------------------------------------------------------------
Dc::~Dc()
{
    // A drawing path that ended without a DrawScope still shows on screen.
    FlushScreenDamage(*this);
}

const Region& Dc::Clip()
{
    if (m_clipValid)
        return m_clip;
    m_clip.SetEmpty();
    if (surface) {
        m_clip.SetRect(surface->Bounds());
        if (sysRegion) {
            Region s = *sysRegion;
            s.Offset(origin.x, origin.y);
            m_clip = m_clip.Intersect(s);
        }
        if (st.clip) {
            Region c = *st.clip;
            c.Offset(origin.x, origin.y);
            m_clip = m_clip.Intersect(c);
        }
    }
    m_clipValid = true;
    return m_clip;
}

void Dc::ClipNarrowed(const RECT& device, bool keep)
{
    // The effective clip is the surface's bounds, the system region and st.clip
    // intersected: narrowing st.clip by a rectangle narrows it alike. Far out, where moving
    // by the origin could saturate, it is worked out again instead.
    constexpr LONG kFar = LONG(1) << 28;
    if (!m_clipValid || device.left < -kFar || device.top < -kFar || device.right > kFar || device.bottom > kFar ||
        origin.x < -kFar || origin.x > kFar || origin.y < -kFar || origin.y > kFar) {
        m_clipValid = false;
        return;
    }
    Region r(device);
    r.Offset(origin.x, origin.y);
    m_clip = keep ? m_clip.Intersect(r) : m_clip.Subtract(r);
}

RECT Dc::ToDevice(const RECT& r) const
{
    const POINT a = ToDevice(POINT{r.left, r.top});
    const POINT b = ToDevice(POINT{r.right, r.bottom});
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

COLORREF Dc::PenColor() const
{
    const PenObj* p = Pen();
    if (!p)
        return 0;
    return PlainColor(p->dcPen ? st.dcPenColor : p->color);
}

COLORREF Dc::BrushColor(const BrushObj& b) const { return PlainColor(b.dcBrush ? st.dcBrushColor : b.Color()); }

// ---- table ---------------------------------------------------------------------------------
std::shared_ptr<Dc> DcFromHandle(HDC h)
{
    std::shared_ptr<Dc> dc;
    if (base::KindOfHandle(h) == base::HandleKind::Dc)
        dc = DcTable().Get(h);
    if (!dc)
        SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}

HDC AddDc(std::shared_ptr<Dc> dc)
{
    Dc* raw = dc.get();
    if (!raw->st.pen)
        InitDefaults(*raw);
    if ((raw->kind == DcKind::Memory) && !raw->st.bitmap) {
        raw->st.bitmap = Selection(DefaultBitmap(), raw);
        raw->surface = DefaultBitmap()->surface;
    }
    raw->ClipChanged();
    const uint32_t v = DcTable().Add(std::move(dc));
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    raw->handle = base::MakeHandle<HDC>(v);
    return raw->handle;
}

bool RemoveDc(HDC h)
{
    if (base::KindOfHandle(h) != base::HandleKind::Dc)
        return false;
    return DcTable().Remove(h) != nullptr;
}

size_t LiveDcCount() { return DcTable().Count(); }

// ---- desktop ---------------------------------------------------------------------------------
std::shared_ptr<Surface> DesktopSurface()
{
    Desktop& d = TheDesktop();
    std::lock_guard lock(d.mutex);
    if (!d.surface)
        d.surface = Surface::Create(1280, 1024, PixelFormat::Bgrx32);
    return d.surface;
}

void ResetDesktop(int width, int height)
{
    auto s = Surface::Create(width, height, PixelFormat::Bgrx32);
    if (!s)
        return;
    {
        Desktop& d = TheDesktop();
        std::lock_guard lock(d.mutex);
        d.surface = s;
    }
    NoteNewDesktop(s);
}

bool ResizeDesktop(int width, int height)
{
    auto s = Surface::Create(width, height, PixelFormat::Bgrx32);
    if (!s)
        return false;
    {
        Desktop& d = TheDesktop();
        std::lock_guard lock(d.mutex);
        if (d.surface) {
            // What stays on screen keeps its pixels until the windows repaint, so a resize
            // does not flash black.
            const int w = std::min(width, d.surface->Width()), h = std::min(height, d.surface->Height());
            for (int y = 0; y < h; ++y)
                std::copy_n(d.surface->Row32(y), static_cast<size_t>(w), s->Row32(y));
        }
        d.surface = s;
    }
    NoteNewDesktop(s);
    return true;
}

HDC CreateWindowDc(HWND hwnd, POINT origin, const Region* sysRegion)
{
    auto dc = std::make_shared<Dc>();
    dc->kind = DcKind::Window;
    dc->hwnd = hwnd;
    dc->surface = DesktopSurface();
    dc->origin = origin;
    if (sysRegion)
        dc->sysRegion = *sysRegion;
    return AddDc(std::move(dc));
}

BOOL SetSystemRegion(HDC hdc, const Region* rgn)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (rgn)
        dc->sysRegion = *rgn;
    else
        dc->sysRegion.reset();
    dc->ClipChanged();
    return TRUE;
}

void SetWindowDcHooks(GetDcHook get, ReleaseDcHook release)
{
    Desktop& d = TheDesktop();
    std::lock_guard lock(d.mutex);
    d.getHook = std::move(get);
    d.releaseHook = std::move(release);
}

// ---- DrawScope ---------------------------------------------------------------------------------
DrawScope::DrawScope(Dc& dc, bool writes) : m_dc(dc), m_writes(writes)
{
    BitmapObj* b = dc.Bitmap();
    if (b && b->isDib && b->buffered) {
        m_bitmap = dc.st.bitmap.ptr();
        b->SyncIn();
    }
}

DrawScope::~DrawScope()
{
    if (m_bitmap && m_writes)
        static_cast<BitmapObj*>(m_bitmap.get())->SyncOut();
    if (m_writes)
        FlushScreenDamage(m_dc);
}

// Selects a bitmap into a memory or printer DC; false (with last error) when refused.
bool SelectBitmapInto(Dc& dc, const std::shared_ptr<BitmapObj>& bm)
{
    if (dc.kind != DcKind::Memory) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!bm->IsStock() && bm->SelectCount() > 0 && bm->SelectedIn() != &dc) {
        SetLastError(ERROR_BUSY);
        return false;
    }
    if (!bm->surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    dc.st.bitmap = Selection(bm, &dc);
    dc.surface = bm->surface;
    dc.ClipChanged();
    return true;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

// ---- creation ----------------------------------------------------------------------------------
HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !DcFromHandle(hdc))
        return nullptr;
    auto dc = std::make_shared<Dc>();
    dc->kind = DcKind::Memory;
    return AddDc(std::move(dc));
}

BOOL DeleteDC(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    RemoveDc(hdc);
    return TRUE;
}

HDC GetDC(HWND hWnd)
{
    if (hWnd) {
        GetDcHook hook;
        {
            Desktop& d = TheDesktop();
            std::lock_guard lock(d.mutex);
            hook = d.getHook;
        }
        if (!hook) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        return hook(hWnd);
    }
    auto dc = std::make_shared<Dc>();
    dc->kind = DcKind::Screen;
    dc->surface = DesktopSurface();
    return AddDc(std::move(dc));
}

int ReleaseDC(HWND hWnd, HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (hWnd) {
        ReleaseDcHook hook;
        {
            Desktop& d = TheDesktop();
            std::lock_guard lock(d.mutex);
            hook = d.releaseHook;
        }
        if (hook)
            return hook(hWnd, hdc);
    }
    if (dc->kind == DcKind::Memory || dc->kind == DcKind::Printer)
        return 0; // those are freed by DeleteDC
    RemoveDc(hdc);
    return 1;
}

// ---- SaveDC / RestoreDC ------------------------------------------------------------------------
int SaveDC(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->st);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int nSavedDC)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    const int size = static_cast<int>(dc->saved.size());
    const int level = nSavedDC < 0 ? size + nSavedDC + 1 : nSavedDC;
    if (nSavedDC == 0 || level < 1 || level > size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    dc->st = std::move(dc->saved[static_cast<size_t>(level - 1)]);
    dc->saved.resize(static_cast<size_t>(level - 1));
    if (BitmapObj* b = dc->Bitmap())
        dc->surface = b->surface;
    dc->ClipChanged();
    return TRUE;
}

// ---- SelectObject --------------------------------------------------------------------------------
namespace zyn::gdi {
int SelectClipRegion(Dc& dc, const Region* rgn); // clip.cpp
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return nullptr;
    auto obj = ObjectFromHandle(h);
    if (!obj)
        return nullptr;
    Dc& d = *dc;
    // Pens, brushes and fonts take their slot and hand back the one they replace.
    auto replace = [&](Selection& slot) {
        HGDIOBJ prev = slot.Handle();
        slot = Selection(obj, &d);
        return prev;
    };
    switch (obj->Type()) {
    case OBJ_PEN: return replace(d.st.pen);
    case OBJ_BRUSH: return replace(d.st.brush);
    case OBJ_FONT: return replace(d.st.font);
    case OBJ_BITMAP: {
        HGDIOBJ prev = d.st.bitmap.Handle();
        if (!SelectBitmapInto(d, std::static_pointer_cast<BitmapObj>(obj)))
            return nullptr;
        return prev;
    }
    case OBJ_REGION: {
        const int c = SelectClipRegion(d, &static_cast<RegionObj*>(obj.get())->rgn);
        if (c == ERROR_REGION)
            return HGDI_ERROR;
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(c));
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return dc->st.pen.Handle();
    case OBJ_BRUSH: return dc->st.brush.Handle();
    case OBJ_FONT: return dc->st.font.Handle();
    case OBJ_BITMAP: return dc->st.bitmap.Handle();
    case OBJ_PAL: return GetStockObject(DEFAULT_PALETTE);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

// ---- device capabilities -----------------------------------------------------------------------
int GetDeviceCaps(HDC hdc, int index)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    const bool printer = dc->kind == DcKind::Printer;
    const int dpi = printer && dc->printer ? dc->printer->dpi : 96;
    // w x h: the area drawn on (a printer's printable area).
    int w, h;
    if (printer && dc->printer) {
        w = dc->printer->printableWidthPx;
        h = dc->printer->printableHeightPx;
    } else {
        auto desk = DesktopSurface();
        w = desk->Width();
        h = desk->Height();
    }
    const int bpp = dc->kind == DcKind::Memory && dc->surface ? dc->surface->BitsPerPixel() : 32;
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE: return (w * 254 + dpi * 5) / (dpi * 10); // millimetres
    case VERTSIZE: return (h * 254 + dpi * 5) / (dpi * 10);
    case HORZRES: return w;
    case VERTRES: return h;
    case BITSPIXEL: return bpp;
    case PLANES: return 1;
    case NUMBRUSHES: return -1;
    case NUMPENS: return -1;
    case NUMFONTS: return 0;
    case NUMCOLORS: return bpp == 1 ? 2 : -1;
    case CURVECAPS: return 0xFF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7800;
    case CLIPCAPS: return 1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
            (printer ? RC_BANDING : 0);
    case ASPECTX: return 36;
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case SHADEBLENDCAPS: return SB_CONST_ALPHA | SB_PIXEL_ALPHA | SB_GRAD_RECT | SB_GRAD_TRI;
    case LOGPIXELSX: return dpi;
    case LOGPIXELSY: return dpi;
    case SIZEPALETTE: return 0;
    case COLORRES: return 24;
    case PHYSICALWIDTH: return printer && dc->printer ? dc->printer->widthPx : 0;
    case PHYSICALHEIGHT: return printer && dc->printer ? dc->printer->heightPx : 0;
    case PHYSICALOFFSETX: return printer && dc->printer ? dc->printer->offsetX : 0;
    case PHYSICALOFFSETY: return printer && dc->printer ? dc->printer->offsetY : 0;
    case BLTALIGNMENT: return 0;
    default: return 0;
    }
}

// ---- mapping and origins -------------------------------------------------------------------------
int SetMapMode(HDC hdc, int mode)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (mode != MM_TEXT) {
        // Only MM_TEXT is supported: refuse scaling modes instead of drawing at a wrong scale.
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const int prev = dc->st.mapMode;
    dc->st.mapMode = mode;
    return prev;
}

namespace {
// Swaps a field of the DC state and answers the old value, or `failed` for a bad handle.
template <class T>
T ExchangeState(HDC hdc, T DcState::*member, std::type_identity_t<T> value, std::type_identity_t<T> failed)
{
    auto dc = DcFromHandle(hdc);
    return dc ? std::exchange(dc->st.*member, value) : failed;
}
template <class T>
T ReadState(HDC hdc, T DcState::*member, std::type_identity_t<T> failed)
{
    auto dc = DcFromHandle(hdc);
    return dc ? dc->st.*member : failed;
}
} // namespace

int GetMapMode(HDC hdc) { return ReadState(hdc, &DcState::mapMode, 0); }

namespace zyn::gdi {

BOOL SetStatePoint(HDC hdc, POINT DcState::*member, int x, int y, bool relative, LPPOINT prev)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    POINT& o = dc->st.*member;
    if (prev)
        *prev = o;
    if (relative) {
        o.x = ClampCoord(int64_t(o.x) + x);
        o.y = ClampCoord(int64_t(o.y) + y);
    } else {
        o = POINT{x, y};
    }
    return TRUE;
}

BOOL GetStatePoint(HDC hdc, POINT DcState::*member, LPPOINT out)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *out = dc->st.*member;
    return TRUE;
}

} // namespace zyn::gdi

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::viewportOrg, x, y, false, lppt); }
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppt) { return GetStatePoint(hdc, &DcState::viewportOrg, lppt); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::viewportOrg, dx, dy, true, lppt); }
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::windowOrg, x, y, false, lppt); }
BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppt) { return GetStatePoint(hdc, &DcState::windowOrg, lppt); }
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::windowOrg, dx, dy, true, lppt); }

namespace {
// Maps `c` points in place through `map` (a Dc's ToLogical or ToDevice).
BOOL MapPoints(HDC hdc, LPPOINT lppt, int c, POINT (Dc::*map)(POINT) const)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (c < 0 || (c > 0 && !lppt)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int i = 0; i < c; ++i)
        lppt[i] = ((*dc).*map)(lppt[i]);
    return TRUE;
}
} // namespace

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c) { return MapPoints(hdc, lppt, c, &Dc::ToLogical); }
BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c) { return MapPoints(hdc, lppt, c, &Dc::ToDevice); }

BOOL GetDCOrgEx(HDC hdc, LPPOINT lppt)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!lppt) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lppt = dc->origin;
    return TRUE;
}

// ---- colours and modes ----------------------------------------------------------------------------
COLORREF SetTextColor(HDC hdc, COLORREF color) { return ExchangeState(hdc, &DcState::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return ReadState(hdc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF color) { return ExchangeState(hdc, &DcState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return ReadState(hdc, &DcState::bkColor, CLR_INVALID); }

namespace {
int SetMode(HDC hdc, int DcState::*member, int value, int lo, int hi)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return 0;
    if (value < lo || value > hi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return std::exchange(dc->st.*member, value);
}
int GetMode(HDC hdc, int DcState::*member) { return ReadState(hdc, member, 0); }
} // namespace

int SetBkMode(HDC hdc, int mode) { return SetMode(hdc, &DcState::bkMode, mode, TRANSPARENT, OPAQUE); }
int GetBkMode(HDC hdc) { return GetMode(hdc, &DcState::bkMode); }
int SetROP2(HDC hdc, int rop2) { return SetMode(hdc, &DcState::rop2, rop2, R2_BLACK, R2_WHITE); }
int GetROP2(HDC hdc) { return GetMode(hdc, &DcState::rop2); }
int SetStretchBltMode(HDC hdc, int mode) { return SetMode(hdc, &DcState::stretchMode, mode, BLACKONWHITE, HALFTONE); }
int GetStretchBltMode(HDC hdc) { return GetMode(hdc, &DcState::stretchMode); }
int SetPolyFillMode(HDC hdc, int mode) { return SetMode(hdc, &DcState::polyFillMode, mode, ALTERNATE, WINDING); }
int GetPolyFillMode(HDC hdc) { return GetMode(hdc, &DcState::polyFillMode); }

UINT SetTextAlign(HDC hdc, UINT align) { return ExchangeState(hdc, &DcState::textAlign, align, GDI_ERROR); }
UINT GetTextAlign(HDC hdc) { return ReadState(hdc, &DcState::textAlign, GDI_ERROR); }

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) { return SetStatePoint(hdc, &DcState::brushOrg, x, y, false, lppt); }
BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt) { return GetStatePoint(hdc, &DcState::brushOrg, lppt); }
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) { return ExchangeState(hdc, &DcState::dcBrushColor, color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC hdc, COLORREF color) { return ExchangeState(hdc, &DcState::dcPenColor, color, CLR_INVALID); }
int SetTextCharacterExtra(HDC hdc, int extra)
{
    return ExchangeState(hdc, &DcState::charExtra, extra, static_cast<int>(0x80000000u));
}
BOOL GdiFlush() { return TRUE; }
