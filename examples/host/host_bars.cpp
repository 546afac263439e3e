#include "host_bars.h"

#include "host_ids.h"
#include "platform/afx/ddx.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/font.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/docking/shb_list.h"
#include "toolkit/docking/shb_messages.h"

UINT CHostToolbar::CaptionResourceID() const { return IDS_HOST_TOOLS; }
UINT CHostToolbar::ToolbarResourceID() const { return IDR_HOST_TOOLS; }

BOOL CHostPaneBar::MakeBar(CWnd* pParent, const wchar_t* title, UINT id, DWORD side, CSize size)
{
    m_defaultSize = size;
    return Create(pParent, title, id, WS_CHILD | WS_VISIBLE | side, CRect(CPoint(0, 0), size));
}

void CHostPaneBar::RestoreDefaultSize()
{
    // Only the width across each side goes back: the length along it is the dock bar's
    // to share out among the bars of the row.
    m_sizeFloat = m_defaultSize;
    m_sizeHorzDock.cy = m_defaultSize.cy;
    m_sizeVertDock.cx = m_defaultSize.cx;
    // A docked bar's window gives its row's width: it takes it now.
    if (!m_hWnd || IsFloating())
        return;
    CRect now;
    GetWindowRect(&now);
    const bool across = (GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    const CSize size = across ? CSize(now.Width(), m_defaultSize.cy) : CSize(m_defaultSize.cx, now.Height());
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHostPaneBar::OnSizedOrDocked(int, int, BOOL, int)
{
    // The sizes given are the window's; the pane fills the client area inside the
    // gripper and the buttons.
    CRect client;
    GetClientRect(&client);
    if (CWnd* pane = Pane(); pane && pane->m_hWnd)
        pane->MoveWindow(0, 0, client.Width(), client.Height());
}

BOOL CEventsBar::Make(CWnd* pParent)
{
    if (!MakeBar(pParent, L"Recent events", IDW_HOST_EVENTS, CBRS_BOTTOM, CSize(360, 140)))
        return FALSE;
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
            CRect(0, 0, 360, 140), this, 1))
        return FALSE;
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // A control made in code starts in the system font: it takes the dialogs' own.
    m_list.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    static const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"Time (UTC)", 120}, {L"Event", 200}, {L"Door", 90}};
    for (int i = 0; i < 3; ++i)
        if (m_list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width) != i)
            return FALSE;
    return TRUE;
}

void CEventsBar::Show(const std::vector<host::EventRow>& events)
{
    m_list.DeleteAllItems();
    for (size_t i = 0; i < events.size(); ++i) {
        const int at = m_list.InsertItem(static_cast<int>(i), events[i].time);
        if (at < 0)
            break;
        m_list.SetItemText(at, 1, events[i].text);
        m_list.SetItemText(at, 2, events[i].door);
    }
}

int CEventsBar::LineCount() const { return m_list.GetItemCount(); }

BEGIN_MESSAGE_MAP(CShortcutsBar, CHostPaneBar)
    ON_NOTIFY(SHBN_ACTIVATEITEM, 1, &CShortcutsBar::OnActivateItem)
END_MESSAGE_MAP()

BOOL CShortcutsBar::Make(CWnd* pParent)
{
    if (!MakeBar(pParent, L"Shortcuts", IDW_HOST_SHORTCUTS, CBRS_LEFT, CSize(150, 400)))
        return FALSE;
    if (!m_large.Create(32, 32, ILC_COLOR32 | ILC_MASK, 8, 8) || !m_small.Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8))
        return FALSE;
    // Fixed groups: no editing, no dragging.
    return m_bar.Create(this, CRect(0, 0, 150, 400), SHBS_DISABLEDRAGDROPHEADER | SHBS_INFOTIP, 1);
}

int CShortcutsBar::AddPicture(UINT icon)
{
    const HINSTANCE from = AfxFindResourceHandle(MAKEINTRESOURCEW(icon), RT_GROUP_ICON);
    int index = -1;
    for (CImageList* list : {&m_large, &m_small}) {
        const int side = list == &m_large ? 32 : 16;
        const auto picture = static_cast<HICON>(::LoadImageW(from, MAKEINTRESOURCEW(icon), IMAGE_ICON, side, side, 0));
        if (!picture)
            return -1;
        const int at = list->Add(picture);
        ::DestroyIcon(picture);
        if (at < 0 || (index >= 0 && at != index))
            return -1;
        index = at;
    }
    return index;
}

BOOL CShortcutsBar::AddGroup(const wchar_t* title, const std::vector<Item>& items)
{
    const HSHBGROUP group = m_bar.InsertGroup(title, -1, -1, -1, 0, SHB_LARGEICON);
    if (!group)
        return FALSE;
    m_groups.push_back(group);
    COXSHBListCtrl* list = m_bar.GetGroupListCtrl(group);
    if (!list)
        return FALSE;
    m_bar.SetLCImageList(group, &m_large, LVSIL_NORMAL);
    m_bar.SetLCImageList(group, &m_small, LVSIL_SMALL);
    for (size_t i = 0; i < items.size(); ++i) {
        const int picture = AddPicture(items[i].icon);
        if (picture < 0)
            return FALSE;
        const int at = list->InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE, static_cast<int>(i), items[i].text, 0, 0,
            picture, static_cast<LPARAM>(items[i].command));
        if (at < 0)
            return FALSE;
    }
    if (m_groups.size() == 1)
        m_bar.ExpandGroup(group);
    return TRUE;
}

HSHBGROUP CShortcutsBar::Group(int group) const
{
    return group >= 0 && group < GroupCount() ? m_groups[static_cast<size_t>(group)] : nullptr;
}

COXSHBListCtrl* CShortcutsBar::ItemList(int group)
{
    const HSHBGROUP handle = Group(group);
    return handle ? m_bar.GetGroupListCtrl(handle) : nullptr;
}

void CShortcutsBar::OnActivateItem(NMHDR* pHeader, LRESULT* pResult)
{
    const auto* note = reinterpret_cast<const NMSHORTCUTBAR*>(pHeader);
    *pResult = 0;
    if (note->nItem < 0)
        return;
    COXSHBListCtrl* list = m_bar.GetGroupListCtrl(note->hGroup);
    if (!list)
        return;
    const UINT command = static_cast<UINT>(list->GetItemData(note->nItem));
    if (CFrameWnd* frame = GetTopLevelFrame(); frame && command != 0)
        frame->PostMessage(WM_COMMAND, command, 0);
    // Refused: the item stays inactive, so the next click opens the view again.
    *pResult = 1;
}

void CFilterBar::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_FILTER_TEXT, m_text);
    DDX_Check(pDX, IDC_FILTER_ALARMS, m_alarmsOnly);
}
