#include "platform/base/object.h"

#include <cstring>
#include <mutex>

#include "platform/base/codepage.h"
#include "platform/base/exception.h"

namespace {

// The process-wide list of run-time classes, filled at static initialisation.
struct ClassList {
    std::mutex mutex;
    CRuntimeClass* head = nullptr;
};

ClassList& Classes()
{
    static ClassList list;
    return list;
}

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetThisClass() { return &CObject::classCObject; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }
void CObject::Serialize(CArchive&) {}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF ? TRUE : FALSE; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    ClassList& list = Classes();
    std::lock_guard lock(list.mutex);
    pNewClass->m_pNextClass = list.head;
    list.head = pNewClass;
}

CObject* CRuntimeClass::CreateObject()
{
    if (!m_pfnCreateObject)
        return nullptr;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (!pBaseClass)
        return FALSE;
    for (const CRuntimeClass* c = this; c; c = c->GetBaseClass())
        if (c == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    ClassList& list = Classes();
    std::lock_guard lock(list.mutex);
    for (CRuntimeClass* c = list.head; c; c = c->m_pNextClass)
        if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0)
            return c;
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    // Class names are ASCII identifiers; anything else cannot match.
    std::string narrow;
    for (const wchar_t* p = lpszClassName; *p; ++p) {
        if (*p > 0x7F)
            return nullptr;
        narrow.push_back(static_cast<char>(*p));
    }
    return FromName(narrow.c_str());
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* c = FromName(lpszClassName);
    return c ? c->CreateObject() : nullptr;
}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject && pObject->IsKindOf(pClass))
        return pObject;
    return nullptr;
}
