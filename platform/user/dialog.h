#pragma once
// Dialogs and the dialog manager: dialog templates, modeless and modal dialogs, the
// "#32770" class with DefDlgProc, dialog units, the dialog item helpers and the keyboard
// interface (IsDialogMessage).
//
// Creation (CreateDialogIndirectParam; the other forms find the template first):
//   1. The template (DLGTEMPLATE or DLGTEMPLATEEX, read within its known size: the
//      resource or global memory block holding it) gives the font: DS_SETFONT's point
//      size and face (height -MulDiv(points, 96, 72)), else SYSTEM_FONT (SYSTEM_FIXED_FONT
//      with DS_FIXEDSYS). The dialog base units come from that font:
//         x = (width of "A".."Z" "a".."z" / 26 + 1) / 2      y = tmHeight
//      and a dialog unit rectangle maps to pixels as
//         left = MulDiv(left, x, 4)  right = MulDiv(right, x, 4)
//         top  = MulDiv(top, y, 8)   bottom = MulDiv(bottom, y, 8)
//      (MapDialogRect; GetDialogBaseUnits gives x and y of the system font). Positions
//      and sizes of the template map each on their own: a control at (x, y) of size
//      (cx, cy) units sits at (MulDiv(x, bx, 4), MulDiv(y, by, 8)) with the size
//      (MulDiv(cx, bx, 4), MulDiv(cy, by, 8)).
//   2. The dialog window is created hidden: the template's rectangle is its client area,
//      relative to the owner's (a child's parent's) client area, or to the screen with
//      DS_ABSALIGN, centred in the work area with DS_CENTER; a top-level dialog is kept
//      inside the work area. DS_MODALFRAME adds WS_EX_DLGMODALFRAME, DS_CONTROL
//      WS_EX_CONTROLPARENT, DS_SYSMODAL WS_EX_TOPMOST, DS_CONTEXTHELP WS_EX_CONTEXTHELP.
//      DWLP_DLGPROC is set when CreateWindowEx returns, so the dialog procedure's first
//      messages are WM_SETFONT (DS_SETFONT) and then those of the controls' creation.
//   3. Each item becomes a child control (class ordinals 0x80 Button, 0x81 Edit, 0x82
//      Static, 0x83 ListBox, 0x84 ScrollBar, 0x85 ComboBox, or a class name) with
//      WS_EX_NOPARENTNOTIFY; its creation data reaches WM_CREATE's lpCreateParams as a
//      pointer to the data's size word (null when there is none); an ordinal title reaches
//      the control as the text {0xFFFF, ordinal}. A control that fails to be created fails
//      the dialog unless DS_NOFAILCREATE. With DS_SETFONT each control gets WM_SETFONT.
//   4. WM_INITDIALOG (wParam: the first WS_TABSTOP control, lParam: the init parameter).
//      TRUE: that control is to have the focus (set at once in a visible dialog, or when
//      the dialog is shown and activated); FALSE: the procedure placed the focus itself.
//   5. A template with WS_VISIBLE is shown (modal dialogs always are).
//
// Modal dialogs (DialogBox*) disable their owner (the top-level window of a child
// owner), run on the one modal loop (RunModalLoop, filter code MSGF_DIALOGBOX, each
// message through IsDialogMessage) until EndDialog, then enable the owner and destroy
// the dialog. A modal dialog is answered at once by a scripted answer of kind Dialog
// when one is queued, and every modal dialog is recorded (zyn::user::AnswerScript). In
// scripted mode a dry loop ends the dialog as IDCANCEL; a dialog destroyed while modal
// also answers IDCANCEL.
//
// DefDlgProc calls the dialog procedure first; a TRUE answer means handled, the result
// being DWLP_MSGRESULT except for the messages that answer directly (WM_CTLCOLOR*,
// WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON, WM_INITDIALOG).
// Otherwise it: erases with the WM_CTLCOLORDLG brush; saves the focus control when the
// dialog is deactivated or hidden and restores it (else the first tab stop) when it is
// activated or given the focus; turns WM_CLOSE into a posted WM_COMMAND IDCANCEL
// (nothing when the Cancel control is disabled); answers WM_NEXTDLGCTL, DM_GETDEFID,
// DM_SETDEFID, DM_REPOSITION, WM_SETFONT/WM_GETFONT; and defers to DefWindowProc.
//
// The keyboard interface (IsDialogMessage, for a dialog or any window that holds
// controls) and the tab order: see dialog_nav.cpp's header comment.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

