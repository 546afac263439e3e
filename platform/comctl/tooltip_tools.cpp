// The tooltip control's tool list: reading and writing TOOLINFO in both forms, the
// TTM_ tool messages, hit testing, and the subclassing of TTF_SUBCLASS tools' windows.
#include <algorithm>
#include <cstring>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/comctl/subclass.h"
#include "platform/comctl/tooltip_state.h"
#include "platform/gdi/rect.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

namespace {

// Where a caller's buffer has no stated size, text is copied into at most this many
// characters (the terminator included), the size of a notification's text buffer.
constexpr size_t kUnsizedTextBuffer = 80;

template <class Info>
Info CopyIn(const void* src, UINT cbSize)
{
    Info info{};
    std::memcpy(&info, src, std::min<size_t>(cbSize, sizeof(Info)));
    return info;
}

template <class Info>
void CopyOut(void* dst, const Info& info, UINT cbSize)
{
    std::memcpy(dst, &info, std::min<size_t>(cbSize, sizeof(Info)));
}

template <class Info>
void FillCommon(Info& out, const Tool& tool, UINT cbSize, UINT v2Size)
{
    out.uFlags = tool.flags;
    out.hwnd = tool.hwnd;
    out.uId = tool.id;
    out.rect = tool.rect;
    out.hinst = tool.hinst;
    if (cbSize >= v2Size)
        out.lParam = tool.lParam;
}

// The tool whose entry is `tool` must not count itself.
bool OtherSubclassUser(const ToolTipState& s, const Tool& tool)
{
    return std::any_of(s.tools.begin(), s.tools.end(), [&](const Tool& t) {
        return &t != &tool && t.subclassed && t.Window() == tool.Window();
    });
}

// The mouse messages of a TTF_SUBCLASS tool's window reach the control as if relayed.
LRESULT RelayingSubclass(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE: {
        MSG m{hWnd, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}};
        if (msg != WM_NCMOUSEMOVE)
            ::ClientToScreen(hWnd, &m.pt);
        ::SendMessageW(reinterpret_cast<HWND>(ref), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        break;
    }
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, msg, wp, lp);
}

UINT_PTR SubclassId(const ToolTipState& s) { return reinterpret_cast<UINT_PTR>(s.self); }

} // namespace

Tool* ToolTipState::Find(HWND hwnd, UINT_PTR id)
{
    const auto it = std::find_if(tools.begin(), tools.end(), [&](const Tool& t) { return t.Is(hwnd, id); });
    return it == tools.end() ? nullptr : &*it;
}

bool ValidToolInfoSize(UINT cbSize, bool ansi)
{
    if (ansi)
        return cbSize == TTTOOLINFOA_V1_SIZE || cbSize == TTTOOLINFOA_V2_SIZE || cbSize == TTTOOLINFOA_V3_SIZE;
    return cbSize == TTTOOLINFOW_V1_SIZE || cbSize == TTTOOLINFOW_V2_SIZE || cbSize == TTTOOLINFOW_V3_SIZE;
}

std::optional<ToolInfoIn> ReadToolInfo(const void* info, bool ansi, bool withText)
{
    if (!info) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    UINT cbSize = 0;
    std::memcpy(&cbSize, info, sizeof cbSize);
    if (!ValidToolInfoSize(cbSize, ansi)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    ToolInfoIn in;
    in.cbSize = cbSize;
    const void* text = nullptr;
    bool callback = false;
    if (ansi) {
        const auto ti = CopyIn<TTTOOLINFOA>(info, cbSize);
        in.flags = ti.uFlags, in.hwnd = ti.hwnd, in.id = ti.uId, in.rect = ti.rect, in.hinst = ti.hinst;
        in.lParam = ti.lParam;
        in.hasLParam = cbSize >= TTTOOLINFOA_V2_SIZE;
        text = ti.lpszText;
        callback = ti.lpszText == LPSTR_TEXTCALLBACKA;
    } else {
        const auto ti = CopyIn<TTTOOLINFOW>(info, cbSize);
        in.flags = ti.uFlags, in.hwnd = ti.hwnd, in.id = ti.uId, in.rect = ti.rect, in.hinst = ti.hinst;
        in.lParam = ti.lParam;
        in.hasLParam = cbSize >= TTTOOLINFOW_V2_SIZE;
        text = ti.lpszText;
        callback = ti.lpszText == LPSTR_TEXTCALLBACKW;
    }
    if (!withText)
        return in;
    if (callback) {
        in.kind = TextKind::Callback;
    } else if (text && IS_INTRESOURCE(text)) {
        // A string ID (of hinst; the executable's without one): never read as a pointer.
        in.kind = TextKind::Resource;
        in.resourceId = static_cast<UINT>(reinterpret_cast<uintptr_t>(text));
    } else if (text) {
        in.text = ansi ? zyn::base::AnsiToWide(static_cast<const char*>(text))
                       : std::wstring(static_cast<const wchar_t*>(text));
    }
    return in;
}

void WriteToolInfo(const Tool& tool, void* info, bool ansi)
{
    UINT cbSize = 0;
    std::memcpy(&cbSize, info, sizeof cbSize);
    if (ansi) {
        auto ti = CopyIn<TTTOOLINFOA>(info, cbSize);
        FillCommon(ti, tool, cbSize, TTTOOLINFOA_V2_SIZE);
        if (tool.kind == TextKind::Callback) {
            ti.lpszText = LPSTR_TEXTCALLBACKA;
        } else if (tool.kind == TextKind::Resource) {
            ti.lpszText = MAKEINTRESOURCEA(tool.resourceId);
        } else if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(ti.lpszText)) {
            const std::string narrow = zyn::base::WideToAnsi(tool.text);
            const size_t n = std::min(narrow.size(), kUnsizedTextBuffer - 1);
            std::memcpy(ti.lpszText, narrow.data(), n);
            ti.lpszText[n] = '\0';
        }
        CopyOut(info, ti, cbSize);
    } else {
        auto ti = CopyIn<TTTOOLINFOW>(info, cbSize);
        FillCommon(ti, tool, cbSize, TTTOOLINFOW_V2_SIZE);
        if (tool.kind == TextKind::Callback) {
            ti.lpszText = LPSTR_TEXTCALLBACKW;
        } else if (tool.kind == TextKind::Resource) {
            ti.lpszText = MAKEINTRESOURCEW(tool.resourceId);
        } else if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(ti.lpszText)) {
            const size_t n = std::min(tool.text.size(), kUnsizedTextBuffer - 1);
            std::wmemcpy(ti.lpszText, tool.text.data(), n);
            ti.lpszText[n] = L'\0';
        }
        CopyOut(info, ti, cbSize);
    }
}

