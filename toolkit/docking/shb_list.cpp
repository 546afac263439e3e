// COXSHBListCtrl's window: creation and initialisation, the LVM_ messages it answers or
// wraps, item maintenance, colours and settings read from the bar, notifications, and the
// private messages of the bar. Layout is in shb_list_layout.cpp, painting in
// shb_list_paint.cpp, the mouse and editing in shb_list_mouse.cpp, drag and drop in
// shb_list_drag.cpp.
#include "toolkit/docking/shb_list.h"

#include <algorithm>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/builtin_modules.h"
#include "platform/afx/menu.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_internal.h"

IMPLEMENT_DYNAMIC(COXSHBListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(COXSHBListCtrl, CListCtrl)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

DWORD COXSHBListCtrl::m_dwComCtlVersion = 0;

COXSHBListCtrl::COXSHBListCtrl()
{
    if (m_dwComCtlVersion == 0) {
        DWORD major = 0, minor = 0;
        if (FAILED(GetComCtlVersion(&major, &minor))) {
            major = 4;
            minor = 0;
        }
        m_dwComCtlVersion = MAKELONG(static_cast<WORD>(minor), static_cast<WORD>(major));
    }
}

COXSHBListCtrl::~COXSHBListCtrl()
{
    m_geometry.clear();
    m_tops.clear();
    m_pDragImage.reset();
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

HRESULT COXSHBListCtrl::GetComCtlVersion(DWORD* pdwMajor, DWORD* pdwMinor)
{
    if (!pdwMajor || !pdwMinor)
        return E_INVALIDARG;
    bool loaded = false;
    HMODULE module = ::GetModuleHandleW(L"comctl32.dll");
    if (!module) {
        module = ::LoadLibraryW(L"comctl32.dll");
        loaded = module != nullptr;
    }
    if (!module)
        return E_FAIL;
    HRESULT hr = S_OK;
    const auto proc = reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(module, "DllGetVersion"));
    if (!proc) {
        *pdwMajor = 4;
        *pdwMinor = 0;
    } else {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        hr = proc(&info);
        if (SUCCEEDED(hr)) {
            *pdwMajor = info.dwMajorVersion;
            *pdwMinor = info.dwMinorVersion;
        } else {
            hr = E_FAIL;
        }
    }
    if (loaded)
        ::FreeLibrary(module);
    return hr;
}

BOOL COXSHBListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CListCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    if (!InitListControl()) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void COXSHBListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    // The list lays its items out itself: the list view underneath stays in icon view (a
    // report would make a header child). A small-icon style still means view 2.
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != LVS_ICON)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, style & ~static_cast<LONG>(LVS_TYPEMASK));
    m_bStandaloneSmall = (style & LVS_TYPEMASK) == LVS_SMALLICON;
    if (AfxGetThreadState()->m_pWndInit == this)
        return; // created through Create, which initialises once the window exists
    InitListControl();
}

BOOL COXSHBListCtrl::InitListControl()
{
    if (m_bInitialized)
        return TRUE;
    if (CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd))) {
        if (auto* bar = dynamic_cast<COXShortcutBar*>(parent)) {
            m_pShortcutBar = bar;
            m_hGroup = reinterpret_cast<HSHBGROUP>(static_cast<uintptr_t>(::GetDlgCtrlID(m_hWnd)));
        }
    }
    if (!CreateEditControl())
        return FALSE;
    EnableToolTips(TRUE);
    if (COleDropTarget* target = GetDropTarget()) {
        if (target->Register(this))
            m_pRegisteredTarget = target;
    }
    m_bInitialized = TRUE;
    return TRUE;
}

BOOL COXSHBListCtrl::CreateEditControl()
{
    if (m_edit.m_hWnd)
        return TRUE;
    return m_edit.Create(WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), this, SHB_IDCEDIT);
}

