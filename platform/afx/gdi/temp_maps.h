#pragma once
// The per-thread temporary wrappers that CGdiObject::FromHandle (and its typed forms)
// and CDC::FromHandle make for handles no permanent C++ object holds. A temporary is
// valid until the thread's next idle pass; it never deletes the handle it wraps.
#include <cstddef>

namespace zyn::afx {

// Frees this thread's temporary GDI-object and DC wrappers (their handles stay alive).
// The class library's idle pass calls it; so does thread exit.
void DeleteTempGdiObjects();

// Temporary wrappers this thread holds now (GDI objects and DCs together).
size_t TempGdiObjectCount();

} // namespace zyn::afx
