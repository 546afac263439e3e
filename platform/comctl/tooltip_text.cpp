// The text a tooltip shows: the tool's own, a string resource, or the answer of the
// tool's window to TTN_GETDISPINFOW / TTN_GETDISPINFOA.
#include <cstring>
#include <cwchar>

#include "platform/base/codepage.h"
#include "platform/base/resource.h"
#include "platform/comctl/tooltip_state.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::comctl::detail {

namespace {

std::wstring ResourceText(HINSTANCE module, UINT id)
{
    return zyn::base::LoadResourceString(module, id).value_or(std::wstring());
}

// What a notification's answer says, whatever its form.
struct Answer {
    std::wstring text;
    bool isResource = false;
    HINSTANCE hinst = nullptr;
    UINT resourceId = 0;
    bool keep = false; // TTF_DI_SETITEM
};

template <class DispInfo, class Char>
Answer Ask(const Tool& tool, HWND self, UINT code)
{
    DispInfo di{};
    di.hdr.hwndFrom = self;
    di.hdr.idFrom = tool.id;
    di.hdr.code = code;
    di.lpszText = di.szText;
    di.uFlags = tool.flags;
    di.lParam = tool.lParam;
    ::SendMessageW(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&di));

    Answer a;
    a.keep = (di.uFlags & TTF_DI_SETITEM) != 0;
    const auto callback = reinterpret_cast<Char*>(static_cast<intptr_t>(-1));
    if (!di.lpszText || di.lpszText == callback)
        return a;
    if (IS_INTRESOURCE(di.lpszText)) {
        // A string ID (with hinst, or the executable's): never read as a pointer.
        a.isResource = true;
        a.hinst = di.hinst;
        a.resourceId = static_cast<UINT>(reinterpret_cast<uintptr_t>(di.lpszText));
        a.text = ResourceText(a.hinst, a.resourceId);
        return a;
    }
    std::basic_string<Char> raw;
    if (di.lpszText == di.szText) {
        // The buffer may be full to the last character with no terminator: read it, and
        // nothing beyond it.
        size_t n = 0;
        while (n < std::size(di.szText) && di.szText[n])
            ++n;
        raw.assign(di.szText, n);
    } else {
        raw = di.lpszText;
    }
    if constexpr (sizeof(Char) == 1)
        a.text = zyn::base::AnsiToWide(raw);
    else
        a.text = std::move(raw);
    return a;
}

} // namespace

std::wstring StripPrefixes(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\t')
            break;
        if (c == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += c;
    }
    return out;
}

std::wstring ToolText(ToolTipState& s, Tool& tool)
{
    std::wstring text;
    switch (tool.kind) {
    case TextKind::Text:
        text = tool.text;
        break;
    case TextKind::Resource:
        text = ResourceText(tool.hinst, tool.resourceId);
        break;
    case TextKind::Callback: {
        const ToolKey key{tool.hwnd, tool.id};
        const Answer a = tool.ansiNotify ? Ask<NMTTDISPINFOA, char>(tool, s.self, TTN_GETDISPINFOA)
                                         : Ask<NMTTDISPINFOW, wchar_t>(tool, s.self, TTN_GETDISPINFOW);
        text = a.text;
        // The answer may have changed the tool list: find the tool again.
        if (a.keep && !s.destroyed) {
            if (Tool* t = s.Find(key)) {
                t->hinst = a.hinst;
                t->kind = a.isResource ? TextKind::Resource : TextKind::Text;
                t->resourceId = a.resourceId;
                t->text = a.isResource ? std::wstring() : a.text;
            }
        }
        break;
    }
    }
    if (!s.destroyed && !(::GetWindowLongPtrW(s.self, GWL_STYLE) & TTS_NOPREFIX))
        text = StripPrefixes(text);
    return text;
}

} // namespace zyn::comctl::detail
