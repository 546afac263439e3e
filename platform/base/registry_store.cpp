#include "platform/base/registry_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "platform/base/environment.h"
#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"
#include "platform/base/registry_store_check.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace fs = std::filesystem;

// ---- log ---------------------------------------------------------------------------

namespace {

std::mutex& LogMutex()
{
    static std::mutex m;
    return m;
}

RegistryLogHook& LogHook()
{
    static RegistryLogHook hook;
    return hook;
}

constexpr int kBusyTimeoutMs = 5000;
constexpr const char* kFormatVersion = "2";

std::wstring Widen(const char* text)
{
    return text ? FromUtf8(text) : std::wstring();
}

std::wstring PathText(const fs::path& p)
{
    return FromUtf8(p.string());
}

} // namespace

void SetRegistryLogHook(RegistryLogHook hook)
{
    std::lock_guard lock(LogMutex());
    LogHook() = std::move(hook);
}

void RegistryLog(const std::wstring& message)
{
    RegistryLogHook hook;
    {
        std::lock_guard lock(LogMutex());
        hook = LogHook();
    }
    if (hook) {
        hook(message);
        return;
    }
    const std::string text = ToUtf8(message);
    std::fprintf(stderr, "registry: %s\n", text.c_str());
}

int64_t RegistryNow()
{
    using namespace std::chrono;
    const auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
    constexpr int64_t k1601To1970 = 116444736000000000LL;
    return since1970 + k1601To1970;
}

// ---- statements ------------------------------------------------------------------------

namespace {

// One use of a cached statement: binds, steps, reads columns, and resets it afterwards.
class Use {
public:
    explicit Use(sqlite3_stmt* s) : m_s(s) {}
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    ~Use()
    {
        if (m_s) {
            sqlite3_reset(m_s);
            sqlite3_clear_bindings(m_s);
        }
    }
    int Bind(int i, int64_t v) { return sqlite3_bind_int64(m_s, i, v); }
    int Bind(int i, std::wstring_view text)
    {
        const std::u16string u = ToUtf16(text);
        return sqlite3_bind_text16(m_s, i, u.data(), static_cast<int>(u.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
    }
    int Bind(int i, std::span<const uint8_t> data)
    {
        if (data.empty())
            return sqlite3_bind_zeroblob(m_s, i, 0);
        return sqlite3_bind_blob64(m_s, i, data.data(), data.size(), SQLITE_TRANSIENT);
    }
    // Binds the parameters in order, from 1.
    template <class... Args>
    void BindAll(const Args&... args)
    {
        int i = 0;
        (Bind(++i, args), ...);
    }
    int Step() { return sqlite3_step(m_s); }
    sqlite3_stmt* Statement() const { return m_s; }
    int64_t Int(int c) const { return sqlite3_column_int64(m_s, c); }
    std::wstring Text(int c) const
    {
        const auto* p = static_cast<const char16_t*>(sqlite3_column_text16(m_s, c));
        const int bytes = sqlite3_column_bytes16(m_s, c);
        if (!p || bytes <= 0)
            return {};
        return FromUtf16(std::u16string_view(p, static_cast<size_t>(bytes) / sizeof(char16_t)));
    }
    std::vector<uint8_t> Blob(int c) const
    {
        const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(m_s, c));
        const int bytes = sqlite3_column_bytes(m_s, c);
        if (!p || bytes <= 0)
            return {};
        return std::vector<uint8_t>(p, p + bytes);
    }

private:
    sqlite3_stmt* m_s;
};

// The columns value reads select, in the order ReadValue takes them.
#define ZYN_VALUE_COLUMNS "name, type, data, key, folded, crc"

// A row of reg_values (ZYN_VALUE_COLUMNS); false when it does not match its row sum.
bool ReadValue(const Use& u, RegValueData& out)
{
    regstore::RowSum sum; // over key, name, folded, type, data, as the store writes it
    for (const int column : {3, 0, 4, 1, 2})
        sum.AddColumn(u.Statement(), column);
    if (sqlite3_column_type(u.Statement(), 5) != SQLITE_INTEGER || u.Int(5) != sum.Value())
        return false;
    out.name = u.Text(0);
    out.type = static_cast<DWORD>(u.Int(1));
    out.data = u.Blob(2);
    return true;
}

bool IsCorruption(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

} // namespace

// ---- store ---------------------------------------------------------------------------------

RegistryStore::RegistryStore(fs::path path, sqlite3* db) : m_path(std::move(path)), m_db(db) {}

RegistryStore::~RegistryStore()
{
    for (auto& [sql, stmt] : m_cache)
        sqlite3_finalize(stmt);
    m_cache.clear();
    if (!m_db)
        return;
    if (m_sound) {
        // Everything into the file and an empty log left behind, so the store file alone
        // holds the registry between runs. Busy when another process has the store open:
        // its last connection does it then.
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    }
    sqlite3_close(m_db);
}

LONG RegistryStore::Fail(int rc, bool writing, const char* what)
{
    const int primary = rc & 0xFF;
    LONG code;
    if (IsCorruption(rc))
        code = static_cast<LONG>(ERROR_REGISTRY_CORRUPT);
    else if (primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_AUTH)
        code = static_cast<LONG>(ERROR_ACCESS_DENIED);
    else if (primary == SQLITE_FULL)
        code = static_cast<LONG>(ERROR_DISK_FULL);
    else if (primary == SQLITE_NOMEM)
        code = static_cast<LONG>(ERROR_NOT_ENOUGH_MEMORY);
    else
        code = static_cast<LONG>(writing ? ERROR_CANTWRITE : ERROR_CANTREAD);
    const char* msg = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    RegistryLog(L"registry store \"" + PathText(m_path) + L"\": " + Widen(what) + L" failed: " + Widen(msg));
    return code;
}

LONG RegistryStore::DamagedRow(const char* what)
{
    RegistryLog(L"registry store \"" + PathText(m_path) + L"\": " + Widen(what) +
        L" failed: a row does not match its sum (the file was damaged)");
    return static_cast<LONG>(ERROR_REGISTRY_CORRUPT);
}

LONG RegistryStore::Exec(const char* sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &err);
    if (err)
        sqlite3_free(err);
    if (rc != SQLITE_OK)
        return Fail(rc, true, sql);
    return static_cast<LONG>(ERROR_SUCCESS);
}

sqlite3_stmt* RegistryStore::Prepare(const char* sql, LONG& error)
{
    for (auto& [text, stmt] : m_cache)
        if (text == sql)
            return stmt;
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        error = Fail(rc, false, "preparing a statement");
        return nullptr;
    }
    m_cache.emplace_back(sql, stmt);
    return stmt;
}

