#pragma once
// COXShortcutBar: a child window showing a vertical stack of groups. Each group has a
// header (a button-like strip with an optional image and a title) and a child window;
// exactly one group at a time is expanded, and its child window fills the room between its
// header and the headers below it, which sit at the bottom of the bar. A group's child
// window is, unless the application gives its own, a COXSHBListCtrl showing the group's
// items as large or small icons (shb_list.h).
//
// Groups are kept by handle (an opaque counter from 1) in a map of owned records
// (SHB_GROUPINFO, the title a copy the record owns); their display position is each
// record's nOrder, 0 at the top, always a permutation of 0..count-1. Appearance comes from
// a group's descriptor where it sets a field, else from the current skin's shortcut-bar
// skin (or a Classic one the bar owns when the application has no skin). Every change is
// reported to the owner (else the parent) as WM_NOTIFY NMSHORTCUTBAR (shb_messages.h);
// most can be vetoed by a non-zero answer, and the bar re-checks its state after each
// such answer, since the handler may have changed the groups meanwhile.
//
// The layout (CalculateBoundRects) stacks the headers from the top, gives the expanded
// group's child window the free room below its header (inset by the child-window margins)
// and moves the headers below it to the bottom. Expanding with SHBS_ANIMATEEXPAND slides
// the headers between the old and the new group in 20-pixel steps (40 in the second half),
// repainting each frame and sleeping 100 / frames ms between them.
//
// The user's side (shb_bar_mouse.cpp): a press on a header expands it (on release with
// flat headers), a press held 100 ms and moved drags the header onto another (their orders
// swap), resting on a header (or dragging data over it) expands it after the auto-expand
// delay (a quarter of it under a drag), the right button opens a context menu of view,
// add, remove and rename commands, and a header is renamed in place with COXSHBEdit.
// Painting (shb_bar_paint.cpp) draws each header off screen through the virtual DrawHeader
// and fills the rest through the skin, so nothing flickers.
#include <map>
#include <memory>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/msgmap.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/comctl/listview.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/docking/shb_edit.h"
#include "toolkit/docking/shb_messages.h"
#include "toolkit/skins/shortcutbar_skin.h"

class CImageList;
class COXSHBListCtrl;

// The bar's window class.
inline constexpr wchar_t kShortcutBarClassName[] = L"OXShortcutBar";

// The commands of the bar's context menu (texts: the string resources of shb_strings.h).
inline constexpr UINT ID_SHB_LARGEICON = 33014;
inline constexpr UINT ID_SHB_SMALLICON = 33015;
inline constexpr UINT ID_SHB_ADDNEWGROUP = 33016;
inline constexpr UINT ID_SHB_REMOVEGROUP = 33017;
inline constexpr UINT ID_SHB_RENAMEGROUP = 33018;
inline constexpr UINT ID_SHB_REMOVELCITEM = 33019;
inline constexpr UINT ID_SHB_RENAMELCITEM = 33020;

// HitTest's codes.
inline constexpr UINT SHB_ONHEADER = 1;
inline constexpr UINT SHB_ONCHILD = 2;
inline constexpr UINT SHB_NOWHERE = 3;

// The bar's timers.
inline constexpr UINT_PTR SHB_IDT_DRAGGROUP = 2;    // the 100 ms a pressed header waits before it drags
inline constexpr UINT_PTR SHB_IDT_AUTOEXPAND = 3;   // a header the mouse (or a drag) rests on expands
inline constexpr UINT_PTR SHB_IDT_CHECKMOUSE = 4;   // the mouse-over poll

// Defaults.
inline constexpr int SHB_DEFAULT_HEADERHEIGHT = 18;
inline constexpr UINT SHB_DEFAULT_HEADERTEXTFORMAT = 0x8025; // centred, single line, end ellipsis
inline constexpr DWORD SHB_SUBCLASSED_STYLE = 0x020F;        // the style of a bar attached by subclassing

// SortGroupsCB's callback: two group handles and the caller's value; negative when the
// first comes first.
using PFNSHBCOMPARE = int (*)(HSHBGROUP hGroup1, HSHBGROUP hGroup2, LPARAM lParamSort);

class COXShortcutBar : public CWnd {
    DECLARE_DYNAMIC(COXShortcutBar)
public:
    COXShortcutBar();
    ~COXShortcutBar() override;

    // The clipboard format of a dragged item ("Shortcut bar child window item").
    static const UINT m_nChildWndItemFormat;