void COXSHBListCtrl::OnDestroy()
{
    if (m_nScrollTimer)
        KillTimer(SHBLC_IDT_SCROLL);
    if (m_nCheckMouseTimer)
        KillTimer(SHBLC_IDT_CHECKMOUSE);
    m_nScrollTimer = m_nCheckMouseTimer = 0;
    // Data sources whose drag loop never ran are released here.
    for (COleDataSource* source : m_pendingSources)
        source->InternalRelease();
    m_pendingSources.clear();
    if (m_pDragImage) {
        CImageList::EndDrag();
        m_pDragImage.reset();
    }
    // The list's own image lists are freed by this object, never by the list view.
    for (const auto& [kind, own] : {std::pair{LVSIL_NORMAL, &m_ilLarge}, std::pair{LVSIL_SMALL, &m_ilSmall}}) {
        if (own->GetSafeHandle() &&
            reinterpret_cast<HIMAGELIST>(BaseMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(kind))) == own->GetSafeHandle())
            BaseMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), 0);
    }
    if (m_pRegisteredTarget) {
        m_pRegisteredTarget->Revoke();
        m_pRegisteredTarget = nullptr;
    }
    m_bInitialized = FALSE;
    m_paintPicture.Release();
    CListCtrl::OnDestroy();
}

void COXSHBListCtrl::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CListCtrl::OnShowWindow(bShow, nStatus);
    // Only the expanded group's list is shown; the others keep no picture.
    if (!bShow)
        m_paintPicture.Release();
}

// ---- notifications and settings ---------------------------------------------------------------------------------

LRESULT COXSHBListCtrl::SendSHBNotification(NMSHORTCUTBAR* pNMSHB)
{
    if (!pNMSHB || !m_hWnd)
        return 0;
    if (m_pShortcutBar && m_pShortcutBar->m_hWnd && ::IsWindow(m_pShortcutBar->m_hWnd))
        return m_pShortcutBar->SendSHBNotification(pNMSHB);
    return zyn::toolkit::shb::SendNotification(*this, pNMSHB);
}

LRESULT COXSHBListCtrl::Notify(UINT nCode, int nItem, LPARAM lParam)
{
    NMSHORTCUTBAR nm{};
    nm.hdr.code = nCode;
    nm.hGroup = m_hGroup;
    nm.nItem = nItem;
    nm.lParam = lParam;
    return SendSHBNotification(&nm);
}

LRESULT COXSHBListCtrl::BaseMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return const_cast<COXSHBListCtrl*>(this)->DefWindowProc(message, wParam, lParam);
}

int COXSHBListCtrl::ItemCount() const
{
    return m_hWnd ? static_cast<int>(BaseMessage(LVM_GETITEMCOUNT)) : 0;
}

CString COXSHBListCtrl::ItemText(int nItem) const
{
    std::vector<wchar_t> buffer(128);
    for (;;) {
        LVITEMW item{};
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto n = static_cast<size_t>(std::max<LRESULT>(
            0, BaseMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item))));
        if (n + 1 < buffer.size() || buffer.size() >= (1u << 24))
            return CString(buffer.data(), static_cast<int>(std::min(n, buffer.size() - 1)));
        buffer.resize(buffer.size() * 4);
    }
}

DWORD COXSHBListCtrl::GetBarStyle() const
{
    if (m_pShortcutBar)
        return m_pShortcutBar->GetBarStyle();
    const DWORD style = m_hWnd ? static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)) : 0;
    const DWORD ex = m_hWnd ? static_cast<DWORD>(BaseMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)) : 0;
    DWORD bar = 0;
    if (style & LVS_EDITLABELS)
        bar |= SHBS_EDITITEMS;
    if (style & LVS_NOSCROLL)
        bar |= SHBS_NOSCROLL;
    if (style & LVS_SHOWSELALWAYS)
        bar |= SHBS_SHOWACTIVEALWAYS;
    if (ex & LVS_EX_UNDERLINEHOT)
        bar |= SHBS_UNDERLINEHOTITEM;
    if (ex & LVS_EX_INFOTIP)
        bar |= SHBS_INFOTIP;
    return bar;
}

