// The tab control's picture cache: tabs copied from the pixels they were last painted
// with while nothing they depend on changed (see tabctrl_picture.h).
#include "platform/comctl/tabctrl_picture.h"

#include <algorithm>
#include <cstring>

#include "platform/comctl/tabctrl_state.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/owned.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/wingdi.h"

namespace zyn::comctl::detail {

namespace {

// A tab larger than this is drawn every time: its picture would cost more memory than it
// saves time; and a control's pictures stop growing at kMaxBytes.
constexpr int64_t kMaxPicturePixels = 64 * 1024;
constexpr size_t kMaxBytes = size_t(16) << 20;
// The scratch bitmap's pixels before drawing: drawing leaves the X byte 0, so a pixel
// still carrying this X byte was not touched.
constexpr uint32_t kUntouched = 0xFF000000u;

bool Inside(const RECT& in, const RECT& outer)
{
    return in.left >= outer.left && in.top >= outer.top && in.right <= outer.right && in.bottom <= outer.bottom;
}

RECT RelativeTo(const RECT& r, const RECT& origin)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return RECT{};
    return RECT{r.left - origin.left, r.top - origin.top, r.right - origin.left, r.bottom - origin.top};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TabDcModes TabDcModes::Of(HDC dc)
{
    TabDcModes m;
    m.text = ::GetTextColor(dc);
    m.bk = ::GetBkColor(dc);
    m.bkMode = ::GetBkMode(dc);
    m.rop2 = ::GetROP2(dc);
    m.stretchMode = ::GetStretchBltMode(dc);
    m.polyFillMode = ::GetPolyFillMode(dc);
    m.charExtra = ::SetTextCharacterExtra(dc, 0); // read by setting: put back at once
    ::SetTextCharacterExtra(dc, m.charExtra);
    m.textAlign = ::GetTextAlign(dc);
    return m;
}

void TabDcModes::ApplyTo(HDC dc) const
{
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, bk);
    ::SetBkMode(dc, bkMode);
    ::SetROP2(dc, rop2);
    ::SetStretchBltMode(dc, stretchMode);
    ::SetPolyFillMode(dc, polyFillMode);
    ::SetTextCharacterExtra(dc, charExtra);
    ::SetTextAlign(dc, textAlign);
}

bool TabPictureEnv::operator==(const TabPictureEnv& o) const
{
    return colors == o.colors && std::memcmp(&font, &o.font, sizeof font) == 0 && modes == o.modes &&
           images == o.images && imagesGeneration == o.imagesGeneration;
}

// A 32-bit top-down DIB section selected into a memory DC, to draw a tab into; gone with
// the paint.
class TabPictures::Scratch {
public:
    Scratch(HDC like, int width, int height)
        : m_width(width), m_height(height), m_bitmap(MakeDib(like, width, height, m_bits)),
          m_dc(::CreateCompatibleDC(like))
    {
        if (m_dc.get() && m_bitmap.get())
            m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
    }
    ~Scratch()
    {
        if (m_old)
            ::SelectObject(m_dc.get(), m_old);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool Ok() const { return m_old && m_bits; }
    HDC Dc() const { return m_dc.get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t* Row(int y) const { return m_bits + static_cast<ptrdiff_t>(y) * m_width; }

private:
    static HBITMAP MakeDib(HDC like, int width, int height, uint32_t*& bits)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* raw = nullptr;
        const HBITMAP dib = ::CreateDIBSection(like, &bi, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = dib ? static_cast<uint32_t*>(raw) : nullptr;
        return dib;
    }

    int m_width, m_height;
    uint32_t* m_bits = nullptr;
    zyn::gdi::OwnedObject<HBITMAP> m_bitmap; // outlives the DC it is selected into
    zyn::gdi::OwnedDc m_dc;
    HGDIOBJ m_old = nullptr;
};

TabPictures::TabPictures(TabState& s, HDC target, HFONT font) : m_s(s), m_target(target), m_font(font)
{
    TabPictureEnv env;
    for (int i = 0; i < TabPictureEnv::kColors; ++i)
        env.colors[static_cast<size_t>(i)] = ::GetSysColor(i);
    const bool fontKnown = ::GetObjectW(font, sizeof env.font, &env.font) == static_cast<int>(sizeof env.font);
    env.modes = TabDcModes::Of(target);
    env.images = s.images;
    env.imagesGeneration = s.images ? zyn::gdi::ImageListGeneration(s.images) : 0;
    if (!(env == s.pictureEnv)) {
        DropTabPictures(s);
        s.pictureEnv = env;
    }
    m_usable = fontKnown && ::GetDeviceCaps(target, BITSPIXEL) == 32 && ::GetMapMode(target) == MM_TEXT;
    m_dc = zyn::gdi::DcFromHandle(target);
}

bool TabPictures::LeavesAlone(const TabItem& item, const RECT& drawn) const
{
    // Most tabs lie outside the area of a paint after a row change moved their pixels.
    return m_usable && item.pictures[0].pixels && m_dc && !m_dc->RectVisible(drawn);
}

TabPictures::~TabPictures() = default;

bool TabPictures::Paint(TabItem& item, const TabLook& look)
{
    // A list whose images can change unseen cannot lend a tab a lasting picture.
    if (!m_usable || (look.image && m_s.pictureEnv.imagesGeneration == 0))
        return false;
    const RECT& r = look.rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    const uint32_t flags = look.Flags();
    const RECT icon = look.image ? RelativeTo(look.parts.icon, r) : RECT{};
    const RECT label = RelativeTo(look.parts.text, r);
    const int image = look.image ? item.image : -1;
    const auto matches = [&](const TabPicture& p) {
        const TabPictureKey& key = p.key;
        return (p.pixels || p.direct) && key.flags == flags && key.size.cx == w && key.size.cy == h &&
               SameRect(key.icon, icon) && SameRect(key.label, label) && key.image == image && key.text == item.text;
    };
    TabPictureSlots& slots = item.pictures;
    if (!matches(slots[0])) {
        if (matches(slots[1])) {
            std::swap(slots[0], slots[1]);
        } else {
            slots[1] = std::move(slots[0]);
            slots[0] = TabPicture{TabPictureKey{item.text, image, SIZE{w, h}, icon, label, flags}, nullptr, false};
            slots[0].direct = !Make(item, look, slots[0]);
        }
    }
    const TabPicture& picture = slots[0];
    if (picture.direct)
        return false;
    return zyn::gdi::BlitSurface(m_target, r.left, r.top, w, h, *picture.pixels, 0, 0, w, h, SRCCOPY);
}

bool TabPictures::Make(const TabItem& item, const TabLook& look, TabPicture& into)
{
    const RECT& r = look.rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    if (static_cast<int64_t>(w) * h > kMaxPicturePixels || *m_s.pictureBytes + bytes > kMaxBytes)
        return false;
    // Only what stays inside the rectangle can be copied: an image or a text box (with the
    // disabled look's highlight one pixel right and down) reaching past it draws over the
    // neighbours.
    if (look.image && !Inside(look.parts.icon, r))
        return false;
    int margin = 0;
    if (!item.text.empty()) {
        RECT box = look.parts.text;
        if (box.right <= box.left || box.bottom <= box.top)
            return false;
        box.right += 1;
        box.bottom += 1;
        if (!Inside(box, r))
            return false;
        // Glyphs may still reach a little past their box (overhangs, marks): drawing in a
        // margin around the rectangle shows it.
        margin = 2 * std::max(8, static_cast<int>(item.textExtent.cy));
    }
    const int sw = w + 2 * margin, sh = h + 2 * margin;
    if (!m_scratch || m_scratch->Width() < sw || m_scratch->Height() < sh) {
        const int cw = std::max(sw, m_scratch ? m_scratch->Width() : 0);
        const int ch = std::max(sh, m_scratch ? m_scratch->Height() : 0);
        m_scratch.reset();
        auto scratch = std::make_unique<Scratch>(m_target, cw, ch);
        if (!scratch->Ok())
            return false;
        m_s.pictureEnv.modes.ApplyTo(scratch->Dc());
        m_scratch = std::move(scratch);
    }
    const Scratch& sc = *m_scratch;
    ::GdiFlush();
    for (int y = 0; y < sh; ++y)
        std::fill_n(sc.Row(y), sw, kUntouched);
    // The tab drawn in client coordinates, its rectangle landing `margin` pixels in.
    ::SetWindowOrgEx(sc.Dc(), r.left - margin, r.top - margin, nullptr);
    DrawTab(m_s, sc.Dc(), item, look, m_font);
    ::SetWindowOrgEx(sc.Dc(), 0, 0, nullptr);
    ::GdiFlush();
    for (int y = 0; y < sh && margin > 0; ++y) {
        const uint32_t* row = sc.Row(y);
        const bool band = y < margin || y >= margin + h;
        for (int x = 0; x < sw; ++x) {
            if (!band && x == margin)
                x = margin + w;
            if (x < sw && (row[x] & kUntouched) != kUntouched)
                return false;
        }
    }
    std::shared_ptr<zyn::gdi::Surface> pixels = zyn::gdi::Surface::Create(w, h, zyn::gdi::PixelFormat::Bgrx32);
    if (!pixels)
        return false;
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels->Row32(y), sc.Row(margin + y) + margin, static_cast<size_t>(w) * 4);
    // Counted while it lives.
    *m_s.pictureBytes += bytes;
    const zyn::gdi::Surface* raw = pixels.get();
    into.pixels = std::shared_ptr<const zyn::gdi::Surface>(
        raw, [kept = std::move(pixels), counter = m_s.pictureBytes, bytes](const zyn::gdi::Surface*) mutable {
            *counter -= bytes;
            kept.reset();
        });
    return true;
}

void DropTabPictures(TabState& s)
{
    for (TabItem& item : s.items)
        item.pictures = TabPictureSlots{};
}

} // namespace zyn::comctl::detail
