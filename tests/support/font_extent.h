#pragma once
// Text measured in the system's non-client fonts (from SPI_GETNONCLIENTMETRICS: the
// status font status bars and tooltips use, the message font of toolbar texts), through
// the drawing layer's own text functions rather than any control, so tests of those
// controls can work out where their text must stand.
#include <string>

#include "platform/base/wintypes.h"

namespace zyn::test {

// The extent of text in the status font, and (when asked) that font's line height.
SIZE StatusFontExtent(const std::wstring& text, int* lineHeight = nullptr);
// The same in the message font.
SIZE MessageFontExtent(const std::wstring& text, int* lineHeight = nullptr);

} // namespace zyn::test
