#include "toolkit/skins/uxtheme.h"

#include "platform/base/module.h"

namespace {

// The library's entry points as the wrapper calls them.
using OpenThemeDataFn = HTHEME (*)(HWND, const wchar_t*);
using GetWindowThemeFn = HTHEME (*)(HWND);
using CloseThemeDataFn = HRESULT (*)(HTHEME);
using DrawThemeBackgroundFn = HRESULT (*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextFn = HRESULT (*)(HTHEME, HDC, int, int, const wchar_t*, int, DWORD, DWORD, const RECT*);
using GetThemeSysColorFn = COLORREF (*)(HTHEME, int);

} // namespace

COXUxTheme::COXUxTheme()
    : m_hUxTheme(LoadLibraryW(L"UxTheme.dll"))
{
}

COXUxTheme::~COXUxTheme()
{
    if (m_hUxTheme)
        FreeLibrary(m_hUxTheme);
}

template <class Fn>
Fn COXUxTheme::Entry(const char* name) const
{
    if (!m_hUxTheme)
        return nullptr;
    return reinterpret_cast<Fn>(GetProcAddress(m_hUxTheme, name));
}

int COXUxTheme::IsUxThemeLoaded() const { return m_hUxTheme != nullptr; }

HTHEME COXUxTheme::OpenThemeData(HWND hwnd, const wchar_t* classList) const
{
    const auto fn = Entry<OpenThemeDataFn>("OpenThemeData");
    return fn ? fn(hwnd, classList) : nullptr;
}

HTHEME COXUxTheme::GetWindowTheme(HWND hwnd) const
{
    const auto fn = Entry<GetWindowThemeFn>("GetWindowTheme");
    return fn ? fn(hwnd) : nullptr;
}

int COXUxTheme::CloseThemeData(HTHEME theme) const
{
    const auto fn = Entry<CloseThemeDataFn>("CloseThemeData");
    return fn && theme && fn(theme) == S_OK;
}

int COXUxTheme::DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect,
    const RECT* clipRect) const
{
    const auto fn = Entry<DrawThemeBackgroundFn>("DrawThemeBackground");
    return fn && fn(theme, hdc, partId, stateId, rect, clipRect) == S_OK;
}

int COXUxTheme::DrawThemeText(HTHEME theme, HDC hdc, int partId, int stateId, const wchar_t* text, int charCount,
    DWORD textFlags, DWORD textFlags2, const RECT* rect) const
{
    const auto fn = Entry<DrawThemeTextFn>("DrawThemeText");
    return fn && fn(theme, hdc, partId, stateId, text, charCount, textFlags, textFlags2, rect) == S_OK;
}

COLORREF COXUxTheme::GetThemeSysColor(HTHEME theme, int colorId) const
{
    const auto fn = Entry<GetThemeSysColorFn>("GetThemeSysColor");
    return fn ? fn(theme, colorId) : 0;
}
