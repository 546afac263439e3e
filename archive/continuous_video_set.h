#pragma once
// CContinuousVideoArchiveSet: the archive set of CONTINUOUS_VIDEO, the catalogue of the
// clips that recorders record continuously (not for an event), and of its twin
// CONTINUOUS_VIDEO_RESTORED. The purge pass first has each recorder purge its old
// continuous video, then archives and deletes the catalogue rows through this set, row
// by row with the record set's own Delete keyed on CONTINUOUS_VIDEOID.
//
// Archive line: see video_archive_lines.h. The clip times are written in one fixed,
// locale-independent form; lines of older files, in the writer's locale, still read.

#include "archive/zyn_archive_set.h"
#include "platform/base/sqldate.h"

class CContinuousVideoArchiveSet : public CZynArchiveSet {
    DECLARE_DYNAMIC(CContinuousVideoArchiveSet)
public:
    static constexpr int MaxArchiveFileLength = 255;

    CContinuousVideoArchiveSet(CZynDatabase* pDatabase, bool bRestored);
    ~CContinuousVideoArchiveSet() override;

    CString GetDefaultConnect() override;
    // The table name without brackets.
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    // START_TIME_UTC; invalid when the column is NULL or holds no valid date.
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;

    // Makes CONTINUOUS_VIDEOID the key of Delete. Call before Open.
    void PrepareForPurge();

    // "Rec 03\Cam 12\YearMonth 200807\Day 05": the folder of a day's clips in a
    // recorder's archive, relative to the archive's root.
    static CString FormatClipFolder(int nRecorderId, int nCameraId, const TIMESTAMP_STRUCT& date);

    LONG m_CONTINUOUS_VIDEOID = 0;
    int m_VIDEOSERVERID = 0;
    int m_CAMERAID = 0;
    TIMESTAMP_STRUCT m_STARTTIME{};
    TIMESTAMP_STRUCT m_ENDTIME{};
    LONG m_ARCHIVELOCATIONID = 0;
    CString m_ARCHIVEFILE;
    TIMESTAMP_STRUCT m_START_TIME_UTC{};
    TIMESTAMP_STRUCT m_END_TIME_UTC{};
};
