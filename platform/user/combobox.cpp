// The "ComboBox" window class: creation of its edit and list, layout, painting and the
// CB_* messages.
#include "platform/user/combobox.h"

#include <string>

#include "platform/base/lasterror.h"
#include "platform/user/dialog.h"
#include "platform/user/input.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/combobox_state.h"
#include "platform/user/edit.h"
#include "platform/user/edit_internal.h"
#include "platform/user/listbox.h"
#include "platform/user/listbox_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/stdctl_classes.h"
#include "platform/user/styles.h"
#include "platform/user/user_types.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

constexpr int kEdge = 2;            // the sunken edge around field and button
constexpr UINT_PTR kListId = 1000;
constexpr UINT_PTR kEditId = 1001;

StateMap<ComboState>& States()
{
    static StateMap<ComboState> m;
    return m;
}

int ClientWidth(const ComboState& s)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    return rc.right - rc.left;
}

// The list box styles that carry a combo box's.
DWORD ListStyleFor(DWORD cbs)
{
    DWORD ls = LBS_COMBOBOX | LBS_NOTIFY;
    ls |= cbs & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE); // the same bits
    if (cbs & CBS_SORT)
        ls |= LBS_SORT;
    if (cbs & CBS_HASSTRINGS)
        ls |= LBS_HASSTRINGS;
    if (cbs & CBS_NOINTEGRALHEIGHT)
        ls |= LBS_NOINTEGRALHEIGHT;
    if (cbs & CBS_DISABLENOSCROLL)
        ls |= LBS_DISABLENOSCROLL;
    if (cbs & WS_VSCROLL)
        ls |= WS_VSCROLL;
    return ls;
}

void MeasureField(ComboState& s)
{
    s.fieldHeight = s.fi.height + 2;
    if (!s.OwnerDraw() || !s.owner)
        return;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_COMBOBOX;
    mis.CtlID = s.id;
    mis.itemID = static_cast<UINT>(-1);
    mis.itemWidth = static_cast<UINT>(std::max(0, ClientWidth(s)));
    mis.itemHeight = static_cast<UINT>(s.fi.height);
    SendMessageW(s.owner, WM_MEASUREITEM, s.id, reinterpret_cast<LPARAM>(&mis));
    s.fieldHeight = static_cast<int>(std::clamp<UINT>(mis.itemHeight, 1, 255));
}