// ---- dialog styles ---------------------------------------------------------------------------------------
inline constexpr DWORD DS_ABSALIGN = 0x01, DS_SYSMODAL = 0x02, DS_3DLOOK = 0x04, DS_FIXEDSYS = 0x08,
                       DS_NOFAILCREATE = 0x10, DS_LOCALEDIT = 0x20, DS_SETFONT = 0x40, DS_MODALFRAME = 0x80,
                       DS_NOIDLEMSG = 0x100, DS_SETFOREGROUND = 0x200, DS_CONTROL = 0x400, DS_CENTER = 0x800,
                       DS_CENTERMOUSE = 0x1000, DS_CONTEXTHELP = 0x2000, DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// ---- dialog messages, WM_GETDLGCODE answers --------------------------------------------------------------
inline constexpr UINT DM_GETDEFID = 0x0400, DM_SETDEFID = 0x0401, DM_REPOSITION = 0x0402;
inline constexpr WORD DC_HASDEFID = 0x534B;
inline constexpr UINT DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
                      DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
                      DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
                      DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000;

// ---- the dialog's window bytes ------------------------------------------------------------------------------
inline constexpr int DWLP_MSGRESULT = 0;
inline constexpr int DWLP_DLGPROC = DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT));
inline constexpr int DWLP_USER = DWLP_DLGPROC + static_cast<int>(sizeof(DLGPROC));
inline constexpr int DLGWINDOWEXTRA = 30;
// The dialog class.
inline constexpr const wchar_t* WC_DIALOG = L"#32770";

// ---- templates ---------------------------------------------------------------------------------------------
// The fixed heads of the classic layouts (2-byte packing, as stored). An extended
// template starts with dlgVer 1 and signature 0xFFFF instead.
#pragma pack(push, 2)
struct DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
};
struct DLGITEMTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
};
#pragma pack(pop)
using LPDLGTEMPLATE = DLGTEMPLATE*;
using LPCDLGTEMPLATE = const DLGTEMPLATE*;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;

// ---- creation ------------------------------------------------------------------------------------------------
// Null on failure: FindResource's error (no such template), ERROR_INVALID_DATA (a
// malformed template), ERROR_INVALID_WINDOW_HANDLE (a stale parent),
// ERROR_CANNOT_FIND_WND_CLASS (an unknown class), or the error of the window that could
// not be created.
HWND CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam);
HWND CreateDialogParam(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam);
HWND CreateDialogW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc);
HWND CreateDialog(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc);
HWND CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
HWND CreateDialogIndirectParam(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
HWND CreateDialogIndirectW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc);
HWND CreateDialogIndirect(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc);

// EndDialog's result; -1 when the dialog could not be created (the last error says why),
// 0 with ERROR_INVALID_WINDOW_HANDLE for a stale owner.
INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam);
INT_PTR DialogBoxParam(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
    LPARAM dwInitParam);
INT_PTR DialogBoxW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc);
INT_PTR DialogBox(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc);
INT_PTR DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
INT_PTR DialogBoxIndirectParam(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
INT_PTR DialogBoxIndirectW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc);
INT_PTR DialogBoxIndirect(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
    DLGPROC lpDialogFunc);
// Marks a dialog ended with a result; a modal dialog's owner is enabled again and the
// dialog hidden at once, and its loop ends. FALSE for a window that is not a dialog.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT DefDlgProc(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);

// ---- dialog units ---------------------------------------------------------------------------------------------
// FALSE for a window that is not a dialog.
BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);
LONG GetDialogBaseUnits();

// ---- the keyboard interface and the tab order ------------------------------------------------------------------
BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg);
BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg);
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);

// ---- items ------------------------------------------------------------------------------------------------------
// GetDlgItem and GetDlgCtrlID are in platform/user/window.h. Every call naming a missing
// item fails with ERROR_CONTROL_ID_NOT_FOUND (text getters leave "" in the buffer).
UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
// Decimal text with blanks around it; bSigned allows one leading '-' or '+'. A value out
// of range or any other character translates nothing: 0 and *lpTranslated FALSE.
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
// BM_SETCHECK to every child whose ID lies in [first, last]: checked for nIDCheckButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);

namespace zyn::user {
// The creation and modal forms over template bytes of a known size.
HWND CreateDialogFromBytes(std::span<const uint8_t> bytes, HINSTANCE hInstance, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
INT_PTR DialogBoxFromBytes(std::span<const uint8_t> bytes, HINSTANCE hInstance, HWND hWndParent,
    DLGPROC lpDialogFunc, LPARAM dwInitParam);
// What was wrong with the last template this thread refused (ERROR_INVALID_DATA).
const std::string& LastDialogTemplateError();
// Registers "#32770", "Button" and "Static" unless they exist (the window system calls
// it before its first class look-up).
void EnsureDialogClasses();
} // namespace zyn::user
