#include "archive/archived_row_keys.h"

#include <algorithm>

#include "platform/afx/db/database.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"

namespace zyn::archive {

void ArchivedRowKeys::Note(int64_t key)
{
    if (!m_keys.empty() && m_keys.back() == key)
        return;
    m_keys.push_back(key);
}

int64_t ArchivedRowKeys::DeleteFrom(CDatabase& db, LPCWSTR lpszTable, LPCWSTR lpszKeyColumn, const CString& condition)
{
    if (!zyn::db::IsPlainIdentifier(lpszTable) || !zyn::db::IsPlainIdentifier(lpszKeyColumn))
        AfxThrowInvalidArgException(L"ArchivedRowKeys: the table and key column must be plain names.");
    const CString table = zyn::db::Unbracketed(lpszTable);
    const CString column = zyn::db::Unbracketed(lpszKeyColumn);

    // A key noted twice (not one after the other) is deleted once.
    std::sort(m_keys.begin(), m_keys.end());
    m_keys.erase(std::unique(m_keys.begin(), m_keys.end()), m_keys.end());

    int64_t deleted = 0;
    while (!m_keys.empty()) {
        const size_t n = std::min(BatchSize, m_keys.size());
        CString sql;
        sql.Format(L"DELETE FROM %s WHERE %s IN (", table.GetString(), column.GetString());
        std::vector<zyn::afx::DbValue> params;
        params.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            sql += i ? L", ?" : L"?";
            params.emplace_back(m_keys[i]);
        }
        sql += L")";
        if (!condition.IsEmpty())
            sql += L" AND (" + condition + L")";
        const int64_t rows = db.ExecuteSQL(sql, params);
        if (rows > 0)
            deleted += rows;
        m_keys.erase(m_keys.begin(), m_keys.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return deleted;
}

} // namespace zyn::archive
