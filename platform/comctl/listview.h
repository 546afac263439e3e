#pragma once
// The list-view common control ("SysListView32"): items with a text, an image, a state, an
// indent and an application value, each with sub-item texts, shown in one of four views
// (LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT with a "SysHeader32" child).
//
// Items live in one double-ended array in index order; inserting or deleting at either
// end is O(1), and nothing is laid out when an item arrives: geometry is worked out from the index and a
// few cached sizes when it is asked for or painted, and painting walks only the items in
// the update rectangle. Sub-item n can be set while a column shows it (or, before the
// columns are made, for n below 64). Texts may be LPSTR_TEXTCALLBACKW, images
// I_IMAGECALLBACK: the
// control then asks its parent with LVN_GETDISPINFOW each time it needs them
// (LVIF_DI_SETITEM in the answer keeps what was given).
//
// Geometry (all in client coordinates unless said otherwise). Let h be the line height of
// the control's font (tmHeight), (sx, sy) the small image list's image size and (tx, ty)
// the state image list's, each 0 x 0 without that list, and (ix, iy) the normal list's
// size or SM_CXICON x SM_CYICON without one.
// - Rows (report, list and small-icon views) are max(h, sy, ty) + 2 pixels high, one
//   more in a report with LVS_EX_GRIDLINES; an owner-drawn report (LVS_OWNERDRAWFIXED)
//   asks its parent once with WM_MEASUREITEM (itemHeight preset to that value, asked again
//   after a new font or image list) and uses the answer.
// - Report view: the header sits at the top (its height is the header's HDM_LAYOUT
//   answer, 0 with LVS_NOCOLUMNHEADER) and moves left with the horizontal scroll position.
//   Row i's top is headerHeight + (i - topIndex) * rowHeight. Columns follow the header's
//   order from x = -scrollX. In the first column: the state image (tx wide) at the left
//   after an indent of iIndent * sx, then the small image (sx wide: LVIR_ICON), then the
//   label up to the column's right edge (LVIR_LABEL). LVIR_BOUNDS is the whole row (all
//   columns); LVIR_SELECTBOUNDS is icon and label, to the end of the row with
//   LVS_EX_FULLROWSELECT. Labels are drawn 2 pixels inside their rectangle, sub-items 6.
// - List view: columns of items top to bottom, as many rows as fit the client height
//   (at least one); each column is as wide as the widest item (state image, small image
//   and text + 4) unless LVM_SETCOLUMNWIDTH set it.
// - Icon view: each item occupies a cell of the icon spacing (cx, cy); by default
//   cx = max(SM_CXICONSPACING, ix + 4) and cy = max(SM_CYICONSPACING, iy + 2h + 8). In the
//   cell at position P the icon box (LVIR_ICON) is [P.x, P.y, P.x + cx, P.y + iy + 4] with
//   the image centred horizontally 2 pixels below its top; the label text is wrapped to
//   cx - 4 pixels, at most two lines (one line, unwrapped, with LVS_NOLABELWRAP), and the
//   label (LVIR_LABEL) is that text's extent grown by 2 pixels left and right and 1 above
//   and below, centred under the icon box. LVIR_BOUNDS and LVIR_SELECTBOUNDS are both.
// - Small-icon view: cells as wide as the widest item and a row high; in a cell at P the
//   state image, the small image and the label (text + 4) follow each other from P.x.
// - Items in icon views that were not placed with LVM_SETITEMPOSITION (or all items with
//   LVS_AUTOARRANGE, or after LVM_ARRANGE) sit in the cell of their index: row by row
//   (LVS_ALIGNTOP), as many cells to a row as the client width holds (at least one), or
//   column by column with LVS_ALIGNLEFT. Positions (LVM_GET/SETITEMPOSITION in icon views)
//   are in view coordinates: the client's top-left is the view point LVM_GETORIGIN. In
//   report and list views LVM_GETITEMPOSITION gives the top-left of LVIR_BOUNDS (client
//   coordinates) and there is no origin. LVM_SCROLL moves report rows by dy rounded to
//   whole rows, list columns by dx rounded to whole columns, and icon views by pixels.
//
// Selection and input: a click selects the item under it alone (Ctrl toggles it, Shift
// selects from the selection mark to it; LVS_SINGLESEL allows one); the other items change
// first, in index order, then the item, each as LVN_ITEMCHANGING (an answer TRUE keeps
// that item as it was) and LVN_ITEMCHANGED; then a drag (beyond SM_CXDRAG / SM_CYDRAG, DragDetect) sends
// LVN_BEGINDRAG, else the release sends NM_CLICK. Right clicks select the same way (an
// already selected item keeps the selection) and end in LVN_BEGINRDRAG or NM_RCLICK, then
// WM_CONTEXTMENU unless NM_RCLICK was answered non-zero. Keys send LVN_KEYDOWN first; the
// arrows, Home, End, PageUp and PageDown move the focus and select the new item alone
// (Shift: from the mark; Ctrl: the focus only), Space selects the focused item (Ctrl+Space
// toggles it), Enter sends NM_RETURN and characters search item texts by prefix (typed
// within a second of each other they extend the prefix).
//
// A virtual list (LVS_OWNERDATA) holds no item data: LVM_SETITEMCOUNT sets how many rows
// there are, every text and image is asked with LVN_GETDISPINFOW, LVN_ODCACHEHINT tells
// which rows a paint is about to ask for, LVM_FINDITEM becomes LVN_ODFINDITEMW, and the
// control keeps only the rows' states (selection, focus). Inserting, setting texts or
// images and sorting are refused there.
#include <cstddef>

