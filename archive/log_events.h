#pragma once
// CLogEvents: the archive set over the event log (EVENTS, or EVENTS_RESTORED with the
// restored flag). Also inserts single events and hands out event serial numbers.
// The archive line is described in event_archive_line.h.

#include <cstdint>
#include <functional>
#include <vector>

#include "archive/zyn_archive_set.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {
struct EventArchiveRow;
class PreparedInsert;
using IdMapper = std::function<LONG(LPCWSTR lpszColumn, LONG nId)>;
}

class CLogEvents : public CZynArchiveSet {
    DECLARE_DYNAMIC(CLogEvents)
public:
    // SEGMENTID's value for "no segment" (stored as NULL).
    static constexpr LONG NoSegment = -9999;

    // bEventData: the set binds EVENTDATA too (31 fields instead of 30).
    CLogEvents(CZynDatabase* pDatabase, bool bRestored = false, bool bEventData = false);
    ~CLogEvents() override;

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;

    // Before a purge pass opens the set: selects EVTROWID as the row's key, so Delete
    // removes exactly the row that was archived.
    void PrepareForPurge();

    // Filters: one more ANDed condition each for the next Open.
    int AddSerialNumFilter(LONG nSerialNum, ParamCompOperator op = Equal);
    int AddSerialNumberFilter(LONG nSerialNum, ParamCompOperator op = Equal) { return AddSerialNumFilter(nSerialNum, op); }
    int AddEventTypeFilter(LONG nEventType, ParamCompOperator op = Equal);
    int AddEventIdFilter(LONG nEventId, ParamCompOperator op = Equal);
    int AddMachineFilter(LONG nMachine, ParamCompOperator op = Equal);
    int AddDevIdFilter(LONG nDevId, ParamCompOperator op = Equal);
    int AddInputDevIdFilter(LONG nInputDevId, ParamCompOperator op = Equal);
    int AddCardNumFilter(int64_t nCardNum, ParamCompOperator op = Equal);
    int AddAssetIdFilter(LONG nAssetId, ParamCompOperator op = Equal);
    // The time is local time of the machine's zone; the filter compares EVENT_TIME_UTC
    // with it converted to UTC.
    int AddEventTimeFilter(const COleDateTime& localTime, ParamCompOperator op = Equal);

    // Inserts one event into EVENTS (EVENTIME is not written). The values are bound
    // as parameters on the engines this platform runs on; other engines get the
    // statement text with its literals escaped. nSegmentID NoSegment stores NULL.
    // Failures raise CDBException.
    void InsertEvent(LONG nSerialNum, LONG nMachine, int16_t nDevID, int16_t nInputDevID, int16_t nEventType,
        int16_t nEventID, int16_t nEventData, int64_t nCardNum, LONG nEmpID, const TIMESTAMP_STRUCT& eventTimeUtc,
        int16_t nTriggerEvent, int16_t nFuncList, int16_t nInputArg, LONG nAssetID, LONG nEventParamID,
        LONG nCalledStation, LONG nTransmitterID, LONG nTransmitterInputID, LONG nIssueCode, LONG nWrkStationID,
        LPCWSTR lpszEventText, LONG nReceiverID, LONG nLineNum, LONG nAreaID, LONG nUserID, LPCWSTR lpszEventCode,
        LONG nSegmentID, LONG nZynDbID, LONG nAreaApbID, LONG nAlarmMaskGroupID);

    // Reserves nCount serial numbers of a machine and returns the first; never below
    // the current time in seconds (while that fits 32 bits). Never raises: failures are
    // logged and the result is then the current time.
    LONG GetNextSN(LONG nMachine, LONG nCount = 1);

    // The columns, bound in this order.
    LONG m_SERIALNUM = 0;
    TIMESTAMP_STRUCT m_EVENTIME{};
    LONG m_DEVID = 0;
    LONG m_INPUTDEVID = 0;
    LONG m_EVENTTYPE = 0;
    LONG m_EVENTID = 0;
    LONG m_EVENTDATA = 0; // bound only with the event-data flag
    int64_t m_CARDNUM = 0;
    LONG m_MACHINE = 0;
    LONG m_EMPID = 0;
    LONG m_INPUTARG = 0;
    LONG m_TRIGGER_EVENT = 0;
    LONG m_FUNCLIST = 0;
    LONG m_ASSETID = 0;
    LONG m_EVENT_PARAMID = 0;
    LONG m_CALLED_STATION = -1;
    LONG m_TRANSMITTERID = 0;
    LONG m_TRANSMITTER_INPUTID = 0;
    LONG m_ISSUECODE = -1;
    LONG m_WRKSTATIONID = 0;
    CString m_EVENT_TEXT;
    LONG m_RECEIVERID = 0;
    LONG m_LINENUM = 0;
    LONG m_AREAID = 0;
    LONG m_USERID = 0;
    CString m_EVENTCODE;
    LONG m_SEGMENTID = NoSegment;
    LONG m_ZYN_DBID = 0;
    LONG m_AREAAPBID = 0;
    LONG m_ALARMMASKGROUPID = 0;
    TIMESTAMP_STRUCT m_EVENT_TIME_UTC{};

    // The current row as its archive line carries it.
    void GetArchiveRow(zyn::archive::EventArchiveRow& row) const;

private:
    bool IsNull(const void* member) const;
    // The columns a restore inserts (those the set binds), and one restored row into them.
    std::vector<LPCWSTR> RestoredColumns() const;
    void InsertRestoredRow(zyn::archive::PreparedInsert& insert, const zyn::archive::EventArchiveRow& row,
        const zyn::archive::IdMapper& map) const;

    bool m_bRestored;
    bool m_bEventData;
};
