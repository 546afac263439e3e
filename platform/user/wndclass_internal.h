#pragma once
// Class lookup for window creation.
#include <memory>

#include "platform/base/wintypes.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {

// The class a module sees under a name or atom: its own, then a global one, then a system
// one. Null with ERROR_CANNOT_FIND_WND_CLASS.
std::shared_ptr<WndClass> FindClass(LPCWSTR nameOrAtom, HINSTANCE module);
// A system class only (null when there is none; the last error is left alone).
std::shared_ptr<WndClass> FindSystemClass(LPCWSTR nameOrAtom);
// The module whose own registration of a class name a window the system creates for
// `preferred`'s module should use: `preferred` (null: the executable) when it has one,
// else the executable, else the module that registered the name last; null when no
// module has its own (the global or system class applies).
HINSTANCE ModuleWithOwnClass(LPCWSTR name, HINSTANCE preferred);
// Drops every class but the system ones (tests).
void ResetClasses();
// The class of the desktop and of message-only roots.
std::shared_ptr<WndClass> InternalClass(const wchar_t* name);

} // namespace zyn::user
