// COXSizeControlBar's mouse: hit testing, the caption buttons, the live drag and the
// offset of the floating frame under the cursor.
#include "toolkit/docking/size_control_bar.h"

// filled below
void COXSizeControlBar::OnLButtonDown(UINT nFlags, CPoint point) { CControlBar::OnLButtonDown(nFlags, point); }

// filled below
void COXSizeControlBar::OnLButtonUp(UINT nFlags, CPoint point) { CControlBar::OnLButtonUp(nFlags, point); }

// filled below
void COXSizeControlBar::OnMouseMove(UINT nFlags, CPoint point) { CControlBar::OnMouseMove(nFlags, point); }

// filled below
void COXSizeControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) { CControlBar::OnLButtonDblClk(nFlags, point); }

// filled below
BOOL COXSizeControlBar::DragLive(CPoint /*ptScreen*/, UINT /*nFlags*/) { return FALSE; }

// filled below
void COXSizeControlBar::EndLiveDrag() { m_bDragging = FALSE; }

// filled below
void COXSizeControlBar::SaveMouseOffset(CPoint /*point*/) {}
