#include "tour_input.h"

#include "platform/afx/winapp.h"
#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/menu_bar.h"

namespace tour {

void Settle(CWinApp& app)
{
    for (int round = 0; round < 100; ++round) {
        bool any = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam)); // the caller's loop ends on it
                return;
            }
            if (!app.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        for (LONG count = 0; app.OnIdle(count); ++count) {
        }
        zyn::user::PaintPendingWindows();
        if (!any && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && zyn::user::PendingInputCount() == 0)
            return;
    }
}

void Pause() { zyn::base::Clock::Advance(GetDoubleClickTime() + 100); }

CPoint CentreOf(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return CRect(r).CenterPoint();
}

void ClickAt(CPoint screen)
{
    zyn::user::InjectClick(screen.x, screen.y);
    Pause();
}

bool ClickWindow(HWND hwnd)
{
    if (!hwnd || !::IsWindow(hwnd) || !::IsWindowVisible(hwnd))
        return false;
    ClickAt(CentreOf(hwnd));
    return true;
}

void DragStepwise(CPoint from, CPoint to)
{
    using zyn::user::MouseButton;
    CWinApp& app = *AfxGetApp();
    const CPoint steps[] = {from, from + CSize(8, 8), CPoint((from.x + to.x) / 2, (from.y + to.y) / 2), to};
    for (const CPoint& p : steps) {
        zyn::user::InjectMouseMove(p.x, p.y);
        if (p == from)
            zyn::user::InjectMouseButton(MouseButton::Left, true);
        Settle(app);
    }
    zyn::user::InjectMouseButton(MouseButton::Left, false);
    Settle(app);
    Pause();
}

void DragFromTo(CPoint from, CPoint to)
{
    // All of it is queued before any is handled: the press starts the drag's own loop,
    // which reads the moves and the release from the queue (in scripted mode a drag loop
    // with no input left ends as a cancel).
    using zyn::user::MouseButton;
    zyn::user::InjectMouseMove(from.x, from.y);
    zyn::user::InjectMouseButton(MouseButton::Left, true);
    zyn::user::InjectMouseMove(from.x + 8, from.y + 8);
    zyn::user::InjectMouseMove(to.x, to.y);
    zyn::user::InjectMouseButton(MouseButton::Left, false);
    Settle(*AfxGetApp());
    Pause();
}

bool FindHitPoint(HWND hwnd, int code, CPoint& at)
{
    RECT r{};
    if (!::GetWindowRect(hwnd, &r))
        return false;
    for (int y = r.top; y < r.bottom; ++y) {
        int right = -1;
        for (int x = r.right - 1; x >= r.left; --x) {
            const LRESULT hit = ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == code && right < 0)
                right = x;
            else if (hit != code && right >= 0) {
                // The run's middle, a few rows down so the whole button is under it.
                at = CPoint((x + 1 + right) / 2, y + 4);
                return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) == code;
            }
        }
    }
    return false;
}

namespace {

bool MenuHolds(HMENU menu, UINT command)
{
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        const HMENU sub = ::GetSubMenu(menu, i);
        if (sub ? MenuHolds(sub, command) : ::GetMenuItemID(menu, i) == command)
            return true;
    }
    return false;
}

// Once the popup shows, clicks the item with the command, or the item opening the
// submenu that holds it and then, once that shows, goes on there.
void ClickInPopup(HMENU popup, UINT command, bool* found)
{
    WhenIdle([popup, command, found] {
        const auto shown = zyn::user::OpenPopupMenuWindows();
        const int count = popup ? ::GetMenuItemCount(popup) : 0;
        for (int i = 0; i < count && !shown.empty(); ++i) {
            const HMENU sub = ::GetSubMenu(popup, i);
            const bool here = !sub && ::GetMenuItemID(popup, i) == command;
            RECT item{};
            if ((here || (sub && MenuHolds(sub, command))) &&
                ::GetMenuItemRect(shown.back(), popup, static_cast<UINT>(i), &item)) {
                if (here && found)
                    *found = true;
                if (sub)
                    ClickInPopup(sub, command, found);
                ClickAt(CRect(item).CenterPoint());
                return;
            }
        }
        Press(VK_ESCAPE); // not there: the menu closes, and the caller sees `found` false
    });
}

} // namespace

void ChooseMenuCommand(COXMenuBar& bar, int index, UINT command, bool* found)
{
    if (found)
        *found = false;
    const HMENU menu = bar.GetHMenu();
    const HMENU popup = menu ? ::GetSubMenu(menu, index) : nullptr;
    CRect button;
    bar.GetItemRect(index, &button);
    bar.ClientToScreen(&button);
    ClickInPopup(popup, command, found);
    ClickAt(button.CenterPoint());
}

bool ChooseWindowMenuCommand(HWND hwnd, UINT command)
{
    const HMENU menu = hwnd ? ::GetMenu(hwnd) : nullptr;
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        const HMENU popup = ::GetSubMenu(menu, i);
        RECT item{};
        if (popup && MenuHolds(popup, command) && ::GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &item)) {
            bool found = false;
            ClickInPopup(popup, command, &found);
            ClickAt(CRect(item).CenterPoint());
            Settle(*AfxGetApp());
            return found;
        }
    }
    return false;
}

void WhenIdle(std::function<void()> action) { zyn::user::QueueIdleAction(std::move(action)); }

void Type(const wchar_t* text) { zyn::user::InjectText(text); }

void Press(int vk) { zyn::user::InjectKeyPress(vk); }

void PressShifted(int vk)
{
    zyn::user::InjectKey(VK_SHIFT, true);
    zyn::user::InjectKeyPress(vk);
    zyn::user::InjectKey(VK_SHIFT, false);
}

} // namespace tour
