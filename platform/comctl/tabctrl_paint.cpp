// The tab control's classic painting: the background, the pane (EDGE_RAISED, soft), each
// tab's raised edges (highlight on the sides facing up and left, dark shadow and shadow on
// the others, one-pixel rounded corners at the far end), the selected tab last and larger,
// joined to the pane; buttons as raised, sunken or flat frames; images, text with its
// mnemonic underline, the disabled, hot and highlighted looks, the focus rectangle and
// owner drawing (WM_DRAWITEM, ODT_TAB).
#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

#include "platform/comctl/tabctrl_state.h"
#include "platform/gdi/owned.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

namespace zyn::comctl::detail {

using namespace tabgeo;

namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)); }

// The solid fills of one tab (background and edges), gathered and drawn in one batch so
// that the DC is looked up once per tab rather than once per one-pixel line.
class Fills {
public:
    explicit Fills(HDC dc) : m_dc(dc) {}
    ~Fills() { Flush(); }
    Fills(const Fills&) = delete;
    Fills& operator=(const Fills&) = delete;

    void Add(int l, int t, int r, int b, int color)
    {
        if (r <= l || b <= t)
            return;
        if (m_count == kCapacity)
            Flush();
        m_rects[m_count++] = zyn::gdi::SysColorRect{RECT{l, t, r, b}, color};
    }
    void Flush()
    {
        if (m_count)
            zyn::gdi::FillSysColorRects(m_dc, m_rects.data(), m_count);
        m_count = 0;
    }

private:
    static constexpr size_t kCapacity = 16;
    HDC m_dc;
    std::array<zyn::gdi::SysColorRect, kCapacity> m_rects{};
    size_t m_count = 0;
};

void Fill(Fills& f, int l, int t, int r, int b, int color) { f.Add(l, t, r, b, color); }

// Horizontal run [x0, x1) at y and vertical run [y0, y1) at x.
void HLine(Fills& f, int x0, int x1, int y, int color) { f.Add(x0, y, x1, y + 1, color); }
void VLine(Fills& f, int x, int y0, int y1, int color) { f.Add(x, y0, x + 1, y1, color); }
void Dot(Fills& f, int x, int y, int color) { f.Add(x, y, x + 1, y + 1, color); }

// The raised edges of a tab whose open side (the one joined to the pane) is `side`'s.
void DrawTabEdges(Fills& dc, TabSide side, const RECT& r)
{
    const int l = r.left, t = r.top, rt = r.right, b = r.bottom;
    constexpr int hi = COLOR_3DHIGHLIGHT, dk = COLOR_3DDKSHADOW, sh = COLOR_3DSHADOW;
    switch (side) {
    case TabSide::Top:
        VLine(dc, l, t + 2, b, hi);
        Dot(dc, l + 1, t + 1, hi);
        HLine(dc, l + 2, rt - 2, t, hi);
        Dot(dc, rt - 2, t + 1, dk);
        VLine(dc, rt - 1, t + 2, b, dk);
        VLine(dc, rt - 2, t + 2, b, sh);
        break;
    case TabSide::Bottom:
        VLine(dc, l, t, b - 2, hi);
        Dot(dc, l + 1, b - 2, hi);
        HLine(dc, l + 2, rt - 2, b - 1, dk);
        HLine(dc, l + 2, rt - 2, b - 2, sh);
        Dot(dc, rt - 2, b - 2, dk);
        VLine(dc, rt - 1, t, b - 2, dk);
        VLine(dc, rt - 2, t, b - 2, sh);
        break;
    case TabSide::Left:
        HLine(dc, l + 2, rt, t, hi);
        Dot(dc, l + 1, t + 1, hi);
        VLine(dc, l, t + 2, b - 2, hi);
        Dot(dc, l + 1, b - 2, dk);
        HLine(dc, l + 2, rt, b - 1, dk);
        HLine(dc, l + 2, rt, b - 2, sh);
        break;
    case TabSide::Right:
        HLine(dc, l, rt - 2, t, hi);
        Dot(dc, rt - 2, t + 1, dk);
        VLine(dc, rt - 1, t + 2, b - 2, dk);
        VLine(dc, rt - 2, t + 2, b - 2, sh);
        Dot(dc, rt - 2, b - 2, dk);
        HLine(dc, l, rt - 2, b - 1, dk);
        HLine(dc, l, rt - 2, b - 2, sh);
        break;
    }
}

