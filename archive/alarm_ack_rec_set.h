#pragma once
// LAcsAlarmAckRecSet: the archive set over alarm acknowledgements (ALARMSACK, or
// ALARMSACK_RESTORED with the restored flag). Each acknowledgement is archived with
// its history rows (alarm_ack_archive_line.h has the lines), restored with them, and
// deleted with them: the history rows went into the file with it.

#include <cstdint>
#include <vector>

#include "archive/zyn_archive_set.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {
struct AlarmAckArchiveRow;
}
class CAlarmAckHistorySet;

class LAcsAlarmAckRecSet : public CZynArchiveSet {
    DECLARE_DYNAMIC(LAcsAlarmAckRecSet)
public:
    // ACKSTATUS of an acknowledgement in progress.
    static constexpr LONG StatusInProgress = 3;

    LAcsAlarmAckRecSet(CZynDatabase* pDatabase, bool bRestored = false);
    ~LAcsAlarmAckRecSet() override;

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;
    CString GetKeyColumns() override;
    // Deletes the current acknowledgement by its panel and serial number, and its
    // history rows: those written with it by WriteArchiveRecord (by their IDs, so a
    // history row added after the write stays), or all of them when it was not written.
    // Both in one transaction (or the caller's). Failures raise CDBException; an
    // acknowledgement that was no longer there raises AFX_SQL_ERROR_NO_ROWS_AFFECTED
    // after its history rows are deleted, as the record set's own Delete does.
    void Delete() override;

    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;

    // SPANELID and SSERIALNUM equal to the values, for the next Open.
    int AddKeyFilter(LONG nPanelID, LONG nSerialNum);
    // Clears the filters and opens the one acknowledgement of an event.
    BOOL OpenByKey(LONG nPanelID, LONG nSerialNum, UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, DWORD dwOptions = none);

    // Setters; the time setters refuse (false) a year outside 1970..2036.
    bool SetAckTimeUtc(const TIMESTAMP_STRUCT& value);
    bool SetInProgressAckTimeUtc(const TIMESTAMP_STRUCT& value);
    void SetLinkedEvent(LONG nPanelID, LONG nSerialNum);
    // Forwards an alarm: USERID and STATUS become 0 and SALARMID, SPANELID, SSERIALNUM
    // the values given where they are NULL; the forwarding columns are always set.
    void SetForwarding(LONG nAlarmID, LONG nPanelID, LONG nSerialNum, LONG nForwardedUserID,
        const TIMESTAMP_STRUCT& forwardedTime, LONG nSourceStation, LONG nDestinationStation);

    // The table (without brackets).
    CString GetTable() const { return m_bRestored ? L"ALARMSACK_RESTORED" : L"ALARMSACK"; }
    // The history table that goes with it.
    CString GetHistoryTable() const;
    // The current row as its archive line carries it.
    void GetArchiveRow(zyn::archive::AlarmAckArchiveRow& row) const;
    // The statements Delete runs for the current row (the acknowledgement first).
    std::vector<CString> FormatDeleteStatements() const;

    LONG m_USERID = 0;
    CString m_ACKNOTE;
    LONG m_STATUS = 0;
    LONG m_SALARMID = 0;
    LONG m_SPANELID = 0;
    LONG m_SSERIALNUM = 0;
    LONG m_LPANELID = 0;
    LONG m_LSERIALNUM = 0;
    TIMESTAMP_STRUCT m_ACKTIME{};
    LONG m_IN_PROGRESS_USERID = 0;
    TIMESTAMP_STRUCT m_IN_PROGRESS_ACKTIME{};
    LONG m_FORWARDED_USERID = 0;
    LONG m_SOURCE_STATION = 0;
    LONG m_DESTINATION_STATION = 0;
    TIMESTAMP_STRUCT m_ACK_TIME_UTC{};
    TIMESTAMP_STRUCT m_IN_PROGRESS_ACKTIME_UTC{};
    TIMESTAMP_STRUCT m_FORWARDED_TIME_UTC{};

protected:
    // A set over another table list (the join set): its own column qualifier and
    // the table its Delete names.
    LAcsAlarmAckRecSet(CZynDatabase* pDatabase, bool bRestored, LPCWSTR lpszDeleteTable);
    // Null-safe: false when the set has no row or the column is not NULL.
    bool IsNull(const void* member) const;
    CString Column(LPCWSTR lpszName) const;

    bool m_bRestored;
    bool m_bParamsInFieldExchange = false;
    CString m_strDeleteTable;

private:
    void RestoreHistoryFor(const zyn::archive::AlarmAckArchiveRow& ack, CAlarmAckHistorySet& history);

    // History rows written with the current acknowledgement.
    bool m_bWritten = false;
    LONG m_nWrittenPanel = 0;
    LONG m_nWrittenSerial = 0;
    std::vector<LONG> m_writtenHistoryIds;
};
