// Command-line splitting: any input splits without failing, and every word after the
// program name survives quoting and splitting again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/process.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring line;
    line.reserve(size);
    for (size_t i = 0; i < size; ++i)
        line.push_back(static_cast<wchar_t>(data[i])); // Latin-1: blanks, quotes and backslashes included
    const std::vector<std::wstring> words = zyn::base::SplitCommandLine(line);
    if (words.empty())
        return 0;
    std::wstring rebuilt = L"prog";
    for (size_t i = 1; i < words.size(); ++i)
        rebuilt += L" " + zyn::base::QuoteCommandLineArgument(words[i]);
    const std::vector<std::wstring> again = zyn::base::SplitCommandLine(rebuilt);
    if (again.size() != words.size())
        std::abort();
    for (size_t i = 1; i < words.size(); ++i)
        if (again[i] != words[i])
            std::abort();
    return 0;
}
