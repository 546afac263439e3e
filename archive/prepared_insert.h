#pragma once
// One INSERT of a table's columns, prepared once and run for row after row, for the
// restores of the sets with many rows. Through the record set each row would cost an
// AddNew (a copy of every field), a look-up per member and the bookkeeping of Update;
// here a row is its column values, bound straight to the statement prepared on the
// set's own connection (so it joins the connection's transaction).
//
// Failures raise CDBException with the driver's SQLSTATE, native code and text, as the
// database classes do.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

class CDatabase;

namespace zyn::afx::odbc {
class Statement;
struct Param;
} // namespace zyn::afx::odbc

namespace zyn::archive {

// Runs f, which calls the driver layer directly, raising a driver failure as the
// database classes do (CDBException with the SQLSTATE, native code and text).
void RunDriverCall(const std::function<void()>& f);

class PreparedInsert {
public:
    // "INSERT INTO table (columns...) VALUES (?, ...)"; the table and the columns are
    // plain identifiers of the schema (CInvalidArgException otherwise). The database
    // must be open.
    PreparedInsert(CDatabase& db, LPCWSTR lpszTable, const std::vector<LPCWSTR>& columns);
    ~PreparedInsert();
    PreparedInsert(const PreparedInsert&) = delete;
    PreparedInsert& operator=(const PreparedInsert&) = delete;

    // The values of the next row, in the columns' order.
    void Int(int32_t value);
    void BigInt(int64_t value);
    void Text(const CString& value);
    void Time(const TIMESTAMP_STRUCT& value);
    // NULL, of the kind of column it stands in.
    void NullInt();
    void NullTime();

    // Inserts the row of the values given since the last Execute; raises CDBException.
    void Execute();
    size_t ColumnCount() const { return m_nColumns; }

private:
    zyn::afx::odbc::Param& Next(int kind);

    std::unique_ptr<zyn::afx::odbc::Statement> m_statement;
    size_t m_nColumns = 0;
    size_t m_nNext = 0; // values given for the next row
};

} // namespace zyn::archive
