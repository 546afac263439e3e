#pragma once
// CDynamicRecordset: a multi-filter record set over one named table that can select
// columns beyond those its DoFieldExchange binds, describe the table's columns, hand
// out free IDs, map identifiers of restored rows, and escape text for the archive files.
//
// Added columns (AddColumnToSet, AddAllColumnsToSet) are bound after the set's own
// columns; a key column added this way becomes the key of Delete and of Edit/Update
// (the surrogate row-ID columns EVTROWID, VISITROWID, EVENTVIDEOROWID of the schema
// serve so). A column the set binds already is not bound twice; it only becomes a key.
//
// Identifier mapping (GetUpdatedIdFromMappingTable) reads the table ZYN_ID_MAPPING
// (TABLE_NAME, COLUMN_NAME, OLD_ID, NEW_ID; names stored in upper case): the NEW_ID of
// the row for (table, column, id). A missing table or row means "no mapping". The
// mapping of a (table, column) pair is read once per Open of the set and kept in memory.
//
// Free IDs (GetNextID) come from the counter table ZYN_NEXT_ID (TABLE_NAME, COLUMN_NAME,
// FILTER_TEXT, LAST_ID): the counter row is updated first, to the greater of its value
// and the column's current maximum, plus one, then read, inside a transaction. The write
// comes first so that concurrent callers queue on the write lock instead of failing
// ("database is locked") and never receive the same value. Without the counter table the
// ID is the column's maximum plus one.
//
// Archive-text escape (RemoveSpecialChars / ReplaceSpecialChars): every C0 control
// character c (U+0000-U+001F: tab, CR, LF, and the escape character U+001B itself)
// becomes U+001B followed by the character c + 0x40 ("caret" letter: tab -> ESC 'I',
// LF -> ESC 'J', CR -> ESC 'M', ESC -> ESC '['). All other text is left as it is, so a
// line of the archive file never holds a tab or a line break inside a field, and
// ReplaceSpecialChars gives the original back exactly. ReplaceSpecialChars leaves an
// ESC that is not followed by a letter of the escape (text written before the escape
// existed never holds one) as it is.

#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/afx/db/dbcatalog.h"
#include "platform/afx/db/dbvariant.h"
#include "platform/suite/database/multi_filter_recordset.h"

class CDynamicRecordset : public CMultiFilterRecordset {
    DECLARE_DYNAMIC(CDynamicRecordset)
public:
    // GetUpdatedIdFromMappingTable's answer when an identifier has no mapping.
    static constexpr LONG NoMapping = INT32_MIN;
    // The escape character of RemoveSpecialChars.
    static constexpr wchar_t EscapeChar = L'\x1B';

    // lpszTable: the table the set reads and writes (without brackets); may be null for
    // a set whose GetDefaultSQL names it.
    explicit CDynamicRecordset(CZynDatabase* pDatabase = nullptr, LPCWSTR lpszTable = nullptr);
    ~CDynamicRecordset() override;

    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none) override;
    void Close() override;
    CString GetDefaultSQL() override;
    CString GetKeyColumns() override;

    // The next free value of an integer column of the set's table: rows matching the
    // filter (SQL text of the caller, may be null) are counted; see above. Raises
    // CDBException when no 32-bit value is left or the database fails.
    virtual LONG GetNextID(LPCWSTR lpszColumn, LPCWSTR lpszFilter);
    // Switches the set to another table with the same columns (a *_RESTORED twin): the
    // set is closed, the column descriptions are dropped; added columns stay.
    virtual BOOL ChangeTable(LPCWSTR lpszTable);
    // Adds every column of the set's table that the set does not bind yet (in the
    // table's order). Returns the number added; 0 when the table has no such columns.
    virtual int AddAllColumnsToSet();

    // Selects one more column of the set's table. lpszTable qualifies it in the select
    // list (null: unqualified). With bKeyColumn it becomes a key of Delete and Update.
    // pnFieldIndex, when given, receives the 0-based position of the column among the
    // set's result columns (its own first). Returns FALSE, adding nothing, when the
    // table has no such column or the set is open; a name that is not a plain
    // identifier raises CInvalidArgException. Call before Open.
    BOOL AddColumnToSet(LPCWSTR lpszColumn, LPCWSTR lpszTable = nullptr, BOOL bKeyColumn = FALSE,
        int* pnFieldIndex = nullptr);
    // The current row's value of an added column (DBVT_NULL for NULL); FALSE when no
    // such column was added.
    BOOL GetAddedColumnValue(LPCWSTR lpszColumn, CDBVariant& value);
    int GetAddedColumnCount() const { return static_cast<int>(m_added.size()); }

    // The catalogue description of a column (SQL type, size in characters for text,
    // nullability), or null when the table or column does not exist. lpszTable null
    // means the set's table. Text types are reported in their wide form (SQL_WVARCHAR,
    // SQL_WCHAR, SQL_WLONGVARCHAR) by the type the column was declared with (a
    // VARCHAR(2000) is SQL_WVARCHAR with size 2000 on every engine). Descriptions
    // are read once per table and kept until ChangeTable or Close; the pointer stays
    // valid until then.
    const zyn::afx::DbColumnInfo* FindColumnDesc(LPCWSTR lpszColumn, LPCWSTR lpszTable = nullptr);

    // The identifier that now stands for nId in (table, column), or NoMapping.
    LONG GetUpdatedIdFromMappingTable(LPCWSTR lpszTable, LPCWSTR lpszColumn, LONG nId);

    // The set's table, without brackets.
    const CString& GetTable() const { return m_strTable; }

    // Archive-text escape; see above.
    static void RemoveSpecialChars(CString& text);
    // Makes escaped text safe to write as UTF-16: code points that UTF-16 cannot carry
    // (lone surrogates, values beyond U+10FFFF) become U+FFFD. Idempotent.
    static void CleanupString(CString& text);
    static void ReplaceSpecialChars(CString& text);
    // Value-returning forms.
    static CString RemovedSpecialChars(const CString& text);
    static CString ReplacedSpecialChars(const CString& text);

protected:
    void ExchangeAddedColumns(CFieldExchange* pFX) override;

private:
    struct AddedColumn;
    struct Mapping;
    // The set's own columns as its DoFieldExchange binds them.
    std::vector<CString> ProbeOwnColumns();
    CString TableForCatalogue() const;
    bool CounterTableExists();

    CString m_strTable;
    std::vector<std::unique_ptr<AddedColumn>> m_added;
    std::map<CString, std::vector<zyn::afx::DbColumnInfo>> m_columnDescs; // by upper-case table
    std::map<CString, std::unordered_map<LONG, LONG>> m_mappings;         // by "TABLE\tCOLUMN"
    int m_nMappingTable = -1;   // -1 unknown, 0 absent, 1 present (per Open)
    int m_nCounterTable = -1;   // likewise for ZYN_NEXT_ID
    bool m_bProbing = false;
};