ULONG_PTR ItemData(const TabState& s, const TabItem& item)
{
    if (item.data.empty())
        return 0;
    if (s.cbExtra == static_cast<int>(sizeof(LPARAM))) {
        LPARAM v = 0;
        std::copy_n(item.data.data(), sizeof v, reinterpret_cast<BYTE*>(&v));
        return static_cast<ULONG_PTR>(v);
    }
    return reinterpret_cast<ULONG_PTR>(item.data.data());
}

// A text run turned a quarter: reading upwards (left side) or downwards (right side).
void DrawVerticalText(HDC dc, HFONT base, const std::wstring& text, const RECT& where, bool upwards, bool enabled)
{
    LOGFONTW lf{};
    ::GetObjectW(base, sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = upwards ? 900 : 2700;
    HFONT turned = ::CreateFontIndirectW(&lf);
    if (!turned)
        return;
    // Mnemonic marks have no place in turned text: "&&" shows one '&', a single '&' goes.
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        plain += text[i];
    }
    {
        zyn::user::DcSelection sel(dc, turned);
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        // A 900 font's cell lies right of the reference point, a 2700 font's left of it.
        const int x = upwards ? where.left : where.right;
        const int y = upwards ? where.bottom : where.top;
        const auto n = static_cast<UINT>(plain.size());
        if (enabled) {
            ::ExtTextOutW(dc, x, y, 0, nullptr, plain.c_str(), n, nullptr);
        } else {
            const COLORREF old = ::SetTextColor(dc, ::GetSysColor(COLOR_3DHIGHLIGHT));
            ::ExtTextOutW(dc, x + 1, y + 1, 0, nullptr, plain.c_str(), n, nullptr);
            ::SetTextColor(dc, ::GetSysColor(COLOR_3DSHADOW));
            ::ExtTextOutW(dc, x, y, 0, nullptr, plain.c_str(), n, nullptr);
            ::SetTextColor(dc, old);
        }
        ::SetBkMode(dc, oldMode);
    }
    ::DeleteObject(turned);
}

TabLook LookOf(const TabState& s, const TabItem& item, int index, DWORD style, bool enabled, const ImageFacts& images)
{
    TabLook look;
    look.side = SideOf(style);
    look.buttons = (style & TCS_BUTTONS) != 0;
    look.flat = look.buttons && (style & TCS_FLATBUTTONS);
    look.selected = index == s.sel;
    look.enabled = enabled;
    look.highlighted = (item.state & TCIS_HIGHLIGHTED) != 0;
    look.hotText = index == s.hot && (style & TCS_HOTTRACK);
    look.rect = item.rect;
    if (!look.buttons) {
        if (look.selected)
            look.rect = SelectedTabRect(look.side, look.rect);
    } else {
        look.pushed = look.selected || (item.state & TCIS_BUTTONPRESSED);
        look.hotButton = look.flat && !look.pushed && index == s.hot;
    }
    RECT base = item.rect;
    if (look.pushed)
        ::OffsetRect(&base, 1, 1);
    look.parts = PartsOf(item, base, style, s.padding, images);
    look.image = images.Has(item);
    return look;
}

