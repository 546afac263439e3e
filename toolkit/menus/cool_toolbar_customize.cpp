// COXCoolToolBar's customisation: the two schemes (the control's own, CCS_ADJUSTABLE, and
// the advanced mode with its selected button, context menu and commands, each offered to
// the host first as a customisation notification), the drop-target answers, and the
// bookkeeping that keeps the selected and dragged indices and the custom buttons with
// their buttons when buttons are inserted, deleted or moved.
#include <algorithm>
#include <vector>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/menu.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"

// ---- the schemes ------------------------------------------------------------------------------------------------

void COXCoolToolBar::SetCustomizable(BOOL bCustomizable, BOOL bAdvanced)
{
    const bool allowed = bCustomizable && m_pBitmapIds && m_nBitmapIdCount > 0;
    if (m_hWnd) {
        if (allowed && !bAdvanced)
            ModifyStyle(0, CCS_ADJUSTABLE);
        else
            ModifyStyle(CCS_ADJUSTABLE, 0);
    }
    m_bCustomizable = allowed && bAdvanced;
}

BOOL COXCoolToolBar::IsCustomizable(BOOL bAdvanced) const
{
    if (bAdvanced)
        return m_bCustomizable;
    return (GetStyle() & CCS_ADJUSTABLE) != 0;
}

void COXCoolToolBar::SetBitmapIds(UINT* pIds, int nCount)
{
    m_pBitmapIds = pIds;
    m_nBitmapIdCount = pIds ? std::max(0, nCount) : 0;
    SetCustomizable(TRUE, TRUE);
}

int COXCoolToolBar::FindBitmapIndex(UINT nID) const
{
    for (int i = 0; i < m_nBitmapIdCount; ++i)
        if (m_pBitmapIds[i] == nID)
            return i;
    return -1;
}

void COXCoolToolBar::SetAdvancedCustomizationMode(BOOL bMode, HWND hWndCustomizationWindow)
{
    if (bMode && !IsCustomizable(TRUE))
        SetCustomizable(TRUE, TRUE);
    if (!bMode)
        SetCustomizedButton(-1);
    m_hWndCustomization = hWndCustomizationWindow;
    m_bAdvancedCustomizationMode = bMode;
    for (auto& entry : m_mapCustomButtons)
        if (entry.second.m_pCBTemplate)
            entry.second.m_pCBTemplate->CBSetCustomizationMode(bMode);
}

int COXCoolToolBar::SetCustomizedButton(int nIndex)
{
    const int previous = m_nCustomizedButton;
    m_nCustomizedButton = nIndex;
    if (previous != nIndex && previous != -1)
        RedrawButton(previous);
    if (nIndex != -1 && m_hWnd) {
        TBBUTTON button{};
        if (DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)) &&
            (button.fsState & TBSTATE_PRESSED)) {
            TBBUTTONINFOW info{};
            info.cbSize = sizeof info;
            info.dwMask = TBIF_STATE | TBIF_BYINDEX;
            info.fsState = static_cast<BYTE>(button.fsState & ~TBSTATE_PRESSED);
            DefWindowProc(TB_SETBUTTONINFOW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
        } else {
            RedrawButton(nIndex);
        }
    }
    SendCustomizeNotification(ID_OXCUSTTB_SELECTED);
    return previous;
}

