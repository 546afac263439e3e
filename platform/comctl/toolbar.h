#pragma once
// The toolbar common control ("ToolbarWindow32"): its messages, styles, button states and
// styles, notifications and the structures they carry, in the wide and the narrow form.
//
// A toolbar holds a row (or rows) of items: buttons, each with a command ID, an image (an
// index into the normal image list, or into the bitmaps added with TB_ADDBITMAP), an
// optional text (a string-pool index or the button's own text) and TBSTATE_/BTNS_ bits,
// and separators (BTNS_SEP), whose iBitmap is their width (0: 8 pixels). TB_INSERTBUTTON
// puts the button before the one at wParam; -1 or an index past the end appends.
//
// Geometry (client coordinates; the 2-pixel divider at the top lies in the non-client area
// unless CCS_NODIVIDER):
//   bitmap size b   16 x 15 until TB_SETBITMAPSIZE or a normal image list (TB_SETIMAGELIST)
//                   sets it (the list's image size)
//   padding p       7 x 6 unless TB_SETPADDING
//   frame f         p once a bitmap size is set; p + 1 each way before, which keeps the
//                   documented initial 24 x 22 buttons for the initial 16 x 15 bitmaps
//   text            the widest button text tw (single line, prefixes processed unless
//                   BTNS_NOPREFIX) and the font's line height th, when some button has text
//                   and TB_SETMAXTEXTROWS is not 0
//   the natural button (every button is this size unless BTNS_AUTOSIZE):
//       width  = max(b.cx, tw) + f.cx      height = b.cy + f.cy + rows * th
//     with TBSTYLE_LIST (text right of the image):
//       width  = b.cx + (tw ? tw + 4 : 0) + f.cx     height = max(b.cy, rows * th) + f.cy
//     (so 16 x 16 images give 23 x 22 buttons, and TB_AUTOSIZE's bar is as high as a
//     button plus the divider).
//   TB_SETBUTTONSIZE sets the button size; a toolbar with texts grows it to the natural size
//   where that is larger. BTNS_AUTOSIZE buttons are as wide as their own content.
//   TB_SETBUTTONWIDTH (min, max) clamps widths (max 0: no maximum); texts that do not fit
//   end in an ellipsis. BTNS_DROPDOWN with TBSTYLE_EX_DRAWDDARROWS and BTNS_WHOLEDROPDOWN
//   add the arrow width: the width of Marlett's '6' at the height SM_CYMENUCHECK.
//   Items sit left to right from (indent, 0); an item with TBSTATE_WRAP ends its row and the
//   next row starts one button height lower, plus, after a wrapping separator, the
//   separator's width (flat toolbars) or two thirds of it (others). With CCS_VERT every item
//   ends its row. TBSTYLE_WRAPABLE recomputes the wrap states for the client width: an
//   item that would pass the right edge moves to the next row; the row breaks at the last
//   plain separator before it in the row, else after the item before it.
//
// TB_HITTEST (point in client coordinates) answers
//   i            >= 0 for the visible button at index i,
//   -(i + 1)     for a point on the visible separator at index i (so index 0 is told from
//                "no button"; a caller finds the separator as -result - 1),
//   -(j + 1)     for a point on no item: j is the nearest button of the row the point is in
//                (by horizontal distance; a point between rows belongs to the row above),
//                or j = button count when the point is right of the last item of the last
//                row or below every row.
// TB_INSERTMARKHITTEST: on an item, the mark goes before it (left half) or after it
//   (TBIMHT_AFTER, right half) and the answer is TRUE; elsewhere iButton is as the hit
//   test's j (clamped to the last item) with TBIMHT_AFTER | TBIMHT_BACKGROUND when it lies
//   past the end, TBIMHT_BACKGROUND otherwise, and the answer is FALSE.
// The insert mark (TB_SETINSERTMARK) is drawn as an I-beam in the insert-mark colour
//   (COLOR_BTNTEXT until TB_SETINSERTMARKCOLOR): at x = the item's left edge, or its right
//   edge with TBIMHT_AFTER, a 2-pixel stem over columns x - 1 .. x across the item's height
//   and 6-pixel serifs over columns x - 3 .. x + 2 on its top and bottom rows.
//
// Mouse (see docs/architecture.md for the full path of a click): a press on an enabled
// button sends NM_LDOWN (non-zero answer: nothing more), makes it the hot item on a flat
// toolbar (TBN_HOTITEMCHANGE with HICF_LMOUSE, unless it already is), sends TBN_BEGINDRAG
// (iItem: its command; every press, whatever the customisation styles), presses it and
// captures the mouse; the button shows pressed while the cursor is on it. The release
// sends TBN_ENDDRAG, gives the capture back with NM_RELEASEDCAPTURE, and on the button
// toggles BTNS_CHECK / checks BTNS_CHECKGROUP (unchecking the others of its group: the
// adjacent buttons with BTNS_GROUP | BTNS_CHECK), sends WM_COMMAND (MAKEWPARAM(id,
// BN_CLICKED), the toolbar) to the TB_SETPARENT window and then NM_CLICK. Every NMMOUSE
// carries the button's command and data, the point in client coordinates and HTCLIENT.
// A toolbar created with none of CCS_TOP, CCS_NOMOVEY and CCS_BOTTOM gets CCS_TOP. A press on the
// arrow part of a BTNS_DROPDOWN button (with TBSTYLE_EX_DRAWDDARROWS), anywhere on a
// BTNS_WHOLEDROPDOWN button, or anywhere on a BTNS_DROPDOWN button without that style,
// sends TBN_DROPDOWN while the button shows pressed. Its answer: TBDDRET_DEFAULT (handled)
// and TBDDRET_NODEFAULT (not handled) end the press with no command; TBDDRET_TREATPRESSED
// continues it as a plain button press (the release on it sends WM_COMMAND); a
// BTNS_DROPDOWN button without drop-down arrows also continues as a plain press on
// TBDDRET_NODEFAULT. Flat and list toolbars track the hot item: TBN_HOTITEMCHANGE (HICF_*;
// a non-zero answer keeps the old hot item) on every change, HICF_LEAVING when the mouse
// leaves the control, except that with TB_SETANCHORHIGHLIGHT the hot item stays.
//
// Customisation (CCS_ADJUSTABLE; with TBSTYLE_ALTDRAG Alt works as Shift does): a Shift
// press on a button sends TBN_BEGINDRAG (iItem: its command) and drags it; the insert
// mark follows the mouse. Released over the toolbar at another place, TBN_QUERYINSERT
// (iItem: the index it would go before) must answer TRUE for the move; released outside
// the toolbar, TBN_QUERYDELETE (iItem: its index) must answer TRUE for the delete; a done
// change sends TBN_TOOLBARCHANGE. TBN_ENDDRAG ends every drag. TB_CUSTOMIZE runs the
// customise dialog (toolbar_customize.cpp): TBN_BEGINADJUST, TBN_INITCUSTOMIZE, the
// buttons on offer by TBN_GETBUTTONINFO for iItem 0, 1, ... until an answer is FALSE,
// TBN_QUERYINSERT / TBN_QUERYDELETE for each change with TBN_TOOLBARCHANGE after it,
// TBN_RESET for its Reset button, TBN_CUSTHELP for Help, TBN_ENDADJUST when it closes.
//
// Saved state (TB_SAVERESTORE; our own format): one REG_BINARY value named by
// TBSAVEPARAMS's pszValueName in the key pszSubKey under hkr, little-endian:
//   offset  size  field
//   0       4     magic "ZTBS"
//   4       2     format version (1)
//   6       2     0
//   8       4     item count n (at most 4096)
//   12      12n   per item: idCommand (int32), iBitmap (int32; a separator's width),
//                 fsState (byte), fsStyle (byte), two bytes 0
// The value is exactly 12 + 12n bytes. Restoring refuses (FALSE, the toolbar untouched)
// a missing value, another type, magic or version, a wrong size, non-zero reserved bytes,
// a separator with button-only style bits (BTNS_CHECK, BTNS_GROUP, BTNS_DROPDOWN,
// BTNS_WHOLEDROPDOWN), a command restored more than once, or more separators than the
// restored buttons plus one.
// A button's data and text come from the (first) button of that command on the toolbar
// now, else from TBN_GETBUTTONINFO's answers; saved commands found in neither are left
// out, as the program may have dropped a command since the state was saved.
//
// Custom draw (NM_CUSTOMDRAW with NMTBCUSTOMDRAW): see docs/architecture.md and
// toolbar_paint.cpp's header comment for the cycle and the TBCDRF_ answers.
#include <cstddef>
#include <cstdint>

