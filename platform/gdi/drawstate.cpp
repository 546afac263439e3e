// DrawState: an image (text, icon, bitmap or a callback's drawing) drawn in one of the
// classic states.
//
//   DSS_NORMAL    the image drawn straight onto the DC, with the DC's colours and font.
//   DSS_DISABLED  embossed: the image is first rendered into a 1-bit mask (black on white;
//                 see below), then its black pixels are painted in COLOR_3DHIGHLIGHT one
//                 pixel right and down, then in COLOR_3DSHADOW in place.
//   DSS_MONO      the mask's black pixels painted with hbrFore (a brush or a system colour
//                 index + 1; null: the DC's selected brush).
//   DSS_UNION     dithered: the image drawn as for DSS_NORMAL, but only on every other pixel
//                 (those where the halftone brush, at the DC's brush origin, has a 1).
//   With DSS_DISABLED the other states are ignored; DSS_MONO beats DSS_UNION.
//
// The mask is a 1-bit bitmap cx x cy, white, on which the image is drawn with black text
// on a transparent background in the DC's font, bitmaps and icons copied by the blit
// rules (a colour pixel equal to the source's white background gives white, anything
// else black), and callbacks drawing whatever they draw with the mask DC's black text
// and pen. Text forms go through DrawTextW (DST_TEXT without prefix processing; DSS_RIGHT
// right-aligns, DSS_HIDEPREFIX / DSS_PREFIXONLY pass on), icons through DrawIconEx.
// A zero cx or cy is measured: the text with DT_CALCRECT, the bitmap or icon by its size.
// A callback given with a text form draws the text instead of DrawTextW. Callbacks draw
// with (0, 0) at the image's top-left corner (the viewport origin is moved for them).
#include <algorithm>
#include <cwchar>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/owned.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;
using zyn::gdi::OwnedDc;
using zyn::gdi::OwnedObject;

namespace {

// Selects for a scope; the previous object comes back first.
class Scoped {
public:
    Scoped(HDC dc, HGDIOBJ h) : m_dc(dc), m_old(h ? SelectObject(dc, h) : nullptr) {}
    ~Scoped()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// ---- the image -----------------------------------------------------------------------------------
struct Image {
    UINT type = DST_COMPLEX;
    DRAWSTATEPROC proc = nullptr;
    LPARAM lData = 0;
    WPARAM wData = 0;
    UINT textFormat = 0;
    int cx = 0, cy = 0;

