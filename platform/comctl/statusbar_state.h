#pragma once
// The status bar's state and what its files share (internal to platform/comctl). The
// state is owned by the window (zyn::user::ControlState) and frees the font it made with
// it. The geometry is arithmetic on the state and the client size (the rules are in
// statusbar.h).
#include <string>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/comctl/statusbar.h"
#include "platform/user/control_common.h"

namespace zyn::comctl::detail {

inline constexpr int kSbHorzBorder = 0;
inline constexpr int kSbVertBorder = 2;
inline constexpr int kSbSpacing = 2;
inline constexpr int kSbFrame = 1;      // a part's border
inline constexpr int kSbTextPadX = 2;   // between the frame (or the icon) and the text
inline constexpr int kSbTextPadY = 1;   // above and below the text
inline constexpr int kSbMaxParts = 256;
inline constexpr size_t kSbMaxText = 0xFFFF;

struct SbPart {
    std::wstring text;
    UINT type = 0;            // SBT_* bits
    LPARAM data = 0;          // SBT_OWNERDRAW: the value handed to the parent
    HICON icon = nullptr;     // not owned
    std::wstring tip;
};

struct StatusBarState : zyn::user::ControlState {
    ~StatusBarState() override;

    HWND self = nullptr;
    bool ansiParent = false;      // the parent's WM_NOTIFYFORMAT answer (notifications stay wide)
    std::vector<int> edges{-1};   // the right edge of each part, as set
    std::vector<SbPart> parts{SbPart{}};
    SbPart simplePart;
    bool simple = false;
    int minHeight = 0;            // SB_SETMINHEIGHT (the drawing area, without borders)
    COLORREF bkColor = CLR_DEFAULT;
    HFONT ownFont = nullptr;      // the status font, made by the bar
    HFONT font = nullptr;         // the font in use (ownFont unless WM_SETFONT gave one)
    HWND toolTip = nullptr;       // SBARS_TOOLTIPS
    bool placing = false;         // inside our own SetWindowPos
};

// Geometry for a client size (statusbar_layout.cpp).
struct SbLayout {
    RECT grip{};                  // empty without a shown grip
    std::vector<RECT> parts;      // each part's rectangle (multi-part mode)
    RECT simple{};                // the simple part's rectangle
};
SbLayout LayoutStatusBar(const StatusBarState& s, int clientWidth, int clientHeight, bool gripShown);
SbLayout LayoutOf(const StatusBarState& s);
// The grip is drawn and active: SBARS_SIZEGRIP and a parent that is not maximised.
bool GripShown(const StatusBarState& s);
// The bar's client height for its font and minimum height.
int BarHeight(const StatusBarState& s);
// Moves and sizes the bar in its parent (the CCS_ rules).
void PlaceStatusBar(StatusBarState& s);
// The part under a client point: its index, SB_SIMPLEID in simple mode, -1 for none.
int PartFromPoint(const StatusBarState& s, POINT pt);

// Painting (statusbar_paint.cpp).
void PaintStatusBar(StatusBarState& s, HDC hdc);

// Makes (or remakes) the bar's own status font.
void MakeStatusFont(StatusBarState& s);
// Puts one tooltip tool per part that has tip text (SBARS_TOOLTIPS).
void SyncTipTools(StatusBarState& s);

} // namespace zyn::comctl::detail
