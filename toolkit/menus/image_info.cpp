#include "toolkit/menus/image_info.h"

#include "platform/afx/gdi/image_list.h"

SIZE COXImageInfo::GetImageSize() const
{
    IMAGEINFO info{};
    if (!m_pImageList || !m_pImageList->GetSafeHandle() || m_nIndex < 0 ||
        !m_pImageList->GetImageInfo(m_nIndex, &info))
        return SIZE{0, 0};
    return SIZE{info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top};
}
