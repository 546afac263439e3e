#pragma once
// The restore twins of the schema. The archive restores write into a twin of each archived
// table, <TABLE>_RESTORED, which must have the live table's columns. Rather than being
// written out twice per engine, a twin is derived from its table's own statement: a table
// whose statement carries the marker line
//     -- @restored-twin
// (or "-- @restored-twin archived-key COLUMN") among its comments gets a twin with
// - the same columns in the same order, with their types, defaults, NOT NULL and CHECKs;
// - a row ID the database gives (a column declared PRIMARY KEY) as the twin's key too;
// - the table's natural key (its PRIMARY KEY (...) clause, or the column the marker names
//   as archived-key: a key whose values the restores take from the files) only indexed,
//   as IX_<TWIN>_KEY, so a file can be restored more than once;
// - a non-unique twin of every index on the table whose statement directly follows the
//   table's (IX_<TABLE>_X becomes IX_<TABLE>_RESTORED_X).
// The twin's statements come right after those index statements. A definition that cannot
// be carried over faithfully (UNIQUE or REFERENCES, named constraints, quoted names, an
// archived-key that is no column, a twin the script defines itself) is refused with
// CInvalidArgException naming the table.

#include <vector>

#include "platform/base/cstring.h"

namespace zyn::db {

// The statements of a split script (SplitSqlScript) with the twins added after the
// tables that ask for them.
std::vector<CString> AddRestoredTwins(const std::vector<CString>& statements);

} // namespace zyn::db
