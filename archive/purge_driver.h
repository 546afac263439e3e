#pragma once
// A minimal purge pass over archive sets, for the tests, the benchmarks and hosts that
// want one: per set, its own preparation, AddArchiveTimeFilter(cutoff, LessThan),
// Open, then per row GetArchiveRecordTime, WriteArchiveRecord and Delete, then
// MoveNext; the sets that delete once after their last row get a step for that.
//
// Crash safety: the whole pass runs in one transaction of the database, committed only
// after the archive file has been flushed to disk (FlushToDisk). Any failure before
// that, the flush included, rolls every delete back, and the lines this pass appended
// are cut off the file again (as far as the file allows; a crash instead leaves them,
// so the next pass may write some rows twice, but never loses one).

#include <functional>
#include <vector>

#include "platform/base/oledatetime.h"
#include "platform/base/wintypes.h"

class CStdioFileUnicode;
class CZynArchiveSet;
class CZynDatabase;

namespace zyn::archive {

struct PurgeStep {
    // A set constructed on the live table (not open).
    CZynArchiveSet* set = nullptr;
    // The set's own preparation (may be empty), before the time filter.
    std::function<void(CZynArchiveSet&)> prepare;
    // False for the sets that do not delete row by row; afterLastRow then deletes what
    // they wrote (it runs after the last row, before the set is closed).
    bool deletePerRow = true;
    std::function<void(CZynArchiveSet&)> afterLastRow;
};

struct PurgeResult {
    LONG rows = 0;                // rows archived (or deleted) over all steps
    std::vector<LONG> rowsPerStep;
    COleDateTime first;           // the first and last row's time (null when no row)
    COleDateTime last;
};

// Runs the pass. file null: the destination that only deletes. The database must be
// open with no transaction pending. Failures raise the database or file exception
// after the rollback.
PurgeResult RunPurgePass(CZynDatabase& db, const COleDateTime& cutoff, std::vector<PurgeStep>& steps,
    CStdioFileUnicode* file);

} // namespace zyn::archive
