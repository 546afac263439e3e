#pragma once
// Fixture of the toolbar, status-bar and context-help tests: the docking fixture's frame
// (600 x 400 at (100, 100), the application's main window) with helpers to pump through
// the application's pre-translation, to move the virtual clock with the timers firing, to
// measure text in the status font independently of the bars, and to read what a status
// bar's control shows. The thread's tooltip is destroyed after each case.
#include <string>

#include "platform/afx/barstat.h"
#include "platform/afx/bartool.h"
#include "platform/afx/frame_help.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "tests/afx/afx_bars_test_ids.h"
#include "tests/afx/dock_test_support.h"

namespace zyn::test {

class BarsTest : public DockTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Queued messages through AfxPreTranslateMessage first, as the application's loop does.
    static void PumpTranslated();
    // Moves the clock in 10 ms steps, pumping after each, so timers fire as they would.
    static void AdvanceMs(int ms);
    // The extent of a text in the system's status font and that font's line height.
    static SIZE StatusExtent(const std::wstring& text, int* lineHeight = nullptr);
    // What part nPart of a status bar's control shows, and its drawing type (SBT_*).
    static std::wstring Shown(const CStatusBar& bar, int nPart, UINT* pType = nullptr);
    // The screen point at a client point of a window.
    static CPoint At(const CWnd& wnd, int x, int y);
    static CPoint Centre(const CWnd& wnd, const CRect& client);
};

} // namespace zyn::test
