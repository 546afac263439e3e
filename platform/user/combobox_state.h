#pragma once
// The state of a combo box and what its two files share: combobox.cpp (creation, layout,
// painting, the CB_* messages) and combobox_drop.cpp (opening and closing the list, keys,
// and what the edit and the list report).
#include <memory>

#include "platform/base/wintypes.h"
#include "platform/user/combobox.h"
#include "platform/user/stdctl_common.h"

namespace zyn::user::ctl {

struct ComboState {
    HWND hwnd = nullptr;
    HWND edit = nullptr;        // CBS_SIMPLE and CBS_DROPDOWN
    HWND list = nullptr;
    HWND owner = nullptr;       // the parent: notifications, owner-drawn items, colours
    UINT id = 0;
    DWORD style = 0;
    HFONT font = nullptr;
    FontInfo fi;
    int fieldHeight = 0;        // the selection field (CB_GETITEMHEIGHT -1)
    int listHeight = 0;         // the dropped list
    int droppedWidth = 0;       // CB_SETDROPPEDWIDTH
    bool dropped = false;
    bool focused = false;       // the combo box or its edit has the focus
    bool extendedUI = false;
    bool quietEdit = false;     // the combo box itself is setting the edit's text
    int selAtDrop = -1;         // the selection to go back to when the list is cancelled
    int selOnOpen = -1;         // the selection when the list dropped (closing on it chose nothing)
    int minVisible = 30;        // CB_SETMINVISIBLE

    // A kind of 0 is taken as CBS_SIMPLE.
    DWORD Kind() const { return (style & 3) ? (style & 3) : CBS_SIMPLE; }
    bool Simple() const { return Kind() == CBS_SIMPLE; }
    bool DropList() const { return Kind() == CBS_DROPDOWNLIST; }
    bool OwnerDraw() const { return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
};

std::shared_ptr<ComboState> ComboOf(HWND hwnd);

// ---- combobox.cpp -----------------------------------------------------------------------------------
// Client rectangles of the parts.
RECT FieldFrame(const ComboState& s);   // the sunken edge around field and button
RECT SelectionRect(const ComboState& s); // the selection field
RECT ButtonRect(const ComboState& s);   // empty for CBS_SIMPLE
int FieldTotalHeight(const ComboState& s);
int CurSel(const ComboState& s);
// Shows the current selection in the field (the edit's text, selected when focused). With
// no selection the edit is emptied only when `clearWhenNone` (CB_SETCURSEL -1); otherwise
// what the user typed stays.
void ShowSelection(ComboState& s, bool clearWhenNone = true);
void InvalidateCombo(ComboState& s);

// ---- combobox_drop.cpp -------------------------------------------------------------------------------
void OpenList(ComboState& s, bool byMouse);
// Accept: an item was chosen (CBN_SELENDOK); Cancel: none was (CBN_SELENDCANCEL, the
// selection goes back); Toggle: F4 or Alt+arrow, which accepts when the selection moved
// since the list dropped and cancels otherwise; Quiet: no notification of the end.
enum class CloseHow { Accept, Cancel, Toggle, Quiet };
void CloseList(ComboState& s, CloseHow how);
// Keys for the combo box (from itself or its edit); true when taken.
bool ComboKey(ComboState& s, UINT msg, WPARAM vk);
void OnComboMouseDown(ComboState& s, POINT pt);
// WM_COMMAND from the edit.
void OnEditNotify(ComboState& s, WORD code);
void OnComboSetFocus(ComboState& s);
void OnComboKillFocus(ComboState& s, HWND to);

} // namespace zyn::user::ctl
