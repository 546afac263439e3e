#include "rpc/rpc_server_info.h"

CRPCServerInfo& CRPCServerInfo::operator=(const CRPCServerInfo& other)
{
    if (this != &other) {
        m_strServerName = other.m_strServerName;
        m_strObjectName = other.m_strObjectName;
        m_strEntryName = other.m_strEntryName;
    }
    return *this;
}

void CRPCServerInfo::SetServer(const CString& name)
{
    m_strServerName = name;
    m_strServerName.TrimRight();
    m_strServerName.MakeUpper();
    m_strObjectName = MakeObjectName(m_strServerName);
    m_strEntryName = MakeEntryName(m_strServerName);
}

CCRSRPCServerInfo::CCRSRPCServerInfo(const CString& serverName) { SetServer(serverName); }

CString CCRSRPCServerInfo::MakeObjectName(const CString& serverName) const
{
    CString s;
    s.Format(L"%sCRSSERVER", serverName.GetString());
    return s;
}

CString CCRSRPCServerInfo::MakeEntryName(const CString& serverName) const
{
    CString s;
    s.Format(L"/.:/CRSServers/%sCRSSERVER", serverName.GetString());
    return s;
}