#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* TOOLBARCLASSNAMEW = L"ToolbarWindow32";
inline constexpr const wchar_t* TOOLBARCLASSNAME = TOOLBARCLASSNAMEW;
inline constexpr const char* TOOLBARCLASSNAMEA = "ToolbarWindow32";

// ---- window styles -------------------------------------------------------------------------------------
inline constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100, TBSTYLE_WRAPABLE = 0x0200, TBSTYLE_ALTDRAG = 0x0400,
                       TBSTYLE_FLAT = 0x0800, TBSTYLE_LIST = 0x1000, TBSTYLE_CUSTOMERASE = 0x2000,
                       TBSTYLE_REGISTERDROP = 0x4000, TBSTYLE_TRANSPARENT = 0x8000;
inline constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x00000001, TBSTYLE_EX_MULTICOLUMN = 0x00000002,
                       TBSTYLE_EX_VERTICAL = 0x00000004, TBSTYLE_EX_MIXEDBUTTONS = 0x00000008,
                       TBSTYLE_EX_HIDECLIPPEDBUTTONS = 0x00000010, TBSTYLE_EX_DOUBLEBUFFER = 0x00000080;

// ---- button styles (fsStyle) -----------------------------------------------------------------------------
inline constexpr BYTE BTNS_BUTTON = 0x00, BTNS_SEP = 0x01, BTNS_CHECK = 0x02, BTNS_GROUP = 0x04,
                      BTNS_CHECKGROUP = BTNS_GROUP | BTNS_CHECK, BTNS_DROPDOWN = 0x08, BTNS_AUTOSIZE = 0x10,
                      BTNS_NOPREFIX = 0x20, BTNS_SHOWTEXT = 0x40, BTNS_WHOLEDROPDOWN = 0x80;
