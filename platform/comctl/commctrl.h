#pragma once
// The common controls' API in one include, for code written against the Windows
// headers: initialisation (InitCommonControlsEx and the ICC_ sets, kept in the drawing
// layer's built-in "comctl32.dll"), the shared notifications and custom drawing, the
// tooltip, toolbar, tab, up-down, header, list-view, trackbar, progress and status-bar
// controls, property sheets, and window subclassing.
#include "platform/comctl/comctl_common.h"
#include "platform/comctl/header.h"
#include "platform/comctl/listview.h"
#include "platform/comctl/progress.h"
#include "platform/comctl/prsht.h"
#include "platform/comctl/statusbar.h"
#include "platform/comctl/subclass.h"
#include "platform/comctl/tabctrl.h"
#include "platform/comctl/toolbar.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/trackbar.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/builtin_modules.h"
