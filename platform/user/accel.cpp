// Accelerator tables and TranslateAccelerator.
#include "platform/user/accel.h"

#include <algorithm>
#include <vector>

#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"

namespace zyn::user {
namespace {

constexpr BYTE kFlagBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;

struct AccelTable {
    std::vector<ACCEL> entries;
};

base::HandleTable<AccelTable>& Table()
{
    static auto* const table = new base::HandleTable<AccelTable>(base::HandleKind::Accel); // immortal
    return *table;
}

HACCEL Add(std::vector<ACCEL> entries)
{
    auto t = std::make_shared<AccelTable>();
    t->entries = std::move(entries);
    const uint32_t v = Table().Add(std::move(t));
    if (!v) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return base::MakeHandle<HACCEL>(v);
}

enum class MenuVerdict { NotFound, Enabled, Disabled };

MenuVerdict Lookup(HMENU menu, WORD cmd)
{
    if (!menu || !IsMenu(menu))
        return MenuVerdict::NotFound;
    const UINT state = GetMenuState(menu, cmd, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1))
        return MenuVerdict::NotFound;
    return (state & (MF_GRAYED | MF_DISABLED)) ? MenuVerdict::Disabled : MenuVerdict::Enabled;
}

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

} // namespace

HACCEL AcceleratorsFromResource(const uint8_t* bytes, size_t size)
{
    std::vector<ACCEL> entries;
    for (size_t pos = 0; bytes && pos + 8 <= size; pos += 8) {
        const WORD flags = static_cast<WORD>(bytes[pos] | (bytes[pos + 1] << 8));
        ACCEL a;
        a.fVirt = static_cast<BYTE>(flags & kFlagBits);
        a.key = static_cast<WORD>(bytes[pos + 2] | (bytes[pos + 3] << 8));
        a.cmd = static_cast<WORD>(bytes[pos + 4] | (bytes[pos + 5] << 8));
        entries.push_back(a);
        if (flags & 0x80)
            return Add(std::move(entries));
    }
    // No entry, or the data ends before the entry flagged as the last.
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

} // namespace zyn::user

using namespace zyn::user;

HACCEL LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName)
{
    const HRSRC res = FindResourceW(hInstance, lpTableName, RT_ACCELERATOR);
    if (!res)
        return nullptr;
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(hInstance, res)));
    if (!data)
        return nullptr;
    return AcceleratorsFromResource(data, SizeofResource(hInstance, res));
}

HACCEL CreateAcceleratorTableW(LPACCEL paccel, int cAccel)
{
    if (!paccel || cAccel <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<ACCEL> entries(paccel, paccel + cAccel);
    for (ACCEL& a : entries)
        a.fVirt &= kFlagBits;
    return Add(std::move(entries));
}

int CopyAcceleratorTableW(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries)
{
    const auto t = Table().Get(hAccelSrc);
    if (!t) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    const int count = static_cast<int>(t->entries.size());
    if (!lpAccelDst)
        return count;
    const int n = std::clamp(cAccelEntries, 0, count);
    std::copy_n(t->entries.begin(), n, lpAccelDst);
    return n;
}

BOOL DestroyAcceleratorTable(HACCEL hAccel)
{
    if (!Table().Remove(hAccel)) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto t = Table().Get(hAccTable);
    if (!t) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const UINT msg = lpMsg->message;
    const bool keyDown = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    const bool character = msg == WM_CHAR || msg == WM_SYSCHAR;
    if (!keyDown && !character)
        return 0;
    // ALT: the context bit of a system key message, else the key state.
    const bool alt = (msg == WM_SYSKEYDOWN || msg == WM_SYSCHAR) ? ((lpMsg->lParam >> 29) & 1) != 0 : Down(VK_MENU);
    const bool shift = Down(VK_SHIFT), control = Down(VK_CONTROL);
    const ACCEL* match = nullptr;
    for (const ACCEL& a : t->entries) {
        if (keyDown && (a.fVirt & FVIRTKEY)) {
            if (a.key == static_cast<WORD>(lpMsg->wParam) && ((a.fVirt & FSHIFT) != 0) == shift &&
                ((a.fVirt & FCONTROL) != 0) == control && ((a.fVirt & FALT) != 0) == alt) {
                match = &a;
                break;
            }
        } else if (character && !(a.fVirt & FVIRTKEY)) {
            if (a.key == static_cast<WORD>(lpMsg->wParam) && ((a.fVirt & FALT) != 0) == alt) {
                match = &a;
                break;
            }
        }
    }
    if (!match)
        return 0;
    const WORD cmd = match->cmd;
    if (!IsWindowEnabled(hWnd))
        return 1; // eaten, nothing sent
    const MenuVerdict inBar = Lookup(GetMenu(hWnd), cmd);
    const MenuVerdict inSystem = inBar == MenuVerdict::NotFound ? Lookup(GetSystemMenuSlot(hWnd), cmd) : inBar;
    if (inBar == MenuVerdict::Disabled || inSystem == MenuVerdict::Disabled)
        return 1;
    if (inBar == MenuVerdict::NotFound && inSystem == MenuVerdict::Enabled)
        SendMessageW(hWnd, WM_SYSCOMMAND, cmd, 0x00010000);
    else
        SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(cmd, 1), 0);
    return 1;
}
