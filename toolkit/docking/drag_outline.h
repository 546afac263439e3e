#pragma once
// COXDragOutline: the outline a bar drag shows on the screen, in the halftone pattern of
// black and white pixels, so it shows over any background (an inverting outline vanishes
// over mid grey, the MDI client's colour). What the outline covers is kept when it is
// drawn and put back when it moves or goes, which needs a screen that does not change
// under it meanwhile: the drag holds the desktop's window updates for its length.
//
// A frame of `size` (its thickness across and down) round `rect`: the top and bottom
// strips span the whole width, the side strips the height between them.
#include <memory>
#include <vector>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/geometry.h"

class CDC;

class COXDragOutline {
public:
    COXDragOutline() = default;
    COXDragOutline(const COXDragOutline&) = delete;
    COXDragOutline& operator=(const COXDragOutline&) = delete;

    // Puts back what the shown outline covered, then shows the frame of rect, size
    // thick; an empty size shows nothing.
    void Show(CDC& dc, const CRect& rect, CSize size);
    // Puts back what the shown outline covered.
    void Hide(CDC& dc);
    bool IsShown() const { return !m_strips.empty(); }

private:
    struct Strip {
        CRect rect;                         // in the DC's logical coordinates
        std::unique_ptr<CBitmap> saved;     // what was there
    };
    std::vector<Strip> m_strips;
};
