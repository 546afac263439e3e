#pragma once
// The dialog manager's shared state and steps, for the files of the dialog manager, the
// message box and the push buttons' default look.
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/wintypes.h"
#include "platform/user/control_common.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"

namespace zyn::user {

struct DialogState : ControlState {
    HFONT font = nullptr;        // what WM_GETFONT answers
    HFONT ownedFont = nullptr;   // made from the template or for a message box; deleted here
    int baseX = 0, baseY = 0;    // dialog base units of the font
    HWND savedFocus = nullptr;   // the control to give the focus back to
    UINT defId = 0;              // DM_SETDEFID's ID (0: none)
    HWND lookButton = nullptr;   // the push button the dialog manager moved the focus to
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND disabledOwner = nullptr; // the owner this modal dialog disabled
    ~DialogState() override;
};

// The state of a dialog window, made on first use for any window DefDlgProc serves.
std::shared_ptr<DialogState> DialogStateOf(HWND dlg);
std::shared_ptr<DialogState> EnsureDialogState(HWND dlg);

// The base units of a font: x from the average width of the 52 Latin letters, y its
// height (dialog.h). The system font when `font` is null.
SIZE DialogBaseUnitsOf(HFONT font);
// Gives a dialog its font (owned: deleted with the dialog) and the base units from it.
void SetDialogFont(HWND dlg, HFONT font, bool owned);

// Runs a created, initialised dialog modally (dialog.h). With `answerNow` it ends at once,
// never shown; otherwise `owner` is disabled, the dialog shown and the loop run until
// EndDialog. Then the owner is enabled and the dialog destroyed. `filterCode` is the
// WH_MSGFILTER code of the loop.
struct ModalOutcome {
    INT_PTR result = IDCANCEL;
    bool endedByDialog = false;  // EndDialog gave the result (not a dry or broken loop)
};
ModalOutcome RunDialogModal(HWND dlg, HWND owner, std::optional<INT_PTR> answerNow, int filterCode);

// The window a modal dialog of `parent` is owned by: the top-level window of a child.
HWND ModalOwnerOf(HWND parent);

// Gives a control the focus as the dialog manager does: SetFocus, and an edit-like
// control (DLGC_HASSETSEL) gets its whole text selected.
void SetDialogFocus(HWND ctl);
// The dialog manager's navigation (WM_NEXTDLGCTL, Tab, arrows, mnemonics): SetDialogFocus,
// and the default look moves with it (dialog_defbutton.cpp).
void NavigateDialogFocus(HWND ctl);
// IsDialogMessage with or without the WH_MSGFILTER call (a modal loop calls it itself).
BOOL IsDialogMessageImpl(HWND dlg, MSG& msg, bool callFilter);
// The controls of a dialog in tab order: direct children, each visible and enabled
// WS_EX_CONTROLPARENT child replaced by its own controls (recursively), the containers
// kept as markers.
struct TabEntry {
    HWND hwnd;
    bool container;
};
std::vector<TabEntry> FlattenControls(HWND dlg);

// The dialog manager moved the focus from `from` to `to`: a push button it reached takes
// the default look; leaving one gives the look back to the default ID's button.
void DefaultLookFollowsNavigation(HWND from, HWND to);
// DM_SETDEFID's work on the buttons' looks.
void ApplyDefaultId(HWND dlg, UINT id);

} // namespace zyn::user
