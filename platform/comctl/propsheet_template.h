#pragma once
// Dialog templates of property sheets (internal to platform/comctl): a parsed template
// written back in its own layout, a page's template made into a child's, and the sheet's
// own template (see prsht.h for its style, font and controls).
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/dialog_template.h"

namespace zyn::comctl::detail {

// The bytes of a template in its own layout (classic or extended), items' creation data
// included; ParseDialogTemplate reads them back as they were.
std::vector<uint8_t> WriteDialogTemplate(const user::DialogTemplate& t);
// A page's template as the page is made from it: WS_CHILD | DS_CONTROL | DS_3DLOOK,
// without popup, caption, frame, menu or visibility, at (0, 0).
void MakePageTemplate(user::DialogTemplate& t);
// The sheet's template for these PSH_ flags: the child form has no buttons, WS_CHILD and
// DS_CONTROL instead of WS_POPUP and DS_MODALFRAME. DS_SETFONT is always there.
std::vector<uint8_t> BuildSheetTemplate(DWORD pshFlags, bool child, DWORD style, DWORD exStyle,
    const std::wstring& caption);
// The style and extended style of a classic or extended template; zeros for too few bytes.
std::pair<DWORD, DWORD> TemplateStyles(std::span<const uint8_t> bytes);

} // namespace zyn::comctl::detail