template <class... Args>
LONG RegistryStore::Run(const char* sql, const char* what, const Args&... args)
{
    LONG e = 0;
    sqlite3_stmt* s = Prepare(sql, e);
    if (!s)
        return e;
    Use u(s);
    u.BindAll(args...);
    const int rc = u.Step();
    if (rc != SQLITE_DONE)
        return Fail(rc, true, what);
    return static_cast<LONG>(ERROR_SUCCESS);
}

template <class Read, class... Args>
LONG RegistryStore::QueryRow(const char* sql, const char* what, LONG none, Read&& read, const Args&... args)
{
    LONG e = 0;
    sqlite3_stmt* s = Prepare(sql, e);
    if (!s)
        return e;
    Use u(s);
    u.BindAll(args...);
    const int rc = u.Step();
    if (rc == SQLITE_DONE)
        return none;
    if (rc != SQLITE_ROW)
        return Fail(rc, false, what);
    read(static_cast<const Use&>(u));
    return static_cast<LONG>(ERROR_SUCCESS);
}

template <class Read, class... Args>
LONG RegistryStore::QueryRows(const char* sql, const char* what, Read&& read, const Args&... args)
{
    LONG e = 0;
    sqlite3_stmt* s = Prepare(sql, e);
    if (!s)
        return e;
    Use u(s);
    u.BindAll(args...);
    int rc;
    while ((rc = u.Step()) == SQLITE_ROW)
        read(static_cast<const Use&>(u));
    if (rc != SQLITE_DONE)
        return Fail(rc, false, what);
    return static_cast<LONG>(ERROR_SUCCESS);
}

namespace {

// The tables of a store, format 2 (format 1 lacked the row sums).
constexpr const char* kSchema =
    "CREATE TABLE zyn_registry(property TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE reg_keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  parent INTEGER REFERENCES reg_keys(id),"
    "  name TEXT NOT NULL,"
    "  folded TEXT NOT NULL,"
    "  class TEXT NOT NULL DEFAULT '',"
    "  modified INTEGER NOT NULL,"
    "  crc INTEGER);"
    "CREATE UNIQUE INDEX reg_keys_child ON reg_keys(parent, folded);"
    "CREATE TABLE reg_values("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  key INTEGER NOT NULL REFERENCES reg_keys(id),"
    "  name TEXT NOT NULL,"
    "  folded TEXT NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  crc INTEGER);"
    "CREATE UNIQUE INDEX reg_values_name ON reg_values(key, folded);"
    "INSERT INTO zyn_registry VALUES('format', '2');";

// The row sums of the two tables, over the columns in this order.
constexpr const char* kKeySum = "zyn_row_sum(parent, name, folded, class, modified)";
constexpr const char* kValueSum = "zyn_row_sum(key, name, folded, type, data)";

// Runs SQL outside a store object (creating a store); false with SQLite's message.
bool ExecRaw(sqlite3* db, const char* sql, std::wstring& message)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK)
        message = Widen(err ? err : sqlite3_errstr(rc));
    sqlite3_free(err);
    return rc == SQLITE_OK;
}

