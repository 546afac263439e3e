#pragma once
// The archive line of an event (EVENTS): 32 tab-separated fields.
//
//  1 SERIALNUM        9 CARDNUM (64-bit)   17 CALLED_STATION (-1)  25 AREAID
//  2 EVENTIME (empty) 10 MACHINE           18 TRANSMITTERID        26 USERID
//  3 SERIALNUM again  11 EMPID             19 TRANSMITTER_INPUTID  27 EVENTCODE
//  4 DEVID            12 INPUTARG          20 ISSUECODE (-1)       28 SEGMENTID (empty: NULL)
//  5 INPUTDEVID       13 TRIGGER_EVENT     21 WRKSTATIONID         29 ZYN_DBID
//  6 EVENTTYPE        14 FUNCLIST          22 EVENT_TEXT           30 AREAAPBID
//  7 EVENTID          15 ASSETID           23 RECEIVERID           31 ALARMMASKGROUPID
//  8 EVENTDATA        16 EVENT_PARAMID     24 LINENUM              32 EVENT_TIME_UTC
//
// Earlier versions wrote shorter lines, ending after field 13, 14, 19, 20, 21, 26, 29,
// 30 or 31; the fields they lack take the defaults of the row below. A line is read
// after its trailing white space is trimmed, so an empty last field falls away.
//
// A line is refused (and the restore skips it) when its field count is none of those,
// when SERIALNUM is not a number, or when another integer field holds text that is no
// number: such a line was not written by this set (a line of another set in the same
// file, or a damaged one), and inserting it would make a row of garbage.

#include <cstdint>
#include <optional>

#include "archive/archive_line.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive {

inline constexpr int EventLineFieldCount = 32;

// One event as the archive line carries it (before identifier mapping).
struct EventArchiveRow {
    LONG serialNum = 0;
    std::optional<TIMESTAMP_STRUCT> eventTime; // EVENTIME, local; written empty
    LONG devId = 0;
    LONG inputDevId = 0;
    LONG eventType = 0;
    LONG eventId = 0;
    LONG eventData = 0;
    int64_t cardNum = 0;
    LONG machine = 0;
    LONG empId = 0;
    LONG inputArg = 0;
    LONG triggerEvent = 0;
    LONG funcList = 0;
    LONG assetId = 0;
    LONG eventParamId = 0;
    LONG calledStation = -1;
    LONG transmitterId = 0;
    LONG transmitterInputId = 0;
    LONG issueCode = -1;
    LONG wrkStationId = 0;
    CString eventText;
    LONG receiverId = 0;
    LONG lineNum = 0;
    LONG areaId = 0;
    LONG userId = 0;
    CString eventCode;
    std::optional<LONG> segmentId; // NULL: no segment
    LONG zynDbId = 0;
    LONG areaApbId = 0;
    LONG alarmMaskGroupId = 0;
    std::optional<TIMESTAMP_STRUCT> eventTimeUtc;
};

// True for the field counts a line may have: 13, 14, 19, 20, 21, 26, 29, 30, 31, 32.
bool IsEventLineLength(int nFields);

// Takes a (trimmed) line apart. False, with the reason, when the line is refused; the
// row is then unspecified.
bool ParseEventArchiveLine(const ArchiveFields& fields, EventArchiveRow& row, CString& reason);

// Appends the 32 fields of the row (EVENTIME is not archived: field 2 is empty).
void FormatEventArchiveLine(const EventArchiveRow& row, ArchiveLineWriter& writer);

} // namespace zyn::archive
