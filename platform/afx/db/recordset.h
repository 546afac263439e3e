#pragma once
// CRecordset: the rows of one select (or one procedure call) over a CDatabase, with
// the current row in the members that DoFieldExchange binds.
//
// Opening. GetDefaultSQL (or the SQL given to Open) is one of
// - a table name or a list of tables ("[EVENTS]", "[ALARMSACK], [EVENTS]"): the set
//   runs "SELECT <bound columns> FROM <tables> [WHERE <m_strFilter>] [ORDER BY
//   <m_strSort>]";
// - a full SELECT: the filter is added to its WHERE (ANDed, in parentheses) and the sort
//   as its ORDER BY, unless the text already has one;
// - a procedure call "{CALL p(?,?)}" or "{? = CALL p(?,?)}": run with the parameters;
//   outputParam / inoutParam members receive their values after the call. On
//   PostgreSQL a call with output parameters (and no bound columns) runs as
//   "SELECT p(...)" / "SELECT * FROM p(<inputs>)": the function's result, or its OUT
//   and INOUT columns in order, fill the output members; NULL marks them NULL. Text
//   outputs are read whole. Other drivers get the call escape as written.
// Brackets become the engine's quoting (CDatabase::ReplaceBrackets). Parameters are
// bound from the members, never spliced into the text.
//
// Cursor. Every open type streams rows through a forward-only cursor, so a pass over
// many rows keeps memory flat (see CDatabase for the drivers' streaming options).
// MoveNext moves forward; MoveFirst re-runs the query when the set has left its first
// row; MovePrev, MoveLast and other backward moves re-run
// the query and step to the row for snapshot and dynaset sets, and raise
// AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY for forwardOnly sets. Rows changed by others in
// between are seen as they are then (the set is not a frozen snapshot).
//
// Changes. AddNew/Edit then Update run searched statements, never positioned ones:
// - AddNew sets every field NULL (members to their "pseudo-NULL" values: 0x7EE4 for int,
//   0x4A4D4120 for LONG and int64, 2 for BOOL, 255 for BYTE, a NaN for float/double, an
//   empty text or array, an all-zero TIMESTAMP_STRUCT, CTime(0) and a null COleDateTime);
//   Update inserts exactly the fields that are dirty: changed from those values, or
//   marked with SetFieldDirty / SetFieldNull. Columns not inserted keep their DEFAULT.
// - Edit remembers the current values; Update writes the changed or marked fields with
//   "UPDATE t SET ... WHERE <key columns> = <their values as fetched>".
// - Delete runs "DELETE FROM t WHERE <key columns> = <values as fetched>".
// Key columns come from GetKeyColumns() (default: the list given to SetKeyColumns);
// each must be a bound column; a NULL or missing key value refuses the operation with
// AFX_SQL_ERROR_NO_KEY_COLUMNS. A statement that changes no row raises
// AFX_SQL_ERROR_NO_ROWS_AFFECTED, more than one row AFX_SQL_ERROR_MULTIPLE_ROWS_AFFECTED.
// After Update the members keep the values written and the set stays on its row;
// CancelUpdate (also a Move during AddNew or Edit, and an Update with nothing to
// write) puts the current row's values back.
//
// Fetched NULLs set the member to 0 / empty / zero timestamp / CTime(0) / null
// COleDateTime, and IsFieldNull reports them. Reads never cut: text and binary values
// are read whole; a value that does not fit its member (a fraction or an out-of-range
// number into an integer field, a time outside CTime's range) raises CDBException
// (SQLSTATE 22003, 22018 or 22008) instead of storing something else.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/afx/db/dbconst.h"
#include "platform/afx/db/dbvariant.h"
#include "platform/afx/db/fieldexchange.h"
#include "platform/base/cstring.h"
#include "platform/base/object.h"

class CDatabase;

namespace zyn::afx {
class RecordsetState;
struct RecordsetOps;
namespace odbc {
struct Param;
}
} // namespace zyn::afx

// A result column as the driver describes it.
struct CODBCFieldInfo {
    CString m_strName;
    int16_t m_nSQLType = 0;
    uint64_t m_nPrecision = 0;
    int16_t m_nScale = 0;
    int16_t m_nNullability = 0;
};

class CRecordset : public CObject {
    DECLARE_DYNAMIC(CRecordset)
public:
    enum OpenType { dynaset = 0, snapshot = 1, forwardOnly = 2, dynamic = 3 };
    enum OpenOptions : DWORD {
        none = 0x0,
        readOnly = 0x0004,
        appendOnly = 0x0008,
        skipDeletedRecords = 0x0010,
        noDirtyFieldCheck = 0x0020,
        useBookmarks = 0x0100,
        useMultiRowFetch = 0x0200,
        userAllocMultiRowBuffers = 0x0400,
        useExtendedFetch = 0x0800,
        executeDirect = 0x2000,
        optimizeBulkAdd = 0x4000,
        firstBulkAdd = 0x8000,
    };
    enum EditMode { noMode = 0, edit = 1, addnew = 2 };
    // GetFieldValue's field type: from the column's SQL type.
    static constexpr short DEFAULT_FIELD_TYPE = 0;

    explicit CRecordset(CDatabase* pDatabase = nullptr);
    ~CRecordset() override;

