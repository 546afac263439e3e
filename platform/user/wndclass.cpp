// Window classes: registration per module, global and system classes, class data.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/namefold.h"
#include "platform/user/atoms.h"
#include "platform/user/dialog.h"
#include "platform/user/mdiclient.h"
#include "platform/user/popup_menu.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/stdctl_classes.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {
namespace {

struct ClassLists {
    std::vector<std::shared_ptr<WndClass>> local;   // per module
    std::vector<std::shared_ptr<WndClass>> global;  // CS_GLOBALCLASS
    std::vector<std::shared_ptr<WndClass>> system;
};

ClassLists& Lists()
{
    static ClassLists l;
    return l;
}

constexpr int kMaxExtraBytes = 4096;

HINSTANCE ModuleOrExe(HINSTANCE h) { return h ? h : GetModuleHandleW(nullptr); }

// Matches a class by the caller's name or atom.
bool Matches(const WndClass& c, LPCWSTR nameOrAtom)
{
    if (IS_INTRESOURCE(nameOrAtom))
        return c.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom));
    return base::NamesEqual(c.name, nameOrAtom);
}

std::shared_ptr<WndClass> FindIn(const std::vector<std::shared_ptr<WndClass>>& v, LPCWSTR name, HINSTANCE module,
    bool anyModule)
{
    for (const auto& c : v)
        if ((anyModule || c->module == module) && Matches(*c, name))
            return c;
    return nullptr;
}

