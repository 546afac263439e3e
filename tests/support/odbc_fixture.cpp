#include "tests/support/odbc_fixture.h"

#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/afx/db/dbexception.h"
#include "platform/base/utf16.h"
#include "tests/support/testenv.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace fs = std::filesystem;

namespace zyn::test {

namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Trim(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return s.substr(i);
}

std::string Lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Driver= of the first section of an odbcinst.ini whose name contains `want`
// (case-insensitive); "" when none.
std::string DriverFromIni(const std::string& path, const std::vector<std::string>& wants)
{
    std::ifstream in(path);
    if (!in)
        return {};
    std::string line, section;
    std::vector<std::pair<std::string, std::string>> found;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        if (Lower(Trim(line.substr(0, eq))) == "driver")
            found.emplace_back(Lower(section), Trim(line.substr(eq + 1)));
    }
    for (const auto& want : wants)
        for (const auto& [sec, drv] : found)
            if (sec == want)
                return drv;
    return {};
}

// The folder that holds the driver manager's library (libodbc), found from the loaded
// library itself, so no distribution's layout is assumed.
std::string DriverManagerDir()
{
    void* h = ::dlopen("libodbc.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!h)
        h = ::dlopen("libodbc.so", RTLD_NOW | RTLD_NOLOAD);
    if (!h)
        return {};
    void* sym = ::dlsym(h, "SQLAllocHandle");
    Dl_info info{};
    std::string dir;
    if (sym && ::dladdr(sym, &info) && info.dli_fname)
        dir = fs::path(info.dli_fname).parent_path().string();
    ::dlclose(h);
    return dir;
}

// An absolute path of a driver library, from an odbcinst.ini value or a file name.
std::string ResolveDriver(const std::string& value, const std::string& fallbackName)
{
    std::vector<std::string> names;
    if (!value.empty())
        names.push_back(value);
    names.push_back(fallbackName);
    const std::string dmDir = DriverManagerDir();
    for (const auto& n : names) {
        if (n.empty())
            continue;
        if (n[0] == '/') {
            if (fs::exists(n))
                return n;
            continue;
        }
        std::vector<std::string> dirs;
        if (!dmDir.empty()) {
            dirs.push_back(dmDir + "/odbc");
            dirs.push_back(dmDir);
        }
        for (const char* d : {"/usr/lib/odbc", "/usr/lib64", "/usr/lib", "/usr/local/lib", "/usr/local/lib/odbc"})
            dirs.push_back(d);
        for (const auto& d : dirs)
            if (fs::exists(d + "/" + n))
                return d + "/" + n;
    }
    return {};
}

void WriteFile(const std::string& path, const std::string& text)
{
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        out << text;
    }
    fs::rename(tmp, path);
}

std::string Attr(const std::string& cs, const std::string& key)
{
    std::stringstream ss(cs);
    std::string part;
    while (std::getline(ss, part, ';')) {
        const size_t eq = part.find('=');
        if (eq != std::string::npos && Lower(Trim(part.substr(0, eq))) == Lower(key))
            return Trim(part.substr(eq + 1));
    }
    return {};
}

} // namespace

OdbcSetup& OdbcSetup::Instance()
{
    static OdbcSetup setup;
    return setup;
}

