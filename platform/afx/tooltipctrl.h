#pragma once
// CToolTipCtrl: the class library's wrapper of the tooltip common control
// ("tooltips_class32", platform/comctl/tooltip.h), and CToolInfo, a TOOLINFO with a text
// buffer of its own.
//
// A tool named by a window and an ID follows the class library's rule (FillInToolInfo):
// ID 0 means the window itself is the tool (TTF_IDISHWND, its notifications going to its
// parent); any other ID is a rectangle of that window (its whole client area when no
// rectangle is given).
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/comctl/tooltip.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CToolInfo : public TTTOOLINFOW {
public:
    // Room for the text TTM_GETTOOLINFO copies (it copies at most 80 characters).
    TCHAR szText[256];
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    using CWnd::Create;
    using CWnd::CreateEx;
    // A top-most popup owned by pParentWnd, with WS_POPUP and the TTS_ styles given.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = 0, DWORD dwStyleEx = 0);

    // ---- tools -------------------------------------------------------------------------------------------------
    // lpszText may be LPSTR_TEXTCALLBACK. FALSE for a null window or when the control refuses
    // the tool (a second tool with the same window and ID).
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
        UINT_PTR nIDTool = 0);
    // The text is string nIDText of the resource module.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    // The whole text, however long.
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFO lpToolInfo);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    int GetToolCount() const;
    // pt in pWnd's client coordinates; lpToolInfo (cbSize set by the call) receives the tool.
    BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
    BOOL GetCurrentTool(LPTOOLINFO lpToolInfo) const;
    CSize GetBubbleSize(LPTOOLINFO lpToolInfo) const;
    // Fills the identity of a tool (cbSize, hwnd, uId, uFlags) by the rule above.
    void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;

    // ---- behaviour -----------------------------------------------------------------------------------------
    void Activate(BOOL bActivate);
    void RelayEvent(LPMSG lpMsg);
    // The initial delay, and through TTDT_AUTOMATIC the other two from it.
    void SetDelayTime(UINT nDelay);
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const;
    void SetTipBkColor(COLORREF clr);
    COLORREF GetTipBkColor() const;
    void SetTipTextColor(COLORREF clr);
    COLORREF GetTipTextColor() const;
    void SetMargin(LPRECT lprc);
    void GetMargin(LPRECT lprc) const;
    BOOL AdjustRect(LPRECT lprc, BOOL bLarger = TRUE);
    void Pop();
    void Popup();
    void Update();
};