inline constexpr BYTE TBSTYLE_BUTTON = BTNS_BUTTON, TBSTYLE_SEP = BTNS_SEP, TBSTYLE_CHECK = BTNS_CHECK,
                      TBSTYLE_GROUP = BTNS_GROUP, TBSTYLE_CHECKGROUP = BTNS_CHECKGROUP,
                      TBSTYLE_DROPDOWN = BTNS_DROPDOWN, TBSTYLE_AUTOSIZE = BTNS_AUTOSIZE,
                      TBSTYLE_NOPREFIX = BTNS_NOPREFIX;

// ---- button states (fsState) -----------------------------------------------------------------------------
inline constexpr BYTE TBSTATE_CHECKED = 0x01, TBSTATE_PRESSED = 0x02, TBSTATE_ENABLED = 0x04,
                      TBSTATE_HIDDEN = 0x08, TBSTATE_INDETERMINATE = 0x10, TBSTATE_WRAP = 0x20,
                      TBSTATE_ELLIPSES = 0x40, TBSTATE_MARKED = 0x80;

// ---- messages -----------------------------------------------------------------------------------------------
inline constexpr UINT TB_ENABLEBUTTON = 0x0400 + 1, TB_CHECKBUTTON = 0x0400 + 2, TB_PRESSBUTTON = 0x0400 + 3,
                      TB_HIDEBUTTON = 0x0400 + 4, TB_INDETERMINATE = 0x0400 + 5, TB_MARKBUTTON = 0x0400 + 6,
                      TB_ISBUTTONENABLED = 0x0400 + 9, TB_ISBUTTONCHECKED = 0x0400 + 10,
                      TB_ISBUTTONPRESSED = 0x0400 + 11, TB_ISBUTTONHIDDEN = 0x0400 + 12,
                      TB_ISBUTTONINDETERMINATE = 0x0400 + 13, TB_ISBUTTONHIGHLIGHTED = 0x0400 + 14,
                      TB_SETSTATE = 0x0400 + 17, TB_GETSTATE = 0x0400 + 18, TB_ADDBITMAP = 0x0400 + 19,
                      TB_ADDBUTTONSA = 0x0400 + 20, TB_INSERTBUTTONA = 0x0400 + 21, TB_DELETEBUTTON = 0x0400 + 22,
                      TB_GETBUTTON = 0x0400 + 23, TB_BUTTONCOUNT = 0x0400 + 24, TB_COMMANDTOINDEX = 0x0400 + 25,
                      TB_SAVERESTOREA = 0x0400 + 26, TB_CUSTOMIZE = 0x0400 + 27, TB_ADDSTRINGA = 0x0400 + 28,
                      TB_GETITEMRECT = 0x0400 + 29, TB_BUTTONSTRUCTSIZE = 0x0400 + 30,
                      TB_SETBUTTONSIZE = 0x0400 + 31, TB_SETBITMAPSIZE = 0x0400 + 32, TB_AUTOSIZE = 0x0400 + 33,
                      TB_GETTOOLTIPS = 0x0400 + 35, TB_SETTOOLTIPS = 0x0400 + 36, TB_SETPARENT = 0x0400 + 37,
                      TB_SETROWS = 0x0400 + 39, TB_GETROWS = 0x0400 + 40, TB_GETBITMAPFLAGS = 0x0400 + 41,
                      TB_SETCMDID = 0x0400 + 42, TB_CHANGEBITMAP = 0x0400 + 43, TB_GETBITMAP = 0x0400 + 44,
                      TB_GETBUTTONTEXTA = 0x0400 + 45, TB_REPLACEBITMAP = 0x0400 + 46, TB_SETINDENT = 0x0400 + 47,
                      TB_SETIMAGELIST = 0x0400 + 48, TB_GETIMAGELIST = 0x0400 + 49, TB_LOADIMAGES = 0x0400 + 50,
                      TB_GETRECT = 0x0400 + 51, TB_SETHOTIMAGELIST = 0x0400 + 52,
                      TB_GETHOTIMAGELIST = 0x0400 + 53, TB_SETDISABLEDIMAGELIST = 0x0400 + 54,
                      TB_GETDISABLEDIMAGELIST = 0x0400 + 55, TB_SETSTYLE = 0x0400 + 56, TB_GETSTYLE = 0x0400 + 57,
                      TB_GETBUTTONSIZE = 0x0400 + 58, TB_SETBUTTONWIDTH = 0x0400 + 59,
                      TB_SETMAXTEXTROWS = 0x0400 + 60, TB_GETTEXTROWS = 0x0400 + 61,
                      TB_GETBUTTONINFOW = 0x0400 + 63, TB_SETBUTTONINFOW = 0x0400 + 64,
                      TB_GETBUTTONINFOA = 0x0400 + 65, TB_SETBUTTONINFOA = 0x0400 + 66,
                      TB_INSERTBUTTONW = 0x0400 + 67, TB_ADDBUTTONSW = 0x0400 + 68, TB_HITTEST = 0x0400 + 69,
                      TB_SETDRAWTEXTFLAGS = 0x0400 + 70, TB_GETHOTITEM = 0x0400 + 71, TB_SETHOTITEM = 0x0400 + 72,
                      TB_SETANCHORHIGHLIGHT = 0x0400 + 73, TB_GETANCHORHIGHLIGHT = 0x0400 + 74,
                      TB_GETBUTTONTEXTW = 0x0400 + 75, TB_SAVERESTOREW = 0x0400 + 76, TB_ADDSTRINGW = 0x0400 + 77,
                      TB_GETINSERTMARK = 0x0400 + 79, TB_SETINSERTMARK = 0x0400 + 80,
                      TB_INSERTMARKHITTEST = 0x0400 + 81, TB_MOVEBUTTON = 0x0400 + 82, TB_GETMAXSIZE = 0x0400 + 83,
                      TB_SETEXTENDEDSTYLE = 0x0400 + 84, TB_GETEXTENDEDSTYLE = 0x0400 + 85,
                      TB_GETPADDING = 0x0400 + 86, TB_SETPADDING = 0x0400 + 87,
                      TB_SETINSERTMARKCOLOR = 0x0400 + 88, TB_GETINSERTMARKCOLOR = 0x0400 + 89,
                      TB_GETSTRINGW = 0x0400 + 91, TB_GETSTRINGA = 0x0400 + 92, TB_GETIDEALSIZE = 0x0400 + 99,
                      TB_SETPRESSEDIMAGELIST = 0x0400 + 104, TB_GETPRESSEDIMAGELIST = 0x0400 + 105;
