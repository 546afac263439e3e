#include "tests/toolkit/toolkit_ui_support.h"

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"

namespace toolkittest {

const wchar_t* const ToolkitUiTest::kPlainClass = L"ToolkitTestPlain";

void ToolkitUiTest::SetUp()
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(100000);
    zyn::user::SetScriptedMode(true);
    AfxUnlockTempMaps();
    CDC::GetHalftoneBrush(); // kept by the process once made
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = kPlainClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_NE(RegisterClassW(&wc), 0);
    m_objects = zyn::gdi::LiveObjectCount();
    m_dcs = zyn::gdi::LiveDcCount();
    m_hooks = zyn::user::LiveHookCount();
}

void ToolkitUiTest::TearDown()
{
    EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
    EXPECT_EQ(zyn::user::LiveHookCount(), m_hooks) << "hooks leaked";
    EXPECT_EQ(GetCapture(), nullptr) << "capture left set";
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    AfxUnlockTempMaps();
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(zyn::gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    zyn::user::ResetWindowSystemForTests();
}

HWND ToolkitUiTest::MakeWindow(DWORD style, const RECT& r, HWND parent, UINT id)
{
    return CreateWindowExW(0, kPlainClass, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

COLORREF ToolkitUiTest::ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

std::vector<COLORREF> ToolkitUiTest::ScreenPixels(const RECT& r)
{
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            out.push_back(GetPixel(screen, x, y));
    }
    ReleaseDC(nullptr, screen);
    return out;
}

void ToolkitUiTest::FillScreen(const RECT& r, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(screen, &r, brush);
    DeleteObject(brush);
    ReleaseDC(nullptr, screen);
}

} // namespace toolkittest
