#pragma once
// The archive sets of EVENTS_VIDEO, which links events of the event log (SERIALNUM,
// MACHINE) to recorded video clips, and of its twin EVENTS_VIDEO_RESTORED.
//
// CVideoEventArchiveSet reads the table alone and deletes row by row with the record
// set's own Delete, keyed on EVENTVIDEOROWID (PrepareForPurge adds it).
//
// CVideoEventEventTypeArchiveSet joins the live table with EVENTS, so that the
// per-event-type pass archives only the clips of events of one type:
//   PrepareForPurge(); AddEventTypeFilter(type, Equal); AddJoinCondition();
//   AddArchiveTimeFilter(cutoff, LessThan); Open();
//   per row: GetArchiveRecordTime, WriteArchiveRecord, Delete, MoveNext.
// Its Delete removes the archived clip alone, by its EVENTVIDEOROWID, from the set's
// own table: an event's newer clips, which the time filter left out, stay. Over the
// restored table the join set reads EVENTS_VIDEO_RESTORED alone, without the three
// EVENTS columns (they are NULL), and can restore through the base's restore.
//
// Archive line: see video_archive_lines.h. The clip times are written in one fixed,
// locale-independent form; lines of older files, in the writer's locale, still read.

#include "archive/zyn_archive_set.h"
#include "platform/base/sqldate.h"

class CVideoEventArchiveSet : public CZynArchiveSet {
    DECLARE_DYNAMIC(CVideoEventArchiveSet)
public:
    static constexpr int MaxArchiveFileLength = 255;

    CVideoEventArchiveSet(CZynDatabase* pDatabase, bool bRestored);
    ~CVideoEventArchiveSet() override;

    CString GetDefaultConnect() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    int AddArchiveTimeFilter(const COleDateTime& cutoff, ParamCompOperator op) override;
    // START_TIME_UTC; invalid when the column is NULL or holds no valid date.
    COleDateTime GetArchiveRecordTime() override;
    void WriteArchiveRecord(CStdioFileUnicode& file) override;
    LONG RestoreArchiveRecords(CStdioFileUnicode& file, LONG nReserved, ZynArchiveProgressProc pfnProgress,
        void* pContext, LONG nInterval) override;

    // Selects EVENTVIDEOROWID as the key of Delete. Call before Open.
    void PrepareForPurge();

    bool IsRestored() const { return m_bRestored; }

    LONG m_SERIALNUM = 0;
    LONG m_MACHINE = 0;
    LONG m_VIDEOSERVERID = 0;
    LONG m_CAMERAID = 0;
    TIMESTAMP_STRUCT m_STARTTIME{};
    TIMESTAMP_STRUCT m_ENDTIME{};
    TIMESTAMP_STRUCT m_START_TIME_UTC{};
    TIMESTAMP_STRUCT m_END_TIME_UTC{};
    LONG m_ARCHIVELOCATIONID = 0;
    CString m_ARCHIVEFILE;

protected:
    // The column name as bound: "[EVENTS_VIDEO].[SERIALNUM]".
    CString Qualified(LPCWSTR lpszColumn) const;

private:
    bool m_bRestored;
    CString m_strBoundNames[10];
};

class CVideoEventEventTypeArchiveSet : public CVideoEventArchiveSet {
    DECLARE_DYNAMIC(CVideoEventEventTypeArchiveSet)
public:
    CVideoEventEventTypeArchiveSet(CZynDatabase* pDatabase, bool bRestored);
    ~CVideoEventEventTypeArchiveSet() override;

    // Always a snapshot with the SQL given; options 0 mean read-only over the live
    // tables (the restored table stays writable, for restoring).
    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    // Deletes the current clip alone: its EVENTVIDEOROWID row of the set's own table.
    // Without PrepareForPurge there is no such key, and AFX_SQL_ERROR_NO_KEY_COLUMNS is
    // raised rather than deleting by event (which would take the event's other clips).
    // A clip that was no longer there raises AFX_SQL_ERROR_NO_ROWS_AFFECTED.
    void Delete() override;
    CString GetDefaultConnect() override;
    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    // EVENTS.EVENTTYPE compared with the value.
    int AddEventTypeFilter(int nValue, ParamCompOperator op);
    // Appends the join of EVENTS_VIDEO and EVENTS on SERIALNUM and MACHINE to the
    // set's filter string.
    void AddJoinCondition();

    int m_EVENTS_EVENTTYPE = 0;
    LONG m_EVENTS_SERIALNUM = 0;
    int m_EVENTS_MACHINE = 0;
};
