// The ODBC date structures when the ODBC headers come before the platform header.
#include <sql.h>
#include <sqltypes.h>

#include "platform/base/sqldate.h"

#include <cstddef>
#include <type_traits>

#include <gtest/gtest.h>

static_assert(sizeof(TIMESTAMP_STRUCT) == 16);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::year), int16_t>);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::second), uint16_t>);
static_assert(std::is_same_v<decltype(TIMESTAMP_STRUCT::fraction), uint32_t>);
static_assert(offsetof(TIMESTAMP_STRUCT, fraction) == 12);
static_assert(sizeof(DATE_STRUCT) == 6 && sizeof(TIME_STRUCT) == 6);

TEST(SqlDate, OdbcHeadersFirst)
{
    TIMESTAMP_STRUCT ts{2008, 7, 5, 15, 4, 5, 999999999u};
    EXPECT_EQ(ts.fraction, 999999999u);
}
