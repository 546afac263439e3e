// Event serial numbers: the NEXTSERIALNUM procedure through orvan::sp::NextSerialNum
// (PostgreSQL), the counter of EVENTS_LASTSERIALNUM (both engines) and its record set.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "model/events_last_serial_set.h"
#include "model/next_serial_num.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "tests/dblib/dblib_fixture.h"

using namespace zyn::test;

namespace {

class SerialTest : public ZynDbTest {};

TEST_P(SerialTest, StoredProcedureHandsOutNumbers)
{
    if (!IsPostgres()) {
        // SQLite has no procedures: the set says so with a database exception, which
        // sends the event set to its fallback.
        orvan::sp::NextSerialNum sp(&ZDb());
        auto f = CatchDb([&] { sp.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0); });
        EXPECT_TRUE(f.thrown);
        EXPECT_NE(f.message.find("stored procedures"), std::string::npos) << f.message;
        return;
    }
    orvan::sp::NextSerialNum sp(&ZDb());
    sp.m_nDevice = 12;
    sp.m_nCurrentTime = 1000;
    sp.m_nCount = 3;
    ZYN_DB_OK(sp.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    EXPECT_EQ(sp.m_nNextSerialNum, 1000); // no row yet: now
    sp.Close();
    LONG next = 0;
    ZYN_DB_OK(next = orvan::sp::NextSerialNum::Run(&ZDb(), 12, 500, 1));
    EXPECT_EQ(next, 1003); // 1000 to 1002 were reserved
    ZYN_DB_OK(next = orvan::sp::NextSerialNum::Run(&ZDb(), 12, 2000, 1));
    EXPECT_EQ(next, 2000); // the clock moved past the counter
    ZYN_DB_OK(next = orvan::sp::NextSerialNum::Run(&ZDb(), 13, 5, 1));
    EXPECT_EQ(next, 5); // devices count apart
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 12"), 2000);

    // A count below 1 and a number past 32 bits are the database's errors.
    auto f = CatchDb([&] { orvan::sp::NextSerialNum::Run(&ZDb(), 12, 0, 0); });
    EXPECT_TRUE(f.thrown);
    f = CatchDb([&] { orvan::sp::NextSerialNum::Run(&ZDb(), 12, int64_t{1} << 32, 1); });
    EXPECT_TRUE(f.thrown);
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 12"), 2000);
}

TEST_P(SerialTest, CounterIsAdvancedInATransaction)
{
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 100), 100);
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 100), 101);
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 10, 50), 102);
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 50), 112);
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 500), 500);
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 8, 1, -5), 1);
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 7"), 500);

    // The last 32-bit number is refused and the counter stays where it was.
    Exec(L"UPDATE EVENTS_LASTSERIALNUM SET SERIALNUM = 2147483646 WHERE DEVICEID = 7");
    EXPECT_EQ(CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 0), 2147483647);
    auto f = CatchDb([&] { CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 1, 0); });
    EXPECT_TRUE(f.thrown);
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 7"), 2147483647);
    try {
        CEventsLastSerialSet::ReserveSerialNumbers(&ZDb(), 7, 0, 0);
        ADD_FAILURE() << "count 0 accepted";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST_P(SerialTest, ConcurrentReservationsNeverRepeat)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 20;
    std::vector<std::unique_ptr<CZynDatabase>> dbs;
    for (int i = 0; i < kThreads; ++i)
        ZYN_DB_OK(dbs.push_back(OpenAnother()));
    std::vector<std::vector<LONG>> got(kThreads);
    std::atomic<int> failures{0};
    std::string error;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                try {
                    got[t].push_back(CEventsLastSerialSet::ReserveSerialNumbers(dbs[t].get(), 3, 2, 10));
                } catch (CException* e) {
                    if (failures++ == 0)
                        error = DescribeDbException(e);
                    e->Delete();
                }
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0) << error;
    std::set<LONG> all;
    for (const auto& v : got)
        for (LONG first : v) {
            EXPECT_TRUE(all.insert(first).second) << first;
            EXPECT_TRUE(all.insert(first + 1).second) << first + 1;
        }
    EXPECT_EQ(all.size(), static_cast<size_t>(2 * kThreads * kEach));
    EXPECT_EQ(*all.begin(), 10);
    EXPECT_EQ(*all.rbegin(), 10 + 2 * kThreads * kEach - 1);
}

TEST_P(SerialTest, LastSerialSetReadsAndAddsRows)
{
    Exec(L"INSERT INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (4, 40)");
    Exec(L"INSERT INTO EVENTS_LASTSERIALNUM (DEVICEID, SERIALNUM) VALUES (5, 50)");
    CEventsLastSerialSet set(&ZDb());
    set.AddDeviceFilter(5, CMultiFilterRecordset::Equal);
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_DEVICEID, 5);
    EXPECT_EQ(set.m_SERIALNUM, 50);
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
    set.Close();

    // A device without a row: none is read, and one can be added.
    set.ClearFilter();
    set.AddDeviceFilter(6);
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    EXPECT_TRUE(set.IsEOF());
    ZYN_DB_OK(set.AddNew());
    set.m_DEVICEID = 6;
    set.m_SERIALNUM = 0;
    set.SetFieldDirty(&set.m_SERIALNUM);
    ZYN_DB_OK(set.Update());
    set.Close();
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 6 AND SERIALNUM = 0"), 1);

    // Edit and Update by its key.
    set.ClearFilter();
    set.AddDeviceFilter(4);
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    ZYN_DB_OK(set.Edit());
    set.m_SERIALNUM = 41;
    ZYN_DB_OK(set.Update());
    set.Close();
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 4"), 41);
    EXPECT_EQ(Count(L"SELECT SERIALNUM FROM EVENTS_LASTSERIALNUM WHERE DEVICEID = 5"), 50);
    EXPECT_EQ(set.GetDefaultConnect(), CString(L"ODBC;DSN=ORVAN"));
}

ZYN_INSTANTIATE_ENGINES(SerialTest);

} // namespace
