#include "tests/user/msglog.h"

#include <cstdio>

#include "platform/base/threads.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/custom_draw.h"

namespace zyn::test {
namespace {

MsgLog* g_current = nullptr;

std::string Hex(uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", v);
    return buf;
}

const char* MessageName(UINT m)
{
    switch (m) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_MOVE: return "WM_MOVE";
    case WM_SIZE: return "WM_SIZE";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ENABLE: return "WM_ENABLE";
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
    case WM_PAINT: return "WM_PAINT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case WM_ACTIVATEAPP: return "WM_ACTIVATEAPP";
    case WM_CANCELMODE: return "WM_CANCELMODE";
    case WM_CHILDACTIVATE: return "WM_CHILDACTIVATE";
    case WM_GETMINMAXINFO: return "WM_GETMINMAXINFO";
    case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case WM_STYLECHANGING: return "WM_STYLECHANGING";
    case WM_STYLECHANGED: return "WM_STYLECHANGED";
    case WM_NCCREATE: return "WM_NCCREATE";
    case WM_NCDESTROY: return "WM_NCDESTROY";
    case WM_NCCALCSIZE: return "WM_NCCALCSIZE";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_NCACTIVATE: return "WM_NCACTIVATE";
    case WM_PARENTNOTIFY: return "WM_PARENTNOTIFY";
    case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
    case WM_MDICREATE: return "WM_MDICREATE";
    case WM_MDIDESTROY: return "WM_MDIDESTROY";
    case WM_MDIACTIVATE: return "WM_MDIACTIVATE";
    case WM_MDIGETACTIVE: return "WM_MDIGETACTIVE";
    case WM_HSCROLL: return "WM_HSCROLL";
    case WM_VSCROLL: return "WM_VSCROLL";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_NOTIFY: return "WM_NOTIFY";
    case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    case WM_TIMER: return "WM_TIMER";
    case WM_ENTERMENULOOP: return "WM_ENTERMENULOOP";
    case WM_EXITMENULOOP: return "WM_EXITMENULOOP";
    case WM_INITMENU: return "WM_INITMENU";
    case WM_INITMENUPOPUP: return "WM_INITMENUPOPUP";
    case WM_UNINITMENUPOPUP: return "WM_UNINITMENUPOPUP";
    case WM_MENUSELECT: return "WM_MENUSELECT";
    case WM_MENUCHAR: return "WM_MENUCHAR";
    case WM_MENUCOMMAND: return "WM_MENUCOMMAND";
    case WM_MEASUREITEM: return "WM_MEASUREITEM";
    case WM_DRAWITEM: return "WM_DRAWITEM";
    case WM_ENTERIDLE: return "WM_ENTERIDLE";
    case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    case WM_CONTEXTMENU: return "WM_CONTEXTMENU";
    case WM_NCLBUTTONDOWN: return "WM_NCLBUTTONDOWN";
    case WM_NCLBUTTONUP: return "WM_NCLBUTTONUP";
    case WM_PRINT: return "WM_PRINT";
    case WM_SETFONT: return "WM_SETFONT";
    case WM_INITDIALOG: return "WM_INITDIALOG";
    case WM_NEXTDLGCTL: return "WM_NEXTDLGCTL";
    case WM_CTLCOLORBTN: return "WM_CTLCOLORBTN";
    case WM_CTLCOLORSTATIC: return "WM_CTLCOLORSTATIC";
    case WM_CTLCOLORDLG: return "WM_CTLCOLORDLG";
    case WM_DELETEITEM: return "WM_DELETEITEM";
    case WM_COMPAREITEM: return "WM_COMPAREITEM";
    case WM_GETDLGCODE: return "WM_GETDLGCODE";
    case WM_QUERYOPEN: return "WM_QUERYOPEN";
    case WM_MDIREFRESHMENU: return "WM_MDIREFRESHMENU";
    case WM_NCHITTEST: return "WM_NCHITTEST";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    default: return nullptr;
    }
}

const char* ShowName(LPARAM cmd)
{
    switch (cmd) {
    case SW_HIDE: return "SW_HIDE";
    case SW_SHOWNORMAL: return "SW_SHOWNORMAL";
    case SW_SHOWMINIMIZED: return "SW_SHOWMINIMIZED";
    case SW_MAXIMIZE: return "SW_MAXIMIZE";
    case SW_SHOWNOACTIVATE: return "SW_SHOWNOACTIVATE";
    case SW_SHOW: return "SW_SHOW";
    case SW_MINIMIZE: return "SW_MINIMIZE";
    case SW_SHOWMINNOACTIVE: return "SW_SHOWMINNOACTIVE";
    case SW_SHOWNA: return "SW_SHOWNA";
    case SW_RESTORE: return "SW_RESTORE";
    default: return "SW_?";
    }
}

// MF_ flags of WM_MENUSELECT, lowest bit first.
std::string MenuFlagsText(UINT flags)
{
    static const struct {
        UINT bit;
        const char* name;
    } names[] = {{0x0001, "GRAYED"}, {0x0002, "DISABLED"}, {0x0004, "BITMAP"}, {0x0008, "CHECKED"}, {0x0010, "POPUP"},
        {0x0080, "HILITE"}, {0x0100, "OWNERDRAW"}, {0x2000, "SYSMENU"}, {0x8000, "MOUSESELECT"}};
    std::string out;
    UINT rest = flags;
    for (const auto& n : names) {
        if (flags & n.bit) {
            out += (out.empty() ? "" : "|") + std::string(n.name);
            rest &= ~n.bit;
        }
    }
    if (rest)
        out += (out.empty() ? "" : "|") + Hex(rest);
    return out.empty() ? "0" : out;
}

std::string OdsText(UINT state)
{
    static const struct {
        UINT bit;
        const char* name;
    } names[] = {{0x1, "SELECTED"}, {0x2, "GRAYED"}, {0x4, "DISABLED"}, {0x8, "CHECKED"}, {0x20, "DEFAULT"}};
    std::string out;
    for (const auto& n : names)
        if (state & n.bit)
            out += (out.empty() ? "" : "|") + std::string(n.name);
    return out.empty() ? "0" : out;
}

LRESULT LogProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (g_current)
        g_current->OnProc(h, m, wp, lp);
    return DefWindowProcW(h, m, wp, lp);
}

