#include "archive/visit_set.h"

#include <utility>

#include "archive/archive_restore_rows.h"
#include "archive/visit_archive_lines.h"
#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/stdiofile_unicode.h"

IMPLEMENT_DYNAMIC(CVisitSet, CZynArchiveSet)

using zyn::archive::OptionalTime;
using zyn::archive::SetRestoredColumn;
using zyn::archive::VisitArchiveRow;

namespace {

constexpr LPCWSTR kLiveTable = L"VISIT";
constexpr LPCWSTR kRestoredTable = L"VISIT_RESTORED";
constexpr LPCWSTR kRowKey = L"VISITROWID";

OptionalTime TimeOf(CRecordset& set, TIMESTAMP_STRUCT& member)
{
    if (set.IsFieldNull(&member))
        return std::nullopt;
    return member;
}

} // namespace

CVisitSet::CVisitSet(CZynDatabase* pDatabase, bool bRestored)
    : CZynArchiveSet(pDatabase, bRestored ? kRestoredTable : kLiveTable)
{
    m_nFields = 15;
}

CVisitSet::~CVisitSet() = default;

CString CVisitSet::GetDefaultConnect() { return L"ODBC;DSN=ORVAN"; }

bool CVisitSet::HasColumn(LPCWSTR lpszColumn, bool (*pfnTypeFits)(int16_t), bool& bKnown, bool& bHas)
{
    if (bKnown)
        return bHas;
    CZynDatabase* db = GetDatabase();
    if (!db || !db->IsOpen())
        return true; // asked again once there is a database
    const zyn::afx::DbColumnInfo* desc = FindColumnDesc(lpszColumn, GetTable());
    bHas = desc && pfnTypeFits(desc->sqlType);
    bKnown = true;
    return bHas;
}

// PURPOSE is wide text of any kind: the SQLite driver describes a VARCHAR(2000) as long
// text, PostgreSQL as variable-length text.
bool CVisitSet::HasPurposeColumn()
{
    return HasColumn(
        L"PURPOSE",
        [](int16_t type) { return type == SQL_WVARCHAR || type == SQL_WLONGVARCHAR || type == SQL_WCHAR; },
        m_bPurposeKnown, m_bHasPurpose);
}

// TYPE is a 32-bit (or smaller) integer.
bool CVisitSet::HasTypeColumn()
{
    return HasColumn(
        L"TYPE", [](int16_t type) { return type == SQL_INTEGER || type == SQL_SMALLINT; }, m_bTypeKnown, m_bHasType);
}

void CVisitSet::UpdateFieldCount()
{
    const UINT own = 13u + (HasPurposeColumn() ? 1u : 0u) + (HasTypeColumn() ? 1u : 0u);
    m_nFields = m_nFields + own - m_nOwnFields;
    m_nOwnFields = own;
}

BOOL CVisitSet::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    UpdateFieldCount();
    // The purge statement built last, for an Open without SQL (a generic pass).
    const CString pending = std::exchange(m_strPendingPurgeSQL, CString());
    if (!lpszSQL && !pending.IsEmpty())
        return CZynArchiveSet::Open(nOpenType, pending, dwOptions);
    return CZynArchiveSet::Open(nOpenType, lpszSQL, dwOptions);
}

void CVisitSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[VISITID]", m_VISITID);
    RFX_Long(pFX, L"[EMPID]", m_EMPID);
    RFX_Long(pFX, L"[VISITORID]", m_VISITORID);
    RFX_Date(pFX, L"[TIMEIN]", m_TIMEIN);
    RFX_Date(pFX, L"[TIMEOUT]", m_TIMEOUT);
    RFX_Date(pFX, L"[TIMEIN_UTC]", m_TIMEIN_UTC);
    RFX_Date(pFX, L"[TIMEOUT_UTC]", m_TIMEOUT_UTC);
    RFX_Date(pFX, L"[SCHEDULED_TIMEIN]", m_SCHEDULED_TIMEIN);
    RFX_Date(pFX, L"[SCHEDULED_TIMEOUT]", m_SCHEDULED_TIMEOUT);
    if (HasPurposeColumn())
        RFX_TextU(pFX, L"[PURPOSE]", m_PURPOSE, MaxPurposeLength, SQL_WVARCHAR, 0);
    RFX_Date(pFX, L"[LASTCHANGED]", m_LASTCHANGED);
    RFX_Date(pFX, L"[LASTCHANGED_UTC]", m_LASTCHANGED_UTC);
    if (HasTypeColumn())
        RFX_Long(pFX, L"[TYPE]", m_TYPE);
    RFX_Long(pFX, L"[VISIT_EVENTID]", m_VISIT_EVENTID);
    RFX_TextU(pFX, L"[VISIT_KEY]", m_VISIT_KEY, MaxVisitKeyLength, SQL_WVARCHAR, 0);
}

int CVisitSet::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTime(L"LASTCHANGED_UTC", cutoff, op, 0);
}

