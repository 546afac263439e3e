#pragma once
// RFX_TextU: a wide-text column or parameter of up to nMaxLength characters. The column
// type SQL_VARCHAR / SQL_CHAR / SQL_LONGVARCHAR is taken as its wide form: text is
// Unicode in every database here. Values are read whole and never cut; a value longer
// than the column allows is refused by the database, never shortened.

#include "platform/afx/db/fieldexchange.h"
#include "platform/base/cstring.h"

void RFX_TextU(CFieldExchange* pFX, LPCWSTR szName, CString& value, int nMaxLength = 255,
    int nColumnType = SQL_WVARCHAR, short nScale = 0);
