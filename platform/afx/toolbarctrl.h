#pragma once
// CToolBarCtrl: the class library's wrapper of the toolbar common control
// ("ToolbarWindow32", platform/comctl/toolbar.h). Each member sends its TB_ message and
// answers what the control answers; the behaviour (geometry, hit testing, the saved
// state's format, notifications) is the control's and is written down in toolbar.h.
// Members that hand out image lists or tooltips give the class library's wrappers of
// the control's handles (temporary objects, freed at idle, for handles nobody wraps).
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/comctl/toolbar.h"

class CBitmap;
class CImageList;
class CToolTipCtrl;

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl();
    ~CToolBarCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    // A child of pParentWnd with WS_CHILD and the given TBSTYLE_/CCS_ styles; the
    // TBBUTTON size is set at once.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- button states -----------------------------------------------------------------------------------
    BOOL IsButtonEnabled(int nID) const;
    BOOL IsButtonChecked(int nID) const;
    BOOL IsButtonPressed(int nID) const;
    BOOL IsButtonHidden(int nID) const;
    BOOL IsButtonIndeterminate(int nID) const;
    BOOL IsButtonHighlighted(int nID) const;
    BOOL SetState(int nID, UINT nState);
    // The TBSTATE_ bits, -1 for an unknown command.
    int GetState(int nID) const;
    BOOL EnableButton(int nID, BOOL bEnable = TRUE);
    BOOL CheckButton(int nID, BOOL bCheck = TRUE);
    BOOL PressButton(int nID, BOOL bPress = TRUE);
    BOOL HideButton(int nID, BOOL bHide = TRUE);
    BOOL Indeterminate(int nID, BOOL bIndeterminate = TRUE);
    BOOL MarkButton(int nID, BOOL bHighlight = TRUE);

    // ---- buttons --------------------------------------------------------------------------------------------
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const;
    int GetButtonCount() const;
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL GetRect(int nID, LPRECT lpRect) const;
    void SetButtonStructSize(int nSize);
    BOOL AddButtons(int nNumButtons, LPCTBBUTTON lpButtons);
    // nIndex -1 appends.
    BOOL InsertButton(int nIndex, LPCTBBUTTON lpButton);
    BOOL DeleteButton(int nIndex);
    BOOL MoveButton(UINT nOldPos, UINT nNewPos);
    UINT CommandToIndex(UINT nID) const;
    BOOL SetCmdID(int nIndex, UINT nID);
    // pbi->cbSize must be set; the index of the button, -1 when none.
    int GetButtonInfo(int nID, TBBUTTONINFO* ptbbi) const;
    BOOL SetButtonInfo(int nID, TBBUTTONINFO* ptbbi);
    // Into lpszText (which must hold the whole text; null: only the length); -1 for an
    // unknown command.
    int GetButtonText(UINT idButton, LPTSTR lpszText) const;
    CString GetButtonText(UINT idButton) const;
    // The string pool.
    int AddString(UINT nStringID);
    int AddStrings(LPCTSTR lpszStrings);
    int GetString(int nString, LPTSTR lpstrString, int cchMaxLen) const;
    int GetString(int nString, CString& str) const;

    // ---- bitmaps and image lists ---------------------------------------------------------------------
    // Images of a bitmap resource of the resource module, or of a bitmap: the index of the
    // first image, -1 on failure.
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    int AddBitmap(int nNumButtons, CBitmap* pBitmap);
    BOOL ReplaceBitmap(LPTBREPLACEBITMAP pReplaceBitmap);
    void LoadImages(int iBitmapID, HINSTANCE hinst);
    BOOL ChangeBitmap(int idButton, int iBitmap);
    int GetBitmap(int nID) const;
    UINT GetBitmapFlags() const;
    BOOL SetBitmapSize(CSize size);
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;
    CImageList* SetHotImageList(CImageList* pImageList);
    CImageList* GetHotImageList() const;
    CImageList* SetDisabledImageList(CImageList* pImageList);
    CImageList* GetDisabledImageList() const;
    CImageList* SetPressedImageList(int iImageID, CImageList* pImageList);
    CImageList* GetPressedImageList();

    // ---- geometry ----------------------------------------------------------------------------------------
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    void GetButtonSize(CSize& size) const;
    BOOL SetButtonWidth(int cxMin, int cxMax);
    BOOL SetIndent(int iIndent);
    BOOL SetMaxTextRows(int iMaxRows);
    int GetMaxTextRows() const;
    // The previous padding.
    DWORD SetPadding(int cx, int cy);
    void GetPadding(int& nHorzPadding, int& nVertPadding) const;
    void SetRows(int nRows, BOOL bLarger, LPRECT lpRect);
    int GetRows() const;
    void AutoSize();
    BOOL GetMaxSize(LPSIZE pSize) const;
    BOOL GetIdealSize(BOOL bHeight, LPSIZE pSize) const;
    // The rule for negative answers is the control's (toolbar.h).
    int HitTest(LPPOINT ppt) const;
    DWORD GetStyle() const;
    void SetStyle(DWORD dwStyle);
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwExStyle);
    DWORD SetDrawTextFlags(DWORD dwMask, DWORD dwDTFlags);

    // ---- hot item, anchor, insert mark --------------------------------------------------------------------
    int GetHotItem() const;
    int SetHotItem(int nHot);
    BOOL GetAnchorHighlight() const;
    BOOL SetAnchorHighlight(BOOL fAnchor = TRUE);
    void GetInsertMark(TBINSERTMARK* ptbim) const;
    void SetInsertMark(TBINSERTMARK* ptbim);
    BOOL InsertMarkHitTest(LPPOINT ppt, LPTBINSERTMARK ptbim) const;
    COLORREF GetInsertMarkColor() const;
    COLORREF SetInsertMarkColor(COLORREF clrNew);

    // ---- tooltips, owner, state, customisation --------------------------------------------------------
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pTip);
    // The previous notify window.
    CWnd* SetOwner(CWnd* pWnd);
    void SaveState(HKEY hKeyRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName);
    void RestoreState(HKEY hKeyRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName);
    void Customize();
};
