#include "tests/skins/skinned_view_support.h"

namespace skintest {

namespace {
void FillClient(CWnd* wnd, CDC* pDC)
{
    CRect client;
    wnd->GetClientRect(&client);
    pDC->FillSolidRect(&client, kFormClient);
}
} // namespace

IMPLEMENT_DYNCREATE(SkinnedTestForm, COXSkinnedView<CFormView>)
BEGIN_MESSAGE_MAP(SkinnedTestForm, COXSkinnedView<CFormView>)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

SkinnedTestForm::SkinnedTestForm() : COXSkinnedView<CFormView>(IDD_SKIN_FORM) {}

BOOL SkinnedTestForm::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= static_cast<LONG>(FormStyle::style);
    cs.dwExStyle |= FormStyle::exStyle;
    return COXSkinnedView<CFormView>::PreCreateWindow(cs);
}

BOOL SkinnedTestForm::OnEraseBkgnd(CDC* pDC)
{
    if (!FormStyle::fillClient)
        return COXSkinnedView<CFormView>::OnEraseBkgnd(pDC);
    FillClient(this, pDC);
    return TRUE;
}

IMPLEMENT_DYNCREATE(PlainTestForm, CFormView)
BEGIN_MESSAGE_MAP(PlainTestForm, CFormView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

PlainTestForm::PlainTestForm() : CFormView(IDD_SKIN_FORM) {}

BOOL PlainTestForm::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= static_cast<LONG>(FormStyle::style);
    cs.dwExStyle |= FormStyle::exStyle;
    return CFormView::PreCreateWindow(cs);
}

BOOL PlainTestForm::OnEraseBkgnd(CDC* pDC)
{
    FillClient(this, pDC);
    return TRUE;
}

} // namespace skintest