LRESULT COXCoolToolBar::SendCustomizeNotification(UINT nEvent, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    HWND hTarget = m_hWndCustomization && ::IsWindow(m_hWndCustomization) ? m_hWndCustomization : ::GetParent(m_hWnd);
    if (!hTarget)
        return 0;
    NMCTBCUSTOMIZE notice{};
    notice.hdr.hwndFrom = m_hWnd;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notice.hdr.code = OXCTBN_CUSTOMIZECMD;
    notice.nCustomizeEventID = nEvent;
    notice.lParam = lParam;
    return ::SendMessageW(hTarget, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

COXSHBDropSource* COXCoolToolBar::GetDropSource()
{
    m_dropSource.SetOwner(this);
    return &m_dropSource;
}

// ---- the context menu and its commands ----------------------------------------------------------------------

BOOL COXCoolToolBar::DisplayCustomizeButtonContextMenu(int nButtonIndex, CPoint ptScreen)
{
    CMenu menu;
    if (!m_hWnd || !menu.CreatePopupMenu())
        return FALSE;
    const int nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    const CString text = GetButtonText(nButtonIndex);
    TBBUTTON button;
    _GetButton(nButtonIndex, &button);
    auto isPlainSeparator = [this](int i) {
        TBBUTTON b;
        return _GetButton(i, &b) && (b.fsStyle & TBSTYLE_SEP) && !IsCustomButton(i);
    };
    auto item = [](UINT nString) {
        CString s;
        s.LoadString(nString);
        return s;
    };
    menu.AppendMenu(MF_STRING, ID_OXCUSTTB_DELETE, item(IDS_OXCUSTTB_DELETE));
    menu.AppendMenu(MF_SEPARATOR, UINT_PTR{0}, static_cast<LPCTSTR>(nullptr));
    menu.AppendMenu(MF_STRING, ID_OXCUSTTB_APPEARANCE, item(IDS_OXCUSTTB_APPEARANCE));
    if (!(button.fsStyle & TBSTYLE_SEP) && !IsCustomButton(nButtonIndex)) {
        menu.AppendMenu(MF_STRING | (text.IsEmpty() ? MF_CHECKED : 0), ID_OXCUSTTB_IMAGEONLY,
            item(IDS_OXCUSTTB_IMAGEONLY));
        menu.AppendMenu(MF_STRING | (!text.IsEmpty() && button.iBitmap != -1 ? MF_CHECKED : 0),
            ID_OXCUSTTB_IMAGETEXT, item(IDS_OXCUSTTB_IMAGETEXT));
    }
    menu.AppendMenu(MF_SEPARATOR, UINT_PTR{0}, static_cast<LPCTSTR>(nullptr));
    const bool noBefore = nButtonIndex == 0 || isPlainSeparator(nButtonIndex - 1);
    const bool noAfter = nButtonIndex == nCount - 1 || isPlainSeparator(nButtonIndex + 1);
    menu.AppendMenu(MF_STRING | (noBefore ? MF_GRAYED : 0), ID_OXCUSTTB_SEPARATOR_BEFORE,
        item(IDS_OXCUSTTB_SEPARATOR_BEFORE));
    menu.AppendMenu(MF_STRING | (noAfter ? MF_GRAYED : 0), ID_OXCUSTTB_SEPARATOR_AFTER,
        item(IDS_OXCUSTTB_SEPARATOR_AFTER));
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
    menu.DestroyMenu();
    return TRUE;
}

void COXCoolToolBar::OnCustomizeCommand(UINT nID)
{
    if (SendCustomizeNotification(nID) != 0)
        return;   // the host did it its own way
    DoCustomizeCommand(nID);
}

void COXCoolToolBar::DoCustomizeCommand(UINT nID)
{
    const int n = m_nCustomizedButton;
    const int nCount = m_hWnd ? static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0)) : 0;
    if (n < 0 || n >= nCount)
        return;
    const UINT nCommand = GetItemID(n);
    switch (nID) {
    case ID_OXCUSTTB_DELETE:
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(n), 0);
        break;
    case ID_OXCUSTTB_IMAGEONLY: {
        const CString text = GetButtonText(n);
        if (!text.IsEmpty()) {
            m_mapRecentButtonTexts[nCommand] = text;
            SetButtonText(n, L"");
            RedrawToolBar(TRUE, TRUE);
        }
        break;
    }
    case ID_OXCUSTTB_IMAGETEXT: {
        if (!GetButtonText(n).IsEmpty())
            break;
        CString text = GetRecentButtonText(nCommand);
        if (text.IsEmpty()) {
            CString full;
            if (full.LoadString(nCommand)) {
                const int nl = full.Find(L'\n');
                text = nl < 0 ? full : full.Mid(nl + 1);
            }
        }
        if (!text.IsEmpty()) {
            SetButtonText(n, text);
            RedrawToolBar(TRUE, TRUE);
        }
        break;
    }
    case ID_OXCUSTTB_SEPARATOR_BEFORE:
        InsertSeparatorAt(n);
        break;
    case ID_OXCUSTTB_SEPARATOR_AFTER:
        InsertSeparatorAt(n + 1);
        break;
    default:
        break;   // Appearance: the host's own business
    }
}

