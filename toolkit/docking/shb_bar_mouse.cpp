// The user's side of the shortcut bar: clicks on headers, the flat headers' pressed and
// hover looks, dragging a header onto another, automatic expansion while the mouse (or a
// drag) rests on a header, the context menu and its commands, renaming a header in place,
// header tooltips, and the routing of commands.
#include <algorithm>
#include <string>

#include "platform/afx/cmdui.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/menu.h"
#include "platform/afx/winapp.h"
#include "platform/base/codepage.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/icon.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_internal.h"
#include "toolkit/docking/shb_list.h"

namespace {

bool LeftButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

CString MenuText(UINT nID, const wchar_t* fallback)
{
    CString text;
    if (!text.LoadString(nID))
        text = fallback;
    return text;
}

} // namespace

// ---- small state changes ----------------------------------------------------------------------------------------

void COXShortcutBar::SetMouseOverGroup(HSHBGROUP hGroup)
{
    if (hGroup == m_hMouseOverGroup)
        return;
    const HSHBGROUP old = m_hMouseOverGroup;
    m_hMouseOverGroup = hGroup;
    if (m_dwBarStyle & SHBS_FLATGROUPBUTTON) {
        if (old)
            UpdateHeader(old);
        if (hGroup)
            UpdateHeader(hGroup);
    }
}

void COXShortcutBar::EndPressedState()
{
    const HSHBGROUP old = m_hPressedGroup;
    m_hPressedGroup = nullptr;
    if (old && (m_dwBarStyle & SHBS_FLATGROUPBUTTON))
        UpdateHeader(old);
}

void COXShortcutBar::SetDragGroup(HSHBGROUP hGroup)
{
    m_hDragGroup = hGroup;
    NotifyGroup(SHBN_SETDRAGGROUP, hGroup, reinterpret_cast<LPARAM>(&m_ptDragOffset));
}

void COXShortcutBar::SetDropHilightGroup(HSHBGROUP hGroup)
{
    if (hGroup == m_hDropHilightGroup)
        return;
    const HSHBGROUP old = m_hDropHilightGroup;
    m_hDropHilightGroup = hGroup;
    const bool image = (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE) && m_pDragImage;
    if (image)
        CImageList::DragShowNolock(FALSE);
    if (old)
        UpdateHeader(old);
    if (hGroup)
        UpdateHeader(hGroup);
    if (image)
        CImageList::DragShowNolock(TRUE);
}

void COXShortcutBar::CancelAutoExpand()
{
    if (m_nAutoExpandTimer && m_hWnd)
        KillTimer(SHB_IDT_AUTOEXPAND);
    m_nAutoExpandTimer = 0;
    m_hAutoExpandGroup = nullptr;
}

void COXShortcutBar::StartAutoExpand(HSHBGROUP hGroup, UINT nDelay)
{
    m_hAutoExpandGroup = hGroup;
    m_nAutoExpandTimer = SetTimer(SHB_IDT_AUTOEXPAND, nDelay, nullptr);
}

void COXShortcutBar::UpdateMouseOver(CPoint ptClient)
{
    CPoint screen = ptClient;
    ::ClientToScreen(m_hWnd, &screen);
    UINT hit = SHB_NOWHERE;
    HSHBGROUP h = nullptr;
    if (::WindowFromPoint(screen) == m_hWnd)
        h = HitTest(ptClient, &hit);
    SetMouseOverGroup(hit == SHB_ONHEADER ? h : nullptr);
}

// ---- buttons and moves -------------------------------------------------------------------------------------------

void COXShortcutBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    UINT hit = SHB_NOWHERE;
    const HSHBGROUP h = HitTest(point, &hit);
    if (hit != SHB_ONHEADER || !h) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    m_hPressedGroup = h;
    if (m_dwBarStyle & SHBS_FLATGROUPBUTTON)
        UpdateHeader(h);
    else
        ExpandGroup(h);
    if (!Group(h) || (m_dwBarStyle & SHBS_DISABLEDRAGDROPHEADER))
        return;
    // The expansion may have moved the header away from under the cursor.
    if (HitTest(point, &hit) != h || hit != SHB_ONHEADER)
        return;
    if (m_nDragStartTimer)
        KillTimer(SHB_IDT_DRAGGROUP);
    m_nDragStartTimer = SetTimer(SHB_IDT_DRAGGROUP, 100, nullptr);
    m_hDragStartGroup = h;
    CRect rect;
    GetGroupHeaderRect(h, &rect);
    m_ptDragOffset = point - rect.TopLeft();
}

void COXShortcutBar::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

