#pragma once
// Built-in brushes and patterns.
#include <memory>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Surface;

// The halftone brush: the classic 50% dither of alternating pixels as an 8x8 mono
// pattern (1 = the DC's background colour, 0 = its text colour; the top-left pixel is
// 1). A stock object: never deleted, not counted as live.
HBRUSH HalftoneBrush();

// The 8x8 mono mask of a hatch style (HS_*); 1 bits are hatch lines.
std::shared_ptr<Surface> HatchPattern(int style);

} // namespace zyn::gdi
