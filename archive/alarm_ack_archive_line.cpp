#include "archive/alarm_ack_archive_line.h"

#include <cwchar>

namespace zyn::archive {

namespace {

std::optional<TIMESTAMP_STRUCT> TimeField(const ArchiveFields& fields, int nField)
{
    TIMESTAMP_STRUCT ts{};
    if (fields.Time(nField, ts))
        return ts;
    return std::nullopt;
}

void WriteTime(ArchiveLineWriter& w, const std::optional<TIMESTAMP_STRUCT>& value)
{
    if (value)
        w.Time(*value);
    else
        w.Empty();
}

} // namespace

bool IsAlarmAckHistoryLine(const ArchiveFields& fields)
{
    return fields.Count() >= 1 && fields.Raw(1) == AlarmAckHistoryMarker;
}

bool ParseAlarmAckArchiveLine(const ArchiveFields& f, AlarmAckArchiveRow& row, CString& reason)
{
    const int n = f.Count();
    if (n < 9 || n > AlarmAckLineFieldCount) {
        reason.Format(L"an acknowledgement line has 9 to 14 fields, this one %d", n);
        return false;
    }
    row = AlarmAckArchiveRow();
    if (f.IsEmpty(4) || f.IsEmpty(5) || !f.IsNumber(4) || !f.IsNumber(5)) {
        reason = L"the panel or serial number (field 4 or 5) is not a number";
        return false;
    }
    if (!ReadLongField(f, 1, row.userId, reason) || !ReadLongField(f, 2, row.status, reason) ||
        !ReadLongField(f, 3, row.alarmId, reason) || !ReadLongField(f, 4, row.panelId, reason) ||
        !ReadLongField(f, 5, row.serialNum, reason) || !ReadLongField(f, 6, row.linkedPanelId, reason) ||
        !ReadLongField(f, 7, row.linkedSerialNum, reason))
        return false;
    row.ackTime = TimeField(f, 8);
    row.note = f.Text(9);
    if (n >= 10 && !ReadLongField(f, 10, row.inProgressUserId, reason))
        return false;
    if (n >= 11)
        row.inProgressAckTime = TimeField(f, 11);
    if (n >= 12)
        row.ackTimeUtc = TimeField(f, 12);
    if (n >= 13)
        row.inProgressAckTimeUtc = TimeField(f, 13);
    if (n >= 14)
        row.forwardedTimeUtc = TimeField(f, 14);
    return true;
}

bool ParseAlarmAckHistoryArchiveLine(const ArchiveFields& f, AlarmAckHistoryArchiveRow& row, CString& reason)
{
    const int n = f.Count();
    if (!IsAlarmAckHistoryLine(f)) {
        reason = L"not a history line";
        return false;
    }
    if (n < 6 || n > AlarmAckHistoryLineFieldCount) {
        reason.Format(L"a history line has 6 or 7 fields, this one %d", n);
        return false;
    }
    row = AlarmAckHistoryArchiveRow();
    if (!ReadLongField(f, 2, row.userId, reason) || !ReadLongField(f, 5, row.ackStatus, reason))
        return false;
    row.ackTimeUtc = TimeField(f, 3);
    row.extraTime = TimeField(f, 4);
    row.note = f.Text(6);
    return true;
}

void FormatAlarmAckArchiveLine(const AlarmAckArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.userId).Long(row.status).Long(row.alarmId).Long(row.panelId).Long(row.serialNum);
    w.Long(row.linkedPanelId).Long(row.linkedSerialNum);
    w.Empty(); // ACKTIME
    w.Text(row.note);
    w.Long(row.inProgressUserId);
    w.Empty(); // IN_PROGRESS_ACKTIME
    WriteTime(w, row.ackTimeUtc);
    WriteTime(w, row.inProgressAckTimeUtc);
    WriteTime(w, row.forwardedTimeUtc);
}

void FormatAlarmAckHistoryArchiveLine(const AlarmAckHistoryArchiveRow& row, ArchiveLineWriter& w)
{
    w.Raw(AlarmAckHistoryMarker).Long(row.userId);
    WriteTime(w, row.ackTimeUtc);
    w.Empty().Long(row.ackStatus).Text(row.note).Empty();
}

} // namespace zyn::archive