#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"
#include "platform/comctl/header.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* WC_LISTVIEWW = L"SysListView32";
inline constexpr const wchar_t* WC_LISTVIEW = WC_LISTVIEWW;

// ---- styles -----------------------------------------------------------------------------------------------
inline constexpr DWORD LVS_ICON = 0x0000, LVS_REPORT = 0x0001, LVS_SMALLICON = 0x0002, LVS_LIST = 0x0003,
                       LVS_TYPEMASK = 0x0003, LVS_SINGLESEL = 0x0004, LVS_SHOWSELALWAYS = 0x0008,
                       LVS_SORTASCENDING = 0x0010, LVS_SORTDESCENDING = 0x0020, LVS_SHAREIMAGELISTS = 0x0040,
                       LVS_NOLABELWRAP = 0x0080, LVS_AUTOARRANGE = 0x0100, LVS_EDITLABELS = 0x0200,
                       LVS_OWNERDRAWFIXED = 0x0400, LVS_ALIGNTOP = 0x0000, LVS_ALIGNLEFT = 0x0800,
                       LVS_ALIGNMASK = 0x0C00, LVS_OWNERDATA = 0x1000, LVS_NOSCROLL = 0x2000,
                       LVS_NOCOLUMNHEADER = 0x4000, LVS_NOSORTHEADER = 0x8000, LVS_TYPESTYLEMASK = 0xFC00;
inline constexpr DWORD LVS_EX_GRIDLINES = 0x00000001, LVS_EX_SUBITEMIMAGES = 0x00000002,
                       LVS_EX_CHECKBOXES = 0x00000004, LVS_EX_TRACKSELECT = 0x00000008,
                       LVS_EX_HEADERDRAGDROP = 0x00000010, LVS_EX_FULLROWSELECT = 0x00000020,
                       LVS_EX_ONECLICKACTIVATE = 0x00000040, LVS_EX_TWOCLICKACTIVATE = 0x00000080,
                       LVS_EX_FLATSB = 0x00000100, LVS_EX_REGIONAL = 0x00000200, LVS_EX_INFOTIP = 0x00000400,
                       LVS_EX_UNDERLINEHOT = 0x00000800, LVS_EX_UNDERLINECOLD = 0x00001000,
                       LVS_EX_MULTIWORKAREAS = 0x00002000, LVS_EX_LABELTIP = 0x00004000,
                       LVS_EX_BORDERSELECT = 0x00008000, LVS_EX_DOUBLEBUFFER = 0x00010000,
                       LVS_EX_HIDELABELS = 0x00020000, LVS_EX_SINGLEROW = 0x00040000,
                       LVS_EX_SNAPTOGRID = 0x00080000, LVS_EX_SIMPLESELECT = 0x00100000;
