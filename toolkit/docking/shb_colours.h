#pragma once
// Colour arithmetic of the shortcut bar's drawing: the light and dark edges of a header or
// an item frame are its background shifted by +64 and -128 per channel, a dragged header
// is drawn in inverted colours, and markers switch colour when theirs would vanish into
// the background. Plain functions, testable without a window.
#include <algorithm>
#include <cstdlib>

#include "platform/base/wintypes.h"
#include "platform/gdi/wingdi.h"

namespace zyn::toolkit::shb {

// Each of red, green and blue plus delta, clamped to 0..255.
constexpr COLORREF ShiftColour(COLORREF colour, int delta)
{
    const auto channel = [delta](int value) { return std::clamp(value + delta, 0, 255); };
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// Each channel 255 minus its value.
constexpr COLORREF InvertColour(COLORREF colour)
{
    return RGB(255 - GetRValue(colour), 255 - GetGValue(colour), 255 - GetBValue(colour));
}

// Whether the average of the three absolute channel differences is at most limit.
constexpr bool ColoursClose(COLORREF a, COLORREF b, int limit)
{
    const int sum = std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
        std::abs(GetBValue(a) - GetBValue(b));
    return sum <= 3 * limit;
}

} // namespace zyn::toolkit::shb
