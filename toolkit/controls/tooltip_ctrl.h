#pragma once
// COXToolTipCtrl: the toolkit's own tooltip window, for places the system tooltip cannot
// serve (the bitmap menus own one). A top-most popup with a list of tools (a window and
// an ID with a rectangle in the parent's client coordinates), it follows the mouse
// through the messages its owner relays (RelayEvent), shows an owner-drawn, multi-line
// tip 20 pixels below the cursor once the mouse has stayed on a tool for the initial
// delay, and hides it after the auto-pop time or when the mouse leaves, unless the mouse
// is on the tip itself. Each tool may have its own width and colours.
//
// A text with a carriage return makes an info box: two texts, "first\rsecond", between
// which a click on the tip toggles; a small black triangle at the right of the first
// text (at the left of the second) marks it.
//
// Timers of the tip window: 1 ends the initial delay; 2 polls every 500 ms while the tip
// is up. Brushes and pens are made for each paint from the colours of that moment, so a
// system colour change shows at the next paint.
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/base/coll_array.h"
#include "platform/base/cstring.h"
#include "toolkit/controls/tooltip_info.h"

class COXToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(COXToolTipCtrl)
public:
    COXToolTipCtrl();
    // Destroys the window if it still exists, then the tools and the font.
    ~COXToolTipCtrl() override;

    using CWnd::Create;
    // The tip window, owned by pParentWnd, whose client coordinates all tool rectangles
    // use. Selects the system tooltip font.
    BOOL Create(CWnd* pParentWnd);

    // ---- tools -------------------------------------------------------------------------------------------------
    // The tool's rectangle is lpRect in pWnd's client coordinates, or pWnd's window
    // rectangle. FALSE for a null window, before Create (there is no parent to measure
    // against), or when the tool cannot be made. lpszText may be LPSTR_TEXTCALLBACK.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, const RECT* lpRect = nullptr, UINT nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, const RECT* lpRect = nullptr, UINT nIDTool = 0);
    // Removes the first tool with that window and ID (its tip goes first).
    void DelTool(CWnd* pWnd, UINT nIDTool = 0);
    BOOL UpdateToolRect(CWnd* pWnd, const RECT* lpRect, UINT nIDTool = 0);
    // The tool's display text; `text` unchanged when there is no such tool.
    void GetText(CString& text, CWnd* pWnd, UINT nIDTool = 0);
    BOOL GetToolInfo(OXTOOLINFO& info, CWnd* pWnd, UINT nIDTool = 0);
    // The tool named by info's window and ID takes info's values. A plain TOOLINFO
    // (its cbSize) sets the TOOLINFO part only; any other size is ignored.
    void SetToolInfo(OXTOOLINFO* pInfo);
    // The tool of hWnd (or of a child of it) whose rectangle holds `point` (the parent's
    // client coordinates); its description into pInfo when given.
    BOOL HitTest(HWND hWnd, POINT point, OXTOOLINFO* pInfo);
    int GetToolCount() const { return static_cast<int>(m_arrTools.GetSize()); }

    // ---- behaviour ---------------------------------------------------------------------------------------------
    // An inactive control shows nothing (its timers still run).
    void Activate(BOOL bActivate) { m_bActivated = bActivate; }
    // The initial delay.
    void SetDelayTime(UINT nDelay) { m_nInitDelay = static_cast<int>(nDelay); }
    // TTDT_AUTOPOP or TTDT_INITIAL; other kinds are ignored (and read as 0).
    void SetDelayTime(DWORD dwDuration, int nTime);
    int GetDelayTime(DWORD dwDuration) const;
    void GetMargin(LPRECT lpRect) const;
    void SetMargin(LPRECT lpRect);
    // Tools still at the old default width take the new one; returns the old default.
    int SetMaxTipWidth(int nWidth);
    int GetMaxTipWidth() const { return m_nMaxWidth; }
    // Tools still at the old default colour take the new one.
    void SetTipBkColor(COLORREF clr);
    void SetTipTextColor(COLORREF clr);
    COLORREF GetTipBkColor() const { return m_crBackColor; }
    COLORREF GetTipTextColor() const { return m_crTextColor; }
    // Every mouse and keyboard message of the windows with tools.
    void RelayEvent(MSG* pMsg);
    // Hides the tip; it stays hidden until the mouse reaches a new tool.
    void Pop();
    BOOL IsVisible() const;

    // ---- fonts -------------------------------------------------------------------------------------------------
    // The system's status-bar font, which tooltips use (a per-thread copy).
    static LOGFONT* GetSystemToolTipFont();
    // FALSE for null. Remembers whether this is the system tooltip font, so a settings
    // change can follow it.
    BOOL SetLogFont(LOGFONT* pLogFont, BOOL bRedraw = TRUE);

    // The room reserved in an info box's text for its mark.
    static LPCTSTR const m_szArrowSpace;

protected:
    virtual CRect CalculateInfoBoxRect(CPoint& point, COXToolTipInfo* pToolTip, CRect& rectBounds);
    virtual CRect GetBoundsRect(CString strText, int nWidth);

    COXToolTipInfo* FindTool(HWND hWnd, UINT nIDTool) const;
    static void FillToolInfo(const COXToolTipInfo& tool, OXTOOLINFO& info);
    int IndexOf(const COXToolTipInfo* pTool) const;
    // The tool under a point of the parent's client area.
    COXToolTipInfo* FindToolFromPoint(CPoint point);
    BOOL IsCursorInTool(COXToolTipInfo* pToolTip);
    BOOL IsCursorInToolTip() const;
    void StartNewTool(COXToolTipInfo* pToolTip);
    void DisplayToolTip(CPoint point, BOOL bExtended);
    CString GetTooltipText(COXToolTipInfo* pToolTip);
    // The nIndex-th (0-based) piece of the text split at chSep; empty past the last.
    static CString GetFieldFromString(const CString& strText, int nIndex, TCHAR chSep);
    // pWnd's rectangle (lpRect in its client coordinates, or its window) in the parent's.
    BOOL ToolBounds(CWnd* pWnd, const RECT* lpRect, CRect& bounds) const;
    void DrawInfoBoxMark(CDC& dc, const CRect& rectText);

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pParentWnd = nullptr;
    CRect m_rectMargin{2, 2, 3, 3};
    int m_nMaxWidth = 0;
    CPoint m_ptOffset{0, 20};
    CFont m_font;
    LOGFONT m_LogFont{};
    UINT m_nTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
    BOOL m_bUsingSystemFont = TRUE;
    COXToolTipInfo* m_pCurrentToolTip = nullptr;   // not owned
    int m_nCheckInterval = 500;                    // timer 2's period
    int m_nDisplayDelay = 5000;                    // the auto-pop time
    int m_nElapsedTime = 0;                        // how long the tip has been up
    int m_nInitDelay = 500;
    BOOL m_bActivated = TRUE;
    BOOL m_bTipCancelled = FALSE;                  // popped until the next tool starts
    BOOL m_bHasExtendedText = FALSE;               // info-box mode
    BOOL m_bExtended = FALSE;                      // the info box shows its second text
    COLORREF m_crBackColor = OX_TOOLTIP_DEFAULT_COLOR;
    COLORREF m_crTextColor = OX_TOOLTIP_DEFAULT_COLOR;
    HWND m_hOldFocusWnd = nullptr;
    CObArray m_arrTools;                           // COXToolTipInfo*, owned
};
