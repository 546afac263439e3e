#pragma once
// Internal: the handle maps of CGdiObject and CDC (see handle_maps.h).
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/gdi_object.h"
#include "platform/afx/gdi/handle_maps.h"

namespace zyn::afx::detail {

void ForgetGdiObject(CGdiObject& obj);
void ForgetDc(CDC& dc);
using GdiTempMap = TempMap<CGdiObject, &ForgetGdiObject>;
using DcTempMap = TempMap<CDC, &ForgetDc>;

PermanentMap<CGdiObject>& PermanentGdiObjects();
PermanentMap<CDC>& PermanentDcs();
GdiTempMap& ThreadGdiTemps();
DcTempMap& ThreadDcTemps();

} // namespace zyn::afx::detail
