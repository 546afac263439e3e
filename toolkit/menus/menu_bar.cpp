// COXMenuBar: construction, the buttons built from the menu, the menu font and metrics,
// the layout (item widths, the entire row), command updates, the mouse outside popups,
// customisation and the seams through which the skins and bitmap menus read the bar.
#include "platform/user/vkeys.h"
#include "toolkit/menus/menu_drop_data.h"
#include "platform/base/lasterror.h"
#include "platform/afx/window_dc.h"
#include "platform/user/popup_menu.h"
#include "platform/user/input.h"
#include "toolkit/menus/menu_bar.h"

#include <algorithm>
#include <cwctype>
#include <functional>
#include <span>

#include "platform/afx/dockbar.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/mdi.h"
#include "platform/afx/miniframe.h"
#include "platform/afx/winapp.h"
#include "platform/afx/winthread.h"
#include "platform/base/exception.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/menubar_paint.h"
#include "toolkit/skins/skin.h"
#include "toolkit/skins/skin_lookup.h"

IMPLEMENT_DYNAMIC(COXMenuBar, COXCoolToolBar)

BEGIN_MESSAGE_MAP(COXMenuBar, COXCoolToolBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCMOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_SETTINGCHANGE()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &COXMenuBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_OX_DISPLAYPOPUP, &COXMenuBar::OnDisplayPopupMenu)
    ON_NOTIFY_REFLECT_EX(TBN_DROPDOWN, &COXMenuBar::OnDropDown)
    ON_NOTIFY_REFLECT_EX(TBN_BEGINDRAG, &COXMenuBar::OnMenuBarBeginDrag)
    ON_COMMAND(ID_OXMENUBAR_DELETE, &COXMenuBar::OnDeleteButton)
END_MESSAGE_MAP()

HWND COXMenuBar::m_hwndFocusBeforeSurfing = nullptr;

namespace {

// The text of a top-level item by position, up to 1024 characters.
CString ReadItemText(HMENU hMenu, int nIndex)
{
    wchar_t buffer[1025] = {};
    if (!hMenu || ::GetMenuStringW(hMenu, static_cast<UINT>(nIndex), buffer, 1025, MF_BYPOSITION) <= 0)
        return CString();
    return CString(buffer);
}

// The upper-cased character after the first single '&' ("&&" is a literal ampersand).
WCHAR MnemonicOf(const CString& text)
{
    const int n = text.GetLength();
    for (int i = 0; i + 1 < n; ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<WCHAR>(std::towupper(static_cast<wint_t>(text[i + 1])));
    }
    return 0;
}

// The seams the skins and the bitmap menus read the bar through.
class MenuBarPaintAccess : public COXMenuBarPaintAccess {
public:
    BOOL GetItemText(COXCoolToolBar* bar, int index, CString& text) override
    {
        auto* menuBar = DYNAMIC_DOWNCAST(COXMenuBar, bar);
        if (!menuBar || index < 0 || index >= menuBar->GetMenuItemCount())
            return FALSE;
        text = menuBar->GetItemText(index);
        return TRUE;
    }
    BOOL GetMenuButtons(COXMenuBar* menuBar, OXMENUBARBUTTONS& buttons) override
    {
        if (!menuBar || !menuBar->m_hWnd || menuBar->GetCloseRect().IsRectEmpty())
            return FALSE;
        buttons.pBar = menuBar;
        buttons.pFrame = menuBar->GetFrame();
        buttons.rectClose = menuBar->GetCloseRect();
        buttons.rectRestore = menuBar->GetRestoreRect();
        buttons.rectMinimize = menuBar->GetMinimizeRect();
        buttons.nPressed = menuBar->GetPressedMDIButton();
        return TRUE;
    }
};

// The bitmap menus' view of command bars, with the menu bar's MDI child icon added.
class MenuBarCommandAccess : public COXCommandBarAccess {
public:
    explicit MenuBarCommandAccess(COXCommandBarAccess* base) : m_base(base) {}
    HWND GetBarWindow(COXCoolToolBar* bar) override { return m_base->GetBarWindow(bar); }
    DWORD GetBarStyle(COXCoolToolBar* bar) override { return m_base->GetBarStyle(bar); }
    int FindPressedButton(COXCoolToolBar* bar) override { return m_base->FindPressedButton(bar); }
    int GetLastDropDownCommand(COXCoolToolBar* bar) override { return m_base->GetLastDropDownCommand(bar); }
    int CommandToIndex(COXCoolToolBar* bar, UINT nID) override { return m_base->CommandToIndex(bar, nID); }
    BOOL GetItemRect(COXCoolToolBar* bar, int nIndex, RECT* rect) override { return m_base->GetItemRect(bar, nIndex, rect); }
    BOOL IsMenuBar(COXCoolToolBar* bar) override { return m_base->IsMenuBar(bar); }
    BOOL GetMdiChildIconRect(COXCoolToolBar* bar, RECT* rect) override
    {
        auto* menuBar = DYNAMIC_DOWNCAST(COXMenuBar, bar);
        if (!rect)
            return FALSE;
        if (!menuBar || !menuBar->GetIcon()) {
            ::SetRectEmpty(rect);
            return FALSE;
        }
        *rect = menuBar->GetIconRect();
        return !::IsRectEmpty(rect);
    }
    void DrawButton(COXCoolToolBar* bar, CDC* dc, int nIndex, const RECT& rect) override
    {
        m_base->DrawButton(bar, dc, nIndex, rect);
    }

private:
    COXCommandBarAccess* m_base;
};

MenuBarPaintAccess g_paintAccess;

// Installed when the first bar is made (the cool toolbar's access is in place by then).
void InstallAccesses()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    if (COXMenuBarPaintAccess* previous = OXSetMenuBarPaintAccess(&g_paintAccess))
        OXSetMenuBarPaintAccess(previous);
    if (COXCommandBarAccess* base = OXGetCommandBarAccess()) {
        static MenuBarCommandAccess access(base);
        OXSetCommandBarAccess(&access);
    }
}

} // namespace

