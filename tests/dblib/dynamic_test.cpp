// CDynamicRecordset on SQLite and PostgreSQL: added key columns and Delete, column
// descriptions, free IDs, the identifier mapping, ChangeTable.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/database/transaction_scope.h"
#include "tests/dblib/dblib_fixture.h"
#include "tests/dblib/test_event_set.h"

using namespace zyn::test;
using zyn::afx::DbValue;
using Serials = std::vector<LONG>;

namespace {

class DynamicTest : public ZynDbTest {};

// The continuous-video set's columns, with its ID bound by the set itself.
class VideoSet : public CDynamicRecordset {
public:
    explicit VideoSet(CZynDatabase* db) : CDynamicRecordset(db, L"CONTINUOUS_VIDEO") { m_nFields = 3; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"CONTINUOUS_VIDEOID", m_ID);
        RFX_Long(pFX, L"CAMERAID", m_CAMERAID);
        RFX_TextU(pFX, L"ARCHIVEFILE", m_ARCHIVEFILE, 255, SQL_VARCHAR, 0);
    }
    LONG m_ID = 0;
    LONG m_CAMERAID = 0;
    CString m_ARCHIVEFILE;
};

TEST_P(DynamicTest, AddedRowKeyDeletesExactlyTheCurrentRow)
{
    // Two rows alike in every bound column: only the row ID tells them apart.
    const TestEventRow row{7, 10, 1, 5, L"twin", {2008, 7, 1, 12, 0, 0, 0}, false};
    ZYN_DB_OK(InsertEvent(ZDb(), row));
    ZYN_DB_OK(InsertEvent(ZDb(), row));
    ZYN_DB_OK(InsertEvent(ZDb(), TestEventRow{8, 10, 1, 5, L"other", {2008, 7, 1, 12, 0, 0, 0}, false}));

    TestEventSet set(&ZDb());
    int index = -1;
    EXPECT_TRUE(set.AddColumnToSet(L"EVTROWID", nullptr, TRUE, &index));
    EXPECT_EQ(index, 7);
    EXPECT_EQ(set.m_nFields, 8u);
    EXPECT_EQ(set.GetKeyColumns(), CString(L"EVTROWID"));
    set.AddFilterLong(L"SERIALNUM", 7);
    ZYN_DB_OK(set.Open(CRecordset::dynaset, nullptr, 0));
    ASSERT_FALSE(set.IsEOF());
    CDBVariant id;
    ASSERT_TRUE(set.GetAddedColumnValue(L"evtrowid", id));
    ASSERT_EQ(id.m_dwType, DBVT_BIGINT);
    EXPECT_GT(id.m_llVal, 0);
    ZYN_DB_OK(set.Delete());
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS WHERE SERIALNUM = 7"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 2);
    int64_t left = 0;
    ZYN_DB_OK(ZDb().QueryInt64(L"SELECT EVTROWID FROM EVENTS WHERE SERIALNUM = 7", {}, left));
    EXPECT_NE(left, id.m_llVal);

    // Adding it again changes nothing; a column the table lacks is refused.
    EXPECT_TRUE(set.AddColumnToSet(L"EVTROWID", nullptr, TRUE));
    EXPECT_EQ(set.GetAddedColumnCount(), 1);
    EXPECT_FALSE(set.AddColumnToSet(L"NO_SUCH_COLUMN", nullptr, TRUE));
    EXPECT_EQ(set.m_nFields, 8u);
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{7}));
    // Not while open.
    EXPECT_FALSE(set.AddColumnToSet(L"DEVID"));
    set.Close();
}

