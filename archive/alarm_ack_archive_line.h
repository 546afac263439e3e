#pragma once
// The archive lines of an alarm acknowledgement (ALARMSACK) and of its history
// (ALARM_ACK_HISTORY). Each acknowledgement line is followed by the lines of its
// history rows.
//
// Acknowledgement, 14 fields:
//   1 USERID  2 STATUS  3 SALARMID  4 SPANELID  5 SSERIALNUM  6 LPANELID  7 LSERIALNUM
//   8 (empty: ACKTIME is not archived)  9 ACKNOTE  10 IN_PROGRESS_USERID
//   11 (empty: IN_PROGRESS_ACKTIME is not archived)  12 ACK_TIME_UTC
//   13 IN_PROGRESS_ACKTIME_UTC  14 FORWARDED_TIME_UTC
// Lines of earlier versions stop after field 9 or later; the missing fields are NULL.
//
// History, 7 fields, the last empty (the line ends with a tab):
//   1 the marker U+0001 U+0002  2 USERID  3 ACKTIME_UTC  4 (empty)  5 ACKSTATUS
//   6 ACKNOTE  7 (empty)
// The marker cannot begin an acknowledgement line (its first field is a number) nor
// stand in a note (control characters are escaped).
//
// Lines are read as they are (no trimming: the trailing empty field is part of the
// format). Refused, and skipped by the restore: an acknowledgement line of fewer than
// 9 or more than 14 fields, or whose panel or serial number is not a number; a history
// line of fewer than 6 or more than 7 fields; an integer field holding text that is no
// number.

#include <optional>

#include "archive/archive_line.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {

// The first field of a history line.
inline constexpr const wchar_t* AlarmAckHistoryMarker = L"\x01\x02";
inline constexpr int AlarmAckLineFieldCount = 14;
inline constexpr int AlarmAckHistoryLineFieldCount = 7;

struct AlarmAckArchiveRow {
    LONG userId = 0;
    LONG status = 0;
    LONG alarmId = 0;
    LONG panelId = 0;
    LONG serialNum = 0;
    LONG linkedPanelId = 0;
    LONG linkedSerialNum = 0;
    std::optional<TIMESTAMP_STRUCT> ackTime; // field 8; written empty
    CString note;
    LONG inProgressUserId = 0;               // 0: not in progress
    std::optional<TIMESTAMP_STRUCT> inProgressAckTime; // field 11; written empty
    std::optional<TIMESTAMP_STRUCT> ackTimeUtc;
    std::optional<TIMESTAMP_STRUCT> inProgressAckTimeUtc;
    std::optional<TIMESTAMP_STRUCT> forwardedTimeUtc;
};

struct AlarmAckHistoryArchiveRow {
    LONG userId = 0;
    std::optional<TIMESTAMP_STRUCT> ackTimeUtc;
    std::optional<TIMESTAMP_STRUCT> extraTime; // field 4, kept but not stored in a column
    LONG ackStatus = 0;
    CString note;
};

// True when the line's first field is the history marker.
bool IsAlarmAckHistoryLine(const ArchiveFields& fields);

bool ParseAlarmAckArchiveLine(const ArchiveFields& fields, AlarmAckArchiveRow& row, CString& reason);
bool ParseAlarmAckHistoryArchiveLine(const ArchiveFields& fields, AlarmAckHistoryArchiveRow& row, CString& reason);

void FormatAlarmAckArchiveLine(const AlarmAckArchiveRow& row, ArchiveLineWriter& writer);
void FormatAlarmAckHistoryArchiveLine(const AlarmAckHistoryArchiveRow& row, ArchiveLineWriter& writer);

} // namespace zyn::archive
