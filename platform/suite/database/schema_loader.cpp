#include "platform/suite/database/schema_loader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/charcase.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/schema_twins.h"
#include "platform/suite/database/transaction_scope.h"

#ifndef ZYN_SCHEMA_SOURCE_DIR
#define ZYN_SCHEMA_SOURCE_DIR "db/schema"
#endif

namespace zyn::db {

namespace {

// White space is what CString::Trim strips, so a statement is empty exactly when its
// trimmed text would be.
bool IsSpace(wchar_t c) { return zyn::base::IsSpaceChar(c); }
bool IsTagChar(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// The dollar-quote tag starting at s[i] ("$$" or "$name$"), or empty when none starts there.
std::wstring DollarTag(const std::wstring& s, size_t i)
{
    if (s[i] != L'$')
        return {};
    if (i > 0 && IsTagChar(s[i - 1]))
        return {}; // part of a name such as "a$b"
    size_t j = i + 1;
    if (j < s.size() && s[j] >= L'0' && s[j] <= L'9')
        return {}; // a positional parameter "$1"
    while (j < s.size() && IsTagChar(s[j]))
        ++j;
    if (j < s.size() && s[j] == L'$')
        return s.substr(i, j - i + 1);
    return {};
}

std::filesystem::path NativePath(LPCWSTR path)
{
    return std::filesystem::path(zyn::base::ToUtf8(path ? path : L""));
}

[[noreturn]] void ThrowScriptError(LPCWSTR what, int line)
{
    CString msg;
    msg.Format(L"SQL script: %s beginning on line %d is not closed", what, line);
    AfxThrowInvalidArgException(msg);
}

} // namespace

namespace {

// An installed library keeps its schema at a fixed place relative to itself
// (ZYN_SCHEMA_INSTALL_RELDIR, set by the build), so the copy that belongs to this library
// is found wherever the prefix is; empty when this library is not an installed one.
std::string InstalledSchemaDir()
{
#ifdef ZYN_SCHEMA_INSTALL_RELDIR
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(&InstalledSchemaDir), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const std::filesystem::path lib = std::filesystem::absolute(info.dli_fname, ec);
    if (ec)
        return {};
    const std::filesystem::path dir = (lib.parent_path() / ZYN_SCHEMA_INSTALL_RELDIR).lexically_normal();
    if (std::filesystem::is_regular_file(dir / "sqlite.sql", ec))
        return dir.string();
#endif
    return {};
}

} // namespace

CString SchemaDir()
{
    if (const char* dir = std::getenv("ZYN_SCHEMA_DIR"); dir && *dir) {
        CString s(zyn::base::FromUtf8(dir).c_str());
        s.TrimRight(L'/');
        return s;
    }
    std::string dir = InstalledSchemaDir();
    if (dir.empty())
        dir = ZYN_SCHEMA_SOURCE_DIR;
    return CString(zyn::base::FromUtf8(dir).c_str());
}

CString SchemaFile(SchemaEngine engine)
{
    return SchemaDir() + (engine == SchemaEngine::SQLite ? L"/sqlite.sql" : L"/postgresql.sql");
}

SchemaEngine SchemaEngineOf(const CDatabase& db)
{
    switch (db.GetEngine()) {
    case zyn::afx::DbEngine::sqlite: return SchemaEngine::SQLite;
    case zyn::afx::DbEngine::postgresql: return SchemaEngine::PostgreSQL;
    default: break;
    }
    AfxThrowInvalidArgException(L"There is no schema for this database engine (SQLite and PostgreSQL have one).");
}

namespace {

// The splitter behind SplitSqlScript; without keepComments the comments are left out of
// the statements (each replaced by one blank).
std::vector<CString> SplitStatements(const CString& script, bool keepComments)
{
    enum class State { Normal, Single, Double, LineComment, BlockComment, Dollar };
    const std::wstring& s = script.Str();
    std::vector<CString> out;
    std::wstring current;
    bool hasCode = false;
    State state = State::Normal;
    int line = 1;
    int openedOn = 0;
    int blockDepth = 0;
    std::wstring tag;

    auto finish = [&]() {
        if (hasCode) {
            CString stmt(current);
            stmt.Trim();
            out.push_back(stmt);
        }
        current.clear();
        hasCode = false;
    };

    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        const wchar_t next = i + 1 < s.size() ? s[i + 1] : 0;
        switch (state) {
        case State::Normal:
            if (c == L';') {
                finish();
                break;
            }
            if (c == L'-' && next == L'-') {
                state = State::LineComment;
                current += keepComments ? L"--" : L" ";
                ++i;
                break;
            }
            if (c == L'/' && next == L'*') {
                state = State::BlockComment;
                blockDepth = 1;
                openedOn = line;
                current += keepComments ? L"/*" : L" ";
                ++i;
                break;
            }
            if (c == L'\'') {
                state = State::Single;
                openedOn = line;
            } else if (c == L'"') {
                state = State::Double;
                openedOn = line;
            } else if (c == L'$') {
                tag = DollarTag(s, i);
                if (!tag.empty()) {
                    state = State::Dollar;
                    openedOn = line;
                    current += tag;
                    hasCode = true;
                    i += tag.size() - 1;
                    break;
                }
            }
            if (!IsSpace(c))
                hasCode = true;
            current += c;
            break;
        case State::Single:
            current += c;
            if (c == L'\'')
                state = State::Normal; // a doubled quote re-enters at once
            break;
        case State::Double:
            current += c;
            if (c == L'"')
                state = State::Normal;
            break;
        case State::LineComment:
            if (keepComments || c == L'\n')
                current += c;
            if (c == L'\n')
                state = State::Normal;
            break;
        case State::BlockComment:
            if (c == L'*' && next == L'/') {
                if (keepComments)
                    current += L"*/";
                ++i;
                if (--blockDepth == 0)
                    state = State::Normal;
                break;
            }
            if (c == L'/' && next == L'*') {
                if (keepComments)
                    current += L"/*";
                ++i;
                ++blockDepth;
                break;
            }
            if (keepComments)
                current += c;
            break;
        case State::Dollar:
            if (c == L'$' && s.compare(i, tag.size(), tag) == 0) {
                current += tag;
                i += tag.size() - 1;
                state = State::Normal;
                break;
            }
            current += c;
            break;
        }
        if (c == L'\n')
            ++line;
    }
    switch (state) {
    case State::Single: ThrowScriptError(L"a quoted text", openedOn);
    case State::Double: ThrowScriptError(L"a quoted name", openedOn);
    case State::BlockComment: ThrowScriptError(L"a comment", openedOn);
    case State::Dollar: ThrowScriptError(L"a dollar-quoted body", openedOn);
    default: break;
    }
    finish();
    return out;
}

} // namespace

std::vector<CString> SplitSqlScript(const CString& script) { return SplitStatements(script, true); }

CString ReadScriptFile(LPCWSTR path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in)
        CFileException::ThrowOsError(errno ? errno : ENOENT, path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        CFileException::ThrowOsError(EIO, path);
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        bytes.erase(0, 3);
    bool ok = true;
    std::wstring text = zyn::base::FromUtf8(bytes, &ok);
    if (!ok) {
        CString msg;
        msg.Format(L"%s is not valid UTF-8 text", path);
        AfxThrowInvalidArgException(msg);
    }
    return CString(std::move(text));
}

int LoadSchema(CDatabase& db)
{
    const SchemaEngine engine = SchemaEngineOf(db);
    const CString file = SchemaFile(engine);
    const std::vector<CString> statements = AddRestoredTwins(SplitSqlScript(ReadScriptFile(file)));

    TransactionScope tx(db);
    int n = 0;
    for (const CString& stmt : statements) {
        // Without its comments: the SQLite driver takes quotes and semicolons in comments
        // for code.
        const std::vector<CString> code = SplitStatements(stmt, false);
        if (code.empty())
            continue;
        try {
            db.ExecuteSQL(code.front());
        } catch (CDBException* e) {
            CString where;
            where.Format(L"%s, statement %d (%s): ", file.GetString(), n + 1, code.front().Left(120).GetString());
            e->m_strError = where + e->m_strError;
            throw;
        }
        ++n;
    }
    tx.Commit();
    return n;
}

CString SqliteConnectString(LPCWSTR path)
{
    const CString p(path ? path : L"");
    if (p.IsEmpty() || p.FindOneOf(L";{}") >= 0) {
        CString msg;
        msg.Format(L"\"%s\" cannot name an SQLite database file in a connection string", p.GetString());
        AfxThrowInvalidArgException(msg);
    }
    return L"Driver=SQLite3;Database=" + p;
}

namespace {

// The files of an SQLite database: the file and its journals.
void RemoveSqliteFiles(const std::filesystem::path& file, std::error_code& ec)
{
    ec.clear();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::filesystem::path p = file;
        p += suffix;
        std::error_code one;
        std::filesystem::remove(p, one);
        if (one && !ec)
            ec = one;
    }
}

// A name beside the target for building the new file, unused by this process so far.
std::filesystem::path BuildingName(const std::filesystem::path& file)
{
    static std::atomic<unsigned> counter{0};
    std::filesystem::path p = file;
    p += ".creating-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return p;
}

[[noreturn]] void ThrowExists(LPCWSTR target)
{
    auto* e = new CFileException(CFileException::genericException, EEXIST, target);
    CString detail;
    detail.Format(L"The database file %s exists already; it is left as it is.", target);
    e->SetDetail(detail);
    throw e;
}

// SQLite: the schema is loaded into a new file beside the target, which takes the
// target's name only once it is complete. A failure removes the new file and leaves an
// existing target as it was, even when replacing.
int CreateSqliteDatabase(LPCWSTR target, bool bReplace)
{
    SqliteConnectString(target); // refuses names a connection string cannot carry
    const std::filesystem::path file = NativePath(target);
    std::error_code ec;
    if (std::filesystem::exists(file, ec) && !bReplace)
        ThrowExists(target);
    const std::filesystem::path building = BuildingName(file);
    RemoveSqliteFiles(building, ec);
    const CString buildingName(zyn::base::FromUtf8(building.string()).c_str());
    int n = 0;
    try {
        CDatabase db;
        db.OpenEx(SqliteConnectString(buildingName), CDatabase::noOdbcDialog);
        // Outside any transaction: the journal mode cannot change inside one.
        db.ExecuteSQL(L"PRAGMA journal_mode=WAL");
        n = LoadSchema(db);
        // Everything in the file itself before it is renamed: the WAL stays behind.
        db.ExecuteSQL(L"PRAGMA wal_checkpoint(TRUNCATE)");
        db.Close();
    } catch (...) {
        RemoveSqliteFiles(building, ec);
        throw;
    }
    std::filesystem::path leftover = building;
    leftover += "-wal";
    std::filesystem::remove(leftover, ec);
    leftover = building;
    leftover += "-shm";
    std::filesystem::remove(leftover, ec);

    int rc = 0;
    if (bReplace) {
        // The old database's journals belong to the old file.
        for (const char* suffix : {"-wal", "-shm", "-journal"}) {
            std::filesystem::path p = file;
            p += suffix;
            std::filesystem::remove(p, ec);
        }
        rc = ::rename(building.c_str(), file.c_str());
    } else {
        // Never over a file that appeared meanwhile.
        rc = ::renameat2(AT_FDCWD, building.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without that rename: a new link fails as well when the name
            // is taken.
            rc = ::link(building.c_str(), file.c_str());
            if (rc == 0)
                ::unlink(building.c_str());
        }
    }
    if (rc != 0) {
        const int err = errno;
        RemoveSqliteFiles(building, ec);
        if (err == EEXIST)
            ThrowExists(target);
        CFileException::ThrowOsError(err, target);
    }
    return n;
}

// PostgreSQL: LoadSchema runs in one transaction, and the engine's statements that
// create tables, indexes and functions are transactional: a failure rolls back all it
// created.
int CreatePostgresDatabase(LPCWSTR target)
{
    CString connect(target ? target : L"");
    CString upper = connect;
    upper.MakeUpper();
    if (upper.Find(L"DSN=") < 0 && upper.Find(L"DRIVER=") < 0)
        connect = L"Driver=PostgreSQL Unicode;" + connect;
    CDatabase db;
    db.OpenEx(connect, CDatabase::noOdbcDialog);
    const int n = LoadSchema(db);
    db.Close();
    return n;
}

} // namespace

int CreateDatabase(LPCWSTR target, SchemaEngine engine, bool bReplace)
{
    return engine == SchemaEngine::SQLite ? CreateSqliteDatabase(target, bReplace) : CreatePostgresDatabase(target);
}

} // namespace zyn::db
