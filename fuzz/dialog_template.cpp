// Reads arbitrary bytes as a dialog template: it must parse or be refused cleanly, never
// read past the bytes; a template that parses is also turned into a (hidden) dialog with
// its controls and destroyed again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/user/dialog.h"
#include "platform/user/dialog_template.h"
#include "platform/user/window.h"

namespace {

// Answers nothing: every message takes its default.
INT_PTR Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    const auto t = zyn::user::ParseDialogTemplate(bytes);
    // Creation costs a window per item: only small templates go that far.
    if (!t || t->items.size() > 32)
        return 0;
    if (HWND dlg = zyn::user::CreateDialogFromBytes(bytes, nullptr, nullptr, &Quiet, 0))
        DestroyWindow(dlg);
    return 0;
}
