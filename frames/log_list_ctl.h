#pragma once
// CLogListCtl: the log viewer's session list, an owner-drawn report (LVS_REPORT with
// LVS_OWNERDRAWFIXED, also when the list comes from a dialog template and is subclassed
// afterwards) that draws each row itself: the row or its label highlighted, the row's
// image, the session's date in the first column and its status in the second, coloured
// by the status (Error red, Warning orange, Unknown blue).
#include "platform/suite/controls/zyn_list_ctl.h"

class CLogListCtl : public CZynListCtl {
    DECLARE_DYNCREATE(CLogListCtl)
public:
    CLogListCtl();
    ~CLogListCtl() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The colour a status text is drawn in (crNormal for any other text).
    static COLORREF StatusColor(const CString& text, COLORREF crNormal);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
};
