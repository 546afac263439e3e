// The menu dock bar: row ends around menu bars that take a row of their own, the stretch
// to the side's length, and the factory that makes it the menu-bar frames' dock bar.
#include "toolkit/menus/menu_dock_bar.h"

#include "platform/afx/ctrlbar.h"
#include "platform/afx/frame.h"
#include "platform/user/winpos.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/menu_bar_frame.h"

namespace oxmenudock {
namespace {

// An entry below 0x10000 is the control ID of a bar that left its place.
bool IsPlaceHolder(const void* p)
{
    const auto v = reinterpret_cast<UINT_PTR>(p);
    return v != 0 && v < 0x10000;
}

// The bar of an entry when it has a window, else null (row ends, placeholders, bars whose
// window is gone).
CControlBar* LiveBarAt(const CPtrArray& arrBars, INT_PTR nPos)
{
    void* p = arrBars[nPos];
    if (!p || IsPlaceHolder(p))
        return nullptr;
    auto* pBar = static_cast<CControlBar*>(p);
    return pBar->m_hWnd ? pBar : nullptr;
}

// From nPos stepping by nStep over hidden bars, placeholders and windowless bars: whether
// a visible bar comes before the row ends (or the array does).
bool VisibleBarInRow(const CPtrArray& arrBars, INT_PTR nPos, int nStep)
{
    for (; nPos >= 0 && nPos < arrBars.GetSize() && arrBars[nPos]; nPos += nStep) {
        const CControlBar* pBar = LiveBarAt(arrBars, nPos);
        if (pBar && pBar->IsVisible())
            return true;
    }
    return false;
}

} // namespace

bool TakesOwnRow(const COXMenuBar* pBar)
{
    if (!pBar || !pBar->m_hWnd || !pBar->IsVisible() || !pBar->GetTakeEntireRow())
        return false;
    // Such a bar is sized by its most recently used width, never by a side.
    const DWORD dwStyle = pBar->GetBarStyle();
    return !((dwStyle & CBRS_SIZE_DYNAMIC) && (dwStyle & CBRS_FLOATING));
}

std::vector<COXMenuBar*> RowTakingMenuBars(const CPtrArray& arrBars)
{
    std::vector<COXMenuBar*> bars;
    for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) {
        CControlBar* pBar = LiveBarAt(arrBars, i);
        auto* pMenuBar = pBar ? DYNAMIC_DOWNCAST(COXMenuBar, pBar) : nullptr;
        if (TakesOwnRow(pMenuBar))
            bars.push_back(pMenuBar);
    }
    return bars;
}

int BreakMenuBarRows(CPtrArray& arrBars, const std::vector<COXMenuBar*>& menuBars)
{
    int nInserted = 0;
    for (COXMenuBar* pMenuBar : menuBars) {
        // Looked up again for each bar: the row ends put in before move the positions.
        INT_PTR i = 0;
        while (i < arrBars.GetSize() && arrBars[i] != pMenuBar)
            ++i;
        if (i >= arrBars.GetSize())
            continue;
        if (VisibleBarInRow(arrBars, i - 1, -1)) {
            arrBars.InsertAt(i, static_cast<void*>(nullptr));
            ++i;
            ++nInserted;
        }
        if (VisibleBarInRow(arrBars, i + 1, +1)) {
            arrBars.InsertAt(i + 1, static_cast<void*>(nullptr));
            ++nInserted;
        }
    }
    return nInserted;
}

void SetRowLayout(const std::vector<COXMenuBar*>& menuBars, bool bRowLayout)
{
    for (COXMenuBar* pMenuBar : menuBars)
        pMenuBar->SetRowLayout(bRowLayout ? TRUE : FALSE);
}

void StretchMenuBars(const CDockBar& dock, const std::vector<COXMenuBar*>& menuBars, CSize sizeMax, BOOL bHorz,
    AFX_SIZEPARENTPARAMS* pLayout)
{
    for (COXMenuBar* pMenuBar : menuBars) {
        if (!pMenuBar->m_hWnd || ::GetParent(pMenuBar->m_hWnd) != dock.m_hWnd)
            continue;
        CRect rcBar;
        pMenuBar->GetWindowRect(&rcBar);
        dock.ScreenToClient(&rcBar);
        // Along the whole side, keeping its row (its column on a vertical side).
        CRect rect = rcBar;
        if (bHorz) {
            rect.left = -AFX_CX_BORDER2;
            rect.right = sizeMax.cx + AFX_CX_BORDER2;
            if (rcBar.Width() >= rect.Width())
                continue;
        } else {
            rect.top = -AFX_CY_BORDER2;
            rect.bottom = sizeMax.cy;
            if (rcBar.Height() >= rect.Height())
                continue;
        }
        AfxRepositionWindow(pLayout, pMenuBar->m_hWnd, &rect);
    }
}

} // namespace oxmenudock

template <class TDockBar>
CSize COXMenuDockBar<TDockBar>::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const std::vector<COXMenuBar*> menuBars = oxmenudock::RowTakingMenuBars(this->m_arrBars);
    if (menuBars.empty())
        return TDockBar::CalcFixedLayout(bStretch, bHorz);
    // The flags come off again whatever the base's layout throws.
    struct RowLayoutScope {
        const std::vector<COXMenuBar*>& bars;
        explicit RowLayoutScope(const std::vector<COXMenuBar*>& b) : bars(b) { oxmenudock::SetRowLayout(bars, true); }
        ~RowLayoutScope() { oxmenudock::SetRowLayout(bars, false); }
        RowLayoutScope(const RowLayoutScope&) = delete;
        RowLayoutScope& operator=(const RowLayoutScope&) = delete;
    } scope(menuBars);
    oxmenudock::BreakMenuBarRows(this->m_arrBars, menuBars);
    const CSize size = TDockBar::CalcFixedLayout(bStretch, bHorz);
    // A floating dock bar moves its bars at once, a docked one in a batch; a pass that
    // only measures moves nothing.
    if (this->m_bLayoutQuery)
        return size;
    if (this->m_bFloating) {
        oxmenudock::StretchMenuBars(*this, menuBars, LayoutRoom(), bHorz, nullptr);
        return size;
    }
    AFX_SIZEPARENTPARAMS layout{};
    layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(menuBars.size()));
    // Without a batch the bars move at once rather than not at all.
    oxmenudock::StretchMenuBars(*this, menuBars, LayoutRoom(), bHorz, layout.hDWP ? &layout : nullptr);
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    return size;
}

template <class TDockBar>
LRESULT COXMenuDockBar<TDockBar>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZEPARENT)
        oxmenudock::BreakMenuBarRows(this->m_arrBars, oxmenudock::RowTakingMenuBars(this->m_arrBars));
    return TDockBar::WindowProc(message, wParam, lParam);
}

template <class TDockBar>
CSize COXMenuDockBar<TDockBar>::LayoutRoom() const
{
    if (!this->m_rectLayout.IsRectEmpty())
        return this->m_rectLayout.Size();
    if (!this->m_bFloating)
        return this->MaxLayoutSize();
    CRect client(0, 0, 0, 0);
    if (CWnd* pParent = this->GetParentFrame(); pParent && pParent->m_hWnd)
        pParent->GetClientRect(&client);
    return client.Size();
}

template class COXMenuDockBar<COXSizeDockBar>;

namespace {

CDockBar* MakeMenuDockBar() { return new COXMenuDockBar<COXSizeDockBar>; }

// The menu-bar frames make this dock bar from the library's load on.
[[maybe_unused]] const bool g_menuDockBarInstalled = (OXSetMenuFrameDockBarFactory(&MakeMenuDockBar), true);

} // namespace
