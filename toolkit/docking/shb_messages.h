#pragma once
// The shortcut bar's vocabulary: the notification codes it and its list controls send to
// the application, the private messages that pass between the bar, its group windows and
// the lists, and the records those carry.
//
// Every notification travels as WM_NOTIFY with one common record, NMSHORTCUTBAR: the bar
// fills hwndFrom and idFrom with its own window and id and sends it to its owner (the
// owner when one is set, else the parent); a list inside a bar hands its records to the
// bar, so the application sees every notification as the bar's. The send's answer is the
// notification's result, and for most codes a non-zero answer refuses or takes over what
// was about to happen (see each code). Records live on the sender's stack and are valid
// only during the send; the text pointers they carry are wide, zero-terminated strings.
//
// The records are in-process: pointers, LPARAM and LRESULT are pointer-sized here. Only
// the drag data of an item (shb_drag_block.h) is a byte format.
#include <memory>

#include "platform/base/wintypes.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/user_types.h"

class CMenu;
class COXShortcutBar;

// A group of the bar: an opaque value, never 0 for a group (the bar counts them from 1).
ZYN_DECLARE_HANDLE(HSHBGROUP);

// The control id of the in-place editor that the bar and each list create as their child.
inline constexpr UINT SHB_IDCEDIT = 0xFFFF;

// ---- notification codes (NMSHORTCUTBAR's hdr.code) ------------------------------------------------
// hGroup / nItem / lParam as each line says; "answer" is what a non-zero answer does.
inline constexpr UINT SHBN_DRAGENTER = 0x80A4;         // list: group / -1 / drop-target action; parent took it
inline constexpr UINT SHBN_DRAGLEAVE = 0x80A5;         // list, bar (group 0) / -1 / drop-target action; parent took it
inline constexpr UINT SHBN_DRAGOVER = 0x80A6;          // list, bar (group 0) / -1 / drop-target action; parent set result
inline constexpr UINT SHBN_DROP = 0x80A8;              // list: group / -1 / drop-target action; parent took the drop
inline constexpr UINT SHBN_SETDRAGGROUP = 0x80D0;      // bar: new drag group / -1 / POINT* drag offset; ignored
inline constexpr UINT SHBN_BEGINHEADEREDIT = 0x80D1;   // bar: group / -1 / current title; the edit does not start
inline constexpr UINT SHBN_DELETEGROUP = 0x80D2;       // bar: group / -1 / 0; the group stays
inline constexpr UINT SHBN_ENDHEADEREDIT = 0x80D3;     // bar: group / -1 / new or old title; the title stays
inline constexpr UINT SHBN_GETHEADERTIP = 0x80D4;      // bar: group / -1 / SHBToolTipText*; the request's result
inline constexpr UINT SHBN_GROUPEXPANDED = 0x80D5;     // bar: new expanded group / -1 / 0; ignored
inline constexpr UINT SHBN_GROUPEXPANDING = 0x80D7;    // bar: group / -1 / 0; the current group stays expanded
inline constexpr UINT SHBN_DRAWHEADER = 0x80D8;        // bar: group / -1 / DRAWITEMSTRUCT*; the parent drew it
inline constexpr UINT SHBN_DROPGROUP = 0x80D9;         // bar: dragged group / -1 / target group; the order stays
inline constexpr UINT SHBN_INSERTGROUP = 0x80DA;       // bar: 0 / -1 / SHB_GROUPINFO*; the group is not inserted
inline constexpr UINT SHBN_BEGINDRAGITEM = 0x80DB;     // list: group / item / POINT* hot spot (may change); ignored
inline constexpr UINT SHBN_BEGINITEMEDIT = 0x80DC;     // list: group / item / item text; the edit does not start
inline constexpr UINT SHBN_DELETEALLITEMS = 0x80DD;    // list: group / -1 / 0; ignored
inline constexpr UINT SHBN_DELETEITEM = 0x80DE;        // list: group / item / 0; ignored
inline constexpr UINT SHBN_ENDITEMEDIT = 0x80DF;       // list: group / item / new text; the text stays
inline constexpr UINT SHBN_GETITEMTIP = 0x80E0;        // list: group / item / SHBToolTipText*; the request's result
inline constexpr UINT SHBN_INSERTITEM = 0x80E1;        // list: group / requested index / LVITEM*; ignored
inline constexpr UINT SHBN_SELECTITEM = 0x80E2;        // list: group / new item (-1 none) / 0; the selection stays
inline constexpr UINT SHBN_ACTIVATEITEM = 0x80E3;      // list: group / new item / 0; the active item stays
inline constexpr UINT SHBN_HOTITEM = 0x80E4;           // list: group / new item / 0; the hot item stays
inline constexpr UINT SHBN_DRAWITEM = 0x80E5;          // list: group / item / DRAWITEMSTRUCT*; the parent drew it
inline constexpr UINT SHBN_GETDROPTARGET = 0x80E6;     // bar (group 0), list / -1 / 0; with a COleDropTarget* left in lParam
inline constexpr UINT SHBN_GETDROPSOURCE = 0x80E7;     // list: group / -1 / 0; with a COleDropSource* left in lParam
inline constexpr UINT SHBN_BEGINDRAGLOOP = 0x80E8;     // list: group / item / COleDataSource*; the drag does not start
inline constexpr UINT SHBN_GETEXTRADRAGDATA = 0x80E9;  // list: group / item / SHBExtraDragData* to fill; ignored
inline constexpr UINT SHBN_EXTRADRAGDATADROPPED = 0x80EA; // list: group / insertion index / SHBExtraDragData*; ignored
inline constexpr UINT SHBN_ENDDRAG = 0x80EB;           // list: group / 0 source, -1 target / drop effect; ignored
inline constexpr UINT SHBN_CONTEXTMENU = 0x80EC;       // bar: group / -1 / SHBContextMenuInfo*; the menu is not shown

