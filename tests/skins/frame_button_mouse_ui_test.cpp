// The hot and pressed looks of the skins' caption buttons: the cursor over the button,
// with and without the mouse capture, in a real window.
#include <gtest/gtest.h>

#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/skins/button_pictures.h"
#include "tests/skins/canvas.h"
#include "tests/skins/skin_test_support.h"
#include "tests/support/pump.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"

using skintest::Canvas;
using skintest::MatchesPicture;

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kBackground = RGB(40, 80, 120);
constexpr int kWindowX = 100;
constexpr int kWindowY = 200;
const wchar_t* const kClass = L"SkinFrameButtonHost";

// The button, in the host window's coordinates (and at the same place on the canvas).
const CRect kButton(5, 6, 21, 20); // 16 by 14

enum class Look { Plain, Hot, Pressed };

class FrameButtonMouse : public skintest::GdiLeakCheck {
protected:
    void SetUp() override
    {
        zyn::user::ResetWindowSystemForTests();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.lpszClassName = kClass;
        ASSERT_NE(RegisterClassW(&wc), 0);
        m_hwnd = CreateWindowExW(0, kClass, L"", WS_POPUP | WS_VISIBLE, kWindowX, kWindowY, 200, 100, nullptr,
            nullptr, nullptr, nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        ASSERT_TRUE(m_wnd.Attach(m_hwnd));
        skintest::GdiLeakCheck::SetUp();
    }
    void TearDown() override
    {
        ReleaseCapture();
        m_wnd.Detach();
        DestroyWindow(m_hwnd);
        skintest::GdiLeakCheck::TearDown();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        zyn::user::ResetWindowSystemForTests();
    }

    // The queued input dispatched, then the idle pass, as the application's loop runs them.
    static void Pump()
    {
        zyn::test::PumpMessages();
    }

    // Puts the cursor at a point of the window's coordinates.
    void CursorAt(int x, int y) { ASSERT_TRUE(SetCursorPos(kWindowX + x, kWindowY + y)); }

    // Draws the button with the skin and checks every pixel against the look: the close
    // cross drawn by hand, on the brush of the look outlined by the active border (hot,
    // pressed) or on the background (plain); a pressed glyph, and a light glyph away
    // from the mouse, inverted (black strokes turn white).
    static void ExpectLook(COXSkinXP& skin, CWnd* wnd, Look look, BOOL light, const char* what)
    {
        Canvas canvas(30, 30, kSentinel);
        CRect rect = kButton;
        skin.DrawFrameButton(canvas.dc(), rect, DFCS_CAPTIONCLOSE, FALSE, light, kBackground, wnd);

        const COLORREF fill = look == Look::Pressed ? skin.GetHotSelectedItemColor()
            : look == Look::Hot                     ? skin.GetHotItemColor()
                                                    : kBackground;
        const bool inverted = look == Look::Pressed || (light && look == Look::Plain);
        const COLORREF text = GetSysColor(COLOR_BTNTEXT);
        const skintest::Picture picture =
            look == Look::Plain ? skintest::kClose16x14 : skintest::Outlined(skintest::kClose16x14);
        EXPECT_TRUE(MatchesPicture(canvas, kButton.left, kButton.top, picture,
            {fill, inverted ? COXSkinXP::InvertColor(text) : text, skin.GetActiveBorderColor()}))
            << what << ", light " << light;
        EXPECT_EQ(canvas.at(kButton.left - 1, kButton.top), kSentinel) << what;
        EXPECT_EQ(canvas.at(kButton.right, kButton.bottom - 1), kSentinel) << what;
    }

    // Every look of both skins, for the cursor and capture as they are now.
    void ExpectBothSkins(Look look, BOOL light, const char* what)
    {
        COXSkinXP xp;
        ExpectLook(xp, &m_wnd, look, light, what);
        COXSkin2003 office;
        ExpectLook(office, &m_wnd, look, light, what);
    }

    HWND m_hwnd = nullptr;
    CWnd m_wnd;
};

} // namespace

TEST_F(FrameButtonMouse, TheCursorOverTheButtonGivesTheHotLook)
{
    CursorAt(kButton.left + 3, kButton.top + 4);
    for (BOOL light : {FALSE, TRUE}) // a light glyph is not inverted under the mouse
        ExpectBothSkins(Look::Hot, light, "hot");
    // The rectangle's corners: top-left is in, bottom-right is out.
    CursorAt(kButton.left, kButton.top);
    ExpectBothSkins(Look::Hot, FALSE, "top-left corner");
    CursorAt(kButton.right - 1, kButton.bottom - 1);
    ExpectBothSkins(Look::Hot, FALSE, "last pixel");
    CursorAt(kButton.right, kButton.bottom - 1);
    ExpectBothSkins(Look::Plain, FALSE, "right edge");
    CursorAt(kButton.left + 3, kButton.bottom);
    for (BOOL light : {FALSE, TRUE})
        ExpectBothSkins(Look::Plain, light, "bottom edge");
}

