// The clipboard within the process: one open/owner state, formats in the order they were
// set, delayed rendering through WM_RENDERFORMAT, and the text formats synthesised from
// each other through the one UTF-16 codec and the code pages.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/codepage.h"
#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/base/utf16.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/atoms.h"
#include "platform/user/clipboard.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

struct Entry {
    UINT format = 0;
    HANDLE data = nullptr;     // null: delayed rendering
    bool synthesised = false;  // made by the clipboard from another text format
};

struct Clipboard {
    bool open = false;
    DWORD openThread = 0;
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    std::vector<Entry> entries;
    DWORD sequence = 1;
    bool changed = false;
    HWND rendering = nullptr;  // the owner answering WM_RENDERFORMAT may set data unopened
};

Clipboard& Clip()
{
    static Clipboard c;
    return c;
}

constexpr DWORD kErrorNotFound = 1168; // ERROR_NOT_FOUND

bool IsGdiFormat(UINT f)
{
    return f == CF_BITMAP || f == CF_PALETTE || f == CF_ENHMETAFILE || f == CF_DSPBITMAP ||
        (f >= CF_GDIOBJFIRST && f <= CF_GDIOBJLAST);
}

bool IsTextFormat(UINT f) { return f == CF_TEXT || f == CF_OEMTEXT || f == CF_UNICODETEXT; }

void Free(const Entry& e)
{
    if (!e.data)
        return;
    if (IsGdiFormat(e.format))
        DeleteObject(e.data);
    else
        GlobalFree(e.data);
}

Entry* Find(UINT f)
{
    for (auto& e : Clip().entries)
        if (e.format == f)
            return &e;
    return nullptr;
}

bool OpenedHere()
{
    const Clipboard& c = Clip();
    return c.open && c.openThread == GetCurrentThreadId();
}

// The wide text of a text format's data (up to its terminating zero).
bool TextOf(const Entry& e, std::wstring& out)
{
    const SIZE_T size = GlobalSize(e.data);
    const auto* p = static_cast<const uint8_t*>(GlobalLock(e.data));
    if (!p)
        return false;
    if (e.format == CF_UNICODETEXT) {
        size_t units = size / 2;
        for (size_t i = 0; i < units; ++i)
            if (p[2 * i] == 0 && p[2 * i + 1] == 0) {
                units = i;
                break;
            }
        out = base::FromUtf16LE(std::span<const uint8_t>(p, units * 2));
    } else {
        const size_t n = strnlen(reinterpret_cast<const char*>(p), size);
        out = base::AnsiToWide(std::string_view(reinterpret_cast<const char*>(p), n),
            e.format == CF_OEMTEXT ? CP_OEMCP : CP_ACP);
    }
    GlobalUnlock(e.data);
    return true;
}

HGLOBAL MakeText(UINT f, const std::wstring& text)
{
    std::vector<uint8_t> bytes;
    if (f == CF_UNICODETEXT) {
        bytes = base::ToUtf16LE(text);
        bytes.push_back(0);
        bytes.push_back(0);
    } else {
        const std::string s = base::WideToAnsi(text, f == CF_OEMTEXT ? CP_OEMCP : CP_ACP);
        bytes.assign(s.begin(), s.end());
        bytes.push_back(0);
    }
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h)
        return nullptr;
    if (void* p = GlobalLock(h)) {
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    return h;
}

// A text format that is not set but can be made from one that is.
const Entry* SynthesisSource(UINT f)
{
    if (!IsTextFormat(f) || Find(f))
        return nullptr;
    for (UINT src : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT})
        if (src != f)
            if (Entry* e = Find(src))
                if (!e->synthesised)
                    return e;
    return nullptr;
}

std::vector<UINT> AvailableFormats()
{
    std::vector<UINT> out;
    for (auto& e : Clip().entries)
        out.push_back(e.format);
    for (UINT f : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT})
        if (std::find(out.begin(), out.end(), f) == out.end() && SynthesisSource(f))
            out.push_back(f);
    return out;
}

void Render(UINT format)
{
    HWND owner;
    {
        auto lock = LockUser();
        owner = Clip().owner;
        if (!owner)
            return;
        Clip().rendering = owner;
    }
    SendMsg(owner, WM_RENDERFORMAT, format, 0);
    auto lock = LockUser();
    Clip().rendering = nullptr;
}

} // namespace

void ResetClipboard()
{
    auto lock = LockUser();
    for (auto& e : Clip().entries)
        Free(e);
    Clip() = Clipboard{};
}

// A window going away: delayed formats are rendered now (WM_RENDERALLFORMATS), then the
// clipboard has no owner.
void ClipboardOwnerGoingAway(HWND hwnd)
{
    bool delayed = false;
    {
        auto lock = LockUser();
        if (Clip().owner != hwnd)
            return;
        for (auto& e : Clip().entries)
            delayed = delayed || !e.data;
    }
    if (delayed) {
        {
            auto lock = LockUser();
            Clip().rendering = hwnd;
        }
        SendMsg(hwnd, WM_RENDERALLFORMATS, 0, 0);
    }
    auto lock = LockUser();
    Clipboard& c = Clip();
    c.rendering = nullptr;
    c.entries.erase(std::remove_if(c.entries.begin(), c.entries.end(), [](const Entry& e) { return !e.data; }),
        c.entries.end());
    c.owner = nullptr;
    if (c.openWindow == hwnd)
        c.openWindow = nullptr;
}

} // namespace zyn::user

using namespace zyn::user;

