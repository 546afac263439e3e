// Realising fonts: sizes and metrics from the face's design metrics, glyphs through
// FreeType (or the built-in symbol and box faces), and the realisation cache.
#include "platform/gdi/font_realize.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GASP_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <atomic>
#include <cmath>
#include <list>
#include <map>
#include <tuple>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/marlett.h"

namespace zyn::gdi {

namespace {

// a * b / c rounded half away from zero, in 64 bits.
int MulDivRound(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    const int64_t n = a * b;
    const int64_t q = (n >= 0) == (c > 0) ? (std::abs(n) + std::abs(c) / 2) / std::abs(c)
                                          : -((std::abs(n) + std::abs(c) / 2) / std::abs(c));
    return static_cast<int>(q);
}

int ClampPx(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 1, kMaxFontEm)); }

int QuarterOf(LONG escapement)
{
    int64_t e = escapement % 3600;
    if (e < 0)
        e += 3600;
    return static_cast<int>(((e + 450) / 900) % 4);
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// The design metrics of the box face (those of DejaVu Sans, so a missing file changes the
// look of text but hardly its layout).
constexpr int kBoxUpem = 2048, kBoxAscent = 1901, kBoxDescent = 483;

// Cell height to em: em = cell * upem / (ascent + descent).
// A bitmap glyph made bold as raster fonts are: drawn again `px` pixels to the right.
void EmboldenCoverage(Glyph& g, int px)
{
    const int w = g.width + px;
    std::vector<uint8_t> out(static_cast<size_t>(w) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            const uint8_t v = g.coverage[static_cast<size_t>(y) * g.width + x];
            for (int k = 0; k <= px; ++k) {
                uint8_t& o = out[static_cast<size_t>(y) * w + x + k];
                o = std::max(o, v);
            }
        }
    }
    g.width = w;
    g.coverage = std::move(out);
}

// A bitmap glyph slanted as the outlines are (12 degrees): each row moved right by its
// height above the baseline times tan 12 degrees, rounded.
void SlantCoverage(Glyph& g)
{
    if (g.width <= 0 || g.height <= 0)
        return;
    auto shift = [&](int y) { return static_cast<int>(std::lround((g.top - y) * 0.21256)); };
    const int lo = std::min(shift(0), shift(g.height - 1));
    const int hi = std::max(shift(0), shift(g.height - 1));
    const int w = g.width + hi - lo;
    std::vector<uint8_t> out(static_cast<size_t>(w) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        const int dx = shift(y) - lo;
        std::copy_n(g.coverage.begin() + static_cast<ptrdiff_t>(y) * g.width, g.width,
            out.begin() + static_cast<ptrdiff_t>(y) * w + dx);
    }
    g.left += lo;
    g.width = w;
    g.coverage = std::move(out);
}

// The name GetTextFace reports: the Windows face a metric file stands for, else its own.
std::wstring NameOf(const FontFace& face)
{
    const wchar_t* metric = MetricFaceName(face.Metric());
    return metric ? metric : FamilyName(face.Family());
}

void SizeFromHeight(LONG lfHeight, int upem, int winAscent, int winDescent, int& em, int& ascent, int& descent)
{
    const int cellUnits = std::max(1, winAscent + winDescent);
    if (lfHeight < 0) {
        em = ClampPx(-static_cast<int64_t>(lfHeight));
        ascent = MulDivRound(em, winAscent, upem);
        descent = MulDivRound(em, winDescent, upem);
        if (ascent + descent <= 0)
            ascent = em;
    } else {
        const int cell = lfHeight == 0 ? 16 : ClampPx(lfHeight);
        em = std::max(1, MulDivRound(cell, upem, cellUnits));
        ascent = MulDivRound(cell, winAscent, cellUnits);
        descent = cell - ascent;
    }
}

} // namespace

