#include "platform/suite/user/acs_user.h"

#include <array>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/lasterror.h"
#include "platform/base/sqldate.h"
#include "platform/base/systime.h"
#include "platform/suite/database/zyn_database.h"

CAcsUser::CAcsUser(LONG userID, LPCWSTR lpszName) : m_nUserID(userID), m_strName(lpszName ? lpszName : L"") {}

CAcsUser::~CAcsUser() = default;

bool CAcsUser::HasAnyPermission(const std::vector<LONG>& permissions) const
{
    for (const LONG permission : permissions) {
        if (HasPermission(permission))
            return true;
    }
    return false;
}

void CAcsUser::AddSegment(LONG segmentID, LPCWSTR lpszName)
{
    m_segments[segmentID] = CString(lpszName ? lpszName : L"");
}

CString CAcsUser::SegmentName(LONG segmentID) const
{
    const auto it = m_segments.find(segmentID);
    return it == m_segments.end() ? CString() : it->second;
}

void CAcsUser::SetDatabase(CZynDatabase* pDatabase)
{
    m_ownedDatabase.reset();
    m_pDatabase = pDatabase;
}

void CAcsUser::AttachDatabase(std::unique_ptr<CZynDatabase> database)
{
    m_ownedDatabase = std::move(database);
    m_pDatabase = m_ownedDatabase.get();
}

BOOL CAcsUser::LogTransToDB(LONG operation, LONG objectType, LPCWSTR lpszText, LONG param1, LONG param2,
    LONG param3)
{
    m_strLastTransError.Empty();
    if (!m_pDatabase || !m_pDatabase->IsOpen()) {
        m_strLastTransError = L"The operator has no open database.";
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const CString text(lpszText ? lpszText : L"");
    if (text.GetLength() > kMaxTransText) {
        m_strLastTransError.Format(L"The audit text has %d characters; at most %d fit.", text.GetLength(),
            kMaxTransText);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }

    SYSTEMTIME now{};
    GetSystemTime(&now);
    TIMESTAMP_STRUCT stamp{};
    stamp.year = static_cast<int16_t>(now.wYear);
    stamp.month = now.wMonth;
    stamp.day = now.wDay;
    stamp.hour = now.wHour;
    stamp.minute = now.wMinute;
    stamp.second = now.wSecond;
    stamp.fraction = static_cast<uint32_t>(now.wMilliseconds) * 1000000u;

    const std::array<zyn::afx::DbValue, 8> params{zyn::afx::DbValue(stamp), zyn::afx::DbValue(int32_t{m_nUserID}),
        zyn::afx::DbValue(int32_t{operation}), zyn::afx::DbValue(int32_t{objectType}), zyn::afx::DbValue(text),
        zyn::afx::DbValue(int32_t{param1}), zyn::afx::DbValue(int32_t{param2}), zyn::afx::DbValue(int32_t{param3})};
    try {
        m_pDatabase->ExecuteSQL(L"INSERT INTO USER_TRANSACTION (TRANS_TIME_UTC, USERID, OPERATION, OBJECT_TYPE, "
                                L"TRANS_TEXT, PARAM1, PARAM2, PARAM3) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            params);
    } catch (CException* e) {
        m_strLastTransError = e->GetMessageText();
        e->Delete();
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}
