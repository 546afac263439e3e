#pragma once
// CDialogBar: a control bar made from a dialog template, for bars of ordinary controls
// (edit fields, combo boxes, buttons) along a side of a frame.
//
// Create builds the template as a child dialog of the frame (the dialog manager makes
// the controls and sends WM_INITDIALOG, which the bar's map can handle), keeps the
// template's size as m_sizeDefault and the CBRS_* bits of nStyle as the bar style. The
// bar is always its template's size, except along a side it is stretched over
// (CalcFixedLayout with bStretch: the stretched dimension becomes 32767, which the layout
// clips to the side's length). In the idle pass its controls are updated as command
// elements through the owner frame (UpdateDialogControls), so ON_UPDATE_COMMAND_UI
// handlers enable and check them. Keys pass through the frames' accelerators first and
// then the dialog manager (Tab moves between the controls). Backgrounds: the bar and its
// static and button controls paint in the button-face colour (WM_CTLCOLOR*), unless a
// handler of the bar's own answers first.
#include <vector>

#include "platform/afx/ctrlbar.h"
#include "platform/user/dialog.h"

// A bar's dialog template, loaded from the resources and made over into a hidden child's
// (caption, frame, popup and visible bits off; WS_CHILD | WS_CLIPSIBLINGS on), copied to
// DWORD-aligned words for the dialog manager. Both kinds of template are understood.
struct CBarDialogTemplate {
    HINSTANCE hInst = nullptr;   // where the template was found
    DWORD dwTemplateStyle = 0;   // the style the template had before
    std::vector<DWORD> words;
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(words.data()); }
};
// FALSE with ERROR_RESOURCE_NAME_NOT_FOUND when the template is missing or too short to
// be one; out is left as it was then.
BOOL AfxLoadBarDialogTemplate(LPCTSTR lpszTemplateName, CBarDialogTemplate& out);
// The dialog manager's side of a bar: the bar object's map sees every message first, so
// this only asks for the default focus.
INT_PTR AfxBarDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    ~CDialogBar() override;

    using CControlBar::Create;
    // nStyle: CBRS_* bits (the alignment among them) and window styles; the template's
    // own WS_VISIBLE is honoured too. FALSE when the template is missing or malformed or
    // the window cannot be made.
    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
    virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CSize m_sizeDefault;

    afx_msg LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()
};