// ---- realisation -------------------------------------------------------------------------------
RealizedFont::RealizedFont(const LOGFONTW& lf)
{
    m_ascii.fill(-1);
    m_quarter = QuarterOf(lf.lfEscapement);
    m_aliased = lf.lfQuality == NONANTIALIASED_QUALITY;
    m_underline = lf.lfUnderline != 0;
    m_strike = lf.lfStrikeOut != 0;
    const FaceChoice choice = ChooseFace(lf);
    if (choice.family == FaceFamily::Marlett)
        InitMarlett(lf);
    else
        InitFreeType(lf, choice);
}

RealizedFont::~RealizedFont()
{
    if (m_size && m_face) {
        std::lock_guard<std::mutex> lock(m_face->mutex);
        FT_Done_Size(m_size);
    }
}

void RealizedFont::InitFreeType(const LOGFONTW& lf, const FaceChoice& choice)
{
    FaceMatch match = FindFace(choice);
    if (!match.face) {
        InitBox(lf, choice);
        return;
    }
    if (match.face->BitmapOnly()) {
        InitStrike(lf, choice, std::move(match));
        return;
    }
    const FaceMetrics& fm = match.face->Metrics();
    int em = 0, ascent = 0, descent = 0;
    SizeFromHeight(lf.lfHeight, fm.unitsPerEm, fm.winAscent, fm.winDescent, em, ascent, descent);
    int xppem = em;
    if (lf.lfWidth > 0 && fm.xAdvance > 0)
        xppem = ClampPx(MulDivRound(lf.lfWidth, fm.unitsPerEm, fm.xAdvance));
    m_synthBold = match.synthBold;
    m_synthItalic = match.synthItalic;
    m_boldPx = m_synthBold ? std::max(1, (em + 12) / 24) : 0;

    FT_Face face = match.face->Face();
    FT_Size size = nullptr;
    {
        std::lock_guard<std::mutex> lock(match.face->mutex);
        if (FT_New_Size(face, &size) != 0)
            size = nullptr;
        else if (FT_Activate_Size(size) != 0 || FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(xppem),
                                                     static_cast<FT_UInt>(em)) != 0) {
            FT_Done_Size(size);
            size = nullptr;
        }
    }
    if (!size) {
        InitBox(lf, choice);
        return;
    }
    // The face's own grid-fitting table says at which sizes it is drawn in grey; where it
    // says not, the glyphs are fitted and drawn for one bit, from the face's bitmaps where
    // it has some at this size.
    {
        std::lock_guard<std::mutex> lock(match.face->mutex);
        const FT_Int gasp = FT_Get_Gasp(face, static_cast<FT_UInt>(em));
        m_bilevel = gasp != FT_GASP_NO_TABLE && (gasp & FT_GASP_DO_GRAY) == 0;
    }
    if (m_bilevel)
        m_aliased = true;
    m_kind = Kind::FreeType;
    m_face = std::move(match.face);
    m_size = size;
    m_em = em;
    m_faceName = NameOf(*m_face);

    TEXTMETRICW& tm = m_tm;
    tm.tmAscent = ascent;
    tm.tmDescent = descent;
    tm.tmHeight = ascent + descent;
    tm.tmInternalLeading = tm.tmHeight - em;
    tm.tmExternalLeading = MulDivRound(em, fm.externalLeading, fm.unitsPerEm);
    tm.tmMaxCharWidth = MulDivRound(xppem, fm.maxAdvance, fm.unitsPerEm) + m_boldPx;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        tm.tmAveCharWidth = AdvanceLocked(U'x');
    }
    if (tm.tmAveCharWidth <= 0)
        tm.tmAveCharWidth = std::max(1, MulDivRound(xppem, fm.xAdvance, fm.unitsPerEm));
    tm.tmMaxCharWidth = std::max(tm.tmMaxCharWidth, tm.tmAveCharWidth);

    m_ulHeight = std::max(1, MulDivRound(em, fm.underlineThickness, fm.unitsPerEm));
    m_ulTop = std::max(1, MulDivRound(em, -fm.underlinePosition, fm.unitsPerEm));
    m_stHeight = std::max(1, MulDivRound(em, fm.strikeoutSize, fm.unitsPerEm));
    m_stTop = -MulDivRound(em, fm.strikeoutPosition, fm.unitsPerEm);
    FinishMetrics(lf, m_face->Family(), m_face->Family() == FaceFamily::Mono, choice.bold, choice.italic);
}

