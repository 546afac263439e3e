#pragma once
// CVisitSet: the archive set of the visitor-management table VISIT (one row per visit:
// visitor, cardholder visited, sign-in and sign-out times, the visit event it belongs
// to) and its twin VISIT_RESTORED.
//
// The purge pass does not select visits by age: it runs after the visit-event pass and
// archives the visits whose visit event is gone (PreparePurgeSelection does the first
// two steps for the shared pass, CompletePurgeDeletes the last).
//   PrepareForPurge();
//   auto stmt = BuildPurgeStatement();  Open(-1, stmt->GetSQL())  (or Open() alone);
//   per row: GetArchiveRecordTime, WriteArchiveRecord (unless the destination only
//            deletes), Delete (notes the row), MoveNext;
//   DeleteArchivedRows()                 before the pass commits.
// DeleteArchivedRows removes exactly the visits noted, by key, and only while they
// still match the purge statement: a visit whose event is gone only after the select
// ran was never written to the archive, and stays for the next pass.
//
// Date-times are held as TIMESTAMP_STRUCT, the column's own value (a CTime would read a
// UTC time as local wall-clock time, and a time in the local zone's spring-forward hour
// does not exist as such). Archive lines carry the UTC and scheduled times; the local
// times are not archived.
//
// PURPOSE and TYPE are optional columns: they are bound only when the set's table has
// them (PURPOSE as wide text, TYPE as an integer); the field count is 15 less one for
// each that is absent. Lines always have 15 fields.

#include <memory>

#include "archive/archived_row_keys.h"
#include "archive/zyn_archive_set.h"
#include "platform/base/sqldate.h"
#include "platform/suite/database/sql_statement.h"

class CVisitSet : public CZynArchiveSet {
    DECLARE_DYNAMIC(CVisitSet)
public:
    static constexpr int MaxPurposeLength = 2000;
    static constexpr int MaxVisitKeyLength = 255;

    CVisitSet(CZynDatabase* pDatabase, bool bRestored);
    ~CVisitSet() override;

    // Without SQL, the next Open after BuildPurgeStatement opens that statement (so a
    // generic pass that only calls Open runs it); otherwise as the record set.
    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    // Notes the current row for DeleteArchivedRows, which runs once a batch of rows
    // (ArchivedRowKeys::BatchSize) is noted.
    void Delete() override;
    CString GetDefaultConnect() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    // LASTCHANGED_UTC compared with the cut-off (for callers that select by age).
    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    // LASTCHANGED_UTC; null when the column is NULL.
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;
    // The purge pass selects by the purge statement (PrepareForPurge, then
    // BuildPurgeStatement), not by age: a visit whose LASTCHANGED_UTC is NULL is purged
    // too once its visit event is gone. Returns true.
    bool PreparePurgeSelection(const COleDateTime& cutoff) override;
    // DeleteArchivedRows.
    int64_t CompletePurgeDeletes() override;

    // The select of the visits to purge: the set's bound columns (VISITROWID too once
    // PrepareForPurge added it) from VISIT, where VISIT_EVENTID is set and names no row
    // of VISIT_EVENT. Remembered as the condition of DeleteArchivedRows.
    virtual std::unique_ptr<CSQLStatement> BuildPurgeStatement();
    // Selects VISITROWID as the key of the purge. Call before BuildPurgeStatement and Open.
    void PrepareForPurge();
    // Deletes the rows noted by Delete (by VISITROWID, or VISITID without it) that still
    // match the last purge statement; returns the number deleted. The notes are
    // dropped as their batches run.
    int64_t DeleteArchivedRows();
    size_t GetPendingDeleteCount() const { return m_archived.Count(); }
    // Rows deleted since the last BuildPurgeStatement (by every batch, the last included).
    int64_t GetDeletedRowCount() const { return m_nDeleted; }

    // The DELETE of the visit events of a visitor's visits that no other visit shares.
    static CString FormatVisitorEventDelete(LONG visitorId);

    // Whether the set's table has PURPOSE as text / TYPE as a 32-bit integer; asked of
    // the catalogue once and remembered (assumed present while no database is open).
    bool HasPurposeColumn();
    bool HasTypeColumn();

    LONG m_VISITID = 0;
    LONG m_EMPID = 0;
    LONG m_VISITORID = 0;
    TIMESTAMP_STRUCT m_TIMEIN{};
    TIMESTAMP_STRUCT m_TIMEOUT{};
    TIMESTAMP_STRUCT m_TIMEIN_UTC{};
    TIMESTAMP_STRUCT m_TIMEOUT_UTC{};
    TIMESTAMP_STRUCT m_SCHEDULED_TIMEIN{};
    TIMESTAMP_STRUCT m_SCHEDULED_TIMEOUT{};
    CString m_PURPOSE;
    TIMESTAMP_STRUCT m_LASTCHANGED{};
    TIMESTAMP_STRUCT m_LASTCHANGED_UTC{};
    LONG m_TYPE = 0;
    LONG m_VISIT_EVENTID = 0;
    CString m_VISIT_KEY;

private:
    bool HasColumn(LPCWSTR lpszColumn, bool (*pfnTypeFits)(int16_t), bool& bKnown, bool& bHas);
    void UpdateFieldCount();
    bool CurrentRowKey(int64_t& key);

    bool m_bPurposeKnown = false;
    bool m_bHasPurpose = true;
    bool m_bTypeKnown = false;
    bool m_bHasType = true;
    UINT m_nOwnFields = 15;
    bool m_bRowKeyAdded = false;
    CString m_strPurgeCondition;
    CString m_strPendingPurgeSQL;
    zyn::archive::ArchivedRowKeys m_archived;
    int64_t m_nDeleted = 0;
};