// ---- construction ----------------------------------------------------------------------------------------------------

COXMenuBar::COXMenuBar()
{
    if (!HasComCtl471())
        AfxThrowNotSupportedException(L"the menu bar needs comctl32 4.71");
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    InstallAccesses();
}

COXMenuBar::~COXMenuBar()
{
    if (m_hWnd)
        DestroyWindow();
    for (HMENU hMenu : m_arrCreatedMenus)
        if (::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
    m_arrCreatedMenus.clear();
}

BOOL COXMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!COXCoolToolBar::Create(pParentWnd, dwStyle, nID))
        return FALSE;
    SetDropDownArrow(FALSE);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SyncSizes();
    CString title;
    title.LoadString(IDS_OXMENUBAR_TITLE);
    SetWindowText(title);
    m_pFrameWnd = pParentWnd;
    return TRUE;
}

int COXMenuBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // The base joins the bar to its frame's control bars (GetControlBar, ShowControlBar,
    // the saved dock state find it there) before the control itself is created.
    const int result = COXCoolToolBar::OnCreate(lpCreateStruct);
    if (result == -1)
        return -1;
    // One thread mouse hook for all bars: the first bar installs it, the last removes it.
    // Bars whose windows went without their WM_DESTROY are forgotten, and a hook left over
    // from them is replaced.
    auto& users = MouseHookUsers();
    for (auto it = users.begin(); it != users.end();)
        it = ::IsWindow(*it) ? std::next(it) : users.erase(it);
    if (users.empty()) {
        if (m_hMouseHook)
            ::UnhookWindowsHookEx(m_hMouseHook);
        m_hMouseHook = ::SetWindowsHookEx(WH_MOUSE, &COXMenuBar::MouseProc, nullptr, ::GetCurrentThreadId());
    }
    if (m_hMouseHook) {
        users.insert(m_hWnd);
        m_bMouseHookCounted = TRUE;
    }
    return result;
}