namespace {

const Strike& ChooseStrike(const std::vector<Strike>& strikes, LONG lfHeight)
{
    // As raster fonts are matched: the largest size that does not exceed the request,
    // else the smallest. A negative height asks for the character height (the cell less
    // the internal leading, which is the descent for these faces), a positive one for the
    // cell, zero for the default 16-pixel cell.
    const bool em = lfHeight < 0;
    const int64_t want = lfHeight == 0 ? 16 : (em ? -static_cast<int64_t>(lfHeight) : lfHeight);
    const Strike* best = &strikes.front();
    for (const Strike& st : strikes) {
        if ((em ? st.ascent : st.ascent + st.descent) <= want)
            best = &st;
    }
    return *best;
}

} // namespace

void RealizedFont::InitStrike(const LOGFONTW& lf, const FaceChoice& choice, FaceMatch match)
{
    const Strike st = ChooseStrike(match.face->Strikes(), lf.lfHeight);
    FT_Size size = nullptr;
    {
        std::lock_guard<std::mutex> lock(match.face->mutex);
        if (FT_New_Size(match.face->Face(), &size) != 0)
            size = nullptr;
        else if (FT_Activate_Size(size) != 0 || FT_Select_Size(match.face->Face(), st.index) != 0) {
            FT_Done_Size(size);
            size = nullptr;
        }
    }
    if (!size) {
        InitBox(lf, choice);
        return;
    }
    m_kind = Kind::FreeType;
    m_bitmapFace = true;
    m_face = std::move(match.face);
    m_size = size;
    // The raster originals' headers give the descent as the internal leading, so the
    // character height is the ascent.
    m_em = st.ascent;
    m_faceName = NameOf(*m_face);
    m_synthBold = match.synthBold;
    m_synthItalic = match.synthItalic;
    m_boldPx = m_synthBold ? 1 : 0; // raster emboldening: each glyph once more, a pixel right

    TEXTMETRICW& tm = m_tm;
    tm.tmAscent = st.ascent;
    tm.tmDescent = st.descent;
    tm.tmHeight = st.ascent + st.descent;
    tm.tmInternalLeading = st.descent;
    tm.tmExternalLeading = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        tm.tmAveCharWidth = AdvanceLocked(U'x');
        // The strikes carry no trustworthy maximum: take it from the code page's characters.
        for (char32_t c = 0x20; c <= 0xFF; ++c)
            tm.tmMaxCharWidth = std::max<LONG>(tm.tmMaxCharWidth, AdvanceLocked(c));
    }
    tm.tmAveCharWidth = std::max<LONG>(1, tm.tmAveCharWidth);
    tm.tmMaxCharWidth = std::max(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    m_ulHeight = 1;
    m_ulTop = 1;
    m_stHeight = 1;
    m_stTop = -std::max(1, st.ascent * 3 / 10);
    FinishMetrics(lf, m_face->Family(), false, choice.bold, choice.italic);
}

void RealizedFont::InitMarlett(const LOGFONTW& lf)
{
    m_kind = Kind::Marlett;
    m_em = MarlettEm(lf.lfHeight);
    m_faceName = L"Marlett";
    TEXTMETRICW& tm = m_tm;
    tm.tmAscent = m_em;
    tm.tmDescent = 0;
    tm.tmHeight = m_em;
    tm.tmAveCharWidth = m_em;
    tm.tmMaxCharWidth = m_em;
    m_ulHeight = std::max(1, m_em / 16);
    m_ulTop = 1;
    m_stHeight = m_ulHeight;
    m_stTop = -m_em / 2;
    FinishMetrics(lf, FaceFamily::Marlett, true, false, false);
}

