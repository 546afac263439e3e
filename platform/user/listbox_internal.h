#pragma once
// The state of a list box and the functions its files share: listbox.cpp (the window
// procedure, items and the LB_* messages), listbox_view.cpp (geometry, scrolling,
// painting, owner-drawn items) and listbox_input.cpp (selection by keys and mouse, and
// the dropped list of a combo box).
//
// The same code serves a combo box's list ("ComboLBox"): such a list reports to its combo
// box (ComboList* in combobox_internal.h) instead of sending LBN_* notifications, sends
// owner-draw and colour messages on the combo box's behalf, never takes the focus, and
// while dropped holds the mouse capture.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/listbox.h"
#include "platform/user/stdctl_common.h"

namespace zyn::user::ctl {

struct LbItem {
    std::wstring text;
    ULONG_PTR data = 0;
    bool selected = false;   // multiple- and extended-selection lists
    int height = 0;          // LBS_OWNERDRAWVARIABLE
};

struct ListState {
    HWND hwnd = nullptr;
    DWORD style = 0;
    bool hasVScroll = false;      // created with WS_VSCROLL: the bar is ours to show and hide
    bool hasHScroll = false;
    HFONT font = nullptr;
    FontInfo fi;
    std::vector<LbItem> items;
    int sel = -1;                 // single selection
    int caret = -1;               // the item with the focus rectangle
    int anchor = -1;
    int top = 0;
    int itemHeight = 16;
    int columnWidth = 0;
    int horizExtent = 0;
    int xOffset = 0;
    std::vector<int> tabStopsDlu;
    bool focused = false;
    bool noRedraw = false;
    LCID locale = 0;
    // Mouse tracking.
    bool tracking = false;
    bool changed = false;         // the selection changed during this press
    bool ctrlDrag = false;
    // Type-ahead.
    std::wstring typed;
    DWORD typedAt = 0;
    // Who hears about owner-drawn items, and as what.
    HWND owner = nullptr;
    UINT ctlType = 2;             // ODT_LISTBOX (ODT_COMBOBOX for a combo box's list)
    UINT ctlId = 0;
    HWND itemHwnd = nullptr;
    // A combo box's list.
    HWND combo = nullptr;
    bool dropped = false;         // shown below the combo box, holding the capture
    bool buttonDown = false;      // the press that opened it is still held
    bool inScrollTrack = false;

    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    bool Multi() const { return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
    bool Extended() const { return (style & LBS_EXTENDEDSEL) != 0; }
    bool OwnerDraw() const { return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
    bool Variable() const { return (style & LBS_OWNERDRAWVARIABLE) != 0; }
    bool HasStrings() const { return !OwnerDraw() || (style & LBS_HASSTRINGS); }
    bool MultiColumn() const { return (style & LBS_MULTICOLUMN) != 0; }
    bool IsSelected(int i) const { return Multi() ? items[static_cast<size_t>(i)].selected : i == sel; }
};

std::shared_ptr<ListState> ListOf(HWND hwnd);
// Makes a list box a combo box's list: owner-draw messages go to `owner` as ODT_COMBOBOX
// items of control `id` (hwndItem the combo box).
void ListAttachToCombo(HWND list, HWND combo, HWND owner, UINT id);
void ListSetDropped(HWND list, bool dropped, bool buttonDown);

// ---- listbox.cpp ---------------------------------------------------------------------------
// Sends a notification (LBN_*) when the style asks for it (or always for focus ones).
void NotifyList(ListState& s, WORD code);
int FindItem(const ListState& s, int start, const wchar_t* text, bool exact);

// ---- listbox_view.cpp ---------------------------------------------------------------------------
int ItemHeightOf(const ListState& s, int i);
int RowsPerColumn(const ListState& s);
// Items wholly visible from the top index (at least 1).
int FullyVisible(const ListState& s);
int MaxTop(const ListState& s);
bool ItemRect(const ListState& s, int i, RECT* rc);
// The item under a client point (-1: none); `nearest` clamps to the items.
int ItemAt(const ListState& s, POINT pt, bool nearest);
void SetTop(ListState& s, int top);
// Scrolls so item `i` is visible (`partialOk`: a partly visible item is enough).
void ShowItem(ListState& s, int i, bool partialOk = false);
void UpdateListScrollBars(ListState& s);
void InvalidateItem(ListState& s, int i);
void InvalidateList(ListState& s);
void PaintList(ListState& s, HDC dc, const RECT& area);
void MeasureItem(ListState& s, int index);   // owner-drawn: WM_MEASUREITEM
void AdjustIntegralHeight(ListState& s);
void OnListScroll(ListState& s, bool vertical, WORD code);

// ---- listbox_input.cpp --------------------------------------------------------------------------
// Selects one item in a single-selection list (-1: none); true when it changed.
bool SetSingleSel(ListState& s, int i);
// Sets items [a, b] (either order) to `on`; `clearOthers` deselects the rest first.
bool SelectRange(ListState& s, int a, int b, bool on, bool clearOthers);
void SetCaret(ListState& s, int i);
void OnListKeyDown(ListState& s, WPARAM vk);
void OnListChar(ListState& s, wchar_t c);
void OnListMouseDown(ListState& s, POINT pt, WPARAM keys, bool dbl);
void OnListMouseMove(ListState& s, POINT pt);
void OnListMouseUp(ListState& s, POINT pt);
void OnListTimer(ListState& s);
void OnListCaptureChanged(ListState& s, HWND newCapture);
void EndListTracking(ListState& s);
inline constexpr UINT_PTR kListScrollTimer = 0x5B01;

} // namespace zyn::user::ctl