// Makes a new store under `file`: the tables and the root key are written to a
// temporary file in the same folder, which then takes the name only if nothing has it
// yet. So the name never refers to a half-made store, and a zero-length or damaged file
// found under it is always damage, never a store another process is just creating.
LONG CreateStoreFile(const fs::path& file)
{
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        const int err = errno;
        RegistryLog(L"cannot create the registry store \"" + PathText(file) + L"\": " + FromUtf8(std::strerror(err)));
        return static_cast<LONG>(err == EACCES || err == EPERM || err == EROFS ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE);
    }
    static std::atomic<unsigned> counter{0};
    const fs::path temp = folder /
        ("." + file.filename().string() + ".new" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::error_code ec;
    fs::remove(temp, ec);
    sqlite3* db = nullptr;
    std::wstring message;
    bool ok = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
    if (!ok)
        message = Widen(db ? sqlite3_errmsg(db) : "out of memory");
    ok = ok && regstore::InstallRowSum(db) == SQLITE_OK;
    ok = ok && ExecRaw(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; BEGIN", message);
    ok = ok && ExecRaw(db, kSchema, message);
    if (ok) {
        sqlite3_stmt* s = nullptr;
        const std::string sql = std::string("INSERT INTO reg_keys(parent, name, folded, modified, crc) ") +
            "VALUES(NULL, '', '', ?1, zyn_row_sum(NULL, '', '', '', ?1))";
        ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_bind_int64(s, 1, RegistryNow()) == SQLITE_OK && sqlite3_step(s) == SQLITE_DONE;
        if (!ok)
            message = Widen(sqlite3_errmsg(db));
        sqlite3_finalize(s);
    }
    ok = ok && ExecRaw(db, "COMMIT", message);
    // Closing the only connection moves everything into the file and removes its log.
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        ok = false;
        message = L"closing the new store failed";
    }
    if (ok) {
        // Take the name only if it is still free (another process may have made the
        // store meanwhile: then that one is used). renameat2 cannot replace; file
        // systems without it get a hard link, which cannot replace either.
        int rc = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE);
        int err = rc == 0 ? 0 : errno;
        if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
            rc = ::link(temp.c_str(), file.c_str());
            err = rc == 0 ? 0 : errno;
        }
        if (err != 0 && err != EEXIST) {
            ok = false;
            message = FromUtf8(std::strerror(err));
        }
        if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
            ::fsync(dir); // the name survives a crash too
            ::close(dir);
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(temp.string() + suffix, ec);
    if (!ok) {
        RegistryLog(L"cannot create the registry store \"" + PathText(file) + L"\": " + message);
        return static_cast<LONG>(ERROR_CANTWRITE);
    }
    return static_cast<LONG>(ERROR_SUCCESS);
}

} // namespace

std::shared_ptr<RegistryStore> RegistryStore::Open(const fs::path& file, LONG& error)
{
    std::error_code ec;
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path(), ec);
        if (ec) {
            RegistryLog(L"cannot create the registry folder \"" + PathText(file.parent_path()) + L"\": " +
                FromUtf8(ec.message()));
            error = static_cast<LONG>(ERROR_PATH_NOT_FOUND);
            return nullptr;
        }
    }
    auto corrupt = [&](const std::wstring& detail) {
        RegistryLog(L"registry store \"" + PathText(file) + L"\" is damaged (" + detail +
            L"); it was left unchanged and the keys it holds are unavailable");
        error = static_cast<LONG>(ERROR_REGISTRY_CORRUPT);
        return nullptr;
    };
    // A file that vanishes between its creation and its opening is made again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!fs::exists(file, ec)) {
            error = CreateStoreFile(file);
            if (error != static_cast<LONG>(ERROR_SUCCESS))
                return nullptr;
        }
        const regstore::FileCheck check = regstore::CheckStoreFiles(file);
        if (!check.damage.empty())
            return corrupt(check.damage);
        if (!check.notice.empty())
            RegistryLog(L"registry store \"" + PathText(file) + L"\": " + check.notice);

        // Never created here: a store is only ever made whole, by CreateStoreFile.
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            const std::wstring message = Widen(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            if (db)
                sqlite3_close(db);
            if ((rc & 0xFF) == SQLITE_CANTOPEN && !fs::exists(file, ec))
                continue;
            RegistryLog(L"cannot open the registry store \"" + PathText(file) + L"\": " + message);
            error = static_cast<LONG>((rc & 0xFF) == SQLITE_PERM || (rc & 0xFF) == SQLITE_READONLY
                    ? ERROR_ACCESS_DENIED
                    : ERROR_CANTOPEN);
            return nullptr;
        }
        std::shared_ptr<RegistryStore> store(new RegistryStore(file, db));
        // Until the store is found sound, closing it must not move the log into the
        // file: a damaged store stays exactly as it was.
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db, 1);
        regstore::InstallRowSum(db);
        error = store->Validate();
        if (error != static_cast<LONG>(ERROR_SUCCESS))
            return nullptr;
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
        store->m_sound = true;
        return store;
    }
    RegistryLog(L"cannot open the registry store \"" + PathText(file) + L"\": it keeps disappearing");
    error = static_cast<LONG>(ERROR_CANTOPEN);
    return nullptr;
}