// The name a caller registers under: a string, or a known atom's name.
bool NameOf(LPCWSTR nameOrAtom, std::wstring& out)
{
    if (!nameOrAtom) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (IS_INTRESOURCE(nameOrAtom)) {
        const auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom));
        out = atom <= kMaxIntegerAtom ? IntegerAtomName(atom) : AtomName(atom);
        if (out.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        return true;
    }
    out = nameOrAtom;
    if (out.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

std::shared_ptr<WndClass> MakeClass(const WNDCLASSEXW& wc, bool system)
{
    std::wstring name;
    if (!NameOf(wc.lpszClassName, name))
        return nullptr;
    if (!wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > kMaxExtraBytes ||
        wc.cbWndExtra > kMaxExtraBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto c = std::make_shared<WndClass>();
    // "#32768" and its kind are integer atoms, so a class registered under such a name is
    // found by MAKEINTATOM of its number as well.
    c->atom = IntegerAtomOf(name);
    if (!c->atom)
        c->atom = AddAtomName(name);
    if (!c->atom)
        return nullptr;
    c->name = std::move(name);
    c->module = system ? nullptr : ModuleOrExe(wc.hInstance);
    c->system = system;
    c->style = wc.style;
    c->proc = wc.lpfnWndProc;
    c->clsExtra = wc.cbClsExtra;
    c->wndExtra = wc.cbWndExtra;
    c->icon = wc.hIcon;
    c->iconSm = wc.hIconSm;
    c->cursor = wc.hCursor;
    c->background = wc.hbrBackground;
    if (wc.lpszMenuName) {
        if (IS_INTRESOURCE(wc.lpszMenuName))
            c->menuId = reinterpret_cast<uintptr_t>(wc.lpszMenuName);
        else
            c->menuName = wc.lpszMenuName;
    }
    c->extraBytes.assign(static_cast<size_t>(wc.cbClsExtra), 0);
    return c;
}

WNDCLASSEXW ToEx(const WNDCLASSW& w)
{
    WNDCLASSEXW x{};
    x.cbSize = sizeof x;
    x.style = w.style;
    x.lpfnWndProc = w.lpfnWndProc;
    x.cbClsExtra = w.cbClsExtra;
    x.cbWndExtra = w.cbWndExtra;
    x.hInstance = w.hInstance;
    x.hIcon = w.hIcon;
    x.hCursor = w.hCursor;
    x.hbrBackground = w.hbrBackground;
    x.lpszMenuName = w.lpszMenuName;
    x.lpszClassName = w.lpszClassName;
    return x;
}

LPCWSTR MenuNameOf(const WndClass& c)
{
    if (c.menuId)
        return MAKEINTRESOURCE(c.menuId);
    return c.menuName.empty() ? nullptr : c.menuName.c_str();
}

void FillInfo(const WndClass& c, WNDCLASSEXW& out)
{
    out.style = c.style;
    out.lpfnWndProc = c.proc;
    out.cbClsExtra = c.clsExtra;
    out.cbWndExtra = c.wndExtra;
    out.hInstance = c.module;
    out.hIcon = c.icon;
    out.hCursor = c.cursor;
    out.hbrBackground = c.background;
    out.lpszMenuName = MenuNameOf(c);
    out.lpszClassName = c.name.c_str(); // class records are never freed while the process runs
    out.hIconSm = c.iconSm;
}

// Keeps unregistered class records alive so pointers handed out stay valid.
std::vector<std::shared_ptr<WndClass>>& Graveyard()
{
    static std::vector<std::shared_ptr<WndClass>> g;
    return g;
}

} // namespace

namespace {

// The system classes the window system provides itself are there before any look-up, as
// on Windows, where a program creates an "MDIClient" by name without registering it.
void EnsureBuiltinClasses()
{
    static bool done = false; // under the user lock
    if (done)
        return;
    done = true;
    EnsureMdiClientClass();
    EnsureMenuPopupClass();
    EnsureDialogClasses();
    EnsureStandardControlClasses();
}

} // namespace

std::shared_ptr<WndClass> FindSystemClass(LPCWSTR nameOrAtom)
{
    auto lock = LockUser();
    return FindIn(Lists().system, nameOrAtom, nullptr, true);
}

std::shared_ptr<WndClass> FindClass(LPCWSTR nameOrAtom, HINSTANCE module)
{
    if (!nameOrAtom) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto lock = LockUser();
    EnsureBuiltinClasses();
    ClassLists& l = Lists();
    if (auto c = FindIn(l.local, nameOrAtom, ModuleOrExe(module), false))
        return c;
    if (auto c = FindIn(l.global, nameOrAtom, nullptr, true))
        return c;
    if (auto c = FindIn(l.system, nameOrAtom, nullptr, true))
        return c;
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
}

HINSTANCE ModuleWithOwnClass(LPCWSTR name, HINSTANCE preferred)
{
    auto lock = LockUser();
    const ClassLists& l = Lists();
    for (HINSTANCE m : {ModuleOrExe(preferred), ModuleOrExe(nullptr)})
        if (FindIn(l.local, name, m, false))
            return m;
    for (auto it = l.local.rbegin(); it != l.local.rend(); ++it)
        if (Matches(**it, name))
            return (*it)->module;
    return nullptr;
}

void ResetClasses()
{
    auto lock = LockUser();
    ClassLists& l = Lists();
    for (auto& c : l.local)
        Graveyard().push_back(c);
    for (auto& c : l.global)
        Graveyard().push_back(c);
    l.local.clear();
    l.global.clear();
    for (auto& c : l.system)
        c->windows = 0;
}

std::shared_ptr<WndClass> InternalClass(const wchar_t* name)
{
    auto lock = LockUser();
    if (auto c = FindIn(Lists().system, name, nullptr, true))
        return c;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = name;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(1 + 1)); // COLOR_BACKGROUND + 1
    auto c = MakeClass(wc, true);
    if (c)
        Lists().system.push_back(c);
    return c;
}

ATOM RegisterSystemClass(const WNDCLASSEXW& wc)
{
    auto c = MakeClass(wc, true);
    if (!c)
        return 0;
    auto lock = LockUser();
    auto& sys = Lists().system;
    for (auto& old : sys) {
        if (base::NamesEqual(old->name, c->name)) {
            if (old->windows > 0) {
                SetLastError(ERROR_CLASS_HAS_WINDOWS);
                return 0;
            }
            Graveyard().push_back(old);
            old = c;
            return c->atom;
        }
    }
    sys.push_back(c);
    return c->atom;
}

} // namespace zyn::user

using namespace zyn::user;

