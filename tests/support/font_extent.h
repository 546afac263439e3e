#pragma once
// Text measured in the system's non-client fonts (from SPI_GETNONCLIENTMETRICS: the
// status font status bars and tooltips use, the message font of toolbar texts), through
// the drawing layer's own text functions rather than any control, so tests of those
// controls can work out where their text must stand; and whether the faces with the
// Windows metrics are installed, for tests that hold the values those metrics give.
#include <string>

#include "platform/base/wintypes.h"

namespace zyn::test {

// The extent of text in the status font, and (when asked) that font's line height.
SIZE StatusFontExtent(const std::wstring& text, int* lineHeight = nullptr);
// The same in the message font.
SIZE MessageFontExtent(const std::wstring& text, int* lineHeight = nullptr);

// Whether the Tahoma, MS Sans Serif, Arial, Courier New and Times New Roman metric faces
// are all installed (scripts/deps installs them; a plain build elsewhere may lack them).
bool MetricFacesInstalled();
inline constexpr const char* kNeedsMetricFaces =
    "needs the fonts with the Windows metrics (fonts-wine, fonts-liberation2: scripts/deps installs them)";

} // namespace zyn::test

// Skips the current test, saying why, where the metric faces are missing.
#define ZYN_SKIP_WITHOUT_METRIC_FACES()                                                                      \
    do {                                                                                                     \
        if (!::zyn::test::MetricFacesInstalled())                                                            \
            GTEST_SKIP() << ::zyn::test::kNeedsMetricFaces;                                                  \
    } while (0)
