// COXCoolToolBar's custom buttons: the program-wide registry, putting a registered button
// on a bar (its template's own window on the first bar, copies on further ones), and
// showing each as its docking state asks: the window over a separator of its width, or
// an auto-sized image button where the window is hidden.
#include <algorithm>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/ctlwrap_combobox.h"
#include "platform/afx/frame.h"
#include "platform/base/oledatetime.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/menus/cool_toolbar.h"

namespace {

// Sets a date-time picker's time (DTM_SETSYSTEMTIME with GDT_VALID).
constexpr UINT kDtmSetSystemTime = 0x1002;
constexpr WPARAM kGdtValid = 0;

} // namespace

// ---- the registry ---------------------------------------------------------------------------------------------

int COXCoolToolBar::AddCustomButton(COXCustomTBButtonTemplate* pTemplate, int nID, int nWidth, int nHeight,
    int nFlags, int nImageIndex)
{
    OXCUSTOMBUTTONDESCRIPTOR descriptor(pTemplate, nID, nWidth, nHeight, nFlags, nImageIndex);
    return AddCustomButton(descriptor);
}

int COXCoolToolBar::AddCustomButton(OXCUSTOMBUTTONDESCRIPTOR& descriptor)
{
    const int index = GetCustomButtonIndex(descriptor.m_nID);
    if (index == -1) {
        m_mapAllCustomButtons[descriptor.m_nID] = descriptor;
        m_arrAllCustomButtonIDs.push_back(descriptor.m_nID);
        return static_cast<int>(m_arrAllCustomButtonIDs.size()) - 1;
    }
    return SetCustomButton(index, descriptor) ? index : -1;
}

BOOL COXCoolToolBar::SetCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor)
{
    if (nIndex < 0 || nIndex >= GetCustomButtonCount())
        return FALSE;
    const int nID = m_arrAllCustomButtonIDs[static_cast<size_t>(nIndex)];
    if (!m_mapAllCustomButtons[nID].Assign(descriptor))
        return FALSE;   // a descriptor of another button
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    if (!pFrame)
        return TRUE;
    // Every cool toolbar of the main frame showing the button follows.
    std::vector<COXCoolToolBar*> bars;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar && pBar->IsKindOf(RUNTIME_CLASS(COXCoolToolBar)))
            bars.push_back(static_cast<COXCoolToolBar*>(pBar));
    }
    for (COXCoolToolBar* pBar : bars) {
        for (auto& entry : pBar->m_mapCustomButtons) {
            if (entry.second.m_nID == nID) {
                entry.second.Assign(descriptor);
                pBar->RedrawToolBar(TRUE, TRUE);
                break;
            }
        }
    }
    return TRUE;
}

int COXCoolToolBar::GetCustomButtonIndex(int nID)
{
    const auto it = std::find(m_arrAllCustomButtonIDs.begin(), m_arrAllCustomButtonIDs.end(), nID);
    return it == m_arrAllCustomButtonIDs.end() ? -1 : static_cast<int>(it - m_arrAllCustomButtonIDs.begin());
}

int COXCoolToolBar::GetCustomButtonIndex(CWnd* pWnd)
{
    return pWnd && pWnd->m_hWnd ? GetCustomButtonIndex(pWnd->GetDlgCtrlID()) : -1;
}

BOOL COXCoolToolBar::GetRegisteredCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor)
{
    if (nIndex < 0 || nIndex >= GetCustomButtonCount())
        return FALSE;
    descriptor = m_mapAllCustomButtons[m_arrAllCustomButtonIDs[static_cast<size_t>(nIndex)]];
    return TRUE;
}

void COXCoolToolBar::ResetCustomButtons()
{
    m_mapAllCustomButtons.clear();
    m_arrAllCustomButtonIDs.clear();
    m_bCustomButtonsStateSaved = FALSE;
    m_bCustomButtonsStateLoaded = FALSE;
}

// ---- on this bar ------------------------------------------------------------------------------------------------

BOOL COXCoolToolBar::CreateCustomButton(int nIndex, OXCUSTOMBUTTONDESCRIPTOR& descriptor, DWORD dwStyle,
    DWORD dwStyleEx, LPCTSTR lpszClassName, LPCTSTR lpszWindowName)
{
    if (nIndex < 0 || nIndex >= GetCustomButtonCount())
        return FALSE;
    const int nID = m_arrAllCustomButtonIDs[static_cast<size_t>(nIndex)];
    OXCUSTOMBUTTONDESCRIPTOR& registered = m_mapAllCustomButtons[nID];
    if (!registered.m_pCBTemplate)
        return FALSE;
    CWnd* pWnd = registered.m_pCBTemplate->CBGetWindow();
    if (pWnd && ::IsWindow(pWnd->m_hWnd)) {
        // The registered window already shows on a bar: this bar gets a copy.
        COXCustomTBButtonTemplate* pCopy = registered.m_pCBTemplate->CBCreateCopy(this);
        if (!pCopy)
            return FALSE;
        descriptor = registered;
        descriptor.m_pCBTemplate = pCopy;
        return TRUE;
    }
    if (!registered.m_pCBTemplate->CBCreate(nID, this, dwStyle, dwStyleEx, lpszClassName, lpszWindowName))
        return FALSE;
    descriptor = registered;
    return TRUE;
}

