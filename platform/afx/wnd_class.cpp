// Window classes of the class library: the standard classes registered on first need
// and the classes AfxRegisterWndClass makes for a set of attributes.
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/afx/afxstate.h"
#include "platform/afx/wnd.h"
#include "platform/base/exception.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

const wchar_t* const _afxWnd = L"AfxWnd";
const wchar_t* const _afxWndControlBar = L"AfxControlBar";
const wchar_t* const _afxWndMDIFrame = L"AfxMDIFrame";
const wchar_t* const _afxWndFrameOrView = L"AfxFrameOrView";
const wchar_t* const _afxWndOleControl = L"AfxOleControl";

namespace {

HBRUSH SysColorBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(index + 1)); }

// Registers a class unless the module has it already (the window system's test reset
// unregisters classes, so the window system is asked each time rather than a flag).
BOOL RegisterIfNeeded(WNDCLASSW& wc)
{
    WNDCLASSW existing{};
    if (::GetClassInfoW(wc.hInstance, wc.lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassW(&wc) != 0;
}

std::mutex& ClassMutex()
{
    static std::mutex* m = new std::mutex; // never destroyed: classes may be registered during exit
    return *m;
}

} // namespace

BOOL AfxRegisterClass(WNDCLASS* lpWndClass)
{
    if (!lpWndClass || !lpWndClass->lpszClassName)
        return FALSE;
    std::lock_guard lock(ClassMutex());
    return RegisterIfNeeded(*lpWndClass);
}

BOOL AfxDeferRegisterClass(LONG fToRegister)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &::DefWindowProcW; // the class library's procedure comes with each window object
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    BOOL ok = TRUE;
    std::lock_guard lock(ClassMutex());
    if (fToRegister & AFX_WND_REG) {
        WNDCLASSW c = wc;
        c.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        c.lpszClassName = _afxWnd;
        ok = RegisterIfNeeded(c) && ok;
    }
    if (fToRegister & AFX_WNDOLECONTROL_REG) {
        WNDCLASSW c = wc;
        c.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        c.lpszClassName = _afxWndOleControl;
        ok = RegisterIfNeeded(c) && ok;
    }
    if (fToRegister & AFX_WNDCONTROLBAR_REG) {
        WNDCLASSW c = wc;
        c.style = CS_DBLCLKS;
        c.hbrBackground = SysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = _afxWndControlBar;
        ok = RegisterIfNeeded(c) && ok;
    }
    if (fToRegister & AFX_WNDMDIFRAME_REG) {
        WNDCLASSW c = wc;
        c.style = CS_DBLCLKS;
        c.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        c.lpszClassName = _afxWndMDIFrame;
        ok = RegisterIfNeeded(c) && ok;
    }
    if (fToRegister & AFX_WNDFRAMEORVIEW_REG) {
        WNDCLASSW c = wc;
        c.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        c.hbrBackground = SysColorBrush(COLOR_WINDOW);
        c.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        c.lpszClassName = _afxWndFrameOrView;
        ok = RegisterIfNeeded(c) && ok;
    }
    // AFX_WNDCOMMCTLS_REG: the common controls register their classes themselves.
    return ok;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    const HINSTANCE hInst = AfxGetInstanceHandle();
    char narrow[128];
    std::snprintf(narrow, sizeof narrow, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
        static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    const std::wstring name(narrow, narrow + std::char_traits<char>::length(narrow));

    std::lock_guard lock(ClassMutex());
    // Names live as long as the process, so callers may keep the pointer.
    static std::set<std::wstring>* names = new std::set<std::wstring>;
    const std::wstring& stored = *names->insert(name).first;
    WNDCLASSW wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = stored.c_str();
    if (!RegisterIfNeeded(wc))
        AfxThrowResourceException();
    return stored.c_str();
}
