// Takes arbitrary text apart as archive lines, the way the restores do: every line
// through the event and acknowledgement parsers, every field through the number, time
// and text conversions. A line that parses must write back to a line that parses to
// the same row; nothing may crash, hang or read out of bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "archive/alarm_ack_archive_line.h"
#include "archive/archive_line.h"
#include "archive/event_archive_line.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/dynamic_recordset.h"

using namespace zyn::archive;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameTime(const std::optional<TIMESTAMP_STRUCT>& a, const std::optional<TIMESTAMP_STRUCT>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->year == b->year && a->month == b->month && a->day == b->day && a->hour == b->hour &&
                     a->minute == b->minute && a->second == b->second);
}

CString Clean(const CString& text)
{
    CString copy(text);
    CDynamicRecordset::CleanupString(copy);
    return copy;
}

void CheckEvent(const ArchiveFields& fields)
{
    EventArchiveRow row;
    CString reason;
    if (!ParseEventArchiveLine(fields, row, reason)) {
        Require(!reason.IsEmpty());
        return;
    }
    ArchiveLineWriter w;
    FormatEventArchiveLine(row, w);
    Require(w.Count() == EventLineFieldCount);
    Require(w.Line().Find(L'\n') < 0 && w.Line().Find(L'\r') < 0);
    EventArchiveRow back;
    Require(ParseEventArchiveLine(ArchiveFields(w.Line()), back, reason));
    Require(back.serialNum == row.serialNum && back.cardNum == row.cardNum && back.machine == row.machine &&
            back.calledStation == row.calledStation && back.issueCode == row.issueCode &&
            back.wrkStationId == row.wrkStationId && back.userId == row.userId &&
            back.segmentId == row.segmentId && back.alarmMaskGroupId == row.alarmMaskGroupId);
    Require(back.eventText == Clean(row.eventText) && back.eventCode == Clean(row.eventCode));
    Require(SameTime(back.eventTimeUtc, row.eventTimeUtc));
}

void CheckAck(const ArchiveFields& fields)
{
    CString reason;
    if (IsAlarmAckHistoryLine(fields)) {
        AlarmAckHistoryArchiveRow row;
        if (!ParseAlarmAckHistoryArchiveLine(fields, row, reason))
            return;
        ArchiveLineWriter w;
        FormatAlarmAckHistoryArchiveLine(row, w);
        AlarmAckHistoryArchiveRow back;
        Require(ParseAlarmAckHistoryArchiveLine(ArchiveFields(w.Line()), back, reason));
        Require(back.userId == row.userId && back.ackStatus == row.ackStatus && back.note == Clean(row.note) &&
                SameTime(back.ackTimeUtc, row.ackTimeUtc));
        return;
    }
    AlarmAckArchiveRow row;
    if (!ParseAlarmAckArchiveLine(fields, row, reason))
        return;
    ArchiveLineWriter w;
    FormatAlarmAckArchiveLine(row, w);
    Require(w.Count() == AlarmAckLineFieldCount);
    AlarmAckArchiveRow back;
    Require(ParseAlarmAckArchiveLine(ArchiveFields(w.Line()), back, reason));
    Require(back.userId == row.userId && back.panelId == row.panelId && back.serialNum == row.serialNum &&
            back.linkedSerialNum == row.linkedSerialNum && back.inProgressUserId == row.inProgressUserId &&
            back.note == Clean(row.note) && SameTime(back.ackTimeUtc, row.ackTimeUtc) &&
            SameTime(back.forwardedTimeUtc, row.forwardedTimeUtc));
}

void CheckFields(const ArchiveFields& fields)
{
    for (int i = 1; i <= fields.Count() && i <= 40; ++i) {
        (void)fields.Long(i);
        (void)fields.BigInt(i);
        TIMESTAMP_STRUCT ts{};
        if (fields.Time(i, ts)) {
            Require(ts.year >= 1970 && ts.year <= 2036);
            TIMESTAMP_STRUCT again{};
            Require(ParseArchiveTime(FormatArchiveTimestamp(ts), again));
        }
        const CString text = fields.Text(i);
        Require(UnescapeArchiveText(EscapeArchiveText(text)) == Clean(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::wstring text =
        zyn::base::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        CString line(text.c_str() + start, static_cast<int>(end - start));
        if (!line.IsEmpty() && line[line.GetLength() - 1] == L'\r')
            line = line.Left(line.GetLength() - 1);
        try {
            CheckAck(ArchiveFields(line));      // acknowledgement lines are read as they are
            CString trimmed(line);
            trimmed.TrimRight();
            const ArchiveFields fields(trimmed); // event lines trimmed
            CheckEvent(fields);
            CheckFields(fields);
        } catch (CException* e) {
            e->Delete(); // the parsers do not throw; a conversion that does must say why
        }
        start = end + 1;
    }
    return 0;
}
