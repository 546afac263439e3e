// COXToolTipCtrl: creation, the tool list, following the relayed mouse, the timers and
// the font. Drawing and placement are in tooltip_ctrl_draw.cpp.
#include "toolkit/controls/tooltip_ctrl.h"

#include <cstddef>
#include <new>

#include "platform/afx/winthread.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(COXToolTipCtrl, CWnd)

LPCTSTR const COXToolTipCtrl::m_szArrowSpace = L"  ";

namespace {
constexpr UINT_PTR kTimerInitial = 1;
constexpr UINT_PTR kTimerCheck = 2;
} // namespace

BEGIN_MESSAGE_MAP(COXToolTipCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_SETTINGCHANGE()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_SETFONT, &COXToolTipCtrl::OnSetFont)
    ON_MESSAGE(WM_GETFONT, &COXToolTipCtrl::OnGetFont)
END_MESSAGE_MAP()

COXToolTipCtrl::COXToolTipCtrl() = default;

COXToolTipCtrl::~COXToolTipCtrl()
{
    // The window goes first, while this is still a COXToolTipCtrl (its timers die in
    // OnDestroy) and before the tools it may point at.
    m_pCurrentToolTip = nullptr;
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i)
        delete static_cast<COXToolTipInfo*>(m_arrTools[i]);
    m_arrTools.RemoveAll();
}

BOOL COXToolTipCtrl::Create(CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    const LPCTSTR cls = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_TOPMOST, cls, L"", WS_POPUP, 0, 0, 10, 10, zyn::afx::SafeHwndOf(pParentWnd), nullptr))
        return FALSE;
    SetLogFont(GetSystemToolTipFont(), FALSE);
    return TRUE;
}

// ---- tools -----------------------------------------------------------------------------------------------------

COXToolTipInfo* COXToolTipCtrl::FindTool(HWND hWnd, UINT nIDTool) const
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        auto* t = static_cast<COXToolTipInfo*>(m_arrTools[i]);
        if (t->hWnd == hWnd && t->nIDTool == nIDTool)
            return t;
    }
    return nullptr;
}

int COXToolTipCtrl::IndexOf(const COXToolTipInfo* pTool) const
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        if (m_arrTools[i] == pTool)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL COXToolTipCtrl::ToolBounds(CWnd* pWnd, const RECT* lpRect, CRect& bounds) const
{
    if (!m_pParentWnd || !m_pParentWnd->m_hWnd)
        return FALSE;
    if (lpRect) {
        bounds = *lpRect;
        ::MapWindowPoints(pWnd->m_hWnd, m_pParentWnd->m_hWnd, reinterpret_cast<POINT*>(&bounds), 2);
    } else {
        ::GetWindowRect(pWnd->m_hWnd, &bounds);
        ::MapWindowPoints(nullptr, m_pParentWnd->m_hWnd, reinterpret_cast<POINT*>(&bounds), 2);
    }
    return TRUE;
}

BOOL COXToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, const RECT* lpRect, UINT nIDTool)
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    CRect bounds;
    if (!ToolBounds(pWnd, lpRect, bounds))
        return FALSE;
    auto* tool = new (std::nothrow) COXToolTipInfo;
    if (!tool)
        return FALSE;
    tool->hWnd = pWnd->m_hWnd;
    tool->nIDTool = nIDTool;
    if (lpszText == LPSTR_TEXTCALLBACK) {
        tool->nTextCallback = -1;
    } else if (lpszText) {
        tool->strText = lpszText;
    }
    tool->nWidth = m_nMaxWidth;
    tool->clrTextColor = m_crTextColor;
    tool->clrBackColor = m_crBackColor;
    tool->rectBounds = bounds;
    m_arrTools.Add(tool);
    return TRUE;
}

BOOL COXToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, const RECT* lpRect, UINT nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, static_cast<LPCTSTR>(text), lpRect, nIDTool);
}

void COXToolTipCtrl::DelTool(CWnd* pWnd, UINT nIDTool)
{
    COXToolTipInfo* tool = FindTool(zyn::afx::SafeHwndOf(pWnd), nIDTool);
    if (!tool)
        return;
    if (tool == m_pCurrentToolTip)
        Pop();
    const int index = IndexOf(tool);
    m_arrTools.RemoveAt(index);
    delete tool;
}

