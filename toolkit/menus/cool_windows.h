#pragma once
// Window questions the cool controls ask about their neighbours: what kind of control a
// window is (by its class name), whether one window lies inside another, whether the
// focus does, and which up-down control is attached to an edit.
//
// "Inside" follows the class library's notion of ownership: a window with a permanent
// window object climbs to that object's owner (its set owner, else its parent); any
// other window climbs to its parent when it is a child, else to its owner window. A
// window counts as inside itself. The climb is bounded, so an owner chain that loops
// back on itself (owners are set by the application and can form a cycle) ends as "not
// inside" instead of hanging.
//
// An edit's attached spin button is the first up-down control among the edit's siblings,
// in z-order, that has a window object, names the edit as its buddy and is aligned to it
// (UDS_ALIGNRIGHT or UDS_ALIGNLEFT). Only windows already known to be up-down controls
// are asked for their buddy: UDM_GETBUDDY is a private message number that means
// something else, or nothing, to any other window.
#include "platform/base/wintypes.h"

namespace zyn::toolkit::cool {

// Class-name tests, ignoring case: "Edit", "ComboBox", "LISTBOX", "msctls_updown32",
// "ScrollBar". FALSE for a null or dead window.
BOOL IsEditWindow(HWND hWnd);
BOOL IsComboBoxWindow(HWND hWnd);
BOOL IsListBoxWindow(HWND hWnd);
BOOL IsSpinButtonWindow(HWND hWnd);
BOOL IsScrollBarWindow(HWND hWnd);

// Whether hChild is hParent or lies inside it (see above). FALSE for a null window.
BOOL IsWindowInside(HWND hParent, HWND hChild);

// Whether the thread's focus window is hWnd or lies inside it.
BOOL IsFocusInside(HWND hWnd);

// The buddy of an up-down control, or null (also for a window that is no up-down
// control, which is never asked).
HWND SpinBuddyOf(HWND hSpin);

// The spin button attached to an edit control (see above), or null.
HWND FindAttachedSpin(HWND hEdit);

} // namespace zyn::toolkit::cool
