#include "archive/alarm_ack_history_set.h"

#include <vector>

#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/ctime.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/sql_statement.h"
#include "platform/suite/database/zyn_database.h"

IMPLEMENT_DYNAMIC(CAlarmAckHistorySet, CMultiFilterRecordset)

namespace {

constexpr const wchar_t* kColumns = L"PANELID, SERIALNUM, USERID, ACKTIME_UTC, ACKSTATUS, ACKNOTE";

bool StorableTime(const TIMESTAMP_STRUCT& ts)
{
    COleDateTime check;
    return ts.year >= 1971 && ZynTimestampToOleDateTime(ts, check);
}

} // namespace

CAlarmAckHistorySet::CAlarmAckHistorySet(CZynDatabase* pDatabase, bool bRestored)
    : CMultiFilterRecordset(pDatabase), m_bRestored(bRestored)
{
    m_nFields = 7;
}

CAlarmAckHistorySet::~CAlarmAckHistorySet() = default;

CString CAlarmAckHistorySet::GetDefaultConnect()
{
    return L"ODBC;DSN=ORVAN;";
}

CString CAlarmAckHistorySet::GetDefaultSQL()
{
    return m_bRestored ? L"[ALARM_ACK_HISTORY_RESTORED]" : L"[ALARM_ACK_HISTORY]";
}

void CAlarmAckHistorySet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[ALARM_ACK_HISTORYID]", m_ALARM_ACK_HISTORYID);
    RFX_Long(pFX, L"[PANELID]", m_PANELID);
    RFX_Long(pFX, L"[SERIALNUM]", m_SERIALNUM);
    RFX_Long(pFX, L"[USERID]", m_USERID);
    RFX_Date(pFX, L"[ACKTIME_UTC]", m_ACKTIME_UTC);
    RFX_Long(pFX, L"[ACKSTATUS]", m_ACKSTATUS);
    RFX_TextU(pFX, L"[ACKNOTE]", m_ACKNOTE, 32000);
    DoParamExchange(pFX);
}

CString CAlarmAckHistorySet::GetKeyColumns()
{
    return L"ALARM_ACK_HISTORYID";
}

void CAlarmAckHistorySet::AddNew()
{
    AfxThrowDBException(AFX_SQL_ERROR_RECORDSET_READONLY,
        L"Alarm acknowledgement history rows are added with InsertHistory, not AddNew.");
}

bool CAlarmAckHistorySet::SetAckTimeUtc(const TIMESTAMP_STRUCT& value)
{
    CTime check;
    if (!ZynTimestampToTime(value, check))
        return false;
    m_ACKTIME_UTC = value;
    return true;
}

CString CAlarmAckHistorySet::FormatInsertText() const
{
    CZynDatabase* db = GetDatabase();
    const CString time = StorableTime(m_ACKTIME_UTC) ? CSQLStatement::FormatTimestamp(db, m_ACKTIME_UTC) : L"NULL";
    CString columns(kColumns);
    CString values;
    values.Format(L"%d, %ld, %ld, %s, %d, '%s'", static_cast<int>(m_PANELID), m_SERIALNUM, m_USERID,
        time.GetString(), static_cast<int>(m_ACKSTATUS), CSQLStatement::FixupText(m_ACKNOTE.GetString()).GetString());
    if (db && db->GetEngineType() == ZynEngineOracle) {
        columns += L", ALARM_ACK_HISTORYID";
        values += m_bRestored ? L", ALARM_ACK_HISTORY_RESTORED_SEQ.nextval" : L", ALARM_ACK_HISTORY_SEQ.nextval";
    }
    CString sql;
    sql.Format(L"INSERT INTO %s (%s) VALUES(%s)", (L"[" + GetTable() + L"]").GetString(),
        columns.GetString(), values.GetString());
    return sql;
}

void CAlarmAckHistorySet::InsertHistory()
{
    CZynDatabase* db = GetDatabase();
    if (!db)
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"The history set has no database to insert into.");
    const ZynEngineType engine = db->GetEngineType();
    if (engine == ZynEngineSQLite || engine == ZynEnginePostgreSQL) {
        using zyn::afx::DbValue;
        const std::vector<DbValue> params = {int32_t{m_PANELID}, int32_t{m_SERIALNUM}, int32_t{m_USERID},
            StorableTime(m_ACKTIME_UTC) ? DbValue{m_ACKTIME_UTC} : DbValue{}, int32_t{m_ACKSTATUS}, m_ACKNOTE};
        CString sql;
        sql.Format(L"INSERT INTO %s (%s) VALUES(?, ?, ?, ?, ?, ?)", GetDefaultSQL().GetString(), kColumns);
        db->ExecuteSQL(db->ReplaceBrackets(sql.GetString()).GetString(), params);
        return;
    }
    // The database replaces the brackets by its identifier quotes.
    db->ExecuteSQL(FormatInsertText().GetString(), false);
}
