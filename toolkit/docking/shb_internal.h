#pragma once
// What the shortcut bar and its lists share behind their classes: answering a tooltip's
// text request from the record the application filled, and sending their notifications.
#include "platform/user/user_types.h"
#include "toolkit/docking/shb_messages.h"

class CWnd;

namespace zyn::toolkit::shb {

// Copies the record into a TTN_NEEDTEXTW or TTN_NEEDTEXTA request: the 80 characters
// (converted to the ANSI code page for the narrow request, always terminated inside the
// request's buffer), the text pointer (for the narrow request its text is converted into
// the buffer instead, since its pointer cannot carry UTF-16) and the module instance.
void FillToolTipRequest(NMHDR* pNMHDR, SHBToolTipText& tip);

// Fills the record's hwndFrom and idFrom from `from` and sends WM_NOTIFY to its owner
// (else its parent); 0 when `from` has no window or no owner.
LRESULT SendNotification(CWnd& from, NMSHORTCUTBAR* pNMSHB);

} // namespace zyn::toolkit::shb
