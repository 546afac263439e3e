// Stored procedures with an output parameter, through "{? = CALL ...}" and "{CALL ...}".
// On PostgreSQL the record set runs the call as a SELECT of the function and hands the
// row's columns to the output parameters; SQLite has no procedures.
#include <gtest/gtest.h>

#include "platform/afx/db/afxdb.h"
#include "tests/db/db_test_util.h"

using namespace zyn::test;

namespace {

class ProcedureTest : public OdbcTest {
protected:
    void SetUp() override
    {
        OdbcTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        if (!IsPostgres())
            GTEST_SKIP() << "SQLite has no stored procedures; callers fall back to plain statements there";
        Exec(L"CREATE TABLE SERIALS (DEVICEID INTEGER PRIMARY KEY, SERIALNUM INTEGER NOT NULL)");
        Exec(L"INSERT INTO SERIALS VALUES (5, 100)");
        Exec(L"CREATE FUNCTION NEXTSERIALNUM(p_dev INTEGER, p_now BIGINT, p_count INTEGER) RETURNS INTEGER "
             L"LANGUAGE plpgsql AS $$ DECLARE r INTEGER; BEGIN "
             L"UPDATE SERIALS SET SERIALNUM = GREATEST(SERIALNUM, p_now) + p_count WHERE DEVICEID = p_dev "
             L"RETURNING SERIALNUM INTO r; RETURN r; END $$");
        Exec(L"CREATE FUNCTION NEXTSERIALOUT(p_dev INTEGER, p_now BIGINT, p_count INTEGER, OUT p_next INTEGER) "
             L"LANGUAGE plpgsql AS $$ BEGIN "
             L"UPDATE SERIALS SET SERIALNUM = GREATEST(SERIALNUM, p_now) + p_count WHERE DEVICEID = p_dev "
             L"RETURNING SERIALNUM INTO p_next; END $$");
    }
};

class ReturnValueSet : public CRecordset {
public:
    explicit ReturnValueSet(CDatabase* db) : CRecordset(db) { m_nParams = 4; }
    LONG m_next = 0;
    LONG m_device = 5;
    int64_t m_now = 0;
    LONG m_count = 1;
    CString GetDefaultSQL() override { return L"{? = CALL NEXTSERIALNUM(?,?,?)}"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputParam);
        RFX_Long(pFX, L"next", m_next);
        pFX->SetFieldType(CFieldExchange::param);
        RFX_Long(pFX, L"device", m_device);
        RFX_BigInt(pFX, L"now", m_now);
        RFX_Long(pFX, L"count", m_count);
    }
};

class OutParamSet : public ReturnValueSet {
public:
    using ReturnValueSet::ReturnValueSet;
    CString GetDefaultSQL() override { return L"{CALL NEXTSERIALOUT(?,?,?,?)}"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::param);
        RFX_Long(pFX, L"device", m_device);
        RFX_BigInt(pFX, L"now", m_now);
        RFX_Long(pFX, L"count", m_count);
        pFX->SetFieldType(CFieldExchange::outputParam);
        RFX_Long(pFX, L"next", m_next);
    }
};

TEST_P(ProcedureTest, ReturnValueReachesTheOutputParameter)
{
    ReturnValueSet sp(&Db());
    sp.m_count = 3;
    ZYN_DB_OK(sp.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    EXPECT_EQ(sp.m_next, 103);
    EXPECT_FALSE(sp.IsFieldNull(&sp.m_next));
    sp.Close();
    sp.m_now = 1000;
    sp.m_count = 1;
    ZYN_DB_OK(sp.Open());
    EXPECT_EQ(sp.m_next, 1001);
    sp.Close();

    // Unknown device: the function returns NULL.
    sp.m_device = 99;
    ZYN_DB_OK(sp.Open());
    EXPECT_TRUE(sp.IsFieldNull(&sp.m_next));
}

TEST_P(ProcedureTest, OutParameterOfACall)
{
    OutParamSet sp(&Db());
    sp.m_count = 2;
    ZYN_DB_OK(sp.Open());
    EXPECT_EQ(sp.m_next, 102);
}

TEST_P(ProcedureTest, FailureRaisesTheDatabaseException)
{
    ReturnValueSet sp(&Db());
    sp.m_now = int64_t{1} << 40; // overflows the INTEGER column inside the function
    auto f = CatchDb([&] { sp.Open(); });
    ASSERT_TRUE(f.thrown);
    EXPECT_EQ(f.state, "22003") << f.message;
    EXPECT_FALSE(sp.IsOpen());
}

TEST_P(ProcedureTest, SingleArgumentFunctionAndTextResultReadWhole)
{
    Exec(L"CREATE FUNCTION GREETING(p_name VARCHAR) RETURNS VARCHAR LANGUAGE sql AS $$ SELECT 'Hello, ' || p_name $$");
    struct GreetingSet : CRecordset {
        using CRecordset::CRecordset;
        CString m_out, m_name;
        CString GetDefaultSQL() override { return L"{? = CALL GREETING(?)}"; }
        void DoFieldExchange(CFieldExchange* pFX) override
        {
            pFX->SetFieldType(CFieldExchange::outputParam);
            RFX_Text(pFX, L"out", m_out, 100);
            pFX->SetFieldType(CFieldExchange::param);
            RFX_Text(pFX, L"name", m_name);
        }
    } sp(&Db());
    sp.m_name = L"W\u00f6rld \U0001F30D";
    ZYN_DB_OK(sp.Open());
    EXPECT_EQ(sp.m_out, CString(L"Hello, W\u00f6rld \U0001F30D"));
    sp.Close();
    // Longer than the field's declared size: read whole, never cut.
    sp.m_name = CString(L'x', 500);
    ZYN_DB_OK(sp.Open());
    EXPECT_EQ(sp.m_out.GetLength(), 507);
}

TEST_P(ProcedureTest, InOutParameterAndLiteralArguments)
{
    Exec(L"CREATE FUNCTION BUMP(INOUT p_value BIGINT, p_step INTEGER, OUT p_text VARCHAR) "
         L"LANGUAGE plpgsql AS $$ BEGIN p_value := p_value + p_step; p_text := 'now ' || p_value; END $$");
    struct BumpSet : CRecordset {
        using CRecordset::CRecordset;
        int64_t m_value = 40;
        CString m_text;
        CString GetDefaultSQL() override { return L"{CALL BUMP(?, 2, ?)}"; }
        void DoFieldExchange(CFieldExchange* pFX) override
        {
            pFX->SetFieldType(CFieldExchange::inoutParam);
            RFX_BigInt(pFX, L"value", m_value);
            pFX->SetFieldType(CFieldExchange::outputParam);
            RFX_Text(pFX, L"text", m_text, 50);
        }
    } sp(&Db());
    ZYN_DB_OK(sp.Open());
    EXPECT_EQ(sp.m_value, 42);
    EXPECT_EQ(sp.m_text, CString(L"now 42"));
}

ZYN_INSTANTIATE_ENGINES(ProcedureTest);

} // namespace
