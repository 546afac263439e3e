// COXTabClientWnd: attaching to an MDI frame, the MDI client's messages, the layout and the
// saved state.
#include "toolkit/docking/tab_client.h"

#include "platform/afx/winapp.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(COXTabClientWnd, CWnd)

namespace {

constexpr int kPlaceholderSpare = 50; // a lone tab needs this much room beside it
constexpr DWORD kDefaultStyle = TCS_HOTTRACK;
constexpr DWORD kDefaultOffset = 1;

} // namespace

COXTabClientWnd::COXTabClientWnd() = default;

COXTabClientWnd::~COXTabClientWnd()
{
    if (IsAttached())
        Detach();
}

BOOL COXTabClientWnd::Attach(const CMDIFrameWnd* pParentFrame, DWORD dwTabCtrlStyle)
{
    if (IsAttached() || !pParentFrame || !pParentFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ||
        !::IsWindow(pParentFrame->m_hWndMDIClient) || CWnd::FromHandlePermanent(pParentFrame->m_hWndMDIClient))
        return FALSE;
    auto* frame = const_cast<CMDIFrameWnd*>(pParentFrame);
    if (!SubclassWindow(frame->m_hWndMDIClient))
        return FALSE;
    m_pParentFrame = frame;
    m_tab.m_pTabClientWnd = this;
    m_bHasPlaceholderTab = FALSE;
    if (!m_tab.Create(dwTabCtrlStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER, CRect(0, 0, 0, 0),
            frame, kWorkspaceId)) {
        Detach();
        return FALSE;
    }
    // Under the MDI client, which lies over its display area.
    m_tab.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    frame->RecalcLayout(TRUE);
    m_tab.UpdateContents(TRUE, FALSE);
    return TRUE;
}

BOOL COXTabClientWnd::Detach()
{
    if (!IsAttached())
        return FALSE;
    if (m_tab.m_hWnd)
        m_tab.DestroyWindow();
    m_tab.m_pTabClientWnd = nullptr;
    m_bHasPlaceholderTab = FALSE;
    if (m_hWnd)
        UnsubclassWindow();
    CMDIFrameWnd* frame = m_pParentFrame;
    m_pParentFrame = nullptr;
    if (frame && ::IsWindow(frame->m_hWnd))
        frame->RecalcLayout(TRUE);
    return TRUE;
}

BOOL COXTabClientWnd::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    const bool attached = IsAttached() && m_tab.m_hWnd;
    BOOL ok = app->WriteProfileInt(lpszProfileName, L"IsAttached", attached ? 1 : 0);
    ok = app->WriteProfileInt(lpszProfileName, L"Offset", attached ? static_cast<int>(m_tab.GetOffset()) : 1) && ok;
    ok = app->WriteProfileInt(lpszProfileName, L"Style",
             attached ? static_cast<int>(m_tab.GetStyle()) : static_cast<int>(kDefaultStyle)) &&
        ok;
    return ok;
}

BOOL COXTabClientWnd::LoadState(LPCTSTR lpszProfileName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    const BOOL wantAttached = app->GetProfileInt(lpszProfileName, L"IsAttached", 1) != 0;
    if (!IsAttached())
        return wantAttached ? FALSE : TRUE;
    // A margin no window could have, or a style that would make the workspace a popup,
    // is not a saved setting: the defaults stand in for it.
    DWORD offset = app->GetProfileInt(lpszProfileName, L"Offset", static_cast<int>(kDefaultOffset));
    if (offset > 0xFFFF)
        offset = kDefaultOffset;
    DWORD style = app->GetProfileInt(lpszProfileName, L"Style", static_cast<int>(kDefaultStyle));
    if (style & WS_POPUP)
        style = kDefaultStyle;
    if (wantAttached && m_tab.m_hWnd && m_tab.GetOffset() == offset && m_tab.GetStyle() == style)
        return TRUE;
    CMDIFrameWnd* frame = m_pParentFrame;
    Detach();
    if (!wantAttached)
        return TRUE;
    if (!Attach(frame, style))
        return FALSE;
    m_tab.SetOffset(offset, TRUE);
    return TRUE;
}

void COXTabClientWnd::PostRefresh()
{
    if (m_tab.m_hWnd)
        m_tab.PostMessage(WM_TIMER, COXTabWorkspace::kRefreshTimer, 0);
}

LRESULT COXTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MDIACTIVATE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (m_tab.m_hWnd) {
            const int tab = m_tab.FindTabItem(reinterpret_cast<HWND>(wParam));
            if (tab >= 0 && tab != m_tab.GetCurSel())
                m_tab.SetCurSel(tab);
            if (m_tab.GetStyle() & TCS_SCROLLOPPOSITE)
                m_bForceToRecalc = TRUE;
        }
        PostRefresh();
        return result;
    }
    case WM_MDICREATE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (result && m_tab.m_hWnd) {
            m_tab.SetCurSel(-1);
            PostRefresh();
        }
        return result;
    }
    case WM_MDIDESTROY: {
        // The child's tab goes and the tab of the child activated in its place is selected:
        // the tabs are painted once, when both are done, rather than after each.
        const bool batch = m_tab.m_hWnd && m_tab.IsWindowVisible();
        if (batch)
            m_tab.SetRedraw(FALSE);
        const BOOL removed = m_tab.RemoveTabItem(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), FALSE);
        if (batch)
            m_tab.SetRedraw(TRUE);
        if (removed && m_pParentFrame && LayoutInputsChanged())
            m_pParentFrame->RecalcLayout(TRUE);
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (batch && ::IsWindow(m_tab.m_hWnd)) {
            const auto active = reinterpret_cast<HWND>(SendMessage(WM_MDIGETACTIVE));
            const int tab = active ? m_tab.FindTabItem(active) : -1;
            const bool select = tab >= 0 && tab != m_tab.GetCurSel();
            if (select) {
                m_tab.SetRedraw(FALSE);
                m_tab.SetCurSel(tab);
                m_tab.SetRedraw(TRUE);
            }
            if (removed || select)
                m_tab.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        PostRefresh();
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        m_bForceToRecalc = TRUE;
        PostRefresh();
        return result;
    }
    case WM_SHOWWINDOW: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (lParam == 0 && m_tab.m_hWnd)
            m_tab.ModifyStyle(wParam ? 0 : WS_VISIBLE, wParam ? WS_VISIBLE : 0);
        return result;
    }
    case WM_NCPAINT:
        GetTabSkin()->OnNcPaintTabClient(this);
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