BOOL COXCoolToolBar::InsertCustomButton(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx,
    LPCTSTR lpszClassName, LPCTSTR lpszWindowName)
{
    if (!m_hWnd)
        return FALSE;
    const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    if (nPosition < 0 || nPosition > nCount || nIndex < 0 || nIndex >= GetCustomButtonCount())
        return FALSE;
    // The window first: when it cannot be made the bar stays exactly as it was.
    OXCUSTOMBUTTONDESCRIPTOR descriptor;
    if (!CreateCustomButton(nIndex, descriptor, dwStyle, dwStyleEx, lpszClassName, lpszWindowName))
        return FALSE;
    TBBUTTON separator{};
    separator.iBitmap = -1;
    separator.fsStyle = TBSTYLE_SEP;
    separator.iString = -1;
    const BOOL bSuppressed = m_bNoInternalRedraw;
    m_bNoInternalRedraw = TRUE;
    const BOOL inserted = static_cast<BOOL>(
        SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(nPosition), reinterpret_cast<LPARAM>(&separator)));
    m_bNoInternalRedraw = bSuppressed;
    if (!inserted || !m_hWnd) {
        const OXCUSTOMBUTTONDESCRIPTOR& registered = m_mapAllCustomButtons[descriptor.m_nID];
        if (descriptor.m_pCBTemplate != registered.m_pCBTemplate) {
            descriptor.m_pCBTemplate->CBDelete();
        } else if (CWnd* pWnd = descriptor.m_pCBTemplate->CBGetWindow(); pWnd && ::IsWindow(pWnd->m_hWnd)) {
            pWnd->ShowWindow(SW_HIDE);
        }
        return FALSE;
    }
    m_mapCustomButtons[nPosition] = descriptor;
    if (m_bAdvancedCustomizationMode && descriptor.m_pCBTemplate)
        descriptor.m_pCBTemplate->CBSetCustomizationMode(TRUE);
    RedrawToolBar(TRUE, TRUE);
    return TRUE;
}

BOOL COXCoolToolBar::InsertComboBox(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"ComboBox", L"");
}

BOOL COXCoolToolBar::InsertEditBox(int nPosition, int nIndex, LPCTSTR lpszText, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"Edit", lpszText ? lpszText : L"");
}

BOOL COXCoolToolBar::InsertRichEditBox(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"RICHEDIT", L"");
}

BOOL COXCoolToolBar::InsertStaticCtrl(int nPosition, int nIndex, LPCTSTR lpszText, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"Static", lpszText ? lpszText : L"");
}

BOOL COXCoolToolBar::InsertHotKeyCtrl(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"msctls_hotkey32", L"");
}

BOOL COXCoolToolBar::InsertButtonCtrl(int nPosition, int nIndex, LPCTSTR lpszText, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"Button", lpszText ? lpszText : L"");
}

BOOL COXCoolToolBar::InsertCheckBox(int nPosition, int nIndex, LPCTSTR lpszText, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"Button", lpszText ? lpszText : L"");
}

BOOL COXCoolToolBar::InsertProgressBar(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"msctls_progress32", L"");
}

BOOL COXCoolToolBar::InsertSlider(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"msctls_trackbar32", L"");
}

BOOL COXCoolToolBar::InsertDateTimePicker(int nPosition, int nIndex, const COleDateTime& dateTime, DWORD dwStyle,
    DWORD dwStyleEx)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"SysDateTimePick32", L""))
        return FALSE;
    SYSTEMTIME st{};
    if (CWnd* pWnd = GetCustomButtonWnd(nPosition); pWnd && ::IsWindow(pWnd->m_hWnd) && dateTime.GetAsSystemTime(st))
        pWnd->SendMessage(kDtmSetSystemTime, kGdtValid, reinterpret_cast<LPARAM>(&st));
    return TRUE;
}

BOOL COXCoolToolBar::InsertIPAddressCtrl(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&icc);
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"SysIPAddress32", L"");
}

BOOL COXCoolToolBar::InsertComboBoxEx(int nPosition, int nIndex, DWORD dwStyle, DWORD dwStyleEx)
{
    return InsertCustomButton(nPosition, nIndex, dwStyle, dwStyleEx, L"ComboBoxEx32", L"");
}

// ---- queries ------------------------------------------------------------------------------------------------------

BOOL COXCoolToolBar::GetCustomButton(int nPosition, OXCUSTOMBUTTONDESCRIPTOR& descriptor) const
{
    const auto it = m_mapCustomButtons.find(nPosition);
    if (it == m_mapCustomButtons.end())
        return FALSE;
    descriptor = it->second;
    return TRUE;
}

