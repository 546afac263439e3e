#pragma once
// The tab control's state and the pieces its files share (internal to platform/comctl).
//
// The state is owned by the window (control_common's ControlState) and held by a shared
// pointer for the length of each message, so a parent that destroys the control while it
// handles a notification leaves the handler a valid object; handlers check IsWindow after
// every notification before they go on.
//
// Layout is computed eagerly after every change (items, selection, font, padding, sizes,
// style, client size) into the items' rectangles: measuring (a DC and the font) is kept
// apart from the arithmetic (ComputeTabLayout), which needs no window and follows the
// rules written at the top of tabctrl.h.
#include <string>
#include <vector>

#include "platform/comctl/tabctrl.h"
#include "platform/comctl/tabctrl_picture.h"
#include "platform/user/control_common.h"

namespace zyn::comctl::detail {

enum class TabSide { Top, Bottom, Left, Right };
TabSide SideOf(DWORD style);
inline bool IsVerticalSide(TabSide s) { return s == TabSide::Left || s == TabSide::Right; }

struct TabItem {
    std::wstring text;
    int image = -1;
    DWORD state = 0;              // TCIS_*
    std::vector<BYTE> data;       // TCM_SETITEMEXTRA bytes (an LPARAM by default)
    bool rtlReading = false;
    // Measured and laid out.
    SIZE textExtent{};            // of the text with prefixes processed
    bool measured = false;        // textExtent is that of the current text and font
    RECT rect{};                  // client coordinates, as TCM_GETITEMRECT reports it
    int row = 0;
    TabPictureSlots pictures;     // the pixels it was last painted with
};

struct TabState final : zyn::user::ControlState {
    HWND self = nullptr;
    std::vector<TabItem> items;
    int cbExtra = static_cast<int>(sizeof(LPARAM));
    int sel = -1;
    int focus = -1;
    int hot = -1;
    HIMAGELIST images = nullptr;  // not owned
    HFONT font = nullptr;         // not owned
    HFONT measuredFont = nullptr; // the font the items' extents were measured in
    int measuredHeight = 0;       // its line height
    SIZE padding{tabgeo::kDefaultPadX, tabgeo::kDefaultPadY};
    int minTabWidth = 0;
    SIZE itemSize{};              // TCM_SETITEMSIZE; 0: not set
    DWORD exStyle = 0;
    HWND tooltip = nullptr;       // TCM_GETTOOLTIPS
    HWND ownTooltip = nullptr;    // the one we made for TCS_TOOLTIPS (destroyed with us)
    size_t tooltipTools = 0;      // tools we added to `tooltip`
    HWND spin = nullptr;          // the overflow up-down control (a child)
    TabPictureEnv pictureEnv;     // what the items' pictures were made with
    TabPictureBytes pictureBytes = std::make_shared<size_t>(0);
    // The screen shows what the control's own WM_PAINT last drew, every tab inside its
    // rectangle, and no other DC was handed out for the control since (`cleanDcs`): a row
    // change may then move the rows' pixels instead of painting them again.
    bool screenClean = false;
    zyn::user::DcUse cleanDcs;

    // Layout results.
    DWORD layoutStyle = 0;
    bool laidOut = false;
    int rows = 1;
    int rowHeight = 0;
    int widestNatural = 0;
    int firstVisible = 0;         // single-line overflow: the first item shown
    int maxFirst = 0;
    bool overflow = false;
    int limit = 0;                // items are cut at this x (single line)

    // Mouse.
    bool leftDown = false;
    bool rightDown = false;
    bool trackingLeave = false;

