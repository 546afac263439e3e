#pragma once
// The class library's drawing classes in one include, for code that wants them all (the
// window DCs, which need the window system, are in platform/afx/window_dc.h).
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/gdi_object.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/gdi/palette.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/afx/gdi/temp_maps.h"