// ---- private messages (SendMessage unless said otherwise) ------------------------------------------
// bar → the child window of the group under a right click: wParam 0, lParam SHBContextMenuInfo*.
inline constexpr UINT SHBM_POPULATECONTEXTMENU = 0x80EE;
// bar → a group's child window after insertion or when it is set: wParam 0, lParam the group.
inline constexpr UINT SHBM_SETSHBGROUP = 0x80EF;
// bar → a group's child window after SetGroupInfo: wParam 0, lParam the changed SHBIF_* bits.
inline constexpr UINT SHBM_GROUPINFOCHANGED = 0x80F0;
// bar → every descendant after a setting changed: wParam 0, lParam SHBIF_CHANGED_* bits.
inline constexpr UINT SHBM_SHBINFOCHANGED = 0x80F1;
// bar → a group's child window when the group is deleted: wParam 0, lParam 0.
inline constexpr UINT SHBM_DELETESHBGROUP = 0x80F2;
// list → itself, posted after mouse messages and by its hot-item timer: the capture check.
inline constexpr UINT SHBLCM_CHECKCAPTURE = 0x80F3;
// list → itself, posted by SetDragItem: wParam the item, lParam the COleDataSource*.
inline constexpr UINT SHBLCM_HANDLEDRAG = 0x80F4;
// (The drop target's own messages 0x80AD..0x80B2 and the drop source's 0x80B3..0x80B5
// are in shb_drop_target.h and shb_drop_source.h.)

// SHBM_SHBINFOCHANGED's lParam: what changed.
inline constexpr LPARAM SHBIF_CHANGED_SCROLLBUTTONSIZE = 0x0001;
inline constexpr LPARAM SHBIF_CHANGED_SCROLLINGDELAY = 0x0002;
inline constexpr LPARAM SHBIF_CHANGED_AUTOSCROLLINGDELAY = 0x0004;
inline constexpr LPARAM SHBIF_CHANGED_GROUPMARGIN = 0x0008;
inline constexpr LPARAM SHBIF_CHANGED_CHILDMARGINS = 0x0010;
inline constexpr LPARAM SHBIF_CHANGED_BARSTYLE = 0x0020;
inline constexpr LPARAM SHBIF_CHANGED_AUTOEXPANDDELAY = 0x0040;

