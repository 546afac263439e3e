#pragma once
// COXSizeDialogBar: a sizeable docking bar (COXSizeControlBar) whose client area is a
// dialog template. The template is made into a child window of the bar's parent through
// the dialog manager (so its controls, font and DLGINIT data are those of a dialog), with
// the caption taken off; the bar's three sizes start as the template's client size.
//
// With the size-dock style bit SZBARF_SCALE_CHILDREN the bar records, right after
// creation, the client rectangle and the rectangle of every child control, and each later
// size change places the controls in proportion to the new client size (a drop-down combo
// box keeps its height, which is that of its edit part). Without the bit the controls
// stay where the template put them.
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "toolkit/docking/size_control_bar.h"

class COXSizeDialogBar : public COXSizeControlBar {
    DECLARE_DYNAMIC(COXSizeDialogBar)
public:
    explicit COXSizeDialogBar(int nStyle = SZBARF_CONTEXT_MENU);
    ~COXSizeDialogBar() override;

    // The template (a resource name, or an integer ID) as the bar's client area; nStyle
    // holds CBRS_* bits and window styles. FALSE, with no window left, when the template
    // is missing or malformed, the window cannot be made or its DLGINIT data is bad.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    // The window's own Create, as the size control bar has it. (The bar's titled Create is
    // not brought in: with a template name it would be as good a match as the one above.)
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // The OLE-control information of the template; kept, TRUE. (Nothing here creates OLE
    // controls: the platform has no OLE-control manager.)
    virtual BOOL SetOccDialogInfo(void* pOccDialogInfo);
    // The size control bar's update, then the dialog controls'.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Scales the recorded controls to the new client size (SZBARF_SCALE_CHILDREN).
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override;
    // Called at the end of WM_INITDIALOG; TRUE.
    virtual BOOL OnInitDialog();

    // One recorded rectangle, in the bar's client coordinates: entry 0 is the client area
    // at creation (no window), the others the child controls in z-order.
    struct ChildLayout {
        CRect rect;
        HWND hWnd = nullptr;
        bool bKeepHeight = false;   // a drop-down combo box: only its top follows
    };
    const std::vector<ChildLayout>& GetChildLayout() const { return m_childLayout; }

    CSize m_sizeTemplate;                   // client size right after creation
    void* m_pOccDialogInfo = nullptr;       // stored by SetOccDialogInfo, not owned
    LPCTSTR m_lpszTemplateName = nullptr;   // set only while the dialog is being made

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

protected:
    // Entry 0 and one entry per child control, from the window as it is now.
    void RecordChildLayout();

    std::vector<ChildLayout> m_childLayout;
};
