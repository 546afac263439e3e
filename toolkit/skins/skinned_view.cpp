#include "toolkit/skins/skinned_view.h"

template <>
CRuntimeClass* COXSkinnedView<CFormView>::GetThisClass()
{
    static CRuntimeClass runtimeClass = {"COXSkinnedView<CFormView>", static_cast<int>(sizeof(COXSkinnedView<CFormView>)),
        0xFFFF, nullptr, &CFormView::GetThisClass, nullptr};
    return &runtimeClass;
}

template class COXSkinnedView<CFormView>;

namespace {
// Registered with the process's classes at load, like every class of the library.
const AFX_CLASSINIT g_initSkinnedFormView(COXSkinnedView<CFormView>::GetThisClass());
} // namespace
