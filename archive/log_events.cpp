#include "archive/log_events.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "archive/archive_line.h"
#include "archive/archive_restore_rows.h"
#include "archive/event_archive_line.h"
#include "archive/prepared_insert.h"
#include "common/zyn_datetime.h"
#include "common/zyn_timestamp.h"
#include "model/events_last_serial_set.h"
#include "model/next_serial_num.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/ctime.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/database/table_exists.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/suite/utility/stdiofile_unicode.h"

using namespace zyn::archive;

IMPLEMENT_DYNAMIC(CLogEvents, CZynArchiveSet)

namespace {

constexpr const wchar_t* kSource = L"LogEvent";
// The value AddNew leaves in a LONG or 64-bit member (the record set's pseudo-NULL).
constexpr LONG kLongPseudoNull = 0x4A4D4120;
constexpr const wchar_t* kRestoredTable = L"EVENTS_RESTORED";

// Serial numbers are 32-bit: a time beyond 2038 no longer fits and is held at the
// largest value.
LONG ClampSerial(int64_t value)
{
    return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

CLogEvents::CLogEvents(CZynDatabase* pDatabase, bool bRestored, bool bEventData)
    : CZynArchiveSet(pDatabase, bRestored ? L"EVENTS_RESTORED" : L"EVENTS"), m_bRestored(bRestored),
      m_bEventData(bEventData)
{
    m_nFields = bEventData ? 31 : 30;
}

CLogEvents::~CLogEvents() = default;

CString CLogEvents::GetDefaultConnect()
{
    return L"ODBC;DSN=ORVAN";
}

CString CLogEvents::GetDefaultSQL()
{
    return m_bRestored ? L"[EVENTS_RESTORED]" : L"[EVENTS]";
}

void CLogEvents::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[SERIALNUM]", m_SERIALNUM);
    RFX_Date(pFX, L"[EVENTIME]", m_EVENTIME);
    RFX_Long(pFX, L"[DEVID]", m_DEVID);
    RFX_Long(pFX, L"[INPUTDEVID]", m_INPUTDEVID);
    RFX_Long(pFX, L"[EVENTTYPE]", m_EVENTTYPE);
    RFX_Long(pFX, L"[EVENTID]", m_EVENTID);
    if (m_bEventData)
        RFX_Long(pFX, L"[EVENTDATA]", m_EVENTDATA);
    RFX_BigInt(pFX, L"[CARDNUM]", m_CARDNUM);
    RFX_Long(pFX, L"[MACHINE]", m_MACHINE);
    RFX_Long(pFX, L"[EMPID]", m_EMPID);
    RFX_Long(pFX, L"[INPUTARG]", m_INPUTARG);
    RFX_Long(pFX, L"[TRIGGER_EVENT]", m_TRIGGER_EVENT);
    RFX_Long(pFX, L"[FUNCLIST]", m_FUNCLIST);
    RFX_Long(pFX, L"[ASSETID]", m_ASSETID);
    RFX_Long(pFX, L"[EVENT_PARAMID]", m_EVENT_PARAMID);
    RFX_Long(pFX, L"[CALLED_STATION]", m_CALLED_STATION);
    RFX_Long(pFX, L"[TRANSMITTERID]", m_TRANSMITTERID);
    RFX_Long(pFX, L"[TRANSMITTER_INPUTID]", m_TRANSMITTER_INPUTID);
    RFX_Long(pFX, L"[ISSUECODE]", m_ISSUECODE);
    RFX_Long(pFX, L"[WRKSTATIONID]", m_WRKSTATIONID);
    RFX_TextU(pFX, L"[EVENT_TEXT]", m_EVENT_TEXT, 2000);
    RFX_Long(pFX, L"[RECEIVERID]", m_RECEIVERID);
    RFX_Long(pFX, L"[LINENUM]", m_LINENUM);
    RFX_Long(pFX, L"[AREAID]", m_AREAID);
    RFX_Long(pFX, L"[USERID]", m_USERID);
    RFX_TextU(pFX, L"[EVENTCODE]", m_EVENTCODE, 255);
    RFX_Long(pFX, L"[SEGMENTID]", m_SEGMENTID);
    RFX_Long(pFX, L"[ZYN_DBID]", m_ZYN_DBID);
    RFX_Long(pFX, L"[AREAAPBID]", m_AREAAPBID);
    RFX_Long(pFX, L"[ALARMMASKGROUPID]", m_ALARMMASKGROUPID);
    RFX_Date(pFX, L"[EVENT_TIME_UTC]", m_EVENT_TIME_UTC);
}

// --- archive hooks --------------------------------------------------------------

int CLogEvents::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTimeStamp(L"EVENT_TIME_UTC", ZynOleDateTimeToTimestamp(cutoff), op);
}

