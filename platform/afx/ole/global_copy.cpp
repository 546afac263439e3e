#include "platform/afx/ole/global_copy.h"

#include <cstring>

#include "platform/base/globalmem.h"

namespace zyn::ole {

HGLOBAL CopyGlobalBlock(HGLOBAL h)
{
    const SIZE_T n = GlobalSize(h);
    const void* src = GlobalLock(h);
    if (!src)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, n);
    if (copy) {
        if (void* dst = GlobalLock(copy)) {
            std::memcpy(dst, src, n);
            GlobalUnlock(copy);
        } else {
            GlobalFree(copy);
            copy = nullptr;
        }
    }
    GlobalUnlock(h);
    return copy;
}

} // namespace zyn::ole
