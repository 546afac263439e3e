// The display's keys and cursors in the window system's terms. Virtual-key numbers are
// the platform's published values, written out here rather than taken from our headers.
#include <gtest/gtest.h>

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "platform/display/cursor_shape.h"
#include "platform/display/keymap.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"

namespace zyn::test {
namespace {

using display::Modifiers;

TEST(Keymap, KeysBecomeTheVirtualKeysTheToolkitHandles)
{
    struct Row {
        const char* name;
        int32_t key, scan;
        int vk;
    };
    const Row rows[] = {
        {"a", SDLK_a, SDL_SCANCODE_A, 0x41}, {"z", SDLK_z, SDL_SCANCODE_Z, 0x5A},
        {"z on a German layout's Y key", SDLK_z, SDL_SCANCODE_Y, 0x5A}, {"0", SDLK_0, SDL_SCANCODE_0, 0x30},
        {"9", SDLK_9, SDL_SCANCODE_9, 0x39}, {"F1", SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {"F10", SDLK_F10, SDL_SCANCODE_F10, 0x79}, {"F12", SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {"F13", SDLK_F13, SDL_SCANCODE_F13, 0x7C}, {"Return", SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
        {"keypad Enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D}, {"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        {"Tab", SDLK_TAB, SDL_SCANCODE_TAB, 0x09}, {"Backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        {"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E}, {"Insert", SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
        {"Home", SDLK_HOME, SDL_SCANCODE_HOME, 0x24}, {"End", SDLK_END, SDL_SCANCODE_END, 0x23},
        {"Page Up", SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21}, {"Page Down", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
        {"Left", SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25}, {"Up", SDLK_UP, SDL_SCANCODE_UP, 0x26},
        {"Right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27}, {"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        {"left Shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0x10}, {"right Shift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
        {"left Ctrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11}, {"right Ctrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11},
        {"left Alt", SDLK_LALT, SDL_SCANCODE_LALT, 0x12}, {"AltGr", SDLK_RALT, SDL_SCANCODE_RALT, 0x12},
        {"context menu key", SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, 0x5D},
        {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20}, {"keypad 7", SDLK_KP_7, SDL_SCANCODE_KP_7, 0x67},
        {"keypad +", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0x6B}, {"semicolon", SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        {"minus", SDLK_MINUS, SDL_SCANCODE_MINUS, 0xBD}, {"quote", SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        {"a-umlaut: the text event types it", 0xE4, SDL_SCANCODE_APOSTROPHE, 0xE5},
        {"102nd key without a character", SDLK_UNKNOWN, SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
        {"volume key", SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(display::VirtualKeyFor(r.key, r.scan), r.vk) << r.name;
}

TEST(Keymap, TextIsTypedOnceWhateverTheLayout)
{
    struct Row {
        const char* name;
        int vk;
        Modifiers mods;
        char32_t text;      // the display's text event, 0 for none
        wchar_t translated; // what TranslateMessage posts itself (printable only)
        int injected;       // the key to inject
    };
    const Modifiers none{}, shift{true}, ctrl{false, true}, caps{false, false, false, true};
    const Row rows[] = {
        {"a", 0x41, none, U'a', L'a', 0x41},
        {"Shift+a", 0x41, shift, U'A', L'A', 0x41},
        {"Caps Lock a", 0x41, caps, U'A', L'A', 0x41},
        {"US Shift+7", 0x37, shift, U'&', L'&', 0x37},
        {"German Shift+7", 0x37, shift, U'/', L'&', 0xE5},
        {"Ctrl+A makes a control character, no text", 0x41, ctrl, 0, 0, 0x41},
        {"Return is no printable character", 0x0D, none, 0, 0, 0x0D},
        {"space", 0x20, none, U' ', L' ', 0x20},
        {"F5 makes nothing", 0x74, none, 0, 0, 0x74},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(display::TranslatedCharFor(r.vk, r.mods), r.translated) << r.name;
        EXPECT_EQ(display::KeyToInject(r.vk, r.mods, r.text), r.injected) << r.name;
    }
}

TEST(CursorShape, SystemCursorsKeepTheirMeaning)
{
    using display::CursorShape;
    struct Row {
        const char* name;
        HCURSOR cursor;
        bool shown;
        CursorShape shape;
    };
    const Row rows[] = {
        {"arrow", LoadCursorW(nullptr, IDC_ARROW), true, CursorShape::Arrow},
        {"beam", LoadCursorW(nullptr, IDC_IBEAM), true, CursorShape::IBeam},
        {"west-east", LoadCursorW(nullptr, IDC_SIZEWE), true, CursorShape::SizeWE},
        {"north-south", LoadCursorW(nullptr, IDC_SIZENS), true, CursorShape::SizeNS},
        {"nw-se", LoadCursorW(nullptr, IDC_SIZENWSE), true, CursorShape::SizeNWSE},
        {"ne-sw", LoadCursorW(nullptr, IDC_SIZENESW), true, CursorShape::SizeNESW},
        {"move", LoadCursorW(nullptr, IDC_SIZEALL), true, CursorShape::SizeAll},
        {"hand", LoadCursorW(nullptr, IDC_HAND), true, CursorShape::Hand},
        {"wait", LoadCursorW(nullptr, IDC_WAIT), true, CursorShape::Wait},
        {"no", LoadCursorW(nullptr, IDC_NO), true, CursorShape::No},
        {"null cursor", nullptr, true, CursorShape::Hidden},
        {"hidden by ShowCursor", LoadCursorW(nullptr, IDC_IBEAM), false, CursorShape::Hidden},
        {"an icon is no system cursor", LoadIconW(nullptr, IDI_APPLICATION), true, CursorShape::Own},
    };
    for (const Row& r : rows)
        EXPECT_EQ(display::ShapeOfCursor(r.cursor, r.shown), r.shape) << r.name;
}

TEST(CursorShape, HostCursorsShowTheirOwnPicture)
{
    // 32 x 32, four bands of eight rows, one per cell of the monochrome cursor's truth
    // table (AND, XOR): (1,0) screen shows through, (0,0) black, (0,1) white, (1,1) the
    // screen inverted, which a display cursor cannot do and shows black.
    struct Band {
        uint8_t andBits, xorBits;
        uint32_t argb;
    };
    const Band bands[4] = {{0xFF, 0x00, 0x00000000u}, {0x00, 0x00, 0xFF000000u}, {0x00, 0xFF, 0xFFFFFFFFu},
        {0xFF, 0xFF, 0xFF000000u}};
    uint8_t andPlane[32 * 4], xorPlane[32 * 4];
    for (int y = 0; y < 32; ++y)
        for (int b = 0; b < 4; ++b) {
            andPlane[y * 4 + b] = bands[y / 8].andBits;
            xorPlane[y * 4 + b] = bands[y / 8].xorBits;
        }
    HCURSOR own = CreateCursor(nullptr, 3, 5, 32, 32, andPlane, xorPlane);
    ASSERT_TRUE(own);
    EXPECT_EQ(display::ShapeOfCursor(own, true), display::CursorShape::Own);
    display::CursorPicture pic;
    ASSERT_TRUE(display::PictureOfCursor(own, pic));
    EXPECT_EQ(pic.width, 32);
    EXPECT_EQ(pic.height, 32);
    EXPECT_EQ(pic.hotspot.x, 3);
    EXPECT_EQ(pic.hotspot.y, 5);
    for (int y = 0; y < 32; y += 3)
        for (int x = 0; x < 32; x += 5)
            EXPECT_EQ(pic.argb[size_t(y) * 32 + x], bands[y / 8].argb) << "pixel " << x << "," << y;
    DestroyCursor(own);
    EXPECT_FALSE(display::PictureOfCursor(nullptr, pic));
}

} // namespace
} // namespace zyn::test
