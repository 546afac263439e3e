#include "platform/suite/database/dynamic_recordset.h"

#include <algorithm>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"
#include "platform/suite/database/transaction_scope.h"
#include "platform/suite/database/zyn_database.h"

IMPLEMENT_DYNAMIC(CDynamicRecordset, CMultiFilterRecordset)

using zyn::afx::DbColumnInfo;
using zyn::afx::DbValue;
using zyn::afx::FieldKind;

struct CDynamicRecordset::AddedColumn {
    CString selectName; // as it stands in the select list ("EVENTS.EVTROWID" or "EVTROWID")
    CString bare;       // "EVTROWID"
    bool key = false;
    bool bound = true;  // false: the set's own DoFieldExchange binds it already
    FieldKind kind = FieldKind::BigInt;
    int64_t i64 = 0;
    double dbl = 0;
    CString text;
    TIMESTAMP_STRUCT ts{};
    int ownIndex = -1;  // position among the set's own columns when not bound here

    void* Value()
    {
        switch (kind) {
        case FieldKind::Double: return &dbl;
        case FieldKind::Text: return &text;
        case FieldKind::Timestamp: return &ts;
        default: return &i64;
        }
    }
};

namespace {

constexpr LPCWSTR kMappingTable = L"ZYN_ID_MAPPING";
constexpr LPCWSTR kCounterTable = L"ZYN_NEXT_ID";

// Text is Unicode on every engine here, so text columns are described in their wide
// form, and by their declared type: SQLite reports a VARCHAR longer than 255 as long
// text, though it was declared VARCHAR(n).
int16_t WideTextType(int16_t type, const CString& typeName)
{
    const bool text = type == SQL_CHAR || type == SQL_VARCHAR || type == SQL_LONGVARCHAR || type == SQL_WCHAR ||
        type == SQL_WVARCHAR || type == SQL_WLONGVARCHAR;
    if (text) {
        const CString name = zyn::db::UpperAscii(typeName);
        if (name.Find(L"VARCHAR") == 0 || name.Find(L"NVARCHAR") == 0 || name.Find(L"CHARACTER VARYING") == 0 ||
            name.Find(L"VARCHAR2") == 0 || name.Find(L"NVARCHAR2") == 0)
            return SQL_WVARCHAR;
        if (name == L"CHAR" || name.Find(L"CHAR(") == 0 || name.Find(L"NCHAR") == 0 || name == L"BPCHAR" ||
            name == L"CHARACTER" || name.Find(L"CHARACTER(") == 0)
            return SQL_WCHAR;
    }
    switch (type) {
    case SQL_CHAR: return SQL_WCHAR;
    case SQL_VARCHAR: return SQL_WVARCHAR;
    case SQL_LONGVARCHAR: return SQL_WLONGVARCHAR;
    default: return type;
    }
}

FieldKind KindOfSqlType(int16_t type)
{
    switch (type) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_BIT:
        return FieldKind::BigInt;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
        return FieldKind::Double;
    case SQL_DATETIME:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
        return FieldKind::Timestamp;
    default:
        return FieldKind::Text;
    }
}

// The rows of the identifier mapping of one (table, column).
class CMappingRows : public CRecordset {
public:
    explicit CMappingRows(CDatabase* pdb) : CRecordset(pdb)
    {
        m_nFields = 2;
        m_nParams = 2;
    }
    CString GetDefaultSQL() override
    {
        return L"SELECT OLD_ID, NEW_ID FROM ZYN_ID_MAPPING WHERE TABLE_NAME = ? AND COLUMN_NAME = ?";
    }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        pFX->SetFieldType(CFieldExchange::outputColumn);
        RFX_Long(pFX, L"OLD_ID", m_nOld);
        RFX_Long(pFX, L"NEW_ID", m_nNew);
        pFX->SetFieldType(CFieldExchange::param);
        RFX_Text(pFX, L"TABLE_NAME", m_strTable, 128, SQL_WVARCHAR);
        RFX_Text(pFX, L"COLUMN_NAME", m_strColumn, 128, SQL_WVARCHAR);
    }

    LONG m_nOld = 0;
    LONG m_nNew = 0;
    CString m_strTable;
    CString m_strColumn;
};

