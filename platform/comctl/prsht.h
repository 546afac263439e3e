#pragma once
// Property sheets: a "#32770" dialog that shows one of several pages (dialogs of their
// own) above a tab control, with OK, Cancel, Apply Now and Help buttons, and the page
// handles (HPROPSHEETPAGE) it is made of.
//
// A page is described by a PROPSHEETPAGE: its template (a resource of hInstance, or in
// memory with PSP_DLGINDIRECT), its tab text (PSP_USETITLE: pszTitle, a string or a string
// resource ID; else the template's caption), its dialog procedure and lParam.
// CreatePropertySheetPage reads and checks the template at once (a missing or malformed
// one makes no handle), copies the structure (dwSize bytes, so a caller may append data
// of its own) and the strings it points to; the copy is what the page's procedure gets
// as WM_INITDIALOG's lParam and what PSP_USECALLBACK's callback sees (PSPCB_ADDREF when
// the handle is made, PSPCB_CREATE just before the page's window is made: 0 refuses it,
// PSPCB_RELEASE when the handle is destroyed). A handle given to PropertySheet or
// accepted by PSM_ADDPAGE belongs to the sheet from then on: the sheet destroys it with
// the page (PSM_REMOVEPAGE) or with itself.
//
// PropertySheet(&psh):
//   1. Makes the pages' handles (PSH_PROPSHEETPAGE; a missing or malformed template fails
//      the call: -1, or null for a modeless sheet, with the last error set), or takes the
//      caller's (all live and in no other sheet; a call refused for its arguments leaves
//      them to the caller, and from then on they are the sheet's), and builds the sheet's own
//      template: style DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | DS_CONTEXTHELP |
//      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, font 8 point "MS Shell Dlg", the
//      tab control (ID 12320, TCS_MULTILINE, WS_TABSTOP | WS_CLIPSIBLINGS) and the buttons.
//      PSH_USECALLBACK's callback sees it as (null, PSCB_PRECREATE, template) and may
//      change its style and extended style. A style with WS_CHILD makes a child sheet:
//      no buttons, no margins, DS_CONTROL added (so the sheet is a control parent of its
//      parent's dialog manager).
//   2. The dialog manager creates the sheet (owner or parent psh.hwndParent). At
//      WM_INITDIALOG the sheet adds one tab per page, lays itself out (below), makes and
//      activates the start page (nStartPage; pStartPage with PSH_USEPSTARTPAGE, the page
//      whose template name or ID it is), calls the callback with PSCB_INITIALIZED and
//      answers FALSE: the focus goes to the first tab stop when the sheet is activated.
//   3. Modal (the default): the owner (the top-level window of hwndParent) is disabled
//      and the sheet runs on the one modal loop (each message through the sheet's keys,
//      below) until OK or Cancel ends it; then the owner is enabled, the sheet destroyed,
//      and the result returned: 1 when changes were saved (OK, or an Apply Now that
//      succeeded before a Cancel), ID_PSRESTARTWINDOWS / ID_PSREBOOTSYSTEM when a page
//      asked for that (PSM_RESTARTWINDOWS / PSM_REBOOTSYSTEM), 0 when nothing was saved,
//      -1 when the sheet could not be made. A loop that runs dry (scripted mode) ends as
//      a cancel without notifications. PSH_MODELESS: the sheet's window is returned at
//      once; the caller's loop gives its messages to PSM_ISDIALOGMESSAGE and destroys the
//      sheet when PSM_GETCURRENTPAGEHWND answers null (OK or Cancel ended it).
//
// Layout, with bx, by the sheet's dialog base units, X(v) = MulDiv(v, bx, 4),
// Y(v) = MulDiv(v, by, 8):
//   page          the largest page template: max X(cx) by max Y(cy), in the sheet's units
//   tab control   at (X(7), Y(7)) (a child sheet: (0, 0)); its size is what TCM_ADJUSTRECT
//                 (larger) makes of the page size, the rows counted at that width; when
//                 the row of buttons is wider, the tab control takes its width (and the
//                 pages the wider display area)
//   page rect     TCM_ADJUSTRECT (smaller) of the tab control's rectangle, in the sheet's
//                 client coordinates; every page is placed there, above the tab control
//   buttons       X(50) by Y(14), Y(7) below the tab control, X(4) apart, the last one's
//                 right edge on the tab control's right edge, in the order OK, Cancel,
//                 Apply Now (not with PSH_NOAPPLYNOW), Help (only with PSH_HASHELP)
//   client area   the tab control plus X(7) on the right and Y(7) below the buttons (a
//                 child sheet: the tab control's rectangle exactly)
// A top-level sheet is then centred over its owner (else the work area) and kept inside
// the work area. A wizard (PSH_WIZARD) hides the tab control and puts the page at
// (X(7), Y(7)); its buttons are Back and Next side by side (Finish in Next's place once
// PSM_SETWIZBUTTONS asks for it, or a slot of its own with PSH_WIZARDHASFINISH), Cancel,
// and Help. Next asks the page PSN_WIZNEXT (-1: stay, 0: the next page, else the template
// ID of the page to go to), then changes the page as a tab would; Back asks PSN_WIZBACK
// and goes back without PSN_KILLACTIVE (nothing is validated on the way back); a page
// that refuses PSN_SETACTIVE is passed over in the same direction. Finish asks
// PSN_WIZFINISH (non-zero keeps the wizard open) and ends it with the changes saved.
//
// Tab order: a page lies above the tab control in z-order, so Tab goes from the page's
// controls (the page is a DS_CONTROL control parent) to the tab control, OK, Cancel,
// Apply Now and Help and round again.
//
// Pages are made when first activated (then their WM_INITDIALOG) as hidden WS_CHILD |
// DS_CONTROL dialogs (the template's popup, caption and frame styles taken off). Changing
// the page (a tab click, Ctrl+Tab / Ctrl+Shift+Tab, Ctrl+PageDown / Ctrl+PageUp,
// PSM_SETCURSEL, PSM_SETCURSELID) sends the active page PSN_KILLACTIVE (non-zero keeps it),
// makes the new page if needed and sends it PSN_SETACTIVE (non-zero refuses: the old page
// stays, a wizard goes on in the same direction), then shows the new page and hides the
// old one. The focus follows into the new page unless it was on the tab control.
// Notifications go to the page as WM_NOTIFY with a PSHNOTIFY (hwndFrom the sheet, idFrom
// 0); the answer is what the page's window returns (a dialog procedure's DWLP_MSGRESULT).
//
// Buttons: OK and Apply Now send PSN_KILLACTIVE to the active page, then PSN_APPLY
// (lParam TRUE for OK) to every page made so far, in page order; PSNRET_INVALID stops and
// activates that page, PSNRET_INVALID_NOCHANGEPAGE stops and keeps the active one. After
// a full apply Apply Now is disabled (it is enabled by PSM_CHANGED and disabled again when
// PSM_UNCHANGED leaves no page changed) and OK ends the sheet. Answers other than those
// two count as PSNRET_NOERROR. Cancel (also Escape and
// the close box) asks the active page PSN_QUERYCANCEL (non-zero keeps the sheet open),
// then sends PSN_RESET to every page made and ends the sheet. Help sends PSN_HELP to the
// active page; it is enabled while the active page has PSP_HASHELP. A child sheet never
// ends: OK and Cancel (PSM_PRESSBUTTON, the parent's keys) apply or reset its pages and
// it stays until its parent destroys it.
#include <cstddef>