// ---- the bar's style (GetBarStyle / SetBarStyle; only the low 16 bits exist) -------------------------
inline constexpr DWORD SHBS_DISABLEDRAGITEM = 0x0001;       // items cannot be dragged out of the lists
inline constexpr DWORD SHBS_DISABLEDROPITEM = 0x0002;       // nothing can be dropped on the bar or its lists
inline constexpr DWORD SHBS_EDITHEADERS = 0x0004;           // groups can be added, removed and renamed
inline constexpr DWORD SHBS_EDITITEMS = 0x0008;             // item texts can be edited and items removed
inline constexpr DWORD SHBS_INFOTIP = 0x0010;               // tooltips for headers and items
inline constexpr DWORD SHBS_NOSCROLL = 0x0020;              // the lists show no scroll buttons
inline constexpr DWORD SHBS_BOLDEXPANDEDGROUP = 0x0040;     // the expanded header's text is bold
inline constexpr DWORD SHBS_UNDERLINEHOTITEM = 0x0080;      // the hot item's text is underlined
inline constexpr DWORD SHBS_SHOWACTIVEALWAYS = 0x0100;      // the active item keeps a sunken frame
inline constexpr DWORD SHBS_DISABLEDRAGDROPHEADER = 0x0200; // headers cannot be dragged
inline constexpr DWORD SHBS_DRAWHEADERDRAGIMAGE = 0x0400;   // a dragged header shows an image
inline constexpr DWORD SHBS_DRAWITEMDRAGIMAGE = 0x0800;     // a dragged item shows an image
inline constexpr DWORD SHBS_AUTOSCROLL = 0x1000;            // resting on a scroll button scrolls
inline constexpr DWORD SHBS_ANIMATEEXPAND = 0x2000;         // expansion is animated
inline constexpr DWORD SHBS_AUTOEXPAND = 0x4000;            // a header expands when the mouse rests on it
inline constexpr DWORD SHBS_FLATGROUPBUTTON = 0x8000;       // flat headers tracking the mouse

// ---- the notification record -----------------------------------------------------------------------
struct _tagNMSHORTCUTBAR {
    NMHDR hdr;          // hwndFrom / idFrom: the bar (or a standalone list); code: SHBN_*
    HSHBGROUP hGroup;   // the group concerned, 0 when none
    int nItem;          // the item concerned, -1 when none
    LPARAM lParam;      // extra data, see the codes
};
using NMSHORTCUTBAR = _tagNMSHORTCUTBAR;
using LPNMSHORTCUTBAR = _tagNMSHORTCUTBAR*;

// ---- a group's appearance ----------------------------------------------------------------------------
inline constexpr UINT SHBD_CLRBACKGROUND = 0x01;
inline constexpr UINT SHBD_CLRTEXT = 0x02;
inline constexpr UINT SHBD_CLRHEADERBACKGROUND = 0x04;
inline constexpr UINT SHBD_CLRHEADERTEXT = 0x08;
inline constexpr UINT SHBD_HEADERTEXTFORMAT = 0x10;
inline constexpr UINT SHBD_TEXTFONT = 0x20;
inline constexpr UINT SHBD_HEADERFONT = 0x40;
inline constexpr UINT SHBD_HEADERHEIGHT = 0x80;

// Each field counts only when its SHBD_* bit is set in nMask (the bar's defaults otherwise).
struct _tagSHB_DESCRIPTOR {
    COLORREF clrBackground = 0;       // the skin's bar background
    COLORREF clrText = 0;             // the skin's group text colour
    COLORREF clrHeaderBackground = 0; // COLOR_BTNFACE
    COLORREF clrHeaderText = 0;       // COLOR_BTNTEXT
    UINT nHeaderTextFormat = 0;       // DrawText format; 0x8025 (centred, single line, end ellipsis)
    LOGFONT lfText{};                 // the child window's font, else the bar's
    LOGFONT lfHeader{};               // the bar's font
    int nHeaderHeight = 0;            // 18 pixels
    UINT nMask = 0;
};
using SHB_DESCRIPTOR = _tagSHB_DESCRIPTOR;
using LPSHB_DESCRIPTOR = _tagSHB_DESCRIPTOR*;

// ---- a group ----------------------------------------------------------------------------------------------
inline constexpr UINT SHBIF_TEXT = 0x00010000;
inline constexpr UINT SHBIF_IMAGE = 0x00020000;
inline constexpr UINT SHBIF_IMAGEEXPANDED = 0x00040000;
inline constexpr UINT SHBIF_PARAM = 0x00080000;
inline constexpr UINT SHBIF_ORDER = 0x00100000;
inline constexpr UINT SHBIF_VIEW = 0x00200000;
inline constexpr UINT SHBIF_DESCRIPTOR = 0x00400000;
inline constexpr UINT SHBIF_CHILDWND = 0x00800000;
inline constexpr UINT SHBIF_ALL = 0x00FF0000;   // a mask with any other bit is invalid