void Layout(ComboState& s)
{
    if (s.edit) {
        const RECT r = SelectionRect(s);
        SetWindowPos(s.edit, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (s.Simple() && s.list) {
        RECT rc{};
        GetClientRect(s.hwnd, &rc);
        const int top = FieldTotalHeight(s);
        SetWindowPos(s.list, nullptr, 0, top, rc.right, std::max<int>(0, rc.bottom - top),
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Keeps a drop-down combo box as high as its field; the height asked for becomes the
// height of the whole box with its list dropped.
void FitHeight(ComboState& s)
{
    if (s.Simple())
        return;
    RECT wr{};
    GetWindowRect(s.hwnd, &wr);
    if (wr.bottom - wr.top != FieldTotalHeight(s))
        SetWindowPos(s.hwnd, nullptr, 0, 0, wr.right - wr.left, FieldTotalHeight(s),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnCreate(ComboState& s, const CREATESTRUCTW* cs)
{
    s.style = cs ? static_cast<DWORD>(cs->style) : static_cast<DWORD>(GetWindowLongPtrW(s.hwnd, GWL_STYLE));
    s.owner = NotifyTarget(s.hwnd);
    s.id = static_cast<UINT>(GetWindowLongPtrW(s.hwnd, GWLP_ID));
    s.fi = MeasureFont(nullptr);
    MeasureField(s);
    const int asked = cs ? cs->cy : 0;
    s.listHeight = std::max(asked - FieldTotalHeight(s), s.fi.height + 2);
    const DWORD ls = ListStyleFor(s.style);
    HINSTANCE inst = cs ? cs->hInstance : nullptr;
    if (s.Simple()) {
        s.list = CreateWindowExW(0, L"ComboLBox", nullptr, ls | WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, s.hwnd,
            reinterpret_cast<HMENU>(kListId), inst, nullptr);
    } else {
        // The dropped list is a child of the desktop, topmost, so it can reach past the
        // dialog; it goes with the combo box explicitly.
        s.list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"ComboLBox", nullptr, ls | WS_CHILD | WS_BORDER, 0,
            0, 0, 0, GetDesktopWindow(), reinterpret_cast<HMENU>(kListId), inst, nullptr);
    }
    if (!s.list)
        return -1;
    ListAttachToCombo(s.list, s.hwnd, s.owner, s.id);
    if (auto l = ListOf(s.list)) {
        l->fi = s.fi;
        l->itemHeight = std::max(1, s.fi.height);
        if (s.OwnerDraw() && !(s.style & CBS_OWNERDRAWVARIABLE))
            MeasureItem(*l, 0);
    }
    if (!s.DropList()) {
        DWORD es = WS_CHILD | WS_VISIBLE | ES_LEFT;
        if (s.style & CBS_AUTOHSCROLL)
            es |= ES_AUTOHSCROLL;
        if (s.style & CBS_UPPERCASE)
            es |= ES_UPPERCASE;
        if (s.style & CBS_LOWERCASE)
            es |= ES_LOWERCASE;
        const RECT r = SelectionRect(s);
        s.edit = CreateWindowExW(0, L"Edit", nullptr, es, r.left, r.top, r.right - r.left, r.bottom - r.top, s.hwnd,
            reinterpret_cast<HMENU>(kEditId), inst, nullptr);
        if (!s.edit)
            return -1;
        EditAttachToCombo(s.edit, s.hwnd);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
            s.quietEdit = true;
            SetWindowTextW(s.edit, cs->lpszName);
            s.quietEdit = false;
        }
    }
    FitHeight(s);
    Layout(s);
    return 0;
}

void SetFont(ComboState& s, HFONT font, bool redraw)
{
    s.font = font;
    s.fi = MeasureFont(font);
    if (s.edit)
        SendMessageW(s.edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (s.list)
        SendMessageW(s.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!s.OwnerDraw())
        s.fieldHeight = s.fi.height + 2;
    FitHeight(s);
    Layout(s);
    if (redraw)
        InvalidateCombo(s);
}

void PaintField(ComboState& s, HDC dc)
{
    const LONG_PTR style = GetWindowLongPtrW(s.hwnd, GWL_STYLE);
    const bool disabled = (style & WS_DISABLED) != 0;
    RECT frame = FieldFrame(s);
    HBRUSH brush = CtlColor(s.hwnd, dc, disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (!IsWindow(s.hwnd))
        return;
    const COLORREF textColor = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
    RECT inner = frame;
    InflateRect(&inner, -kEdge, -kEdge);
    FillRect(dc, &inner, brush);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    RECT button = ButtonRect(s);
    if (!IsRectEmpty(&button)) {
        UINT state = DFCS_SCROLLCOMBOBOX;
        auto l = ListOf(s.list);
        if (s.dropped && l && l->buttonDown)
            state |= DFCS_PUSHED | DFCS_FLAT;
        if (disabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &button, DFC_SCROLL, state);
    }
    if (!s.DropList())
        return;
    RECT item = SelectionRect(s);
    const int sel = CurSel(s);
    const bool highlight = s.focused && !s.dropped;
    if (s.OwnerDraw()) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = s.id;
        dis.itemID = static_cast<UINT>(sel);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0u) | (disabled ? ODS_DISABLED : 0u);
        dis.hwndItem = s.hwnd;
        dis.hDC = dc;
        dis.rcItem = item;
        dis.itemData = sel >= 0 ? static_cast<ULONG_PTR>(SendMessageW(s.list, LB_GETITEMDATA, sel, 0)) : 0;
        const int saved = SaveDC(dc);
        if (s.owner)
            SendMessageW(s.owner, WM_DRAWITEM, s.id, reinterpret_cast<LPARAM>(&dis));
        RestoreDC(dc, saved);
        return;
    }
    if (highlight) {
        FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(dc, textColor);
    }
    if (sel >= 0) {
        const auto len = SendMessageW(s.list, LB_GETTEXTLEN, sel, 0);
        if (len >= 0) {
            std::wstring text(static_cast<size_t>(len) + 1, L'\0');
            SendMessageW(s.list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(len));
            SetBkMode(dc, TRANSPARENT);
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, item.left, item.top, item.right, item.bottom);
            const int y = item.top + (item.bottom - item.top - s.fi.height) / 2;
            ExtTextOutW(dc, item.left + 2, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
            RestoreDC(dc, saved);
        }
    }
    if (highlight)
        DrawFocusRect(dc, &item);
}

LRESULT SetCurSel(ComboState& s, WPARAM i)
{
    // An index past the items clears the selection and the field as -1 does, and both
    // answer CB_ERR; the list box alone would keep its old selection.
    const INT_PTR index = static_cast<INT_PTR>(i);
    if (index < 0 || index >= SendMessageW(s.list, LB_GETCOUNT, 0, 0))
        i = static_cast<WPARAM>(-1);
    const LRESULT r = SendMessageW(s.list, LB_SETCURSEL, i, 0);
    if (s.dropped)
        s.selAtDrop = CurSel(s);
    ShowSelection(s);
    return r;
}

LRESULT SetText(ComboState& s, const wchar_t* text)
{
    if (s.edit) {
        s.quietEdit = true;
        SetWindowTextW(s.edit, text ? text : L"");
        s.quietEdit = false;
        const LRESULT i = SendMessageW(s.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(text ? text : L""));
        SendMessageW(s.list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        return TRUE;
    }
    const LRESULT i = SendMessageW(s.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
        reinterpret_cast<LPARAM>(text ? text : L""));
    if (i < 0)
        return CB_ERR;
    SetCurSel(s, static_cast<WPARAM>(i));
    return TRUE;
}

LRESULT GetText(ComboState& s, WPARAM size, LPARAM buf, bool lengthOnly)
{
    if (s.edit)
        return SendMessageW(s.edit, lengthOnly ? WM_GETTEXTLENGTH : WM_GETTEXT, size, buf);
    const int sel = CurSel(s);
    std::wstring text;
    if (sel >= 0) {
        const auto len = SendMessageW(s.list, LB_GETTEXTLEN, sel, 0);
        if (len > 0) {
            text.assign(static_cast<size_t>(len) + 1, L'\0');
            SendMessageW(s.list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(len));
        }
    }
    if (lengthOnly)
        return static_cast<LRESULT>(text.size());
    auto* out = reinterpret_cast<wchar_t*>(buf);
    if (!out || size == 0)
        return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::copy_n(text.data(), n, out);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT SetItemHeight(ComboState& s, WPARAM index, LPARAM lp)
{
    const int h = LOWORD(lp);
    if (static_cast<int>(static_cast<INT_PTR>(index)) != -1)
        return SendMessageW(s.list, LB_SETITEMHEIGHT, index, lp);
    if (h <= 0 || h > 255)
        return CB_ERR;
    s.fieldHeight = h;
    FitHeight(s);
    Layout(s);
    InvalidateCombo(s);
    return 0;
}

void FillInfo(const ComboState& s, COMBOBOXINFO& info)
{
    info.rcItem = SelectionRect(s);
    info.rcButton = ButtonRect(s);
    info.stateButton = 0;
    if (s.Simple()) {
        info.stateButton = STATE_SYSTEM_INVISIBLE;
    } else if (s.dropped) {
        auto l = ListOf(s.list);
        if (l && l->buttonDown)
            info.stateButton = STATE_SYSTEM_PRESSED;
    }
    info.hwndCombo = s.hwnd;
    info.hwndItem = s.edit ? s.edit : s.hwnd;
    info.hwndList = s.list;
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto s = States().Create(hwnd);
        s->hwnd = hwnd;
        // The scroll-bar styles are the list's: the combo box itself has no bars.
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        if (style & (WS_VSCROLL | WS_HSCROLL))
            SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto sp = States().Get(hwnd);
    if (!sp)
        return DefWindowProcW(hwnd, msg, wp, lp);
    ComboState& s = *sp;
    switch (msg) {
    case WM_CREATE: return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp));
    case WM_DESTROY:
        if (s.dropped && GetCapture() == s.list)
            ReleaseCapture();
        s.dropped = false;
        if (!s.Simple() && IsWindow(s.list))
            DestroyWindow(s.list); // the desktop's child: it goes with us explicitly
        return 0;
    case WM_NCDESTROY:
        States().Remove(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (s.dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == static_cast<WPARAM>(VK_RETURN) || m->wParam == static_cast<WPARAM>(VK_ESCAPE)))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (pos && !(pos->flags & SWP_NOSIZE) && !s.Simple() && pos->cy != FieldTotalHeight(s)) {
            if (pos->cy > FieldTotalHeight(s))
                s.listHeight = pos->cy - FieldTotalHeight(s);
            pos->cy = FieldTotalHeight(s);
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_SIZE: Layout(s); InvalidateCombo(s); return 0;
    case WM_SETFONT: SetFont(s, reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_ENABLE:
        if (!wp && s.dropped)
            CloseList(s, CloseHow::Cancel);
        if (s.edit)
            EnableWindow(s.edit, wp != 0);
        if (s.list && s.Simple())
            EnableWindow(s.list, wp != 0);
        InvalidateCombo(s);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        if (wp) {
            PaintField(s, reinterpret_cast<HDC>(wp));
            return 0;
        }
        PaintScope ps(hwnd, s.font);
        if (ps)
            PaintField(s, ps.get());
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A child's colours are the parent's to give.
        if (s.owner)
            if (const LRESULT r = SendMessageW(s.owner, msg, wp, lp))
                return r;
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_COMMAND:
        if (s.edit && reinterpret_cast<HWND>(lp) == s.edit)
            OnEditNotify(s, HIWORD(wp));
        return 0;
    case WM_SETFOCUS: OnComboSetFocus(s); return 0;
    case WM_KILLFOCUS: OnComboKillFocus(s, reinterpret_cast<HWND>(wp)); return 0;
    case WM_KEYDOWN:
        if (ComboKey(s, msg, wp))
            return 0;
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SYSKEYDOWN:
        // Taken or not, DefWindowProc sees it, so Alt+Down does not count as Alt alone.
        ComboKey(s, msg, wp);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_CHAR:
        if (s.DropList())
            SendMessageW(s.list, WM_CHAR, wp, lp);
        else if (s.edit)
            SendMessageW(s.edit, WM_CHAR, wp, lp);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnComboMouseDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_CANCELMODE:
        if (s.dropped)
            CloseList(s, CloseHow::Cancel);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_MOUSEWHEEL:
        if (s.dropped)
            return SendMessageW(s.list, msg, wp, lp);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_SETTEXT: return SetText(s, reinterpret_cast<const wchar_t*>(lp));
    case WM_GETTEXT: return GetText(s, wp, lp, false);
    case WM_GETTEXTLENGTH: return GetText(s, 0, 0, true);
    case CB_ADDSTRING: return SendMessageW(s.list, LB_ADDSTRING, wp, lp);
    case CB_INSERTSTRING: return SendMessageW(s.list, LB_INSERTSTRING, wp, lp);
    case CB_DELETESTRING: {
        const LRESULT r = SendMessageW(s.list, LB_DELETESTRING, wp, lp);
        InvalidateCombo(s);
        return r;
    }
    case CB_RESETCONTENT:
        SendMessageW(s.list, LB_RESETCONTENT, 0, 0);
        if (s.edit) {
            s.quietEdit = true;
            SetWindowTextW(s.edit, L"");
            s.quietEdit = false;
        }
        InvalidateCombo(s);
        return CB_OKAY;
    case CB_GETCOUNT: return SendMessageW(s.list, LB_GETCOUNT, 0, 0);
    case CB_GETLBTEXT: return SendMessageW(s.list, LB_GETTEXT, wp, lp);
    case CB_GETLBTEXTLEN: return SendMessageW(s.list, LB_GETTEXTLEN, wp, lp);
    case CB_SETCURSEL: return SetCurSel(s, wp);
    case CB_GETCURSEL: return CurSel(s);
    case CB_FINDSTRING: return SendMessageW(s.list, LB_FINDSTRING, wp, lp);
    case CB_FINDSTRINGEXACT: return SendMessageW(s.list, LB_FINDSTRINGEXACT, wp, lp);
    case CB_SELECTSTRING: {
        const LRESULT i = SendMessageW(s.list, LB_FINDSTRING, wp, lp);
        if (i < 0)
            return CB_ERR;
        return SetCurSel(s, static_cast<WPARAM>(i));
    }
    case CB_SETITEMDATA: return SendMessageW(s.list, LB_SETITEMDATA, wp, lp);
    case CB_GETITEMDATA: return SendMessageW(s.list, LB_GETITEMDATA, wp, lp);
    case CB_GETTOPINDEX: return SendMessageW(s.list, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return SendMessageW(s.list, LB_SETTOPINDEX, wp, 0);
    case CB_GETHORIZONTALEXTENT: return SendMessageW(s.list, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_SETHORIZONTALEXTENT: return SendMessageW(s.list, LB_SETHORIZONTALEXTENT, wp, 0);
    case CB_SETLOCALE: return SendMessageW(s.list, LB_SETLOCALE, wp, 0);
    case CB_GETLOCALE: return SendMessageW(s.list, LB_GETLOCALE, 0, 0);
    case CB_INITSTORAGE: return SendMessageW(s.list, LB_INITSTORAGE, wp, lp);
    case CB_SHOWDROPDOWN:
        if (wp)
            OpenList(s, false);
        else
            CloseList(s, CloseHow::Quiet);
        return TRUE;
    case CB_GETDROPPEDSTATE: return s.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        if (!rc)
            return CB_ERR;
        RECT wr{};
        GetWindowRect(hwnd, &wr);
        *rc = RECT{wr.left, wr.top, wr.left + std::max<int>(wr.right - wr.left, s.droppedWidth),
            wr.top + FieldTotalHeight(s) + (s.Simple() ? 0 : s.listHeight)};
        return TRUE;
    }
    case CB_SETMINVISIBLE:
        if (static_cast<INT_PTR>(wp) <= 0)
            return FALSE;
        s.minVisible = static_cast<int>(std::min<WPARAM>(wp, 0x7FFF));
        return TRUE;
    case CB_GETMINVISIBLE: return s.minVisible;
    case CB_SETDROPPEDWIDTH:
        if (static_cast<INT_PTR>(wp) < 0)
            return CB_ERR;
        s.droppedWidth = static_cast<int>(wp);
        [[fallthrough]];
    case CB_GETDROPPEDWIDTH: {
        RECT wr{};
        GetWindowRect(hwnd, &wr);
        return std::max<int>(wr.right - wr.left, s.droppedWidth);
    }
    case CB_SETITEMHEIGHT: return SetItemHeight(s, wp, lp);
    case CB_GETITEMHEIGHT:
        if (static_cast<int>(static_cast<INT_PTR>(wp)) == -1)
            return s.fieldHeight;
        return SendMessageW(s.list, LB_GETITEMHEIGHT, wp, 0);
    case CB_LIMITTEXT:
        if (s.edit)
            SendMessageW(s.edit, EM_LIMITTEXT, wp, 0);
        return TRUE;
    case CB_SETEDITSEL:
        if (!s.edit)
            return CB_ERR;
        SendMessageW(s.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lp))),
            static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lp))));
        return TRUE;
    case CB_GETEDITSEL:
        if (!s.edit)
            return CB_ERR;
        return SendMessageW(s.edit, EM_GETSEL, wp, lp);
    case CB_SETEXTENDEDUI: s.extendedUI = wp != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return s.extendedUI ? TRUE : FALSE;
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lp);
        if (!info)
            return FALSE;
        FillInfo(s, *info);
        return TRUE;
    }
    case CB_DIR: return CB_ERR;
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

std::shared_ptr<ComboState> ComboOf(HWND hwnd) { return States().Get(hwnd); }

int FieldTotalHeight(const ComboState& s) { return s.fieldHeight + 2 * kEdge + 2; }

RECT FieldFrame(const ComboState& s) { return RECT{0, 0, ClientWidth(s), FieldTotalHeight(s)}; }

RECT ButtonRect(const ComboState& s)
{
    if (s.Simple())
        return RECT{0, 0, 0, 0};
    const int w = ClientWidth(s);
    const int bw = std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, w - 2 * kEdge));
    return RECT{w - kEdge - bw, kEdge, w - kEdge, FieldTotalHeight(s) - kEdge};
}

