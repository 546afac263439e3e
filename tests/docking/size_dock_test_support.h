#pragma once
// Fixture of the size dock bar tests: a main frame whose client area has an exact size,
// with a size dock bar on each side it enables (made as the size-dock frames make them)
// and an answer to the snapping query; sizeable test bars and plain bars of known
// sizes; rows put together directly; cool toolbars of known sizes
// and a stand-in for the later menu bar, known by its class name. The checks that nothing is left behind are
// those of the docking tests (DockTest).
#include <initializer_list>
#include <ostream>
#include <memory>
#include <vector>

#include "platform/afx/frame.h"
#include "tests/afx/dock_test_support.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/menus/cool_toolbar.h"

// Readable failure messages.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace zyn::test {

// The side dock bars' IDs.
inline constexpr UINT kTop = 0xE81B, kBottom = 0xE81E, kLeft = 0xE81C, kRight = 0xE81D;

// A frame making a COXSizeDockBar for each enabled side (top, bottom, left, right, laid
// out in that order) and answering the snapping query with its flag.
class CSizeDockFrame : public CFrameWnd {
public:
    BOOL m_bSnapping = FALSE;
    // Also makes the toolkit's floating frame the floating-frame class.
    void EnableSizeDocking(DWORD dwDockStyle);
    afx_msg LRESULT OnQuerySnapping(WPARAM, LPARAM) { return m_bSnapping; }
    DECLARE_MESSAGE_MAP()
};

// A size control bar answering WM_GETMINMAXINFO with a minimum track size when one is set.
class CTestSizeBar : public COXSizeControlBar {
public:
    CPoint minTrack{0, 0};
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI)
    {
        if (minTrack.x || minTrack.y)
            lpMMI->ptMinTrackSize = minTrack;
    }
    DECLARE_MESSAGE_MAP()
};

// A cool toolbar of a fixed size (turned on a vertical side), so rows holding one have
// known lengths; and a stand-in for the later menu bar, which the docking code knows by its
// run-time class name.
class CFixedCoolBar : public COXCoolToolBar {
public:
    CSize size{100, 24};
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? size : CSize(size.cy, size.cx); }
    CSize CalcDynamicLayout(int, DWORD dwMode) override { return CalcFixedLayout(FALSE, (dwMode & LM_HORZ) != 0); }
};
namespace standin {
class COXMenuBar : public CFixedCoolBar {
    DECLARE_DYNAMIC(COXMenuBar)
};
// Whether the name resolves to this stand-in (not to the real class, once linked in).
bool Active();
} // namespace standin

class SizeDockBarTest : public DockTest {
protected:
    void TearDown() override;

    // A frame whose client area is `client`, at (100, 100), the main window, shown and
    // active, with size dock bars on the `sides` (CBRS_ALIGN_* bits) and a view.
    CSizeDockFrame* MakeSizeFrame(CSize client = CSize(604, 416), DWORD sides = CBRS_ALIGN_ANY);
    COXSizeDockBar* Dock(UINT nID) const;
    // Destroys the frame (not as the main window: that would post WM_QUIT) for a next one.
    void DestroyFrame();

    // A size bar child of the frame whose window, and all three sizes, are `size`.
    template <class TBar = CTestSizeBar>
    TBar* MakeSizeBar(CSize size, LPCTSTR title = L"", UINT nID = 0)
    {
        auto bar = std::make_unique<TBar>();
        TBar* p = bar.get();
        InitSizeBar(p, size, title, nID);
        m_bars.push_back(std::move(bar));
        return p;
    }
    // A plain bar of a fixed size (turned on a vertical side) with its window that size.
    template <class TBar = CTestBar>
    TBar* MakePlainBar(CSize size, UINT nID = 0)
    {
        auto bar = std::make_unique<TBar>(size);
        TBar* p = bar.get();
        InitPlainBar(p, size, nID);
        m_bars.push_back(std::move(bar));
        return p;
    }
    // A cool toolbar child of the frame, `size` long (horizontal), docking on every side.
    template <class TBar = CFixedCoolBar>
    TBar* MakeCoolBar(CSize size, UINT nID = 0)
    {
        auto bar = std::make_unique<TBar>();
        TBar* p = bar.get();
        p->size = size;
        InitCoolBar(p, size, nID);
        m_bars.push_back(std::move(bar));
        return p;
    }
    // Docks the bars into `dock`, each row in the order given, and lays the frame out.
    void Arrange(COXSizeDockBar* dock, std::initializer_list<std::initializer_list<CControlBar*>> rows);
    void Layout();

    // A bar's window in its dock bar's client coordinates.
    static CRect InDock(const CControlBar* bar);
    // The rows of a dock bar's array: each row's live bars in order.
    static std::vector<std::vector<CControlBar*>> Rows(const CDockBar* dock);
    // Presses the left button at a client point of `wnd`, moves by (dx, dy) in steps and
    // releases; the press runs whatever tracking the window starts.
    void DragBy(CWnd* wnd, CPoint clientPoint, int dx, int dy);

    CSizeDockFrame* sizeFrame = nullptr;

private:
    void InitSizeBar(COXSizeControlBar* bar, CSize size, LPCTSTR title, UINT nID);
    void InitPlainBar(CTestBar* bar, CSize size, UINT nID);
    void InitCoolBar(CFixedCoolBar* bar, CSize size, UINT nID);

    std::vector<std::unique_ptr<CControlBar>> m_bars;
    UINT m_nextID = 0x3100;
};

} // namespace zyn::test
