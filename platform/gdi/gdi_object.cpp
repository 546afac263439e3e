// The GDI handle table, stock objects, selection counting, DeleteObject and GetObject.
#include "platform/gdi/gdi_object.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {

namespace {

class PaletteObj final : public GdiObject {
public:
    PaletteObj() : GdiObject(OBJ_PAL) {}
    WORD entries = 20;
};

base::HandleTable<GdiObject>& Table()
{
    static base::HandleTable<GdiObject> table(base::HandleKind::Gdi);
    return table;
}

std::atomic<size_t> g_stockCount{0};

void CopyFace(LOGFONTW& lf, const wchar_t* face)
{
    size_t i = 0;
    for (; face[i] && i + 1 < static_cast<size_t>(LF_FACESIZE); ++i)
        lf.lfFaceName[i] = face[i];
    lf.lfFaceName[i] = 0;
}

struct Stock {
    std::array<std::shared_ptr<GdiObject>, DC_PEN + 1> objects;
    std::shared_ptr<BitmapObj> defaultBitmap;
    std::array<std::shared_ptr<BrushObj>, ZYN_SYSCOLOR_COUNT> sysBrushes;
};

std::shared_ptr<BrushObj> SolidStock(COLORREF c, UINT style = BS_SOLID)
{
    auto b = std::make_shared<BrushObj>();
    b->style = style;
    b->color = c;
    return b;
}

std::shared_ptr<PenObj> PenStock(int style, COLORREF c)
{
    auto p = std::make_shared<PenObj>();
    p->style = static_cast<DWORD>(style);
    p->width = 1;
    p->color = c;
    return p;
}

std::shared_ptr<FontObj> FontStock(LONG height, LONG weight, BYTE pitch, BYTE charset, const wchar_t* face)
{
    auto f = std::make_shared<FontObj>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = charset;
    f->lf.lfPitchAndFamily = pitch;
    CopyFace(f->lf, face);
    return f;
}

const Stock& Stocks()
{
    static const Stock stock = [] {
        Stock s;
        s.objects[WHITE_BRUSH] = SolidStock(0xFFFFFF);
        s.objects[LTGRAY_BRUSH] = SolidStock(0xC0C0C0);
        s.objects[GRAY_BRUSH] = SolidStock(0x808080);
        s.objects[DKGRAY_BRUSH] = SolidStock(0x404040);
        s.objects[BLACK_BRUSH] = SolidStock(0x000000);
        s.objects[NULL_BRUSH] = SolidStock(0, BS_NULL);
        s.objects[WHITE_PEN] = PenStock(PS_SOLID, 0xFFFFFF);
        s.objects[BLACK_PEN] = PenStock(PS_SOLID, 0x000000);
        s.objects[NULL_PEN] = PenStock(PS_NULL, 0x000000);
        s.objects[OEM_FIXED_FONT] = FontStock(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, OEM_CHARSET, L"Terminal");
        s.objects[ANSI_FIXED_FONT] = FontStock(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, ANSI_CHARSET, L"Courier");
        s.objects[ANSI_VAR_FONT] = FontStock(12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET, L"MS Sans Serif");
        s.objects[SYSTEM_FONT] = FontStock(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET, L"System");
        s.objects[DEVICE_DEFAULT_FONT] = FontStock(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET, L"System");
        s.objects[DEFAULT_PALETTE] = std::make_shared<PaletteObj>();
        s.objects[SYSTEM_FIXED_FONT] = FontStock(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, ANSI_CHARSET, L"Fixedsys");
        s.objects[DEFAULT_GUI_FONT] = FontStock(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET, L"MS Shell Dlg");
        auto dcb = SolidStock(0xFFFFFF);
        dcb->dcBrush = true;
        s.objects[DC_BRUSH] = dcb;
        auto dcp = PenStock(PS_SOLID, 0);
        dcp->dcPen = true;
        s.objects[DC_PEN] = dcp;
        for (auto& o : s.objects)
            if (o)
                AddObject(o, true);

        auto bm = std::make_shared<BitmapObj>();
        bm->surface = Surface::Create(1, 1, PixelFormat::Mono1);
        s.defaultBitmap = bm;
        AddObject(bm, true);

        for (int i = 0; i < ZYN_SYSCOLOR_COUNT; ++i) {
            auto b = std::make_shared<BrushObj>();
            b->style = BS_SOLID;
            b->sysColor = i;
            s.sysBrushes[static_cast<size_t>(i)] = b;
            AddObject(b, true);
        }
        return s;
    }();
    return stock;
}

} // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> obj, bool stock)
{
    if (!obj)
        return nullptr;
    GdiObject* raw = obj.get();
    raw->m_stock = stock;
    const uint32_t v = Table().Add(std::move(obj));
    if (!v) {
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    raw->m_handle = base::MakeHandle<HGDIOBJ>(v);
    if (stock)
        ++g_stockCount;
    return raw->m_handle;
}

std::shared_ptr<GdiObject> ObjectFromHandle(HGDIOBJ h)
{
    std::shared_ptr<GdiObject> o;
    if (base::KindOfHandle(h) == base::HandleKind::Gdi)
        o = Table().Get(h);
    if (!o)
        SetLastError(ERROR_INVALID_HANDLE);
    return o;
}

std::shared_ptr<PenObj> PenFromHandle(HGDIOBJ h) { return ObjectAs<PenObj>(h); }
std::shared_ptr<BrushObj> BrushFromHandle(HGDIOBJ h) { return ObjectAs<BrushObj>(h); }
std::shared_ptr<FontObj> FontFromHandle(HGDIOBJ h) { return ObjectAs<FontObj>(h); }
std::shared_ptr<BitmapObj> BitmapFromHandle(HGDIOBJ h) { return ObjectAs<BitmapObj>(h); }
std::shared_ptr<RegionObj> RegionFromHandle(HGDIOBJ h) { return ObjectAs<RegionObj>(h); }

std::shared_ptr<BrushObj> BrushOrSysColorFromHandle(HBRUSH h)
{
    const auto v = reinterpret_cast<uintptr_t>(h);
    if (v > 0 && v <= static_cast<uintptr_t>(ZYN_SYSCOLOR_COUNT))
        return Stocks().sysBrushes[v - 1];
    return BrushFromHandle(h);
}

std::shared_ptr<GdiObject> StockObject(int index)
{
    if (index < 0 || index > DC_PEN)
        return nullptr;
    return Stocks().objects[static_cast<size_t>(index)];
}

std::shared_ptr<BitmapObj> DefaultBitmap() { return Stocks().defaultBitmap; }

std::shared_ptr<BrushObj> SysColorBrushObject(int index)
{
    if (index < 0 || index >= ZYN_SYSCOLOR_COUNT)
        return nullptr;
    return Stocks().sysBrushes[static_cast<size_t>(index)];
}

size_t LiveObjectCount()
{
    Stocks();
    return Table().Count() - g_stockCount.load();
}

// ---- Selection ----------------------------------------------------------------------------
Selection::Selection(std::shared_ptr<GdiObject> obj, const Dc* dc) : m_obj(std::move(obj)), m_dc(dc) { Acquire(); }
Selection::Selection(const Selection& o) : m_obj(o.m_obj), m_dc(o.m_dc) { Acquire(); }
Selection& Selection::operator=(const Selection& o)
{
    if (this != &o) {
        Release();
        m_obj = o.m_obj;
        m_dc = o.m_dc;
        Acquire();
    }
    return *this;
}
Selection& Selection::operator=(Selection&& o) noexcept
{
    if (this != &o) {
        Release();
        m_obj = std::move(o.m_obj);
        m_dc = o.m_dc;
    }
    return *this;
}
void Selection::Acquire()
{
    if (!m_obj)
        return;
    if (++m_obj->m_selectCount == 1 && m_obj->Type() == OBJ_BITMAP && !m_obj->IsStock())
        m_obj->m_selectedIn = m_dc;
}
void Selection::Release()
{
    if (!m_obj)
        return;
    if (--m_obj->m_selectCount == 0 && m_obj->Type() == OBJ_BITMAP)
        m_obj->m_selectedIn = nullptr;
    m_obj.reset();
}

COLORREF BrushObj::Color() const { return sysColor >= 0 ? GetSysColor(sysColor) : color; }

} // namespace zyn::gdi

