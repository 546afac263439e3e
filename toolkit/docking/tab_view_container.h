#pragma once
// COX3DTabViewContainer: a skinned tab control that owns one page window per tab and shows
// the active page in the area under the tabs. Pages are existing windows (reparented to the
// container) or views made from a run-time class, which get a control ID from the
// container's pool and the active view's document. The page rectangle is the tab control's
// display area shrunk by the internal offset, then widened by the tab skin; the external
// offset is a non-client margin painted in the button-face colour (with WS_EX_CLIENTEDGE a
// sunken edge around it). With a single tab that leaves less than 50 pixels to spare, an
// empty placeholder tab follows it so the control keeps a tab row of its own. Each tab
// keeps its page's window handle (item data), not the window object it was given: a
// window without an object of its own comes as a temporary one, which the thread's next
// idle pass frees.
//
// COX3DTabViewDropTarget: while something is dragged over the container, the page whose
// tab is under the cursor becomes active, so the drop can land on it; it never accepts
// the drop itself.
#include <vector>

#include "platform/afx/doc_context.h"
#include "platform/afx/ole/oledroptarget.h"
#include "toolkit/docking/skinned_tab_ctrl.h"

class COX3DTabViewContainer;

class COX3DTabViewDropTarget : public COleDropTarget {
public:
    COX3DTabViewDropTarget() = default;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

    int m_nLastTab = -1; // the tab last activated by a drag; -1 none
};

class COX3DTabViewContainer : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COX3DTabViewContainer)
public:
    COX3DTabViewContainer();
    ~COX3DTabViewContainer() override;

    // As a child control: the tab control with these values, the GUI font, the drop target.
    virtual BOOL Create(CWnd* pParentWnd, CRect rect, DWORD dwStyle, UINT nID);
    // "SysTabControl32" (any case) makes the control itself (GUI font, drop target); any
    // other class (a frame creating a view) makes it through the form above with the
    // view style 0x50008242 and names it lpszWindowName.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    using COXSkinnedTabCtrl::Create;

    // ---- pages ----
    BOOL AddPage(CRuntimeClass* pClass, CCreateContext* pContext, LPCTSTR lpszTitle = nullptr, int nImage = -1,
        DWORD dwExStyle = 0, BOOL bActivate = TRUE);
    BOOL AddPage(CWnd* pWnd, LPCTSTR lpszTitle = nullptr, int nImage = -1, DWORD dwExStyle = 0,
        BOOL bActivate = TRUE);
    // FALSE when the string does not load.
    BOOL AddPage(CWnd* pWnd, UINT nTitleID, int nImage = -1, DWORD dwExStyle = 0, BOOL bActivate = TRUE);
    virtual BOOL InsertPage(int nIndex, CWnd* pWnd, LPCTSTR lpszTitle = nullptr, int nImage = -1,
        DWORD dwExStyle = 0, BOOL bActivate = TRUE);
    // A class page whose object or window cannot be made leaves nothing behind: the object
    // is freed and its control ID goes back to the pool.
    virtual BOOL InsertPage(int nIndex, CRuntimeClass* pClass, CCreateContext* pContext,
        LPCTSTR lpszTitle = nullptr, int nImage = -1, DWORD dwExStyle = 0, BOOL bActivate = TRUE);
    virtual BOOL DeletePage(int nIndex, BOOL bDestroy = TRUE);
    virtual BOOL DeletePage(const CWnd* pWnd, BOOL bDestroy = TRUE);

    // The page of a tab: null for the placeholder or a page whose window is gone; a page
    // without a window object of its own comes as a temporary object (see above).
    CWnd* GetPage(int nIndex) const;
    CString GetPageTitle(int nIndex) const;
    CString GetPageTitle(const CWnd* pWnd) const;
    BOOL SetPageTitle(int nIndex, LPCTSTR lpszTitle);
    BOOL SetPageTitle(const CWnd* pWnd, LPCTSTR lpszTitle);
    int GetPageImageIndex(int nIndex) const;
    int GetPageImageIndex(const CWnd* pWnd) const;
    BOOL SetPageImageIndex(int nIndex, int nImage);
    BOOL SetPageImageIndex(const CWnd* pWnd, int nImage);
    int GetPageCount() const { return GetItemCount(); }
    BOOL FindPage(const CWnd* pWnd, int& nIndex) const;
    BOOL FindPage(HWND hWnd, int& nIndex) const;
    BOOL IsPage(HWND hWnd) const;
    BOOL IsPage(const CWnd* pWnd) const;
    BOOL IsActivePage(HWND hWnd) const;
    BOOL IsActivePage(const CWnd* pWnd) const;

    // ---- the active page ----
    int GetActivePageIndex() const { return m_nActivePageIndex; }
    CWnd* GetActivePage() const { return GetPage(m_nActivePageIndex); }
    virtual BOOL SetActivePageIndex(int nIndex);
    BOOL SetActivePage(const CWnd* pWnd);

    // ---- geometry ----
    void SetOffsetExternal(DWORD dwOffset);
    DWORD GetOffsetExternal() const { return m_dwOffsetExternal; }
    void SetOffsetInternal(DWORD dwOffset);
    DWORD GetOffsetInternal() const { return m_dwOffsetInternal; }
    CRect GetPageRect() const { return m_rectPage; }
    // Places the active page in a freshly computed page rectangle.
    virtual void UpdatePages();

    // ---- drag over tabs ----
    void AcceptDraggedObject(BOOL bAccept = TRUE) { m_bAcceptDraggedObject = bAccept; }
    BOOL IsAcceptingDraggedObject() const { return m_bAcceptDraggedObject; }

    // The next control ID for a class page: the most recently freed one, else a new one.
    virtual DWORD GetUniqueId();

protected:
    void RecalcPageRect();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnSelChange(NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    COX3DTabViewDropTarget m_dropTarget;
    BOOL m_bAcceptDraggedObject = TRUE;
    std::vector<DWORD> m_arrUniqueIDs{1}; // the last element is the next new ID when alone
    BOOL m_bHasPlaceholderTab = FALSE;
    DWORD m_dwOffsetExternal = 0;
    DWORD m_dwOffsetInternal = 0;
    int m_nActivePageIndex = -1;
    BOOL m_bPaintingNonClient = FALSE;
    CRect m_rectPage;
    std::vector<CWnd*> m_ownedPages; // class pages whose objects do not delete themselves

private:
    // The GUI font and the drop target of a new window.
    void FinishCreate();
    // A freed control ID back to the pool.
    void ReleaseId(DWORD id);
    // Tabs that carry a page (all but the placeholder).
    int RealTabCount() const;
    // The page window a tab keeps; null for the placeholder.
    HWND PageHandle(int nIndex) const;

    DECLARE_MESSAGE_MAP()
};
