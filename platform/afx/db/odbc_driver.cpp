// The one translation unit that includes the ODBC headers (see odbc_driver.h). It must
// not include the platform's Windows-type headers: unixODBC defines its own (and BOOL as
// a macro). SQLWCHAR is unixODBC's 16-bit unsigned short, holding UTF-16.
#include "platform/afx/db/odbc_driver.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <string_view>
#include <type_traits>

#include "platform/base/utf16.h"

static_assert(sizeof(SQLWCHAR) == 2, "SQLWCHAR must be UTF-16");
static_assert(sizeof(SQLLEN) == 8, "64-bit SQLLEN expected");

namespace zyn::afx::odbc {

namespace {

std::u16string Wide16(const std::wstring& s) { return zyn::base::ToUtf16(s); }

SQLWCHAR* W(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }

std::wstring FromW(const SQLWCHAR* p, size_t units)
{
    return zyn::base::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(p), units));
}

std::string Narrow(const SQLWCHAR* p, size_t units)
{
    std::string r;
    for (size_t i = 0; i < units && p[i]; ++i)
        r.push_back(p[i] < 0x80 ? static_cast<char>(p[i]) : '?');
    return r;
}

bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

std::vector<Diagnostic> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<Diagnostic> out;
    if (!handle)
        return out;
    for (SQLSMALLINT i = 1; i < 64; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> msg(1024);
        SQLSMALLINT len = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, msg.data(),
            static_cast<SQLSMALLINT>(msg.size()), &len);
        if (rc == SQL_SUCCESS_WITH_INFO && len >= static_cast<SQLSMALLINT>(msg.size())) {
            msg.resize(static_cast<size_t>(len) + 1);
            rc = SQLGetDiagRecW(handleType, handle, i, state, &native, msg.data(),
                static_cast<SQLSMALLINT>(msg.size()), &len);
        }
        if (!Ok(rc))
            break;
        Diagnostic d;
        d.state = Narrow(state, 5);
        d.native = native;
        d.message = FromW(msg.data(), std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(len, 0)), msg.size()));
        out.push_back(std::move(d));
    }
    return out;
}

[[noreturn]] void Throw(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* function)
{
    throw Error(rc, Diagnostics(handleType, handle), function);
}

void Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char* function)
{
    if (!Ok(rc))
        Throw(rc, handleType, handle, function);
}

// A warning that means data was lost while reading a value.
bool IsDataLoss(const std::vector<Diagnostic>& d)
{
    for (const auto& r : d)
        if (r.state == "01004" || r.state == "01S07")
            return true;
    return false;
}

// Reads of values: success, but a data-loss warning throws.
void CheckRead(SQLRETURN rc, SQLHSTMT h, const char* function)
{
    if (rc == SQL_SUCCESS)
        return;
    if (rc == SQL_SUCCESS_WITH_INFO) {
        auto d = Diagnostics(SQL_HANDLE_STMT, h);
        if (IsDataLoss(d))
            throw Error(rc, std::move(d), function);
        return;
    }
    Throw(rc, SQL_HANDLE_STMT, h, function);
}

std::wstring Lower(std::wstring s)
{
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return s;
}

struct Env {
    SQLHENV h = SQL_NULL_HENV;
    Env()
    {
        SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h);
        if (!Ok(rc))
            throw Error(rc, {}, "SQLAllocHandle(SQL_HANDLE_ENV)");
        rc = SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        Check(rc, SQL_HANDLE_ENV, h, "SQLSetEnvAttr(SQL_ATTR_ODBC_VERSION)");
    }
    // The environment lives as long as the process: connections may be closed by
    // static destructors in any order.
};

} // namespace

Error::Error(int16_t rc, std::vector<Diagnostic> recs, std::string fn)
    : retCode(rc), records(std::move(recs)), function(std::move(fn))
{
    m_what = function + " failed";
    for (const auto& r : records)
        m_what += " [" + r.state + "] " + zyn::base::ToUtf8(r.message);
}

const std::string& Error::State() const
{
    static const std::string empty;
    return records.empty() ? empty : records.front().state;
}

void* EnvironmentHandle()
{
    static Env* env = new Env; // never freed, see Env
    return env->h;
}

// ---- connection strings ----------------------------------------------------------

namespace {

struct Attr {
    std::wstring key;
    std::wstring value;
};

std::vector<Attr> ParseAttributes(const std::wstring& s)
{
    std::vector<Attr> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == L';' || s[i] == L' '))
            ++i;
        if (i >= s.size())
            break;
        size_t eq = s.find(L'=', i);
        if (eq == std::wstring::npos) {
            out.push_back({s.substr(i), L""});
            break;
        }
        Attr a;
        a.key = s.substr(i, eq - i);
        while (!a.key.empty() && a.key.back() == L' ')
            a.key.pop_back();
        i = eq + 1;
        if (i < s.size() && s[i] == L'{') {
            size_t close = s.find(L'}', i + 1);
            if (close == std::wstring::npos)
                close = s.size();
            a.value = s.substr(i + 1, close - i - 1);
            i = close + 1;
            while (i < s.size() && s[i] != L';')
                ++i;
        } else {
            size_t semi = s.find(L';', i);
            if (semi == std::wstring::npos)
                semi = s.size();
            a.value = s.substr(i, semi - i);
            i = semi;
        }
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace

std::optional<std::wstring> ConnectionAttribute(const std::wstring& cs, const std::wstring& key)
{
    const std::wstring k = Lower(key);
    for (const auto& a : ParseAttributes(cs))
        if (Lower(a.key) == k)
            return a.value;
    return std::nullopt;
}

Engine EngineOfDriverName(const std::wstring& driver)
{
    const std::wstring d = Lower(driver);
    if (d.find(L"psql") != std::wstring::npos || d.find(L"postgres") != std::wstring::npos)
        return Engine::postgresql;
    if (d.find(L"sqlite") != std::wstring::npos)
        return Engine::sqlite;
    return Engine::unknown;
}