namespace {

// A fetched NULL leaves an all-zero timestamp in its member; any other value is a value.
bool IsZero(const TIMESTAMP_STRUCT& t)
{
    return t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0 && t.second == 0 &&
           t.fraction == 0;
}

} // namespace

COleDateTime CLogEvents::GetArchiveRecordTime()
{
    COleDateTime time;
    time.SetStatus(COleDateTime::null);
    if (!IsZero(m_EVENT_TIME_UTC) || !IsNull(&m_EVENT_TIME_UTC))
        ZynTimestampToOleDateTime(m_EVENT_TIME_UTC, time);
    return time;
}

bool CLogEvents::IsNull(const void* member) const
{
    return IsFieldNull(member) != FALSE;
}

void CLogEvents::GetArchiveRow(EventArchiveRow& row) const
{
    // A fetched NULL leaves 0 in its member, and AddNew leaves the record set's
    // pseudo-NULL; any other value is a value. So only those two need the (slower)
    // look-up of the column's NULL flag, and 0 needs none when NULL is written as 0.
    auto value = [&](const LONG& m, LONG nullValue) -> LONG {
        if (m == 0 && nullValue == 0)
            return 0;
        if (m != 0 && m != kLongPseudoNull)
            return m;
        return IsNull(&m) ? nullValue : m;
    };
    row.eventTime.reset();
    row.serialNum = m_SERIALNUM;
    row.devId = value(m_DEVID, 0);
    row.inputDevId = value(m_INPUTDEVID, 0);
    row.eventType = value(m_EVENTTYPE, 0);
    row.eventId = value(m_EVENTID, 0);
    row.eventData = m_bEventData ? value(m_EVENTDATA, 0) : 0;
    row.cardNum = m_CARDNUM == 0 || (m_CARDNUM == kLongPseudoNull && IsNull(&m_CARDNUM)) ? 0 : m_CARDNUM;
    row.machine = value(m_MACHINE, 0);
    row.empId = value(m_EMPID, 0);
    row.inputArg = value(m_INPUTARG, 0);
    row.triggerEvent = value(m_TRIGGER_EVENT, 0);
    row.funcList = value(m_FUNCLIST, 0);
    row.assetId = value(m_ASSETID, 0);
    row.eventParamId = value(m_EVENT_PARAMID, 0);
    row.calledStation = value(m_CALLED_STATION, -1);
    row.transmitterId = value(m_TRANSMITTERID, 0);
    row.transmitterInputId = value(m_TRANSMITTER_INPUTID, 0);
    row.issueCode = value(m_ISSUECODE, -1);
    row.wrkStationId = value(m_WRKSTATIONID, 0);
    row.eventText = m_EVENT_TEXT; // empty when NULL
    row.receiverId = value(m_RECEIVERID, 0);
    row.lineNum = value(m_LINENUM, 0);
    row.areaId = value(m_AREAID, 0);
    row.userId = value(m_USERID, 0);
    row.eventCode = m_EVENTCODE;
    row.segmentId.reset();
    if ((m_SEGMENTID != 0 && m_SEGMENTID != kLongPseudoNull) || !IsNull(&m_SEGMENTID))
        row.segmentId = m_SEGMENTID;
    row.zynDbId = value(m_ZYN_DBID, 0);
    row.areaApbId = value(m_AREAAPBID, 0);
    row.alarmMaskGroupId = value(m_ALARMMASKGROUPID, 0);
    row.eventTimeUtc.reset();
    if (!IsZero(m_EVENT_TIME_UTC) || !IsNull(&m_EVENT_TIME_UTC))
        row.eventTimeUtc = m_EVENT_TIME_UTC;
}

void CLogEvents::WriteArchiveRecord(CStdioFileUnicode& file)
{
    // Kept from row to row (per thread), so a pass allocates nothing per line.
    thread_local EventArchiveRow row;
    thread_local ArchiveLineWriter writer;
    GetArchiveRow(row);
    writer.Reset();
    FormatEventArchiveLine(row, writer);
    writer.WriteTo(file);
}

