// Painting runs of text through a sink.
#include "platform/gdi/text_render.h"

#include <algorithm>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_realize.h"
#include "platform/gdi/gdi_object.h"

namespace zyn::gdi {

// ---- sinks ---------------------------------------------------------------------------------------
bool DcTextSink::Aliased() const { return m_dc.IsMono(); }

void DcTextSink::Fill(const RECT& r, COLORREF color)
{
    if (r.left >= r.right || r.top >= r.bottom || !m_dc.surface)
        return;
    BrushObj brush;
    brush.style = BS_SOLID;
    brush.color = PlainColor(color);
    FillDeviceRect(m_dc, r, &brush, PATCOPY);
}

void DcTextSink::Blend(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color)
{
    if (w <= 0 || h <= 0 || !m_dc.surface)
        return;
    BlendCoverage(m_dc, x, y, w, h, coverage, stride, PlainColor(color));
}

MaskTextSink::MaskTextSink(int width, int height)
    : m_w(std::max(0, width)), m_h(std::max(0, height)), m_px(static_cast<size_t>(m_w) * m_h, 0)
{
}

void MaskTextSink::Fill(const RECT& r, COLORREF)
{
    const int x0 = std::max<int>(r.left, 0), x1 = std::min<int>(r.right, m_w);
    const int y0 = std::max<int>(r.top, 0), y1 = std::min<int>(r.bottom, m_h);
    for (int y = y0; y < y1; ++y)
        std::fill_n(m_px.begin() + static_cast<ptrdiff_t>(y) * m_w + x0, std::max(0, x1 - x0), uint8_t{255});
}

void MaskTextSink::Blend(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF)
{
    for (int j = std::max(0, -y); j < h && y + j < m_h; ++j) {
        for (int i = std::max(0, -x); i < w && x + i < m_w; ++i) {
            uint8_t& d = m_px[static_cast<size_t>(y + j) * m_w + (x + i)];
            d = std::max(d, coverage[j * stride + i]);
        }
    }
}

// ---- geometry --------------------------------------------------------------------------------------
RECT RotateRect(POINT o, int q, int u0, int v0, int u1, int v1)
{
    if (u0 > u1)
        std::swap(u0, u1);
    if (v0 > v1)
        std::swap(v0, v1);
    switch (q & 3) {
    case 1: return RECT{o.x + v0, o.y - u1, o.x + v1, o.y - u0};
    case 2: return RECT{o.x - u1, o.y - v1, o.x - u0, o.y - v0};
    case 3: return RECT{o.x - v1, o.y + u0, o.x - v0, o.y + u1};
    default: return RECT{o.x + u0, o.y + v0, o.x + u1, o.y + v1};
    }
}

POINT RotateVector(int q, int u, int v)
{
    switch (q & 3) {
    case 1: return POINT{v, -u};
    case 2: return POINT{-u, -v};
    case 3: return POINT{-v, u};
    default: return POINT{u, v};
    }
}

namespace {

bool Intersect(RECT& r, const RunStyle& st)
{
    if (st.clip) {
        r.left = std::max(r.left, st.clipRect.left);
        r.top = std::max(r.top, st.clipRect.top);
        r.right = std::min(r.right, st.clipRect.right);
        r.bottom = std::min(r.bottom, st.clipRect.bottom);
    }
    return r.left < r.right && r.top < r.bottom;
}

// Blends coverage whose device rectangle is `dev` (w x h bytes, `stride` a row), cropped to
// the run's clip rectangle.
void BlendClipped(TextSink& sink, const RECT& dev, const uint8_t* cov, ptrdiff_t stride, COLORREF color,
    const RunStyle& st)
{
    RECT r = dev;
    if (!Intersect(r, st))
        return;
    const uint8_t* p = cov + static_cast<ptrdiff_t>(r.top - dev.top) * stride + (r.left - dev.left);
    sink.Blend(r.left, r.top, r.right - r.left, r.bottom - r.top, p, stride, color);
}

} // namespace

void PaintRun(TextSink& sink, const RealizedFont& font, POINT origin, const TextRun& run, const RunStyle& st)
{
    const TEXTMETRICW& tm = font.Metrics();
    const int q = font.Quarter();
    auto fill = [&](int u0, int v0, int u1, int v1, COLORREF c) {
        RECT r = RotateRect(origin, q, u0, v0, u1, v1);
        if (Intersect(r, st))
            sink.Fill(r, c);
    };
    if (st.opaque && st.glyphs && run.width != 0)
        fill(0, 0, run.width, tm.tmHeight, st.back);

    if (st.glyphs) {
        const bool aliased = font.Aliased() || sink.Aliased();
        std::vector<uint8_t> turned;
        auto access = font.Lock();
        for (size_t i = 0; i < run.chars.size() && i < run.pos.size(); ++i) {
            const char32_t c = run.chars[i];
            if (c == 0)
                continue;
            const Glyph& g = access.Image(c, aliased);
            if (g.width <= 0 || g.height <= 0)
                continue;
            const int u = run.pos[i] + g.left;
            const int v = tm.tmAscent - g.top + (i < run.rise.size() ? run.rise[i] : 0);
            const RECT dev = RotateRect(origin, q, u, v, u + g.width, v + g.height);
            if (q == 0) {
                BlendClipped(sink, dev, g.coverage.data(), g.width, st.text, st);
                continue;
            }
            // Turn the image to match the text direction.
            const int w = g.width, h = g.height;
            const int rw = (q == 2) ? w : h, rh = (q == 2) ? h : w;
            turned.resize(static_cast<size_t>(rw) * rh);
            const uint8_t* b = g.coverage.data();
            for (int r = 0; r < rh; ++r) {
                for (int cc = 0; cc < rw; ++cc) {
                    uint8_t v8;
                    if (q == 1)
                        v8 = b[static_cast<size_t>(cc) * w + (w - 1 - r)];
                    else if (q == 2)
                        v8 = b[static_cast<size_t>(h - 1 - r) * w + (w - 1 - cc)];
                    else
                        v8 = b[static_cast<size_t>(h - 1 - cc) * w + r];
                    turned[static_cast<size_t>(r) * rw + cc] = v8;
                }
            }
            BlendClipped(sink, dev, turned.data(), rw, st.text, st);
        }
    }

    const int base = tm.tmAscent;
    if (st.glyphs && run.width != 0) {
        if (font.Underline())
            fill(0, base + font.UnderlineTop(), run.width, base + font.UnderlineTop() + font.UnderlineHeight(), st.text);
        if (font.StrikeOut())
            fill(0, base + font.StrikeTop(), run.width, base + font.StrikeTop() + font.StrikeHeight(), st.text);
    }
    for (const auto& [u0, u1] : run.marks) {
        if (u0 != u1)
            fill(u0, base + font.UnderlineTop(), u1, base + font.UnderlineTop() + font.UnderlineHeight(), st.text);
    }
}

} // namespace zyn::gdi
