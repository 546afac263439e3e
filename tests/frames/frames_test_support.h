#pragma once
// Fixture for the frame and document tests: a fresh window system and desktop per case,
// the answer script cleared, leak checks on windows and window objects, and a trace that
// the test classes write to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"

namespace zyn::test {

struct FrameTrace {
    static std::vector<std::wstring>& Log()
    {
        static std::vector<std::wstring> log;
        return log;
    }
    static void Add(const std::wstring& s) { Log().push_back(s); }
    static void Clear() { Log().clear(); }
};

class FramesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        user::ResetWindowSystemForTests();
        gdi::ResetDesktop(1280, 1024);
        gdi::ResetSystemColors();
        gdi::ResetSystemMetrics();
        user::AnswerScript::Clear();
        AfxUnlockTempMaps();
        FrameTrace::Clear();
    }
    void TearDown() override
    {
        EXPECT_EQ(afx::PermanentWindowCount(), 0u) << "window objects still attached";
        EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        AfxUnlockTempMaps();
        user::AnswerScript::Clear();
        user::ResetWindowSystemForTests();
        FrameTrace::Clear();
    }
    static void Pump()
    {
        zyn::test::PumpMessages();
    }
};

} // namespace zyn::test
