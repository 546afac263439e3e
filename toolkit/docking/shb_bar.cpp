// The shortcut bar's window: creation and initialisation, destruction, notifications,
// settings, the skin, and the dispatch of its private messages. Groups are in
// shb_bar_groups.cpp, the layout in shb_bar_layout.cpp, painting in shb_bar_paint.cpp,
// the mouse and commands in shb_bar_mouse.cpp, the list forwarding in shb_bar_items.cpp.
#include "toolkit/docking/shb_bar.h"

#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/winapp.h"
#include "platform/base/lasterror.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_drag_data.h"
#include "toolkit/docking/shb_internal.h"
#include "toolkit/docking/shb_list.h"

IMPLEMENT_DYNAMIC(COXShortcutBar, CWnd)

BEGIN_MESSAGE_MAP(COXShortcutBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_WM_TIMER()
    ON_COMMAND(ID_SHB_LARGEICON, &COXShortcutBar::OnLargeIcon)
    ON_COMMAND(ID_SHB_SMALLICON, &COXShortcutBar::OnSmallIcon)
    ON_UPDATE_COMMAND_UI(ID_SHB_LARGEICON, &COXShortcutBar::OnUpdateLargeIcon)
    ON_UPDATE_COMMAND_UI(ID_SHB_SMALLICON, &COXShortcutBar::OnUpdateSmallIcon)
    ON_COMMAND(ID_SHB_ADDNEWGROUP, &COXShortcutBar::OnAddNewGroup)
    ON_COMMAND(ID_SHB_REMOVEGROUP, &COXShortcutBar::OnRemoveGroup)
    ON_COMMAND(ID_SHB_RENAMEGROUP, &COXShortcutBar::OnRenameGroup)
    ON_COMMAND(ID_SHB_REMOVELCITEM, &COXShortcutBar::OnRemoveLCItem)
    ON_COMMAND(ID_SHB_RENAMELCITEM, &COXShortcutBar::OnRenameLCItem)
END_MESSAGE_MAP()

const UINT COXShortcutBar::m_nChildWndItemFormat = zyn::toolkit::shb::ChildWndItemFormat();

COXShortcutBar::COXShortcutBar()
{
    m_font.CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

COXShortcutBar::~COXShortcutBar()
{
    // The window goes while the whole object is there, so OnDestroy frees the groups and
    // their lists through this class.
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL COXShortcutBar::Create(CWnd* pParentWnd, const RECT& rect, DWORD dwBarStyle, UINT nID, DWORD dwStyle,
    DWORD dwExStyle)
{
    // The style is checked before there is a window: a refused style leaves nothing behind.
    if (dwBarStyle & ~0xFFFFu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    wc.lpszClassName = kShortcutBarClassName;
    if (!AfxRegisterClass(&wc))
        return FALSE;
    m_dwBarStyle = dwBarStyle;
    if (!CWnd::CreateEx(dwExStyle, kShortcutBarClassName, L"", dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    if (!InitShortcutBar()) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void COXShortcutBar::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    // A window being created through Create is initialised there, once it exists.
    if (AfxGetThreadState()->m_pWndInit == this)
        return;
    m_dwBarStyle = SHB_SUBCLASSED_STYLE;
    InitShortcutBar();
}

BOOL COXShortcutBar::InitShortcutBar()
{
    if (m_bInitialized)
        return TRUE;
    if (!CreateEditControl())
        return FALSE;
    EnableToolTips(TRUE);
    m_nCheckMouseTimer = SetTimer(SHB_IDT_CHECKMOUSE, 500, nullptr);
    if (COleDropTarget* target = GetDropTarget()) {
        if (target->Register(this))
            m_pRegisteredTarget = target;
    }
    m_bInitialized = TRUE;
    CalculateBoundRects();
    return TRUE;
}

BOOL COXShortcutBar::CreateEditControl()
{
    if (m_edit.m_hWnd)
        return TRUE;
    return m_edit.Create(WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), this, SHB_IDCEDIT);
}

COleDropTarget* COXShortcutBar::GetDropTarget()
{
    NMSHORTCUTBAR nm{};
    nm.hdr.code = SHBN_GETDROPTARGET;
    nm.hGroup = nullptr;
    nm.nItem = -1;
    // A parent that claims the request and leaves an object supplies the target.
    if (SendSHBNotification(&nm) && nm.lParam)
        return reinterpret_cast<COleDropTarget*>(nm.lParam);
    return &m_dropTarget;
}

void COXShortcutBar::OnDestroy()
{
    // The groups go whatever the parent answers: nothing of them may outlive the window.
    const std::vector<HSHBGROUP> handles = [this] {
        std::vector<HSHBGROUP> v;
        for (const auto& [h, info] : m_groups)
            v.push_back(h);
        return v;
    }();
    for (HSHBGROUP h : handles)
        DeleteGroupImpl(h, true);
    m_groups.clear();
    m_lists.clear();
    m_headerRects.clear();
    m_descriptors.clear();
    for (UINT_PTR id : {SHB_IDT_DRAGGROUP, SHB_IDT_AUTOEXPAND, SHB_IDT_CHECKMOUSE})
        KillTimer(id);
    m_nDragStartTimer = m_nAutoExpandTimer = m_nCheckMouseTimer = 0;
    if (m_hDragGroup && (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE))
        CImageList::EndDrag();
    m_hDragGroup = m_hDropHilightGroup = m_hPressedGroup = m_hExpandedGroup = nullptr;
    if (m_bDragCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_bDragCapture = FALSE;
    m_pDragImage.reset();
    if (m_pRegisteredTarget) {
        m_pRegisteredTarget->Revoke();
        m_pRegisteredTarget = nullptr;
    }
    m_bInitialized = FALSE;
    CWnd::OnDestroy();
}

// ---- notifications -----------------------------------------------------------------------------------------------

LRESULT zyn::toolkit::shb::SendNotification(CWnd& from, NMSHORTCUTBAR* pNMSHB)
{
    if (!pNMSHB || !from.m_hWnd)
        return 0;
    pNMSHB->hdr.hwndFrom = from.m_hWnd;
    pNMSHB->hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(from.m_hWnd));
    CWnd* owner = from.GetOwner();
    if (!owner || !owner->m_hWnd)
        return 0;
    return ::SendMessageW(owner->m_hWnd, WM_NOTIFY, pNMSHB->hdr.idFrom, reinterpret_cast<LPARAM>(pNMSHB));
}

LRESULT COXShortcutBar::SendSHBNotification(NMSHORTCUTBAR* pNMSHB)
{
    return zyn::toolkit::shb::SendNotification(*this, pNMSHB);
}

LRESULT COXShortcutBar::NotifyGroup(UINT nCode, HSHBGROUP hGroup, LPARAM lParam, int nItem)
{
    NMSHORTCUTBAR nm{};
    nm.hdr.code = nCode;
    nm.hGroup = hGroup;
    nm.nItem = nItem;
    nm.lParam = lParam;
    return SendSHBNotification(&nm);
}

// ---- settings -----------------------------------------------------------------------------------------------------

COXShortcutBarSkin* COXShortcutBar::GetShortcutBarSkin() { return m_skin.Get(); }

void COXShortcutBar::BroadcastSettingChange(LPARAM nWhat)
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        SendMessageToDescendants(SHBM_SHBINFOCHANGED, 0, nWhat, TRUE);
}

BOOL COXShortcutBar::SetBarStyle(DWORD dwBarStyle)
{
    if (dwBarStyle & ~0xFFFFu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwBarStyle == m_dwBarStyle)
        return TRUE;
    m_dwBarStyle = dwBarStyle;
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        BroadcastSettingChange(SHBIF_CHANGED_BARSTYLE);
        RedrawBar();
    }
    return TRUE;
}

CImageList* COXShortcutBar::SetImageList(CImageList* pImageList)
{
    CImageList* old = m_pImageList;
    m_pImageList = pImageList;
    if (old != pImageList && m_hWnd && ::IsWindow(m_hWnd))
        RedrawBar();
    return old;
}

int COXShortcutBar::SetGroupMargin(int nGroupMargin)
{
    const int old = m_nGroupMargin;
    m_nGroupMargin = nGroupMargin;
    if (old != nGroupMargin && m_hWnd && ::IsWindow(m_hWnd)) {
        CalculateBoundRects();
        RedrawBar();
        BroadcastSettingChange(SHBIF_CHANGED_GROUPMARGIN);
    }
    return old;
}

CRect COXShortcutBar::SetChildWndMargins(CRect rectMargins)
{
    const CRect old = m_rectChildWndMargins;
    m_rectChildWndMargins = rectMargins;
    if (old != rectMargins && m_hWnd && ::IsWindow(m_hWnd)) {
        CalculateBoundRects();
        RedrawBar();
        BroadcastSettingChange(SHBIF_CHANGED_CHILDMARGINS);
    }
    return old;
}

CSize COXShortcutBar::SetBarMinSize(CSize sizeMin)
{
    const CSize old = m_sizeMin;
    m_sizeMin = sizeMin;
    return old;
}

CSize COXShortcutBar::SetScrollButtonSize(CSize size)
{
    const CSize old = m_sizeScrollButton;
    m_sizeScrollButton = size;
    if (old != size)
        BroadcastSettingChange(SHBIF_CHANGED_SCROLLBUTTONSIZE);
    return old;
}

UINT COXShortcutBar::SetScrollingDelay(UINT nDelay)
{
    const UINT old = m_nScrollingDelay;
    m_nScrollingDelay = nDelay;
    if (old != nDelay)
        BroadcastSettingChange(SHBIF_CHANGED_SCROLLINGDELAY);
    return old;
}

UINT COXShortcutBar::SetAutoScrollingDelay(UINT nDelay)
{
    const UINT old = m_nAutoScrollingDelay;
    m_nAutoScrollingDelay = nDelay;
    if (old != nDelay)
        BroadcastSettingChange(SHBIF_CHANGED_AUTOSCROLLINGDELAY);
    return old;
}

UINT COXShortcutBar::SetAutoExpandDelay(UINT nDelay)
{
    const UINT old = m_nAutoExpandDelay;
    m_nAutoExpandDelay = nDelay;
    if (old != nDelay)
        BroadcastSettingChange(SHBIF_CHANGED_AUTOEXPANDDELAY);
    return old;
}

// ---- messages -------------------------------------------------------------------------------------------------

LRESULT COXShortcutBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case SHBDTM_DRAGOVER: return OnDragOver(wParam, lParam);
    case SHBDTM_DRAGLEAVE: return OnDragLeave(wParam, lParam);
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (hdr && hdr->code == SHBEN_FINISHEDIT && hdr->idFrom == SHB_IDCEDIT && hdr->hwndFrom == m_edit.m_hWnd) {
            OnChangeGroupTitle(hdr, &result);
            return result;
        }
        if (hdr && (hdr->code == TTN_NEEDTEXTW || hdr->code == TTN_NEEDTEXTA) && OnHeaderToolTip(hdr, &result))
            return result;
        break;
    }
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT COXShortcutBar::OnNcHitTest(CPoint /*point*/) { return HTCLIENT; }