// The tab's background and edges (a button's frame).
void DrawFrame(HDC dc, const TabLook& look)
{
    const RECT& r = look.rect;
    if (!look.buttons) {
        Fills fills(dc);
        Fill(fills, r.left, r.top, r.right, r.bottom, COLOR_3DFACE);
        DrawTabEdges(fills, look.side, r);
        if (look.highlighted) {
            RECT in = r;
            ::InflateRect(&in, -2, -2);
            Fill(fills, in.left, in.top, in.right, in.bottom, COLOR_HIGHLIGHT);
        }
        return;
    }
    {
        Fills fills(dc);
        Fill(fills, r.left, r.top, r.right, r.bottom, look.highlighted ? COLOR_HIGHLIGHT : COLOR_3DFACE);
    }
    RECT e = r;
    if (look.flat) {
        if (look.pushed)
            ::DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
        else if (look.hotButton)
            ::DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT);
    } else {
        ::DrawEdge(dc, &e, look.pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    }
}

// What one paint's items share.
struct PaintPass {
    DWORD style = 0;
    bool focused = false;
    // Read once when nothing can change them between the items (no owner drawing).
    bool enabled = true;
    ImageFacts images;
    TabPictures* pictures = nullptr;
};

// Draws one tab; true when it came from its picture (so it stayed inside its rectangle).
bool DrawItem(TabState& s, HDC dc, int index, const PaintPass& pass)
{
    // An owner's WM_DRAWITEM may have changed the items meanwhile.
    if (!s.Valid(index))
        return false;
    TabItem& item = s.items[static_cast<size_t>(index)];
    if (pass.style & TCS_OWNERDRAWFIXED) {
        const bool enabled = ::IsWindowEnabled(s.self) != FALSE;
        const TabLook look = LookOf(s, item, index, pass.style, enabled, ImageFactsOf(s));
        DrawFrame(dc, look);
        UINT state = look.selected ? ODS_SELECTED : 0;
        if (!enabled)
            state |= ODS_DISABLED;
        if (pass.focused && index == s.focus)
            state |= ODS_FOCUS;
        zyn::user::SendDrawItem(s.self, ODT_TAB, static_cast<UINT>(index), ODA_DRAWENTIRE, state, dc, item.rect,
            ItemData(s, item));
        return false;
    }
    if (pass.pictures) {
        const bool grown = index == s.sel && !(pass.style & TCS_BUTTONS);
        if (pass.pictures->LeavesAlone(item, grown ? SelectedTabRect(SideOf(pass.style), item.rect) : item.rect))
            return true;
    }
    const TabLook look = LookOf(s, item, index, pass.style, pass.enabled, pass.images);
    if (pass.pictures && pass.pictures->Paint(item, look))
        return true;
    DrawTab(s, dc, item, look, zyn::user::FontOrSystem(s.font));
    return false;
}

// Fills `client` less the items' rectangles with the face colour, band by band: the
// rectangles' tops and bottoms cut the client into horizontal bands, and in each band the
// runs between the items covering it are filled.
void FillAroundTabs(const TabState& s, HDC hdc, const RECT& client)
{
    std::vector<int> ys{client.top, client.bottom};
    for (const TabItem& item : s.items) {
        ys.push_back(std::clamp(static_cast<int>(item.rect.top), static_cast<int>(client.top),
            static_cast<int>(client.bottom)));
        ys.push_back(std::clamp(static_cast<int>(item.rect.bottom), static_cast<int>(client.top),
            static_cast<int>(client.bottom)));
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Fills fills(hdc);
    std::vector<std::pair<int, int>> spans;
    for (size_t b = 0; b + 1 < ys.size(); ++b) {
        const int top = ys[b], bottom = ys[b + 1];
        const RECT band{client.left, top, client.right, bottom};
        if (!::RectVisible(hdc, &band))
            continue;
        spans.clear();
        for (const TabItem& item : s.items) {
            const RECT& r = item.rect;
            if (r.top <= top && r.bottom >= bottom && r.left < r.right)
                spans.emplace_back(r.left, r.right);
        }
        std::sort(spans.begin(), spans.end());
        int x = client.left;
        for (const auto& [l, r] : spans) {
            if (l > x)
                fills.Add(x, top, std::min(l, static_cast<int>(client.right)), bottom, COLOR_3DFACE);
            x = std::max(x, r);
        }
        fills.Add(x, top, client.right, bottom, COLOR_3DFACE);
    }
}

} // namespace