RECT SelectionRect(const ComboState& s)
{
    const int right = s.Simple() ? ClientWidth(s) - kEdge - 1 : ButtonRect(s).left - 1;
    return RECT{kEdge + 1, kEdge + 1, std::max(kEdge + 1, right), kEdge + 1 + s.fieldHeight};
}

int CurSel(const ComboState& s) { return static_cast<int>(SendMessageW(s.list, LB_GETCURSEL, 0, 0)); }

void ShowSelection(ComboState& s, bool clearWhenNone)
{
    if (s.edit && (clearWhenNone || CurSel(s) >= 0)) {
        const int sel = CurSel(s);
        std::wstring text;
        if (sel >= 0) {
            const auto len = SendMessageW(s.list, LB_GETTEXTLEN, sel, 0);
            if (len > 0) {
                text.assign(static_cast<size_t>(len) + 1, L'\0');
                SendMessageW(s.list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text.data()));
                text.resize(static_cast<size_t>(len));
            }
        }
        s.quietEdit = true;
        SetWindowTextW(s.edit, text.c_str());
        s.quietEdit = false;
        if (s.focused)
            SendMessageW(s.edit, EM_SETSEL, 0, -1);
    }
    InvalidateCombo(s);
}

void InvalidateCombo(ComboState& s) { InvalidateRect(s.hwnd, nullptr, FALSE); }

WNDCLASSEXW ComboBoxClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ComboProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ComboBox";
    return wc;
}

} // namespace zyn::user::ctl

using namespace zyn::user::ctl;

BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi)
{
    if (!IsWindow(hwndCombo)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto s = ComboOf(hwndCombo);
    if (!pcbi || pcbi->cbSize != sizeof(COMBOBOXINFO) || !s) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FillInfo(*s, *pcbi);
    return TRUE;
}