void RealizedFont::InitBox(const LOGFONTW& lf, const FaceChoice& choice)
{
    m_kind = Kind::Box;
    int ascent = 0, descent = 0;
    SizeFromHeight(lf.lfHeight, kBoxUpem, kBoxAscent, kBoxDescent, m_em, ascent, descent);
    m_faceName = FamilyName(choice.family);
    m_boldPx = choice.bold ? std::max(1, (m_em + 12) / 24) : 0;
    TEXTMETRICW& tm = m_tm;
    tm.tmAscent = ascent;
    tm.tmDescent = descent;
    tm.tmHeight = ascent + descent;
    tm.tmInternalLeading = tm.tmHeight - m_em;
    tm.tmAveCharWidth = BoxAdvance(U'x');
    tm.tmMaxCharWidth = tm.tmAveCharWidth;
    m_ulHeight = std::max(1, m_em / 16);
    m_ulTop = std::max(1, m_em / 16);
    m_stHeight = m_ulHeight;
    m_stTop = -std::max(1, m_em * 3 / 10);
    FinishMetrics(lf, choice.family, choice.family == FaceFamily::Mono, choice.bold, choice.italic);
}

void RealizedFont::FinishMetrics(const LOGFONTW& lf, FaceFamily family, bool fixedPitch, bool bold, bool italic)
{
    TEXTMETRICW& tm = m_tm;
    // An underline or strike-out must stay inside the cell.
    m_ulTop = std::min(m_ulTop, tm.tmDescent - m_ulHeight);
    m_stTop = std::clamp(m_stTop, -tm.tmAscent, std::max(-tm.tmAscent, tm.tmDescent - m_stHeight));
    tm.tmWeight = family == FaceFamily::Marlett ? FW_NORMAL : (bold ? FW_BOLD : FW_NORMAL);
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = family == FaceFamily::Marlett ? 0xFF : 0xFFFC;
    tm.tmDefaultChar = family == FaceFamily::Marlett ? 0x20 : 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = (italic && family != FaceFamily::Marlett) ? 0xFF : 0;
    tm.tmUnderlined = m_underline ? 0xFF : 0;
    tm.tmStruckOut = m_strike ? 0xFF : 0;
    BYTE fam = FF_SWISS;
    switch (family) {
    case FaceFamily::Sans: fam = FF_SWISS; break;
    case FaceFamily::Serif: fam = FF_ROMAN; break;
    case FaceFamily::Mono: fam = FF_MODERN; break;
    case FaceFamily::Marlett: fam = FF_DECORATIVE; break;
    }
    BYTE bits = fam;
    if (m_kind != Kind::Box && !m_bitmapFace)
        bits |= TMPF_VECTOR | TMPF_TRUETYPE;
    if (!fixedPitch)
        bits |= TMPF_FIXED_PITCH;
    tm.tmPitchAndFamily = bits;
    if (family == FaceFamily::Marlett)
        tm.tmCharSet = SYMBOL_CHARSET;
    else if (lf.lfCharSet == DEFAULT_CHARSET || lf.lfCharSet == SYMBOL_CHARSET)
        tm.tmCharSet = ANSI_CHARSET;
    else
        tm.tmCharSet = lf.lfCharSet;
}

// ---- glyphs -------------------------------------------------------------------------------------
int RealizedFont::BoxAdvance(char32_t c) const
{
    if (c == U' ' || c == 0xA0)
        return std::max(1, MulDivRound(m_em, 650, 2048)) + m_boldPx;
    return std::max(1, MulDivRound(m_em, 1126, 2048)) + m_boldPx;
}

int RealizedFont::AdvanceLocked(char32_t c)
{
    if (c < 128 && m_ascii[c] >= 0)
        return m_ascii[c];
    if (c >= 128) {
        auto it = m_advances.find(c);
        if (it != m_advances.end())
            return it->second;
    }
    int adv = 0;
    if (m_kind == Kind::Marlett)
        adv = m_em;
    else if (IsControl(c))
        adv = 0; // control characters (line breaks on a single line...) take no room
    else if (m_kind == Kind::Box)
        adv = BoxAdvance(c);
    else
        adv = LoadFreeType(c, nullptr, false);
    if (c < 128)
        m_ascii[c] = adv;
    else if (m_advances.size() < 65536)
        m_advances.emplace(c, adv);
    return adv;
}

