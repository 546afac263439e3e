// CMultiFilterRecordset against real rows on SQLite and PostgreSQL: every operator, each
// value type bound as a parameter, the set's own filter string, clearing.
#include <gtest/gtest.h>

#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/database/sql_statement.h"
#include "tests/dblib/dblib_fixture.h"
#include "tests/dblib/test_event_set.h"

using namespace zyn::test;
using Serials = std::vector<LONG>;

namespace {

class FilterTest : public ZynDbTest {
protected:
    void SetUp() override
    {
        ZynDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const TestEventRow& r : FiveEvents())
            ZYN_DB_OK(InsertEvent(ZDb(), r));
    }

    // Opens a set with the filters that f adds and returns the serials it reads.
    template <class F>
    Serials Run(F f, bool paramsInFieldExchange = false)
    {
        TestEventSet set(&ZDb(), paramsInFieldExchange);
        set.m_strSort = L"SERIALNUM";
        f(set);
        Serials s;
        try {
            set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
            s = set.Serials();
            set.Close();
        } catch (CException* e) {
            ADD_FAILURE() << DescribeDbException(e);
            e->Delete();
        }
        return s;
    }
};

TEST_P(FilterTest, EveryOperatorOnIntegers)
{
    using M = CMultiFilterRecordset;
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::Equal); }), (Serials{3}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::NotEqual); }), (Serials{1, 2, 4, 5}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::LessThan); }), (Serials{1, 2}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::LessOrEqual); }), (Serials{1, 2, 3}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::GreaterThan); }), (Serials{4, 5}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::GreaterOrEqual); }), (Serials{3, 4, 5}));
    // Qualified and bracketed names, int and LONG alike; conditions are ANDed.
    EXPECT_EQ(Run([](auto& s) {
        s.AddFilterInt(L"EVENTS.MACHINE", 10, M::Equal);
        s.AddFilterLong(L"[EVENTS].[EVENTTYPE]", 1, M::GreaterThan);
    }),
        (Serials{3, 5}));
    // Both ways of binding the parameters give the same rows.
    EXPECT_EQ(Run([](auto& s) { s.AddFilterLong(L"EVENTTYPE", 3, M::GreaterOrEqual); }, true), (Serials{3, 4, 5}));
}

TEST_P(FilterTest, SixtyFourBitTextAndNullFilters)
{
    using M = CMultiFilterRecordset;
    const int64_t base = int64_t{1} << 40;
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterBigInt(L"CARDNUM", base + 2, M::GreaterThan); }), (Serials{3, 4, 5}));
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterBigInt(L"CARDNUM", base + 4, M::Equal); }), (Serials{4}));
    // Text is bound, so its quote is data, not SQL.
    EXPECT_EQ(Run([](auto& s) { s.AddFilterText(L"EVENT_TEXT", L"it's 3", M::Equal); }), (Serials{3}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterText(L"EVENT_TEXT", L"row%", M::Like); }), (Serials{1, 2, 4, 5}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterText(L"EVENT_TEXT", L"x' OR '1'='1", M::Equal); }), (Serials{}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterNull(L"SEGMENTID", M::IsNull); }), (Serials{2, 4}));
    EXPECT_EQ(Run([](auto& s) { s.AddFilterNull(L"SEGMENTID", M::IsNotNull); }), (Serials{1, 3, 5}));
    EXPECT_EQ(Run([](auto& s) {
        s.AddFilterNull(L"SEGMENTID", M::IsNull);
        s.AddFilterLong(L"EVENTTYPE", 4, M::Equal);
    }),
        (Serials{4}));
}

TEST_P(FilterTest, DateTimeFiltersInEachForm)
{
    using M = CMultiFilterRecordset;
    const COleDateTime third(2008, 7, 3, 12, 0, 0);
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTime(L"EVENT_TIME_UTC", third, M::LessThan); }), (Serials{1, 2}));
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTime(L"EVENT_TIME_UTC", third, M::LessOrEqual); }), (Serials{1, 2, 3}));
    // Equal times compare equal: the bound value has the stored form.
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTime(L"EVENT_TIME_UTC", third, M::Equal); }), (Serials{3}));
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTime(L"EVENT_TIME_UTC", third, M::GreaterThan); }), (Serials{4, 5}));
    const TIMESTAMP_STRUCT fourth{2008, 7, 4, 12, 0, 0, 0};
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTimeStamp(L"EVENT_TIME_UTC", fourth, M::GreaterOrEqual); }),
        (Serials{4, 5}));
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTimeStamp(L"EVENT_TIME_UTC", fourth, M::NotEqual); }),
        (Serials{1, 2, 3, 5}));
    EXPECT_EQ(Run([&](auto& s) { s.AddFilterTime(L"EVENT_TIME_UTC", CTime(2008, 7, 2, 12, 0, 0), M::Equal); }),
        (Serials{2}));
}

