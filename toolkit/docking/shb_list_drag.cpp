// Item drag and drop of COXSHBListCtrl. The source side builds the item's data (its text,
// item data, images and the parent's extra bytes, shb_drag_data.h) and runs the OLE drag
// loop from a posted message, so the mouse handler that started it has returned; a move
// deletes the source item afterwards. The drop side marks where a drop would land (the
// placeholder, a gap between items), accepts only the shortcut-bar item format, and
// rebuilds the item there.
//
// The data source travels in the posted message: the list keeps every posted source in a
// list until the drag loop takes it, and releases it on every path (the parent's veto,
// the end of the loop, or the window going before the message arrives).
#include <algorithm>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_drag_data.h"
#include "toolkit/docking/shb_list.h"

namespace shb = zyn::toolkit::shb;

COleDropSource* COXSHBListCtrl::GetDropSource()
{
    NMSHORTCUTBAR nm{};
    nm.hdr.code = SHBN_GETDROPSOURCE;
    nm.hGroup = m_hGroup;
    nm.nItem = -1;
    if (SendSHBNotification(&nm) && nm.lParam)
        return reinterpret_cast<COleDropSource*>(nm.lParam);
    m_dropSource.SetOwner(this);
    return &m_dropSource;
}

COleDropTarget* COXSHBListCtrl::GetDropTarget()
{
    NMSHORTCUTBAR nm{};
    nm.hdr.code = SHBN_GETDROPTARGET;
    nm.hGroup = m_hGroup;
    nm.nItem = -1;
    if (SendSHBNotification(&nm) && nm.lParam)
        return reinterpret_cast<COleDropTarget*>(nm.lParam);
    return &m_dropTarget;
}

// ---- the source side --------------------------------------------------------------------------------------------

int COXSHBListCtrl::SetDragItem(int nItem)
{
    const int old = m_nDragItem;
    if (nItem == old)
        return old;
    if (nItem < 0) {
        m_nDragItem = -1;
        return old;
    }
    if (!ValidItem(nItem))
        return old;
    m_nDragItem = nItem;
    Notify(SHBN_BEGINDRAGITEM, nItem, reinterpret_cast<LPARAM>(&m_ptDragImage));
    SHBExtraDragData extra;
    Notify(SHBN_GETEXTRADRAGDATA, nItem, reinterpret_cast<LPARAM>(&extra));
    shb::DataSourcePtr source;
    if (ValidItem(nItem))
        source = shb::CreateItemDataSource(m_hWnd, nItem, extra);
    if (!source) {
        m_nDragItem = -1;
        return old;
    }
    COleDataSource* raw = source.release();
    m_pendingSources.push_back(raw);
    if (!::PostMessageW(m_hWnd, SHBLCM_HANDLEDRAG, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(raw))) {
        m_pendingSources.pop_back();
        raw->InternalRelease();
        m_nDragItem = -1;
    }
    return old;
}

LRESULT COXSHBListCtrl::OnHandleDrag(WPARAM wParam, LPARAM lParam)
{
    auto* raw = reinterpret_cast<COleDataSource*>(lParam);
    // Only a source this list posted is taken (and then released whatever happens).
    const auto pending = std::find(m_pendingSources.begin(), m_pendingSources.end(), raw);
    if (!raw || pending == m_pendingSources.end())
        return 0;
    m_pendingSources.erase(pending);
    shb::DataSourcePtr source(raw);
    const int item = static_cast<int>(wParam);
    if (Notify(SHBN_BEGINDRAGLOOP, item, lParam) || !ValidItem(item) || !::IsWindow(m_hWnd)) {
        m_nDragItem = -1;
        return 0;
    }
    SelectItem(-1);
    Update(item);
    COleDropSource* dropSource = GetDropSource();
    m_bDragDropOwner = TRUE;
    m_nLastDropIndex = -1;
    if (GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) {
        m_pDragImage.reset(CreateDragImage(item, nullptr));
        if (m_pDragImage)
            m_pDragImage->BeginDrag(0, m_ptDragImage);
    }
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, dropSource);
    if (!::IsWindow(m_hWnd))
        return 0;
    // A move takes the source item away: the index fix-ups of an insertion into this list
    // keep m_nDragItem on it (a copy dropped before it pushes it down by one).
    if ((effect & DROPEFFECT_MOVE) && m_nDragItem >= 0)
        DeleteItem(m_nDragItem);
    const bool droppedHere = m_nLastDropIndex >= 0;
    SetPlaceHolder(-1);
    m_bDragDropOwner = FALSE;
    if (m_pDragImage) {
        CImageList::EndDrag();
        m_pDragImage.reset();
    }
    m_nDragItem = -1;
    m_nLastDropIndex = -1;
    source.reset();
    if ((effect & DROPEFFECT_MOVE) || ((effect & DROPEFFECT_COPY) && droppedHere))
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CPoint pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    WPARAM keys = 0;
    for (const auto& [vk, mk] : {std::pair{VK_LBUTTON, MK_LBUTTON}, std::pair{VK_RBUTTON, MK_RBUTTON},
             std::pair{VK_MBUTTON, MK_MBUTTON}, std::pair{VK_SHIFT, MK_SHIFT}, std::pair{VK_CONTROL, MK_CONTROL}}) {
        if (::GetKeyState(vk) & 0x8000)
            keys |= mk;
    }
    SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    Notify(SHBN_ENDDRAG, 0, static_cast<LPARAM>(effect));
    return 1;
}

// ---- the drop side ------------------------------------------------------------------------------------------------