void COXMenuBar::OnDestroy()
{
    if (m_nDragTimer) {
        KillTimer(m_nDragTimer);
        m_nDragTimer = 0;
    }
    if (m_bMouseHookCounted) {
        m_bMouseHookCounted = FALSE;
        auto& users = MouseHookUsers();
        users.erase(m_hWnd);
        for (auto it = users.begin(); it != users.end();)
            it = ::IsWindow(*it) ? std::next(it) : users.erase(it);
        if (users.empty()) {
            if (m_hMouseHook)
                ::UnhookWindowsHookEx(m_hMouseHook);
            m_hMouseHook = nullptr;
        }
    }
    if (m_hwndPrevMouseMoveWnd == m_hWnd)
        m_hwndPrevMouseMoveWnd = nullptr;
    m_bSurfing = FALSE;
    Default();
}

// ---- the menu ------------------------------------------------------------------------------------------------------

int COXMenuBar::GetMenuItemCount() const
{
    if (!m_hMenu || !::IsMenu(m_hMenu))
        return 0;
    return std::max(0, ::GetMenuItemCount(m_hMenu));
}

CString COXMenuBar::GetItemText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetMenuItemCount())
        return CString();
    return ReadItemText(m_hMenu, nIndex);
}

void COXMenuBar::DrawMenuBar()
{
    if (m_hWnd)
        RecreateMenuBar(TRUE);
}

BOOL COXMenuBar::RecreateMenuBar(BOOL bRedraw)
{
    if (!m_hWnd)
        return FALSE;
    const int nDragged = m_nDraggedButton;
    const int nCustomized = m_nCustomizedButton;
    const BOOL bSuppressed = m_bNoInternalRedraw;
    m_bNoInternalRedraw = TRUE;
    while (SendMessage(TB_DELETEBUTTON, 0, 0)) {
    }
    m_bNoInternalRedraw = bSuppressed;
    m_mapMnemonics.clear();
    UpdateIcon(FALSE);

    BOOL bResult = TRUE;
    const int nCount = GetMenuItemCount();
    if (nCount > 0) {
        // Each button carries its own copy of its text: nothing goes to the string pool.
        std::vector<CString> texts(static_cast<size_t>(nCount));
        std::vector<TBBUTTON> buttons(static_cast<size_t>(nCount));
        for (int i = 0; i < nCount; ++i) {
            CString& text = texts[static_cast<size_t>(i)];
            text = ReadItemText(m_hMenu, i);
            if (const WCHAR mnemonic = MnemonicOf(text); mnemonic && !m_mapMnemonics.count(mnemonic))
                m_mapMnemonics[mnemonic] = i;
            TBBUTTON& b = buttons[static_cast<size_t>(i)];
            b.iBitmap = -1;
            b.idCommand = i + 1;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE;
            b.dwData = static_cast<DWORD_PTR>(i);
            b.iString = reinterpret_cast<INT_PTR>(static_cast<LPCWSTR>(text));
        }
        bResult = static_cast<BOOL>(
            SendMessage(TB_ADDBUTTONSW, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(buttons.data())));
    }
    const int nButtons = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    if (nDragged >= 0 && nDragged < nButtons)
        m_nDraggedButton = nDragged;
    if (nCustomized >= 0 && nCustomized < nButtons)
        m_nCustomizedButton = nCustomized;
    if (!m_bMetricsReady) {
        m_bMetricsReady = TRUE;
        UpdateMenuMetrics(FALSE);
    }

    CFrameWnd* pFrame = m_pFrameWnd && m_pFrameWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(m_pFrameWnd) : nullptr;
    if (m_hMenu) {
        if (bRedraw) {
            RedrawToolBar(TRUE, FALSE);
            m_bDelayedButtonLayout = TRUE;
        }
        if (pFrame) {
            pFrame->ShowControlBar(this, TRUE, FALSE);
        } else if (CWnd* pParent = GetParent()) {
            CRect client;
            pParent->GetClientRect(&client);
            const CSize size = CalcFixedLayout(TRUE, TRUE);
            SetWindowPos(nullptr, 0, -2, client.Width(), size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            ShowWindow(SW_SHOWNA);
        }
    } else if (pFrame) {
        pFrame->ShowControlBar(this, FALSE, FALSE);
    } else {
        ShowWindow(SW_HIDE);
    }
    return bResult;
}

void COXMenuBar::UpdateMenuMetrics(BOOL bRedraw)
{
    if (!m_hWnd)
        return;
    m_fontMenu.DeleteObject();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_fontMenu.CreateFontIndirect(&metrics.lfMenuFont);
    if (m_fontMenu.m_hObject)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontMenu.m_hObject), FALSE);
    if (SendMessage(TB_BUTTONCOUNT, 0, 0) > 0) {
        SendMessage(TB_AUTOSIZE, 0, 0);
        CRect first;
        CToolBar::GetItemRect(0, &first);
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(first.Width(), first.Height()));
        SyncSizes();
        // After the button size, which the height centres the buttons in.
        SetHeight(first.Height() + 3);
    }
    SetDefaultBkColor(::GetSysColor(COLOR_MENU));
    if (bRedraw)
        RedrawToolBar(TRUE, FALSE);
}

void COXMenuBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    COXCoolToolBar::OnSettingChange(uFlags, lpszSection);
    UpdateMenuMetrics(TRUE);
}

COXMenuBar* COXMenuBar::FindMenuBar(CWnd* pWnd)
{
    if (!pWnd)
        pWnd = AfxGetMainWnd();
    if (!pWnd || !pWnd->m_hWnd)
        return nullptr;
    if (auto* pBar = DYNAMIC_DOWNCAST(COXMenuBar, CWnd::FromHandlePermanent(pWnd->m_hWnd)))
        return pBar;
    for (HWND hChild = ::GetWindow(pWnd->m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (auto* pBar = DYNAMIC_DOWNCAST(COXMenuBar, pChild))
            return pBar;
        CWnd wrapper;
        if (!pChild) {
            wrapper.m_hWnd = hChild;
            pChild = &wrapper;
        }
        COXMenuBar* pFound = FindMenuBar(pChild);
        if (pChild == &wrapper)
            wrapper.m_hWnd = nullptr;
        if (pFound)
            return pFound;
    }
    return nullptr;
}

COXMenuSkin* COXMenuBar::GetMenuSkin()
{
    if (COXSkin* skin = OXGetCurrentSkin())
        if (COXMenuSkin* menuSkin = skin->GetMenuSkin())
            return menuSkin;
    if (!m_pOwnMenuSkin)
        m_pOwnMenuSkin = std::make_unique<COXMenuSkinClassic>();
    return m_pOwnMenuSkin.get();
}

// ---- layout ----------------------------------------------------------------------------------------------------

void COXMenuBar::SetTakeEntireRow(BOOL bTake, BOOL bRedraw)
{
    m_bTakeEntireRow = bTake;
    if (bRedraw)
        RedrawToolBar(TRUE, FALSE);
}

void COXMenuBar::RecalculateItemWidths()
{
    if (!m_hWnd)
        return;
    const int nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    if (nCount <= 0)
        return;
    CClientDC dc(this);
    CFont* pOldFont = m_fontMenu.m_hObject ? dc.SelectObject(&m_fontMenu) : nullptr;
    std::vector<int> widths(static_cast<size_t>(nCount), 0);
    int nWidest = 0;
    for (int i = 0; i < nCount; ++i) {
        const CString text = GetItemText(i);
        if (text.IsEmpty())
            continue;
        CRect rect(0, 0, 0, 0);
        dc.DrawText(text, &rect, DT_CALCRECT | DT_SINGLELINE);
        widths[static_cast<size_t>(i)] = rect.Width();
        nWidest = std::max(nWidest, rect.Width());
    }
    if (pOldFont)
        dc.SelectObject(pOldFont);
    const bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const int nPadding = GetMenuSkin()->GetDimentionConstants().nMenuBarItemPadding;
    for (int i = 0; i < nCount; ++i) {
        if (horizontal && widths[static_cast<size_t>(i)] == 0)
            continue;
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
        info.cx = static_cast<WORD>(horizontal ? widths[static_cast<size_t>(i)] + nPadding : nWidest + 8);
        TBBUTTONINFOW current{};
        current.cbSize = sizeof(current);
        current.dwMask = TBIF_SIZE | TBIF_BYINDEX;
        if (SendMessage(TB_GETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&current)) >= 0 &&
            current.cx == info.cx)
            continue;
        SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
}

int COXMenuBar::GetEntireRow(BOOL bHorz) const
{
    const int cxBorder2 = 2 * ::GetSystemMetrics(SM_CXBORDER);
    const int cyBorder2 = 2 * ::GetSystemMetrics(SM_CYBORDER);
    CWnd* pSite = nullptr;
    if (m_pDockBar)
        pSite = m_pDockBar->GetParentFrame();
    if (!pSite)
        pSite = GetParentFrame();
    if (!pSite)
        pSite = m_pFrameWnd;
    if (!pSite)
        pSite = GetParent();
    if (!pSite || !pSite->m_hWnd)
        return 0;
    CRect client;
    pSite->GetClientRect(&client);
    int farEdge = bHorz ? client.right : client.bottom;
    if (pSite->IsFrameWnd()) {
        auto* pFrame = static_cast<CFrameWnd*>(pSite);
        CControlBar* pNear = pFrame->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT);
        CControlBar* pFar = pFrame->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_BOTTOM : AFX_IDW_DOCKBAR_RIGHT);
        if (pNear && pFar && pFar->m_hWnd) {
            CRect rect;
            pFar->GetWindowRect(&rect);
            pSite->ScreenToClient(&rect);
            farEdge = bHorz ? rect.right : rect.bottom;
        }
    }
    const int border = bHorz ? cxBorder2 : cyBorder2;
    return farEdge + 2 * border;
}

