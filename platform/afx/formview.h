#pragma once
// CFormView: a scroll view whose window is a dialog made from a template, so its controls
// are the view's content (configuration screens are form views).
//
// Creation (the frame's CreateView calls Create): the template is found through the
// resource chain and must describe a child (WS_CHILD, not WS_POPUP); any other is refused
// (ERROR_INVALID_PARAMETER) and the view deletes itself as after any failed creation. The
// dialog manager makes the window as a child of the frame (the object attached before its
// first message, the creation context reaching CView's WM_CREATE); the border and client
// edge are the requested style's, not the template's; the window takes the control ID
// and rectangle the frame asks for, and is shown when the requested style has WS_VISIBLE.
// The scroll sizes are the template's size in pixels, so the bars appear when the frame
// is smaller than the form. The template's DLGINIT strings fill its list and combo boxes.
//
// OnInitialUpdate moves the members into the controls (UpdateData(FALSE)) and then does
// the view's own initial update. Painting is the controls' own (OnDraw draws nothing).
//
// Keys: PreTranslateMessage gives the frames above the view their translation first
// (their accelerators), then runs the dialog manager's keyboard interface on the view
// (Tab order, arrows in groups, Enter, Escape, mnemonics). A view with accelerators of
// its own translates them in its PreTranslateMessage before calling this one, so they win
// over the dialog keys.
//
// Focus: the control that had the focus when the view or its frame was deactivated gets
// it back when the view is activated or focused again; without one, the dialog manager
// gives it to the first tab stop.
//
// Idle: WM_IDLEUPDATECMDUI updates the controls as command UI elements by their IDs
// through the view's routing (view, then document), so ON_UPDATE_COMMAND_UI handlers
// enable, check or label them; a control without a handler is left as it is.
#include "platform/afx/scrollview.h"

#include <string>

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    ~CFormView() override;

    // The view's own Create (the frame calls it through CWnd::Create).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwRequestedStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) override;

    LPCTSTR m_lpszTemplateName = nullptr;

protected:
    explicit CFormView(LPCTSTR lpszTemplateName);
    explicit CFormView(UINT nIDTemplate);

    // Remembers the focus control when it is one of this view's; TRUE when it was.
    BOOL SaveFocusControl();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    CCreateContext* m_pCreateContext = nullptr;   // only while Create runs
    HWND m_hWndFocus = nullptr;                    // the control that had the focus last

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_templateNameStorage;
};