void COXSHBListCtrl::SetPlaceHolder(int nPlaceHolder)
{
    if (nPlaceHolder == m_nPlaceHolder)
        return;
    const int count = ItemCount();
    for (int p : {m_nPlaceHolder, nPlaceHolder}) {
        if (p >= 0 && p <= count) {
            const CRect r = GetPlaceHolderRect(p);
            ::InvalidateRect(m_hWnd, &r, FALSE);
        }
    }
    m_nPlaceHolder = nPlaceHolder;
    const bool image = m_pDragImage != nullptr;
    if (image)
        CImageList::DragShowNolock(FALSE);
    ::UpdateWindow(m_hWnd);
    if (image)
        CImageList::DragShowNolock(TRUE);
}

int COXSHBListCtrl::PlaceHolderFor(CPoint point)
{
    const int count = ItemCount();
    if (count == 0)
        return 0;
    EnsureLayout(count);
    const int y = point.y + m_ptOrigin.y;
    CRect view;
    GetViewRect(&view, FALSE);
    if (y < view.top)
        return 0;
    if (y >= LowestBottom())
        return count;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    if (!client.PtInRect(point))
        return -1;
    // On an item: no drop. In a gap: before the nearest item below.
    LVFINDINFO find{};
    find.flags = LVFI_NEARESTXY;
    find.pt = point;
    find.vkDirection = VK_DOWN;
    const int below = FindItem(&find, -1);
    if (below >= 0 && ItemRectView(below).PtInRect(CPoint(point.x + m_ptOrigin.x, y)))
        return -1;
    return below >= 0 ? below : count;
}

void COXSHBListCtrl::CheckAutoScrollForDrag(CPoint point)
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CalculateScrollRects();
    if (point.y < client.top + 10 && !m_rectScrollUp.IsRectEmpty()) {
        if (!m_bScrollingUp) {
            StopScrolling();
            m_bAutoScrolling = TRUE;
            StartScrolling(true);
        }
    } else if (point.y >= client.bottom - 10 && !m_rectScrollDown.IsRectEmpty()) {
        if (!m_bScrollingDown) {
            StopScrolling();
            m_bAutoScrolling = TRUE;
            StartScrolling(false);
        }
    } else if (m_bAutoScrolling) {
        StopScrolling();
    }
}

LRESULT COXSHBListCtrl::OnDragEnter(WPARAM wParam, LPARAM lParam)
{
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action)
        return 0;
    m_bDragDropOperation = TRUE;
    const int hot = m_nHotItem;
    m_nLastHotItem = hot;
    m_nHotItem = -1;
    if (hot >= 0)
        Update(hot);
    if (Notify(SHBN_DRAGENTER, -1, lParam))
        return 1;
    if ((GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) && ::ImageList_GetDragImage(nullptr, nullptr))
        CImageList::DragEnter(this, action->point);
    return OnDragOver(wParam, lParam);
}

LRESULT COXSHBListCtrl::OnDragOver(WPARAM /*wParam*/, LPARAM lParam)
{
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action)
        return 0;
    m_bDragDropOperation = TRUE;
    if (Notify(SHBN_DRAGOVER, -1, lParam))
        return 1;
    if ((GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) && ::ImageList_GetDragImage(nullptr, nullptr))
        CImageList::DragMove(action->point);
    CheckAutoScrollForDrag(action->point);
    const bool ours = action->pDataObject &&
        action->pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(shb::ChildWndItemFormat()));
    const int place = ours ? PlaceHolderFor(action->point) : -1;
    if (place < 0) {
        action->result = DROPEFFECT_NONE;
        SetPlaceHolder(-1);
        return 1;
    }
    action->result = (action->dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    SetPlaceHolder(place);
    return 1;
}

LRESULT COXSHBListCtrl::OnDragLeave(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!Notify(SHBN_DRAGLEAVE, -1, lParam)) {
        if (::ImageList_GetDragImage(nullptr, nullptr))
            CImageList::DragLeave(this);
        SetPlaceHolder(-1);
        if (m_bAutoScrolling)
            StopScrolling();
    }
    m_bDragDropOperation = FALSE;
    return 1;
}

LRESULT COXSHBListCtrl::OnDrop(WPARAM /*wParam*/, LPARAM lParam)
{
    if (GetBarStyle() & SHBS_DISABLEDROPITEM)
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action)
        return 0;
    if (Notify(SHBN_DROP, -1, lParam)) {
        m_bDragDropOperation = FALSE;
        return 1;
    }
    if (::ImageList_GetDragImage(nullptr, nullptr))
        CImageList::DragLeave(this);
    if (m_bAutoScrolling)
        StopScrolling();
    action->result = 0;
    const int place = m_nPlaceHolder;
    if ((action->dropEffect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) && place >= 0) {
        if (const auto block = shb::ReadItemData(action->pDataObject)) {
            const int at = shb::InsertDroppedItem(m_hWnd, *block, place, m_bDragDropOwner, m_ilLarge, m_ilSmall);
            if (at >= 0) {
                if (m_bDragDropOwner)
                    m_nLastDropIndex = at;
                if (!block->extra.empty()) {
                    SHBExtraDragData extra;
                    extra.nDataSize = static_cast<DWORD>(block->extra.size());
                    extra.pData = block->extra.data();
                    Notify(SHBN_EXTRADRAGDATADROPPED, place, reinterpret_cast<LPARAM>(&extra));
                }
                action->result = 1;
            }
        }
        if (!m_bDragDropOwner) {
            SetPlaceHolder(-1);
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    }
    m_bDragDropOperation = FALSE;
    if (m_bDragDropOwner)
        return 1; // the source's drag loop reports the end
    if (!action->result)
        SetPlaceHolder(-1);
    Notify(SHBN_ENDDRAG, -1, action->result ? static_cast<LPARAM>(action->dropEffect) : 0);
    return 1;
}