Engine EngineOfConnectionString(const std::wstring& cs)
{
    if (auto drv = ConnectionAttribute(cs, L"DRIVER"))
        return EngineOfDriverName(*drv);
    auto dsn = ConnectionAttribute(cs, L"DSN");
    if (!dsn || dsn->empty())
        return Engine::unknown;
    const std::wstring want = Lower(*dsn);
    SQLHENV env = EnvironmentHandle();
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLWCHAR name[SQL_MAX_DSN_LENGTH + 2] = {};
        SQLWCHAR desc[1024] = {};
        SQLSMALLINT nameLen = 0, descLen = 0;
        SQLRETURN rc = SQLDataSourcesW(env, direction, name, static_cast<SQLSMALLINT>(std::size(name)), &nameLen,
            desc, static_cast<SQLSMALLINT>(std::size(desc)), &descLen);
        if (!Ok(rc))
            break;
        direction = SQL_FETCH_NEXT;
        const size_t nl = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(nameLen, 0)), std::size(name) - 1);
        const size_t dl = std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(descLen, 0)), std::size(desc) - 1);
        if (Lower(FromW(name, nl)) == want)
            return EngineOfDriverName(FromW(desc, dl));
    }
    return Engine::unknown;
}

std::wstring CompleteConnectionString(const std::wstring& cs, Engine engine)
{
    struct Default {
        const wchar_t* key;
        const wchar_t* value;
    };
    static constexpr Default pg[] = {
        {L"UseDeclareFetch", L"1"},
        {L"Fetch", L"256"},
        {L"MaxLongVarcharSize", L"1048576"},
        {L"MaxVarcharSize", L"65535"},
    };
    static constexpr Default sqlite[] = {
        {L"StepAPI", L"1"},
        {L"JournalMode", L"WAL"},
        {L"Timeout", L"100000"},
    };
    std::wstring out = cs;
    auto add = [&](const Default* b, const Default* e) {
        for (auto* d = b; d != e; ++d) {
            if (ConnectionAttribute(cs, d->key))
                continue;
            if (!out.empty() && out.back() != L';')
                out += L';';
            out += d->key;
            out += L'=';
            out += d->value;
            out += L';';
        }
    };
    if (engine == Engine::postgresql)
        add(std::begin(pg), std::end(pg));
    else if (engine == Engine::sqlite)
        add(std::begin(sqlite), std::end(sqlite));
    return out;
}

// ---- connection ------------------------------------------------------------------

Connection::Connection() = default;

Connection::~Connection()
{
    try {
        Disconnect();
    } catch (...) {
        // A failing disconnect in a destructor has nowhere to go; the handle is freed.
    }
}

void Connection::Connect(const std::wstring& cs, bool readOnly, uint32_t loginTimeout)
{
    Disconnect();
    SQLHDBC h = SQL_NULL_HDBC;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_DBC, EnvironmentHandle(), &h);
    Check(rc, SQL_HANDLE_ENV, EnvironmentHandle(), "SQLAllocHandle(SQL_HANDLE_DBC)");
    m_hdbc = h;
    if (loginTimeout)
        SQLSetConnectAttrW(h, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(loginTimeout)), 0);
    std::u16string in = Wide16(cs);
    std::vector<SQLWCHAR> out(8192);
    SQLSMALLINT outLen = 0;
    {
        // The PostgreSQL driver sets the process locale while it connects, and setlocale is
        // not safe from two threads at once (one frees the name the other is reading): two
        // threads opening connections together are let in one at a time.
        static std::mutex connecting;
        const std::lock_guard lock(connecting);
        rc = SQLDriverConnectW(h, nullptr, W(in), SQL_NTS, out.data(), static_cast<SQLSMALLINT>(out.size()), &outLen,
            SQL_DRIVER_NOPROMPT);
    }
    if (!Ok(rc)) {
        auto d = Diagnostics(SQL_HANDLE_DBC, h);
        SQLFreeHandle(SQL_HANDLE_DBC, h);
        m_hdbc = nullptr;
        throw Error(rc, std::move(d), "SQLDriverConnectW");
    }
    m_connected = true;
    m_outString = FromW(out.data(), std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(outLen, 0)), out.size() - 1));
    if (readOnly)
        SQLSetConnectAttrW(h, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    m_engine = EngineOfDriverName(DbmsName());
    if (m_engine == Engine::unknown)
        m_engine = EngineOfDriverName(DriverName());
}

void Connection::Disconnect()
{
    if (!m_hdbc)
        return;
    SQLHDBC h = m_hdbc;
    m_hdbc = nullptr;
    std::optional<Error> failure;
    if (m_connected) {
        m_connected = false;
        SQLRETURN rc = SQLDisconnect(h);
        if (!Ok(rc)) {
            // A pending transaction: roll it back and try again.
            SQLEndTran(SQL_HANDLE_DBC, h, SQL_ROLLBACK);
            rc = SQLDisconnect(h);
            if (!Ok(rc))
                failure.emplace(rc, Diagnostics(SQL_HANDLE_DBC, h), "SQLDisconnect");
        }
    }
    SQLFreeHandle(SQL_HANDLE_DBC, h);
    m_outString.clear();
    m_engine = Engine::unknown;
    if (failure)
        throw *failure;
}

std::wstring Connection::InfoString(uint16_t infoType) const
{
    std::vector<SQLWCHAR> buf(512);
    SQLSMALLINT len = 0;
    SQLRETURN rc = SQLGetInfoW(m_hdbc, infoType, buf.data(), static_cast<SQLSMALLINT>(buf.size() * 2), &len);
    if (rc == SQL_SUCCESS_WITH_INFO && static_cast<size_t>(len) >= buf.size() * 2) {
        buf.resize(static_cast<size_t>(len) / 2 + 1);
        rc = SQLGetInfoW(m_hdbc, infoType, buf.data(), static_cast<SQLSMALLINT>(buf.size() * 2), &len);
    }
    Check(rc, SQL_HANDLE_DBC, m_hdbc, "SQLGetInfoW");
    return FromW(buf.data(), std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(len, 0)) / 2, buf.size() - 1));
}

std::wstring Connection::DriverName() const { return InfoString(SQL_DRIVER_NAME); }
std::wstring Connection::DbmsName() const { return InfoString(SQL_DBMS_NAME); }
std::wstring Connection::DbmsVersion() const { return InfoString(SQL_DBMS_VER); }
std::wstring Connection::DatabaseName() const { return InfoString(SQL_DATABASE_NAME); }
std::wstring Connection::IdentifierQuote() const { return InfoString(SQL_IDENTIFIER_QUOTE_CHAR); }
std::wstring Connection::SearchPatternEscape() const { return InfoString(SQL_SEARCH_PATTERN_ESCAPE); }
bool Connection::DataSourceReadOnly() const { return InfoString(SQL_DATA_SOURCE_READ_ONLY) == L"Y"; }

