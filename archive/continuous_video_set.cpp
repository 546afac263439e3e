#include "archive/continuous_video_set.h"

#include "archive/archive_restore_rows.h"
#include "archive/video_archive_lines.h"
#include "common/zyn_timestamp.h"
#include "platform/suite/database/rfx_textu.h"
#include "platform/suite/utility/stdiofile_unicode.h"

IMPLEMENT_DYNAMIC(CContinuousVideoArchiveSet, CZynArchiveSet)

using zyn::archive::ContinuousVideoArchiveRow;
using zyn::archive::SetRestoredColumn;

namespace {

constexpr LPCWSTR kLiveTable = L"CONTINUOUS_VIDEO";
constexpr LPCWSTR kRestoredTable = L"CONTINUOUS_VIDEO_RESTORED";

std::optional<TIMESTAMP_STRUCT> TimeOf(CRecordset& set, TIMESTAMP_STRUCT& member)
{
    if (set.IsFieldNull(&member))
        return std::nullopt;
    return member;
}

} // namespace

CContinuousVideoArchiveSet::CContinuousVideoArchiveSet(CZynDatabase* pDatabase, bool bRestored)
    : CZynArchiveSet(pDatabase, bRestored ? kRestoredTable : kLiveTable)
{
    m_nFields = 9;
}

CContinuousVideoArchiveSet::~CContinuousVideoArchiveSet() = default;

CString CContinuousVideoArchiveSet::GetDefaultConnect() { return L"ODBC;DSN=Orvan"; }

CString CContinuousVideoArchiveSet::GetDefaultSQL() { return GetTable(); }

void CContinuousVideoArchiveSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"CONTINUOUS_VIDEOID", m_CONTINUOUS_VIDEOID);
    RFX_Int(pFX, L"VIDEOSERVERID", m_VIDEOSERVERID);
    RFX_Int(pFX, L"CAMERAID", m_CAMERAID);
    RFX_Date(pFX, L"STARTTIME", m_STARTTIME);
    RFX_Date(pFX, L"ENDTIME", m_ENDTIME);
    RFX_Long(pFX, L"ARCHIVELOCATIONID", m_ARCHIVELOCATIONID);
    RFX_TextU(pFX, L"ARCHIVEFILE", m_ARCHIVEFILE, MaxArchiveFileLength, SQL_WVARCHAR, 0);
    RFX_Date(pFX, L"START_TIME_UTC", m_START_TIME_UTC);
    RFX_Date(pFX, L"END_TIME_UTC", m_END_TIME_UTC);
}

int CContinuousVideoArchiveSet::AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op)
{
    return AddFilterTime(L"START_TIME_UTC", cutoff, op, 0);
}

COleDateTime CContinuousVideoArchiveSet::GetArchiveRecordTime()
{
    COleDateTime time;
    if (IsFieldNull(&m_START_TIME_UTC) || !ZynTimestampToOleDateTime(m_START_TIME_UTC, time))
        time.SetStatus(COleDateTime::invalid);
    return time;
}

void CContinuousVideoArchiveSet::WriteArchiveRecord(CStdioFileUnicode& file)
{
    if (file.m_hFile == CFile::hFileNull)
        return;
    ContinuousVideoArchiveRow row;
    row.continuousVideoId = m_CONTINUOUS_VIDEOID;
    row.videoServerId = IsFieldNull(&m_VIDEOSERVERID) ? 0 : m_VIDEOSERVERID;
    row.cameraId = IsFieldNull(&m_CAMERAID) ? 0 : m_CAMERAID;
    row.archiveLocationId = IsFieldNull(&m_ARCHIVELOCATIONID) ? 0 : m_ARCHIVELOCATIONID;
    if (!IsFieldNull(&m_ARCHIVEFILE))
        row.archiveFile = m_ARCHIVEFILE;
    row.startTimeUtc = TimeOf(*this, m_START_TIME_UTC);
    row.endTimeUtc = TimeOf(*this, m_END_TIME_UTC);

    zyn::archive::ArchiveLineWriter writer;
    zyn::archive::FormatContinuousVideoArchiveLine(row, writer);
    writer.WriteTo(file);
}

LONG CContinuousVideoArchiveSet::RestoreArchiveRecords(CStdioFileUnicode& file, LONG,
    ZynArchiveProgressProc pfnProgress, void* pContext, LONG nInterval)
{
    zyn::archive::RowRestore<ContinuousVideoArchiveRow> how;
    how.source = L"CContinuousVideoArchiveSet";
    how.mappingTable = kRestoredTable;
    how.parse = &zyn::archive::ParseContinuousVideoArchiveLine;
    how.check = &zyn::archive::CheckContinuousVideoRow;
    how.limits = zyn::archive::TableColumnLimits(*this, {L"ARCHIVEFILE"});
    how.keyColumns = zyn::archive::ContinuousVideoKeyColumns();
    how.identify = &zyn::archive::ContinuousVideoIdentity;
    how.store = [&](const ContinuousVideoArchiveRow& row, const zyn::archive::IdMapper& map) {
            SetRestoredColumn(*this, m_CONTINUOUS_VIDEOID, row.continuousVideoId);
            SetRestoredColumn(*this, m_VIDEOSERVERID, map(L"VIDEOSERVERID", row.videoServerId));
            SetRestoredColumn(*this, m_CAMERAID, map(L"CAMERAID", row.cameraId));
            SetRestoredColumn(*this, m_STARTTIME, row.startTime);
            SetRestoredColumn(*this, m_ENDTIME, row.endTime);
            SetRestoredColumn(*this, m_ARCHIVELOCATIONID, map(L"ARCHIVELOCATIONID", row.archiveLocationId));
            SetRestoredColumn(*this, m_ARCHIVEFILE, row.archiveFile);
            SetRestoredColumn(*this, m_START_TIME_UTC, row.startTimeUtc);
            SetRestoredColumn(*this, m_END_TIME_UTC, row.endTimeUtc);
        };
    zyn::archive::RestoreResult result;
    try {
        zyn::archive::RestoreRows(*this, file, pfnProgress, pContext, nInterval, how, result);
    } catch (...) {
        SetSkippedLineCount(result.skipped);
        SetDuplicateCount(result.duplicates);
        throw;
    }
    SetDuplicateCount(result.duplicates);
    SetSkippedLineCount(result.skipped);
    return result.rows;
}

void CContinuousVideoArchiveSet::PrepareForPurge()
{
    AddColumnToSet(L"CONTINUOUS_VIDEOID", nullptr, TRUE, nullptr);
}

CString CContinuousVideoArchiveSet::FormatClipFolder(int nRecorderId, int nCameraId, const TIMESTAMP_STRUCT& date)
{
    CString folder;
    folder.Format(L"Rec %02i\\Cam %02i\\YearMonth %04i%02i\\Day %02i", nRecorderId, nCameraId,
        static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day));
    return folder;
}
