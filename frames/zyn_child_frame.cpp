#include "frames/zyn_child_frame.h"

IMPLEMENT_DYNCREATE(CZynChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CZynChildFrame, CMDIChildWnd)
END_MESSAGE_MAP()

BOOL CZynChildFrame::PreCreateWindow(CREATESTRUCT& cs) { return CMDIChildWnd::PreCreateWindow(cs); }
