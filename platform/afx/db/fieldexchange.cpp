#include "platform/afx/db/fieldexchange.h"

#include "platform/base/afxcoll.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"

using zyn::afx::FieldKind;
using zyn::afx::FieldRef;

CFieldExchange::CFieldExchange(UINT nOperation, CRecordset* prs) : m_nOperation(nOperation), m_prs(prs) {}

void CFieldExchange::SetFieldType(UINT nFieldType) { m_nFieldType = nFieldType; }

BOOL CFieldExchange::IsParamType() const
{
    return m_nFieldType == param || m_nFieldType == outputParam || m_nFieldType == inoutParam;
}

void CFieldExchange::Exchange(const FieldRef& field)
{
    FieldRef f = field;
    f.fieldType = static_cast<int16_t>(m_nFieldType);
    if (m_nFieldType == outputColumn)
        m_columns.push_back(f);
    else if (IsParamType())
        m_params.push_back(f);
    // noFieldType: the call binds nothing.
}

namespace {

void Bind(CFieldExchange* pFX, LPCWSTR name, FieldKind kind, void* value, int maxLength = 0, int columnType = 0,
    short scale = 0)
{
    if (!pFX)
        return;
    FieldRef f;
    f.name = name;
    f.kind = kind;
    f.value = value;
    f.maxLength = maxLength;
    f.columnType = static_cast<int16_t>(columnType);
    f.scale = scale;
    pFX->Exchange(f);
}

} // namespace

void RFX_Bool(CFieldExchange* pFX, LPCWSTR szName, BOOL& value) { Bind(pFX, szName, FieldKind::Bool, &value); }
void RFX_Byte(CFieldExchange* pFX, LPCWSTR szName, BYTE& value) { Bind(pFX, szName, FieldKind::Byte, &value); }
void RFX_Int(CFieldExchange* pFX, LPCWSTR szName, int& value) { Bind(pFX, szName, FieldKind::Int, &value); }
void RFX_Long(CFieldExchange* pFX, LPCWSTR szName, LONG& value) { Bind(pFX, szName, FieldKind::Long, &value); }
void RFX_BigInt(CFieldExchange* pFX, LPCWSTR szName, int64_t& value) { Bind(pFX, szName, FieldKind::BigInt, &value); }
void RFX_Single(CFieldExchange* pFX, LPCWSTR szName, float& value) { Bind(pFX, szName, FieldKind::Single, &value); }
void RFX_Double(CFieldExchange* pFX, LPCWSTR szName, double& value) { Bind(pFX, szName, FieldKind::Double, &value); }

void RFX_Text(CFieldExchange* pFX, LPCWSTR szName, CString& value, int nMaxLength, int nColumnType, short nScale)
{
    Bind(pFX, szName, FieldKind::Text, &value, nMaxLength, nColumnType, nScale);
}

void RFX_Binary(CFieldExchange* pFX, LPCWSTR szName, CByteArray& value, int nMaxLength)
{
    Bind(pFX, szName, FieldKind::Binary, &value, nMaxLength);
}

void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, CTime& value) { Bind(pFX, szName, FieldKind::Time, &value); }
void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, TIMESTAMP_STRUCT& value)
{
    Bind(pFX, szName, FieldKind::Timestamp, &value);
}
void RFX_Date(CFieldExchange* pFX, LPCWSTR szName, COleDateTime& value)
{
    Bind(pFX, szName, FieldKind::OleDate, &value);
}