TEST_P(DynamicTest, ABoundColumnBecomesTheKeyWithoutASecondBinding)
{
    Exec(L"INSERT INTO CONTINUOUS_VIDEO (CONTINUOUS_VIDEOID, CAMERAID, ARCHIVEFILE) VALUES (1, 5, 'a.avi')");
    Exec(L"INSERT INTO CONTINUOUS_VIDEO (CONTINUOUS_VIDEOID, CAMERAID, ARCHIVEFILE) VALUES (2, 5, 'a.avi')");
    VideoSet set(&ZDb());
    int index = -1;
    EXPECT_TRUE(set.AddColumnToSet(L"CONTINUOUS_VIDEOID", nullptr, TRUE, &index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(set.m_nFields, 3u);
    set.m_strSort = L"CONTINUOUS_VIDEOID";
    ZYN_DB_OK(set.Open(CRecordset::dynaset, nullptr, 0));
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_ID, 1);
    CDBVariant v;
    ASSERT_TRUE(set.GetAddedColumnValue(L"CONTINUOUS_VIDEOID", v));
    EXPECT_EQ(v.m_dwType == DBVT_LONG ? int64_t{v.m_lVal} : v.m_llVal, 1);
    ZYN_DB_OK(set.Delete());
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO WHERE CONTINUOUS_VIDEOID = 2"), 1);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM CONTINUOUS_VIDEO"), 1);
}

TEST_P(DynamicTest, AllColumnsAddedAfterTheBoundOnes)
{
    Exec(L"INSERT INTO CONTINUOUS_VIDEO (CONTINUOUS_VIDEOID, VIDEOSERVERID, CAMERAID, ARCHIVEFILE, START_TIME_UTC, "
         L"ARCHIVELOCATIONID) VALUES (9, 3, 12, 'clip.avi', '2008-07-05 15:04:05', 4)");
    VideoSet set(&ZDb());
    EXPECT_EQ(set.AddAllColumnsToSet(), 6); // 9 columns, 3 bound already
    EXPECT_EQ(set.m_nFields, 9u);
    EXPECT_EQ(set.AddAllColumnsToSet(), 0);
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    ASSERT_FALSE(set.IsEOF());
    CDBVariant v;
    ASSERT_TRUE(set.GetAddedColumnValue(L"VIDEOSERVERID", v));
    EXPECT_EQ(v.m_dwType, DBVT_BIGINT);
    EXPECT_EQ(v.m_llVal, 3);
    ASSERT_TRUE(set.GetAddedColumnValue(L"START_TIME_UTC", v));
    ASSERT_EQ(v.m_dwType, DBVT_DATE);
    EXPECT_EQ(v.m_pdate->year, 2008);
    EXPECT_EQ(v.m_pdate->second, 5);
    ASSERT_TRUE(set.GetAddedColumnValue(L"END_TIME_UTC", v));
    EXPECT_EQ(v.m_dwType, DBVT_NULL);
    EXPECT_FALSE(set.GetAddedColumnValue(L"NOPE", v));
    set.Close();
}

TEST_P(DynamicTest, ColumnDescriptionsFoldCaseAndReportWideText)
{
    TestEventSet set(&ZDb(), false, L"VISIT");
    const zyn::afx::DbColumnInfo* purpose = set.FindColumnDesc(L"PURPOSE", L"VISIT");
    ASSERT_NE(purpose, nullptr);
    EXPECT_EQ(purpose->sqlType, SQL_WVARCHAR); // -9
    EXPECT_EQ(purpose->columnSize, 2000);
    const zyn::afx::DbColumnInfo* type = set.FindColumnDesc(L"type", L"visit");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->sqlType, SQL_INTEGER);
    EXPECT_EQ(set.FindColumnDesc(L"[VISIT].[PURPOSE]"), purpose); // the set's table, cached
    EXPECT_EQ(set.FindColumnDesc(L"NOPE", L"VISIT"), nullptr);
    EXPECT_EQ(set.FindColumnDesc(L"PURPOSE", L"NO_SUCH_TABLE"), nullptr);
    const zyn::afx::DbColumnInfo* note = set.FindColumnDesc(L"ACKNOTE", L"ALARMSACK");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->sqlType, SQL_WVARCHAR);
    EXPECT_EQ(note->columnSize, 32000);

    // A VISIT without PURPOSE and TYPE (an older schema) answers null for them.
    Exec(L"DROP TABLE VISIT_RESTORED");
    Exec(L"CREATE TABLE VISIT_RESTORED (VISITID INTEGER, EMPID INTEGER)");
    EXPECT_EQ(set.FindColumnDesc(L"PURPOSE", L"VISIT_RESTORED"), nullptr);
    EXPECT_NE(set.FindColumnDesc(L"EMPID", L"VISIT_RESTORED"), nullptr);
}