bool Connection::CanTransact() const
{
    SQLUSMALLINT v = 0;
    SQLRETURN rc = SQLGetInfoW(m_hdbc, SQL_TXN_CAPABLE, &v, sizeof v, nullptr);
    Check(rc, SQL_HANDLE_DBC, m_hdbc, "SQLGetInfoW(SQL_TXN_CAPABLE)");
    return v != SQL_TC_NONE;
}

void Connection::SetAutoCommit(bool on)
{
    SQLRETURN rc = SQLSetConnectAttrW(m_hdbc, SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)), 0);
    Check(rc, SQL_HANDLE_DBC, m_hdbc, "SQLSetConnectAttrW(SQL_ATTR_AUTOCOMMIT)");
}

void Connection::EndTran(bool commit)
{
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_hdbc, commit ? SQL_COMMIT : SQL_ROLLBACK);
    Check(rc, SQL_HANDLE_DBC, m_hdbc, "SQLEndTran");
}

void Connection::BeginTransaction()
{
    if (m_engine == Engine::sqlite) {
        Statement st(*this);
        st.ExecDirect(L"BEGIN IMMEDIATE");
        return;
    }
    SetAutoCommit(false);
}

void Connection::EndTransaction(bool commit)
{
    if (m_engine == Engine::sqlite) {
        Statement st(*this);
        st.ExecDirect(commit ? L"COMMIT" : L"ROLLBACK");
        return;
    }
    EndTran(commit);
    SetAutoCommit(true);
}

// ---- statement -------------------------------------------------------------------

// One bound parameter: the buffer and indicator the driver reads at execution, and what
// they were last bound with. A later run whose parameter binds the same way reuses the
// binding (buffers are read when the statement runs, not when they are bound), so a
// statement run once per row does not bind every parameter again.
struct Statement::Slot {
    std::vector<unsigned char> buffer;
    SQLLEN indicator = 0;
    bool bound = false;
    SQLSMALLINT io = 0, cType = 0, sqlType = 0, digits = 0;
    SQLULEN columnSize = 0;
    const void* boundBuffer = nullptr;
    size_t boundLength = 0;
};

Statement::Statement(Connection& c) : m_connection(c)
{
    SQLHSTMT h = SQL_NULL_HSTMT;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, c.Handle(), &h);
    Check(rc, SQL_HANDLE_DBC, c.Handle(), "SQLAllocHandle(SQL_HANDLE_STMT)");
    m_hstmt = h;
}

Statement::~Statement()
{
    if (m_hstmt)
        SQLFreeHandle(SQL_HANDLE_STMT, m_hstmt);
}

void Statement::SetQueryTimeout(uint32_t seconds)
{
    SQLRETURN rc = SQLSetStmtAttrW(m_hstmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(seconds)), 0);
    // Drivers that cannot time out report 01S02 (value changed) or HYC00; neither stops us.
    if (!Ok(rc)) {
        auto d = Diagnostics(SQL_HANDLE_STMT, m_hstmt);
        if (d.empty() || d.front().state != "HYC00")
            throw Error(rc, std::move(d), "SQLSetStmtAttrW(SQL_ATTR_QUERY_TIMEOUT)");
    }
}

void Statement::SetParams(std::vector<Param> params) { m_params = std::move(params); }

void Statement::Prepare(const std::wstring& sql)
{
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
    ResetParams(); // bindings are reused only by runs of one prepared text
    std::u16string s = Wide16(sql);
    SQLRETURN rc = SQLPrepareW(m_hstmt, W(s), static_cast<SQLINTEGER>(s.size()));
    if (!Ok(rc)) {
        m_prepared.clear();
        m_handlePrepared = false;
        Throw(rc, SQL_HANDLE_STMT, m_hstmt, "SQLPrepareW");
    }
    m_prepared = sql;
    m_handlePrepared = true;
}

namespace {

template <class T>
T NumberOf(const Value& v)
{
    if (auto p = std::get_if<int32_t>(&v))
        return static_cast<T>(*p);
    if (auto p = std::get_if<int64_t>(&v))
        return static_cast<T>(*p);
    if (auto p = std::get_if<double>(&v))
        return static_cast<T>(*p);
    if (auto p = std::get_if<float>(&v))
        return static_cast<T>(*p);
    return T{};
}

// "YYYY-MM-DD HH:MM:SS", with the fraction's digits only when it has one.
std::u16string TimestampText(const TIMESTAMP_STRUCT& ts)
{
    char buf[48];
    int n = std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02u:%02u:%02u", ts.year, ts.month, ts.day, ts.hour,
        ts.minute, ts.second);
    if (ts.fraction) {
        char frac[16];
        std::snprintf(frac, sizeof frac, ".%09u", ts.fraction);
        size_t len = std::strlen(frac);
        while (len > 4 && frac[len - 1] == '0')
            --len;
        frac[len] = 0;
        n += std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "%s", frac);
    }
    std::u16string out;
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<char16_t>(buf[i]));
    return out;
}

// ---- parameters written as literals (SQLite SELECTs) ----------------------------
//
// The SQLite driver steps through a result (StepAPI) only for statements without
// parameters: a SELECT with any bound parameter has its whole result read into memory
// at execution, so a pass over many rows selected with a bound filter grows with the
// result. No connection option changes that. So on SQLite a SELECT whose parameters are
// all inputs runs with each '?' replaced by the value's literal, written so that SQLite
// reads back exactly the value it would have been bound: integers in decimal, doubles
// with 17 significant digits (a real, never an integer), text single-quoted with quotes
// doubled, timestamps in the text form they are bound in, bytes as X'..', NULL as NULL.
// Anything the scan cannot place with certainty (numbered or named parameters, a second
// statement, unterminated quotes, a count that does not match, a value whose SQL type
// would make the driver convert it) keeps its bound parameters.

bool IsIdentChar(wchar_t c) { return c == L'_' || c == L'$' || c >= 0x80 || std::iswalnum(static_cast<wint_t>(c)); }

// The index of the first character at or after i that is not a blank or in a comment.
size_t SkipBlanks(const std::wstring& s, size_t i)
{
    const size_t n = s.size();
    while (i < n) {
        if (std::iswspace(static_cast<wint_t>(s[i]))) {
            ++i;
        } else if (s[i] == L'-' && i + 1 < n && s[i + 1] == L'-') {
            const size_t e = s.find(L'\n', i);
            i = e == std::wstring::npos ? n : e + 1;
        } else if (s[i] == L'/' && i + 1 < n && s[i + 1] == L'*') {
            const size_t e = s.find(L"*/", i + 2);
            i = e == std::wstring::npos ? n : e + 2;
        } else {
            break;
        }
    }
    return i;
}

