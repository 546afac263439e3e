#pragma once
// Conversions between database timestamps, OLE date-times, CTime and text.

#include "platform/base/cstring.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"
#include "platform/base/sqldate.h"

// Time flags of ZynFormatTimestamp.
inline constexpr DWORD ZYN_TIME_HOURS_MINUTES = 0; // the locale's time without seconds
inline constexpr DWORD ZYN_TIME_WITH_SECONDS = 1;  // the locale's time with seconds

// Formats a timestamp as the user locale's date text, the separator and the locale's
// time text (time first when `order` is non-zero). `dateFlags` are the date-format flags
// (0: the short date). `reserved` is not used. Empties `out` and returns false when the
// timestamp is not a valid date and time.
bool ZynFormatTimestamp(const TIMESTAMP_STRUCT& value, CString& out, DWORD dateFlags, DWORD timeFlags,
    const CString& separator, int order, bool reserved);

// All fields zero when the date is not valid.
TIMESTAMP_STRUCT ZynOleDateTimeToTimestamp(const COleDateTime& value);

// Parses date-time text into a timestamp: first the fixed English forms the archive
// files use ("Jul 05 2008 03:04:05PM", "Jul  5 2008  3:04PM", "2008-07-05 15:04:05"),
// then the user locale's forms. The text must give the whole date, day, month and year
// (a missing time is midnight): a partial date ("Jan 02", "1 2", "July 2008") does not
// parse, so the result never depends on the day the text is read. False when the text
// does not parse (an empty text does not parse); `out` is then not to be used.
bool ZynTextToTimestamp(const CString& text, TIMESTAMP_STRUCT& out);

// True when the timestamp is a valid date and time.
bool ZynTimestampToOleDateTime(const TIMESTAMP_STRUCT& value, COleDateTime& out);

// A local CTime from the timestamp's fields; false, leaving `out` unchanged, when the
// year is before 1970 or after 2036 or the fields do not make a time.
bool ZynTimestampToTime(const TIMESTAMP_STRUCT& value, CTime& out);

// Text in the fixed archive form "%b %d %Y %I:%M:%S%p" with English month names and
// AM/PM whatever the locale ("Jul 05 2008 03:04:05PM"); empty for a null or invalid value.
CString ZynFormatArchiveTime(const COleDateTime& value);
