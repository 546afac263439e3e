#include "toolkit/docking/dock_seams.h"

#include "platform/base/object.h"

namespace {

// Installed and read on the user-interface thread.
COXDockingSeam* g_installed = nullptr;

COXDockingSeam& DefaultSeam()
{
    static COXDockingSeam seam;
    return seam;
}

} // namespace

COXDockingSeam& OXGetDockingSeam() { return g_installed ? *g_installed : DefaultSeam(); }

COXDockingSeam* OXSetDockingSeam(COXDockingSeam* pSeam)
{
    COXDockingSeam* previous = g_installed;
    g_installed = pSeam;
    return previous;
}

BOOL OXIsKindOfClassName(const CObject* pObject, const char* lpszClassName)
{
    if (!pObject || !lpszClassName)
        return FALSE;
    const CRuntimeClass* pClass = CRuntimeClass::FromName(lpszClassName);
    return pClass && pObject->IsKindOf(pClass);
}
