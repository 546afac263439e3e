// The archive sets on SQLite: a purge pass over EVENTS (select, write the archive
// line, delete, in one transaction committed after the file is on disk) and the restore
// of its file into EVENTS_RESTORED, each beside a baseline of the same selects, deletes
// and inserts issued directly through ODBC (a plain CRecordset and CDatabase::ExecuteSQL
// with bound parameters), in the same run. Reported as rows per second, with the
// process's resident memory before and after each run and its peak, so a growth with
// the number of rows would show.
//
// Self-contained: it writes its own odbcinst.ini naming the SQLite3 ODBC driver and
// creates a temporary database from the schema files (ZYN_SCHEMA_DIR, else the source
// tree's db/schema).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/log_events.h"
#include "archive/purge_driver.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace fs = std::filesystem;

namespace {

// Resident and peak resident memory of the process, in bytes.
size_t StatusBytes(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0)
            return static_cast<size_t>(std::strtoull(line.c_str() + prefix.size(), nullptr, 10)) * 1024;
    }
    return 0;
}

std::string Describe(CException* e)
{
    std::string text = zyn::base::ToUtf8(e->GetMessageText().GetString());
    if (auto* db = dynamic_cast<CDBException*>(e))
        text += " [" + zyn::base::ToUtf8(db->GetSQLState().GetString()) + "]";
    e->Delete();
    return text;
}

std::string FindSqliteDriver()
{
    for (const char* d : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/odbc",
             "/usr/lib64", "/usr/lib", "/usr/local/lib", "/usr/local/lib/odbc"}) {
        const fs::path p = fs::path(d) / "libsqlite3odbc.so";
        if (fs::exists(p))
            return p.string();
    }
    return {};
}

// The temporary folder, the ODBC configuration and the database, once per process.
class BenchEnv {
public:
    static BenchEnv& Get()
    {
        static BenchEnv env;
        return env;
    }

    const std::string& Error() const { return m_error; }
    const std::wstring& DbFile() const { return m_dbFile; }
    std::wstring FilePath(const char* name) const { return (m_dir / name).wstring(); }

    std::unique_ptr<CZynDatabase> Open()
    {
        auto db = std::make_unique<CZynDatabase>();
        db->OpenEx(zyn::db::SqliteConnectString(m_dbFile.c_str()).GetString(), CDatabase::noOdbcDialog);
        return db;
    }

    ~BenchEnv()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

private:
    BenchEnv()
    {
        char templ[] = "/tmp/zyn-archive-bench-XXXXXX";
        if (!mkdtemp(templ)) {
            m_error = "cannot create a temporary folder";
            return;
        }
        m_dir = templ;
        const std::string driver = FindSqliteDriver();
        if (driver.empty()) {
            m_error = "the SQLite3 ODBC driver (libsqlite3odbc.so) was not found";
            return;
        }
        std::ofstream(m_dir / "odbcinst.ini") << "[SQLite3]\nDescription=SQLite3 ODBC driver\nDriver=" << driver
                                              << "\n";
        std::ofstream(m_dir / "odbc.ini") << "\n";
        setenv("ODBCSYSINI", m_dir.c_str(), 1);
        setenv("ODBCINI", (m_dir / "odbc.ini").c_str(), 1);
        if (!std::getenv("ZYN_LOG_DIR"))
            setenv("ZYN_LOG_DIR", m_dir.c_str(), 1);
        m_dbFile = (m_dir / "bench.db").wstring();
        try {
            zyn::db::CreateDatabase(m_dbFile.c_str(), zyn::db::SchemaEngine::SQLite, true);
        } catch (CException* e) {
            m_error = "cannot create the database: " + Describe(e);
        }
    }

    fs::path m_dir;
    std::wstring m_dbFile;
    std::string m_error;
};

// N events, all older than the cut-off, in one statement.
void Populate(CZynDatabase& db, int64_t rows)
{
    db.ExecuteSQL(L"DELETE FROM EVENTS");
    CString sql;
    sql.Format(L"INSERT INTO EVENTS (SERIALNUM, DEVID, INPUTDEVID, EVENTTYPE, EVENTID, EVENTDATA, CARDNUM, MACHINE, "
               L"EMPID, INPUTARG, TRIGGER_EVENT, FUNCLIST, ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, "
               L"TRANSMITTER_INPUTID, ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, "
               L"EVENTCODE, SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) "
               L"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %I64d) "
               L"SELECT I, I %% 50, 2, 100 + I %% 7, 4, 5, 1000000000 + I, 1 + I %% 4, I %% 1000, 7, 8, 9, 10, 11, -1, "
               L"12, 13, -1, 14, 'Door ' || I || char(9) || 'forced open', 15, 16, 17, 18, 'CODE' || (I %% 10), "
               L"CASE WHEN I %% 3 = 0 THEN NULL ELSE I %% 20 END, 1, 0, 0, '2010-01-02 03:04:05.000' FROM N",
        rows);
    db.ExecuteSQL(sql.GetString());
}