[[noreturn]] void ThrowNoDatabase(LPCWSTR what)
{
    CString msg;
    msg.Format(L"%s: the record set has no open database.", what);
    AfxThrowDBException(AFX_SQL_ERROR_CONNECT_FAIL, msg);
}

} // namespace

CDynamicRecordset::CDynamicRecordset(CZynDatabase* pDatabase, LPCWSTR lpszTable) : CMultiFilterRecordset(pDatabase)
{
    if (lpszTable && *lpszTable)
        m_strTable = zyn::db::Unbracketed(lpszTable);
}

CDynamicRecordset::~CDynamicRecordset() = default;

BOOL CDynamicRecordset::Open(UINT nOpenType, LPCWSTR lpszSQL, DWORD dwOptions)
{
    m_mappings.clear();
    m_nMappingTable = -1;
    m_nCounterTable = -1;
    return CMultiFilterRecordset::Open(nOpenType, lpszSQL, dwOptions);
}

void CDynamicRecordset::Close()
{
    CMultiFilterRecordset::Close();
    m_columnDescs.clear();
}

CString CDynamicRecordset::GetDefaultSQL()
{
    if (!m_strTable.IsEmpty())
        return L"[" + m_strTable + L"]";
    return CMultiFilterRecordset::GetDefaultSQL();
}

CString CDynamicRecordset::GetKeyColumns()
{
    CString keys;
    for (const auto& c : m_added) {
        if (!c->key)
            continue;
        if (!keys.IsEmpty())
            keys += L",";
        keys += c->bare;
    }
    return keys.IsEmpty() ? CMultiFilterRecordset::GetKeyColumns() : keys;
}

CString CDynamicRecordset::TableForCatalogue() const
{
    if (!m_strTable.IsEmpty())
        return m_strTable;
    CString sql = const_cast<CDynamicRecordset*>(this)->GetDefaultSQL();
    sql.Trim();
    if (zyn::db::IsPlainIdentifier(sql))
        return zyn::db::Unbracketed(sql);
    return CString();
}

std::vector<CString> CDynamicRecordset::ProbeOwnColumns()
{
    std::vector<CString> names;
    CFieldExchange fx(CFieldExchange::BindFieldToColumn, this);
    m_bProbing = true;
    try {
        DoFieldExchange(&fx);
    } catch (...) {
        m_bProbing = false;
        throw;
    }
    m_bProbing = false;
    for (const zyn::afx::FieldRef& f : fx.m_columns)
        names.push_back(zyn::db::BareIdentifier(f.name));
    return names;
}

void CDynamicRecordset::ExchangeAddedColumns(CFieldExchange* pFX)
{
    if (m_bProbing || !pFX)
        return;
    for (auto& c : m_added) {
        if (!c->bound)
            continue;
        void* value = c->Value();
        const bool already = std::any_of(pFX->m_columns.begin(), pFX->m_columns.end(),
            [&](const zyn::afx::FieldRef& f) { return f.value == value; });
        if (already)
            continue;
        switch (c->kind) {
        case FieldKind::Double: RFX_Double(pFX, c->selectName, c->dbl); break;
        case FieldKind::Text: RFX_Text(pFX, c->selectName, c->text, 4000, SQL_WVARCHAR); break;
        case FieldKind::Timestamp: RFX_Date(pFX, c->selectName, c->ts); break;
        default: RFX_BigInt(pFX, c->selectName, c->i64); break;
        }
    }
}

