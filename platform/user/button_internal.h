#pragma once
// The Button control's state and painting, shared by its procedure and its painter.
#include "platform/base/wintypes.h"
#include "platform/user/control_common.h"

namespace zyn::user {

struct ButtonState : ControlState {
    UINT check = 0;          // BST_UNCHECKED / BST_CHECKED / BST_INDETERMINATE
    bool pushed = false;     // the pressed look (BM_SETSTATE)
    bool focus = false;
    bool tracking = false;   // a mouse press holds the capture
    bool spaceDown = false;  // a Space press waits for its release
    HFONT font = nullptr;
    HANDLE image = nullptr;  // BM_SETIMAGE
    UINT imageType = 0;
};

enum class ButtonKind { Push, Check, Radio, Group, OwnerDraw };
ButtonKind KindOf(DWORD style);

// Paints the whole button into a DC whose origin is the client area's.
void PaintButton(HWND hwnd, HDC hdc, const ButtonState& st);
// Sends WM_DRAWITEM for an owner-drawn button now (ODA_SELECT, ODA_FOCUS).
void DrawOwnerButton(HWND hwnd, const ButtonState& st, UINT action);

} // namespace zyn::user
