#pragma once
// VisitEventSet: the archive set of VISIT_EVENT (scheduled visit events: a named visit
// for a cardholder with a scheduled time-in and time-out, to which visits belong) and
// its twin VISIT_EVENT_RESTORED.
//
// The purge pass runs it before the visit set:
//   auto stmt = BuildPurgeStatement(cutoff, LessThan);  Open(-1, stmt->GetSQL())  (or Open());
//   per row: GetArchiveRecordTime, WriteArchiveRecord (unless the destination only
//            deletes), Delete (notes the row), MoveNext;
//   DeleteArchivedRows()                                 once the archive file is on disk.
// The statement selects the visit events whose scheduled time-out lies before the
// cut-off and that no open visit (TIMEOUT_UTC NULL) belongs to. DeleteArchivedRows
// removes exactly the rows noted, by VISIT_EVENTID, while they still match.
//
// Date-times are held as TIMESTAMP_STRUCT (see CVisitSet). NAME is escaped in the
// archive line and unescaped on restore, so tabs and line breaks in it come back.

#include <memory>

#include "archive/archived_row_keys.h"
#include "archive/zyn_archive_set.h"
#include "platform/base/sqldate.h"
#include "platform/suite/database/sql_statement.h"

class VisitEventSet : public CZynArchiveSet {
    DECLARE_DYNAMIC(VisitEventSet)
public:
    static constexpr int MaxNameLength = 255;

    VisitEventSet(CZynDatabase* pDatabase, bool bRestored);
    ~VisitEventSet() override;

    // Without SQL, the next Open after BuildPurgeStatement opens that statement (so a
    // generic pass that only calls Open runs it); otherwise as the record set.
    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    // Notes the current row for DeleteArchivedRows, which runs once a batch of rows
    // (ArchivedRowKeys::BatchSize) is noted.
    void Delete() override;
    CString GetDefaultConnect() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    // SCHEDULED_TIMEOUT; null when the column is NULL.
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;

    // The select of the visit events to purge (see above); an invalid cut-off raises
    // CInvalidArgException. Remembered as the condition of DeleteArchivedRows.
    std::unique_ptr<CSQLStatement> BuildPurgeStatement(const COleDateTime& cutoff, ParamCompOperator op);
    // Nothing to prepare for this set.
    void PrepareForPurge() {}
    // The purge pass selects by BuildPurgeStatement(cutoff, LessThan), whose age
    // condition is the scheduled time-out, not by the archive time filter. Returns true.
    bool PreparePurgeSelection(const COleDateTime& cutoff) override;
    // DeleteArchivedRows.
    int64_t CompletePurgeDeletes() override;
    // Deletes the rows noted by Delete that still match the last purge statement;
    // returns the number deleted.
    int64_t DeleteArchivedRows();
    size_t GetPendingDeleteCount() const { return m_archived.Count(); }
    // Rows deleted since the last BuildPurgeStatement (by every batch, the last included).
    int64_t GetDeletedRowCount() const { return m_nDeleted; }

    LONG m_VISIT_EVENTID = 0;
    CString m_NAME;
    LONG m_EMPID = 0;
    TIMESTAMP_STRUCT m_LAST_CHANGED{};
    TIMESTAMP_STRUCT m_LASTCHANGED_UTC{};
    LONG m_SOURCE_ZYN_DBID = 0;
    LONG m_VISIT_EVENT_SIGN_IN_LOCATIONID = 0;
    TIMESTAMP_STRUCT m_SCHEDULED_TIMEOUT{};
    TIMESTAMP_STRUCT m_SCHEDULED_TIMEIN{};

private:
    CString m_strPurgeCondition;
    CString m_strPendingPurgeSQL;
    zyn::archive::ArchivedRowKeys m_archived;
    int64_t m_nDeleted = 0;
};
