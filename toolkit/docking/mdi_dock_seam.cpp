// The MDI unit's answers to the docking seam: the checked down-casts to its classes and
// the operations the earlier docking classes ask of them.
#include "toolkit/docking/dock_seams.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/mdi_size_dock.h"

namespace zyn::sizedock {

namespace {

class MDISeam final : public COXDockingSeam {
public:
    COXMDIFloatWnd* AsMDIFloatWnd(CWnd* pWnd) override
    {
        return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXMDIFloatWnd)) ? static_cast<COXMDIFloatWnd*>(pWnd) : nullptr;
    }
    COXMDIFrameWndSizeDock* AsMDIFrameWndSizeDock(CWnd* pWnd) override
    {
        return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXMDIFrameWndSizeDock)) ? static_cast<COXMDIFrameWndSizeDock*>(pWnd)
                                                                            : nullptr;
    }
    COXSizeViewBar* AsSizeViewBar(CControlBar* pBar) override
    {
        return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeViewBar)) ? static_cast<COXSizeViewBar*>(pBar) : nullptr;
    }
    void MDIFloatShowControlBar(COXMDIFloatWnd* pFloat, CControlBar* pBar, BOOL bShow) override
    {
        if (pFloat && pFloat->m_hWnd)
            pFloat->ShowControlBar(pBar, bShow, FALSE);
    }
    void FloatControlBarInMDIChild(COXMDIFrameWndSizeDock* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle,
        BOOL bShow) override
    {
        if (pFrame)
            pFrame->FloatControlBarInMDIChild(pBar, point, dwStyle, bShow);
    }
    void UnFloatInMDIChild(COXMDIFrameWndSizeDock* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle) override
    {
        if (pFrame)
            pFrame->UnFloatInMDIChild(pBar, point, dwStyle);
    }
    COXSizeControlBar* GetActiveSizeBar(COXMDIFrameWndSizeDock* pFrame) override
    {
        return pFrame ? pFrame->m_pActiveSizeBar : nullptr;
    }
    void SetActiveSizeBar(COXMDIFrameWndSizeDock* pFrame, COXSizeControlBar* pBar) override
    {
        if (pFrame)
            pFrame->m_pActiveSizeBar = pBar;
    }
    COXMDIChildWndSizeDock* GetViewBarChild(COXSizeViewBar* pBar) override
    {
        COXMDIChildWndSizeDock* pChild = pBar ? pBar->GetChild() : nullptr;
        return pChild && pChild->m_hWnd && ::IsWindow(pChild->m_hWnd) ? pChild : nullptr;
    }
    CWnd* GetViewBarWrapper(COXSizeViewBar* pBar) override
    {
        return pBar && pBar->GetWrapper().m_hWnd ? &pBar->GetWrapper() : nullptr;
    }
    BOOL QueryCloseView(COXSizeViewBar* pBar) override { return pBar ? pBar->QueryCloseView() : TRUE; }
    CFrameWnd* GetChildMDIFrame(COXMDIChildWndSizeDock* pChild) override
    {
        return pChild ? pChild->GetMDIFrame() : nullptr;
    }
    COXMDIChildWndSizeDock* MDIGetActive(COXMDIChildWndSizeDock* pChild) override
    {
        CMDIChildWnd* pActive = pChild ? pChild->MDIGetActive() : nullptr;
        return pActive && pActive->IsKindOf(RUNTIME_CLASS(COXMDIChildWndSizeDock))
                   ? static_cast<COXMDIChildWndSizeDock*>(pActive)
                   : nullptr;
    }
    UINT GetDockMessageID() override { return COXMDIChildWndSizeDock::GetDockMessageID(); }
    CString GetChildMenuText(COXMDIChildWndSizeDock* pChild) override
    {
        return pChild ? pChild->GetMenuText() : CString();
    }
    BOOL IsChildDockable(COXMDIChildWndSizeDock* pChild) override { return pChild && pChild->IsDockable(); }
    void MakeChildDockable(COXMDIChildWndSizeDock* pChild) override
    {
        if (pChild)
            pChild->OnMakeItDockable();
    }
};

} // namespace

void InstallMDISeam()
{
    static MDISeam seam;
    // Only over the default answers: a seam a host or test installed stays.
    if (&OXGetDockingSeam() == &seam)
        return;
    if (COXDockingSeam* previous = OXSetDockingSeam(&seam))
        OXSetDockingSeam(previous);
}

} // namespace zyn::sizedock
