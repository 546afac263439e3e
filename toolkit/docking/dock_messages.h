#pragma once
// The private messages the docking unit's windows exchange, and the command IDs of the
// size bars' context menu. The texts of the commands and of the drag prompt are string
// resources of the common resource module (resources/resource.h); their IDs are the
// same numbers.
#include "platform/base/wintypes.h"

// Sent to the application's main window: non-zero when dragged bars dock live (the bar
// follows the mouse into a dock bar) rather than through the outline drag.
inline constexpr UINT WM_OX_QUERYSNAPPING = 0x045C;
// Sent to a size bar with lParam a menu handle: the bar appends its context-menu items; 1.
inline constexpr UINT WM_OX_ADDCONTEXTMENUITEMS = 0x80CC;
// Sent to a bar after it was floated: a floating frame of the toolkit looks at its bars
// again; 1.
inline constexpr UINT WM_OX_BARFLOATED = 0x80CD;
// Sent to a view bar (wParam: activate, lParam: 3) when its floating frame is clicked or
// activated.
inline constexpr UINT WM_OX_ACTIVATEVIEWBAR = 0x80B6;

// The window style bit a floating frame gets when a drag floated its bar.
inline constexpr DWORD OX_FLOATED_BY_DRAG = 0x0001;

// Commands of a size bar's context menu, and the drag prompt.
inline constexpr UINT ID_OX_DRAG_PROMPT = 26430;      // string: the message line while a bar is dragged
inline constexpr UINT ID_OX_ALLOW_DOCKING = 26431;    // command; its text is string 57001
inline constexpr UINT ID_OX_HIDE_BAR = 26432;         // command; its text is string 57002
inline constexpr UINT ID_OX_FLOAT_AS_MDI = 26433;     // command and its text
inline constexpr UINT IDS_OX_ALLOW_DOCKING = 57001;
inline constexpr UINT IDS_OX_HIDE_BAR = 57002;
