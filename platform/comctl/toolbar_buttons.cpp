// Toolbar items: inserting, deleting and moving buttons, reading and writing them
// (TBBUTTON and TBBUTTONINFO in both forms), their states, the string pool and texts.
//
// Records come in the caller's TB_BUTTONSTRUCTSIZE layout: a record is read as that many
// bytes (at most a whole TBBUTTON; the rest counts as zero) and arrays step by that size,
// so code built with an older, shorter record still works. A text given by pointer in
// iString or TBIF_TEXT becomes the button's own copy (converted from the ANSI code page
// for the A messages); an integer iString names a pool string.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

bool IsTextPointer(INT_PTR v) { return v != -1 && !IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(v)); }

std::wstring ReadText(const void* p, bool ansi)
{
    if (!p)
        return {};
    if (ansi)
        return zyn::base::AnsiToWide(static_cast<const char*>(p));
    return std::wstring(static_cast<const wchar_t*>(p));
}

// Copies text into a caller's buffer of `cap` characters (terminated, cut to fit); the
// number of characters copied.
int CopyOut(const std::wstring& text, void* buffer, size_t cap, bool ansi)
{
    if (!buffer || cap == 0)
        return 0;
    if (ansi) {
        const std::string narrow = zyn::base::WideToAnsi(text);
        const size_t n = std::min(narrow.size(), cap - 1);
        std::memcpy(buffer, narrow.data(), n);
        static_cast<char*>(buffer)[n] = '\0';
        return static_cast<int>(n);
    }
    const size_t n = std::min(text.size(), cap - 1);
    std::wmemcpy(static_cast<wchar_t*>(buffer), text.data(), n);
    static_cast<wchar_t*>(buffer)[n] = L'\0';
    return static_cast<int>(n);
}

size_t TextLength(const std::wstring& text, bool ansi)
{
    return ansi ? zyn::base::WideToAnsi(text).size() : text.size();
}