int COXSHBListCtrl::GetView() const
{
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupView(m_hGroup) == SHB_SMALLICON ? SHB_SMALLICON : SHB_LARGEICON;
    return m_bStandaloneSmall ? SHB_SMALLICON : SHB_LARGEICON;
}

CSize COXSHBListCtrl::GetScrollButtonSize() const
{
    return m_pShortcutBar ? m_pShortcutBar->GetScrollButtonSize() : CSize(16, 16);
}

UINT COXSHBListCtrl::GetScrollingDelay() const { return m_pShortcutBar ? m_pShortcutBar->GetScrollingDelay() : 200; }

UINT COXSHBListCtrl::GetAutoScrollingDelay() const
{
    return m_pShortcutBar ? m_pShortcutBar->GetAutoScrollingDelay() : 400;
}

COLORREF COXSHBListCtrl::GetBkColor() const
{
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupBkColor(m_hGroup);
    return static_cast<COLORREF>(BaseMessage(LVM_GETBKCOLOR));
}

BOOL COXSHBListCtrl::SetBkColor(COLORREF clr)
{
    if (m_pShortcutBar)
        return m_pShortcutBar->SetGroupBkColor(m_hGroup, clr);
    const BOOL ok = static_cast<BOOL>(BaseMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(clr)));
    if (ok)
        RedrawList();
    return ok;
}

COLORREF COXSHBListCtrl::GetTextColor() const
{
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupTextColor(m_hGroup);
    return static_cast<COLORREF>(BaseMessage(LVM_GETTEXTCOLOR));
}

BOOL COXSHBListCtrl::SetTextColor(COLORREF clr)
{
    if (m_pShortcutBar)
        return m_pShortcutBar->SetGroupTextColor(m_hGroup, clr);
    const BOOL ok = static_cast<BOOL>(BaseMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(clr)));
    if (ok)
        RedrawList();
    return ok;
}

COLORREF COXSHBListCtrl::GetTextBkColor() const
{
    if (m_pShortcutBar)
        return m_pShortcutBar->GetGroupBkColor(m_hGroup);
    return static_cast<COLORREF>(BaseMessage(LVM_GETTEXTBKCOLOR));
}

BOOL COXSHBListCtrl::SetTextBkColor(COLORREF clr)
{
    if (m_pShortcutBar) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    return static_cast<BOOL>(BaseMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(clr)));
}

// ---- selection, hot and active items --------------------------------------------------------------------------

int COXSHBListCtrl::SelectItem(int nItem)
{
    const int old = m_nSelectedItem;
    if (nItem == old)
        return old;
    if (Notify(SHBN_SELECTITEM, nItem))
        return old;
    m_nSelectedItem = nItem;
    return old;
}

int COXSHBListCtrl::SetHotItem(int nItem)
{
    const int old = m_nHotItem;
    if (nItem == old)
        return old;
    if (Notify(SHBN_HOTITEM, nItem))
        return old;
    m_nLastHotItem = old;
    m_nHotItem = nItem;
    return old;
}

int COXSHBListCtrl::ActivateItem(int nItem)
{
    const int old = m_nActiveItem;
    if (nItem == old)
        return old;
    if (Notify(SHBN_ACTIVATEITEM, nItem))
        return old;
    m_nActiveItem = nItem;
    Update(old);
    Update(nItem);
    return old;
}

int COXSHBListCtrl::SetDropTargetItem(int nItem)
{
    const int old = m_nDropHilightItem;
    m_nDropHilightItem = nItem;
    return old;
}

// ---- item maintenance ---------------------------------------------------------------------------------------------

void COXSHBListCtrl::FixIndexesAfterInsert(int nItem)
{
    // Every index names the same item as before.
    for (int* index : {&m_nSelectedItem, &m_nActiveItem, &m_nHotItem, &m_nLastHotItem, &m_nDropHilightItem,
             &m_nDragItem, &m_nEditItem, &m_nPressedItem}) {
        if (*index >= nItem)
            ++*index;
    }
}

