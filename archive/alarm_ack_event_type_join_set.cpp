#include "archive/alarm_ack_event_type_join_set.h"

IMPLEMENT_DYNAMIC(LAcsAlarmAckEventTypeJoinSet, LAcsAlarmAckRecSet)

LAcsAlarmAckEventTypeJoinSet::LAcsAlarmAckEventTypeJoinSet(CZynDatabase* pDatabase)
    : LAcsAlarmAckRecSet(pDatabase, false, L"ALARMSACK")
{
    m_nFields = 20;
}

LAcsAlarmAckEventTypeJoinSet::~LAcsAlarmAckEventTypeJoinSet() = default;

BOOL LAcsAlarmAckEventTypeJoinSet::Open(UINT /*nOpenType*/, LPCWSTR lpszSQL, DWORD dwOptions)
{
    return LAcsAlarmAckRecSet::Open(CRecordset::snapshot, lpszSQL, dwOptions == none ? readOnly : dwOptions);
}

CString LAcsAlarmAckEventTypeJoinSet::GetDefaultConnect()
{
    return L"ODBC;DSN=Orvan;";
}

CString LAcsAlarmAckEventTypeJoinSet::GetDefaultSQL()
{
    return L"[ALARMSACK], [EVENTS]";
}

void LAcsAlarmAckEventTypeJoinSet::DoFieldExchange(CFieldExchange* pFX)
{
    const bool params = m_bParamsInFieldExchange;
    m_bParamsInFieldExchange = false;
    LAcsAlarmAckRecSet::DoFieldExchange(pFX);
    m_bParamsInFieldExchange = params;
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[EVENTS].[EVENTTYPE]", m_EVENTTYPE);
    RFX_Long(pFX, L"[EVENTS].[SERIALNUM]", m_EVENTS_SERIALNUM);
    RFX_Long(pFX, L"[EVENTS].[MACHINE]", m_EVENTS_MACHINE);
    if (params)
        DoParamExchange(pFX);
}

int LAcsAlarmAckEventTypeJoinSet::AddEventTypeFilter(LONG nEventType, ParamCompOperator op)
{
    return AddFilterLong(L"EVENTS.EVENTTYPE", nEventType, op);
}

void LAcsAlarmAckEventTypeJoinSet::AddJoinCondition()
{
    if (!m_strFilter.IsEmpty())
        m_strFilter += L" AND ";
    m_strFilter += JoinCondition;
}