TEST_P(DynamicTest, NextIdsAreFreeAndNeverReused)
{
    TestEventSet set(&ZDb());
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 1);
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 2); // handed out, though no row has it yet
    for (const TestEventRow& r : FiveEvents())
        ZYN_DB_OK(InsertEvent(ZDb(), r));
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 6);
    // Per filter: machine 20 has serials 2 and 4.
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", L"MACHINE = 20"), 5);
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", L"MACHINE = 20"), 6);
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", L"MACHINE = 99"), 1);
    // Deleting rows does not bring numbers back.
    Exec(L"DELETE FROM EVENTS");
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 7);
    // A row inserted past the counter moves it on.
    ZYN_DB_OK(InsertEvent(ZDb(), TestEventRow{500, 1, 1, 1, L"x", {2008, 1, 1, 0, 0, 0, 0}, false}));
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 501);

    // Inside the caller's transaction the counter joins it, and a rollback returns it.
    {
        zyn::db::TransactionScope tx(ZDb());
        EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 502);
    }
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 502);

    auto invalid = [&](auto f) {
        try {
            f();
        } catch (CInvalidArgException* e) {
            e->Delete();
            return true;
        }
        return false;
    };
    EXPECT_TRUE(invalid([&] { set.GetNextID(L"SERIALNUM) FROM EVENTS; --", nullptr); }));
    // A bad filter is the database's error.
    try {
        set.GetNextID(L"SERIALNUM", L"NO_SUCH_COLUMN = 1");
        ADD_FAILURE() << "no exception";
    } catch (CDBException* e) {
        e->Delete();
    }
}

TEST_P(DynamicTest, NextIdWithoutTheCounterTableIsMaxPlusOne)
{
    Exec(L"DROP TABLE ZYN_NEXT_ID");
    TestEventSet set(&ZDb());
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 1);
    for (const TestEventRow& r : FiveEvents())
        ZYN_DB_OK(InsertEvent(ZDb(), r));
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", L"MACHINE = 10"), 6);
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", L"MACHINE = 20"), 5);
    // The last 32-bit value is refused, not wrapped.
    ZYN_DB_OK(InsertEvent(ZDb(), TestEventRow{INT32_MAX, 1, 1, 1, L"x", {2008, 1, 1, 0, 0, 0, 0}, false}));
    try {
        set.GetNextID(L"SERIALNUM", nullptr);
        ADD_FAILURE() << "no exception";
    } catch (CDBException* e) {
        e->Delete();
    }
}

