#pragma once
// Checks of a registry store that SQLite does not make for us.
//
// Before SQLite opens a store file, CheckStoreFiles looks at the file and its
// write-ahead log the way SQLite would read them, because SQLite "recovers" from damage
// silently: it treats a zero-length file as a new, empty database, reads a truncated file
// as far as it goes, and drops the write-ahead log from its first damaged frame on,
// together with every committed transaction after it. Those cases are reported as damage
// instead, and the files are not touched.
//
// Inside the database, each row carries a row sum (column `crc`): a 64-bit FNV-1a hash
// over the row's columns, each given as its SQLite type and bytes (an integer as 8 bytes
// little-endian, text as its UTF-8 length and bytes, a blob as its length and bytes). A
// change of any one byte of a row changes its sum, so damage inside rows, which the
// structural integrity check cannot see, is found too. Statements compute sums through
// the SQL function zyn_row_sum(...), which InstallRowSum registers on a connection;
// code that reads rows checks them with RowSum.
//
// (SQLite's own page checksums would need its checksum VFS, which the system's SQLite
// library does not include.)

#include <cstdint>
#include <filesystem>
#include <string>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace zyn::base::regstore {

struct FileCheck {
    std::wstring damage; // what makes the store unusable; empty when nothing was found
    std::wstring notice; // worth logging, but not damage (an unfinished last transaction)
};

// Checks a store file that exists, and its write-ahead log ("<file>-wal") if any.
FileCheck CheckStoreFiles(const std::filesystem::path& file);

// The row sum of a sequence of SQLite values.
class RowSum {
public:
    void Add(sqlite3_value* value);
    // A column of the current row of a statement (read before any conversion of it).
    void AddColumn(sqlite3_stmt* statement, int column);
    int64_t Value() const { return static_cast<int64_t>(m_hash); }

private:
    void Bytes(const void* data, size_t size);
    void Tag(int type);
    void Integer(int64_t v);
    void Real(double d);
    void Sized(const void* data, int size);
    uint64_t m_hash = 0xcbf29ce484222325ull;
};

// Registers zyn_row_sum(...) on a connection (also for tools and tests that edit a store
// directly). Returns an SQLite result code.
int InstallRowSum(sqlite3* db);

} // namespace zyn::base::regstore
