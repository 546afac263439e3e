// The display's keys as virtual keys (see keymap.h). Only this file and the presenter
// include the display library.
#include "platform/display/keymap.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "platform/user/input.h"
#include "platform/user/vkeys.h"

namespace zyn::display {

namespace {

struct KeyRow {
    int32_t key;
    int vk;
};

// Keys whose meaning does not depend on the layout.
constexpr KeyRow kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB}, {SDLK_RETURN, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE}, {SDLK_DELETE, VK_DELETE}, {SDLK_INSERT, VK_INSERT}, {SDLK_HOME, VK_HOME},
    {SDLK_END, VK_END}, {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_LEFT, VK_LEFT},
    {SDLK_RIGHT, VK_RIGHT}, {SDLK_UP, VK_UP}, {SDLK_DOWN, VK_DOWN}, {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU}, {SDLK_LGUI, VK_LWIN}, {SDLK_RGUI, VK_RWIN}, {SDLK_APPLICATION, VK_APPS},
    {SDLK_MENU, VK_APPS}, {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, VK_SCROLL}, {SDLK_PAUSE, VK_PAUSE}, {SDLK_PRINTSCREEN, VK_SNAPSHOT},
    {SDLK_HELP, VK_HELP}, {SDLK_KP_0, VK_NUMPAD0}, {SDLK_KP_1, VK_NUMPAD1}, {SDLK_KP_2, VK_NUMPAD2},
    {SDLK_KP_3, VK_NUMPAD3}, {SDLK_KP_4, VK_NUMPAD4}, {SDLK_KP_5, VK_NUMPAD5}, {SDLK_KP_6, VK_NUMPAD6},
    {SDLK_KP_7, VK_NUMPAD7}, {SDLK_KP_8, VK_NUMPAD8}, {SDLK_KP_9, VK_NUMPAD9}, {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_PLUS, VK_ADD}, {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, VK_DIVIDE}, {SDLK_KP_ENTER, VK_RETURN},
    // The US punctuation keys, by the character they make unshifted.
    {SDLK_SEMICOLON, VK_OEM_1}, {SDLK_EQUALS, VK_OEM_PLUS}, {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS}, {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3}, {SDLK_LEFTBRACKET, VK_OEM_4}, {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6}, {SDLK_QUOTE, VK_OEM_7},
};

} // namespace

int VirtualKeyFor(int32_t keyCode, int32_t scanCode)
{
    if (keyCode >= SDLK_a && keyCode <= SDLK_z)
        return 'A' + (keyCode - SDLK_a);
    if (keyCode >= SDLK_0 && keyCode <= SDLK_9)
        return '0' + (keyCode - SDLK_0);
    if (keyCode >= SDLK_F1 && keyCode <= SDLK_F12)
        return VK_F1 + (keyCode - SDLK_F1);
    if (keyCode >= SDLK_F13 && keyCode <= SDLK_F24)
        return VK_F13 + (keyCode - SDLK_F13);
    for (const KeyRow& row : kNamedKeys)
        if (row.key == keyCode)
            return row.vk;
    // A key code that is a character outside the US set (the layout's own letters):
    // the text event types it, the key still reaches WM_KEYDOWN.
    if (keyCode > 0 && !(keyCode & SDLK_SCANCODE_MASK))
        return VK_PROCESSKEY;
    // The extra key of 102-key keyboards, when the layout gives it no character.
    if (scanCode == SDL_SCANCODE_NONUSBACKSLASH)
        return VK_OEM_102;
    return 0;
}

wchar_t TranslatedCharFor(int vk, const Modifiers& mods)
{
    if (vk <= 0 || vk > 254)
        return 0;
    BYTE ks[256] = {};
    if (mods.shift)
        ks[VK_SHIFT] = 0x80;
    if (mods.ctrl)
        ks[VK_CONTROL] = 0x80;
    if (mods.alt)
        ks[VK_MENU] = 0x80;
    if (mods.caps)
        ks[VK_CAPITAL] = 0x01;
    if (mods.num)
        ks[VK_NUMLOCK] = 0x01;
    WCHAR buf[4] = {};
    if (ToUnicode(static_cast<UINT>(vk), 0, ks, buf, 4, 0) != 1)
        return 0;
    return buf[0] >= 0x20 && buf[0] != 0x7F ? buf[0] : 0;
}

int KeyToInject(int vk, const Modifiers& mods, char32_t text)
{
    const wchar_t own = TranslatedCharFor(vk, mods);
    if (own && text && static_cast<char32_t>(own) != text)
        return VK_PROCESSKEY;
    return vk;
}

} // namespace zyn::display