inline constexpr UINT TB_GETBUTTONINFO = TB_GETBUTTONINFOW, TB_SETBUTTONINFO = TB_SETBUTTONINFOW,
                      TB_INSERTBUTTON = TB_INSERTBUTTONW, TB_ADDBUTTONS = TB_ADDBUTTONSW,
                      TB_GETBUTTONTEXT = TB_GETBUTTONTEXTW, TB_SAVERESTORE = TB_SAVERESTOREW,
                      TB_ADDSTRING = TB_ADDSTRINGW, TB_GETSTRING = TB_GETSTRINGW;

// TB_GETBITMAPFLAGS
inline constexpr DWORD TBBF_LARGE = 0x0001;

// ---- notifications (WM_NOTIFY codes) -------------------------------------------------------------------
inline constexpr UINT TBN_FIRST = 0u - 700u, TBN_LAST = 0u - 720u;
inline constexpr UINT TBN_GETBUTTONINFOA = TBN_FIRST - 0, TBN_BEGINDRAG = TBN_FIRST - 1,
                      TBN_ENDDRAG = TBN_FIRST - 2, TBN_BEGINADJUST = TBN_FIRST - 3, TBN_ENDADJUST = TBN_FIRST - 4,
                      TBN_RESET = TBN_FIRST - 5, TBN_QUERYINSERT = TBN_FIRST - 6, TBN_QUERYDELETE = TBN_FIRST - 7,
                      TBN_TOOLBARCHANGE = TBN_FIRST - 8, TBN_CUSTHELP = TBN_FIRST - 9,
                      TBN_DROPDOWN = TBN_FIRST - 10, TBN_GETOBJECT = TBN_FIRST - 12,
                      TBN_HOTITEMCHANGE = TBN_FIRST - 13, TBN_DRAGOUT = TBN_FIRST - 14,
                      TBN_DELETINGBUTTON = TBN_FIRST - 15, TBN_GETDISPINFOA = TBN_FIRST - 16,
                      TBN_GETDISPINFOW = TBN_FIRST - 17, TBN_GETINFOTIPA = TBN_FIRST - 18,
                      TBN_GETINFOTIPW = TBN_FIRST - 19, TBN_GETBUTTONINFOW = TBN_FIRST - 20,
                      TBN_RESTORE = TBN_FIRST - 21, TBN_SAVE = TBN_FIRST - 22, TBN_INITCUSTOMIZE = TBN_FIRST - 23;
