#include "archive/purge_driver.h"

#include <ctime>

#include "archive/archive_detail_set.h"
#include "archive/zyn_archive_set.h"
#include "common/zyn_timestamp.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/ctime.h"
#include "platform/base/exception.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace zyn::archive {

namespace {

constexpr const wchar_t* kSource = L"PurgeDriver";
// Gone rows logged one by one per pass; the rest only counted.
constexpr LONG kMaxLoggedGone = 20;
// The longest torn last line an archive file is cut back from. A line of the widest row,
// every text escaped and in UTF-16, stays far below it; a longer part after the last
// line end is not one line cut short.
constexpr ULONGLONG kMaxTornLine = 4u << 20;

bool IsValid(const COleDateTime& time)
{
    return time.GetStatus() == COleDateTime::valid;
}

void Widen(PurgeResult& result, const COleDateTime& time)
{
    if (!IsValid(time))
        return;
    if (!IsValid(result.first) || time < result.first)
        result.first = time;
    if (!IsValid(result.last) || time > result.last)
        result.last = time;
}

// Deletes the current row; false when another client deleted it first (the keyed
// delete found nothing).
bool DeleteCurrent(CZynArchiveSet& set)
{
    try {
        set.Delete();
        return true;
    } catch (CDBException* e) {
        if (e->m_nRetCode != AFX_SQL_ERROR_NO_ROWS_AFFECTED)
            throw;
        e->Delete();
        return false;
    }
}

void LogGone(const CZynArchiveSet& set, const COleDateTime& time, LONG nGone)
{
    if (nGone > kMaxLoggedGone)
        return;
    CString message;
    message.Format(L"A row of %s archived by the purge pass was already gone when the pass deleted it (another "
                   L"client deleted it); its line stays in the archive file. Row time: %s.",
        set.GetTable().GetString(), IsValid(time) ? time.Format(L"%Y-%m-%d %H:%M:%S").GetString() : L"none");
    CLogger::LogError(CResult::DatabaseError, kSource, __LINE__, message.GetString());
}

void RunStep(PurgeStep& step, const COleDateTime& cutoff, CStdioFileUnicode* file, PurgeResult& result)
{
    CZynArchiveSet& set = *step.set;
    if (step.prepare)
        step.prepare(set);
    // The set's own rule when it has one (the visit sets), else the archive time.
    if (!set.PreparePurgeSelection(cutoff))
        set.AddArchiveTimeFilter(cutoff, CMultiFilterRecordset::LessThan);
    set.Open();
    LONG rows = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        const COleDateTime time = set.GetArchiveRecordTime();
        Widen(result, time);
        if (file)
            set.WriteArchiveRecord(*file);
        if (step.deletePerRow && !DeleteCurrent(set))
            LogGone(set, time, ++result.gone);
        ++rows;
    }
    set.CompletePurgeDeletes();
    if (step.afterLastRow)
        step.afterLastRow(set);
    set.Close();
    result.rowsPerStep.push_back(rows);
    result.rows += rows;
}

// Cuts the lines of a failed pass off the file again; a failure here is logged, the
// pass's own failure is what the caller sees.
void CutBack(CStdioFileUnicode& file, ULONGLONG length)
{
    try {
        try {
            file.Flush();
        } catch (CException* e) {
            e->Delete(); // the buffer is gone either way; the length is what counts
        }
        file.SetLength(length);
        file.SeekToEnd();
    } catch (CException* e) {
        CLogger::LogError(CResult::FileError, kSource, __LINE__,
            L"The lines of a failed purge pass could not be removed from the archive file.", e);
        e->Delete();
    }
}

// Before the pass appends: the file must end with a whole line, or the first line appended
// would run into a torn one (and in UTF-16, after a tear of an odd byte count, every line
// appended would be shifted by a byte and read as nothing). A torn line is cut off: the
// pass that wrote it never committed, so its rows are still in the database. Where more
// than one torn line would go, the pass refuses before it deletes anything.
void EndWithWholeLine(CStdioFileUnicode& file)
{
    ULONGLONG cut = 0;
    const CString path = file.GetFilePath();
    const CStdioFileUnicode::Tail tail = file.EndWithWholeLine(kMaxTornLine, &cut);
    CString message;
    switch (tail) {
    case CStdioFileUnicode::Tail::Whole:
        return;
    case CStdioFileUnicode::Tail::Mended:
        if (cut > 0) {
            message.Format(L"The archive file %s ended in a torn line (%llu byte(s) without a line end, left by an "
                           L"interrupted pass); it was cut off before the purge pass appended.",
                path.GetString(), static_cast<unsigned long long>(cut));
            CLogger::LogError(CResult::FileError, kSource, __LINE__, message.GetString());
        }
        return;
    case CStdioFileUnicode::Tail::Shifted:
        message.Format(L"The purge pass refused the archive file %s: after its last line end come lines shifted by one "
                       L"byte (appended after a torn line), which a restore cannot read. Nothing was archived or "
                       L"deleted; repair or move the file first.",
            path.GetString());
        break;
    case CStdioFileUnicode::Tail::TooLong:
        message.Format(L"The purge pass refused the archive file %s: its last line end is more than %llu bytes "
                       L"before its end, so the rest is not one torn line. Nothing was archived or deleted; repair "
                       L"or move the file first.",
            path.GetString(), static_cast<unsigned long long>(kMaxTornLine));
        break;
    }
    CLogger::LogError(CResult::FileError, kSource, __LINE__, message.GetString());
    AfxThrowFileException(CFileException::invalidFile, -1, path.GetString());
}

