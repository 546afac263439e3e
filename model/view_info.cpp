#include "model/view_info.h"

#include <algorithm>
#include <utility>

#include "platform/user/window.h"

CViewInfo::CViewInfo(UINT nCommandID, UINT nResourceID, CRuntimeClass* pViewClass, CDocTemplate* pTemplate,
    std::vector<LONG> permissions, std::vector<int> objectTypes)
    : m_nCommandID(nCommandID),
      m_nResourceID(nResourceID),
      m_pViewClass(pViewClass),
      m_pTemplate(pTemplate),
      m_permissions(std::move(permissions)),
      m_objectTypes(std::move(objectTypes))
{}

bool CViewInfo::ShowsObjectType(int type) const
{
    return std::find(m_objectTypes.begin(), m_objectTypes.end(), type) != m_objectTypes.end();
}

CFrameWnd* CViewInfo::GetOpenFrame() const
{
    return GetOpenFrameHwnd() ? m_pOpenFrame : nullptr;
}

HWND CViewInfo::GetOpenFrameHwnd() const
{
    return (m_hOpenFrame && IsWindow(m_hOpenFrame)) ? m_hOpenFrame : nullptr;
}

void CViewInfo::SetOpenFrame(CFrameWnd* pFrame, HWND hFrame)
{
    m_pOpenFrame = hFrame ? pFrame : nullptr;
    m_hOpenFrame = pFrame ? hFrame : nullptr;
}
