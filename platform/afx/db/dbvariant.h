#pragma once
// CDBVariant: a column value of any type, as CRecordset::GetFieldValue returns it.
// m_dwType tells which member holds the value; DBVT_NULL for NULL. Text is always
// DBVT_STRING (wide), 64-bit integers DBVT_BIGINT (ours), timestamps DBVT_DATE.

#include <cstdint>

#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"
#include "platform/base/wintypes.h"

class CByteArray;

inline constexpr DWORD DBVT_NULL = 0;
inline constexpr DWORD DBVT_BOOL = 1;
inline constexpr DWORD DBVT_UCHAR = 2;
inline constexpr DWORD DBVT_SHORT = 3;
inline constexpr DWORD DBVT_LONG = 4;
inline constexpr DWORD DBVT_SINGLE = 5;
inline constexpr DWORD DBVT_DOUBLE = 6;
inline constexpr DWORD DBVT_DATE = 7;
inline constexpr DWORD DBVT_STRING = 8;
inline constexpr DWORD DBVT_BINARY = 9;
inline constexpr DWORD DBVT_ASTRING = 10;
inline constexpr DWORD DBVT_WSTRING = 11;
inline constexpr DWORD DBVT_BIGINT = 12;

class CDBVariant {
public:
    CDBVariant() = default;
    CDBVariant(const CDBVariant& other);
    CDBVariant& operator=(const CDBVariant& other);
    ~CDBVariant();

    // Frees what the variant holds and makes it DBVT_NULL.
    void Clear();

    void SetLong(LONG v);
    void SetBigInt(int64_t v);
    void SetDouble(double v);
    void SetSingle(float v);
    void SetBool(BOOL v);
    void SetUChar(BYTE v);
    void SetShort(SHORT v);
    void SetString(const CString& v);
    void SetDate(const TIMESTAMP_STRUCT& v);
    void SetBinary(const CByteArray& v);

    DWORD m_dwType = DBVT_NULL;
    union {
        BOOL m_boolVal;
        unsigned char m_chVal;
        short m_iVal;
        LONG m_lVal;
        int64_t m_llVal = 0;
        float m_fltVal;
        double m_dblVal;
        TIMESTAMP_STRUCT* m_pdate;
        CString* m_pstring;
        CString* m_pstringW;
        CByteArray* m_pbinary;
    };
};
