#pragma once
// Caption buttons as pictures drawn by hand, one character a pixel, to check the skins'
// frame buttons against.
//   '.'  the button's background (the fill colour of its look)
//   '#'  a stroke of the glyph (COLOR_BTNTEXT as drawn by the caption-button glyphs)
//   'B'  the one-pixel outline of a hot or pressed button
// The glyph bitmap is the button less 2 pixels on every side, and the flat caption
// glyph is centred in it: a 9 x 9 glyph in a 12 x 10 bitmap starts at (1, 0), so at
// (3, 2) of the button; in a 12 x 12 bitmap at (1, 1), so at (3, 3).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skins/canvas.h"

namespace skintest {

using Picture = std::vector<std::string>;

// DFCS_CAPTIONCLOSE in a 16 x 14 button: a cross of two-pixel strokes.
inline const Picture kClose16x14 = {
    "................",
    "................",
    "................",
    "...##....##.....",
    "....##..##......",
    ".....####.......",
    "......##........",
    ".....####.......",
    "....##..##......",
    "...##....##.....",
    "................",
    "................",
    "................",
    "................",
};

// DFCS_CAPTIONMAX in a 16 x 16 button: a 9 x 9 window with a two-pixel top.
inline const Picture kMax16x16 = {
    "................",
    "................",
    "................",
    "...#########....",
    "...#########....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#########....",
    "................",
    "................",
    "................",
    "................",
};

// DFCS_CAPTIONMAX in a 16 x 14 button (glyph bitmap 12 x 10: the window at (3, 2)).
inline const Picture kMax16x14 = {
    "................",
    "................",
    "...#########....",
    "...#########....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#.......#....",
    "...#########....",
    "................",
    "................",
    "................",
};

// The same picture with the outline of a hot or pressed button round its edge.
inline Picture Outlined(Picture p)
{
    const size_t h = p.size(), w = p.front().size();
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x + 1 == w || y + 1 == h)
                p[y][x] = 'B';
    return p;
}

struct PictureColours {
    COLORREF background; // '.'
    COLORREF stroke;     // '#'
    COLORREF outline;    // 'B'
};

// Compares a button drawn at (left, top) of a canvas with a picture; the first pixel
// that differs is reported with its character.
inline ::testing::AssertionResult MatchesPicture(const Canvas& canvas, int left, int top, const Picture& picture,
    const PictureColours& colours)
{
    int strokes = 0;
    for (size_t y = 0; y < picture.size(); ++y)
        for (size_t x = 0; x < picture[y].size(); ++x) {
            const char ch = picture[y][x];
            const COLORREF expected = ch == '#' ? colours.stroke : ch == 'B' ? colours.outline : colours.background;
            strokes += ch == '#';
            const COLORREF got = canvas.at(left + static_cast<int>(x), top + static_cast<int>(y));
            if (got != expected) {
                char buf[128];
                std::snprintf(buf, sizeof buf, "at (%zu, %zu), '%c': 0x%06X, expected 0x%06X", x, y, ch, got, expected);
                return ::testing::AssertionFailure() << buf;
            }
        }
    if (strokes == 0)
        return ::testing::AssertionFailure() << "the picture has no glyph";
    return ::testing::AssertionSuccess();
}

} // namespace skintest
