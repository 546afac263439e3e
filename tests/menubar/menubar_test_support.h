#pragma once
// Fixture of the menu-bar tests: the docking fixture (fresh desktop, virtual clock,
// scripted input, an application with a profile in the test registry, leak checks) with
// menu-bar frames that record the menu-loop messages they get, the sample menu below,
// and helpers to click and type at the bar.
//
// The sample menu ("&File" "&Edit" "&View" "&Help" "&Window"):
//   0 &File    popup: &New (ID_NEW), &Open (ID_OPEN), separator, &Recent popup (&One)
//   1 &Edit    popup: &Undo (ID_UNDO), Cu&t (ID_CUT)
//   2 &View    popup, grayed: &Status (ID_STATUS)
//   3 &Help    a command item (ID_HELPCMD), no popup
//   4 &Window  popup: &Tile (ID_TILE)
#include <functional>
#include <string>
#include <vector>

#include "platform/afx/mdi.h"
#include "platform/comctl/toolbar.h"
#include "tests/afx/dock_test_support.h"
#include "toolkit/menus/menu_bar_frame.h"

namespace zyn::test {

inline constexpr UINT ID_NEW = 0x8101, ID_OPEN = 0x8102, ID_ONE = 0x8103, ID_UNDO = 0x8111, ID_CUT = 0x8112,
                      ID_STATUS = 0x8121, ID_HELPCMD = 0x8131, ID_TILE = 0x8141;

// A built menu tree (the caller destroys it unless a window took it).
HMENU MakeSampleMenu();

// One message a frame got, with its parameters.
struct FrameMsg {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;   // 0x8073 / 0x8074: the section name lParam pointed to
};

// What a menu-bar frame records.
struct FrameLog {
    std::vector<FrameMsg> msgs;
    // The menu-loop messages only, in order.
    std::vector<UINT> Loop() const;
    int Count(UINT msg) const;
    // WM_ENTERMENULOOP / WM_EXITMENULOOP the bar sent (wParam FALSE; a tracked popup's own
    // carry TRUE).
    int BarLoops(UINT msg) const;
    std::vector<WPARAM> Commands() const;         // WM_COMMAND ids
    std::vector<LPARAM> InitPopupParams() const;  // WM_INITMENUPOPUP lParam
};

class CTestSDIFrame : public COXMenuBarFrame<CFrameWnd> {
public:
    explicit CTestSDIFrame(DWORD dwDockStyle = CBRS_ALIGN_ANY) : COXMenuBarFrame<CFrameWnd>(dwDockStyle) {}
    BOOL Make(HMENU hMenu, const CRect& rect = CRect(100, 100, 700, 500));
    FrameLog log;
    using COXMenuBarHost<CFrameWnd>::Hosts;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CTestMDIFrame : public COXMenuBarFrame<CMDIFrameWnd> {
public:
    BOOL Make(HMENU hMenu, const CRect& rect = CRect(100, 100, 700, 500));
    FrameLog log;
    // Called at the first WM_ENTERIDLE of a menu loop (a popup is open and painted).
    std::function<void()> onEnterIdle;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class MenuBarTest : public DockTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // An SDI frame showing the sample menu, active, with a focused child view.
    CTestSDIFrame& MakeSDI(DWORD dwDockStyle = CBRS_ALIGN_ANY);
    // An MDI frame showing the sample menu, with one child (maximised when asked).
    CTestMDIFrame& MakeMDI(bool maximise, DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
        const CRect& rect = CRect(100, 100, 700, 500));

    // Destroys the case's frame (no WM_QUIT follows: it stops being the main window first),
    // so that a table's next row makes its own.
    void DropFrame();
    // The centre of a bar button in screen coordinates.
    static CPoint ButtonCentre(COXMenuBar& bar, int index);
    static void ClickButton(COXMenuBar& bar, int index);
    // A point in the bar's window coordinates, on the screen.
    static CPoint WindowPoint(COXMenuBar& bar, CPoint pt);
    static void KeyDown(int vk) { user::InjectKey(vk, true); }
    static void KeyUp(int vk) { user::InjectKey(vk, false); }
    static void Press(int vk) { user::InjectKeyPress(vk); }

    CTestMDIFrame* mdi = nullptr;
    CMDIChildWnd* child = nullptr;
    size_t hooksBefore = 0;
};

} // namespace zyn::test