#include "platform/base/wintypes.h"
#include "platform/user/dialog.h"
#include "platform/user/user_types.h"

// ---- page handles ------------------------------------------------------------------------------------------
struct _PSP;
using HPROPSHEETPAGE = _PSP*;

struct PROPSHEETPAGEW;
// PSPCB_ADDREF / PSPCB_RELEASE (hwnd null) and PSPCB_CREATE (hwnd null; 0 refuses).
using LPFNPSPCALLBACKW = UINT (*)(HWND hwnd, UINT uMsg, PROPSHEETPAGEW* ppsp);
using LPFNPSPCALLBACK = LPFNPSPCALLBACKW;
inline constexpr UINT PSPCB_ADDREF = 0, PSPCB_RELEASE = 1, PSPCB_CREATE = 2;

inline constexpr DWORD PSP_DEFAULT = 0x0000, PSP_DLGINDIRECT = 0x0001, PSP_USEHICON = 0x0002,
                       PSP_USEICONID = 0x0004, PSP_USETITLE = 0x0008, PSP_RTLREADING = 0x0010,
                       PSP_HASHELP = 0x0020, PSP_USEREFPARENT = 0x0040, PSP_USECALLBACK = 0x0080,
                       PSP_PREMATURE = 0x0400, PSP_HIDEHEADER = 0x0800, PSP_USEHEADERTITLE = 0x1000,
                       PSP_USEHEADERSUBTITLE = 0x2000;