bool IsSelect(const std::wstring& sql)
{
    size_t i = SkipBlanks(sql, 0);
    while (i < sql.size() && sql[i] == L'(')
        i = SkipBlanks(sql, i + 1);
    static constexpr std::wstring_view kSelect = L"select";
    if (sql.size() - i < kSelect.size())
        return false;
    for (size_t k = 0; k < kSelect.size(); ++k)
        if (std::towlower(static_cast<wint_t>(sql[i + k])) != static_cast<wint_t>(kSelect[k]))
            return false;
    return i + kSelect.size() == sql.size() || !IsIdentChar(sql[i + kSelect.size()]);
}

// Positions of the '?' markers outside quotes and comments; nullopt when the text has
// markers of another form, more than one statement or an unterminated quote.
std::optional<std::vector<size_t>> Markers(const std::wstring& sql)
{
    std::vector<size_t> at;
    const size_t n = sql.size();
    size_t i = 0;
    while (i < n) {
        const wchar_t c = sql[i];
        if (c == L'\'' || c == L'"' || c == L'`' || c == L'[') {
            const wchar_t close = c == L'[' ? L']' : c;
            size_t j = i + 1;
            for (;;) {
                if (j >= n)
                    return std::nullopt;
                if (sql[j] == close) {
                    if (close != L']' && j + 1 < n && sql[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            i = j + 1;
        } else if ((c == L'-' && i + 1 < n && sql[i + 1] == L'-') || (c == L'/' && i + 1 < n && sql[i + 1] == L'*')) {
            i = SkipBlanks(sql, i);
        } else if (c == L'?') {
            if (i + 1 < n && std::iswdigit(static_cast<wint_t>(sql[i + 1])))
                return std::nullopt; // ?NNN
            at.push_back(i++);
        } else if ((c == L':' || c == L'@' || c == L'$') && i + 1 < n && IsIdentChar(sql[i + 1]) &&
                   (i == 0 || !IsIdentChar(sql[i - 1]))) {
            return std::nullopt; // a named parameter
        } else if (c == L';') {
            if (SkipBlanks(sql, i + 1) < n)
                return std::nullopt;
            ++i;
        } else {
            ++i;
        }
    }
    return at;
}

bool IsNumericSqlType(SQLSMALLINT t)
{
    switch (t) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_BIT:
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return true;
    default:
        return false;
    }
}

bool IsTextSqlType(SQLSMALLINT t) { return t == SQL_WCHAR || t == SQL_WVARCHAR || t == SQL_WLONGVARCHAR; }

bool IsBinarySqlType(SQLSMALLINT t) { return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY; }

std::wstring Ascii(const char* p)
{
    std::wstring out;
    for (; *p; ++p)
        out.push_back(static_cast<wchar_t>(*p));
    return out;
}

std::wstring RealLiteral(double d)
{
    if (std::isnan(d))
        return L"NULL"; // SQLite stores a NaN as NULL
    if (std::isinf(d))
        return d > 0 ? L"1e999" : L"(-1e999)";
    // to_chars: the C locale's form whatever the process's locale (a decimal comma
    // would change the statement).
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf - 1, d, std::chars_format::general, 17);
    *r.ptr = 0;
    std::wstring s = Ascii(buf);
    if (s.find_first_of(L".e") == std::wstring::npos)
        s += L".0"; // a real, as the bound double is
    return d < 0 || std::signbit(d) ? L"(" + s + L")" : s;
}

std::wstring IntegerLiteral(int64_t v)
{
    std::wstring s = std::to_wstring(v);
    return v < 0 ? L"(" + s + L")" : s;
}

// Text as a single-quoted literal, quotes doubled. The driver garbles every character
// beyond ASCII in statement text (not in bound values): text that has any is written
// as char(code points...), in calls of at most 100 arguments joined with ||. nullopt
// when the text holds code points UTF-16 cannot carry (they stay bound, as before) or
// needs more than 64 calls; a NUL throws: SQL text cannot carry it.
std::optional<std::wstring> TextLiteral(const std::wstring& t)
{
    constexpr size_t kPerCall = 100; // SQLite takes up to 127 arguments by default
    constexpr size_t kMaxCalls = 64;
    bool ascii = true;
    for (wchar_t c : t) {
        const uint32_t u = static_cast<uint32_t>(c);
        if (u == 0)
            throw Error(SQL_ERROR, {{"22018", 0, L"A text parameter contains a NUL character"}}, "SQLExecDirectW");
        if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF)
            return std::nullopt;
        if (u >= 0x80)
            ascii = false;
    }
    std::wstring out;
    if (ascii) {
        out.reserve(t.size() + 2);
        out += L'\'';
        for (wchar_t c : t) {
            if (c == L'\'')
                out += L'\'';
            out += c;
        }
        out += L'\'';
        return out;
    }
    if (t.size() > kPerCall * kMaxCalls)
        return std::nullopt;
    out += L'(';
    for (size_t i = 0; i < t.size(); ++i) {
        if (i % kPerCall == 0)
            out += i ? L") || char(" : L"char(";
        else
            out += L',';
        out += std::to_wstring(static_cast<uint32_t>(t[i]));
    }
    out += L"))";
    return out;
}

template <class T>
void Put(std::vector<unsigned char>& buf, const T& v)
{
    buf.resize(sizeof(T));
    std::memcpy(buf.data(), &v, sizeof(T));
}

template <class T>
T Take(const std::vector<unsigned char>& buf)
{
    T v{};
    std::memcpy(&v, buf.data(), std::min(sizeof(T), buf.size()));
    return v;
}

// ---- parameter kinds ------------------------------------------------------------
//
// One description per Kind, reached through VisitKind, holds everything that depends on
// the kind of a parameter:
//   kSqlType                 the SQL type it is declared with when the caller names none
//   Bind(binding, param)     its C type and buffer for SQLBindParameter
//   Take(buffer, indicator)  an output parameter's value read back from that buffer
//   LiteralFits(sqlType)     whether its SQLite literal means what the bound value would
//   Literal(param)           that literal (see above), for a value that is not NULL

// What BindParams hands SQLBindParameter for one parameter. The kind fills in the C type
// and the buffer, and may change the rest (the SQL type starts as SqlTypeOf's, the
// column size as the caller's).
struct Binding {
    std::vector<unsigned char>& buffer;
    SQLLEN& indicator;
    SQLSMALLINT cType;
    SQLSMALLINT sqlType;
    SQLULEN columnSize;
    SQLSMALLINT digits;
    bool output;
    bool sqlite;
};

// Fixed-size numbers travel in a C variable of their own width.
template <class C, SQLSMALLINT CType, SQLSMALLINT SqlType>
struct FixedNumber {
    static constexpr SQLSMALLINT kSqlType = SqlType;
    static void Bind(Binding& b, const Param& p)
    {
        b.cType = CType;
        Put(b.buffer, NumberOf<C>(p.value));
    }
    static Value Take(const std::vector<unsigned char>& buffer, SQLLEN)
    {
        if constexpr (sizeof(C) < sizeof(int32_t))
            return int32_t{odbc::Take<C>(buffer)};
        else
            return odbc::Take<C>(buffer);
    }
    static bool LiteralFits(SQLSMALLINT t) { return IsNumericSqlType(t); }
    static std::optional<std::wstring> Literal(const Param& p)
    {
        if constexpr (std::is_floating_point_v<C>)
            return RealLiteral(static_cast<double>(NumberOf<C>(p.value)));
        else
            return IntegerLiteral(NumberOf<C>(p.value));
    }
};

using Int32Param = FixedNumber<int32_t, SQL_C_SLONG, SQL_INTEGER>;
using TinyIntParam = FixedNumber<int16_t, SQL_C_SSHORT, SQL_SMALLINT>;
using Int64Param = FixedNumber<int64_t, SQL_C_SBIGINT, SQL_BIGINT>;
using DoubleParam = FixedNumber<double, SQL_C_DOUBLE, SQL_DOUBLE>;
using FloatParam = FixedNumber<float, SQL_C_FLOAT, SQL_REAL>;

// A BOOL: an integer, or one byte 0 or 1 when the caller declares it SQL_BIT.
struct BitParam : Int32Param {
    static void Bind(Binding& b, const Param& p)
    {
        if (b.sqlType != SQL_BIT)
            return Int32Param::Bind(b, p);
        b.cType = SQL_C_BIT;
        Put(b.buffer, static_cast<unsigned char>(NumberOf<int32_t>(p.value) ? 1 : 0));
    }
    static Value Take(const std::vector<unsigned char>& buffer, SQLLEN)
    {
        return buffer.size() == 1 ? int32_t{buffer[0]} : odbc::Take<int32_t>(buffer);
    }
    static std::optional<std::wstring> Literal(const Param& p)
    {
        if (p.sqlType == SQL_BIT)
            return NumberOf<int32_t>(p.value) ? L"1" : L"0";
        return Int32Param::Literal(p);
    }
};

// Text as UTF-16; an output's buffer holds the longest value the caller announced.
struct TextParam {
    static constexpr SQLSMALLINT kSqlType = SQL_WVARCHAR;
    static void Bind(Binding& b, const Param& p)
    {
        b.cType = SQL_C_WCHAR;
        std::u16string s;
        if (auto t = std::get_if<std::wstring>(&p.value))
            s = Wide16(*t);
        size_t units = s.size();
        if (b.output)
            units = std::max<size_t>(units, p.columnSize ? p.columnSize : 4000);
        b.buffer.assign((units + 1) * 2, 0);
        std::memcpy(b.buffer.data(), s.data(), s.size() * 2);
        if (!b.columnSize)
            b.columnSize = std::max<size_t>(units, 1);
        b.indicator = static_cast<SQLLEN>(s.size() * 2);
    }
    static Value Take(const std::vector<unsigned char>& buffer, SQLLEN indicator)
    {
        const size_t cap = buffer.size() / 2 - 1;
        if (indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) / 2 > cap)
            throw Error(SQL_SUCCESS_WITH_INFO, {{"01004", 0, L"Output parameter text truncated"}}, "SQLExecute");
        return FromW(reinterpret_cast<const SQLWCHAR*>(buffer.data()), static_cast<size_t>(indicator) / 2);
    }
    static bool LiteralFits(SQLSMALLINT t) { return IsTextSqlType(t); }
    static std::optional<std::wstring> Literal(const Param& p)
    {
        const std::wstring* t = std::get_if<std::wstring>(&p.value);
        return t ? TextLiteral(*t) : std::optional<std::wstring>(L"''");
    }
};