void COXSHBListCtrl::FixIndexesAfterDelete(int nItem)
{
    for (int* index : {&m_nSelectedItem, &m_nActiveItem, &m_nHotItem, &m_nLastHotItem, &m_nDropHilightItem,
             &m_nDragItem, &m_nEditItem, &m_nPressedItem}) {
        if (*index == nItem)
            *index = -1;
        else if (*index > nItem)
            --*index;
    }
}

void COXSHBListCtrl::RedrawList()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT COXSHBListCtrl::OnInsertItem(WPARAM wParam, LPARAM lParam)
{
    const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
    const int requested = item ? item->iItem : -1;
    const LRESULT result = BaseMessage(LVM_INSERTITEMW, wParam, lParam);
    if (result < 0)
        return result;
    const int at = static_cast<int>(result);
    // The new item is measured when geometry is next needed; only the tops from it down
    // are worked out again.
    if (static_cast<size_t>(at) <= m_geometry.size()) {
        m_geometry.insert(m_geometry.begin() + at, ItemGeometry{});
        m_tops.insert(m_tops.begin() + at, 0);
        m_nTopsValid = std::min(m_nTopsValid, at);
    } else {
        InvalidateLayout();
    }
    FixIndexesAfterInsert(at);
    if (m_edit.IsEditing() && m_nEditItem >= 0)
        CancelEdit(); // the editor sits over a place that has moved
    Notify(SHBN_INSERTITEM, requested, lParam);
    if (!m_bDragDropOperation)
        RedrawList();
    return result;
}

LRESULT COXSHBListCtrl::OnDeleteItem(WPARAM wParam, LPARAM lParam)
{
    const int nItem = static_cast<int>(wParam);
    if (!ValidItem(nItem))
        return FALSE;
    Notify(SHBN_DELETEITEM, nItem);
    if (!ValidItem(nItem))
        return FALSE;
    if (nItem == m_nEditItem)
        CancelEdit();
    if (!BaseMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem), lParam))
        return FALSE;
    if (static_cast<size_t>(nItem) < m_geometry.size()) {
        m_geometry.erase(m_geometry.begin() + nItem);
        m_tops.erase(m_tops.begin() + nItem);
        m_nTopsValid = std::min(m_nTopsValid, nItem);
    } else {
        InvalidateLayout();
    }
    FixIndexesAfterDelete(nItem);
    if (m_nPlaceHolder > ItemCount())
        m_nPlaceHolder = ItemCount();
    if (GetTopIndex() < 0)
        m_ptOrigin = CPoint(0, 0);
    if (!m_bDragDropOperation)
        RedrawList();
    return TRUE;
}

LRESULT COXSHBListCtrl::OnDeleteAllItems(WPARAM wParam, LPARAM lParam)
{
    Notify(SHBN_DELETEALLITEMS, -1);
    CancelEdit();
    if (!BaseMessage(LVM_DELETEALLITEMS, wParam, lParam))
        return FALSE;
    m_ptOrigin = CPoint(0, 0);
    for (int* index : {&m_nSelectedItem, &m_nActiveItem, &m_nHotItem, &m_nLastHotItem, &m_nDropHilightItem,
             &m_nDragItem, &m_nPressedItem})
        *index = -1;
    if (m_nPlaceHolder > 0)
        m_nPlaceHolder = 0;
    InvalidateLayout();
    if (!m_bDragDropOperation)
        RedrawList();
    return TRUE;
}

void COXSHBListCtrl::CancelEdit()
{
    if (m_nEditItem < 0 && !m_edit.IsEditing())
        return;
    m_nEditItem = -1;
    if (m_edit.IsEditing())
        m_edit.FinishEdit(FALSE);
}

// ---- messages ---------------------------------------------------------------------------------------------------

