#pragma once
// A minimal purge pass over archive sets, for the tests, the benchmarks and hosts that
// want one. Per set: its own preparation, then its selection of old rows (the visit
// sets select by a statement of their own, the others by AddArchiveTimeFilter(cutoff,
// LessThan)), Open, then per row GetArchiveRecordTime, WriteArchiveRecord and Delete,
// then MoveNext; after the last row the deletes of the sets that delete at the end
// (CompletePurgeDeletes, and the step's own afterLastRow).
//
// A row that another client deleted between the select and its keyed delete is logged
// and counted as gone; its line is in the file, and the pass goes on.
//
// Crash safety: the whole pass runs in one transaction of the database, committed only
// after the archive file has been flushed to disk (FlushToDisk). Any failure before
// that, the flush included, rolls every delete back, and the lines this pass appended
// are cut off the file again (as far as the file allows; a crash instead leaves them,
// so the next pass may write some rows twice, but never loses one; a restore skips the
// second copy).
//
// Torn tail: before appending, a file whose last line has no line end (a crash, a failed
// cut-back on a full disk, an outside edit) is cut back to its last whole line, since the
// pass that wrote the torn line never committed. A file whose part after the last line end
// is more than one torn line (lines shifted by a byte, or no line end for megabytes) is
// refused: the error is logged, CFileException invalidFile raised, nothing deleted.
//
// Catalogue: given an entry, the pass records the file in ARCHIVE_DETAIL in the same
// transaction (one row per file path: its first and last archive times widened to the
// pass's, its row count increased).

#include <functional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/oledatetime.h"
#include "platform/base/wintypes.h"

class CStdioFileUnicode;
class CZynArchiveSet;
class CZynDatabase;

namespace zyn::archive {

struct PurgeStep {
    // A set constructed on the live table (not open).
    CZynArchiveSet* set = nullptr;
    // The set's own preparation (may be empty), before its selection.
    std::function<void(CZynArchiveSet&)> prepare;
    // False for sets that must not be deleted row by row (Delete is then not called).
    bool deletePerRow = true;
    // Runs after the last row, after the set's CompletePurgeDeletes, before it closes.
    std::function<void(CZynArchiveSet&)> afterLastRow;
};

struct PurgeResult {
    LONG rows = 0;                // rows archived (or deleted) over all steps
    std::vector<LONG> rowsPerStep;
    // Rows that were gone when the pass came to delete them (another client deleted
    // them after the select); included in rows (their lines were written).
    LONG gone = 0;
    // The earliest and latest archive time of the rows the pass took (null when no row
    // had a valid time), whatever order the rows came in.
    COleDateTime first;
    COleDateTime last;
};

// The catalogue row of the archive file (ARCHIVE_DETAIL).
struct PurgeCatalogueEntry {
    CString filePath;  // the row's key
    CString workstation;
    CString user;
    LONG recordType = 0; // EVENTTYPE: a negative code for a kind of record, or an event type
    int versionMajor = 0;
    int versionMinor = 0;
    int versionBuild = 0;
};

// Runs the pass. file null: the destination that only deletes (no catalogue row then).
// The database must be open with no transaction pending. Failures raise the database
// or file exception after the rollback.
PurgeResult RunPurgePass(CZynDatabase& db, const COleDateTime& cutoff, std::vector<PurgeStep>& steps,
    CStdioFileUnicode* file, const PurgeCatalogueEntry* catalogue = nullptr);

// Adds a pass to the catalogue row of its file (created when missing, with a new ID):
// DATEFIRST becomes the earlier of its value and result.first, DATELAST the later of its
// value and result.last, EVENTCOUNT grows by result.rows, AD_TIMESTAMP is now (UTC).
// Nothing is written for a pass of no rows. Failures raise CDBException.
void RecordInCatalogue(CZynDatabase& db, const PurgeCatalogueEntry& entry, const PurgeResult& result);

} // namespace zyn::archive
