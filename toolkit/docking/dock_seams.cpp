#include "toolkit/docking/dock_seams.h"

#include "platform/afx/frame.h"
#include "platform/base/object.h"
#include "toolkit/docking/size_dock_bar.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/menus/cool_toolbar_seams.h"

namespace {

// Installed and read on the user-interface thread.
COXDockingSeam* g_installed = nullptr;

COXDockingSeam& DefaultSeam()
{
    static COXDockingSeam seam;
    return seam;
}

// A cool toolbar dragged live asks the size dock bars: the one under the cursor by their
// rules (sides in order, then with margins; never one holding a size bar), and docking
// there as a size bar docks live. A plain dock bar (a frame without size docking) docks
// through its frame.
class SizeDockCoolBarDragSeam : public COXCoolBarDragSeam {
public:
    CDockBar* GetAppropriateDockBar(COXCoolToolBar* pBar, CPoint ptScreen) override
    {
        return pBar ? COXSizeDockBar::GetAppropriateDockBar(ptScreen, pBar) : nullptr;
    }
    void DockControlBar(COXCoolToolBar* pBar, CDockBar* pDockBar, const CRect& rect) override
    {
        if (!pBar || !pBar->m_hWnd || !pDockBar || !pDockBar->m_hWnd)
            return;
        if (auto* pSizeDock = DYNAMIC_DOWNCAST(COXSizeDockBar, pDockBar)) {
            pSizeDock->DockControlBar(pBar, &rect);
            return;
        }
        if (CFrameWnd* pFrame = pDockBar->GetDockingFrame())
            pFrame->DockControlBar(pBar, pDockBar, &rect);
    }
};

SizeDockCoolBarDragSeam g_coolBarDragSeam;

// Installs the drag seam unless somebody installed another already.
void InstallCoolBarDragSeam()
{
    if (COXCoolBarDragSeam* previous = OXSetCoolBarDragSeam(&g_coolBarDragSeam))
        OXSetCoolBarDragSeam(previous);
}

[[maybe_unused]] const bool g_coolBarDragSeamInstalled = (InstallCoolBarDragSeam(), true);

} // namespace

void COXDockingSeam::SaveCoolToolBarMouseOffset(CControlBar* pBar, CPoint point)
{
    if (auto* pCool = DYNAMIC_DOWNCAST(COXCoolToolBar, pBar))
        pCool->SaveMouseOffset(point);
}

void COXDockingSeam::SetCoolToolBarDragging(CControlBar* pBar, BOOL bDragging)
{
    if (auto* pCool = DYNAMIC_DOWNCAST(COXCoolToolBar, pBar))
        pCool->SetBarDragging(bDragging);
}

COXDockingSeam& OXGetDockingSeam() { return g_installed ? *g_installed : DefaultSeam(); }

COXDockingSeam* OXSetDockingSeam(COXDockingSeam* pSeam)
{
    COXDockingSeam* previous = g_installed;
    g_installed = pSeam;
    return previous;
}

BOOL OXIsKindOfClassName(const CObject* pObject, const char* lpszClassName)
{
    if (!pObject || !lpszClassName)
        return FALSE;
    const CRuntimeClass* pClass = CRuntimeClass::FromName(lpszClassName);
    return pClass && pObject->IsKindOf(pClass);
}
