#pragma once
// Fixture of the cool toolbar tests: the docking fixture's frame (600 x 400 at (100, 100),
// the application's main window, with a profile in the test registry) answering the bar-drag
// question 0x045C as the case says; cool toolbars made on it with 16 x 15 images in 23 x 22
// buttons; a customisation window that records every customisation notification and
// answers (vetoes) as the case says; a sample custom-button template whose copies destroy
// their windows and themselves in CBDelete; and the checks that no window, GDI object or
// image list is left.
#include <functional>
#include <memory>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/gdi/imagelist.h"
#include "tests/afx/dock_test_support.h"
#include "tests/cooltoolbar/cooltoolbar_test_ids.h"
#include "toolkit/menus/cool_toolbar.h"

namespace zyn::test {

// A frame that answers whether its bars are dragged live.
class CCoolFrame : public CFrameWnd {
public:
    LRESULT snapping = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The bar with its protected machinery reachable.
class CTestCoolBar : public COXCoolToolBar {
public:
    using COXCoolToolBar::_SetButton;
    using COXCoolToolBar::CalcSize;
    using COXCoolToolBar::SizeToolBar;
    using COXCoolToolBar::WrapToolBar;
    void SuppressRedraw(BOOL b) { m_bNoInternalRedraw = b; }
};

// A custom button: a static window with a number that it keeps in the saved state.
class CSampleCustomButton : public CWnd, public COXCustomTBButtonTemplate {
public:
    LONG value = 0;
    static inline int liveCopies = 0;
    static inline int deletes = 0;   // CBDelete calls, copies or not

    CWnd* CBGetWindow() override { return this; }
    BOOL CBCreate(int nID, CWnd* pParentWnd, DWORD dwStyle, DWORD dwStyleEx, LPCTSTR lpszClassName,
        LPCTSTR lpszWindowName) override;
    COXCustomTBButtonTemplate* CBCreateCopy(CWnd* pParentWnd) const override;
    BOOL CBDelete() override;
    BOOL CBSaveState(CArchive& ar) override;
    BOOL CBLoadState(CArchive& ar) override;
};

// One customisation notification as the customisation window got it.
struct CustomizeEvent {
    UINT event;
    HWND from;
};

class CoolBarTest : public DockTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A cool toolbar on the frame: created, 23 x 22 buttons of 16 x 15 images, bar style
    // CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC (no borders, no gripper), the commands given
    // (ID_SEPARATOR: a separator 6 wide).
    CTestCoolBar& MakeBar(std::initializer_list<UINT> ids, UINT nID = AFX_IDW_TOOLBAR + 1);
    // The window recording customisation notifications.
    HWND Recorder();
    static std::vector<CustomizeEvent>& Events();
    static std::function<LRESULT(UINT)>& Veto();
    std::vector<UINT> EventCodes() const;

    // Button records as the control has them.
    static TBBUTTON Button(const COXCoolToolBar& bar, int i);
    static int Count(const COXCoolToolBar& bar);
    static RECT Item(const COXCoolToolBar& bar, int i);
    // Mouse at a client point of a window.
    static void MouseAt(HWND h, int x, int y);
    static void Press(HWND h, int x, int y, user::MouseButton b = user::MouseButton::Left);
    static void Release(HWND h, int x, int y, user::MouseButton b = user::MouseButton::Left);

    CCoolFrame* coolFrame = nullptr;
    std::vector<std::unique_ptr<CTestCoolBar>> bars;
    std::vector<std::unique_ptr<CSampleCustomButton>> templates;
    HWND recorder = nullptr;

private:
    size_t m_lists = 0;
};

} // namespace zyn::test
