#pragma once
// The "ComboBox" control's styles, messages and notifications.
//
// A combo box is a selection field above a list. CBS_SIMPLE shows an edit (child ID 1001)
// with the list always below it (a child "ComboLBox", ID 1000); CBS_DROPDOWN has the edit
// and a drop-down button; CBS_DROPDOWNLIST draws the selected item itself. The dropped list
// is a top-level "ComboLBox" popup of the height the combo box was created with, shown
// below the combo box, or above it when it would leave the monitor's work area, and it
// holds the mouse capture while open: a click outside it closes it.
//
// Notifications (WM_COMMAND to the parent): CBN_DROPDOWN before the list shows. Choosing an
// item with the mouse sends CBN_SELENDOK, closes the list (CBN_CLOSEUP), then
// CBN_SELCHANGE when the selection changed; Enter, F4 and Alt+Up close with CBN_SELENDOK
// and CBN_CLOSEUP; Escape and a click outside close with CBN_SELENDCANCEL and CBN_CLOSEUP.
// Arrow keys change the selection at once, open or closed (CBN_SELCHANGE). Typing in the
// edit sends CBN_EDITUPDATE and CBN_EDITCHANGE and selects the first item starting with
// the text, without notifying; closing the list keeps typed text that names no item.
#include "platform/base/wintypes.h"

// ---- styles --------------------------------------------------------------------------------------
inline constexpr DWORD CBS_SIMPLE = 0x0001, CBS_DROPDOWN = 0x0002, CBS_DROPDOWNLIST = 0x0003,
                       CBS_OWNERDRAWFIXED = 0x0010, CBS_OWNERDRAWVARIABLE = 0x0020, CBS_AUTOHSCROLL = 0x0040,
                       CBS_OEMCONVERT = 0x0080, CBS_SORT = 0x0100, CBS_HASSTRINGS = 0x0200,
                       CBS_NOINTEGRALHEIGHT = 0x0400, CBS_DISABLENOSCROLL = 0x0800, CBS_UPPERCASE = 0x2000,
                       CBS_LOWERCASE = 0x4000;

// ---- messages --------------------------------------------------------------------------------------------
inline constexpr UINT CB_GETEDITSEL = 0x0140, CB_LIMITTEXT = 0x0141, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
                      CB_DELETESTRING = 0x0144, CB_DIR = 0x0145, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147,
                      CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A,
                      CB_RESETCONTENT = 0x014B, CB_FINDSTRING = 0x014C, CB_SELECTSTRING = 0x014D,
                      CB_SETCURSEL = 0x014E, CB_SHOWDROPDOWN = 0x014F, CB_GETITEMDATA = 0x0150,
                      CB_SETITEMDATA = 0x0151, CB_GETDROPPEDCONTROLRECT = 0x0152, CB_SETITEMHEIGHT = 0x0153,
                      CB_GETITEMHEIGHT = 0x0154, CB_SETEXTENDEDUI = 0x0155, CB_GETEXTENDEDUI = 0x0156,
                      CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158, CB_SETLOCALE = 0x0159,
                      CB_GETLOCALE = 0x015A, CB_GETTOPINDEX = 0x015B, CB_SETTOPINDEX = 0x015C,
                      CB_GETHORIZONTALEXTENT = 0x015D, CB_SETHORIZONTALEXTENT = 0x015E,
                      CB_GETDROPPEDWIDTH = 0x015F, CB_SETDROPPEDWIDTH = 0x0160, CB_INITSTORAGE = 0x0161,
                      CB_GETCOMBOBOXINFO = 0x0164;
// How many items the dropped list shows before it scrolls (30 until set; CBS_NOINTEGRALHEIGHT
// keeps the height asked for instead).
inline constexpr UINT CB_SETMINVISIBLE = 0x1701, CB_GETMINVISIBLE = 0x1702;

inline constexpr LRESULT CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2;

// ---- notifications ----------------------------------------------------------------------------------------
inline constexpr WORD CBN_ERRSPACE = static_cast<WORD>(-1), CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3,
                      CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7,
                      CBN_CLOSEUP = 8, CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10;

struct COMBOBOXINFO {
    DWORD cbSize;
    RECT rcItem;       // the selection field, client coordinates
    RECT rcButton;     // the drop-down button, client coordinates
    DWORD stateButton; // 0, STATE_SYSTEM_PRESSED or STATE_SYSTEM_INVISIBLE
    HWND hwndCombo;
    HWND hwndItem;     // the edit, or the combo box itself when it has none
    HWND hwndList;
};
using PCOMBOBOXINFO = COMBOBOXINFO*;
using LPCOMBOBOXINFO = COMBOBOXINFO*;

// Fails (ERROR_INVALID_PARAMETER) unless cbSize is sizeof(COMBOBOXINFO) and the window is
// a combo box.
BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi);