OdbcSetup::OdbcSetup()
{
    // The driver manager loads its installer library (and the drivers) on demand and
    // unloads them again; kept resident, their allocations stay attributable for the
    // leak checker's suppressions (DontDLClose below does the same for the drivers),
    // and connections do not reload them each time.
    ::dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    m_dir = TempRoot() + "/odbc";
    fs::create_directories(m_dir);
    m_sqliteFile = m_dir + "/orvan.db";
    m_odbcIni = m_dir + "/odbc.ini";

    // The drivers: an explicit path, else what the machine's odbcinst.ini names (read
    // before ODBCSYSINI is pointed elsewhere), else the usual file names.
    std::string sysIni = Env("ODBCSYSINI").empty() ? "/etc/odbcinst.ini" : Env("ODBCSYSINI") + "/odbcinst.ini";
    m_sqliteDriver = Env("ZYN_ODBC_SQLITE_DRIVER");
    if (m_sqliteDriver.empty())
        m_sqliteDriver = ResolveDriver(DriverFromIni(sysIni, {"sqlite3", "sqlite3 odbc driver"}), "libsqlite3odbc.so");
    m_pgDriver = Env("ZYN_ODBC_PG_DRIVER");
    if (m_pgDriver.empty())
        m_pgDriver = ResolveDriver(DriverFromIni(sysIni, {"postgresql unicode", "postgresql"}), "psqlodbcw.so");

    m_pgHost = Env("ZYN_PG_HOST");
    m_pgPort = Env("ZYN_PG_PORT");
    m_pgDb = Env("ZYN_PG_DB");
    m_pgUser = Env("ZYN_PG_USER");
    m_pgPassword = Env("ZYN_PG_PASSWORD");
    const std::string dsn = Env("ZYN_PG_DSN");
    if (m_pgHost.empty() && !dsn.empty()) {
        m_pgHost = Attr(dsn, "Server");
        if (m_pgHost.empty())
            m_pgHost = Attr(dsn, "Servername");
        m_pgPort = Attr(dsn, "Port");
        m_pgDb = Attr(dsn, "Database");
        m_pgUser = Attr(dsn, "UID");
        if (m_pgUser.empty())
            m_pgUser = Attr(dsn, "Username");
        m_pgPassword = Attr(dsn, "PWD");
    }
    if (m_pgHost.empty() || m_pgDb.empty())
        m_pgReason = "no PostgreSQL server given: run eval \"$(scripts/pg-start)\" (or set ZYN_PG_HOST, ZYN_PG_PORT, "
                     "ZYN_PG_DB, ZYN_PG_USER) to run the PostgreSQL cases";
    else if (m_pgDriver.empty())
        m_pgReason = "the PostgreSQL ODBC driver (psqlodbcw.so) was not found";
    if (m_pgPort.empty())
        m_pgPort = "5432";
    if (m_pgUser.empty())
        m_pgUser = "postgres";
    m_pgSchema = "zt_" + std::to_string(::getpid());

    WriteIniFiles();
    ::setenv("ODBCSYSINI", m_dir.c_str(), 1);
    ::unsetenv("ODBCINSTINI");
    ::setenv("ODBCINI", m_odbcIni.c_str(), 1);
}

void OdbcSetup::WriteIniFiles()
{
    std::ostringstream inst;
    if (!m_sqliteDriver.empty())
        inst << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << m_sqliteDriver << "\nDontDLClose=1\n\n";
    if (!m_pgDriver.empty())
        inst << "[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode)\nDriver=" << m_pgDriver
             << "\nDontDLClose=1\n\n";
    WriteFile(m_dir + "/odbcinst.ini", inst.str());

    auto sqlite = [&](const std::string& name) {
        return "[" + name + "]\nDriver=SQLite3\nDatabase=" + m_sqliteFile + "\n\n";
    };
    auto pg = [&](const std::string& name, bool withSchema) {
        std::string s = "[" + name + "]\nDriver=PostgreSQL Unicode\nServername=" + m_pgHost + "\nPort=" + m_pgPort
            + "\nDatabase=" + m_pgDb + "\nUsername=" + m_pgUser + "\n";
        if (!m_pgPassword.empty())
            s += "Password=" + m_pgPassword + "\n";
        if (withSchema)
            s += "ConnSettings=SET search_path TO " + m_pgSchema + "\n";
        return s + "\n";
    };
    std::ostringstream ini;
    ini << sqlite("ZYN_SQLITE");
    if (HavePostgres()) {
        ini << pg("ZYN_PG", true) << pg("ZYN_PG_ADMIN", false);
    }
    for (const char* name : {"ORVAN", "LocalSourceControl"}) {
        if (m_system == DbEngineKind::postgresql && HavePostgres())
            ini << pg(name, true);
        else
            ini << sqlite(name);
    }
    WriteFile(m_odbcIni, ini.str());
}

std::wstring OdbcSetup::ConnectString(DbEngineKind engine) const
{
    return engine == DbEngineKind::sqlite ? L"ODBC;DSN=ZYN_SQLITE;" : L"ODBC;DSN=ZYN_PG;";
}

std::wstring OdbcSetup::DriverConnectString(DbEngineKind engine) const
{
    std::string s;
    if (engine == DbEngineKind::sqlite) {
        s = "Driver=" + m_sqliteDriver + ";Database=" + m_sqliteFile + ";";
    } else {
        s = "Driver=" + m_pgDriver + ";Server=" + m_pgHost + ";Port=" + m_pgPort + ";Database=" + m_pgDb
            + ";UID=" + m_pgUser + ";";
        if (!m_pgPassword.empty())
            s += "PWD=" + m_pgPassword + ";";
        s += "ConnSettings={SET search_path TO " + m_pgSchema + "};";
    }
    return zyn::base::FromUtf8(s);
}