BOOL OpenClipboard(HWND hWndNewOwner)
{
    if (hWndNewOwner && !GetWnd(hWndNewOwner))
        return FALSE;
    auto lock = LockUser();
    Clipboard& c = Clip();
    if (c.open && c.openThread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open = true;
    c.openThread = GetCurrentThreadId();
    c.openWindow = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    auto lock = LockUser();
    Clipboard& c = Clip();
    if (!OpenedHere()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    c.open = false;
    c.openThread = 0;
    c.openWindow = nullptr;
    if (c.changed) {
        ++c.sequence;
        c.changed = false;
    }
    return TRUE;
}

BOOL EmptyClipboard()
{
    HWND previous;
    {
        auto lock = LockUser();
        if (!OpenedHere()) {
            SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
            return FALSE;
        }
        previous = Clip().owner;
    }
    if (previous && IsWindow(previous))
        SendMsg(previous, WM_DESTROYCLIPBOARD, 0, 0);
    auto lock = LockUser();
    Clipboard& c = Clip();
    for (auto& e : c.entries)
        Free(e);
    c.entries.clear();
    c.owner = c.openWindow;
    c.changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    if (uFormat == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hMem) {
        const bool ok = IsGdiFormat(uFormat) ? GetObjectType(hMem) != 0 : GlobalFlags(hMem) != GMEM_INVALID_HANDLE;
        if (!ok) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    auto lock = LockUser();
    Clipboard& c = Clip();
    const bool rendering = c.rendering && c.rendering == c.owner && PeekWnd(c.rendering) &&
        PeekWnd(c.rendering)->thread == GetCurrentThreadId();
    if (!OpenedHere() && !rendering) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (Entry* e = Find(uFormat)) {
        if (e->data != hMem)
            Free(*e);
        e->data = hMem;
        e->synthesised = false;
    } else {
        c.entries.push_back(Entry{uFormat, hMem, false});
    }
    // A text format set anew drops copies synthesised from the old text.
    if (IsTextFormat(uFormat)) {
        for (auto it = c.entries.begin(); it != c.entries.end();) {
            if (it->synthesised && it->format != uFormat) {
                Free(*it);
                it = c.entries.erase(it);
            } else {
                ++it;
            }
        }
    }
    c.changed = true;
    if (!OpenedHere())
        ++c.sequence;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    bool delayed = false;
    {
        auto lock = LockUser();
        if (!OpenedHere()) {
            SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
            return nullptr;
        }
        if (Entry* e = Find(uFormat)) {
            if (e->data)
                return e->data;
            delayed = true;
        }
    }
    if (delayed) {
        Render(uFormat);
        auto lock = LockUser();
        Entry* e = Find(uFormat);
        if (e && e->data)
            return e->data;
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    // A text format made from another one; a delayed source is rendered first.
    UINT srcFormat = 0;
    {
        auto lock = LockUser();
        const Entry* src = SynthesisSource(uFormat);
        if (!src) {
            SetLastError(kErrorNotFound);
            return nullptr;
        }
        srcFormat = src->format;
        if (!src->data)
            delayed = true;
    }
    if (delayed)
        Render(srcFormat);
    auto lock = LockUser();
    Entry* src = Find(srcFormat);
    std::wstring text;
    if (!src || !src->data || !TextOf(*src, text)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    HGLOBAL h = MakeText(uFormat, text);
    if (!h)
        return nullptr;
    Clip().entries.push_back(Entry{uFormat, h, true});
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    auto lock = LockUser();
    const auto f = AvailableFormats();
    return std::find(f.begin(), f.end(), format) != f.end() ? TRUE : FALSE;
}

UINT EnumClipboardFormats(UINT format)
{
    auto lock = LockUser();
    if (!OpenedHere()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return 0;
    }
    const auto f = AvailableFormats();
    SetLastError(ERROR_SUCCESS);
    if (format == 0)
        return f.empty() ? 0 : f.front();
    auto it = std::find(f.begin(), f.end(), format);
    if (it == f.end() || ++it == f.end())
        return 0;
    return *it;
}

int CountClipboardFormats()
{
    auto lock = LockUser();
    return static_cast<int>(AvailableFormats().size());
}

UINT RegisterClipboardFormatW(LPCWSTR lpszFormat)
{
    if (!lpszFormat) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AddAtomName(lpszFormat);
}

UINT RegisterClipboardFormat(LPCWSTR lpszFormat) { return RegisterClipboardFormatW(lpszFormat); }

int GetClipboardFormatNameW(UINT format, LPWSTR lpszFormatName, int cchMaxCount)
{
    if (!lpszFormatName || cchMaxCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (format < kFirstStringAtom || format > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring name = AtomName(static_cast<ATOM>(format));
    if (name.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = std::min(name.size(), static_cast<size_t>(cchMaxCount - 1));
    std::wmemcpy(lpszFormatName, name.data(), n);
    lpszFormatName[n] = 0;
    return static_cast<int>(n);
}

int GetClipboardFormatName(UINT format, LPWSTR lpszFormatName, int cchMaxCount)
{
    return GetClipboardFormatNameW(format, lpszFormatName, cchMaxCount);
}

HWND GetClipboardOwner()
{
    auto lock = LockUser();
    if (Clip().owner && !PeekWnd(Clip().owner))
        Clip().owner = nullptr;
    return Clip().owner;
}

HWND GetOpenClipboardWindow()
{
    auto lock = LockUser();
    return Clip().open ? Clip().openWindow : nullptr;
}

DWORD GetClipboardSequenceNumber()
{
    auto lock = LockUser();
    return Clip().sequence;
}
