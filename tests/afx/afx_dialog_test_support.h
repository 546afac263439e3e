#pragma once
// Fixture of the class-library dialog tests: scripted mode on the virtual clock, no GDI
// object or DC left behind, and stand-ins for the edit, combo-box and list-box controls
// ("TestEdit", "TestCombo", "TestList") that answer the documented messages the data
// exchange sends, and record what they were sent.
#include <string>
#include <vector>

#include "platform/afx/afxwin.h"
#include "platform/base/globalmem.h"
#include "tests/afx/afx_dialog_test_ids.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {

// What a stand-in control was sent.
struct StandInLog {
    int limitText = -1;                  // the last EM_LIMITTEXT's wParam (-1: none)
    std::pair<int, int> selection{0, 0}; // the last EM_SETSEL
    int setSelCount = 0;
};

class AfxDialogTest : public AfxTest {
public:
    static StandInLog& LogOf(HWND hWnd);
    // The items of a "TestList" or "TestCombo" stand-in.
    static std::vector<std::wstring> ItemsOf(HWND hWnd);
    static std::wstring TextOf(HWND hWnd);
    // The message boxes shown, oldest first: their texts.
    static std::vector<std::wstring> BoxTexts();

protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the queue; each message is offered to the window objects' PreTranslateMessage
    // first (AfxPreTranslateMessage), as the class library's message loop does.
    static void PumpTranslated();
    // A key pressed and released (with Ctrl when asked), then PumpTranslated.
    static void Press(int vk, bool ctrl = false);

private:
    size_t m_gdiObjects = 0;
    size_t m_dcs = 0;
};

// Documented message numbers the tests send or expect.
inline constexpr UINT kEmSetSel = 0x00B1, kEmLimitText = 0x00C5, kEnChange = 0x0300;
inline constexpr UINT kLbAddString = 0x0180, kLbSetCurSel = 0x0186, kLbGetCurSel = 0x0188;
inline constexpr UINT kCbAddString = 0x0143, kCbGetCurSel = 0x0147, kCbSetCurSel = 0x014E;

} // namespace zyn::test