// Checks an existing store before anything is written to it: its structure, the shape of
// its tables, its format, its root and the sum of every row; a store of format 1 gets
// its row sums.
LONG RegistryStore::Validate()
{
    auto corrupt = [this](const std::wstring& detail) {
        RegistryLog(L"registry store \"" + PathText(m_path) + L"\" is damaged (" + detail +
            L"); it was left unchanged and the keys it holds are unavailable");
        return static_cast<LONG>(ERROR_REGISTRY_CORRUPT);
    };
    // Every write is durable once it returns.
    sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);

    // The whole structure, indexes against their tables included (damage inside an index
    // makes look-ups miss keys that exist, which the quicker check does not see).
    {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(m_db, "PRAGMA integrity_check", -1, &s, nullptr);
        std::wstring problems;
        while (rc == SQLITE_OK && (rc = sqlite3_step(s)) == SQLITE_ROW) {
            const auto* row = sqlite3_column_text(s, 0);
            const std::string text = row ? reinterpret_cast<const char*>(row) : "";
            if (text != "ok")
                problems += (problems.empty() ? L"" : L"; ") + FromUtf8(text);
            rc = SQLITE_OK;
        }
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE) {
            if (IsCorruption(rc))
                return corrupt(L"integrity check: " + Widen(sqlite3_errstr(rc)));
            return Fail(rc, false, "checking integrity");
        }
        if (!problems.empty())
            return corrupt(L"integrity check: " + problems);
    }
    std::set<std::string> objects;
    {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master", -1, &s, nullptr);
        while (rc == SQLITE_OK && (rc = sqlite3_step(s)) == SQLITE_ROW) {
            const auto* name = sqlite3_column_text(s, 0);
            objects.insert(name ? reinterpret_cast<const char*>(name) : "");
            rc = SQLITE_OK;
        }
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE)
            return IsCorruption(rc) ? corrupt(L"reading the schema: " + Widen(sqlite3_errstr(rc)))
                                    : Fail(rc, false, "reading the schema");
    }
    for (const char* table : {"zyn_registry", "reg_keys", "reg_values"})
        if (!objects.count(table))
            return corrupt(L"table " + Widen(table) + L" is missing");

    auto scalar = [this](const std::string& sql, std::string& out) -> int {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
        out.clear();
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(s);
            if (rc == SQLITE_ROW) {
                const auto* v = sqlite3_column_text(s, 0);
                out = v ? reinterpret_cast<const char*>(v) : "";
                rc = SQLITE_OK;
            } else if (rc == SQLITE_DONE) {
                rc = SQLITE_OK;
            }
        }
        sqlite3_finalize(s);
        return rc;
    };
    std::string format;
    int rc = scalar("SELECT value FROM zyn_registry WHERE property = 'format'", format);
    if (rc != SQLITE_OK)
        return IsCorruption(rc) ? corrupt(L"reading the format") : Fail(rc, false, "reading the format");
    if (format == "1") {
        const LONG e = AddRowSums();
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        format = kFormatVersion;
    }
    if (format != kFormatVersion)
        return corrupt(format.empty() ? std::wstring(L"no format version")
                                      : L"format version " + FromUtf8(format) + L" is not known");

    // Shape of the tables.
    for (const char* probe : {"SELECT id, parent, name, folded, class, modified, crc FROM reg_keys LIMIT 0",
             "SELECT id, key, name, folded, type, data, crc FROM reg_values LIMIT 0"}) {
        sqlite3_stmt* s = nullptr;
        rc = sqlite3_prepare_v2(m_db, probe, -1, &s, nullptr);
        sqlite3_finalize(s);
        if (rc != SQLITE_OK)
            return corrupt(L"unexpected table layout: " + Widen(sqlite3_errmsg(m_db)));
    }
    // Every row as it was written.
    for (const auto& [table, sum] : {std::pair{"reg_keys", kKeySum}, std::pair{"reg_values", kValueSum}}) {
        std::string bad;
        rc = scalar(std::string("SELECT id FROM ") + table + " WHERE crc IS NOT " + sum + " LIMIT 1", bad);
        if (rc != SQLITE_OK)
            return IsCorruption(rc) ? corrupt(L"reading " + Widen(table)) : Fail(rc, false, "checking row sums");
        if (!bad.empty())
            return corrupt(L"row " + FromUtf8(bad) + L" of " + Widen(table) + L" does not match its sum");
    }
    std::string root;
    rc = scalar("SELECT id FROM reg_keys WHERE parent IS NULL ORDER BY id LIMIT 1", root);
    if (rc != SQLITE_OK || root.empty())
        return corrupt(L"the root key is missing");
    m_root = std::stoll(root);

    // Write-ahead log for concurrent readers (a store is made in this mode; this keeps a
    // store that was not).
    std::string mode;
    rc = scalar("PRAGMA journal_mode=WAL", mode);
    if (rc != SQLITE_OK || mode != "wal")
        RegistryLog(L"registry store \"" + PathText(m_path) + L"\": cannot use a write-ahead log (" +
            FromUtf8(mode.empty() ? sqlite3_errmsg(m_db) : mode) + L")");
    return static_cast<LONG>(ERROR_SUCCESS);
}

