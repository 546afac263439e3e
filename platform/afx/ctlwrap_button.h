#pragma once
// CButton and CStatic: thin wrappers of the "Button" and "Static" controls. Each member
// sends the control's message and returns its answer. An owner-drawn button gets its
// WM_DRAWITEM from the parent as a call of DrawItem (reflection through its object).
#include "platform/afx/wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    ~CButton() override;

    using CWnd::Create;
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    UINT GetState() const;                    // BM_GETSTATE (BST_*)
    void SetState(BOOL bHighlight);           // BM_SETSTATE
    int GetCheck() const;                     // BM_GETCHECK
    void SetCheck(int nCheck);                // BM_SETCHECK
    UINT GetButtonStyle() const;              // the BS_* style bits of the window's style
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);   // BM_SETSTYLE
    HICON SetIcon(HICON hIcon);               // BM_SETIMAGE IMAGE_ICON
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);       // BM_SETIMAGE IMAGE_BITMAP
    HBITMAP GetBitmap() const;
    void Click();                             // BM_CLICK

    // Owner-drawn buttons override this; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    ~CStatic() override;

    using CWnd::Create;
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

    HICON SetIcon(HICON hIcon);               // STM_SETICON
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);       // STM_SETIMAGE IMAGE_BITMAP
    HBITMAP GetBitmap() const;
    HCURSOR SetCursor(HCURSOR hCursor);       // STM_SETIMAGE IMAGE_CURSOR
    HCURSOR GetCursor();

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
