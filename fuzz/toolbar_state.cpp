// The toolbar's saved state (TB_SAVERESTORE's registry value): any bytes either decode to
// items that encode back to the same bytes, or are refused.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "platform/comctl/toolbar_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    const auto items = zyn::comctl::tb::DecodeSavedState(bytes);
    if (!items)
        return 0;
    const std::vector<uint8_t> again = zyn::comctl::tb::EncodeSavedState(*items);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    return 0;
}