struct BinaryParam {
    static constexpr SQLSMALLINT kSqlType = SQL_VARBINARY;
    static void Bind(Binding& b, const Param& p)
    {
        b.cType = SQL_C_BINARY;
        if (auto v = std::get_if<std::vector<uint8_t>>(&p.value))
            b.buffer.assign(v->begin(), v->end());
        const size_t bytes = b.buffer.size();
        b.indicator = static_cast<SQLLEN>(bytes);
        if (b.output)
            b.buffer.resize(std::max<size_t>(bytes, p.columnSize ? p.columnSize : 8000));
        if (b.buffer.empty())
            b.buffer.resize(1);
        if (!b.columnSize)
            b.columnSize = std::max<size_t>(bytes, 1);
    }
    static Value Take(const std::vector<unsigned char>& buffer, SQLLEN indicator)
    {
        if (indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) > buffer.size())
            throw Error(SQL_SUCCESS_WITH_INFO, {{"01004", 0, L"Output parameter bytes truncated"}}, "SQLExecute");
        return std::vector<uint8_t>(buffer.begin(), buffer.begin() + indicator);
    }
    static bool LiteralFits(SQLSMALLINT t) { return IsBinarySqlType(t); }
    static std::optional<std::wstring> Literal(const Param& p)
    {
        static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
        std::wstring out = L"X'";
        if (auto b = std::get_if<std::vector<uint8_t>>(&p.value))
            for (uint8_t x : *b) {
                out += kHex[x >> 4];
                out += kHex[x & 15];
            }
        out += L'\'';
        return out;
    }
};

