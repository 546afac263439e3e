#include "archive/visit_event_set.h"

#include <utility>

#include "archive/archive_restore_rows.h"
#include "archive/visit_archive_lines.h"
#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/stdiofile_unicode.h"

IMPLEMENT_DYNAMIC(VisitEventSet, CZynArchiveSet)

using zyn::archive::OptionalTime;
using zyn::archive::SetRestoredColumn;
using zyn::archive::VisitEventArchiveRow;

namespace {

constexpr LPCWSTR kLiveTable = L"VISIT_EVENT";
constexpr LPCWSTR kRestoredTable = L"VISIT_EVENT_RESTORED";

OptionalTime TimeOf(CRecordset& set, TIMESTAMP_STRUCT& member)
{
    if (set.IsFieldNull(&member))
        return std::nullopt;
    return member;
}

} // namespace

VisitEventSet::VisitEventSet(CZynDatabase* pDatabase, bool bRestored)
    : CZynArchiveSet(pDatabase, bRestored ? kRestoredTable : kLiveTable)
{
    m_nFields = 9;
}

VisitEventSet::~VisitEventSet() = default;

BOOL VisitEventSet::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    // The purge statement built last, for an Open without SQL (a generic pass).
    const CString pending = std::exchange(m_strPendingPurgeSQL, CString());
    if (!lpszSQL && !pending.IsEmpty())
        return CZynArchiveSet::Open(nOpenType, pending, dwOptions);
    return CZynArchiveSet::Open(nOpenType, lpszSQL, dwOptions);
}

CString VisitEventSet::GetDefaultConnect() { return L"ODBC;DSN=Orvan;"; }

void VisitEventSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[VISIT_EVENTID]", m_VISIT_EVENTID);
    RFX_TextU(pFX, L"[NAME]", m_NAME, MaxNameLength, SQL_WVARCHAR, 0);
    RFX_Long(pFX, L"[EMPID]", m_EMPID);
    RFX_Date(pFX, L"[LAST_CHANGED]", m_LAST_CHANGED);
    RFX_Date(pFX, L"[LASTCHANGED_UTC]", m_LASTCHANGED_UTC);
    RFX_Long(pFX, L"[SOURCE_ZYN_DBID]", m_SOURCE_ZYN_DBID);
    RFX_Long(pFX, L"[VISIT_EVENT_SIGN_IN_LOCATIONID]", m_VISIT_EVENT_SIGN_IN_LOCATIONID);
    RFX_Date(pFX, L"[SCHEDULED_TIMEOUT]", m_SCHEDULED_TIMEOUT);
    RFX_Date(pFX, L"[SCHEDULED_TIMEIN]", m_SCHEDULED_TIMEIN);
}

int VisitEventSet::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTime(L"SCHEDULED_TIMEOUT", cutoff, op, 0);
}

COleDateTime VisitEventSet::GetArchiveRecordTime()
{
    COleDateTime time;
    time.SetStatus(COleDateTime::null);
    if (!IsFieldNull(&m_SCHEDULED_TIMEOUT) && !ZynTimestampToOleDateTime(m_SCHEDULED_TIMEOUT, time))
        time.SetStatus(COleDateTime::invalid);
    return time;
}

void VisitEventSet::WriteArchiveRecord(CStdioFileUnicode& file)
{
    if (file.m_hFile == CFile::hFileNull)
        return;
    VisitEventArchiveRow row;
    row.visitEventId = m_VISIT_EVENTID;
    row.empId = IsFieldNull(&m_EMPID) ? 0 : m_EMPID;
    row.sourceZynDbId = IsFieldNull(&m_SOURCE_ZYN_DBID) ? 0 : m_SOURCE_ZYN_DBID;
    if (!IsFieldNull(&m_NAME))
        row.name = m_NAME;
    if (!IsFieldNull(&m_VISIT_EVENT_SIGN_IN_LOCATIONID))
        row.signInLocationId = m_VISIT_EVENT_SIGN_IN_LOCATIONID;
    row.scheduledTimeIn = TimeOf(*this, m_SCHEDULED_TIMEIN);
    row.scheduledTimeOut = TimeOf(*this, m_SCHEDULED_TIMEOUT);
    row.lastChangedUtc = TimeOf(*this, m_LASTCHANGED_UTC);

    zyn::archive::ArchiveLineWriter writer;
    zyn::archive::FormatVisitEventArchiveLine(row, writer);
    writer.WriteTo(file);
}

