#pragma once
// Realised fonts: a LOGFONT turned into a face at a pixel size, its text metrics and a
// cache of its glyphs. Font objects (FontObj) keep their realised font once made, and a
// process-wide cache keyed by the LOGFONT's realisation-relevant fields shares it between
// equal font objects.
//
// Heights follow the 96-DPI convention, in pixels (logical units are pixels):
//   lfHeight < 0   the character (em) height: -lfHeight;
//   lfHeight > 0   the cell height (tmAscent + tmDescent): tmHeight == lfHeight;
//   lfHeight == 0  the default: a cell height of 16 pixels, the classic system font's.
// Sizes are clamped to 1..kMaxFontEm pixels. The cell is the face's Windows ascent and
// descent (OS/2 usWinAscent/usWinDescent) at that size; tmInternalLeading is the cell
// minus the em, tmExternalLeading the face's line gap beyond the cell.
//
// Advances are whole pixels from the hinted outlines, so extents are exact and the same
// on every run; glyph images (grey coverage, or aliased 0/255 for NONANTIALIASED_QUALITY
// fonts and for 1-bit surfaces) are rendered from the same hinted outlines, so aliased and
// smooth text measure alike. At the sizes where a face's gasp table asks for no grey (the
// UI faces at their dialog sizes), the font is aliased and its glyphs are hinted for one
// bit, or taken from the face's embedded bitmaps where it has a strike of that size, as
// the TrueType rasteriser does; advances then come from those glyphs. Bold (lfWeight >= 600) and italic use the face's bold and
// italic files, or are synthesised (the outline widened by em/24 pixels, at least 1,
// which the advance grows by; or slanted 12 degrees) when a file is missing.
//
// A face of bitmaps only (the MS Sans Serif strikes) is matched as raster fonts are: the
// largest strike whose character height (lfHeight < 0) or cell (lfHeight > 0) does not
// exceed the request, else the smallest; its character height is its ascent (the descent
// being its internal leading), tmMaxCharWidth the widest of U+0020..U+00FF, and bold and
// italic are synthesised on the bitmaps (drawn again one pixel right; rows slanted 12
// degrees). Such a font neither scales with lfWidth nor claims TMPF_VECTOR/TRUETYPE.
// tmAveCharWidth is the advance of 'x'; lfWidth > 0 scales the face horizontally so that
// this advance comes to lfWidth. lfEscapement is rounded to the nearest quarter turn
// (900 and 2700 being the ones in use); metrics and extents are those of the unrotated
// text, and drawing turns the glyphs.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/font_face.h"
#include "platform/gdi/gdi_types.h"

struct FT_SizeRec_;

namespace zyn::gdi {

class Dc;
class FontObj;

inline constexpr int kMaxFontEm = 1024;

// One glyph image: coverage bytes (0..255, `width` x `height`, top row first) placed with
// its top-left at (pen x + left, baseline - top).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
};

class RealizedFont {
public:
    enum class Kind : uint8_t { FreeType, Marlett, Box };

    RealizedFont(const LOGFONTW& lf);
    ~RealizedFont();
    RealizedFont(const RealizedFont&) = delete;
    RealizedFont& operator=(const RealizedFont&) = delete;

    Kind GetKind() const { return m_kind; }
    const TEXTMETRICW& Metrics() const { return m_tm; }
    const std::wstring& FaceName() const { return m_faceName; }
    int Em() const { return m_em; }
    // Quarter turns counter-clockwise (0..3) from lfEscapement.
    int Quarter() const { return m_quarter; }
    bool Aliased() const { return m_aliased; }
    bool Underline() const { return m_underline; }
    bool StrikeOut() const { return m_strike; }
    // Line positions, pixels below the baseline (negative: above) of the line's top row.
    int UnderlineTop() const { return m_ulTop; }
    int UnderlineHeight() const { return m_ulHeight; }
    int StrikeTop() const { return m_stTop; }
    int StrikeHeight() const { return m_stHeight; }
    bool SynthBold() const { return m_synthBold; }
    bool SynthItalic() const { return m_synthItalic; }

    // The glyph cache seen under the font's lock; references stay valid while it lives.
    class Access {
    public:
        explicit Access(const RealizedFont& f) : m_font(const_cast<RealizedFont&>(f)), m_lock(f.m_mutex) {}
        int Advance(char32_t c) { return m_font.AdvanceLocked(c); }
        const Glyph& Image(char32_t c, bool aliased) { return m_font.GlyphLocked(c, aliased); }

    private:
        RealizedFont& m_font;
        std::unique_lock<std::mutex> m_lock;
    };
    Access Lock() const { return Access(*this); }

private:
    void InitFreeType(const LOGFONTW& lf, const FaceChoice& choice);
    void InitStrike(const LOGFONTW& lf, const FaceChoice& choice, FaceMatch match);
    void InitMarlett(const LOGFONTW& lf);
    void InitBox(const LOGFONTW& lf, const FaceChoice& choice);
    void FinishMetrics(const LOGFONTW& lf, FaceFamily family, bool fixedPitch, bool bold, bool italic);
    int AdvanceLocked(char32_t c);
    const Glyph& GlyphLocked(char32_t c, bool aliased);
    const Glyph& FindOrMakeGlyphLocked(char32_t c, uint64_t key);
    // Loads (and with `image` renders) a glyph through FreeType; returns its advance.
    int LoadFreeType(char32_t c, Glyph* image, bool aliased);
    int BoxAdvance(char32_t c) const;

    Kind m_kind = Kind::Box;
    TEXTMETRICW m_tm{};
    std::wstring m_faceName;
    int m_em = 16;
    int m_quarter = 0;
    bool m_aliased = false;
    bool m_underline = false;
    bool m_strike = false;
    int m_ulTop = 1, m_ulHeight = 1, m_stTop = -4, m_stHeight = 1;
    bool m_synthBold = false, m_synthItalic = false;
    bool m_bitmapFace = false; // drawn from a face's bitmap strikes
    bool m_bilevel = false;    // the face's gasp table asks for no grey at this size
    int m_boldPx = 0;

    std::shared_ptr<FontFace> m_face;
    FT_SizeRec_* m_size = nullptr;

    mutable std::mutex m_mutex;
    std::array<int, 128> m_ascii{};       // advances of U+0000..U+007F, -1 until known
    std::unordered_map<char32_t, int> m_advances;
    std::unordered_map<uint64_t, Glyph> m_glyphs;
    // The glyphs of U+0000..U+007F (grey, then aliased) found without hashing: entries
    // of m_glyphs, whose nodes stay put until it is cleared (which clears these too).
    std::array<const Glyph*, 256> m_asciiGlyphs{};
};

// A realised font for a LOGFONT (shared through the process-wide cache).
std::shared_ptr<const RealizedFont> RealizeFont(const LOGFONTW& lf);
// The realised font of a font object, made on first use and kept on the object.
std::shared_ptr<const RealizedFont> RealizedFontOf(FontObj& font);
// The font selected into a DC (the stock system font if, unusually, none is).
std::shared_ptr<const RealizedFont> RealizedFontOf(const Dc& dc);

// Tests: entries of the realisation cache, and emptying it (font objects then realise
// again on their next use, so a change of the face files reaches every font).
size_t RealizedFontCacheSize();
void FlushRealizedFontCache();

} // namespace zyn::gdi
