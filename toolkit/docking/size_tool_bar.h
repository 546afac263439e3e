#pragma once
// COXSizeToolBar: a sizeable docking bar (COXSizeControlBar) that hosts a toolbar common
// control (COXToolBarCtrl, control ID 99) filling its client area. The bar keeps the
// button bitmap and, optionally, the command ID of each of its images (SetBitmapIds):
// SetButtons then gives every command its own image, and the customise dialog offers
// every image's command. Tooltips and status-bar prompts come from the string resource of
// each command ("prompt\ntip"); the idle pass enables and checks the buttons through
// COXToolCmdUI. The size dock bar lays a size tool bar out like an ordinary toolbar: it is
// not shared in proportion and gets no splitters.
//
// The empty space of the toolbar control acts as the bar: a press there goes to the bar,
// so the bar can be dragged by it.
#include <memory>
#include <vector>

#include "platform/afx/cmdui.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/toolbarctrl.h"
#include "toolkit/docking/size_control_bar.h"

// The hosted toolbar control.
class COXToolBarCtrl : public CToolBarCtrl {
    DECLARE_DYNAMIC(COXToolBarCtrl)
public:
    COXToolBarCtrl() = default;
    ~COXToolBarCtrl() override = default;

    // (largest right, largest bottom) of the button rectangles; (0, 0) without buttons.
    void GetBoundingSize(CSize& size) const;
    // The index of the button whose rectangle holds the client point, searched from the
    // last button back; -1 over a separator, over no button, or once a button lies wholly
    // above the point (the ones before it lie higher still).
    int HitTestButtons(CPoint point) const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

// The idle update of one toolbar button, addressed by index (m_nIndex) and command.
class COXToolCmdUI : public CCmdUI {
public:
    COXToolCmdUI() = default;
    COXToolCmdUI(const COXToolCmdUI&) = default;
    COXToolCmdUI& operator=(const COXToolCmdUI&) = default;

    // TBSTATE_ENABLED set or cleared; the control is told only of a change.
    void Enable(BOOL bOn = TRUE) override;
    // 0 clears TBSTATE_CHECKED and TBSTATE_INDETERMINATE, 1 checks, 2 is indeterminate.
    void SetCheck(int nCheck = 1) override;
    // Buttons show no text of their own here.
    void SetText(LPCTSTR lpszText) override;

private:
    // The toolbar control of the bar in m_pOther, or null.
    CToolBarCtrl* Control() const;
    // Writes the state when it differs from the button's.
    void UpdateState(UINT nClear, UINT nSet);
};

class COXSizeToolBar : public COXSizeControlBar {
    DECLARE_DYNAMIC(COXSizeToolBar)
public:
    static constexpr UINT kToolBarCtrlID = 99;

    explicit COXSizeToolBar(int nStyle = 0);
    ~COXSizeToolBar() override;

    // Without pRect the bar is 12 images wide and an image plus 18 high (192 x 33 for the
    // 16 x 15 images it starts with).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPRECT pRect = nullptr);
    using COXSizeControlBar::Create;

    // The button bitmap of the resource chain, added to the control as bitmap width /
    // image width images. FALSE when it cannot be loaded or added (the bar keeps what it had).
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    // The control's button and image sizes. The image size also counts the images of a
    // bitmap loaded later.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The command of each image of the bitmap, in order (copied).
    void SetBitmapIds(const UINT* pIDs, int nCount);
    // Adds one button per ID (0: a separator). With bitmap IDs each button takes the image
    // of its command, and a command without an image gets no button; without them the
    // buttons take the images in turn. The vertical docked width becomes the first
    // button's width + 10. The control's answer.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The image index of a command, -1 when it has none.
    int FindBitmapIndex(UINT nID) const;
    COXToolBarCtrl& GetToolBarCtrl() { return m_ToolCtrl; }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // The control fills the client area less a margin of 4 across and 2 down.
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override;

    COXToolBarCtrl m_ToolCtrl;
    CSize m_sizeImage{16, 15};
    CBitmap m_Bitmap;
    std::vector<UINT> m_arrBitmapIds;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryInsert(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnToolBarChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    BOOL AddLoadedBitmap();
    // Bitmaps replaced by a later LoadBitmap: the control may still draw from them.
    std::vector<std::unique_ptr<CBitmap>> m_oldBitmaps;
};
