#include "platform/suite/database/zyn_database.h"

#include <array>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/suite/database/identifier.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/result.h"

IMPLEMENT_DYNAMIC(CZynDatabase, CDatabase)

CZynDatabase::CZynDatabase() = default;
CZynDatabase::~CZynDatabase() = default;

BOOL CZynDatabase::Open(LPCWSTR lpszDSN, BOOL bExclusive, BOOL bReadOnly, LPCWSTR lpszConnect, BOOL bUseCursorLib)
{
    m_nEngineType = ZynEngineUnknown;
    const BOOL ok = CDatabase::Open(lpszDSN, bExclusive, bReadOnly, lpszConnect, bUseCursorLib);
    if (ok)
        DetectEngine();
    return ok;
}

BOOL CZynDatabase::OpenEx(LPCWSTR lpszConnectString, DWORD dwOptions)
{
    m_nEngineType = ZynEngineUnknown;
    const BOOL ok = CDatabase::OpenEx(lpszConnectString, dwOptions);
    if (ok)
        DetectEngine();
    return ok;
}

void CZynDatabase::Close()
{
    CDatabase::Close();
    m_nEngineType = ZynEngineUnknown;
}

void CZynDatabase::DetectEngine()
{
    switch (GetEngine()) {
    case zyn::afx::DbEngine::sqlite:
        m_nEngineType = ZynEngineSQLite;
        return;
    case zyn::afx::DbEngine::postgresql:
        m_nEngineType = ZynEnginePostgreSQL;
        return;
    default:
        break;
    }
    m_nEngineType = EngineTypeFromDBMSName(GetDBMSName());
}

ZynEngineType CZynDatabase::EngineTypeOf(const CDatabase* pDatabase)
{
    if (!pDatabase)
        return ZynEngineUnknown;
    if (const auto* zdb = dynamic_cast<const CZynDatabase*>(pDatabase))
        return zdb->GetEngineType();
    if (!pDatabase->IsOpen())
        return ZynEngineUnknown;
    switch (pDatabase->GetEngine()) {
    case zyn::afx::DbEngine::sqlite: return ZynEngineSQLite;
    case zyn::afx::DbEngine::postgresql: return ZynEnginePostgreSQL;
    default: return EngineTypeFromDBMSName(pDatabase->GetDBMSName());
    }
}

bool CZynDatabase::TableExistsIn(CDatabase* pDatabase, LPCWSTR lpszTable)
{
    if (!pDatabase || !pDatabase->IsOpen() || !lpszTable || !*lpszTable)
        return false;
    if (auto* zdb = dynamic_cast<CZynDatabase*>(pDatabase))
        return zdb->HasTable(lpszTable, 1);
    const CString bare = zyn::db::BareIdentifier(lpszTable);
    return !bare.IsEmpty() && pDatabase->TableExists(bare);
}

ZynEngineType CZynDatabase::EngineTypeFromDBMSName(LPCWSTR lpszDBMSName)
{
    if (!lpszDBMSName || !*lpszDBMSName)
        return ZynEngineUnknown;
    CString name(lpszDBMSName);
    name.MakeUpper();
    struct Known {
        LPCWSTR prefix;
        ZynEngineType type;
    };
    static constexpr std::array<Known, 6> known{{
        {L"SQLITE", ZynEngineSQLite},
        {L"POSTGRESQL", ZynEnginePostgreSQL},
        {L"MICROSOFT SQL SERVER", ZynEngineSqlServer},
        {L"ORACLE", ZynEngineOracle},
        {L"DB2", ZynEngineDB2},
        {L"IBM DB2", ZynEngineDB2},
    }};
    for (const Known& k : known) {
        if (name.Find(k.prefix) == 0)
            return k.type;
    }
    return ZynEngineUnknown;
}

void CZynDatabase::ExecuteSQL(LPCWSTR lpszSQL, bool bLogError)
{
    if (!lpszSQL || !*lpszSQL)
        AfxThrowInvalidArgException(L"CZynDatabase::ExecuteSQL: empty statement");
    const CString sql = ReplaceBrackets(lpszSQL);
    try {
        CDatabase::ExecuteSQL(sql);
    } catch (CDBException* e) {
        if (bLogError) {
            CString msg;
            msg.Format(L"CZynDatabase::ExecuteSQL failed: %s", sql.GetString());
            CLogger::LogError(CResult::DatabaseError, L"ZynDatabase", __LINE__, msg, e);
        }
        throw;
    }
}

bool CZynDatabase::HasTable(LPCWSTR lpszTable, int nTypes)
{
    if (!lpszTable || !*lpszTable || !IsOpen())
        return false;
    const CString bare = zyn::db::BareIdentifier(lpszTable);
    if (bare.IsEmpty())
        return false;
    for (const zyn::afx::DbTableInfo& t : GetTables(bare)) {
        if (t.name.CompareNoCase(bare) != 0)
            continue;
        CString type = t.type;
        type.MakeUpper();
        const bool isView = type.Find(L"VIEW") >= 0;
        const bool isTable = !isView && type.Find(L"SYSTEM") < 0;
        if ((isTable && (nTypes & 1)) || (isView && (nTypes & 2)))
            return true;
    }
    return false;
}

bool CZynDatabase::NameExists(LPCWSTR lpszName, LPCWSTR lpszTable, LPCWSTR lpszColumn, LPCWSTR lpszSegmentColumn,
    LONG nSegmentID)
{
    using zyn::afx::DbValue;
    if (!zyn::db::IsPlainIdentifier(lpszTable) || !zyn::db::IsPlainIdentifier(lpszColumn))
        AfxThrowInvalidArgException(L"CZynDatabase::NameExists: the table and column must be plain names");
    const bool bySegment = lpszSegmentColumn && *lpszSegmentColumn;
    if (bySegment && !zyn::db::IsPlainIdentifier(lpszSegmentColumn))
        AfxThrowInvalidArgException(L"CZynDatabase::NameExists: the segment column must be a plain name");

    CString name(lpszName ? lpszName : L"");
    name.TrimRight(L' ');

    // Both sides go through the engine's own UPPER, so the comparison folds case the
    // same way whatever the engine folds.
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM %s WHERE UPPER(RTRIM(%s)) = UPPER(?)", lpszTable, lpszColumn);
    std::vector<DbValue> params;
    params.emplace_back(name);
    if (bySegment) {
        sql.AppendFormat(L" AND %s = ?", lpszSegmentColumn);
        params.emplace_back(static_cast<int32_t>(nSegmentID));
    }
    int64_t count = 0;
    return QueryInt64(ReplaceBrackets(sql.GetString()), params, count) && count > 0;
}