HSHBGROUP COXShortcutBar::FindDropTarget(CPoint ptClient) const
{
    CRect dragRect;
    if (!GetGroupHeaderRect(m_hDragGroup, &dragRect))
        return nullptr;
    if (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE)
        dragRect.OffsetRect(ptClient - m_ptDragOffset - dragRect.TopLeft());
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect meet;
    if (!meet.IntersectRect(dragRect, client))
        return nullptr;
    CRect inChild;
    if (!m_rectChildWnd.IsRectEmpty() && inChild.IntersectRect(dragRect, m_rectChildWnd) && inChild == dragRect)
        return nullptr;
    HSHBGROUP best = nullptr;
    int64_t bestArea = 0;
    for (const auto& [h, rect] : m_headerRects) {
        CRect overlap;
        if (h == m_hDragGroup || !overlap.IntersectRect(dragRect, rect))
            continue;
        const int64_t area = static_cast<int64_t>(overlap.Width()) * overlap.Height();
        if (area > bestArea) {
            best = h;
            bestArea = area;
        }
    }
    return best;
}

void COXShortcutBar::OnMouseMove(UINT nFlags, CPoint point)
{
    UINT hit = SHB_NOWHERE;
    HSHBGROUP h = HitTest(point, &hit);
    const HSHBGROUP onHeader = hit == SHB_ONHEADER ? h : nullptr;
    SetMouseOverGroup(onHeader);
    const bool buttonDown = (nFlags & MK_LBUTTON) != 0;
    if (m_hPressedGroup && !buttonDown)
        EndPressedState();

    if (m_hDragGroup) {
        if (m_pDragImage && (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE)) {
            CPoint screen = point;
            ::ClientToScreen(m_hWnd, &screen);
            CImageList::DragMove(screen);
        }
        HSHBGROUP target = onHeader ? onHeader : FindDropTarget(point);
        if (target == m_hDragGroup)
            target = nullptr;
        SetDropHilightGroup(target);
        ::SetCursor(::LoadCursorW(nullptr, onHeader && onHeader != m_hDragGroup ? IDC_ARROW : IDC_NO));
        return;
    }
    if (onHeader && !m_nDragStartTimer && buttonDown && onHeader == m_hDragStartGroup) {
        m_hDragStartGroup = nullptr;
        if (m_dwBarStyle & SHBS_DISABLEDRAGDROPHEADER)
            return;
        if (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE) {
            m_pDragImage.reset(CreateGroupDragImage(onHeader));
            if (m_pDragImage) {
                m_pDragImage->BeginDrag(0, m_ptDragOffset);
                CPoint screen = point;
                ::ClientToScreen(m_hWnd, &screen);
                CImageList::DragEnter(CWnd::GetDesktopWindow(), screen);
            }
        }
        ::SetCapture(m_hWnd);
        m_bDragCapture = TRUE;
        SetDragGroup(onHeader);
        UpdateHeader(onHeader);
        return;
    }
    if (onHeader && !m_nDragStartTimer && !buttonDown && onHeader != m_hExpandedGroup &&
        (m_dwBarStyle & SHBS_AUTOEXPAND) && !m_hEditGroup) {
        if (m_hAutoExpandGroup && m_hAutoExpandGroup != onHeader)
            CancelAutoExpand();
        if (m_hAutoExpandGroup != onHeader)
            StartAutoExpand(onHeader, m_nAutoExpandDelay);
    }
}

