// CZynAcConfigView's layout: the button row below the sheet, Exit at the right edge, the
// status text between, the sheet filling the room above (or rescaled once for a font of
// other proportions), and where the status text starts without the multi-select box.
#include <algorithm>

#include "frames/acconfig_view.h"
#include "platform/base/tchar.h"
#include "platform/user/dialog.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

namespace {
CRect RectIn(const CWnd& parent, CWnd& control)
{
    CRect r;
    control.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}
} // namespace

CSize CZynAcConfigView::DialogBaseOf(HWND hWnd)
{
    RECT r{0, 0, 4, 8};
    ::MapDialogRect(hWnd, &r);
    return CSize(r.right - r.left, r.bottom - r.top);
}

void CZynAcConfigView::AllowMultipleSelect(int bAllow)
{
    m_bAllowMultiSelect = bAllow;
    if (!m_hWnd || !m_chkMultiSelect.GetSafeHwnd())
        return;
    m_chkMultiSelect.ShowWindow(bAllow ? SW_SHOW : SW_HIDE);
    m_chkMultiSelect.EnableWindow(bAllow ? TRUE : FALSE);
    if (bAllow || !m_stStatus.GetSafeHwnd())
        return;
    // The status text takes the box's place: it starts 10 pixels after the last button
    // on its left.
    CButton& left = m_btnHelp.GetSafeHwnd() ? m_btnHelp : m_btnDelete;
    if (!left.GetSafeHwnd())
        return;
    const CRect anchor = RectIn(*this, left);
    CRect status = RectIn(*this, m_stStatus);
    status.left = anchor.right + 10;
    m_stStatus.SetWindowPos(nullptr, status.left, status.top, std::max(0, status.Width()), status.Height(),
        SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZynAcConfigView::OnSize(UINT nType, int cx, int cy)
{
    BaseConfigView::OnSize(nType, cx, cy);
    if (!m_btnAdd.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    // The row never rises above the sheet as it was made.
    const int y = std::max(m_nSheetHeight + 2, H - 30);
    for (CWnd* control : {static_cast<CWnd*>(&m_btnAdd), static_cast<CWnd*>(&m_btnModify),
             static_cast<CWnd*>(&m_btnDelete), static_cast<CWnd*>(&m_btnClear), static_cast<CWnd*>(&m_btnCancel),
             static_cast<CWnd*>(&m_btnOK), static_cast<CWnd*>(&m_btnHelp), static_cast<CWnd*>(&m_stStatus)})
        MoveControlY(*control, y);
    MoveControlY(m_chkMultiSelect, y + 3);
    if (m_btnExit.GetSafeHwnd()) {
        const CRect exit = RectIn(*this, m_btnExit);
        MoveControl(m_btnExit, W - exit.Width() - 10, y);
        if (m_stStatus.GetSafeHwnd()) {
            const CRect status = RectIn(*this, m_stStatus);
            const int right = W - exit.Width() - 10 - 5;
            m_stStatus.SetWindowPos(nullptr, 0, 0, std::max(0, right - status.left), status.Height(),
                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    const HWND hSheet = m_pSheet ? m_pSheet->GetSafeHwnd() : nullptr;
    if (m_bAutoResizeSheet && hSheet) {
        const CRect sheet(2, 0, std::max(W - 5, 2 + m_nSheetWidth), std::max(y - 2, m_nSheetHeight));
        m_pSheet->SetWindowPos(nullptr, sheet.left, sheet.top, sheet.Width(), sheet.Height(),
            SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (m_bFixDoubleByteLayout && hSheet) {
        // Once: the sheet as it would be laid out for a 6 x 13 pixel character.
        CRect sheet = RectIn(*this, *m_pSheet);
        const CSize base = DialogBaseOf(hSheet);
        if (base.cx > 0 && base.cy > 0) {
            sheet.left = MulDiv(sheet.left, 6, base.cx);
            sheet.right = MulDiv(sheet.right, 6, base.cx);
            sheet.top = MulDiv(sheet.top, 13, base.cy);
            sheet.bottom = MulDiv(sheet.bottom, 13, base.cy);
            m_pSheet->SetWindowPos(nullptr, 0, 0, sheet.Width(), sheet.Height(),
                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        m_bFixDoubleByteLayout = 0;
    }
    if (m_btnHelp.GetSafeHwnd())
        m_btnHelp.Invalidate();
}
