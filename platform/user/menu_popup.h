#pragma once
// The inside of a popup menu: how its items are laid out and painted in the classic look,
// and the view a "#32768" window shows (which menu, which item is highlighted, how far
// it is scrolled). The tracking loop owns the views; the system window procedure finds
// the view of its window here and paints it.
//
// Layout of a popup (client coordinates; the window adds a 3-pixel raised frame):
//   - items stack in columns; MFT_MENUBREAK starts a new column, MFT_MENUBARBREAK one
//     after an etched vertical line;
//   - every item of a column is as wide as the column; a text item holds, from the left,
//     the check-mark column (absent with MNS_NOCHECK), the bitmap column (shared with the
//     check marks under MNS_CHECKORBMP), the text, the accelerator column (the text after
//     a tab, left-aligned in a column of its own) and the submenu-arrow column;
//   - owner-drawn items are as high as WM_MEASUREITEM says and as wide as it says plus
//     SM_CXMENUCHECK - 1; separators are 8 pixels high;
//   - a menu taller than its limit (MIM_MAXHEIGHT, else the work area) scrolls between
//     an arrow band at the top and one at the bottom.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/menu_internal.h"

namespace zyn::user::detail {

// Fixed parts of the classic layout, in pixels.
inline constexpr int kPopupPad = 2;         // inside a column's left and right edges
inline constexpr int kPopupGap = 4;         // before the text and before the arrow column
inline constexpr int kAccelGap = 12;        // between the text and the accelerator column
inline constexpr int kSeparatorHeight = 8;
inline constexpr int kBarBreakGap = 6;      // between columns split by MFT_MENUBARBREAK
inline constexpr int kScrollBand = 12;      // each arrow band of a scrolling menu

// What the layout takes from the system metrics and the menu font.
struct PopupMetrics {
    int cxCheck = 0, cyCheck = 0;  // SM_CXMENUCHECK, SM_CYMENUCHECK
    int itemHeight = 0;            // a text item: the font's height + 4, at least the check's + 4
    static PopupMetrics Current();
};

// A text item's label and accelerator (the text before and after its first tab).
std::pair<std::wstring, std::wstring> SplitItemText(const MenuItemData& it);
// A separator the system draws (an owner-drawn one is the owner's).
bool IsSeparatorItem(const MenuItemData& it);

struct PopupColumn {
    int left = 0;
    int width = 0;
    int accelX = 0;         // the accelerator column, from the column's left edge
    bool barBefore = false; // an etched line precedes the column
};

struct PopupLayout {
    std::vector<MenuItemData> items;  // the items as laid out
    std::vector<RECT> rects;          // one per item, content coordinates
    std::vector<size_t> column;       // the column of each item
    std::vector<PopupColumn> columns;
    DWORD style = 0;                  // MNS_*
    HBRUSH back = nullptr;            // MIM_BACKGROUND, or null for COLOR_MENU
    int checkX = 0, checkW = 0;       // the check-mark column, from a column's left edge
    int bitmapX = 0, bitmapW = 0;     // the bitmap column (checkX/checkW under MNS_CHECKORBMP)
    int textX = 0;                    // where text starts
    int arrowW = 0;                   // the submenu-arrow column at the right
    SIZE content{0, 0};               // all items
    SIZE client{0, 0};                // the client area the window shows
    bool scrolls = false;             // content taller than the client: arrow bands
    int band = 0;                     // height of each arrow band when scrolling
};

// Lays a menu out. WM_MEASUREITEM goes to `owner` once per owner-drawn item (and per
// HBMMENU_CALLBACK picture). `maxClientHeight` limits the client's height (scrolling
// beyond it).
PopupLayout LayoutPopupMenu(HMENU menu, HWND owner, int maxClientHeight);

// What a "#32768" window shows.
struct PopupView {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    HWND hwnd = nullptr;
    bool sys = false;
    PopupLayout layout;
    int selected = -1;
    int scroll = 0;                   // content y at the top of the item area
    // Called by the window procedure for the tracker's timers on the window.
    std::function<void(UINT_PTR)> onTimer;
    // Called when the window is told to give up (WM_CANCELMODE).
    std::function<void()> onCancel;

    // Content y to client y.
    int YOffset() const { return (layout.scrolls ? layout.band : 0) - scroll; }
    // The item under a client point, -1 for none (frame, separator gaps, arrow bands).
    int ItemFromPoint(POINT client) const;
    // An item's rectangle in client coordinates (scrolled), empty for none.
    RECT ItemRect(int index) const;
    // -1 / +1 for a point on the top / bottom arrow band of a scrolling menu, else 0.
    int BandAt(POINT client) const;
    // The largest useful scroll offset.
    int MaxScroll() const;
};

// Paints the whole client area (background, items, column lines, arrow bands) or, with
// `only`, one item (owner-drawn: WM_DRAWITEM with `action`).
void PaintPopup(HDC hdc, const PopupView& view, std::optional<int> only = std::nullopt,
    UINT action = 0x1 /* ODA_DRAWENTIRE */);
// Fills the client area with the menu's background.
void ErasePopup(HDC hdc, const PopupView& view, const RECT& client);
// The 3-pixel raised frame of a window `width` x `height`, in window coordinates.
void DrawPopupFrame(HDC hdc, int width, int height);

// The view of a popup window of this thread; null when it shows none.
std::shared_ptr<PopupView> PopupViewOf(HWND hwnd);
// The view the next "#32768" window created on this thread shows (bound at its first
// message, before WM_NCCREATE returns), and the binding's end with the window.
void SetPendingPopupView(std::shared_ptr<PopupView> view);
void ForgetPopupView(HWND hwnd);

} // namespace zyn::user::detail