LRESULT CbtHook(int code, WPARAM wp, LPARAM lp)
{
    if (g_current && code >= 0)
        g_current->OnCbt(code, wp, lp);
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CallWndProcHook(int code, WPARAM wp, LPARAM lp)
{
    if (g_current && code == HC_ACTION && lp) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lp);
        g_current->OnSent(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

const wchar_t* MsgLog::kClass = L"SeqLog";

std::string SwpFlagsText(UINT flags)
{
    static const struct {
        UINT bit;
        const char* name;
    } names[] = {{SWP_NOSIZE, "NOSIZE"}, {SWP_NOMOVE, "NOMOVE"}, {SWP_NOZORDER, "NOZORDER"},
        {SWP_NOREDRAW, "NOREDRAW"}, {SWP_NOACTIVATE, "NOACTIVATE"}, {SWP_FRAMECHANGED, "FRAMECHANGED"},
        {SWP_SHOWWINDOW, "SHOWWINDOW"}, {SWP_HIDEWINDOW, "HIDEWINDOW"}, {SWP_NOCOPYBITS, "NOCOPYBITS"},
        {SWP_NOOWNERZORDER, "NOOWNERZORDER"}, {SWP_NOSENDCHANGING, "NOSENDCHANGING"},
        {SWP_NOCLIENTSIZE, "NOCLIENTSIZE"}, {SWP_NOCLIENTMOVE, "NOCLIENTMOVE"}, {SWP_DEFERERASE, "DEFERERASE"},
        {SWP_ASYNCWINDOWPOS, "ASYNCWINDOWPOS"}, {SWP_STATECHANGED, "STATECHANGED"}};
    std::string out;
    UINT rest = flags;
    for (const auto& n : names) {
        if (flags & n.bit) {
            if (!out.empty())
                out += '|';
            out += n.name;
            rest &= ~n.bit;
        }
    }
    if (rest) {
        if (!out.empty())
            out += '|';
        out += Hex(rest);
    }
    return out.empty() ? "0" : out;
}

MsgLog::MsgLog()
{
    m_quiet = {WM_ENTERIDLE, WM_NCMOUSEMOVE, WM_NCPAINT, WM_ERASEBKGND, WM_PAINT, WM_SYNCPAINT, WM_NCHITTEST, WM_SETCURSOR, WM_GETTEXT,
        WM_GETTEXTLENGTH, WM_GETICON, WM_GETFONT, WM_GETOBJECT, WM_NOTIFYFORMAT, WM_NOTIFY, WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT,
        WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC, WM_PRINTCLIENT};
}

MsgLog::~MsgLog() { Uninstall(); }

MsgLog* MsgLog::Current() { return g_current; }

void MsgLog::Install()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = LogProc;
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    m_atom = RegisterClassExW(&wc);
    if (!m_atom) { // registered by an earlier log of the same case: its atom from a window
        const HWND probe = CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        m_atom = static_cast<ATOM>(GetClassLongPtrW(probe, GCW_ATOM));
        DestroyWindow(probe);
    }
    g_current = this;
    m_cbt = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    m_cwp = SetWindowsHookExW(WH_CALLWNDPROC, CallWndProcHook, nullptr, GetCurrentThreadId());
}

void MsgLog::Uninstall()
{
    if (m_cbt)
        UnhookWindowsHookEx(m_cbt);
    if (m_cwp)
        UnhookWindowsHookEx(m_cwp);
    m_cbt = m_cwp = nullptr;
    if (g_current == this)
        g_current = nullptr;
}

HWND MsgLog::operator[](const std::string& name) const
{
    for (const auto& [h, n] : m_names)
        if (n == name)
            return h;
    return nullptr;
}

std::string MsgLog::MenuName(HMENU menu) const
{
    if (!menu)
        return "0";
    auto it = m_menuNames.find(menu);
    return it == m_menuNames.end() ? "?" : it->second;
}

std::string MsgLog::NameOf(HWND h) const
{
    if (!h)
        return "0";
    auto it = m_names.find(h);
    return it == m_names.end() ? "?" : it->second;
}

void MsgLog::Start(const std::vector<UINT>& keep)
{
    for (UINT m : keep)
        m_quiet.erase(m);
    m_lines.clear();
    m_pending = Pending{};
    m_on = true;
}

std::vector<HWND> MsgLog::Named() const
{
    std::vector<HWND> out;
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        if (IsWindow(*it))
            out.push_back(*it);
    return out;
}

bool MsgLog::Logged(HWND h, UINT msg) const { return m_names.count(h) && !m_silent.count(h) && !m_quiet.count(msg); }

void MsgLog::Add(std::string line)
{
    if (m_on)
        m_lines.push_back(std::move(line));
}

void MsgLog::OnCbt(int code, WPARAM wp, LPARAM lp)
{
    const HWND h = reinterpret_cast<HWND>(wp);
    switch (code) {
    case HCBT_CREATEWND: {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lp);
        if (m_nextName.empty() && create->lpcs->lpszClass) {
            // A class given by its atom is known by its name.
            wchar_t cls[256] = {};
            if (IS_INTRESOURCE(create->lpcs->lpszClass))
                GetClassNameW(h, cls, 256);
            const std::wstring className = IS_INTRESOURCE(create->lpcs->lpszClass) ? cls : create->lpcs->lpszClass;
            auto it = m_classNames.find(className);
            if (it != m_classNames.end()) {
                m_nextName = it->second.first + std::to_string(++it->second.second);
                if (m_silentClasses.count(className))
                    m_silent.insert(h);
            }
        }
        if (!m_nextName.empty()) {
            m_names[h] = m_nextName;
            m_order.push_back(h);
            m_nextName.clear();
        }
        const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lp);
        Add("cbt HCBT_CREATEWND " + NameOf(h) + " " + Hex(static_cast<uint32_t>(cbt->lpcs->style)) + " " +
            Hex(cbt->lpcs->dwExStyle));
        break;
    }
    case HCBT_DESTROYWND: Add("cbt HCBT_DESTROYWND " + NameOf(h)); break;
    case HCBT_ACTIVATE: {
        const auto* a = reinterpret_cast<const CBTACTIVATESTRUCT*>(lp);
        Add("cbt HCBT_ACTIVATE " + NameOf(h) + " " + NameOf(a ? a->hWndActive : nullptr));
        break;
    }
    case HCBT_SETFOCUS: Add("cbt HCBT_SETFOCUS " + NameOf(h) + " " + NameOf(reinterpret_cast<HWND>(lp))); break;
    case HCBT_MINMAX: Add("cbt HCBT_MINMAX " + NameOf(h) + " " + ShowName(LOWORD(lp))); break;
    case HCBT_SYSCOMMAND: Add("cbt HCBT_SYSCOMMAND " + Hex(static_cast<uint32_t>(wp & 0xFFF0))); break;
    default: Add("cbt " + std::to_string(code)); break;
    }
}

