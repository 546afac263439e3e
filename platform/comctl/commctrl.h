#pragma once
// The common controls' API in one include, for code written against the Windows
// headers: initialisation (InitCommonControlsEx and the ICC_ sets, kept in the drawing
// layer's built-in "comctl32.dll"), the shared notifications, the toolbar and tooltip
// controls, and window subclassing.
#include "platform/comctl/comctl_common.h"
#include "platform/comctl/subclass.h"
#include "platform/comctl/toolbar.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/builtin_modules.h"
