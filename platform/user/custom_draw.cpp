// Notifications and custom drawing shared by the standard and common controls (custom_draw.h).
#include "platform/user/custom_draw.h"

#include "platform/user/control_common.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"

namespace zyn::user {

LRESULT SendNotify(HWND ctl, UINT code, NMHDR& hdr)
{
    hdr.hwndFrom = ctl;
    hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(ctl));
    hdr.code = code;
    const HWND target = zyn::user::NotifyTarget(ctl);
    if (!target)
        return 0;
    return ::SendMessageW(target, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

bool NotifyWindowWantsAnsi(HWND ctl, LPARAM query)
{
    const HWND target = zyn::user::NotifyTarget(ctl);
    if (!target)
        return false;
    return ::SendMessageW(target, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(ctl), query) == NFR_ANSI;
}

CustomDraw::CustomDraw(HWND ctl, HDC hdc, const RECT& client, UINT state)
    : m_ctl(ctl), m_hdc(hdc), m_client(client), m_state(state)
{
}

LRESULT CustomDraw::Send(DWORD stage, DWORD_PTR item, const RECT& rc, UINT state)
{
    NMCUSTOMDRAW nm{};
    nm.dwDrawStage = stage;
    nm.hdc = m_hdc;
    nm.rc = rc;
    nm.dwItemSpec = item;
    nm.uItemState = state;
    return SendNotify(m_ctl, NM_CUSTOMDRAW, nm.hdr);
}

bool CustomDraw::PrePaint()
{
    m_pre = Send(CDDS_PREPAINT, 0, m_client, m_state);
    return !(m_pre & CDRF_SKIPDEFAULT);
}

bool CustomDraw::ItemPrePaint(DWORD_PTR item, const RECT& rc, UINT state)
{
    m_item = CDRF_DODEFAULT;
    if (!(m_pre & CDRF_NOTIFYITEMDRAW))
        return true;
    m_item = Send(CDDS_ITEMPREPAINT, item, rc, state);
    return !(m_item & CDRF_SKIPDEFAULT);
}

void CustomDraw::ItemPostPaint(DWORD_PTR item, const RECT& rc, UINT state)
{
    if ((m_pre & CDRF_NOTIFYITEMDRAW) && (m_item & CDRF_NOTIFYPOSTPAINT))
        Send(CDDS_ITEMPOSTPAINT, item, rc, state);
}

void CustomDraw::PostPaint()
{
    if ((m_pre & CDRF_NOTIFYPOSTPAINT) && !(m_pre & CDRF_SKIPPOSTPAINT))
        Send(CDDS_POSTPAINT, 0, m_client, m_state);
}

} // namespace zyn::user
