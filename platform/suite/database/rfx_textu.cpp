#include "platform/suite/database/rfx_textu.h"

void RFX_TextU(CFieldExchange* pFX, LPCWSTR szName, CString& value, int nMaxLength, int nColumnType, short nScale)
{
    int type = nColumnType;
    if (type == SQL_VARCHAR)
        type = SQL_WVARCHAR;
    else if (type == SQL_CHAR)
        type = SQL_WCHAR;
    else if (type == SQL_LONGVARCHAR)
        type = SQL_WLONGVARCHAR;
    RFX_Text(pFX, szName, value, nMaxLength, type, nScale);
}
