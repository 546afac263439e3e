// The record set's own cost per row on SQLite, beside the same work done without it:
// - insert: AddNew, set 32 members of every field kind the archive sets use, Update;
//   against the driver layer running the same INSERT, prepared once, per row with the
//   same values bound (the parameter list built once, its values changed per row);
// - read: a forward-only record set over the same 32 columns; against the driver layer
//   fetching the same columns into plain variables.
// Every run is one transaction, so the figures show the per-row work, not the disk's
// flush time. Reported as rows per second.
//
// Self-contained like archive_bench: its own odbcinst.ini naming the SQLite3 driver and
// a temporary database with one table.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/afx/db/odbc_driver.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/utf16.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLongs = 26;

std::string Describe(CException* e)
{
    std::string text = zyn::base::ToUtf8(e->GetMessageText().GetString());
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

std::wstring ColumnList()
{
    std::wstring s = L"ROWNUM, CARDNUM, TEXT1, TEXT2, TIME1, TIME2";
    for (int i = 0; i < kLongs; ++i)
        s += L", L" + std::to_wstring(i);
    return s;
}

class Env {
public:
    static Env& Get()
    {
        static Env env;
        return env;
    }
    const std::string& Error() const { return m_error; }
    CDatabase& Db() { return *m_db; }

    ~Env()
    {
        m_db.reset();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

private:
    Env()
    {
        char templ[] = "/tmp/zyn-recordset-bench-XXXXXX";
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
        try {
            m_db = std::make_unique<CDatabase>();
            m_db->OpenEx((L"Driver=SQLite3;Database=" + (m_dir / "bench.db").wstring()).c_str(),
                CDatabase::noOdbcDialog);
            std::wstring create = L"CREATE TABLE ROWS (ROWNUM INTEGER PRIMARY KEY, CARDNUM BIGINT, "
                                  L"TEXT1 VARCHAR(2000), TEXT2 VARCHAR(255), TIME1 TIMESTAMP, TIME2 TIMESTAMP";
            for (int i = 0; i < kLongs; ++i)
                create += L", L" + std::to_wstring(i) + L" INTEGER";
            create += L")";
            m_db->ExecuteSQL(create.c_str());
        } catch (CException* e) {
            m_error = "cannot create the database: " + Describe(e);
        }
    }

    fs::path m_dir;
    std::unique_ptr<CDatabase> m_db;
    std::string m_error;
};

class RowSet : public CRecordset {
public:
    explicit RowSet(CDatabase* db) : CRecordset(db) { m_nFields = 6 + kLongs; }
    CString GetDefaultSQL() override { return L"[ROWS]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        static const std::vector<std::wstring> names = [] {
            std::vector<std::wstring> v;
            for (int i = 0; i < kLongs; ++i)
                v.push_back(L"[L" + std::to_wstring(i) + L"]");
            return v;
        }();
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"[ROWNUM]", m_row);
        RFX_BigInt(pFX, L"[CARDNUM]", m_card);
        RFX_Text(pFX, L"[TEXT1]", m_text1, 2000, SQL_WVARCHAR);
        RFX_Text(pFX, L"[TEXT2]", m_text2, 255, SQL_WVARCHAR);
        RFX_Date(pFX, L"[TIME1]", m_time1);
        RFX_Date(pFX, L"[TIME2]", m_time2);
        for (int i = 0; i < kLongs; ++i)
            RFX_Long(pFX, names[static_cast<size_t>(i)].c_str(), m_long[i]);
    }
    LONG m_row = 0;
    int64_t m_card = 0;
    CString m_text1, m_text2;
    TIMESTAMP_STRUCT m_time1{}, m_time2{};
    LONG m_long[kLongs] = {};
};

const TIMESTAMP_STRUCT kTime{2010, 1, 2, 3, 4, 5, 0};

#define ENV_OR_SKIP(env)                          \
    Env& env = Env::Get();                        \
    if (!env.Error().empty()) {                   \
        state.SkipWithError(env.Error().c_str()); \
        return;                                   \
    }