TEST_P(DynamicTest, ConcurrentNextIdsAreDistinctAndNeverLocked)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 15;
    std::vector<std::unique_ptr<CZynDatabase>> dbs;
    for (int i = 0; i < kThreads; ++i) {
        try {
            dbs.push_back(OpenAnother());
        } catch (CException* e) {
            FAIL() << DescribeDbException(e);
        }
    }
    std::vector<std::vector<LONG>> got(kThreads);
    std::atomic<int> failures{0};
    std::vector<std::string> errors(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            TestEventSet set(dbs[t].get());
            for (int i = 0; i < kEach; ++i) {
                try {
                    LONG id = 0;
                    std::vector<DbValue> p(1);
                    if (t % 2 == 0) {
                        // A pass that reads first and then takes an ID in its own
                        // transaction, begun as a writer.
                        zyn::db::TransactionScope tx(*dbs[t], true);
                        int64_t n = 0;
                        dbs[t]->QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, n);
                        id = set.GetNextID(L"SERIALNUM", nullptr);
                        p[0] = DbValue(static_cast<int32_t>(id));
                        dbs[t]->ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM) VALUES (?)", p);
                        tx.Commit();
                    } else {
                        // GetNextID in a transaction of its own, the insert after it.
                        id = set.GetNextID(L"SERIALNUM", nullptr);
                        p[0] = DbValue(static_cast<int32_t>(id));
                        dbs[t]->ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM) VALUES (?)", p);
                    }
                    got[t].push_back(id);
                } catch (CException* e) {
                    errors[t] = DescribeDbException(e);
                    e->Delete();
                    ++failures;
                }
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0) << errors[0] << errors[1] << errors[2] << errors[3];
    std::set<LONG> all;
    for (const auto& v : got)
        all.insert(v.begin(), v.end());
    EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kEach - failures.load()));
    EXPECT_EQ(Count(L"SELECT COUNT(DISTINCT SERIALNUM) FROM EVENTS"), static_cast<int64_t>(all.size()));
}

TEST_P(DynamicTest, IdentifierMappingPresentMissingAndAbsent)
{
    Exec(L"INSERT INTO ZYN_ID_MAPPING (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID) VALUES ('EVENTS_RESTORED', 'MACHINE', "
         L"10, 1010)");
    Exec(L"INSERT INTO ZYN_ID_MAPPING (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID) VALUES ('EVENTS_RESTORED', 'USERID', "
         L"10, -5)");
    TestEventSet set(&ZDb(), false, L"EVENTS_RESTORED");
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"MACHINE", 10), 1010);
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"events_restored", L"machine", 10), 1010);
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"USERID", 10), -5);
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"MACHINE", 11), CDynamicRecordset::NoMapping);
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"EMPID", 10), CDynamicRecordset::NoMapping);
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"VISIT_RESTORED", L"MACHINE", 10), CDynamicRecordset::NoMapping);
    EXPECT_EQ(CDynamicRecordset::NoMapping, -2147483647 - 1);

    // While the set is open its statement and the mapping's share the connection.
    set.m_strFilter = L"1=0";
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"MACHINE", 10), 1010);
    set.Close();

    // Without the table nothing is mapped.
    Exec(L"DROP TABLE ZYN_ID_MAPPING");
    TestEventSet fresh(&ZDb(), false, L"EVENTS_RESTORED");
    EXPECT_EQ(fresh.GetUpdatedIdFromMappingTable(L"EVENTS_RESTORED", L"MACHINE", 10), CDynamicRecordset::NoMapping);
}

TEST_P(DynamicTest, ChangeTableMovesToTheTwin)
{
    ZYN_DB_OK(InsertEvent(ZDb(), FiveEvents()[0]));
    ZYN_DB_OK(InsertEvent(ZDb(), FiveEvents()[1], L"EVENTS_RESTORED"));
    ZYN_DB_OK(InsertEvent(ZDb(), FiveEvents()[2], L"EVENTS_RESTORED"));
    TestEventSet set(&ZDb());
    set.AddColumnToSet(L"EVTROWID", nullptr, TRUE);
    set.m_strSort = L"SERIALNUM";
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{1}));
    EXPECT_TRUE(set.ChangeTable(L"[EVENTS_RESTORED]"));
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(set.GetDefaultSQL(), CString(L"[EVENTS_RESTORED]"));
    EXPECT_EQ(set.GetTable(), CString(L"EVENTS_RESTORED"));
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{2, 3}));
    set.Close();
    try {
        set.ChangeTable(L"EVENTS; DROP TABLE EVENTS");
        ADD_FAILURE() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    EXPECT_EQ(set.GetTable(), CString(L"EVENTS_RESTORED"));
}

