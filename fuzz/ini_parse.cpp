// Fuzz target: the INI parser and writer (in memory; no file is touched).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using zyn::base::IniDocument;
    IniDocument doc = IniDocument::Parse({data, size});
    const auto sections = doc.SectionNames();
    for (const auto& s : sections) {
        if (!doc.HasSection(s))
            std::abort();
        for (const auto& k : doc.Keys(s))
            if (!doc.Get(s, k))
                std::abort();
        doc.Entries(s);
    }
    // Nothing edited: the very same bytes are written back.
    std::vector<uint8_t> bytes = doc.Serialize();
    if (bytes != std::vector<uint8_t>(data, data + size))
        std::abort();
    // What is written reads back with the same sections and values.
    IniDocument again = IniDocument::Parse(bytes);
    if (again.SectionNames() != sections)
        std::abort();
    for (const auto& s : sections)
        for (const auto& k : doc.Keys(s))
            if (again.Get(s, k) != doc.Get(s, k))
                std::abort();
    // Edits keep the document consistent.
    doc.Set(L"Fuzz", L"key", L"value");
    doc.DeleteKey(sections.empty() ? std::wstring(L"x") : sections.front(), L"key");
    if (doc.Get(L"fuzz", L"KEY") != std::wstring(L"value"))
        std::abort();
    doc.DeleteSection(L"Fuzz");
    if (doc.HasSection(L"Fuzz"))
        std::abort();
    return 0;
}