inline constexpr UINT TBN_GETBUTTONINFO = TBN_GETBUTTONINFOW, TBN_GETINFOTIP = TBN_GETINFOTIPW,
                      TBN_GETDISPINFO = TBN_GETDISPINFOW;
// TBN_DROPDOWN answers.
inline constexpr LRESULT TBDDRET_DEFAULT = 0, TBDDRET_NODEFAULT = 1, TBDDRET_TREATPRESSED = 2;
// TBN_INITCUSTOMIZE answer: the dialog shows no Help button.
inline constexpr LRESULT TBNRF_HIDEHELP = 0x1;
// TBN_HOTITEMCHANGE flags.
inline constexpr DWORD HICF_OTHER = 0x000, HICF_MOUSE = 0x001, HICF_ARROWKEYS = 0x002, HICF_ACCELERATOR = 0x004,
                       HICF_DUPACCEL = 0x008, HICF_ENTERING = 0x010, HICF_LEAVING = 0x020, HICF_RESELECT = 0x040,
                       HICF_LMOUSE = 0x080, HICF_TOGGLEDROPDOWN = 0x100;
// TBINSERTMARK flags.
inline constexpr DWORD TBIMHT_AFTER = 0x1, TBIMHT_BACKGROUND = 0x2;
// TBBUTTONINFO masks.
inline constexpr DWORD TBIF_IMAGE = 0x01, TBIF_TEXT = 0x02, TBIF_STATE = 0x04, TBIF_STYLE = 0x08,
                       TBIF_LPARAM = 0x10, TBIF_COMMAND = 0x20, TBIF_SIZE = 0x40, TBIF_BYINDEX = 0x80000000;

