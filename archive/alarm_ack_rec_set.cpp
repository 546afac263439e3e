#include "archive/alarm_ack_rec_set.h"

#include <optional>

#include "archive/alarm_ack_archive_line.h"
#include "archive/alarm_ack_history_set.h"
#include "archive/archive_line.h"
#include "archive/archive_restore_rows.h"
#include "archive/restore_loops.h"
#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/ctime.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/transaction_scope.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/stdiofile_unicode.h"

using namespace zyn::archive;

IMPLEMENT_DYNAMIC(LAcsAlarmAckRecSet, CZynArchiveSet)

namespace {

constexpr const wchar_t* kSource = L"AlarmAckRecSet";
constexpr const wchar_t* kRestoredTable = L"ALARMSACK_RESTORED";
// History rows deleted by ID per statement.
constexpr size_t kIdsPerDelete = 500;

bool InTimeRange(const TIMESTAMP_STRUCT& value)
{
    CTime check;
    return ZynTimestampToTime(value, check);
}

} // namespace

LAcsAlarmAckRecSet::LAcsAlarmAckRecSet(CZynDatabase* pDatabase, bool bRestored)
    : LAcsAlarmAckRecSet(pDatabase, bRestored, bRestored ? L"ALARMSACK_RESTORED" : L"ALARMSACK")
{
}

LAcsAlarmAckRecSet::LAcsAlarmAckRecSet(CZynDatabase* pDatabase, bool bRestored, LPCWSTR lpszDeleteTable)
    : CZynArchiveSet(pDatabase, bRestored ? L"ALARMSACK_RESTORED" : L"ALARMSACK"), m_bRestored(bRestored),
      m_strDeleteTable(lpszDeleteTable)
{
    m_nFields = 17;
}

LAcsAlarmAckRecSet::~LAcsAlarmAckRecSet() = default;

CString LAcsAlarmAckRecSet::GetDefaultConnect()
{
    return L"ODBC;DSN=ORVAN;";
}

CString LAcsAlarmAckRecSet::GetDefaultSQL()
{
    return m_bRestored ? L"[ALARMSACK_RESTORED]" : L"[ALARMSACK]";
}

CString LAcsAlarmAckRecSet::Column(LPCWSTR lpszName) const
{
    CString name;
    name.Format(L"[%s].[%s]", GetTable().GetString(), lpszName);
    return name;
}

void LAcsAlarmAckRecSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    // The names must outlive the exchange: the record set keeps the pointers.
    static const CString kLive[] = {L"[ALARMSACK].[USERID]", L"[ALARMSACK].[ACKNOTE]", L"[ALARMSACK].[STATUS]",
        L"[ALARMSACK].[SALARMID]", L"[ALARMSACK].[SPANELID]", L"[ALARMSACK].[SSERIALNUM]", L"[ALARMSACK].[LPANELID]",
        L"[ALARMSACK].[LSERIALNUM]", L"[ALARMSACK].[ACKTIME]", L"[ALARMSACK].[IN_PROGRESS_USERID]",
        L"[ALARMSACK].[IN_PROGRESS_ACKTIME]", L"[ALARMSACK].[FORWARDED_USERID]", L"[ALARMSACK].[SOURCE_STATION]",
        L"[ALARMSACK].[DESTINATION_STATION]", L"[ALARMSACK].[ACK_TIME_UTC]",
        L"[ALARMSACK].[IN_PROGRESS_ACKTIME_UTC]", L"[ALARMSACK].[FORWARDED_TIME_UTC]"};
    static const CString kRestored[] = {L"[ALARMSACK_RESTORED].[USERID]", L"[ALARMSACK_RESTORED].[ACKNOTE]",
        L"[ALARMSACK_RESTORED].[STATUS]", L"[ALARMSACK_RESTORED].[SALARMID]", L"[ALARMSACK_RESTORED].[SPANELID]",
        L"[ALARMSACK_RESTORED].[SSERIALNUM]", L"[ALARMSACK_RESTORED].[LPANELID]",
        L"[ALARMSACK_RESTORED].[LSERIALNUM]", L"[ALARMSACK_RESTORED].[ACKTIME]",
        L"[ALARMSACK_RESTORED].[IN_PROGRESS_USERID]", L"[ALARMSACK_RESTORED].[IN_PROGRESS_ACKTIME]",
        L"[ALARMSACK_RESTORED].[FORWARDED_USERID]", L"[ALARMSACK_RESTORED].[SOURCE_STATION]",
        L"[ALARMSACK_RESTORED].[DESTINATION_STATION]", L"[ALARMSACK_RESTORED].[ACK_TIME_UTC]",
        L"[ALARMSACK_RESTORED].[IN_PROGRESS_ACKTIME_UTC]", L"[ALARMSACK_RESTORED].[FORWARDED_TIME_UTC]"};
    const CString* n = m_bRestored ? kRestored : kLive;
    RFX_Long(pFX, n[0].GetString(), m_USERID);
    RFX_TextU(pFX, n[1].GetString(), m_ACKNOTE, 32000);
    RFX_Long(pFX, n[2].GetString(), m_STATUS);
    RFX_Long(pFX, n[3].GetString(), m_SALARMID);
    RFX_Long(pFX, n[4].GetString(), m_SPANELID);
    RFX_Long(pFX, n[5].GetString(), m_SSERIALNUM);
    RFX_Long(pFX, n[6].GetString(), m_LPANELID);
    RFX_Long(pFX, n[7].GetString(), m_LSERIALNUM);
    RFX_Date(pFX, n[8].GetString(), m_ACKTIME);
    RFX_Long(pFX, n[9].GetString(), m_IN_PROGRESS_USERID);
    RFX_Date(pFX, n[10].GetString(), m_IN_PROGRESS_ACKTIME);
    RFX_Long(pFX, n[11].GetString(), m_FORWARDED_USERID);
    RFX_Long(pFX, n[12].GetString(), m_SOURCE_STATION);
    RFX_Long(pFX, n[13].GetString(), m_DESTINATION_STATION);
    RFX_Date(pFX, n[14].GetString(), m_ACK_TIME_UTC);
    RFX_Date(pFX, n[15].GetString(), m_IN_PROGRESS_ACKTIME_UTC);
    RFX_Date(pFX, n[16].GetString(), m_FORWARDED_TIME_UTC);
    if (m_bParamsInFieldExchange)
        DoParamExchange(pFX);
}

