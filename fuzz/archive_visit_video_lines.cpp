// Takes arbitrary text apart as the visit, visit-event, event-video and continuous-video
// archive lines, the way their restores do (trailing white space trimmed first). A line
// that parses must write back to a line of the full format that parses to the same row;
// a refused line must say why; nothing may crash, hang or read out of bounds.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "archive/video_archive_lines.h"
#include "archive/visit_archive_lines.h"
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

bool Same(const std::optional<TIMESTAMP_STRUCT>& a, const std::optional<TIMESTAMP_STRUCT>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->year == b->year && a->month == b->month && a->day == b->day && a->hour == b->hour &&
                     a->minute == b->minute && a->second == b->second);
}

// What a text becomes once written: code points UTF-16 cannot carry are replaced.
std::optional<CString> Clean(const std::optional<CString>& text)
{
    if (!text)
        return text;
    CString copy(*text);
    CDynamicRecordset::CleanupString(copy);
    return copy;
}

template <typename Row>
bool Reparse(const ArchiveLineWriter& w, int nFields, bool (*parse)(const ArchiveFields&, Row&, CString&), Row& back)
{
    Require(w.Count() == nFields);
    Require(w.Line().Find(L'\n') < 0 && w.Line().Find(L'\r') < 0);
    CString line(w.Line());
    line.TrimRight();
    CString reason;
    return parse(ArchiveFields(line), back, reason);
}

void CheckVisit(const ArchiveFields& f)
{
    VisitArchiveRow row;
    CString reason;
    if (!ParseVisitArchiveLine(f, row, reason)) {
        Require(!reason.IsEmpty());
        return;
    }
    ArchiveLineWriter w;
    FormatVisitArchiveLine(row, w);
    VisitArchiveRow back;
    Require(Reparse(w, VisitLineFieldCount, &ParseVisitArchiveLine, back));
    Require(back.visitId == row.visitId && back.empId == row.empId && back.visitorId == row.visitorId &&
            back.type == row.type && back.visitEventId.value_or(0) == row.visitEventId.value_or(0));
    Require(back.purpose == Clean(row.purpose) && back.visitKey == Clean(row.visitKey));
    Require(!back.timeIn && !back.timeOut && !back.lastChanged); // local times are not written
    Require(Same(back.scheduledTimeIn, row.scheduledTimeIn) && Same(back.scheduledTimeOut, row.scheduledTimeOut) &&
            Same(back.timeInUtc, row.timeInUtc) && Same(back.timeOutUtc, row.timeOutUtc) &&
            Same(back.lastChangedUtc, row.lastChangedUtc));
    for (const auto* t : {&row.timeIn, &row.timeOut, &row.lastChanged, &row.scheduledTimeIn, &row.timeInUtc})
        Require(!*t || ((*t)->year >= 1970 && (*t)->year <= 2036));
}

void CheckVisitEvent(const ArchiveFields& f)
{
    VisitEventArchiveRow row;
    CString reason;
    if (!ParseVisitEventArchiveLine(f, row, reason)) {
        Require(!reason.IsEmpty());
        return;
    }
    ArchiveLineWriter w;
    FormatVisitEventArchiveLine(row, w);
    VisitEventArchiveRow back;
    Require(Reparse(w, VisitEventLineFieldCount, &ParseVisitEventArchiveLine, back));
    Require(back.visitEventId == row.visitEventId && back.empId == row.empId &&
            back.sourceZynDbId == row.sourceZynDbId &&
            back.signInLocationId.value_or(0) == row.signInLocationId.value_or(0));
    Require(back.name == Clean(row.name));
    Require(Same(back.scheduledTimeIn, row.scheduledTimeIn) && Same(back.scheduledTimeOut, row.scheduledTimeOut) &&
            Same(back.lastChangedUtc, row.lastChangedUtc));
}

void CheckVideoEvent(const ArchiveFields& f)
{
    VideoEventArchiveRow row;
    CString reason;
    if (!ParseVideoEventArchiveLine(f, row, reason)) {
        Require(!reason.IsEmpty());
        return;
    }
    ArchiveLineWriter w;
    FormatVideoEventArchiveLine(row, w);
    VideoEventArchiveRow back;
    Require(Reparse(w, VideoEventLineFieldCount, &ParseVideoEventArchiveLine, back));
    Require(back.serialNum == row.serialNum && back.machine == row.machine &&
            back.videoServerId == row.videoServerId && back.cameraId == row.cameraId &&
            back.archiveLocationId == row.archiveLocationId);
    Require(back.archiveFile == Clean(row.archiveFile));
    Require(Same(back.startTimeUtc, row.startTimeUtc) && Same(back.endTimeUtc, row.endTimeUtc));
}

void CheckContinuous(const ArchiveFields& f)
{
    ContinuousVideoArchiveRow row;
    CString reason;
    if (!ParseContinuousVideoArchiveLine(f, row, reason)) {
        Require(!reason.IsEmpty());
        return;
    }
    ArchiveLineWriter w;
    FormatContinuousVideoArchiveLine(row, w);
    ContinuousVideoArchiveRow back;
    Require(Reparse(w, ContinuousVideoLineFieldCount, &ParseContinuousVideoArchiveLine, back));
    Require(back.continuousVideoId == row.continuousVideoId && back.videoServerId == row.videoServerId &&
            back.cameraId == row.cameraId && back.archiveLocationId == row.archiveLocationId);
    Require(back.archiveFile == Clean(row.archiveFile));
    Require(Same(back.startTimeUtc, row.startTimeUtc) && Same(back.endTimeUtc, row.endTimeUtc));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::wstring text = zyn::base::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        CString line(text.c_str() + start, static_cast<int>(end - start));
        line.TrimRight();
        try {
            const ArchiveFields fields(line);
            CheckVisit(fields);
            CheckVisitEvent(fields);
            CheckVideoEvent(fields);
            CheckContinuous(fields);
        } catch (CException* e) {
            e->Delete(); // the parsers do not throw; a conversion that does must say why
        }
        start = end + 1;
    }
    return 0;
}