void COXShortcutBar::EndHeaderDrag(bool bDrop)
{
    if (m_pDragImage && (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE)) {
        CImageList::DragLeave(CWnd::GetDesktopWindow());
        CImageList::EndDrag();
    }
    m_pDragImage.reset();
    const HSHBGROUP dragged = m_hDragGroup;
    const HSHBGROUP target = m_hDropHilightGroup;
    m_hDropHilightGroup = nullptr;
    SetDragGroup(nullptr);
    if (m_bDragCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_bDragCapture = FALSE;
    if (bDrop && target && Group(target) && Group(dragged)) {
        if (NotifyGroup(SHBN_DROPGROUP, dragged, reinterpret_cast<LPARAM>(target))) {
            UpdateHeader(dragged);
            UpdateHeader(target);
        } else if (Group(dragged) && Group(target)) {
            SetGroupOrder(dragged, GetGroupOrder(target));
        }
    } else if (Group(dragged)) {
        if (target && Group(target))
            UpdateHeader(target);
        UpdateHeader(dragged);
    }
}

void COXShortcutBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_nDragStartTimer) {
        KillTimer(SHB_IDT_DRAGGROUP);
        m_nDragStartTimer = 0;
    }
    m_hDragStartGroup = nullptr;
    if (m_hDragGroup) {
        EndHeaderDrag(true);
        m_hPressedGroup = nullptr;
        return;
    }
    if (m_hPressedGroup) {
        const HSHBGROUP pressed = m_hPressedGroup;
        m_hPressedGroup = nullptr;
        if (m_dwBarStyle & SHBS_FLATGROUPBUTTON) {
            UINT hit = SHB_NOWHERE;
            // Only a release over the pressed header expands it.
            if (HitTest(point, &hit) == pressed && hit == SHB_ONHEADER && pressed != m_hExpandedGroup)
                ExpandGroup(pressed);
            else
                UpdateHeader(pressed);
        }
        return;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void COXShortcutBar::OnTimer(UINT_PTR nIDEvent)
{
    if (m_hPressedGroup && !m_hDragGroup && !LeftButtonDown())
        EndPressedState();
    switch (nIDEvent) {
    case SHB_IDT_DRAGGROUP:
        KillTimer(SHB_IDT_DRAGGROUP);
        m_nDragStartTimer = 0;
        return;
    case SHB_IDT_AUTOEXPAND: {
        KillTimer(SHB_IDT_AUTOEXPAND);
        m_nAutoExpandTimer = 0;
        const HSHBGROUP pending = m_hAutoExpandGroup;
        m_hAutoExpandGroup = nullptr;
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        UINT hit = SHB_NOWHERE;
        if (pending && HitTest(pt, &hit) == pending && hit == SHB_ONHEADER)
            ExpandGroup(pending);
        return;
    }
    case SHB_IDT_CHECKMOUSE: {
        CPoint pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        UpdateMouseOver(pt);
        return;
    }
    default: CWnd::OnTimer(nIDEvent); return;
    }
}

// ---- a data drag over the bar ------------------------------------------------------------------------------------

LRESULT COXShortcutBar::OnDragOver(WPARAM /*wParam*/, LPARAM lParam)
{
    if (m_dwBarStyle & SHBS_DISABLEDROPITEM)
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action)
        return 0;
    if (NotifyGroup(SHBN_DRAGOVER, nullptr, lParam))
        return 1;
    action->result = DROPEFFECT_NONE;
    UINT hit = SHB_NOWHERE;
    const HSHBGROUP h = HitTest(action->point, &hit);
    if (hit == SHB_ONHEADER && h && h != m_hExpandedGroup) {
        if (m_hAutoExpandGroup && m_hAutoExpandGroup != h)
            CancelAutoExpand();
        // Under a drag the wait is a quarter of the usual one.
        if (m_hAutoExpandGroup != h)
            StartAutoExpand(h, m_nAutoExpandDelay / 4);
    } else {
        CancelAutoExpand();
    }
    return 1;
}

LRESULT COXShortcutBar::OnDragLeave(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!NotifyGroup(SHBN_DRAGLEAVE, nullptr, lParam))
        CancelAutoExpand();
    return 1;
}

// ---- the context menu -----------------------------------------------------------------------------------------------

void COXShortcutBar::PopulateContextMenu(CMenu& menu, HSHBGROUP hGroup, bool bInChild)
{
    const bool edit = (m_dwBarStyle & SHBS_EDITHEADERS) != 0;
    if (edit)
        menu.AppendMenu(MF_STRING, ID_SHB_ADDNEWGROUP, MenuText(IDS_OX_SHB_ADDNEWGROUP, L"Add new group"));
    if (hGroup) {
        if (edit)
            menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, ID_SHB_LARGEICON, MenuText(IDS_OX_SHB_LARGEICON, L"Large icons"));
        menu.AppendMenu(MF_STRING, ID_SHB_SMALLICON, MenuText(IDS_OX_SHB_SMALLICON, L"Small icons"));
        if (edit) {
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, ID_SHB_REMOVEGROUP, MenuText(IDS_OX_SHB_REMOVEGROUP, L"Remove group"));
            menu.AppendMenu(MF_STRING, ID_SHB_RENAMEGROUP, MenuText(IDS_OX_SHB_RENAMEGROUP, L"Rename group"));
        }
    }
    if (m_hExpandedGroup) {
        // The checks follow the list: view 2 shows small icons, every other view large ones.
        const bool small = GetGroupView(m_hExpandedGroup) == SHB_SMALLICON;
        menu.CheckMenuItem(ID_SHB_LARGEICON, MF_BYCOMMAND | (small ? MF_UNCHECKED : MF_CHECKED));
        menu.CheckMenuItem(ID_SHB_SMALLICON, MF_BYCOMMAND | (small ? MF_CHECKED : MF_UNCHECKED));
    }
    static_cast<void>(bInChild);
}

