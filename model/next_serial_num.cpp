#include "model/next_serial_num.h"

#include "platform/afx/db/dbexception.h"
#include "platform/suite/database/zyn_database.h"

namespace orvan::sp {

IMPLEMENT_DYNAMIC(NextSerialNum, CRecordset)

NextSerialNum::NextSerialNum(CZynDatabase* pDatabase) : CRecordset(pDatabase)
{
    m_nFields = 0;
    m_nParams = 4;
}

BOOL NextSerialNum::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    const auto* db = dynamic_cast<const CZynDatabase*>(m_pDatabase);
    if (db && db->GetEngineType() == ZynEngineSQLite)
        AfxThrowDBException(AFX_SQL_ERROR_API_CONFORMANCE,
            L"NEXTSERIALNUM: SQLite has no stored procedures; the serial number comes from EVENTS_LASTSERIALNUM.");
    return CRecordset::Open(nOpenType, lpszSQL, dwOptions);
}

CString NextSerialNum::GetDefaultConnect() { return L"ODBC;DSN=ORVAN"; }

CString NextSerialNum::GetDefaultSQL() { return L"{? = CALL NEXTSERIALNUM(?, ?, ?)}"; }

void NextSerialNum::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputParam);
    RFX_Long(pFX, L"NEXTSERIALNUM", m_nNextSerialNum);
    pFX->SetFieldType(CFieldExchange::param);
    RFX_Long(pFX, L"P_DEVICEID", m_nDevice);
    RFX_BigInt(pFX, L"P_NOW", m_nCurrentTime);
    RFX_Long(pFX, L"P_COUNT", m_nCount);
}

LONG NextSerialNum::Run(CZynDatabase* pDatabase, LONG nDevice, int64_t nNow, LONG nCount)
{
    NextSerialNum sp(pDatabase);
    sp.m_nDevice = nDevice;
    sp.m_nCurrentTime = nNow;
    sp.m_nCount = nCount;
    sp.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0);
    const LONG next = sp.m_nNextSerialNum;
    sp.Close();
    return next;
}

} // namespace orvan::sp
