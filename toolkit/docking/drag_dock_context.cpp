// COXDragDockContext: the outline drag of a size control bar.
#include "toolkit/docking/drag_dock_context.h"

COXDragDockContext::COXDragDockContext(CControlBar* pBar) : CDockContext(pBar) {}

COXDragDockContext::~COXDragDockContext() = default;

// filled below
void COXDragDockContext::StartDrag(CPoint pt) { CDockContext::StartDrag(pt); }

// filled below
void COXDragDockContext::ToggleDocking() { CDockContext::ToggleDocking(); }

// filled below
BOOL COXDragDockContext::Track() { return CDockContext::Track(); }

// filled below
void COXDragDockContext::Move(CPoint pt) { CDockContext::Move(pt); }

// filled below
void COXDragDockContext::OnKey(int nChar, BOOL bDown) { CDockContext::OnKey(nChar, bDown); }

// filled below
void COXDragDockContext::EndDrag() { CDockContext::EndDrag(); }

// filled below
void COXDragDockContext::CancelDrag() { CDockContext::CancelLoop(); }

// filled below
void COXDragDockContext::DrawFocusRect(BOOL bRemoveRect) { CDockContext::DrawFocusRect(bRemoveRect); }

// filled below
void COXDragDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) { CDockContext::UpdateState(pFlag, bNewValue); }

// filled below
DWORD COXDragDockContext::CanDock() { return CDockContext::CanDock(); }

// filled below
CDockBar* COXDragDockContext::GetDockBar() { return nullptr; }

// filled below
void COXDragDockContext::ReleaseDesktop() {}

// filled below
CFrameWnd* COXDragDockContext::GetMainFrame() { return nullptr; }
