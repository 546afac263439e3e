// The ODBC date structures when the platform header comes before the ODBC headers.
#include "platform/base/sqldate.h"

#include <sql.h>
#include <sqlext.h>
#include <sqltypes.h>

#include <cstddef>
#include <type_traits>

#include <gtest/gtest.h>

static_assert(sizeof(TIMESTAMP_STRUCT) == 16);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::year), SQLSMALLINT>);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::month), SQLUSMALLINT>);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::fraction), SQLUINTEGER>);
static_assert(std::is_same_v<SQL_TIMESTAMP_STRUCT, TIMESTAMP_STRUCT>);
static_assert(offsetof(TIMESTAMP_STRUCT, fraction) == 12);
static_assert(std::is_same_v<decltype(SQL_INTERVAL_STRUCT::interval_sign), SQLSMALLINT>);

TEST(SqlDate, PlatformHeaderFirst)
{
    // The ODBC headers' own uses of the types compile against our definitions.
    SQL_TIMESTAMP_STRUCT ts{2008, 7, 5, 15, 4, 5, 0};
    SQL_INTERVAL_STRUCT iv{};
    iv.interval_type = SQL_IS_DAY_TO_SECOND;
    iv.intval.day_second.hour = 3;
    EXPECT_EQ(ts.year, 2008);
    EXPECT_EQ(iv.intval.day_second.hour, 3u);
    EXPECT_EQ(sizeof(SQL_DATE_STRUCT), 6u);
}