inline constexpr DWORD LV_VIEW_ICON = 0, LV_VIEW_DETAILS = 1, LV_VIEW_SMALLICON = 2, LV_VIEW_LIST = 3,
                       LV_VIEW_TILE = 4;

// ---- items ----------------------------------------------------------------------------------------------------
inline constexpr UINT LVIF_TEXT = 0x0001, LVIF_IMAGE = 0x0002, LVIF_PARAM = 0x0004, LVIF_STATE = 0x0008,
                      LVIF_INDENT = 0x0010, LVIF_GROUPID = 0x0100, LVIF_COLUMNS = 0x0200,
                      LVIF_NORECOMPUTE = 0x0800, LVIF_DI_SETITEM = 0x1000;
inline constexpr UINT LVIS_FOCUSED = 0x0001, LVIS_SELECTED = 0x0002, LVIS_CUT = 0x0004, LVIS_DROPHILITED = 0x0008,
                      LVIS_GLOW = 0x0010, LVIS_ACTIVATING = 0x0020, LVIS_OVERLAYMASK = 0x0F00,
                      LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }
constexpr UINT STATEIMAGEMASKTOINDEX(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }
inline constexpr int I_INDENTCALLBACK = -1;

// ---- LVM_GETNEXTITEM, LVM_FINDITEM, LVM_GETITEMRECT, LVM_HITTEST ---------------------------------------------
inline constexpr UINT LVNI_ALL = 0x0000, LVNI_FOCUSED = 0x0001, LVNI_SELECTED = 0x0002, LVNI_CUT = 0x0004,
                      LVNI_DROPHILITED = 0x0008, LVNI_STATEMASK = 0x000F, LVNI_ABOVE = 0x0100,
                      LVNI_BELOW = 0x0200, LVNI_TOLEFT = 0x0400, LVNI_TORIGHT = 0x0800,
                      LVNI_DIRECTIONMASK = 0x0F00;
inline constexpr UINT LVFI_PARAM = 0x0001, LVFI_STRING = 0x0002, LVFI_SUBSTRING = 0x0004, LVFI_PARTIAL = 0x0008,
                      LVFI_WRAP = 0x0020, LVFI_NEARESTXY = 0x0040;
inline constexpr int LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2, LVIR_SELECTBOUNDS = 3;
// LVHT_ONITEMSTATEICON and LVHT_ABOVE share a value, as they always have: the item index
// (-1 or not) tells which is meant.
inline constexpr UINT LVHT_NOWHERE = 0x0001, LVHT_ONITEMICON = 0x0002, LVHT_ONITEMLABEL = 0x0004,
                      LVHT_ONITEMSTATEICON = 0x0008, LVHT_ONITEM = 0x000E, LVHT_ABOVE = 0x0008,
                      LVHT_BELOW = 0x0010, LVHT_TORIGHT = 0x0020, LVHT_TOLEFT = 0x0040;

// ---- image lists, column widths, arranging, item counts --------------------------------------------------------
inline constexpr int LVSIL_NORMAL = 0, LVSIL_SMALL = 1, LVSIL_STATE = 2;
inline constexpr int LVSCW_AUTOSIZE = -1, LVSCW_AUTOSIZE_USEHEADER = -2;
inline constexpr UINT LVA_DEFAULT = 0x0000, LVA_ALIGNLEFT = 0x0001, LVA_ALIGNTOP = 0x0002, LVA_SNAPTOGRID = 0x0005;
inline constexpr UINT LVSICF_NOINVALIDATEALL = 0x0001, LVSICF_NOSCROLL = 0x0002;

// ---- columns ---------------------------------------------------------------------------------------------------
inline constexpr UINT LVCF_FMT = 0x0001, LVCF_WIDTH = 0x0002, LVCF_TEXT = 0x0004, LVCF_SUBITEM = 0x0008,
                      LVCF_IMAGE = 0x0010, LVCF_ORDER = 0x0020;
inline constexpr int LVCFMT_LEFT = 0x0000, LVCFMT_RIGHT = 0x0001, LVCFMT_CENTER = 0x0002,
                     LVCFMT_JUSTIFYMASK = 0x0003, LVCFMT_IMAGE = 0x0800, LVCFMT_BITMAP_ON_RIGHT = 0x1000,
                     LVCFMT_COL_HAS_IMAGES = 0x8000;