// The buttons of the check group around `index` (adjacent BTNS_CHECKGROUP buttons).
std::pair<int, int> GroupOf(const ToolbarState& s, int index)
{
    auto inGroup = [&](int i) {
        const Button& b = s.buttons[static_cast<size_t>(i)];
        return !b.IsSeparator() && (b.style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP;
    };
    int lo = index, hi = index;
    while (lo > 0 && inGroup(lo - 1))
        --lo;
    while (hi + 1 < s.Count() && inGroup(hi + 1))
        ++hi;
    return {lo, hi};
}

// Sets or clears state bits of a button; a checked group button unchecks its group.
void ChangeState(ToolbarState& s, int index, BYTE bits, bool on)
{
    Button& b = s.buttons[static_cast<size_t>(index)];
    const BYTE before = b.state;
    b.state = on ? static_cast<BYTE>(b.state | bits) : static_cast<BYTE>(b.state & ~bits);
    if (on && (bits & TBSTATE_CHECKED) && (b.style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) {
        const auto [lo, hi] = GroupOf(s, index);
        for (int i = lo; i <= hi; ++i)
            if (i != index)
                s.buttons[static_cast<size_t>(i)].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
    }
    if (b.state == before)
        return;
    // Hiding and showing move the other buttons; the rest only changes the look.
    if ((before ^ b.state) & (TBSTATE_HIDDEN | TBSTATE_WRAP))
        Changed(s);
    else
        Redraw(s);
}

LRESULT SetStateBit(ToolbarState& s, WPARAM command, LPARAM lp, BYTE bit)
{
    const int i = IndexOfCommand(s, static_cast<int>(command));
    if (i < 0)
        return FALSE;
    ChangeState(s, i, bit, LOWORD(static_cast<uintptr_t>(lp)) != 0);
    if (bit == TBSTATE_ENABLED && !(s.buttons[static_cast<size_t>(i)].state & TBSTATE_ENABLED) && s.hot == i)
        SetHot(s, -1, HICF_OTHER);
    return TRUE;
}

LRESULT StateBit(const ToolbarState& s, WPARAM command, BYTE bit)
{
    const int i = IndexOfCommand(s, static_cast<int>(command));
    if (i < 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return (s.buttons[static_cast<size_t>(i)].state & bit) ? TRUE : FALSE;
}

// TB_ADDSTRING: a string resource whose first character separates the strings that
// follow it ("|New|Open|"), or a list of strings each ended by NUL and the list by an
// empty string. The index of the first new string, -1 when nothing could be read.
LRESULT AddStrings(ToolbarState& s, WPARAM wp, LPARAM lp, bool ansi)
{
    std::vector<std::wstring> add;
    if (wp) {
        const auto inst = reinterpret_cast<HINSTANCE>(wp);
        LPCWSTR raw = nullptr;
        const int n = ::LoadStringW(inst, static_cast<UINT>(lp), reinterpret_cast<LPWSTR>(&raw), 0);
        if (n <= 0 || !raw)
            return -1;
        const std::wstring text(raw, static_cast<size_t>(n));
        const wchar_t sep = text[0];
        size_t start = 1;
        while (start <= text.size()) {
            const size_t end = text.find(sep, start);
            if (end == std::wstring::npos) {
                if (start < text.size())
                    add.push_back(text.substr(start));
                break;
            }
            add.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        if (add.empty())
            return -1;
    } else {
        if (!lp)
            return -1;
        if (ansi) {
            const char* p = reinterpret_cast<const char*>(lp);
            do {
                const size_t n = std::strlen(p);
                add.push_back(zyn::base::AnsiToWide(std::string_view(p, n)));
                p += n + 1;
            } while (*p);
        } else {
            const wchar_t* p = reinterpret_cast<const wchar_t*>(lp);
            do {
                const size_t n = std::wcslen(p);
                add.emplace_back(p, n);
                p += n + 1;
            } while (*p);
        }
    }
    const auto first = static_cast<LRESULT>(s.strings.size());
    s.strings.insert(s.strings.end(), add.begin(), add.end());
    return first;
}

LRESULT GetButtonText(ToolbarState& s, WPARAM command, LPARAM buffer, bool ansi)
{
    const int i = IndexOfCommand(s, static_cast<int>(command));
    if (i < 0)
        return -1;
    const std::wstring text = TextOf(s, s.buttons[static_cast<size_t>(i)]);
    const size_t len = TextLength(text, ansi);
    if (!buffer)
        return static_cast<LRESULT>(len);
    // The buffer is the caller's promise to hold the whole text (there is no size).
    return CopyOut(text, reinterpret_cast<void*>(buffer), len + 1, ansi);
}

LRESULT GetString(ToolbarState& s, WPARAM wp, LPARAM buffer, bool ansi)
{
    const int index = HIWORD(static_cast<DWORD>(wp));
    const size_t cap = LOWORD(static_cast<DWORD>(wp));
    if (index < 0 || static_cast<size_t>(index) >= s.strings.size())
        return -1;
    const std::wstring& text = s.strings[static_cast<size_t>(index)];
    if (!buffer || cap == 0)
        return static_cast<LRESULT>(TextLength(text, ansi));
    return CopyOut(text, reinterpret_cast<void*>(buffer), cap, ansi);
}

template <class Info>
LRESULT GetButtonInfo(ToolbarState& s, WPARAM wp, Info* info, bool ansi)
{
    if (!info || info->cbSize != sizeof(Info))
        return -1;
    const int i = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wp) : IndexOfCommand(s, static_cast<int>(wp));
    const Button* b = s.At(i);
    if (!b)
        return -1;
    if (info->dwMask & TBIF_COMMAND)
        info->idCommand = b->command;
    if (info->dwMask & TBIF_IMAGE)
        info->iImage = b->image;
    if (info->dwMask & TBIF_LPARAM)
        info->lParam = b->data;
    if (info->dwMask & TBIF_STATE)
        info->fsState = b->state;
    if (info->dwMask & TBIF_STYLE)
        info->fsStyle = b->style;
    if (info->dwMask & TBIF_SIZE)
        info->cx = static_cast<WORD>(b->IsHidden() ? b->cx : (b->rect.right - b->rect.left));
    if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0)
        CopyOut(TextOf(s, *b), info->pszText, static_cast<size_t>(info->cchText), ansi);
    return i;
}

template <class Info>
LRESULT SetButtonInfo(ToolbarState& s, WPARAM wp, const Info* info, bool ansi)
{
    if (!info || info->cbSize != sizeof(Info))
        return FALSE;
    const int i = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wp) : IndexOfCommand(s, static_cast<int>(wp));
    Button* b = s.At(i);
    if (!b)
        return FALSE;
    if (info->dwMask & TBIF_COMMAND)
        b->command = info->idCommand;
    if (info->dwMask & TBIF_IMAGE)
        b->image = info->iImage;
    if (info->dwMask & TBIF_LPARAM)
        b->data = info->lParam;
    if (info->dwMask & TBIF_STATE)
        b->state = info->fsState;
    if (info->dwMask & TBIF_STYLE)
        b->style = info->fsStyle;
    if (info->dwMask & TBIF_SIZE)
        b->cx = info->cx;
    if (info->dwMask & TBIF_TEXT) {
        b->ownText = ReadText(info->pszText, ansi);
        b->stringIndex = -1;
    }
    if (s.hot == i && (!b->IsEnabled() || b->IsHidden() || b->IsSeparator()))
        SetHot(s, -1, HICF_OTHER);
    Changed(s);
    return TRUE;
}

LRESULT GetButton(ToolbarState& s, WPARAM index, LPARAM out)
{
    const Button* b = s.At(static_cast<int>(index));
    if (!b || !out)
        return FALSE;
    const TBBUTTON rec = WriteButton(*b);
    std::memcpy(reinterpret_cast<void*>(out), &rec, std::min<size_t>(s.structSize, sizeof rec));
    return TRUE;
}

} // namespace