TEST_F(FrameButtonMouse, TheCaptureOverTheButtonGivesThePressedLook)
{
    CursorAt(kButton.left + 8, kButton.top + 7);
    SetCapture(m_hwnd);
    ASSERT_EQ(GetCapture(), m_hwnd);
    for (BOOL light : {FALSE, TRUE})
        ExpectBothSkins(Look::Pressed, light, "pressed");
    // Dragged off the button while pressing: no look at all.
    CursorAt(kButton.right + 10, kButton.top + 7);
    ExpectBothSkins(Look::Plain, FALSE, "pressed, off the button");
    // Back on, then released: hot again.
    CursorAt(kButton.left + 8, kButton.top + 7);
    ExpectBothSkins(Look::Pressed, FALSE, "pressed, back on");
    ReleaseCapture();
    ExpectBothSkins(Look::Hot, FALSE, "released");
}

TEST_F(FrameButtonMouse, TheRectangleIsInTheWindowsCoordinates)
{
    // The same screen point is over the button only while the window is where it was.
    CursorAt(kButton.left + 3, kButton.top + 3);
    ExpectBothSkins(Look::Hot, FALSE, "in place");
    ASSERT_TRUE(MoveWindow(m_hwnd, kWindowX + 50, kWindowY, 200, 100, FALSE));
    ExpectBothSkins(Look::Plain, FALSE, "window moved away");
    ASSERT_TRUE(SetCursorPos(kWindowX + 50 + kButton.left + 3, kWindowY + kButton.top + 3));
    ExpectBothSkins(Look::Hot, FALSE, "cursor followed");
}

TEST_F(FrameButtonMouse, InjectedMouseInputMovesTheLook)
{
    zyn::user::InjectMouseMove(kWindowX + kButton.left + 5, kWindowY + kButton.top + 5);
    Pump();
    ExpectBothSkins(Look::Hot, FALSE, "moved over");

    // The left button down over a window that takes no capture is still only hovering;
    // the pressed look belongs to the capture its owner takes.
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, true);
    Pump();
    ASSERT_EQ(GetCapture(), nullptr);
    ExpectBothSkins(Look::Hot, FALSE, "button down, no capture");
    SetCapture(m_hwnd);
    ExpectBothSkins(Look::Pressed, FALSE, "button down, captured");
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
    Pump();
}

TEST_F(FrameButtonMouse, WithoutALiveWindowNoButtonIsUnderTheMouse)
{
    // The rectangle cannot be related to the cursor: the plain look, even with the
    // cursor at the rectangle's screen position and a capture held.
    ASSERT_TRUE(SetCursorPos(kButton.left + 3, kButton.top + 3));
    SetCapture(m_hwnd);
    COXSkinXP xp;
    ExpectLook(xp, nullptr, Look::Plain, FALSE, "no window");
    CWnd detached; // no window attached
    ExpectLook(xp, &detached, Look::Plain, TRUE, "detached object");
}

TEST_F(FrameButtonMouse, RecolouredButtonsKeepTheirBackgroundUnderTheMouse)
{
    // A recoloured button takes no brush; hot, it looks as away from the mouse, and
    // pressed only its glyph is inverted before the recolouring.
    COXSkinXP skin;
    const COLORREF overlay = COXSkinXP::ModifyColor(kBackground, -96, -96, -96);
    CRect rect = kButton;
    auto draw = [&](Canvas& canvas) {
        CRect r = rect;
        skin.DrawFrameButton(canvas.dc(), r, DFCS_CAPTIONMAX, TRUE, FALSE, kBackground, &m_wnd);
    };
    Canvas away(30, 30, kSentinel);
    CursorAt(150, 80);
    draw(away);
    Canvas hot(30, 30, kSentinel);
    CursorAt(kButton.left + 3, kButton.top + 3);
    draw(hot);
    EXPECT_EQ(hot.Diff(away), "");

    // Away from the mouse the black strokes take the overlay.
    EXPECT_TRUE(MatchesPicture(away, kButton.left, kButton.top, skintest::kMax16x14, {kBackground, overlay, 0}));

    // Pressed: the inverted strokes are white, which the recolouring leaves alone.
    SetCapture(m_hwnd);
    Canvas pressed(30, 30, kSentinel);
    draw(pressed);
    EXPECT_TRUE(MatchesPicture(pressed, kButton.left, kButton.top, skintest::kMax16x14,
        {kBackground, COXSkinXP::InvertColor(GetSysColor(COLOR_BTNTEXT)), 0}));
}