struct TimestampParam {
    static constexpr SQLSMALLINT kSqlType = SQL_TYPE_TIMESTAMP;
    static TIMESTAMP_STRUCT ValueOf(const Param& p)
    {
        const auto* t = std::get_if<TIMESTAMP_STRUCT>(&p.value);
        return t ? *t : TIMESTAMP_STRUCT{};
    }
    static void Bind(Binding& b, const Param& p)
    {
        const TIMESTAMP_STRUCT ts = ValueOf(p);
        if (b.sqlite && !b.output) {
            // SQLite keeps times as text, and its driver writes bound timestamps with
            // ".000" while SQL literals and SQLite's own CURRENT_TIMESTAMP have none:
            // bind the literal form, so equal times are equal text.
            const std::u16string text = TimestampText(ts);
            b.cType = SQL_C_WCHAR;
            b.sqlType = SQL_WVARCHAR;
            b.buffer.assign((text.size() + 1) * 2, 0);
            std::memcpy(b.buffer.data(), text.data(), text.size() * 2);
            b.columnSize = text.size();
            b.digits = 0;
            b.indicator = static_cast<SQLLEN>(text.size() * 2);
            return;
        }
        b.cType = SQL_C_TYPE_TIMESTAMP;
        Put(b.buffer, ts);
        if (!b.columnSize) {
            // Whole seconds unless the value has a fraction: drivers that store text
            // write the same form for equal times.
            b.digits = ts.fraction ? 3 : 0;
            b.columnSize = b.digits ? 23 : 19;
        }
    }
    static Value Take(const std::vector<unsigned char>& buffer, SQLLEN) { return odbc::Take<TIMESTAMP_STRUCT>(buffer); }
    static bool LiteralFits(SQLSMALLINT) { return true; } // bound as its text on SQLite whatever the SQL type
    static std::optional<std::wstring> Literal(const Param& p)
    {
        const std::u16string text = TimestampText(ValueOf(p)); // ASCII digits and separators
        return L"'" + std::wstring(text.begin(), text.end()) + L"'";
    }
};

// The one dispatch over the parameter kinds.
template <class Op>
decltype(auto) VisitKind(Kind kind, Op&& op)
{
    switch (kind) {
    case Kind::Int32: return op(Int32Param{});
    case Kind::Int64: return op(Int64Param{});
    case Kind::Double: return op(DoubleParam{});
    case Kind::Float: return op(FloatParam{});
    case Kind::Bit: return op(BitParam{});
    case Kind::TinyInt: return op(TinyIntParam{});
    case Kind::Text: return op(TextParam{});
    case Kind::Binary: return op(BinaryParam{});
    case Kind::Timestamp: return op(TimestampParam{});
    }
    throw Error(SQL_ERROR, {{"HY003", 0, L"A parameter has an unknown kind"}}, "SQLBindParameter");
}

SQLSMALLINT SqlTypeOf(const Param& p)
{
    if (p.sqlType)
        return static_cast<SQLSMALLINT>(WideTextType(p.sqlType));
    return VisitKind(p.kind, [](auto k) { return decltype(k)::kSqlType; });
}

// Whether the driver takes the value as it is (no conversion to another SQL type), so
// its literal means the same.
bool LiteralKeepsMeaning(const Param& p)
{
    if (p.direction != Direction::Input)
        return false;
    const SQLSMALLINT t = SqlTypeOf(p);
    return VisitKind(p.kind, [t](auto k) { return decltype(k)::LiteralFits(t); });
}

std::optional<std::wstring> Literal(const Param& p)
{
    if (std::holds_alternative<Null>(p.value))
        return L"NULL";
    return VisitKind(p.kind, [&](auto k) { return decltype(k)::Literal(p); });
}

} // namespace

void Statement::BindParams()
{
    if (m_slots.size() != m_params.size())
        ResetParams();
    m_outputsPending = false;
    const bool sqlite = m_connection.GetEngine() == Engine::sqlite;
    for (size_t i = 0; i < m_params.size(); ++i) {
        Param& p = m_params[i];
        if (i == m_slots.size())
            m_slots.push_back(std::make_unique<Slot>());
        Slot& slot = *m_slots[i];
        const bool output = p.direction != Direction::Input;
        if (output)
            m_outputsPending = true;
        Binding b{slot.buffer, slot.indicator, SQL_C_SLONG, SqlTypeOf(p), p.columnSize, p.decimalDigits, output,
            sqlite};
        VisitKind(p.kind, [&](auto k) { decltype(k)::Bind(b, p); });
        if (b.cType != SQL_C_WCHAR && b.cType != SQL_C_BINARY)
            slot.indicator = 0;
        if (std::holds_alternative<Null>(p.value) && p.direction != Direction::Output)
            slot.indicator = SQL_NULL_DATA;
        SQLSMALLINT io = SQL_PARAM_INPUT;
        switch (p.direction) {
        case Direction::Input:
            io = SQL_PARAM_INPUT;
            break;
        case Direction::InputOutput:
            io = SQL_PARAM_INPUT_OUTPUT;
            break;
        case Direction::Output:
            io = SQL_PARAM_OUTPUT;
            break;
        case Direction::ReturnValue:
            io = SQL_PARAM_OUTPUT; // drivers take the return value as an output parameter
            break;
        }
        if (slot.bound && slot.io == io && slot.cType == b.cType && slot.sqlType == b.sqlType &&
            slot.columnSize == b.columnSize && slot.digits == b.digits && slot.boundBuffer == slot.buffer.data() &&
            slot.boundLength == slot.buffer.size())
            continue;
        slot.bound = false;
        SQLRETURN rc = SQLBindParameter(m_hstmt, static_cast<SQLUSMALLINT>(i + 1), io, b.cType, b.sqlType,
            b.columnSize, b.digits, slot.buffer.data(), static_cast<SQLLEN>(slot.buffer.size()), &slot.indicator);
        Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLBindParameter");
        slot.bound = true;
        slot.io = io;
        slot.cType = b.cType;
        slot.sqlType = b.sqlType;
        slot.columnSize = b.columnSize;
        slot.digits = b.digits;
        slot.boundBuffer = slot.buffer.data();
        slot.boundLength = slot.buffer.size();
    }
}

void Statement::ReadOutputParams()
{
    if (!m_outputsPending)
        return;
    m_outputsPending = false;
    for (size_t i = 0; i < m_params.size() && i < m_slots.size(); ++i) {
        Param& p = m_params[i];
        if (p.direction == Direction::Input)
            continue;
        const Slot& s = *m_slots[i];
        if (s.indicator == SQL_NULL_DATA) {
            p.value = Null{};
            continue;
        }
        p.value = VisitKind(p.kind, [&](auto k) { return decltype(k)::Take(s.buffer, s.indicator); });
    }
}