void OdbcSetup::PointSystemDsnsAt(DbEngineKind engine)
{
    m_system = engine;
    WriteIniFiles();
}

void OdbcSetup::ResetDatabase(DbEngineKind engine)
{
    if (engine == DbEngineKind::sqlite) {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            fs::remove(m_sqliteFile + suffix);
        return;
    }
    CDatabase admin;
    admin.OpenEx(L"ODBC;DSN=ZYN_PG_ADMIN;", CDatabase::noOdbcDialog);
    const std::wstring schema = zyn::base::FromUtf8(m_pgSchema);
    admin.ExecuteSQL((L"DROP SCHEMA IF EXISTS " + schema + L" CASCADE").c_str());
    admin.ExecuteSQL((L"CREATE SCHEMA " + schema).c_str());
    admin.Close();
}

void OdbcSetup::DropDatabase(DbEngineKind engine)
{
    if (engine == DbEngineKind::sqlite) {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            fs::remove(m_sqliteFile + suffix);
        return;
    }
    CDatabase admin;
    admin.OpenEx(L"ODBC;DSN=ZYN_PG_ADMIN;", CDatabase::noOdbcDialog);
    admin.ExecuteSQL((L"DROP SCHEMA IF EXISTS " + zyn::base::FromUtf8(m_pgSchema) + L" CASCADE").c_str());
    admin.Close();
}

void OdbcTest::SetUp()
{
    auto& setup = OdbcSetup::Instance();
    if (Engine() == DbEngineKind::postgresql && !setup.HavePostgres())
        GTEST_SKIP() << "PostgreSQL case skipped: " << setup.PostgresSkipReason();
    if (Engine() == DbEngineKind::sqlite && !setup.HaveSqlite())
        GTEST_SKIP() << "SQLite case skipped: the SQLite3 ODBC driver (libsqlite3odbc.so) was not found";
    try {
        setup.ResetDatabase(Engine());
        m_db = std::make_unique<CDatabase>();
        m_db->OpenEx(setup.ConnectString(Engine()).c_str(), CDatabase::noOdbcDialog);
    } catch (CException* e) {
        const std::string text = DescribeDbException(e);
        e->Delete();
        FAIL() << "cannot open the test database: " << text;
    }
}

void OdbcTest::TearDown()
{
    if (m_db) {
        try {
            m_db->Close();
        } catch (CException* e) {
            ADD_FAILURE() << "closing the test database: " << DescribeDbException(e);
            e->Delete();
        }
        m_db.reset();
    }
    if (Engine() == DbEngineKind::postgresql && OdbcSetup::Instance().HavePostgres() && !IsSkipped()) {
        // Leave nothing behind in the shared server.
        try {
            OdbcSetup::Instance().DropDatabase(DbEngineKind::postgresql);
        } catch (CException* e) {
            ADD_FAILURE() << "dropping the test schema: " << DescribeDbException(e);
            e->Delete();
        }
    }
}

void OdbcTest::Exec(const wchar_t* sql)
{
    try {
        m_db->ExecuteSQL(sql);
    } catch (CException* e) {
        ADD_FAILURE() << "SQL failed: " << zyn::base::ToUtf8(sql) << ": " << DescribeDbException(e);
        e->Delete();
    }
}

std::string EngineParamName(const ::testing::TestParamInfo<DbEngineKind>& info)
{
    return info.param == DbEngineKind::sqlite ? "SQLite" : "PostgreSQL";
}

size_t ResidentBytes()
{
    std::ifstream in("/proc/self/statm");
    size_t pages = 0, resident = 0;
    in >> pages >> resident;
    return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

size_t LiveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 mi = ::mallinfo2();
    return mi.uordblks + mi.hblkhd;
#endif
}

std::string DescribeDbException(const CException* e)
{
    if (!e)
        return "(null)";
    if (auto* db = dynamic_cast<const CDBException*>(e))
        return "[" + zyn::base::ToUtf8(db->GetSQLState().GetString()) + "] " + zyn::base::ToUtf8(db->m_strError.GetString())
            + " (code " + std::to_string(db->m_nRetCode) + ")";
    return zyn::base::ToUtf8(e->GetMessageText().GetString());
}

} // namespace zyn::test
