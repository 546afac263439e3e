// COXSHBDropTarget.
#include "toolkit/docking/shb_drop_target.h"

#include <cstring>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/view.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/user/winuser.h"

namespace {

constexpr UINT kNoScroll = 0xFFFF;

SHBDROPTARGETACTION ZeroAction()
{
    SHBDROPTARGETACTION a;
    std::memset(static_cast<void*>(&a), 0, sizeof a); // padding too: the receiver sees a fully zeroed record
    return a;
}

// Whether the window scrolls one way: the style, overruled by the scroll information when
// it can be read (a page of at least 1, a maximum reaching the page, and a maximum that is
// non-zero with the style or positive without it).
bool CanScroll(HWND hwnd, int bar, DWORD styleBit)
{
    const bool styled = (static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)) & styleBit) != 0;
    SCROLLINFO si;
    std::memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(hwnd, bar, &si))
        return styled;
    bool can = si.nPage >= 1 && si.nMax >= static_cast<int>(si.nPage);
    can = can && (styled ? si.nMax != 0 : si.nMax > 0);
    return can;
}

} // namespace

COXSHBDropTarget::COXSHBDropTarget() = default;
COXSHBDropTarget::~COXSHBDropTarget() = default;

LRESULT COXSHBDropTarget::SendSHBDTMessage(UINT message, SHBDROPTARGETACTION* pAction)
{
    const HWND hwnd = pAction ? zyn::afx::SafeHwndOf(pAction->pWnd) : nullptr;
    if (!hwnd || !::IsWindow(hwnd))
        return 0;
    return ::SendMessageW(hwnd, message, 0, reinterpret_cast<LPARAM>(pAction));
}

DROPEFFECT COXSHBDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    a.pDataObject = pDataObject;
    a.dwKeyState = dwKeyState;
    a.point = point;
    if (SendSHBDTMessage(SHBDTM_DRAGENTER, &a))
        return static_cast<DROPEFFECT>(a.result);
    return DROPEFFECT_NONE;
}

void COXSHBDropTarget::OnDragLeave(CWnd* pWnd)
{
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    if (!SendSHBDTMessage(SHBDTM_DRAGLEAVE, &a))
        COleDropTarget::OnDragLeave(pWnd);
}

DROPEFFECT COXSHBDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    a.pDataObject = pDataObject;
    a.dwKeyState = dwKeyState;
    a.point = point;
    if (SendSHBDTMessage(SHBDTM_DRAGOVER, &a))
        return static_cast<DROPEFFECT>(a.result);
    return DROPEFFECT_NONE;
}

BOOL COXSHBDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    a.pDataObject = pDataObject;
    a.dropEffect = dropEffect;
    a.point = point;
    if (SendSHBDTMessage(SHBDTM_DROP, &a))
        return static_cast<BOOL>(a.result);
    return FALSE;
}

DROPEFFECT COXSHBDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
    DROPEFFECT dropList, CPoint point)
{
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    a.pDataObject = pDataObject;
    a.dropEffect = dropDefault;
    a.dropEffectList = dropList;
    a.point = point;
    if (SendSHBDTMessage(SHBDTM_DROPEX, &a))
        return static_cast<DROPEFFECT>(a.result);
    return COleDropTarget::OnDropEx(pWnd, pDataObject, dropDefault, dropList, point);
}

DROPEFFECT COXSHBDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    // The window decides whether it scrolls by default; its handler's return value does not
    // matter, only the answer it leaves.
    SHBDROPTARGETACTION a = ZeroAction();
    a.pWnd = pWnd;
    a.dwKeyState = dwKeyState;
    a.point = point;
    SendSHBDTMessage(SHBDTM_DRAGSCROLL, &a);
    if (static_cast<DROPEFFECT>(a.result) != DROPEFFECT_SCROLL)
        return static_cast<DROPEFFECT>(a.result);

    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView)))
        return COleDropTarget::OnDragScroll(pWnd, dwKeyState, point);
    const HWND hwnd = zyn::afx::SafeHwndOf(pWnd);
    if (!hwnd || !::IsWindow(hwnd))
        return DROPEFFECT_NONE;

    CRect rect;
    ::GetClientRect(hwnd, &rect);
    CRect inner = rect;
    inner.InflateRect(-nScrollInset, -nScrollInset);
    UINT code = kNoScroll; // high byte horizontal, low byte vertical; 0xFF: no scrolling that way
    if (rect.PtInRect(point) && !inner.PtInRect(point)) {
        const bool horz = CanScroll(hwnd, SB_HORZ, WS_HSCROLL);
        const bool vert = CanScroll(hwnd, SB_VERT, WS_VSCROLL);
        if (horz) {
            if (point.x < inner.left)
                code = (code & 0x00FF) | (static_cast<UINT>(SB_LINELEFT) << 8);
            else if (point.x >= inner.right)
                code = (code & 0x00FF) | (static_cast<UINT>(SB_LINERIGHT) << 8);
        }
        if (vert) {
            if (point.y < inner.top)
                code = (code & 0xFF00) | static_cast<UINT>(SB_LINEUP);
            else if (point.y >= inner.bottom)
                code = (code & 0xFF00) | static_cast<UINT>(SB_LINEDOWN);
        }
    }

    if (code == kNoScroll) {
        if (m_nTimerID != kNoScroll) {
            // Out of the scroll band: the window sees the drag enter again.
            COleDataObject data;
            data.Attach(m_lpDataObject, FALSE);
            OnDragEnter(pWnd, &data, dwKeyState, point);
            m_nTimerID = kNoScroll;
        }
        return DROPEFFECT_NONE;
    }

    const DWORD now = ::GetTickCount();
    if (code != m_nTimerID) {
        m_dwLastTick = now;
        m_nScrollDelay = nScrollDelay;
    }
    if (now - m_dwLastTick > m_nScrollDelay) {
        // One message per step: in a corner only the vertical direction scrolls.
        if ((code & 0xFF) == 0xFF)
            ::SendMessageW(hwnd, WM_HSCROLL, static_cast<WPARAM>((code >> 8) & 0xFF), 0);
        else
            ::SendMessageW(hwnd, WM_VSCROLL, static_cast<WPARAM>(code & 0xFF), 0);
        m_dwLastTick = now;
        m_nScrollDelay = nScrollInterval;
    }
    if (m_nTimerID == kNoScroll)
        OnDragLeave(pWnd); // into the scroll band: the window's own drag handling pauses
    m_nTimerID = code;

    if ((dwKeyState & MK_CONTROL) && (dwKeyState & MK_SHIFT))
        return DROPEFFECT_SCROLL | DROPEFFECT_LINK;
    if (dwKeyState & MK_CONTROL)
        return DROPEFFECT_SCROLL | DROPEFFECT_COPY;
    if (dwKeyState & (MK_ALT | MK_SHIFT))
        return DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
    return DROPEFFECT_SCROLL;
}