    // nOpenType AFX_DB_USE_DEFAULT_TYPE is snapshot. Without m_pDatabase the set opens
    // a database of its own from GetDefaultConnect() and closes it with itself.
    // Returns TRUE; failures throw CDBException.
    virtual BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCWSTR lpszSQL = nullptr, DWORD dwOptions = none);
    virtual void Close();
    virtual void Move(LONG nRows, WORD wFetchType = SQL_FETCH_RELATIVE);
    virtual void AddNew();
    virtual void Edit();
    virtual BOOL Update();
    virtual void Delete();
    virtual CString GetDefaultConnect();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CFieldExchange* pFX);
    virtual void DoParamExchange(CFieldExchange* pFX);
    // Comma-separated key columns for searched UPDATE and DELETE (unbracketed or
    // bracketed, optionally table-qualified; matched against the bound columns without
    // regard to case or brackets).
    virtual CString GetKeyColumns();
    // Re-runs the query with the current filter, sort and parameters.
    virtual BOOL Requery();

    void MoveNext() { Move(1, SQL_FETCH_NEXT); }
    void MovePrev() { Move(-1, SQL_FETCH_PRIOR); }
    void MoveFirst() { Move(1, SQL_FETCH_FIRST); }
    void MoveLast() { Move(-1, SQL_FETCH_LAST); }
    void SetAbsolutePosition(LONG nRows) { Move(nRows, SQL_FETCH_ABSOLUTE); }

    // Leaves AddNew or Edit without writing: the members return to the current row's
    // values (and NULL states) as they were before AddNew or Edit.
    void CancelUpdate();

    BOOL IsOpen() const;
    BOOL IsBOF() const;
    BOOL IsEOF() const;
    BOOL IsDeleted() const;
    // Rows seen so far; the total once the set has reached its end.
    LONG GetRecordCount() const;
    // 0-based index of the current row, -1 before the first.
    LONG GetCurrentIndex() const;

    BOOL CanUpdate() const;
    BOOL CanAppend() const;
    BOOL CanScroll() const;
    BOOL CanRestart() const { return IsOpen(); }
    BOOL CanTransact() const;

    // The statement last run (after brackets were replaced) and the table it updates.
    const CString& GetSQL() const { return m_strSQL; }
    const CString& GetTableName() const { return m_strTableName; }
    void SetKeyColumns(LPCWSTR lpszColumns) { m_strKeyColumns = lpszColumns; }
    int GetEditMode() const { return m_nEditMode; }

    // pv is a bound member (column or parameter); null means every bound column:
    // IsFieldNull(null) is TRUE when all are NULL, IsFieldDirty(null) when any is dirty.
    // A pointer that is not bound raises AFX_SQL_ERROR_FIELD_NOT_FOUND.
    BOOL IsFieldNull(const void* pv) const;
    void SetFieldNull(void* pv, BOOL bNull = TRUE);
    BOOL IsFieldDirty(const void* pv) const;
    void SetFieldDirty(void* pv, BOOL bDirty = TRUE);
    BOOL IsFieldNullable(const void* pv) const;
    // nIndex: 0-based parameter in binding order.
    void SetParamNull(int nIndex, BOOL bNull = TRUE);

    // The result columns of the open statement.
    short GetODBCFieldCount() const;
    void GetODBCFieldInfo(short nIndex, CODBCFieldInfo& fieldinfo) const;
    void GetODBCFieldInfo(LPCWSTR lpszName, CODBCFieldInfo& fieldinfo) const;
    // The current row's value of a result column (0-based index, or name without regard
    // to case). Bound columns answer from their members.
    void GetFieldValue(short nIndex, CDBVariant& varValue, short nFieldType = DEFAULT_FIELD_TYPE);
    void GetFieldValue(LPCWSTR lpszName, CDBVariant& varValue, short nFieldType = DEFAULT_FIELD_TYPE);
    void GetFieldValue(short nIndex, CString& strValue);
    void GetFieldValue(LPCWSTR lpszName, CString& strValue);

    CDatabase* m_pDatabase;
    CString m_strFilter;
    CString m_strSort;
    UINT m_nFields = 0;
    UINT m_nParams = 0;
    // The select statement's handle (SQLHSTMT), opaque outside the driver layer.
    HSTMT m_hstmt = nullptr;

protected:
    // The target of INSERT, UPDATE and DELETE (set by Open from the SQL; a derived set
    // may set it itself).
    void SetTableName(LPCWSTR lpszTable) { m_strTableName = lpszTable; }

    CString m_strSQL;
    CString m_strTableName;
    CString m_strKeyColumns;
    UINT m_nOpenType = snapshot;
    DWORD m_dwOptions = none;
    int m_nEditMode = noMode;

private:
    friend class CDatabase;
    friend struct zyn::afx::RecordsetOps;
    void DetachFromDatabase();
    void ThrowIfNotOpen() const;
    void RunStatement(bool bFetchFirst);
    void Restart();
    bool FetchNext();
    void CopyOutputs();
    bool FieldChanged(const void* field) const;
    CString TargetTable() const;
    void RequireKeys() const;
    // Runs the change with the parameters given; params receives the list the statement
    // held before (cleared), so that a caller keeping it reuses its storage.
    int64_t ExecuteChange(const CString& sql, std::vector<zyn::afx::odbc::Param>& params);
    CString KeyCondition() const;
    void AppendKeyParams(std::vector<zyn::afx::odbc::Param>& params) const;
    void* FindField(const void* pv) const;
    short IndexOfColumn(LPCWSTR lpszName) const;

    std::unique_ptr<zyn::afx::RecordsetState> m_pState;
    std::unique_ptr<CDatabase> m_pOwnDatabase;
};