// A store of format 1 (without row sums) gets them, all in one transaction; another
// process may have done it while this one waited for the lock.
LONG RegistryStore::AddRowSums()
{
    LONG e = Exec("BEGIN IMMEDIATE");
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    bool done = false;
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, "SELECT value FROM zyn_registry WHERE property = 'format'", -1, &s, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW) {
            const auto* v = sqlite3_column_text(s, 0);
            done = v && std::string(reinterpret_cast<const char*>(v)) == kFormatVersion;
        }
        sqlite3_finalize(s);
    }
    if (!done) {
        const std::string sql = std::string("ALTER TABLE reg_keys ADD COLUMN crc INTEGER;") +
            "ALTER TABLE reg_values ADD COLUMN crc INTEGER;" + "UPDATE reg_keys SET crc = " + kKeySum + ";" +
            "UPDATE reg_values SET crc = " + kValueSum + ";" +
            "UPDATE zyn_registry SET value = '" + kFormatVersion + "' WHERE property = 'format';";
        e = Exec(sql.c_str());
    }
    if (e != static_cast<LONG>(ERROR_SUCCESS)) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return e;
    }
    e = Exec("COMMIT");
    if (e == static_cast<LONG>(ERROR_SUCCESS) && !done)
        RegistryLog(L"registry store \"" + PathText(m_path) + L"\": rows now carry their sums (format " +
            Widen(kFormatVersion) + L")");
    return e;
}

template <class F>
LONG RegistryStore::Write(F&& body)
{
    std::lock_guard lock(m_mutex);
    const LONG ok = static_cast<LONG>(ERROR_SUCCESS);
    if (m_txDepth == 0) {
        LONG e = Exec("BEGIN IMMEDIATE");
        if (e != ok)
            return e;
        e = body();
        if (e == ok) {
            e = Exec("COMMIT");
            if (e == ok)
                return ok;
        }
        if (sqlite3_get_autocommit(m_db) == 0)
            Exec("ROLLBACK");
        return e;
    }
    LONG e = Exec("SAVEPOINT zyn_write");
    if (e != ok)
        return e;
    e = body();
    if (e != ok)
        Exec("ROLLBACK TO zyn_write");
    const LONG released = Exec("RELEASE zyn_write");
    return e != ok ? e : released;
}

