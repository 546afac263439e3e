#pragma once
// What a bitmap menu in customisation mode tells its customisation window. Every change
// of the menu is announced by WM_NOTIFY with the code OXBMN_CUSTOMIZE: an NMHDR
// (hwndFrom the menu's customisation popup window, null when it has none; idFrom the
// receiver's own dialog control ID, which is also wParam) followed by the event. For
// the events marked "veto", a non-zero answer stops the change before it is made. The
// context-menu commands of a customised item carry the same numbers as their events.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

inline constexpr UINT OXBMN_CUSTOMIZE = 32882;

// Events (the nCustomizeEventID of the notification).
inline constexpr UINT OXBMCE_CUSTOMIZEDITEMCHANGED = 32873; // the customised item changed (popup shown)
inline constexpr UINT OXBMCE_INSERTMARKCHANGED = 32876;     // the insert mark moved
inline constexpr UINT ID_OXCUSTBM_DELETE = 32877;           // delete the customised item (veto)
inline constexpr UINT ID_OXCUSTBM_APPEARANCE = 32878;       // the receiver edits its appearance
inline constexpr UINT ID_OXCUSTBM_SEPARATOR_BEFORE = 32879; // insert a separator before it (veto)
inline constexpr UINT ID_OXCUSTBM_SEPARATOR_AFTER = 32880;  // insert a separator after it (veto)
inline constexpr UINT ID_OXCUSTBM_RECENTLY_USED = 32881;    // toggle its recently-used state (veto)

// The texts of the context-menu commands are the library's string resources
// IDS_OXCUSTBM_* (resources/resource.h).

// The press-and-hold timer of a customisation popup: a drag starts when the left button
// is still down after it.
inline constexpr UINT_PTR OX_BMPOPUP_DRAG_TIMER = 412;
inline constexpr UINT OX_BMPOPUP_DRAG_DELAY = 200;

struct NMBMCUSTOMIZE {
    NMHDR nmhdr;
    UINT nCustomizeEventID;
};