BOOL CDynamicRecordset::AddColumnToSet(LPCWSTR lpszColumn, LPCWSTR lpszTable, BOOL bKeyColumn, int* pnFieldIndex)
{
    if (!zyn::db::IsPlainIdentifier(lpszColumn) || (lpszTable && *lpszTable && !zyn::db::IsPlainIdentifier(lpszTable))) {
        CString msg;
        msg.Format(L"AddColumnToSet: \"%s\" is not a column name", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    if (IsOpen())
        return FALSE;
    const CString bare = zyn::db::BareIdentifier(lpszColumn);

    const std::vector<CString> own = ProbeOwnColumns();
    auto boundBefore = [&](const AddedColumn* upTo) {
        int n = 0;
        for (const auto& c : m_added) {
            if (c.get() == upTo)
                break;
            n += c->bound ? 1 : 0;
        }
        return n;
    };

    for (auto& c : m_added) {
        if (c->bare.CompareNoCase(bare) == 0) {
            c->key = c->key || bKeyColumn;
            if (pnFieldIndex)
                *pnFieldIndex = c->bound ? static_cast<int>(own.size()) + boundBefore(c.get()) : c->ownIndex;
            return TRUE;
        }
    }

    auto column = std::make_unique<AddedColumn>();
    column->bare = bare;
    column->key = bKeyColumn != FALSE;
    for (size_t i = 0; i < own.size(); ++i) {
        if (own[i].CompareNoCase(bare) == 0) {
            column->bound = false;
            column->ownIndex = static_cast<int>(i);
            break;
        }
    }
    if (column->bound) {
        CDatabase* db = m_pDatabase;
        if (db && db->IsOpen()) {
            const DbColumnInfo* desc = FindColumnDesc(bare);
            if (!desc)
                return FALSE;
            column->kind = KindOfSqlType(desc->sqlType);
        }
        // Without an open database the column is taken as an integer: the columns added
        // this way are the schema's integer row IDs.
        CString qualifier = (lpszTable && *lpszTable) ? zyn::db::Unbracketed(lpszTable) : CString();
        column->selectName = qualifier.IsEmpty() ? bare : qualifier + L"." + bare;
        ++m_nFields;
    }
    const int index = column->bound ? static_cast<int>(own.size()) + boundBefore(nullptr) : column->ownIndex;
    m_added.push_back(std::move(column));
    if (pnFieldIndex)
        *pnFieldIndex = index;
    return TRUE;
}

int CDynamicRecordset::AddAllColumnsToSet()
{
    CDatabase* db = m_pDatabase;
    if (!db || !db->IsOpen() || IsOpen())
        return 0;
    const CString table = TableForCatalogue();
    if (table.IsEmpty())
        return 0;
    // Copy the names first: FindColumnDesc below keeps using the cached descriptions.
    std::vector<CString> names;
    FindColumnDesc(L"_", table); // fills the cache for the table
    auto it = m_columnDescs.find(zyn::db::UpperAscii(table));
    if (it == m_columnDescs.end())
        return 0;
    std::vector<DbColumnInfo> cols = it->second;
    std::sort(cols.begin(), cols.end(), [](const DbColumnInfo& a, const DbColumnInfo& b) { return a.ordinal < b.ordinal; });
    const std::vector<CString> own = ProbeOwnColumns();
    int added = 0;
    for (const DbColumnInfo& c : cols) {
        const CString bare = zyn::db::UpperAscii(c.name);
        const bool isOwn = std::any_of(own.begin(), own.end(), [&](const CString& o) { return o.CompareNoCase(bare) == 0; });
        const bool isAdded = std::any_of(
            m_added.begin(), m_added.end(), [&](const auto& a) { return a->bare.CompareNoCase(bare) == 0; });
        if (isOwn || isAdded || !zyn::db::IsPlainIdentifier(bare))
            continue;
        auto column = std::make_unique<AddedColumn>();
        column->bare = bare;
        column->selectName = bare;
        column->kind = KindOfSqlType(c.sqlType);
        m_added.push_back(std::move(column));
        ++m_nFields;
        ++added;
    }
    return added;
}

BOOL CDynamicRecordset::GetAddedColumnValue(LPCWSTR lpszColumn, CDBVariant& value)
{
    value.Clear();
    const CString bare = zyn::db::BareIdentifier(lpszColumn);
    for (auto& c : m_added) {
        if (c->bare.CompareNoCase(bare) != 0)
            continue;
        if (!c->bound) {
            GetFieldValue(static_cast<short>(c->ownIndex), value);
            return TRUE;
        }
        if (IsFieldNull(c->Value()))
            return TRUE;
        switch (c->kind) {
        case FieldKind::Double: value.SetDouble(c->dbl); break;
        case FieldKind::Text: value.SetString(c->text); break;
        case FieldKind::Timestamp: value.SetDate(c->ts); break;
        default: value.SetBigInt(c->i64); break;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CDynamicRecordset::ChangeTable(LPCWSTR lpszTable)
{
    if (!zyn::db::IsPlainIdentifier(lpszTable)) {
        CString msg;
        msg.Format(L"ChangeTable: \"%s\" is not a table name", lpszTable ? lpszTable : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    if (IsOpen())
        Close();
    m_strTable = zyn::db::Unbracketed(lpszTable);
    m_columnDescs.clear();
    m_mappings.clear();
    m_nMappingTable = -1;
    m_nCounterTable = -1;
    return TRUE;
}

const DbColumnInfo* CDynamicRecordset::FindColumnDesc(LPCWSTR lpszColumn, LPCWSTR lpszTable)
{
    const CString table = (lpszTable && *lpszTable) ? zyn::db::Unbracketed(lpszTable) : TableForCatalogue();
    if (table.IsEmpty() || !lpszColumn || !*lpszColumn)
        return nullptr;
    const CString key = zyn::db::UpperAscii(table);
    auto it = m_columnDescs.find(key);
    if (it == m_columnDescs.end()) {
        CDatabase* db = m_pDatabase;
        if (!db || !db->IsOpen() || !zyn::db::IsPlainIdentifier(table))
            return nullptr;
        std::vector<DbColumnInfo> cols = db->GetColumns(zyn::db::BareIdentifier(table));
        for (DbColumnInfo& c : cols)
            c.sqlType = WideTextType(c.sqlType, c.typeName);
        it = m_columnDescs.emplace(key, std::move(cols)).first;
    }
    const CString column = zyn::db::BareIdentifier(lpszColumn);
    for (const DbColumnInfo& c : it->second) {
        if (c.name.CompareNoCase(column) == 0)
            return &c;
    }
    return nullptr;
}

LONG CDynamicRecordset::GetUpdatedIdFromMappingTable(LPCWSTR lpszTable, LPCWSTR lpszColumn, LONG nId)
{
    CDatabase* db = m_pDatabase;
    if (!db || !db->IsOpen() || !lpszTable || !lpszColumn)
        return NoMapping;
    if (m_nMappingTable < 0)
        m_nMappingTable = CZynDatabase::TableExistsIn(db, kMappingTable) ? 1 : 0;
    if (m_nMappingTable == 0)
        return NoMapping;

    const CString table = zyn::db::UpperAscii(zyn::db::Unbracketed(lpszTable));
    const CString column = zyn::db::UpperAscii(zyn::db::BareIdentifier(lpszColumn).IsEmpty()
            ? CString(lpszColumn)
            : zyn::db::BareIdentifier(lpszColumn));
    const CString key = table + L"\t" + column;
    auto it = m_mappings.find(key);
    if (it == m_mappings.end()) {
        std::unordered_map<LONG, LONG> map;
        CMappingRows rows(db);
        rows.m_strTable = table;
        rows.m_strColumn = column;
        rows.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly);
        while (!rows.IsEOF()) {
            if (!rows.IsFieldNull(&rows.m_nOld) && !rows.IsFieldNull(&rows.m_nNew))
                map[rows.m_nOld] = rows.m_nNew;
            rows.MoveNext();
        }
        rows.Close();
        it = m_mappings.emplace(key, std::move(map)).first;
    }
    auto found = it->second.find(nId);
    return found == it->second.end() ? NoMapping : found->second;
}

bool CDynamicRecordset::CounterTableExists()
{
    if (m_nCounterTable < 0) {
        CDatabase* db = m_pDatabase;
        m_nCounterTable = CZynDatabase::TableExistsIn(db, kCounterTable) ? 1 : 0;
    }
    return m_nCounterTable == 1;
}

LONG CDynamicRecordset::GetNextID(LPCWSTR lpszColumn, LPCWSTR lpszFilter)
{
    if (!zyn::db::IsPlainIdentifier(lpszColumn)) {
        CString msg;
        msg.Format(L"GetNextID: \"%s\" is not a column name", lpszColumn ? lpszColumn : L"(null)");
        AfxThrowInvalidArgException(msg);
    }
    const CString table = TableForCatalogue();
    if (table.IsEmpty())
        AfxThrowInvalidArgException(L"GetNextID: the record set names no single table");
    CDatabase* db = m_pDatabase;
    if (!db || !db->IsOpen())
        ThrowNoDatabase(L"GetNextID");

    CString filter(lpszFilter ? lpszFilter : L"");
    filter.Trim();
    CString maxQuery;
    maxQuery.Format(L"SELECT COALESCE(MAX(%s), 0) FROM %s", lpszColumn, table.GetString());
    if (!filter.IsEmpty())
        maxQuery.AppendFormat(L" WHERE %s", filter.GetString());

    int64_t next = 0;
    if (CounterTableExists()) {
        const CString tableKey = zyn::db::UpperAscii(table);
        const CString columnKey = zyn::db::UpperAscii(zyn::db::BareIdentifier(lpszColumn));
        const std::vector<DbValue> keys{DbValue(tableKey), DbValue(columnKey), DbValue(filter)};

        zyn::db::TransactionScope tx(*db);
        // The write comes first: it takes the write lock before anything is read, so a
        // concurrent caller waits for it instead of failing on a lock upgrade.
        const ZynEngineType engine = CZynDatabase::EngineTypeOf(db);
        bool inserted = false;
        if (engine == ZynEngineSQLite || engine == ZynEnginePostgreSQL) {
            const LPCWSTR insert = engine == ZynEngineSQLite
                ? L"INSERT OR IGNORE INTO ZYN_NEXT_ID (TABLE_NAME, COLUMN_NAME, FILTER_TEXT, LAST_ID) VALUES (?, ?, ?, 0)"
                : L"INSERT INTO ZYN_NEXT_ID (TABLE_NAME, COLUMN_NAME, FILTER_TEXT, LAST_ID) VALUES (?, ?, ?, 0) "
                  L"ON CONFLICT DO NOTHING";
            db->ExecuteSQL(insert, keys);
            inserted = true;
        }
        CString update;
        update.Format(L"UPDATE ZYN_NEXT_ID SET LAST_ID = CASE WHEN (%s) >= LAST_ID THEN (%s) + 1 ELSE LAST_ID + 1 END "
                      L"WHERE TABLE_NAME = ? AND COLUMN_NAME = ? AND FILTER_TEXT = ?",
            maxQuery.GetString(), maxQuery.GetString());
        const int64_t rows = db->ExecuteSQL(db->ReplaceBrackets(update.GetString()), keys);
        if (rows == 0 && !inserted) {
            CString insert;
            insert.Format(L"INSERT INTO ZYN_NEXT_ID (TABLE_NAME, COLUMN_NAME, FILTER_TEXT, LAST_ID) "
                          L"SELECT ?, ?, ?, COALESCE(MAX(%s), 0) + 1 FROM %s",
                lpszColumn, table.GetString());
            if (!filter.IsEmpty())
                insert.AppendFormat(L" WHERE %s", filter.GetString());
            db->ExecuteSQL(db->ReplaceBrackets(insert.GetString()), keys);
        }
        if (!db->QueryInt64(L"SELECT LAST_ID FROM ZYN_NEXT_ID WHERE TABLE_NAME = ? AND COLUMN_NAME = ? AND "
                            L"FILTER_TEXT = ?",
                keys, next))
            AfxThrowDBException(AFX_SQL_ERROR, L"GetNextID: the counter row was not written.");
        if (next > INT32_MAX)
            AfxThrowDBException(AFX_SQL_ERROR, L"GetNextID: no free 32-bit value is left.");
        tx.Commit();
    } else {
        int64_t max = 0;
        db->QueryInt64(db->ReplaceBrackets(maxQuery.GetString()), {}, max);
        next = max + 1;
        if (next > INT32_MAX)
            AfxThrowDBException(AFX_SQL_ERROR, L"GetNextID: no free 32-bit value is left.");
    }
    return static_cast<LONG>(next);
}
