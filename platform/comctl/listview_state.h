#pragma once
// The list view's state and the helpers its message handlers share (internal to
// platform/comctl). One ListViewState lives per list-view window, from WM_NCCREATE to
// WM_NCDESTROY, in a process-wide table keyed by the window, held by a shared pointer for
// the length of each message so that a handler may destroy the window while it notifies.
//
// Every notification can re-enter the control (the parent may insert, delete or destroy
// while it answers), so code that sent one checks `destroyed` and looks items up again by
// index before going on.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/listview.h"

namespace zyn::comctl::detail {

struct SubItem {
    std::wstring text;
    bool textCallback = false;
    int image = I_IMAGENONE;
};

struct ListItem {
    std::wstring text;
    bool textCallback = false;
    int image = 0;
    LPARAM lParam = 0;
    UINT state = 0;
    int indent = 0;
    std::vector<SubItem> subItems;   // sub-item n at [n - 1], grown on demand
    int textWidth = -1;              // measured text extent in the control's font, -1 unknown
    SIZE wrapped{-1, -1};            // icon view: the label text's wrapped extent, -1 unknown
    POINT pos{};                     // icon views: view position when `placed`
    bool placed = false;
};

struct Column {
    int fmt = LVCFMT_LEFT;
    int width = 0;
    std::wstring text;
    int subItem = 0;
    int image = 0;
};

enum class View { Icon, Report, SmallIcon, List };

struct ListViewState {
    ListViewState() = default;
    ~ListViewState();
    ListViewState(const ListViewState&) = delete;
    ListViewState& operator=(const ListViewState&) = delete;

    HWND self = nullptr;
    bool destroyed = false;
    bool ansiParent = false; // the parent's WM_NOTIFYFORMAT answer (notifications stay wide)
    // A deque: insertions and deletions at either end are O(1) (newest-first lists insert
    // at the front), indexing is O(1).
    std::deque<ListItem> items;
    uint64_t version = 0;            // bumped by every insertion and deletion
    std::vector<Column> columns;
    std::vector<int> columnOrder;    // display order of the columns (the header's)
    uint64_t columnOrderVersion = ~uint64_t{0}; // the header's order version it was read at
    HWND header = nullptr;
    int headerHeight = -1;           // cached HDM_LAYOUT height, -1 unknown

    // Item bookkeeping.
    int focused = -1;
    int mark = -1;                   // the selection mark (anchor of Shift selections)
    int hot = -1;
    int selectedCount = 0;
    UINT callbackMask = 0;

    // Settings.
    DWORD exStyle = 0;
    std::optional<COLORREF> bkColor, textColor, textBkColor;   // unset: system colours
    HIMAGELIST normalImages = nullptr, smallImages = nullptr, stateImages = nullptr;
    HIMAGELIST ownCheckImages = nullptr;                       // LVS_EX_CHECKBOXES' list
    HFONT font = nullptr;            // the font in use
    HFONT ownFont = nullptr;         // the icon-title font we made
    std::optional<SIZE> iconSpacing; // LVM_SETICONSPACING
    int listColumnWidth = 0;         // LVM_SETCOLUMNWIDTH in list view (0: automatic)

    // Scrolling: report and list views scroll by rows / columns, icon views by pixels.
    int topIndex = 0;                // report: first row shown
    int scrollX = 0;                 // report: pixels; list: columns
    POINT origin{};                  // icon views
    int placedCount = 0;             // icon views: items placed with LVM_SETITEMPOSITION
    int lastBar[2][4] = {};          // the scroll info last set per bar (min, max, page, pos)
    bool haveBar[2] = {false, false};
    bool barPending[2] = {false, false}; // a bar's area waits for WM_NCPAINT
    bool redraw = true;              // WM_SETREDRAW
    bool scrollDirty = false;        // the bars need an update when redraw comes back
    bool allInvalid = false;         // the whole client waits for WM_PAINT already
    int updatingScroll = 0;
    int wheelRemainder = 0;

    // Cached measures (reset when the font or image lists change).
    int lineHeight = -1;
    int ownerRowHeight = -1;         // WM_MEASUREITEM's answer; -1 not asked yet
    int maxItemWidth = -1;           // widest item (list and small-icon views), -1 unknown