// ---- messages ----------------------------------------------------------------------------------------------------
inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0, LVM_SETBKCOLOR = LVM_FIRST + 1,
                      LVM_GETIMAGELIST = LVM_FIRST + 2, LVM_SETIMAGELIST = LVM_FIRST + 3,
                      LVM_GETITEMCOUNT = LVM_FIRST + 4, LVM_DELETEITEM = LVM_FIRST + 8,
                      LVM_DELETEALLITEMS = LVM_FIRST + 9, LVM_GETCALLBACKMASK = LVM_FIRST + 10,
                      LVM_SETCALLBACKMASK = LVM_FIRST + 11, LVM_GETNEXTITEM = LVM_FIRST + 12,
                      LVM_GETITEMRECT = LVM_FIRST + 14, LVM_SETITEMPOSITION = LVM_FIRST + 15,
                      LVM_GETITEMPOSITION = LVM_FIRST + 16, LVM_HITTEST = LVM_FIRST + 18,
                      LVM_ENSUREVISIBLE = LVM_FIRST + 19, LVM_SCROLL = LVM_FIRST + 20,
                      LVM_REDRAWITEMS = LVM_FIRST + 21, LVM_ARRANGE = LVM_FIRST + 22,
                      LVM_GETEDITCONTROL = LVM_FIRST + 24, LVM_DELETECOLUMN = LVM_FIRST + 28,
                      LVM_GETCOLUMNWIDTH = LVM_FIRST + 29, LVM_SETCOLUMNWIDTH = LVM_FIRST + 30,
                      LVM_GETHEADER = LVM_FIRST + 31, LVM_CREATEDRAGIMAGE = LVM_FIRST + 33,
                      LVM_GETVIEWRECT = LVM_FIRST + 34, LVM_GETTEXTCOLOR = LVM_FIRST + 35,
                      LVM_SETTEXTCOLOR = LVM_FIRST + 36, LVM_GETTEXTBKCOLOR = LVM_FIRST + 37,
                      LVM_SETTEXTBKCOLOR = LVM_FIRST + 38, LVM_GETTOPINDEX = LVM_FIRST + 39,
                      LVM_GETCOUNTPERPAGE = LVM_FIRST + 40, LVM_GETORIGIN = LVM_FIRST + 41,
                      LVM_UPDATE = LVM_FIRST + 42, LVM_SETITEMSTATE = LVM_FIRST + 43,
                      LVM_GETITEMSTATE = LVM_FIRST + 44, LVM_SETITEMCOUNT = LVM_FIRST + 47,
                      LVM_SORTITEMS = LVM_FIRST + 48, LVM_SETITEMPOSITION32 = LVM_FIRST + 49,
                      LVM_GETSELECTEDCOUNT = LVM_FIRST + 50, LVM_GETITEMSPACING = LVM_FIRST + 51,
                      LVM_SETICONSPACING = LVM_FIRST + 53, LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54,
                      LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55, LVM_GETSUBITEMRECT = LVM_FIRST + 56,
                      LVM_SUBITEMHITTEST = LVM_FIRST + 57, LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58,
                      LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59, LVM_SETHOTITEM = LVM_FIRST + 60,
                      LVM_GETHOTITEM = LVM_FIRST + 61, LVM_GETSELECTIONMARK = LVM_FIRST + 66,
                      LVM_SETSELECTIONMARK = LVM_FIRST + 67, LVM_SETTOOLTIPS = LVM_FIRST + 74,
                      LVM_GETITEMW = LVM_FIRST + 75, LVM_SETITEMW = LVM_FIRST + 76,
                      LVM_INSERTITEMW = LVM_FIRST + 77, LVM_GETTOOLTIPS = LVM_FIRST + 78,
                      LVM_SORTITEMSEX = LVM_FIRST + 81, LVM_FINDITEMW = LVM_FIRST + 83,
                      LVM_GETSTRINGWIDTHW = LVM_FIRST + 87, LVM_GETCOLUMNW = LVM_FIRST + 95,
                      LVM_SETCOLUMNW = LVM_FIRST + 96, LVM_INSERTCOLUMNW = LVM_FIRST + 97,
                      LVM_GETITEMTEXTW = LVM_FIRST + 115, LVM_SETITEMTEXTW = LVM_FIRST + 116,
                      LVM_GETISEARCHSTRINGW = LVM_FIRST + 117, LVM_EDITLABELW = LVM_FIRST + 118,
                      LVM_SETVIEW = LVM_FIRST + 142, LVM_GETVIEW = LVM_FIRST + 143,
                      LVM_CANCELEDITLABEL = LVM_FIRST + 179, LVM_ISITEMVISIBLE = LVM_FIRST + 182;