CString LAcsAlarmAckRecSet::GetKeyColumns()
{
    return Column(L"SPANELID") + L", " + Column(L"SSERIALNUM");
}

CString LAcsAlarmAckRecSet::GetHistoryTable() const
{
    return m_bRestored ? L"ALARM_ACK_HISTORY_RESTORED" : L"ALARM_ACK_HISTORY";
}

bool LAcsAlarmAckRecSet::IsNull(const void* member) const
{
    return IsOpen() && IsFieldNull(member) != FALSE;
}

// --- archive hooks --------------------------------------------------------------

int LAcsAlarmAckRecSet::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTime(Column(L"ACK_TIME_UTC").GetString(), cutoff, op);
}

COleDateTime LAcsAlarmAckRecSet::GetArchiveRecordTime()
{
    COleDateTime time;
    time.SetStatus(COleDateTime::null);
    if (!IsNull(&m_ACK_TIME_UTC))
        ZynTimestampToOleDateTime(m_ACK_TIME_UTC, time);
    return time;
}

void LAcsAlarmAckRecSet::GetArchiveRow(AlarmAckArchiveRow& row) const
{
    auto value = [&](const LONG& m) { return IsNull(&m) ? 0 : m; };
    auto time = [&](const TIMESTAMP_STRUCT& m) -> std::optional<TIMESTAMP_STRUCT> {
        if (IsNull(&m) || (m.year == 0 && m.month == 0 && m.day == 0))
            return std::nullopt;
        return m;
    };
    row = AlarmAckArchiveRow();
    row.userId = value(m_USERID);
    row.status = value(m_STATUS);
    row.alarmId = value(m_SALARMID);
    row.panelId = m_SPANELID;
    row.serialNum = m_SSERIALNUM;
    row.linkedPanelId = value(m_LPANELID);
    row.linkedSerialNum = value(m_LSERIALNUM);
    row.note = m_ACKNOTE;
    row.inProgressUserId = value(m_IN_PROGRESS_USERID);
    row.ackTimeUtc = time(m_ACK_TIME_UTC);
    row.inProgressAckTimeUtc = time(m_IN_PROGRESS_ACKTIME_UTC);
    row.forwardedTimeUtc = time(m_FORWARDED_TIME_UTC);
}

