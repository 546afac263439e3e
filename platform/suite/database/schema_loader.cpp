#include "platform/suite/database/schema_loader.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbexception.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/transaction_scope.h"

#ifndef ZYN_SCHEMA_SOURCE_DIR
#define ZYN_SCHEMA_SOURCE_DIR "db/schema"
#endif

namespace zyn::db {

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v'; }
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

CString SchemaDir()
{
    if (const char* dir = std::getenv("ZYN_SCHEMA_DIR"); dir && *dir) {
        CString s(zyn::base::FromUtf8(dir).c_str());
        s.TrimRight(L'/');
        return s;
    }
    return CString(zyn::base::FromUtf8(ZYN_SCHEMA_SOURCE_DIR).c_str());
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

std::vector<CString> SplitSqlScript(const CString& script)
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
            // Trimmed of the same whitespace that decided it holds code: a wider set
            // (CString::Trim takes Unicode spaces too) could leave an empty statement.
            CString stmt(current);
            stmt.Trim(L" \t\r\n\f\v");
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
                current += L"--";
                ++i;
                break;
            }
            if (c == L'/' && next == L'*') {
                state = State::BlockComment;
                blockDepth = 1;
                openedOn = line;
                current += L"/*";
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
            current += c;
            if (c == L'\n')
                state = State::Normal;
            break;
        case State::BlockComment:
            if (c == L'*' && next == L'/') {
                current += L"*/";
                ++i;
                if (--blockDepth == 0)
                    state = State::Normal;
                break;
            }
            if (c == L'/' && next == L'*') {
                current += L"/*";
                ++i;
                ++blockDepth;
                break;
            }
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
    const std::vector<CString> statements = SplitSqlScript(ReadScriptFile(file));

    TransactionScope tx(db);
    int n = 0;
    for (const CString& stmt : statements) {
        try {
            db.ExecuteSQL(stmt);
        } catch (CDBException* e) {
            CString where;
            where.Format(L"%s, statement %d (%s): ", file.GetString(), n + 1, stmt.Left(120).GetString());
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

int CreateDatabase(LPCWSTR target, SchemaEngine engine, bool bReplace)
{
    CDatabase db;
    if (engine == SchemaEngine::SQLite) {
        const CString connect = SqliteConnectString(target);
        const std::filesystem::path file = NativePath(target);
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            if (!bReplace) {
                auto* e = new CFileException(CFileException::genericException, EEXIST, target);
                CString detail;
                detail.Format(L"The database file %s exists already; it is left as it is.", target);
                e->SetDetail(detail);
                throw e;
            }
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
                std::filesystem::path p = file;
                p += suffix;
                std::filesystem::remove(p, ec);
                if (ec)
                    CFileException::ThrowOsError(ec.value(), target);
            }
        }
        db.OpenEx(connect, CDatabase::noOdbcDialog);
        // Outside any transaction: the journal mode cannot change inside one.
        db.ExecuteSQL(L"PRAGMA journal_mode=WAL");
    } else {
        CString connect(target ? target : L"");
        CString upper = connect;
        upper.MakeUpper();
        if (upper.Find(L"DSN=") < 0 && upper.Find(L"DRIVER=") < 0)
            connect = L"Driver=PostgreSQL Unicode;" + connect;
        db.OpenEx(connect, CDatabase::noOdbcDialog);
    }
    const int n = LoadSchema(db);
    db.Close();
    return n;
}

} // namespace zyn::db