inline constexpr UINT LVM_GETITEM = LVM_GETITEMW, LVM_SETITEM = LVM_SETITEMW, LVM_INSERTITEM = LVM_INSERTITEMW,
                      LVM_FINDITEM = LVM_FINDITEMW, LVM_GETSTRINGWIDTH = LVM_GETSTRINGWIDTHW,
                      LVM_GETCOLUMN = LVM_GETCOLUMNW, LVM_SETCOLUMN = LVM_SETCOLUMNW,
                      LVM_INSERTCOLUMN = LVM_INSERTCOLUMNW, LVM_GETITEMTEXT = LVM_GETITEMTEXTW,
                      LVM_SETITEMTEXT = LVM_SETITEMTEXTW, LVM_EDITLABEL = LVM_EDITLABELW,
                      LVM_GETISEARCHSTRING = LVM_GETISEARCHSTRINGW;

// ---- notifications ------------------------------------------------------------------------------------------------
inline constexpr UINT LVN_FIRST = 0u - 100u, LVN_LAST = 0u - 199u;
inline constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0, LVN_ITEMCHANGED = LVN_FIRST - 1,
                      LVN_INSERTITEM = LVN_FIRST - 2, LVN_DELETEITEM = LVN_FIRST - 3,
                      LVN_DELETEALLITEMS = LVN_FIRST - 4, LVN_COLUMNCLICK = LVN_FIRST - 8,
                      LVN_BEGINDRAG = LVN_FIRST - 9, LVN_BEGINRDRAG = LVN_FIRST - 11,
                      LVN_ODCACHEHINT = LVN_FIRST - 13, LVN_ITEMACTIVATE = LVN_FIRST - 14,
                      LVN_ODSTATECHANGED = LVN_FIRST - 15, LVN_HOTTRACK = LVN_FIRST - 21,
                      LVN_KEYDOWN = LVN_FIRST - 55, LVN_MARQUEEBEGIN = LVN_FIRST - 56,
                      LVN_GETINFOTIPW = LVN_FIRST - 58, LVN_BEGINLABELEDITW = LVN_FIRST - 75,
                      LVN_ENDLABELEDITW = LVN_FIRST - 76, LVN_GETDISPINFOW = LVN_FIRST - 77,
                      LVN_SETDISPINFOW = LVN_FIRST - 78, LVN_ODFINDITEMW = LVN_FIRST - 79;
inline constexpr UINT LVN_GETINFOTIP = LVN_GETINFOTIPW, LVN_BEGINLABELEDIT = LVN_BEGINLABELEDITW,
                      LVN_ENDLABELEDIT = LVN_ENDLABELEDITW, LVN_GETDISPINFO = LVN_GETDISPINFOW,
                      LVN_SETDISPINFO = LVN_SETDISPINFOW, LVN_ODFINDITEM = LVN_ODFINDITEMW;
// NMITEMACTIVATE's uKeyFlags.
inline constexpr UINT LVKF_ALT = 0x0001, LVKF_CONTROL = 0x0002, LVKF_SHIFT = 0x0004;
// NMLVGETINFOTIP's dwFlags: the item's text is shown whole already.
inline constexpr DWORD LVGIT_UNFOLDED = 0x0001;

// WM_DRAWITEM / WM_MEASUREITEM CtlType of an owner-drawn report.
inline constexpr UINT ODT_LISTVIEW = 102;

// ---- structures ----------------------------------------------------------------------------------------------------
struct LVITEMW {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;     // a text, LPSTR_TEXTCALLBACKW, or (getting) the caller's buffer
    int cchTextMax;     // the buffer's size in characters
    int iImage;         // an index, I_IMAGECALLBACK or I_IMAGENONE
    LPARAM lParam;
    int iIndent;        // in image widths
    int iGroupId;
    UINT cColumns;
    UINT* puColumns;
    int* piColFmt;
    int iGroup;
};
using LVITEM = LVITEMW;
using LPLVITEMW = LVITEMW*;
using LPLVITEM = LVITEMW*;
using LV_ITEM = LVITEMW;

