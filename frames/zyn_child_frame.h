#pragma once
// CZynChildFrame: the MDI child frame of the hosts' configuration document templates. It
// adds nothing to the class library's MDI child: the hosts name it in their templates so
// that every configuration screen has the same frame class.
#include "platform/afx/mdi.h"

class CZynChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CZynChildFrame)
public:
    CZynChildFrame() = default;
    // The creation structure goes to the MDI child unchanged.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    DECLARE_MESSAGE_MAP()
};
