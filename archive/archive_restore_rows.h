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
#include <string>
#include <unordered_map>
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

// The identifier mapping of one restore: the set's answers (MapArchiveId), kept per
// column, since the set looks each one up by its table and column names every time. At
// most MaxAnswers per column are kept (then they start again), so memory stays flat.
class RestoreIdMapping {
public:
    static constexpr size_t MaxAnswers = 4096;

    // Finds out first whether the mapping has any row for the table at all; when it has
    // none (the usual case), every identifier stands for itself without a look-up.
    RestoreIdMapping(CDynamicRecordset& set, LPCWSTR lpszMappingTable);
    LONG operator()(LPCWSTR lpszColumn, LONG nId);
    // As an IdMapper (which refers to this object).
    IdMapper Mapper()
    {
        return [this](LPCWSTR column, LONG id) { return (*this)(column, id); };
    }

private:
    struct Column {
        std::wstring name;
        std::unordered_map<LONG, LONG> answers;
    };
    CDynamicRecordset& m_set;
    CString m_strTable;
    bool m_bEmpty = false;
    std::vector<Column> m_columns;
};

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
    // Stores the row's columns into the set's members (after AddNew), identifiers
    // mapped with the mapper given.
    std::function<void(const Row&, const IdMapper&)> store;
    // Or, when given, inserts the row by other means (instead of AddNew, store, Update).
    std::function<void(const Row&, const IdMapper&)> insert;
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
    RestoreIdMapping mapping(set, how.mappingTable);
    const IdMapper map = mapping.Mapper();
    DatabaseRestoreTarget target(*db, set.GetTable(), how.keyColumns);
    RestoreBatch<Row> batch(
        run, target, [&](const Row& row) { return how.identify(row, map); },
        [&](const Row& row, LONG line, RowInserter& inserter) {
            return inserter.Try(line, [&] {
                if (how.insert)
                    how.insert(row, map);
                else
                    InsertRow(set, [&] { how.store(row, map); });
            });
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
