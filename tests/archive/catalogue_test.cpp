// The archive configuration and catalogue sets.

#include <gtest/gtest.h>

#include "archive/archive_config_set.h"
#include "archive/archive_detail_set.h"
#include "tests/archive/archive_fixture.h"

using namespace zyn::test;

TEST(ArchiveDetailVersion, PartsOfTheVersionText)
{
    LArchiveDetailSet set(nullptr);
    set.m_VERSION = L"5.12.110";
    EXPECT_EQ(set.GetVersionPart(0), 5);
    EXPECT_EQ(set.GetVersionPart(1), 12);
    EXPECT_EQ(set.GetVersionPart(2), 110);
    EXPECT_EQ(set.GetVersionPart(3), -1);
    EXPECT_EQ(set.GetVersionPart(-1), -1);
    set.m_VERSION = L"7";
    EXPECT_EQ(set.GetVersionPart(0), 0);
    EXPECT_EQ(set.GetVersionPart(1), 0);
    EXPECT_EQ(set.GetVersionPart(2), 7);
    set.m_VERSION = L"1.2.3.4  ";
    EXPECT_EQ(set.GetVersionPart(0), 1);
    EXPECT_EQ(set.GetVersionPart(1), 2); // "2.3": the number before the point
    EXPECT_EQ(set.GetVersionPart(2), 4);
    EXPECT_EQ(U8(set.m_VERSION), "1.2.3.4"); // trimmed in place
    set.m_VERSION = L"x.y.z";
    EXPECT_EQ(set.GetVersionPart(0), 0);
    set.SetVersion(6, 0, 12);
    EXPECT_EQ(U8(set.m_VERSION), "6.0.12");
    set.SetVersion(-1, 2147483647, 0);
    EXPECT_EQ(U8(set.GetVersion()), "-1.2147483647.0");
}

namespace {
class CatalogueTest : public ArchiveDbTest {};
} // namespace

TEST_P(CatalogueTest, CatalogueRowsAreWrittenAndReadBack)
{
    LArchiveDetailSet set(ZDbPtr());
    const LONG id = set.GetNextID();
    EXPECT_GE(id, 1);
    set.m_strFilter = L"1=0";
    set.Open();
    set.AddNew();
    set.m_ID = id;
    set.m_AD_TIMESTAMP = Ts(2020, 5, 6, 7, 8, 9);
    set.m_FILEPATH = L"/var/archive/2020-05-06.txt";
    set.m_AD_WORKSTATION = L"station";
    set.m_DATEFIRST = Ts(2019, 1, 1, 0, 0, 1);
    set.m_DATELAST = Ts(2019, 12, 31, 23, 59, 59);
    set.m_EVENTCOUNT = 123;
    set.m_AD_USER = L"operator";
    set.m_EVENTTYPE = -3;
    set.SetVersion(6, 0, 12);
    set.m_DELETE_USER = L"nobody   ";
    set.m_ARCHIVE_STATUS = 1;
    set.Update();
    set.Close();
    EXPECT_GT(set.GetNextID(), id);

    LArchiveDetailSet back(ZDbPtr());
    back.AddTimeFilter(COleDateTime(2020, 5, 6, 7, 8, 9), CMultiFilterRecordset::Equal);
    back.Open();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_ID, id);
    EXPECT_EQ(back.GetDateFirst().GetSecond(), 1);
    EXPECT_EQ(back.GetDateLast().GetYear(), 2019);
    EXPECT_EQ(back.GetDateLast().GetHour(), 23);
    EXPECT_EQ(back.GetTimestamp().GetMinute(), 8);
    EXPECT_NE(back.GetDeleteTime().GetStatus(), COleDateTime::valid); // NULL column
    EXPECT_EQ(back.GetVersionPart(2), 12);
    EXPECT_EQ(U8(back.GetDeleteUser()), "nobody");
    EXPECT_TRUE(back.GetDeleteNote().IsEmpty());
    EXPECT_EQ(back.m_EVENTTYPE, -3);
    back.Close();

    LArchiveDetailSet none(ZDbPtr());
    none.AddTimeFilter(COleDateTime(2020, 5, 6, 7, 8, 9), CMultiFilterRecordset::LessThan);
    none.Open();
    EXPECT_TRUE(none.IsEOF());
    none.Close();
}

TEST_P(CatalogueTest, ConfigurationRowsAreRead)
{
    ExecParams(L"INSERT INTO ARCHIVE_CONFIG (TRANS_TYPE, DEST_TYPE, DAYS_OLD, DEFAULT_PATH) VALUES (?, ?, ?, ?)",
        {int32_t{-1}, int32_t{ZynArchiveDeleteOnly}, int32_t{30}, CString(L"/archive")});
    ExecParams(L"INSERT INTO ARCHIVE_CONFIG (TRANS_TYPE, DEST_TYPE, DAYS_OLD, DEFAULT_PATH) VALUES (?, ?, ?, ?)",
        {int32_t{100}, int32_t{ZynArchiveToFile}, int32_t{90}, CString(L"/archive/events")});
    CArchiveConfigSet set(ZDbPtr());
    EXPECT_EQ(U8(set.GetDefaultConnect()), "ODBC;DSN=LocalSourceControl");
    set.AddFilterLong(L"TRANS_TYPE", 0, CMultiFilterRecordset::GreaterThan);
    set.Open();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_TRANS_TYPE, 100);
    EXPECT_EQ(set.m_DEST_TYPE, ZynArchiveToFile);
    EXPECT_EQ(set.m_DAYS_OLD, 90);
    EXPECT_EQ(U8(set.m_DEFAULT_PATH), "/archive/events");
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
    set.Close();
}

ZYN_INSTANTIATE_ENGINES(CatalogueTest);
