// The archive sets on SQLite, and on PostgreSQL when a server is given: a purge pass
// over EVENTS (select, write the archive line, delete, in one transaction committed
// after the file is on disk) and the restore of its file into EVENTS_RESTORED, each
// beside a baseline of the same selects, deletes and inserts issued directly through
// ODBC, in the same run: for the pass, a plain CRecordset selecting the old rows and a
// keyed DELETE prepared once; for the restore, the batch's key look-up and an INSERT
// prepared once; each statement's parameter list built once, its values set per row. Reported as rows per second, with the process's resident memory before and after
// each run and its peak, so a growth with the number of rows would show.
//
// Self-contained: it writes its own odbcinst.ini naming the SQLite3 and PostgreSQL ODBC
// drivers and creates a temporary database from the schema files (ZYN_SCHEMA_DIR, else
// the source tree's db/schema). PostgreSQL runs when ZYN_PG_DSN names a server, as
// `eval "$(scripts/pg-start)"` sets it; its tables live in a private schema.

#include <benchmark/benchmark.h>

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "archive/log_events.h"
#include "archive/purge_driver.h"
#include "archive/restore_batch.h"
#include "archive/restore_loops.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/db/odbc_driver.h"
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

std::string FindDriver(const char* file)
{
    for (const char* d : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/odbc",
             "/usr/lib64", "/usr/lib", "/usr/local/lib", "/usr/local/lib/odbc"}) {
        const fs::path p = fs::path(d) / file;
        if (fs::exists(p))
            return p.string();
    }
    return {};
}

// One attribute of an ODBC connection string ("Port" of "Server=x;Port=5;...").
std::string Attribute(const std::string& cs, const std::string& key)
{
    size_t at = 0;
    while (at < cs.size()) {
        size_t end = cs.find(';', at);
        if (end == std::string::npos)
            end = cs.size();
        const std::string part = cs.substr(at, end - at);
        const size_t eq = part.find('=');
        if (eq != std::string::npos && strcasecmp(part.substr(0, eq).c_str(), key.c_str()) == 0)
            return part.substr(eq + 1);
        at = end + 1;
    }
    return {};
}

enum class Engine { SQLite, PostgreSQL };

const char* EngineName(Engine engine) { return engine == Engine::SQLite ? "SQLite" : "PostgreSQL"; }

// The temporary folder, the ODBC configuration and one database per engine, once per
// process. PostgreSQL takes part when ZYN_PG_DSN names a server (scripts/pg-start): the
// tables go into a private schema of that database, dropped at the end.
class BenchEnv {
public:
    static BenchEnv& Get()
    {
        static BenchEnv env;
        return env;
    }

    const std::string& Error(Engine engine) const { return engine == Engine::SQLite ? m_error : m_pgError; }
    std::wstring FilePath(Engine engine, const std::string& name) const
    {
        return (m_dir / (std::string(EngineName(engine)) + "-" + name)).wstring();
    }

    std::unique_ptr<CZynDatabase> Open(Engine engine)
    {
        auto db = std::make_unique<CZynDatabase>();
        if (engine == Engine::SQLite)
            db->OpenEx(zyn::db::SqliteConnectString(m_dbFile.c_str()).GetString(), CDatabase::noOdbcDialog);
        else
            db->OpenEx(m_pgConnect.c_str(), CDatabase::noOdbcDialog);
        return db;
    }

