#pragma once
// CAcsUser: the operator of a session: who is logged in, which permissions and segments
// they hold, the database they work on and the system options in force. The operator
// writes the audit records of the session (LogTransToDB).
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"
#include "platform/suite/user/system_options.h"

class CZynDatabase;

class CAcsUser {
public:
    // The longest audit text the user-transaction table holds (characters).
    static constexpr int kMaxTransText = 2000;

    CAcsUser(LONG userID, LPCWSTR lpszName);
    ~CAcsUser();
    CAcsUser(const CAcsUser&) = delete;
    CAcsUser& operator=(const CAcsUser&) = delete;

    LONG GetUserID() const { return m_nUserID; }
    const CString& GetUserName() const { return m_strName; }

    // ---- permissions ----------------------------------------------------------------------
    void AddPermission(LONG permission) { m_permissions.insert(permission); }
    void RemovePermission(LONG permission) { m_permissions.erase(permission); }
    bool HasPermission(LONG permission) const { return m_permissions.count(permission) != 0; }
    // True when the operator holds at least one of them (false for none given).
    bool HasAnyPermission(const std::vector<LONG>& permissions) const;

    // ---- segments -------------------------------------------------------------------------
    void AddSegment(LONG segmentID, LPCWSTR lpszName);
    bool HasSegment(LONG segmentID) const { return m_segments.count(segmentID) != 0; }
    // The segment's name, empty for a segment the operator does not hold.
    CString SegmentName(LONG segmentID) const;
    // An operator of every segment (an administrator of segments).
    bool IsAllSegmentsUser() const { return m_bAllSegments; }
    void SetAllSegmentsUser(bool all) { m_bAllSegments = all; }
    bool CanAccessMultipleSegments() const { return m_bAllSegments || m_segments.size() > 1; }

    // ---- database and options ---------------------------------------------------------------
    // The database of the session: owned (AttachDatabase) or borrowed (SetDatabase; the
    // caller keeps it alive while the operator uses it). Null when there is none.
    CZynDatabase* GetDatabase() const { return m_pDatabase; }
    void SetDatabase(CZynDatabase* pDatabase);
    void AttachDatabase(std::unique_ptr<CZynDatabase> database);

    const CZynAcsSystemOptions& GetSystemOptions() const { return m_options; }
    CZynAcsSystemOptions& SystemOptions() { return m_options; }
    const CZynAcsCardholderConfig& GetCardholderOptions() const { return m_cardholder; }
    CZynAcsCardholderConfig& CardholderOptions() { return m_cardholder; }

    // ---- audit ------------------------------------------------------------------------------
    // Writes one row into USER_TRANSACTION: now (UTC), this operator, the operation, the
    // object type, the text (null: empty) and the three further numbers. FALSE without
    // an open database (ERROR_INVALID_HANDLE), for a text longer than kMaxTransText
    // (ERROR_INVALID_PARAMETER; nothing is cut) or when the database refused the row
    // (ERROR_WRITE_FAULT; GetLastTransError has the database's message).
    BOOL LogTransToDB(LONG operation, LONG objectType, LPCWSTR lpszText, LONG param1, LONG param2,
        LONG param3);
    const CString& GetLastTransError() const { return m_strLastTransError; }

private:
    LONG m_nUserID;
    CString m_strName;
    std::set<LONG> m_permissions;
    std::map<LONG, CString> m_segments;
    bool m_bAllSegments = false;
    CZynDatabase* m_pDatabase = nullptr;
    std::unique_ptr<CZynDatabase> m_ownedDatabase;
    CZynAcsSystemOptions m_options;
    CZynAcsCardholderConfig m_cardholder;
    CString m_strLastTransError;
};
