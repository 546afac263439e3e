#include "toolkit/menus/menu_seams.h"

namespace {
// Installed and read on the user-interface thread.
COXCommandBarAccess* g_barAccess = nullptr;
OXMenuOrganizerFinder g_organizerFinder = nullptr;
COXCustomizePopupAccess* g_customizeAccess = nullptr;
COXToolBarImageAccess* g_toolBarImages = nullptr;
} // namespace

COXCommandBarAccess* OXSetCommandBarAccess(COXCommandBarAccess* access)
{
    COXCommandBarAccess* previous = g_barAccess;
    g_barAccess = access;
    return previous;
}

COXCommandBarAccess* OXGetCommandBarAccess() { return g_barAccess; }

OXMenuOrganizerFinder OXSetMenuOrganizerFinder(OXMenuOrganizerFinder finder)
{
    const OXMenuOrganizerFinder previous = g_organizerFinder;
    g_organizerFinder = finder;
    return previous;
}

COXMenuOrganizerAccess* OXFindMainMenuOrganizer() { return g_organizerFinder ? g_organizerFinder() : nullptr; }

COXCustomizePopupAccess* OXSetCustomizePopupAccess(COXCustomizePopupAccess* access)
{
    COXCustomizePopupAccess* previous = g_customizeAccess;
    g_customizeAccess = access;
    return previous;
}

COXCustomizePopupAccess* OXGetCustomizePopupAccess() { return g_customizeAccess; }

COXToolBarImageAccess* OXSetToolBarImageAccess(COXToolBarImageAccess* access)
{
    COXToolBarImageAccess* previous = g_toolBarImages;
    g_toolBarImages = access;
    return previous;
}

COXToolBarImageAccess* OXGetToolBarImageAccess() { return g_toolBarImages; }
