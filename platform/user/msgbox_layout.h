#pragma once
// The geometry of a message box, from the dialog base units (bx, by) of the message font
// (dialog.h), without any window:
//   margins        mx = MulDiv(7, bx, 4) at the sides, my = MulDiv(7, by, 8) above and below
//   icon           SM_CXICON x SM_CYICON at (mx, my), when the box has one
//   text           from mx (or mx beyond the icon) and my down, wrapped at half the work
//                  area's width; a text lower than the icon is centred against it
//   buttons        one size for all: height MulDiv(14, by, 8), width the larger of
//                  MulDiv(50, bx, 4) and the widest label plus MulDiv(8, bx, 4); MulDiv(4, bx, 4)
//                  apart, centred in a row my below the icon and text
//   client area    as wide as the text (with its margins) or the row of buttons (with
//                  its margins), whichever is wider; my below the buttons
// The window around it is centred in the work area.
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::user {

struct MessageBoxMetrics {
    int baseX = 0, baseY = 0;   // dialog base units of the message font
    int iconCx = 0, iconCy = 0; // SM_CXICON, SM_CYICON
    int workWidth = 0;          // width of the work area
};

struct MessageBoxLayout {
    SIZE client{};
    RECT icon{};                // empty without an icon
    RECT text{};
    std::vector<RECT> buttons;  // in the order of the labels
};

// The width the text wraps at.
int MessageTextWrapWidth(const MessageBoxMetrics& m);
// `text`: the extent of the text wrapped at MessageTextWrapWidth; `labels`: each button
// label's width.
MessageBoxLayout LayoutMessageBox(SIZE text, const std::vector<int>& labels, bool hasIcon,
    const MessageBoxMetrics& m);

} // namespace zyn::user
