#pragma once
// Window subclassing that composes: several procedures can watch one window and leave in
// any order, which replacing GWLP_WNDPROC cannot promise (the last one in must be the
// first one out, or a procedure is lost).
//
// The first SetWindowSubclass on a window puts one shared procedure in front of the
// window's own and remembers that one; every subclass, named by its procedure and ID, is
// then called newest first, and DefSubclassProc hands a message to the next older one and
// finally to the window's own procedure. Removing the last subclass puts the window's own
// procedure back when nobody replaced GWLP_WNDPROC after us; otherwise the shared
// procedure stays and passes everything through. At WM_NCDESTROY the subclasses see the
// message and are then dropped. All calls must come from the window's thread.
#include "platform/base/wintypes.h"

using SUBCLASSPROC = LRESULT (*)(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR uIdSubclass,
    DWORD_PTR dwRefData);

// Installs (or, for a procedure and ID already installed, updates the reference data of)
// a subclass. FALSE with ERROR_INVALID_WINDOW_HANDLE for a bad window,
// ERROR_INVALID_PARAMETER for a null procedure, ERROR_ACCESS_DENIED from another thread.
BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
// Whether the subclass is installed; its reference data into *pdwRefData (0 when not).
BOOL GetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR* pdwRefData);
BOOL RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass);
// Called from a subclass procedure: the next older subclass, else the window's own
// procedure. Outside a subclass procedure of that window: DefWindowProc.
LRESULT DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

namespace zyn::comctl {
// Windows that have subclass records (live ones only), for leak checks.
size_t SubclassedWindowCount();
} // namespace zyn::comctl
