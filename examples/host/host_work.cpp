#include "host_work.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <span>

#include "archive/log_events.h"
#include "archive/purge_driver.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/db/dbvariant.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/exception.h"
#include "platform/base/inifile.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/table_exists.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "rpc/crs_rpc_server_proxy.h"

namespace host {

using zyn::afx::DbValue;

void OpenDatabase(CZynDatabase& db, const CString& sqlitePath, const CString& pgConnect,
    const std::function<void(const CString&)>& say)
{
    if (pgConnect.IsEmpty()) {
        if (!std::filesystem::exists(zyn::base::ToUtf8(sqlitePath.GetString()))) {
            zyn::db::CreateDatabase(sqlitePath, zyn::db::SchemaEngine::SQLite);
            say(L"Made a new database: " + sqlitePath);
        }
        db.OpenEx(zyn::db::SqliteConnectString(sqlitePath));
        say(L"Using the " + db.GetDBMSName() + L" database " + sqlitePath);
    } else {
        db.OpenEx(pgConnect);
        if (!ZynTableExists(&db, L"EVENTS")) {
            zyn::db::LoadSchema(db);
            say(L"Made the console's tables in the " + db.GetDBMSName() + L" database");
        }
        say(L"Using the " + db.GetDBMSName() + L" database on the server");
    }
}

int64_t CountRows(CZynDatabase& db, LPCWSTR table)
{
    int64_t n = 0;
    db.QueryInt64(CString(L"SELECT COUNT(*) FROM ") + table, {}, n);
    return n;
}

namespace {

// A timestamp to the minute, whichever way the driver hands it over.
CString TimeText(const CDBVariant& value)
{
    CString text;
    if (value.m_dwType == DBVT_DATE)
        text.Format(L"%04d-%02d-%02d %02d:%02d", value.m_pdate->year, value.m_pdate->month, value.m_pdate->day,
            value.m_pdate->hour, value.m_pdate->minute);
    else if (value.m_dwType == DBVT_STRING)
        text = value.m_pstring->Left(16);
    return text;
}

int64_t IntegerOf(const CDBVariant& value, int64_t none)
{
    switch (value.m_dwType) {
    case DBVT_BIGINT:
        return value.m_llVal;
    case DBVT_LONG:
        return value.m_lVal;
    case DBVT_SHORT:
        return value.m_iVal;
    case DBVT_UCHAR:
        return value.m_chVal;
    case DBVT_STRING:
        return value.m_pstring->IsEmpty() ? none : std::wcstoll(value.m_pstring->GetString(), nullptr, 10);
    default:
        return none;
    }
}

// Calls `row` with the set on each row of `sql`, read once from start to end in one
// statement (a list of n rows costs one query, not n).
template <typename Row>
void ForEachRow(CZynDatabase& db, const CString& sql, Row&& row)
{
    CRecordset set(&db);
    set.Open(CRecordset::forwardOnly, sql, CRecordset::readOnly);
    for (; !set.IsEOF(); set.MoveNext())
        row(set);
}

} // namespace

std::vector<NamedRow> ReadNames(CZynDatabase& db, LPCWSTR table)
{
    std::vector<NamedRow> rows;
    // The database's own order is only a stable walk; the order shown is made here, the
    // same on every engine.
    ForEachRow(db, CString(L"SELECT ID, NAME FROM ") + table + L" ORDER BY ID", [&](CRecordset& set) {
        CDBVariant id;
        NamedRow row;
        set.GetFieldValue(short{0}, id);
        set.GetFieldValue(short{1}, row.name);
        row.id = static_cast<LONG>(IntegerOf(id, 0));
        rows.push_back(std::move(row));
    });
    std::stable_sort(rows.begin(), rows.end(), [](const NamedRow& a, const NamedRow& b) {
        const int order = a.name.CollateNoCase(b.name.GetString());
        return order != 0 ? order < 0 : a.id < b.id;
    });
    return rows;
}

int SeedEvents(CZynDatabase& db, int count)
{
    if (CountRows(db, L"EVENTS") != 0)
        return 0;
    static const wchar_t* const texts[] = {L"Door forced open", L"Valid card", L"Door held open", L"Invalid card",
        L"Alarm acknowledged", L"Door secured"};
    for (int i = 0; i < count; ++i) {
        TIMESTAMP_STRUCT when{};
        when.year = 2010;
        when.month = static_cast<decltype(when.month)>(1 + i % 12);
        when.day = static_cast<decltype(when.day)>(1 + i % 28);
        when.hour = static_cast<decltype(when.hour)>(8 + i % 10);
        const DbValue params[] = {int32_t{i + 1}, int32_t{1}, int32_t{100 + i % 6}, CString(texts[i % 6]), when,
            int32_t{1 + i % 4}};
        db.ExecuteSQL(L"INSERT INTO EVENTS (SERIALNUM, MACHINE, EVENTTYPE, EVENT_TEXT, EVENT_TIME_UTC, DEVID) "
                      L"VALUES (?, ?, ?, ?, ?, ?)",
            std::span<const DbValue>(params));
    }
    return count;
}

std::vector<EventRow> RecentEvents(CZynDatabase& db, int count)
{
    std::vector<EventRow> rows;
    if (count <= 0)
        return rows;
    CString sql;
    sql.Format(L"SELECT EVENT_TIME_UTC, EVENT_TEXT, DEVID FROM EVENTS ORDER BY EVENT_TIME_UTC DESC, SERIALNUM DESC "
               L"LIMIT %d",
        count);
    ForEachRow(db, sql, [&](CRecordset& set) {
        CDBVariant time, door;
        EventRow row;
        set.GetFieldValue(short{0}, time);
        set.GetFieldValue(short{1}, row.text);
        set.GetFieldValue(short{2}, door);
        row.time = TimeText(time);
        if (const int64_t id = IntegerOf(door, -1); id >= 0)
            row.door.Format(L"Door %lld", static_cast<long long>(id));
        rows.push_back(std::move(row));
    });
    return rows;
}

namespace {

// The event set that tells of each row it writes to the archive.
class CountingEvents : public CLogEvents {
public:
    CountingEvents(CZynDatabase* db, std::function<void()> written) : CLogEvents(db), m_written(std::move(written)) {}
    void WriteArchiveRecord(CStdioFileUnicode& file) override
    {
        CLogEvents::WriteArchiveRecord(file);
        m_written();
    }

private:
    std::function<void()> m_written;
};

struct RestoreProgress {
    const std::function<void(LONG, LONG)>* progress;
    LONG base;
    LONG total;
};

bool OnRestored(LONG count, void* context)
{
    const auto* p = static_cast<const RestoreProgress*>(context);
    // Rows of earlier passes restore too: the bar stays within its range.
    (*p->progress)(std::min(p->base + count, p->total), p->total);
    return true;
}

} // namespace

ArchiveOutcome ArchiveAndRestore(CZynDatabase& db, const CString& filePath, int cutoffYear,
    const std::function<void(LONG, LONG)>& progress)
{
    ArchiveOutcome outcome;
    const COleDateTime cutoff(cutoffYear, 1, 1, 0, 0, 0);
    int64_t old = 0;
    // The rows the pass will take, so that the progress has a total.
    TIMESTAMP_STRUCT limit{};
    limit.year = static_cast<decltype(limit.year)>(cutoffYear);
    limit.month = 1;
    limit.day = 1;
    const DbValue before[] = {limit};
    db.QueryInt64(L"SELECT COUNT(*) FROM EVENTS WHERE EVENT_TIME_UTC < ?", before, old);
    const LONG total = static_cast<LONG>(old) * 2;
    LONG done = 0;
    progress(0, total);

    CStdioFileUnicode out;
    CFileException error;
    if (!out.Open(filePath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, filePath);
    out.SeekToEnd();
    {
        CountingEvents events(&db, [&] { progress(++done, total); });
        std::vector<zyn::archive::PurgeStep> steps(1);
        steps[0].set = &events;
        steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
        outcome.archived = zyn::archive::RunPurgePass(db, cutoff, steps, &out).rows;
    }
    out.Close();

    CStdioFileUnicode in;
    if (!in.Open(filePath, CFile::modeRead, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, filePath);
    CLogEvents restored(&db, true);
    RestoreProgress context{&progress, outcome.archived, outcome.archived * 2};
    outcome.restored = restored.RestoreArchiveRecords(in, 0, &OnRestored, &context, 1);
    outcome.duplicates = restored.GetDuplicateCount();
    in.Close();
    progress(outcome.archived * 2, outcome.archived * 2);
    return outcome;
}

CString DescribeArchive(const ArchiveOutcome& outcome, int cutoffYear)
{
    CString line;
    if (outcome.archived == 0)
        line.Format(L"No events from before %d were left to archive", cutoffYear);
    else
        line.Format(L"Archived %d event%s from before %d", static_cast<int>(outcome.archived),
            outcome.archived == 1 ? L"" : L"s", cutoffYear);
    CString restore;
    if (outcome.restored == 0 && outcome.duplicates == 0)
        restore = L"; the archive file holds nothing to restore";
    else if (outcome.restored == 0)
        restore.Format(L"; the archive file's %d event%s restored before", static_cast<int>(outcome.duplicates),
            outcome.duplicates == 1 ? L" was" : L"s were all");
    else if (outcome.duplicates == 0)
        restore.Format(L"; restored the archive file: %d event%s", static_cast<int>(outcome.restored),
            outcome.restored == 1 ? L"" : L"s");
    else
        restore.Format(L"; restored the archive file: %d new event%s, %d restored before",
            static_cast<int>(outcome.restored), outcome.restored == 1 ? L"" : L"s", static_cast<int>(outcome.duplicates));
    return line + restore;
}

CString DescribeRecorder(uint16_t port, const RecorderReport& report)
{
    CString line;
    if (!report.started) {
        line.Format(L"The recording server on port %u did not start its video archive: %s", static_cast<unsigned>(port),
            report.status.GetString());
        return line;
    }
    // The purge state: 0 while a purge runs, 1 when the last one finished, anything else
    // when it failed.
    const wchar_t* purge = report.purgeState == 0 ? L"a purge of old video is under way"
        : report.purgeState == 1                  ? L"its last purge of old video finished"
                                                  : L"its last purge of old video failed";
    line.Format(L"The recording server on port %u started its video archive, which %s; %s", static_cast<unsigned>(port),
        report.running ? L"is running" : L"is not running yet", purge);
    return line;
}

RecorderReport AskRecorder(uint16_t port)
{
    WritePrivateProfileStringW(L"Service", L"VideoServerRpcPort", std::to_wstring(port).c_str(), L"ACS.INI");
    CCRSRPCServerProxy recorder(CString(L"127.0.0.1"));
    RecorderReport report;
    report.started = recorder.StartVideoArchive(30) != FALSE;
    report.running = recorder.IsVideoArchiveRunning() != FALSE;
    report.purgeState = recorder.GetContinuousVideoPurgeState();
    report.status = recorder.GetLastStatusText();
    return report;
}

} // namespace host
