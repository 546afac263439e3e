// The tooltip control's window class: its state table, its window procedure (the TTM_
// messages in both forms and the window messages it answers) and its registration.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/comctl/tooltip_state.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl {

namespace detail {
namespace {

struct StateTable {
    std::mutex m;
    std::map<HWND, std::shared_ptr<ToolTipState>> states;
};

StateTable& Table()
{
    // Never destroyed: tooltips may be destroyed while the process exits.
    static StateTable* t = new StateTable;
    return *t;
}

std::shared_ptr<ToolTipState> Lookup(HWND hwnd)
{
    StateTable& t = Table();
    std::lock_guard lock(t.m);
    const auto it = t.states.find(hwnd);
    return it == t.states.end() ? nullptr : it->second;
}

void Add(HWND hwnd)
{
    StateTable& t = Table();
    std::lock_guard lock(t.m);
    // States of windows that went away without WM_NCDESTROY (a test reset) go first.
    for (auto it = t.states.begin(); it != t.states.end();) {
        if (!::IsWindow(it->first)) {
            if (it->second->ownFont)
                ::DeleteObject(it->second->ownFont);
            it = t.states.erase(it);
        } else {
            ++it;
        }
    }
    auto s = std::make_shared<ToolTipState>();
    s->self = hwnd;
    t.states[hwnd] = std::move(s);
}

void Remove(HWND hwnd)
{
    StateTable& t = Table();
    std::lock_guard lock(t.m);
    t.states.erase(hwnd);
}

// TTM_GETTEXT(A/W): wParam is the buffer's size in characters (0: the older form, whose
// buffer holds 80); the text is cut to fit, never written past the buffer.
LRESULT GetText(ToolTipState& s, WPARAM size, void* info, bool ansi)
{
    const auto in = ReadToolInfo(info, ansi);
    if (!in)
        return 0;
    Tool* t = s.Find(in->hwnd, in->id);
    void* buffer = ansi ? static_cast<void*>(static_cast<TTTOOLINFOA*>(info)->lpszText)
                        : static_cast<void*>(static_cast<TTTOOLINFOW*>(info)->lpszText);
    const size_t cap = size ? size : 80;
    if (!buffer || IS_INTRESOURCE(buffer) || buffer == reinterpret_cast<void*>(static_cast<intptr_t>(-1)))
        return 0;
    std::wstring text;
    if (t)
        text = ToolText(s, *t);
    if (ansi) {
        const std::string narrow = zyn::base::WideToAnsi(text);
        const size_t n = std::min(narrow.size(), cap - 1);
        std::memcpy(buffer, narrow.data(), n);
        static_cast<char*>(buffer)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    const size_t n = std::min(text.size(), cap - 1);
    std::wmemcpy(static_cast<wchar_t*>(buffer), text.data(), n);
    static_cast<wchar_t*>(buffer)[n] = L'\0';
    return static_cast<LRESULT>(n);
}

LRESULT BubbleSize(ToolTipState& s, const void* info)
{
    const auto in = ReadToolInfo(info, false);
    if (!in)
        return 0;
    Tool* t = s.Find(in->hwnd, in->id);
    if (!t)
        return 0;
    const std::wstring text = ToolText(s, *t);
    if (s.destroyed)
        return 0;
    const SIZE size = TipSize(s, text);
    return MAKELONG(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
}

void SetDelay(ToolTipState& s, WPARAM which, LPARAM lParam)
{
    const int ms = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
    const std::optional<int> value = ms < 0 ? std::nullopt : std::optional<int>(ms);
    switch (which) {
    case TTDT_AUTOMATIC:
        s.initialDelay = value;
        s.autoPopDelay = value ? std::optional<int>(*value * 10) : std::nullopt;
        s.reshowDelay = value ? std::optional<int>(*value / 5) : std::nullopt;
        break;
    case TTDT_INITIAL:
        s.initialDelay = value;
        break;
    case TTDT_AUTOPOP:
        s.autoPopDelay = value;
        break;
    case TTDT_RESHOW:
        s.reshowDelay = value;
        break;
    default:
        break;
    }
}

LRESULT GetDelay(const ToolTipState& s, WPARAM which)
{
    switch (which) {
    case TTDT_INITIAL:
        return InitialDelay(s);
    case TTDT_AUTOPOP:
        return AutoPopDelay(s);
    case TTDT_RESHOW:
        return ReshowDelay(s);
    default:
        return 0;
    }
}

void Redraw(ToolTipState& s)
{
    if (::IsWindowVisible(s.self))
        ::InvalidateRect(s.self, nullptr, TRUE);
}

bool HandleToolTipMessage(ToolTipState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    auto* ptr = reinterpret_cast<void*>(lp);
    switch (msg) {
    case TTM_ACTIVATE:
        Activate(s, wp != 0);
        return true;
    case TTM_SETDELAYTIME:
        SetDelay(s, wp, lp);
        return true;
    case TTM_GETDELAYTIME:
        result = GetDelay(s, wp);
        return true;
    case TTM_ADDTOOLA:
    case TTM_ADDTOOLW:
        result = AddTool(s, ptr, msg == TTM_ADDTOOLA);
        return true;
    case TTM_DELTOOLA:
    case TTM_DELTOOLW:
        result = DelTool(s, ptr, msg == TTM_DELTOOLA);
        return true;
    case TTM_NEWTOOLRECTA:
    case TTM_NEWTOOLRECTW:
        result = NewToolRect(s, ptr, msg == TTM_NEWTOOLRECTA);
        return true;
    case TTM_GETTOOLINFOA:
    case TTM_GETTOOLINFOW:
        result = GetToolInfo(s, ptr, msg == TTM_GETTOOLINFOA);
        return true;
    case TTM_SETTOOLINFOA:
    case TTM_SETTOOLINFOW:
        result = SetToolInfo(s, ptr, msg == TTM_SETTOOLINFOA, false);
        return true;
    case TTM_UPDATETIPTEXTA:
    case TTM_UPDATETIPTEXTW:
        result = SetToolInfo(s, ptr, msg == TTM_UPDATETIPTEXTA, true);
        return true;
    case TTM_HITTESTA:
    case TTM_HITTESTW:
        result = HitTest(s, ptr, msg == TTM_HITTESTA);
        return true;
    case TTM_GETTEXTA:
    case TTM_GETTEXTW:
        result = GetText(s, wp, ptr, msg == TTM_GETTEXTA);
        return true;
    case TTM_GETTOOLCOUNT:
        result = static_cast<LRESULT>(s.tools.size());
        return true;
    case TTM_ENUMTOOLSA:
    case TTM_ENUMTOOLSW:
        result = EnumTools(s, wp, ptr, msg == TTM_ENUMTOOLSA);
        return true;
    case TTM_GETCURRENTTOOLA:
    case TTM_GETCURRENTTOOLW:
        result = GetCurrentTool(s, ptr, msg == TTM_GETCURRENTTOOLA);
        return true;
    case TTM_WINDOWFROMPOINT:
        result = ptr ? reinterpret_cast<LRESULT>(::WindowFromPoint(*static_cast<POINT*>(ptr))) : 0;
        return true;
    case TTM_TRACKACTIVATE:
        TrackActivate(s, wp != 0, ptr, false);
        return true;
    case TTM_TRACKPOSITION:
        TrackPosition(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return true;
    case TTM_SETTIPBKCOLOR:
        s.bkColor = static_cast<COLORREF>(wp);
        Redraw(s);
        return true;
    case TTM_SETTIPTEXTCOLOR:
        s.textColor = static_cast<COLORREF>(wp);
        Redraw(s);
        return true;
    case TTM_GETTIPBKCOLOR:
        result = s.bkColor.value_or(::GetSysColor(COLOR_INFOBK));
        return true;
    case TTM_GETTIPTEXTCOLOR:
        result = s.textColor.value_or(::GetSysColor(COLOR_INFOTEXT));
        return true;
    case TTM_SETMAXTIPWIDTH:
        result = s.maxTipWidth;
        s.maxTipWidth = static_cast<int>(lp) < 0 ? -1 : static_cast<int>(lp);
        Refresh(s);
        return true;
    case TTM_GETMAXTIPWIDTH:
        result = s.maxTipWidth;
        return true;
    case TTM_SETMARGIN:
        if (ptr) {
            s.margin = *static_cast<RECT*>(ptr);
            Refresh(s);
        }
        return true;
    case TTM_GETMARGIN:
        if (ptr)
            *static_cast<RECT*>(ptr) = s.margin;
        return true;
    case TTM_POP:
        Pop(s);
        return true;
    case TTM_POPUP:
        Popup(s);
        return true;
    case TTM_UPDATE:
        Refresh(s);
        return true;
    case TTM_GETBUBBLESIZE:
        result = BubbleSize(s, ptr);
        return true;
    case TTM_ADJUSTRECT:
        if (!ptr)
            return true;
        *static_cast<RECT*>(ptr) = AdjustRect(s, *static_cast<RECT*>(ptr), wp != 0);
        result = TRUE;
        return true;
    case TTM_RELAYEVENT:
        if (ptr)
            Relay(s, *static_cast<const MSG*>(ptr));
        return true;
    default:
        return false;
    }
}

LRESULT ToolTipProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        Add(hwnd);
        // A tip always has its frame line as a border, whatever its creator asked for.
        ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) | WS_BORDER);
    }
    // Held for the whole message: a handler may destroy the window while it sends.
    const std::shared_ptr<ToolTipState> sp = Lookup(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    ToolTipState& s = *sp;
    LRESULT result = 0;
    if (msg >= WM_USER && msg < WM_USER + 100 && HandleToolTipMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_CREATE:
        // A tooltip is a tool window, whatever its creator said.
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        UseSystemFont(s);
        return 0;
    case WM_NCDESTROY:
        s.destroyed = true;
        UnsubclassAll(s);
        if (s.ownFont)
            ::DeleteObject(s.ownFont);
        s.ownFont = s.font = nullptr;
        Remove(hwnd);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_TIMER:
        OnTimer(s, wp);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc)
            Paint(s, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_SETFONT:
        s.font = wp ? reinterpret_cast<HFONT>(wp) : s.ownFont;
        if (LOWORD(lp))
            Refresh(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTINGCHANGE:
        UseSystemFont(s);
        Refresh(s);
        return 0;
    case WM_SYSCOLORCHANGE:
        // The frame line is the border: the non-client area is drawn again too.
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
        Redraw(s);
        return 0;
    case WM_NCHITTEST: {
        const Tool* t = s.Find(s.shown);
        if (t && (t->flags & TTF_TRANSPARENT))
            return HTTRANSPARENT;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The mouse on the tip itself has left the tool; a click puts the tip away.
        if (s.shown && !s.tracked) {
            HideTip(s);
            if (msg == WM_MOUSEMOVE) {
                s.phase = Phase::Idle;
                s.current.reset();
            } else {
                s.phase = Phase::Dismissed;
            }
        }
        return 0;
    case WM_NOTIFYFORMAT:
        if (lp == NF_REQUERY) {
            for (size_t i = 0; i < s.tools.size() && !s.destroyed; ++i) {
                Tool copy = s.tools[i];
                QueryNotifyFormat(s, copy);
                if (Tool* t = s.Find(copy.hwnd, copy.id))
                    t->ansiNotify = copy.ansiNotify;
            }
        }
        return NFR_UNICODE;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

ToolTipState* StateOf(HWND hwnd) { return Lookup(hwnd).get(); }

} // namespace detail

BOOL RegisterToolTipClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &have) && have.lpfnWndProc == &detail::ToolTipProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = &detail::ToolTipProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TOOLTIPS_CLASSW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

size_t LiveToolTipCount()
{
    detail::StateTable& t = detail::Table();
    std::lock_guard lock(t.m);
    size_t n = 0;
    for (const auto& [hwnd, s] : t.states)
        n += ::IsWindow(hwnd) ? 1 : 0;
    return n;
}

} // namespace zyn::comctl
