#pragma once
// The keyboard layout of a test's private X server. A character outside the layout is
// typed by binding it to a spare key for a moment and unbinding it straight after; a
// client that reads the key after the unbinding (any busy machine) sees no character at
// all. Binding the character for the whole test, before any client starts, makes what a
// client reads independent of when it reads it, while the character still has no key of
// its own in the window system's key map.
#include <cstdint>
#include <string>

namespace zyn::test {

// Binds the X keysym (e.g. 0xE4, adiaeresis) to a key that has no symbols on the display
// in DISPLAY, unless a key already has it. False, with the reason, when the display cannot
// be opened or no key is spare.
bool BindKeysymToSpareKey(uint32_t keysym, std::string& whyNot);

} // namespace zyn::test