const Glyph& RealizedFont::GlyphLocked(char32_t c, bool aliased)
{
    const uint64_t key = (static_cast<uint64_t>(c) << 1) | (aliased ? 1u : 0u);
    const Glyph** quick = c < 128 ? &m_asciiGlyphs[key] : nullptr;
    if (quick && *quick)
        return **quick;
    const Glyph& found = FindOrMakeGlyphLocked(c, key);
    if (quick)
        *quick = &found;
    return found;
}

const Glyph& RealizedFont::FindOrMakeGlyphLocked(char32_t c, uint64_t key)
{
    const bool aliased = (key & 1u) != 0;
    auto it = m_glyphs.find(key);
    if (it != m_glyphs.end())
        return it->second;
    // A cache without bound would grow with every character ever drawn; past a limit it
    // starts again (no reference into it outlives the lock, so this is safe).
    if (m_glyphs.size() >= 8192) {
        m_glyphs.clear();
        m_asciiGlyphs.fill(nullptr);
    }
    Glyph g;
    if (m_kind != Kind::Marlett && IsControl(c))
        return m_glyphs.emplace(key, std::move(g)).first->second;
    switch (m_kind) {
    case Kind::Marlett:
        if (RenderMarlettGlyph(c, m_em, g.coverage)) {
            g.width = m_em;
            g.height = m_em;
            g.left = 0;
            g.top = m_tm.tmAscent;
        } else {
            g.coverage.clear();
        }
        break;
    case Kind::Box: {
        // An outlined box for every visible character.
        const int adv = BoxAdvance(c);
        if (c > U' ' && c != 0xA0 && adv >= 3) {
            g.left = 1;
            g.width = adv - 2 - m_boldPx;
            g.top = std::max(2, m_em * 7 / 10);
            g.height = g.top;
            if (g.width < 2)
                g.width = 2;
            g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
            const int t = 1 + m_boldPx;
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (x < t || y < 1 || x >= g.width - t || y >= g.height - 1)
                        g.coverage[static_cast<size_t>(y) * g.width + x] = 255;
        }
        break;
    }
    case Kind::FreeType: LoadFreeType(c, &g, aliased); break;
    }
    return m_glyphs.emplace(key, std::move(g)).first->second;
}

int RealizedFont::LoadFreeType(char32_t c, Glyph* image, bool aliased)
{
    std::lock_guard<std::mutex> lock(m_face->mutex);
    FT_Face face = m_face->Face();
    if (FT_Activate_Size(m_size) != 0)
        return 0;
    FT_UInt gi = FT_Get_Char_Index(face, static_cast<FT_ULong>(c));
    const FT_Int32 flags = m_bitmapFace ? FT_LOAD_DEFAULT
        : m_bilevel                      ? FT_LOAD_TARGET_MONO
                                         : (FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP);
    if (FT_Load_Glyph(face, gi, flags) != 0) {
        if (gi == 0 || FT_Load_Glyph(face, 0, flags) != 0)
            return 0;
    }
    FT_GlyphSlot slot = face->glyph;
    int adv = static_cast<int>((slot->advance.x + 32) >> 6);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (m_synthBold)
            FT_Outline_EmboldenXY(&slot->outline, m_boldPx * 64, 0);
        if (m_synthItalic) {
            FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000}; // tan 12 degrees
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    adv += m_boldPx;
    if (!image)
        return adv;
    if (FT_Render_Glyph(slot, aliased ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return adv;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || !bm.buffer)
        return adv;
    image->left = slot->bitmap_left;
    image->top = slot->bitmap_top;
    image->width = static_cast<int>(bm.width);
    image->height = static_cast<int>(bm.rows);
    image->coverage.assign(static_cast<size_t>(image->width) * image->height, 0);
    for (int y = 0; y < image->height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        uint8_t* out = image->coverage.data() + static_cast<size_t>(y) * image->width;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < image->width; ++x)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
            for (int x = 0; x < image->width; ++x)
                out[x] = levels == 255 ? row[x] : static_cast<uint8_t>(row[x] * 255 / levels);
        }
    }
    if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
        if (m_synthBold)
            EmboldenCoverage(*image, m_boldPx);
        if (m_synthItalic)
            SlantCoverage(*image);
    }
    return adv;
}

