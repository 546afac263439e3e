#pragma once
// The class library's core in one include, for code written against the class library:
// command targets and message maps, window objects, menus, command updates, threads and
// the application, the window DCs and the drawing classes, the standard IDs, dialogs with
// data exchange, property sheets and pages, the control wrappers, form views and the file and
// print dialogs.
#include "platform/afx/afxpriv.h"
#include "platform/afx/afxres.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/cmdtarget.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/ctlwrap.h"
#include "platform/afx/ddx.h"
#include "platform/afx/dialog.h"
#include "platform/afx/filedlg.h"
#include "platform/afx/formview.h"
#include "platform/afx/gdi/afxgdi.h"
#include "platform/afx/menu.h"
#include "platform/afx/printdlg.h"
#include "platform/afx/proppage.h"
#include "platform/afx/propsheet.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/scrollbar.h"
#include "platform/afx/winapp.h"
#include "platform/afx/window_dc.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/user/winuser.h"
