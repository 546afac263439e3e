#pragma once
// The header common control ("SysHeader32"): a row of column titles, each an item with a
// text, a width, an alignment, an image and an application value, that the user clicks
// (HDS_BUTTONS) and resizes by dragging the divider at an item's right edge.
//
// Items are kept by index; their display order is a separate permutation (HDI_ORDER,
// HDM_GET/SETORDERARRAY, HDM_ORDERTOINDEX). An item inserted without HDI_ORDER takes the
// display position of its index. Items are laid out left to right in display order from
// x = 0, each as wide as its width (negative widths count as 0).
//
// Geometry: the control's height (HDM_LAYOUT) is the line height of its font (tmHeight)
// plus 6 pixels (3 above and below the text, the raised edge included), or the image
// list's height plus 6 when that is taller. A point is on a divider when it lies within 4
// pixels of an item's right edge (right - 4 <= x < right + 4): left of the edge it names
// the item there (HHT_ONDIVIDER), right of it a zero-width item that follows (HHT_ONDIVOPEN)
// when there is one. Text is drawn 6 pixels inside the item on both sides, one line,
// vertically centred, cut with an ellipsis, in the item's alignment.
//
// Mouse: with HDS_BUTTONS a press on an item shows it pressed and a release on the same
// item sends HDN_ITEMCLICK. A press on a divider starts tracking (HDN_BEGINTRACK; an
// answer TRUE refuses it): the mouse is captured, each move sends HDN_TRACK with the new
// width (an answer TRUE ends tracking there) and, with HDS_FULLDRAG, changes the width at
// once (HDN_ITEMCHANGING / HDN_ITEMCHANGED); the release sends HDN_ENDTRACK and applies
// the width. Escape or a lost capture cancels: the width goes back to what it was and
// HDN_ENDTRACK carries it. A double click on a divider sends HDN_DIVIDERDBLCLICK.
// Notifications go to the parent in the wide form; every change of an item (insert
// aside) is offered as HDN_ITEMCHANGING, which an answer TRUE refuses, and reported as
// HDN_ITEMCHANGED.
#include "platform/base/wintypes.h"
#include "platform/comctl/comctl_common.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/user_types.h"

inline constexpr const wchar_t* WC_HEADERW = L"SysHeader32";
inline constexpr const wchar_t* WC_HEADER = WC_HEADERW;

// ---- styles -----------------------------------------------------------------------------------------------
inline constexpr DWORD HDS_HORZ = 0x0000, HDS_BUTTONS = 0x0002, HDS_HOTTRACK = 0x0004, HDS_HIDDEN = 0x0008,
                       HDS_DRAGDROP = 0x0040, HDS_FULLDRAG = 0x0080, HDS_FILTERBAR = 0x0100, HDS_FLAT = 0x0200;

// ---- HDITEM mask and format -------------------------------------------------------------------------------
inline constexpr UINT HDI_WIDTH = 0x0001, HDI_HEIGHT = HDI_WIDTH, HDI_TEXT = 0x0002, HDI_FORMAT = 0x0004,
                      HDI_LPARAM = 0x0008, HDI_BITMAP = 0x0010, HDI_IMAGE = 0x0020, HDI_DI_SETITEM = 0x0040,
                      HDI_ORDER = 0x0080, HDI_FILTER = 0x0100, HDI_STATE = 0x0200;
inline constexpr int HDF_LEFT = 0x0000, HDF_RIGHT = 0x0001, HDF_CENTER = 0x0002, HDF_JUSTIFYMASK = 0x0003,
                     HDF_RTLREADING = 0x0004, HDF_SORTDOWN = 0x0200, HDF_SORTUP = 0x0400, HDF_IMAGE = 0x0800,
                     HDF_BITMAP_ON_RIGHT = 0x1000, HDF_BITMAP = 0x2000, HDF_STRING = 0x4000,
                     HDF_OWNERDRAW = 0x8000;

// ---- hit testing ----------------------------------------------------------------------------------------------
inline constexpr UINT HHT_NOWHERE = 0x0001, HHT_ONHEADER = 0x0002, HHT_ONDIVIDER = 0x0004,
                      HHT_ONDIVOPEN = 0x0008, HHT_ONFILTER = 0x0010, HHT_ONFILTERBUTTON = 0x0020,
                      HHT_ABOVE = 0x0100, HHT_BELOW = 0x0200, HHT_TORIGHT = 0x0400, HHT_TOLEFT = 0x0800;

// ---- messages -------------------------------------------------------------------------------------------------
inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0, HDM_INSERTITEMA = HDM_FIRST + 1,
                      HDM_DELETEITEM = HDM_FIRST + 2, HDM_GETITEMA = HDM_FIRST + 3, HDM_SETITEMA = HDM_FIRST + 4,
                      HDM_LAYOUT = HDM_FIRST + 5, HDM_HITTEST = HDM_FIRST + 6, HDM_GETITEMRECT = HDM_FIRST + 7,
                      HDM_SETIMAGELIST = HDM_FIRST + 8, HDM_GETIMAGELIST = HDM_FIRST + 9,
                      HDM_INSERTITEMW = HDM_FIRST + 10, HDM_GETITEMW = HDM_FIRST + 11,
                      HDM_SETITEMW = HDM_FIRST + 12, HDM_ORDERTOINDEX = HDM_FIRST + 15,
                      HDM_CREATEDRAGIMAGE = HDM_FIRST + 16, HDM_GETORDERARRAY = HDM_FIRST + 17,
                      HDM_SETORDERARRAY = HDM_FIRST + 18, HDM_SETHOTDIVIDER = HDM_FIRST + 19,
                      HDM_SETBITMAPMARGIN = HDM_FIRST + 20, HDM_GETBITMAPMARGIN = HDM_FIRST + 21;
