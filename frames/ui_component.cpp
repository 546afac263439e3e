#include "frames/ui_component.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/zyn_app.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CUIComponent, CDialog)

BEGIN_MESSAGE_MAP(CUIComponent, CDialog)
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CUIComponent::CUIComponent(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent)
{
}

CUIComponent::~CUIComponent() = default;

BOOL CUIComponent::Create(CWnd* pParent) { return CDialog::Create(m_lpszTemplateName, pParent); }

bool CUIComponent::SetState(AcCfgFormState state)
{
    m_state = state;
    return true;
}

ULONG CUIComponent::GetHelpID(int /*nControlID*/, CPoint& /*point*/) { return m_nIDHelp; }

const CAcsUser* CUIComponent::User() const { return CZynApp::GetAppAcsUser(); }

CZynDatabase* CUIComponent::Database() const
{
    const CAcsUser* user = User();
    return user ? user->GetDatabase() : nullptr;
}

void CUIComponent::DoDataExchange(CDataExchange* /*pDX*/) {}

void CUIComponent::PreSubclassWindow()
{
    ModifyStyle(0, WS_GROUP | WS_TABSTOP);
    CDialog::PreSubclassWindow();
}

BOOL CUIComponent::PreTranslateMessage(MSG* pMsg)
{
    const HWND hParent = m_hWnd && (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : nullptr;
    if (hParent && (::GetWindowLongPtrW(hParent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
        return CWnd::PreTranslateMessage(pMsg); // tooltips only
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CUIComponent::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetWindowRect(&m_rectCreated);
    m_nScrollPos = 0;
    return TRUE;
}

// ---- scrolling ---------------------------------------------------------------------------------------

int CUIComponent::GetMaxScrollPosition() const
{
    if (!m_bVerticallyScrollable)
        return 0;
    return std::max(0, ContentHeight() - m_nClientHeight);
}

int CUIComponent::GetLineStep() const { return std::max(GetMaxScrollPosition() / 20, 5); }

int CUIComponent::GetPageStep() const { return std::max(GetMaxScrollPosition() / 10, 5); }

void CUIComponent::SetIsVerticallyScrollable(bool scrollable)
{
    m_bVerticallyScrollable = scrollable;
    UpdateScrollInfo();
}

void CUIComponent::UpdateScrollInfo()
{
    if (!::IsWindow(m_hWnd))
        return;
    // The content keeps its place unless the new range no longer reaches it.
    const int clamped = std::clamp(m_nScrollPos, 0, GetMaxScrollPosition());
    if (clamped != m_nScrollPos) {
        const int d = clamped - m_nScrollPos;
        m_nScrollPos = clamped;
        ScrollWindow(0, -d);
    }
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = ContentHeight();
    si.nPage = static_cast<UINT>(std::max(0, m_nClientHeight));
    si.nPos = m_nScrollPos;
    SetScrollInfo(SB_VERT, &si, TRUE);
}

void CUIComponent::ScrollBy(int d)
{
    m_nScrollPos += d;
    SetScrollPos(SB_VERT, m_nScrollPos, TRUE);
    ScrollWindow(0, -d);
}

int CUIComponent::ThumbPosition(UINT nPos) const
{
    const int maxPos = GetMaxScrollPosition();
    const int64_t low = nPos & 0xFFFFu;
    // Within 16 bits (the bar's last position is M + 1) the message is exact.
    if (maxPos < 0xFFFF)
        return static_cast<int>(std::min<int64_t>(low, maxPos));
    // Beyond: the position with those low bits nearest the bar's own, which is the
    // thumb's while it is dragged (exactly the position the message was cut from).
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    int64_t reference = m_nScrollPos;
    if (::GetScrollInfo(m_hWnd, SB_VERT, &si))
        reference = si.nTrackPos;
    const int64_t near = (reference & ~int64_t{0xFFFF}) + low;
    int64_t best = near;
    for (const int64_t v : {near - 0x10000, near + 0x10000})
        if (std::llabs(v - reference) < std::llabs(best - reference))
            best = v;
    return static_cast<int>(std::clamp<int64_t>(best, 0, maxPos));
}

void CUIComponent::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!m_bVerticallyScrollable || pScrollBar) {
        CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    const int maxPos = GetMaxScrollPosition();
    const int pos = m_nScrollPos;
    int d = 0;
    switch (nSBCode) {
    case SB_LINEUP:
        if (pos < 1)
            return;
        d = -std::min(GetLineStep(), pos);
        break;
    case SB_LINEDOWN:
        if (pos >= maxPos)
            return;
        d = std::min(GetLineStep(), maxPos - pos);
        break;
    case SB_PAGEUP:
        if (pos < 1)
            return;
        d = -std::min(GetPageStep(), pos);
        break;
    case SB_PAGEDOWN:
        if (pos >= maxPos)
            return;
        d = std::min(GetPageStep(), maxPos - pos);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        d = ThumbPosition(nPos) - pos;
        break;
    default:
        return;
    }
    ScrollBy(d);
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CUIComponent::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    m_nClientHeight = cy;
    if (m_bVerticallyScrollable)
        UpdateScrollInfo();
}

BOOL CUIComponent::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (m_bVerticallyScrollable) {
        const int maxPos = GetMaxScrollPosition();
        if (zDelta < 0) {
            if (m_nScrollPos < maxPos)
                ScrollBy(std::min(GetLineStep(), maxPos - m_nScrollPos));
        } else if (m_nScrollPos > 0) {
            ScrollBy(-std::min(GetLineStep(), m_nScrollPos));
        }
    }
    return CDialog::OnMouseWheel(nFlags, zDelta, pt);
}