void COXShortcutBar::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    CancelAutoExpand();
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    CPoint client = point;
    ::ScreenToClient(m_hWnd, &client);
    UINT hit = SHB_NOWHERE;
    HSHBGROUP h = HitTest(client, &hit);
    const HSHBGROUP group = hit == SHB_ONHEADER ? h : m_hExpandedGroup;
    m_hHotGroup = group;
    PopulateContextMenu(menu, group, hit == SHB_ONCHILD);
    SHBContextMenuInfo info;
    info.pMenu = &menu;
    info.pShortcutBar = this;
    info.hGroup = group;
    info.ptScreen = point;
    if (hit == SHB_ONCHILD && group) {
        const HWND child = GetGroupChildWndHandle(group);
        if (child && ::IsWindow(child))
            ::SendMessageW(child, SHBM_POPULATECONTEXTMENU, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (NotifyGroup(SHBN_CONTEXTMENU, group, reinterpret_cast<LPARAM>(&info)) == 0 && menu.GetMenuItemCount() > 0)
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

// ---- commands ---------------------------------------------------------------------------------------------------

void COXShortcutBar::OnLargeIcon()
{
    if (m_hExpandedGroup && SetGroupView(m_hExpandedGroup, SHB_LARGEICON))
        RedrawBar();
}

void COXShortcutBar::OnSmallIcon()
{
    if (m_hExpandedGroup && SetGroupView(m_hExpandedGroup, SHB_SMALLICON))
        RedrawBar();
}

void COXShortcutBar::OnUpdateLargeIcon(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_hExpandedGroup && GetGroupView(m_hExpandedGroup) != SHB_SMALLICON ? 1 : 0);
}

void COXShortcutBar::OnUpdateSmallIcon(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_hExpandedGroup && GetGroupView(m_hExpandedGroup) == SHB_SMALLICON ? 1 : 0);
}

void COXShortcutBar::OnAddNewGroup()
{
    const HSHBGROUP h = InsertGroup(L"");
    if (!h)
        return;
    if (GetGroupCount() == 1) {
        ExpandGroup(h);
    } else {
        CalculateBoundRects();
        RedrawBar();
    }
    EditGroupHeader(h);
}

void COXShortcutBar::OnRemoveGroup()
{
    if (m_hHotGroup && Group(m_hHotGroup))
        DeleteGroup(m_hHotGroup);
}

void COXShortcutBar::OnRenameGroup()
{
    if (m_hHotGroup && Group(m_hHotGroup))
        EditGroupHeader(m_hHotGroup);
}

void COXShortcutBar::OnRemoveLCItem()
{
    COXSHBListCtrl* list = GetGroupListCtrl(m_hExpandedGroup);
    if (!list)
        return;
    const int item = list->GetHotItem() >= 0 ? list->GetHotItem() : list->GetLastHotItem();
    if (item >= 0 && item < list->GetItemCount())
        list->DeleteItem(item);
}

void COXShortcutBar::OnRenameLCItem()
{
    COXSHBListCtrl* list = GetGroupListCtrl(m_hExpandedGroup);
    if (!list)
        return;
    const int item = list->GetHotItem() >= 0 ? list->GetHotItem() : list->GetLastHotItem();
    if (item >= 0 && item < list->GetItemCount()) {
        list->EnsureVisible(item, FALSE);
        list->EditLabel(item);
    }
}

