// COXMenuBar: the maximised MDI child's icon and its minimise, restore and close buttons:
// the icon, the space booked for the buttons, their hit-testing, painting through the
// toolbar skin, the mouse on them, and the thread mouse hook that clears their hot look.
#include <algorithm>

#include "platform/afx/mdi.h"
#include "platform/afx/window_dc.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/skins/toolbar_skin.h"

HHOOK COXMenuBar::m_hMouseHook = nullptr;

std::set<HWND>& COXMenuBar::MouseHookUsers()
{
    static std::set<HWND> users;
    return users;
}
HWND COXMenuBar::m_hwndPrevMouseMoveWnd = nullptr;

namespace {

constexpr int kButtonSize = 18;

HICON AskIcon(HWND hWnd, WPARAM which)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, WM_GETICON, which, 0, SMTO_ABORTIFHUNG, 1000, &result))
        return nullptr;
    return reinterpret_cast<HICON>(result);
}

} // namespace

BOOL COXMenuBar::UpdateIcon(BOOL bRedraw)
{
    HICON hIcon = nullptr;
    if (CWnd* pChild = GetMaximizedChild()) {
        const HWND hChild = pChild->m_hWnd;
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hChild, GCLP_HICONSM));
        if (!hIcon)
            hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hChild, GCLP_HICON));
        if (!hIcon)
            hIcon = AskIcon(hChild, ICON_SMALL);
        if (!hIcon)
            hIcon = AskIcon(hChild, ICON_BIG);
        if (!hIcon)
            hIcon = ::LoadIconW(nullptr, IDI_WINLOGO);
    }
    if (hIcon == GetIcon())
        return FALSE;
    SetIcon(hIcon, bRedraw);
    if (!bRedraw && m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

int COXMenuBar::CalcButtonRects()
{
    m_rectClose.SetRectEmpty();
    m_rectRestore.SetRectEmpty();
    m_rectMinimize.SetRectEmpty();
    CWnd* pChild = GetMaximizedChild();
    if (!GetIcon() || !pChild || !m_hWnd)
        return 0;
    int nResult = 2;
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    const bool bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const int across = bHorz ? window.Height() : window.Width();
    int size = kButtonSize, offset = 0;
    if (across < kButtonSize) {
        size = across;
    } else {
        offset = (across - kButtonSize + 1) / 2;
    }
    if (bHorz) {
        m_rectClose = CRect(window.right - 2 - size, offset, window.right - 2, offset + size);
        m_rectClose.top += 2;
        m_rectClose.right -= 2;
        m_rectClose.bottom -= 2;
    } else {
        m_rectClose = CRect(offset, window.bottom - 2 - size, offset + size, window.bottom - 2);
        m_rectClose.left += 2;
        m_rectClose.right -= 2;
        m_rectClose.bottom -= 2;
    }
    nResult += size;
    if (pChild->GetStyle() & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
        m_rectRestore = m_rectClose;
        m_rectMinimize = m_rectClose;
        if (bHorz) {
            m_rectRestore.OffsetRect(-size, 0);
            m_rectMinimize.OffsetRect(-size - (size - 2), 0);
        } else {
            m_rectRestore.OffsetRect(0, -size);
            m_rectMinimize.OffsetRect(0, -size - (size - 2));
        }
        nResult += 2 * size;
    }
    return nResult + 6;
}

void COXMenuBar::DrawButtons(CDC& dc)
{
    GetToolbarSkin()->DrawMenuButtons(&dc, this);
}

void COXMenuBar::BookSpace(CRect& rect, DWORD dwMode)
{
    if (dwMode & LM_HORZ)
        rect.right = CalcButtonRects();
    else
        rect.bottom = CalcButtonRects();
}

void COXMenuBar::DrawInBookedSpace(CDC& dc, CRect& rect)
{
    if (!GetIcon() || !DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrameWnd))
        return;
    CalcButtonRects();
    DrawButtons(dc);
    const CRect& first = !m_rectMinimize.IsRectEmpty() ? m_rectMinimize
        : m_rectRestore.IsRectEmpty()                    ? m_rectClose
                                                         : m_rectRestore;
    if (first.IsRectEmpty())
        return;
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        rect.right = first.left - 6;
    else
        rect.bottom = first.top - 6;
}

int COXMenuBar::HitTest(const CPoint& point, _tagHITTESTORIGIN origin) const
{
    if (!m_hWnd)
        return OXMB_HIT_NONE;
    // Window coordinates for the icon and buttons, client coordinates for the toolbar.
    CRect window;
    GetWindowRect(&window);
    CPoint ptScreen = point;
    if (origin == OX_HTO_CLIENT)
        ClientToScreen(&ptScreen);
    else if (origin == OX_HTO_WINDOW)
        ptScreen.Offset(window.left, window.top);
    const CPoint ptWindow(ptScreen.x - window.left, ptScreen.y - window.top);
    if (GetIcon()) {
        if (GetIconRect().PtInRect(ptWindow))
            return OXMB_HIT_ICON;
        if (m_rectClose.PtInRect(ptWindow))
            return OXMB_HIT_CLOSE;
        if (m_rectRestore.PtInRect(ptWindow))
            return OXMB_HIT_RESTORE;
        if (m_rectMinimize.PtInRect(ptWindow))
            return OXMB_HIT_MINIMIZE;
    }
    CPoint ptClient = ptScreen;
    ScreenToClient(&ptClient);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(ptClient))
        return OXMB_HIT_NONE;
    const int nHit = static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&ptClient)));
    return nHit >= 0 ? nHit : OXMB_HIT_NONE;
}

