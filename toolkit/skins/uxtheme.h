#pragma once
// COXUxTheme: the visual-styles library, bound at run time so that the toolkit runs
// where that library does not exist. Every forwarding call looks its entry point up
// afresh; a missing library or entry point answers as "no visual style".
#include "platform/base/wintypes.h"

class COXUxTheme {
public:
    // Loads "UxTheme.dll"; the handle stays null when it does not load.
    COXUxTheme();
    // Frees the library when it was loaded.
    virtual ~COXUxTheme();

    // One wrapper owns one reference to the library: a copy would free it twice.
    COXUxTheme(const COXUxTheme&) = delete;
    COXUxTheme& operator=(const COXUxTheme&) = delete;

    // Non-zero when the library is loaded.
    int IsUxThemeLoaded() const;

    // Theme data for a window class list ("button", ...); null without the library or
    // without an active visual style. Close the handle with CloseThemeData.
    HTHEME OpenThemeData(HWND hwnd, const wchar_t* classList) const;
    // The theme the window uses, or null.
    HTHEME GetWindowTheme(HWND hwnd) const;
    // Closes a handle from OpenThemeData; non-zero when the library reports S_OK.
    int CloseThemeData(HTHEME theme) const;

    // Non-zero exactly when the library's call returns S_OK.
    int DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect,
        const RECT* clipRect) const;
    int DrawThemeText(HTHEME theme, HDC hdc, int partId, int stateId, const wchar_t* text, int charCount,
        DWORD textFlags, DWORD textFlags2, const RECT* rect) const;

    // The theme's colour for a system-colour index; 0 without the library.
    COLORREF GetThemeSysColor(HTHEME theme, int colorId) const;

private:
    // The library's export of that name cast to the expected type, or null.
    template <class Fn>
    Fn Entry(const char* name) const;

    HMODULE m_hUxTheme = nullptr;
};
