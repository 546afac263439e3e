#pragma once
// A small record set over EVENTS for the library's tests, and rows to fill it with.

#include <cstdint>
#include <vector>

#include "platform/afx/db/dbvalue.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/database/zyn_database.h"

namespace zyn::test {

class TestEventSet : public CDynamicRecordset {
public:
    // bParamsInFieldExchange: DoFieldExchange ends with DoParamExchange (else the
    // record set calls it).
    explicit TestEventSet(CZynDatabase* db, bool bParamsInFieldExchange = false, LPCWSTR table = L"EVENTS")
        : CDynamicRecordset(db, table), m_bParams(bParamsInFieldExchange)
    {
        m_nFields = 7;
    }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"[SERIALNUM]", m_SERIALNUM);
        RFX_Long(pFX, L"[MACHINE]", m_MACHINE);
        RFX_Long(pFX, L"[EVENTTYPE]", m_EVENTTYPE);
        RFX_BigInt(pFX, L"[CARDNUM]", m_CARDNUM);
        RFX_Text(pFX, L"[EVENT_TEXT]", m_EVENT_TEXT, 2000, SQL_WVARCHAR);
        RFX_Date(pFX, L"[EVENT_TIME_UTC]", m_EVENT_TIME_UTC);
        RFX_Long(pFX, L"[SEGMENTID]", m_SEGMENTID);
        if (m_bParams)
            DoParamExchange(pFX);
    }

    // Rows of the open set (moves to the end).
    std::vector<LONG> Serials()
    {
        std::vector<LONG> out;
        while (!IsEOF()) {
            out.push_back(m_SERIALNUM);
            MoveNext();
        }
        return out;
    }

    LONG m_SERIALNUM = 0;
    LONG m_MACHINE = 0;
    LONG m_EVENTTYPE = 0;
    int64_t m_CARDNUM = 0;
    CString m_EVENT_TEXT;
    TIMESTAMP_STRUCT m_EVENT_TIME_UTC{};
    LONG m_SEGMENTID = 0;

private:
    bool m_bParams;
};

struct TestEventRow {
    int32_t serial;
    int32_t machine;
    int32_t type;
    int64_t card;
    const wchar_t* text;
    TIMESTAMP_STRUCT time;
    bool segmentNull;
};

inline void InsertEvent(CZynDatabase& db, const TestEventRow& r, LPCWSTR table = L"EVENTS")
{
    using zyn::afx::DbValue;
    std::vector<DbValue> p{DbValue(r.serial), DbValue(r.machine), DbValue(r.type), DbValue(r.card),
        DbValue(CString(r.text)), DbValue(r.time), r.segmentNull ? DbValue() : DbValue(int32_t{100})};
    CString sql;
    sql.Format(L"INSERT INTO %s (SERIALNUM, MACHINE, EVENTTYPE, CARDNUM, EVENT_TEXT, EVENT_TIME_UTC, SEGMENTID) "
               L"VALUES (?, ?, ?, ?, ?, ?, ?)",
        table);
    db.ExecuteSQL(sql, p);
}

// Five events on 1 to 5 July 2008 at noon; machines 10, 20, 10, 20, 10; types 1 to 5;
// cards 2^40 + 1 to 2^40 + 5; SEGMENTID NULL on the 2nd and 4th.
inline std::vector<TestEventRow> FiveEvents()
{
    const int64_t base = int64_t{1} << 40;
    return {
        {1, 10, 1, base + 1, L"row 1", {2008, 7, 1, 12, 0, 0, 0}, false},
        {2, 20, 2, base + 2, L"row 2", {2008, 7, 2, 12, 0, 0, 0}, true},
        {3, 10, 3, base + 3, L"it's 3", {2008, 7, 3, 12, 0, 0, 0}, false},
        {4, 20, 4, base + 4, L"row 4", {2008, 7, 4, 12, 0, 0, 0}, true},
        {5, 10, 5, base + 5, L"row 5", {2008, 7, 5, 12, 0, 0, 0}, false},
    };
}

} // namespace zyn::test
