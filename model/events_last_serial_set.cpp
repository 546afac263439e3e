#include "model/events_last_serial_set.h"

#include <vector>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/suite/database/transaction_scope.h"
#include "platform/suite/database/zyn_database.h"

IMPLEMENT_DYNAMIC(CEventsLastSerialSet, CMultiFilterRecordset)

using zyn::afx::DbValue;

CEventsLastSerialSet::CEventsLastSerialSet(CZynDatabase* pDatabase) : CMultiFilterRecordset(pDatabase)
{
    m_nFields = 2;
}

CString CEventsLastSerialSet::GetDefaultConnect() { return L"ODBC;DSN=ORVAN"; }

CString CEventsLastSerialSet::GetDefaultSQL() { return L"[EVENTS_LASTSERIALNUM]"; }

CString CEventsLastSerialSet::GetKeyColumns() { return L"DEVICEID"; }

void CEventsLastSerialSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[DEVICEID]", m_DEVICEID);
    RFX_Long(pFX, L"[SERIALNUM]", m_SERIALNUM);
    DoParamExchange(pFX);
}

int CEventsLastSerialSet::AddDeviceFilter(LONG nDevice, ParamCompOperator op)
{
    return AddFilterLong(L"DEVICEID", nDevice, op);
}

LONG CEventsLastSerialSet::ReserveSerialNumbers(CZynDatabase* pDatabase, LONG nDevice, LONG nCount, int64_t nNow)
{
    if (nCount < 1)
        AfxThrowInvalidArgException(L"ReserveSerialNumbers: the count must be at least 1");
    if (!pDatabase || !pDatabase->IsOpen())
        AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, L"ReserveSerialNumbers: no open database.");
    if (nNow < 0)
        nNow = 0;

    zyn::db::TransactionScope tx(*pDatabase);
    const ZynEngineType engine = pDatabase->GetEngineType();
    const std::vector<DbValue> device{DbValue(static_cast<int32_t>(nDevice))};
    bool created = false;
    if (engine == ZynEngineSQLite) {
        pDatabase->ExecuteSQL(L"INSERT OR IGNORE INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (?, 0)", device);
        created = true;
    } else if (engine == ZynEnginePostgreSQL) {
        pDatabase->ExecuteSQL(
            L"INSERT INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (?, 0) ON CONFLICT (DEVICEID) DO NOTHING",
            device);
        created = true;
    }
    // The counter is advanced before it is read: the write lock comes first.
    const std::vector<DbValue> advance{DbValue(nNow), DbValue(static_cast<int32_t>(nCount)), DbValue(nNow),
        DbValue(static_cast<int32_t>(nCount)), DbValue(static_cast<int32_t>(nDevice))};
    const int64_t rows = pDatabase->ExecuteSQL(
        L"UPDATE EVENTS_LASTSERIALNUM SET SERIALNUM = CASE WHEN SERIALNUM + 1 >= ? THEN SERIALNUM + ? "
        L"ELSE ? + ? - 1 END WHERE DEVICEID = ?",
        advance);
    if (rows == 0 && !created) {
        const std::vector<DbValue> insert{DbValue(static_cast<int32_t>(nDevice)), DbValue(nNow + nCount - 1)};
        pDatabase->ExecuteSQL(L"INSERT INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (?, ?)", insert);
    }
    int64_t value = 0;
    if (!pDatabase->QueryInt64(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = ?", device, value))
        AfxThrowDBException(AFX_SQL_ERROR, L"ReserveSerialNumbers: the counter row of the device was not written.");
    if (value > INT32_MAX)
        AfxThrowDBException(AFX_SQL_ERROR, L"ReserveSerialNumbers: the device has no 32-bit serial number left.");
    tx.Commit();
    return static_cast<LONG>(value - nCount + 1);
}
