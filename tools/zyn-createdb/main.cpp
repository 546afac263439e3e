// zyn-createdb: creates a fresh database of the suite from its schema.
//
//   zyn-createdb [--replace] FILE              an SQLite database file (WAL mode)
//   zyn-createdb --postgresql CONNECTION       the schema in an existing PostgreSQL database
//                                              ("Server=...;Port=...;Database=...;UID=...")
//
// The schema files come from ZYN_SCHEMA_DIR, else the copy installed beside the library,
// else the source tree's db/schema; the restore twins of the tables marked for them are
// derived by the loader. A failure leaves nothing behind: the SQLite file is built beside
// FILE and takes its name only when complete (with --replace an existing FILE stays as it
// was until then), and on PostgreSQL the whole schema is one transaction.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/schema_loader.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
        "usage: zyn-createdb [--replace] FILE\n"
        "       zyn-createdb --postgresql CONNECTION-STRING\n"
        "Creates the suite's tables from %s.\n",
        zyn::base::ToUtf8(zyn::db::SchemaDir().GetString()).c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool replace = false;
    bool postgres = false;
    const char* target = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replace") == 0)
            replace = true;
        else if (std::strcmp(argv[i], "--postgresql") == 0)
            postgres = true;
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return Usage();
        else if (!target && argv[i][0] != '-')
            target = argv[i];
        else
            return Usage();
    }
    if (!target || (postgres && replace))
        return Usage();

    const std::wstring wtarget = zyn::base::FromUtf8(target);
    try {
        const int n = zyn::db::CreateDatabase(wtarget.c_str(),
            postgres ? zyn::db::SchemaEngine::PostgreSQL : zyn::db::SchemaEngine::SQLite, replace);
        std::printf("zyn-createdb: %s: %d statements of %s\n", postgres ? "database" : target, n,
            zyn::base::ToUtf8(zyn::db::SchemaFile(postgres ? zyn::db::SchemaEngine::PostgreSQL
                                                           : zyn::db::SchemaEngine::SQLite)
                                  .GetString())
                .c_str());
        return 0;
    } catch (CException* e) {
        std::fprintf(stderr, "zyn-createdb: %s\n", zyn::base::ToUtf8(e->GetMessageText().GetString()).c_str());
        e->Delete();
        return 1;
    }
}
