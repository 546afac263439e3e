#pragma once
// The class library's tooltips for windows that ask for them (CWnd::EnableToolTips).
//
// Each thread has one tooltip control (AFX_THREAD_STATE::m_pToolTip), made on first need
// and owned by the top-level window of the window whose tips it shows. Every mouse
// message such a window (or one of its descendants) gets passes through
// FilterToolTipMessage from PreTranslateMessage, and, inside the window system's own
// modal loops, from the thread's message filter. The filter asks the window for the tool
// under the mouse (the virtual CWnd::OnToolHitTest; by default the child window there, as
// a TTF_IDISHWND tool with LPSTR_TEXTCALLBACK text), keeps exactly that one tool in the
// thread's tooltip (the previous one is deleted when the mouse moves to another), and
// relays the message to the control addressed to the tool's own window, so even a
// disabled child, whose mouse messages go to its parent, gets its tip. The control then
// asks the window for the text with TTN_NEEDTEXTW or TTN_NEEDTEXTA, which message maps
// take with ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, ...); a frame answers by default
// with the second line of the tool's command string ("prompt\ntip").
//
// Key presses and CancelToolTips hide the tip; a window that stops showing tips or is
// destroyed takes its tool out of the control.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

class CWnd;
class CToolTipCtrl;

namespace zyn::afx {

// The filter of windows with WF_TOOLTIPS (the core's tooltip hook).
void FilterToolTipMessage(MSG* pMsg, CWnd* pWnd);
// A message of a window-system modal loop (the thread's WH_MSGFILTER): offered to every
// window from its own up through its parents that shows tooltips. Never takes it.
void FilterToolTipsInModalLoop(MSG* pMsg);
// The calling thread's tooltip, or null when none was made yet.
CToolTipCtrl* GetThreadToolTip();
// Destroys the calling thread's tooltip, window and object (done when the thread ends;
// tests do it before they reset the window system).
void DestroyThreadToolTip();

} // namespace zyn::afx
