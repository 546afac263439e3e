#pragma once
// How code below the window system shows a message box (CException::ReportError).
// The window system installs its MessageBox here; until then the text goes to stderr
// and the default button (IDOK) answers.
#include "platform/base/wintypes.h"

namespace zyn::base {
using MessageBoxHook = int (*)(LPCWSTR text, LPCWSTR caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);
int ShowMessageBox(LPCWSTR text, LPCWSTR caption, UINT type);
} // namespace zyn::base
