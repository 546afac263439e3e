#pragma once
// CFieldExchange and the RFX functions: how a record set names its columns and
// parameters. DoFieldExchange calls one RFX function per bound column, in the order of
// the select list; after SetFieldType(CFieldExchange::param) (or one of the other
// parameter types) the following RFX calls bind '?' parameters in the order of their
// markers (parameters of the filter for a table-name set; of the statement for a full
// SQL or "{CALL ...}" set). A set may bind its parameters in DoParamExchange instead,
// called from DoFieldExchange or, when DoFieldExchange bound none, by the record set.
//
// Every RFX function ends in CFieldExchange::Exchange with a FieldRef: a record set of a
// derived library can write RFX functions of its own the same way (or forward to these).
//
// Column names may be bracketed ("[EVENTS].[SERIALNUM]"): the select list maps brackets
// to the engine's quoting; INSERT and UPDATE name the column without its table.
//
// Text: RFX_Text reads values whole, however long (in pieces), and never cuts them;
// nMaxLength only sizes the bound parameter. RFX_Date for a CTime reads and writes the
// column as local wall-clock time.

#include <cstdint>
#include <vector>

#include "platform/afx/db/dbconst.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"
#include "platform/base/wintypes.h"

class CRecordset;
class CTime;
class COleDateTime;
class CByteArray;

namespace zyn::afx {

enum class FieldKind : uint8_t {
    Bool,      // BOOL (32-bit; 0 or 1)
    Byte,      // BYTE
    Int,       // int (32-bit)
    Long,      // LONG (32-bit)
    BigInt,    // int64_t
    Single,    // float
    Double,    // double
    Text,      // CString
    Binary,    // CByteArray
    Time,      // CTime (local time in the column)
    Timestamp, // TIMESTAMP_STRUCT
    OleDate,   // COleDateTime
};

struct FieldRef {
    LPCWSTR name = nullptr;   // column name as bound (may be bracketed and qualified)
    FieldKind kind = FieldKind::Long;
    void* value = nullptr;    // the member
    int maxLength = 0;        // text: characters; binary: bytes; 0 = default
    int16_t columnType = 0;   // SQL type for parameters; 0 = from the kind
    int16_t scale = 0;
    int16_t fieldType = 0;    // CFieldExchange::FieldType at the time of the call
};

} // namespace zyn::afx

class CFieldExchange {
public:
    // The operations a record set runs DoFieldExchange for. This implementation runs
    // it only to learn the bindings (BindFieldToColumn); the record set then works on
    // the bound members itself.
    enum RFX_Operation {
        BindParam,
        RebindParam,
        BindFieldToColumn,
        BindFieldForUpdate,
        UnbindFieldForUpdate,
        Fixup,
        MarkForAddNew,
        MarkForUpdate,
        Name,
        NameValue,
        Value,
        SetFieldNull,
        StoreField,
        LoadField,
        AllocCache,
        AllocMultiRowBuffer,
        DeleteMultiRowBuffer,
    };
    enum FieldType {
        noFieldType = -1,
        outputColumn = 0,
        param = SQL_PARAM_INPUT,
        inputParam = param,
        outputParam = SQL_PARAM_OUTPUT,
        inoutParam = SQL_PARAM_INPUT_OUTPUT,
    };

    CFieldExchange(UINT nOperation, CRecordset* prs);

    void SetFieldType(UINT nFieldType);
    UINT GetFieldType() const { return m_nFieldType; }
    // TRUE when the current field type is a parameter type.
    BOOL IsParamType() const;

    // Records one binding. Called by every RFX function.
    void Exchange(const zyn::afx::FieldRef& field);

    UINT m_nOperation;
    CRecordset* m_prs;
    UINT m_nFieldType = outputColumn;

    // The bindings learnt, in call order.
    std::vector<zyn::afx::FieldRef> m_columns;
    std::vector<zyn::afx::FieldRef> m_params;
};

void RFX_Bool(CFieldExchange* pFX, LPCWSTR szName, BOOL& value);
void RFX_Byte(CFieldExchange* pFX, LPCWSTR szName, BYTE& value);
void RFX_Int(CFieldExchange* pFX, LPCWSTR szName, int& value);
void RFX_Long(CFieldExchange* pFX, LPCWSTR szName, LONG& value);
void RFX_BigInt(CFieldExchange* pFX, LPCWSTR szName, int64_t& value);
void RFX_Single(CFieldExchange* pFX, LPCWSTR szName, float& value);
void RFX_Double(CFieldExchange* pFX, LPCWSTR szName, double& value);
void RFX_Text(CFieldExchange* pFX, LPCWSTR szName, CString& value, int nMaxLength = 255,
    int nColumnType = SQL_VARCHAR, short nScale = 0);
void RFX_Binary(CFieldExchange* pFX, LPCWSTR szName, CByteArray& value, int nMaxLength = 255);
void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, CTime& value);
void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, TIMESTAMP_STRUCT& value);
void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, COleDateTime& value);
