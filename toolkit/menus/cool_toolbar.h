#pragma once
// COXCoolToolBar: the toolkit's flat, customisable toolbar, the base of the menu bar and
// of the program's own toolbars. It is a CToolBar (through CMFCToolBar) whose window is the
// common toolbar control; every button operation is one TB_ message to that window. On top
// of the class library's toolbar it keeps:
//   - looks: cool (the control paints and sizes its own non-client area), flat, list,
//     gripper, separators, drop-down arrows, an indent, a small icon in the non-client area,
//     and twelve state colours (text, background, border for the default, hot, selected and
//     checked states; 0xFF000000 = not set) that the toolbar skins read;
//   - painting through the toolbar element skin of the application's current skin, else a
//     Classic toolbar skin of its own (GetToolbarSkin);
//   - button texts taken from the command IDs (SetButtonTextFromID); each button carries
//     its own text, so rebuilding texts never grows the control's string pool;
//   - its own layout of wrapped rows (cool_toolbar_layout.cpp);
//   - custom buttons: buttons hosting a child window, registered once for the whole
//     program and shown on any number of bars (cool_toolbar_custom.cpp);
//   - customisation: the control's own (CCS_ADJUSTABLE) and an advanced mode in which the
//     mouse selects a button and a context menu or the host's customisation window edits it
//     (cool_toolbar_customize.cpp), with every edit offered to the host first as a
//     customisation notification it may veto;
//   - saved state in the application profile (cool_toolbar_state.cpp; byte layout in
//     docs/architecture.md);
//   - dragging the whole bar with the mouse on frames that ask for it; where it docks is
//     the docking unit's question (cool_toolbar_seams.h).
// The bitmap menus reach the bar through the seams of menu_seams.h, which this unit
// installs.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/cmdui.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"
#include "toolkit/docking/shb_drop_source.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/menus/custom_button.h"
#include "toolkit/menus/mfc_toolbar.h"

class CDC;
class COleDateTime;
class COXToolbarSkin;

// ---- the customisation notification ---------------------------------------------------------------------
// WM_NOTIFY from a cool toolbar to its customisation window (else its parent), wParam the
// bar's control ID, lParam an NMCTBCUSTOMIZE; a non-zero answer vetoes the default action.
inline constexpr UINT OXCTBN_CUSTOMIZECMD = 32899;
// The events (32893..32898 are also the commands of the bar's customisation context menu).
inline constexpr UINT ID_OXCUSTTB_SELECTED = 32892;        // the customised button changed
inline constexpr UINT ID_OXCUSTTB_DELETE = 32893;
inline constexpr UINT ID_OXCUSTTB_APPEARANCE = 32894;
inline constexpr UINT ID_OXCUSTTB_IMAGEONLY = 32895;
inline constexpr UINT ID_OXCUSTTB_IMAGETEXT = 32896;
inline constexpr UINT ID_OXCUSTTB_SEPARATOR_BEFORE = 32897;
inline constexpr UINT ID_OXCUSTTB_SEPARATOR_AFTER = 32898;
inline constexpr UINT ID_OXCUSTTB_MENUPOPUP = 32910;       // a menu bar's popup in customisation mode
// The texts of the context menu's commands (ZynCommonResources).
inline constexpr UINT IDS_OXCUSTTB_DELETE = 26585, IDS_OXCUSTTB_APPEARANCE = 26586,
                      IDS_OXCUSTTB_IMAGEONLY = 26587, IDS_OXCUSTTB_IMAGETEXT = 26588,
                      IDS_OXCUSTTB_SEPARATOR_BEFORE = 26589, IDS_OXCUSTTB_SEPARATOR_AFTER = 26590;

struct NMCTBCUSTOMIZE {
    NMHDR hdr;                 // the bar's window, its control ID, OXCTBN_CUSTOMIZECMD
    UINT nCustomizeEventID;    // ID_OXCUSTTB_*
    LPARAM lParam;             // 0, or for ID_OXCUSTTB_MENUPOPUP an OXCTBMENUPOPUP*
};
// The parameter of ID_OXCUSTTB_MENUPOPUP: the popup about to be shown.
struct OXCTBMENUPOPUP {
    HMENU hMenu;
    UINT nFlags;      // TrackPopupMenu flags
    POINT point;      // screen
};

