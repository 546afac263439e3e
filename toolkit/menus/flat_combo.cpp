// The flat combo box's parts, fonts, tooltip and hot state; its painting is in
// flat_combo_paint.cpp.
#include "toolkit/menus/flat_combo.h"

#include "platform/afx/afxpriv.h"
#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_geometry.h"

namespace cool = zyn::toolkit::cool;

// ---- the edit part ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(COXCoolComboEdit, COXCoolCtrl<CEdit>)
END_MESSAGE_MAP()

void COXCoolComboEdit::OnFocusChange(CWnd* pWndGainFocus, CWnd* pWndLooseFocus)
{
    if (m_pCombo && m_pCombo->GetSafeHwnd() && FocusChangeFlipsHotState(pWndGainFocus, pWndLooseFocus))
        m_pCombo->OnChangeHotState(m_bInHotState ? FALSE : TRUE);
    COXCoolCtrl<CEdit>::OnFocusChange(pWndGainFocus, pWndLooseFocus);
}

// ---- the combo box ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(COXCoolComboBox, COXCoolCtrl<CComboBox>)
    ON_WM_PAINT()
    ON_WM_PARENTNOTIFY()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_SETFONT, &COXCoolComboBox::OnSetFontMessage)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, &COXCoolComboBox::OnCloseUp)
END_MESSAGE_MAP()

BOOL COXCoolComboBox::IsOwnerDrawn() const
{
    return (GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) ? TRUE : FALSE;
}

int COXCoolComboBox::GetButtonWidth() const { return ::GetSystemMetrics(SM_CXVSCROLL); }

CRect COXCoolComboBox::GetButtonRect() const
{
    CRect client;
    GetClientRect(&client);
    return CRect(cool::ComboButtonRect(client, GetStyle(), GetButtonWidth()));
}

BOOL COXCoolComboBox::IsDroppedDown() const { return GetDroppedState() ? TRUE : FALSE; }

void COXCoolComboBox::MeasureFontHeights()
{
    CWindowDC dc(this);
    const auto hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOld = hFont ? dc.SelectObject(static_cast<HGDIOBJ>(hFont)) : nullptr;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nFontHeight = tm.tmHeight;
    m_nTextExtentHeight = dc.GetTextExtent(L"ygaQ!|", 6).cy;
    if (hOld)
        dc.SelectObject(hOld);
}

BOOL COXCoolComboBox::InitializeCoolCtrl()
{
    BOOL bResult = COXCoolCtrl<CComboBox>::InitializeCoolCtrl();
    MeasureFontHeights();
    if (!SubclassEditCtrl())
        bResult = FALSE;
    if (!SubclassListBoxCtrl())
        bResult = FALSE;
    return bResult;
}

void COXCoolComboBox::PreSubclassWindow()
{
    COXCoolCtrl<CComboBox>::PreSubclassWindow();
    // A combo subclassed from a dialog already measured its field; it takes the font's.
    if (m_bInitialized && IsOwnerDrawn() && !AfxGetThreadState()->m_pWndInit)
        SetItemHeight(-1, static_cast<UINT>(m_nFontHeight + 1));
}

LRESULT COXCoolComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        return DefWindowProc(message, wParam, lParam);
    return COXCoolCtrl<CComboBox>::WindowProc(message, wParam, lParam);
}

LRESULT COXCoolComboBox::OnSetFontMessage(WPARAM, LPARAM)
{
    Default();
    MeasureFontHeights();
    if (GetItemHeight(-1) != m_nFontHeight + 1)
        SetItemHeight(-1, static_cast<UINT>(m_nFontHeight + 1));
    return 0;
}

void COXCoolComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct)
        lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nTextExtentHeight + 1);
}

int COXCoolComboBox::CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    if (!lpCompareItemStruct)
        return 0;
    CString first;
    CString second;
    if (lpCompareItemStruct->itemID1 != static_cast<UINT>(-1))
        GetLBText(static_cast<int>(lpCompareItemStruct->itemID1), first);
    if (lpCompareItemStruct->itemID2 != static_cast<UINT>(-1))
        GetLBText(static_cast<int>(lpCompareItemStruct->itemID2), second);
    const int order = first.CompareNoCase(second);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// ---- the parts ---------------------------------------------------------------------------------------------------

template <class TPart>
static void PassTooltip(const COXCoolComboBox& combo, TPart& part)
{
    CString sText;
    if (combo.GetTooltipText(sText) && !sText.IsEmpty())
        part.SetTooltipText(sText);
}

void COXCoolComboBox::PassTooltipTo(COXCoolCtrl<CEdit>& part) { PassTooltip(*this, part); }
void COXCoolComboBox::PassTooltipTo(COXCoolCtrl<CListBox>& part) { PassTooltip(*this, part); }

BOOL COXCoolComboBox::SubclassEditCtrl()
{
    if (m_edit.GetSafeHwnd())
        return TRUE;
    const HWND hEdit = ::GetDlgItem(m_hWnd, kEditID);
    if (!hEdit)
        return TRUE;
    m_edit.SetCombo(this);
    if (!m_edit.SubclassWindow(hEdit))
        return FALSE;
    PassTooltipTo(m_edit);
    return TRUE;
}

BOOL COXCoolComboBox::SubclassListBoxCtrl()
{
    // An owner-drawn list draws through the combo box; it keeps its own procedure.
    if (IsOwnerDrawn() || m_listBox.GetSafeHwnd())
        return TRUE;
    const HWND hList = ::GetDlgItem(m_hWnd, kListID);
    if (!hList)
        return TRUE;
    if (!m_listBox.SubclassWindow(hList))
        return FALSE;
    PassTooltipTo(m_listBox);
    return TRUE;
}

void COXCoolComboBox::OnParentNotify(UINT message, LPARAM lParam)
{
    if (LOWORD(message) == WM_CREATE) {
        const UINT id = HIWORD(message);
        if (id == kListID)
            SubclassListBoxCtrl();
        else if (id == kEditID)
            SubclassEditCtrl();
    }
    COXCoolCtrl<CComboBox>::OnParentNotify(message, lParam);
}

HBRUSH COXCoolComboBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // A drop-down combo's list is a popup without an ID: it is met here, the first time
    // it paints.
    if (nCtlColor == CTLCOLOR_LISTBOX && !IsOwnerDrawn() && !m_listBox.GetSafeHwnd() && pWnd && pWnd->m_hWnd &&
        m_listBox.SubclassWindow(pWnd->m_hWnd)) {
        PassTooltipTo(m_listBox);
        m_listBox.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    return COXCoolCtrl<CComboBox>::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL COXCoolComboBox::OnChangeTooltipText(const CString& sText)
{
    BOOL bResult = TRUE;
    if (m_edit.GetSafeHwnd() && !m_edit.SetTooltipText(sText))
        bResult = FALSE;
    if (m_listBox.GetSafeHwnd() && !m_listBox.SetTooltipText(sText))
        bResult = FALSE;
    return bResult;
}

// ---- hot state ---------------------------------------------------------------------------------------------------

void COXCoolComboBox::OnChangeHotState(BOOL bInHotState)
{
    if (!bInHotState && m_edit.GetSafeHwnd() && ::GetFocus() == m_edit.m_hWnd)
        return;
    COXCoolCtrl<CComboBox>::OnChangeHotState(bInHotState);
    if (m_hWnd && !IsDroppedDown())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL COXCoolComboBox::OnCloseUp()
{
    CheckMousePos(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Handled here: the parent does not hear CBN_CLOSEUP from a flat combo box.
    return TRUE;
}
