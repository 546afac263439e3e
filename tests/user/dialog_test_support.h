#pragma once
// Helpers of the dialog-manager tests: templates compiled from resource-script text by
// zyn-rc (the numbers in a test's script are its expectations), a recording dialog
// procedure, a message pump that passes every message through IsDialogMessage as a
// modeless dialog's loop does, and "TestEdit", a stand-in for an edit control that wants
// characters and arrows and records what it is sent.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/winuser.h"
#include "tests/user/user_test_support.h"

// Rectangles compare and print by their four edges in these tests.
inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace zyn::test {

// The RT_DIALOG resource `id` of a script compiled from text (a test failure when the
// script does not compile).
std::vector<uint8_t> CompileDialog(std::string_view script, uint16_t id);

// Dialog base units worked out by hand from a font, as the documentation states them:
// x = (extent of the 52 letters / 26 + 1) / 2, y = tmHeight.
SIZE HandBaseUnits(HFONT font);
// MulDiv for non-negative values, rounding halves up.
int Scale(int v, int num, int den);

class DialogTest : public UserTest {
public:
    static const wchar_t* kEditClass;
    // A window's rectangle in its parent's client coordinates.
    static RECT ClientRectIn(HWND child, HWND parent);

protected:
    void SetUp() override;
    void TearDown() override;

    // The recording procedure; a handler set by the case may answer a message.
    static INT_PTR Proc(HWND h, UINT m, WPARAM wp, LPARAM lp);
    using Handler = std::function<std::optional<INT_PTR>(HWND, UINT, WPARAM, LPARAM)>;
    static Handler& Answer();
    static std::vector<Rec>& Log();
    // (ID, notification code) of every WM_COMMAND the procedure got.
    static std::vector<std::pair<int, int>> Commands();

    HWND Create(std::string_view script, uint16_t id, HWND parent = nullptr, LPARAM init = 0);
    // Runs the queue, every message through IsDialogMessage(dlg) first.
    void PumpDialog(HWND dlg);
    // A key pressed and released (with Shift / Alt held when asked), then the pump.
    void Press(HWND dlg, int vk, bool shift = false, bool alt = false);
    // The ID of the focus window (0 when it has none or is not a control).
    static int FocusId() { return GetDlgCtrlID(GetFocus()); }
};

} // namespace zyn::test
