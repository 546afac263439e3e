#include "model/zyn_acobject.h"

IMPLEMENT_DYNAMIC(CZynAcObject, CObject)

CZynAcObject::CZynAcObject(ZynAcObjectType type, int32_t id, int32_t segmentId, LPCWSTR name)
    : m_type(type), m_id(id), m_segmentId(segmentId)
{
    SetName(name);
}

void CZynAcObject::SetName(LPCWSTR name)
{
    m_name = name;
    m_name.TrimRight(L' ');
}

bool ZynIsQMXPanelType(LONG panelType) { return panelType == 75 || panelType == 76; }
