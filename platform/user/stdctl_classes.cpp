// The standard controls' system classes.
#include "platform/user/stdctl_classes.h"

#include "platform/user/user_hooks.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {

void EnsureStandardControlClasses()
{
    for (WNDCLASSEXW (*make)() : {ctl::EditClass, ctl::ListBoxClass, ctl::ComboLBoxClass, ctl::ComboBoxClass,
             ctl::ScrollBarClass}) {
        const WNDCLASSEXW wc = make();
        if (!FindSystemClass(wc.lpszClassName))
            RegisterSystemClass(wc);
    }
}

} // namespace zyn::user