LONG VisitEventSet::RestoreArchiveRecords(CStdioFileUnicode& file, LONG, ZynArchiveProgressProc pfnProgress,
    void* pContext, LONG nInterval)
{
    zyn::archive::RowRestore<VisitEventArchiveRow> how;
    how.source = L"VisitEventSet";
    how.mappingTable = kRestoredTable;
    how.parse = &zyn::archive::ParseVisitEventArchiveLine;
    how.check = &zyn::archive::CheckVisitEventRow;
    how.limits = zyn::archive::TableColumnLimits(*this, {L"NAME"});
    how.keyColumns = zyn::archive::VisitEventKeyColumns();
    how.identify = &zyn::archive::VisitEventIdentity;
    how.store = [&](const VisitEventArchiveRow& row, const zyn::archive::IdMapper& map) {
            SetRestoredColumn(*this, m_VISIT_EVENTID, map(L"VISIT_EVENTID", row.visitEventId));
            SetRestoredColumn(*this, m_EMPID, map(L"EMPID", row.empId));
            SetRestoredColumn(*this, m_LAST_CHANGED, row.lastChanged);
            SetRestoredColumn(*this, m_SOURCE_ZYN_DBID, map(L"SOURCE_ZYN_DBID", row.sourceZynDbId));
            SetRestoredColumn(*this, m_NAME, row.name);
            if (row.signInLocationId)
                SetRestoredColumn(*this, m_VISIT_EVENT_SIGN_IN_LOCATIONID,
                    map(L"VISIT_EVENT_SIGN_IN_LOCATIONID", *row.signInLocationId));
            SetRestoredColumn(*this, m_SCHEDULED_TIMEIN, row.scheduledTimeIn);
            SetRestoredColumn(*this, m_SCHEDULED_TIMEOUT, row.scheduledTimeOut);
            SetRestoredColumn(*this, m_LASTCHANGED_UTC, row.lastChangedUtc);
        };
    zyn::archive::RestoreResult result;
    try {
        zyn::archive::RestoreRows(*this, file, pfnProgress, pContext, nInterval, how, result);
    } catch (...) {
        SetSkippedLineCount(result.skipped);
        SetDuplicateCount(result.duplicates);
        throw;
    }
    SetDuplicateCount(result.duplicates);
    SetSkippedLineCount(result.skipped);
    return result.rows;
}

std::unique_ptr<CSQLStatement> VisitEventSet::BuildPurgeStatement(const COleDateTime& cutoff, ParamCompOperator op)
{
    auto stmt = std::make_unique<CSQLStatement>(GetDatabase());
    for (LPCWSTR column : {L"VISIT_EVENTID", L"NAME", L"EMPID", L"LAST_CHANGED", L"LASTCHANGED_UTC",
             L"SOURCE_ZYN_DBID", L"VISIT_EVENT_SIGN_IN_LOCATIONID", L"SCHEDULED_TIMEOUT", L"SCHEDULED_TIMEIN"})
        stmt->AddToSelect(kLiveTable, column);

    // The visit events of open visits (not signed out) stay. The builder keeps NULLs out
    // of a NOT IN sub-select: one visit without a visit event would otherwise make the
    // condition unknown for every row, and nothing would ever be purged.
    CSQLStatement openVisits(GetDatabase());
    openVisits.AddToSelect(L"VISIT", L"VISIT_EVENTID");
    openVisits.AddToWhere(L"VISIT", L"TIMEOUT_UTC", CMultiFilterRecordset::IsNull, CSQLStatement::FilterAnd);
    stmt->AddWhereValuesInSubquery(kLiveTable, L"VISIT_EVENTID", openVisits, CSQLStatement::FilterAnd, FALSE);

    stmt->AddToWhere(kLiveTable, L"SCHEDULED_TIMEOUT", cutoff, op, CSQLStatement::FilterAnd, CSQLStatement::WhereDateTime);
    m_strPurgeCondition = stmt->FormatWhere();
    m_strPendingPurgeSQL = stmt->FormatSelect();
    m_nDeleted = 0;
    return stmt;
}

bool VisitEventSet::PreparePurgeSelection(const COleDateTime& cutoff)
{
    BuildPurgeStatement(cutoff, LessThan);
    return true;
}

int64_t VisitEventSet::CompletePurgeDeletes()
{
    return DeleteArchivedRows();
}

void VisitEventSet::Delete()
{
    if (!IsOpen() || IsEOF() || IsBOF())
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    if (IsFieldNull(&m_VISIT_EVENTID))
        AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS, L"The visit event has no key to delete it by.");
    m_archived.Note(m_VISIT_EVENTID);
    // A full batch is deleted at once (in the pass's transaction), so a pass over many
    // rows holds no more than a batch of keys.
    if (m_archived.Count() >= zyn::archive::ArchivedRowKeys::BatchSize)
        DeleteArchivedRows();
}

int64_t VisitEventSet::DeleteArchivedRows()
{
    if (m_archived.IsEmpty())
        return 0;
    CZynDatabase* db = GetDatabase();
    if (!db || !db->IsOpen())
        AfxThrowDBException(
            AFX_SQL_ERROR_CONNECT_FAIL, L"VisitEventSet: no open database to delete the archived visit events.");
    const CString table = m_strPurgeCondition.IsEmpty() ? GetTable() : CString(kLiveTable);
    const int64_t deleted = m_archived.DeleteFrom(*db, table, L"VISIT_EVENTID", m_strPurgeCondition);
    m_nDeleted += deleted;
    return deleted;
}
