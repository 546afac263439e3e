#pragma once
// The archive lines of event video clips (EVENTS_VIDEO, 10 fields) and continuous video
// clips (CONTINUOUS_VIDEO, 9 fields), taken apart and put together without a database.
//
// Event-video line:
//   1 SERIALNUM   2 MACHINE   3 VIDEOSERVERID   4 CAMERAID   5 STARTTIME (local: empty)
//   6 ENDTIME (empty)   7 ARCHIVELOCATIONID   8 ARCHIVEFILE   9 START_TIME_UTC
//   10 END_TIME_UTC
// Continuous-video line:
//   1 CONTINUOUS_VIDEOID   2 VIDEOSERVERID   3 CAMERAID   4 STARTTIME (local: empty)
//   5 ENDTIME (empty)   6 ARCHIVELOCATIONID   7 ARCHIVEFILE   8 START_TIME_UTC
//   9 END_TIME_UTC
//
// Date-times are written in one fixed form whatever the user's locale: the English
// archive form "Jul 05 2008 03:04:05PM" that the other archive sets write. Earlier
// files hold the date and time in the locale of the machine that wrote them ("7/5/2008
// 3:04:05 PM", "05.07.2008 15:04:05"); those are still read, in the current user
// locale, when the text is not in a fixed form. Any valid date is accepted on reading
// (these columns are timestamps, not limited to the years of a CTime); an empty or
// unparsable date is NULL.
//
// ARCHIVEFILE is escaped on writing and unescaped on reading, so tabs and line breaks
// in a path come back; trailing blanks of the field are dropped on reading (they stood
// in for the line ends of older files).
//
// Shorter lines: an event-video line needs its first 7 fields, a continuous-video line
// its first 6; missing fields are NULL. A line is refused, with the reason, when it is
// shorter than that, longer than the format, when its first field is no number, or when
// another integer field holds text that is no number.

#include <optional>

#include "archive/archive_line.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {

inline constexpr int VideoEventLineFieldCount = 10;
inline constexpr int VideoEventLineMinFields = 7;
inline constexpr int ContinuousVideoLineFieldCount = 9;
inline constexpr int ContinuousVideoLineMinFields = 6;

struct VideoEventArchiveRow {
    LONG serialNum = 0;
    LONG machine = 0;
    LONG videoServerId = 0;
    LONG cameraId = 0;
    std::optional<TIMESTAMP_STRUCT> startTime; // local; not archived
    std::optional<TIMESTAMP_STRUCT> endTime;   // local; not archived
    LONG archiveLocationId = 0;
    std::optional<CString> archiveFile;
    std::optional<TIMESTAMP_STRUCT> startTimeUtc;
    std::optional<TIMESTAMP_STRUCT> endTimeUtc;
};

struct ContinuousVideoArchiveRow {
    LONG continuousVideoId = 0;
    LONG videoServerId = 0;
    LONG cameraId = 0;
    std::optional<TIMESTAMP_STRUCT> startTime; // local; not archived
    std::optional<TIMESTAMP_STRUCT> endTime;   // local; not archived
    LONG archiveLocationId = 0;
    std::optional<CString> archiveFile;
    std::optional<TIMESTAMP_STRUCT> startTimeUtc;
    std::optional<TIMESTAMP_STRUCT> endTimeUtc;
};

// A video date-time field: the fixed forms first, then the user locale's date and time
// (files written before the form was fixed). Seconds resolution. False for an empty or
// unparsable text.
bool ParseVideoArchiveTime(const CString& text, TIMESTAMP_STRUCT& out);

bool ParseVideoEventArchiveLine(const ArchiveFields& fields, VideoEventArchiveRow& row, CString& reason);
bool ParseContinuousVideoArchiveLine(const ArchiveFields& fields, ContinuousVideoArchiveRow& row, CString& reason);

void FormatVideoEventArchiveLine(const VideoEventArchiveRow& row, ArchiveLineWriter& writer);
void FormatContinuousVideoArchiveLine(const ContinuousVideoArchiveRow& row, ArchiveLineWriter& writer);

} // namespace zyn::archive