// ---- custom draw answers of a toolbar (with CDRF_*) ----------------------------------------------------------
inline constexpr LRESULT TBCDRF_NOEDGES = 0x00010000, TBCDRF_HILITEHOTTRACK = 0x00020000,
                         TBCDRF_NOOFFSET = 0x00040000, TBCDRF_NOMARK = 0x00080000,
                         TBCDRF_NOETCHEDEFFECT = 0x00100000, TBCDRF_BLENDICON = 0x00200000,
                         TBCDRF_NOBACKGROUND = 0x00400000, TBCDRF_USECDCOLORS = 0x00800000;

// ---- standard bitmaps (TB_ADDBITMAP / TB_LOADIMAGES with HINST_COMMCTRL) --------------------------------
inline HINSTANCE const HINST_COMMCTRL = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(-1));
inline constexpr UINT_PTR IDB_STD_SMALL_COLOR = 0, IDB_STD_LARGE_COLOR = 1, IDB_VIEW_SMALL_COLOR = 4,
                          IDB_VIEW_LARGE_COLOR = 5, IDB_HIST_SMALL_COLOR = 8, IDB_HIST_LARGE_COLOR = 9;
inline constexpr int STD_CUT = 0, STD_COPY = 1, STD_PASTE = 2, STD_UNDO = 3, STD_REDOW = 4, STD_DELETE = 5,
                     STD_FILENEW = 6, STD_FILEOPEN = 7, STD_FILESAVE = 8, STD_PRINTPRE = 9, STD_PROPERTIES = 10,
                     STD_HELP = 11, STD_FIND = 12, STD_REPLACE = 13, STD_PRINT = 14;
inline constexpr int VIEW_LARGEICONS = 0, VIEW_SMALLICONS = 1, VIEW_LIST = 2, VIEW_DETAILS = 3,
                     VIEW_SORTNAME = 4, VIEW_SORTSIZE = 5, VIEW_SORTDATE = 6, VIEW_SORTTYPE = 7,
                     VIEW_PARENTFOLDER = 8, VIEW_NETCONNECT = 9, VIEW_NETDISCONNECT = 10, VIEW_NEWFOLDER = 11;

// ---- structures -------------------------------------------------------------------------------------------
// A button as TB_INSERTBUTTON / TB_ADDBUTTONS / TB_GETBUTTON see it. iString is an index
// into the string pool, -1, or (when it is no integer resource value) a pointer to the
// button's own text: wide with the W messages, in the ANSI code page with the A messages.
struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
#if UINTPTR_MAX > 0xFFFFFFFFu
    BYTE bReserved[6];
#else
    BYTE bReserved[2];
#endif
    DWORD_PTR dwData;
    INT_PTR iString;
};
using LPTBBUTTON = TBBUTTON*;
using LPCTBBUTTON = const TBBUTTON*;

struct TBADDBITMAP {
    HINSTANCE hInst;   // a module with a bitmap resource, HINST_COMMCTRL, or null with an HBITMAP in nID
    UINT_PTR nID;
};
using LPTBADDBITMAP = TBADDBITMAP*;

struct TBREPLACEBITMAP {
    HINSTANCE hInstOld;
    UINT_PTR nIDOld;
    HINSTANCE hInstNew;
    UINT_PTR nIDNew;
    int nButtons;
};
using LPTBREPLACEBITMAP = TBREPLACEBITMAP*;