void LAcsAlarmAckRecSet::WriteArchiveRecord(CStdioFileUnicode& file)
{
    m_bWritten = false;
    m_writtenHistoryIds.clear();

    AlarmAckArchiveRow row;
    GetArchiveRow(row);
    ArchiveLineWriter writer;
    FormatAlarmAckArchiveLine(row, writer);

    // Read the history first, so a failure leaves nothing half written.
    std::vector<CString> lines;
    std::vector<LONG> ids;
    {
        CAlarmAckHistorySet history(GetDatabase(), m_bRestored);
        history.AddFilterLong(L"PANELID", m_SPANELID);
        history.AddFilterLong(L"SERIALNUM", m_SSERIALNUM);
        history.m_strSort = L"ALARM_ACK_HISTORYID";
        history.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
        for (; !history.IsEOF(); history.MoveNext()) {
            AlarmAckHistoryArchiveRow h;
            h.userId = history.IsFieldNull(&history.m_USERID) ? 0 : history.m_USERID;
            if (!history.IsFieldNull(&history.m_ACKTIME_UTC))
                h.ackTimeUtc = history.m_ACKTIME_UTC;
            h.ackStatus = history.IsFieldNull(&history.m_ACKSTATUS) ? 0 : history.m_ACKSTATUS;
            h.note = history.m_ACKNOTE;
            ArchiveLineWriter w;
            FormatAlarmAckHistoryArchiveLine(h, w);
            lines.push_back(w.Line());
            ids.push_back(history.m_ALARM_ACK_HISTORYID);
        }
        history.Close();
    }

    writer.WriteTo(file);
    for (const CString& line : lines)
        file.WriteString(line.GetString());
    m_bWritten = true;
    m_nWrittenPanel = m_SPANELID;
    m_nWrittenSerial = m_SSERIALNUM;
    m_writtenHistoryIds = std::move(ids);
}

std::vector<CString> LAcsAlarmAckRecSet::FormatDeleteStatements() const
{
    std::vector<CString> statements;
    CString sql;
    sql.FormatMessage(L"DELETE FROM %1 WHERE SPANELID = %2!d! AND SSERIALNUM = %3!d!", m_strDeleteTable.GetString(),
        static_cast<int>(m_SPANELID), static_cast<int>(m_SSERIALNUM));
    statements.push_back(sql);

    const CString history = m_strDeleteTable.CompareNoCase(L"ALARMSACK_RESTORED") == 0 ? L"ALARM_ACK_HISTORY_RESTORED"
                                                                                         : L"ALARM_ACK_HISTORY";
    const bool byIds = m_bWritten && m_nWrittenPanel == m_SPANELID && m_nWrittenSerial == m_SSERIALNUM &&
                       history == GetHistoryTable();
    if (!byIds) {
        sql.Format(L"DELETE FROM %s WHERE PANELID = %d AND SERIALNUM = %d", history.GetString(),
            static_cast<int>(m_SPANELID), static_cast<int>(m_SSERIALNUM));
        statements.push_back(sql);
        return statements;
    }
    for (size_t i = 0; i < m_writtenHistoryIds.size(); i += kIdsPerDelete) {
        sql.Format(L"DELETE FROM %s WHERE ALARM_ACK_HISTORYID IN (", history.GetString());
        for (size_t k = i; k < m_writtenHistoryIds.size() && k < i + kIdsPerDelete; ++k)
            sql.AppendFormat(k == i ? L"%d" : L", %d", static_cast<int>(m_writtenHistoryIds[k]));
        sql += L")";
        statements.push_back(sql);
    }
    return statements;
}

void LAcsAlarmAckRecSet::Delete()
{
    CZynDatabase* db = GetDatabase();
    if (!db)
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"The acknowledgement set has no database.");
    const std::vector<CString> statements = FormatDeleteStatements();
    // The acknowledgement's statement comes first; when it found no row, another client
    // deleted the acknowledgement after it was read. Its history rows written with it
    // are deleted all the same, and the caller hears that the row was gone.
    bool gone = false;
    auto run = [&] {
        for (size_t i = 0; i < statements.size(); ++i) {
            db->ExecuteSQL(statements[i].GetString(), false);
            if (i == 0 && db->GetRowsAffected() == 0)
                gone = true;
        }
    };
    if (db->IsOpen() && db->CanTransact()) {
        zyn::db::TransactionScope scope(*db);
        run();
        scope.Commit();
    } else {
        run();
    }
    m_bWritten = false;
    m_writtenHistoryIds.clear();
    if (gone)
        AfxThrowDBException(AFX_SQL_ERROR_NO_ROWS_AFFECTED, L"The acknowledgement was deleted by another client.");
}

// --- restore ----------------------------------------------------------------------