    bool Valid(int i) const { return i >= 0 && i < static_cast<int>(items.size()); }
};

// ---- pure layout (tabctrl_layout.cpp) ----------------------------------------------------------------
struct TabLayoutInput {
    TabSide side = TabSide::Top;
    bool buttons = false;
    bool multiline = false;
    bool stretch = false;          // stretch rows when there are two or more
    int width = 0, height = 0;     // client size
    int rowHeight = 0;
    std::vector<int> widths;       // each item's extent along its row
    int selected = -1;
    int firstVisible = 0;
    int spinWidth = 0;
};
struct TabLayoutOutput {
    std::vector<RECT> rects;
    std::vector<int> rowOf;
    int rows = 1;
    bool overflow = false;
    int maxFirst = 0;
    int firstVisible = 0;
    RECT spin{};
    int limit = 0;                 // along the row; the control's extent when nothing overflows
};
TabLayoutOutput ComputeTabLayout(const TabLayoutInput& in);
// TCM_ADJUSTRECT's arithmetic.
RECT AdjustTabRect(DWORD style, int rows, int rowHeight, RECT rc, bool larger);
// The pane (the display area's frame) of a tab control, in client coordinates.
RECT PaneRect(TabSide side, int rows, int rowHeight, int width, int height);
// The rectangle the selected tab is drawn in.
RECT SelectedTabRect(TabSide side, RECT r);

// ---- measured layout (tabctrl_layout.cpp) -----------------------------------------------------------
// Measures the items and lays them out; `ensureSelVisible` scrolls a single line so the
// selected tab shows. Moves or hides the overflow spin and renews the tooltip's tools.
void Relayout(TabState& s, bool ensureSelVisible = false);
// Lays out again when the style changed without WM_STYLECHANGED.
void EnsureLayout(TabState& s);
// The item under a client point (items scrolled away or behind the spin excluded), and
// what part of it the point is on.
int HitTestItem(TabState& s, POINT pt, UINT* flags);
// Where an item's image and text go inside its rectangle (empty when there is none).
struct ItemParts {
    RECT icon{};
    RECT text{};
};
ItemParts PartsOf(const TabState& s, const TabItem& item, const RECT& rect, DWORD style);
bool HasImage(const TabState& s, const TabItem& item);
SIZE ImageSize(const TabState& s);
// What the items' parts need of the image list, read once for many items.
struct ImageFacts {
    int count = 0;   // 0 without a list
    SIZE size{};
    bool Has(const TabItem& item) const { return item.image >= 0 && item.image < count; }
};
ImageFacts ImageFactsOf(const TabState& s);
ItemParts PartsOf(const TabItem& item, const RECT& rect, DWORD style, SIZE padding, const ImageFacts& images);

// ---- painting (tabctrl_paint.cpp) ----------------------------------------------------------------------
// Paints the control; `fromPaint`: the DC is WM_PAINT's own, so tabs may come from their
// pictures (tabctrl_picture.h). True when every tab came from its picture (so each stayed
// inside its rectangle).
bool PaintTabs(TabState& s, HDC hdc, bool fromPaint = false);
// How one tab is drawn (client coordinates).
struct TabLook {
    RECT rect{};             // the drawn rectangle: the selected tab's is larger
    ItemParts parts;         // where the image and the text go (a pressed button's moved)
    TabSide side = TabSide::Top;
    bool buttons = false;
    bool flat = false;
    bool selected = false;
    bool pushed = false;
    bool highlighted = false;
    bool hotText = false;    // TCS_HOTTRACK's text colour
    bool hotButton = false;  // a flat button's thin raised edge
    bool enabled = true;
    bool image = false;
    // Every field but the rectangles, as bits.
    uint32_t Flags() const;
};
// The classic drawing of a tab that is not owner-drawn, in `font`.
void DrawTab(const TabState& s, HDC dc, const TabItem& item, const TabLook& look, HFONT font);

// ---- input and notifications (tabctrl_input.cpp) -----------------------------------------------------
LRESULT NotifyCode(HWND hwnd, UINT code);
// The selection moved by the user: TCN_SELCHANGING (a non-zero answer vetoes), the change,
// TCN_SELCHANGE. False when vetoed or when the control went away.
bool UserSelect(TabState& s, int index);
void OnButtonDown(TabState& s, UINT msg, POINT pt);
void OnButtonUp(TabState& s, UINT msg);
void OnMouseMove(TabState& s, POINT pt);
void OnMouseLeave(TabState& s);
void OnKeyDown(TabState& s, WPARAM vk, LPARAM flags);
LRESULT DlgCode(const MSG* msg);
void RelayToTooltip(TabState& s, UINT msg, WPARAM wp, LPARAM lp);
void SetFocusItem(TabState& s, int index);

void RedrawTabs(const TabState& s);
// After a selection change laid the tabs out again (`was`: the rectangles before, `oldRows`,
// `oldSel`, `oldFocus`: the row count and indexes before): when rows only moved, moves
// their pixels on the screen and paints the rest now. False when it cannot (the caller
// redraws everything).
bool RedrawMovedRows(TabState& s, const std::vector<RECT>& was, int oldRows, int oldSel, int oldFocus);

} // namespace zyn::comctl::detail
