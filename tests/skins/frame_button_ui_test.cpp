// The XP skin's transparent blit and caption buttons away from the mouse (the hot and
// pressed looks are in frame_button_mouse_ui_test.cpp).
#include <gtest/gtest.h>

#include "platform/afx/gdi/geometry.h"
#include "tests/skins/button_pictures.h"
#include "tests/skins/canvas.h"
#include "tests/skins/skin_test_support.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"

using skintest::Canvas;
using skintest::MatchesPicture;

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);

class FrameButtons : public skintest::GdiLeakCheck {
protected:
    skintest::SysColours m_colours;
};

} // namespace

TEST_F(FrameButtons, TransparentBitmapLeavesTheTransparentColourUnpainted)
{
    const COLORREF key = RGB(255, 0, 255);
    Canvas image(4, 3, key);
    image.dc()->SetPixel(0, 0, RGB(10, 20, 30));
    image.dc()->SetPixel(3, 2, RGB(0, 0, 0));
    image.dc()->SetPixel(1, 1, RGB(255, 255, 255));
    image.dc()->SetPixel(2, 1, RGB(254, 0, 255));

    Canvas target(8, 8, RGB(90, 91, 92));
    const COLORREF bk = target.dc()->SetBkColor(RGB(7, 8, 9));
    const COLORREF text = target.dc()->SetTextColor(RGB(4, 5, 6));
    target.dc()->SetBkColor(bk);
    target.dc()->SetTextColor(text);
    const COLORREF bkBefore = target.dc()->GetBkColor();
    const COLORREF textBefore = target.dc()->GetTextColor();

    // Take the bitmap out of its canvas to blit it: a bitmap lives in one DC at a time.
    CBitmap* bitmap = image.dc()->GetCurrentBitmap();
    ASSERT_NE(bitmap, nullptr);
    CBitmap copy;
    ASSERT_TRUE(copy.CreateCompatibleBitmap(nullptr, 4, 3));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&copy);
        dc.BitBlt(0, 0, 4, 3, image.dc(), 0, 0, SRCCOPY);
        dc.SelectObject(old);
    }
    COXSkinXP::DrawTransparentBitmap(&copy, target.dc(), 2, 3, 4, 3, key);

    EXPECT_EQ(target.at(2, 3), RGB(10, 20, 30));
    EXPECT_EQ(target.at(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(target.at(3, 4), RGB(255, 255, 255));
    EXPECT_EQ(target.at(4, 4), RGB(254, 0, 255)); // near the key is not the key
    EXPECT_EQ(target.at(3, 3), RGB(90, 91, 92));
    EXPECT_EQ(target.at(5, 3), RGB(90, 91, 92));
    EXPECT_EQ(target.at(6, 3), RGB(90, 91, 92)); // outside the cx-by-cy area
    EXPECT_EQ(target.at(2, 6), RGB(90, 91, 92));
    EXPECT_EQ(target.dc()->GetBkColor(), bkBefore);
    EXPECT_EQ(target.dc()->GetTextColor(), textBefore);
}

// Away from the mouse the glyph's strokes (COLOR_BTNTEXT) lie on the background; a
// light glyph is inverted. Expected: the close cross drawn by hand.
TEST_F(FrameButtons, AwayFromTheMouseTheGlyphLiesOnTheBackground)
{
    COXSkinXP skin;
    const COLORREF background = RGB(40, 80, 120);
    for (BOOL light : {FALSE, TRUE}) {
        Canvas canvas(30, 30, kSentinel);
        CRect rect(5, 6, 21, 20); // 16 by 14
        skin.DrawFrameButton(canvas.dc(), rect, DFCS_CAPTIONCLOSE, FALSE, light, background, nullptr);
        const COLORREF stroke = light ? RGB(255, 255, 255) : skintest::kBtnText; // black, or inverted
        EXPECT_TRUE(MatchesPicture(canvas, rect.left, rect.top, skintest::kClose16x14, {background, stroke, 0}))
            << "light " << light;
        EXPECT_EQ(canvas.at(4, 6), kSentinel);
        EXPECT_EQ(canvas.at(21, 19), kSentinel);
        EXPECT_EQ(canvas.at(5, 20), kSentinel);
    }
}

// Recoloured, the black strokes take the overlay colour: the background lightened by 64
// per channel when light, else darkened by 96 (a recoloured button is never light).
TEST_F(FrameButtons, RecolouringTurnsTheStrokesIntoTheOverlay)
{
    COXSkinXP skin;
    const COLORREF background = RGB(120, 100, 200);
    struct Case {
        BOOL light;
        COLORREF overlay;
    };
    for (const Case& c : {Case{TRUE, RGB(184, 164, 255)}, Case{FALSE, RGB(24, 4, 104)}}) {
        Canvas canvas(20, 20, kSentinel);
        CRect rect(0, 0, 16, 16);
        skin.DrawFrameButton(canvas.dc(), rect, DFCS_CAPTIONMAX, TRUE, c.light, background, nullptr);
        EXPECT_TRUE(MatchesPicture(canvas, 0, 0, skintest::kMax16x16, {background, c.overlay, 0}))
            << "light " << c.light;
        EXPECT_EQ(canvas.at(16, 0), kSentinel);
        EXPECT_EQ(canvas.at(0, 16), kSentinel);
    }
}

TEST_F(FrameButtons, TheOffice2003ButtonFillsOtherWindowsButtonsWithTheBackground)
{
    COXSkin2003 skin;
    Canvas canvas(20, 20, kSentinel);
    CRect rect(2, 2, 18, 18);
    skin.DrawFrameButton(canvas.dc(), rect, DFCS_CAPTIONMIN, FALSE, FALSE, RGB(200, 210, 220), nullptr);
    EXPECT_EQ(canvas.at(2, 2), RGB(200, 210, 220));
    EXPECT_EQ(canvas.at(17, 17), RGB(200, 210, 220));
    EXPECT_EQ(canvas.at(1, 1), kSentinel);
}

TEST_F(FrameButtons, DegenerateButtonsDrawNothing)
{
    COXSkinXP skin;
    Canvas canvas(10, 10, kSentinel);
    CRect empty(5, 5, 5, 9);
    skin.DrawFrameButton(canvas.dc(), empty, DFCS_CAPTIONCLOSE, FALSE, FALSE, RGB(0, 0, 0), nullptr);
    skin.DrawFrameButton(nullptr, empty, DFCS_CAPTIONCLOSE, FALSE, FALSE, RGB(0, 0, 0), nullptr);
    // Too small for a glyph: only the background.
    CRect tiny(1, 1, 4, 4);
    skin.DrawFrameButton(canvas.dc(), tiny, DFCS_CAPTIONCLOSE, FALSE, FALSE, RGB(9, 9, 9), nullptr);
    EXPECT_EQ(canvas.at(1, 1), RGB(9, 9, 9));
    EXPECT_EQ(canvas.at(3, 3), RGB(9, 9, 9));
    EXPECT_EQ(canvas.at(5, 5), kSentinel);
    COXSkinXP::DrawTransparentBitmap(nullptr, canvas.dc(), 0, 0, 4, 4, 0);
}