CSize COXMenuBar::CalcLayout(DWORD dwMode, int nLength)
{
    RecalculateItemWidths();
    CSize size = COXCoolToolBar::CalcLayout(dwMode, nLength);
    // A docked bar's fixed layout (the dock bar's question) counts as docked too: the
    // toolbar's dynamic layout hands a docked request to the fixed one without the side.
    const bool bDockedFixed = m_pDockBar && !IsFloating() && nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT));
    if (m_bTakeEntireRow && ((dwMode & (LM_HORZDOCK | LM_VERTDOCK)) || m_bRowLayout || bDockedFixed)) {
        const bool horizontal = (dwMode & LM_HORZDOCK) ||
            (!(dwMode & LM_VERTDOCK) && (bDockedFixed ? (dwMode & LM_HORZ) != 0 : (m_dwStyle & CBRS_ORIENT_HORZ) != 0));
        if (horizontal)
            size.cx = std::max<LONG>(size.cx, GetEntireRow(TRUE));
        else
            size.cy = std::max<LONG>(size.cy, GetEntireRow(FALSE));
    }
    return size;
}

CSize COXMenuBar::CalcSize(TBBUTTON* pData, int nCount)
{
    CSize size = COXCoolToolBar::CalcSize(pData, nCount);
    if (m_pDockBar && !IsFloating()) {
        if (CFrameWnd* pFrame = GetDockingFrame(); pFrame && pFrame->m_hWnd) {
            CRect client;
            pFrame->GetClientRect(&client);
            int nLimit = client.Width();
            if (!m_rectClose.IsRectEmpty())
                nLimit -= m_rectClose.Width() + m_rectMinimize.Width() + m_rectRestore.Width() + GetIconRect().Width() +
                    14;
            if (nLimit > 0)
                size.cx = std::min<LONG>(size.cx, nLimit);
        }
    }
    return size;
}

void COXMenuBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pDockBar && !IsFloating() && IsVisible())
        m_bDelayedButtonLayout = TRUE;
}

void COXMenuBar::OnFloatingDocking(BOOL bFloating)
{
    COXCoolToolBar::OnFloatingDocking(bFloating);
    if (HasCustomButtons())
        RedrawToolBar(TRUE, FALSE);
    if (bFloating) {
        // A floating bar's mini frame gets an empty system menu.
        if (CWnd* pFrame = GetParentFrame(); pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
            if (const HMENU hSys = ::GetSystemMenu(pFrame->m_hWnd, FALSE))
                while (::GetMenuItemCount(hSys) > 0)
                    ::DeleteMenu(hSys, 0, MF_BYPOSITION);
        }
    }
}

