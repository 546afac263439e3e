#include "archive/archive_config_set.h"

#include "platform/suite/database/rfx_textu.h"

IMPLEMENT_DYNAMIC(CArchiveConfigSet, CMultiFilterRecordset)

CArchiveConfigSet::CArchiveConfigSet(CZynDatabase* pDatabase) : CMultiFilterRecordset(pDatabase)
{
    m_nFields = 4;
}

CArchiveConfigSet::~CArchiveConfigSet() = default;

CString CArchiveConfigSet::GetDefaultConnect()
{
    return L"ODBC;DSN=LocalSourceControl";
}

CString CArchiveConfigSet::GetDefaultSQL()
{
    return L"[ARCHIVE_CONFIG]";
}

void CArchiveConfigSet::DoFieldExchange(CFieldExchange* pFX)
{
    pFX->SetFieldType(CFieldExchange::outputColumn);
    RFX_Long(pFX, L"[TRANS_TYPE]", m_TRANS_TYPE);
    RFX_Long(pFX, L"[DEST_TYPE]", m_DEST_TYPE);
    RFX_Long(pFX, L"[DAYS_OLD]", m_DAYS_OLD);
    RFX_TextU(pFX, L"[DEFAULT_PATH]", m_DEFAULT_PATH, 255);
    DoParamExchange(pFX);
}

CString CArchiveConfigSet::GetKeyColumns()
{
    return L"TRANS_TYPE";
}
