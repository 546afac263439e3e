#include "archive/purge_driver.h"

#include "archive/zyn_archive_set.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace zyn::archive {

namespace {

constexpr const wchar_t* kSource = L"PurgeDriver";

void RunStep(PurgeStep& step, const COleDateTime& cutoff, CStdioFileUnicode* file, PurgeResult& result)
{
    CZynArchiveSet& set = *step.set;
    if (step.prepare)
        step.prepare(set);
    set.AddArchiveTimeFilter(cutoff, CMultiFilterRecordset::LessThan);
    set.Open();
    LONG rows = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        const COleDateTime time = set.GetArchiveRecordTime();
        if (time.GetStatus() == COleDateTime::valid) {
            if (result.first.GetStatus() != COleDateTime::valid)
                result.first = time;
            result.last = time;
        }
        if (file)
            set.WriteArchiveRecord(*file);
        if (step.deletePerRow)
            set.Delete();
        ++rows;
    }
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

} // namespace

PurgeResult RunPurgePass(CZynDatabase& db, const COleDateTime& cutoff, std::vector<PurgeStep>& steps,
    CStdioFileUnicode* file)
{
    PurgeResult result;
    result.first.SetStatus(COleDateTime::null);
    result.last.SetStatus(COleDateTime::null);

    ULONGLONG startLength = 0;
    if (file) {
        file->Flush();
        startLength = file->GetLength();
    }
    if (!db.BeginTrans())
        AfxThrowDBException(AFX_SQL_ERROR_NO_AUTOCOMMIT, L"The purge pass needs a transaction of its own.");
    try {
        for (PurgeStep& step : steps)
            RunStep(step, cutoff, file, result);
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