std::optional<std::wstring> Statement::InlinedSelect(const std::wstring& sql) const
{
    if (m_connection.GetEngine() != Engine::sqlite || m_params.empty() || !IsSelect(sql))
        return std::nullopt;
    if (!std::all_of(m_params.begin(), m_params.end(), LiteralKeepsMeaning))
        return std::nullopt;
    const auto at = Markers(sql);
    if (!at || at->size() != m_params.size())
        return std::nullopt;
    std::wstring out;
    out.reserve(sql.size() + 24 * m_params.size());
    size_t from = 0;
    for (size_t k = 0; k < at->size(); ++k) {
        out.append(sql, from, (*at)[k] - from);
        // Blanks around it: the literal never joins a neighbouring token ("- -5", not "--5").
        const auto literal = Literal(m_params[k]);
        if (!literal)
            return std::nullopt;
        out += L' ';
        out += *literal;
        out += L' ';
        from = (*at)[k] + 1;
    }
    out.append(sql, from, std::wstring::npos);
    return out;
}

void Statement::ResetParams()
{
    SQLFreeStmt(m_hstmt, SQL_RESET_PARAMS);
    m_slots.clear();
    m_outputsPending = false;
}

bool Statement::RunDirect(const std::wstring& sql)
{
    std::u16string s = Wide16(sql);
    SQLRETURN rc = SQLExecDirectW(m_hstmt, W(s), static_cast<SQLINTEGER>(s.size()));
    if (rc == SQL_NO_DATA) {
        ReadOutputParams();
        return false;
    }
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLExecDirectW");
    if (m_outputsPending && NumResultCols() == 0)
        ReadOutputParams();
    return true;
}

bool Statement::Execute()
{
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
    if (auto text = InlinedSelect(m_prepared)) {
        ResetParams();
        m_handlePrepared = false; // the handle now holds the inlined text
        return RunDirect(*text);
    }
    if (!m_handlePrepared && !m_prepared.empty()) {
        ResetParams();
        std::u16string s = Wide16(m_prepared);
        SQLRETURN rc = SQLPrepareW(m_hstmt, W(s), static_cast<SQLINTEGER>(s.size()));
        Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLPrepareW");
        m_handlePrepared = true;
    }
    BindParams();
    SQLRETURN rc = SQLExecute(m_hstmt);
    if (rc == SQL_NO_DATA) {
        ReadOutputParams();
        return false;
    }
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLExecute");
    if (m_outputsPending && NumResultCols() == 0)
        ReadOutputParams();
    return true;
}

bool Statement::ExecDirect(const std::wstring& sql)
{
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
    m_prepared.clear();
    m_handlePrepared = false;
    ResetParams();
    if (auto text = InlinedSelect(sql))
        return RunDirect(*text);
    BindParams();
    return RunDirect(sql);
}

int16_t Statement::NumResultCols()
{
    SQLSMALLINT n = 0;
    SQLRETURN rc = SQLNumResultCols(m_hstmt, &n);
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLNumResultCols");
    return n;
}

int16_t WideTextType(int16_t sqlType)
{
    switch (sqlType) {
    case SQL_CHAR:
        return SQL_WCHAR;
    case SQL_VARCHAR:
        return SQL_WVARCHAR;
    case SQL_LONGVARCHAR:
        return SQL_WLONGVARCHAR;
    default:
        return sqlType;
    }
}

ColumnDesc Statement::Describe(uint16_t column)
{
    std::vector<SQLWCHAR> name(256);
    SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLRETURN rc = SQLDescribeColW(m_hstmt, column, name.data(), static_cast<SQLSMALLINT>(name.size()), &nameLen,
        &type, &size, &digits, &nullable);
    if (Ok(rc) && static_cast<size_t>(nameLen) >= name.size()) {
        name.resize(static_cast<size_t>(nameLen) + 1);
        rc = SQLDescribeColW(m_hstmt, column, name.data(), static_cast<SQLSMALLINT>(name.size()), &nameLen, &type,
            &size, &digits, &nullable);
    }
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLDescribeColW");
    ColumnDesc d;
    d.name = FromW(name.data(), std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(nameLen, 0)), name.size() - 1));
    d.sqlType = m_connection.GetEngine() == Engine::sqlite ? WideTextType(type) : type;
    d.size = size;
    d.decimalDigits = digits;
    d.nullable = nullable;
    return d;
}

bool Statement::Fetch()
{
    SQLRETURN rc = SQLFetch(m_hstmt);
    if (rc == SQL_NO_DATA)
        return false;
    CheckRead(rc, m_hstmt, "SQLFetch");
    return true;
}

bool Statement::MoreResults()
{
    SQLRETURN rc = SQLMoreResults(m_hstmt);
    if (rc == SQL_NO_DATA) {
        ReadOutputParams();
        return false;
    }
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLMoreResults");
    return true;
}

void Statement::CloseCursor()
{
    if (m_outputsPending) {
        // Output parameters arrive once every result has been read.
        while (MoreResults()) {
        }
    }
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
}

int64_t Statement::RowCount()
{
    SQLLEN n = -1;
    SQLRETURN rc = SQLRowCount(m_hstmt, &n);
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLRowCount");
    return n;
}

namespace {

template <class T>
bool GetFixed(SQLHSTMT h, uint16_t column, SQLSMALLINT cType, T& out)
{
    T v{};
    SQLLEN ind = 0;
    SQLRETURN rc = SQLGetData(h, column, cType, &v, sizeof v, &ind);
    CheckRead(rc, h, "SQLGetData");
    if (rc == SQL_NO_DATA)
        throw Error(rc, {{"07009", 0, L"Column already read"}}, "SQLGetData");
    if (ind == SQL_NULL_DATA)
        return false;
    out = v;
    return true;
}

} // namespace

bool Statement::GetInt32(uint16_t c, int32_t& out) { return GetFixed(m_hstmt, c, SQL_C_SLONG, out); }
bool Statement::GetInt64(uint16_t c, int64_t& out) { return GetFixed(m_hstmt, c, SQL_C_SBIGINT, out); }
bool Statement::GetDouble(uint16_t c, double& out) { return GetFixed(m_hstmt, c, SQL_C_DOUBLE, out); }
bool Statement::GetFloat(uint16_t c, float& out) { return GetFixed(m_hstmt, c, SQL_C_FLOAT, out); }
bool Statement::GetBit(uint16_t c, uint8_t& out) { return GetFixed(m_hstmt, c, SQL_C_BIT, out); }

