#pragma once
// Golden pictures: a claim about the pixels of a window, DC or bitmap region, kept as
// tests/<area>/golden/<name>.png in the source tree.
//
// Every pixel is compared exactly, except inside the given text rectangles (text is
// compared by extent elsewhere, never glyph by glyph). On a mismatch the picture taken is
// written beside the golden as <name>.actual.png (ignored by git) and the assertion fails
// naming the first differing pixel. With ZYN_UPDATE_GOLDEN=1 in the environment the golden
// is (re)written from the picture taken instead and the assertion passes; a missing golden
// fails and leaves the .actual.png to look at.
//
// Rectangles to ignore are in the picture's own coordinates (its top-left is (0, 0)).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::test {

// A captured picture: 0x00RRGGBB pixels, row by row.
struct GoldenPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The picture of a rectangle of a DC (logical coordinates).
GoldenPicture CaptureDc(HDC hdc, const RECT& rect);
// The picture of a rectangle of the screen.
GoldenPicture CaptureScreen(const RECT& rect);
// The picture of a whole bitmap.
GoldenPicture CaptureBitmap(HBITMAP bitmap);

// The path of a golden: <source>/tests/<area>/golden/<name>.png.
std::string GoldenPath(const std::string& area, const std::string& name);

::testing::AssertionResult MatchesGolden(const std::string& area, const std::string& name,
    const GoldenPicture& picture, const std::vector<RECT>& ignore = {});

// Shorthands: a DC region, a screen region, a bitmap.
inline ::testing::AssertionResult MatchesGoldenDc(const std::string& area, const std::string& name, HDC hdc,
    const RECT& rect, const std::vector<RECT>& ignore = {})
{
    return MatchesGolden(area, name, CaptureDc(hdc, rect), ignore);
}
inline ::testing::AssertionResult MatchesGoldenScreen(const std::string& area, const std::string& name,
    const RECT& rect, const std::vector<RECT>& ignore = {})
{
    return MatchesGolden(area, name, CaptureScreen(rect), ignore);
}
inline ::testing::AssertionResult MatchesGoldenBitmap(const std::string& area, const std::string& name,
    HBITMAP bitmap, const std::vector<RECT>& ignore = {})
{
    return MatchesGolden(area, name, CaptureBitmap(bitmap), ignore);
}

// PNG reading and writing (8-bit RGB out; RGB, RGBA, grey and palette in).
bool WritePicturePng(const std::string& path, const GoldenPicture& picture);
bool ReadPicturePng(const std::string& path, GoldenPicture& picture);

} // namespace zyn::test
