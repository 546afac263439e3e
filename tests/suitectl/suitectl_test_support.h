#pragma once
// Fixture of the suite-controls tests: a fresh window system in scripted mode on the
// virtual clock, a class-library parent window that records what its list tells it
// (notification codes for the list's ID and the selection message with its row), and
// checks that no window, window object, GDI object or DC is left, and no scripted answer
// unused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/wnd.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd_maps.h"
#include "platform/base/clock.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/suite/controls/zyn_list_ctl.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"

namespace zyn::test {

// What the parent heard: "N:<code>:<item>" for WM_NOTIFY from the list, "S:<row>" for the
// selection message.
class RecordingParent : public CWnd {
public:
    std::vector<std::string> heard;
    UINT listId = 0;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom == listId) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
            const int code = static_cast<int>(hdr->code);
            const bool itemCode = code <= static_cast<int>(LVN_FIRST) && code >= static_cast<int>(LVN_LAST);
            heard.push_back("N:" + Name(hdr->code) + (itemCode ? ":" + std::to_string(nm->iItem) : ""));
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
    afx_msg LRESULT OnRowSelected(WPARAM wParam, LPARAM lParam)
    {
        heard.push_back("S:" + std::to_string(static_cast<int>(lParam)) + (wParam == listId ? "" : "(wrong id)"));
        return 0;
    }
    std::vector<std::string> Only(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const auto& h : heard)
            if (h.rfind(prefix, 0) == 0)
                out.push_back(h);
        return out;
    }
    static std::string Name(UINT code)
    {
        switch (code) {
        case LVN_ITEMCHANGING: return "changing";
        case LVN_ITEMCHANGED: return "changed";
        case LVN_DELETEITEM: return "delete";
        case LVN_DELETEALLITEMS: return "deleteall";
        case LVN_INSERTITEM: return "insert";
        default: return std::to_string(static_cast<int>(code));
        }
    }
    DECLARE_MESSAGE_MAP()
};

class SuiteCtlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        user::ResetWindowSystemForTests();
        gdi::ResetDesktop(1024, 768);
        gdi::ResetSystemColors();
        gdi::ResetSystemMetrics();
        base::Clock::UseVirtual(100000);
        user::SetScriptedMode(true);
        user::AnswerScript::Clear();
        m_objects = gdi::LiveObjectCount();
        m_dcs = gdi::LiveDcCount();
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400,
            nullptr, nullptr));
    }
    void TearDown() override
    {
        if (m_parent.m_hWnd)
            m_parent.DestroyWindow();
        Pump();
        CWnd::DeleteTempMap();
        EXPECT_EQ(user::AnswerScript::PendingTotal(), 0u) << "scripted answers left unused";
        EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects left attached";
        EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        user::AnswerScript::Clear();
        user::ResetWindowSystemForTests();
    }
    static void Pump()
    {
        zyn::test::PumpMessages([](MSG& m) { return AfxPreTranslateMessage(&m) != FALSE; });
    }
    // A click at a client point of a window.
    static void Click(HWND h, int x, int y)
    {
        POINT p{x, y};
        ::ClientToScreen(h, &p);
        user::InjectMouseMove(p.x, p.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
    }

    RecordingParent m_parent;
    size_t m_objects = 0;
    size_t m_dcs = 0;
};

} // namespace zyn::test
