// Fuzz target for GUID text, as a host's configuration or a caller hands it to COM:
// CLSIDFromString and IIDFromString. None may crash or over-read, and what they accept
// must hold together: a text that reads as a GUID is exactly 38 characters, and the GUID
// formats (StringFromGUID2) as the same text in upper case; a text that is refused leaves
// CLSID_NULL behind. Input: one character per octet, except that 0xFF followed by four
// octets is one character of that value (little-endian), to reach every wchar_t.
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>

#include "platform/com/ole_com.h"

namespace {
void Check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 4 < size) {
            uint32_t v = data[i + 1] | (data[i + 2] << 8) | (data[i + 3] << 16) | (uint32_t(data[i + 4]) << 24);
            text.push_back(static_cast<wchar_t>(v));
            i += 4;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul); // the functions read up to the terminator
    CLSID c = IID_IDropTarget;
    const HRESULT hr = CLSIDFromString(text.c_str(), &c);
    IID i = IID_IDropTarget;
    const HRESULT hi = IIDFromString(text.c_str(), &i);
    // No ProgID is registered here, so both read the same texts.
    Check((hr == S_OK) == (hi == S_OK));
    if (hr != S_OK) {
        Check(hr == CO_E_CLASSSTRING && c == CLSID_NULL);
        Check(hi == CO_E_IIDSTRING && i == IID_NULL);
        return 0;
    }
    Check(text.size() == 38 && c == i);
    wchar_t back[39];
    Check(StringFromGUID2(c, back, 39) == 39);
    for (size_t k = 0; k < 38; ++k)
        Check(back[k] == static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[k]))));
    return 0;
}