void LAcsAlarmAckRecSet::RestoreHistoryFor(const AlarmAckArchiveRow& ack, CAlarmAckHistorySet& history)
{
    history.m_PANELID = ack.panelId;
    history.m_SERIALNUM = ack.serialNum;
    if (ack.inProgressUserId != 0) {
        history.m_USERID = ack.inProgressUserId;
        history.m_ACKTIME_UTC = ack.inProgressAckTimeUtc.value_or(TIMESTAMP_STRUCT{});
        history.m_ACKSTATUS = StatusInProgress;
        history.m_ACKNOTE = ack.status == StatusInProgress ? ack.note : CString();
        history.InsertHistory();
    }
    if (ack.userId != 0) {
        history.m_USERID = ack.userId;
        history.m_ACKTIME_UTC = ack.ackTimeUtc.value_or(TIMESTAMP_STRUCT{});
        history.m_ACKSTATUS = ack.status;
        history.m_ACKNOTE = ack.note;
        history.InsertHistory();
    }
}

LONG LAcsAlarmAckRecSet::RestoreArchiveRecords(CStdioFileUnicode& file, LONG /*nReserved*/,
    ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval)
{
    ArchiveRestoreRun run(kSource, pfnProgress, pContext, nInterval);
    SetSkippedLineCount(0);
    SetDuplicateCount(0);
    CZynDatabase* db = GetDatabase();
    if (!db || !db->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"A restore needs an open database.");
    const ColumnLimits limits = TableColumnLimits(*this, {L"ACKNOTE"});
    OpenForRestore(*this, true);
    CAlarmAckHistorySet history(db, true);
    RestoreIdMapping mapping(*this, kRestoredTable);
    const IdMapper map = mapping.Mapper();

    // One history row of an acknowledgement as archived.
    auto insertHistory = [&](const AlarmAckArchiveRow& ack, const AlarmAckHistoryArchiveRow& hist) {
        history.m_PANELID = map(L"SPANELID", ack.panelId);
        history.m_SERIALNUM = map(L"SSERIALNUM", ack.serialNum);
        history.m_USERID = map(L"USERID", hist.userId);
        history.m_ACKTIME_UTC = hist.ackTimeUtc.value_or(TIMESTAMP_STRUCT{});
        history.m_extraTime = hist.extraTime.value_or(TIMESTAMP_STRUCT{});
        history.m_ACKSTATUS = hist.ackStatus;
        history.m_ACKNOTE = hist.note;
        history.InsertHistory();
    };
    auto insertEntry = [&](const AlarmAckEntry& entry, LONG line, RowInserter& inserter) {
        AlarmAckArchiveRow ack = entry.ack;
        ack.userId = map(L"USERID", ack.userId);
        ack.alarmId = map(L"SALARMID", ack.alarmId);
        ack.panelId = map(L"SPANELID", ack.panelId);
        ack.serialNum = map(L"SSERIALNUM", ack.serialNum);
        ack.linkedPanelId = map(L"LPANELID", ack.linkedPanelId);
        ack.linkedSerialNum = map(L"LSERIALNUM", ack.linkedSerialNum);
        if (ack.inProgressUserId != 0)
            ack.inProgressUserId = map(L"IN_PROGRESS_USERID", ack.inProgressUserId);
        const bool inserted = inserter.Try(line, [&] {
            InsertRow(*this, [&] {
                StoreColumn(*this, m_USERID, ack.userId);
                StoreColumn(*this, m_STATUS, ack.status);
                StoreColumn(*this, m_SALARMID, ack.alarmId);
                StoreColumn(*this, m_SPANELID, ack.panelId);
                StoreColumn(*this, m_SSERIALNUM, ack.serialNum);
                StoreColumn(*this, m_LPANELID, ack.linkedPanelId);
                StoreColumn(*this, m_LSERIALNUM, ack.linkedSerialNum);
                if (ack.ackTime)
                    StoreColumn(*this, m_ACKTIME, *ack.ackTime);
                StoreColumn(*this, m_ACKNOTE, ack.note);
                if (ack.inProgressUserId != 0) {
                    StoreColumn(*this, m_IN_PROGRESS_USERID, ack.inProgressUserId);
                    if (ack.inProgressAckTime)
                        StoreColumn(*this, m_IN_PROGRESS_ACKTIME, *ack.inProgressAckTime);
                }
                if (ack.ackTimeUtc)
                    StoreColumn(*this, m_ACK_TIME_UTC, *ack.ackTimeUtc);
                if (ack.inProgressAckTimeUtc)
                    StoreColumn(*this, m_IN_PROGRESS_ACKTIME_UTC, *ack.inProgressAckTimeUtc);
                if (ack.forwardedTimeUtc)
                    StoreColumn(*this, m_FORWARDED_TIME_UTC, *ack.forwardedTimeUtc);
            });
        });
        if (!inserted)
            return false;
        // An acknowledgement archived without history lines gets the rows its own
        // columns tell of.
        if (entry.history.empty())
            inserter.Try(line, [&] { RestoreHistoryFor(ack, history); });
        for (const AlarmAckEntry::History& h : entry.history)
            inserter.Try(h.line, [&] { insertHistory(entry.ack, h.row); });
        return true;
    };

    DatabaseRestoreTarget target(*db, GetTable(), AlarmAckKeyColumns());
    RestoreBatch<AlarmAckEntry> batch(
        run, target, [&](const AlarmAckEntry& entry) { return AlarmAckIdentity(entry.ack, map); }, insertEntry);
    try {
        RestoreAlarmAckLines(file, run, limits, batch, insertHistory);
    } catch (...) {
        // The rows inserted so far stay; the failure goes to the caller.
        batch.Abandon();
        run.Finish();
        SetSkippedLineCount(run.Skipped());
        SetDuplicateCount(run.Duplicates());
        CloseAfterFailure(*this);
        throw;
    }
    run.Finish();
    SetSkippedLineCount(run.Skipped());
    SetDuplicateCount(run.Duplicates());
    Close();
    return run.Count();
}

