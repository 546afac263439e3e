// TrackPopupMenu(Ex) and EndMenu, and popup choices answered by the answer script.
//
// With a PopupMenu answer queued (AnswerScript), TrackPopupMenu shows no window: the owner
// hears the notifications of a user who opens the popups on the way to the answer's
// command and chooses it, and the command is posted as usual. An answer that is not an
// enabled command of the menu (or 0) is taken as a dismissal; every call, answered or
// tracked, is recorded.
#include <cstdio>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/user/input.h"
#include "platform/user/menu_tracker.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/popup_menu.h"
#include "platform/user/queue_internal.h"
#include "platform/user/thread_state.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"

namespace zyn::user::detail {
namespace {

struct PathStep {
    HMENU menu;
    int pos;
};

// The items leading to the command `id` below `menu`, depth first.
bool FindPath(HMENU menu, UINT id, std::vector<PathStep>& path, int depth)
{
    if (depth > 64)
        return false;
    const auto items = SnapshotItems(menu);
    if (!items)
        return false;
    for (size_t i = 0; i < items->size(); ++i) {
        const MenuItemData& it = (*items)[i];
        path.push_back(PathStep{menu, static_cast<int>(i)});
        if (it.sub ? FindPath(it.sub, id, path, depth + 1) : (it.id == id && !(it.type & MFT_SEPARATOR)))
            return true;
        path.pop_back();
    }
    return false;
}

TrackResult AnswerFromScript(const TrackRequest& req, const Answer& answer, std::wstring& note)
{
    const HWND owner = req.owner;
    const bool notify = !(req.flags & TPM_NONOTIFY);
    auto send = [&](UINT msg, WPARAM wp, LPARAM lp) {
        if (notify && IsWindow(owner))
            SendMessageW(owner, msg, wp, lp);
    };
    const bool sys = req.menu == GetSystemMenuSlot(owner);
    ThreadQueue& q = MyQueue();
    const HMENU prevMenu = q.trackedMenu;
    const HWND prevWnd = q.trackedWindow;
    const DWORD prevMode = q.menuMode;
    SetTrackedMenu(req.menu, owner);
    q.menuMode = GUI_INMENUMODE | GUI_POPUPMENUMODE;
    send(WM_ENTERMENULOOP, TRUE, 0);
    send(WM_INITMENU, reinterpret_cast<WPARAM>(req.menu), 0);
    if (sys)
        UpdateSystemMenuItems(owner, req.menu);
    send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(req.menu), MAKELPARAM(0, sys ? 1 : 0));
    std::vector<HMENU> opened{req.menu};
    TrackResult r;
    r.shown = true;
    std::vector<PathStep> path;
    if (answer.code != 0 && FindPath(req.menu, static_cast<UINT>(answer.code), path, 0)) {
        // Each popup on the way opens (its owner may still change its items) before the
        // command is checked.
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const HMENU sub = GetSubMenu(path[i].menu, path[i].pos);
            send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(static_cast<WORD>(path[i].pos), sys ? 1 : 0));
            opened.push_back(sub);
        }
        const PathStep& last = path.back();
        const UINT state = GetMenuState(last.menu, static_cast<UINT>(last.pos), MF_BYPOSITION);
        if (state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED)) &&
            GetMenuItemID(last.menu, last.pos) == static_cast<UINT>(answer.code)) {
            send(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(answer.code), MF_HILITE | (sys ? MF_SYSMENU : 0)),
                reinterpret_cast<LPARAM>(last.menu));
            r.chosen = true;
            r.id = static_cast<UINT>(answer.code);
        } else {
            note = L"scripted answer " + std::to_wstring(answer.code) + L" is a disabled item";
        }
    } else if (answer.code != 0) {
        note = L"scripted answer " + std::to_wstring(answer.code) + L" is no command of this menu";
    }
    send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    for (auto it = opened.rbegin(); it != opened.rend(); ++it)
        send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(*it), MAKELPARAM(0, sys ? MF_SYSMENU : 0));
    send(WM_EXITMENULOOP, TRUE, 0);
    q.trackedMenu = prevMenu;
    q.trackedWindow = prevWnd;
    q.menuMode = prevMode;
    if (r.chosen && notify && !(req.flags & TPM_RETURNCMD) && IsWindow(owner)) {
        if (sys)
            PostMessageW(owner, WM_SYSCOMMAND, r.id, 0);
        else
            PostMessageW(owner, WM_COMMAND, MAKEWPARAM(LOWORD(r.id), 0), 0);
    }
    return r;
}

} // namespace
} // namespace zyn::user::detail

using namespace zyn::user;
using namespace zyn::user::detail;

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm)
{
    if (!IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(hWnd) || GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (lptpm && lptpm->cbSize != sizeof(TPMPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (CurrentMenuTracker() && !(uFlags & TPM_RECURSE)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    TrackRequest req;
    req.mode = TrackMode::Popup;
    req.owner = hWnd;
    req.flags = uFlags;
    req.menu = hMenu;
    req.pt = POINT{x, y};
    if (lptpm)
        req.exclude = lptpm->rcExclude;
    ShownRecord rec;
    rec.kind = AnswerKind::PopupMenu;
    rec.owner = hWnd;
    rec.type = uFlags;
    TrackResult r;
    if (auto answer = AnswerScript::Take(AnswerKind::PopupMenu)) {
        r = AnswerFromScript(req, *answer, rec.note);
        rec.scripted = rec.note.empty();
        if (!rec.note.empty())
            std::fprintf(stderr, "TrackPopupMenu: %ls; the menu is dismissed\n", rec.note.c_str());
    } else {
        r = RunMenuTracking(req);
    }
    rec.result = r.chosen ? static_cast<int>(r.id) : 0;
    AnswerScript::Record(std::move(rec));
    if (uFlags & TPM_RETURNCMD)
        return r.chosen ? static_cast<BOOL>(r.id) : 0;
    return r.shown ? TRUE : FALSE;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

BOOL EndMenu()
{
    if (MenuTracker* t = CurrentMenuTracker())
        t->Cancel();
    return TRUE;
}

std::vector<HWND> zyn::user::OpenPopupMenuWindows()
{
    MenuTracker* t = CurrentMenuTracker();
    return t ? t->Windows() : std::vector<HWND>{};
}