// ---- the realisation cache ------------------------------------------------------------------------
namespace {

// What realisation depends on: the substituted face, family and style, the decorations, the
// quality, the rotation, the size and the character set.
using CacheKey = std::tuple<int, int, int, int, int, int, int, int, int, int, int>;

CacheKey KeyOf(const LOGFONTW& lf)
{
    const FaceChoice c = ChooseFace(lf);
    const bool marlett = c.family == FaceFamily::Marlett;
    return CacheKey{static_cast<int>(c.family), static_cast<int>(c.metric), marlett ? 0 : (c.bold ? 1 : 0), marlett ? 0 : (c.italic ? 1 : 0),
        lf.lfUnderline ? 1 : 0, lf.lfStrikeOut ? 1 : 0, lf.lfQuality == NONANTIALIASED_QUALITY ? 1 : 0,
        QuarterOf(lf.lfEscapement), static_cast<int>(lf.lfHeight), marlett ? 0 : std::max<int>(0, lf.lfWidth),
        marlett ? 0 : lf.lfCharSet};
}

struct Cache {
    std::mutex mutex;
    std::atomic<uint64_t> generation{1}; // bumped by a flush: font objects realise again
    std::list<CacheKey> order; // most recent first
    std::map<CacheKey, std::pair<std::shared_ptr<RealizedFont>, std::list<CacheKey>::iterator>> map;
};
Cache& TheCache()
{
    static Cache* c = new Cache;
    return *c;
}
constexpr size_t kCacheLimit = 256;

std::shared_ptr<RealizedFont> RealizeShared(const LOGFONTW& lf)
{
    Cache& c = TheCache();
    const CacheKey key = KeyOf(lf);
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        auto it = c.map.find(key);
        if (it != c.map.end()) {
            c.order.splice(c.order.begin(), c.order, it->second.second);
            return it->second.first;
        }
    }
    // Realise outside the cache lock: it may open a face file.
    auto font = std::make_shared<RealizedFont>(lf);
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.map.find(key);
    if (it != c.map.end())
        return it->second.first; // another thread was quicker
    c.order.push_front(key);
    c.map.emplace(key, std::make_pair(font, c.order.begin()));
    while (c.map.size() > kCacheLimit) {
        c.map.erase(c.order.back());
        c.order.pop_back();
    }
    return font;
}

} // namespace

std::shared_ptr<const RealizedFont> RealizeFont(const LOGFONTW& lf) { return RealizeShared(lf); }

namespace {
// What a font object keeps: its realised font and the cache generation it came from.
struct FontSlot {
    uint64_t generation = 0;
    std::shared_ptr<RealizedFont> font;
};
} // namespace

std::shared_ptr<const RealizedFont> RealizedFontOf(FontObj& font)
{
    const uint64_t gen = TheCache().generation.load();
    std::lock_guard<std::mutex> lock(font.mutex);
    if (font.renderData) {
        const auto slot = std::static_pointer_cast<FontSlot>(font.renderData);
        if (slot->generation == gen)
            return slot->font;
    }
    auto slot = std::make_shared<FontSlot>();
    slot->generation = gen;
    slot->font = RealizeShared(font.lf);
    font.renderData = slot;
    return slot->font;
}

std::shared_ptr<const RealizedFont> RealizedFontOf(const Dc& dc)
{
    if (FontObj* f = dc.Font())
        return RealizedFontOf(*f);
    if (auto stock = std::dynamic_pointer_cast<FontObj>(StockObject(SYSTEM_FONT)))
        return RealizedFontOf(*stock);
    LOGFONTW lf{};
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    return RealizeFont(lf);
}

size_t RealizedFontCacheSize()
{
    Cache& c = TheCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    return c.map.size();
}

void FlushRealizedFontCache()
{
    Cache& c = TheCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.map.clear();
    c.order.clear();
    ++c.generation;
}

} // namespace zyn::gdi