uint32_t TabLook::Flags() const
{
    const auto bit = [](bool on, int at) { return on ? 1u << at : 0u; };
    return static_cast<uint32_t>(side) | bit(buttons, 2) | bit(flat, 3) | bit(selected, 4) | bit(pushed, 5) |
           bit(highlighted, 6) | bit(hotText, 7) | bit(hotButton, 8) | bit(enabled, 9) | bit(image, 10);
}

void DrawTab(const TabState& s, HDC dc, const TabItem& item, const TabLook& look, HFONT font)
{
    DrawFrame(dc, look);
    if (look.image)
        ::ImageList_Draw(s.images, item.image, dc, look.parts.icon.left, look.parts.icon.top, ILD_TRANSPARENT);
    if (item.text.empty())
        return;
    const COLORREF color =
        ::GetSysColor(look.highlighted ? COLOR_HIGHLIGHTTEXT : look.hotText ? COLOR_HOTLIGHT : COLOR_BTNTEXT);
    const COLORREF oldColor = ::SetTextColor(dc, color);
    if (IsVerticalSide(look.side)) {
        DrawVerticalText(dc, font, item.text, look.parts.text, look.side == TabSide::Left, look.enabled);
    } else {
        zyn::user::DcSelection sel(dc, font);
        zyn::user::DrawControlText(
            dc, item.text, look.parts.text, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP, look.enabled);
    }
    ::SetTextColor(dc, oldColor);
}

bool PaintTabs(TabState& s, HDC hdc, bool fromPaint)
{
    EnsureLayout(s);
    const DWORD style = StyleOf(s.self);
    const TabSide side = SideOf(style);
    const bool buttons = (style & TCS_BUTTONS) != 0;
    RECT client{};
    ::GetClientRect(s.self, &client);
    // Every tab fills its own rectangle below, so the background needs filling only around
    // them, unless a tab can go unpainted: an owner may change the items while drawing,
    // and with the spin some tabs are scrolled away or cut.
    if (s.overflow || (style & TCS_OWNERDRAWFIXED))
        ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_3DFACE));
    else
        FillAroundTabs(s, hdc, client);
    if (!buttons) {
        RECT pane = PaneRect(side, s.rows, s.rowHeight, client.right, client.bottom);
        ::DrawEdge(hdc, &pane, EDGE_RAISED, BF_RECT | BF_SOFT);
    }
    const int saved = ::SaveDC(hdc);
    if (s.overflow) {
        // Tabs are cut where the spin starts, and the spin paints itself.
        if (side == TabSide::Bottom)
            ::ExcludeClipRect(hdc, s.limit, client.bottom - kMargin - s.rowHeight - 1, client.right,
                client.bottom);
        else
            ::ExcludeClipRect(hdc, s.limit, 0, client.right, kMargin + s.rowHeight + 1);
    }
    const bool ownerDrawn = (style & TCS_OWNERDRAWFIXED) != 0;
    PaintPass pass;
    pass.style = style;
    pass.focused = ::GetFocus() == s.self;
    std::optional<TabPictures> pictures;
    if (!ownerDrawn) {
        pass.enabled = ::IsWindowEnabled(s.self) != FALSE;
        pass.images = ImageFactsOf(s);
        if (fromPaint)
            pass.pictures = &pictures.emplace(s, hdc, zyn::user::FontOrSystem(s.font));
    }
    const bool focused = pass.focused;
    const int first = s.overflow ? s.firstVisible : 0;
    // Only an owner drawing a tab can destroy the control meanwhile.
    const auto alive = [&] { return !ownerDrawn || ::IsWindow(s.self); };
    bool contained = pass.pictures != nullptr && !s.overflow;
    for (int i = first; i < static_cast<int>(s.items.size()); ++i) {
        if (i != s.sel || buttons)
            contained = DrawItem(s, hdc, i, pass) && contained;
        if (!alive())
            break;
    }
    if (!buttons && s.Valid(s.sel) && s.sel >= first && alive())
        contained = DrawItem(s, hdc, s.sel, pass) && contained;
    if ((style & TCS_BUTTONS) && (style & TCS_FLATBUTTONS) && (s.exStyle & TCS_EX_FLATSEPARATORS)) {
        // An etched line in the gap after each button of a row that another follows.
        Fills fills(hdc);
        for (int i = first; i + 1 < static_cast<int>(s.items.size()) && ::IsWindow(s.self); ++i) {
            const RECT& a = s.items[static_cast<size_t>(i)].rect;
            if (s.items[static_cast<size_t>(i + 1)].row != s.items[static_cast<size_t>(i)].row)
                continue;
            const int x = a.right + kButtonGap / 2;
            VLine(fills, x, a.top, a.bottom, COLOR_3DSHADOW);
            VLine(fills, x + 1, a.top, a.bottom, COLOR_3DHIGHLIGHT);
        }
    }
    if (focused && s.Valid(s.focus) && s.focus >= first && !(style & TCS_OWNERDRAWFIXED) && ::IsWindow(s.self)) {
        RECT f = s.items[static_cast<size_t>(s.focus)].rect;
        ::InflateRect(&f, -3, -3);
        if (f.right > f.left && f.bottom > f.top)
            ::DrawFocusRect(hdc, &f);
    }
    ::RestoreDC(hdc, saved);
    return contained;
}

