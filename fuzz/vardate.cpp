// Parses arbitrary text as a date in several locales; an accepted date must lie in the
// automation range, and its locale text must parse back to the same value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/locale.h"
#include "platform/base/oledate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i < size; ++i) // bytes as Latin-1, so every input is some text
        text.push_back(static_cast<wchar_t>(data[i]));
    for (const LCID lcid : {LCID_EN_US, LCID_DE_DE, LCID_FR_FR}) {
        for (const ULONG flags : {ULONG{0}, VAR_DATEVALUEONLY, VAR_TIMEVALUEONLY}) {
            DATE date = 0;
            if (VarDateFromStr(text.c_str(), lcid, flags, &date) != S_OK)
                continue;
            zyn::base::OleDateFields fields;
            if (!zyn::base::OleDateToFields(date, fields))
                std::abort();
            std::wstring shown;
            if (!zyn::base::FormatVariantDate(date, 0, lcid, shown))
                std::abort();
            DATE again = -1;
            if (VarDateFromStr(shown.c_str(), lcid, 0, &again) != S_OK || again != date)
                std::abort();
        }
    }
    return 0;
}
