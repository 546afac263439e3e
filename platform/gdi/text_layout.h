#pragma once
// Laying text out along the baseline (advances, character extra, tab stops) and drawing
// a laid-out run at a DC's reference point with its text alignment. Internal to the text
// functions.
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_realize.h"
#include "platform/gdi/text_render.h"

namespace zyn::gdi {

class Dc;

// The longest string the text functions accept; longer ones fail with
// ERROR_INVALID_PARAMETER rather than being cut.
inline constexpr int kMaxTextChars = 1 << 20;

// Text-space positions saturate at the device coordinate limit, so that huge character
// extras, spacings or margins cannot overflow the arithmetic that places text.
inline int TextCoord(int64_t v) { return static_cast<int>(ClampCoord(v)); }

// Tab stops of TabbedTextOut and DrawText. Positions are relative to the start of the run.
struct TabStops {
    bool expand = false;         // false: a tab is an ordinary character
    int interval = 0;            // regular stops every `interval` from `origin` (> 0)
    int origin = 0;              // where the regular stops count from
    std::vector<int> positions;  // explicit stops (ascending), used before `interval`
    bool spaceAfterLast = false; // past the last explicit stop a tab counts as a space
};

// Lays out s[0..n) from u = 0: each character advances by its width plus `charExtra`.
// With tab stops, a tab's gap reaches the next stop and draws nothing.
void LayoutRun(RealizedFont::Access& access, const wchar_t* s, int n, int charExtra, const TabStops* tabs,
    TextRun& run);

// The next tab stop after `u` (saturating at the coordinate limit).
int NextTabStop(const TabStops& tabs, int u, int spaceWidth);

// Draws a run with its reference point at logical (x, y) — or the current position under
// TA_UPDATECP, which it then moves past the text — aligned by the DC's TA_* flags, with the
// DC's colours and background mode. `options`/`rect` are ExtTextOut's ETO_OPAQUE and
// ETO_CLIPPED with their logical rectangle.
void DrawRunAligned(Dc& dc, const RealizedFont& font, int x, int y, UINT options, const RECT* rect, const TextRun& run);

// On a printer DC in a page: notes a run drawn with its cell at `cell` (device
// coordinates) when the cell meets the DC's clip (printer.cpp). Nothing on other DCs.
void NotePrinterRun(Dc& dc, const TextRun& run, const RECT& cell);

} // namespace zyn::gdi