std::vector<LPCWSTR> CLogEvents::RestoredColumns() const
{
    std::vector<LPCWSTR> columns = {L"SERIALNUM", L"EVENTIME", L"DEVID", L"INPUTDEVID", L"EVENTTYPE", L"EVENTID"};
    if (m_bEventData)
        columns.push_back(L"EVENTDATA");
    for (LPCWSTR c : {L"CARDNUM", L"MACHINE", L"EMPID", L"INPUTARG", L"TRIGGER_EVENT", L"FUNCLIST", L"ASSETID",
             L"EVENT_PARAMID", L"CALLED_STATION", L"TRANSMITTERID", L"TRANSMITTER_INPUTID", L"ISSUECODE",
             L"WRKSTATIONID", L"EVENT_TEXT", L"RECEIVERID", L"LINENUM", L"AREAID", L"USERID", L"EVENTCODE",
             L"SEGMENTID", L"ZYN_DBID", L"AREAAPBID", L"ALARMMASKGROUPID", L"EVENT_TIME_UTC"})
        columns.push_back(c);
    return columns;
}

void CLogEvents::InsertRestoredRow(PreparedInsert& insert, const EventArchiveRow& r, const IdMapper& map) const
{
    auto time = [&](const std::optional<TIMESTAMP_STRUCT>& t) {
        if (t)
            insert.Time(*t);
        else
            insert.NullTime();
    };
    insert.Int(r.serialNum);
    time(r.eventTime);
    insert.Int(r.devId);
    insert.Int(r.inputDevId);
    insert.Int(r.eventType);
    insert.Int(r.eventId);
    if (m_bEventData)
        insert.Int(r.eventData);
    insert.BigInt(r.cardNum);
    insert.Int(map(L"MACHINE", r.machine));
    insert.Int(map(L"EMPID", r.empId));
    insert.Int(r.inputArg);
    insert.Int(r.triggerEvent);
    insert.Int(r.funcList);
    insert.Int(map(L"ASSETID", r.assetId));
    insert.Int(r.eventParamId);
    insert.Int(r.calledStation);
    insert.Int(map(L"TRANSMITTERID", r.transmitterId));
    insert.Int(map(L"TRANSMITTER_INPUTID", r.transmitterInputId));
    insert.Int(r.issueCode);
    insert.Int(map(L"WRKSTATIONID", r.wrkStationId));
    insert.Text(r.eventText);
    insert.Int(r.receiverId);
    insert.Int(r.lineNum);
    insert.Int(r.areaId);
    insert.Int(map(L"USERID", r.userId));
    insert.Text(r.eventCode);
    if (r.segmentId)
        insert.Int(map(L"SEGMENTID", *r.segmentId));
    else
        insert.NullInt();
    insert.Int(r.zynDbId);
    insert.Int(map(L"AREAAPBID", r.areaApbId));
    insert.Int(map(L"ALARMMASKGROUPID", r.alarmMaskGroupId));
    time(r.eventTimeUtc);
    insert.Execute();
}

LONG CLogEvents::RestoreArchiveRecords(CStdioFileUnicode& file, LONG /*nReserved*/,
    ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval)
{
    RowRestore<EventArchiveRow> how;
    how.source = kSource;
    how.mappingTable = kRestoredTable;
    how.parse = &ParseEventArchiveLine;
    how.check = &CheckEventRow;
    how.limits = TableColumnLimits(*this, {L"EVENT_TEXT", L"EVENTCODE"});
    how.keyColumns = EventKeyColumns();
    how.identify = &EventIdentity;
    // Many rows: inserted through one prepared statement rather than AddNew / Update.
    CZynDatabase* db = GetDatabase();
    if (!db || !db->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"A restore needs an open database.");
    PreparedInsert insert(*db, GetTable().GetString(), RestoredColumns());
    how.insert = [&](const EventArchiveRow& row, const IdMapper& map) { InsertRestoredRow(insert, row, map); };
    RestoreResult result;
    SetSkippedLineCount(0);
    SetDuplicateCount(0);
    try {
        RestoreRows(*this, file, pfnProgress, pContext, nInterval, how, result);
    } catch (...) {
        // The rows inserted so far stay; the failure goes to the caller.
        SetSkippedLineCount(result.skipped);
        SetDuplicateCount(result.duplicates);
        throw;
    }
    SetSkippedLineCount(result.skipped);
    SetDuplicateCount(result.duplicates);
    return result.rows;
}

// --- purge preparation and filters ------------------------------------------------

void CLogEvents::PrepareForPurge()
{
    AddColumnToSet(L"EVTROWID", nullptr, TRUE, nullptr);
}

int CLogEvents::AddSerialNumFilter(LONG nSerialNum, ParamCompOperator op)
{
    return AddFilterLong(L"SERIALNUM", nSerialNum, op);
}