void COXMenuBar::OnChangeDockSide(DWORD dwDockSide)
{
    COXCoolToolBar::OnChangeDockSide(dwDockSide);
    if (!IsFloating())
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->RecalcLayout();
}

// ---- command updates ----------------------------------------------------------------------------------------

void COXMenuBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/)
{
    if (!m_hWnd)
        return;
    const int nCount = std::min(GetMenuItemCount(), static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0)));
    for (int i = 0; i < nCount; ++i) {
        const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        const BOOL bEnable = state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
        const BOOL bEnabled = static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(i + 1), 0));
        if (!bEnable != !bEnabled)
            SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(i + 1), MAKELPARAM(bEnable, 0));
    }
    UpdateIcon(TRUE);
}

LRESULT COXMenuBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    return COXCoolToolBar::OnIdleUpdateCmdUI(wParam, lParam);
}

// ---- the mouse on the bar --------------------------------------------------------------------------------------

void COXMenuBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    const int nHit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    if (!IsFloatingEnabled() && nHit < 0)
        return;
    if (IsInAdvancedCustomizationMode() && GetDraggedButton() == -1) {
        if (m_nDragTimer) {
            KillTimer(m_nDragTimer);
            m_nDragTimer = 0;
            m_nPressedButton = -1;
        } else {
            m_nPressedButton = nHit;
            m_nDragTimer = SetTimer(ID_OXMENUBAR_DRAGTIMER, 200, nullptr);
        }
    }
    COXCoolToolBar::OnLButtonDown(nFlags, point);
}

void COXMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    const int nHit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    if (!IsFloatingEnabled() && nHit < 0)
        return;
    COXCoolToolBar::OnLButtonDblClk(nFlags, point);
}

void COXMenuBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    COXCoolToolBar::OnRButtonDown(nFlags, point);
}

void COXMenuBar::OnRButtonDblClk(UINT /*nFlags*/, CPoint /*point*/)
{
    if (IsFloating())
        SendMessage(TB_PRESSBUTTON, 1, MAKELPARAM(FALSE, 0));
    Default();
}

void COXMenuBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != ID_OXMENUBAR_DRAGTIMER || nIDEvent != m_nDragTimer) {
        Default();
        return;
    }
    KillTimer(m_nDragTimer);
    m_nDragTimer = 0;
    const int nButton = m_nPressedButton;
    m_nPressedButton = -1;
    if (!(::GetKeyState(VK_LBUTTON) & 0x8000) || nButton < 0 ||
        nButton >= static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0)))
        return;
    NMTOOLBARW nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = TBN_BEGINDRAG;
    nm.iItem = nButton + 1;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

BOOL COXMenuBar::OnMenuBarBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    return COXCoolToolBar::OnTBNBeginDrag(pNMHDR, pResult);
}

void COXMenuBar::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    EndSurfingQuietly();
}

