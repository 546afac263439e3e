#pragma once
// The window system's per-thread state that the class library reads.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user {

// The message whose window procedure is running on this thread (the innermost one), for
// the class library's Default(). All zero outside any window procedure.
const MSG& CurrentMessage();
// The window CreateWindowEx is creating on this thread (from HCBT_CREATEWND until
// WM_NCCREATE returns), or null.
HWND WindowBeingCreated();
// The menu and window being tracked by a popup-menu or menu-bar loop on this thread.
HMENU TrackedMenu();
HWND TrackedMenuWindow();
void SetTrackedMenu(HMENU menu, HWND window);
// The window whose move/size loop runs on this thread.
HWND MoveSizeWindow();

} // namespace zyn::user
