#include "archive/video_archive_lines.h"

#include "archive/archive_line_fields.h"
#include "common/zyn_timestamp.h"
#include "platform/base/oledatetime.h"

namespace zyn::archive {

namespace {

using OptionalTime = std::optional<TIMESTAMP_STRUCT>;

OptionalTime VideoTime(const ArchiveFields& f, int n)
{
    TIMESTAMP_STRUCT ts{};
    if (!f.Has(n) || f.IsEmpty(n))
        return std::nullopt;
    if (!ParseVideoArchiveTime(f.Raw(n), ts)) {
        if (!ZynTextToTimestamp(f.Raw(n), ts))
            f.NoteMalformedTime(n);
        return std::nullopt;
    }
    return ts;
}

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

bool ParseVideoArchiveTime(const CString& text, TIMESTAMP_STRUCT& out)
{
    // ZynTextToTimestamp trims, tries the fixed forms and then the user locale's.
    TIMESTAMP_STRUCT ts{};
    if (!ZynTextToTimestamp(text, ts))
        return false;
    ts.fraction = 0;
    COleDateTime check;
    if (!ZynTimestampToOleDateTime(ts, check))
        return false;
    out = ts;
    return true;
}

bool ParseVideoEventArchiveLine(const ArchiveFields& f, VideoEventArchiveRow& row, CString& reason)
{
    row = VideoEventArchiveRow{};
    if (!fields::CheckCount(f, VideoEventLineMinFields, VideoEventLineFieldCount, L"event-video", reason))
        return false;
    if (!fields::Required(f, 1, L"SERIALNUM", row.serialNum, reason) ||
        !fields::NumberOrZero(f, 2, L"MACHINE", row.machine, reason) ||
        !fields::NumberOrZero(f, 3, L"VIDEOSERVERID", row.videoServerId, reason) ||
        !fields::NumberOrZero(f, 4, L"CAMERAID", row.cameraId, reason) ||
        !fields::NumberOrZero(f, 7, L"ARCHIVELOCATIONID", row.archiveLocationId, reason))
        return false;
    row.startTime = VideoTime(f, 5);
    row.endTime = VideoTime(f, 6);
    row.archiveFile = fields::Text(f, 8, true);
    row.startTimeUtc = VideoTime(f, 9);
    row.endTimeUtc = VideoTime(f, 10);
    return true;
}

bool ParseContinuousVideoArchiveLine(const ArchiveFields& f, ContinuousVideoArchiveRow& row, CString& reason)
{
    row = ContinuousVideoArchiveRow{};
    if (!fields::CheckCount(f, ContinuousVideoLineMinFields, ContinuousVideoLineFieldCount, L"continuous-video", reason))
        return false;
    if (!fields::Required(f, 1, L"CONTINUOUS_VIDEOID", row.continuousVideoId, reason) ||
        !fields::NumberOrZero(f, 2, L"VIDEOSERVERID", row.videoServerId, reason) ||
        !fields::NumberOrZero(f, 3, L"CAMERAID", row.cameraId, reason) ||
        !fields::NumberOrZero(f, 6, L"ARCHIVELOCATIONID", row.archiveLocationId, reason))
        return false;
    row.startTime = VideoTime(f, 4);
    row.endTime = VideoTime(f, 5);
    row.archiveFile = fields::Text(f, 7, true);
    row.startTimeUtc = VideoTime(f, 8);
    row.endTimeUtc = VideoTime(f, 9);
    return true;
}

void FormatVideoEventArchiveLine(const VideoEventArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.serialNum).Long(row.machine).Long(row.videoServerId).Long(row.cameraId);
    w.Empty().Empty(); // STARTTIME, ENDTIME: local times are not archived
    w.Long(row.archiveLocationId);
    WriteText(w, row.archiveFile);
    WriteTime(w, row.startTimeUtc);
    WriteTime(w, row.endTimeUtc);
}

void FormatContinuousVideoArchiveLine(const ContinuousVideoArchiveRow& row, ArchiveLineWriter& w)
{
    w.Long(row.continuousVideoId).Long(row.videoServerId).Long(row.cameraId);
    w.Empty().Empty(); // STARTTIME, ENDTIME
    w.Long(row.archiveLocationId);
    WriteText(w, row.archiveFile);
    WriteTime(w, row.startTimeUtc);
    WriteTime(w, row.endTimeUtc);
}

} // namespace zyn::archive
