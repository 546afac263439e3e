// Binding a keysym to a spare key of the test display (see x_keyboard.h).
#include "tests/display/x_keyboard.h"

#include <X11/Xlib.h>

#include <memory>

namespace zyn::test {

bool BindKeysymToSpareKey(uint32_t keysym, std::string& whyNot)
{
    const std::unique_ptr<Display, int (*)(Display*)> dpy(XOpenDisplay(nullptr), XCloseDisplay);
    if (!dpy) {
        whyNot = "cannot open the X display to change its keyboard map";
        return false;
    }
    if (XKeysymToKeycode(dpy.get(), static_cast<KeySym>(keysym)) != 0)
        return true;
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(dpy.get(), &minCode, &maxCode);
    int perCode = 0;
    const std::unique_ptr<KeySym, int (*)(void*)> map(
        XGetKeyboardMapping(dpy.get(), static_cast<KeyCode>(minCode), maxCode - minCode + 1, &perCode), XFree);
    if (!map || perCode <= 0) {
        whyNot = "cannot read the X keyboard map";
        return false;
    }
    // The highest key without symbols: the low ones are the keyboard's real keys.
    for (int code = maxCode; code >= minCode; --code) {
        const KeySym* syms = map.get() + static_cast<ptrdiff_t>(code - minCode) * perCode;
        bool spare = true;
        for (int i = 0; i < perCode && spare; ++i)
            spare = syms[i] == NoSymbol;
        if (!spare)
            continue;
        KeySym both[2] = {static_cast<KeySym>(keysym), static_cast<KeySym>(keysym)};
        XChangeKeyboardMapping(dpy.get(), code, 2, both, 1);
        XSync(dpy.get(), False);
        if (XKeysymToKeycode(dpy.get(), static_cast<KeySym>(keysym)) == 0) {
            whyNot = "the X server did not take the new key";
            return false;
        }
        return true;
    }
    whyNot = "no spare key in the X keyboard map";
    return false;
}

} // namespace zyn::test
