#pragma once
// What CDialog and CFormView share: finding a dialog template through the resource chain,
// creating a dialog window for a window object, running one modally.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/base/wintypes.h"
#include "platform/user/dialog.h"
#include "platform/user/user_types.h"

class CWnd;

namespace zyn::afx::detail {

// A template: a resource's bytes (size known), or an in-memory template whose end the
// dialog manager finds itself.
struct TemplateRef {
    std::span<const uint8_t> bytes;
    LPCDLGTEMPLATE pointer = nullptr;
    HINSTANCE module = nullptr;
    const void* Start() const { return pointer ? static_cast<const void*>(pointer) : bytes.data(); }
};

// The RT_DIALOG resource lpszName from the module that holds it in the resource chain;
// nullopt with the last error set (ERROR_RESOURCE_NAME_NOT_FOUND, or
// ERROR_INVALID_PARAMETER for a null name).
std::optional<TemplateRef> FindDialogTemplate(LPCTSTR lpszName);

// The window style a template gives (classic or extended layout); 0 for too few bytes.
DWORD TemplateStyle(const TemplateRef& t);

// Creates the dialog of template t as pWnd's window (modeless), with AfxDlgProc as its
// dialog procedure. FALSE with the dialog manager's error when no window was made; the
// object's PostNcDestroy has run then (a view deletes itself), as after a failed CreateEx.
BOOL CreateDialogWindow(CWnd* pWnd, const TemplateRef& t, HWND hWndParent);

// Runs template t modally as pWnd's window through the dialog manager; -1 when the
// dialog could not be made.
INT_PTR RunModalDialog(CWnd* pWnd, const TemplateRef& t, HWND hWndParent);

} // namespace zyn::afx::detail
