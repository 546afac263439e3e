#pragma once
// Registers the standard controls as system classes: "Edit", "ListBox", "ComboBox",
// "ComboLBox" (a combo box's list) and "ScrollBar". The window system calls this before
// its first class look-up, so programs create them by name without registering them.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user {

void EnsureStandardControlClasses();

namespace ctl {
WNDCLASSEXW EditClass();
WNDCLASSEXW ListBoxClass();
WNDCLASSEXW ComboLBoxClass();
WNDCLASSEXW ComboBoxClass();
WNDCLASSEXW ScrollBarClass();
} // namespace ctl

} // namespace zyn::user