int CLogEvents::AddEventTypeFilter(LONG nEventType, ParamCompOperator op)
{
    return AddFilterLong(L"EVENTTYPE", nEventType, op);
}

int CLogEvents::AddEventIdFilter(LONG nEventId, ParamCompOperator op)
{
    return AddFilterLong(L"EVENTID", nEventId, op);
}

int CLogEvents::AddMachineFilter(LONG nMachine, ParamCompOperator op)
{
    return AddFilterLong(L"MACHINE", nMachine, op);
}

int CLogEvents::AddDevIdFilter(LONG nDevId, ParamCompOperator op)
{
    return AddFilterLong(L"DEVID", nDevId, op);
}

int CLogEvents::AddInputDevIdFilter(LONG nInputDevId, ParamCompOperator op)
{
    return AddFilterLong(L"INPUTDEVID", nInputDevId, op);
}

int CLogEvents::AddCardNumFilter(int64_t nCardNum, ParamCompOperator op)
{
    return AddFilterBigInt(L"CARDNUM", nCardNum, op);
}

int CLogEvents::AddAssetIdFilter(LONG nAssetId, ParamCompOperator op)
{
    return AddFilterLong(L"ASSETID", nAssetId, op);
}

int CLogEvents::AddEventTimeFilter(const COleDateTime& localTime, ParamCompOperator op)
{
    CZynDateTime time(localTime, false);
    time.SetUTC(false);
    time.ConvertToUTC();
    return AddFilterTime(L"EVENT_TIME_UTC", time.GetAsOleDateTime(), op);
}

// --- insert of one event ------------------------------------------------------------

void CLogEvents::InsertEvent(LONG nSerialNum, LONG nMachine, int16_t nDevID, int16_t nInputDevID, int16_t nEventType,
    int16_t nEventID, int16_t nEventData, int64_t nCardNum, LONG nEmpID, const TIMESTAMP_STRUCT& eventTimeUtc,
    int16_t nTriggerEvent, int16_t nFuncList, int16_t nInputArg, LONG nAssetID, LONG nEventParamID,
    LONG nCalledStation, LONG nTransmitterID, LONG nTransmitterInputID, LONG nIssueCode, LONG nWrkStationID,
    LPCWSTR lpszEventText, LONG nReceiverID, LONG nLineNum, LONG nAreaID, LONG nUserID, LPCWSTR lpszEventCode,
    LONG nSegmentID, LONG nZynDbID, LONG nAreaApbID, LONG nAlarmMaskGroupID)
{
    CZynDatabase* db = GetDatabase();
    if (!db)
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"The event set has no database to insert into.");
    static constexpr const wchar_t* kColumns =
        L"INSERT INTO EVENTS (SERIALNUM, DEVID, INPUTDEVID, EVENTTYPE, EVENTID, EVENTDATA, CARDNUM, MACHINE, EMPID, "
        L"INPUTARG, TRIGGER_EVENT, FUNCLIST, ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, "
        L"TRANSMITTER_INPUTID, ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, EVENTCODE, "
        L"SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) ";
    const CString text(lpszEventText ? lpszEventText : L"");
    const CString code(lpszEventCode ? lpszEventCode : L"");
    const ZynEngineType engine = db->GetEngineType();
    if (engine == ZynEngineSQLite || engine == ZynEnginePostgreSQL) {
        using zyn::afx::DbValue;
        auto tsValue = [](const TIMESTAMP_STRUCT& ts) -> DbValue {
            COleDateTime check;
            if (!ZynTimestampToOleDateTime(ts, check))
                return DbValue{};
            return ts;
        };
        const std::vector<DbValue> params = {int32_t{nSerialNum}, int32_t{nDevID}, int32_t{nInputDevID},
            int32_t{nEventType}, int32_t{nEventID}, int32_t{nEventData}, nCardNum, int32_t{nMachine}, int32_t{nEmpID},
            int32_t{nInputArg}, int32_t{nTriggerEvent}, int32_t{nFuncList}, int32_t{nAssetID}, int32_t{nEventParamID},
            int32_t{nCalledStation}, int32_t{nTransmitterID}, int32_t{nTransmitterInputID}, int32_t{nIssueCode},
            int32_t{nWrkStationID}, text, int32_t{nReceiverID}, int32_t{nLineNum}, int32_t{nAreaID}, int32_t{nUserID},
            code, nSegmentID == NoSegment ? DbValue{} : DbValue{int32_t{nSegmentID}}, int32_t{nZynDbID},
            int32_t{nAreaApbID}, int32_t{nAlarmMaskGroupID}, tsValue(eventTimeUtc)};
        CString sql(kColumns);
        sql += L" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
        db->ExecuteSQL(sql.GetString(), params);
        return;
    }
    // Engines reached only through statement text: every text literal has its quotes
    // doubled, which is the whole of their escaping.
    CString segment = L"NULL";
    if (nSegmentID != NoSegment)
        segment.Format(L"%d", static_cast<int>(nSegmentID));
    CString values;
    values.Format(L" VALUES (%ld, %d, %d, %d, %d, %d, %I64d, %d, %ld, %d, %ld, %d, %d, %ld, %ld, %ld, %ld, %ld, %ld, "
                  L"'%s', %ld, %ld, %ld, %ld, '%s', %s, %ld, %ld, %ld, %s)",
        nSerialNum, static_cast<int>(nDevID), static_cast<int>(nInputDevID), static_cast<int>(nEventType),
        static_cast<int>(nEventID), static_cast<int>(nEventData), nCardNum, static_cast<int>(nMachine), nEmpID,
        static_cast<int>(nInputArg), static_cast<LONG>(nTriggerEvent), static_cast<int>(nFuncList),
        static_cast<int>(nAssetID), nEventParamID, nCalledStation, nTransmitterID, nTransmitterInputID, nIssueCode,
        nWrkStationID, CSQLStatement::FixupText(text.GetString()).GetString(), nReceiverID, nLineNum, nAreaID,
        nUserID, CSQLStatement::FixupText(code.GetString()).GetString(), segment.GetString(), nZynDbID, nAreaApbID,
        nAlarmMaskGroupID, CSQLStatement::FormatTimestamp(db, eventTimeUtc).GetString());
    db->ExecuteSQL((CString(kColumns) + values).GetString(), false);
}

