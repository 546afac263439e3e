#include "toolkit/skins/toolbar_skin_bar.h"

#include <vector>

#include "platform/afx/mdi.h"
#include "platform/comctl/toolbar.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/toolbar_skin.h"

namespace zyn::tbskin {

AttachedDc::AttachedDc(HDC hdc) { m_attached = hdc && m_dc.Attach(hdc); }

AttachedDc::~AttachedDc()
{
    if (m_attached)
        m_dc.Detach();
}

bool HasWindow(const COXCoolToolBar* bar) { return bar && bar->m_hWnd && ::IsWindow(bar->m_hWnd); }

LRESULT Send(const COXCoolToolBar* bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return HasWindow(bar) ? ::SendMessageW(bar->m_hWnd, msg, wParam, lParam) : 0;
}

bool OfferToFrame(NMCUSTOMDRAW* customDraw, COXCoolToolBar* bar, LRESULT* result)
{
    if (!customDraw || !HasWindow(bar))
        return true;
    CWnd* receiver = (bar->m_dwStyle & CBRS_FLOATING) ? bar->GetTopLevelParent() : bar->GetParentFrame();
    if (!receiver || !receiver->GetSafeHwnd())
        return true;
    NMOXTBPRECUSTOMDRAW block{};
    block.hdr.hwndFrom = customDraw->hdr.hwndFrom;
    block.hdr.idFrom = customDraw->hdr.idFrom;
    block.hdr.code = OXTBN_PRECUSTOMDRAW;
    block.pCustomDraw = customDraw;
    block.lResult = 0;
    block.bContinue = TRUE;
    ::SendMessageW(receiver->m_hWnd, WM_NOTIFY, static_cast<WPARAM>(block.hdr.idFrom), reinterpret_cast<LPARAM>(&block));
    if (block.bContinue)
        return true;
    if (result)
        *result = block.lResult;
    return false;
}

CString ButtonText(const COXCoolToolBar* bar, int idCommand)
{
    // Asked for its length first, so that no text of any length overruns the buffer.
    const LRESULT length = Send(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(idCommand), 0);
    if (length <= 0)
        return CString();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(idCommand), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0)
        return CString();
    buffer.back() = L'\0';
    return CString(buffer.data());
}

bool IsMenuBar(const COXCoolToolBar* bar) { return OXIsMenuBar(bar); }

CString ShownText(COXCoolToolBar* bar, const TBBUTTON& button, DWORD extendedStyle)
{
    if (IsMenuBar(bar) && (button.fsStyle & BTNS_DROPDOWN) && !(extendedStyle & TBSTYLE_EX_DRAWDDARROWS)) {
        if (COXMenuBarPaintAccess* access = OXGetMenuBarPaintAccess()) {
            // The item's index comes from the command: a command of 0 or less names no item.
            CString text;
            if (button.idCommand < 1 || !access->GetItemText(bar, button.idCommand - 1, text))
                return CString();
            return text;
        }
    }
    return ButtonText(bar, button.idCommand);
}

ItemState TakeItemState(COXCoolToolBar* bar, const TBBUTTON& button)
{
    ItemState state;
    state.pressed = (button.fsState & TBSTATE_PRESSED) != 0;
    state.checked = (button.fsState & TBSTATE_CHECKED) != 0;
    state.disabled = (button.fsState & TBSTATE_ENABLED) == 0;
    if (!bar)
        return state;
    const LRESULT index = Send(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(button.idCommand));
    const LRESULT hot = Send(bar, TB_GETHOTITEM);
    state.hot = index >= 0 && hot == index;
    if (bar->GetDroppedButton() != -1 && bar->GetDroppedButton() == button.idCommand) {
        state.dropped = true;
        bar->SetDroppedButton(-1);
    }
    return state;
}

bool GetMaximizedChildButtons(COXMenuBar* menuBar, OXMENUBARBUTTONS& buttons, CMDIChildWnd** child)
{
    if (child)
        *child = nullptr;
    COXMenuBarPaintAccess* access = OXGetMenuBarPaintAccess();
    if (!menuBar || !access || !access->GetMenuButtons(menuBar, buttons))
        return false;
    // The frame is asked for its active child only when it is an MDI frame.
    CWnd* frame = buttons.pFrame;
    if (!frame || !frame->GetSafeHwnd() || !frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return false;
    BOOL maximized = FALSE;
    CMDIChildWnd* active = static_cast<CMDIFrameWnd*>(frame)->MDIGetActive(&maximized);
    if (!active || !maximized || buttons.rectClose.IsRectEmpty())
        return false;
    if (child)
        *child = active;
    return true;
}

} // namespace zyn::tbskin
