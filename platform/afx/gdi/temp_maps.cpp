#include "platform/afx/gdi/temp_maps.h"

#include "platform/afx/gdi/gdi_maps.h"

namespace zyn::afx {
namespace detail {

void ForgetGdiObject(CGdiObject& obj) { obj.Detach(); }
void ForgetDc(CDC& dc) { dc.Detach(); }
void ForgetImageList(CImageList& list) { list.Detach(); }

PermanentMap<CGdiObject>& PermanentGdiObjects()
{
    static Immortal<PermanentMap<CGdiObject>> map;
    return map.get();
}

PermanentMap<CDC>& PermanentDcs()
{
    static Immortal<PermanentMap<CDC>> map;
    return map.get();
}

PermanentMap<CImageList>& PermanentImageLists()
{
    static Immortal<PermanentMap<CImageList>> map;
    return map.get();
}

// Destroyed at thread exit, which frees the thread's remaining temporaries.
GdiTempMap& ThreadGdiTemps()
{
    thread_local GdiTempMap map;
    return map;
}

DcTempMap& ThreadDcTemps()
{
    thread_local DcTempMap map;
    return map;
}

ImageListTempMap& ThreadImageListTemps()
{
    thread_local ImageListTempMap map;
    return map;
}

} // namespace detail

void DeleteTempGdiObjects()
{
    detail::ThreadImageListTemps().Clear();
    detail::ThreadDcTemps().Clear();
    detail::ThreadGdiTemps().Clear();
}

size_t TempGdiObjectCount()
{
    return detail::ThreadImageListTemps().Size() + detail::ThreadDcTemps().Size() + detail::ThreadGdiTemps().Size();
}

} // namespace zyn::afx