std::string MsgLog::Describe(HWND h, UINT msg, WPARAM wp, LPARAM lp) const
{
    std::string s = NameOf(h) + " ";
    if (const char* n = MessageName(msg))
        s += n;
    else
        s += Hex(msg);
    auto name = [this](WPARAM v) { return NameOf(reinterpret_cast<HWND>(v)); };
    switch (msg) {
    case WM_NCCREATE:
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        s += " " + Hex(static_cast<uint32_t>(cs->style)) + " " + Hex(cs->dwExStyle);
        break;
    }
    case WM_NCCALCSIZE:
        if (!wp) { // the rectangle a window is created with (later ones carry NCCALCSIZE_PARAMS)
            const auto* r = reinterpret_cast<const RECT*>(lp);
            s += " {" + std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
                std::to_string(r->bottom) + "}";
        }
        break;
    case WM_GETMINMAXINFO: {
        const auto* m = reinterpret_cast<const MINMAXINFO*>(lp);
        s += " max " + std::to_string(m->ptMaxPosition.x) + "," + std::to_string(m->ptMaxPosition.y) + " " +
            std::to_string(m->ptMaxSize.x) + "x" + std::to_string(m->ptMaxSize.y);
        break;
    }
    case WM_NCHITTEST: s += " " + std::to_string(GET_X_LPARAM(lp)) + "," + std::to_string(GET_Y_LPARAM(lp)); break;
    case WM_SETCURSOR: {
        const char* mouse = MessageName(HIWORD(lp));
        s += " " + name(wp) + " " + std::to_string(static_cast<SHORT>(LOWORD(lp))) + " " + (mouse ? mouse : Hex(HIWORD(lp)));
        break;
    }
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
        const auto* p = reinterpret_cast<const WINDOWPOS*>(lp);
        s += " {" + std::to_string(p->x) + "," + std::to_string(p->y) + "," + std::to_string(p->cx) + "," +
            std::to_string(p->cy) + " " + SwpFlagsText(p->flags) + "}";
        break;
    }
    case WM_SIZE: {
        static const char* kinds[] = {"RESTORED", "MINIMIZED", "MAXIMIZED", "MAXSHOW", "MAXHIDE"};
        s += std::string(" ") + (wp < 5 ? kinds[wp] : "?") + " " + std::to_string(LOWORD(lp)) + "x" +
            std::to_string(HIWORD(lp));
        break;
    }
    case WM_MOVE:
        s += " " + std::to_string(static_cast<SHORT>(LOWORD(lp))) + "," + std::to_string(static_cast<SHORT>(HIWORD(lp)));
        break;
    case WM_SHOWWINDOW:
        s += " " + std::to_string(wp);
        if (lp == SW_PARENTCLOSING)
            s += " PARENTCLOSING";
        else if (lp == SW_PARENTOPENING)
            s += " PARENTOPENING";
        else if (lp)
            s += " " + std::to_string(lp);
        break;
    case WM_ENABLE:
    case WM_ACTIVATEAPP: s += " " + std::to_string(wp); break;
    case WM_NCACTIVATE: s += " " + std::to_string(wp) + " " + name(static_cast<WPARAM>(lp)); break;
    case WM_ACTIVATE: {
        static const char* states[] = {"INACTIVE", "ACTIVE", "CLICKACTIVE"};
        s += std::string(" ") + (LOWORD(wp) < 3 ? states[LOWORD(wp)] : "?") + (HIWORD(wp) ? " min" : "") + " " +
            name(static_cast<WPARAM>(lp));
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: s += " " + name(wp); break;
    case WM_CAPTURECHANGED: s += " " + name(static_cast<WPARAM>(lp)); break;
    case WM_PARENTNOTIFY:
        s += std::string(" ") + (LOWORD(wp) == WM_CREATE ? "CREATE" : LOWORD(wp) == WM_DESTROY ? "DESTROY" : "?") +
            " " + name(static_cast<WPARAM>(lp));
        break;
    case WM_MDIACTIVATE: s += " " + name(wp) + " " + name(static_cast<WPARAM>(lp)); break;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP: s += " " + std::to_string(wp); break;
    case WM_INITMENU: s += " " + MenuName(reinterpret_cast<HMENU>(wp)); break;
    case WM_INITMENUPOPUP:
        s += " " + MenuName(reinterpret_cast<HMENU>(wp)) + " " + std::to_string(LOWORD(lp)) + (HIWORD(lp) ? " sys" : "");
        break;
    case WM_UNINITMENUPOPUP:
        s += " " + MenuName(reinterpret_cast<HMENU>(wp)) + ((HIWORD(lp) & 0x2000) ? " sys" : "");
        break;
    case WM_MENUSELECT:
        if (HIWORD(wp) == 0xFFFF && !lp)
            s += " closed";
        else
            s += " " + std::to_string(LOWORD(wp)) + " " + MenuFlagsText(HIWORD(wp)) + " " +
                MenuName(reinterpret_cast<HMENU>(lp));
        break;
    case WM_MENUCHAR: {
        const wchar_t c = static_cast<wchar_t>(LOWORD(wp));
        s += std::string(" '") + (c >= 32 && c < 127 ? static_cast<char>(c) : '?') + "' " +
            MenuFlagsText(HIWORD(wp)) + " " + MenuName(reinterpret_cast<HMENU>(lp));
        break;
    }
    case WM_MENUCOMMAND: s += " " + std::to_string(wp) + " " + MenuName(reinterpret_cast<HMENU>(lp)); break;
    case WM_NOTIFY: {
        // "WM_NOTIFY 7 NM_CUSTOMDRAW PREPAINT SELECTED|FOCUS": the custom-draw stage and the
        // item state; other codes as a number.
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        s += " " + std::to_string(wp);
        if (hdr && hdr->code == NM_CUSTOMDRAW) {
            const auto* cd = reinterpret_cast<const NMCUSTOMDRAW*>(lp);
            s += cd->dwDrawStage == CDDS_PREPAINT ? " NM_CUSTOMDRAW PREPAINT"
                : cd->dwDrawStage == CDDS_POSTPAINT ? " NM_CUSTOMDRAW POSTPAINT"
                                                    : " NM_CUSTOMDRAW " + Hex(cd->dwDrawStage);
            static const std::pair<UINT, const char*> kStates[] = {{CDIS_SELECTED, "SELECTED"},
                {CDIS_DISABLED, "DISABLED"}, {CDIS_CHECKED, "CHECKED"}, {CDIS_FOCUS, "FOCUS"},
                {CDIS_DEFAULT, "DEFAULT"}, {CDIS_HOT, "HOT"}, {CDIS_INDETERMINATE, "INDETERMINATE"}};
            std::string states;
            for (const auto& [bit, text] : kStates)
                if (cd->uItemState & bit)
                    states += (states.empty() ? "" : "|") + std::string(text);
            s += " " + (states.empty() ? std::string("0") : states);
        } else if (hdr) {
            s += " " + std::to_string(static_cast<int>(hdr->code));
        }
        break;
    }
    case WM_COMMAND:
        s += " " + std::to_string(LOWORD(wp)) + " " + std::to_string(HIWORD(wp));
        if (lp) // a control's notification names the control
            s += " " + name(static_cast<WPARAM>(lp));
        break;
    case WM_INITDIALOG: s += " " + name(wp) + " " + std::to_string(lp); break;
    case WM_SYSCOMMAND: s += " " + Hex(static_cast<uint32_t>(wp & 0xFFF0)); break;
    case WM_MEASUREITEM: s += " " + std::to_string(reinterpret_cast<const MEASUREITEMSTRUCT*>(lp)->itemID); break;
    case WM_DRAWITEM: {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (d->CtlType == ODT_MENU)
            s += " " + std::to_string(d->itemID) + (d->itemAction & ODA_SELECT ? " SELECT " : " ENTIRE ") +
                OdsText(d->itemState);
        else
            s += " " + std::to_string(d->CtlID) + " action " + Hex(d->itemAction) + " state " + Hex(d->itemState);
        break;
    }
    case WM_ENTERIDLE: s += " " + std::to_string(wp) + " " + name(static_cast<WPARAM>(lp)); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: s += " " + std::to_string(GET_X_LPARAM(lp)) + "," + std::to_string(GET_Y_LPARAM(lp)); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: s += " " + Hex(static_cast<uint32_t>(wp)); break;
    case WM_CHAR:
    case WM_SYSCHAR: s += std::string(" '") + static_cast<char>(wp < 127 && wp >= 32 ? wp : '?') + "'"; break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        s += " " + std::to_string(LOWORD(wp)) + " " + std::to_string(static_cast<SHORT>(HIWORD(wp))) + " " +
            name(static_cast<WPARAM>(lp));
        break;
    default: break;
    }
    return s;
}

void MsgLog::OnSent(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pending.set && Logged(m_pending.hwnd, m_pending.msg))
        Add("lost " + Describe(m_pending.hwnd, m_pending.msg, m_pending.wp, m_pending.lp));
    m_pending = Pending{};
    // The procedure of the logging class takes the announcement; others never do.
    if (m_atom && static_cast<ATOM>(GetClassLongPtrW(h, GCW_ATOM)) == m_atom)
        m_pending = Pending{h, msg, wp, lp, true};
    if (Logged(h, msg))
        Add(Describe(h, msg, wp, lp));
}

void MsgLog::OnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pending.set && m_pending.hwnd == h && m_pending.msg == msg && m_pending.wp == wp && m_pending.lp == lp) {
        m_pending = Pending{};
        return;
    }
    if (Logged(h, msg))
        Add(Describe(h, msg, wp, lp) + " (posted)");
}

} // namespace zyn::test
