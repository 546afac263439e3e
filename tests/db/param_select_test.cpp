// SELECTs with bound parameters. On SQLite their inputs run as escaped literals, since
// the driver steps through a result only for statements without parameters; these cases
// check that a pass over a filtered select stays flat, that the literal form selects
// exactly what the bound form selects (an INSERT ... SELECT, which keeps its parameters
// bound, is the reference) and that hostile text stays text.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/afx/db/afxdb.h"
#include "platform/afx/db/odbc_driver.h"
#include "tests/db/db_test_util.h"

using namespace zyn::test;
using zyn::afx::DbValue;

namespace {

TIMESTAMP_STRUCT Ts(int16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s, uint32_t fraction = 0)
{
    TIMESTAMP_STRUCT t{};
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    t.fraction = fraction;
    return t;
}

// ---- a long pass with a bound timestamp and a bound text filter -------------------

constexpr int kLogRows = 60000;
constexpr int kLogNote = 400;

class LogSet : public CRecordset {
public:
    explicit LogSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 3;
        m_nParams = 2;
        SetKeyColumns(L"ID");
        m_strFilter = L"TS < ? AND NAME <> ?";
        m_strSort = L"ID";
    }
    LONG m_ID = 0;
    CString m_NAME;
    CString m_NOTE;
    TIMESTAMP_STRUCT m_before{};
    CString m_skipName;

    CString GetDefaultSQL() override { return L"[LOG]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"[ID]", m_ID);
        RFX_Text(pFX, L"[NAME]", m_NAME, 20);
        RFX_Text(pFX, L"[NOTE]", m_NOTE, kLogNote);
    }
    void DoParamExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::param);
        RFX_Date(pFX, L"TS", m_before);
        RFX_Text(pFX, L"NAME", m_skipName, 20);
    }
};

class BoundFilterPassTest : public OdbcTest {
protected:
    void SetUp() override
    {
        OdbcTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Row x: TS = 2020-01-01 00:00:00 plus x seconds, NAME n0..n9.
        Exec(L"CREATE TABLE LOG (ID INTEGER NOT NULL PRIMARY KEY, TS TIMESTAMP, NAME VARCHAR(20), NOTE TEXT)");
        if (IsPostgres())
            Exec(L"INSERT INTO LOG SELECT x, TIMESTAMP '2020-01-01 00:00:00' + x * INTERVAL '1 second', "
                 L"'n' || (x % 10), lpad(x::text, 400, '0') FROM generate_series(1, 60000) AS x");
        else
            Exec(L"INSERT INTO LOG WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 60000) "
                 L"SELECT x, datetime('2020-01-01 00:00:00', '+' || x || ' seconds'), 'n' || (x % 10), "
                 L"printf('%0400d', x) FROM c");
    }
};