    ~BenchEnv()
    {
        if (!m_pgSchema.empty() && m_pgError.empty()) {
            try {
                CDatabase admin;
                admin.OpenEx(m_pgAdmin.c_str(), CDatabase::noOdbcDialog);
                admin.ExecuteSQL((L"DROP SCHEMA IF EXISTS " + m_pgSchema + L" CASCADE").c_str());
                admin.Close();
            } catch (CException* e) {
                std::fprintf(stderr, "dropping the benchmark schema: %s\n", Describe(e).c_str());
            }
        }
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

private:
    BenchEnv()
    {
        char templ[] = "/tmp/zyn-archive-bench-XXXXXX";
        if (!mkdtemp(templ)) {
            m_error = m_pgError = "cannot create a temporary folder";
            return;
        }
        m_dir = templ;
        const std::string sqliteDriver = FindDriver("libsqlite3odbc.so");
        const std::string pgDriver = FindDriver("psqlodbcw.so");
        std::ofstream inst(m_dir / "odbcinst.ini");
        if (!sqliteDriver.empty())
            inst << "[SQLite3]\nDescription=SQLite3 ODBC driver\nDriver=" << sqliteDriver << "\n\n";
        if (!pgDriver.empty())
            inst << "[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver\nDriver=" << pgDriver << "\n\n";
        inst.close();
        std::ofstream(m_dir / "odbc.ini") << "\n";
        setenv("ODBCSYSINI", m_dir.c_str(), 1);
        setenv("ODBCINI", (m_dir / "odbc.ini").c_str(), 1);
        if (!std::getenv("ZYN_LOG_DIR"))
            setenv("ZYN_LOG_DIR", m_dir.c_str(), 1);

        if (sqliteDriver.empty()) {
            m_error = "the SQLite3 ODBC driver (libsqlite3odbc.so) was not found";
        } else {
            m_dbFile = (m_dir / "bench.db").wstring();
            try {
                zyn::db::CreateDatabase(m_dbFile.c_str(), zyn::db::SchemaEngine::SQLite, true);
            } catch (CException* e) {
                m_error = "cannot create the database: " + Describe(e);
            }
        }
        PreparePostgres(pgDriver);
    }

    void PreparePostgres(const std::string& driver)
    {
        const char* dsn = std::getenv("ZYN_PG_DSN");
        if (!dsn || !*dsn) {
            m_pgError = "no PostgreSQL server (ZYN_PG_DSN; see scripts/pg-start)";
            return;
        }
        if (driver.empty()) {
            m_pgError = "the PostgreSQL ODBC driver (psqlodbcw.so) was not found";
            return;
        }
        const std::string server = Attribute(dsn, "Server");
        std::string base = "Driver=" + driver + ";Server=" + (server.empty() ? "127.0.0.1" : server);
        for (const char* key : {"Port", "Database", "UID", "PWD"}) {
            const std::string value = Attribute(dsn, key);
            if (!value.empty())
                base += std::string(";") + key + "=" + value;
        }
        const std::string schema = "zyn_bench_" + std::to_string(::getpid());
        m_pgSchema = zyn::base::FromUtf8(schema);
        m_pgAdmin = zyn::base::FromUtf8(base + ";");
        m_pgConnect = zyn::base::FromUtf8(base + ";ConnSettings={SET search_path TO " + schema + "};");
        try {
            CDatabase admin;
            admin.OpenEx(m_pgAdmin.c_str(), CDatabase::noOdbcDialog);
            admin.ExecuteSQL((L"DROP SCHEMA IF EXISTS " + m_pgSchema + L" CASCADE").c_str());
            admin.ExecuteSQL((L"CREATE SCHEMA " + m_pgSchema).c_str());
            admin.Close();
            zyn::db::CreateDatabase(m_pgConnect.c_str(), zyn::db::SchemaEngine::PostgreSQL);
        } catch (CException* e) {
            m_pgError = "cannot create the PostgreSQL schema: " + Describe(e);
        }
    }

    fs::path m_dir;
    std::wstring m_dbFile;
    std::string m_error;
    std::string m_pgError;
    std::wstring m_pgSchema;
    std::wstring m_pgAdmin;
    std::wstring m_pgConnect;
};

// N events, all older than the cut-off, in one statement.
// Empties a table; on PostgreSQL by TRUNCATE, so that no dead rows of the run before
// (and no vacuum of them) weigh on the next.
void Empty(Engine engine, CZynDatabase& db, const wchar_t* table)
{
    db.ExecuteSQL((std::wstring(engine == Engine::PostgreSQL ? L"TRUNCATE " : L"DELETE FROM ") + table).c_str());
}

void Populate(Engine engine, CZynDatabase& db, int64_t rows)
{
    Empty(engine, db, L"EVENTS");
    const wchar_t* columns =
        L"INSERT INTO EVENTS (SERIALNUM, DEVID, INPUTDEVID, EVENTTYPE, EVENTID, EVENTDATA, CARDNUM, MACHINE, "
        L"EMPID, INPUTARG, TRIGGER_EVENT, FUNCLIST, ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, "
        L"TRANSMITTER_INPUTID, ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, "
        L"EVENTCODE, SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) ";
    const wchar_t* values =
        L"SELECT I, I %% 50, 2, 100 + I %% 7, 4, 5, 1000000000 + I, 1 + I %% 4, I %% 1000, 7, 8, 9, 10, 11, -1, "
        L"12, 13, -1, 14, 'Door ' || I || %s(9) || 'forced open', 15, 16, 17, 18, 'CODE' || (I %% 10), "
        L"CASE WHEN I %% 3 = 0 THEN NULL ELSE I %% 20 END, 1, 0, 0, %s ";
    CString sql(columns);
    if (engine == Engine::SQLite) {
        sql.AppendFormat(L"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %I64d) ", rows);
        sql.AppendFormat(values, L"char", L"'2010-01-02 03:04:05.000'");
        sql += L"FROM N";
    } else {
        sql.AppendFormat(values, L"chr", L"TIMESTAMP '2010-01-02 03:04:05'");
        sql.AppendFormat(L"FROM generate_series(1, %I64d) AS I", rows);
    }
    db.ExecuteSQL(sql.GetString());
    if (engine == Engine::PostgreSQL)
        db.ExecuteSQL(L"ANALYZE EVENTS");
}

const COleDateTime& Cutoff()
{
    static const COleDateTime cutoff(2020, 1, 1, 0, 0, 0);
    return cutoff;
}

namespace odbc = zyn::afx::odbc;

// Parameters of the baselines' prepared statements.
odbc::Param Int32(int32_t v) { return {odbc::Kind::Int32, odbc::Direction::Input, v}; }
odbc::Param Int64(int64_t v) { return {odbc::Kind::Int64, odbc::Direction::Input, v}; }
odbc::Param Text(const wchar_t* v) { return {odbc::Kind::Text, odbc::Direction::Input, std::wstring(v)}; }
odbc::Param Time(const TIMESTAMP_STRUCT& v) { return {odbc::Kind::Timestamp, odbc::Direction::Input, v}; }
odbc::Param NullOf(odbc::Kind kind) { return {kind, odbc::Direction::Input, odbc::Null{}}; }

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

// The rates of every run, for the summary at the end: (engine, what, rows) -> rows/s.
std::map<std::tuple<std::string, std::string, int64_t>, std::vector<double>>& Rates()
{
    static std::map<std::tuple<std::string, std::string, int64_t>, std::vector<double>> rates;
    return rates;
}

using Clock = std::chrono::steady_clock;

void Record(Engine engine, const char* what, int64_t rows, Clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds > 0)
        Rates()[{EngineName(engine), what, rows}].push_back(static_cast<double>(rows) / seconds);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Per engine and size: the median rate of each, and the pass's and the restore's share
// of their baselines': the median of the rounds' shares (each round runs a baseline
// right before its counterpart, so both meet the same load of the machine).
void PrintSummary()
{
    std::printf("\n%-10s %7s %14s %14s %6s %14s %14s %6s\n", "engine", "rows", "raw pass/s", "pass/s", "share",
        "raw restore/s", "restore/s", "share");
    for (Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        for (int64_t rows : {int64_t{10000}, int64_t{100000}}) {
            auto rates = [&](const char* what) { return Rates()[{EngineName(engine), what, rows}]; };
            auto share = [&](const char* what, const char* base) {
                const std::vector<double> a = rates(what), b = rates(base);
                std::vector<double> shares;
                for (size_t i = 0; i < a.size() && i < b.size(); ++i)
                    if (b[i] > 0)
                        shares.push_back(a[i] / b[i]);
                return Median(shares);
            };
            const double bp = Median(rates("BaselinePass")), p = Median(rates("PurgePass"));
            const double bi = Median(rates("BaselineInsert")), r = Median(rates("Restore"));
            if (bp == 0 && p == 0 && bi == 0 && r == 0)
                continue;
            std::printf("%-10s %7lld %14.0f %14.0f %6.2f %14.0f %14.0f %6.2f\n", EngineName(engine),
                static_cast<long long>(rows), bp, p, share("PurgePass", "BaselinePass"), bi, r,
                share("Restore", "BaselineInsert"));
        }
    }
}

void SetCounters(benchmark::State& state, int64_t rows, size_t rssBefore)
{
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["rss_MB"] = static_cast<double>(StatusBytes("VmRSS")) / 1e6;
    state.counters["rss_growth_MB"] =
        (static_cast<double>(StatusBytes("VmRSS")) - static_cast<double>(rssBefore)) / 1e6;
    state.counters["peak_rss_MB"] = static_cast<double>(StatusBytes("VmHWM")) / 1e6;
}

#define BENCH_ENV_OR_SKIP(env, engine)                  \
    BenchEnv& env = BenchEnv::Get();                    \
    if (!env.Error(engine).empty()) {                   \
        state.SkipWithError(env.Error(engine).c_str()); \
        return;                                         \
    }

void BM_PurgePass(benchmark::State& state, Engine engine)
{
    BENCH_ENV_OR_SKIP(env, engine);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open(engine);
        for (auto _ : state) {
            state.PauseTiming();
            Populate(engine, *db, rows);
            const std::wstring path = env.FilePath(engine, "pass.txt");
            std::error_code ec;
            fs::remove(path, ec);
            CStdioFileUnicode file;
            file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();

            CLogEvents events(db.get(), false, true);
            std::vector<zyn::archive::PurgeStep> steps(1);
            steps[0].set = &events;
            steps[0].prepare = [](CZynArchiveSet& s) { static_cast<CLogEvents&>(s).PrepareForPurge(); };
            const auto result = zyn::archive::RunPurgePass(*db, Cutoff(), steps, &file);
            file.Close();

            Record(engine, "PurgePass", rows, start);
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
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The pass's statements issued directly: one transaction, the select of the old rows
// through a plain record set and a prepared keyed delete per row, straight through the
// driver layer.
void BM_BaselinePass(benchmark::State& state, Engine engine)
{
    BENCH_ENV_OR_SKIP(env, engine);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open(engine);
        for (auto _ : state) {
            state.PauseTiming();
            Populate(engine, *db, rows);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();

            db->BeginTrans();
            PlainEvents set(db.get());
            set.m_strFilter = L"EVENT_TIME_UTC < '2020-01-01 00:00:00.000'";
            set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
            int64_t n = 0;
            odbc::Statement del(*db->GetOdbcConnection());
            del.Prepare(L"DELETE FROM EVENTS WHERE EVTROWID = ?");
            del.SetParams({Int64(0)});
            for (; !set.IsEOF(); set.MoveNext()) {
                del.Params()[0].value = int64_t{set.m_rowId};
                del.Execute();
                ++n;
            }
            set.Close();
            db->CommitTrans();

            Record(engine, "BaselinePass", rows, start);
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
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The archive file of N rows, written once per size by a pass.
std::wstring ArchiveFileOf(BenchEnv& env, Engine engine, CZynDatabase& db, int64_t rows)
{
    const std::wstring path = env.FilePath(engine, "restore-" + std::to_string(rows) + ".txt");
    if (fs::exists(path))
        return path;
    Populate(engine, db, rows);
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

void BM_Restore(benchmark::State& state, Engine engine)
{
    BENCH_ENV_OR_SKIP(env, engine);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open(engine);
        const std::wstring path = ArchiveFileOf(env, engine, *db, rows);
        for (auto _ : state) {
            state.PauseTiming();
            Empty(engine, *db, L"EVENTS_RESTORED");
            CStdioFileUnicode file;
            file.Open(path.c_str(), CFile::modeRead);
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();

            CLogEvents restored(db.get(), true, true);
            const LONG n = restored.RestoreArchiveRecords(file, 0, nullptr, nullptr, 0);

            Record(engine, "Restore", rows, start);
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
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The restore's statements issued directly: per batch of rows a transaction, the look-up
// of the batch's keys (the same SELECT the restore runs, its rows fetched), and a
// prepared insert of the same 31 columns per row.
void BM_BaselineInsert(benchmark::State& state, Engine engine)
{
    BENCH_ENV_OR_SKIP(env, engine);
    const int64_t rows = state.range(0);
    try {
        auto db = env.Open(engine);
        const std::vector<zyn::archive::KeyColumn> keyColumns = zyn::archive::EventKeyColumns();
        for (auto _ : state) {
            state.PauseTiming();
            Empty(engine, *db, L"EVENTS_RESTORED");
            const size_t rssBefore = StatusBytes("VmRSS");
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();

            odbc::Statement insert(*db->GetOdbcConnection());
            insert.Prepare(L"INSERT INTO EVENTS_RESTORED (SERIALNUM, EVENTIME, DEVID, INPUTDEVID, EVENTTYPE, "
                           L"EVENTID, EVENTDATA, CARDNUM, MACHINE, EMPID, INPUTARG, TRIGGER_EVENT, FUNCLIST, "
                           L"ASSETID, EVENT_PARAMID, CALLED_STATION, TRANSMITTERID, TRANSMITTER_INPUTID, "
                           L"ISSUECODE, WRKSTATIONID, EVENT_TEXT, RECEIVERID, LINENUM, AREAID, USERID, EVENTCODE, "
                           L"SEGMENTID, ZYN_DBID, AREAAPBID, ALARMMASKGROUPID, EVENT_TIME_UTC) VALUES (?, ?, ?, "
                           L"?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            const TIMESTAMP_STRUCT time{2010, 1, 2, 3, 4, 5, 0};
            // The parameter list is built once; each row changes the values that differ.
            insert.SetParams({Int32(0), NullOf(odbc::Kind::Timestamp), Int32(0), Int32(2), Int32(0), Int32(4),
                Int32(5), Int64(0), Int32(0), Int32(0), Int32(7), Int32(8), Int32(9), Int32(10), Int32(11), Int32(-1),
                Int32(12), Int32(13), Int32(-1), Int32(14), Text(L"Door\x1BIforced open"), Int32(15), Int32(16),
                Int32(17), Int32(18), Text(L"CODE1"), Int32(0), Int32(1), Int32(0), Int32(0), Time(time)});
            std::vector<odbc::Param>& p = insert.Params();
            constexpr int64_t kBatch = zyn::archive::RestoreBatch<int>::DefaultCapacity;
            std::vector<zyn::archive::RowIdentity> ids;
            std::vector<const zyn::archive::RowIdentity*> keys;
            for (int64_t first = 1; first <= rows; first += kBatch) {
                const int64_t last = std::min(rows, first + kBatch - 1);
                ids.clear();
                keys.clear();
                for (int64_t i = first; i <= last; ++i)
                    ids.push_back({CString(), {int64_t{1 + i % 4}, i}});
                for (const auto& id : ids)
                    keys.push_back(&id);
                db->BeginTrans();
                odbc::Statement lookup(*db->GetOdbcConnection());
                lookup.ExecDirect(
                    zyn::archive::DatabaseRestoreTarget::FormatLookup(*db, L"EVENTS_RESTORED", keyColumns, keys)
                        .Str());
                int64_t machine = 0;
                int64_t serial = 0;
                while (lookup.Fetch()) {
                    lookup.GetInt64(1, machine);
                    lookup.GetInt64(2, serial);
                }
                lookup.CloseCursor();
                for (int64_t i = first; i <= last; ++i) {
                    const auto v = static_cast<int32_t>(i);
                    p[0].value = v;
                    p[2].value = v % 50;
                    p[4].value = 100 + v % 7;
                    p[7].value = int64_t{1000000000 + i};
                    p[8].value = 1 + v % 4;
                    p[9].value = v % 1000;
                    if (v % 3 == 0)
                        p[26].value = odbc::Null{};
                    else
                        p[26].value = v % 20;
                    insert.Execute();
                }
                db->CommitTrans();
            }

            Record(engine, "BaselineInsert", rows, start);
            state.PauseTiming();
            SetCounters(state, rows, rssBefore);
            state.ResumeTiming();
        }
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

} // namespace

// Each run consumes its rows, so one iteration per size; the smaller size comes first
// so that a growth of memory with the rows would show in the larger run. The pass and
// the restore run beside their baselines, engine by engine (ZYN_BENCH_ROUNDS rounds,
// default 3), and a summary of the median rates and ratios ends the output.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    using Fn = void (*)(benchmark::State&, Engine);
    const std::pair<const char*, Fn> kinds[] = {{"BaselinePass", BM_BaselinePass}, {"PurgePass", BM_PurgePass},
        {"BaselineInsert", BM_BaselineInsert}, {"Restore", BM_Restore}};
    // Rounds of each pair, one after the other, so that a machine busy with other work
    // slows both sides of a ratio alike; the summary takes the medians.
    const char* roundsText = std::getenv("ZYN_BENCH_ROUNDS");
    const int rounds = std::clamp(roundsText ? std::atoi(roundsText) : 3, 1, 50);
    for (Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        for (int round = 1; round <= rounds; ++round) {
            for (const int64_t rows : {int64_t{10000}, int64_t{100000}}) {
                for (const auto& [name, fn] : kinds) {
                    const std::string label = std::string(EngineName(engine)) + "/" + name + "/round" +
                                              std::to_string(round);
                    benchmark::RegisterBenchmark(label.c_str(), fn, engine)
                        ->Arg(rows)
                        ->Iterations(1)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                }
            }
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
