#pragma once
// The driver layer: unixODBC's wide API behind an interface of standard types only.
// odbc_driver.cpp is the one translation unit that includes the ODBC headers (their
// Windows types clash with ours, and SQLWCHAR must stay 16-bit UTF-16 there); this
// header names no ODBC type. Text crosses as std::wstring (code points) and is converted
// to UTF-16 at the call by the one codec (platform/base/utf16.h).
//
// Failures throw odbc::Error carrying the return code and every diagnostic record.
// SQL_SUCCESS_WITH_INFO counts as success, except where data would be lost: truncation
// (01004) or fractional truncation (01S07) while reading a value, which throw.

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/sqldate.h"

namespace zyn::afx::odbc {

struct Diagnostic {
    std::string state;     // SQLSTATE, five characters
    int32_t native = 0;
    std::wstring message;
};

class Error : public std::exception {
public:
    Error(int16_t retCode, std::vector<Diagnostic> records, std::string function);
    const char* what() const noexcept override { return m_what.c_str(); }

    int16_t retCode;
    std::vector<Diagnostic> records;
    std::string function; // the ODBC call that failed ("SQLExecDirectW")

    // First record's SQLSTATE, or "" when there is none.
    const std::string& State() const;

private:
    std::string m_what;
};

enum class Engine { unknown, sqlite, postgresql };

// A value crossing the boundary (parameters, catalogue and GetFieldValue results).
struct Null {};
using Value = std::variant<Null, int32_t, int64_t, double, float, std::wstring, std::vector<uint8_t>, TIMESTAMP_STRUCT>;

// How a value is sent or asked for.
enum class Kind : uint8_t { Int32, Int64, Double, Float, Bit, TinyInt, Text, Binary, Timestamp };

enum class Direction : uint8_t { Input = 1, InputOutput = 2, Output = 4, ReturnValue = 5 };

struct ColumnDesc {
    std::wstring name;
    int16_t sqlType = 0;
    uint64_t size = 0;
    int16_t decimalDigits = 0;
    int16_t nullable = 2;
};

struct Param {
    Kind kind = Kind::Int32;
    Direction direction = Direction::Input;
    Value value;                 // Null sends NULL
    int16_t sqlType = 0;         // 0: from the kind
    uint64_t columnSize = 0;     // 0: from the value (text: UTF-16 units, at least 1)
    int16_t decimalDigits = 0;
};

// Text types as a Unicode connection carries them: SQL_CHAR, SQL_VARCHAR and
// SQL_LONGVARCHAR become SQL_WCHAR, SQL_WVARCHAR and SQL_WLONGVARCHAR. The SQLite
// driver reports every text column with the narrow types although it exchanges them
// as UTF-16 like every other; results and catalogue rows of SQLite pass through this,
// so code comparing types sees the same on every engine.
int16_t WideTextType(int16_t sqlType);

// The driver manager's environment: one per process, ODBC 3 behaviour.
void* EnvironmentHandle();

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // SQLDriverConnectW without prompting. The string is used as given; see
    // CompleteConnectionString for the options the database classes add.
    void Connect(const std::wstring& connectionString, bool readOnly, uint32_t loginTimeoutSeconds);
    void Disconnect();
    bool IsConnected() const { return m_connected; }
    void* Handle() const { return m_hdbc; }

    const std::wstring& OutConnectionString() const { return m_outString; }
    std::wstring DriverName() const;
    std::wstring DbmsName() const;
    std::wstring DbmsVersion() const;
    std::wstring DatabaseName() const;
    std::wstring IdentifierQuote() const;   // " " when the driver has none
    std::wstring SearchPatternEscape() const;
    bool DataSourceReadOnly() const;
    bool CanTransact() const;
    Engine GetEngine() const { return m_engine; }

    void SetAutoCommit(bool on);
    void EndTran(bool commit);
    // Manual transactions. On SQLite the write lock is taken at the start (BEGIN
    // IMMEDIATE, waiting up to the busy time-out): a transaction that reads first and
    // writes later (the purge pass: select, then delete row by row) would otherwise fail
    // with "database is locked" as soon as another connection commits in between.
    // Elsewhere autocommit is switched off, and on again at the end.
    void BeginTransaction();
    void EndTransaction(bool commit);

private:
    std::wstring InfoString(uint16_t infoType) const;
    void* m_hdbc = nullptr;
    bool m_connected = false;
    std::wstring m_outString;
    Engine m_engine = Engine::unknown;
};

