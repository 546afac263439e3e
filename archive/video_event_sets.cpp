#include "archive/video_event_sets.h"

#include <span>
#include <vector>

#include "archive/archive_restore_rows.h"
#include "archive/video_archive_lines.h"
#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/stdiofile_unicode.h"

IMPLEMENT_DYNAMIC(CVideoEventArchiveSet, CZynArchiveSet)
IMPLEMENT_DYNAMIC(CVideoEventEventTypeArchiveSet, CVideoEventArchiveSet)

using zyn::archive::SetRestoredColumn;
using zyn::archive::VideoEventArchiveRow;

namespace {

constexpr LPCWSTR kLiveTable = L"EVENTS_VIDEO";
constexpr LPCWSTR kRestoredTable = L"EVENTS_VIDEO_RESTORED";
constexpr LPCWSTR kRowKey = L"EVENTVIDEOROWID";
constexpr LPCWSTR kColumns[10] = {L"SERIALNUM", L"MACHINE", L"VIDEOSERVERID", L"CAMERAID", L"STARTTIME", L"ENDTIME",
    L"START_TIME_UTC", L"END_TIME_UTC", L"ARCHIVELOCATIONID", L"ARCHIVEFILE"};

std::optional<TIMESTAMP_STRUCT> TimeOf(CRecordset& set, TIMESTAMP_STRUCT& member)
{
    if (set.IsFieldNull(&member))
        return std::nullopt;
    return member;
}

} // namespace

// --- CVideoEventArchiveSet ------------------------------------------------------------

CVideoEventArchiveSet::CVideoEventArchiveSet(CZynDatabase* pDatabase, bool bRestored)
    : CZynArchiveSet(pDatabase, bRestored ? kRestoredTable : kLiveTable), m_bRestored(bRestored)
{
    m_nFields = 10;
    for (int i = 0; i < 10; ++i)
        m_strBoundNames[i] = Qualified(kColumns[i]);
}

CVideoEventArchiveSet::~CVideoEventArchiveSet() = default;

CString CVideoEventArchiveSet::Qualified(LPCWSTR lpszColumn) const
{
    CString name;
    name.Format(L"[%s].[%s]", m_bRestored ? kRestoredTable : kLiveTable, lpszColumn);
    return name;
}

CString CVideoEventArchiveSet::GetDefaultConnect() { return L"ODBC;DSN=ORVAN"; }

void CVideoEventArchiveSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, m_strBoundNames[0], m_SERIALNUM);
    RFX_Long(pFX, m_strBoundNames[1], m_MACHINE);
    RFX_Long(pFX, m_strBoundNames[2], m_VIDEOSERVERID);
    RFX_Long(pFX, m_strBoundNames[3], m_CAMERAID);
    RFX_Date(pFX, m_strBoundNames[4], m_STARTTIME);
    RFX_Date(pFX, m_strBoundNames[5], m_ENDTIME);
    RFX_Date(pFX, m_strBoundNames[6], m_START_TIME_UTC);
    RFX_Date(pFX, m_strBoundNames[7], m_END_TIME_UTC);
    RFX_Long(pFX, m_strBoundNames[8], m_ARCHIVELOCATIONID);
    RFX_TextU(pFX, m_strBoundNames[9], m_ARCHIVEFILE, MaxArchiveFileLength, SQL_WVARCHAR, 0);
}

int CVideoEventArchiveSet::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTime(L"START_TIME_UTC", cutoff, op, 0);
}

COleDateTime CVideoEventArchiveSet::GetArchiveRecordTime()
{
    COleDateTime time;
    if (IsFieldNull(&m_START_TIME_UTC) || !ZynTimestampToOleDateTime(m_START_TIME_UTC, time))
        time.SetStatus(COleDateTime::invalid);
    return time;
}

void CVideoEventArchiveSet::WriteArchiveRecord(CStdioFileUnicode& file)
{
    if (file.m_hFile == CFile::hFileNull)
        return;
    VideoEventArchiveRow row;
    row.serialNum = IsFieldNull(&m_SERIALNUM) ? 0 : m_SERIALNUM;
    row.machine = IsFieldNull(&m_MACHINE) ? 0 : m_MACHINE;
    row.videoServerId = IsFieldNull(&m_VIDEOSERVERID) ? 0 : m_VIDEOSERVERID;
    row.cameraId = IsFieldNull(&m_CAMERAID) ? 0 : m_CAMERAID;
    row.archiveLocationId = IsFieldNull(&m_ARCHIVELOCATIONID) ? 0 : m_ARCHIVELOCATIONID;
    if (!IsFieldNull(&m_ARCHIVEFILE))
        row.archiveFile = m_ARCHIVEFILE;
    row.startTimeUtc = TimeOf(*this, m_START_TIME_UTC);
    row.endTimeUtc = TimeOf(*this, m_END_TIME_UTC);

    zyn::archive::ArchiveLineWriter writer;
    zyn::archive::FormatVideoEventArchiveLine(row, writer);
    writer.WriteTo(file);
}

