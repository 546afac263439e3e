// Runs arbitrary text as a printf format and as a FormatMessage text against a fixed
// set of arguments. Refusals (CInvalidArgException) are expected; anything else that
// escapes, or a crash, is a fault.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/format.h"
#include "platform/base/utf16.h"

namespace {

template <class C>
void Run(const C* fmt, zyn::base::FormatArgs args)
{
    try {
        (void)zyn::base::FormatPrintf(fmt, args);
    } catch (CException* e) {
        e->Delete();
    }
    try {
        (void)zyn::base::FormatMessageText(fmt, args);
    } catch (CException* e) {
        e->Delete();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const std::string narrow(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = zyn::base::FromUtf8(narrow);
    using zyn::base::FormatArg;
    const FormatArg args[] = {FormatArg(42), FormatArg(L"wide"), FormatArg("narrow"), FormatArg(3.5),
        FormatArg(int64_t{-7}), FormatArg(static_cast<const wchar_t*>(nullptr)), FormatArg(7u), FormatArg(L'x')};
    Run(narrow.c_str(), zyn::base::FormatArgs(args));
    Run(wide.c_str(), zyn::base::FormatArgs(args));
    Run(wide.c_str(), zyn::base::FormatArgs());
    return 0;
}