int IndexOfCommand(const ToolbarState& s, int command)
{
    for (int i = 0; i < s.Count(); ++i)
        if (s.buttons[static_cast<size_t>(i)].command == command)
            return i;
    return -1;
}

Button ReadButton(const ToolbarState& /*s*/, const TBBUTTON& in, bool ansi)
{
    Button b;
    b.image = in.iBitmap;
    b.command = in.idCommand;
    b.state = in.fsState;
    b.style = in.fsStyle;
    b.data = in.dwData;
    if (IsTextPointer(in.iString))
        b.ownText = ReadText(reinterpret_cast<const void*>(in.iString), ansi);
    else
        b.stringIndex = in.iString;
    return b;
}

TBBUTTON WriteButton(const Button& b)
{
    TBBUTTON t{};
    t.iBitmap = b.image;
    t.idCommand = b.command;
    t.fsState = b.state;
    t.fsStyle = b.style;
    t.dwData = b.data;
    t.iString = b.ownText ? reinterpret_cast<INT_PTR>(b.ownText->c_str()) : b.stringIndex;
    return t;
}

std::wstring TextOf(const ToolbarState& s, const Button& b)
{
    if (b.ownText)
        return *b.ownText;
    if (b.stringIndex >= 0 && static_cast<size_t>(b.stringIndex) < s.strings.size())
        return s.strings[static_cast<size_t>(b.stringIndex)];
    return {};
}

bool InsertButtons(ToolbarState& s, int at, const void* records, size_t count, bool ansi)
{
    if (!records || count == 0 || s.structSize == 0)
        return false;
    if (at < 0 || at > s.Count())
        at = s.Count();
    std::vector<Button> add;
    add.reserve(count);
    const auto* bytes = static_cast<const uint8_t*>(records);
    for (size_t k = 0; k < count; ++k) {
        TBBUTTON rec{};
        std::memcpy(&rec, bytes + k * s.structSize, std::min<size_t>(s.structSize, sizeof rec));
        add.push_back(ReadButton(s, rec, ansi));
    }
    InsertButtonObjects(s, at, std::move(add));
    return true;
}

void InsertButtonObjects(ToolbarState& s, int at, std::vector<Button> add)
{
    if (add.empty())
        return;
    if (at < 0 || at > s.Count())
        at = s.Count();
    const int n = static_cast<int>(add.size());
    s.buttons.insert(s.buttons.begin() + at, std::make_move_iterator(add.begin()), std::make_move_iterator(add.end()));
    // Indexes the control remembers move with their buttons.
    if (s.hot >= at)
        s.hot += n;
    if (s.pressed >= at)
        s.pressed += n;
    if (s.dragIndex >= at)
        s.dragIndex += n;
    if (s.mark.iButton >= at)
        s.mark.iButton += n;
    Changed(s);
}

bool DeleteButton(ToolbarState& s, int index)
{
    const Button* b = s.At(index);
    if (!b)
        return false;
    NotifyButton(s, TBN_DELETINGBUTTON, b->command, b);
    if (s.destroyed || !s.At(index))
        return false;
    s.buttons.erase(s.buttons.begin() + index);
    auto follow = [&](int& i) {
        if (i == index)
            i = -1;
        else if (i > index)
            --i;
    };
    follow(s.hot);
    follow(s.pressed);
    follow(s.dragIndex);
    if (s.mark.iButton >= s.Count())
        s.mark = TBINSERTMARK{-1, 0};
    Changed(s);
    return true;
}

bool MoveButton(ToolbarState& s, int from, int to)
{
    if (!s.At(from) || !s.At(to))
        return false;
    if (from == to)
        return true;
    auto follow = [&](int& i) {
        if (i == from)
            i = to;
        else if (from < to && i > from && i <= to)
            --i;
        else if (to < from && i >= to && i < from)
            ++i;
    };
    Button moving = std::move(s.buttons[static_cast<size_t>(from)]);
    s.buttons.erase(s.buttons.begin() + from);
    s.buttons.insert(s.buttons.begin() + to, std::move(moving));
    follow(s.hot);
    follow(s.pressed);
    follow(s.dragIndex);
    Changed(s);
    return true;
}

