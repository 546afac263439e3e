#pragma once
// orvan::sp::NextSerialNum: the stored procedure NEXTSERIALNUM(device, now, count) that
// hands out the next event serial number of a device (see db/schema/postgresql.sql).
// Set the three parameters, then Open(-1, null, 0) runs the procedure and
// m_nNextSerialNum holds its answer. Engines without the procedure (SQLite) raise
// CDBException from Open, as every failure does.

#include <cstdint>

#include "platform/afx/db/recordset.h"

class CZynDatabase;

namespace orvan::sp {

class NextSerialNum : public CRecordset {
    DECLARE_DYNAMIC(NextSerialNum)
public:
    explicit NextSerialNum(CZynDatabase* pDatabase);

    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    // Runs the procedure once and returns the next serial number.
    static LONG Run(CZynDatabase* pDatabase, LONG nDevice, int64_t nNow, LONG nCount);

    LONG m_nDevice = 0;
    int64_t m_nCurrentTime = 0; // seconds since 1970, in 64 bits
    LONG m_nCount = 1;
    LONG m_nNextSerialNum = 0;  // output
};

} // namespace orvan::sp
