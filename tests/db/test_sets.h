#pragma once
// Record sets of the database tests, over ITEMS:
//   ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(255), NOTE TEXT, AMOUNT BIGINT,
//   PRICE DOUBLE PRECISION, STATUS INTEGER DEFAULT 7, CREATED TIMESTAMP

#include "platform/afx/db/afxdb.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"

namespace zyn::test {

inline constexpr const wchar_t* kCreateItems =
    L"CREATE TABLE ITEMS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(255), NOTE TEXT, AMOUNT BIGINT, "
    L"PRICE DOUBLE PRECISION, STATUS INTEGER DEFAULT 7, CREATED TIMESTAMP)";

class ItemSet : public CRecordset {
public:
    explicit ItemSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 7;
        SetKeyColumns(L"ID");
    }

    LONG m_ID = 0;
    CString m_NAME;
    CString m_NOTE;
    int64_t m_AMOUNT = 0;
    double m_PRICE = 0;
    LONG m_STATUS = 0;
    TIMESTAMP_STRUCT m_CREATED{};

    // Parameters of a filter "AMOUNT > ? AND NAME = ?" when m_useParams is set.
    bool m_useParams = false;
    int64_t m_minAmount = 0;
    CString m_nameParam;

    void UseParams(bool on)
    {
        m_useParams = on;
        m_nParams = on ? 2 : 0;
    }

    CString GetDefaultSQL() override { return L"[ITEMS]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"[ID]", m_ID);
        RFX_Text(pFX, L"[NAME]", m_NAME, 255);
        RFX_Text(pFX, L"[NOTE]", m_NOTE, 32000);
        RFX_BigInt(pFX, L"[AMOUNT]", m_AMOUNT);
        RFX_Double(pFX, L"[PRICE]", m_PRICE);
        RFX_Long(pFX, L"[STATUS]", m_STATUS);
        RFX_Date(pFX, L"[CREATED]", m_CREATED);
    }
    void DoParamExchange(CFieldExchange* pFX) override
    {
        if (!m_useParams)
            return;
        pFX->SetFieldType(CFieldExchange::param);
        RFX_BigInt(pFX, L"AMOUNT", m_minAmount);
        RFX_Text(pFX, L"NAME", m_nameParam, 255);
    }
};

// The same table with its time column as CTime and as COleDateTime.
class ItemTimeSet : public CRecordset {
public:
    explicit ItemTimeSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 2;
        SetKeyColumns(L"ITEMS.ID");
    }
    LONG m_ID = 0;
    CTime m_CREATED;
    CString GetDefaultSQL() override { return L"ITEMS"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        RFX_Long(pFX, L"ITEMS.ID", m_ID);
        RFX_Date(pFX, L"ITEMS.CREATED", m_CREATED);
    }
};

class ItemOleSet : public CRecordset {
public:
    explicit ItemOleSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 2;
        SetKeyColumns(L"[ID]");
    }
    LONG m_ID = 0;
    COleDateTime m_CREATED;
    CString GetDefaultSQL() override { return L"[ITEMS]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        RFX_Long(pFX, L"[ID]", m_ID);
        RFX_Date(pFX, L"[CREATED]", m_CREATED);
    }
};

} // namespace zyn::test