LRESULT COXSHBListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_GETBKCOLOR: return static_cast<LRESULT>(GetBkColor());
    case LVM_SETBKCOLOR: return SetBkColor(static_cast<COLORREF>(lParam));
    case LVM_GETTEXTCOLOR: return static_cast<LRESULT>(GetTextColor());
    case LVM_SETTEXTCOLOR: return SetTextColor(static_cast<COLORREF>(lParam));
    case LVM_GETTEXTBKCOLOR: return static_cast<LRESULT>(GetTextBkColor());
    case LVM_SETTEXTBKCOLOR: return SetTextBkColor(static_cast<COLORREF>(lParam));
    case LVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        return rect ? GetItemRect(static_cast<int>(wParam), rect, static_cast<UINT>(rect->left)) : FALSE;
    }
    case LVM_GETITEMPOSITION: return GetItemPosition(static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam));
    case LVM_GETVIEWRECT: return GetViewRect(reinterpret_cast<RECT*>(lParam), FALSE);
    case LVM_GETORIGIN: return GetOrigin(reinterpret_cast<POINT*>(lParam));
    case LVM_HITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), FALSE);
    case LVM_GETTOPINDEX: return GetTopIndex();
    case LVM_GETCOUNTPERPAGE: return GetCountPerPage();
    case LVM_ENSUREVISIBLE: return EnsureVisible(static_cast<int>(wParam), static_cast<BOOL>(lParam));
    case LVM_SCROLL:
        return Scroll(CSize(static_cast<int>(static_cast<intptr_t>(wParam)), static_cast<int>(lParam)));
    case LVM_FINDITEMW:
        return FindItem(reinterpret_cast<LVFINDINFO*>(lParam), static_cast<int>(static_cast<intptr_t>(wParam)));
    case LVM_REDRAWITEMS: return RedrawItems(static_cast<int>(wParam), static_cast<int>(lParam));
    case LVM_UPDATE: return Update(static_cast<int>(wParam));
    case LVM_GETHOTITEM: return m_nHotItem;
    case LVM_SETHOTITEM: return SetHotItem(static_cast<int>(wParam));
    case LVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(m_edit.IsEditing() ? m_edit.m_hWnd : nullptr);
    case LVM_EDITLABELW: {
        COXSHBEdit* edit = EditLabel(static_cast<int>(wParam));
        return reinterpret_cast<LRESULT>(edit ? edit->m_hWnd : nullptr);
    }
    case LVM_CREATEDRAGIMAGE:
        return reinterpret_cast<LRESULT>(
            [&]() -> HIMAGELIST {
                std::unique_ptr<CImageList> list(CreateDragImage(static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam)));
                return list ? list->Detach() : nullptr;
            }());
    case LVM_INSERTITEMW: return OnInsertItem(wParam, lParam);
    case LVM_DELETEITEM: return OnDeleteItem(wParam, lParam);
    case LVM_DELETEALLITEMS: return OnDeleteAllItems(wParam, lParam);
    case LVM_SETITEMW:
    case LVM_SETITEMTEXTW: {
        const LRESULT ok = BaseMessage(message, wParam, lParam);
        if (ok) {
            const int item = message == LVM_SETITEMW
                ? (lParam ? reinterpret_cast<const LVITEMW*>(lParam)->iItem : -1)
                : static_cast<int>(wParam);
            if (ValidItem(item) && static_cast<size_t>(item) < m_geometry.size()) {
                m_geometry[static_cast<size_t>(item)].measured = false;
                m_nTopsValid = std::min(m_nTopsValid, item);
            }
            RedrawList();
        }
        return ok;
    }
    case LVM_SORTITEMS:
    case LVM_SORTITEMSEX: {
        const LRESULT ok = BaseMessage(message, wParam, lParam);
        if (ok) {
            m_nSelectedItem = m_nActiveItem = -1;
            InvalidateLayout();
            RedrawList();
        }
        return ok;
    }
    case LVM_SETIMAGELIST:
    case WM_SETFONT: {
        const LRESULT r = BaseMessage(message, wParam, lParam);
        InvalidateLayout();
        RedrawList();
        return r;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_LBUTTONDBLCLK:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        // The list view's own clicks (its selection, its drag detection) are not used.
        PostCheckCapture();
        return 0;
    case SHBLCM_CHECKCAPTURE: return OnCheckCapture();
    case SHBLCM_HANDLEDRAG: return OnHandleDrag(wParam, lParam);
    case SHBM_SETSHBGROUP: return OnSetShbGroup(lParam);
    case SHBM_GROUPINFOCHANGED: return OnGroupInfoChanged(lParam);
    case SHBM_SHBINFOCHANGED: return OnShbInfoChanged(lParam);
    case SHBM_POPULATECONTEXTMENU: return OnPopulateContextMenu(lParam);
    case SHBM_DELETESHBGROUP: return 0;
    case SHBDTM_DRAGENTER: return OnDragEnter(wParam, lParam);
    case SHBDTM_DRAGOVER: return OnDragOver(wParam, lParam);
    case SHBDTM_DRAGLEAVE: return OnDragLeave(wParam, lParam);
    case SHBDTM_DROP: return OnDrop(wParam, lParam);
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (hdr && hdr->code == SHBEN_FINISHEDIT && hdr->idFrom == SHB_IDCEDIT && hdr->hwndFrom == m_edit.m_hWnd) {
            OnChangeItemText(hdr, &result);
            return result;
        }
        if (hdr && (hdr->code == TTN_NEEDTEXTW || hdr->code == TTN_NEEDTEXTA) && OnItemToolTip(hdr, &result))
            return result;
        break;
    }
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