TEST_P(FilterTest, LiteralTimesCompareEqualToBoundOnes)
{
    for (const TestEventRow& r : FiveEvents()) {
        CString sql = L"SELECT COUNT(*) FROM EVENTS WHERE EVENT_TIME_UTC = " +
            CSQLStatement::FormatTimestamp(&ZDb(), r.time);
        EXPECT_EQ(Count(sql), 1) << zyn::base::ToUtf8(sql.GetString());
    }
    // And a time of the purge statement selects what the bound filter selects.
    CSQLStatement st(&ZDb());
    for (LPCWSTR c : {L"SERIALNUM", L"MACHINE", L"EVENTTYPE", L"CARDNUM", L"EVENT_TEXT", L"EVENT_TIME_UTC", L"SEGMENTID"})
        st.AddToSelect(L"EVENTS", c);
    st.AddToWhere(L"EVENTS", L"EVENT_TIME_UTC", COleDateTime(2008, 7, 3, 12, 0, 0), CMultiFilterRecordset::LessOrEqual);
    TestEventSet set(&ZDb());
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, st.FormatSelect() + L" ORDER BY SERIALNUM", CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{1, 2, 3}));
}

TEST_P(FilterTest, OwnFilterStringIsAndedAndKept)
{
    TestEventSet set(&ZDb());
    set.m_strFilter = L"MACHINE = 10 OR MACHINE = 30";
    set.m_strSort = L"SERIALNUM";
    set.AddFilterLong(L"EVENTTYPE", 2, CMultiFilterRecordset::GreaterOrEqual);
    EXPECT_EQ(zyn::base::ToUtf8(set.ComposeFilter().GetString()),
        "(MACHINE = 10 OR MACHINE = 30) AND EVENTTYPE >= ?");
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{3, 5}));
    ZYN_DB_OK(set.Requery());
    EXPECT_EQ(set.Serials(), (Serials{3, 5}));
    set.Close();
    EXPECT_EQ(set.m_strFilter, CString(L"MACHINE = 10 OR MACHINE = 30"));

    // The filters stay for the next Open until cleared.
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{3, 5}));
    set.Close();
    set.ClearFilter();
    EXPECT_EQ(set.GetFilterCount(), 0);
    ZYN_DB_OK(set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    EXPECT_EQ(set.Serials(), (Serials{1, 3, 5}));
    set.Close();

    // "1=0" reads nothing and leaves the set ready for AddNew.
    set.m_strFilter = L"1=0";
    ZYN_DB_OK(set.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, 0));
    EXPECT_TRUE(set.IsEOF());
    set.Close();
}

TEST_P(FilterTest, BadFiltersAreRefusedAndNothingIsAdded)
{
    TestEventSet set(&ZDb());
    auto refused = [&](auto f) {
        try {
            f();
        } catch (CInvalidArgException* e) {
            e->Delete();
            return true;
        }
        return false;
    };
    using M = CMultiFilterRecordset;
    EXPECT_TRUE(refused([&] { set.AddFilterLong(L"EVENTTYPE = 1 OR 1", 1); }));
    EXPECT_TRUE(refused([&] { set.AddFilterLong(L"", 1); }));
    EXPECT_TRUE(refused([&] { set.AddFilterLong(L"EVENTTYPE", 1, M::IsNull); }));
    EXPECT_TRUE(refused([&] { set.AddFilterNull(L"EVENTTYPE", M::Equal); }));
    EXPECT_TRUE(refused([&] { set.AddFilterLong(L"EVENTTYPE", 1, static_cast<M::ParamCompOperator>(99)); }));
    EXPECT_TRUE(refused([&] { set.AddFilterLong(L"EVENTTYPE", 1, M::Equal, 1); }));
    EXPECT_TRUE(refused([&] { set.AddFilterText(L"EVENT_TEXT", nullptr); }));
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(refused([&] { set.AddFilterTime(L"EVENT_TIME_UTC", invalid); }));
    EXPECT_TRUE(refused([&] { set.AddFilterTimeStamp(L"EVENT_TIME_UTC", TIMESTAMP_STRUCT{2008, 2, 30, 0, 0, 0, 0}); }));
    EXPECT_EQ(set.GetFilterCount(), 0);
}

ZYN_INSTANTIATE_ENGINES(FilterTest);

} // namespace