void QueryNotifyFormat(ToolTipState& s, Tool& tool)
{
    tool.ansiNotify = false;
    if (!::IsWindow(tool.hwnd))
        return;
    const LRESULT format =
        ::SendMessageW(tool.hwnd, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(s.self), NF_QUERY);
    tool.ansiNotify = format == NFR_ANSI;
}

void SubclassToolWindow(ToolTipState& s, Tool& tool)
{
    if (tool.subclassed || !(tool.flags & TTF_SUBCLASS))
        return;
    const HWND w = tool.Window();
    if (::SetWindowSubclass(w, &RelayingSubclass, SubclassId(s), reinterpret_cast<DWORD_PTR>(s.self)))
        tool.subclassed = true;
}

void UnsubclassToolWindow(ToolTipState& s, const Tool& tool)
{
    if (!tool.subclassed || OtherSubclassUser(s, tool))
        return;
    if (::IsWindow(tool.Window()))
        ::RemoveWindowSubclass(tool.Window(), &RelayingSubclass, SubclassId(s));
}

void UnsubclassAll(ToolTipState& s)
{
    for (Tool& t : s.tools) {
        if (t.subclassed) {
            UnsubclassToolWindow(s, t);
            t.subclassed = false;
        }
    }
}

LRESULT AddTool(ToolTipState& s, const void* info, bool ansi)
{
    auto in = ReadToolInfo(info, ansi, true);
    if (!in)
        return FALSE;
    Tool tool;
    tool.flags = in->flags & ~TTF_DI_SETITEM;
    tool.hwnd = in->hwnd;
    tool.id = in->id;
    tool.rect = in->rect;
    tool.hinst = in->hinst;
    tool.kind = in->kind;
    tool.text = std::move(in->text);
    tool.resourceId = in->resourceId;
    tool.lParam = in->hasLParam ? in->lParam : 0;
    // A tool must name a window: the one it is (TTF_IDISHWND) or the one it lies in.
    if (!::IsWindow(tool.Window())) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // One tool per window and ID: a second one could never be told apart from the first.
    if (s.Find(tool.hwnd, tool.id)) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    // Ask before the tool joins the list: the answer may come with other calls to us.
    QueryNotifyFormat(s, tool);
    if (s.destroyed || s.Find(tool.hwnd, tool.id))
        return FALSE;
    s.tools.push_back(std::move(tool));
    SubclassToolWindow(s, s.tools.back());
    return TRUE;
}

LRESULT DelTool(ToolTipState& s, const void* info, bool ansi)
{
    auto in = ReadToolInfo(info, ansi);
    if (!in)
        return 0;
    Tool* t = s.Find(in->hwnd, in->id);
    if (!t)
        return 0;
    const ToolKey key{t->hwnd, t->id};
    ForgetTool(s, key);
    if (s.destroyed)
        return 0;
    if ((t = s.Find(key.hwnd, key.id)) != nullptr) {
        UnsubclassToolWindow(s, *t);
        s.tools.erase(s.tools.begin() + (t - s.tools.data()));
    }
    return 0;
}

