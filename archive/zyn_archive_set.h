#pragma once
// CZynArchiveSet: the base of every archive set. A set over one table of the purge pass
// that can select the rows older than a cut-off, give each row's time, write each row
// as one line of the day's archive text file, and read such a file back into the
// table's *_RESTORED twin.
//
// The purge pass, per set: the set's own preparation, AddArchiveTimeFilter(cutoff,
// LessThan), Open, then per row GetArchiveRecordTime, WriteArchiveRecord and Delete,
// then MoveNext. RestoreArchiveRecords is for host applications, on a set constructed
// for the restored table.

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
    // Returns the number of rows inserted. Lines that do not hold a row of this set are
    // skipped, logged and counted (GetSkippedLineCount). A positive nInterval must come
    // with a progress callback; nReserved is not read.
    virtual LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) = 0;

    // Malformed lines skipped by the last RestoreArchiveRecords.
    LONG GetSkippedLineCount() const { return m_nSkippedLines; }

protected:
    void SetSkippedLineCount(LONG nCount) { m_nSkippedLines = nCount; }

private:
    LONG m_nSkippedLines = 0;
};