// The views of a group's list.
inline constexpr int SHB_LARGEICON = 1;
inline constexpr int SHB_SMALLICON = 2;

// A group as the bar's callers describe it and as the bar stores it. The title is either
// the caller's (pszText points to text the record does not own) or the record's own
// copy, made by SetText and by copying a record: a copy always owns a copy of the text,
// so stored records never point into a caller's buffer, and a record frees only the text
// it owns. Fields count only when their SHBIF_* bit is set in nMask.
struct _tagSHB_GROUPINFO {
    LPWSTR pszText = nullptr;           // SHBIF_TEXT: the title
    int nTextMax = 0;                   // with the title: how many of its characters count
    int nImage = 0;                     // SHBIF_IMAGE: collapsed header image; negative = none
    int nImageExpanded = 0;             // SHBIF_IMAGEEXPANDED: expanded header image
    LPARAM lParam = 0;                  // SHBIF_PARAM: application data
    int nOrder = 0;                     // SHBIF_ORDER: position from the top, 0-based
    int nView = 0;                      // SHBIF_VIEW: SHB_LARGEICON or SHB_SMALLICON (0..3 accepted)
    _tagSHB_DESCRIPTOR* pDescriptor = nullptr; // SHBIF_DESCRIPTOR: appearance, null = defaults
    HWND hwndChild = nullptr;           // SHBIF_CHILDWND: own child window, null = the default list
    UINT nMask = 0;

    _tagSHB_GROUPINFO() = default;
    ~_tagSHB_GROUPINFO() = default;
    // Deep: the copy owns a copy of the other's title (whoever owned that).
    _tagSHB_GROUPINFO(const _tagSHB_GROUPINFO& other);
    _tagSHB_GROUPINFO& operator=(const _tagSHB_GROUPINFO& other);
    // The title's ownership moves along; the moved-from record keeps no text.
    _tagSHB_GROUPINFO(_tagSHB_GROUPINFO&& other) noexcept;
    _tagSHB_GROUPINFO& operator=(_tagSHB_GROUPINFO&& other) noexcept;

    // Makes the title the record's own copy of at most nCount characters of pszSource
    // (stopping at its terminator; a negative count takes all of it) and sets nTextMax to
    // the number copied. Null or empty text leaves no title. The text bit is not touched.
    void SetText(LPCWSTR pszSource, int nCount = -1);
    // Frees the title if the record owns it and leaves pszText null and nTextMax 0.
    void ClearText();
    // Clears every field (and frees an owned title).
    void Reset();
    BOOL OwnsText() const { return m_ownedText && pszText == m_ownedText.get(); }

private:
    std::unique_ptr<wchar_t[]> m_ownedText;
};
using SHB_GROUPINFO = _tagSHB_GROUPINFO;
using LPSHB_GROUPINFO = _tagSHB_GROUPINFO*;

// ---- records carried in lParam ---------------------------------------------------------------------------
// The context menu being built (SHBM_POPULATECONTEXTMENU, SHBN_CONTEXTMENU).
struct SHBContextMenuInfo {
    CMenu* pMenu = nullptr;                  // the popup menu being built
    COXShortcutBar* pShortcutBar = nullptr;  // the bar
    HSHBGROUP hGroup = nullptr;              // the group the menu is for
    POINT ptScreen{};                        // where the menu opens, screen coordinates
};
using LPSHBCONTEXTMENUINFO = SHBContextMenuInfo*;

// The text of a header's or an item's tooltip (SHBN_GETHEADERTIP, SHBN_GETITEMTIP): the
// handler sets lpszText, or fills szText, or names a string resource with hinst.
struct SHBToolTipText {
    LPWSTR lpszText = nullptr;
    wchar_t szText[80] = {};
    HINSTANCE hinst = nullptr;
};
using LPSHBTOOLTIPTEXT = SHBToolTipText*;

// Extra bytes carried by a dragged item (SHBN_GETEXTRADRAGDATA, SHBN_EXTRADRAGDATADROPPED).
// When the parent supplies them the bytes stay its own (the list copies them); on the drop
// side pData points into the dropped data and is valid only during the notification.
struct SHBExtraDragData {
    DWORD nDataSize = 0;
    const BYTE* pData = nullptr;
};
using LPSHBEXTRADRAGDATA = SHBExtraDragData*;
