// The XP (and 2003) menu skin's procedure of the popup-menu windows while a bitmap menu is
// tracked: each popup grows by the 4-pixel shadow strip, its frame is flat with the image
// strip running through it, it joins the button it drops from, and its shadow is drawn
// from the screen under it at the first non-client paint and replayed from the recorded
// colours at every later one.
#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/base/version.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/skin_xp.h"

namespace {

// The menu the thread tracks, when it is a bitmap menu.
COXBitmapMenu* TrackedBitmapMenu()
{
    const HMENU tracked = AfxGetThreadState()->m_hTrackingMenu;
    if (!tracked)
        return nullptr;
    return DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(tracked));
}

// Everything but the frame ring of r (the window less its shadow strip) is left alone.
void ClipToFrame(HDC hdc, const CRect& r)
{
    CRect inner = r;
    inner.DeflateRect(3, 3);
    ::ExcludeClipRect(hdc, inner.left, inner.top, inner.right, inner.bottom);
}

HRGN CopyRegion(HRGN source)
{
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    if (copy && ::CombineRgn(copy, source, nullptr, RGN_COPY) == RGN_ERROR) {
        ::DeleteObject(copy);
        return nullptr;
    }
    return copy;
}

} // namespace

LRESULT COXMenuSkinXP::MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, UINT message,
    WPARAM wParam, LPARAM lParam)
{
    const WNDPROC next = previous ? previous : &::DefWindowProcW;
    COXBitmapMenu* menu = TrackedBitmapMenu();
    if (!menu)
        return ::CallWindowProcW(next, hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        menu->GetPopupWndStack().AddHead(hwnd);
        break;
    case WM_WINDOWPOSCHANGING:
        if (auto* pos = reinterpret_cast<WINDOWPOS*>(lParam)) {
            // Only a size and a place that are really being set are touched.
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->cx += 4;
                pos->cy += 4;
            }
            if (!(pos->flags & SWP_NOMOVE))
                m_mapPopupPositions.SetAt(hwnd, CPoint(pos->x, pos->y));
        }
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_NCPAINT:
        return OnPopupNcPaint(menu, hwnd, wParam);
    case WM_PRINT:
        return OnPopupPrint(menu, next, hwnd, reinterpret_cast<HDC>(wParam));
    case WM_DESTROY: {
        menu->GetPopupWndStack().Remove(hwnd);
        m_mapPopupPositions.RemoveKey(hwnd);
        // The Windows 9x family did not repaint the popup below a closing one.
        if (::GetVersion() & 0x80000000u) {
            if (OXPOPUPWND* head = menu->GetPopupWndStack().GetHead())
                if (::IsWindow(head->hWnd))
                    ::SendMessageW(head->hWnd, WM_NCPAINT, 1, 0);
        }
        break;
    }
    default:
        break;
    }
    return ::CallWindowProcW(next, hwnd, message, wParam, lParam);
}

void COXMenuSkinXP::PaintPopupFrame(CDC* dc, const CRect& window, COXBitmapMenu* menu, COLORREF frame)
{
    if (!m_pSkinXP)
        return;
    const CRect r(0, 0, window.Width() - 4, window.Height() - 4);
    dc->FillSolidRect(&r, m_pSkinXP->GetMenuFaceColor());
    const int imageColumn = menu ? menu->GetImageColumnWidth() : 0;
    CRect strip(r.left, r.top + 2, r.left + m_constants.nImageLeftGap + imageColumn + 8, r.bottom - 4);
    DrawItemStrip(dc, &strip);
    const HBRUSH brush = ::CreateSolidBrush(frame);
    ::FrameRect(dc->GetSafeHdc(), &r, brush);
    ::DeleteObject(brush);
    // The joint to the button: the shared edge is opened.
    CRect joint = menu ? menu->GetDropFromRect() : CRect(0, 0, 0, 0);
    if (joint.IsRectEmpty())
        return;
    joint.OffsetRect(-window.left, -window.top);
    if (joint.bottom == r.top || joint.top == r.bottom) {
        joint.DeflateRect(1, 0);
        joint.InflateRect(0, 1);
        DrawJoiningLine(dc, &joint);
    } else if (joint.right == r.left || joint.left == r.right) {
        joint.InflateRect(1, 0);
        joint.DeflateRect(0, 1);
        DrawJoiningLine(dc, &joint);
    }
}

LRESULT COXMenuSkinXP::OnPopupNcPaint(COXBitmapMenu* menu, HWND hwnd, WPARAM wParam)
{
    HDC hdc = nullptr;
    if (wParam > 1) {
        // The window system keeps its region; the DC takes a copy.
        if (HRGN region = CopyRegion(reinterpret_cast<HRGN>(wParam)))
            hdc = ::GetDCEx(hwnd, region, DCX_WINDOW | DCX_INTERSECTRGN | DCX_CACHE);
    } else {
        hdc = ::GetWindowDC(hwnd);
    }
    if (!hdc)
        return 0;
    CRect window;
    ::GetWindowRect(hwnd, &window);
    ClipToFrame(hdc, CRect(0, 0, window.Width() - 4, window.Height() - 4));
    m_mapPopupPositions.RemoveKey(hwnd);
    OXPOPUPWND* record = menu->GetPopupWndStack().Find(hwnd);
    CRect dropFrom = menu->GetDropFromRect();
    DrawMenuShadow(hdc, &window, &dropFrom, record ? &record->arrPixels : nullptr);
    {
        CDC dc;
        dc.Attach(hdc);
        PaintPopupFrame(&dc, window, menu, m_pSkinXP ? m_pSkinXP->GetMenuBorderColor() : ::GetSysColor(COLOR_BTNSHADOW));
        dc.Detach();
    }
    ::ReleaseDC(hwnd, hdc);
    return 0;
}

LRESULT COXMenuSkinXP::OnPopupPrint(COXBitmapMenu* menu, LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd,
    HDC target)
{
    // What is queued first (the popup's own painting among it), up to a timer.
    MSG msg;
    for (int guard = 0; guard < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); ++guard) {
        if (msg.message == WM_TIMER || msg.message == WM_QUIT || !::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    // A message handled above may have closed the menu.
    if (!::IsWindow(hwnd) || !target)
        return 0;
    CRect window;
    ::GetWindowRect(hwnd, &window);
    const int cx = window.Width();
    const int cy = window.Height();
    if (cx <= 0 || cy <= 0)
        return 0;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    if (memory && bitmap) {
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::SetViewportOrgEx(memory, 3, 3, nullptr);
        ::CallWindowProcW(previous, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        ::SetViewportOrgEx(memory, 0, 0, nullptr);
        // The shadow of where the popup is about to go, when it is moving.
        CPoint pending;
        if (m_mapPopupPositions.Lookup(hwnd, pending)) {
            window.MoveToXY(pending.x, pending.y);
            m_mapPopupPositions.RemoveKey(hwnd);
        }
        ClipToFrame(memory, CRect(0, 0, cx - 4, cy - 4));
        CRect dropFrom = menu->GetDropFromRect();
        DrawMenuShadow(memory, &window, &dropFrom, nullptr);
        {
            CDC dc;
            dc.Attach(memory);
            PaintPopupFrame(&dc, window, menu, ::GetSysColor(COLOR_BTNSHADOW));
            dc.Detach();
        }
        ::SelectClipRgn(memory, nullptr);
        ::BitBlt(target, 0, 0, cx, cy, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (memory)
        ::DeleteDC(memory);
    return 0;
}