LRESULT SetToolInfo(ToolTipState& s, const void* info, bool ansi, bool textOnly)
{
    auto in = ReadToolInfo(info, ansi, true);
    if (!in)
        return 0;
    Tool* t = s.Find(in->hwnd, in->id);
    if (!t)
        return 0;
    t->hinst = in->hinst;
    t->kind = in->kind;
    t->text = std::move(in->text);
    t->resourceId = in->resourceId;
    if (!textOnly) {
        const bool wasSubclassing = (t->flags & TTF_SUBCLASS) != 0;
        t->flags = in->flags & ~TTF_DI_SETITEM;
        t->rect = in->rect;
        if (in->hasLParam)
            t->lParam = in->lParam;
        if (wasSubclassing && !(t->flags & TTF_SUBCLASS)) {
            UnsubclassToolWindow(s, *t);
            t->subclassed = false;
        } else {
            SubclassToolWindow(s, *t);
        }
    }
    if (s.shown && *s.shown == ToolKey{in->hwnd, in->id})
        Refresh(s);
    return 0;
}

LRESULT NewToolRect(ToolTipState& s, const void* info, bool ansi)
{
    auto in = ReadToolInfo(info, ansi);
    if (!in)
        return 0;
    if (Tool* t = s.Find(in->hwnd, in->id))
        t->rect = in->rect;
    return 0;
}

LRESULT GetToolInfo(ToolTipState& s, void* info, bool ansi)
{
    auto in = ReadToolInfo(info, ansi);
    if (!in)
        return FALSE;
    const Tool* t = s.Find(in->hwnd, in->id);
    if (!t)
        return FALSE;
    WriteToolInfo(*t, info, ansi);
    return TRUE;
}

LRESULT EnumTools(ToolTipState& s, WPARAM index, void* info, bool ansi)
{
    if (!info || index >= s.tools.size())
        return FALSE;
    UINT cbSize = 0;
    std::memcpy(&cbSize, info, sizeof cbSize);
    if (!ValidToolInfoSize(cbSize, ansi))
        return FALSE;
    WriteToolInfo(s.tools[index], info, ansi);
    return TRUE;
}

LRESULT HitTest(ToolTipState& s, void* hitInfo, bool ansi)
{
    if (!hitInfo)
        return FALSE;
    HWND hwnd = nullptr;
    POINT pt{};
    void* ti = nullptr;
    if (ansi) {
        auto* h = static_cast<TTHITTESTINFOA*>(hitInfo);
        hwnd = h->hwnd, pt = h->pt, ti = &h->ti;
    } else {
        auto* h = static_cast<TTHITTESTINFOW*>(hitInfo);
        hwnd = h->hwnd, pt = h->pt, ti = &h->ti;
    }
    if (!::IsWindow(hwnd))
        return FALSE;
    for (const Tool& t : s.tools) {
        bool hit = false;
        if (t.flags & TTF_IDISHWND) {
            RECT client{};
            hit = t.Window() == hwnd && ::GetClientRect(hwnd, &client) && ::PtInRect(&client, pt);
        } else {
            hit = t.hwnd == hwnd && ::PtInRect(&t.rect, pt);
        }
        if (hit) {
            UINT cbSize = 0;
            std::memcpy(&cbSize, ti, sizeof cbSize);
            if (ValidToolInfoSize(cbSize, ansi))
                WriteToolInfo(t, ti, ansi);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT GetCurrentTool(ToolTipState& s, void* info, bool ansi)
{
    const Tool* t = s.Find(s.shown);
    if (!info)
        return t ? TRUE : FALSE;
    UINT cbSize = 0;
    std::memcpy(&cbSize, info, sizeof cbSize);
    if (!t || !ValidToolInfoSize(cbSize, ansi))
        return FALSE;
    WriteToolInfo(*t, info, ansi);
    return TRUE;
}

Tool* ToolAt(ToolTipState& s, HWND hwnd, POINT pt, bool client)
{
    for (Tool& t : s.tools) {
        if (t.flags & TTF_TRACK)
            continue;
        if (t.flags & TTF_IDISHWND) {
            if (t.Window() == hwnd)
                return &t;
        } else if (client && t.hwnd == hwnd && ::PtInRect(&t.rect, pt)) {
            return &t;
        }
    }
    return nullptr;
}

bool CursorOnTool(ToolTipState& s, const Tool& tool, POINT screen)
{
    const HWND w = tool.Window();
    if (!::IsWindowVisible(w))
        return false;
    RECT area{};
    if (tool.flags & TTF_IDISHWND) {
        ::GetWindowRect(w, &area);
    } else {
        area = tool.rect;
        ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&area), 2);
    }
    if (!::PtInRect(&area, screen))
        return false;
    // Another window in front of the tool (another application window, or our own tip)
    // means the mouse has left it, even though the point lies in its rectangle.
    const auto under = reinterpret_cast<HWND>(
        ::SendMessageW(s.self, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&screen)));
    return under && ::GetAncestor(under, GA_ROOT) == ::GetAncestor(w, GA_ROOT);
}

} // namespace zyn::comctl::detail