    // Validates the bar style first (only the low 16 bits exist), then registers the
    // class, creates the window (WS_CHILD added) and initialises the bar: the editor,
    // tooltips, the mouse-over poll and the drop target.
    BOOL Create(CWnd* pParentWnd, const RECT& rect, DWORD dwBarStyle = SHBS_EDITHEADERS | SHBS_EDITITEMS |
        SHBS_DISABLEDRAGDROPHEADER | SHBS_INFOTIP, UINT nID = 0xFFFF,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwExStyle = 0);
    // The window's own Create stays callable beside the bar's.
    using CWnd::Create;

    // ---- groups ------------------------------------------------------------------------------------
    // The new group's handle, or 0 (refused by the parent, an invalid record, or no
    // memory; nothing of the group is left).
    HSHBGROUP InsertGroup(const SHB_GROUPINFO* pGroupInfo);
    HSHBGROUP InsertGroup(LPCTSTR pszText, int nOrder = -1, int nImage = -1, int nImageExpanded = -1,
        LPARAM lParam = 0, int nView = -1, SHB_DESCRIPTOR* pDescriptor = nullptr, HWND hwndChild = nullptr);
    BOOL DeleteGroup(HSHBGROUP hGroup);
    // FALSE if any deletion failed.
    BOOL DeleteAllGroups();
    // The previously expanded group; a handle that names no group expands nothing (0).
    HSHBGROUP ExpandGroup(HSHBGROUP hGroup);
    HSHBGROUP GetExpandedGroup() const { return m_hExpandedGroup; }
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }

    // With bReset the caller's record is cleared and receives every field the group has
    // (the title in a buffer the record owns); otherwise the fields its mask names.
    BOOL GetGroupInfo(HSHBGROUP hGroup, SHB_GROUPINFO* pGroupInfo, BOOL bReset = FALSE);
    // Changes the fields the given mask names, or with bReset replaces the whole record.
    BOOL SetGroupInfo(HSHBGROUP hGroup, const SHB_GROUPINFO* pGroupInfo, BOOL bReset = FALSE);

    CString GetGroupText(HSHBGROUP hGroup) const;
    BOOL SetGroupText(HSHBGROUP hGroup, LPCTSTR pszText, int nTextMax = -1);
    BOOL SetGroupText(HSHBGROUP hGroup, const CString& sText);
    int GetGroupImage(HSHBGROUP hGroup) const;
    BOOL SetGroupImage(HSHBGROUP hGroup, int nImage);
    // Without an expanded image, the collapsed one.
    int GetGroupImageExpanded(HSHBGROUP hGroup) const;
    BOOL SetGroupImageExpanded(HSHBGROUP hGroup, int nImage);
    LPARAM GetGroupData(HSHBGROUP hGroup) const;
    BOOL SetGroupData(HSHBGROUP hGroup, LPARAM lParam);
    int GetGroupOrder(HSHBGROUP hGroup) const;
    // Another group at that order takes the old one (the two swap).
    BOOL SetGroupOrder(HSHBGROUP hGroup, int nOrder);
    // An unset view reads as SHB_LARGEICON.
    int GetGroupView(HSHBGROUP hGroup) const;
    // A null group: every group, stopping at the first failure.
    BOOL SetGroupView(HSHBGROUP hGroup, int nView);
    SHB_DESCRIPTOR* GetGroupDescriptor(HSHBGROUP hGroup) const;
    // Merges the fields the descriptor's mask names; null detaches. A null group: all.
    BOOL SetGroupDescriptor(HSHBGROUP hGroup, const SHB_DESCRIPTOR* pDescriptor);
    HWND GetGroupChildWnd(HSHBGROUP hGroup) const;
    BOOL SetGroupChildWnd(HSHBGROUP hGroup, HWND hwndChild);

    // Descriptor fields: the group's own value, else the default (the skin's, the system's,
    // or the bar's). Unknown groups: -1 for colours and height, 0 for the format, null for
    // fonts; a font pointer stays valid until the next call.
    COLORREF GetGroupBkColor(HSHBGROUP hGroup);
    BOOL SetGroupBkColor(HSHBGROUP hGroup, COLORREF clr);
    COLORREF GetGroupTextColor(HSHBGROUP hGroup);
    BOOL SetGroupTextColor(HSHBGROUP hGroup, COLORREF clr);
    COLORREF GetGroupHeaderBkColor(HSHBGROUP hGroup) const;
    BOOL SetGroupHeaderBkColor(HSHBGROUP hGroup, COLORREF clr);
    COLORREF GetGroupHeaderTextColor(HSHBGROUP hGroup) const;
    BOOL SetGroupHeaderTextColor(HSHBGROUP hGroup, COLORREF clr);
    UINT GetGroupHeaderTextFormat(HSHBGROUP hGroup) const;
    BOOL SetGroupHeaderTextFormat(HSHBGROUP hGroup, UINT nFormat);
    LPLOGFONT GetGroupTextFont(HSHBGROUP hGroup);
    BOOL SetGroupTextFont(HSHBGROUP hGroup, const LOGFONT* pLF);
    BOOL SetGroupTextFont(HSHBGROUP hGroup, CFont* pFont);
    LPLOGFONT GetGroupHeaderTextFont(HSHBGROUP hGroup);
    BOOL SetGroupHeaderTextFont(HSHBGROUP hGroup, const LOGFONT* pLF);
    BOOL SetGroupHeaderTextFont(HSHBGROUP hGroup, CFont* pFont);
    int GetGroupHeaderHeight(HSHBGROUP hGroup) const;
    BOOL SetGroupHeaderHeight(HSHBGROUP hGroup, int nHeight);

    // A zeroed descriptor owned by the bar.
    SHB_DESCRIPTOR* AddDescriptor();

    // ---- finding and sorting ---------------------------------------------------------------------------
    HSHBGROUP FindGroup(const SHB_GROUPINFO* pGroupInfo) const;
    HSHBGROUP FindGroupByOrder(int nOrder) const;
    HSHBGROUP FindGroupByParam(LPARAM lParam) const;
    // Also finds a group whose title begins with the given text.
    HSHBGROUP FindGroupByTitle(LPCTSTR pszTitle) const;
    // nSortOrder 1 ascending, -1 descending, 0 none (stored only). Stable.
    BOOL SortGroups(int nSortOrder);
    BOOL SortGroupsCB(PFNSHBCOMPARE pfnCompare, LPARAM lParamSort, int nSortOrder);
    int GetSortOrder() const { return m_nSortOrder; }

    // ---- geometry ------------------------------------------------------------------------------------------
    // SHB_ONHEADER (the group), SHB_ONCHILD (the expanded group) or SHB_NOWHERE (0).
    HSHBGROUP HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    BOOL GetGroupHeaderRect(HSHBGROUP hGroup, LPRECT lpRect) const;
    CRect GetChildWndRect() const { return m_rectChildWnd; }
    void UpdateHeader(HSHBGROUP hGroup);
    void RedrawBar();
    void RedrawChildWnd();

    // ---- settings (each setter returns the old value) --------------------------------------------------------------
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    // FALSE for bits above the low 16.
    BOOL SetBarStyle(DWORD dwBarStyle);
    CImageList* GetImageList() const { return m_pImageList; }
    CImageList* SetImageList(CImageList* pImageList);
    int GetGroupMargin() const { return m_nGroupMargin; }
    int SetGroupMargin(int nGroupMargin);
    CRect GetChildWndMargins() const { return m_rectChildWndMargins; }
    CRect SetChildWndMargins(CRect rectMargins);
    CSize GetBarMinSize() const { return m_sizeMin; }
    CSize SetBarMinSize(CSize sizeMin);
    CSize GetScrollButtonSize() const { return m_sizeScrollButton; }
    CSize SetScrollButtonSize(CSize size);
    UINT GetScrollingDelay() const { return m_nScrollingDelay; }
    UINT SetScrollingDelay(UINT nDelay);
    UINT GetAutoScrollingDelay() const { return m_nAutoScrollingDelay; }
    UINT SetAutoScrollingDelay(UINT nDelay);
    UINT GetAutoExpandDelay() const { return m_nAutoExpandDelay; }
    UINT SetAutoExpandDelay(UINT nDelay);

    // ---- the default list controls (a group with its own child window fails) --------------------------------------
    COXSHBListCtrl* GetGroupListCtrl(HSHBGROUP hGroup) const;
    BOOL ChildWndIsLC(HSHBGROUP hGroup) const;
    HWND GetGroupChildWndHandle(HSHBGROUP hGroup) const;
    CImageList* SetLCImageList(HSHBGROUP hGroup, CImageList* pImageList, int nImageList);
    CImageList* GetLCImageList(HSHBGROUP hGroup, int nImageList) const;
    BOOL GetLCItem(HSHBGROUP hGroup, LVITEM* pItem) const;
    BOOL SetLCItem(HSHBGROUP hGroup, const LVITEM* pItem);
    BOOL SetLCItem(HSHBGROUP hGroup, int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
        UINT nStateMask, LPARAM lParam);
    int InsertLCItem(HSHBGROUP hGroup, const LVITEM* pItem);
    int InsertLCItem(HSHBGROUP hGroup, int nItem, LPCTSTR lpszItem, int nImage = -1);
    int InsertLCItem(HSHBGROUP hGroup, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
    BOOL DeleteLCItem(HSHBGROUP hGroup, int nItem);
    int GetLCItemCount(HSHBGROUP hGroup) const;
    COXSHBEdit* EditLCItem(HSHBGROUP hGroup, int nItem);
    BOOL ScrollExpandedLC(CSize size);
    // Re-inserts the items ordered by their texts (case-sensitive, stable). -1 without a
    // default list control.
    int SortLCItems(HSHBGROUP hGroup);

    // ---- the user's side -------------------------------------------------------------------------------------------
    // Renames a header in place; the editor, or null when refused or impossible.
    COXSHBEdit* EditGroupHeader(HSHBGROUP hGroup);
    COXSHBEdit* GetEditControl() { return &m_edit; }
    HSHBGROUP GetHotGroup() const { return m_hHotGroup; }
    HSHBGROUP GetDragGroup() const { return m_hDragGroup; }
    HSHBGROUP GetDropHilightGroup() const { return m_hDropHilightGroup; }
    HSHBGROUP GetEditGroup() const { return m_hEditGroup; }
    HSHBGROUP GetPressedGroup() const { return m_hPressedGroup; }
    HSHBGROUP GetMouseOverGroup() const { return m_hMouseOverGroup; }
    HSHBGROUP GetAutoExpandGroup() const { return m_hAutoExpandGroup; }
    BOOL IsCreatingDragImage() const { return m_bCreatingDragImage; }

    // The current skin's shortcut-bar skin, else the bar's own Classic one.
    COXShortcutBarSkin* GetShortcutBarSkin();

    // Fills hwndFrom and idFrom and sends WM_NOTIFY to the owner (else the parent).
    LRESULT SendSHBNotification(NMSHORTCUTBAR* pNMSHB);

    // ---- overridables ----------------------------------------------------------------------------------------
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    // The caller owns the list.
    virtual CImageList* CreateGroupDragImage(HSHBGROUP hGroup);
    virtual void DrawHeader(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void FillBackground(CDC* pDC);
    virtual BOOL CreateEditControl();
    virtual BOOL CreateListControl(HSHBGROUP hGroup);
    virtual COXSHBListCtrl* NewSHBListCtrl();
    virtual void CalculateBoundRects();
    virtual HSHBGROUP GetUniqueGroupHandle();
    virtual BOOL CompareGroups(const SHB_GROUPINFO* pGroupInfo1, const SHB_GROUPINFO* pGroupInfo2) const;
    virtual COleDropTarget* GetDropTarget();
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLargeIcon();
    afx_msg void OnSmallIcon();
    afx_msg void OnUpdateLargeIcon(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSmallIcon(CCmdUI* pCmdUI);
    afx_msg void OnAddNewGroup();
    afx_msg void OnRemoveGroup();
    afx_msg void OnRenameGroup();
    afx_msg void OnRemoveLCItem();
    afx_msg void OnRenameLCItem();
    DECLARE_MESSAGE_MAP()

    // WM_NOTIFY from the editor (end of a header edit) and the tooltips.
    BOOL OnChangeGroupTitle(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnHeaderToolTip(NMHDR* pNMHDR, LRESULT* pResult);

    // Header drag helpers.
    void SetDragGroup(HSHBGROUP hGroup);
    void SetDropHilightGroup(HSHBGROUP hGroup);
    void SetMouseOverGroup(HSHBGROUP hGroup);
    void EndPressedState();
    void CancelAutoExpand();
    void StartAutoExpand(HSHBGROUP hGroup, UINT nDelay);

private:
    friend class COXSHBListCtrl;
    using GroupMap = std::map<HSHBGROUP, std::unique_ptr<SHB_GROUPINFO>>;

    // The bar's part of Create and PreSubclassWindow.
    BOOL InitShortcutBar();
    SHB_GROUPINFO* Group(HSHBGROUP hGroup) const;
    // Copying records into stored ones (insert, set, get).
    enum CopyFlags : UINT { kReset = 1, kVerify = 2, kUseSourceMask = 4 };
    BOOL VerifyGroupInfo(const SHB_GROUPINFO* pInfo, bool bInserting) const;
    BOOL CopyGroupInfo(SHB_GROUPINFO* pDest, const SHB_GROUPINFO* pSource, UINT nFlags);
    BOOL SetOrder(SHB_GROUPINFO* pDest, int nOrder, bool bVerify);
    void ShiftOrders(int nFirst, int nLast, int nDelta);
    // Stores the fields of the given descriptor into the group's own one.
    BOOL MergeDescriptor(SHB_GROUPINFO* pDest, const SHB_DESCRIPTOR* pSource);
    void ReleaseDescriptorIfUnused(SHB_DESCRIPTOR* pDescriptor);
    // Deletes a group. bForce: the parent's answer is not heeded and nothing is re-laid out
    // (the bar is going).
    BOOL DeleteGroupImpl(HSHBGROUP hGroup, bool bForce);
    // Every handle that refers to the group forgets it (timers, capture, edit, drag).
    void ForgetGroup(HSHBGROUP hGroup);
    BOOL SetOneField(HSHBGROUP hGroup, SHB_GROUPINFO& info);
    BOOL SetDescriptorField(HSHBGROUP hGroup, SHB_DESCRIPTOR& descriptor);
    void NotifyChildInfoChanged(HSHBGROUP hGroup, UINT nMask);
    void BroadcastSettingChange(LPARAM nWhat);
    void AnimateExpansion(HSHBGROUP hOld, HSHBGROUP hNew);
    void ShowExpandedChild();
    LRESULT NotifyGroup(UINT nCode, HSHBGROUP hGroup, LPARAM lParam = 0, int nItem = -1);
    HFONT HeaderFont(HSHBGROUP hGroup, CFont& holder);
    void DrawHeaderNow(HSHBGROUP hGroup, HDC hdc, const CRect& rect);
    // Header drag and hover helpers of the mouse handlers.
    void UpdateMouseOver(CPoint ptClient);
    HSHBGROUP FindDropTarget(CPoint ptClient) const;
    void EndHeaderDrag(bool bDrop);
    void PopulateContextMenu(CMenu& menu, HSHBGROUP hGroup, bool bInChild);

    CImageList* m_pImageList = nullptr;
    HSHBGROUP m_hDropHilightGroup = nullptr;
    HSHBGROUP m_hExpandedGroup = nullptr;
    HSHBGROUP m_hEditGroup = nullptr;
    HSHBGROUP m_hHotGroup = nullptr;            // the context menu's group
    HSHBGROUP m_hDragGroup = nullptr;
    HSHBGROUP m_hPressedGroup = nullptr;
    int m_nSortOrder = 0;
    DWORD m_dwBarStyle = 0;
    COXSHBEdit m_edit;
    GroupMap m_groups;
    std::map<SHB_DESCRIPTOR*, std::unique_ptr<SHB_DESCRIPTOR>> m_descriptors;
    std::map<HSHBGROUP, std::unique_ptr<COXSHBListCtrl>> m_lists;
    std::map<HSHBGROUP, CRect> m_headerRects;
    CRect m_rectChildWnd;
    int m_nGroupMargin = 0;
    CRect m_rectChildWndMargins{5, 5, 5, 5};
    CSize m_sizeMin{20, 20};
    CSize m_sizeScrollButton{16, 16};
    UINT m_nScrollingDelay = 200;
    UINT m_nAutoScrollingDelay = 400;
    UINT m_nAutoExpandDelay = 800;
    COXSHBDropTarget m_dropTarget;
    COleDropTarget* m_pRegisteredTarget = nullptr;
    uintptr_t m_nLastHandle = 0;
    CFont m_font;
    BOOL m_bCreatingDragImage = FALSE;
    std::unique_ptr<CImageList> m_pDragImage;
    CPoint m_ptDragOffset;
    UINT_PTR m_nDragStartTimer = 0;
    HSHBGROUP m_hDragStartGroup = nullptr;
    UINT_PTR m_nAutoExpandTimer = 0;
    HSHBGROUP m_hAutoExpandGroup = nullptr;
    UINT_PTR m_nCheckMouseTimer = 0;
    HSHBGROUP m_hMouseOverGroup = nullptr;
    COXElementSkinLookup<COXShortcutBarSkin> m_skin;
    BOOL m_bInitialized = FALSE;
    // The LOGFONT the font getters last answered.
    LOGFONT m_lfReturned{};
    // The owner the bar captured the mouse for a header drag.
    BOOL m_bDragCapture = FALSE;
};