int COXMenuBar::PopupIndexAt(CPoint ptClient) const
{
    const int nHit = HitTest(ptClient, OX_HTO_CLIENT);
    if (nHit == OXMB_HIT_ICON)
        return GetMenuItemCount();
    return nHit >= 0 ? nHit : -1;
}

void COXMenuBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    if (nIndex == GetMenuItemCount() && GetIcon() && m_hWnd) {
        // The icon rectangle is in window coordinates.
        CRect rect = GetIconRect();
        CRect window;
        GetWindowRect(&window);
        rect.OffsetRect(window.left, window.top);
        ScreenToClient(&rect);
        *lpRect = rect;
        return;
    }
    CToolBar::GetItemRect(nIndex, lpRect);
}

void COXMenuBar::InvalidateMDIButtons()
{
    if (!m_hWnd || !GetIcon())
        return;
    CWindowDC dc(this);
    CalcButtonRects();
    DrawButtons(dc);
}

LRESULT COXMenuBar::OnNcHitTest(CPoint point)
{
    if (GetIcon()) {
        const int nHit = HitTest(point, OX_HTO_SCREEN);
        if (nHit <= OXMB_HIT_MINIMIZE && nHit >= OXMB_HIT_ICON)
            return HTCAPTION;
    }
    return Default();
}

void COXMenuBar::OnNcLButtonDown(UINT /*nHitTest*/, CPoint point)
{
    if (!GetIcon())
        return;
    m_nPressedMDIButton = -1;
    const int nHit = HitTest(point, OX_HTO_SCREEN);
    if (nHit == OXMB_HIT_ICON) {
        PostMessage(WM_OX_DISPLAYPOPUP, static_cast<WPARAM>(GetMenuItemCount()), 0);
        return;
    }
    if (nHit >= OXMB_HIT_CLOSE && nHit <= OXMB_HIT_MINIMIZE) {
        SetCapture();
        m_bMDIPress = TRUE;
        m_nPressedMDIButton = nHit;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        return;
    }
    Default();
}

void COXMenuBar::OnNcLButtonDblClk(UINT /*nHitTest*/, CPoint point)
{
    if (GetIcon())
        if (CWnd* pChild = GetMaximizedChild(); pChild && HitTest(point, OX_HTO_SCREEN) == OXMB_HIT_ICON)
            pChild->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    Default();
}

void COXMenuBar::OnNcMouseMove(UINT /*nHitTest*/, CPoint /*point*/)
{
    InvalidateMDIButtons();
    Default();
}

void COXMenuBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (GetIcon()) {
        InvalidateMDIButtons();
        if (m_bMDIPress && ::GetCapture() == m_hWnd) {
            const int nHit = HitTest(point, OX_HTO_CLIENT);
            const int nPressed = nHit < 0 ? nHit : -1;
            if (nPressed != m_nPressedMDIButton) {
                m_nPressedMDIButton = nPressed;
                RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
            }
        }
    }
    if (m_nDragTimer && !(nFlags & MK_LBUTTON)) {
        KillTimer(m_nDragTimer);
        m_nDragTimer = 0;
        m_nPressedButton = -1;
    }
    COXCoolToolBar::OnMouseMove(nFlags, point);
}

void COXMenuBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bMDIPress && GetIcon() && ::GetCapture() == m_hWnd && !IsBarDragging()) {
        m_bMDIPress = FALSE;
        ::ReleaseCapture();
        const int nHit = HitTest(point, OX_HTO_CLIENT);
        CWnd* pChild = GetMaximizedChild();
        if (pChild && nHit == m_nPressedMDIButton && nHit >= OXMB_HIT_CLOSE && nHit <= OXMB_HIT_MINIMIZE) {
            const UINT cmd = nHit == OXMB_HIT_CLOSE ? SC_CLOSE : nHit == OXMB_HIT_RESTORE ? SC_RESTORE : SC_MINIMIZE;
            pChild->PostMessage(WM_SYSCOMMAND, cmd, 0);
        }
        m_nPressedMDIButton = -1;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        return;
    }
    m_bMDIPress = FALSE;
    COXCoolToolBar::OnLButtonUp(nFlags, point);
}

LRESULT COXMenuBar::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE) && lParam) {
        const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        const HWND hNew = info->hwnd;
        const HWND hOld = m_hwndPrevMouseMoveWnd;
        if (hOld && hOld != hNew && ::IsWindow(hOld)) {
            auto* pOld = DYNAMIC_DOWNCAST(COXMenuBar, CWnd::FromHandlePermanent(hOld));
            if (pOld && DYNAMIC_DOWNCAST(CMDIFrameWnd, pOld->GetFrame()))
                pOld->InvalidateMDIButtons();
        }
        m_hwndPrevMouseMoveWnd = hNew;
    }
    return ::CallNextHookEx(m_hMouseHook, nCode, wParam, lParam);
}