TIMESTAMP_STRUCT UtcNow()
{
    std::tm tm{};
    TIMESTAMP_STRUCT ts{};
    if (!CTime::GetCurrentTime().GetGmtTm(&tm))
        return ts;
    ts.year = static_cast<int16_t>(tm.tm_year + 1900);
    ts.month = static_cast<uint16_t>(tm.tm_mon + 1);
    ts.day = static_cast<uint16_t>(tm.tm_mday);
    ts.hour = static_cast<uint16_t>(tm.tm_hour);
    ts.minute = static_cast<uint16_t>(tm.tm_min);
    ts.second = static_cast<uint16_t>(tm.tm_sec);
    return ts;
}

// The earlier (bEarlier) or later of a catalogue time and a pass's time; a column that
// holds no valid time takes the pass's.
void Merge(LArchiveDetailSet& set, TIMESTAMP_STRUCT& member, const COleDateTime& pass, bool bEarlier)
{
    if (!IsValid(pass))
        return;
    COleDateTime current;
    const bool have = !set.IsFieldNull(&member) && ZynTimestampToOleDateTime(member, current);
    if (!have || (bEarlier ? pass < current : pass > current)) {
        member = ZynOleDateTimeToTimestamp(pass);
        set.SetFieldNull(&member, FALSE);
    }
}

} // namespace

void RecordInCatalogue(CZynDatabase& db, const PurgeCatalogueEntry& entry, const PurgeResult& result)
{
    if (result.rows <= 0)
        return;
    LArchiveDetailSet set(&db);
    set.AddFilterText(L"FILEPATH", entry.filePath.GetString());
    set.Open(CRecordset::dynaset, nullptr, CRecordset::none);
    const bool adding = set.IsEOF();
    if (adding) {
        const LONG id = set.GetNextID();
        set.AddNew();
        set.m_ID = id;
        set.m_FILEPATH = entry.filePath;
        set.m_EVENTCOUNT = 0;
        set.m_ARCHIVE_STATUS = 0;
        for (void* member : {static_cast<void*>(&set.m_ID), static_cast<void*>(&set.m_FILEPATH),
                 static_cast<void*>(&set.m_ARCHIVE_STATUS)})
            set.SetFieldNull(member, FALSE);
    } else {
        set.Edit();
    }
    set.m_AD_TIMESTAMP = UtcNow();
    set.m_AD_WORKSTATION = entry.workstation;
    set.m_AD_USER = entry.user;
    set.m_EVENTTYPE = entry.recordType;
    set.SetVersion(entry.versionMajor, entry.versionMinor, entry.versionBuild);
    const LONG count = set.IsFieldNull(&set.m_EVENTCOUNT) ? 0 : set.m_EVENTCOUNT;
    set.m_EVENTCOUNT = count + result.rows;
    for (void* member : {static_cast<void*>(&set.m_AD_TIMESTAMP), static_cast<void*>(&set.m_AD_WORKSTATION),
             static_cast<void*>(&set.m_AD_USER), static_cast<void*>(&set.m_EVENTTYPE),
             static_cast<void*>(&set.m_VERSION), static_cast<void*>(&set.m_EVENTCOUNT)})
        set.SetFieldNull(member, FALSE);
    Merge(set, set.m_DATEFIRST, result.first, true);
    Merge(set, set.m_DATELAST, result.last, false);
    set.Update();
    set.Close();
}

PurgeResult RunPurgePass(CZynDatabase& db, const COleDateTime& cutoff, std::vector<PurgeStep>& steps,
    CStdioFileUnicode* file, const PurgeCatalogueEntry* catalogue)
{
    PurgeResult result;
    result.first.SetStatus(COleDateTime::null);
    result.last.SetStatus(COleDateTime::null);

    ULONGLONG startLength = 0;
    if (file) {
        file->Flush();
        EndWithWholeLine(*file);
        startLength = file->GetLength();
    }
    if (!db.BeginTrans())
        AfxThrowDBException(AFX_SQL_ERROR_NO_AUTOCOMMIT, L"The purge pass needs a transaction of its own.");
    try {
        for (PurgeStep& step : steps)
            RunStep(step, cutoff, file, result);
        if (result.gone > kMaxLoggedGone) {
            CString message;
            message.Format(L"The purge pass found %d archived row(s) already deleted by another client.",
                static_cast<int>(result.gone));
            CLogger::LogError(CResult::DatabaseError, kSource, __LINE__, message.GetString());
        }
        if (file && catalogue)
            RecordInCatalogue(db, *catalogue, result);
        // The file first: the deletes commit only once their rows are on disk.
        if (file)
            file->FlushToDisk();
        db.CommitTrans();
    } catch (...) {
        for (PurgeStep& step : steps) {
            if (step.set && step.set->IsOpen())
                step.set->Close();
        }
        if (db.IsInTransaction()) {
            try {
                db.Rollback();
            } catch (CException* e) {
                CLogger::LogError(CResult::DatabaseError, kSource, __LINE__, L"The purge pass could not roll back.", e);
                e->Delete();
            }
        }
        if (file)
            CutBack(*file, startLength);
        throw;
    }
    return result;
}

} // namespace zyn::archive
