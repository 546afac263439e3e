#pragma once
// A fixture for the menu and accelerator tests: a fresh window system per case, a window
// class that records the messages the tests look for, and leak checks on menus,
// accelerator-free windows and GDI objects.
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/accel.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace zyn::rc::test {

struct Sent {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class MenuTest : public ::testing::Test {
protected:
    static std::vector<Sent>& Log()
    {
        static std::vector<Sent> log;
        return log;
    }
    static LRESULT Proc(HWND h, UINT m, WPARAM wp, LPARAM lp)
    {
        if (m == WM_COMMAND || m == WM_SYSCOMMAND || m == WM_MEASUREITEM || m == WM_DRAWITEM) {
            Log().push_back(Sent{h, m, wp, lp});
            if (m == WM_MEASUREITEM) {
                auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
                mis->itemWidth = 40;
                mis->itemHeight = 30;
            }
            return m == WM_MEASUREITEM || m == WM_DRAWITEM ? TRUE : 0;
        }
        return DefWindowProcW(h, m, wp, lp);
    }
    std::vector<Sent> Of(UINT msg) const
    {
        std::vector<Sent> out;
        for (const Sent& s : Log())
            if (s.msg == msg)
                out.push_back(s);
        return out;
    }

    void SetUp() override
    {
        user::ResetWindowSystemForTests();
        Log().clear();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = L"ZynMenuTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
        ASSERT_NE(RegisterClassExW(&wc), 0);
        m_menus = user::LiveMenuCount();
        m_objects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
        EXPECT_EQ(user::LiveMenuCount(), m_menus) << "menus leaked";
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        user::ResetWindowSystemForTests();
    }

    HWND MakeFrame(HMENU menu = nullptr, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        return CreateWindowExW(0, L"ZynMenuTest", L"Frame", style, 50, 60, 400, 300, nullptr, menu, nullptr, nullptr);
    }
    void Pump()
    {
        MSG m;
        for (int guard = 0; guard < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

private:
    size_t m_menus = 0;
    size_t m_objects = 0;
};

} // namespace zyn::rc::test