TEST_P(BoundFilterPassTest, ForwardPassKeepsMemoryFlat)
{
    LogSet rs(&Db());
    // 2020-01-01 16:06:40 is row 58000: rows 1..57999, less those named n3.
    rs.m_before = Ts(2020, 1, 1, 16, 6, 40);
    rs.m_skipName = L"n3";
    // From before the execution: a driver that reads the whole result does so there.
    const size_t before = LiveHeapBytes();
    ZYN_DB_OK(rs.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    size_t peak = LiveHeapBytes();
    int rows = 0;
    int expectId = 0;
    while (!rs.IsEOF()) {
        ++rows;
        do
            ++expectId;
        while (expectId % 10 == 3);
        ASSERT_EQ(rs.m_ID, expectId);
        ASSERT_EQ(rs.m_NOTE.GetLength(), kLogNote);
        if (rows % 1000 == 0)
            peak = std::max(peak, LiveHeapBytes());
        rs.MoveNext();
    }
    EXPECT_EQ(rows, 57999 - 5800);
    const size_t growth = peak > before ? peak - before : 0;
    const size_t resultBytes = size_t{kLogRows} * kLogNote;
    EXPECT_LT(growth, resultBytes / 4) << "heap grew by " << growth << " bytes over the pass";

    // Requery with other values: the statement runs again from the start.
    rs.m_before = Ts(2020, 1, 1, 0, 0, 11);
    rs.m_skipName = L"n1";
    ZYN_DB_OK(rs.Requery());
    std::vector<LONG> ids;
    for (; !rs.IsEOF(); rs.MoveNext())
        ids.push_back(rs.m_ID);
    EXPECT_EQ(ids, (std::vector<LONG>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_P(BoundFilterPassTest, DeletingEachSelectedRowKeepsMemoryFlat)
{
    // The purge pattern: select with a bound cut-off, delete each row, one transaction.
    ASSERT_TRUE(Db().BeginTrans());
    LogSet rs(&Db());
    rs.m_before = Ts(2020, 1, 1, 5, 33, 21); // row 20001
    rs.m_skipName = L"none";
    const size_t before = LiveHeapBytes();
    ZYN_DB_OK(rs.Open(CRecordset::snapshot));
    size_t peak = LiveHeapBytes();
    int rows = 0;
    while (!rs.IsEOF()) {
        ++rows;
        ZYN_DB_OK(rs.Delete());
        if (rows % 1000 == 0)
            peak = std::max(peak, LiveHeapBytes());
        rs.MoveNext();
    }
    rs.Close();
    ZYN_DB_OK(Db().CommitTrans());
    EXPECT_EQ(rows, 20000);
    const size_t growth = peak > before ? peak - before : 0;
    EXPECT_LT(growth, size_t{20000} * kLogNote / 4) << "heap grew by " << growth << " bytes over the pass";
    int64_t left = 0;
    ASSERT_TRUE(Db().QueryInt64(L"SELECT COUNT(*) FROM LOG", {}, left));
    EXPECT_EQ(left, kLogRows - 20000);
}

ZYN_INSTANTIATE_ENGINES(BoundFilterPassTest);

// ---- the literal form selects what the bound form selects -------------------------

class ParamSelectTest : public OdbcTest {
protected:
    void SetUp() override
    {
        OdbcTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        const wchar_t* blob = IsPostgres() ? L"BYTEA" : L"BLOB";
        Exec(CString(L"CREATE TABLE V (ID INTEGER NOT NULL PRIMARY KEY, T VARCHAR(400), TS TIMESTAMP, "
                     L"R DOUBLE PRECISION, B ") + blob + L")");
        Exec(L"CREATE TABLE HITS (ID INTEGER NOT NULL)");
        Exec(L"CREATE TABLE X (ID INTEGER)");
        using Bytes = std::vector<uint8_t>;
        const DbValue none;
        Insert(1, CString(L"plain"), Ts(2021, 3, 4, 5, 6, 7), 0.1, Bytes{1, 2});
        Insert(2, CString(L"O'Brien"), Ts(2021, 3, 4, 5, 6, 7, 500000000), 1.0 / 3, Bytes{0x00, 0x27, 0xFF});
        Insert(3, CString(L"''"), Ts(2021, 3, 4, 5, 6, 7, 123000000), 1e-300, Bytes{});
        Insert(4, CString(L"\U0001F600 smile \u00E9"), Ts(2021, 3, 4, 5, 6, 8), 2.2250738585072014e-308, none);
        Insert(5, CString(L"a?b"), none, -2.5, none);
        Insert(6, CString(L"{fn UCASE('x')}"), Ts(2021, 3, 5, 0, 0, 0), 1e300, none);
        Insert(7, none, Ts(2021, 3, 4, 5, 6, 6, 999000000), none, none);
        Insert(8, CString(L"-- c /* d */ :name @x $y ?1"), Ts(1999, 12, 31, 23, 59, 59), 123456789.125, none);
        Insert(9, CString(L"\U0001F600\U0001F601x'\U0001F602"), none, none, none);
        Insert(10, LongNonBmp(), none, none, none);
        Insert(11, CString(L"line\nbreak\ttab\u00E9\u4E2D"), none, none, none);
    }

    // More characters beyond the Basic Multilingual Plane than one SQL function call takes.
    static CString LongNonBmp()
    {
        CString s;
        for (int i = 0; i < 150; ++i)
            s += static_cast<wchar_t>(0x1F600 + i % 50);
        return s;
    }

    void Insert(int id, DbValue t, DbValue ts, DbValue r, DbValue b)
    {
        const DbValue row[] = {DbValue(int32_t{id}), t, ts, r, b};
        ZYN_DB_OK(Db().ExecuteSQL(L"INSERT INTO V (ID, T, TS, R, B) VALUES (?, ?, ?, ?, ?)", row));
    }

    // The rows a condition selects, as a bit set of IDs.
    CString MaskOf(const wchar_t* table) const
    {
        const CString one = IsPostgres() ? L"CAST(1 AS BIGINT)" : L"1";
        return L"SELECT COALESCE(SUM(" + one + L" << ID), 0) FROM " + table;
    }

    // Selected through a SELECT (literals on SQLite) and through INSERT ... SELECT (bound).
    void Compare(const wchar_t* where, std::vector<DbValue> params, std::vector<int> expected)
    {
        SCOPED_TRACE(zyn::base::ToUtf8(where));
        int64_t want = 0;
        for (int id : expected)
            want |= int64_t{1} << id;
        int64_t selected = -1;
        ZYN_DB_OK(Db().QueryInt64(MaskOf(L"V") + L" WHERE " + where, params, selected));
        Exec(L"DELETE FROM HITS");
        ZYN_DB_OK(Db().ExecuteSQL(CString(L"INSERT INTO HITS SELECT ID FROM V WHERE ") + where, params));
        int64_t bound = -1;
        ZYN_DB_OK(Db().QueryInt64(MaskOf(L"HITS"), {}, bound));
        EXPECT_EQ(bound, want) << "bound form";
        EXPECT_EQ(selected, want) << "select";
    }
};

TEST_P(ParamSelectTest, TextWithQuotesAndMarkersAndNonBmp)
{
    using S = CString;
    Compare(L"T = ?", {S(L"plain")}, {1});
    Compare(L"T = ?", {S(L"O'Brien")}, {2});
    Compare(L"T = ?", {S(L"''")}, {3});
    Compare(L"T = ?", {S(L"'")}, {});
    Compare(L"T = ?", {S(L"\U0001F600 smile \u00E9")}, {4});
    Compare(L"T = ?", {S(L"a?b")}, {5});
    Compare(L"T = ?", {S(L"{fn UCASE('x')}")}, {6});
    Compare(L"T = ?", {S(L"-- c /* d */ :name @x $y ?1")}, {8});
    Compare(L"T LIKE ?", {S(L"%'%")}, {2, 3, 6, 9});
    Compare(L"T = ?", {S(L"\U0001F600\U0001F601x'\U0001F602")}, {9});
    Compare(L"T = ?", {S(L"\U0001F600\U0001F601x'")}, {});
    Compare(L"T = ?", {LongNonBmp()}, {10});
    Compare(L"T LIKE ?", {S(L"%\U0001F601%")}, {9, 10});
    Compare(L"T = ?", {S(L"line\nbreak\ttab\u00E9\u4E2D")}, {11});
    Compare(L"T LIKE ?", {S(L"%\u00E9")}, {4});
    // Markers inside quoted text are not parameters.
    Compare(L"T <> '?' AND ID = ?", {int32_t{2}}, {2});
    Compare(L"\"T\" = ? OR T = 'it''s ?'", {S(L"plain")}, {1});
}

TEST_P(ParamSelectTest, TimestampsWithAndWithoutFractions)
{
    Compare(L"TS = ?", {Ts(2021, 3, 4, 5, 6, 7)}, {1});
    Compare(L"TS = ?", {Ts(2021, 3, 4, 5, 6, 7, 500000000)}, {2});
    Compare(L"TS = ?", {Ts(2021, 3, 4, 5, 6, 7, 123000000)}, {3});
    Compare(L"TS < ?", {Ts(2021, 3, 4, 5, 6, 7, 200000000)}, {1, 3, 7, 8});
    Compare(L"TS >= ? AND TS <= ?", {Ts(2021, 3, 4, 5, 6, 7), Ts(2021, 3, 4, 5, 6, 8)}, {1, 2, 3, 4});
    Compare(L"TS > ?", {Ts(2021, 3, 4, 5, 6, 8)}, {6});
}

TEST_P(ParamSelectTest, NumbersBytesAndNull)
{
    using Bytes = std::vector<uint8_t>;
    const DbValue null;
    Compare(L"R = ?", {0.1}, {1});
    Compare(L"R = ?", {1.0 / 3}, {2});
    Compare(L"R = ?", {1e-300}, {3});
    Compare(L"R = ?", {2.2250738585072014e-308}, {4});
    Compare(L"R = ?", {-2.5}, {5});
    Compare(L"R = ?", {1e300}, {6});
    Compare(L"R = ?", {123456789.125}, {8});
    Compare(L"R < ?", {0.0}, {5});
    Compare(L"R - ? = 0", {-2.5}, {5});    // "- -2.5", not a comment
    Compare(L"ID = -?", {int64_t{-3}}, {3}); // likewise
    Compare(L"ID > ? AND ID < ?", {int64_t{-9000000000}, int32_t{3}}, {1, 2});
    Compare(L"R = ?", {2.0}, {});
    Compare(L"B = ?", {Bytes{0x00, 0x27, 0xFF}}, {2});
    Compare(L"B = ?", {Bytes{1, 2}}, {1});
    // NULL compares as unknown; IS NULL tests find it.
    Compare(L"T = ?", {null}, {});
    Compare(L"T <> ?", {null}, {});
    Compare(L"(T = ? OR T IS NULL)", {null}, {7});
    Compare(L"TS IS NULL AND R < ?", {0.0}, {5});
}

TEST_P(ParamSelectTest, HostileTextSelectsNothingAndDropsNothing)
{
    const DbValue p[] = {CString(L"'; DROP TABLE X; --")};
    int64_t n = -1;
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM V WHERE T = ?", p, n));
    EXPECT_EQ(n, 0);
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM V WHERE T = ? OR ID = 1", p, n));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(Db().TableExists(L"X"));
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM X", {}, n));
    EXPECT_EQ(n, 0);
    int64_t rows = -1;
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM V", {}, rows));
    EXPECT_EQ(rows, 11);
}

TEST_P(ParamSelectTest, TextWithNulIsRefusedOnSqlite)
{
    if (IsPostgres())
        GTEST_SKIP() << "SQLite only: its SELECT parameters are written as literals";
    const DbValue p[] = {CString(L"a\0b", 3)};
    int64_t n = -1;
    const DbFailure f = CatchDb([&] { Db().QueryInt64(L"SELECT COUNT(*) FROM V WHERE T = ?", p, n); });
    EXPECT_TRUE(f.thrown);
    EXPECT_EQ(f.state, "22018") << f.message;
}

TEST_P(ParamSelectTest, PreparedSelectRunsAgainWithLiteralOrBoundValues)
{
    // One prepared statement executed repeatedly: a value that cannot be a literal (a
    // lone surrogate stays bound) in between must find the statement prepared again.
    namespace odbc = zyn::afx::odbc;
    odbc::Statement st(*Db().GetOdbcConnection());
    ASSERT_NO_THROW(st.Prepare(L"SELECT COUNT(*) FROM V WHERE T = ? OR ID = ?"));
    auto count = [&](std::wstring text, int32_t id) {
        odbc::Param t;
        t.kind = odbc::Kind::Text;
        t.value = std::move(text);
        odbc::Param i;
        i.kind = odbc::Kind::Int32;
        i.value = id;
        st.SetParams({t, i});
        int64_t n = -1;
        EXPECT_TRUE(st.Execute());
        EXPECT_TRUE(st.Fetch());
        EXPECT_TRUE(st.GetInt64(1, n));
        st.CloseCursor();
        return n;
    };
    EXPECT_EQ(count(L"plain", 0), 1);
    EXPECT_EQ(count(L"O'Brien", 3), 2);
    EXPECT_EQ(count(std::wstring(1, static_cast<wchar_t>(0xD800)), 5), 1);
    EXPECT_EQ(count(L"''", 0), 1);
    EXPECT_EQ(count(L"nothing", -1), 0);
}

ZYN_INSTANTIATE_ENGINES(ParamSelectTest);

} // namespace
