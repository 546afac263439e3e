#pragma once
// The restore of the sets whose lines each hold one row, over their table: the set is
// opened for inserting (its filter "1=0", so nothing is read), the lines run through
// the set's loop (restore_loops.h), each new row is stored with AddNew / Update in
// batches (restore_batch.h), and the set is closed. A row the database refuses is
// skipped; other database failures pass to the caller after the rows inserted before
// them are committed. A callback with an interval below 1 raises CInvalidArgException
// before anything is read.

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "archive/archive_line.h"
#include "archive/restore_batch.h"
#include "archive/restore_loops.h"
#include "archive/restore_run.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/cstring.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/database/zyn_database.h"

class CStdioFileUnicode;

namespace zyn::archive {

// A column's value for the row being added (StoreColumn), or, for a value that may be
// absent, nothing: the column then stays NULL.
template <typename T, typename V>
void SetRestoredColumn(CRecordset& set, T& member, const V& value)
{
    StoreColumn(set, member, value);
}
template <typename T, typename V>
void SetRestoredColumn(CRecordset& set, T& member, const std::optional<V>& value)
{
    if (value)
        StoreColumn(set, member, *value);
}

// The text limits of the set's table: each column's size as the table describes it,
// else the schema's (DefaultColumnLimits).
ColumnLimits TableColumnLimits(CDynamicRecordset& set, std::initializer_list<LPCWSTR> columns);

// Adds one row with AddNew, store and Update; the row being added is abandoned when
// either fails (the failure passes).
void InsertRow(CRecordset& set, const std::function<void()>& store);

struct RestoreResult {
    LONG rows = 0;
    LONG skipped = 0;
    LONG duplicates = 0;
};

// What a set gives the restore of its rows.
template <typename Row>
struct RowRestore {
    LPCWSTR source = nullptr;          // the set's name in the error log
    LPCWSTR mappingTable = nullptr;    // the table the identifier mapping names
    bool (*parse)(const ArchiveFields&, Row&, CString&) = nullptr;
    bool (*check)(const Row&, const ColumnLimits&, CString&) = nullptr;
    ColumnLimits limits;
    std::vector<KeyColumn> keyColumns;
    RowIdentity (*identify)(const Row&, const IdMapper&) = nullptr;
    // Stores the row's columns into the set's members (after AddNew).
    std::function<void(const Row&)> store;
};

// Runs the restore; result holds the counts also when an exception passes.
template <typename Row>
void RestoreRows(CDynamicRecordset& set, CStdioFileUnicode& file, ZynArchiveProgressProc pfnProgress,
    void* pContext, LONG nInterval, const RowRestore<Row>& how, RestoreResult& result)
{
    result = RestoreResult{};
    ArchiveRestoreRun run(how.source, pfnProgress, pContext, nInterval);
    CZynDatabase* db = set.GetDatabase();
    if (!db || !db->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"A restore needs an open database.");
    OpenForRestore(set, true);
    const IdMapper map = [&](LPCWSTR column, LONG id) { return MapArchiveId(set, how.mappingTable, column, id); };
    DatabaseRestoreTarget target(*db, set.GetTable(), how.keyColumns);
    RestoreBatch<Row> batch(
        run, target, [&](const Row& row) { return how.identify(row, map); },
        [&](const Row& row, LONG line, RowInserter& inserter) {
            return inserter.Try(line, [&] { InsertRow(set, [&] { how.store(row); }); });
        });
    auto record = [&] {
        result.rows = run.Count();
        result.skipped = run.Skipped();
        result.duplicates = run.Duplicates();
    };
    try {
        RestoreRowLines<Row>(file, run, BlankLines::TrimTrailingWhite, how.parse,
            [&](const Row& row, CString& reason) { return !how.check || how.check(row, how.limits, reason); },
            batch);
    } catch (...) {
        batch.Abandon();
        run.Finish();
        record();
        CloseAfterFailure(set);
        throw;
    }
    run.Finish();
    record();
    set.Close();
}

} // namespace zyn::archive
