#pragma once
// What a combo box's children (its edit and its list) call on the combo box.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

namespace zyn::user::ctl {

// A key (WM_KEYDOWN or WM_SYSKEYDOWN) that reached the combo's edit: true when the combo
// took it (list navigation, opening and closing the list).
bool ComboEditKey(HWND combo, UINT msg, WPARAM vk);
// WM_GETDLGCODE of the combo's edit: what the combo adds (Enter and Escape while dropped).
LRESULT ComboDlgCode(HWND combo, const MSG* msg);

// The list of a combo box reports the user's doing: a key, a typed character or (in a
// CBS_SIMPLE combo box) a click changed the selection.
void ComboListSelChanged(HWND combo, int index);
void ComboListDoubleClick(HWND combo);               // CBS_SIMPLE
// The dropped list: an item was clicked (accept) or the user clicked elsewhere or the
// capture was lost (cancel).
void ComboListAccept(HWND combo, int index);
void ComboListCancel(HWND combo);
// The dropped list's look changed (hot item, the opening press released).
void ComboListTracked(HWND combo);

} // namespace zyn::user::ctl
