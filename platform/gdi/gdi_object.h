#pragma once
// The drawing objects behind HPEN, HBRUSH, HFONT, HBITMAP and HRGN, and the one GDI
// handle table that holds them (kind Gdi). Stock objects live in the same table but
// never count as live objects and are never deleted.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"

namespace zyn::gdi {

class Dc;

class GdiObject {
public:
    explicit GdiObject(DWORD type) : m_type(type) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    DWORD Type() const { return m_type; }      // OBJ_PEN, OBJ_EXTPEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
    HGDIOBJ Handle() const { return m_handle; }
    bool IsStock() const { return m_stock; }

    // Number of DC states (current and saved) holding this object; DeleteObject refuses
    // while it is above 0. Managed by Selection.
    int SelectCount() const { return m_selectCount.load(); }

private:
    friend HGDIOBJ AddObject(std::shared_ptr<GdiObject> obj, bool stock);
    friend class Selection;
    const DWORD m_type;
    HGDIOBJ m_handle = nullptr;
    bool m_stock = false;
    std::atomic<int> m_selectCount{0};

protected:
    // The DC a bitmap is selected into (a bitmap can be in one DC at a time).
    const Dc* m_selectedIn = nullptr;
};

class PenObj final : public GdiObject {
public:
    PenObj() : GdiObject(OBJ_PEN) {}
    DWORD style = PS_SOLID;          // full style word (type, end cap, join, style)
    int width = 1;                   // 0 means 1 pixel, as a cosmetic pen
    COLORREF color = 0;
    bool extended = false;           // made by ExtCreatePen (GetObject answers EXTLOGPEN)
    UINT brushStyle = BS_SOLID;      // extended pens: the brush
    ULONG_PTR hatch = 0;
    std::vector<DWORD> styleEntries; // PS_USERSTYLE dash lengths
    bool dcPen = false;              // the DC_PEN stock pen: colour comes from the DC

    int Style() const { return static_cast<int>(style & PS_STYLE_MASK); }
};

class BrushObj final : public GdiObject {
public:
    BrushObj() : GdiObject(OBJ_BRUSH) {}
    UINT style = BS_SOLID;           // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_DIBPATTERN
    COLORREF color = 0;              // solid and hatched brushes
    int hatch = 0;                   // HS_*
    // Pattern brushes: a private copy of the bitmap (Mono1 patterns draw 0 with the DC's
    // text colour and 1 with its background colour); hatched brushes: an 8x8 Mono1 mask
    // whose 1 bits are the hatch lines.
    std::shared_ptr<Surface> pattern;
    HBITMAP patternBitmap = nullptr; // what GetObject reports for BS_PATTERN
    int sysColor = -1;               // >= 0: a system-colour brush that follows SetSysColors
    bool dcBrush = false;            // the DC_BRUSH stock brush: colour comes from the DC

    // The solid colour now (system-colour brushes read the table at each call).
    COLORREF Color() const;
};

class FontObj final : public GdiObject {
public:
    FontObj() : GdiObject(OBJ_FONT) {}
    LOGFONTW lf{};
    // Per-font data the text renderer attaches (resolved face, metrics, glyph cache).
    // Guarded by `mutex`; the renderer decides its type.
    std::mutex mutex;
    std::shared_ptr<void> renderData;
};

class BitmapObj final : public GdiObject {
public:
    BitmapObj() : GdiObject(OBJ_BITMAP) {}
    ~BitmapObj() override;

    std::shared_ptr<Surface> surface;
    SIZE dimension{0, 0};            // SetBitmapDimensionEx, unused by drawing

