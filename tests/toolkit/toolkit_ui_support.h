#pragma once
// Fixture of the toolkit's window-system tests: a fresh desktop in scripted mode per
// case, a plain window class painting white, screen helpers, and the checks that a case
// leaves no window, window object, hook, GDI object or DC behind.
#include <gtest/gtest.h>

#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"
#include "tests/support/pump.h"

namespace toolkittest {

class ToolkitUiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes every queued message without waiting.
    static void Pump() { zyn::test::PumpMessages(); }
    // A window of the plain class (DefWindowProc, white background).
    static HWND MakeWindow(DWORD style, const RECT& r, HWND parent = nullptr, UINT id = 0);
    // The screen, read and written through the desktop DC.
    static COLORREF ScreenPixel(int x, int y);
    static std::vector<COLORREF> ScreenPixels(const RECT& r);
    static void FillScreen(const RECT& r, COLORREF colour);

    static const wchar_t* const kPlainClass;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

} // namespace toolkittest