BOOL COXCoolToolBar::InsertSeparatorAt(int nIndex)
{
    TBBUTTON separator{};
    separator.iBitmap = -1;
    separator.fsStyle = TBSTYLE_SEP;
    separator.iString = -1;
    return m_hWnd && SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&separator));
}

// ---- keeping indices in step ------------------------------------------------------------------------------------

LRESULT COXCoolToolBar::OnInsertButton(WPARAM wParam, LPARAM /*lParam*/)
{
    const int nBefore = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    const LRESULT result = Default();
    if (!result || !m_hWnd)
        return result;
    m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    // -1 or an index past the end appends.
    int nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (nIndex < 0 || nIndex > nBefore)
        nIndex = nBefore;
    AfterInsert(nIndex);
    RedrawToolBar(TRUE, TRUE);
    return result;
}

void COXCoolToolBar::AfterInsert(int nIndex)
{
    ValidateRect(nullptr);
    if (m_nCustomizedButton != -1 && nIndex <= m_nCustomizedButton)
        SetCustomizedButton(m_nCustomizedButton + 1);
    if (m_nDraggedButton != -1 && nIndex <= m_nDraggedButton)
        ++m_nDraggedButton;
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    for (auto& [position, descriptor] : m_mapCustomButtons)
        moved[position >= nIndex ? position + 1 : position] = descriptor;
    m_mapCustomButtons = std::move(moved);
}

LRESULT COXCoolToolBar::OnDeleteButton(WPARAM wParam, LPARAM /*lParam*/)
{
    const int nBefore = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    const LRESULT result = Default();
    if (!result || !m_hWnd)
        return result;
    m_nCount = static_cast<int>(DefWindowProc(TB_BUTTONCOUNT, 0, 0));
    SyncSizes();
    m_bDelayedButtonLayout = TRUE;
    AfterDelete(static_cast<int>(wParam), nBefore);
    if (m_hWnd)
        RedrawToolBar(TRUE, TRUE);
    return result;
}

void COXCoolToolBar::AfterDelete(int nIndex, int nCountBefore)
{
    ValidateRect(nullptr);
    if (const auto it = m_mapCustomButtons.find(nIndex); it != m_mapCustomButtons.end()) {
        const OXCUSTOMBUTTONDESCRIPTOR descriptor = it->second;
        m_mapCustomButtons.erase(it);
        if (COXCustomTBButtonTemplate* pTemplate = descriptor.m_pCBTemplate) {
            CWnd* pWnd = pTemplate->CBGetWindow();
            const HWND hWnd = pWnd ? pWnd->m_hWnd : nullptr;
            pTemplate->CBDelete();
            // A window its template keeps must not stay over the buttons that moved up.
            if (hWnd && ::IsWindow(hWnd) && ::GetParent(hWnd) == m_hWnd)
                ::ShowWindow(hWnd, SW_HIDE);
        }
    }
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    for (auto& [position, descriptor] : m_mapCustomButtons)
        moved[position > nIndex ? position - 1 : position] = descriptor;
    m_mapCustomButtons = std::move(moved);
    if (m_nCustomizedButton > nIndex)
        SetCustomizedButton(m_nCustomizedButton - 1);
    else if (m_nCustomizedButton == nIndex)
        SetCustomizedButton(-1);
    if (m_nDraggedButton > nIndex)
        --m_nDraggedButton;
    else if (m_nDraggedButton == nIndex)
        m_nDraggedButton = -1;
    if (!m_hWnd)
        return;
    // No separator is left dangling at either end.
    const int nCount = nCountBefore - 1;
    auto plainSeparator = [this](int i) {
        TBBUTTON b{};
        return DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)) &&
            (b.fsStyle & TBSTYLE_SEP) && !IsCustomButton(i);
    };
    const BOOL bSuppressed = m_bNoInternalRedraw;
    m_bNoInternalRedraw = TRUE;
    if (nIndex == nCount && nCount > 0 && plainSeparator(nCount - 1))
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nCount - 1), 0);
    else if (nIndex == 0 && nCount > 0 && plainSeparator(0))
        SendMessage(TB_DELETEBUTTON, 0, 0);
    m_bNoInternalRedraw = bSuppressed;
}

