// The toolbar's tooltip (TBSTYLE_TOOLTIPS): a "tooltips_class32" owned by the toolbar,
// one callback tool per visible button (the tool's ID is the button's command), the mouse
// messages relayed to it, and its text requests answered from the parent:
//   1. TBN_GETINFOTIP (iItem: the command, lParam: the button's data; a buffer of 1024
//      characters), in the narrow form when the parent asked for narrow notifications;
//   2. otherwise TTN_NEEDTEXT (W, or A for a narrow parent) forwarded with the tooltip's
//      header (idFrom: the command), as the class library's frames answer it;
//   3. otherwise the button's own text when the button does not show it.
#include <cstring>

#include "platform/base/codepage.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/comctl/tooltip.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

constexpr int kInfoTipChars = 1024;

void RemoveOurTools(ToolbarState& s)
{
    std::vector<UINT_PTR> ids;
    const auto count = static_cast<int>(::SendMessageW(s.tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        if (::SendMessageW(s.tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti)) &&
            ti.hwnd == s.self && !(ti.uFlags & TTF_IDISHWND))
            ids.push_back(ti.uId);
    }
    for (UINT_PTR id : ids) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = s.self;
        ti.uId = id;
        ::SendMessageW(s.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

std::wstring InfoTip(ToolbarState& s, const Button& b)
{
    if (s.ansiNotify) {
        std::string buffer(kInfoTipChars, '\0');
        NMTBGETINFOTIPA nm{};
        nm.pszText = buffer.data();
        nm.cchTextMax = kInfoTipChars;
        nm.iItem = b.command;
        nm.lParam = static_cast<LPARAM>(b.data);
        Notify(s, TBN_GETINFOTIPA, nm.hdr);
        buffer[kInfoTipChars - 1] = '\0';
        return zyn::base::AnsiToWide(buffer.c_str());
    }
    std::wstring buffer(kInfoTipChars, L'\0');
    NMTBGETINFOTIPW nm{};
    nm.pszText = buffer.data();
    nm.cchTextMax = kInfoTipChars;
    nm.iItem = b.command;
    nm.lParam = static_cast<LPARAM>(b.data);
    Notify(s, TBN_GETINFOTIPW, nm.hdr);
    buffer[kInfoTipChars - 1] = L'\0';
    return std::wstring(buffer.c_str());
}

// TTN_NEEDTEXT to the parent with the tooltip's header; the text it gave.
std::wstring NeedText(ToolbarState& s, const NMHDR& tipHdr, const Button& b)
{
    if (!s.notify || !::IsWindow(s.notify))
        return {};
    if (s.ansiNotify) {
        NMTTDISPINFOA nm{};
        nm.hdr = tipHdr;
        nm.hdr.code = TTN_NEEDTEXTA;
        nm.lpszText = nm.szText;
        nm.lParam = static_cast<LPARAM>(b.data);
        ::SendMessageW(s.notify, WM_NOTIFY, tipHdr.idFrom, reinterpret_cast<LPARAM>(&nm));
        if (s.destroyed)
            return {};
        if (nm.lpszText == nm.szText) {
            nm.szText[79] = '\0';
            return zyn::base::AnsiToWide(nm.szText);
        }
        if (nm.lpszText && !IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(nm.lpszText)) &&
            nm.lpszText != LPSTR_TEXTCALLBACKA)
            return zyn::base::AnsiToWide(nm.lpszText);
        return {};
    }
    NMTTDISPINFOW nm{};
    nm.hdr = tipHdr;
    nm.hdr.code = TTN_NEEDTEXTW;
    nm.lpszText = nm.szText;
    nm.lParam = static_cast<LPARAM>(b.data);
    ::SendMessageW(s.notify, WM_NOTIFY, tipHdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    if (s.destroyed)
        return {};
    if (nm.lpszText == nm.szText) {
        nm.szText[79] = L'\0';
        return std::wstring(nm.szText);
    }
    if (nm.lpszText && !IS_INTRESOURCE(nm.lpszText) && nm.lpszText != LPSTR_TEXTCALLBACKW)
        return std::wstring(nm.lpszText);
    return {};
}

} // namespace

void CreateToolTip(ToolbarState& s)
{
    if (s.tooltip)
        return;
    s.tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.self, nullptr, nullptr, nullptr);
    if (!s.tooltip)
        return;
    s.ownTooltip = true;
    NMTOOLTIPSCREATED nm{};
    nm.hwndToolTips = s.tooltip;
    Notify(s, NM_TOOLTIPSCREATED, nm.hdr);
    SyncTools(s);
}

void SyncTools(ToolbarState& s)
{
    if (s.destroyed || !s.tooltip || !::IsWindow(s.tooltip))
        return;
    RemoveOurTools(s);
    for (const Button& b : s.buttons) {
        if (b.IsHidden() || b.IsSeparator())
            continue;
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = s.self;
        ti.uId = static_cast<UINT_PTR>(static_cast<UINT>(b.command));
        ti.rect = b.rect;
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(s.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void RelayToTip(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!s.tooltip || !::IsWindow(s.tooltip) || msg == WM_MOUSELEAVE)
        return;
    MSG m{};
    m.hwnd = s.self;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    m.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
    ::SendMessageW(s.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

LRESULT AnswerTipText(ToolbarState& s, NMHDR* hdr)
{
    const int index = IndexOfCommand(s, static_cast<int>(hdr->idFrom));
    const Button* found = s.At(index);
    if (!found)
        return 0;
    const Button b = *found;
    std::wstring text = InfoTip(s, b);
    if (s.destroyed)
        return 0;
    if (text.empty())
        text = NeedText(s, *hdr, b);
    if (s.destroyed)
        return 0;
    if (text.empty() && !ShowsText(s, b))
        text = TextOf(s, b);
    s.tipText = text;
    if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
        const std::string narrow = zyn::base::WideToAnsi(text);
        const size_t n = std::min<size_t>(narrow.size(), 79);
        std::memcpy(info->szText, narrow.data(), n);
        info->szText[n] = '\0';
        info->lpszText = info->szText;
        return 0;
    }
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
    // Handed over by pointer, so a long text is not cut to the 80-character buffer.
    info->lpszText = s.tipText.data();
    return 0;
}

} // namespace zyn::comctl::tb