struct TBSAVEPARAMSW {
    HKEY hkr;
    LPCWSTR pszSubKey;
    LPCWSTR pszValueName;
};
struct TBSAVEPARAMSA {
    HKEY hkr;
    LPCSTR pszSubKey;
    LPCSTR pszValueName;
};
using TBSAVEPARAMS = TBSAVEPARAMSW;

struct TBINSERTMARK {
    int iButton;
    DWORD dwFlags;
};
using LPTBINSERTMARK = TBINSERTMARK*;

struct TBBUTTONINFOW {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPWSTR pszText;
    int cchText;
};
struct TBBUTTONINFOA {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
    LPSTR pszText;
    int cchText;
};
using TBBUTTONINFO = TBBUTTONINFOW;
using LPTBBUTTONINFOW = TBBUTTONINFOW*;
using LPTBBUTTONINFOA = TBBUTTONINFOA*;
using LPTBBUTTONINFO = TBBUTTONINFOW*;

// TBN_GETBUTTONINFO, TBN_BEGINDRAG, TBN_ENDDRAG, TBN_QUERYINSERT, TBN_QUERYDELETE,
// TBN_DROPDOWN, TBN_DELETINGBUTTON...
struct NMTOOLBARW {
    NMHDR hdr;
    int iItem;
    TBBUTTON tbButton;
    int cchText;
    LPWSTR pszText;
    RECT rcButton;
};
struct NMTOOLBARA {
    NMHDR hdr;
    int iItem;
    TBBUTTON tbButton;
    int cchText;
    LPSTR pszText;
    RECT rcButton;
};
using NMTOOLBAR = NMTOOLBARW;
using LPNMTOOLBARW = NMTOOLBARW*;
using LPNMTOOLBARA = NMTOOLBARA*;
using LPNMTOOLBAR = NMTOOLBARW*;
using TBNOTIFY = NMTOOLBARW;
using LPTBNOTIFY = NMTOOLBARW*;

struct NMTBHOTITEM {
    NMHDR hdr;
    int idOld;
    int idNew;
    DWORD dwFlags;
};
using LPNMTBHOTITEM = NMTBHOTITEM*;

// TBN_GETINFOTIP: the receiver writes at most cchTextMax characters into pszText.
struct NMTBGETINFOTIPW {
    NMHDR hdr;
    LPWSTR pszText;
    int cchTextMax;
    int iItem;
    LPARAM lParam;
};
struct NMTBGETINFOTIPA {
    NMHDR hdr;
    LPSTR pszText;
    int cchTextMax;
    int iItem;
    LPARAM lParam;
};
using NMTBGETINFOTIP = NMTBGETINFOTIPW;
using LPNMTBGETINFOTIPW = NMTBGETINFOTIPW*;
using LPNMTBGETINFOTIP = NMTBGETINFOTIPW*;

struct NMTBCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    HBRUSH hbrMonoDither;       // the checked buttons' dither brush (the control's)
    HBRUSH hbrLines;
    HPEN hpenLines;
    COLORREF clrText;           // text colour
    COLORREF clrMark;           // background of TBSTATE_MARKED buttons
    COLORREF clrTextHighlight;  // text colour of marked and highlighted hot buttons
    COLORREF clrBtnFace;        // the dither's first colour, the face under checked buttons
    COLORREF clrBtnHighlight;   // the dither's second colour
    COLORREF clrHighlightHotTrack; // hot background with TBCDRF_HILITEHOTTRACK
    RECT rcText;                // where the text goes (item pre-paint)
    int nStringBkMode;          // background mode of the text
    int nHLStringBkMode;        // background mode of highlighted text
    int iListGap;
};
using LPNMTBCUSTOMDRAW = NMTBCUSTOMDRAW*;

namespace zyn::comctl {

// Registers "ToolbarWindow32" as a system class (what InitCommonControlsEx does for
// ICC_BAR_CLASSES). FALSE when the window system refuses the class.
BOOL RegisterToolbarClass();

// Live toolbar controls, for leak checks.
size_t LiveToolbarCount();

} // namespace zyn::comctl
