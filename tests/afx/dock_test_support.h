#pragma once
// Fixture for the control-bar and docking tests: a main frame of known size on a fresh
// desktop with the virtual clock and scripted input, an application object for the idle
// pass and the profile, plain test bars of a fixed size, and the checks that nothing
// (window, hook, GDI object, DC, capture) is left behind.
#include <memory>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/miniframe.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {

// A bar of a fixed size: `size` along a horizontal side (width, height), turned for a
// vertical one; with `stretch` it spans a side it is stretched over.
class CTestBar : public CControlBar {
public:
    explicit CTestBar(CSize s = CSize(100, 30)) : size(s) {}
    CSize size;
    bool stretch = false;
    int updates = 0;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize s = bHorz ? size : CSize(size.cy, size.cx);
        if (bStretch && stretch)
            (bHorz ? s.cx : s.cy) = 32767;
        return s;
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++updates; }
    BOOL Make(CWnd* pParent, UINT nID, DWORD dwBarStyle, LPCTSTR text = L"Bar")
    {
        return CWnd::Create(nullptr, text, WS_CHILD | WS_VISIBLE | dwBarStyle, CRect(0, 0, 0, 0), pParent, nID);
    }
};

// A dynamic bar of six 20-pixel cells that wraps to the length it is given: columns =
// length / 20 (1..6), rows = ceil(6 / columns); with LM_LENGTHY the length is a height
// (rows = height / 20). Docked horizontally it is one row, vertically one column.
class CWrapBar : public CTestBar {
public:
    CWrapBar() : CTestBar(CSize(120, 20)) { m_nMRUWidth = 120; }
    static CSize Grid(int cols)
    {
        cols = std::max(1, std::min(6, cols));
        return CSize(cols * 20, ((6 + cols - 1) / cols) * 20);
    }
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        if (nLength == -1 && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) && !(dwMode & LM_MRUWIDTH))
            return (dwMode & LM_HORZDOCK) ? Grid(6) : Grid(1);
        if (dwMode & LM_MRUWIDTH)
            return Grid(m_nMRUWidth / 20);
        if (dwMode & LM_COMMIT) {
            m_nMRUWidth = nLength;
            return Grid(nLength / 20);
        }
        if (dwMode & LM_LENGTHY) {
            const int rows = std::max(1, std::min(6, nLength / 20));
            return Grid((6 + rows - 1) / rows);
        }
        return Grid(nLength / 20);
    }
};

CRect RectIn(const CWnd& parent, const CWnd& child);
CRect ScreenRect(const CWnd& wnd);
std::vector<COLORREF> ScreenPixels(const RECT& r);

class DockTest : public AfxTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A frame at (100, 100) 600 x 400 (window), shown and active, the application's main
    // window; the view is a plain child with the pane ID.
    CFrameWnd* MakeFrame();
    CRect Client() const;   // the frame's client area, screen coordinates
    CDockBar* Side(UINT nID) const;
    // Presses the left button at `from` (screen), moves through `path`, releases (or not).
    static void Drag(CPoint from, std::initializer_list<CPoint> path, bool release = true);
    static void Idle(CWinApp& app) { app.OnIdle(0); }

    CWinApp app{L"DockTest"};
    CFrameWnd* frame = nullptr;
    HWND view = nullptr;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
};

} // namespace zyn::test
