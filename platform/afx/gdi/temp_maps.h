#pragma once
// The per-thread temporary wrappers that CGdiObject::FromHandle (and its typed forms),
// CDC::FromHandle and CImageList::FromHandle make for handles no permanent C++ object
// holds. A temporary is valid until the thread's next idle pass; it never deletes the
// handle it wraps.
#include <cstddef>

namespace zyn::afx {

// Frees this thread's temporary GDI-object, DC and image-list wrappers (their handles
// stay alive). The class library's idle pass calls it; so does thread exit.
void DeleteTempGdiObjects();

// Temporary wrappers this thread holds now (GDI objects, DCs and image lists together).
size_t TempGdiObjectCount();

} // namespace zyn::afx