BOOL COXToolTipCtrl::UpdateToolRect(CWnd* pWnd, const RECT* lpRect, UINT nIDTool)
{
    COXToolTipInfo* tool = FindTool(zyn::afx::SafeHwndOf(pWnd), nIDTool);
    if (!tool)
        return FALSE;
    CRect bounds;
    if (!ToolBounds(pWnd, lpRect, bounds))
        return FALSE;
    tool->rectBounds = bounds;
    if (tool == m_pCurrentToolTip) {
        Pop();
        m_pCurrentToolTip = nullptr;
    }
    return TRUE;
}

void COXToolTipCtrl::GetText(CString& text, CWnd* pWnd, UINT nIDTool)
{
    if (COXToolTipInfo* tool = FindTool(zyn::afx::SafeHwndOf(pWnd), nIDTool))
        text = GetTooltipText(tool);
}

BOOL COXToolTipCtrl::GetToolInfo(OXTOOLINFO& info, CWnd* pWnd, UINT nIDTool)
{
    const COXToolTipInfo* tool = FindTool(zyn::afx::SafeHwndOf(pWnd), nIDTool);
    if (!tool)
        return FALSE;
    FillToolInfo(*tool, info);
    return TRUE;
}

void COXToolTipCtrl::FillToolInfo(const COXToolTipInfo& tool, OXTOOLINFO& info)
{
    void* const reserved = info.lpReserved; // not ours to write
    info = OXTOOLINFO{};
    info.lpReserved = reserved;
    info.cbSize = sizeof(OXTOOLINFO);
    info.uFlags = tool.nFlags;
    info.hwnd = tool.hWnd;
    info.uId = tool.nIDTool;
    info.rect = tool.rectBounds;
    info.hinst = ::AfxGetResourceHandle();
    info.lpszText = tool.IsCallback() ? LPSTR_TEXTCALLBACK : const_cast<LPWSTR>(tool.strText.GetString());
    info.lParam = tool.lParam;
    info.nWidth = tool.nWidth;
    info.clrTextColor = tool.clrTextColor;
    info.clrBackColor = tool.clrBackColor;
}

void COXToolTipCtrl::SetToolInfo(OXTOOLINFO* pInfo)
{
    if (!pInfo)
        return;
    // Only as much as the caller's structure holds is read.
    const bool whole = pInfo->cbSize == sizeof(OXTOOLINFO);
    const bool plain = pInfo->cbSize == TTTOOLINFOW_V2_SIZE || pInfo->cbSize == TTTOOLINFOW_V3_SIZE;
    if (!whole && !plain)
        return;
    COXToolTipInfo* tool = FindTool(pInfo->hwnd, static_cast<UINT>(pInfo->uId));
    if (!tool)
        return;
    if (whole) {
        *tool = *pInfo;
        return;
    }
    OXTOOLINFO merged{};
    static_cast<TOOLINFO&>(merged) = *pInfo;
    merged.nWidth = tool->nWidth;
    merged.clrTextColor = tool->clrTextColor;
    merged.clrBackColor = tool->clrBackColor;
    *tool = merged;
}

BOOL COXToolTipCtrl::HitTest(HWND hWnd, POINT point, OXTOOLINFO* pInfo)
{
    if (!hWnd)
        return FALSE;
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        auto* t = static_cast<COXToolTipInfo*>(m_arrTools[i]);
        if (!t->rectBounds.PtInRect(point))
            continue;
        if (t->hWnd == hWnd) {
            if (pInfo)
                FillToolInfo(*t, *pInfo);
            return TRUE;
        }
        // A tool of a window inside this one: that window's tools decide.
        if (::IsChild(hWnd, t->hWnd))
            return HitTest(t->hWnd, point, pInfo);
    }
    return FALSE;
}