LRESULT COXCoolToolBar::OnMoveButton(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    if (!result || !m_hWnd)
        return result;
    m_bDelayedButtonLayout = TRUE;
    AfterMove(static_cast<int>(wParam), static_cast<int>(lParam));
    return result;
}

void COXCoolToolBar::AfterMove(int nFrom, int nTo)
{
    if (nFrom == nTo)
        return;
    const int lo = std::min(nFrom, nTo), hi = std::max(nFrom, nTo);
    // Every entry stays with its button: those between shift one place toward nFrom.
    std::map<int, OXCUSTOMBUTTONDESCRIPTOR> moved;
    for (auto& [position, descriptor] : m_mapCustomButtons) {
        int to = position;
        if (position == nFrom)
            to = nTo;
        else if (nFrom < nTo && position > nFrom && position <= nTo)
            to = position - 1;
        else if (nFrom > nTo && position >= nTo && position < nFrom)
            to = position + 1;
        moved[to] = descriptor;
    }
    m_mapCustomButtons = std::move(moved);
    UpdateCustomButtons(lo, hi);
}

// ---- the drop target (advanced customisation only) --------------------------------------------------------

LRESULT COXCoolToolBar::OnDragEnterMsg(WPARAM wParam, LPARAM lParam) { return OnDragEnter(wParam, lParam); }
LRESULT COXCoolToolBar::OnDragLeaveMsg(WPARAM wParam, LPARAM lParam) { return OnDragLeave(wParam, lParam); }
LRESULT COXCoolToolBar::OnDragOverMsg(WPARAM wParam, LPARAM lParam) { return OnDragOver(wParam, lParam); }
LRESULT COXCoolToolBar::OnDropMsg(WPARAM wParam, LPARAM lParam) { return OnDrop(wParam, lParam); }

LRESULT COXCoolToolBar::OnDragEnter(WPARAM wParam, LPARAM lParam)
{
    if (!IsCustomizable(TRUE))
        return 0;
    m_bDragInside = TRUE;
    return OnDragOver(wParam, lParam);
}

LRESULT COXCoolToolBar::OnDragOver(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable(TRUE))
        return 0;
    if (auto* pAction = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        pAction->result = DROPEFFECT_NONE;
    return TRUE;
}

LRESULT COXCoolToolBar::OnDragLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (!IsCustomizable(TRUE))
        return 0;
    SetInsertMark(-1, 0);
    if (!m_bDragStartedHere)
        m_bDragInside = FALSE;
    return TRUE;
}

LRESULT COXCoolToolBar::OnDrop(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable(TRUE))
        return 0;
    if (auto* pAction = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        pAction->result = FALSE;
    m_bDragInside = FALSE;
    return TRUE;
}

void COXCoolToolBar::OnRemoveDraggedButton(int nIndex)
{
    if (m_hWnd)
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0);
}
