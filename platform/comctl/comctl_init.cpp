#include "platform/comctl/comctl_init.h"

#include <mutex>
#include <utility>
#include <vector>

#include "platform/comctl/progress.h"
#include "platform/comctl/statusbar.h"
#include "platform/comctl/tabctrl.h"
#include "platform/comctl/toolbar.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/trackbar.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/builtin_modules.h"

namespace zyn::comctl {

namespace {

struct Registrations {
    std::mutex m;
    std::vector<std::pair<DWORD, BOOL (*)()>> list;
};

Registrations& Regs()
{
    static Registrations* r = new Registrations; // never destroyed: used until exit
    return *r;
}

// Installs the hook and the registrations of the controls of this unit at load time.
struct Installer {
    Installer()
    {
        zyn::gdi::SetCommonControlsInitHook([](DWORD icc) { return RegisterClassSets(icc); });
        // Tooltips serve toolbars, tabs and tree views, so each of those sets brings them.
        AddClassRegistration(ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES, &RegisterToolTipClass);
        AddClassRegistration(ICC_BAR_CLASSES, &RegisterTrackbarClass);
        AddClassRegistration(ICC_BAR_CLASSES, &RegisterStatusBarClass);
        AddClassRegistration(ICC_PROGRESS_CLASS, &RegisterProgressClass);
        AddClassRegistration(ICC_BAR_CLASSES, &RegisterToolbarClass);
        AddClassRegistration(ICC_TAB_CLASSES, &RegisterTabControlClass);
        AddClassRegistration(ICC_UPDOWN_CLASS, &RegisterUpDownClass);
    }
};
const Installer g_installer;

} // namespace

void AddClassRegistration(DWORD icc, BOOL (*registerClass)())
{
    if (!registerClass)
        return;
    {
        Registrations& r = Regs();
        std::lock_guard lock(r.m);
        r.list.emplace_back(icc, registerClass);
    }
    registerClass();
}

BOOL RegisterClassSets(DWORD icc)
{
    std::vector<std::pair<DWORD, BOOL (*)()>> list;
    {
        Registrations& r = Regs();
        std::lock_guard lock(r.m);
        list = r.list;
    }
    BOOL ok = TRUE;
    for (const auto& [sets, reg] : list) {
        if ((sets & icc) && !reg())
            ok = FALSE;
    }
    return ok;
}

} // namespace zyn::comctl
