#include "toolkit/skins/menubar_paint.h"

#include <cstring>

#include "platform/base/object.h"

namespace {

COXMenuBarPaintAccess* g_menuBarAccess = nullptr;

} // namespace

COXMenuBarPaintAccess* OXSetMenuBarPaintAccess(COXMenuBarPaintAccess* access)
{
    COXMenuBarPaintAccess* previous = g_menuBarAccess;
    g_menuBarAccess = access;
    return previous;
}

COXMenuBarPaintAccess* OXGetMenuBarPaintAccess() { return g_menuBarAccess; }

bool OXIsMenuBar(const CObject* object)
{
    if (!object)
        return false;
    // By name along the object's own chain of classes: the menu bar's class need not be
    // linked in (or registered first) for the answer to hold.
    for (const CRuntimeClass* cls = object->GetRuntimeClass(); cls; cls = cls->GetBaseClass()) {
        if (cls->m_lpszClassName && std::strcmp(cls->m_lpszClassName, "COXMenuBar") == 0)
            return true;
    }
    return false;
}