    bool IsText() const { return type == DST_TEXT || type == DST_PREFIXTEXT; }
    LPCWSTR Text() const { return reinterpret_cast<LPCWSTR>(lData); }
    int TextLength() const { return wData ? static_cast<int>(std::min<WPARAM>(wData, 0x7FFFFFFF)) : -1; }
};

// The size of an icon: its colour bitmap, or half the height of its mask.
bool IconSize(HICON icon, int& cx, int& cy)
{
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii))
        return false;
    OwnedObject mask(ii.hbmMask), color(ii.hbmColor);
    BITMAP bm{};
    if (ii.hbmColor && GetObjectW(ii.hbmColor, sizeof bm, &bm)) {
        cx = bm.bmWidth;
        cy = bm.bmHeight;
        return true;
    }
    if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof bm, &bm)) {
        cx = bm.bmWidth;
        cy = bm.bmHeight / 2;
        return true;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

// Fills in a zero cx / cy from the image itself.
bool Measure(HDC hdc, Image& img)
{
    if (img.cx != 0 && img.cy != 0)
        return true;
    int cx = 0, cy = 0;
    switch (img.type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        RECT rc{0, 0, 0, 0};
        DrawTextW(hdc, img.Text(), img.TextLength(), &rc, img.textFormat | DT_CALCRECT);
        cx = rc.right - rc.left;
        cy = rc.bottom - rc.top;
        break;
    }
    case DST_ICON:
        if (!IconSize(reinterpret_cast<HICON>(img.lData), cx, cy))
            return false;
        break;
    case DST_BITMAP: {
        BITMAP bm{};
        if (!GetObjectW(reinterpret_cast<HGDIOBJ>(img.lData), sizeof bm, &bm)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        cx = bm.bmWidth;
        cy = bm.bmHeight;
        break;
    }
    default: // a callback's drawing has no size of its own
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (img.cx == 0)
        img.cx = cx;
    if (img.cy == 0)
        img.cy = cy;
    return true;
}

// Draws the image with its top-left at logical (x, y) of `target`.
bool Render(HDC target, const Image& img, int x, int y)
{
    if (img.proc) {
        POINT old{};
        OffsetViewportOrgEx(target, x, y, &old);
        const BOOL ok = img.proc(target, img.lData, img.wData, img.cx, img.cy);
        SetViewportOrgEx(target, old.x, old.y, nullptr);
        return ok != FALSE;
    }
    switch (img.type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        RECT rc{x, y, x + img.cx, y + img.cy};
        DrawTextW(target, img.Text(), img.TextLength(), &rc, img.textFormat);
        return true;
    }
    case DST_ICON:
        return DrawIconEx(target, x, y, reinterpret_cast<HICON>(img.lData), img.cx, img.cy, 0, nullptr, DI_NORMAL) !=
            FALSE;
    case DST_BITMAP: {
        OwnedDc mem(CreateCompatibleDC(target));
        if (!mem.get())
            return false;
        Scoped sel(mem.get(), reinterpret_cast<HGDIOBJ>(img.lData));
        return BitBlt(target, x, y, img.cx, img.cy, mem.get(), 0, 0, SRCCOPY) != FALSE;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return false;
    }
}

// The image as a 1-bit mask: false where the image is (black), true elsewhere.
std::shared_ptr<Surface> RenderMask(const Dc& dc, HDC hdc, const Image& img)
{
    OwnedDc mem(CreateCompatibleDC(hdc));
    OwnedObject bm(CreateBitmap(img.cx, img.cy, 1, 1, nullptr));
    if (!mem.get() || !bm.get())
        return nullptr;
    {
        Scoped selBm(mem.get(), bm.get());
        Scoped selFont(mem.get(), dc.st.font.Handle());
        PatBlt(mem.get(), 0, 0, img.cx, img.cy, WHITENESS);
        SetTextColor(mem.get(), 0x000000);
        SetBkColor(mem.get(), 0xFFFFFF);
        SetBkMode(mem.get(), TRANSPARENT);
        if (!Render(mem.get(), img, 0, 0))
            return nullptr;
    }
    auto obj = BitmapFromHandle(bm.get());
    return obj ? obj->surface : nullptr;
}

// The black pixels of a mask, placed with the mask's top-left at device (x, y).
Region MaskRegion(const Surface& mask, int x, int y)
{
    RegionBuilder b;
    for (int row = 0; row < mask.Height(); ++row) {
        std::vector<std::pair<int, int>> spans;
        int col = 0;
        while (col < mask.Width()) {
            if (mask.GetRaw(col, row) != 0) {
                ++col;
                continue;
            }
            const int start = col;
            while (col < mask.Width() && mask.GetRaw(col, row) == 0)
                ++col;
            spans.emplace_back(x + start, x + col);
        }
        if (!spans.empty())
            b.AddBand(y + row, y + row + 1, std::move(spans));
    }
    return b.Finish();
}

// DSS_UNION: the image drawn normally into a copy of the destination, copied back on
// the halftone's 1 pixels.
bool DrawUnion(Dc& dc, HDC hdc, const Image& img, int x, int y, POINT dev)
{
    OwnedDc mem(CreateCompatibleDC(hdc));
    OwnedObject bm(CreateCompatibleBitmap(hdc, img.cx, img.cy));
    if (!mem.get() || !bm.get())
        return false;
    {
        Scoped selBm(mem.get(), bm.get());
        Scoped selFont(mem.get(), dc.st.font.Handle());
        Scoped selBrush(mem.get(), dc.st.brush.Handle());
        Scoped selPen(mem.get(), dc.st.pen.Handle());
        SetTextColor(mem.get(), dc.st.textColor);
        SetBkColor(mem.get(), dc.st.bkColor);
        SetBkMode(mem.get(), dc.st.bkMode);
        BitBlt(mem.get(), 0, 0, img.cx, img.cy, hdc, x, y, SRCCOPY);
        if (!Render(mem.get(), img, 0, 0))
            return false;
    }
    auto obj = BitmapFromHandle(bm.get());
    if (!obj || !obj->surface || !dc.surface)
        return false;
    const Surface& src = *obj->surface;
    DrawScope scope(dc);
    Surface& dst = *dc.surface;
    const int orgX = dc.origin.x + dc.st.brushOrg.x, orgY = dc.origin.y + dc.st.brushOrg.y;
    ForEachClipRect(dc, RECT{dev.x, dev.y, dev.x + img.cx, dev.y + img.cy}, [&](const RECT& r) {
        for (int sy = r.top; sy < r.bottom; ++sy)
            for (int sx = r.left; sx < r.right; ++sx) {
                if (((int64_t(sx) - orgX + sy - orgY) & 1) != 0)
                    continue;
                const int ix = sx - dc.origin.x - dev.x, iy = sy - dc.origin.y - dev.y;
                if (!src.Contains(ix, iy))
                    continue;
                dst.SetRaw(sx, sy, ColorToPixel(dst, PixelToColor(src, src.GetRaw(ix, iy))));
            }
    });
    return true;
}

} // namespace

BOOL DrawStateW(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData, WPARAM wData, int x, int y, int cx,
    int cy, UINT uFlags)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    Image img;
    img.type = uFlags & 0x000F;
    img.proc = qfnCallBack;
    img.lData = lData;
    img.wData = wData;
    img.cx = cx;
    img.cy = cy;
    switch (img.type) {
    case DST_COMPLEX:
        if (!qfnCallBack) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        break;
    case DST_TEXT:
    case DST_PREFIXTEXT:
        if (!lData) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        img.textFormat = (img.type == DST_TEXT ? DT_NOPREFIX : 0) | ((uFlags & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0) |
            ((uFlags & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0) | ((uFlags & DSS_RIGHT) ? DT_RIGHT : 0);
        break;
    case DST_ICON:
    case DST_BITMAP:
        img.proc = nullptr; // the callback is for drawings and text only
        break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!Measure(hdc, img))
        return FALSE;
    if (img.cx <= 0 || img.cy <= 0)
        return TRUE; // nothing to draw
    POINT dev;
    if (!ToDevicePoint(*dc, POINT{x, y}, dev))
        return FALSE;

    // The other states work through a private bitmap of the image's size.
    if ((uFlags & (DSS_DISABLED | DSS_MONO | DSS_UNION)) && int64_t(img.cx) * img.cy > (int64_t(1) << 26)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    if (uFlags & (DSS_DISABLED | DSS_MONO)) {
        auto mask = RenderMask(*dc, hdc, img);
        if (!mask)
            return FALSE;
        DrawScope scope(*dc);
        if (uFlags & DSS_DISABLED) {
            FillColor(*dc, MaskRegion(*mask, dev.x + 1, dev.y + 1), SysColor(COLOR_3DHIGHLIGHT));
            FillColor(*dc, MaskRegion(*mask, dev.x, dev.y), SysColor(COLOR_3DSHADOW));
            return TRUE;
        }
        std::shared_ptr<BrushObj> brush;
        if (hbrFore) {
            brush = BrushOrSysColorFromHandle(hbrFore);
            if (!brush)
                return FALSE;
        }
        FillDeviceRegion(*dc, MaskRegion(*mask, dev.x, dev.y), brush ? brush.get() : dc->Brush(), PATCOPY);
        return TRUE;
    }
    if (uFlags & DSS_UNION)
        return DrawUnion(*dc, hdc, img, x, y, dev) ? TRUE : FALSE;
    return Render(hdc, img, x, y) ? TRUE : FALSE;
}

BOOL DrawState(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData, WPARAM wData, int x, int y, int cx,
    int cy, UINT uFlags)
{
    return DrawStateW(hdc, hbrFore, qfnCallBack, lData, wData, x, y, cx, cy, uFlags);
}
