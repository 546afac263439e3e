#pragma once
// What the data-exchange files share: the failure box and the text of a control.
#include "platform/afx/ddx.h"

namespace zyn::afx::detail {

// Shows the prompt nIDPrompt (with "%1"/"%2" replaced by arg1/arg2 when given) in a
// message box and fails the exchange (CDataExchange::Fail).
[[noreturn]] void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCTSTR arg1 = nullptr, LPCTSTR arg2 = nullptr);

// A window's whole text.
CString WindowTextOf(HWND hWnd);
// Sets a window's text unless it shows that text already (no flicker, no change
// notification for nothing).
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR lpszText);

} // namespace zyn::afx::detail