LONG CVideoEventArchiveSet::RestoreArchiveRecords(CStdioFileUnicode& file, LONG, ZynArchiveProgressProc pfnProgress,
    void* pContext, LONG nInterval)
{
    zyn::archive::RowRestore<VideoEventArchiveRow> how;
    how.source = L"CVideoEventArchiveSet";
    how.mappingTable = kRestoredTable;
    how.parse = &zyn::archive::ParseVideoEventArchiveLine;
    how.check = &zyn::archive::CheckVideoEventRow;
    how.limits = zyn::archive::TableColumnLimits(*this, {L"ARCHIVEFILE"});
    how.keyColumns = zyn::archive::VideoEventKeyColumns();
    how.identify = &zyn::archive::VideoEventIdentity;
    how.store = [&](const VideoEventArchiveRow& row, const zyn::archive::IdMapper& map) {
            SetRestoredColumn(*this, m_SERIALNUM, row.serialNum);
            SetRestoredColumn(*this, m_MACHINE, map(L"MACHINE", row.machine));
            SetRestoredColumn(*this, m_VIDEOSERVERID, map(L"VIDEOSERVERID", row.videoServerId));
            SetRestoredColumn(*this, m_CAMERAID, map(L"CAMERAID", row.cameraId));
            SetRestoredColumn(*this, m_STARTTIME, row.startTime);
            SetRestoredColumn(*this, m_ENDTIME, row.endTime);
            SetRestoredColumn(*this, m_ARCHIVELOCATIONID, map(L"ARCHIVELOCATIONID", row.archiveLocationId));
            SetRestoredColumn(*this, m_ARCHIVEFILE, row.archiveFile);
            SetRestoredColumn(*this, m_START_TIME_UTC, row.startTimeUtc);
            SetRestoredColumn(*this, m_END_TIME_UTC, row.endTimeUtc);
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

void CVideoEventArchiveSet::PrepareForPurge()
{
    AddColumnToSet(kRowKey, nullptr, TRUE, nullptr);
}

// --- CVideoEventEventTypeArchiveSet ------------------------------------------------------

CVideoEventEventTypeArchiveSet::CVideoEventEventTypeArchiveSet(CZynDatabase* pDatabase, bool bRestored)
    : CVideoEventArchiveSet(pDatabase, bRestored)
{
    m_nFields = bRestored ? 10 : 13;
}

CVideoEventEventTypeArchiveSet::~CVideoEventEventTypeArchiveSet() = default;

CString CVideoEventEventTypeArchiveSet::GetDefaultConnect() { return L"ODBC;DSN=Orvan;"; }

CString CVideoEventEventTypeArchiveSet::GetDefaultSQL()
{
    if (IsRestored())
        return CVideoEventArchiveSet::GetDefaultSQL();
    return L"[EVENTS_VIDEO], [EVENTS]";
}

void CVideoEventEventTypeArchiveSet::DoFieldExchange(CFieldExchange* pFX)
{
    CVideoEventArchiveSet::DoFieldExchange(pFX);
    if (IsRestored())
        return; // the restored table is read alone
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Int(pFX, L"[EVENTS].[EVENTTYPE]", m_EVENTS_EVENTTYPE);
    RFX_Long(pFX, L"[EVENTS].[SERIALNUM]", m_EVENTS_SERIALNUM);
    RFX_Int(pFX, L"[EVENTS].[MACHINE]", m_EVENTS_MACHINE);
}

BOOL CVideoEventEventTypeArchiveSet::Open(UINT, LPCWSTR lpszSQL, DWORD dwOptions)
{
    if (dwOptions == none && !IsRestored())
        dwOptions = readOnly;
    return CVideoEventArchiveSet::Open(snapshot, lpszSQL, dwOptions);
}

void CVideoEventEventTypeArchiveSet::Delete()
{
    if (!IsOpen() || IsEOF() || IsBOF())
        AfxThrowDBException(AFX_SQL_ERROR_NO_CURRENT_RECORD);
    CDBVariant key;
    if (!GetAddedColumnValue(kRowKey, key) || key.m_dwType == DBVT_NULL)
        AfxThrowDBException(AFX_SQL_ERROR_NO_KEY_COLUMNS,
            L"The event-video join set deletes by EVENTVIDEOROWID; call PrepareForPurge before Open.");
    const int64_t id = key.m_dwType == DBVT_LONG ? key.m_lVal : key.m_llVal;
    CZynDatabase* db = GetDatabase();
    if (!db || !db->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"The event-video join set has no open database.");
    CString sql;
    sql.Format(L"DELETE FROM %s WHERE %s = ?", GetTable().GetString(), kRowKey);
    const std::vector<zyn::afx::DbValue> params{zyn::afx::DbValue(id)};
    if (db->ExecuteSQL(sql.GetString(), std::span<const zyn::afx::DbValue>(params)) == 0)
        AfxThrowDBException(AFX_SQL_ERROR_NO_ROWS_AFFECTED, L"The clip was deleted by another client.");
}

int CVideoEventEventTypeArchiveSet::AddEventTypeFilter(int nValue, ParamCompOperator op)
{
    return AddFilterInt(L"EVENTS.EVENTTYPE", nValue, op, 0);
}

void CVideoEventEventTypeArchiveSet::AddJoinCondition()
{
    if (!m_strFilter.IsEmpty())
        m_strFilter += L" AND ";
    m_strFilter += L"EVENTS_VIDEO.SERIALNUM=EVENTS.SERIALNUM AND EVENTS_VIDEO.MACHINE=EVENTS.MACHINE";
}
