// The two instantiations of the menu-bar host and frame templates that the main frames
// derive from, compiled once here.
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "toolkit/menus/menu_bar_frame.h"
#include "toolkit/menus/menu_bar_host.h"

template class COXMenuBarHost<CFrameWnd>;
template class COXMenuBarHost<CMDIFrameWnd>;
template class COXMenuBarFrame<CFrameWnd>;
template class COXMenuBarFrame<CMDIFrameWnd>;
