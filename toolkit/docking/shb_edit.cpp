// The shortcut bar's in-place editor: starting and ending an edit, the keys and the mouse
// outside the edit, the colours. Automatic sizing is in shb_edit_autosize.cpp.
#include "toolkit/docking/shb_edit.h"

#include <cwchar>
#include <optional>

#include "platform/afx/gdi/dc.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/dialog.h"
#include "platform/user/edit.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNAMIC(COXSHBEdit, CEdit)

BEGIN_MESSAGE_MAP(COXSHBEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_CONTROL_REFLECT(EN_UPDATE, &COXSHBEdit::OnUpdate)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

namespace {

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom;
}

bool IsForwardedMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: return true;
    default: return false;
    }
}

// The client-area mouse messages and their non-client counterparts lie 0x160 apart
// (WM_MOUSEMOVE 0x200 → WM_NCMOUSEMOVE 0xA0, ... WM_MBUTTONDBLCLK 0x209 → 0xA9).
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

LPARAM PackPoint(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

} // namespace

COXSHBEdit::COXSHBEdit() { m_brush.CreateSolidBrush(::GetSysColor(COLOR_WINDOW)); }

COXSHBEdit::~COXSHBEdit()
{
    // The window goes while this object is whole, and without telling anyone: an editor
    // destroyed with its owner has nobody left to tell.
    m_bEditing = FALSE;
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

CRect COXSHBEdit::CurrentRect() const
{
    CRect r;
    ::GetWindowRect(m_hWnd, &r);
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&r), 2);
    return r;
}

BOOL COXSHBEdit::VerifyDisplayInfo(const _tagSHBE_DISPLAY* pDisplay)
{
    if (!pDisplay)
        return FALSE;
    const UINT mask = pDisplay->nMask;
    if (mask & ~SHBEIF_ALL)
        return FALSE;
    if ((mask & SHBEIF_AUTOSIZE) && !(mask & SHBEIF_RECTMAX))
        return FALSE;
    if (mask & SHBEIF_SELRANGE) {
        const int start = pDisplay->nSelStart, end = pDisplay->nSelEnd;
        const bool all = start == 0 && end == -1;
        if (!all && start != -1) {
            size_t length = 0;
            if (mask & SHBEIF_TEXT)
                length = pDisplay->lpText ? std::wcslen(pDisplay->lpText) : 0;
            else
                length = static_cast<size_t>(std::max(0, GetWindowTextLength()));
            // A selection may end at the text's end: (0, n) selects all of n characters and
            // (n, n) puts the caret after the last one.
            if ((start >= 0 && static_cast<size_t>(start) > length) || (end >= 0 && static_cast<size_t>(end) > length))
                return FALSE;
        }
    }
    CRect shown;
    if (mask & SHBEIF_RECTDISPLAY) {
        if (::IsRectEmpty(&pDisplay->rectDisplay))
            return FALSE;
        shown = pDisplay->rectDisplay;
    } else {
        CRect client;
        GetClientRect(&client);
        if (client.IsRectEmpty())
            return FALSE;
        shown = CurrentRect();
    }
    // Without a display rectangle the edit stays where it is, so that is what must fit.
    if ((mask & SHBEIF_RECTMAX) && !Inside(shown, pDisplay->rectMax))
        return FALSE;
    if ((mask & SHBEIF_RECTMIN) && (mask & SHBEIF_RECTMAX) && !Inside(pDisplay->rectMin, pDisplay->rectMax))
        return FALSE;
    if ((mask & SHBEIF_RECTMIN) && ::IsRectEmpty(&pDisplay->rectMin))
        return FALSE;
    return TRUE;
}

