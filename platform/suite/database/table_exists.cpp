#include "platform/suite/database/table_exists.h"

#include "platform/suite/database/zyn_database.h"

BOOL ZynTableExists(CZynDatabase* pDatabase, LPCWSTR lpszTable, int nTypes)
{
    if (!pDatabase || !lpszTable || !*lpszTable)
        return FALSE;
    return pDatabase->HasTable(lpszTable, nTypes) ? TRUE : FALSE;
}
