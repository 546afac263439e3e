#include "archive/visit_archive_lines.h"

#include "archive/archive_line_fields.h"

namespace zyn::archive {

namespace {

// A date field of a visit line: an archive date of the years 1970 to 2036.
OptionalTime DateField(const ArchiveFields& f, int n) { return fields::ArchiveTime(f, n); }

void WriteTime(ArchiveLineWriter& w, const OptionalTime& t)
{
    if (t)
        w.Time(*t);
    else
        w.Empty();
}

void WriteText(ArchiveLineWriter& w, const std::optional<CString>& t)
{
    if (t)
        w.Text(*t);
    else
        w.Empty();
}

} // namespace

bool ParseVisitArchiveLine(const ArchiveFields& f, VisitArchiveRow& row, CString& reason)
{
    row = VisitArchiveRow{};
    if (!fields::CheckCount(f, VisitLineMinFields, VisitLineFieldCount, L"visit", reason))
        return false;
    if (!fields::Required(f, 1, L"VISITID", row.visitId, reason) ||
        !fields::NumberOrZero(f, 2, L"EMPID", row.empId, reason) ||
        !fields::NumberOrZero(f, 3, L"VISITORID", row.visitorId, reason) ||
        !fields::NumberOrZero(f, 8, L"TYPE", row.type, reason) ||
        !fields::NumberOrNull(f, 11, L"VISIT_EVENTID", row.visitEventId, reason))
        return false;
    row.timeIn = DateField(f, 4);
    row.timeOut = DateField(f, 5);
    row.purpose = fields::Text(f, 6, false);
    row.lastChanged = DateField(f, 7);
    row.scheduledTimeIn = DateField(f, 9);
    row.scheduledTimeOut = DateField(f, 10);
    row.timeInUtc = DateField(f, 12);
    row.timeOutUtc = DateField(f, 13);
    row.lastChangedUtc = DateField(f, 14);
    // The key ends the line: trailing white space there is the remains of a line end.
    row.visitKey = fields::Text(f, 15, true);
    return true;
}

bool ParseVisitEventArchiveLine(const ArchiveFields& f, VisitEventArchiveRow& row, CString& reason)
{
    row = VisitEventArchiveRow{};
    if (!fields::CheckCount(f, VisitEventLineMinFields, VisitEventLineFieldCount, L"visit-event", reason))
        return false;
    if (!fields::Required(f, 1, L"VISIT_EVENTID", row.visitEventId, reason) ||
        !fields::NumberOrZero(f, 2, L"EMPID", row.empId, reason) ||
        !fields::NumberOrZero(f, 4, L"SOURCE_ZYN_DBID", row.sourceZynDbId, reason) ||
        !fields::NumberOrNull(f, 6, L"VISIT_EVENT_SIGN_IN_LOCATIONID", row.signInLocationId, reason))
        return false;
    row.lastChanged = DateField(f, 3);
    row.name = fields::Text(f, 5, false);
    row.scheduledTimeIn = DateField(f, 7);
    row.scheduledTimeOut = DateField(f, 8);
    row.lastChangedUtc = DateField(f, 9);
    return true;
}

void FormatVisitArchiveLine(const VisitArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.visitId).Long(row.empId).Long(row.visitorId);
    w.Empty().Empty(); // TIMEIN, TIMEOUT: local times are not archived
    WriteText(w, row.purpose);
    w.Empty(); // LASTCHANGED
    w.Long(row.type);
    WriteTime(w, row.scheduledTimeIn);
    WriteTime(w, row.scheduledTimeOut);
    w.Long(row.visitEventId.value_or(0));
    WriteTime(w, row.timeInUtc);
    WriteTime(w, row.timeOutUtc);
    WriteTime(w, row.lastChangedUtc);
    WriteText(w, row.visitKey);
}

void FormatVisitEventArchiveLine(const VisitEventArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.visitEventId).Long(row.empId);
    w.Empty(); // LAST_CHANGED: local time is not archived
    w.Long(row.sourceZynDbId);
    WriteText(w, row.name);
    w.Long(row.signInLocationId.value_or(0));
    WriteTime(w, row.scheduledTimeIn);
    WriteTime(w, row.scheduledTimeOut);
    WriteTime(w, row.lastChangedUtc);
}

} // namespace zyn::archive