const COleDateTime& Cutoff()
{
    static const COleDateTime cutoff(2020, 1, 1, 0, 0, 0);
    return cutoff;
}

// The baseline's select: the same columns as the event set, through a plain record set.
class PlainEvents : public CRecordset {
public:
    explicit PlainEvents(CDatabase* db) : CRecordset(db) { m_nFields = 32; }
    CString GetDefaultSQL() override { return L"[EVENTS]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_BigInt(pFX, L"[EVTROWID]", m_rowId);
        RFX_Long(pFX, L"[SERIALNUM]", m_long[0]);
        RFX_Date(pFX, L"[EVENTIME]", m_time[0]);
        static const wchar_t* const kLongs[] = {L"[DEVID]", L"[INPUTDEVID]", L"[EVENTTYPE]", L"[EVENTID]",
            L"[EVENTDATA]", L"[MACHINE]", L"[EMPID]", L"[INPUTARG]", L"[TRIGGER_EVENT]", L"[FUNCLIST]", L"[ASSETID]",
            L"[EVENT_PARAMID]", L"[CALLED_STATION]", L"[TRANSMITTERID]", L"[TRANSMITTER_INPUTID]", L"[ISSUECODE]",
            L"[WRKSTATIONID]", L"[RECEIVERID]", L"[LINENUM]", L"[AREAID]", L"[USERID]", L"[SEGMENTID]",
            L"[ZYN_DBID]", L"[AREAAPBID]", L"[ALARMMASKGROUPID]"};
        for (size_t i = 0; i < std::size(kLongs); ++i)
            RFX_Long(pFX, kLongs[i], m_long[i + 1]);
        RFX_BigInt(pFX, L"[CARDNUM]", m_card);
        RFX_Text(pFX, L"[EVENT_TEXT]", m_text, 2000, SQL_WVARCHAR);
        RFX_Text(pFX, L"[EVENTCODE]", m_code, 255, SQL_WVARCHAR);
        RFX_Date(pFX, L"[EVENT_TIME_UTC]", m_time[1]);
    }
    int64_t m_rowId = 0;
    LONG m_long[26] = {};
    int64_t m_card = 0;
    CString m_text;
    CString m_code;
    TIMESTAMP_STRUCT m_time[2] = {};
};

void SetCounters(benchmark::State& state, int64_t rows, size_t rssBefore)
{
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["rss_MB"] = static_cast<double>(StatusBytes("VmRSS")) / 1e6;
    state.counters["rss_growth_MB"] =
        (static_cast<double>(StatusBytes("VmRSS")) - static_cast<double>(rssBefore)) / 1e6;
    state.counters["peak_rss_MB"] = static_cast<double>(StatusBytes("VmHWM")) / 1e6;
}

#define BENCH_ENV_OR_SKIP(env)                      \
    BenchEnv& env = BenchEnv::Get();                \
    if (!env.Error().empty()) {                     \
        state.SkipWithError(env.Error().c_str());   \
        return;                                     \
    }