// The driver a connection string will use, without connecting: from "Driver=" or from
// the data source's entry (DSN names match without regard to case). unknown when it
// cannot tell.
Engine EngineOfConnectionString(const std::wstring& connectionString);
// The engine of a driver file or description ("psqlodbcw.so", "SQLite3").
Engine EngineOfDriverName(const std::wstring& driver);
// The connection string with the options our classes rely on added for the engine
// (the caller's own values win): see database.h.
std::wstring CompleteConnectionString(const std::wstring& connectionString, Engine engine);
// Attribute value of a connection string ("key=value;" pairs, braces allowed), keys
// without regard to case; nullopt when absent.
std::optional<std::wstring> ConnectionAttribute(const std::wstring& connectionString, const std::wstring& key);

class Statement {
public:
    explicit Statement(Connection& connection);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void* Handle() const { return m_hstmt; }
    void SetQueryTimeout(uint32_t seconds);

    // Parameters: bound at Execute / ExecDirect, in order, from the list given last. On
    // SQLite a SELECT with input parameters only runs with them as escaped literals, so
    // the driver steps through its result instead of reading it whole (a text value with
    // a NUL then throws 22018).
    void SetParams(std::vector<Param> params);
    std::vector<Param>& Params() { return m_params; }

    void Prepare(const std::wstring& sql);
    const std::wstring& PreparedSql() const { return m_prepared; }
    // Runs the prepared statement; false when it ran but yields no data (SQL_NO_DATA,
    // e.g. a searched UPDATE that matched nothing on some drivers).
    bool Execute();
    bool ExecDirect(const std::wstring& sql);
    // After a call with output parameters: their values are in Params() once every
    // result set has been read or closed (CloseCursor does that).

    // Result sets.
    int16_t NumResultCols();
    ColumnDesc Describe(uint16_t column); // 1-based
    // false at the end of the result set.
    bool Fetch();
    bool MoreResults();
    void CloseCursor();
    // Rows affected by the last UPDATE/INSERT/DELETE; -1 when unknown.
    int64_t RowCount();

    // Column values of the current row, 1-based, read in increasing column order, each
    // once. They return false for NULL (the output is then left as is).
    bool GetInt32(uint16_t column, int32_t& out);
    bool GetInt64(uint16_t column, int64_t& out);
    bool GetDouble(uint16_t column, double& out);
    bool GetFloat(uint16_t column, float& out);
    bool GetBit(uint16_t column, uint8_t& out);
    bool GetText(uint16_t column, std::wstring& out);   // read whole, in pieces
    bool GetBinary(uint16_t column, std::vector<uint8_t>& out);
    bool GetTimestamp(uint16_t column, TIMESTAMP_STRUCT& out);
    // A column value in the natural kind of its SQL type.
    Value GetValue(uint16_t column, int16_t sqlType);

    // Catalogue functions: the result set of SQLTablesW / SQLColumnsW. Arguments are
    // patterns (null: any).
    void Tables(const std::wstring* schema, const std::wstring* table, const std::wstring* types);
    void Columns(const std::wstring* schema, const std::wstring* table, const std::wstring* column);

private:
    void BindParams();
    void ResetParams();
    bool RunDirect(const std::wstring& sql);
    // SQLite: the text of a SELECT with its input parameters written as literals, or
    // nullopt when the statement keeps them bound (see odbc_driver.cpp).
    std::optional<std::wstring> InlinedSelect(const std::wstring& sql) const;
    void ReadOutputParams();
    void* m_hstmt = nullptr;
    Connection& m_connection;
    std::wstring m_prepared;
    std::vector<Param> m_params;
    struct Slot;
    std::vector<std::unique_ptr<Slot>> m_slots;
    bool m_outputsPending = false;
    // The handle holds m_prepared; false after a run of its inlined text replaced it.
    bool m_handlePrepared = false;
    std::u16string m_textBuffer;
};

} // namespace zyn::afx::odbc
