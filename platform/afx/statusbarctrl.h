#pragma once
// CStatusBarCtrl: the class library's wrapper of the status-bar common control
// ("msctls_statusbar32", platform/comctl/statusbar.h). Each member is one SB_ message.
// Owner-drawn parts (SBT_OWNERDRAW) reach the parent as WM_DRAWITEM, which the class
// library reflects back to this object: DrawItem draws them (the base draws nothing).
#include "platform/afx/wnd.h"
#include "platform/comctl/statusbar.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)
public:
    CStatusBarCtrl();
    ~CStatusBarCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- text ------------------------------------------------------------------------------------------------
    // nPane 255 (SB_SIMPLEID) is the simple part; nType the SBT_ drawing type. For
    // SBT_OWNERDRAW, lpszText is the value handed to DrawItem.
    BOOL SetText(LPCTSTR lpszText, int nPane, int nType);
    // The whole text, however long; *pType receives the SBT_ type.
    CString GetText(int nPane, int* pType = nullptr) const;
    // Copies the text into a buffer of at least GetTextLength(nPane) + 1 characters;
    // the length.
    int GetText(LPTSTR lpszText, int nPane, int* pType = nullptr) const;
    int GetTextLength(int nPane, int* pType = nullptr) const;
    CString GetTipText(int nPane) const;
    void SetTipText(LPCTSTR pszTipText, int nPane);

    // ---- parts and geometry ----------------------------------------------------------------------------------
    BOOL SetParts(int nParts, int* pWidths);
    int GetParts(int nParts, int* pParts) const;
    // {horizontal border, vertical border, spacing between parts}.
    BOOL GetBorders(int* pBorders) const;
    BOOL GetBorders(int& nHorz, int& nVert, int& nSpacing) const;
    void SetMinHeight(int nMin);
    BOOL SetSimple(BOOL bSimple = TRUE);
    BOOL IsSimple() const;
    BOOL GetRect(int nPane, LPRECT lpRect) const;

    // ---- look ------------------------------------------------------------------------------------------------
    COLORREF SetBkColor(COLORREF cr); // the previous colour (CLR_DEFAULT: the system's)
    // The icon stays the caller's; nPane -1 is the simple part.
    BOOL SetIcon(int nPane, HICON hIcon);
    HICON GetIcon(int nPane) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