COleDateTime CVisitSet::GetArchiveRecordTime()
{
    COleDateTime time;
    time.SetStatus(COleDateTime::null);
    if (!IsFieldNull(&m_LASTCHANGED_UTC) && !ZynTimestampToOleDateTime(m_LASTCHANGED_UTC, time))
        time.SetStatus(COleDateTime::invalid);
    return time;
}

void CVisitSet::WriteArchiveRecord(CStdioFileUnicode& file)
{
    if (file.m_hFile == CFile::hFileNull)
        return;
    VisitArchiveRow row;
    row.visitId = m_VISITID;
    row.empId = IsFieldNull(&m_EMPID) ? 0 : m_EMPID;
    row.visitorId = IsFieldNull(&m_VISITORID) ? 0 : m_VISITORID;
    if (HasPurposeColumn() && !IsFieldNull(&m_PURPOSE))
        row.purpose = m_PURPOSE;
    if (HasTypeColumn() && !IsFieldNull(&m_TYPE))
        row.type = m_TYPE;
    row.scheduledTimeIn = TimeOf(*this, m_SCHEDULED_TIMEIN);
    row.scheduledTimeOut = TimeOf(*this, m_SCHEDULED_TIMEOUT);
    if (!IsFieldNull(&m_VISIT_EVENTID))
        row.visitEventId = m_VISIT_EVENTID;
    row.timeInUtc = TimeOf(*this, m_TIMEIN_UTC);
    row.timeOutUtc = TimeOf(*this, m_TIMEOUT_UTC);
    row.lastChangedUtc = TimeOf(*this, m_LASTCHANGED_UTC);
    if (!IsFieldNull(&m_VISIT_KEY))
        row.visitKey = m_VISIT_KEY;

    zyn::archive::ArchiveLineWriter writer;
    zyn::archive::FormatVisitArchiveLine(row, writer);
    writer.WriteTo(file);
}

