#pragma once
// The tabbed MDI workspace. COXTabClientWnd subclasses an MDI frame's MDI client and puts a
// COXTabWorkspace (a skinned tab control, ID 1000) under it over the whole client area;
// the frame's layout asks the tab client for the MDI client's rectangle (CalcWindowRect),
// which places the workspace there and answers its display area. The workspace keeps one
// tab per visible MDI child, titled with the child's tab text (shown literally: every "&"
// is doubled for the control) and showing its small icon. Selecting a tab activates its
// child, a double click maximizes or restores it, and dragging something over a tab
// activates that child. The tabs follow the children every 500 ms (timer 333) and at once
// after each MDI create, activate, destroy and size (a posted WM_TIMER 333); a refresh
// that finds nothing changed touches no tab and lays nothing out. Attachment, margin and
// tab style are kept in the application profile.
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/mdi.h"
#include "platform/afx/ole/oledroptarget.h"
#include "toolkit/docking/skinned_tab_ctrl.h"

class COXTabClientWnd;

// One tab of the workspace. The child is kept by its handle: a child without a window
// object of its own (a raw WM_MDICREATE, a host's plain window class) has only the
// thread's temporary one, which the next idle pass frees.
struct _tagTAB_ITEM_ENTRY {
    CString csTitle;     // the tab text as last set, before any "&" is doubled
    CString csClassName; // the child's window class when the tab was made
    HWND hWnd = nullptr; // the MDI child
    DWORD dwInUse = 1;
};
using TAB_ITEM_ENTRY = _tagTAB_ITEM_ENTRY;

class COXTabWorkspaceDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

    int m_nLastTab = -1; // the tab last activated by a drag; -1 none
};

class COXTabWorkspace : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COXTabWorkspace)
public:
    static constexpr UINT kRefreshTimer = 333;
    static constexpr UINT kRefreshPeriod = 500;
    // The private message that asks a child for its tab text (a string pointer or 0).
    static constexpr UINT kGetTabText = 0x80A0;

    COXTabWorkspace();
    ~COXTabWorkspace() override;

    // The text a child's tab shows: the answer to kGetTabText from a child that has a window
    // object of the class library on this thread (copied at once), else the window text.
    virtual CString GetTextForTabItem(const CWnd* pChildWnd) const;

    // Brings the tabs in line with the MDI children (see the top of this file).
    void UpdateContents(BOOL bAddNewWindows = FALSE, BOOL bUpdateWindowsInfo = FALSE);

    void SetOffset(DWORD dwOffset, BOOL bRecalc = TRUE);
    DWORD GetOffset() const { return m_dwOffset; }

    // The tab of a window: same handle and the same class as when the tab was made.
    int FindTabItem(HWND hWnd) const;
    int FindTabItem(const CWnd* pWnd) const { return pWnd ? FindTabItem(pWnd->m_hWnd) : -1; }
    BOOL AddTabItem(const CWnd* pChildWnd, BOOL bRedraw = TRUE, BOOL bOnlyVisible = TRUE);
    // Only MDI children (WS_EX_MDICHILD) get a tab, and with bOnlyVisible only visible ones.
    BOOL InsertTabItem(int nIndex, const CWnd* pChildWnd, BOOL bRedraw = TRUE, BOOL bOnlyVisible = TRUE);
    BOOL RemoveTabItem(const CWnd* pChildWnd, BOOL bRedraw = TRUE);
    int GetTabItemCount() const { return static_cast<int>(m_arrTab.size()); }
    const TAB_ITEM_ENTRY& GetTabItem(int nIndex) const { return m_arrTab[static_cast<size_t>(nIndex)]; }
    // The child of a tab; null for a tab without an item (the placeholder) or whose
    // window is gone. A child without a window object of its own comes as a temporary
    // object, valid only until the thread's next idle pass.
    CWnd* GetTabChild(int nIndex) const;

    static HICON GetWindowIcon(HWND hWnd);
    // The image of an icon, added to the image list the first time it is seen.
    int AddTabItemIcon(HICON hIcon);

    void AcceptDraggedObject(BOOL bAccept = TRUE) { m_bAcceptDraggedObject = bAccept; }
    BOOL IsAcceptingDraggedObject() const { return m_bAcceptDraggedObject; }

    COXTabClientWnd* m_pTabClientWnd = nullptr; // the owner; null when detached

    // Activates a tab's child in the MDI client (nothing for a tab without a child).
    void ActivateTabChild(int nIndex);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSelChange(NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    std::vector<TAB_ITEM_ENTRY> m_arrTab;
    std::vector<HICON> m_arrImage;
    CImageList m_imageList;
    COXTabWorkspaceDropTarget m_dropTarget;
    DWORD m_dwOffset = 1;
    BOOL m_bAcceptDraggedObject = TRUE;

private:
    CMDIFrameWnd* Frame() const;
    void RecalcFrame() const;

    DECLARE_MESSAGE_MAP()
};

class COXTabClientWnd : public CWnd {
    DECLARE_DYNAMIC(COXTabClientWnd)
public:
    static constexpr UINT kWorkspaceId = 1000;

    COXTabClientWnd();
    ~COXTabClientWnd() override;

    // FALSE when attached already, the frame is no MDI frame, its MDI client has a window
    // object already, or a window cannot be made (nothing is left attached then).
    BOOL Attach(const CMDIFrameWnd* pParentFrame, DWORD dwTabCtrlStyle = TCS_MULTILINE);
    BOOL Detach();
    BOOL IsAttached() const { return m_pParentFrame != nullptr; }
    CMDIFrameWnd* GetParentFrame() const { return m_pParentFrame; }
    COXTabWorkspace* GetTabCtrl() { return IsAttached() ? &m_tab : nullptr; }

    // "IsAttached", "Offset" and "Style" of the application profile. LoadState treats an
    // offset above 0xFFFF and a style with WS_POPUP as absent.
    BOOL SaveState(LPCTSTR lpszProfileName);
    BOOL LoadState(LPCTSTR lpszProfileName);

    // The MDI client's rectangle: the workspace takes it, the client its display area.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    COXTabSkin* GetTabSkin() { return m_skin.Get(); }

    BOOL m_bForceToRecalc = FALSE; // a relayout waits for the next refresh

    // Whether the frame's layout would now place the MDI client otherwise than when it
    // last did: the workspace was shown or hidden, or its style, offset or number of
    // rows changed, or a lone tab now would or would not take a placeholder beside it.
    // More tabs in the same rows change nothing.
    bool LayoutInputsChanged() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COXTabWorkspace m_tab;
    CMDIFrameWnd* m_pParentFrame = nullptr;
    BOOL m_bHasPlaceholderTab = FALSE;

private:
    struct LayoutInputs {
        bool shown = false;
        DWORD style = 0;
        DWORD offset = 0;
        int rows = 0;
        bool placeholder = false; // a lone tab too wide for the row, so a placeholder joins it
        bool operator==(const LayoutInputs&) const = default;
    };
    LayoutInputs CurrentLayoutInputs() const;
    LayoutInputs m_laidOut;     // as the last CalcWindowRect found them
    bool m_bLaidOut = false;
    int m_nRowWidth = 0;        // the width the last CalcWindowRect gave the row of tabs
protected:

private:
    void PostRefresh();
    COXElementSkinLookup<COXTabSkin> m_skin;
};
