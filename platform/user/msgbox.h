#pragma once
// Message boxes: a real "#32770" dialog with an icon, the text and a row of push buttons,
// run modally on the one modal loop, and answered and recorded through the thread's
// answer script (platform/user/modal.h).
//
// Who answers:
//   1. A scripted answer (AnswerKind::MessageBox) that is one of the box's buttons answers
//      it at once (Escape's IDCANCEL counts as IDOK for an OK-only box); any other
//      scripted answer is refused with a note and the default button answers.
//   2. Without one, in scripted mode, the box is shown and the test's scripted input
//      (keys, clicks, idle actions) answers it through the dialog manager: Enter, Space,
//      the buttons' mnemonics with or without Alt, Escape when the box has a Cancel
//      button (or only OK). When the input runs dry, the default button answers.
//   3. Otherwise (headless, no script) the default button answers at once.
// A box answered at once is created and laid out but never shown, so its owner's
// activation and focus stay as they were. Every box is recorded (ShownRecord: scripted
// is true for an answer from the script or from input).
//
// The box (owner: the top-level window of hWnd; MB_TASKMODAL without an owner disables
// the thread's other top-level windows instead) is WS_POPUP | WS_CAPTION | WS_SYSMENU
// with WS_EX_DLGMODALFRAME (and WS_EX_TOPMOST for MB_SYSTEMMODAL / MB_TOPMOST), in the
// message font (NONCLIENTMETRICS lfMessageFont); see msgbox_layout.h for the geometry.
// Its controls: the icon static (ID 20), the text static (ID 0xFFFF, SS_NOPREFIX, SS_RIGHT
// with MB_RIGHT) and the buttons, whose IDs are their answers. The Help button (MB_HELP)
// sends WM_HELP to the owner and leaves the box open.
#include "platform/base/wintypes.h"

inline constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                      MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_CANCELTRYCONTINUE = 0x6, MB_ICONHAND = 0x10,
                      MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONASTERISK = 0x40,
                      MB_USERICON = 0x80, MB_ICONWARNING = MB_ICONEXCLAMATION, MB_ICONERROR = MB_ICONHAND,
                      MB_ICONINFORMATION = MB_ICONASTERISK, MB_ICONSTOP = MB_ICONHAND, MB_DEFBUTTON1 = 0x0,
                      MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFBUTTON4 = 0x300, MB_APPLMODAL = 0x0,
                      MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_HELP = 0x4000, MB_NOFOCUS = 0x8000,
                      MB_SETFOREGROUND = 0x10000, MB_DEFAULT_DESKTOP_ONLY = 0x20000, MB_TOPMOST = 0x40000,
                      MB_RIGHT = 0x80000, MB_RTLREADING = 0x100000, MB_SERVICE_NOTIFICATION = 0x200000,
                      MB_TYPEMASK = 0xF, MB_ICONMASK = 0xF0, MB_DEFMASK = 0xF00, MB_MODEMASK = 0x3000,
                      MB_MISCMASK = 0xC000;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
                     IDCLOSE = 8, IDHELP = 9, IDTRYAGAIN = 10, IDCONTINUE = 11;

// The answer (IDOK...), or 0 with ERROR_INVALID_MSGBOX_STYLE for an unknown button set or
// default button, ERROR_INVALID_WINDOW_HANDLE for a stale owner.
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
int MessageBoxExW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId);
int MessageBoxEx(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType, WORD wLanguageId);
