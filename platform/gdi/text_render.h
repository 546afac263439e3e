#pragma once
// Painting laid-out runs of text: glyph placement along the baseline, turning by quarter
// turns, clipping to a rectangle, the opaque cell, underline and strike-out, and the
// mnemonic underlines of DrawText. Shared by ExtTextOut, DrawText, TabbedTextOut and
// GrayString.
//
// Text space: u runs along the baseline from the run's start, v down from the top of the
// cell; the cell of a run is [0, width) x [0, tmHeight). A font turned by q quarter turns
// counter-clockwise maps (u, v) to the device offsets (u, v), (v, -u), (-u, -v), (-v, u)
// for q = 0, 1, 2, 3, so a 900 font's text reads upwards from the reference point and its
// cell lies to the right of it.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Dc;
class RealizedFont;

// Where painted pixels go (device coordinates).
class TextSink {
public:
    virtual ~TextSink() = default;
    // True for targets that take aliased text only (1-bit surfaces, masks).
    virtual bool Aliased() const = 0;
    virtual void Fill(const RECT& r, COLORREF color) = 0;
    virtual void Blend(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color) = 0;
};

// Onto a DC, through its effective clip (text ignores the DC's binary mix, as on Windows).
class DcTextSink final : public TextSink {
public:
    explicit DcTextSink(Dc& dc) : m_dc(dc) {}
    bool Aliased() const override;
    void Fill(const RECT& r, COLORREF color) override;
    void Blend(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color) override;

private:
    Dc& m_dc;
};

// Into an 8-bit mask of `width` x `height` whose top-left is device (0, 0): every painted
// pixel's coverage is kept (the maximum when shapes overlap); colours are ignored.
class MaskTextSink final : public TextSink {
public:
    MaskTextSink(int width, int height);
    bool Aliased() const override { return true; }
    void Fill(const RECT& r, COLORREF color) override;
    void Blend(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride, COLORREF color) override;
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    uint8_t At(int x, int y) const { return m_px[static_cast<size_t>(y) * m_w + x]; }

private:
    int m_w, m_h;
    std::vector<uint8_t> m_px;
};

// One laid-out line of text.
struct TextRun {
    std::vector<char32_t> chars;            // 0: nothing drawn there (a tab's gap)
    std::vector<int> pos;                   // pen position of each character (u)
    std::vector<int> rise;                  // empty, or a v offset per character (ETO_PDY)
    int width = 0;                          // the cell width: the sum of the advances
    std::vector<std::pair<int, int>> marks; // mnemonic underlines [u0, u1)
};

struct RunStyle {
    COLORREF text = 0;
    bool opaque = false;    // fill the cell with `back` first
    COLORREF back = 0xFFFFFF;
    bool glyphs = true;     // false: the mnemonic underlines only
    bool clip = false;      // clip everything to `clipRect` (device coordinates)
    RECT clipRect{};
};

// Paints `run` with the top-left of its cell (text-space origin) at device `origin`.
void PaintRun(TextSink& sink, const RealizedFont& font, POINT origin, const TextRun& run, const RunStyle& style);

// A text-space rectangle [u0, u1) x [v0, v1) as the device rectangle it covers.
RECT RotateRect(POINT origin, int quarter, int u0, int v0, int u1, int v1);
// A text-space vector in device space.
POINT RotateVector(int quarter, int u, int v);

} // namespace zyn::gdi
