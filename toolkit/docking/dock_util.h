#pragma once
// Small questions the docking classes ask of the application and the message queue.
#include "platform/base/wintypes.h"

class CControlBar;
class CFrameWnd;
class COXSizeDockBar;

// The application's main window when it is a frame, else null.
CFrameWnd* OXGetMainFrame();
// Whether the main window answers WM_OX_QUERYSNAPPING with non-zero (bars dock live
// while dragged); FALSE without a main window.
BOOL OXIsSnappingOn();
// pBar as a size dock bar, or null.
COXSizeDockBar* OXAsSizeDockBar(CControlBar* pBar);
// Dispatches the thread's waiting WM_PAINT messages, so an outline or a moved bar is drawn
// over a finished picture. A WM_QUIT met on the way belongs to the application's loop: it
// is posted again and the pumping ends with FALSE.
BOOL OXDispatchPendingPaints();
