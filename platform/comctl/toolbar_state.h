#pragma once
// The toolbar control's state and the helpers its files share (internal to
// platform/comctl). One ToolbarState lives per toolbar window, owned by the window
// (zyn::user::SetControlState at WM_NCCREATE), so it and every GDI object, image list and
// font it made go with the window, however the window goes. Handlers hold it by a shared
// pointer for the length of a message and check `destroyed` after each notification they
// send, since the receiver may destroy the toolbar.
//
// The files follow the control's concerns: toolbar_buttons.cpp (items, texts, states),
// toolbar_images.cpp (bitmaps and image lists), toolbar_layout.cpp (sizes, rows, hit
// tests), toolbar_paint.cpp (custom draw and the classic look), toolbar_input.cpp (mouse,
// hot item, drop-downs, drag customisation), toolbar_tips.cpp (the tooltip),
// toolbar_saverestore.cpp (TB_SAVERESTORE), toolbar_customize.cpp (the customise dialog)
// and toolbar_control.cpp (the window procedure).
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/toolbar.h"
#include "platform/user/control_common.h"
#include "platform/user/user_types.h"

namespace zyn::comctl::tb {

// Defaults of the documented geometry (toolbar.h).
inline constexpr SIZE kDefaultBitmap{16, 15};
inline constexpr SIZE kDefaultPadding{7, 6};
inline constexpr int kDefaultSeparator = 8;
inline constexpr int kListTextGap = 4;      // between the image and the text of a list button
inline constexpr int kDividerHeight = 2;    // the etched line above the buttons
inline constexpr int kMaxSavedItems = 4096; // TB_SAVERESTORE refuses more

struct Button {
    int image = 0;
    int command = 0;
    BYTE state = TBSTATE_ENABLED;
    BYTE style = BTNS_BUTTON;
    DWORD_PTR data = 0;
    INT_PTR stringIndex = -1;           // into the string pool, or -1
    std::optional<std::wstring> ownText; // a text given by pointer
    WORD cx = 0;                        // width set with TBIF_SIZE (0: computed)
    RECT rect{};                        // where layout put it (empty while hidden)
    int row = 0;                        // the row layout put it in
    int textCx = 0;                     // its text's width as shown (0: none shown)

    bool IsSeparator() const { return (style & BTNS_SEP) != 0; }
    bool IsHidden() const { return (state & TBSTATE_HIDDEN) != 0; }
    bool IsEnabled() const { return (state & TBSTATE_ENABLED) != 0; }
};

struct ToolbarState : zyn::user::ControlState {
    ToolbarState();
    ~ToolbarState() override;

    HWND self = nullptr;
    HWND notify = nullptr;      // the parent, or TB_SETPARENT's window
    bool ansiNotify = false;    // the notify window answered WM_NOTIFYFORMAT with NFR_ANSI
    bool destroyed = false;

    std::vector<Button> buttons;
    std::vector<std::wstring> strings;   // the string pool (TB_ADDSTRING)
    UINT structSize = sizeof(TBBUTTON);

    // Geometry settings.
    SIZE bitmap = kDefaultBitmap;
    bool bitmapSet = false;              // TB_SETBITMAPSIZE, or the normal image list's size
    std::optional<SIZE> buttonSet;       // TB_SETBUTTONSIZE
    SIZE padding = kDefaultPadding;
    int indent = 0;
    int minWidth = 0, maxWidth = 0;      // TB_SETBUTTONWIDTH
    int maxTextRows = 1;
    DWORD exStyle = 0;
    DWORD drawTextMask = 0, drawTextFlags = 0;

    // Images: the lists the application set, and the one TB_ADDBITMAP builds (ours).
    HIMAGELIST normal = nullptr, hotList = nullptr, disabled = nullptr, pressedList = nullptr;
    HIMAGELIST ownList = nullptr;
    struct BitmapSource {
        HINSTANCE inst;
        UINT_PTR id;   // resource ID, or the HBITMAP given
        int first;     // first image index
        int count;
    };
    std::vector<BitmapSource> bitmaps;

    // Layout results (toolbar_layout.cpp).
    SIZE button{};          // the common button size
    int textHeight = 0;     // one text line, 0 when no text is shown
    int textWidth = 0;      // the widest text
    int arrowWidth = 0;     // the drop-down arrow part
    int rows = 1;

    // Look and feel.
    int hot = -1;
    bool anchor = false;
    TBINSERTMARK mark{-1, 0};
    std::optional<COLORREF> markColor;
    HFONT font = nullptr;      // in use
    HFONT ownFont = nullptr;   // the one we made
    HBRUSH dither = nullptr;   // checked buttons (ours)
    HWND tooltip = nullptr;
    bool ownTooltip = false;
    std::wstring tipText;      // the last tip text handed to the tooltip by pointer

    // Mouse.
    int pressed = -1;          // the button being pressed with the mouse
    bool pressedInside = false;
    int dropIndex = -1;        // the split button whose arrow part is held (TBN_DROPDOWN)
    bool trackingLeave = false;
    int dragIndex = -1;        // the button being dragged (customisation)
    bool customizing = false;  // the customise dialog is up