void BM_PurgePass(benchmark::State& state)
{
    BENCH_ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open();
        for (auto _ : state) {
            state.PauseTiming();
            Populate(*db, rows);
            const std::wstring path = env.FilePath("pass.txt");
            std::error_code ec;
            fs::remove(path, ec);
            CStdioFileUnicode file;
            file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();

            CLogEvents events(db.get(), false, true);
            std::vector<zyn::archive::PurgeStep> steps(1);
            steps[0].set = &events;
            steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
            const auto result = zyn::archive::RunPurgePass(*db, Cutoff(), steps, &file);
            file.Close();

            state.PauseTiming();
            if (result.rows != rows) {
                state.SkipWithError(("the pass took " + std::to_string(result.rows) + " rows of " +
                                     std::to_string(rows))
                                        .c_str());
                break;
            }
            SetCounters(state, rows, rssBefore);
            state.ResumeTiming();
        }
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

void BM_BaselinePass(benchmark::State& state)
{
    BENCH_ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open();
        for (auto _ : state) {
            state.PauseTiming();
            Populate(*db, rows);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();

            db->BeginTrans();
            PlainEvents set(db.get());
            set.m_strFilter = L"EVENT_TIME_UTC < '2020-01-01 00:00:00.000'";
            set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
            int64_t n = 0;
            std::vector<zyn::afx::DbValue> key(1);
            for (; !set.IsEOF(); set.MoveNext()) {
                key[0] = set.m_rowId;
                db->ExecuteSQL(L"DELETE FROM EVENTS WHERE EVTROWID = ?", key);
                ++n;
            }
            set.Close();
            db->CommitTrans();

            state.PauseTiming();
            if (n != rows) {
                state.SkipWithError(
                    ("the baseline took " + std::to_string(n) + " rows of " + std::to_string(rows)).c_str());
                break;
            }
            SetCounters(state, rows, rssBefore);
            state.ResumeTiming();
        }
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

// The archive file of N rows, written once per size by a pass.
std::wstring ArchiveFileOf(BenchEnv& env, CZynDatabase& db, int64_t rows)
{
    const std::wstring path = env.FilePath(("restore-" + std::to_string(rows) + ".txt").c_str());
    if (fs::exists(path))
        return path;
    Populate(db, rows);
    CStdioFileUnicode file;
    file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    CLogEvents events(&db, false, true);
    std::vector<zyn::archive::PurgeStep> steps(1);
    steps[0].set = &events;
    steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
    zyn::archive::RunPurgePass(db, Cutoff(), steps, &file);
    file.Close();
    return path;
}

void BM_Restore(benchmark::State& state)
{
    BENCH_ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open();
        const std::wstring path = ArchiveFileOf(env, *db, rows);
        for (auto _ : state) {
            state.PauseTiming();
            db->ExecuteSQL(L"DELETE FROM EVENTS_RESTORED");
            CStdioFileUnicode file;
            file.Open(path.c_str(), CFile::modeRead);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();

            CLogEvents restored(db.get(), true, true);
            const LONG n = restored.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0);

            state.PauseTiming();
            file.Close();
            if (n != rows) {
                state.SkipWithError(
                    ("the restore inserted " + std::to_string(n) + " rows of " + std::to_string(rows)).c_str());
                break;
            }
            SetCounters(state, rows, rssBefore);
            state.ResumeTiming();
        }
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

void BM_BaselineInsert(benchmark::State& state)
{
    BENCH_ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open();
        using zyn::afx::DbValue;
        for (auto _ : state) {
            state.PauseTiming();
            db->ExecuteSQL(L"DELETE FROM EVENTS_RESTORED");
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();

            // The same 31 columns the restore inserts, one statement per row (each its own
            // transaction, as the restore's are).
            std::vector<DbValue> p(31);
            const TIMESTAMP_STRUCT time{2010, 1, 2, 3, 4, 5, 0};
            for (int64_t i = 1; i <= rows; ++i) {
                const auto v = static_cast<int32_t>(i);
                p = {v, DbValue{}, int32_t{v % 50}, int32_t{2}, int32_t{100 + v % 7}, int32_t{4}, int32_t{5},
                    int64_t{1000000000 + i}, int32_t{1 + v % 4}, int32_t{v % 1000}, int32_t{7}, int32_t{8},
                    int32_t{9}, int32_t{10}, int32_t{11}, int32_t{-1}, int32_t{12}, int32_t{13}, int32_t{-1},
                    int32_t{14}, CString(L"Door forced open"), int32_t{15}, int32_t{16}, int32_t{17}, int32_t{18},
                    CString(L"CODE1"), v % 3 == 0 ? DbValue{} : DbValue{int32_t{v % 20}}, int32_t{1}, int32_t{0},
                    int32_t{0}, time};
                db->ExecuteSQL(L"INSERT INTO EVENTS_RESTORED (SERIALNUM, EVENTIME, DEVID, INPUTDEVID, EVENTTYPE, "
                               L"EVENTID, EVENTDATA, CARDNUM, MACHINE, EMPID, INPUTARG, TRIGGER_EVENT, FUNCLIST, "
                               L"ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, TRANSMITTER_INPUTID, "
                               L"ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, EVENTCODE, "
                               L"SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) VALUES (?, ?, ?, "
                               L"?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    p);
            }

            state.PauseTiming();
            SetCounters(state, rows, rssBefore);
            state.ResumeTiming();
        }
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

} // namespace

// Each run consumes its rows, so one iteration per size; the smaller size comes first
// so that a growth of memory with the rows would show in the larger run.
BENCHMARK(BM_BaselinePass)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PurgePass)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineInsert)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Restore)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
