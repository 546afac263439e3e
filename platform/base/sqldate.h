#pragma once
// The ODBC date, time, timestamp and interval structures, for code that holds database
// values without the ODBC headers. The guard is the ODBC headers' own, and the
// definitions are theirs member for member, so whichever header comes first defines
// them once and the other skips them: both must define everything the other keeps
// under that guard.

#include <cstdint>

#ifndef __SQLDATE
#define __SQLDATE

typedef struct tagDATE_STRUCT {
    int16_t year;
    uint16_t month;
    uint16_t day;
} DATE_STRUCT;
typedef DATE_STRUCT SQL_DATE_STRUCT;

typedef struct tagTIME_STRUCT {
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
} TIME_STRUCT;
typedef TIME_STRUCT SQL_TIME_STRUCT;

typedef struct tagTIMESTAMP_STRUCT {
    int16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint32_t fraction; // nanoseconds
} TIMESTAMP_STRUCT;
typedef TIMESTAMP_STRUCT SQL_TIMESTAMP_STRUCT;

typedef enum {
    SQL_IS_YEAR = 1,
    SQL_IS_MONTH = 2,
    SQL_IS_DAY = 3,
    SQL_IS_HOUR = 4,
    SQL_IS_MINUTE = 5,
    SQL_IS_SECOND = 6,
    SQL_IS_YEAR_TO_MONTH = 7,
    SQL_IS_DAY_TO_HOUR = 8,
    SQL_IS_DAY_TO_MINUTE = 9,
    SQL_IS_DAY_TO_SECOND = 10,
    SQL_IS_HOUR_TO_MINUTE = 11,
    SQL_IS_HOUR_TO_SECOND = 12,
    SQL_IS_MINUTE_TO_SECOND = 13
} SQLINTERVAL;

typedef struct tagSQL_YEAR_MONTH {
    uint32_t year;
    uint32_t month;
} SQL_YEAR_MONTH_STRUCT;

typedef struct tagSQL_DAY_SECOND {
    uint32_t day;
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
    uint32_t fraction;
} SQL_DAY_SECOND_STRUCT;

typedef struct tagSQL_INTERVAL_STRUCT {
    SQLINTERVAL interval_type;
    int16_t interval_sign;
    union {
        SQL_YEAR_MONTH_STRUCT year_month;
        SQL_DAY_SECOND_STRUCT day_second;
    } intval;
} SQL_INTERVAL_STRUCT;

#endif // __SQLDATE

static_assert(sizeof(DATE_STRUCT) == 6, "DATE_STRUCT layout");
static_assert(sizeof(TIME_STRUCT) == 6, "TIME_STRUCT layout");
static_assert(sizeof(TIMESTAMP_STRUCT) == 16, "TIMESTAMP_STRUCT layout");