// --- filters, keyed query and setters ------------------------------------------------

int LAcsAlarmAckRecSet::AddKeyFilter(LONG nPanelID, LONG nSerialNum)
{
    AddFilterLong(Column(L"SPANELID").GetString(), nPanelID);
    return AddFilterLong(Column(L"SSERIALNUM").GetString(), nSerialNum);
}

BOOL LAcsAlarmAckRecSet::OpenByKey(LONG nPanelID, LONG nSerialNum, UINT nOpenType, DWORD dwOptions)
{
    ClearFilter();
    m_bParamsInFieldExchange = true;
    CString sql;
    sql.FormatMessage(L"SELECT USERID,ACKNOTE,STATUS,SALARMID,SPANELID,SSERIALNUM,LPANELID,LSERIALNUM,ACKTIME,"
                      L"IN_PROGRESS_USERID,IN_PROGRESS_ACKTIME,FORWARDED_USERID,SOURCE_STATION,DESTINATION_STATION,"
                      L"ACK_TIME_UTC,IN_PROGRESS_ACKTIME_UTC,FORWARDED_TIME_UTC FROM %3 WHERE SPANELID = %1!d! AND "
                      L"SSERIALNUM = %2!d!",
        static_cast<int>(nPanelID), static_cast<int>(nSerialNum), GetTable().GetString());
    return Open(nOpenType, sql.GetString(), dwOptions);
}

bool LAcsAlarmAckRecSet::SetAckTimeUtc(const TIMESTAMP_STRUCT& value)
{
    if (!InTimeRange(value))
        return false;
    m_ACK_TIME_UTC = value;
    return true;
}

bool LAcsAlarmAckRecSet::SetInProgressAckTimeUtc(const TIMESTAMP_STRUCT& value)
{
    if (!InTimeRange(value))
        return false;
    m_IN_PROGRESS_ACKTIME_UTC = value;
    return true;
}

void LAcsAlarmAckRecSet::SetLinkedEvent(LONG nPanelID, LONG nSerialNum)
{
    m_LPANELID = nPanelID;
    m_LSERIALNUM = nSerialNum;
}

void LAcsAlarmAckRecSet::SetForwarding(LONG nAlarmID, LONG nPanelID, LONG nSerialNum, LONG nForwardedUserID,
    const TIMESTAMP_STRUCT& forwardedTime, LONG nSourceStation, LONG nDestinationStation)
{
    // Only the key columns that are NULL are filled (in AddNew all of them are).
    auto fill = [&](LONG& member, LONG value) {
        if (!IsOpen())
            member = value;
        else if (IsFieldNull(&member))
            StoreColumn(*this, member, value);
    };
    fill(m_USERID, 0);
    fill(m_STATUS, 0);
    fill(m_SALARMID, nAlarmID);
    fill(m_SPANELID, nPanelID);
    fill(m_SSERIALNUM, nSerialNum);
    m_FORWARDED_USERID = nForwardedUserID;
    m_FORWARDED_TIME_UTC = forwardedTime;
    m_SOURCE_STATION = nSourceStation;
    m_DESTINATION_STATION = nDestinationStation;
}
