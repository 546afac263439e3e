// Fuzz target: a cool toolbar's saved state as the profile hands it back. The same bytes
// go to the readers of the buttons record, the custom-button positions and the toolbar
// order value. A record that decodes must be the one and only encoding of what it
// decoded to (buttons, positions), and hold nothing out of range: positions ascending
// from 0, has-text only with a text, an order value exactly as long as its items.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "toolkit/menus/cool_toolbar_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    if (const auto buttons = zyn::menus::DecodeCoolBarButtons(bytes)) {
        for (const auto& b : *buttons)
            if (b.hasText && b.text.empty())
                std::abort();
        const auto again = zyn::menus::EncodeCoolBarButtons(*buttons);
        // The length prefix has one shortest form; a longer one decodes to the same texts.
        if (again.size() > size)
            std::abort();
        const auto twice = zyn::menus::DecodeCoolBarButtons(again);
        if (!twice || *twice != *buttons)
            std::abort();
    }
    if (const auto positions = zyn::menus::DecodeCoolBarPositions(bytes)) {
        for (size_t i = 0; i < positions->size(); ++i)
            if ((*positions)[i].position < 0 || (i > 0 && (*positions)[i].position <= (*positions)[i - 1].position))
                std::abort();
        const auto again = zyn::menus::EncodeCoolBarPositions(*positions);
        if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()))
            std::abort();
    }
    if (const auto order = zyn::menus::DecodeCoolBarOrder(bytes)) {
        if (size != 12 + 12 * order->size() || order->size() > 4096)
            std::abort();
    }
    return 0;
}