BOOL COXSHBEdit::StartEdit(_tagSHBE_DISPLAY* pDisplay)
{
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (pDisplay && !VerifyDisplayInfo(pDisplay)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // An edit still running is accepted first, as a click elsewhere would: destroying its
    // window below must not end it from inside the destruction.
    if (m_bEditing) {
        FinishEdit(TRUE);
        if (!m_hWnd || !::IsWindow(m_hWnd)) {
            ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
    }

    // Everything the new window needs is taken now: destroying the old one may end an
    // edit in progress, and the parent's handler may do what it likes meanwhile.
    DWORD style = GetStyle();
    CString text;
    GetWindowText(text);
    CRect rect = CurrentRect();
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    const HWND parent = ::GetParent(m_hWnd);
    bool replaceFont = false;
    std::optional<LOGFONT> font;
    if (pDisplay) {
        if (!m_pDisplayInfo)
            m_pDisplayInfo = std::make_unique<_tagSHBE_DISPLAY>();
        *m_pDisplayInfo = *pDisplay;
        // Only read during this call: keeping them would keep dangling pointers.
        m_pDisplayInfo->lpText = nullptr;
        m_pDisplayInfo->pFont = nullptr;
        const UINT mask = pDisplay->nMask;
        if (mask & SHBEIF_TEXT)
            text = pDisplay->lpText ? pDisplay->lpText : L"";
        if (mask & SHBEIF_RECTDISPLAY)
            rect = pDisplay->rectDisplay;
        if (mask & SHBEIF_STYLE)
            style = pDisplay->dwStyle;
        if (mask & SHBEIF_FONT) {
            replaceFont = true;
            LOGFONT lf{};
            if (pDisplay->pFont && pDisplay->pFont->m_hObject && pDisplay->pFont->GetLogFont(&lf))
                font = lf;
        }
        if (mask & SHBEIF_RECTMIN) {
            const RECT& m = pDisplay->rectMin;
            rect.left = std::min(rect.left, m.left);
            rect.top = std::min(rect.top, m.top);
            rect.right = std::max(rect.right, m.right);
            rect.bottom = std::max(rect.bottom, m.bottom);
        }
    } else {
        m_pDisplayInfo.reset();
    }

    if (!DestroyWindow())
        return FALSE;
    if (replaceFont) {
        m_font.DeleteObject();
        if (font)
            m_font.CreateFontIndirect(&*font);
    }
    // Shown once it holds its font, text and selection.
    style &= ~WS_VISIBLE;
    if (!Create(style, rect, CWnd::FromHandle(parent), id))
        return FALSE;
    if (m_font.m_hObject)
        SetFont(&m_font, TRUE);
    SetWindowText(text);
    if (m_pDisplayInfo && (m_pDisplayInfo->nMask & SHBEIF_CLRBACK)) {
        m_brush.DeleteObject();
        m_brush.CreateSolidBrush(m_pDisplayInfo->clrBack);
    }
    if (m_pDisplayInfo && (m_pDisplayInfo->nMask & SHBEIF_SELRANGE))
        SetSel(m_pDisplayInfo->nSelStart, m_pDisplayInfo->nSelEnd, TRUE);
    CRect client;
    GetClientRect(&client);
    SetRectNP(&client);
    // Sized once more now that the text sits in the client area as it will while typing
    // (the text was set with the edit's default margins), so the first keystroke does
    // not make the edit jump.
    OnUpdate();

    m_bEditing = TRUE;
    ShowWindow(SW_SHOW);
    SetFocus();
    return TRUE;
}

void COXSHBEdit::FinishEdit(BOOL bOK)
{
    if (!m_bEditing || !m_hWnd || !::IsWindow(m_hWnd))
        return;
    m_bEditing = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    _tagNMSHBEDIT nm{};
    nm.hdr.code = SHBEN_FINISHEDIT;
    nm.bOK = bOK;
    SendSHBENotification(&nm);
    // The parent may have started the next edit from its handler (the window is then a
    // new one, shown and editing) or destroyed everything.
    if (!m_bEditing && m_hWnd && ::IsWindow(m_hWnd))
        ShowWindow(SW_HIDE);
}

LRESULT COXSHBEdit::SendSHBENotification(_tagNMSHBEDIT* pNMSHBE)
{
    if (!pNMSHBE || !m_hWnd)
        return 0;
    const HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return 0;
    const UINT id = static_cast<UINT>(GetDlgCtrlID());
    pNMSHBE->hdr.hwndFrom = m_hWnd;
    pNMSHBE->hdr.idFrom = id;
    return ::SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(pNMSHBE));
}

bool COXSHBEdit::ForwardMouse(UINT message, LPARAM lParam, LRESULT& result)
{
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(pt)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return false;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ClientToScreen(&pt);
    const HWND target = ::WindowFromPoint(pt);
    if (!target)
        return false;
    const auto hit = static_cast<int>(::SendMessageW(target, WM_NCHITTEST, 0, PackPoint(pt)));
    UINT converted = message;
    LPARAM lp = 0;
    if (hit != HTCLIENT) {
        converted = message - kNonClientOffset;
        lp = PackPoint(pt);
    } else {
        CPoint local = pt;
        ::ScreenToClient(target, &local);
        lp = PackPoint(local);
    }
    const auto wp = static_cast<WPARAM>(static_cast<INT_PTR>(hit));
    const bool button = message != WM_MOUSEMOVE;
    // A click elsewhere accepts the edit before the window under it sees the click.
    if (button)
        FinishEdit(TRUE);
    // The parent's end-of-edit handler may have destroyed the window under the cursor.
    if (!::IsWindow(target)) {
        result = 1;
        return button;
    }
    ::SendMessageW(target, converted, wp, lp);
    if (::IsWindow(target))
        ::SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
            MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(converted)));
    if (button) {
        result = 1;
        return true;
    }
    // The move itself still reaches the edit as it came, in its own coordinates, so a
    // selection dragged out of the edit follows the cursor.
    return false;
}

LRESULT COXSHBEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            FinishEdit(TRUE);
            return 1;
        }
        if (wParam == VK_ESCAPE) {
            FinishEdit(FALSE);
            return 1;
        }
        break;
    case WM_CHAR:
        // The characters of Enter (and Ctrl+Enter) and Escape follow the key that ended
        // the edit; a multi-line edit would otherwise take Enter's as a line break.
        if (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B)
            return 0;
        break;
    case WM_GETDLGCODE:
        // Enter and Escape belong to the editor even inside a dialog.
        return CEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    default:
        if (IsForwardedMouseMessage(message)) {
            LRESULT result = 0;
            if (ForwardMouse(message, lParam, result))
                return result;
        }
        break;
    }
    const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
    // While editing the editor keeps the capture, so that it sees the click that ends it.
    if (m_bEditing && m_hWnd && ::IsWindow(m_hWnd) && ::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    return result;
}

void COXSHBEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    ::SetCapture(m_hWnd);
}

void COXSHBEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    if (m_hWnd && ::GetCapture() == m_hWnd)
        FinishEdit(TRUE);
}

HBRUSH COXSHBEdit::CtlColor(CDC* pDC, UINT)
{
    const _tagSHBE_DISPLAY* d = m_pDisplayInfo.get();
    pDC->SetBkColor(d && (d->nMask & SHBEIF_CLRBACK) ? d->clrBack : ::GetSysColor(COLOR_WINDOW));
    if (d && (d->nMask & SHBEIF_CLRTEXT))
        pDC->SetTextColor(d->clrText);
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}