LRESULT HandleButtonMessage(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, bool& handled)
{
    handled = true;
    switch (msg) {
    case TB_BUTTONSTRUCTSIZE:
        // A record shorter than the fields up to fsStyle cannot describe a button.
        if (wp >= offsetof(TBBUTTON, bReserved))
            s.structSize = static_cast<UINT>(wp);
        return 0;
    case TB_ADDBUTTONSW:
    case TB_ADDBUTTONSA:
        return InsertButtons(s, s.Count(), reinterpret_cast<const void*>(lp), wp, msg == TB_ADDBUTTONSA) ? TRUE
                                                                                                        : FALSE;
    case TB_INSERTBUTTONW:
    case TB_INSERTBUTTONA: {
        const int at = static_cast<int>(static_cast<INT_PTR>(wp));
        if (at < -1)
            return FALSE;
        return InsertButtons(s, at, reinterpret_cast<const void*>(lp), 1, msg == TB_INSERTBUTTONA) ? TRUE : FALSE;
    }
    case TB_DELETEBUTTON:
        return DeleteButton(s, static_cast<int>(wp)) ? TRUE : FALSE;
    case TB_MOVEBUTTON:
        return MoveButton(s, static_cast<int>(wp), static_cast<int>(lp)) ? TRUE : FALSE;
    case TB_BUTTONCOUNT:
        return s.Count();
    case TB_COMMANDTOINDEX:
        return IndexOfCommand(s, static_cast<int>(wp));
    case TB_GETBUTTON:
        return GetButton(s, wp, lp);
    case TB_GETBUTTONINFOW:
        return GetButtonInfo(s, wp, reinterpret_cast<TBBUTTONINFOW*>(lp), false);
    case TB_GETBUTTONINFOA:
        return GetButtonInfo(s, wp, reinterpret_cast<TBBUTTONINFOA*>(lp), true);
    case TB_SETBUTTONINFOW:
        return SetButtonInfo(s, wp, reinterpret_cast<const TBBUTTONINFOW*>(lp), false);
    case TB_SETBUTTONINFOA:
        return SetButtonInfo(s, wp, reinterpret_cast<const TBBUTTONINFOA*>(lp), true);
    case TB_ENABLEBUTTON:
        return SetStateBit(s, wp, lp, TBSTATE_ENABLED);
    case TB_CHECKBUTTON:
        return SetStateBit(s, wp, lp, TBSTATE_CHECKED);
    case TB_PRESSBUTTON:
        return SetStateBit(s, wp, lp, TBSTATE_PRESSED);
    case TB_HIDEBUTTON:
        return SetStateBit(s, wp, lp, TBSTATE_HIDDEN);
    case TB_INDETERMINATE:
        return SetStateBit(s, wp, lp, TBSTATE_INDETERMINATE);
    case TB_MARKBUTTON:
        return SetStateBit(s, wp, lp, TBSTATE_MARKED);
    case TB_ISBUTTONENABLED:
        return StateBit(s, wp, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED:
        return StateBit(s, wp, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED:
        return StateBit(s, wp, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN:
        return StateBit(s, wp, TBSTATE_HIDDEN);
    case TB_ISBUTTONINDETERMINATE:
        return StateBit(s, wp, TBSTATE_INDETERMINATE);
    case TB_ISBUTTONHIGHLIGHTED:
        return StateBit(s, wp, TBSTATE_MARKED);
    case TB_SETSTATE: {
        const int i = IndexOfCommand(s, static_cast<int>(wp));
        if (i < 0)
            return FALSE;
        Button& b = s.buttons[static_cast<size_t>(i)];
        const BYTE want = static_cast<BYTE>(LOWORD(static_cast<uintptr_t>(lp)));
        const BYTE change = static_cast<BYTE>(b.state ^ want);
        b.state = want;
        if (s.hot == i && (!b.IsEnabled() || b.IsHidden()))
            SetHot(s, -1, HICF_OTHER);
        if (change & (TBSTATE_HIDDEN | TBSTATE_WRAP))
            Changed(s);
        else if (change)
            Redraw(s);
        return TRUE;
    }
    case TB_GETSTATE: {
        const int i = IndexOfCommand(s, static_cast<int>(wp));
        return i < 0 ? -1 : s.buttons[static_cast<size_t>(i)].state;
    }
    case TB_SETCMDID: {
        Button* b = s.At(static_cast<int>(wp));
        if (!b)
            return FALSE;
        b->command = static_cast<int>(lp);
        SyncTools(s);
        return TRUE;
    }
    case TB_ADDSTRINGW:
    case TB_ADDSTRINGA: {
        const LRESULT r = AddStrings(s, wp, lp, msg == TB_ADDSTRINGA);
        if (r >= 0)
            Changed(s);
        return r;
    }
    case TB_GETBUTTONTEXTW:
    case TB_GETBUTTONTEXTA:
        return GetButtonText(s, wp, lp, msg == TB_GETBUTTONTEXTA);
    case TB_GETSTRINGW:
    case TB_GETSTRINGA:
        return GetString(s, wp, lp, msg == TB_GETSTRINGA);
    default:
        handled = false;
        return 0;
    }
}

} // namespace zyn::comctl::tb
