#pragma once
// Fixture of the shortcut bar's window-system tests: a fresh desktop in scripted mode on
// the virtual clock with OLE initialised, a parent window (a class-library window, so
// that the editor's notifications are reflected to it) that records what it is told, and
// the checks that a case leaves no window, window object, GDI object, image list or COM
// object behind.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/base/wintypes.h"
#include "tests/support/pump.h"

// Rectangles in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace shbtest {

// Trace lines of the running case, in order (cleared between cases).
std::vector<std::string>& Trace();

// A window object that records the messages it gets in a shared trace and lets a case
// answer them.
class CTraceWnd : public CWnd {
public:
    std::string name;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> answer;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class ShbUiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes every queued message (translated and dispatched as a message loop does).
    static void Pump() { zyn::test::PumpMessages(); }

    // The parent: a popup at the screen's origin, 400 x 300, visible and in front.
    CTraceWnd parent;

private:
    size_t m_gdi = 0, m_lists = 0, m_com = 0, m_hooks = 0;
};

} // namespace shbtest
