#pragma once
// CAlarmAckHistorySet: the history of alarm acknowledgements (ALARM_ACK_HISTORY, or
// ALARM_ACK_HISTORY_RESTORED with the restored flag): who set which state of an
// acknowledgement, when, with which note. Reads rows like any record set; rows are
// added with InsertHistory, never with AddNew.

#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"
#include "platform/suite/database/multi_filter_recordset.h"

class CAlarmAckHistorySet : public CMultiFilterRecordset {
    DECLARE_DYNAMIC(CAlarmAckHistorySet)
public:
    CAlarmAckHistorySet(CZynDatabase* pDatabase, bool bRestored = false);
    ~CAlarmAckHistorySet() override;

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;
    CString GetKeyColumns() override;
    // Always refused (CDBException AFX_SQL_ERROR_RECORDSET_READONLY): use InsertHistory.
    void AddNew() override;

    // Inserts PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS and ACKNOTE from the
    // members; ACKTIME_UTC is NULL when its year is below 1971. On Oracle the ID comes
    // from the table's sequence. Values are bound on the engines this platform runs
    // on; other engines get statement text with the note's quotes doubled. Failures
    // raise CDBException.
    void InsertHistory();
    // The statement InsertHistory runs on an engine that takes statement text.
    CString FormatInsertText() const;

    // Sets ACKTIME_UTC; false, leaving it, when the year is outside 1970..2036.
    bool SetAckTimeUtc(const TIMESTAMP_STRUCT& value);

    // The table (without brackets).
    CString GetTable() const { return m_bRestored ? L"ALARM_ACK_HISTORY_RESTORED" : L"ALARM_ACK_HISTORY"; }

    LONG m_ALARM_ACK_HISTORYID = 0;
    LONG m_PANELID = 0;
    LONG m_SERIALNUM = 0;
    LONG m_USERID = 0;
    TIMESTAMP_STRUCT m_ACKTIME_UTC{};
    LONG m_ACKSTATUS = 0;
    CString m_ACKNOTE;
    // The third field of a history line (kept, not stored in a column).
    TIMESTAMP_STRUCT m_extraTime{};

private:
    bool m_bRestored;
};