ATOM RegisterClassExW(const WNDCLASSEXW* lpWndClass)
{
    if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto c = MakeClass(*lpWndClass, false);
    if (!c)
        return 0;
    TouchWindowSystem();
    auto lock = LockUser();
    auto& l = zyn::user::Lists();
    const bool global = (c->style & CS_GLOBALCLASS) != 0;
    const LPCWSTR name = c->name.c_str();
    if (global ? FindIn(l.global, name, nullptr, true) != nullptr : FindIn(l.local, name, c->module, false) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    (global ? l.global : l.local).push_back(c);
    return c->atom;
}

ATOM RegisterClassEx(const WNDCLASSEXW* lpWndClass) { return RegisterClassExW(lpWndClass); }

ATOM RegisterClassW(const WNDCLASSW* lpWndClass)
{
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WNDCLASSEXW x = ToEx(*lpWndClass);
    return RegisterClassExW(&x);
}

ATOM RegisterClass(const WNDCLASSW* lpWndClass) { return RegisterClassW(lpWndClass); }

BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance)
{
    if (!lpClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockUser();
    auto& l = zyn::user::Lists();
    const HINSTANCE module = ModuleOrExe(hInstance);
    for (auto* v : {&l.local, &l.global}) {
        for (auto it = v->begin(); it != v->end(); ++it) {
            if ((*it)->module == module && Matches(**it, lpClassName)) {
                if ((*it)->windows > 0) {
                    SetLastError(ERROR_CLASS_HAS_WINDOWS);
                    return FALSE;
                }
                (*it)->unregistered = true;
                Graveyard().push_back(*it);
                v->erase(it);
                return TRUE;
            }
        }
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL UnregisterClass(LPCWSTR lpClassName, HINSTANCE hInstance) { return UnregisterClassW(lpClassName, hInstance); }

BOOL GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx)
{
    if (!lpwcx) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto c = FindClass(lpszClass, hInstance);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    auto lock = LockUser();
    FillInfo(*c, *lpwcx);
    return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx)
{
    return GetClassInfoExW(hInstance, lpszClass, lpwcx);
}

BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass)
{
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASSEXW x{};
    x.cbSize = sizeof x;
    if (!GetClassInfoExW(hInstance, lpClassName, &x))
        return FALSE;
    lpWndClass->style = x.style;
    lpWndClass->lpfnWndProc = x.lpfnWndProc;
    lpWndClass->cbClsExtra = x.cbClsExtra;
    lpWndClass->cbWndExtra = x.cbWndExtra;
    lpWndClass->hInstance = x.hInstance;
    lpWndClass->hIcon = x.hIcon;
    lpWndClass->hCursor = x.hCursor;
    lpWndClass->hbrBackground = x.hbrBackground;
    lpWndClass->lpszMenuName = x.lpszMenuName;
    lpWndClass->lpszClassName = x.lpszClassName;
    return TRUE;
}

BOOL GetClassInfo(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass)
{
    return GetClassInfoW(hInstance, lpClassName, lpWndClass);
}

int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount)
{
    auto lock = LockUser();
    const Window* w = GetLockedWnd(hWnd);
    if (!w)
        return 0;
    if (!lpClassName || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::wstring& name = w->cls->name;
    const size_t n = std::min(name.size(), static_cast<size_t>(nMaxCount - 1));
    std::wmemcpy(lpClassName, name.data(), n);
    lpClassName[n] = L'\0';
    return static_cast<int>(n);
}

int GetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount) { return GetClassNameW(hWnd, lpClassName, nMaxCount); }

namespace {

bool ExtraIndexOk(const WndClass& c, int index, size_t size)
{
    if (index < 0 || static_cast<size_t>(index) + size > c.extraBytes.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    return true;
}

} // namespace

ULONG_PTR GetClassLongPtrW(HWND hWnd, int nIndex)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    auto lock = LockUser();
    const WndClass& c = *w->cls;
    switch (nIndex) {
    case GCLP_MENUNAME: return reinterpret_cast<ULONG_PTR>(MenuNameOf(c));
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c.iconSm);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c.module);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.clsExtra);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
    default: break;
    }
    if (!ExtraIndexOk(c, nIndex, sizeof(ULONG_PTR)))
        return 0;
    ULONG_PTR v = 0;
    std::memcpy(&v, c.extraBytes.data() + nIndex, sizeof v);
    return v;
}

ULONG_PTR GetClassLongPtr(HWND hWnd, int nIndex) { return GetClassLongPtrW(hWnd, nIndex); }