    Button* At(int index) { return index >= 0 && index < Count() ? &buttons[static_cast<size_t>(index)] : nullptr; }
    const Button* At(int index) const
    {
        return index >= 0 && index < Count() ? &buttons[static_cast<size_t>(index)] : nullptr;
    }
    int Count() const { return static_cast<int>(buttons.size()); }
    DWORD Style() const;
    bool Flat() const;
    bool HotTracking() const { return Flat() || (Style() & TBSTYLE_LIST); }
};

std::shared_ptr<ToolbarState> StateOf(HWND hwnd);

// ---- notifications (toolbar_control.cpp) -------------------------------------------------------------
// Fills hdr's sender fields and sends WM_NOTIFY to the notify window; its answer.
LRESULT Notify(ToolbarState& s, UINT code, NMHDR& hdr);
// An NMTOOLBAR notification about a button (may be null for none).
LRESULT NotifyButton(ToolbarState& s, UINT code, int iItem, const Button* b);
// Invalidates the control when it is visible; WM_PAINT repaints it.
void Redraw(ToolbarState& s);
// Lays the buttons out again, updates the tooltip's tools, repaints.
void Changed(ToolbarState& s);

// ---- buttons (toolbar_buttons.cpp) -----------------------------------------------------------------------------
int IndexOfCommand(const ToolbarState& s, int command);
// A TBBUTTON record read from the caller (structSize bytes), its text converted.
Button ReadButton(const ToolbarState& s, const TBBUTTON& in, bool ansi);
TBBUTTON WriteButton(const Button& b);
// The button's text as shown (own text, or the pool string), empty when none.
std::wstring TextOf(const ToolbarState& s, const Button& b);
bool InsertButtons(ToolbarState& s, int at, const void* records, size_t count, bool ansi);
// Inserts buttons at `at` (-1 or past the end: appends); the remembered indexes follow.
void InsertButtonObjects(ToolbarState& s, int at, std::vector<Button> add);
bool DeleteButton(ToolbarState& s, int index);
bool MoveButton(ToolbarState& s, int from, int to);
LRESULT HandleButtonMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled);

// ---- images (toolbar_images.cpp) -----------------------------------------------------------------------------
LRESULT HandleImageMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
// The list that a button's normal image comes from.
HIMAGELIST NormalList(const ToolbarState& s);

// ---- layout (toolbar_layout.cpp) ------------------------------------------------------------------------------
void Layout(ToolbarState& s);
// Lays out keeping the wrap states as they are (no TBSTYLE_WRAPABLE pass).
void LayoutKeepingWraps(ToolbarState& s);
// The room a button leaves around its image and text (toolbar.h).
SIZE ButtonFrame(const ToolbarState& s);
// Whether the button shows its text (TB_SETMAXTEXTROWS 0 and mixed list buttons without
// BTNS_SHOWTEXT show none; the text then serves the tooltip).
bool ShowsText(const ToolbarState& s, const Button& b);
int Width(const ToolbarState& s, const Button& b);
int HitTest(const ToolbarState& s, POINT pt);
bool InsertMarkHitTest(const ToolbarState& s, POINT pt, TBINSERTMARK& out);
// The arrow part of a drop-down button (empty for other buttons).
RECT ArrowRect(const ToolbarState& s, const Button& b);
bool HasArrowPart(const ToolbarState& s, const Button& b);
// The size of all visible items as laid out.
SIZE ContentSize(const ToolbarState& s);
LRESULT HandleLayoutMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
void AutoSize(ToolbarState& s);

// ---- painting (toolbar_paint.cpp) ------------------------------------------------------------------------------
void Paint(ToolbarState& s, HDC hdc, const RECT* update);
// WM_ERASEBKGND with the CDDS_PREERASE / CDDS_POSTERASE protocol; TRUE when erased.
LRESULT Erase(ToolbarState& s, HDC hdc);
void PaintNonClient(ToolbarState& s);
HFONT CurrentFont(ToolbarState& s);

// ---- input (toolbar_input.cpp) -------------------------------------------------------------------------------
LRESULT HandleMouse(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp);
// Makes `index` hot (-1: none) after asking with TBN_HOTITEMCHANGE; the previous hot
// index, or nothing when the change was refused.
std::optional<int> SetHot(ToolbarState& s, int index, DWORD flags);
void CancelMouse(ToolbarState& s);

// ---- tooltips (toolbar_tips.cpp) ------------------------------------------------------------------------------
void CreateToolTip(ToolbarState& s);
void SyncTools(ToolbarState& s);
void RelayToTip(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp);
// TTN_GETDISPINFOW/A from our tooltip: asks the parent; TRUE when handled.
LRESULT AnswerTipText(ToolbarState& s, NMHDR* hdr);

// ---- saved state (toolbar_saverestore.cpp) ----------------------------------------------------------------
struct SavedItem {
    int32_t command;
    int32_t bitmap;
    BYTE state;
    BYTE style;
};
// The value's bytes for the toolbar's items.
std::vector<uint8_t> EncodeSavedState(std::span<const SavedItem> items);
// The items of a value, or nothing when the bytes are not a value of our format.
std::optional<std::vector<SavedItem>> DecodeSavedState(std::span<const uint8_t> bytes);
LRESULT SaveRestore(ToolbarState& s, bool save, const void* params, bool ansi);

// ---- customise dialog (toolbar_customize.cpp) ---------------------------------------------------------
// Its controls: the buttons on offer and on the toolbar (list boxes), and its buttons
// (Close is IDCANCEL).
inline constexpr int kCustomizeAvailable = 201, kCustomizeCurrent = 202, kCustomizeAdd = 203,
                     kCustomizeRemove = 204, kCustomizeReset = 205, kCustomizeHelp = 206, kCustomizeUp = 207,
                     kCustomizeDown = 208;
void Customize(ToolbarState& s);
// The buttons the parent offers for customisation (TBN_GETBUTTONINFO 0, 1, ...).
std::vector<Button> OfferedButtons(ToolbarState& s);

} // namespace zyn::comctl::tb
