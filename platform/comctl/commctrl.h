#pragma once
// The common controls' API in one include, for code written against the Windows
// headers: initialisation (InitCommonControlsEx and the ICC_ sets, kept in the drawing
// layer's built-in "comctl32.dll"), the tooltip, tab and up-down controls, and window
// subclassing.
#include "platform/comctl/subclass.h"
#include "platform/comctl/tabctrl.h"
#include "platform/comctl/tooltip.h"
#include "platform/comctl/updown.h"
#include "platform/gdi/builtin_modules.h"
