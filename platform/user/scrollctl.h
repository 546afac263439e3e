#pragma once
// The "ScrollBar" control's styles. Its messages (SBM_*) are in messages.h, its scroll codes
// (SB_*) and SCROLLINFO in messages.h and user_types.h.
//
// The control draws and tracks like a window's own scroll bar (the same machinery): a
// press on an arrow or the page area sends WM_HSCROLL/WM_VSCROLL to the parent at once and
// again after 400 ms and every 50 ms while held (on the process clock), dragging the thumb
// sends SB_THUMBTRACK and, at the release, SB_THUMBPOSITION; every press ends with
// SB_ENDSCROLL. The control only reports: the parent moves the thumb (SetScrollPos,
// SBM_SETPOS). With the focus, the arrow keys, PgUp/PgDn and Home/End send SB_LINE*,
// SB_PAGE*, SB_TOP and SB_BOTTOM, and releasing the key SB_ENDSCROLL; the thumb blinks
// (a gray caret over it). The range starts as 0..100.
#include "platform/base/wintypes.h"

inline constexpr DWORD SBS_HORZ = 0x0000, SBS_VERT = 0x0001, SBS_TOPALIGN = 0x0002, SBS_LEFTALIGN = 0x0002,
                       SBS_BOTTOMALIGN = 0x0004, SBS_RIGHTALIGN = 0x0004, SBS_SIZEBOXTOPLEFTALIGN = 0x0002,
                       SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004, SBS_SIZEBOX = 0x0008, SBS_SIZEGRIP = 0x0010;
