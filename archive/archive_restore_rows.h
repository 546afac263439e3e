#pragma once
// The restore loop of the visit and video sets: each non-blank line is parsed into the
// set's row (refused lines are skipped, logged and counted), the row is stored with
// AddNew / Update, and the callback hears of every interval rows.

#include <functional>
#include <optional>

#include "archive/archive_line.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/cstring.h"

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

struct RestoreResult {
    LONG rows = 0;
    LONG skipped = 0;
};

// Opens the set for inserting (its filter "1=0", so nothing is read) unless it is open,
// runs the lines through parse and store, and closes the set. Exceptions of the
// database pass to the caller (the row being added is abandoned; rows stored before
// stay). A callback with an interval below 1 raises CInvalidArgException before
// anything is read.
template <typename Row>
RestoreResult RestoreRows(CRecordset& set, CStdioFileUnicode& file, LPCWSTR lpszSource,
    ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval,
    bool (*parse)(const ArchiveFields&, Row&, CString&), const std::function<void(const Row&)>& store)
{
    ArchiveRestoreRun run(lpszSource, pfnProgress, pContext, nInterval);
    OpenForRestore(set, true);
    CString reason;
    Row row;
    RunArchiveRestore(file, run, BlankLines::TrimTrailingWhite, [&](const ArchiveFields& f) {
        if (!parse(f, row, reason))
            return LineOutcome::Skip(reason.GetString());
        set.AddNew();
        try {
            store(row);
            set.Update();
        } catch (...) {
            set.CancelUpdate();
            throw;
        }
        return LineOutcome::Row();
    });
    set.Close();
    return {run.Count(), run.Skipped()};
}

} // namespace zyn::archive
