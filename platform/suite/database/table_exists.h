#pragma once
// ZynTableExists: whether the database has a table (or view) of a name.

#include "platform/base/wintypes.h"

class CZynDatabase;

// Object types to look for, as a bit mask.
inline constexpr int ZYN_TABLE_TYPE_TABLE = 1;
inline constexpr int ZYN_TABLE_TYPE_VIEW = 2;

// Nonzero when the database has an object of the name among the given types (1 tables,
// 2 views, 3 both). The name is folded as the engine folds unquoted names and compared
// without regard to case. FALSE for a null or closed database or an empty name; a
// failing catalogue look-up raises CDBException.
BOOL ZynTableExists(CZynDatabase* pDatabase, LPCWSTR lpszTable, int nTypes = ZYN_TABLE_TYPE_TABLE);
