// Shared pieces of the standard controls: owned state, parent notifications and colours,
// fonts and classic text drawing.
#include "platform/user/control_common.h"

#include <utility>
#include <vector>

#include "platform/base/charcase.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/rect.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {

void SetControlState(HWND hwnd, std::shared_ptr<ControlState> state)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    std::shared_ptr<ControlState> old;
    {
        auto lock = LockUser();
        if (w->dead)
            return;
        old = std::exchange(w->controlState, std::move(state));
    }
}

// Both asked at every message of a control: the window is read under the user lock, with
// no reference taken.
std::shared_ptr<ControlState> ControlStateRaw(HWND hwnd)
{
    auto lock = LockUser();
    const Window* w = PeekLockedWnd(hwnd);
    return w ? w->controlState : nullptr;
}

HWND NotifyTarget(HWND ctl)
{
    auto lock = LockUser();
    const Window* w = PeekLockedWnd(ctl);
    if (!w)
        return nullptr;
    if (w->IsChild())
        return (w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot) ? w->parent->hwnd : nullptr;
    return w->owner;
}

LRESULT NotifyParent(HWND ctl, WORD code)
{
    const HWND target = NotifyTarget(ctl);
    if (!target)
        return 0;
    const auto id = static_cast<WORD>(GetDlgCtrlID(ctl));
    return SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(ctl));
}

HBRUSH ControlBrush(HWND ctl, HDC hdc, UINT ctlColorMsg)
{
    const HWND target = NotifyTarget(ctl);
    const auto wp = reinterpret_cast<WPARAM>(hdc);
    const auto lp = reinterpret_cast<LPARAM>(ctl);
    if (target) {
        if (const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(target, ctlColorMsg, wp, lp)))
            return brush;
        return reinterpret_cast<HBRUSH>(DefWindowProcW(target, ctlColorMsg, wp, lp));
    }
    return reinterpret_cast<HBRUSH>(DefWindowProcW(ctl, ctlColorMsg, wp, lp));
}

BOOL SendDrawItem(HWND ctl, UINT ctlType, UINT itemId, UINT action, UINT state, HDC hdc, const RECT& rc,
    ULONG_PTR itemData)
{
    const HWND target = NotifyTarget(ctl);
    if (!target)
        return FALSE;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ctlType;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(ctl));
    dis.itemID = itemId;
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = ctl;
    dis.hDC = hdc;
    dis.rcItem = rc;
    dis.itemData = itemData;
    return SendMessageW(target, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis)) ? TRUE : FALSE;
}

HFONT FontOrSystem(HFONT font)
{
    if (font && GetObjectType(font) == OBJ_FONT)
        return font;
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

DcSelection::DcSelection(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(obj ? SelectObject(hdc, obj) : nullptr) {}

DcSelection::~DcSelection()
{
    if (m_old)
        SelectObject(m_hdc, m_old);
}

namespace {

// The outermost window `hwnd` lies in that waits for a paint over it, or null.
HWND OutermostPendingOver(HWND hwnd)
{
    RECT mine{};
    if (!GetWindowRect(hwnd, &mine))
        return nullptr;
    HWND found = nullptr;
    for (HWND w = hwnd; GetWindowLongW(w, GWL_STYLE) & WS_CHILD;) {
        const HWND parent = GetAncestor(w, GA_PARENT);
        if (!parent)
            break;
        RECT pending{};
        if (GetUpdateRect(parent, &pending, FALSE)) {
            MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&pending), 2);
            RECT overlap{};
            if (IntersectRect(&overlap, &pending, &mine))
                found = parent;
        }
        w = parent;
    }
    return found;
}

} // namespace

bool AncestorPaintPending(HWND hwnd) { return OutermostPendingOver(hwnd) != nullptr; }

void UpdateControlNow(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return;
    // A window the control lies in that still waits for a paint over it would paint (erase,
    // on a parent that does not clip its children) over whatever the control drew now. The
    // outermost such window is painted now instead, with its children after it, the
    // control among them.
    const HWND outer = OutermostPendingOver(hwnd);
    UpdateWindow(outer ? outer : hwnd);
}

void RedrawControl(HWND hwnd)
{
    if (!IsWindowVisible(hwnd))
        return;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateControlNow(hwnd);
}

void DrawControlText(HDC hdc, std::wstring_view text, const RECT& rc, UINT dtFlags, bool enabled)
{
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    RECT r = rc;
    const int n = static_cast<int>(text.size());
    if (enabled) {
        DrawTextW(hdc, text.data(), n, &r, dtFlags);
    } else {
        const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_3DHIGHLIGHT));
        RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        DrawTextW(hdc, text.data(), n, &shifted, dtFlags);
        SetTextColor(hdc, GetSysColor(COLOR_3DSHADOW));
        DrawTextW(hdc, text.data(), n, &r, dtFlags);
        SetTextColor(hdc, old);
    }
    SetBkMode(hdc, oldMode);
}

RECT MeasureControlText(HDC hdc, std::wstring_view text, const RECT& rc, UINT dtFlags)
{
    RECT r = rc;
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r, dtFlags | DT_CALCRECT);
    return r;
}

std::wstring WindowTextOf(HWND hwnd)
{
    const int n = GetWindowTextLengthW(hwnd);
    if (n <= 0)
        return {};
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    const int got = GetWindowTextW(hwnd, buf.data(), n + 1);
    return std::wstring(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

wchar_t MnemonicOf(std::wstring_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i; // a literal ampersand
            continue;
        }
        return base::ToUpperChar(text[i + 1]);
    }
    return 0;
}

} // namespace zyn::user