// The command-UI object of the bar's buttons: m_nIndex is the button index, m_pOther the
// bar. States are written by index with TB_SETBUTTONINFO, only when they change.
class COXCoolToolBarCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
};

class COXCoolToolBar : public CMFCToolBar {
    DECLARE_DYNAMIC(COXCoolToolBar)
public:
    // How button texts follow the command IDs.
    enum TextTypeFromID : int {
        TTID_PLAIN = 0,     // the command string before its first newline
        TTID_TOOLTIP = 1,   // the command string after its first newline
        TTID_MENU = 2,      // the main window's menu item of the command, cut at the tab
        TTID_NONE = 3,      // texts are left alone
        TTID_NOTEXT = 4     // empty texts
    };

    COXCoolToolBar();
    ~COXCoolToolBar() override;

    // ---- creation and docking ------------------------------------------------------------------------------------
    // Creates the control (flat, transparent unless on an MDI child, clipping its children,
    // borders 0, drop-down arrows on), registers the bar's drop target and gives the
    // control's string pool its one empty string. FALSE when the window cannot be made.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
        UINT nID = AFX_IDW_TOOLBAR) override;
    // The sides the bar may dock to; bFlag is kept for the docking code (GetDockingFlag).
    // Hides CControlBar::EnableDocking.
    void EnableDocking(DWORD dwDockStyle, BOOL bFlag = FALSE);
    BOOL GetDockingFlag() const { return m_bDockingFlag; }
    // Docks this bar in pLeftOf's dock bar just right of (or below) it; without pLeftOf,
    // on the first side the frame and the bar allow (top, bottom, left, right). FALSE,
    // nothing done, without a window, a frame or such a side, or when pLeftOf is not docked.
    BOOL DockControlBarLeftOf(CMFCToolBar* pLeftOf);

    // ---- looks ------------------------------------------------------------------------------------------------------
    void SetFlat(BOOL bFlat = TRUE);
    BOOL IsFlat() const;
    void SetList(BOOL bList = TRUE);
    BOOL IsList() const;
    void SetCool(BOOL bCool = TRUE) { m_bCool = bCool; }
    BOOL IsCool() const { return m_bCool; }
    void SetGripper(BOOL bGripper = TRUE);
    BOOL IsGripper() const { return (m_dwStyle & CBRS_GRIPPER) != 0; }
    void SetSeparator(BOOL bSeparator = TRUE) { m_bSeparator = bSeparator; }
    BOOL IsSeparator() const { return m_bSeparator; }
    void SetDropDownArrow(BOOL bDropDownArrow = TRUE);
    BOOL IsDropDownArrow() const;
    // TB_SETINDENT; the stored indent changes only when the control takes it.
    BOOL SetIndent(int nIndent);
    int GetIndent() const { return m_nIndent; }
    // TB_SETBUTTONWIDTH; the stored widths change only when the control takes them.
    BOOL SetButtonsMinMaxWidth(UINT nMin, UINT nMax);
    CSize GetButtonsMinMaxWidth() const { return CSize(m_nMinButtonWidth, m_nMaxButtonWidth); }
    BOOL SetMaxTextRows(int nRows);
    int GetTextRows() const;
    CSize GetButtonsSize() const;
    // Button size = image size + (7, 6), then TB_AUTOSIZE.
    void IniSizes(CSize sizeImage);
    // Button size = the control's, then TB_AUTOSIZE.
    void UpdateSizes();

    // The state colours (0xFF000000: not set); nothing is redrawn.
    void SetDefaultTextColor(COLORREF clr) { m_clrDefaultText = clr; }
    COLORREF GetDefaultTextColor() const { return m_clrDefaultText; }
    void SetHotTextColor(COLORREF clr) { m_clrHotText = clr; }
    COLORREF GetHotTextColor() const { return m_clrHotText; }
    void SetSelectedTextColor(COLORREF clr) { m_clrSelectedText = clr; }
    COLORREF GetSelectedTextColor() const { return m_clrSelectedText; }
    void SetCheckedTextColor(COLORREF clr) { m_clrCheckedText = clr; }
    COLORREF GetCheckedTextColor() const { return m_clrCheckedText; }
    void SetDefaultBkColor(COLORREF clr) { m_clrDefaultBk = clr; }
    COLORREF GetDefaultBkColor() const { return m_clrDefaultBk; }
    void SetHotBkColor(COLORREF clr) { m_clrHotBk = clr; }
    COLORREF GetHotBkColor() const { return m_clrHotBk; }
    void SetSelectedBkColor(COLORREF clr) { m_clrSelectedBk = clr; }
    COLORREF GetSelectedBkColor() const { return m_clrSelectedBk; }
    void SetCheckedBkColor(COLORREF clr) { m_clrCheckedBk = clr; }
    COLORREF GetCheckedBkColor() const { return m_clrCheckedBk; }
    void SetDefaultBorderColor(COLORREF clr) { m_clrDefaultBorder = clr; }
    COLORREF GetDefaultBorderColor() const { return m_clrDefaultBorder; }
    void SetHotBorderColor(COLORREF clr) { m_clrHotBorder = clr; }
    COLORREF GetHotBorderColor() const { return m_clrHotBorder; }
    void SetSelectedBorderColor(COLORREF clr) { m_clrSelectedBorder = clr; }
    COLORREF GetSelectedBorderColor() const { return m_clrSelectedBorder; }
    void SetCheckedBorderColor(COLORREF clr) { m_clrCheckedBorder = clr; }
    COLORREF GetCheckedBorderColor() const { return m_clrCheckedBorder; }
    static constexpr COLORREF kColorNotSet = 0xFF000000;

    // The small icon in the non-client area. The resource forms load it (from hInst, else
    // the module holding it); nothing happens when none can be had.
    void SetIcon(HICON hIcon, BOOL bRedraw = TRUE);
    void SetIcon(LPCTSTR lpszResourceName, CSize size = CSize(16, 16), HINSTANCE hInst = nullptr,
        BOOL bRedraw = TRUE);
    void SetIcon(UINT nIDResource, CSize size = CSize(16, 16), HINSTANCE hInst = nullptr, BOOL bRedraw = TRUE);
    HICON GetIcon() const { return m_hIcon; }
    CRect GetIconRect() const { return m_rectIcon; }

    void EnableFloating(BOOL bEnable = TRUE) { m_bFloatingEnabled = bEnable; }
    BOOL IsFloatingEnabled() const { return m_bFloatingEnabled; }

    // ---- the control's messages, passed straight through --------------------------------------------------
    // The window style as TB_SETSTYLE/TB_GETSTYLE see it (hides CWnd::GetStyle, same meaning).
    void SetStyle(DWORD dwStyle);
    DWORD GetStyle() const;
    DWORD SetStyleEx(DWORD dwStyleEx);
    DWORD GetStyleEx() const;
    HIMAGELIST SetDefaultImageList(HIMAGELIST hImageList);
    HIMAGELIST GetDefaultImageList() const;
    HIMAGELIST SetHotImageList(HIMAGELIST hImageList);
    HIMAGELIST GetHotImageList() const;
    HIMAGELIST SetDisabledImageList(HIMAGELIST hImageList);
    HIMAGELIST GetDisabledImageList() const;
    void LoadImage(int iBitmapID, HINSTANCE hInst);
    int HitTest(POINT* pPoint) const;
    BOOL MarkButton(int nID, BOOL bMark = TRUE);
    BOOL IsButtonHighlighted(int nID) const;
    BOOL GetAnchorHighlight() const;
    BOOL SetAnchorHighlight(BOOL bAnchor = TRUE);
    void GetInsertMark(TBINSERTMARK* pMark) const;
    void SetInsertMark(TBINSERTMARK* pMark);
    void SetInsertMark(int iButton, DWORD dwFlags = 0);
    // TB_MOVEBUTTON; FALSE when the control refuses.
    BOOL MoveButton(UINT nOldPos, UINT nNewPos);

    // ---- images ---------------------------------------------------------------------------------------------------
    // The bitmap resource, loaded once from the resource chain and kept by the bar (deleted
    // with it); null when there is none.
    HBITMAP AddBitmap(LPTSTR lpszResourceName);
    HBITMAP AddBitmap(UINT nID);
    // An image list from a bitmap resource, made once per name and kept by the bar
    // (destroyed with it); null when it cannot be made.
    HIMAGELIST AddImageList(LPTSTR lpszResourceName, int cx, int cGrow, COLORREF crMask, UINT uType, UINT uFlags);
    HIMAGELIST AddImageList(LPTSTR lpszResourceName, int cx, COLORREF crMask, UINT flags, int cInitial, int cGrow);

    // ---- texts ----------------------------------------------------------------------------------------------------
    void SetButtonTextFromID(TextTypeFromID type) { SetButtonTextFromID(0, 65535, type); }
    // Every button whose command lies in [nFirstID, nLastID] gets its text by the type; a
    // button whose command has no text source keeps the text it has.
    void SetButtonTextFromID(UINT nFirstID, UINT nLastID, TextTypeFromID type);
    TextTypeFromID GetTextType() const { return m_ttID; }
    // The button's own text (TB_SETBUTTONINFO): the control keeps it with the button, never
    // in its string pool. Hides CToolBar::SetButtonText.
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    // The text a command's button had before it was made image-only (empty when none).
    CString GetRecentButtonText(UINT nID) const;
    // The second line of the command's string resource (empty for command 0).
    CString GetButtonTooltip(int nIndex) const;

    // ---- redrawing --------------------------------------------------------------------------------------------
    // Brings the custom buttons up to date, then (visible bar) has the docking frame lay out
    // again and every button redrawn, or redraws the whole window; bOnlyFrame recomputes the
    // non-client area. Nothing while redrawing is suppressed.
    void RedrawToolBar(BOOL bRecalcLayout = TRUE, BOOL bOnlyFrame = FALSE);
    void RedrawButton(int nIndex);
    void DelayRedrawToolBar() { m_dwDelayedWork |= kDelayRedraw; }
    void DelayUpdateCustomButtons() { m_dwDelayedWork |= kDelayUpdateCustomButtons; }
    BOOL IsRedrawSuppressed() const { return m_bNoInternalRedraw; }
    BOOL IsInFrameLayout() const { return m_bInFrameLayout; }

    // ---- skins and measures ---------------------------------------------------------------------------------
    // The current skin's toolbar skin, else the bar's own Classic one (made once). Never null.
    COXToolbarSkin* GetToolbarSkin();
    BOOL IsWindowsNTRunning() const { return m_bWindowsNTRunning; }
    static DWORD GetComCtlVersion() { return m_dwComCtlVersion; }
    // Reads the loaded comctl32's version: E_INVALIDARG for a null pointer, E_FAIL when the
    // module or its version cannot be had.
    HRESULT GetComCtlVersion(DWORD* pdwMajor, DWORD* pdwMinor) const;
    int GetDropDownArrowWidth() const { return m_nDropDownArrowWidth; }
    // The command of the button whose drop-down opened last, for one dropped look in the
    // skins (which reset it to -1); -1 for none.
    int GetDroppedButton() const { return m_nDroppedButton; }
    void SetDroppedButton(int nCommand) { m_nDroppedButton = nCommand; }
    // The command of the button whose drop-down arrow was pressed last (-1 before the first).
    int GetLastDropDownCommand() const { return m_nLastDropDownCommand; }

    // ---- custom buttons (program-wide registry) -------------------------------------------------------
    // Registers a custom button (or updates the registration of its control ID); its index,
    // -1 when an update fails.
    static int AddCustomButton(COXCustomTBButtonTemplate* pTemplate, int nID, int nWidth = -1, int nHeight = -1,
        int nFlags = OXCBD_SHOWANY, int nImageIndex = -1);
    static int AddCustomButton(OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    // New width, height, flags and image for a registration; every cool toolbar of the main
    // frame showing it follows. FALSE for an index outside the registry.
    static BOOL SetCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    static int GetCustomButtonIndex(int nID);
    static int GetCustomButtonIndex(CWnd* pWnd);
    static int GetCustomButtonCount() { return static_cast<int>(m_arrAllCustomButtonIDs.size()); }
    // The registered descriptor at an index; FALSE outside the registry.
    static BOOL GetRegisteredCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor);
    // Forgets every registration and the once-per-process saved-state flags (the templates
    // stay their owners'). For hosts that rebuild their bars, and for tests.
    static void ResetCustomButtons();

    // ---- custom buttons on this bar ----------------------------------------------------------------------------
    // A separator at nPosition hosting registration nIndex's window (the registered
    // template's own on the first bar, a copy on others). FALSE, the bar as it was, for a
    // position outside 0..count, an index outside the registry or a window that cannot be
    // made.
    BOOL InsertCustomButton(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0,
        LPCTSTR lpszClassName = nullptr, LPCTSTR lpszWindowName = nullptr);
    BOOL CreateCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor, DWORD dwStyle, DWORD dwStyleEx,
        LPCTSTR lpszClassName, LPCTSTR lpszWindowName);
    BOOL InsertComboBox(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE | 0x0003 /*CBS_DROPDOWNLIST*/,
        DWORD dwStyleEx = 0);
    BOOL InsertEditBox(int nPosition, int nIndex, LPCTSTR lpszText = nullptr, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
        DWORD dwStyleEx = 0);
    BOOL InsertRichEditBox(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertStaticCtrl(int nPosition, int nIndex, LPCTSTR lpszText = nullptr,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertHotKeyCtrl(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertButtonCtrl(int nPosition, int nIndex, LPCTSTR lpszText = nullptr,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertCheckBox(int nPosition, int nIndex, LPCTSTR lpszText = nullptr,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | 0x0003 /*BS_AUTOCHECKBOX*/, DWORD dwStyleEx = 0);
    BOOL InsertProgressBar(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertSlider(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertDateTimePicker(int nPosition, int nIndex, const COleDateTime& dateTime,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertIPAddressCtrl(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);
    BOOL InsertComboBoxEx(int nPosition, int nIndex, DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwStyleEx = 0);

    BOOL GetCustomButton(int nPosition, OXCUSTOMBUTTONDESCRIPTOR& descriptor) const;
    BOOL IsCustomButton(int nPosition) const { return m_mapCustomButtons.count(nPosition) != 0; }
    BOOL HasCustomButtons() const { return !m_mapCustomButtons.empty(); }
    int GetCustomButtonCountOnBar() const { return static_cast<int>(m_mapCustomButtons.size()); }
    CWnd* GetCustomButtonWnd(int nPosition) const;
    int GetCustomButtonPosition(int nID) const;
    int GetCustomButtonPosition(CWnd* pWnd) const;
    BOOL IsCustomButtonWnd(int nID) const { return GetCustomButtonPosition(nID) != -1; }
    BOOL IsCustomButtonWnd(CWnd* pWnd) const { return GetCustomButtonPosition(pWnd) != -1; }
    // Shows each custom button of positions nFirst..nLast (-1: the last button) as the
    // docking state asks: its window over a separator of its width, or an image button.
    void UpdateCustomButtons(int nFirst = 0, int nLast = -1);
    void UpdateCustomButton(int nPosition) { UpdateCustomButtons(nPosition, nPosition); }
    BOOL ShowCustomButton(int nPosition);

    // ---- customisation -------------------------------------------------------------------------------------------
    // Allowed only once bitmap command IDs were given: without bAdvanced the control's own
    // customisation (CCS_ADJUSTABLE); with it the advanced mode.
    void SetCustomizable(BOOL bCustomizable = TRUE, BOOL bAdvanced = FALSE);
    virtual BOOL IsCustomizable(BOOL bAdvanced = FALSE) const;
    BOOL IsInAdvancedCustomizationMode() const { return m_bAdvancedCustomizationMode; }
    void SetAdvancedCustomizationMode(BOOL bMode, HWND hWndCustomizationWindow = nullptr);
    HWND GetCustomizationWindow() const { return m_hWndCustomization; }
    // The commands the customisation may offer (the array is the caller's, not copied).
    void SetBitmapIds(UINT* pIds, int nCount);
    int FindBitmapIndex(UINT nID) const;
    int GetBitmapIdCount() const { return m_nBitmapIdCount; }
    // Selects a button in advanced mode (-1: none); the previous selection.
    int SetCustomizedButton(int nIndex);
    int GetCustomizedButton() const { return m_nCustomizedButton; }
    BOOL IsButtonCustomized(int nIndex) const { return nIndex == m_nCustomizedButton; }
    // The customisation notification; the receiver's answer (0 with nobody to tell).
    LRESULT SendCustomizeNotification(UINT nEvent, LPARAM lParam = 0);
    void SetDraggedButton(int nIndex) { m_nDraggedButton = nIndex; }
    int GetDraggedButton() const { return m_nDraggedButton; }
    BOOL IsButtonDragged(int nIndex) const { return nIndex == m_nDraggedButton; }
    void SetDragStartedHere(BOOL bStarted) { m_bDragStartedHere = bStarted; }
    BOOL IsDragStartedHere() const { return m_bDragStartedHere; }
    BOOL IsDragInside() const { return m_bDragInside; }
    virtual BOOL DisplayCustomizeButtonContextMenu(int nButtonIndex, CPoint ptScreen);
    virtual COXSHBDropSource* GetDropSource();
    virtual COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }

    // ---- saved state ---------------------------------------------------------------------------------------------
    // The bar's looks (bProperties), its buttons and custom buttons and the program-wide
    // custom-button settings in the application profile. Loading checks every record before
    // it changes anything: damaged or truncated state is refused whole (FALSE, the bar and
    // the registry as they were).
    virtual BOOL SaveBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties = TRUE);
    virtual BOOL LoadBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties = TRUE);

    // ---- dragging the whole bar ----------------------------------------------------------------------------------
    // The cursor's offset from the bar's window origin, in client terms: where the bar hangs
    // under the cursor while it is dragged.
    void SaveMouseOffset(CPoint ptClient);
    CPoint GetMouseOffset() const { return m_ptMouseOffset; }
    void SetBarDragging(BOOL bDragging) { m_bBarDragging = bDragging; }
    BOOL IsBarDragging() const { return m_bBarDragging; }

    // ---- the class library's bar ---------------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;

    // ---- painting hooks (the skins call the first ones back) -----------------------------------------------
    using CControlBar::DrawGripper;
    virtual void DrawGripper(CDC& dc, CRect& rect);
    virtual void DrawSeparator(CDC& dc, CRect& rect);
    virtual void DrawIcon(CDC& dc, CRect& rect);
    virtual void DrawCustomizedButton(CDC& dc, CRect& rect);
    // Room derived bars reserve in the non-client area (nothing here), and its painting.
    virtual void BookSpace(CRect& rect, DWORD dwMode);
    virtual void DrawInBookedSpace(CDC& dc, CRect& rect);
    virtual void OnFloatingDocking(BOOL bFloating);
    virtual void OnChangeDockSide(DWORD dwDockSide);
    // Paints the non-client background through WM_ERASEBKGND. Hides CControlBar's.
    virtual void EraseNonClient();

    // ---- drop target (advanced customisation) -------------------------------------------------------------
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);
    virtual void OnRemoveDraggedButton(int nIndex);

    // ---- program-wide ---------------------------------------------------------------------------------------------
    static DWORD m_dwComCtlVersion;   // major << 16 | minor; 0x40000 when unknown
    static std::map<int, OXCUSTOMBUTTONDESCRIPTOR> m_mapAllCustomButtons;   // control ID -> registration
    static std::vector<int> m_arrAllCustomButtonIDs;                        // IDs in registration order
    static BOOL m_bCustomButtonsStateSaved;
    static BOOL m_bCustomButtonsStateLoaded;

protected:
    // ---- layout (cool_toolbar_layout.cpp) ---------------------------------------------------------------
    CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
    CSize CalcSize(TBBUTTON* pData, int nCount) override;
    int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth) override;
    void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE) override;
    // A button's width as the layout counts it (item width for an auto-sized one, the arrow
    // added to a drop-down one).
    int LayoutButtonWidth(const TBBUTTON& button) const;
    // The comctl32 version reading of the first constructor.
    static DWORD ReadComCtlVersion();
    static int MeasureDropDownArrowWidth();
    static constexpr DWORD kComCtl471 = 0x40047;
    static bool HasComCtl471() { return m_dwComCtlVersion >= kComCtl471; }

    // ---- message handlers ------------------------------------------------------------------------------------------
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnInsertButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMoveButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnTBNBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTBNEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTBNQueryInsert(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTBNQueryDelete(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTBNToolBarChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTBNGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnDropDownButton(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnDragEnterMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragLeaveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragOverMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomizeCommand(UINT nID);

    // ---- helpers -----------------------------------------------------------------------------------------------
    // The button index under a client point for advanced customisation: a button, or a
    // custom button's separator; -1 elsewhere.
    int CustomizeHitTest(CPoint point) const;
    // Runs the default of a customisation command for the selected button.
    void DoCustomizeCommand(UINT nID);
    // Inserts a plain separator record at nIndex through the bar's own TB_INSERTBUTTON.
    BOOL InsertSeparatorAt(int nIndex);
    // The docking state a custom button is shown for: OXCBD_SHOWFLOAT, _SHOWHORZ or _SHOWVERT.
    int CurrentShowFlag() const;
    // Index bookkeeping after the control inserted, deleted or moved a button.
    void AfterInsert(int nIndex);
    void AfterDelete(int nIndex, int nCountBefore);
    void AfterMove(int nFrom, int nTo);
    // The bar drag of frames that ask for it (cool_toolbar_mouse.cpp).
    BOOL StartBarDrag(CPoint point);
    void ContinueBarDrag(UINT nFlags, CPoint point);
    void EndBarDrag();

    // ---- fields -------------------------------------------------------------------------------------------------
    BOOL m_bWindowsNTRunning = TRUE;
    int m_nDropDownArrowWidth = 0;
    TextTypeFromID m_ttID = TTID_NONE;
    BOOL m_bCool = FALSE;
    BOOL m_bSeparator = TRUE;
    BOOL m_bDropDownArrow = FALSE;
    int m_nIndent = 0;
    int m_nMinButtonWidth = -1;
    int m_nMaxButtonWidth = -1;
    COLORREF m_clrDefaultText = kColorNotSet, m_clrHotText = kColorNotSet, m_clrSelectedText = kColorNotSet,
             m_clrCheckedText = kColorNotSet;
    COLORREF m_clrDefaultBk = kColorNotSet, m_clrHotBk = kColorNotSet, m_clrSelectedBk = kColorNotSet,
             m_clrCheckedBk = kColorNotSet;
    COLORREF m_clrDefaultBorder = kColorNotSet, m_clrHotBorder = kColorNotSet, m_clrSelectedBorder = kColorNotSet,
             m_clrCheckedBorder = kColorNotSet;
    int m_nFloatingCache = 3;                  // neither TRUE nor FALSE: the first change reports
    DWORD m_dwDockSideCache = 0xFFFFFFFF;
    HICON m_hIcon = nullptr;                   // not owned
    CRect m_rectIcon{0, 0, 0, 0};
    int m_nCustomizedButton = -1;
    BOOL m_bCustomizable = FALSE;              // advanced customisation allowed
    BOOL m_bAdvancedCustomizationMode = FALSE;
    HWND m_hWndCustomization = nullptr;
    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;
    BOOL m_bDragStartedHere = FALSE;
    BOOL m_bDragInside = FALSE;
    int m_nDraggedButton = -1;
    BOOL m_bDockingFlag = FALSE;
    BOOL m_bBarDragging = FALSE;
    const UINT* m_pBitmapIds = nullptr;        // not owned
    int m_nBitmapIdCount = 0;
    std::map<UINT, HBITMAP> m_mapBitmaps;                  // owned
    std::map<std::wstring, HIMAGELIST> m_mapImageLists;    // owned
    std::map<UINT, CString> m_mapRecentButtonTexts;
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> m_mapCustomButtons;   // position -> descriptor
    BOOL m_bNoInternalRedraw = FALSE;
    BOOL m_bInFrameLayout = FALSE;
    static constexpr DWORD kDelayRedraw = 0x1, kDelayUpdateCustomButtons = 0x2;
    DWORD m_dwDelayedWork = 0;
    BOOL m_bFloatingEnabled = TRUE;
    int m_nDroppedButton = -1;
    int m_nLastDropDownCommand = -1;
    CPoint m_ptMouseOffset{0, 0};
    std::unique_ptr<COXToolbarSkin> m_pFallbackSkin;
    HICON m_hLoadedIcon = nullptr;                         // loaded by a resource SetIcon; owned
    std::map<std::wstring, HBITMAP> m_mapNamedBitmaps;     // AddBitmap by string name; owned

    // A button record written back (TBBUTTON's enabled bit turned round, as _GetButton
    // reads it) when it differs from the button field by field (texts by their contents):
    // the button is deleted and the record inserted through the control itself. Hides
    // CToolBar::_SetButton.
    BOOL _SetButton(int nIndex, TBBUTTON* pButton);

    friend class COXCoolToolBarCmdUI;

    DECLARE_MESSAGE_MAP()
};
