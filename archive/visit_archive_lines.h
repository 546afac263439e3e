#pragma once
// The archive lines of visits (VISIT, 15 fields) and visit events (VISIT_EVENT, 9
// fields), taken apart and put together without a database, so the restore can be
// checked (and fuzzed) on its own.
//
// Visit line:
//   1 VISITID   2 EMPID   3 VISITORID   4 TIMEIN (local: empty)   5 TIMEOUT (empty)
//   6 PURPOSE   7 LASTCHANGED (empty)   8 TYPE   9 SCHEDULED_TIMEIN   10 SCHEDULED_TIMEOUT
//   11 VISIT_EVENTID   12 TIMEIN_UTC   13 TIMEOUT_UTC   14 LASTCHANGED_UTC   15 VISIT_KEY
// Visit-event line:
//   1 VISIT_EVENTID   2 EMPID   3 LAST_CHANGED (local: empty)   4 SOURCE_ZYN_DBID
//   5 NAME   6 VISIT_EVENT_SIGN_IN_LOCATIONID   7 SCHEDULED_TIMEIN   8 SCHEDULED_TIMEOUT
//   9 LASTCHANGED_UTC
//
// Text (PURPOSE, VISIT_KEY, NAME) is escaped on writing and unescaped on reading, so
// tabs and line breaks in it come back. Date-times are written in the fixed English
// archive form and read back only for the years 1970 to 2036; an empty or unparsable
// date, or one outside those years, is NULL.
//
// Lines may be shorter than the full format (older writers stopped early): a visit line
// needs its first 8 fields, a visit-event line its first 4, and the missing fields are
// NULL. A line is refused, with the reason, when it is shorter than that, longer than
// the format, when its key (VISITID, VISIT_EVENTID) is no number, or when another
// integer field holds text that is no number: such a line is a line of another set or
// a damaged one, and a row made of it would be garbage.

#include <optional>

#include "archive/archive_line.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {

inline constexpr int VisitLineFieldCount = 15;
inline constexpr int VisitLineMinFields = 8;
inline constexpr int VisitEventLineFieldCount = 9;
inline constexpr int VisitEventLineMinFields = 4;

using OptionalTime = std::optional<TIMESTAMP_STRUCT>;

struct VisitArchiveRow {
    LONG visitId = 0;
    LONG empId = 0;
    LONG visitorId = 0;
    OptionalTime timeIn;          // local; not archived
    OptionalTime timeOut;         // local; not archived
    std::optional<CString> purpose;
    OptionalTime lastChanged;     // local; not archived
    LONG type = 0;
    OptionalTime scheduledTimeIn;
    OptionalTime scheduledTimeOut;
    std::optional<LONG> visitEventId; // written as 0 when NULL
    OptionalTime timeInUtc;
    OptionalTime timeOutUtc;
    OptionalTime lastChangedUtc;
    std::optional<CString> visitKey;
};

struct VisitEventArchiveRow {
    LONG visitEventId = 0;
    LONG empId = 0;
    OptionalTime lastChanged;     // local; not archived
    LONG sourceZynDbId = 0;
    std::optional<CString> name;
    std::optional<LONG> signInLocationId;
    OptionalTime scheduledTimeIn;
    OptionalTime scheduledTimeOut;
    OptionalTime lastChangedUtc;
};

// False, with the reason, when the line is refused (the row is then unspecified).
bool ParseVisitArchiveLine(const ArchiveFields& fields, VisitArchiveRow& row, CString& reason);
bool ParseVisitEventArchiveLine(const ArchiveFields& fields, VisitEventArchiveRow& row, CString& reason);

// Appends the line's fields. Local times are not archived (their fields are empty).
void FormatVisitArchiveLine(const VisitArchiveRow& row, ArchiveLineWriter& writer);
void FormatVisitEventArchiveLine(const VisitEventArchiveRow& row, ArchiveLineWriter& writer);

} // namespace zyn::archive
