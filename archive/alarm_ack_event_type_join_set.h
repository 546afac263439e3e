#pragma once
// LAcsAlarmAckEventTypeJoinSet: the acknowledgements of the events of one event type,
// for the purge pass per event type: ALARMSACK joined with EVENTS, read-only, deleting
// (with their history) by panel and serial number from ALARMSACK.

#include "archive/alarm_ack_rec_set.h"

class LAcsAlarmAckEventTypeJoinSet : public LAcsAlarmAckRecSet {
    DECLARE_DYNAMIC(LAcsAlarmAckEventTypeJoinSet)
public:
    explicit LAcsAlarmAckEventTypeJoinSet(CZynDatabase* pDatabase);
    ~LAcsAlarmAckEventTypeJoinSet() override;

    // Always a snapshot; options 0 become read-only.
    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    // EVENTS.EVENTTYPE op the type, for the next Open.
    int AddEventTypeFilter(LONG nEventType, ParamCompOperator op = Equal);
    // Appends the join condition to the set's filter string.
    void AddJoinCondition();

    // The join condition AddJoinCondition appends.
    static constexpr const wchar_t* JoinCondition =
        L"ALARMSACK.SSERIALNUM=EVENTS.SERIALNUM AND ALARMSACK.SPANELID=EVENTS.MACHINE";

    LONG m_EVENTTYPE = 0;
    LONG m_EVENTS_SERIALNUM = 0;
    LONG m_EVENTS_MACHINE = 0;
};