COXToolTipInfo* COXToolTipCtrl::FindToolFromPoint(CPoint point)
{
    if (!m_pParentWnd || !m_pParentWnd->m_hWnd)
        return nullptr;
    const HWND parent = m_pParentWnd->m_hWnd;
    CPoint screen = point;
    ::ClientToScreen(parent, &screen);
    HWND under = ::WindowFromPoint(screen);
    if (under == parent)
        under = ::ChildWindowFromPointEx(parent, point, CWP_ALL);
    if (!under || (under != parent && !::IsChild(parent, under)))
        return nullptr;
    OXTOOLINFO info{};
    if (!HitTest(under, point, &info))
        return nullptr;
    return FindTool(info.hwnd, static_cast<UINT>(info.uId));
}

// ---- settings -----------------------------------------------------------------------------------------------

void COXToolTipCtrl::SetDelayTime(DWORD dwDuration, int nTime)
{
    if (dwDuration == TTDT_AUTOPOP)
        m_nDisplayDelay = nTime;
    else if (dwDuration == TTDT_INITIAL)
        m_nInitDelay = nTime;
}

int COXToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    if (dwDuration == TTDT_AUTOPOP)
        return m_nDisplayDelay;
    if (dwDuration == TTDT_INITIAL)
        return m_nInitDelay;
    return 0;
}

void COXToolTipCtrl::GetMargin(LPRECT lpRect) const
{
    if (lpRect)
        *lpRect = m_rectMargin;
}

void COXToolTipCtrl::SetMargin(LPRECT lpRect)
{
    if (lpRect)
        m_rectMargin = *lpRect;
}

int COXToolTipCtrl::SetMaxTipWidth(int nWidth)
{
    const int old = m_nMaxWidth;
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        auto* t = static_cast<COXToolTipInfo*>(m_arrTools[i]);
        if (t->nWidth == old)
            t->nWidth = nWidth;
    }
    m_nMaxWidth = nWidth;
    return old;
}

void COXToolTipCtrl::SetTipBkColor(COLORREF clr)
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        auto* t = static_cast<COXToolTipInfo*>(m_arrTools[i]);
        if (t->clrBackColor == m_crBackColor)
            t->clrBackColor = clr;
    }
    m_crBackColor = clr;
}

void COXToolTipCtrl::SetTipTextColor(COLORREF clr)
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
        auto* t = static_cast<COXToolTipInfo*>(m_arrTools[i]);
        if (t->clrTextColor == m_crTextColor)
            t->clrTextColor = clr;
    }
    m_crTextColor = clr;
}

BOOL COXToolTipCtrl::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) ? TRUE : FALSE; }

// ---- following the mouse ----------------------------------------------------------------------------------------

void COXToolTipCtrl::RelayEvent(MSG* pMsg)
{
    if (!pMsg || !m_hWnd || !m_pParentWnd || !m_pParentWnd->m_hWnd)
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE: {
        CPoint point = pMsg->pt;
        ::ScreenToClient(m_pParentWnd->m_hWnd, &point);
        COXToolTipInfo* tool = FindToolFromPoint(point);
        if (!tool) {
            // A shown info box survives the mouse leaving its tool (on the way to it).
            if (!(m_bHasExtendedText && !m_bTipCancelled))
                m_pCurrentToolTip = nullptr;
        } else if (tool != m_pCurrentToolTip && (!m_pCurrentToolTip || !IsCursorInToolTip())) {
            StartNewTool(tool);
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (!IsCursorInToolTip())
            Pop();
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        Pop();
        break;
    default:
        if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
            Pop();
        break;
    }
}

void COXToolTipCtrl::StartNewTool(COXToolTipInfo* pToolTip)
{
    if (!pToolTip)
        return; // only a tool starts anything: no tool must not put a shown tip away
    KillTimer(kTimerInitial);
    KillTimer(kTimerCheck);
    Pop();
    m_bTipCancelled = FALSE;
    m_pCurrentToolTip = pToolTip;
    SetTimer(kTimerInitial, static_cast<UINT>(m_nInitDelay));
}

void COXToolTipCtrl::Pop()
{
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    m_bTipCancelled = TRUE;
    m_pCurrentToolTip = nullptr;
}

BOOL COXToolTipCtrl::IsCursorInTool(COXToolTipInfo* pToolTip)
{
    if (!pToolTip || !m_pParentWnd || !m_pParentWnd->m_hWnd)
        return FALSE;
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_pParentWnd->m_hWnd, &point);
    return HitTest(pToolTip->hWnd, point, nullptr);
}