using namespace zyn::gdi;

HGDIOBJ GetStockObject(int i)
{
    auto o = StockObject(i);
    if (!o) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return o->Handle();
}

BOOL DeleteObject(HGDIOBJ h)
{
    auto o = ObjectFromHandle(h);
    if (!o)
        return FALSE;
    if (o->IsStock())
        return TRUE; // stock objects are never deleted; Windows answers success
    if (o->SelectCount() > 0) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    Table().Remove(h);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ h)
{
    if (zyn::base::KindOfHandle(h) == zyn::base::HandleKind::Dc) {
        auto dc = DcFromHandle(static_cast<HDC>(h));
        if (!dc)
            return 0;
        return dc->kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    auto o = ObjectFromHandle(h);
    if (!o)
        return 0;
    if (o->Type() == OBJ_PEN && static_cast<PenObj*>(o.get())->extended)
        return OBJ_EXTPEN;
    return o->Type();
}

namespace {
int CopyOut(const void* src, int size, int c, LPVOID pv)
{
    if (!pv)
        return size;
    if (c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int n = std::min(c, size);
    std::memcpy(pv, src, static_cast<size_t>(n));
    return n;
}
} // namespace

int GetObjectW(HGDIOBJ h, int c, LPVOID pv)
{
    auto o = ObjectFromHandle(h);
    if (!o)
        return 0;
    switch (o->Type()) {
    case OBJ_PEN: {
        auto* p = static_cast<PenObj*>(o.get());
        if (!p->extended) {
            LOGPEN lp{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color};
            return CopyOut(&lp, sizeof lp, c, pv);
        }
        const size_t entries = p->styleEntries.size();
        const size_t size = offsetof(EXTLOGPEN, elpStyleEntry) + std::max<size_t>(entries, 1) * sizeof(DWORD);
        std::vector<uint8_t> buf(size, 0);
        auto* ep = reinterpret_cast<EXTLOGPEN*>(buf.data());
        ep->elpPenStyle = p->style;
        ep->elpWidth = static_cast<DWORD>(p->width);
        ep->elpBrushStyle = p->brushStyle;
        ep->elpColor = p->color;
        ep->elpHatch = p->hatch;
        ep->elpNumEntries = static_cast<DWORD>(entries);
        for (size_t i = 0; i < entries; ++i)
            std::memcpy(buf.data() + offsetof(EXTLOGPEN, elpStyleEntry) + i * sizeof(DWORD), &p->styleEntries[i],
                sizeof(DWORD));
        const int sz = static_cast<int>(entries ? size : offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD));
        return CopyOut(buf.data(), sz, c, pv);
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<BrushObj*>(o.get());
        LOGBRUSH lb{b->style, b->style == BS_SOLID || b->style == BS_HATCHED ? b->Color() : 0, 0};
        if (b->style == BS_HATCHED)
            lb.lbHatch = static_cast<ULONG_PTR>(b->hatch);
        else if (b->style == BS_PATTERN)
            lb.lbHatch = reinterpret_cast<ULONG_PTR>(b->patternBitmap);
        return CopyOut(&lb, sizeof lb, c, pv);
    }
    case OBJ_FONT: {
        auto* f = static_cast<FontObj*>(o.get());
        return CopyOut(&f->lf, sizeof f->lf, c, pv);
    }
    case OBJ_PAL: {
        const WORD n = static_cast<PaletteObj*>(o.get())->entries;
        return CopyOut(&n, sizeof n, c, pv);
    }
    case OBJ_BITMAP: {
        auto* b = static_cast<BitmapObj*>(o.get());
        BITMAP bm{};
        bm.bmType = 0;
        bm.bmWidth = b->surface->Width();
        bm.bmHeight = b->surface->Height();
        bm.bmPlanes = 1;
        if (b->isDib) {
            bm.bmBitsPixel = b->dibHeader.biBitCount;
            bm.bmWidthBytes = static_cast<LONG>(b->dibStride);
            bm.bmBits = b->dibBits;
        } else {
            bm.bmBitsPixel = static_cast<WORD>(b->surface->BitsPerPixel());
            bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 15) / 16) * 2;
            bm.bmBits = nullptr;
        }
        if (b->isDib && (!pv || c >= static_cast<int>(sizeof(DIBSECTION)))) {
            DIBSECTION ds{};
            ds.dsBm = bm;
            ds.dsBmih = b->dibHeader;
            ds.dsBmih.biSizeImage = static_cast<DWORD>(b->dibStride * static_cast<size_t>(bm.bmHeight));
            if (pv)
                return CopyOut(&ds, sizeof ds, c, pv);
            return sizeof(BITMAP);
        }
        return CopyOut(&bm, sizeof bm, c, pv);
    }
    default:
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
}

int GetObject(HGDIOBJ h, int c, LPVOID pv) { return GetObjectW(h, c, pv); }