    // Keyboard search.
    std::wstring search;
    uint64_t searchTime = 0;

    // Label editing.
    HWND edit = nullptr;
    int editItem = -1;
    bool endingEdit = false;
    int pendingEdit = -1;            // the item a click will edit when the timer fires

    // Info tips.
    HWND toolTip = nullptr;
    bool ownToolTip = false;         // made for LVS_EX_INFOTIP (destroyed with the control)
    int tipItem = -1;
    std::wstring tipText;            // what the last TTN_GETDISPINFO answer points to

    View view() const;
    DWORD style() const;
    int count() const { return static_cast<int>(items.size()); }
    bool valid(int i) const { return i >= 0 && i < count(); }
};

std::shared_ptr<ListViewState> ListViewStateOf(HWND hwnd);

// Timer of a click on a focused item's label with LVS_EDITLABELS.
inline constexpr UINT_PTR kEditTimer = 0x4C45;
inline constexpr int kLabelPad = 2;      // label text inset (first column, icon labels)
inline constexpr int kSubItemPad = 6;    // sub-item text inset
inline constexpr int kIconPad = 2;       // icon views: image inset in its box

// Coordinates are worked out in 64 bits and kept within +-2^30, so that huge counts,
// widths or row heights from callers give far-away rectangles, never an overflow.
inline int Saturate(int64_t v)
{
    constexpr int64_t kLimit = int64_t{1} << 30;
    return static_cast<int>(v < -kLimit ? -kLimit : v > kLimit ? kLimit : v);
}

// ---- notifications (listview_items.cpp) --------------------------------------------------------------------
LRESULT Notify(ListViewState& s, NMHDR& hdr, UINT code);
LRESULT NotifyListView(ListViewState& s, UINT code, int item, int subItem = 0, UINT newState = 0,
    UINT oldState = 0, UINT changed = 0, POINT pt = {});
LRESULT NotifyActivate(ListViewState& s, UINT code, int item, int subItem, POINT pt, UINT keyFlags);

// ---- items (listview_items.cpp) ------------------------------------------------------------------------------
LRESULT InsertItem(ListViewState& s, const LVITEMW* in);
bool DeleteItem(ListViewState& s, int index);
bool DeleteAllItems(ListViewState& s);
LRESULT GetItem(ListViewState& s, LVITEMW* out);
bool SetItem(ListViewState& s, const LVITEMW* in);
LRESULT GetItemText(ListViewState& s, int index, LVITEMW* out);
// Changes state bits of one item (or all with -1) through LVN_ITEMCHANGING/CHANGED; the
// focus moves off the previous item and LVS_SINGLESEL drops other selections.
bool SetItemState(ListViewState& s, int index, UINT state, UINT mask);
// The text of an item or sub-item as shown (asked of the parent for callback texts).
std::wstring ItemText(ListViewState& s, int index, int subItem);
int ItemImage(ListViewState& s, int index, int subItem);
int ItemIndent(ListViewState& s, int index);
LRESULT GetNextItem(ListViewState& s, int start, UINT flags);
LRESULT FindItem(ListViewState& s, int start, const LVFINDINFOW* info);
bool SortItems(ListViewState& s, PFNLVCOMPARE compare, LPARAM lParamSort, bool byIndex);
// Lower-case form of a text for prefix matching.
std::wstring FoldText(const std::wstring& text);
void InvalidateItem(ListViewState& s, int index);
void InvalidateFrom(ListViewState& s, int index);
void InvalidateAll(ListViewState& s);

// ---- columns (listview_columns.cpp) ------------------------------------------------------------------------------
LRESULT InsertColumn(ListViewState& s, int index, const LVCOLUMNW* in);
bool DeleteColumn(ListViewState& s, int index);
bool GetColumn(ListViewState& s, int index, LVCOLUMNW* out);
bool SetColumn(ListViewState& s, int index, const LVCOLUMNW* in);
int GetColumnWidth(ListViewState& s, int index);
bool SetColumnWidth(ListViewState& s, int index, int width);
// Header notifications reaching the list view: forwarded to the parent, then acted on.
LRESULT OnHeaderNotify(ListViewState& s, NMHDR* hdr);
// The columns in display order (indexes into `columns`).
std::vector<int> ColumnOrder(ListViewState& s);
// A column's left and right edge in client coordinates (report view).
bool ColumnSpan(ListViewState& s, int column, int& left, int& right);
int TotalColumnWidth(ListViewState& s);
// Places the header for the view and the horizontal scroll position.
void LayoutHeader(ListViewState& s);
int HeaderHeight(ListViewState& s);

// ---- geometry (listview_layout.cpp; scrolling in listview_scroll.cpp) ----------------------------------
int LineHeight(ListViewState& s);
int RowHeight(ListViewState& s);
SIZE NormalImageSize(ListViewState& s);
SIZE SmallImageSize(const ListViewState& s);
SIZE StateImageSize(const ListViewState& s);
SIZE IconSpacing(ListViewState& s);
// Width of a list or small-icon cell (the widest item, or the set column width).
int CellWidth(ListViewState& s);
int TextWidth(ListViewState& s, int index);
int MeasureText(ListViewState& s, const std::wstring& text);
// The rectangle of a part (LVIR_*) of an item; false for a bad index or code.
bool ItemRect(ListViewState& s, int index, int code, RECT& rc);
bool SubItemRect(ListViewState& s, int index, int subItem, int code, RECT& rc);
// Icon views: an item's position in view coordinates.
POINT ItemPosition(ListViewState& s, int index);
bool SetItemPosition(ListViewState& s, int index, POINT pt);
bool Arrange(ListViewState& s, UINT code);
// The union of all items' bounds in view coordinates (icon views).
RECT ViewBounds(ListViewState& s);
int HitTest(ListViewState& s, LVHITTESTINFO& info, bool subItems);
RECT ItemArea(ListViewState& s);     // the client area below the header
int CountPerPage(ListViewState& s);
int RowsPerColumn(ListViewState& s); // list view
int VisibleListColumns(ListViewState& s); // list view: whole columns that fit (at least one)
int TopIndex(ListViewState& s);
// Index range [first, last] of the items that may show in a client rectangle.
void VisibleRange(ListViewState& s, const RECT& area, int& first, int& last);
bool EnsureVisible(ListViewState& s, int index, bool partialOk);
bool Scroll(ListViewState& s, int dx, int dy);
// The neighbour of an item in a direction (LVNI_ABOVE ...), or -1.
int Neighbour(ListViewState& s, int index, UINT direction);
// Sets the scroll bars from the items and the client size (and the header's place).
void UpdateScrollBars(ListViewState& s);
void OnScroll(ListViewState& s, int bar, WPARAM wp); // WM_HSCROLL / WM_VSCROLL's wParam
void OnWheel(ListViewState& s, int delta);
// Forgets cached sizes (font, image lists, texts changed).
void ResetMeasures(ListViewState& s, bool texts);

// ---- painting (listview_paint.cpp) ------------------------------------------------------------------------------
void Paint(ListViewState& s, HDC hdc, const RECT& area);
void EraseBackground(ListViewState& s, HDC hdc);
COLORREF BkColor(const ListViewState& s);
COLORREF TextColor(const ListViewState& s);
COLORREF TextBkColor(const ListViewState& s);

// ---- input (listview_input.cpp) -----------------------------------------------------------------------------------
void OnButtonDown(ListViewState& s, POINT pt, bool right, bool dblclk, WPARAM keys);
void OnKeyDown(ListViewState& s, WPARAM vk, LPARAM flags);
void OnChar(ListViewState& s, wchar_t ch);
void OnMouseMove(ListViewState& s, POINT pt);
// Selects one item alone (deselecting the others), focuses it and makes it the mark.
void SelectOnly(ListViewState& s, int index, bool focus = true);
void SetFocusItem(ListViewState& s, int index);

// ---- label editing and tips (listview_edit.cpp) ----------------------------------------------------------------
HWND EditLabel(ListViewState& s, int index);
// Ends editing: commits the edit's text unless `cancel`.
void EndEdit(ListViewState& s, bool cancel);
void UpdateInfoTips(ListViewState& s);
LRESULT OnToolTipNotify(ListViewState& s, NMHDR* hdr);
void TrackTipItem(ListViewState& s, POINT pt);
void UpdateCheckBoxes(ListViewState& s, DWORD oldEx);

} // namespace zyn::comctl::detail