    // DIB sections. For 32 and 1 bits per pixel the surface wraps the DIB memory itself
    // (bottom-up through a negative stride). For 24, 16, 8 and 4 bits the DIB memory is a
    // separate buffer: SyncIn() converts it into the surface before every drawing call
    // that reads or writes the bitmap, and SyncOut() converts the surface back after
    // every call that wrote it, so the caller's pointer always sees current pixels
    // (8/4-bit results map to the nearest colour-table entry).
    bool isDib = false;
    BITMAPINFOHEADER dibHeader{};    // biHeight keeps the caller's sign
    std::vector<RGBQUAD> colorTable; // 1, 4, 8 bits
    DWORD dibMasks[3] = {0, 0, 0};   // 16 and 32 bits: red, green, blue
    uint8_t* dibBits = nullptr;      // the memory handed out through ppvBits
    size_t dibStride = 0;            // bytes a DIB row (DWORD aligned)
    bool buffered = false;           // dibBits is separate from the surface
    std::shared_ptr<uint8_t[]> dibStorage; // also kept alive by a surface that wraps it

    int DibBitCount() const { return dibHeader.biBitCount; }
    bool BottomUp() const { return dibHeader.biHeight > 0; }
    void SyncIn();
    void SyncOut();
    const Dc* SelectedIn() const { return m_selectedIn; }
};

class RegionObj final : public GdiObject {
public:
    RegionObj() : GdiObject(OBJ_REGION) {}
    Region rgn;
};

// ---- the table -------------------------------------------------------------------------
// Adds an object and returns its handle (null when the table is full; last error set).
HGDIOBJ AddObject(std::shared_ptr<GdiObject> obj, bool stock = false);
// The object of a live handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<GdiObject> ObjectFromHandle(HGDIOBJ h);
// Typed lookup: null with ERROR_INVALID_HANDLE when the handle is dead or of another type.
template <class T>
std::shared_ptr<T> ObjectAs(HGDIOBJ h)
{
    std::shared_ptr<GdiObject> o = ObjectFromHandle(h);
    std::shared_ptr<T> t = std::dynamic_pointer_cast<T>(o);
    if (o && !t)
        SetLastError(ERROR_INVALID_HANDLE);
    return t;
}
std::shared_ptr<PenObj> PenFromHandle(HGDIOBJ h);
std::shared_ptr<BrushObj> BrushFromHandle(HGDIOBJ h);
// Accepts a system colour index + 1 below 0x10000, as FillRect does.
std::shared_ptr<BrushObj> BrushOrSysColorFromHandle(HBRUSH h);
std::shared_ptr<FontObj> FontFromHandle(HGDIOBJ h);
std::shared_ptr<BitmapObj> BitmapFromHandle(HGDIOBJ h);
std::shared_ptr<RegionObj> RegionFromHandle(HGDIOBJ h);

// A stock object by GetStockObject index, and the default bitmap of memory DCs (1x1 mono).
std::shared_ptr<GdiObject> StockObject(int index);
std::shared_ptr<BitmapObj> DefaultBitmap();
// The stock brush of a system colour (follows SetSysColors); null for a bad index.
std::shared_ptr<BrushObj> SysColorBrushObject(int index);

// Live (non-stock) GDI objects and DCs, for leak tests.
size_t LiveObjectCount();
size_t LiveDcCount();

// One reference from a DC state to a selected object: counts while it lives.
class Selection {
public:
    Selection() = default;
    Selection(std::shared_ptr<GdiObject> obj, const Dc* dc);
    Selection(const Selection& o);
    Selection& operator=(const Selection& o);
    Selection(Selection&& o) noexcept : m_obj(std::move(o.m_obj)), m_dc(o.m_dc) {}
    Selection& operator=(Selection&& o) noexcept;
    ~Selection() { Release(); }

    GdiObject* get() const { return m_obj.get(); }
    const std::shared_ptr<GdiObject>& ptr() const { return m_obj; }
    HGDIOBJ Handle() const { return m_obj ? m_obj->Handle() : nullptr; }
    template <class T>
    T* As() const { return static_cast<T*>(m_obj.get()); }
    explicit operator bool() const { return static_cast<bool>(m_obj); }

private:
    void Acquire();
    void Release();
    std::shared_ptr<GdiObject> m_obj;
    const Dc* m_dc = nullptr;
};

} // namespace zyn::gdi