ULONG_PTR SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    auto lock = LockUser();
    WndClass& c = *w->cls;
    ULONG_PTR old = 0;
    switch (nIndex) {
    case GCLP_HBRBACKGROUND:
        old = reinterpret_cast<ULONG_PTR>(c.background);
        c.background = reinterpret_cast<HBRUSH>(dwNewLong);
        return old;
    case GCLP_HCURSOR:
        old = reinterpret_cast<ULONG_PTR>(c.cursor);
        c.cursor = reinterpret_cast<HCURSOR>(dwNewLong);
        return old;
    case GCLP_HICON:
        old = reinterpret_cast<ULONG_PTR>(c.icon);
        c.icon = reinterpret_cast<HICON>(dwNewLong);
        return old;
    case GCLP_HICONSM:
        old = reinterpret_cast<ULONG_PTR>(c.iconSm);
        c.iconSm = reinterpret_cast<HICON>(dwNewLong);
        return old;
    case GCLP_WNDPROC:
        if (!dwNewLong) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<ULONG_PTR>(c.proc);
        c.proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return old;
    case GCL_STYLE:
        old = c.style;
        c.style = static_cast<UINT>(dwNewLong);
        return old;
    case GCLP_MENUNAME:
        old = reinterpret_cast<ULONG_PTR>(MenuNameOf(c));
        if (IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(dwNewLong))) {
            c.menuId = static_cast<uintptr_t>(dwNewLong);
            c.menuName.clear();
        } else {
            c.menuId = 0;
            c.menuName = reinterpret_cast<LPCWSTR>(dwNewLong);
        }
        return old;
    case GCLP_HMODULE:
    case GCL_CBWNDEXTRA:
    case GCL_CBCLSEXTRA:
    case GCW_ATOM:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    default: break;
    }
    if (!ExtraIndexOk(c, nIndex, sizeof(ULONG_PTR)))
        return 0;
    std::memcpy(&old, c.extraBytes.data() + nIndex, sizeof old);
    std::memcpy(c.extraBytes.data() + nIndex, &dwNewLong, sizeof dwNewLong);
    return old;
}

ULONG_PTR SetClassLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong) { return SetClassLongPtrW(hWnd, nIndex, dwNewLong); }

DWORD GetClassLongW(HWND hWnd, int nIndex)
{
    if (nIndex >= 0) {
        auto w = GetWnd(hWnd);
        if (!w)
            return 0;
        auto lock = LockUser();
        if (!ExtraIndexOk(*w->cls, nIndex, sizeof(DWORD)))
            return 0;
        DWORD v = 0;
        std::memcpy(&v, w->cls->extraBytes.data() + nIndex, sizeof v);
        return v;
    }
    return static_cast<DWORD>(GetClassLongPtrW(hWnd, nIndex));
}

DWORD GetClassLong(HWND hWnd, int nIndex) { return GetClassLongW(hWnd, nIndex); }

DWORD SetClassLongW(HWND hWnd, int nIndex, LONG dwNewLong)
{
    if (nIndex >= 0) {
        auto w = GetWnd(hWnd);
        if (!w)
            return 0;
        auto lock = LockUser();
        if (!ExtraIndexOk(*w->cls, nIndex, sizeof(DWORD)))
            return 0;
        DWORD old = 0;
        std::memcpy(&old, w->cls->extraBytes.data() + nIndex, sizeof old);
        std::memcpy(w->cls->extraBytes.data() + nIndex, &dwNewLong, sizeof dwNewLong);
        return old;
    }
    return static_cast<DWORD>(SetClassLongPtrW(hWnd, nIndex, dwNewLong));
}

DWORD SetClassLong(HWND hWnd, int nIndex, LONG dwNewLong) { return SetClassLongW(hWnd, nIndex, dwNewLong); }

WORD GetClassWord(HWND hWnd, int nIndex)
{
    if (nIndex == GCW_ATOM)
        return static_cast<WORD>(GetClassLongPtrW(hWnd, GCW_ATOM));
    auto w = GetWnd(hWnd);
    if (!w)
        return 0;
    auto lock = LockUser();
    if (!ExtraIndexOk(*w->cls, nIndex, sizeof(WORD)))
        return 0;
    WORD v = 0;
    std::memcpy(&v, w->cls->extraBytes.data() + nIndex, sizeof v);
    return v;
}