CWnd* COXCoolToolBar::GetCustomButtonWnd(int nPosition) const
{
    const auto it = m_mapCustomButtons.find(nPosition);
    if (it == m_mapCustomButtons.end() || !it->second.m_pCBTemplate)
        return nullptr;
    return it->second.m_pCBTemplate->CBGetWindow();
}

int COXCoolToolBar::GetCustomButtonPosition(int nID) const
{
    for (const auto& [position, descriptor] : m_mapCustomButtons) {
        CWnd* pWnd = descriptor.m_pCBTemplate ? descriptor.m_pCBTemplate->CBGetWindow() : nullptr;
        if (pWnd && ::IsWindow(pWnd->m_hWnd) && pWnd->GetDlgCtrlID() == nID)
            return position;
    }
    return -1;
}

int COXCoolToolBar::GetCustomButtonPosition(CWnd* pWnd) const
{
    return pWnd && pWnd->m_hWnd ? GetCustomButtonPosition(pWnd->GetDlgCtrlID()) : -1;
}

// ---- showing --------------------------------------------------------------------------------------------------------

int COXCoolToolBar::CurrentShowFlag() const
{
    if (IsFloating())
        return OXCBD_SHOWFLOAT;
    return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) ? OXCBD_SHOWHORZ : OXCBD_SHOWVERT;
}

void COXCoolToolBar::UpdateCustomButtons(int nFirst, int nLast)
{
    if (!m_hWnd || m_mapCustomButtons.empty())
        return;
    if (nLast == -1)
        nLast = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)) - 1;
    std::vector<int> positions;
    for (const auto& entry : m_mapCustomButtons)
        if (entry.first >= nFirst && entry.first <= nLast)
            positions.push_back(entry.first);
    for (int position : positions)
        ShowCustomButton(position);
}

BOOL COXCoolToolBar::ShowCustomButton(int nPosition)
{
    const auto it = m_mapCustomButtons.find(nPosition);
    if (it == m_mapCustomButtons.end() || !m_hWnd)
        return FALSE;
    const OXCUSTOMBUTTONDESCRIPTOR descriptor = it->second;
    CWnd* pWnd = descriptor.m_pCBTemplate ? descriptor.m_pCBTemplate->CBGetWindow() : nullptr;
    if (!pWnd || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    const bool visible = (CWnd::GetStyle() & WS_VISIBLE) != 0;
    const bool show = descriptor.m_nFlags >= OXCBD_SHOWANY || (descriptor.m_nFlags & CurrentShowFlag()) != 0;
    const int nCtrlID = pWnd->GetDlgCtrlID();
    TBBUTTON button;
    _GetButton(nPosition, &button);
    if (show) {
        if (!(button.fsStyle & TBSTYLE_SEP) || button.iBitmap != descriptor.m_nWidth) {
            // The button's states (wrap, hidden) stay; only kind, command and width change.
            SetButtonInfo(nPosition, static_cast<UINT>(nCtrlID), MAKELONG(TBSTYLE_SEP, button.fsState),
                descriptor.m_nWidth);
        }
        CRect rect;
        GetItemRect(nPosition, &rect);
        rect.DeflateRect(2, 0);
        if (descriptor.m_nHeight > 0 && descriptor.m_nHeight < rect.Height()) {
            rect.top += (rect.Height() - descriptor.m_nHeight) / 2;
            rect.bottom = rect.top + descriptor.m_nHeight;
        }
        if (pWnd->IsKindOf(RUNTIME_CLASS(CComboBox))) {
            CRect first;
            GetItemRect(0, &first);
            rect.OffsetRect(0, (first.bottom - 22) / 2 + 1);
        }
        pWnd->MoveWindow(&rect, visible);
        pWnd->ShowWindow(SW_SHOWNA);
    } else {
        if ((button.fsStyle & TBSTYLE_SEP) || button.idCommand != nCtrlID) {
            SetButtonInfo(nPosition, static_cast<UINT>(nCtrlID), MAKELONG(TBSTYLE_BUTTON, button.fsState),
                descriptor.m_nImageIndex);
            TBBUTTONINFOW info{};
            info.cbSize = sizeof info;
            info.dwMask = TBIF_STYLE;
            if (DefWindowProc(TB_GETBUTTONINFOW, static_cast<WPARAM>(nCtrlID), reinterpret_cast<LPARAM>(&info)) == -1)
                info.fsStyle = BTNS_AUTOSIZE;
            else
                info.fsStyle |= BTNS_AUTOSIZE;
            info.dwMask = TBIF_STYLE;
            DefWindowProc(TB_SETBUTTONINFOW, static_cast<WPARAM>(nCtrlID), reinterpret_cast<LPARAM>(&info));
        }
        pWnd->ShowWindow(SW_HIDE);
    }
    // Rewriting the button hid the window for a moment: its visibility comes back unpainted.
    if (m_hWnd && ((CWnd::GetStyle() & WS_VISIBLE) != 0) != visible) {
        const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, visible ? (style | WS_VISIBLE) : (style & ~static_cast<LONG_PTR>(WS_VISIBLE)));
    }
    return TRUE;
}