struct LVCOLUMNW {
    UINT mask;
    int fmt;            // LVCFMT_*
    int cx;
    LPWSTR pszText;
    int cchTextMax;
    int iSubItem;       // the sub-item the column shows
    int iImage;
    int iOrder;
    int cxMin;
    int cxDefault;
    int cxIdeal;
};
using LVCOLUMN = LVCOLUMNW;
using LPLVCOLUMNW = LVCOLUMNW*;
using LPLVCOLUMN = LVCOLUMNW*;
using LV_COLUMN = LVCOLUMNW;

struct LVFINDINFOW {
    UINT flags;         // LVFI_*
    LPCWSTR psz;
    LPARAM lParam;
    POINT pt;           // LVFI_NEARESTXY
    UINT vkDirection;
};
using LVFINDINFO = LVFINDINFOW;
using LPFINDINFOW = LVFINDINFOW*;
using LV_FINDINFO = LVFINDINFOW;

struct LVHITTESTINFO {
    POINT pt;           // client coordinates
    UINT flags;         // LVHT_*
    int iItem;
    int iSubItem;
    int iGroup;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;
using LV_HITTESTINFO = LVHITTESTINFO;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;      // LVIF_* of what changes
    POINT ptAction;
    LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;
using NM_LISTVIEW = NMLISTVIEW;

// NM_CLICK, NM_DBLCLK, NM_RCLICK, NM_RDBLCLK, LVN_ITEMACTIVATE.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;     // LVKF_*
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

struct NMLVDISPINFOW {
    NMHDR hdr;
    LVITEMW item;
};
using NMLVDISPINFO = NMLVDISPINFOW;
using LV_DISPINFO = NMLVDISPINFOW;
using LPNMLVDISPINFOW = NMLVDISPINFOW*;

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
using LPNMLVKEYDOWN = NMLVKEYDOWN*;
using LV_KEYDOWN = NMLVKEYDOWN;

struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText;
    COLORREF clrTextBk;
    int iSubItem;
    DWORD dwItemType;
    COLORREF clrFace;
    int iIconEffect;
    int iIconPhase;
    int iPartId;
    int iStateId;
    RECT rcText;
    UINT uAlign;
};
using LPNMLVCUSTOMDRAW = NMLVCUSTOMDRAW*;

struct NMLVGETINFOTIPW {
    NMHDR hdr;
    DWORD dwFlags;      // LVGIT_UNFOLDED when the text is not cut
    LPWSTR pszText;     // holds the item's text on entry (unless unfolded)
    int cchTextMax;
    int iItem;
    int iSubItem;
    LPARAM lParam;
};
using NMLVGETINFOTIP = NMLVGETINFOTIPW;
using LPNMLVGETINFOTIPW = NMLVGETINFOTIPW*;

// LVN_ODCACHEHINT: the rows [iFrom, iTo] are about to be asked for.
struct NMLVCACHEHINT {
    NMHDR hdr;
    int iFrom;
    int iTo;
};
using LPNMLVCACHEHINT = NMLVCACHEHINT*;

// LVN_ODFINDITEMW: the parent answers the index found from iStart, or -1.
struct NMLVFINDITEMW {
    NMHDR hdr;
    int iStart;
    LVFINDINFOW lvfi;
};
using NMLVFINDITEM = NMLVFINDITEMW;
using LPNMLVFINDITEMW = NMLVFINDITEMW*;

// LVM_SORTITEMS: compares two items' lParams (LVM_SORTITEMSEX: their indexes before the
// sort); negative when the first comes first.
using PFNLVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

namespace zyn::comctl {

// Registers "SysListView32" (and "SysHeader32") as system classes, what
// InitCommonControlsEx does for ICC_LISTVIEW_CLASSES. FALSE when the window system
// refuses a class.
BOOL RegisterListViewClass();

// Live list-view controls (their state), for leak checks.
size_t LiveListViewCount();

} // namespace zyn::comctl
