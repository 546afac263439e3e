#include "archive/archive_restore_rows.h"

#include <cwchar>

namespace zyn::archive {

ColumnLimits TableColumnLimits(CDynamicRecordset& set, std::initializer_list<LPCWSTR> columns)
{
    const ColumnLimits defaults = DefaultColumnLimits();
    ColumnLimits limits;
    for (LPCWSTR column : columns) {
        const zyn::afx::DbColumnInfo* desc = set.FindColumnDesc(column);
        const bool text = desc && (desc->sqlType == SQL_WVARCHAR || desc->sqlType == SQL_WCHAR);
        limits.Set(column, text && desc->columnSize > 0 ? desc->columnSize : defaults.Of(column));
    }
    return limits;
}

RestoreIdMapping::RestoreIdMapping(CDynamicRecordset& set, LPCWSTR lpszMappingTable)
    : m_set(set), m_strTable(lpszMappingTable)
{
    CZynDatabase* db = set.GetDatabase();
    if (!db || !db->IsOpen() || !CZynDatabase::TableExistsIn(db, L"ZYN_ID_MAPPING"))
        return; // the set answers (no table: no mapping)
    CString table(lpszMappingTable);
    table.MakeUpper();
    const std::vector<zyn::afx::DbValue> params{table};
    int64_t rows = -1;
    if (db->QueryInt64(L"SELECT COUNT(*) FROM ZYN_ID_MAPPING WHERE TABLE_NAME = ?", params, rows))
        m_bEmpty = rows == 0;
}

LONG RestoreIdMapping::operator()(LPCWSTR lpszColumn, LONG nId)
{
    if (m_bEmpty)
        return nId;
    Column* column = nullptr;
    for (Column& c : m_columns) {
        if (std::wcscmp(c.name.c_str(), lpszColumn) == 0) {
            column = &c;
            break;
        }
    }
    if (!column)
        column = &m_columns.emplace_back(Column{lpszColumn, {}});
    const auto it = column->answers.find(nId);
    if (it != column->answers.end())
        return it->second;
    const LONG mapped = MapArchiveId(m_set, m_strTable.GetString(), lpszColumn, nId);
    if (column->answers.size() >= MaxAnswers)
        column->answers.clear();
    column->answers.emplace(nId, mapped);
    return mapped;
}

void InsertRow(CRecordset& set, const std::function<void()>& store)
{
    set.AddNew();
    try {
        store();
        set.Update();
    } catch (...) {
        set.CancelUpdate();
        throw;
    }
}

} // namespace zyn::archive
