// Fuzz target: the archive-text escape and the SQL script splitter. The input is read as
// UTF-8 text. Unescaping arbitrary text never fails; escaping any text gives a field
// without tabs or line breaks that unescapes to the same text; the splitter either
// rejects the script with CInvalidArgException or returns statements that split again
// to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/database/schema_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text =
        zyn::base::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const CString original(text);

    // Restoring text from a file of any origin.
    CString restored = original;
    CDynamicRecordset::ReplaceSpecialChars(restored);

    // Writing: no field or line separator survives, and the text comes back whole.
    CString escaped = CDynamicRecordset::RemovedSpecialChars(original);
    CDynamicRecordset::CleanupString(escaped);
    for (wchar_t c : escaped.Str())
        if (c == L'\t' || c == L'\r' || c == L'\n')
            std::abort();
    if (CDynamicRecordset::ReplacedSpecialChars(escaped) != original)
        std::abort();

    try {
        const auto statements = zyn::db::SplitSqlScript(original);
        for (const CString& s : statements) {
            if (s.IsEmpty())
                std::abort();
            const auto again = zyn::db::SplitSqlScript(s);
            if (again.size() != 1 || again.front() != s)
                std::abort();
        }
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    return 0;
}
