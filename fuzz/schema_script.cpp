// Fuzz target: a schema script as tools/zyn-createdb reads it (the input is the script
// file, any bytes): read as UTF-8, split into statements, the restore twins added. Each
// step either refuses with its documented exception or gives statements none of which is
// blank, and the twins only add: the split statements come back in their order.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_env.h"
#include "platform/base/exception.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/schema_twins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto path = zyn::fuzz::WriteScratch("schema.sql", data, size);
    std::vector<CString> statements;
    try {
        const CString script = zyn::db::ReadScriptFile(path.wstring().c_str());
        statements = zyn::db::SplitSqlScript(script);
    } catch (CInvalidArgException* e) {
        e->Delete();
        return 0;
    } catch (CFileException* e) {
        e->Delete();
        return 0;
    }
    for (const CString& s : statements) {
        CString trimmed = s;
        trimmed.Trim();
        zyn::fuzz::Check(!trimmed.IsEmpty());
    }
    std::vector<CString> withTwins;
    try {
        withTwins = zyn::db::AddRestoredTwins(statements);
    } catch (CInvalidArgException* e) {
        e->Delete();
        return 0;
    }
    size_t next = 0;
    for (const CString& s : withTwins)
        if (next < statements.size() && s == statements[next])
            ++next;
    zyn::fuzz::Check(next == statements.size());
    return 0;
}
