#pragma once
// The "Button" control: push and default push buttons, check boxes (two- and
// three-state, plain and automatic), radio buttons (plain and automatic), group boxes
// and owner-drawn buttons.
//
// A click (mouse released inside after a press inside, Space released after a press,
// BM_CLICK, a mnemonic through the dialog manager) first moves an automatic button's
// check state (check box: unchecked <-> checked; 3-state: unchecked -> checked ->
// indeterminate -> unchecked; radio: checked, every other radio button of its group
// (from the WS_GROUP control up to the next) unchecked), then sends BN_CLICKED. A press
// holds the mouse capture and shows the pressed look only while the pointer is inside;
// losing the focus or the capture cancels it. BM_SETCHECK gives a radio button
// WS_TABSTOP when it checks it and takes it away when it unchecks it, so Tab reaches a
// group at its checked button. BN_DOUBLECLICKED follows a double click on radio,
// owner-drawn and BS_NOTIFY buttons; BN_SETFOCUS and BN_KILLFOCUS need BS_NOTIFY. In a
// dialog the default look follows the focus among push buttons (dialog.h).
//
// Colours: push buttons and owner-drawn ones send WM_CTLCOLORBTN, the others
// WM_CTLCOLORSTATIC (whose brush fills their background; push buttons keep the
// system's 3D colours, COLOR_BTNTEXT for their text, as on Windows). Classic look, all on
// DrawFrameControl/DrawEdge:
//   push      a default button has a one-pixel COLOR_WINDOWFRAME frame; inside it
//             DFCS_BUTTONPUSH (| DFCS_PUSHED while pressed, | DFCS_CHECKED for a checked
//             BS_PUSHLIKE box). The content rectangle lies 3 pixels inside that frame
//             control's rectangle; the text (or BS_ICON/BS_BITMAP image) is centred in
//             it (BS_LEFT/RIGHT/TOP/BOTTOM move it), one pixel right and down while
//             pressed; the focus rectangle is the content rectangle.
//   check     a SM_CXMENUCHECK x SM_CYMENUCHECK box (DFCS_BUTTONCHECK / DFCS_BUTTONRADIO,
//   radio     DFCS_BUTTON3STATE for an indeterminate box, DFCS_PUSHED while pressed,
//             DFCS_INACTIVE when disabled) at the left (the right with BS_LEFTTEXT),
//             centred vertically (BS_TOP/BS_BOTTOM move it); the text area starts 4
//             pixels beyond the box, one line unless BS_MULTILINE; the focus rectangle
//             is the text's extent grown by one pixel.
//   group     an EDGE_ETCHED frame from half the font height down, its inside left as it
//             is; the text from 8 pixels in at the top on the background brush, which
//             covers the text and 2 pixels either side of it.
// Disabled text is embossed (COLOR_3DHIGHLIGHT under COLOR_3DSHADOW).
#include "platform/base/wintypes.h"

inline constexpr DWORD BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                       BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
                       BS_USERBUTTON = 0x8, BS_AUTORADIOBUTTON = 0x9, BS_PUSHBOX = 0xA, BS_OWNERDRAW = 0xB,
                       BS_TYPEMASK = 0xF, BS_LEFTTEXT = 0x20, BS_RIGHTBUTTON = BS_LEFTTEXT, BS_TEXT = 0x0,
                       BS_ICON = 0x40, BS_BITMAP = 0x80, BS_LEFT = 0x100, BS_RIGHT = 0x200, BS_CENTER = 0x300,
                       BS_TOP = 0x400, BS_BOTTOM = 0x800, BS_VCENTER = 0xC00, BS_PUSHLIKE = 0x1000,
                       BS_MULTILINE = 0x2000, BS_NOTIFY = 0x4000, BS_FLAT = 0x8000;
inline constexpr UINT BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
                      BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5, BM_GETIMAGE = 0x00F6, BM_SETIMAGE = 0x00F7,
                      BM_SETDONTCLICK = 0x00F8;
inline constexpr UINT BST_UNCHECKED = 0x0, BST_CHECKED = 0x1, BST_INDETERMINATE = 0x2, BST_PUSHED = 0x4,
                      BST_FOCUS = 0x8;
inline constexpr WORD BN_CLICKED = 0, BN_PAINT = 1, BN_HILITE = 2, BN_PUSHED = 2, BN_UNHILITE = 3, BN_UNPUSHED = 3,
                      BN_DISABLE = 4, BN_DOUBLECLICKED = 5, BN_DBLCLK = 5, BN_SETFOCUS = 6, BN_KILLFOCUS = 7;
inline constexpr const wchar_t* WC_BUTTON = L"Button";

namespace zyn::user {
// Registers the "Button" system class unless it exists.
void EnsureButtonClass();
} // namespace zyn::user