LONG RegistryStore::KeyAlive(RegKeyId key, bool& alive)
{
    const LONG e = QueryRow("SELECT 1 FROM reg_keys WHERE id = ?", "looking up a key",
        static_cast<LONG>(ERROR_KEY_DELETED), [](const Use&) {}, key);
    if (e != static_cast<LONG>(ERROR_SUCCESS) && e != static_cast<LONG>(ERROR_KEY_DELETED))
        return e;
    alive = e == static_cast<LONG>(ERROR_SUCCESS);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG RegistryStore::CheckKey(RegKeyId key)
{
    std::lock_guard lock(m_mutex);
    bool alive = false;
    const LONG e = KeyAlive(key, alive);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    return static_cast<LONG>(alive ? ERROR_SUCCESS : ERROR_KEY_DELETED);
}

LONG RegistryStore::FindChild(RegKeyId parent, const std::wstring& folded, RegKeyId& out)
{
    return QueryRow("SELECT id FROM reg_keys WHERE parent = ? AND folded = ?", "looking up a subkey",
        static_cast<LONG>(ERROR_FILE_NOT_FOUND), [&](const Use& u) { out = u.Int(0); }, parent, folded);
}

LONG RegistryStore::Touch(RegKeyId key)
{
    return Run("UPDATE reg_keys SET modified = ?1, crc = zyn_row_sum(parent, name, folded, class, ?1) WHERE id = ?2",
        "updating a key's time", RegistryNow(), key);
}

LONG RegistryStore::OpenKey(RegKeyId parent, std::span<const std::wstring> path, RegKeyId& out)
{
    std::lock_guard lock(m_mutex);
    LONG e = CheckKey(parent);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    RegKeyId current = parent;
    for (const auto& name : path) {
        e = FindChild(current, FoldName(name), current);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
    }
    out = current;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG RegistryStore::CreateKey(RegKeyId parent, std::span<const std::wstring> path, std::wstring_view className,
    RegKeyId& out, bool& created)
{
    return Write([&]() -> LONG {
        LONG e = CheckKey(parent);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        RegKeyId current = parent;
        created = false;
        for (size_t i = 0; i < path.size(); ++i) {
            const std::wstring folded = FoldName(path[i]);
            RegKeyId child = 0;
            e = FindChild(current, folded, child);
            if (e == static_cast<LONG>(ERROR_FILE_NOT_FOUND)) {
                e = Run("INSERT INTO reg_keys(parent, name, folded, class, modified, crc) "
                        "VALUES(?1, ?2, ?3, ?4, ?5, zyn_row_sum(?1, ?2, ?3, ?4, ?5))",
                    "creating a key", current, std::wstring_view(path[i]), folded,
                    i + 1 == path.size() ? className : std::wstring_view(), RegistryNow());
                if (e != static_cast<LONG>(ERROR_SUCCESS))
                    return e;
                child = sqlite3_last_insert_rowid(m_db);
                e = Touch(current);
                if (e != static_cast<LONG>(ERROR_SUCCESS))
                    return e;
                created = i + 1 == path.size();
            } else if (e != static_cast<LONG>(ERROR_SUCCESS)) {
                return e;
            }
            current = child;
        }
        out = current;
        return static_cast<LONG>(ERROR_SUCCESS);
    });
}

LONG RegistryStore::DeleteKey(RegKeyId key)
{
    if (key == m_root)
        return static_cast<LONG>(ERROR_ACCESS_DENIED);
    return Write([&]() -> LONG {
        RegKeyId parent = 0;
        int64_t children = 0;
        LONG e = QueryRow("SELECT parent, (SELECT count(*) FROM reg_keys c WHERE c.parent = k.id) "
                          "FROM reg_keys k WHERE id = ?",
            "looking up a key", static_cast<LONG>(ERROR_KEY_DELETED),
            [&](const Use& u) {
                parent = u.Int(0);
                children = u.Int(1);
            },
            key);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        if (children != 0)
            return static_cast<LONG>(ERROR_ACCESS_DENIED);
        for (const char* sql : {"DELETE FROM reg_values WHERE key = ?", "DELETE FROM reg_keys WHERE id = ?"}) {
            e = Run(sql, "deleting a key", key);
            if (e != static_cast<LONG>(ERROR_SUCCESS))
                return e;
        }
        return Touch(parent);
    });
}

// UNION rather than UNION ALL: in a damaged file whose parent links form a cycle the
// walk still ends.
LONG RegistryStore::CollectTree(RegKeyId key, std::vector<RegKeyId>& out)
{
    return QueryRows("WITH RECURSIVE t(id) AS (SELECT id FROM reg_keys WHERE parent = ?1 "
                     "UNION SELECT k.id FROM reg_keys k JOIN t ON k.parent = t.id) SELECT id FROM t",
        "listing a key tree", [&](const Use& u) { out.push_back(u.Int(0)); }, key);
}

LONG RegistryStore::DeleteTree(RegKeyId key, bool includeSelf)
{
    if (includeSelf && key == m_root)
        return static_cast<LONG>(ERROR_ACCESS_DENIED);
    return Write([&]() -> LONG {
        RegKeyId parent = 0;
        LONG e = QueryRow("SELECT parent FROM reg_keys WHERE id = ?", "looking up a key",
            static_cast<LONG>(ERROR_KEY_DELETED), [&](const Use& u) { parent = u.Int(0); }, key);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        std::vector<RegKeyId> doomed;
        e = CollectTree(key, doomed);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        // Children before parents is not needed (no foreign-key enforcement), but the
        // values go with their keys.
        auto remove = [&](RegKeyId id, bool keyToo) -> LONG {
            const LONG r = Run("DELETE FROM reg_values WHERE key = ?", "deleting values", id);
            if (r != static_cast<LONG>(ERROR_SUCCESS) || !keyToo)
                return r;
            return Run("DELETE FROM reg_keys WHERE id = ?", "deleting a key", id);
        };
        for (const RegKeyId id : doomed) {
            e = remove(id, true);
            if (e != static_cast<LONG>(ERROR_SUCCESS))
                return e;
        }
        e = remove(key, includeSelf);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        return Touch(includeSelf ? parent : key);
    });
}

LONG RegistryStore::GetValue(RegKeyId key, std::wstring_view name, RegValueData& out)
{
    std::lock_guard lock(m_mutex);
    constexpr auto none = static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    bool sound = true;
    LONG e = QueryRow("SELECT " ZYN_VALUE_COLUMNS " FROM reg_values WHERE key = ? AND folded = ?", "reading a value",
        none, [&](const Use& u) { sound = ReadValue(u, out); }, key, FoldName(name));
    if (!sound)
        return DamagedRow("reading a value");
    if (e != none)
        return e;
    e = CheckKey(key);
    return e != static_cast<LONG>(ERROR_SUCCESS) ? e : none;
}

LONG RegistryStore::SetValue(RegKeyId key, std::wstring_view name, DWORD type, std::span<const uint8_t> data)
{
    return Write([&]() -> LONG {
        LONG e = CheckKey(key);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        // A value set again keeps its name as first spelled; its sum follows.
        e = Run("INSERT INTO reg_values(key, name, folded, type, data, crc) "
                "VALUES(?1, ?2, ?3, ?4, ?5, zyn_row_sum(?1, ?2, ?3, ?4, ?5)) "
                "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data, "
                "crc = zyn_row_sum(key, name, folded, excluded.type, excluded.data)",
            "writing a value", key, name, FoldName(name), int64_t{type}, data);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        return Touch(key);
    });
}

LONG RegistryStore::DeleteValue(RegKeyId key, std::wstring_view name)
{
    return Write([&]() -> LONG {
        LONG e = CheckKey(key);
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        e = Run("DELETE FROM reg_values WHERE key = ? AND folded = ?", "deleting a value", key, FoldName(name));
        if (e != static_cast<LONG>(ERROR_SUCCESS))
            return e;
        if (sqlite3_changes(m_db) == 0)
            return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
        return Touch(key);
    });
}

LONG RegistryStore::EnumKey(RegKeyId key, DWORD index, std::wstring& name, std::wstring& className, int64_t& lastWrite)
{
    std::lock_guard lock(m_mutex);
    constexpr auto none = static_cast<LONG>(ERROR_NO_MORE_ITEMS);
    LONG e = QueryRow("SELECT name, class, modified FROM reg_keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?",
        "enumerating subkeys", none,
        [&](const Use& u) {
            name = u.Text(0);
            className = u.Text(1);
            lastWrite = u.Int(2);
        },
        key, int64_t{index});
    if (e != none)
        return e;
    e = CheckKey(key);
    return e != static_cast<LONG>(ERROR_SUCCESS) ? e : none;
}

LONG RegistryStore::EnumValue(RegKeyId key, DWORD index, RegValueData& out)
{
    std::lock_guard lock(m_mutex);
    constexpr auto none = static_cast<LONG>(ERROR_NO_MORE_ITEMS);
    bool sound = true;
    LONG e = QueryRow("SELECT " ZYN_VALUE_COLUMNS " FROM reg_values WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?",
        "enumerating values", none, [&](const Use& u) { sound = ReadValue(u, out); }, key, int64_t{index});
    if (!sound)
        return DamagedRow("enumerating values");
    if (e != none)
        return e;
    e = CheckKey(key);
    return e != static_cast<LONG>(ERROR_SUCCESS) ? e : none;
}

LONG RegistryStore::ListValues(RegKeyId key, std::vector<RegValueData>& out)
{
    std::lock_guard lock(m_mutex);
    LONG e = CheckKey(key);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    bool sound = true;
    e = QueryRows("SELECT " ZYN_VALUE_COLUMNS " FROM reg_values WHERE key = ? ORDER BY id", "listing values",
        [&](const Use& u) { sound = ReadValue(u, out.emplace_back()) && sound; }, key);
    if (!sound) {
        out.clear();
        return DamagedRow("listing values");
    }
    return e;
}

LONG RegistryStore::ListSubKeys(RegKeyId key, std::vector<std::wstring>& out)
{
    std::lock_guard lock(m_mutex);
    LONG e = CheckKey(key);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    return QueryRows("SELECT name FROM reg_keys WHERE parent = ? ORDER BY folded", "listing subkeys",
        [&](const Use& u) { out.push_back(u.Text(0)); }, key);
}

LONG RegistryStore::QueryInfo(RegKeyId key, RegKeyInfo& out)
{
    std::lock_guard lock(m_mutex);
    LONG e = QueryRow("SELECT class, modified FROM reg_keys WHERE id = ?", "reading key information",
        static_cast<LONG>(ERROR_KEY_DELETED),
        [&](const Use& u) {
            out.className = u.Text(0);
            out.lastWriteTime = u.Int(1);
        },
        key);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    // length() counts characters (code points), the unit of our wide strings. An
    // aggregate without GROUP BY always gives its one row.
    e = QueryRow("SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(class)), 0) "
                 "FROM reg_keys WHERE parent = ?",
        "counting subkeys", static_cast<LONG>(ERROR_CANTREAD),
        [&](const Use& u) {
            out.subKeys = static_cast<DWORD>(u.Int(0));
            out.maxSubKeyLen = static_cast<DWORD>(u.Int(1));
            out.maxClassLen = static_cast<DWORD>(u.Int(2));
        },
        key);
    if (e != static_cast<LONG>(ERROR_SUCCESS))
        return e;
    return QueryRow("SELECT count(*), coalesce(max(length(name)), 0) FROM reg_values WHERE key = ?",
        "counting values", static_cast<LONG>(ERROR_CANTREAD),
        [&](const Use& u) {
            out.values = static_cast<DWORD>(u.Int(0));
            out.maxValueNameLen = static_cast<DWORD>(u.Int(1));
        },
        key);
}

LONG RegistryStore::Flush()
{
    std::lock_guard lock(m_mutex);
    if (m_txDepth > 0)
        return static_cast<LONG>(ERROR_SUCCESS);
    const int rc = sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    if (rc != SQLITE_OK && (rc & 0xFF) != SQLITE_BUSY)
        return Fail(rc, true, "flushing");
    return static_cast<LONG>(ERROR_SUCCESS);
}

// ---- transactions ----------------------------------------------------------------------------

RegistryStore::Transaction::~Transaction()
{
    if (m_active)
        Rollback();
}

LONG RegistryStore::Transaction::Begin()
{
    if (m_active)
        return static_cast<LONG>(ERROR_INVALID_FUNCTION);
    m_lock = std::unique_lock(m_store.m_mutex);
    if (m_store.m_txDepth > 0) {
        // A transaction of this thread is already open: this one nests inside it.
        const LONG e = m_store.Exec("SAVEPOINT zyn_tx");
        if (e != static_cast<LONG>(ERROR_SUCCESS)) {
            m_lock.unlock();
            return e;
        }
    } else {
        const LONG e = m_store.Exec("BEGIN IMMEDIATE");
        if (e != static_cast<LONG>(ERROR_SUCCESS)) {
            m_lock.unlock();
            return e;
        }
    }
    ++m_store.m_txDepth;
    m_active = true;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG RegistryStore::Transaction::Commit()
{
    if (!m_active)
        return static_cast<LONG>(ERROR_INVALID_FUNCTION);
    const bool outer = m_store.m_txDepth == 1;
    const LONG e = m_store.Exec(outer ? "COMMIT" : "RELEASE zyn_tx");
    if (e != static_cast<LONG>(ERROR_SUCCESS)) {
        Rollback();
        return e;
    }
    --m_store.m_txDepth;
    m_active = false;
    m_lock.unlock();
    return e;
}

void RegistryStore::Transaction::Rollback()
{
    if (!m_active)
        return;
    const bool outer = m_store.m_txDepth == 1;
    if (outer) {
        if (sqlite3_get_autocommit(m_store.m_db) == 0)
            m_store.Exec("ROLLBACK");
    } else {
        m_store.Exec("ROLLBACK TO zyn_tx");
        m_store.Exec("RELEASE zyn_tx");
    }
    --m_store.m_txDepth;
    m_active = false;
    m_lock.unlock();
}

// ---- the process's stores -------------------------------------------------------------------

fs::path RegistryDirectory() { return SettingsDirectory("ZYN_REGISTRY_DIR", {}); }

namespace {

// Size and modification time of a store file and of its log, to tell whether a store
// that failed to open has changed since (then it is tried again; otherwise the failure
// is not reported twice).
struct Stamp {
    uintmax_t size = 0;
    int64_t mtime = -1;
    uintmax_t walSize = 0;
    int64_t walMtime = -1;
    bool operator==(const Stamp&) const = default;
};

struct FailedOpen {
    LONG error;
    Stamp stamp;
};

struct StoreTable {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<RegistryStore>> open;
    std::map<std::string, FailedOpen> failed;
};

StoreTable& Stores()
{
    static StoreTable table;
    return table;
}

Stamp StampOf(const fs::path& file)
{
    Stamp stamp;
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        stamp.size = static_cast<uintmax_t>(st.st_size);
        stamp.mtime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    if (::stat((file.string() + "-wal").c_str(), &st) == 0) {
        stamp.walSize = static_cast<uintmax_t>(st.st_size);
        stamp.walMtime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return stamp;
}

} // namespace

std::shared_ptr<RegistryStore> GetRegistryStore(RegHive hive, LONG& error)
{
    const fs::path dir = RegistryDirectory();
    if (dir.empty()) {
        RegistryLog(L"no registry folder: set ZYN_REGISTRY_DIR, XDG_CONFIG_HOME or HOME");
        error = static_cast<LONG>(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    const fs::path file = dir / (hive == RegHive::LocalMachine ? "hklm.sqlite3" : "hkcu.sqlite3");
    const std::string key = file.string();
    StoreTable& t = Stores();
    std::lock_guard lock(t.mutex);
    if (auto it = t.open.find(key); it != t.open.end())
        return it->second;
    const Stamp stamp = StampOf(file);
    if (auto it = t.failed.find(key); it != t.failed.end()) {
        if (it->second.stamp == stamp) {
            error = it->second.error;
            return nullptr;
        }
        t.failed.erase(it);
    }
    auto store = RegistryStore::Open(file, error);
    if (!store) {
        t.failed[key] = FailedOpen{error, StampOf(file)}; // as the attempt left it
        return nullptr;
    }
    t.open[key] = store;
    return store;
}

void ResetRegistryStores()
{
    StoreTable& t = Stores();
    std::map<std::string, std::shared_ptr<RegistryStore>> doomed;
    {
        std::lock_guard lock(t.mutex);
        doomed.swap(t.open);
        t.failed.clear();
    }
}

} // namespace zyn::base
