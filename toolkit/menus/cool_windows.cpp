#include "toolkit/menus/cool_windows.h"

#include "platform/afx/wnd.h"
#include "platform/base/tchar.h"
#include "platform/comctl/updown.h"
#include "platform/user/winuser.h"

namespace zyn::toolkit::cool {
namespace {

// Class names are compared within the first 256 characters, as a longer name cannot be
// one of the system's.
BOOL HasClassName(HWND hWnd, const wchar_t* name)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    wchar_t buffer[257] = {};
    if (::GetClassNameW(hWnd, buffer, 256) <= 0)
        return FALSE;
    return ::_wcsicmp(buffer, name) == 0 ? TRUE : FALSE;
}

// Far more steps than any real window tree has; a longer climb is an owner cycle.
constexpr int kMaxClimb = 4096;

HWND NextUp(HWND hWnd)
{
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd)) {
        CWnd* pOwner = pWnd->GetOwner();
        return pOwner ? pOwner->m_hWnd : nullptr;
    }
    if (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

} // namespace

BOOL IsEditWindow(HWND hWnd) { return HasClassName(hWnd, L"Edit"); }
BOOL IsComboBoxWindow(HWND hWnd) { return HasClassName(hWnd, L"ComboBox"); }
BOOL IsListBoxWindow(HWND hWnd) { return HasClassName(hWnd, L"LISTBOX"); }
BOOL IsSpinButtonWindow(HWND hWnd) { return HasClassName(hWnd, UPDOWN_CLASSW); }
BOOL IsScrollBarWindow(HWND hWnd) { return HasClassName(hWnd, L"ScrollBar"); }

BOOL IsWindowInside(HWND hParent, HWND hChild)
{
    if (!hParent || !hChild)
        return FALSE;
    HWND hWnd = hChild;
    for (int step = 0; hWnd && step < kMaxClimb; ++step) {
        if (hWnd == hParent)
            return TRUE;
        hWnd = NextUp(hWnd);
    }
    return FALSE;
}

BOOL IsFocusInside(HWND hWnd)
{
    const HWND hFocus = ::GetFocus();
    return hFocus && IsWindowInside(hWnd, hFocus) ? TRUE : FALSE;
}

HWND SpinBuddyOf(HWND hSpin)
{
    if (!IsSpinButtonWindow(hSpin))
        return nullptr;
    const HWND hBuddy = reinterpret_cast<HWND>(::SendMessageW(hSpin, UDM_GETBUDDY, 0, 0));
    return hBuddy && ::IsWindow(hBuddy) ? hBuddy : nullptr;
}

HWND FindAttachedSpin(HWND hEdit)
{
    if (!IsEditWindow(hEdit))
        return nullptr;
    const HWND hParent = ::GetParent(hEdit);
    if (!hParent)
        return nullptr;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!IsSpinButtonWindow(h) || !CWnd::FromHandlePermanent(h))
            continue;
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE));
        if (SpinBuddyOf(h) == hEdit && (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
            return h;
    }
    return nullptr;
}

} // namespace zyn::toolkit::cool
