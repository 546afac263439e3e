// Reads arbitrary bytes as a string-table block: every entry must load or be refused
// cleanly, never read past the block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/module.h"
#include "platform/base/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const HMODULE h = zyn::base::RegisterResourceModule(L"ZynFuzzStrings");
    if (!h)
        return 0;
    zyn::base::AddResource(h, RT_STRING, MAKEINTRESOURCE(1), 0, std::vector<uint8_t>(data, data + size));
    wchar_t buf[8];
    for (UINT id = 0; id < 16; ++id) {
        LoadStringW(h, id, buf, 8);
        const wchar_t* whole = nullptr;
        LoadStringW(h, id, reinterpret_cast<LPWSTR>(&whole), 0);
        zyn::base::LoadResourceString(h, id);
    }
    zyn::base::UnregisterBuiltinModule(h);
    return 0;
}
