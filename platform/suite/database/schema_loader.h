#pragma once
// Creating a database of the suite from its schema files: db/schema/sqlite.sql and
// db/schema/postgresql.sql. The folder is ZYN_SCHEMA_DIR when set (tests and the demo
// point it at their copy), else, for an installed library, the copy installed with it
// (<prefix>/share/ZynCmn/schema), else the source tree's db/schema.

#include <vector>

#include "platform/base/cstring.h"

class CDatabase;

namespace zyn::db {

enum class SchemaEngine { SQLite, PostgreSQL };

// The schema folder, without a trailing separator.
CString SchemaDir();
// The schema file of an engine.
CString SchemaFile(SchemaEngine engine);
// The engine of an open database; CInvalidArgException for an engine we have no schema
// for.
SchemaEngine SchemaEngineOf(const CDatabase& db);

// Splits script text into statements at the semicolons that end them: semicolons
// inside quotes ('...', "..."), dollar quotes ($$...$$, $tag$...$tag$) and comments
// (-- to the line end, /* ... */) do not count. Comments are kept with their
// statement; statements that are only white space and comments are dropped, white space
// being what CString::Trim strips (Unicode's too: U+0085, U+00A0, U+2028...). An
// unterminated quote or comment raises CInvalidArgException naming the line it began
// on.
std::vector<CString> SplitSqlScript(const CString& script);

// Reads a UTF-8 script file (a byte-order mark is allowed). CFileException when it
// cannot be read, CInvalidArgException when it is not valid UTF-8.
CString ReadScriptFile(LPCWSTR path);

// Runs the schema of the database's engine on an open database, in one transaction:
// the script's statements with the restore twins added (schema_twins.h), each sent
// without its comments. Returns the number of statements run. Failures raise
// CDBException (the transaction is rolled back) naming the statement that failed.
int LoadSchema(CDatabase& db);

// The ODBC connection string of an SQLite database file through the SQLite3 driver.
CString SqliteConnectString(LPCWSTR path);

// Creates a database from the schema. A failure leaves nothing it made behind.
// - SQLite: target is a file path. An existing file raises CFileException (cause
//   genericException, the path as its file name) unless bReplace. The new file is built
//   beside the target and takes its name only once complete, replacing an existing one
//   when bReplace; a failure removes it and leaves an existing target as it was. The
//   new file is in WAL mode.
// - PostgreSQL: target is a connection string ("Server=...;Port=...;Database=...;
//   UID=..." or "DSN=..."); the schema is created in the database's current schema,
//   which must not have the tables yet, in one transaction: a failure rolls back every
//   table, index and function it created.
// Returns the number of statements run.
int CreateDatabase(LPCWSTR target, SchemaEngine engine, bool bReplace = false);

} // namespace zyn::db