LRESULT COXSHBListCtrl::OnSetShbGroup(LPARAM lParam)
{
    CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    auto* bar = dynamic_cast<COXShortcutBar*>(parent);
    if (!bar)
        return 0;
    m_pShortcutBar = bar;
    m_hGroup = reinterpret_cast<HSHBGROUP>(lParam);
    InvalidateLayout();
    return 1;
}

LRESULT COXSHBListCtrl::OnGroupInfoChanged(LPARAM lParam)
{
    const auto mask = static_cast<UINT>(lParam);
    if (mask & SHBIF_VIEW) {
        m_ptOrigin = CPoint(0, 0);
        InvalidateLayout();
        RedrawList();
    } else if (mask & SHBIF_DESCRIPTOR) {
        InvalidateLayout();
        RedrawList();
    }
    return 0;
}

LRESULT COXSHBListCtrl::OnShbInfoChanged(LPARAM lParam)
{
    if (lParam & SHBIF_CHANGED_SCROLLBUTTONSIZE)
        CalculateScrollRects();
    if (lParam & SHBIF_CHANGED_BARSTYLE) {
        InvalidateLayout();
        RedrawList();
    }
    return 0;
}

LRESULT COXSHBListCtrl::OnPopulateContextMenu(LPARAM lParam)
{
    auto* info = reinterpret_cast<SHBContextMenuInfo*>(lParam);
    if (!info || !info->pMenu || info->pShortcutBar != m_pShortcutBar || info->hGroup != m_hGroup)
        return 0;
    if (!(GetBarStyle() & SHBS_EDITITEMS))
        return 0;
    CPoint pt = info->ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    if (ItemUnder(pt) < 0)
        return 0;
    CMenu* menu = info->pMenu;
    if (menu->GetMenuItemCount() > 0)
        menu->AppendMenu(MF_SEPARATOR);
    CString rename, remove;
    if (!rename.LoadString(IDS_OX_SHB_RENAMEITEM))
        rename = L"Rename item";
    if (!remove.LoadString(IDS_OX_SHB_REMOVEITEM))
        remove = L"Remove item";
    menu->AppendMenu(MF_STRING, ID_SHB_RENAMELCITEM, rename);
    menu->AppendMenu(MF_STRING, ID_SHB_REMOVELCITEM, remove);
    return 1;
}
