#include "archive/archive_restore_rows.h"

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
