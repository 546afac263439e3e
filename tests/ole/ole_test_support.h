#pragma once
// Fixture and helpers for drag-and-drop tests: a fresh window system in scripted mode on
// the virtual clock with OLE initialised; a frame with a source window and a target
// window (which has a child); a script of user actions that the drag loops play one per
// idle turn; and checks that no window, hook, GDI object, COM object or drop target
// registration is left behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/afx/ole/afxole.h"
#include "platform/afx/wnd.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/support/pump.h"

namespace zyn::test {

// A window object that records the messages it gets and lets a case answer them.
class CRecWnd : public CWnd {
public:
    std::vector<UINT> seen;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> answer;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Trace lines of one case, shared by the recording objects.
struct Trace {
    static std::vector<std::string>& Lines();
    static void Add(std::string s) { Lines().push_back(std::move(s)); }
    static void Clear() { Lines().clear(); }
};

class OleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The frame (popup, 800 x 600 at the origin, foreground), the source child (screen
    // 20..220 x 20..220), the target child (screen 400..700 x 20..320) and the target's own
    // child (screen 450..550 x 70..170).
    void MakeWindows();
    void DestroyWindows();

    // Presses the left (or right) button at a screen point and lets the window system
    // take it, so the drag starts from a real button-down.
    void PressAt(int x, int y, user::MouseButton button = user::MouseButton::Left);
    // Takes every queued message.
    static void Pump() { zyn::test::PumpMessages(); }

    // Script steps, played by the next modal loop one per idle turn.
    static void Move(int x, int y);
    static void Key(int vk, bool down);
    static void Button(user::MouseButton b, bool down);
    static void Wait(uint32_t ms);
    static void Do(std::function<void()> f);

    CRecWnd m_frame, m_source, m_target, m_inner;

private:
    size_t m_com = 0;
    size_t m_gdi = 0;
    size_t m_hooks = 0;
};

} // namespace zyn::test
