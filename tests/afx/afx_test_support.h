#pragma once
// Fixture for the class-library core tests: a fresh window system per case, checks that
// no window, hook, window object or temporary wrapper is left behind, and helpers to run
// the message queue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/afx/afxpriv.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/menu.h"
#include "platform/afx/winapp.h"
#include "platform/afx/wnd.h"
#include "platform/base/lasterror.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

namespace zyn::test {

class AfxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes every queued message (sent, posted, paint) without waiting; WM_QUIT is put
    // back and ends the pump.
    static void Pump();
    // A plain top-level window (no window object) of a class with DefWindowProc.
    static HWND MakePlain(DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, UINT id = 0);

    static const wchar_t* kPlainClass;

private:
    size_t m_hooks = 0;
};

// Index of the first occurrence of a message in a sequence (-1 when absent).
int IndexOf(const std::vector<UINT>& seq, UINT msg);

// Ordered trace of what handlers saw, shared by the test classes of one case.
struct Trace {
    static std::vector<std::wstring>& Log();
    static void Add(const std::wstring& s) { Log().push_back(s); }
    static void Clear() { Log().clear(); }
};

} // namespace zyn::test