struct PROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    union {
        LPCWSTR pszTemplate;          // a name or MAKEINTRESOURCE ID in hInstance
        LPCDLGTEMPLATE pResource;     // PSP_DLGINDIRECT
    };
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszTitle;                 // PSP_USETITLE: a string or a string resource ID of hInstance
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    LPFNPSPCALLBACKW pfnCallback;     // PSP_USECALLBACK
    UINT* pcRefParent;                // PSP_USEREFPARENT: incremented while the handle lives
    LPCWSTR pszHeaderTitle;
    LPCWSTR pszHeaderSubTitle;
};
using PROPSHEETPAGE = PROPSHEETPAGEW;
using LPPROPSHEETPAGEW = PROPSHEETPAGEW*;
using LPPROPSHEETPAGE = PROPSHEETPAGEW*;
using LPCPROPSHEETPAGEW = const PROPSHEETPAGEW*;
using LPCPROPSHEETPAGE = const PROPSHEETPAGEW*;
// The size of the first layout (up to pcRefParent), which is accepted too.
inline constexpr DWORD PROPSHEETPAGE_V1_SIZE = static_cast<DWORD>(offsetof(PROPSHEETPAGEW, pszHeaderTitle));

// ---- the sheet ------------------------------------------------------------------------------------------------------
// PSCB_PRECREATE (hwnd null, lParam the sheet's template), PSCB_INITIALIZED (the sheet, 0).
using PFNPROPSHEETCALLBACK = int (*)(HWND hwnd, UINT uMsg, LPARAM lParam);
inline constexpr UINT PSCB_INITIALIZED = 1, PSCB_PRECREATE = 2;

inline constexpr DWORD PSH_DEFAULT = 0x0000, PSH_PROPTITLE = 0x0001, PSH_USEHICON = 0x0002,
                       PSH_USEICONID = 0x0004, PSH_PROPSHEETPAGE = 0x0008, PSH_WIZARDHASFINISH = 0x0010,
                       PSH_WIZARD = 0x0020, PSH_USEPSTARTPAGE = 0x0040, PSH_NOAPPLYNOW = 0x0080,
                       PSH_USECALLBACK = 0x0100, PSH_HASHELP = 0x0200, PSH_MODELESS = 0x0400,
                       PSH_RTLREADING = 0x0800, PSH_WIZARDCONTEXTHELP = 0x1000;

struct PROPSHEETHEADERW {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    HINSTANCE hInstance;              // for a caption or start page given as a resource ID
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszCaption;               // a string or a string resource ID of hInstance
    UINT nPages;
    union {
        UINT nStartPage;
        LPCWSTR pStartPage;           // PSH_USEPSTARTPAGE: a page's template name or ID
    };
    union {
        LPCPROPSHEETPAGEW ppsp;       // PSH_PROPSHEETPAGE: nPages structures in a row
        HPROPSHEETPAGE* phpage;       // otherwise nPages handles
    };
    PFNPROPSHEETCALLBACK pfnCallback; // PSH_USECALLBACK
};
using PROPSHEETHEADER = PROPSHEETHEADERW;
using LPPROPSHEETHEADERW = PROPSHEETHEADERW*;
using LPPROPSHEETHEADER = PROPSHEETHEADERW*;
using LPCPROPSHEETHEADERW = const PROPSHEETHEADERW*;
using LPCPROPSHEETHEADER = const PROPSHEETHEADERW*;

// PropertySheet's results besides 1 and 0.
inline constexpr INT_PTR ID_PSRESTARTWINDOWS = 0x2, ID_PSREBOOTSYSTEM = ID_PSRESTARTWINDOWS | 0x1;

// The sheet's controls.
inline constexpr int IDC_PS_TABCONTROL = 0x3020, IDC_PS_APPLYNOW = 0x3021, IDC_PS_WIZBACK = 0x3023,
                     IDC_PS_WIZNEXT = 0x3024, IDC_PS_WIZFINISH = 0x3025;

