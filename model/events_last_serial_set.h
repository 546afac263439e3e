#pragma once
// CEventsLastSerialSet: the last event serial number handed out per device
// (EVENTS_LASTSERIALNUM: DEVICEID, SERIALNUM).

#include <cstdint>

#include "platform/suite/database/multi_filter_recordset.h"

class CZynDatabase;

class CEventsLastSerialSet : public CMultiFilterRecordset {
    DECLARE_DYNAMIC(CEventsLastSerialSet)
public:
    explicit CEventsLastSerialSet(CZynDatabase* pDatabase);

    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;
    CString GetKeyColumns() override;

    // Adds the condition DEVICEID op device for the next Open.
    int AddDeviceFilter(LONG nDevice, ParamCompOperator op = Equal);

    // Reserves nCount serial numbers of a device and returns the first: the greater of
    // the last number handed out plus one and nNow (seconds since 1970). The counter row
    // is created when missing and advanced before it is read, in one transaction (or in
    // the caller's pending one), so concurrent callers queue on it instead of failing
    // with "database is locked" and never receive the same number. Raises CDBException
    // when the database fails or no 32-bit number is left, CInvalidArgException when
    // nCount is below 1.
    static LONG ReserveSerialNumbers(CZynDatabase* pDatabase, LONG nDevice, LONG nCount, int64_t nNow);

    LONG m_DEVICEID = 0;
    LONG m_SERIALNUM = 0;
};