void Rate(benchmark::State& state, int64_t rows)
{
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RecordsetInsert(benchmark::State& state)
{
    ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        for (auto _ : state) {
            state.PauseTiming();
            env.Db().ExecuteSQL(L"DELETE FROM ROWS");
            state.ResumeTiming();
            env.Db().BeginTrans();
            RowSet set(&env.Db());
            set.Open(CRecordset::dynaset, nullptr, CRecordset::appendOnly);
            for (int64_t i = 1; i <= rows; ++i) {
                set.AddNew();
                set.m_row = static_cast<LONG>(i);
                set.m_card = 1000000000 + i;
                set.m_text1 = L"Door forced open";
                set.m_text2 = L"CODE1";
                set.m_time1 = kTime;
                set.m_time2 = kTime;
                for (int k = 0; k < kLongs; ++k)
                    set.m_long[k] = static_cast<LONG>(i % 50 + k);
                if (i % 3 == 0)
                    set.SetFieldNull(&set.m_long[3]);
                set.Update();
            }
            set.Close();
            env.Db().CommitTrans();
        }
        Rate(state, rows);
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

void BM_DirectInsert(benchmark::State& state)
{
    ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    namespace odbc = zyn::afx::odbc;
    std::wstring sql = L"INSERT INTO ROWS (" + ColumnList() + L") VALUES (?";
    for (int i = 1; i < 6 + kLongs; ++i)
        sql += L", ?";
    sql += L")";
    auto param = [](odbc::Kind kind) {
        odbc::Param p;
        p.kind = kind;
        return p;
    };
    try {
        for (auto _ : state) {
            state.PauseTiming();
            env.Db().ExecuteSQL(L"DELETE FROM ROWS");
            state.ResumeTiming();
            env.Db().BeginTrans();
            // Prepared once and run per row, with one parameter list whose values change.
            odbc::Statement insert(*env.Db().GetOdbcConnection());
            insert.Prepare(sql);
            std::vector<odbc::Param> params{param(odbc::Kind::Int32), param(odbc::Kind::Int64),
                param(odbc::Kind::Text), param(odbc::Kind::Text), param(odbc::Kind::Timestamp),
                param(odbc::Kind::Timestamp)};
            params.resize(6 + kLongs, param(odbc::Kind::Int32));
            insert.SetParams(std::move(params));
            std::vector<odbc::Param>& p = insert.Params();
            for (int64_t i = 1; i <= rows; ++i) {
                p[0].value = static_cast<int32_t>(i);
                p[1].value = int64_t{1000000000 + i};
                p[2].value = std::wstring(L"Door forced open");
                p[3].value = std::wstring(L"CODE1");
                p[4].value = kTime;
                p[5].value = kTime;
                for (int k = 0; k < kLongs; ++k)
                    p[static_cast<size_t>(6 + k)].value = static_cast<int32_t>(i % 50 + k);
                if (i % 3 == 0)
                    p[9].value = odbc::Null{};
                insert.Execute();
            }
            env.Db().CommitTrans();
        }
        Rate(state, rows);
    } catch (const zyn::afx::odbc::Error& e) {
        state.SkipWithError(e.what());
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

// The table filled once per size for the reads.
void Fill(Env& env, int64_t rows)
{
    env.Db().ExecuteSQL(L"DELETE FROM ROWS");
    std::wstring sql = L"INSERT INTO ROWS (" + ColumnList() +
        L") WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < " + std::to_wstring(rows) +
        L") SELECT I, 1000000000 + I, 'Door ' || I || ' forced open', 'CODE' || (I % 10), "
        L"'2010-01-02 03:04:05', '2010-01-02 03:04:05'";
    for (int k = 0; k < kLongs; ++k)
        sql += k == 3 ? L", CASE WHEN I % 3 = 0 THEN NULL ELSE I % 50 END" : L", I % 50 + " + std::to_wstring(k);
    sql += L" FROM N";
    env.Db().ExecuteSQL(sql.c_str());
}

void BM_RecordsetRead(benchmark::State& state)
{
    ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    try {
        Fill(env, rows);
        for (auto _ : state) {
            RowSet set(&env.Db());
            set.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
            int64_t n = 0;
            int64_t sum = 0;
            for (; !set.IsEOF(); set.MoveNext()) {
                sum += set.m_long[0] + set.m_text1.GetLength();
                ++n;
            }
            set.Close();
            benchmark::DoNotOptimize(sum);
            if (n != rows) {
                state.SkipWithError("the record set read a different number of rows");
                return;
            }
        }
        Rate(state, rows);
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

void BM_DirectRead(benchmark::State& state)
{
    ENV_OR_SKIP(env);
    const int64_t rows = state.range(0);
    namespace odbc = zyn::afx::odbc;
    try {
        Fill(env, rows);
        for (auto _ : state) {
            odbc::Statement st(*env.Db().GetOdbcConnection());
            st.Prepare(L"SELECT " + ColumnList() + L" FROM ROWS");
            st.Execute();
            int64_t n = 0;
            int64_t sum = 0;
            int32_t row = 0;
            int64_t card = 0;
            std::wstring text1, text2;
            TIMESTAMP_STRUCT t1{}, t2{};
            int32_t longs[kLongs] = {};
            while (st.Fetch()) {
                st.GetInt32(1, row);
                st.GetInt64(2, card);
                st.GetText(3, text1);
                st.GetText(4, text2);
                st.GetTimestamp(5, t1);
                st.GetTimestamp(6, t2);
                for (int k = 0; k < kLongs; ++k)
                    st.GetInt32(static_cast<uint16_t>(7 + k), longs[k]);
                sum += longs[0] + static_cast<int64_t>(text1.size());
                ++n;
            }
            st.CloseCursor();
            benchmark::DoNotOptimize(sum);
            if (n != rows) {
                state.SkipWithError("the statement read a different number of rows");
                return;
            }
        }
        Rate(state, rows);
    } catch (const zyn::afx::odbc::Error& e) {
        state.SkipWithError(e.what());
    } catch (CException* e) {
        state.SkipWithError(Describe(e).c_str());
    }
}

} // namespace

BENCHMARK(BM_DirectInsert)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RecordsetInsert)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_DirectRead)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RecordsetRead)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

BENCHMARK_MAIN();