BOOL COXShortcutBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notifications of the bar's own children stay with the bar; commands go to the
    // parent first, then the bar, the expanded group's window and the application.
    const bool command = nCode == CN_COMMAND || nCode == CN_UPDATE_COMMAND_UI;
    if (command && m_hWnd) {
        CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
        if (parent && !parent->IsKindOf(RUNTIME_CLASS(COXShortcutBar)) &&
            parent->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (!command)
        return FALSE;
    if (m_hExpandedGroup) {
        const HWND child = GetGroupChildWndHandle(m_hExpandedGroup);
        CWnd* wnd = child ? CWnd::FromHandlePermanent(child) : nullptr;
        if (wnd && !wnd->IsKindOf(RUNTIME_CLASS(COXShortcutBar)) && wnd->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    if (CWinApp* app = AfxGetApp())
        return app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return FALSE;
}

// ---- renaming a header --------------------------------------------------------------------------------------------

COXSHBEdit* COXShortcutBar::EditGroupHeader(HSHBGROUP hGroup)
{
    if (!(m_dwBarStyle & SHBS_EDITHEADERS) || !Group(hGroup) || !m_edit.m_hWnd)
        return nullptr;
    if (m_edit.IsEditing())
        m_edit.FinishEdit(TRUE);
    m_hEditGroup = nullptr;
    if (!Group(hGroup))
        return nullptr;
    CString title = GetGroupText(hGroup);
    if (NotifyGroup(SHBN_BEGINHEADEREDIT, hGroup, reinterpret_cast<LPARAM>(title.GetString())) || !Group(hGroup))
        return nullptr;
    CRect rect, client;
    ::GetClientRect(m_hWnd, &client);
    CRect inside;
    if (!GetGroupHeaderRect(hGroup, &rect) || rect.IsRectEmpty() || !inside.IntersectRect(rect, client) ||
        inside != rect)
        return nullptr;
    CFont font;
    font.CreateFontIndirect(GetGroupHeaderTextFont(hGroup));
    SHBE_DISPLAY display;
    display.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_STYLE | SHBEIF_SELRANGE | SHBEIF_FONT;
    display.lpText = title.GetString();
    display.rectDisplay = rect;
    display.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
    display.nSelStart = 0;
    display.nSelEnd = -1;
    display.pFont = &font;
    if (!m_edit.StartEdit(&display))
        return nullptr;
    m_hEditGroup = hGroup;
    return &m_edit;
}

BOOL COXShortcutBar::OnChangeGroupTitle(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* nm = reinterpret_cast<const NMSHBEDIT*>(pNMHDR);
    if (pResult)
        *pResult = 0;
    const HSHBGROUP h = m_hEditGroup;
    m_hEditGroup = nullptr;
    if (!nm || !h || !Group(h))
        return TRUE;
    if (!nm->bOK) {
        const CString old = GetGroupText(h);
        NotifyGroup(SHBN_ENDHEADEREDIT, h, reinterpret_cast<LPARAM>(old.GetString()));
        return TRUE;
    }
    CString text;
    m_edit.GetWindowText(text);
    if (!NotifyGroup(SHBN_ENDHEADEREDIT, h, reinterpret_cast<LPARAM>(text.GetString())) && Group(h)) {
        SetGroupText(h, text);
        UpdateHeader(h);
    }
    return TRUE;
}

// ---- tooltips --------------------------------------------------------------------------------------------------------

int COXShortcutBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (!(m_dwBarStyle & SHBS_INFOTIP))
        return -1;
    UINT hit = SHB_NOWHERE;
    const HSHBGROUP h = HitTest(point, &hit);
    if (hit != SHB_ONHEADER || !h)
        return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(h);
        GetGroupHeaderRect(h, &pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return static_cast<int>(reinterpret_cast<intptr_t>(h));
}

BOOL COXShortcutBar::OnHeaderToolTip(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto h = reinterpret_cast<HSHBGROUP>(pNMHDR->idFrom);
    if (!Group(h))
        return FALSE;
    SHBToolTipText tip;
    const LRESULT answer = NotifyGroup(SHBN_GETHEADERTIP, h, reinterpret_cast<LPARAM>(&tip));
    if (pResult)
        *pResult = answer;
    zyn::toolkit::shb::FillToolTipRequest(pNMHDR, tip);
    return TRUE;
}

void zyn::toolkit::shb::FillToolTipRequest(NMHDR* pNMHDR, SHBToolTipText& tip)
{
    tip.szText[std::size(tip.szText) - 1] = 0;
    // A pointer into the record's own buffer would dangle once the request is answered.
    if (tip.lpszText >= std::begin(tip.szText) && tip.lpszText < std::end(tip.szText)) {
        std::copy(tip.lpszText, std::end(tip.szText), std::begin(tip.szText));
        tip.lpszText = nullptr;
    }
    if (pNMHDR->code == TTN_NEEDTEXTW) {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        std::copy(std::begin(tip.szText), std::end(tip.szText), di->szText);
        di->szText[std::size(di->szText) - 1] = 0;
        di->lpszText = tip.lpszText ? tip.lpszText : di->szText;
        di->hinst = tip.hinst;
        return;
    }
    auto* di = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    const bool resource = tip.lpszText && IS_INTRESOURCE(tip.lpszText);
    const wchar_t* source = tip.lpszText && !resource ? tip.lpszText : tip.szText;
    const std::string narrow = zyn::base::WideToAnsi(source);
    const size_t n = std::min(narrow.size(), std::size(di->szText) - 1);
    std::copy_n(narrow.begin(), n, di->szText);
    di->szText[n] = 0;
    di->lpszText = resource ? reinterpret_cast<LPSTR>(tip.lpszText) : di->szText;
    di->hinst = tip.hinst;
}