COXTabClientWnd::LayoutInputs COXTabClientWnd::CurrentLayoutInputs() const
{
    LayoutInputs in;
    if (!IsAttached() || !m_tab.m_hWnd)
        return in;
    in.style = m_tab.GetStyle();
    in.shown = (in.style & WS_VISIBLE) != 0;
    in.offset = m_tab.GetOffset();
    in.rows = m_tab.GetRowCount();
    if (m_tab.GetItemCount() - (m_bHasPlaceholderTab ? 1 : 0) == 1) {
        CRect first;
        m_tab.GetItemRect(0, &first);
        in.placeholder = first.Width() + kPlaceholderSpare >= m_nRowWidth;
    }
    return in;
}

bool COXTabClientWnd::LayoutInputsChanged() const
{
    return !m_bLaidOut || CurrentLayoutInputs() != m_laidOut;
}

void COXTabClientWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    if (IsAttached() && m_tab.m_hWnd && (m_tab.GetStyle() & WS_VISIBLE)) {
        CRect rect(*lpClientRect);
        CRect place = rect;
        const int offset = static_cast<int>(m_tab.GetOffset());
        auto shrink = [offset](CRect& r) {
            if (r.Width() > 2 * offset) {
                r.left += offset;
                r.right -= offset;
            } else {
                r.right = r.left;
            }
            if (r.Height() > 2 * offset) {
                r.top += offset;
                r.bottom -= offset;
            } else {
                r.bottom = r.top;
            }
        };
        shrink(rect);
        const DWORD style = m_tab.GetStyle();
        // The workspace's own geometry must be current before it is measured. This is its
        // place, so it repaints what changed and what it left as any move does; only the
        // measuring moves below leave the screen alone.
        CRect current;
        m_tab.GetWindowRect(&current);
        m_pParentFrame->ScreenToClient(&current);
        if (current != place)
            m_tab.SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                SWP_NOZORDER | SWP_NOACTIVATE);
        if ((style & TCS_BUTTONS) && (style & TCS_VERTICAL)) {
            // Vertical buttons: measured as horizontal rows on the transposed rectangle.
            const CRect transposed(place.left, place.top, place.left + place.Height(), place.top + place.Width());
            m_tab.SetWindowPos(nullptr, transposed.left, transposed.top, transposed.Width(), transposed.Height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            CRect measured = transposed;
            shrink(measured);
            const CRect before = measured;
            const DWORD removed = TCS_VERTICAL | (style & TCS_RIGHT);
            ::SetWindowLongW(m_tab.m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~removed));
            m_tab.AdjustRect(FALSE, &measured);
            ::SetWindowLongW(m_tab.m_hWnd, GWL_STYLE, static_cast<LONG>(style));
            const int insetLeft = measured.left - before.left, insetTop = measured.top - before.top;
            rect.top += insetLeft;
            if (!(style & TCS_RIGHT))
                rect.left += insetTop;
            rect.bottom = rect.top + measured.Width();
            rect.right = rect.left + measured.Height();
            m_tab.SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        } else if ((style & TCS_BUTTONS) && (style & TCS_BOTTOM)) {
            // Bottom buttons: measured as top buttons, the area moved back up above them.
            const CRect before = rect;
            ::SetWindowLongW(m_tab.m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~TCS_BOTTOM));
            m_tab.AdjustRect(FALSE, &rect);
            ::SetWindowLongW(m_tab.m_hWnd, GWL_STYLE, static_cast<LONG>(style));
            rect.OffsetRect(0, before.top - rect.top);
        } else {
            const int count = m_tab.GetItemCount();
            const int real = count - (m_bHasPlaceholderTab ? 1 : 0);
            m_nRowWidth = rect.Width();
            bool adjust = true;
            if (real == 1) {
                CRect first;
                m_tab.GetItemRect(0, &first);
                if (first.Width() + kPlaceholderSpare < rect.Width()) {
                    if (m_bHasPlaceholderTab) {
                        m_bHasPlaceholderTab = FALSE;
                        m_tab.DeleteItem(count - 1);
                    }
                } else if (!m_bHasPlaceholderTab) {
                    m_bHasPlaceholderTab = TRUE;
                    m_tab.InsertItem(TCIF_TEXT, count, L"", -1, 0);
                    adjust = false;
                }
            } else if (real != 1 && m_bHasPlaceholderTab) {
                m_bHasPlaceholderTab = FALSE;
                m_tab.DeleteItem(count - 1);
            }
            if (adjust)
                m_tab.AdjustRect(FALSE, &rect);
        }
        if (rect.right < rect.left || rect.bottom < rect.top)
            rect.SetRectEmpty();
        m_tab.ShowWindow(SW_SHOWNA);
        GetTabSkin()->AdjustChildItemRect(&rect, 5, &m_tab);
        *lpClientRect = rect;
    }
    m_laidOut = CurrentLayoutInputs();
    m_bLaidOut = true;
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}
