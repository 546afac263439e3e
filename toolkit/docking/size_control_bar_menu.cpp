// COXSizeControlBar's commands: the context menu, hiding and showing (with the bar's
// tab), docking switched off and on, floating as an MDI child, and the active bar.
#include "toolkit/docking/size_control_bar.h"

// filled below
void COXSizeControlBar::OnContextMenu(CWnd* pWnd, CPoint point) { CControlBar::OnContextMenu(pWnd, point); }

// filled below
void COXSizeControlBar::AppendContextMenuItems(HMENU /*hMenu*/) {}

// filled below
LRESULT COXSizeControlBar::OnAddContextMenuItems(WPARAM /*wParam*/, LPARAM /*lParam*/) { return 1; }

// filled below
LRESULT COXSizeControlBar::OnBarFloated(WPARAM /*wParam*/, LPARAM /*lParam*/) { return 1; }

// filled below
void COXSizeControlBar::OnHide() {}

// filled below
void COXSizeControlBar::OnToggleAllowDocking() {}

// filled below
void COXSizeControlBar::OnFloatAsMDI() {}

// filled below
void COXSizeControlBar::ShowBar(BOOL /*bShow*/) {}

// filled below
void COXSizeControlBar::SetActive(BOOL bActive, BOOL /*bDeactivateOthers*/) { m_bActive = bActive; }

// filled below
CFrameWnd* COXSizeControlBar::GetOwningFrame() const { return GetParentFrame(); }
