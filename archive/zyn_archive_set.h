#pragma once
// CZynArchiveSet: the base of every archive set. A set over one table of the purge pass
// that can select the rows older than a cut-off, give each row's time, write each row
// as one line of the day's archive text file, and read such a file back into the
// table's *_RESTORED twin.
//
// The purge pass, per set: the set's own preparation, its selection of the old rows
// (PreparePurgeSelection, else AddArchiveTimeFilter(cutoff, LessThan)), Open, then per
// row GetArchiveRecordTime, WriteArchiveRecord and Delete, then MoveNext, and at the end
// CompletePurgeDeletes. RestoreArchiveRecords is for host applications, on a set
// constructed for the restored table.

#include "platform/base/oledatetime.h"
#include "platform/suite/database/dynamic_recordset.h"

class CStdioFileUnicode;
class CZynDatabase;

// Progress callback of RestoreArchiveRecords: the rows restored so far and the caller's
// context; false stops the restore.
using ZynArchiveProgressProc = bool (*)(LONG nCount, void* pContext);

class CZynArchiveSet : public CDynamicRecordset {
    DECLARE_DYNAMIC(CZynArchiveSet)
public:
    CZynArchiveSet(CZynDatabase* pDatabase, LPCWSTR lpszTable);
    ~CZynArchiveSet() override;

    // Adds "time column op cutoff" (ANDed) for the next Open. Returns the number of
    // typed conditions now held.
    virtual int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) = 0;
    // The current row's value of the time column (null when the column is NULL).
    virtual COleDateTime GetArchiveRecordTime() = 0;
    // Writes the current row as one line (some sets add lines of dependent rows).
    virtual void WriteArchiveRecord(CStdioFileUnicode& file) = 0;
    // Reads the file to its end and inserts one row per line into the set's table.
    // Returns the number of rows inserted. Lines that hold no row of this set, and rows
    // the database refuses, are skipped, logged and counted (GetSkippedLineCount); rows
    // the table has already (a restore run again, a row written twice) are skipped and
    // counted (GetDuplicateCount). A positive nInterval must come with a progress
    // callback; nReserved is not read.
    virtual LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) = 0;

    // The purge pass's selection, before Open: a set that selects the rows to purge by a
    // rule of its own prepares it and returns true; the others return false and the pass
    // adds AddArchiveTimeFilter(cutoff, LessThan).
    virtual bool PreparePurgeSelection(const COleDateTime& cutoff);
    // After the purge pass's last row: the deletes of a set that deletes at the end (its
    // Delete only notes the rows). Returns the rows deleted; 0 for the others.
    virtual int64_t CompletePurgeDeletes();

    // Lines skipped by the last RestoreArchiveRecords: malformed, torn, too long for
    // their column, or refused by the database.
    LONG GetSkippedLineCount() const { return m_nSkippedLines; }
    // Rows the last RestoreArchiveRecords found in the table already.
    LONG GetDuplicateCount() const { return m_nDuplicates; }

protected:
    void SetSkippedLineCount(LONG nCount) { m_nSkippedLines = nCount; }
    void SetDuplicateCount(LONG nCount) { m_nDuplicates = nCount; }

private:
    LONG m_nSkippedLines = 0;
    LONG m_nDuplicates = 0;
};