// --- next serial number -------------------------------------------------------------

LONG CLogEvents::GetNextSN(LONG nMachine, LONG nCount)
{
    const int64_t now = CTime::GetCurrentTime().GetTime();
    const LONG nowSerial = ClampSerial(now);
    CZynDatabase* db = GetDatabase();
    if (nCount < 1)
        nCount = 1;

    auto fromNextId = [&]() -> LONG {
        CString filter;
        filter.Format(L"MACHINE = %ld", nMachine);
        return ClampSerial(std::max<int64_t>(now, GetNextID(L"SERIALNUM", filter.GetString())));
    };

    if (db) {
        try {
            const LONG next = orvan::sp::NextSerialNum::Run(db, nMachine, now, nCount);
            return ClampSerial(std::max<int64_t>(now, next));
        } catch (CException* e) {
            CLogger::LogError(CLogger::ErrorLogName, CResult::GeneralError, kSource, __LINE__,
                L"CException in CLogEvents::GetNextSN(). Dropping back to old mechanism for obtaining next SN", e);
            e->Delete();
        } catch (...) {
            CLogger::LogError(CLogger::ErrorLogName, CResult::GeneralError, kSource, __LINE__,
                L"General exception in CLogEvents::GetNextSN(). Dropping back to old mechanism for obtaining next SN");
        }
    }

    try {
        if (db && db->GetEngineType() != ZynEngineRepository && ZynTableExists(db, L"EVENTS_LASTSERIALNUM", 1)) {
            // The counter row is advanced past the numbers handed out, in one
            // transaction that writes before it reads, so concurrent callers queue
            // instead of failing and never get the same numbers. A device without a
            // counter row yet starts above the serial numbers its events already have.
            int64_t floor = now;
            {
                CEventsLastSerialSet last(db);
                last.AddDeviceFilter(nMachine);
                last.Open(static_cast<UINT>(-1), nullptr, 0);
                const bool known = !last.IsEOF() && last.m_SERIALNUM > 0;
                last.Close();
                if (!known)
                    floor = std::max<int64_t>(floor, fromNextId());
            }
            return ClampSerial(CEventsLastSerialSet::ReserveSerialNumbers(db, nMachine, nCount, floor));
        }
        // No counter table: the next free number of the machine's events.
        return fromNextId();
    } catch (CException* e) {
        CLogger::LogError(CLogger::ErrorLogName, CResult::GeneralError, kSource, __LINE__,
            L"CException in CLogEvents::GetNextSN() while obtaining the next SN the old way", e);
        e->Delete();
    } catch (...) {
        CLogger::LogError(CLogger::ErrorLogName, CResult::GeneralError, kSource, __LINE__,
            L"General exception in CLogEvents::GetNextSN() while obtaining the next SN the old way");
    }
    return nowSerial;
}