BOOL COXToolTipCtrl::IsCursorInToolTip() const
{
    if (m_bTipCancelled || !m_hWnd || !::IsWindow(m_hWnd) || !(GetStyle() & WS_VISIBLE))
        return FALSE;
    CRect r;
    GetWindowRect(&r);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    return r.PtInRect(cursor);
}

void COXToolTipCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerInitial && nIDEvent != kTimerCheck) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (!m_pCurrentToolTip || m_bTipCancelled || !m_pParentWnd || !m_pParentWnd->m_hWnd) {
        KillTimer(nIDEvent);
        Pop();
        return;
    }
    if (nIDEvent == kTimerInitial) {
        KillTimer(kTimerInitial);
        if (!IsCursorInTool(m_pCurrentToolTip)) {
            m_pCurrentToolTip = nullptr;
            return;
        }
        CPoint cursor;
        ::GetCursorPos(&cursor);
        DisplayToolTip(cursor + m_ptOffset, FALSE);
        m_nElapsedTime = 0;
        SetTimer(kTimerCheck, static_cast<UINT>(m_nCheckInterval));
        return;
    }
    m_nElapsedTime += m_nCheckInterval;
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_pParentWnd->m_hWnd, &point);
    COXToolTipInfo* tool = FindToolFromPoint(point);
    // Only another tool ends the tip at once; no tool under the mouse (it may be on the
    // tip itself, an info box about to be clicked) falls to the rule below.
    if (tool && tool != m_pCurrentToolTip) {
        KillTimer(kTimerCheck);
        Pop();
    } else if ((!IsCursorInTool(m_pCurrentToolTip) || m_nElapsedTime >= m_nDisplayDelay) && !IsCursorInToolTip()) {
        KillTimer(kTimerCheck);
        Pop();
    }
}

// ---- window messages -------------------------------------------------------------------------------------------

void COXToolTipCtrl::OnLButtonUp(UINT, CPoint) { Default(); }

void COXToolTipCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    m_hOldFocusWnd = zyn::afx::SafeHwndOf(pOldWnd);
}

void COXToolTipCtrl::OnDestroy()
{
    KillTimer(kTimerInitial);
    KillTimer(kTimerCheck);
    CWnd::OnDestroy();
}

void COXToolTipCtrl::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    if (m_bUsingSystemFont)
        SetLogFont(GetSystemToolTipFont(), TRUE);
}

int COXToolTipCtrl::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

LRESULT COXToolTipCtrl::OnSetFont(WPARAM wParam, LPARAM)
{
    Default();
    LOGFONT lf{};
    const auto hFont = reinterpret_cast<HFONT>(wParam);
    if (hFont && ::GetObjectW(hFont, sizeof lf, &lf) != 0)
        SetLogFont(&lf, TRUE);
    else
        SetLogFont(GetSystemToolTipFont(), TRUE);
    return 0;
}

LRESULT COXToolTipCtrl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_font.GetSafeHandle()); }

// ---- fonts -------------------------------------------------------------------------------------------------------

LOGFONT* COXToolTipCtrl::GetSystemToolTipFont()
{
    // One copy per user-interface thread, so two threads never write the same one.
    thread_local LOGFONT font{};
    NONCLIENTMETRICSW ncm{};
    // The layout without iPaddedBorderWidth, which every system answers.
    ncm.cbSize = static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth));
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0))
        font = ncm.lfStatusFont;
    return &font;
}

BOOL COXToolTipCtrl::SetLogFont(LOGFONT* pLogFont, BOOL bRedraw)
{
    if (!pLogFont)
        return FALSE;
    m_LogFont = *pLogFont;
    const LOGFONT* sys = GetSystemToolTipFont();
    m_bUsingSystemFont = m_LogFont.lfHeight == sys->lfHeight && m_LogFont.lfWeight == sys->lfWeight &&
        m_LogFont.lfItalic == sys->lfItalic && m_LogFont.lfCharSet == sys->lfCharSet &&
        ::wcsncmp(m_LogFont.lfFaceName, sys->lfFaceName, LF_FACESIZE) == 0;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_LogFont);
    if (bRedraw && m_hWnd && ::IsWindow(m_hWnd))
        Invalidate();
    return TRUE;
}
