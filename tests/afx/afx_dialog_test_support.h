#pragma once
// Fixture of the class-library dialog tests: scripted mode on the virtual clock, no GDI
// object or DC left behind, and questions the tests ask the window system's own edit,
// combo-box and list-box controls (their items, text, selection and limit) through the
// controls' documented messages.
#include <string>
#include <utility>
#include <vector>

#include "platform/afx/afxwin.h"
#include "platform/base/globalmem.h"
#include "tests/afx/afx_dialog_test_ids.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {

class AfxDialogTest : public AfxTest {
public:
    // The items of a list box or combo box, in index order.
    static std::vector<std::wstring> ItemsOf(HWND hWnd);
    static std::wstring TextOf(HWND hWnd);
    // An edit's selection (start, end) and its text limit.
    static std::pair<int, int> SelectionOf(HWND hWnd);
    static int LimitOf(HWND hWnd);
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

} // namespace zyn::test