void RedrawTabs(const TabState& s) { zyn::user::RedrawControl(s.self); }

namespace {

// The extent across the rows (down for tabs on top or bottom, along x for side tabs) that
// some rectangles span, as a strip of the client.
class RowBand {
public:
    explicit RowBand(bool vertical) : m_vertical(vertical) {}
    void Add(const RECT& r)
    {
        m_lo = std::min(m_lo, static_cast<int>(m_vertical ? r.left : r.top));
        m_hi = std::max(m_hi, static_cast<int>(m_vertical ? r.right : r.bottom));
    }
    RECT Across(const RECT& client) const
    {
        RECT band = client;
        (m_vertical ? band.left : band.top) = m_lo;
        (m_vertical ? band.right : band.bottom) = m_hi;
        return band;
    }

private:
    bool m_vertical;
    int m_lo = INT_MAX, m_hi = INT_MIN;
};

bool Overlaps(const RECT& a, const RECT& b)
{
    RECT i{};
    return ::IntersectRect(&i, &a, &b) != FALSE;
}

} // namespace

bool RedrawMovedRows(TabState& s, const std::vector<RECT>& was, int oldRows, int oldSel, int oldFocus)
{
    const HWND hwnd = s.self;
    const DWORD style = StyleOf(hwnd);
    // Only the control's own painting is known to move with its rows, and only while the
    // screen still shows it (see TabState::screenClean); a window above that waits for a
    // paint could cover the moved pixels.
    if (!s.screenClean || s.overflow || s.rows != oldRows || was.size() != s.items.size() || (style & TCS_OWNERDRAWFIXED) ||
        !::IsWindowVisible(hwnd) || zyn::user::DcUseOf(hwnd) != s.cleanDcs ||
        (::GetClassLongW(hwnd, GCL_STYLE) & (CS_OWNDC | CS_CLASSDC | CS_PARENTDC)) ||
        zyn::user::AncestorPaintPending(hwnd))
        return false;
    const TabSide side = SideOf(style);
    const bool vertical = IsVerticalSide(side);
    // Rows move across, whole: every tab keeps its size and its place along its row. The
    // offset most tabs moved by is the one whose pixels are moved.
    std::vector<std::pair<int, int>> moves; // (offset, tabs), few: one per row at most
    std::vector<int> offsetOf(s.items.size());
    for (size_t i = 0; i < s.items.size(); ++i) {
        const RECT& a = was[i];
        const RECT& b = s.items[i].rect;
        if (b.right - b.left != a.right - a.left || b.bottom - b.top != a.bottom - a.top ||
            (vertical ? b.top != a.top : b.left != a.left))
            return false;
        const int d = vertical ? b.left - a.left : b.top - a.top;
        offsetOf[i] = d;
        const auto found = std::find_if(moves.begin(), moves.end(), [d](const auto& m) { return m.first == d; });
        if (found == moves.end())
            moves.emplace_back(d, 1);
        else
            ++found->second;
    }
    if (moves.empty())
        return false;
    const int offset = std::max_element(moves.begin(), moves.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    })->first;
    RECT client{};
    ::GetClientRect(hwnd, &client);
    // The band those tabs fill across the client, before and after; no other tab lies in it.
    RowBand moving(vertical);
    for (size_t i = 0; i < s.items.size(); ++i)
        if (offsetOf[i] == offset)
            moving.Add(was[i]);
    const RECT from = moving.Across(client);
    const int dx = vertical ? offset : 0, dy = vertical ? 0 : offset;
    RECT to = from;
    ::OffsetRect(&to, dx, dy);
    for (size_t i = 0; i < s.items.size(); ++i)
        if (offsetOf[i] != offset && (Overlaps(was[i], from) || Overlaps(s.items[i].rect, to)))
            return false;

    zyn::gdi::OwnedObject keep(::CreateRectRgn(0, 0, 0, 0));
    if (!keep.get() || !zyn::user::MoveClientPixels(hwnd, from, dx, dy, keep.get()))
        return false;
    // The moved pixels are the control's own: the screen stays clean.
    s.cleanDcs = zyn::user::DcUseOf(hwnd);
    // What is painted: the tabs' band across the client (as it was and as it is) but for the
    // moved pixels, and wherever the selection or the focus changed: the tabs concerned,
    // with what the selected tab draws over its neighbours, the margin and the pane's edge
    // (as it was, where it was and moved along, and as it is now). Outside the band nothing
    // else changes: the pane and the margin stay as they are on the screen.
    RowBand tabs(vertical);
    for (size_t i = 0; i < s.items.size(); ++i) {
        tabs.Add(was[i]);
        tabs.Add(s.items[i].rect);
    }
    const RECT band = tabs.Across(client);
    zyn::gdi::OwnedObject paint(::CreateRectRgnIndirect(&band));
    if (!paint.get() || ::CombineRgn(paint.get(), paint.get(), keep.get(), RGN_DIFF) == RGN_ERROR) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
    } else {
        const auto add = [&](RECT r, bool moved) {
            ::InflateRect(&r, 1, 1);
            if (moved)
                ::OffsetRect(&r, dx, dy);
            zyn::gdi::OwnedObject part(::CreateRectRgnIndirect(&r));
            if (part.get())
                ::CombineRgn(paint.get(), paint.get(), part.get(), RGN_OR);
        };
        const auto valid = [&](int i) { return i >= 0 && i < static_cast<int>(was.size()); };
        if (valid(oldSel)) {
            const RECT drawn = SelectedTabRect(side, was[static_cast<size_t>(oldSel)]);
            add(drawn, false);
            add(drawn, true);
        }
        if (valid(oldFocus))
            add(was[static_cast<size_t>(oldFocus)], true);
        if (s.Valid(s.sel))
            add(SelectedTabRect(side, s.items[static_cast<size_t>(s.sel)].rect), false);
        if (s.Valid(s.focus))
            add(s.items[static_cast<size_t>(s.focus)].rect, false);
        ::InvalidateRgn(hwnd, paint.get(), FALSE);
    }
    zyn::user::UpdateControlNow(hwnd);
    return true;
}

} // namespace zyn::comctl::detail
