#pragma once
// Fixture for the standard controls: the virtual clock, scripted mode, a visible parent
// window of the recording class (which answers WM_CTLCOLOR* and owner-draw messages as a
// case asks), readable notifications, and input helpers in client coordinates. At the end
// of a case no caret and no timer of the thread may be left.
#include <string>
#include <vector>

#include "tests/user/user_test_support.h"

namespace zyn::test {

// WM_GETDLGCODE values, as documented for the dialog manager.
inline constexpr LRESULT kWantArrows = 0x0001, kWantTab = 0x0002, kWantAllKeys = 0x0004, kHasSetSel = 0x0008,
                         kWantChars = 0x0080;

class CtlTest : public UserTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A control of `cls`, a child of the parent at client (x, y).
    HWND Ctl(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy, UINT id = 100, const wchar_t* text = L"",
        DWORD exStyle = 0);
    // The WM_COMMAND notifications the parent got, as "EN_CHANGE" (with " id" when `withId`).
    std::vector<std::string> Notes(bool withId = false) const;
    // The scroll messages the parent got, as their codes.
    std::vector<int> ScrollCodes() const;
    void ClearLog() { rec().Clear(); }

    static std::wstring Text(HWND h);
    // Input, in client coordinates of `h`.
    static void Click(HWND h, int x, int y);
    static void Press(HWND h, int x, int y);
    static void MoveTo(HWND h, int x, int y);
    static void Release();
    static void Key(int vk);
    // A key with modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU).
    static void Chord(std::initializer_list<int> mods, int vk);
    static void Type(const std::wstring& text);
    // Pumps, then paints what is pending, so the screen is up to date.
    void Settle();
    // Screen pixel at a client point of `h`.
    COLORREF ClientPixel(HWND h, int x, int y);
    // The bounding box, in client coordinates of `h`, of the pixels inside `area` that
    // have colour `c` (empty when none).
    RECT BoxOfColor(HWND h, const RECT& area, COLORREF c);

    static TEXTMETRICW Metrics(HFONT font);

    HWND parent = nullptr;
};

} // namespace zyn::test