TEST_P(DynamicTest, LongWideTextRoundTripsWhole)
{
    // ACKNOTE holds 32000 characters, beyond BMP ones too; nothing is cut on the way.
    class NoteSet : public CDynamicRecordset {
    public:
        explicit NoteSet(CZynDatabase* db) : CDynamicRecordset(db, L"ALARMSACK") { m_nFields = 3; }
        void DoFieldExchange(CFieldExchange* pFX) override
        {
            pFX->SetFieldType(CFieldExchange::outputColumn);
            RFX_Long(pFX, L"[ALARMSACK].[SPANELID]", m_SPANELID);
            RFX_Long(pFX, L"[ALARMSACK].[SSERIALNUM]", m_SSERIALNUM);
            RFX_TextU(pFX, L"[ALARMSACK].[ACKNOTE]", m_ACKNOTE, 32000, SQL_VARCHAR, 0);
        }
        LONG m_SPANELID = 0;
        LONG m_SSERIALNUM = 0;
        CString m_ACKNOTE;
    };
    std::wstring note;
    for (int i = 0; note.size() < 32000; ++i)
        note += (i % 10 == 9) ? L'\U0001F600' : static_cast<wchar_t>(L'a' + i % 26);
    NoteSet set(&ZDb());
    set.m_strFilter = L"1=0";
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    ZYN_DB_OK(set.AddNew());
    set.m_SPANELID = 1;
    set.m_SSERIALNUM = 2;
    set.m_ACKNOTE = CString(note);
    ZYN_DB_OK(set.Update());
    set.Close();
    set.m_strFilter.Empty();
    set.m_ACKNOTE.Empty();
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_ACKNOTE.GetLength(), 32000);
    EXPECT_TRUE(set.m_ACKNOTE.Str() == note);
    set.Close();

    // One character more is refused, not cut.
    set.m_strFilter = L"1=0";
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    ZYN_DB_OK(set.AddNew());
    set.m_SPANELID = 1;
    set.m_SSERIALNUM = 3;
    set.m_ACKNOTE = CString(note + L"x");
    try {
        set.Update();
        ADD_FAILURE() << "a 32001-character note was stored";
    } catch (CDBException* e) {
        e->Delete();
    }
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM ALARMSACK WHERE SSERIALNUM = 3"), 0);
}

TEST_P(DynamicTest, ASetWithItsOwnConnectionWorksAlike)
{
    // Opened without a database, the set connects by its default connect string to a
    // plain CDatabase of its own.
    class OwnSet : public TestEventSet {
    public:
        explicit OwnSet(std::wstring connect) : TestEventSet(nullptr), m_connect(std::move(connect)) {}
        CString GetDefaultConnect() override { return CString(m_connect); }
        std::wstring m_connect;
    };
    ZYN_DB_OK(InsertEvent(ZDb(), FiveEvents()[0]));
    Exec(L"INSERT INTO ZYN_ID_MAPPING (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID) VALUES ('EVENTS', 'MACHINE', 10, 11)");
    OwnSet set(OdbcSetup::Instance().ConnectString(Engine()));
    EXPECT_TRUE(set.AddColumnToSet(L"EVTROWID", nullptr, TRUE));
    ZYN_DB_OK(set.Open(CRecordset::dynaset, nullptr, 0));
    EXPECT_EQ(set.GetUpdatedIdFromMappingTable(L"EVENTS", L"MACHINE", 10), 11);
    EXPECT_EQ(set.GetNextID(L"SERIALNUM", nullptr), 2);
    ASSERT_NE(set.FindColumnDesc(L"EVENT_TEXT"), nullptr);
    EXPECT_EQ(set.FindColumnDesc(L"EVENT_TEXT")->sqlType, SQL_WVARCHAR);
    ZYN_DB_OK(set.Delete());
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), 0);
}

ZYN_INSTANTIATE_ENGINES(DynamicTest);

} // namespace
