#pragma once
// Fixture of the docking tests: a main frame that makes size dock bars on its four sides
// as the size-dock frames do (floating frames of the sizable mini-frame class), answers
// the snapping question as the test says and records its message-line prompts; a size
// bar that counts what the tests look for; a dock-bar skin with a known layout (so button
// tests do not depend on any real skin's geometry); the current skin and the docking seam
// set for a case and put back after it. The class library's docking fixture underneath
// resets the desktop and checks that no window, hook, GDI object, DC or capture is left.
#include <memory>
#include <vector>

#include "platform/afx/dockbar.h"
#include "platform/afx/frame.h"
#include "tests/afx/dock_test_support.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/drag_dock_context.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/skin.h"

namespace zyn::test {

// The main frame of a docking test.
class CSizeDockTestFrame : public CFrameWnd {
public:
    // As the size-dock frames do: the sizable floating frame, and a COXSizeDockBar for each
    // side asked for that has none yet, top, bottom, left, right, laid out in that order.
    void EnableSizeDocking(DWORD dwDockStyle);
    CDockBar* Side(UINT nID) const;

    BOOL snapping = FALSE;                 // the answer to WM_OX_QUERYSNAPPING
    std::vector<WPARAM> prompts;           // WM_SETMESSAGESTRING string IDs, in order

    afx_msg LRESULT OnQuerySnapping(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

// A size bar that counts the notices and drawing the tests look for.
class CCountingSizeBar : public COXSizeControlBar {
public:
    explicit CCountingSizeBar(int nStyle = SZBARF_CONTEXT_MENU) : COXSizeControlBar(nStyle) { ++alive; }
    ~CCountingSizeBar() override { --alive; }

    int floatedNotices = 0;                // WM_OX_BARFLOATED received
    std::vector<std::pair<WPARAM, LPARAM>> viewBarNotices;   // WM_OX_ACTIVATEVIEWBAR received
    int closeDrawn = 0, resizeDrawn = 0;   // DrawCloseBtn / DrawResizeBtn calls
    std::vector<int> sizedFlags;           // OnSizedOrDocked's flags, in order
    static inline int alive = 0;           // objects of this class in existence

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_OX_BARFLOATED)
            ++floatedNotices;
        if (message == WM_OX_ACTIVATEVIEWBAR)
            viewBarNotices.emplace_back(wParam, lParam);
        return COXSizeControlBar::WindowProc(message, wParam, lParam);
    }
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override
    {
        sizedFlags.push_back(flags);
        COXSizeControlBar::OnSizedOrDocked(cx, cy, bFloating, flags);
    }
    void DrawCloseBtn(CDC* pDC) override
    {
        ++closeDrawn;
        COXSizeControlBar::DrawCloseBtn(pDC);
    }
    void DrawResizeBtn(CDC* pDC) override
    {
        ++resizeDrawn;
        COXSizeControlBar::DrawResizeBtn(pDC);
    }
    // Creates the bar as a child of pParent at rect (its three sizes), with docking on
    // every side.
    BOOL Make(CWnd* pParent, UINT nID, const CRect& rect, LPCTSTR text = L"Size bar");
};

// A dock-bar skin with a plain layout: no non-client area; the gripper is a 16-pixel strip
// along the top of a vertically docked bar or the left of a horizontal one, the close
// button the 12 x 12 square at the strip's far end and the resize button the one before it
// (client coordinates). Floating bars get none.
class CTestDockbarSkin : public COXDockbarSkin {
public:
    static constexpr int kBand = 16, kButton = 12;
    void DrawGripper(CDC*, COXSizeControlBar*) override {}
    void DrawCloseButton(CDC*, COXSizeControlBar*) override {}
    void DrawResizeButton(CDC*, COXSizeControlBar*) override {}
    OXCONTROLBARCONSTANTS& GetControlBarConstants() override { return m_constants; }
    void DrawNonClientArea(CDC*, const RECT*, COXSizeControlBar*) override {}
    void DrawSplitter(CDC*, COXSplitterRect*, COXSizeDockBar*) override {}
    void OnNcPaintSizeDockBar(COXSizeDockBar*) override {}
    void DrawBackground(CDC*, COXSizeDockBar*) override {}
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*, COXSizeControlBar*) override {}
    void RecalcLayout(COXSizeControlBar* bar) override;
    COLORREF GetClientBorderColor() override { return RGB(255, 0, 0); }

    OXCONTROLBARCONSTANTS m_constants{0};
};

// A skin whose only element skin is the test dock-bar skin.
class CTestLayoutSkin : public COXSkin {
public:
    CTestLayoutSkin() { SetDockbarSkin(new CTestDockbarSkin); }
};

// The application's current skin for a scope (null: none).
class ScopedSkin {
public:
    explicit ScopedSkin(std::unique_ptr<COXSkin> skin);
    ~ScopedSkin();
    ScopedSkin(const ScopedSkin&) = delete;
    ScopedSkin& operator=(const ScopedSkin&) = delete;
    COXSkin* get() const { return m_skin.get(); }

private:
    std::unique_ptr<COXSkin> m_skin;
};

// A docking seam for a scope (the default one is put back after it).
class ScopedSeam {
public:
    explicit ScopedSeam(COXDockingSeam* seam) { OXSetDockingSeam(seam); }
    ~ScopedSeam() { OXSetDockingSeam(nullptr); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;
};

class SizeDockTest : public DockTest {
protected:
    // The frame goes first, then the bars the case made (their fallback skins hold GDI
    // objects), then the checks.
    void TearDown() override;

    // A bar that lives until the end of the case.
    CCountingSizeBar& NewBar(int nStyle = SZBARF_CONTEXT_MENU)
    {
        m_bars.push_back(std::make_unique<CCountingSizeBar>(nStyle));
        return *m_bars.back();
    }

    // The main frame (100, 100) 600 x 400, active, with size dock bars on all four sides.
    CSizeDockTestFrame* MakeSizeFrame();
    CSizeDockTestFrame* sizeFrame() const { return static_cast<CSizeDockTestFrame*>(frame); }
    // The bar's floating frame, or null.
    static COXSizableMiniDockFrameWnd* FloatingFrame(const CControlBar& bar);
    // The side the bar is docked on (a dock bar ID), 0 when it floats or is not docked.
    static UINT SideOf(const CControlBar& bar);
    // A point of a window answering `hit` to WM_NCHITTEST, searched along a line from `from`.
    static CPoint FindHit(const CWnd& wnd, LRESULT hit, CPoint from, CSize step);
    // Presses the left button at `from`, moves through `path`, releases (or not), pumps.
    static void DragPath(CPoint from, std::initializer_list<CPoint> path, bool release = true);

    std::vector<std::unique_ptr<CCountingSizeBar>> m_bars;
};

} // namespace zyn::test