inline constexpr UINT HDM_INSERTITEM = HDM_INSERTITEMW, HDM_GETITEM = HDM_GETITEMW, HDM_SETITEM = HDM_SETITEMW;

// ---- notifications --------------------------------------------------------------------------------------------
inline constexpr UINT HDN_FIRST = 0u - 300u, HDN_LAST = 0u - 399u;
inline constexpr UINT HDN_ITEMCHANGINGA = HDN_FIRST - 0, HDN_ITEMCHANGEDA = HDN_FIRST - 1,
                      HDN_ITEMCLICKA = HDN_FIRST - 2, HDN_ITEMDBLCLICKA = HDN_FIRST - 3,
                      HDN_DIVIDERDBLCLICKA = HDN_FIRST - 5, HDN_BEGINTRACKA = HDN_FIRST - 6,
                      HDN_ENDTRACKA = HDN_FIRST - 7, HDN_TRACKA = HDN_FIRST - 8, HDN_GETDISPINFOA = HDN_FIRST - 9,
                      HDN_BEGINDRAG = HDN_FIRST - 10, HDN_ENDDRAG = HDN_FIRST - 11,
                      HDN_ITEMCHANGINGW = HDN_FIRST - 20, HDN_ITEMCHANGEDW = HDN_FIRST - 21,
                      HDN_ITEMCLICKW = HDN_FIRST - 22, HDN_ITEMDBLCLICKW = HDN_FIRST - 23,
                      HDN_DIVIDERDBLCLICKW = HDN_FIRST - 25, HDN_BEGINTRACKW = HDN_FIRST - 26,
                      HDN_ENDTRACKW = HDN_FIRST - 27, HDN_TRACKW = HDN_FIRST - 28,
                      HDN_GETDISPINFOW = HDN_FIRST - 29;
inline constexpr UINT HDN_ITEMCHANGING = HDN_ITEMCHANGINGW, HDN_ITEMCHANGED = HDN_ITEMCHANGEDW,
                      HDN_ITEMCLICK = HDN_ITEMCLICKW, HDN_ITEMDBLCLICK = HDN_ITEMDBLCLICKW,
                      HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKW, HDN_BEGINTRACK = HDN_BEGINTRACKW,
                      HDN_ENDTRACK = HDN_ENDTRACKW, HDN_TRACK = HDN_TRACKW, HDN_GETDISPINFO = HDN_GETDISPINFOW;

// ---- structures -----------------------------------------------------------------------------------------------
// An item as the messages read and write it; `mask` names the members that count.
// pszText may be LPSTR_TEXTCALLBACKW (the text is asked with HDN_GETDISPINFOW).
struct HDITEMW {
    UINT mask;
    int cxy;            // width
    LPWSTR pszText;
    HBITMAP hbm;
    int cchTextMax;     // HDM_GETITEM: the buffer's size in characters
    int fmt;            // HDF_*
    LPARAM lParam;
    int iImage;
    int iOrder;         // display position
    UINT type;
    void* pvFilter;
    UINT state;
};
using HDITEM = HDITEMW;
using LPHDITEMW = HDITEMW*;
using LPHDITEM = HDITEMW*;

// HDM_LAYOUT: the control's place inside *prc (which is shrunk by it) into *pwpos.
struct HDLAYOUT {
    RECT* prc;
    WINDOWPOS* pwpos;
};
using LPHDLAYOUT = HDLAYOUT*;

struct HDHITTESTINFO {
    POINT pt;           // client coordinates
    UINT flags;         // HHT_*
    int iItem;          // -1 for none
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

struct NMHEADERW {
    NMHDR hdr;
    int iItem;
    int iButton;        // 0 left, 1 right, 2 middle
    HDITEMW* pitem;     // what changes or changed (may be null)
};
using NMHEADER = NMHEADERW;
using LPNMHEADERW = NMHEADERW*;
using LPNMHEADER = NMHEADERW*;
using HD_NOTIFY = NMHEADERW;

// HDN_GETDISPINFOW: the receiver fills what `mask` asks (text into pszText, at most
// cchTextMax characters, or points pszText at its own string).
struct NMHDDISPINFOW {
    NMHDR hdr;
    int iItem;
    UINT mask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using NMHDDISPINFO = NMHDDISPINFOW;
using LPNMHDDISPINFOW = NMHDDISPINFOW*;

// ODT_HEADER: the CtlType of an owner-drawn (HDF_OWNERDRAW) item's WM_DRAWITEM.
inline constexpr UINT ODT_HEADER = 100;

namespace zyn::comctl {

// Registers "SysHeader32" as a system class (what InitCommonControlsEx does for
// ICC_LISTVIEW_CLASSES). FALSE when the window system refuses the class.
BOOL RegisterHeaderClass();

// Live header controls (their state), for leak checks.
size_t LiveHeaderCount();

} // namespace zyn::comctl
