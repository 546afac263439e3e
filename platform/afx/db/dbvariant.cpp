#include "platform/afx/db/dbvariant.h"

#include "platform/base/afxcoll.h"

CDBVariant::CDBVariant(const CDBVariant& other) { *this = other; }

CDBVariant& CDBVariant::operator=(const CDBVariant& other)
{
    if (this == &other)
        return *this;
    switch (other.m_dwType) {
    case DBVT_DATE:
        SetDate(*other.m_pdate);
        break;
    case DBVT_STRING:
    case DBVT_WSTRING:
    case DBVT_ASTRING:
        SetString(*other.m_pstring);
        m_dwType = other.m_dwType;
        break;
    case DBVT_BINARY:
        SetBinary(*other.m_pbinary);
        break;
    default:
        Clear();
        m_dwType = other.m_dwType;
        m_llVal = other.m_llVal;
        break;
    }
    return *this;
}

CDBVariant::~CDBVariant() { Clear(); }

void CDBVariant::Clear()
{
    switch (m_dwType) {
    case DBVT_DATE:
        delete m_pdate;
        break;
    case DBVT_STRING:
    case DBVT_WSTRING:
    case DBVT_ASTRING:
        delete m_pstring;
        break;
    case DBVT_BINARY:
        delete m_pbinary;
        break;
    default:
        break;
    }
    m_dwType = DBVT_NULL;
    m_llVal = 0;
}

void CDBVariant::SetLong(LONG v)
{
    Clear();
    m_dwType = DBVT_LONG;
    m_lVal = v;
}

void CDBVariant::SetBigInt(int64_t v)
{
    Clear();
    m_dwType = DBVT_BIGINT;
    m_llVal = v;
}

void CDBVariant::SetDouble(double v)
{
    Clear();
    m_dwType = DBVT_DOUBLE;
    m_dblVal = v;
}

void CDBVariant::SetSingle(float v)
{
    Clear();
    m_dwType = DBVT_SINGLE;
    m_fltVal = v;
}

void CDBVariant::SetBool(BOOL v)
{
    Clear();
    m_dwType = DBVT_BOOL;
    m_boolVal = v ? TRUE : FALSE;
}

void CDBVariant::SetUChar(BYTE v)
{
    Clear();
    m_dwType = DBVT_UCHAR;
    m_chVal = v;
}

void CDBVariant::SetShort(SHORT v)
{
    Clear();
    m_dwType = DBVT_SHORT;
    m_iVal = v;
}

void CDBVariant::SetString(const CString& v)
{
    auto* p = new CString(v);
    Clear();
    m_dwType = DBVT_STRING;
    m_pstring = p;
}

void CDBVariant::SetDate(const TIMESTAMP_STRUCT& v)
{
    auto* p = new TIMESTAMP_STRUCT(v);
    Clear();
    m_dwType = DBVT_DATE;
    m_pdate = p;
}

void CDBVariant::SetBinary(const CByteArray& v)
{
    auto* p = new CByteArray;
    p->Copy(v);
    Clear();
    m_dwType = DBVT_BINARY;
    m_pbinary = p;
}
