#pragma once
// The built-in "Marlett" symbol font: the caption, arrow, check, bullet, radio and size-grip
// glyphs the toolkit draws, computed procedurally for any size so each size gives the
// same pixels every time.
//
// Metrics are fixed: for an em of E pixels (lfHeight < 0: E = -lfHeight; lfHeight > 0:
// E = lfHeight; 0: E = 16) every character cell is E x E, the ascent is E, there is no
// descent and no leading, every advance (defined glyph or not) is E, and the average and
// maximum widths are E. The font is fixed-pitch, decorative, SYMBOL_CHARSET.
//
// The glyph table (characters as the classic symbol font maps them), all within the cell:
//   '0' minimise bar        '1' maximise window      '2' restore (two windows)
//   'r' close cross         's' help question mark
//   '3' left, '4' right, '5' up, '6' down: filled triangles (scroll and combo arrows)
//   '7' a pair of small right-pointing triangles (a chevron)
//   '8' right-pointing triangle (menu sub-menu arrow)
//   'a' check mark          'h' bullet               'i' small bullet
//   'n' radio dot           'g' radio interior disc
//   'j' / 'k' outer radio ring, top-left / bottom-right halves
//   'l' / 'm' inner radio ring, top-left / bottom-right halves
//   'o' size-grip highlight strokes, 'p' size-grip shadow strokes, 'q' the whole grip
// Any other character is a blank cell of advance E.
//
// Geometry, in whole pixels for an em E: the window glyphs, the cross and the minimise bar
// sit in a box inset by max(1, 3E/16) on every side, with thin lines of max(1, E/16) and
// thick ones of max(2, E/8); each arrow triangle has a base of 2 * floor((E + 1) * 7 / 32) + 1
// pixels and a height of (base + 1) / 2, rows shrinking by one pixel each side, centred in
// the cell; the cross's diagonals are max(1, (E + 7) / 8) pixels thick. The check mark,
// bullets, rings and question mark are drawn on a 16-unit grid sampled at pixel centres;
// the size grip repeats, every 4 * max(1, E / 16) pixels from the corner, a gap, a shadow
// stroke twice the unit and a highlight stroke one unit thick, three times.
#include <cstdint>
#include <vector>

namespace zyn::gdi {

// The em of a Marlett font for a LOGFONT height (clamped to 1..kMaxMarlettEm).
int MarlettEm(int lfHeight);
inline constexpr int kMaxMarlettEm = 1024;

// Whether `c` has a shape (see the table above).
bool MarlettHasGlyph(char32_t c);

// The coverage (0 or 255, em x em bytes, row-major, top row first) of `c` at `em` pixels.
// Returns false, leaving `coverage` cleared to em x em zeros, for a blank cell.
bool RenderMarlettGlyph(char32_t c, int em, std::vector<uint8_t>& coverage);

} // namespace zyn::gdi
