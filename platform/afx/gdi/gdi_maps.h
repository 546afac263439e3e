#pragma once
// Internal: the handle maps of CGdiObject, CDC and CImageList (see handle_maps.h).
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/gdi_object.h"
#include "platform/afx/gdi/handle_maps.h"
#include "platform/afx/gdi/image_list.h"

namespace zyn::afx::detail {

void ForgetGdiObject(CGdiObject& obj);
void ForgetDc(CDC& dc);
void ForgetImageList(CImageList& list);
using GdiTempMap = TempMap<CGdiObject, &ForgetGdiObject>;
using DcTempMap = TempMap<CDC, &ForgetDc>;
using ImageListTempMap = TempMap<CImageList, &ForgetImageList>;

PermanentMap<CGdiObject>& PermanentGdiObjects();
PermanentMap<CDC>& PermanentDcs();
PermanentMap<CImageList>& PermanentImageLists();
GdiTempMap& ThreadGdiTemps();
DcTempMap& ThreadDcTemps();
ImageListTempMap& ThreadImageListTemps();

} // namespace zyn::afx::detail
