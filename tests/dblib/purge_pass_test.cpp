// The shape of a purge pass over the library's classes: a write-first transaction, a
// typed time filter, the row ID as the key, Delete per row while streaming. Memory stays
// flat and exactly the filtered rows go.
#include <gtest/gtest.h>

#include "platform/suite/database/transaction_scope.h"
#include "tests/dblib/dblib_fixture.h"
#include "tests/dblib/test_event_set.h"

using namespace zyn::test;

namespace {

constexpr int kRows = 20000;

class PurgePassTest : public ZynDbTest {
protected:
    void SetUp() override
    {
        ZynDbTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Serial x at 2008-01-01 00:00:00 + x minutes; every fifth row twice.
        if (IsPostgres())
            Exec(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TEXT, EVENT_TIME_UTC) SELECT x, x % 5, "
                 L"lpad(x::text, 200, '0'), TIMESTAMP '2008-01-01 00:00:00' + x * INTERVAL '1 minute' "
                 L"FROM generate_series(1, 20000) AS x");
        else
            Exec(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TEXT, EVENT_TIME_UTC) WITH RECURSIVE c(x) AS "
                 L"(SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 20000) SELECT x, x % 5, printf('%0200d', x), "
                 L"strftime('%Y-%m-%d %H:%M:%S', '2008-01-01 00:00:00', '+' || x || ' minutes') FROM c");
        Exec(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENT_TEXT, EVENT_TIME_UTC) SELECT SERIALNUM, MACHINE, "
             L"EVENT_TEXT, EVENT_TIME_UTC FROM EVENTS WHERE MACHINE = 0");
    }
};

TEST_P(PurgePassTest, DeletesTheFilteredRowsWithFlatMemory)
{
    // The cut-off falls after serial 15000 (2008-01-11 10:00:00 is minute 15000).
    const TIMESTAMP_STRUCT cutoff{2008, 1, 11, 10, 0, 0, 0};
    zyn::db::TransactionScope tx(ZDb(), true);
    TestEventSet set(&ZDb());
    ASSERT_TRUE(set.AddColumnToSet(L"EVTROWID", nullptr, TRUE));
    set.AddFilterTimeStamp(L"EVENT_TIME_UTC", cutoff, CMultiFilterRecordset::LessThan);
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    size_t before = 0, peak = 0;
    int rows = 0;
    while (!set.IsEOF()) {
        ++rows;
        ZYN_DB_OK(set.Delete());
        if (rows == 2000)
            before = LiveHeapBytes();
        if (rows > 2000 && rows % 1000 == 0)
            peak = std::max(peak, LiveHeapBytes());
        set.MoveNext();
    }
    set.Close();
    ZYN_DB_OK(tx.Commit());
    // 14999 rows before the cut-off, and the 2999 doubles among them.
    EXPECT_EQ(rows, 14999 + 2999);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM EVENTS"), (kRows - 14999) + (kRows / 5 - 2999));
    EXPECT_EQ(Count(L"SELECT MIN(SERIALNUM) FROM EVENTS"), 15000);
    const size_t growth = peak > before ? peak - before : 0;
    EXPECT_LT(growth, size_t{kRows} * 200 / 4) << "heap grew by " << growth << " bytes over the pass";
}

ZYN_INSTANTIATE_ENGINES(PurgePassTest);

} // namespace