bool Statement::GetTimestamp(uint16_t c, TIMESTAMP_STRUCT& out)
{
    SQL_TIMESTAMP_STRUCT v{};
    SQLLEN ind = 0;
    SQLRETURN rc = SQLGetData(m_hstmt, c, SQL_C_TYPE_TIMESTAMP, &v, sizeof v, &ind);
    CheckRead(rc, m_hstmt, "SQLGetData");
    if (rc == SQL_NO_DATA)
        throw Error(rc, {{"07009", 0, L"Column already read"}}, "SQLGetData");
    if (ind == SQL_NULL_DATA)
        return false;
    out = v;
    return true;
}

bool Statement::GetText(uint16_t c, std::wstring& out)
{
    // Read in pieces until the driver says the value is complete: a long value is read
    // whole, whatever the column's declared size.
    std::u16string acc;
    size_t chunk = 2048; // UTF-16 units per call, growing to what the driver announces
    bool first = true;
    for (;;) {
        if (m_textBuffer.size() < chunk + 1)
            m_textBuffer.resize(chunk + 1);
        SQLLEN ind = 0;
        const SQLLEN bytes = static_cast<SQLLEN>((chunk + 1) * 2);
        SQLRETURN rc = SQLGetData(m_hstmt, c, SQL_C_WCHAR, m_textBuffer.data(), bytes, &ind);
        if (rc == SQL_NO_DATA) {
            if (first)
                throw Error(rc, {{"07009", 0, L"Column already read"}}, "SQLGetData");
            break;
        }
        if (!Ok(rc))
            Throw(rc, SQL_HANDLE_STMT, m_hstmt, "SQLGetData");
        first = false;
        if (ind == SQL_NULL_DATA)
            return false;
        bool more = false;
        if (rc == SQL_SUCCESS_WITH_INFO) {
            auto d = Diagnostics(SQL_HANDLE_STMT, m_hstmt);
            for (const auto& r : d)
                if (r.state == "01004")
                    more = true;
        }
        if (more) {
            // The buffer is full, less its terminator.
            acc.append(m_textBuffer.data(), chunk);
            if (ind != SQL_NO_TOTAL && ind > 0) {
                const size_t rest = static_cast<size_t>(ind) / 2 - chunk;
                chunk = std::max<size_t>(rest, 16);
            } else {
                chunk *= 2;
            }
            continue;
        }
        if (ind == SQL_NO_TOTAL || ind < 0)
            throw Error(rc, {{"HY000", 0, L"Driver gave no length for a complete text value"}}, "SQLGetData");
        const size_t units = static_cast<size_t>(ind) / 2;
        if (units > chunk)
            throw Error(SQL_SUCCESS_WITH_INFO, {{"01004", 0, L"Text value truncated"}}, "SQLGetData");
        acc.append(m_textBuffer.data(), units);
        break;
    }
    out = zyn::base::FromUtf16(acc);
    return true;
}

bool Statement::GetBinary(uint16_t c, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> acc;
    std::vector<uint8_t> buf(8192);
    bool first = true;
    for (;;) {
        SQLLEN ind = 0;
        SQLRETURN rc = SQLGetData(m_hstmt, c, SQL_C_BINARY, buf.data(), static_cast<SQLLEN>(buf.size()), &ind);
        if (rc == SQL_NO_DATA) {
            if (first)
                throw Error(rc, {{"07009", 0, L"Column already read"}}, "SQLGetData");
            break;
        }
        if (!Ok(rc))
            Throw(rc, SQL_HANDLE_STMT, m_hstmt, "SQLGetData");
        first = false;
        if (ind == SQL_NULL_DATA)
            return false;
        bool more = false;
        if (rc == SQL_SUCCESS_WITH_INFO) {
            for (const auto& r : Diagnostics(SQL_HANDLE_STMT, m_hstmt))
                if (r.state == "01004")
                    more = true;
        }
        if (more) {
            acc.insert(acc.end(), buf.begin(), buf.end());
            continue;
        }
        if (ind == SQL_NO_TOTAL || ind < 0 || static_cast<size_t>(ind) > buf.size())
            throw Error(SQL_SUCCESS_WITH_INFO, {{"01004", 0, L"Binary value truncated"}}, "SQLGetData");
        acc.insert(acc.end(), buf.begin(), buf.begin() + ind);
        break;
    }
    out = std::move(acc);
    return true;
}

Value Statement::GetValue(uint16_t c, int16_t sqlType)
{
    switch (sqlType) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIT: {
        int32_t v = 0;
        return GetInt32(c, v) ? Value(v) : Value(Null{});
    }
    case SQL_BIGINT: {
        int64_t v = 0;
        return GetInt64(c, v) ? Value(v) : Value(Null{});
    }
    case SQL_REAL: {
        float v = 0;
        return GetFloat(c, v) ? Value(v) : Value(Null{});
    }
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_NUMERIC:
    case SQL_DECIMAL: {
        double v = 0;
        return GetDouble(c, v) ? Value(v) : Value(Null{});
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIMESTAMP: {
        TIMESTAMP_STRUCT v{};
        return GetTimestamp(c, v) ? Value(v) : Value(Null{});
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: {
        std::vector<uint8_t> v;
        return GetBinary(c, v) ? Value(std::move(v)) : Value(Null{});
    }
    default: {
        std::wstring v;
        return GetText(c, v) ? Value(std::move(v)) : Value(Null{});
    }
    }
}

namespace {

struct OptW {
    std::u16string s;
    bool present = false;
    explicit OptW(const std::wstring* p)
    {
        if (p) {
            s = Wide16(*p);
            present = true;
        }
    }
    SQLWCHAR* ptr() { return present ? W(s) : nullptr; }
    SQLSMALLINT len() const { return present ? static_cast<SQLSMALLINT>(s.size()) : 0; }
};

} // namespace

void Statement::Tables(const std::wstring* schema, const std::wstring* table, const std::wstring* types)
{
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
    OptW sc(schema), tb(table), ty(types);
    SQLRETURN rc = SQLTablesW(m_hstmt, nullptr, 0, sc.ptr(), sc.len(), tb.ptr(), tb.len(), ty.ptr(), ty.len());
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLTablesW");
}

void Statement::Columns(const std::wstring* schema, const std::wstring* table, const std::wstring* column)
{
    SQLFreeStmt(m_hstmt, SQL_CLOSE);
    OptW sc(schema), tb(table), co(column);
    SQLRETURN rc = SQLColumnsW(m_hstmt, nullptr, 0, sc.ptr(), sc.len(), tb.ptr(), tb.len(), co.ptr(), co.len());
    Check(rc, SQL_HANDLE_STMT, m_hstmt, "SQLColumnsW");
}

} // namespace zyn::afx::odbc