// ---- messages to the sheet -------------------------------------------------------------------------------------
inline constexpr UINT PSM_SETCURSEL = 0x0400 + 101,      // (index, hpage: wins when not null) → TRUE when active
    PSM_REMOVEPAGE = 0x0400 + 102,                        // (index, hpage)
    PSM_ADDPAGE = 0x0400 + 103,                           // (0, hpage) → TRUE when added
    PSM_CHANGED = 0x0400 + 104,                           // (page window, 0)
    PSM_RESTARTWINDOWS = 0x0400 + 105, PSM_REBOOTSYSTEM = 0x0400 + 106,
    PSM_CANCELTOCLOSE = 0x0400 + 107,                     // Cancel disabled, OK reads "Close"
    PSM_QUERYSIBLINGS = 0x0400 + 108,                     // (wParam, lParam) → the first non-zero page answer
    PSM_UNCHANGED = 0x0400 + 109,                         // (page window, 0)
    PSM_APPLY = 0x0400 + 110,                             // → TRUE when every page applied
    PSM_SETTITLEW = 0x0400 + 120,                         // (PSH_PROPTITLE or 0, text or string ID)
    PSM_SETWIZBUTTONS = 0x0400 + 112,                     // (0, PSWIZB_*)
    PSM_PRESSBUTTON = 0x0400 + 113,                       // (PSBTN_*, 0)
    PSM_SETCURSELID = 0x0400 + 114,                       // (0, template ID) → TRUE when active
    PSM_SETFINISHTEXTW = 0x0400 + 121,                    // (0, text)
    PSM_GETTABCONTROL = 0x0400 + 116,
    PSM_ISDIALOGMESSAGE = 0x0400 + 117,                   // (0, MSG*) → TRUE when taken
    PSM_GETCURRENTPAGEHWND = 0x0400 + 118,                // null once OK or Cancel ended the sheet
    PSM_HWNDTOINDEX = 0x0400 + 129,                       // (page window, 0) → index or -1
    PSM_INDEXTOHWND = 0x0400 + 130,                       // (index, 0) → the page's window (null: not made)
    PSM_GETRESULT = 0x0400 + 135;                         // PropertySheet's result; -1 while the sheet runs
inline constexpr UINT PSM_SETTITLE = PSM_SETTITLEW, PSM_SETFINISHTEXT = PSM_SETFINISHTEXTW;

inline constexpr DWORD PSWIZB_BACK = 0x1, PSWIZB_NEXT = 0x2, PSWIZB_FINISH = 0x4, PSWIZB_DISABLEDFINISH = 0x8;
inline constexpr int PSBTN_BACK = 0, PSBTN_NEXT = 1, PSBTN_FINISH = 2, PSBTN_OK = 3, PSBTN_APPLYNOW = 4,
                     PSBTN_CANCEL = 5, PSBTN_HELP = 6, PSBTN_MAX = 6;

// ---- notifications to the pages (WM_NOTIFY codes) ----------------------------------------------------------
inline constexpr UINT PSN_FIRST = 0u - 200u, PSN_LAST = 0u - 299u;
inline constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0, PSN_KILLACTIVE = PSN_FIRST - 1, PSN_APPLY = PSN_FIRST - 2,
                      PSN_RESET = PSN_FIRST - 3, PSN_HELP = PSN_FIRST - 5, PSN_WIZBACK = PSN_FIRST - 6,
                      PSN_WIZNEXT = PSN_FIRST - 7, PSN_WIZFINISH = PSN_FIRST - 8, PSN_QUERYCANCEL = PSN_FIRST - 9;
// PSN_APPLY's answers.
inline constexpr LRESULT PSNRET_NOERROR = 0, PSNRET_INVALID = 1, PSNRET_INVALID_NOCHANGEPAGE = 2;

struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;   // PSN_APPLY: TRUE for OK, FALSE for Apply Now
};
using LPPSHNOTIFY = PSHNOTIFY*;

// ---- the API -----------------------------------------------------------------------------------------------------
// Null with ERROR_INVALID_PARAMETER for a null structure, a size below the first
// layout's or a missing template name or memory.
HPROPSHEETPAGE CreatePropertySheetPageW(LPCPROPSHEETPAGEW constPropSheetPagePointer);
HPROPSHEETPAGE CreatePropertySheetPage(LPCPROPSHEETPAGEW constPropSheetPagePointer);
// Destroys the page's window (when made) and the handle. FALSE with
// ERROR_INVALID_HANDLE for a stale handle; a handle that belongs to a sheet is removed
// from it first.
BOOL DestroyPropertySheetPage(HPROPSHEETPAGE hPage);
// See the top of this file. Invalid arguments (no pages, a null header or one smaller
// than the structure, a stale page handle) fail with ERROR_INVALID_PARAMETER.
INT_PTR PropertySheetW(LPCPROPSHEETHEADERW lppsph);
INT_PTR PropertySheet(LPCPROPSHEETHEADERW lppsph);

namespace zyn::comctl {
// Live page handles (for tests: none may be left behind).
size_t LivePropertySheetPageCount();
} // namespace zyn::comctl