void COXMenuBar::EndSurfingQuietly()
{
    if (!m_bSurfing)
        return;
    m_bSurfing = FALSE;
    if (m_hWnd)
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

// ---- customisation ---------------------------------------------------------------------------------------------

BOOL COXMenuBar::DisplayCustomizeButtonContextMenu(int /*nButtonIndex*/, CPoint ptScreen)
{
    CString deleteText, appearanceText;
    deleteText.LoadString(IDS_OXCUSTTB_DELETE);
    appearanceText.LoadString(IDS_OXCUSTTB_APPEARANCE);
    const HMENU hPopup = ::CreatePopupMenu();
    if (!hPopup)
        return FALSE;
    ::AppendMenuW(hPopup, MF_STRING, ID_OXCUSTTB_DELETE, deleteText);
    ::AppendMenuW(hPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPopup, MF_STRING, ID_OXCUSTTB_APPEARANCE, appearanceText);
    ::TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(hPopup);
    return TRUE;
}

void COXMenuBar::OnDeleteButton()
{
    const int nButton = GetCustomizedButton();
    if (nButton < 0 || SendCustomizeNotification(ID_OXCUSTTB_DELETE) != 0)
        return;
    const BOOL bSuppressed = m_bNoInternalRedraw;
    OnRemoveDraggedButton(nButton);
    m_bNoInternalRedraw = bSuppressed;
    SetCustomizedButton(-1);
}

LRESULT COXMenuBar::OnDragOver(WPARAM wParam, LPARAM lParam)
{
    if (!IsCustomizable(TRUE))
        return 0;
    if (auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        action->result = DROPEFFECT_NONE;
    (void)wParam;
    return TRUE;
}

LRESULT COXMenuBar::OnDrop(WPARAM wParam, LPARAM lParam)
{
    if (!IsCustomizable(TRUE))
        return 0;
    if (auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        action->result = FALSE;
    m_bDragInside = FALSE;
    (void)wParam;
    return TRUE;
}

void COXMenuBar::OnRemoveDraggedButton(int nIndex)
{
    const int nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    if (nIndex < 0 || nIndex >= nCount)
        return;
    for (int i = nIndex + 1; i < nCount; ++i)
        SendMessage(TB_SETCMDID, static_cast<WPARAM>(i), static_cast<LPARAM>(i));
    COXCoolToolBar::OnRemoveDraggedButton(nIndex);
    if (m_hMenu && nIndex < GetMenuItemCount()) {
        ::RemoveMenu(m_hMenu, static_cast<UINT>(nIndex), MF_BYPOSITION);
        MarkAsChanged();
    }
    RecreateMenuBar(TRUE);
}

BOOL COXMenuBar::RetrieveDragDropMenuItem(const BYTE*& p, const BYTE* pEnd, HMENU hMenu, int nPos)
{
    if (!p || !pEnd || pEnd < p || !hMenu || !::IsMenu(hMenu)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    OXDroppedMenuItems items;
    const OXDropDataResult result =
        OXParseDroppedMenuItems(std::span<const uint8_t>(p, static_cast<size_t>(pEnd - p)), items);
    if (!result.ok()) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // Built aside first: a menu that refuses an item leaves the target as it was.
    std::vector<HMENU> made;
    std::function<BOOL(const OXDroppedMenuItems&, HMENU, int)> insert = [&](const OXDroppedMenuItems& list, HMENU hInto,
                                                                             int nAt) -> BOOL {
        for (const OXDROPPEDMENUITEM& item : list) {
            BOOL ok = FALSE;
            if (item.IsPopup()) {
                const HMENU hPopup = ::CreatePopupMenu();
                if (!hPopup)
                    return FALSE;
                made.push_back(hPopup);
                if (!insert(item.children, hPopup, 0))
                    return FALSE;
                ok = ::InsertMenuW(hInto, static_cast<UINT>(nAt), MF_BYPOSITION | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(hPopup), item.sText.c_str());
            } else if (item.IsSeparator()) {
                ok = ::InsertMenuW(hInto, static_cast<UINT>(nAt), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            } else {
                ok = ::InsertMenuW(hInto, static_cast<UINT>(nAt), MF_BYPOSITION | MF_STRING, item.nID,
                    item.sText.c_str());
            }
            if (!ok)
                return FALSE;
            nAt = nAt < 0 ? nAt : nAt + 1;
        }
        return TRUE;
    };
    const HMENU hStage = ::CreatePopupMenu();
    if (!hStage)
        return FALSE;
    if (!insert(items, hStage, 0)) {
        ::DestroyMenu(hStage);   // the staged popups go with it
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // Moves the staged items over, each with its submenu.
    const int nStaged = ::GetMenuItemCount(hStage);
    int nAt = nPos;
    for (int i = 0; i < nStaged; ++i) {
        wchar_t text[1025] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 1024;
        ::GetMenuItemInfoW(hStage, static_cast<UINT>(i), TRUE, &info);
        if (!::InsertMenuItemW(hMenu, static_cast<UINT>(nAt), TRUE, &info)) {
            ::DestroyMenu(hStage);
            return FALSE;
        }
        ++nAt;
    }
    while (::GetMenuItemCount(hStage) > 0)
        ::RemoveMenu(hStage, 0, MF_BYPOSITION);
    ::DestroyMenu(hStage);
    m_arrCreatedMenus.insert(m_arrCreatedMenus.end(), made.begin(), made.end());
    p += result.consumed;
    return TRUE;
}
