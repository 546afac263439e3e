#pragma once
// Helpers of the skin tests: known system colours for a test's duration, and a fake
// visual-styles library registered as "UxTheme.dll".
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/base/module.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/gdi/wingdi.h"

namespace skintest {

// The classic scheme the expected values below are computed from.
inline constexpr COLORREF kWindow = RGB(255, 255, 255);
inline constexpr COLORREF kBtnFace = RGB(212, 208, 200);
inline constexpr COLORREF kHighlight = RGB(10, 36, 106);
inline constexpr COLORREF kBtnShadow = RGB(128, 128, 128);
inline constexpr COLORREF kGrayText = RGB(128, 128, 128);
inline constexpr COLORREF kBtnText = RGB(0, 0, 0);
inline constexpr COLORREF kCaptionText = RGB(255, 255, 255);
inline constexpr COLORREF kHighlightText = RGB(255, 255, 255);
inline constexpr COLORREF kWindowText = RGB(0, 0, 0);
inline constexpr COLORREF kWindowFrame = RGB(0, 0, 0);

// Sets system colours for a scope and puts the previous ones back.
class SysColours {
public:
    SysColours() { Set(DefaultScheme()); }
    explicit SysColours(const std::map<int, COLORREF>& colours) { Set(colours); }
    ~SysColours()
    {
        if (!m_saved.empty())
            Apply(m_saved);
    }
    SysColours(const SysColours&) = delete;
    SysColours& operator=(const SysColours&) = delete;

    void Set(const std::map<int, COLORREF>& colours)
    {
        for (const auto& [index, colour] : colours) {
            if (!m_saved.count(index))
                m_saved[index] = GetSysColor(index);
        }
        Apply(colours);
    }

    static std::map<int, COLORREF> DefaultScheme()
    {
        return {{COLOR_WINDOW, kWindow}, {COLOR_BTNFACE, kBtnFace}, {COLOR_HIGHLIGHT, kHighlight},
            {COLOR_BTNSHADOW, kBtnShadow}, {COLOR_GRAYTEXT, kGrayText}, {COLOR_BTNTEXT, kBtnText},
            {COLOR_CAPTIONTEXT, kCaptionText}, {COLOR_HIGHLIGHTTEXT, kHighlightText},
            {COLOR_WINDOWTEXT, kWindowText}, {COLOR_WINDOWFRAME, kWindowFrame}};
    }

private:
    static void Apply(const std::map<int, COLORREF>& colours)
    {
        std::vector<INT> indices;
        std::vector<COLORREF> values;
        for (const auto& [index, colour] : colours) {
            indices.push_back(index);
            values.push_back(colour);
        }
        ASSERT_TRUE(SetSysColors(static_cast<int>(indices.size()), indices.data(), values.data()));
    }

    std::map<int, COLORREF> m_saved;
};

// A visual-styles library of our own: its theme colours, whether a style is active,
// and how many theme handles are open.
struct FakeTheme {
    static inline bool active = true;
    static inline COLORREF highlight = RGB(49, 106, 197);
    static inline COLORREF activeCaption = RGB(0, 84, 227);
    static inline int opened = 0;
    static inline int closed = 0;
    static inline HRESULT drawResult = 0;

    static HTHEME OpenThemeData(HWND, const wchar_t* classList)
    {
        if (!active || !classList)
            return nullptr;
        ++opened;
        return reinterpret_cast<HTHEME>(static_cast<uintptr_t>(0x7E000 + opened));
    }
    static HRESULT CloseThemeData(HTHEME theme)
    {
        if (!theme)
            return static_cast<HRESULT>(0x80070006u); // E_HANDLE
        ++closed;
        return 0;
    }
    static HTHEME GetWindowTheme(HWND) { return nullptr; }
    static COLORREF GetThemeSysColor(HTHEME, int index)
    {
        switch (index) {
        case COLOR_HIGHLIGHT:
            return highlight;
        case COLOR_ACTIVECAPTION:
            return activeCaption;
        default:
            return GetSysColor(index);
        }
    }
    static HRESULT DrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return drawResult; }
    static HRESULT DrawThemeText(HTHEME, HDC, int, int, const wchar_t*, int, DWORD, DWORD, const RECT*)
    {
        return drawResult;
    }

    static void Reset()
    {
        active = true;
        highlight = RGB(49, 106, 197);
        activeCaption = RGB(0, 84, 227);
        opened = closed = 0;
        drawResult = 0;
    }
};

// Registers the fake as "UxTheme.dll" (all its entry points, or the ones named) for a
// scope.
class FakeThemeModule {
public:
    FakeThemeModule() : FakeThemeModule(AllExports()) {}
    explicit FakeThemeModule(std::map<std::string, void*> exports)
    {
        FakeTheme::Reset();
        // In place of the platform's own module, put back afterwards.
        zyn::base::UnregisterBuiltinModule(L"UxTheme.dll");
        m_module = zyn::base::RegisterBuiltinModule(L"UxTheme.dll", std::move(exports));
        EXPECT_NE(m_module, nullptr) << "a visual-styles library is already registered";
    }
    ~FakeThemeModule()
    {
        if (m_module)
            zyn::base::UnregisterBuiltinModule(m_module);
        zyn::gdi::RegisterDrawingModules();
        FakeTheme::Reset();
    }
    FakeThemeModule(const FakeThemeModule&) = delete;
    FakeThemeModule& operator=(const FakeThemeModule&) = delete;

    static std::map<std::string, void*> AllExports()
    {
        using zyn::base::ExportAddress;
        return {{"OpenThemeData", ExportAddress(&FakeTheme::OpenThemeData)},
            {"CloseThemeData", ExportAddress(&FakeTheme::CloseThemeData)},
            {"GetWindowTheme", ExportAddress(&FakeTheme::GetWindowTheme)},
            {"GetThemeSysColor", ExportAddress(&FakeTheme::GetThemeSysColor)},
            {"DrawThemeBackground", ExportAddress(&FakeTheme::DrawThemeBackground)},
            {"DrawThemeText", ExportAddress(&FakeTheme::DrawThemeText)}};
    }

private:
    HMODULE m_module = nullptr;
};

} // namespace skintest
