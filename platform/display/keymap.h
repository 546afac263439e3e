#pragma once
// The real keyboard in the window system's terms: which virtual key a display's key is,
// and which character the window system will make of it itself.
//
// Keys are named by the display library's key code (what the key means in the user's
// layout) with its scan code (where the key sits) as the fallback, both passed as plain
// integers so that this header needs no display library. Letters, digits and the US
// punctuation keys follow the key code, so Ctrl+Z is Ctrl+Z on any layout; keys that make
// a character outside that set (ä, é) become VK_PROCESSKEY, as an input method's keys do,
// so the window system makes no character of them and the display's text event alone
// types the character.
#include <cstdint>

#include "platform/base/wintypes.h"

namespace zyn::display {

// The virtual key (1..254), or 0 for a key the window system has no use for.
int VirtualKeyFor(int32_t keyCode, int32_t scanCode);

// The display's modifier bits as a key state for ToUnicode (shift, control, alt, caps and
// num lock).
struct Modifiers {
    bool shift = false, ctrl = false, alt = false, caps = false, num = false;
};
// The printable character TranslateMessage will post for a key press with these
// modifiers, or 0 (control characters and keys that make none): the text event that
// follows the press carries the same character and must not be typed twice.
wchar_t TranslatedCharFor(int vk, const Modifiers& mods);

// The key to inject for a press whose text event (if the display sent one) begins with
// `text` (0: none): `vk`, unless the window system would make a different printable
// character of it than the layout did (Shift+7 is '&' on a US keyboard, '/' on a German
// one); then VK_PROCESSKEY, so only the layout's character is typed.
int KeyToInject(int vk, const Modifiers& mods, char32_t text);

} // namespace zyn::display