LONG CVisitSet::RestoreArchiveRecords(CStdioFileUnicode& file, LONG, ZynArchiveProgressProc pfnProgress,
    void* pContext, LONG nInterval)
{
    // The restored table's PURPOSE size: longer texts (from a table with a wider column)
    // are cut to it, and the cut is logged.
    int nPurposeSize = 0;
    if (HasPurposeColumn()) {
        if (const zyn::afx::DbColumnInfo* desc = FindColumnDesc(L"PURPOSE", GetTable()))
            nPurposeSize = desc->columnSize;
    }

    zyn::archive::RowRestore<VisitArchiveRow> how;
    how.source = L"CVisitSet";
    how.mappingTable = kRestoredTable;
    how.parse = &zyn::archive::ParseVisitArchiveLine;
    how.check = &zyn::archive::CheckVisitRow;
    how.limits = zyn::archive::TableColumnLimits(*this, {L"VISIT_KEY"});
    how.keyColumns = zyn::archive::VisitKeyColumns();
    how.identify = &zyn::archive::VisitIdentity;
    how.store = [&](const VisitArchiveRow& row, const zyn::archive::IdMapper& map) {
            const LONG visitId = map(L"VISITID", row.visitId);
            SetRestoredColumn(*this, m_VISITID, visitId);
            SetRestoredColumn(*this, m_EMPID, map(L"EMPID", row.empId));
            SetRestoredColumn(*this, m_VISITORID, map(L"VISITORID", row.visitorId));
            if (HasTypeColumn())
                SetRestoredColumn(*this, m_TYPE, map(L"TYPE", row.type));
            if (row.visitEventId)
                SetRestoredColumn(*this, m_VISIT_EVENTID, map(L"VISIT_EVENTID", *row.visitEventId));
            SetRestoredColumn(*this, m_TIMEIN, row.timeIn);
            SetRestoredColumn(*this, m_TIMEOUT, row.timeOut);
            SetRestoredColumn(*this, m_LASTCHANGED, row.lastChanged);
            SetRestoredColumn(*this, m_SCHEDULED_TIMEIN, row.scheduledTimeIn);
            SetRestoredColumn(*this, m_SCHEDULED_TIMEOUT, row.scheduledTimeOut);
            SetRestoredColumn(*this, m_TIMEIN_UTC, row.timeInUtc);
            SetRestoredColumn(*this, m_TIMEOUT_UTC, row.timeOutUtc);
            SetRestoredColumn(*this, m_LASTCHANGED_UTC, row.lastChangedUtc);
            if (row.purpose && HasPurposeColumn()) {
                CString purpose = *row.purpose;
                if (nPurposeSize > 0 && purpose.GetLength() > nPurposeSize) {
                    purpose = purpose.Left(nPurposeSize);
                    CString message;
                    message.Format(L"Visit Restore - Trimmed %s for Visit %ld.", L"PURPOSE", visitId);
                    CLogger::LogDebug(CLogger::ErrorLogName, message.GetString());
                }
                SetRestoredColumn(*this, m_PURPOSE, purpose);
            }
            SetRestoredColumn(*this, m_VISIT_KEY, row.visitKey);
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

void CVisitSet::PrepareForPurge()
{
    if (!m_bRowKeyAdded && AddColumnToSet(kRowKey, nullptr, TRUE, nullptr))
        m_bRowKeyAdded = true;
}

bool CVisitSet::PreparePurgeSelection(const COleDateTime& /*cutoff*/)
{
    PrepareForPurge();
    BuildPurgeStatement();
    return true;
}

int64_t CVisitSet::CompletePurgeDeletes()
{
    return DeleteArchivedRows();
}

std::unique_ptr<CSQLStatement> CVisitSet::BuildPurgeStatement()
{
    auto stmt = std::make_unique<CSQLStatement>(GetDatabase());
    // The select list is the set's binding order (the record set binds by position).
    for (LPCWSTR column : {L"VISITID", L"EMPID", L"VISITORID", L"TIMEIN", L"TIMEOUT", L"TIMEIN_UTC", L"TIMEOUT_UTC",
             L"SCHEDULED_TIMEIN", L"SCHEDULED_TIMEOUT"})
        stmt->AddToSelect(kLiveTable, column);
    if (HasPurposeColumn())
        stmt->AddToSelect(kLiveTable, L"PURPOSE");
    stmt->AddToSelect(kLiveTable, L"LASTCHANGED");
    stmt->AddToSelect(kLiveTable, L"LASTCHANGED_UTC");
    if (HasTypeColumn())
        stmt->AddToSelect(kLiveTable, L"TYPE");
    stmt->AddToSelect(kLiveTable, L"VISIT_EVENTID");
    stmt->AddToSelect(kLiveTable, L"VISIT_KEY");
    if (m_bRowKeyAdded)
        stmt->AddToSelect(kLiveTable, kRowKey);

    CSQLStatement events(GetDatabase());
    events.AddToSelect(L"VISIT_EVENT", L"VISIT_EVENTID");
    // NOT IN over the visit events (the builder keeps NULLs out of the sub-select). A
    // visit without a visit event is not the pass's to purge: NOT IN would keep it
    // while VISIT_EVENT has rows and purge it once the table is empty.
    stmt->AddWhereValuesInSubquery(kLiveTable, L"VISIT_EVENTID", events, CSQLStatement::FilterAnd, FALSE);
    stmt->AddToWhere(kLiveTable, L"VISIT_EVENTID", CMultiFilterRecordset::IsNotNull, CSQLStatement::FilterAnd);
    m_strPurgeCondition = stmt->FormatWhere();
    m_strPendingPurgeSQL = stmt->FormatSelect();
    m_nDeleted = 0;
    return stmt;
}

bool CVisitSet::CurrentRowKey(int64_t& key)
{
    if (m_bRowKeyAdded) {
        CDBVariant value;
        if (!GetAddedColumnValue(kRowKey, value) || value.m_dwType == DBVT_NULL)
            return false;
        key = value.m_dwType == DBVT_LONG ? value.m_lVal : value.m_llVal;
        return true;
    }
    if (IsFieldNull(&m_VISITID))
        return false;
    key = m_VISITID;
    return true;
}

void CVisitSet::Delete()
{
    if (!IsOpen() || IsEOF() || IsBOF())
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    int64_t key = 0;
    if (!CurrentRowKey(key))
        AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS, L"The visit has no key to delete it by.");
    m_archived.Note(key);
    // A full batch is deleted at once (in the pass's transaction), so a pass over many
    // rows holds no more than a batch of keys.
    if (m_archived.Count() >= zyn::archive::ArchivedRowKeys::BatchSize)
        DeleteArchivedRows();
}

int64_t CVisitSet::DeleteArchivedRows()
{
    CZynDatabase* db = GetDatabase();
    if (m_archived.IsEmpty())
        return 0;
    if (!db || !db->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"CVisitSet: no open database to delete the archived visits.");
    // The noted rows came from the purge statement's table when one was built.
    const CString table = m_strPurgeCondition.IsEmpty() ? GetTable() : CString(kLiveTable);
    const int64_t deleted =
        m_archived.DeleteFrom(*db, table, m_bRowKeyAdded ? kRowKey : L"VISITID", m_strPurgeCondition);
    m_nDeleted += deleted;
    return deleted;
}

CString CVisitSet::FormatVisitorEventDelete(LONG visitorId)
{
    CString sql;
    sql.Format(L"DELETE FROM %s WHERE %s IN (SELECT %s.%s FROM %s WHERE %s.%s = %ld AND NOT EXISTS (SELECT "
               L"innerVisit.%s FROM %s innerVisit where innerVisit.%s = %s.%s AND innerVisit.%s <> %s.%s))",
        L"VISIT_EVENT", L"VISIT_EVENTID", L"VISIT", L"VISIT_EVENTID", L"VISIT", L"VISIT", L"VISITORID", visitorId,
        L"VISITID", L"VISIT", L"VISIT_EVENTID", L"VISIT", L"VISIT_EVENTID", L"VISITID", L"VISIT", L"VISITID");
    return sql;
}
