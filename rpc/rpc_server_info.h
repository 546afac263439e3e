#pragma once
// A server's description for RPC binding: its name (held trimmed on the right and in
// upper case) and the object and entry names derived from it by the specialisation.
// No name service reads the derived names; they are carried for the locator.

#include "platform/base/cstring.h"

class CRPCServerInfo {
public:
    CRPCServerInfo() = default;
    CRPCServerInfo(const CRPCServerInfo& other) = default;
    CRPCServerInfo& operator=(const CRPCServerInfo& other);
    // Virtual, so that a description deleted through its base frees what it holds.
    virtual ~CRPCServerInfo() = default;

    // Stores the name trimmed of trailing white space and in upper case, and derives the
    // object and entry names from it.
    void SetServer(const CString& name);

    CString GetServerName() const { return m_strServerName; }
    CString GetObjectName() const { return m_strObjectName; }
    CString GetEntryName() const { return m_strEntryName; }

    // Compares the server names only, case-sensitively.
    bool operator==(const CRPCServerInfo& other) const { return m_strServerName == other.m_strServerName; }
    bool operator!=(const CRPCServerInfo& other) const { return !(*this == other); }

    virtual CString MakeObjectName(const CString& serverName) const = 0;
    virtual CString MakeEntryName(const CString& serverName) const = 0;

private:
    CString m_strServerName;
    CString m_strObjectName;
    CString m_strEntryName;
};

// The recording server's description: object name "<NAME>CRSSERVER", entry name
// "/.:/CRSServers/<NAME>CRSSERVER".
class CCRSRPCServerInfo : public CRPCServerInfo {
public:
    CCRSRPCServerInfo() = default;
    explicit CCRSRPCServerInfo(const CString& serverName);
    CCRSRPCServerInfo(const CCRSRPCServerInfo& other) = default;
    CCRSRPCServerInfo& operator=(const CCRSRPCServerInfo& other) = default;

    CString MakeObjectName(const CString& serverName) const override;
    CString MakeEntryName(const CString& serverName) const override;
};
